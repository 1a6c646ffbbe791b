#include "members.h"

#include <map>
#include <stdexcept>
#include <string>

namespace tessiq {

namespace {

template <class... P>
std::vector<automation::Param> paramList(P... p) {
    return {p...};
}

}  // namespace

std::vector<automation::Member> declaredMembers() {
    using namespace kind;
    const auto M = automation::InvokeKind::Method;
    return {
#define TESSIQ_METHOD(name, id, params, result) {id, #name, M, paramList params, ArgType::result, {}},
#include "tessiq/methods.def"
#undef TESSIQ_METHOD
    };
}

std::vector<automation::Member> buildMembers(Rows rows) {
    std::map<automation::DispId, Row> byId;
    for (auto &[id, row] : rows) {
        if (!byId.emplace(id, std::move(row)).second)
            throw std::logic_error("tessiq: two rows for DISPID " + std::to_string(id));
    }
    std::vector<automation::Member> members = declaredMembers();
    for (automation::Member &m : members) {
        auto it = byId.find(m.id);
        if (it == byId.end()) throw std::logic_error("tessiq: no row for " + m.name);
        std::vector<bool> used(m.params.size(), false);
        it->second.check(m, used);
        for (std::size_t i = 0; i < used.size(); ++i)
            if (!used[i])
                throw std::logic_error("tessiq: row of " + m.name + " leaves argument " + std::to_string(i) +
                                       " unused");
        m.handler = std::move(it->second.handler);
        byId.erase(it);
    }
    if (!byId.empty())
        throw std::logic_error("tessiq: row for undeclared DISPID " + std::to_string(byId.begin()->first));
    return members;
}

std::vector<automation::Member> controlMembers(Instance &instance) {
    Rows rows;
    workbenchRows(rows);
    numericsRows(rows);
    statisticsRows(rows);
    fileRows(rows);
    signalRows(rows);
    modelRows(rows, instance);
    return buildMembers(std::move(rows));
}

}  // namespace tessiq
