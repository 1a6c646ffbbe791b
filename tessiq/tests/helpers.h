// Small helpers shared by the DSP control's test programs.
#pragma once

#include <functional>
#include <vector>

#include "automation/errors.h"
#include "automation/safearray.h"

namespace tessiq_test {

// The error number a call raises, 0 when it succeeds.
inline int errorOf(const std::function<void()> &f) {
  try {
    f();
  } catch (const automation::Error &e) {
    return e.number();
  }
  return 0;
}

// The elements of a one-dimensional single array from its element 0 on.
inline std::vector<float> fromZero(automation::SafeArray &a) {
  std::vector<float> v;
  for (int32_t i = 0; i <= a.ubound(); ++i) v.push_back(a.r4(i));
  return v;
}

}  // namespace tessiq_test
