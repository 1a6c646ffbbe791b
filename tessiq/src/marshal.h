// marshal.h - how arrays and strings of a method cross into a library call or a computation.
//
// Arrays: an array must contain its element 0 and reach as far as the call will read or write
// from there; otherwise error 9 before anything is locked or called. Strings: copied with a
// terminating NUL into a buffer the library may change; the caller's string never changes.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <type_traits>

#include "automation/errors.h"
#include "automation/safearray.h"

namespace tessiq {

// The elements 0..count-1 of a one-dimensional array of T (count <= 0: element 0 only);
// raises 9 when they are not all there, 13 for another element type.
template <class T>
T *covered(automation::SafeArray &array, int64_t count) {
    using automation::ElemType;
    ElemType want = std::is_same_v<T, float>     ? ElemType::R4
                    : std::is_same_v<T, int32_t> ? ElemType::I4
                    : std::is_same_v<T, int16_t> ? ElemType::I2
                    : std::is_same_v<T, double>  ? ElemType::R8
                                                 : ElemType::Byte;
    if (array.type() != want) automation::raise(automation::err::TypeMismatch);
    return static_cast<T *>(automation::elementZero(array, count));
}

inline float *coveredFloats(automation::SafeArray &array, int64_t count) {
    return covered<float>(array, count);
}

// Floats 0..count-1, or null without any check when count <= 0 (nothing will be touched).
inline float *touchedFloats(automation::SafeArray &array, int64_t count) {
    return count > 0 ? covered<float>(array, count) : nullptr;
}

// NUL-terminated copies of string arguments, alive for one call.
class CallStrings {
  public:
    // Text is UTF-8 on both sides, which is this system's 8-bit code page; c_str() adds the NUL.
    char *add(const std::string &text) {
        copies_.push_back(text);
        return copies_.back().data();
    }

  private:
    std::list<std::string> copies_;
};

}  // namespace tessiq
