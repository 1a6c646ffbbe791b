// numberformat.h - the number texts of the chart: the general number format of tick labels
// and range fields (".5", "-.25", "1.234568E+07") and the measuring readout format.
#pragma once

#include <string>

namespace graphane {

// A single rounded to 7 significant digits, or a double to 15, in plain decimal without
// trailing zeros and without a zero ahead of the decimal point; exponent form ("1E+15",
// "1.5E-05") when the decimal exponent is below -4 or reaches the number of digits.
std::string generalFormat(float value);
std::string generalFormat(double value);

// The readout text of a measured value: fixed decimals chosen by magnitude (12345.68,
// 0.50, 5.0000), whole numbers above one million, general format below 0.000001.
std::string readoutFormat(float value);

// Rounds to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

}  // namespace graphane
