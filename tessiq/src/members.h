// members.h - the control's member rows, one group per family of methods.
#pragma once

#include <vector>

#include "automation/control.h"

namespace tessiq {

// Parameter kinds used by the rows: arrays always by reference.
namespace param {
inline const automation::Param ArrR4{automation::ArgType::ArrayR4, true};
inline const automation::Param I4{automation::ArgType::I4};
inline const automation::Param I4Ref{automation::ArgType::I4, true};
}  // namespace param

// About and the methods the workbench relies on: b_Mean, b_Min, b_Max, d_stFFT, d_stDWaveletT.
std::vector<automation::Member> workbenchMembers();

}  // namespace tessiq
