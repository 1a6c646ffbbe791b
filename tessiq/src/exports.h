// exports.h - the binding table: every library export the control calls, with its library
// file. The prototypes come from the libraries' headers (types only; nothing is linked).
#pragma once

#include "binding.h"
#include "sigmora.h"

namespace tessiq::exports {

// Extreme values.
inline Bound<decltype(::MinValueCalc)> MinValueCalc{kSigmora, "MinValueCalc"};
inline Bound<decltype(::MaxValueCalc)> MaxValueCalc{kSigmora, "MaxValueCalc"};
// Spectral core.
inline Bound<decltype(::FFTCalc)> FFTCalc{kSigmora, "FFTCalc"};
inline Bound<decltype(::FFTInvCalc)> FFTInvCalc{kSigmora, "FFTInvCalc"};
// Daubechies wavelets.
inline Bound<decltype(::DaubCoef)> DaubCoef{kSigmora, "DaubCoef"};
inline Bound<decltype(::DaubDWT1D)> DaubDWT1D{kSigmora, "DaubDWT1D"};

}  // namespace tessiq::exports
