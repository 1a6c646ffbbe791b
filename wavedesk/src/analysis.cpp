#include "analysis.h"

#include <algorithm>
#include <cmath>

namespace wavedesk {

float AutoThreshold(const float *y, int32_t n, int32_t nWin, double noise) {
    // Drift over one window: the lower quartile of the changes between the low levels (20th
    // percentiles) of neighbouring blocks of the window's length. The low level ignores the peaks
    // inside a block, the lower quartile the blocks that a peak fills.
    double drift = 0;
    const int64_t block = 2 * int64_t(std::max(nWin, int32_t(0))) + 1;
    if (n > 0 && block < n) {
        std::vector<float> medians, steps;
        for (int64_t from = 0; from + block <= n; from += block) {
            std::vector<float> b(y + from, y + from + block);
            std::nth_element(b.begin(), b.begin() + block / 5, b.end());
            medians.push_back(b[static_cast<std::size_t>(block / 5)]);
        }
        for (std::size_t k = 1; k < medians.size(); ++k)
            steps.push_back(std::fabs(medians[k] - medians[k - 1]));
        if (!steps.empty()) {
            std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 4),
                             steps.end());
            drift = steps[steps.size() / 4];
        }
    }
    const double white = 2 * noise * std::sqrt(2 * std::log(double(block)) + 1e-12);
    return static_cast<float>(std::max(2 * (white + drift), 0.001));
}

float AutoWindowSeconds(double typicalHalfWidthSeconds, double rate) {
    double seconds = 3 * typicalHalfWidthSeconds;
    seconds = std::max({seconds, 2.0, rate > 0 ? 10 / rate : 2.0});
    return static_cast<float>(std::min(seconds, 300.0));
}

namespace {

// Baseline, flags and corrected trace for the parameters in out.used.
void baselineStep(const float *y, int32_t n, Analysis &out) {
    const int32_t nWin = WindowPoints(out.used.windowSeconds, out.used.samplesPerSecond);
    out.baseline.assign(static_cast<std::size_t>(n), 0.0f);
    out.baselinePoints = SePuBaseLine(y, n, out.baseline.data(), nWin, out.used.baseThreshold);
    out.flags = ClassifyWindows(y, n, nWin, out.used.baseThreshold);
    out.corrected.resize(static_cast<std::size_t>(n));
    out.rawCorrected.resize(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        const float ceiling = out.denoised[i] + out.used.baseThreshold / 2;
        if (out.flags[i] == kPeakPoint && out.baseline[i] > ceiling) out.baseline[i] = ceiling;
        out.corrected[i] = static_cast<float>(double(out.denoised[i]) - out.baseline[i]);
        out.rawCorrected[i] = static_cast<float>(double(y[i]) - out.baseline[i]);
    }
}

}  // namespace

namespace {

// Everything after the denoising: baseline, noise, peaks, and with automatic the window and
// threshold from a first pass.
Outcome finish(const float *y, int32_t n, const AnalysisOptions &options, Analysis &out, Preprocessed &pre) {
    out.m = pre.m;
    out.denoised.assign(pre.denoised.begin(), pre.denoised.begin() + n);
    const double rate = options.params.samplesPerSecond;

    if (options.automatic) {
        // First pass with a provisional window for the typical peak width, then the final one.
        const double overall = RobustNoise(y, n, nullptr);
        out.used.windowSeconds = AutoWindowSeconds(10, rate);
        out.used.baseThreshold =
            AutoThreshold(y, n, WindowPoints(out.used.windowSeconds, float(rate)), overall);
        baselineStep(y, n, out);
        out.noise = RobustNoise(y, n, out.flags.data());
        out.peaks = FindPeaks(out.corrected.data(), out.rawCorrected.data(), n, out.flags, rate, out.noise,
                              options.minSn);
        out.typicalWidthS = TypicalHalfWidth(out.peaks);
        if (out.typicalWidthS > 0) {
            out.used.windowSeconds = AutoWindowSeconds(out.typicalWidthS, rate);
            const double noise = RobustNoise(y, n, out.flags.data());
            out.used.baseThreshold =
                AutoThreshold(y, n, WindowPoints(out.used.windowSeconds, float(rate)), noise);
        }
    }
    baselineStep(y, n, out);
    out.noise = RobustNoise(y, n, out.flags.data());
    out.peaks = FindPeaks(out.corrected.data(), out.rawCorrected.data(), n, out.flags, rate, out.noise,
                          options.minSn);
    return Outcome::Done;
}

}  // namespace

Outcome AnalyseChromatogram(const float *y, int32_t n, const AnalysisOptions &options,
                            const WaveletStep &wavelet, Analysis &out) {
    out = Analysis{};
    out.used = options.params;
    Preprocessed pre;
    if (n < 1) return Outcome::Empty;
    // The transform is periodic: denoising the trace followed by its mirror image keeps the end of
    // the trace from wrapping onto its start.
    std::vector<float> mirrored(y, y + n);
    mirrored.insert(mirrored.end(), std::make_reverse_iterator(y + n), std::make_reverse_iterator(y));
    PreprocessParams twice = options.params;
    twice.maxTransform =
        std::min(PowerOfTwoLength(2 * n), std::max(options.params.maxTransform, int32_t(64)) * 2);
    Outcome outcome = PreprocessChromatogram(mirrored.data(), 2 * n, twice, wavelet, pre);
    if (outcome != Outcome::Done) return outcome;
    if (options.automatic) {
        // The coefficients are cut at a share of their range. A few extreme points (a solvent tail
        // tens of times higher than the peaks) would raise the cut until it clears the peaks, so
        // the share shrinks by the ratio of the full range to the range of the central 90 % when that
        // exceeds 10.
        std::vector<float> sorted(y, y + n);
        std::sort(sorted.begin(), sorted.end());
        const double span = double(sorted.back()) - sorted.front();
        const double central =
            double(sorted[std::size_t(n - 1) * 95 / 100]) - sorted[std::size_t(n - 1) * 5 / 100];
        const double ratio = central > 0 ? span / central : 1;
        if (ratio <= 10) return finish(y, n, options, out, pre);
        twice.coefThreshold = out.used.coefThreshold =
            static_cast<float>(std::min(double(options.params.coefThreshold) * ratio, 4999.0));
        outcome = PreprocessChromatogram(mirrored.data(), 2 * n, twice, wavelet, pre);
        if (outcome != Outcome::Done) return outcome;
    }
    return finish(y, n, options, out, pre);
}

int32_t DeepestDip(const std::vector<float> &corrected, double noise) {
    if (corrected.empty()) return -1;
    const auto low = std::min_element(corrected.begin(), corrected.end());
    if (!(*low < -std::max(5 * noise, 0.001))) return -1;
    return static_cast<int32_t>(low - corrected.begin());
}

std::vector<double> RoundGrid(double lo, double hi, int lines) {
    if (!(std::isfinite(lo) && std::isfinite(hi) && hi > lo) || lines < 2) return {lo, hi};
    const double raw = (hi - lo) / (lines - 1);
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    double step = decade * 10;
    for (double f : {1.0, 2.0, 5.0})
        if (f * decade >= raw) {
            step = f * decade;
            break;
        }
    const double first = std::floor(lo / step) * step, last = std::ceil(hi / step) * step;
    std::vector<double> grid;
    for (int k = 0; first + k * step <= last + step * 1e-9 && k < 31; ++k) grid.push_back(first + k * step);
    return grid;
}

}  // namespace wavedesk
