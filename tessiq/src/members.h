// members.h - the control's member table: the declared methods (methods.def) and the rows of
// each family of methods that give them their handlers.
#pragma once

#include <utility>
#include <vector>

#include "automation/control.h"
#include "forward.h"
#include "heartrate.h"

namespace tessiq {

// Parameter kinds of methods.def; arrays are always by reference.
namespace kind {
using automation::ArgType;
using automation::Param;
inline constexpr Param I2{ArgType::I2};
inline constexpr Param I4{ArgType::I4};
inline constexpr Param R4{ArgType::R4};
inline constexpr Param R8{ArgType::R8};
inline constexpr Param Str{ArgType::String};
inline constexpr Param I2Ref{ArgType::I2, true};
inline constexpr Param I4Ref{ArgType::I4, true};
inline constexpr Param R4Ref{ArgType::R4, true};
inline constexpr Param ArrR4{ArgType::ArrayR4, true};
inline constexpr Param ArrI4{ArgType::ArrayI4, true};
inline constexpr Param ArrI2{ArgType::ArrayI2, true};
inline constexpr Param ArrByte{ArgType::ArrayByte, true};
inline constexpr Param ArrR8{ArgType::ArrayR8, true};
inline constexpr Param ArrStr{ArgType::ArrayString, true};
}  // namespace kind

// State of one control instance.
struct Instance {
    RWaveDetector detector;
};

using Rows = std::vector<std::pair<automation::DispId, Row>>;

// One function per family of methods, each in its own file.
void workbenchRows(Rows &rows);   // workbench.cpp: About, b_Mean, b_Min, b_Max, d_stFFT, d_stDWaveletT
void numericsRows(Rows &rows);    // numerics.cpp: a_
void statisticsRows(Rows &rows);  // statistics.cpp: b_
void fileRows(Rows &rows);        // files.cpp: c_
void signalRows(Rows &rows);      // signal.cpp: d_
void modelRows(Rows &rows, Instance &instance);  // models.cpp: e_ and f_

// Every method of methods.def, without handlers.
std::vector<automation::Member> declaredMembers();
// The declared methods with the handlers of `rows`; raises std::logic_error when a method has
// no row or two, a row names no declared method, or a row does not fit its declaration.
std::vector<automation::Member> buildMembers(Rows rows);
// The whole member table of one instance.
std::vector<automation::Member> controlMembers(Instance &instance);

}  // namespace tessiq
