// Members of the test control (ProgID "AutomationTest.TestControl").
#pragma once

#include "automation/control.h"

namespace testctl {
constexpr automation::DispId Add = 1;          // Add(a I2, b I2) -> I4
constexpr automation::DispId Level = 2;        // property I2
constexpr automation::DispId Swap = 3;         // Swap(a& I4, b& I4)
constexpr automation::DispId SumFromZero = 4;  // SumFromZero(x() R4, n I4) -> R4, doubles x in place
constexpr automation::DispId Narrow = 5;       // Narrow(v I4) -> I2 through the narrowing helper
constexpr automation::DispId Fire = 6;         // Fire(v I4) -> I4: raises event 1 with v by reference
constexpr automation::DispId Caption = 7;      // property string
constexpr automation::DispId Scale = 8;        // Scale(index I2) property R4 indexed 0..3
constexpr automation::DispId EventPing = 1;    // event: (value& I4)
}  // namespace testctl
