// dspsteps.h - the transforms of the chromatogram arithmetic, run by the DSP control Tessiq1
// through its dispatch interface (d_stDWaveletT with the 10-tap filter, d_stFFT).
#pragma once

#include "automation/host.h"
#include "chromatogram.h"

namespace wavedesk {

// Wavelet step calling d_stDWaveletT(w, m, 10, inv) on `tessiq`.
WaveletStep waveletThrough(automation::ControlHandle &tessiq);
// FFT step calling d_stFFT(re, im, m, inv) on `tessiq`.
FftStep fftThrough(automation::ControlHandle &tessiq);

}  // namespace wavedesk
