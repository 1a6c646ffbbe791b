// host.h - what host code uses to hold and call a control so that calls read naturally:
//
//   automation::ControlHandle chart = automation::ControlHandle::create("GraphaneLib.Graphane");
//   chart.call(graphane::dispid::Plot, false);
//   int16_t n = chart.get(graphane::dispid::nSeries).toI2();
//   chart.put(graphane::dispid::LineColor, int16_t(1), int32_t(0xFF));
//
// Arguments become Variants (int16_t I2, int32_t I4, float R4, double R8, bool BOOL, strings,
// SafeArray& arrays). A non-const variable passed to call/get/put receives whatever the control
// wrote back into its argument, converted to the variable's type (by-reference parameters).
#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "automation/control.h"
#include "automation/errors.h"
#include "automation/plugin.h"
#include "automation/safearray.h"

namespace automation {

class ControlHandle {
  public:
    ControlHandle() = default;
    explicit ControlHandle(std::unique_ptr<Control> control) : control_(std::move(control)) {}
    static ControlHandle create(const std::string &progId) { return ControlHandle(createControl(progId)); }

    bool valid() const { return control_ != nullptr; }
    Control *operator->() const { return control_.get(); }
    Control *get() const { return control_.get(); }
    void reset() { control_.reset(); }

    template <class... A>
    Variant call(DispId id, A &&...args) {
        return invoke(InvokeKind::Method, id, std::forward<A>(args)...);
    }
    template <class... A>
    Variant get(DispId id, A &&...index) {
        return invoke(InvokeKind::PropertyGet, id, std::forward<A>(index)...);
    }
    template <class... A>
    void put(DispId id, A &&...indexAndValue) {
        invoke(InvokeKind::PropertyPut, id, std::forward<A>(indexAndValue)...);
    }

  private:
    template <class... A>
    Variant invoke(InvokeKind kind, DispId id, A &&...args) {
        if (!control_) raise(err::ObjectNotSet);
        Args list{toVariant(args)...};
        Variant result = control_->invoke(id, kind, list);
        std::size_t i = 0;
        (writeBack<A>(list[i++], args), ...);
        return result;
    }

    static Variant toVariant(SafeArray &a) { return Variant(a); }
    static Variant toVariant(const Variant &v) { return v; }
    static Variant toVariant(const std::string &s) { return Variant(s); }
    static Variant toVariant(const char *s) { return Variant(s); }
    template <class T>
    static Variant toVariant(const T &v) requires std::is_arithmetic_v<T> {
        return Variant(v);
    }

    template <class A, class T>
    static void writeBack(const Variant &v, T &target) {
        if constexpr (std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>) {
            using U = std::remove_cvref_t<T>;
            if constexpr (std::is_same_v<U, int16_t>)
                target = v.toI2();
            else if constexpr (std::is_same_v<U, int32_t>)
                target = v.toI4();
            else if constexpr (std::is_same_v<U, float>)
                target = v.toR4();
            else if constexpr (std::is_same_v<U, double>)
                target = v.toR8();
            else if constexpr (std::is_same_v<U, bool>)
                target = v.toBool();
            else if constexpr (std::is_same_v<U, std::string>)
                target = v.toString();
            else if constexpr (std::is_same_v<U, Variant>)
                target = v;
        }
    }

    std::unique_ptr<Control> control_;
};

}  // namespace automation
