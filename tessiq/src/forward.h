// forward.h - a member that only forwards to one library export, declared as one row.
//
// forward(sigmora::X, {sources...}) builds the row: one Source per parameter of the export, in
// the export's order, saying where that parameter comes from:
//   value(i)               method argument i as the parameter's type;
//   narrowed(i)            a 32-bit argument narrowed to a 16-bit parameter (overflow: error 6);
//   constant(v)            a fixed value;
//   selector(i, codes, d)  codes[argument i] when argument i indexes codes, else d;
//   scaled(i, j, k)        argument i divided by (argument j / k), in single precision;
//   smaller(i, j)          the smaller of two integer arguments;
//   array(i)               the address of element 0 of array argument i;
//   text(i)                a NUL-terminated copy of string argument i;
//   out(i)                 a control-owned scalar, starting at 0, copied into by-reference
//                          argument i after the call.
// Array extents come from the export's size note, evaluated with the parameters the call
// passes: every array must cover them (error 9 before anything is locked or called).
// The row is checked against the member's declaration when the member table is built
// (indices in range, kinds fitting the prototype, every parameter used): a row that does not
// fit raises std::logic_error there, never at a call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "automation/control.h"
#include "automation/errors.h"
#include "automation/safearray.h"
#include "binding.h"
#include "marshal.h"

namespace tessiq {

struct Source {
    enum class Kind { Value, Narrowed, Constant, Selector, Scaled, Smaller, Array, Text, Out };
    Kind kind;
    std::size_t arg = 0;
    std::size_t arg2 = 0;
    double number = 0;
    std::vector<int32_t> codes = {};
};

inline Source value(std::size_t i) {
    return {Source::Kind::Value, i};
}
inline Source narrowed(std::size_t i) {
    return {Source::Kind::Narrowed, i};
}
inline Source constant(double v) {
    return {Source::Kind::Constant, 0, 0, v};
}
inline Source selector(std::size_t i, std::vector<int32_t> codes, int32_t fallback) {
    return {Source::Kind::Selector, i, 0, double(fallback), std::move(codes)};
}
inline Source scaled(std::size_t i, std::size_t j, double k) {
    return {Source::Kind::Scaled, i, j, k};
}
inline Source smaller(std::size_t i, std::size_t j) {
    return {Source::Kind::Smaller, i, j};
}
inline Source array(std::size_t i) {
    return {Source::Kind::Array, i};
}
inline Source text(std::size_t i) {
    return {Source::Kind::Text, i};
}
inline Source out(std::size_t i) {
    return {Source::Kind::Out, i};
}

// The code a selector table gives for a value (the fallback outside the table).
inline int32_t selectCode(const Source &s, int32_t v) {
    return v >= 0 && std::size_t(v) < s.codes.size() ? s.codes[std::size_t(v)] : int32_t(s.number);
}

// A member's handler with the check of its row against the member's declaration. The check
// marks the parameters the row uses and raises std::logic_error for a row that does not fit.
struct Row {
    automation::Handler handler;
    std::function<void(const automation::Member &, std::vector<bool> &used)> check;
};

// A hand-written handler; it is taken to use every parameter (its tests prove the mapping).
Row custom(automation::Handler handler);
// The row table[argument i] for a value that indexes table, else fallback (never fails).
Row bySelector(std::size_t i, std::vector<Row> table, Row fallback);

namespace detail {

[[noreturn]] void rowFault(const automation::Member &m, const std::string &what);
const automation::Param &paramAt(const automation::Member &m, std::size_t i, std::vector<bool> &used);

template <class T>
constexpr automation::ArgType arrayTypeOf() {
    using automation::ArgType;
    if constexpr (std::is_same_v<T, float>)
        return ArgType::ArrayR4;
    else if constexpr (std::is_same_v<T, int32_t>)
        return ArgType::ArrayI4;
    else if constexpr (std::is_same_v<T, int16_t>)
        return ArgType::ArrayI2;
    else if constexpr (std::is_same_v<T, uint8_t>)
        return ArgType::ArrayByte;
    else if constexpr (std::is_same_v<T, double>)
        return ArgType::ArrayR8;
    else
        return ArgType::None;
}

template <class T>
constexpr automation::ArgType scalarTypeOf() {
    using automation::ArgType;
    if constexpr (std::is_same_v<T, float>)
        return ArgType::R4;
    else if constexpr (std::is_same_v<T, int32_t>)
        return ArgType::I4;
    else if constexpr (std::is_same_v<T, int16_t>)
        return ArgType::I2;
    else if constexpr (std::is_same_v<T, double>)
        return ArgType::R8;
    else
        return ArgType::None;
}

// Checks the source of export parameter k (of type P) against the member's declaration.
template <class P>
void checkSource(const Source &s, std::size_t k, Slot &fn, const automation::Member &m,
                 std::vector<bool> &used) {
    using automation::ArgType;
    using K = Source::Kind;
    const std::string where = std::string(fn.name()) + " parameter " + std::to_string(k);
    auto need = [&](bool ok, const char *what) {
        if (!ok) rowFault(m, where + ": " + what);
    };
    if constexpr (std::is_pointer_v<P>) {
        using T = std::remove_cv_t<std::remove_pointer_t<P>>;
        if constexpr (std::is_same_v<T, char>) {
            need(s.kind == K::Text, "a text parameter takes text(i)");
            need(paramAt(m, s.arg, used).type == ArgType::String, "text(i) needs a string argument");
        } else {
            if (s.kind == K::Out) {
                const automation::Param &p = paramAt(m, s.arg, used);
                need(p.byRef && p.type == scalarTypeOf<T>(),
                     "out(i) needs a by-reference scalar of the same type");
                need(fn.note().fixedExtent(k) == 1, "an out cell holds one element (size note 1)");
            } else {
                need(s.kind == K::Array, "a pointer parameter takes array(i) or out(i)");
                need(paramAt(m, s.arg, used).type == arrayTypeOf<T>(),
                     "array(i) needs an array of the element type");
                need(fn.note().hasExtent(k), "an array parameter needs a size note");
            }
        }
    } else {
        need(!fn.note().hasExtent(k), "a size note for a value parameter");
        switch (s.kind) {
            case K::Constant: return;
            case K::Value: {
                ArgType t = paramAt(m, s.arg, used).type;
                // A 16-bit argument also feeds a 32-bit parameter, and an unsigned 16-bit one as its
                // 16 bits (a port number).
                bool fits = t == scalarTypeOf<P>() || (std::is_same_v<P, int32_t> && t == ArgType::I2) ||
                            (std::is_same_v<P, uint16_t> && t == ArgType::I2);
                need(fits, "value(i) needs an argument of the parameter's type (narrowed(i) for 16 bits)");
                return;
            }
            case K::Narrowed:
                need(std::is_same_v<P, int16_t>, "narrowed(i) feeds a 16-bit parameter");
                need(paramAt(m, s.arg, used).type == ArgType::I4, "narrowed(i) needs a 32-bit argument");
                return;
            case K::Selector: {
                ArgType t = paramAt(m, s.arg, used).type;
                need(std::is_integral_v<P> && (t == ArgType::I2 || t == ArgType::I4),
                     "selector(i) maps an integer");
                return;
            }
            case K::Scaled:
                need(std::is_same_v<P, float>, "scaled(i, j, k) feeds a single");
                need(paramAt(m, s.arg, used).type == ArgType::R4 &&
                         paramAt(m, s.arg2, used).type == ArgType::R4,
                     "scaled(i, j, k) needs two singles");
                return;
            case K::Smaller:
                need(std::is_same_v<P, int32_t>, "smaller(i, j) feeds a 32-bit integer");
                need(paramAt(m, s.arg, used).type == ArgType::I4 &&
                         paramAt(m, s.arg2, used).type == ArgType::I4,
                     "smaller(i, j) needs two 32-bit integers");
                return;
            default: need(false, "a value parameter takes no array, text or out cell");
        }
    }
}

// A control-owned scalar that receives an output of the export.
struct OutCell {
    int32_t i4 = 0;
    int16_t i2 = 0;
    float r4 = 0;
    double r8 = 0;
};

template <class T>
T *cellOf(OutCell &cell) {
    if constexpr (std::is_same_v<T, int32_t>)
        return &cell.i4;
    else if constexpr (std::is_same_v<T, int16_t>)
        return &cell.i2;
    else if constexpr (std::is_same_v<T, float>)
        return &cell.r4;
    else
        return &cell.r8;
}

template <std::size_t N>
struct Call {
    explicit Call(automation::Args &a) : args(a) {}
    automation::Args &args;
    CallStrings strings;
    OutCell cells[N > 0 ? N : 1];
};

// The value of a scalar or text parameter, or a placeholder for an array (filled in later).
template <class P, std::size_t N>
P prepare(const Source &s, std::size_t k, Call<N> &c) {
    using K = Source::Kind;
    const automation::Args &a = c.args;
    if constexpr (std::is_pointer_v<P>) {
        using T = std::remove_cv_t<std::remove_pointer_t<P>>;
        if constexpr (std::is_same_v<T, char>) {
            return c.strings.add(a[s.arg].toString());
        } else if constexpr (scalarTypeOf<T>() != automation::ArgType::None) {
            if (s.kind == K::Out) return cellOf<T>(c.cells[k]);
        }
        return nullptr;
    } else {
        switch (s.kind) {
            case K::Constant: return static_cast<P>(s.number);
            case K::Selector: return static_cast<P>(selectCode(s, a[s.arg].toI4()));
            case K::Narrowed: return automation::narrowToI2(a[s.arg].toI4());
            case K::Scaled: {
                float divisor = a[s.arg2].toR4() / float(s.number);
                if (divisor == 0) automation::raise(automation::err::DivisionByZero);
                return static_cast<P>(a[s.arg].toR4() / divisor);
            }
            case K::Smaller: return static_cast<P>(std::min(a[s.arg].toI4(), a[s.arg2].toI4()));
            default:
                if constexpr (std::is_same_v<P, float>)
                    return a[s.arg].toR4();
                else if constexpr (std::is_same_v<P, double>)
                    return a[s.arg].toR8();
                else
                    return static_cast<P>(a[s.arg].toI4());
        }
    }
}

template <class P>
int64_t integerOf(const P &p) {
    if constexpr (std::is_integral_v<P>)
        return int64_t(p);
    else
        return 0;
}

// Checks array parameter k against its extent and stores its element-0 address.
template <class P, class Tuple, std::size_t N>
void placeArray(P &param, const Source &s, std::size_t k, Slot &fn, const int64_t (&ints)[N > 0 ? N : 1],
                automation::Args &args, std::vector<automation::SafeArray *> &arrays) {
    if constexpr (std::is_pointer_v<P>) {
        using T = std::remove_cv_t<std::remove_pointer_t<P>>;
        if constexpr (!std::is_same_v<T, char>) {
            if (s.kind != Source::Kind::Array) return;
            int64_t extent = fn.note().extent(k, [&](std::size_t p) { return ints[p]; });
            automation::SafeArray &array = args[s.arg].array();
            param = static_cast<P>(automation::elementZero(array, extent));
            arrays.push_back(&array);
        }
    }
}

template <class P, std::size_t N>
void writeBack(const Source &s, std::size_t k, Call<N> &c) {
    if constexpr (std::is_pointer_v<P>) {
        using T = std::remove_cv_t<std::remove_pointer_t<P>>;
        if constexpr (scalarTypeOf<T>() != automation::ArgType::None)
            if (s.kind == Source::Kind::Out) c.args[s.arg] = automation::Variant(*cellOf<T>(c.cells[k]));
    }
}

// Locks the arrays of one call and unlocks them on every path.
class Locks {
  public:
    explicit Locks(std::vector<automation::SafeArray *> arrays) : arrays_(std::move(arrays)) {
        for (automation::SafeArray *a : arrays_) a->lock();
    }
    ~Locks() {
        for (automation::SafeArray *a : arrays_) a->unlock();
    }
    Locks(const Locks &) = delete;
    Locks &operator=(const Locks &) = delete;

  private:
    std::vector<automation::SafeArray *> arrays_;
};

template <class R, class... P, std::size_t... K>
automation::Variant run(Bound<R(P...)> &fn, const std::vector<Source> &s, automation::Args &args,
                        std::index_sequence<K...>) {
    constexpr std::size_t N = sizeof...(P);
    Call<N> c(args);
    std::tuple<P...> params{prepare<P>(s[K], K, c)...};  // braced: evaluated left to right
    const int64_t ints[N > 0 ? N : 1] = {integerOf(std::get<K>(params))...};
    std::vector<automation::SafeArray *> arrays;
    (placeArray<P, std::tuple<P...>, N>(std::get<K>(params), s[K], K, fn, ints, args, arrays), ...);
    Locks locks(std::move(arrays));  // every array checked before any is locked
    R (*entry)(P...) = fn.get();
    if constexpr (std::is_void_v<R>) {
        std::apply(entry, params);
        (writeBack<P>(s[K], K, c), ...);
        return automation::Variant();
    } else {
        R result = std::apply(entry, params);
        (writeBack<P>(s[K], K, c), ...);
        return automation::Variant(result);
    }
}

template <class R, class... P, std::size_t... K>
void checkAll(Bound<R(P...)> &fn, const std::vector<Source> &s, const automation::Member &m,
              std::vector<bool> &used, std::index_sequence<K...>) {
    if (s.size() != sizeof...(P))
        rowFault(m, std::string(fn.name()) + " takes " + std::to_string(sizeof...(P)) + " sources");
    if constexpr (std::is_void_v<R>)
        if (m.result != automation::ArgType::None) rowFault(m, std::string(fn.name()) + " gives no result");
    (checkSource<P>(s[K], K, fn, m, used), ...);
}

}  // namespace detail

template <class R, class... P>
Row forward(Bound<R(P...)> &fn, std::vector<Source> sources) {
    Row row;
    row.handler = [&fn, sources](automation::Args &args) {
        if (sources.size() != sizeof...(P))
            throw std::logic_error(std::string("tessiq: sources of ") + fn.name());
        return detail::run(fn, sources, args, std::index_sequence_for<P...>{});
    };
    row.check = [&fn, sources](const automation::Member &m, std::vector<bool> &used) {
        if (sources.size() != sizeof...(P))
            detail::rowFault(m,
                             std::string(fn.name()) + " takes " + std::to_string(sizeof...(P)) + " sources");
        detail::checkAll(fn, sources, m, used, std::index_sequence_for<P...>{});
    };
    return row;
}

}  // namespace tessiq
