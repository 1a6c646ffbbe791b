// analysis.h - chromatogram analysis beyond the workbench's preprocessing, for sepuprep: the
// preprocessing at any sampling rate and length, a baseline that never runs above the trace, the
// automatic choice of the baseline threshold and window, the peak table and the warnings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chromatogram.h"
#include "peaks.h"

namespace wavedesk {

// Baseline fluctuation threshold (mV) for half window nWin (points) on a trace of noise sigma:
// twice the expected range of white noise over the window (2 sigma sqrt(2 ln(2 nWin + 1))) plus
// the drift over one window (lower quartile of the changes between the 20th percentiles of
// neighbouring window-long blocks), so that baseline stretches fall below half of it. At least one microvolt.
float AutoThreshold(const float *y, int32_t n, int32_t nWin, double noise);

// Window length (s) from the typical half-height width of the peaks: three widths, so that a
// window centred on a peak's apex reaches its feet; at least 10 samples and 2 s, at most 300 s.
float AutoWindowSeconds(double typicalHalfWidthSeconds, double rate);

struct AnalysisOptions {
    PreprocessParams params;  // the three dialog values are replaced when automatic
    bool automatic = false;
    double minSn = 3;  // valley depth and least height, in units of the noise
};

struct Analysis {
    PreprocessParams used;     // the parameters in effect (chosen ones with automatic)
    double noise = 0;          // mV, RobustNoise of the input on its baseline points
    double typicalWidthS = 0;  // TypicalHalfWidth of the first pass (automatic only)
    int32_t m = 0;             // transform length
    std::vector<float> denoised, baseline, corrected;  // n values each, corrected = denoised - baseline
    std::vector<float> rawCorrected;                   // input - baseline, where the peaks are measured
    std::vector<uint8_t> flags;                        // ClassifyWindows of the input
    int32_t baselinePoints = 0;                        // points not classified as peak
    std::vector<PeakRow> peaks;
};

// Preprocesses y(0..n-1) with `wavelet` and analyses it. The baseline is the workbench's
// window-classification baseline, except that inside peak regions it is held at most half the
// fluctuation threshold above the denoised trace (a straight bridge over a convex stretch such
// as a solvent tail would push the corrected trace far below zero; the ripple the denoising
// leaves beside a peak stays below that margin). Empty for n < 1, Flat when the values do not vary.
Outcome AnalyseChromatogram(const float *y, int32_t n, const AnalysisOptions &options,
                            const WaveletStep &wavelet, Analysis &out);

// The lowest point of a corrected trace when it lies more than 5 noise deviations (and 1 uV)
// below zero: its index, or -1 when the trace stays above that.
int32_t DeepestDip(const std::vector<float> &corrected, double noise);

// Grid values with a round step (1, 2 or 5 times a power of ten) covering [lo, hi], about
// `lines` of them and at most 31; {lo, hi} when the range is empty or not finite.
std::vector<double> RoundGrid(double lo, double hi, int lines);

}  // namespace wavedesk
