// marshal.h - how arguments of a method cross into a library call.
//
// Arrays: each array argument must be one-dimensional, contain its element 0 and reach as far
// as the call will read or write from there (its Extent); all are checked before anything is
// locked or called (error 9 otherwise), then locked for the call and unlocked on every path.
// Strings: copied with a terminating NUL into a buffer the library may change; the caller's
// string is never changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "automation/safearray.h"
#include "automation/variant.h"

namespace tessiq {

// Number of elements a call touches in one array, counted from element 0 (<= 1: element 0 only).
using Extent = std::function<int64_t(const automation::Args &)>;

// The value of an integer argument as a count ("lx elements").
Extent lengthArg(std::size_t index);

// One array argument of a call and the elements the call touches in it.
struct ArrayUse {
  std::size_t arg;
  Extent touched;  // empty: element 0 only
};

class CallArrays {
 public:
  CallArrays(automation::Args &args, const std::vector<ArrayUse> &uses);
  ~CallArrays();
  CallArrays(const CallArrays &) = delete;
  CallArrays &operator=(const CallArrays &) = delete;

  // Address of element 0 of the array passed as argument `arg`.
  void *elementZero(std::size_t arg) const;

 private:
  struct Entry {
    std::size_t arg;
    automation::SafeArray *array;
    void *zero;
  };
  std::vector<Entry> entries_;
};

// Checks that `array` covers `count` elements from element 0 and returns their address
// (count <= 0 checks element 0 only); raises 9 otherwise.
float *coveredFloats(automation::SafeArray &array, int64_t count);

// NUL-terminated copies of string arguments, alive for one call.
class CallStrings {
 public:
  char *add(const std::string &text);

 private:
  std::list<std::string> copies_;
};

}  // namespace tessiq
