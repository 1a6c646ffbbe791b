#include "forward.h"

namespace tessiq {

Row custom(automation::Handler handler) {
    Row row;
    row.handler = std::move(handler);
    row.check = [](const automation::Member &m, std::vector<bool> &used) {
        used.assign(m.params.size(), true);
    };
    return row;
}

Row bySelector(std::size_t i, std::vector<Row> table, Row fallback) {
    Row row;
    std::vector<automation::Handler> handlers;
    handlers.reserve(table.size());
    for (const Row &r : table) handlers.push_back(r.handler);
    automation::Handler otherwise = fallback.handler;
    row.handler = [i, handlers, otherwise](automation::Args &args) {
        int32_t v = args[i].toI4();
        return v >= 0 && std::size_t(v) < handlers.size() ? handlers[std::size_t(v)](args) : otherwise(args);
    };
    row.check = [i, table, fallback](const automation::Member &m, std::vector<bool> &used) {
        automation::ArgType t = detail::paramAt(m, i, used).type;
        if (t != automation::ArgType::I2 && t != automation::ArgType::I4)
            detail::rowFault(m, "selector is no integer");
        for (const Row &r : table) r.check(m, used);
        fallback.check(m, used);
    };
    return row;
}

namespace detail {

void rowFault(const automation::Member &m, const std::string &what) {
    throw std::logic_error("tessiq: row of " + m.name + ": " + what);
}

const automation::Param &paramAt(const automation::Member &m, std::size_t i, std::vector<bool> &used) {
    if (i >= m.params.size()) rowFault(m, "argument " + std::to_string(i) + " beyond the parameters");
    if (used.size() < m.params.size()) used.resize(m.params.size(), false);
    used[i] = true;
    return m.params[i];
}

}  // namespace detail

}  // namespace tessiq
