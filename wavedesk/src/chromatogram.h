// chromatogram.h - the workbench's own chromatogram arithmetic on plain single-precision arrays:
// transform lengths, the histogram baseline level, the window-classification baseline, and the
// computing parts of the noise-removal and baseline commands. The menu handlers fetch series 0
// from the chart, call these, and put the results back; sepuprep calls the same functions.
//
// The transforms run in the DSP control; these functions receive them as callbacks so they stay
// free of the window and can be tested and timed on their own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wavedesk {

// Smallest power of two >= n, at least 64; 33554432 for n above 16777216.
int32_t PowerOfTwoLength(int32_t n);
// PowerOfTwoLength capped at 16384, the longest transform the workbench runs.
int32_t TransformLength(int32_t n);

// Amplitude-histogram weighted mean of x(0..n-1) over nLevel bins: the level the signal spends
// most of its time at. 0 for n < 1 or nLevel < 1.
float HistAverage(const float *x, int32_t n, int32_t nLevel);

// Window-classification baseline of x(0..n-1) into y(0..n-1): nWin is the half window in
// points, Threshold the allowed fluctuation in the units of x. Returns the number of points
// classified as baseline (0 when none: then y = x). A baseline point whose window holds no
// value to average, and a peak point with the same anchor on both sides, keep their raw value.
int32_t SePuBaseLine(const float *x, int32_t n, float *y, int32_t nWin, float Threshold);

// The window classification behind SePuBaseLine, one flag per point: kPeakPoint where the range
// of x over [i - nWin, i + nWin] exceeds Threshold, kFlatPoint where it is below Threshold / 2,
// kAnchorPoint between (and at both ends when they would be peak points).
constexpr uint8_t kPeakPoint = 0, kAnchorPoint = 1, kFlatPoint = 2;
std::vector<uint8_t> ClassifyWindows(const float *x, int32_t n, int32_t nWin, float Threshold);
// Range (max - min) of x over [i - nWin, i + nWin], clipped to the trace, for every i; O(n).
std::vector<float> WindowRanges(const float *x, int32_t n, int32_t nWin);

// Wavelet transform through the DSP control (10-tap Daubechies): inv 0 forward, -1 inverse.
using WaveletStep = std::function<void(std::vector<float> &w, int32_t m, int32_t inv)>;
// Complex FFT through the DSP control: inv 0 forward, 1 inverse.
using FftStep = std::function<void(std::vector<float> &re, std::vector<float> &im, int32_t m, int32_t inv)>;

// The three analysis parameters of the preprocessing dialog.
struct PreprocessParams {
    float coefThreshold = 200;     // wavelet coefficients below (range / this) are cleared
    float baseThreshold = 30;      // baseline fluctuation threshold, mV
    float windowSeconds = 20;      // moving-average window length, s
    float samplesPerSecond = 20;   // sampling rate that turns the window into points
    int32_t maxTransform = 16384;  // longest transform run (a power of two, at most 2^24)
};

enum class ParamProblem { None, CoefThreshold, BaseThreshold, WindowLength };

// First parameter out of range, in dialog order. A coefficient threshold of 0 is refused with
// the first one, since the cut-off would divide by it.
ParamProblem CheckParams(const PreprocessParams &p);
// Half window of the baseline in points: seconds * 20, rounded half to even.
int32_t WindowPoints(float seconds);
// The same at another sampling rate: seconds * rate, rounded half to even, capped at 2^30.
int32_t WindowPoints(float seconds, float samplesPerSecond);
// The leading number of a text as a form reads a text box ("12abc" -> 12, "abc" -> 0).
double LeadingNumber(const std::string &text);

enum class Outcome { Done, Empty, Flat };

struct Preprocessed {
    int32_t m = 0;                    // transform length
    std::vector<float> coefficients;  // the m forward coefficients, before the cut-off
    float cmin = 0, cmax = 0;
    std::vector<float> denoised;   // n values, mV
    std::vector<float> baseline;   // n values, mV
    std::vector<float> corrected;  // n values, mV
};

// Chromatogram preprocessing of y(0..n-1): normalise, remove the histogram level, wavelet
// denoise, rescale, estimate the baseline and subtract it. Empty for n < 1, Flat when the
// values do not vary (nothing to normalise); `out` is only filled for Done.
Outcome PreprocessChromatogram(const float *y, int32_t n, const PreprocessParams &p,
                               const WaveletStep &wavelet, Preprocessed &out);

// 101-point moving average with a window that shrinks at both ends.
std::vector<float> MovingAverage(const float *y, int32_t n);
// Slope-weighted average over 201 points (weights e^(-100 |slope|)).
std::vector<float> WeightFilter(const float *y, int32_t n);
// Removes the constant term and the two lowest frequencies. Flat when the values do not vary.
Outcome FftLowPass(const float *y, int32_t n, const FftStep &fft, std::vector<float> &out);
// Baseline as the coarsest wavelet approximation of the signal. Flat when the values do not vary.
Outcome WaveletBaseline(const float *s, int32_t n, const WaveletStep &wavelet, std::vector<float> &out);
// Flat-point baseline tracking and removal; min and max of s come from the DSP control.
std::vector<float> DeleteBaseline(const float *s, int32_t n, float min, float max);

}  // namespace wavedesk
