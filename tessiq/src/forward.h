// forward.h - a member that only forwards to one library export, declared as one row.
//
// forward(exports::X, {sources...}) builds the handler: one Source per parameter of the
// export, in the export's order, saying where that parameter comes from:
//   value(i)            method argument i, converted to the parameter's type (a 16-bit
//                       parameter narrows a 32-bit argument: overflow raises 6);
//   array(i, touched)   the address of element 0 of array argument i, which must cover the
//                       elements the call touches (error 9 before anything is called);
//   text(i)             a NUL-terminated copy of string argument i;
//   out(i)              a control-owned scalar, starting at 0, copied into by-reference
//                       argument i after the call.
// The method's result is the export's result (none for a void export).
#pragma once

#include <cstddef>
#include <stdexcept>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "automation/control.h"
#include "automation/errors.h"
#include "binding.h"
#include "marshal.h"

namespace tessiq {

struct Source {
  enum class Kind { Value, Array, Text, Out };
  Kind kind;
  std::size_t arg;
  Extent touched;  // arrays only
};

inline Source value(std::size_t arg) { return {Source::Kind::Value, arg, {}}; }
inline Source array(std::size_t arg, Extent touched = {}) { return {Source::Kind::Array, arg, std::move(touched)}; }
inline Source text(std::size_t arg) { return {Source::Kind::Text, arg, {}}; }
inline Source out(std::size_t arg) { return {Source::Kind::Out, arg, {}}; }

namespace detail {

std::vector<ArrayUse> arrayUses(const std::vector<Source> &sources);

// A control-owned scalar that receives an output of the export.
struct OutCell {
  int32_t i4 = 0;
  int16_t i2 = 0;
  float r4 = 0;
  double r8 = 0;
};

template <class T>
T *cellOf(OutCell &cell) {
  if constexpr (std::is_same_v<T, int32_t>) return &cell.i4;
  else if constexpr (std::is_same_v<T, int16_t>) return &cell.i2;
  else if constexpr (std::is_same_v<T, float>) return &cell.r4;
  else {
    static_assert(std::is_same_v<T, double>, "out parameters are I4, I2, R4 or R8");
    return &cell.r8;
  }
}

struct Call {
  Call(automation::Args &a, const std::vector<Source> &sources)
      : args(a), arrays(a, arrayUses(sources)), cells(sources.size()) {}
  automation::Args &args;
  CallArrays arrays;
  CallStrings strings;
  std::vector<OutCell> cells;
};

template <class P>
P pass(const Source &s, std::size_t k, Call &c) {
  if constexpr (std::is_pointer_v<P>) {
    using T = std::remove_cv_t<std::remove_pointer_t<P>>;
    if constexpr (std::is_same_v<T, char>) {
      if (s.kind == Source::Kind::Text) return c.strings.add(c.args[s.arg].toString());
    } else if constexpr (std::is_arithmetic_v<T>) {
      if (s.kind == Source::Kind::Out) return cellOf<T>(c.cells[k]);
    }
    if (s.kind != Source::Kind::Array) throw std::logic_error("tessiq: source does not fit a pointer");
    return static_cast<P>(c.arrays.elementZero(s.arg));
  } else {
    if (s.kind != Source::Kind::Value) throw std::logic_error("tessiq: source does not fit a value");
    const automation::Variant &v = c.args[s.arg];
    if constexpr (std::is_same_v<P, int16_t>) return automation::narrowToI2(v.toI4());
    else if constexpr (std::is_same_v<P, int32_t>) return v.toI4();
    else if constexpr (std::is_same_v<P, float>) return v.toR4();
    else {
      static_assert(std::is_same_v<P, double>, "value parameters are I2, I4, R4 or R8");
      return v.toR8();
    }
  }
}

template <class P>
void writeBack(const Source &s, std::size_t k, Call &c) {
  if constexpr (std::is_pointer_v<P>) {
    using T = std::remove_cv_t<std::remove_pointer_t<P>>;
    if constexpr (std::is_arithmetic_v<T> && !std::is_same_v<T, char>)
      if (s.kind == Source::Kind::Out) c.args[s.arg] = automation::Variant(*cellOf<T>(c.cells[k]));
  }
}

template <class R, class... P, std::size_t... K>
automation::Variant callWith(R (*entry)(P...), const std::vector<Source> &s, Call &c,
                             std::index_sequence<K...>) {
  std::tuple<P...> params{pass<P>(s[K], K, c)...};  // braced: evaluated left to right
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

}  // namespace detail

template <class R, class... P>
automation::Handler forward(Bound<R(P...)> &fn, std::vector<Source> sources) {
  if (sources.size() != sizeof...(P)) throw std::logic_error(std::string("tessiq: sources of ") + fn.name());
  return [&fn, sources = std::move(sources)](automation::Args &args) {
    detail::Call call(args, sources);  // arrays checked and locked before the library is bound
    return detail::callWith(fn.get(), sources, call, std::index_sequence_for<P...>{});
  };
}

}  // namespace tessiq
