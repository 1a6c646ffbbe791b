// peaks.h - the peak table of a baseline-corrected chromatogram and the robust noise figure it
// is measured against. Plain arrays, no window: sepuprep and the tests call these directly.
#pragma once

#include <cstdint>
#include <vector>

namespace wavedesk {

// One row of the peak table. Times in minutes unless named otherwise.
struct PeakRow {
    int32_t number = 0;        // 1, 2, ... in time order
    double retentionMin = 0;   // apex, refined by a parabola through the three highest points
    double startMin = 0;       // first point of the peak
    double endMin = 0;         // last point of the peak
    double heightMv = 0;       // apex height above the baseline
    double areaMvS = 0;        // trapezoid sum between start and end, mV*s
    double widthHalfS = 0;     // full width at half height, s (linear interpolation)
    double tailing = 0;        // (a + b) / (2a) at 5 % height, a before and b after the apex
    double signalToNoise = 0;  // height / noise
};

// Robust standard deviation of the noise of y: 1.4826 * median |y(i+1) - y(i)| / sqrt(2), over
// the pairs whose two points are both baseline points (flags from ClassifyWindows, kPeakPoint
// excluded), or over all pairs when flags is null or fewer than 16 pairs qualify. First
// differences remove drift and offset; the median ignores peaks. When half the differences are 0
// (a trace quantised coarser than its noise) the mean absolute difference * sqrt(pi) / 2 stands
// in. Never below the rounding noise of whole microvolts, 1 uV / sqrt(12). 0 for n < 2.
double RobustNoise(const float *y, int32_t n, const uint8_t *flags);

// Peaks of a corrected trace at `rate` samples per second: s(0..n-1) is the smooth (denoised)
// trace and raw(0..n-1) the measured one, both minus the baseline, in mV (raw may be null: then
// s is both). The peak regions are the runs of kPeakPoint in flags (with the baseline point on
// each side); inside a region the local maxima of s are merged from left to right until the
// valley between two neighbours lies more than minSn * noise below the lower of them, where the
// region is split (a vertical drop); a piece lower than 5 % of its higher neighbour is a ripple
// and stays with it. Apex, height, area and half-height width are measured on
// raw, so the smoothing does not shift or flatten them; the 5 % points of the tailing factor on
// s. Peaks lower than minSn * noise are left out. Empty when n < 3, rate <= 0 or flags does not
// match n.
std::vector<PeakRow> FindPeaks(const float *s, const float *raw, int32_t n, const std::vector<uint8_t> &flags,
                               double rate, double noise, double minSn);

// Median of the half-height widths (s) of the rows; 0 for no row.
double TypicalHalfWidth(const std::vector<PeakRow> &rows);

}  // namespace wavedesk
