// Small helpers shared by the DSP control's test programs.
#pragma once

#include <functional>
#include <vector>

#include "automation/errors.h"
#include "testsupport/errors.h"
#include "automation/safearray.h"

namespace tessiq_test {

using testsupport::errorOf;

// The elements of a one-dimensional single array from its element 0 on.
inline std::vector<float> fromZero(automation::SafeArray &a) {
    std::vector<float> v;
    for (int32_t i = 0; i <= a.ubound(); ++i) v.push_back(a.r4(i));
    return v;
}

}  // namespace tessiq_test
