// recorder.h - the recording stand-in of a library: each export logs its call as text
// ("Name(1, 2.5, [1 2 3], \"file\")"), reading exactly the elements its size note names from
// every array (so an array shorter than the note is caught by the address sanitizer), then
// stores 100 (p + 1) + j into element j of every array parameter p it may write, and returns
// the result set with RecorderSetResult (1 at start).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "sizenote.h"

#define RECORDER_API extern "C" __attribute__((visibility("default")))

namespace recorder {

struct Log {
    std::string calls;
    double result = 1;
};
Log &log();

inline std::string number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

template <class T>
int64_t integerOf(T v) {
    if constexpr (std::is_integral_v<T>)
        return int64_t(v);
    else
        return 0;
}

template <class T>
const void *pointerOf(T v) {
    if constexpr (std::is_pointer_v<T>)
        return v;
    else
        return nullptr;
}

template <class T>
void describe(std::string &out, T v, std::size_t p, const tessiq::SizeNote &note,
              const std::vector<int64_t> &ints, const std::vector<const void *> &pointers) {
    if constexpr (std::is_pointer_v<T>) {
        using E = std::remove_cv_t<std::remove_pointer_t<T>>;
        if constexpr (std::is_same_v<E, char>) {
            out += std::string("\"") + (v ? v : "(null)") + "\"";
        } else {
            auto element = [&](std::size_t q, int64_t k) -> int64_t {
                return static_cast<const int32_t *>(pointers[q])[k];
            };
            int64_t n = note.extent(
                p, [&](std::size_t q) { return ints[q]; }, element);
            out += "[";
            for (int64_t j = 0; j < n; ++j) out += (j ? " " : "") + number(double(v[j]));
            out += "]";
            if constexpr (!std::is_const_v<std::remove_pointer_t<T>>)
                for (int64_t j = 0; j < n; ++j) v[j] = static_cast<E>(100 * (p + 1) + j);
        }
    } else {
        out += number(double(v));
    }
}

template <class R, class... A>
R record(const char *name, const tessiq::SizeNote &size, A... args) {
    std::vector<int64_t> ints{integerOf(args)...};
    std::vector<const void *> pointers{pointerOf(args)...};
    std::string text = std::string(name) + "(";
    std::size_t p = 0;
    ((text += (p ? ", " : ""), describe(text, args, p, size, ints, pointers), ++p), ...);
    text += ")";
    Log &l = log();
    l.calls += (l.calls.empty() ? "" : "; ") + text;
    if constexpr (!std::is_void_v<R>) return static_cast<R>(l.result);
}

}  // namespace recorder

// The log's access, exported by each stand-in.
#define RECORDER_LOG_EXPORTS                        \
    namespace recorder {                            \
    Log &log() {                                    \
        static Log l;                               \
        return l;                                   \
    }                                               \
    }                                               \
    RECORDER_API const char *RecorderCalls() {      \
        return recorder::log().calls.c_str();       \
    }                                               \
    RECORDER_API void RecorderClear() {             \
        recorder::log().calls.clear();              \
    }                                               \
    RECORDER_API void RecorderSetResult(double r) { \
        recorder::log().result = r;                 \
    }
