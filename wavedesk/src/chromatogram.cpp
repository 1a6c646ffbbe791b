#include "chromatogram.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>

namespace wavedesk {

int32_t PowerOfTwoLength(int32_t n) {
    if (n > 16777216) return 33554432;
    int32_t m = 64;
    while (m < n) m *= 2;
    return m;
}

int32_t TransformLength(int32_t n) {
    return std::min(PowerOfTwoLength(n), int32_t(16384));
}

// ---- Histogram level -------------------------------------------------------------------------

namespace {

// Bin of v in nLevel bins over [min, max]; -1 when the point is skipped.
int32_t binOf(float v, float min, float max, int32_t nLevel) {
    if (v <= min) return 0;
    if (v >= max) return nLevel - 1;
    double bin = std::floor((double(v) - min) / (double(max) - min) * nLevel);
    if (bin < 0 || bin >= nLevel) return -1;
    return static_cast<int32_t>(bin);
}

}  // namespace

float HistAverage(const float *x, int32_t n, int32_t nLevel) {
    if (n < 1 || nLevel < 1) return 0;
    float min = x[0], max = x[0];
    for (int32_t i = 0; i < n; ++i) {
        if (x[i] < min) min = x[i];
        if (x[i] > max) max = x[i];
    }
    if (min == max) return min;

    std::vector<int32_t> counter(static_cast<std::size_t>(nLevel), 0);
    int64_t total = 0;
    for (int32_t i = 0; i < n; ++i) {
        int32_t bin = binOf(x[i], min, max, nLevel);
        if (bin < 0) continue;
        ++counter[bin];
        ++total;
    }
    if (total < 1) return max / 2 + min / 2;

    std::vector<float> probability(static_cast<std::size_t>(nLevel));
    for (int32_t k = 0; k < nLevel; ++k)
        probability[k] = static_cast<float>(double(counter[k]) / double(total));
    double numerator = 0, denominator = 0;
    for (int32_t i = 0; i < n; ++i) {
        int32_t bin = binOf(x[i], min, max, nLevel);
        if (bin < 0) continue;
        numerator += double(x[i]) * probability[bin];
        denominator += probability[bin];
    }
    return static_cast<float>(numerator / denominator);
}

// ---- Window-classification baseline ------------------------------------------------------------

namespace {

enum Flag : uint8_t { Peak = 0, Anchor = 1, Flat = 2 };

// Range (max - min) of x over the window [b - nWin, b + nWin] clipped to the signal, for every
// b, with monotonic queues: O(n) whatever the window.
std::vector<float> windowRanges(const float *x, int32_t n, int32_t nWin) {
    std::vector<float> range(static_cast<std::size_t>(n));
    std::deque<int32_t> hi, lo;
    int64_t added = -1;  // last index pushed
    for (int32_t b = 0; b < n; ++b) {
        int64_t right = std::min<int64_t>(int64_t(n) - 1, int64_t(b) + nWin);
        int64_t left = std::max<int64_t>(0, int64_t(b) - nWin);
        while (added < right) {
            int32_t k = static_cast<int32_t>(++added);
            while (!hi.empty() && x[hi.back()] <= x[k]) hi.pop_back();
            hi.push_back(k);
            while (!lo.empty() && x[lo.back()] >= x[k]) lo.pop_back();
            lo.push_back(k);
        }
        while (hi.front() < left) hi.pop_front();
        while (lo.front() < left) lo.pop_front();
        range[b] = x[hi.front()] - x[lo.front()];
    }
    return range;
}

// Prefix sums (double) of the values x(k) that `take` accepts, and of their count.
struct Prefix {
    std::vector<double> sum;
    std::vector<int64_t> count;
    int64_t taken(int64_t from, int64_t to) const { return to < from ? 0 : count[to + 1] - count[from]; }
    double mean(int64_t from, int64_t to) const {  // over [from, to]; needs taken() > 0
        return (sum[to + 1] - sum[from]) / double(taken(from, to));
    }
};

template <class Take>
Prefix prefixOf(const float *x, int32_t n, Take take) {
    Prefix p;
    p.sum.assign(static_cast<std::size_t>(n) + 1, 0);
    p.count.assign(static_cast<std::size_t>(n) + 1, 0);
    for (int32_t k = 0; k < n; ++k) {
        bool t = take(k);
        p.sum[k + 1] = p.sum[k] + (t ? double(x[k]) : 0.0);
        p.count[k + 1] = p.count[k] + (t ? 1 : 0);
    }
    return p;
}

}  // namespace

namespace {

// The flags of ClassifyWindows; `baseline` counts the points that are not peak points before
// the two ends are made anchors.
std::vector<uint8_t> classify(const float *x, int32_t n, int32_t nWin, float Threshold, int32_t &baseline) {
    std::vector<uint8_t> flag(static_cast<std::size_t>(std::max(n, 0)));
    baseline = 0;
    if (n < 1) return flag;
    std::vector<float> range = windowRanges(x, n, std::max(nWin, int32_t(0)));
    for (int32_t b = 0; b < n; ++b) {
        if (Threshold / 2 > range[b])
            flag[b] = Flat;
        else if (range[b] > Threshold)
            flag[b] = Peak;
        else
            flag[b] = Anchor;
        if (flag[b] != Peak) ++baseline;
    }
    if (flag[0] == Peak) flag[0] = Anchor;
    if (flag[n - 1] == Peak) flag[n - 1] = Anchor;
    return flag;
}

}  // namespace

std::vector<float> WindowRanges(const float *x, int32_t n, int32_t nWin) {
    if (x == nullptr || n < 1) return {};
    return windowRanges(x, n, std::max(nWin, int32_t(0)));
}

std::vector<uint8_t> ClassifyWindows(const float *x, int32_t n, int32_t nWin, float Threshold) {
    int32_t baseline = 0;
    return classify(x, n, nWin, Threshold, baseline);
}

int32_t SePuBaseLine(const float *x, int32_t n, float *y, int32_t nWin, float Threshold) {
    if (n < 1) return 0;
    if (nWin < 0) nWin = 0;
    int32_t count = 0;
    std::vector<uint8_t> flag = classify(x, n, nWin, Threshold, count);
    if (count == 0) {
        std::copy(x, x + n, y);
        return 0;
    }

    // Baseline points: the mean over their window (indices 1..n-2) of every value for a flat
    // point, of the local turning points only for an anchor point at the edge of a flat range.
    // The means come from prefix sums in double precision.
    Prefix all = prefixOf(x, n, [n](int32_t k) { return k >= 1 && k <= n - 2; });
    Prefix turning = prefixOf(x, n, [x, n](int32_t k) {
        if (k < 1 || k > n - 2) return false;
        float product = static_cast<float>((double(x[k + 1]) - x[k]) * (double(x[k]) - x[k - 1]));
        return product <= 0;
    });
    for (int32_t j = 0; j < n; ++j) {
        if (flag[j] == Peak) continue;
        int64_t from = std::max<int64_t>(1, int64_t(j) - nWin);
        int64_t to = std::min<int64_t>(int64_t(n) - 2, int64_t(j) + nWin);
        const Prefix &p = flag[j] == Flat ? all : turning;
        // A window without any value taken (a perfectly monotonic stretch has no turning point)
        // keeps the raw value rather than dropping the baseline to 0.
        y[j] = p.taken(from, to) ? static_cast<float>(p.mean(from, to)) : x[j];
    }

    // Peak regions: straight line between the raw values at the nearest anchors on each side.
    std::vector<int32_t> nextAnchor(static_cast<std::size_t>(n) + 1, -1);
    for (int32_t k = n - 1; k >= 0; --k) nextAnchor[k] = flag[k] == Anchor ? k : nextAnchor[k + 1];
    int32_t prev = 0, next = 0, lastAnchor = -1;
    for (int32_t k = 0; k < n; ++k) {
        if (flag[k] != Peak) {
            if (flag[k] == Anchor) lastAnchor = k;
            continue;
        }
        if (lastAnchor >= 0) prev = lastAnchor;
        if (k + 1 < n && nextAnchor[k + 1] >= 0) next = nextAnchor[k + 1];
        if (next == prev) {
            y[k] = x[k];  // one anchor for both sides: no line to draw, keep the raw value
            continue;
        }
        double span = double(next) - prev;
        y[k] = static_cast<float>((k - prev) / span * x[next] + (next - k) / span * x[prev]);
    }
    return count;
}

// ---- Parameters ---------------------------------------------------------------------------------

ParamProblem CheckParams(const PreprocessParams &p) {
    if (!(p.coefThreshold > 0 && p.coefThreshold < 5000)) return ParamProblem::CoefThreshold;
    if (!(p.baseThreshold >= 0 && p.baseThreshold <= 400)) return ParamProblem::BaseThreshold;
    if (!(p.windowSeconds > 0 && p.windowSeconds <= 300)) return ParamProblem::WindowLength;
    return ParamProblem::None;
}

int32_t WindowPoints(float seconds) {
    return static_cast<int32_t>(std::nearbyint(double(seconds) * 20));
}

int32_t WindowPoints(float seconds, float samplesPerSecond) {
    const double points = std::nearbyint(double(seconds) * samplesPerSecond);
    if (!(points > 0)) return 0;
    return points > 1073741824.0 ? 1073741824 : static_cast<int32_t>(points);
}

double LeadingNumber(const std::string &text) {
    // Blanks are skipped; the longest prefix that reads as a number counts.
    std::string digits;
    for (char c : text)
        if (c != ' ' && c != '\t') digits += c;
    const char *start = digits.c_str();
    char *end = nullptr;
    double v = std::strtod(start, &end);
    if (end == start || !std::isfinite(v)) return 0;
    // strtod also reads hexadecimal, "inf" and "nan"; a text box only knows decimal numbers.
    if (digits.size() > 1 && (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))) return 0;
    return v;
}

// ---- Preprocessing ------------------------------------------------------------------------------

namespace {

void minMax(const float *y, int32_t count, float &min, float &max) {
    min = max = y[0];
    for (int32_t i = 1; i < count; ++i) {
        if (y[i] < min) min = y[i];
        if (y[i] > max) max = y[i];
    }
}

}  // namespace

Outcome PreprocessChromatogram(const float *y, int32_t n, const PreprocessParams &p,
                               const WaveletStep &wavelet, Preprocessed &out) {
    if (n < 1) return Outcome::Empty;
    const int32_t m = std::min(PowerOfTwoLength(n), std::max(p.maxTransform, int32_t(64)));
    const float offset = n > 1 ? y[0] / 2 + y[1] / 2 : y[0];
    float min, max;
    minMax(y, std::min(m, n), min, max);
    if (min == max) return Outcome::Flat;
    const double span = double(max) - min;

    const int32_t size = std::max(m, n);
    std::vector<float> w(static_cast<std::size_t>(size), 0.0f);
    for (int32_t i = 0; i < m && i < n; ++i) w[i] = static_cast<float>((double(y[i]) - min) / span);
    const float level = HistAverage(w.data(), m, 200);
    for (int32_t i = 0; i < n; ++i) w[i] -= level;

    wavelet(w, m, 0);
    out.m = m;
    out.coefficients.assign(w.begin(), w.begin() + m);
    minMax(w.data(), m, out.cmin, out.cmax);
    const float cut = static_cast<float>((double(out.cmax) - out.cmin) / p.coefThreshold);
    for (int32_t i = 0; i < m; ++i)
        if (std::fabs(w[i]) < cut) w[i] = 0;
    wavelet(w, m, -1);

    out.denoised.resize(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i)
        out.denoised[i] = i < m ? static_cast<float>(min + (double(level) + w[i]) * span) : y[i];

    std::vector<float> b(static_cast<std::size_t>(size), 0.0f);
    SePuBaseLine(y, std::min(n, m), b.data(), WindowPoints(p.windowSeconds, p.samplesPerSecond),
                 p.baseThreshold);
    out.baseline.assign(b.begin(), b.begin() + n);

    out.corrected = out.denoised;
    for (int32_t i = 0; i < n && i < m; ++i)
        out.corrected[i] = static_cast<float>(double(out.denoised[i]) - b[i] + offset);
    return Outcome::Done;
}

// ---- Simple filters ------------------------------------------------------------------------------

std::vector<float> MovingAverage(const float *y, int32_t n) {
    std::vector<float> out(static_cast<std::size_t>(std::max(n, 0)));
    for (int32_t i = 0; i < n; ++i) {
        float mean = 0;
        int32_t taken = 0;
        for (int32_t j = std::max(0, i - 50); j <= std::min(n - 1, i + 50); ++j) {
            mean = static_cast<float>(mean + (double(y[j]) - mean) / (taken + 1));
            ++taken;
        }
        out[i] = mean;
    }
    return out;
}

std::vector<float> WeightFilter(const float *y, int32_t n) {
    std::vector<float> out(static_cast<std::size_t>(std::max(n, 0)));
    if (n < 2) return out;  // no sample: the last point is never used
    std::vector<float> weight(static_cast<std::size_t>(n - 1));
    for (int32_t j = 0; j + 1 < n; ++j)
        weight[j] = static_cast<float>(std::exp(-100.0 * std::fabs(double(y[j + 1]) - y[j])));
    for (int32_t i = 0; i < n; ++i) {
        double sum = 0, weighted = 0;
        for (int32_t j = std::max(0, i - 100); j <= std::min(n - 2, i + 100); ++j) {
            sum += weight[j];
            weighted += double(weight[j]) * y[j];
        }
        out[i] = sum > 0 ? static_cast<float>(weighted / sum) : 0.0f;
    }
    return out;
}

Outcome FftLowPass(const float *y, int32_t n, const FftStep &fft, std::vector<float> &out) {
    if (n < 1) return Outcome::Empty;
    const int32_t m = TransformLength(n);
    const int32_t copied = std::min(m, n);
    std::vector<float> re(static_cast<std::size_t>(m), 0.0f), im(static_cast<std::size_t>(m), 0.0f);
    float min = y[0], max = y[0], mean = 0;
    for (int32_t i = 0; i < copied; ++i) {
        re[i] = y[i];
        min = std::min(min, y[i]);
        max = std::max(max, y[i]);
        mean = static_cast<float>(mean + (double(y[i]) - mean) / (i + 1));
    }
    if (min == max) return Outcome::Flat;
    const double span = double(max) - min;
    for (int32_t i = 0; i < copied; ++i) re[i] = static_cast<float>((re[i] - double(mean)) / span);

    fft(re, im, m, 0);
    for (int32_t line : {0, 1, 2, m - 1, m - 2}) re[line] = im[line] = 0;
    fft(re, im, m, 1);

    out.resize(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) out[i] = i < m ? static_cast<float>(span * re[i] + mean) : y[i];
    return Outcome::Done;
}

Outcome WaveletBaseline(const float *s, int32_t n, const WaveletStep &wavelet, std::vector<float> &out) {
    if (n < 1) return Outcome::Empty;
    const int32_t m = TransformLength(n);
    float min, max;
    minMax(s, std::min(m, n), min, max);
    if (min == max) return Outcome::Flat;
    const double span = double(max) - min;

    std::vector<float> w(static_cast<std::size_t>(std::max(m, n)), 0.0f);
    float mean = 0;
    for (int32_t i = 0; i < n; ++i) {
        w[i] = static_cast<float>((double(s[i]) - min) / span);
        mean = static_cast<float>(mean + (double(w[i]) - mean) / (i + 1));
    }
    for (int32_t i = 0; i < n && i < m; ++i) w[i] -= mean;
    wavelet(w, m, 0);
    std::fill(w.begin() + 1, w.begin() + m, 0.0f);
    wavelet(w, m, -1);

    out.resize(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i)
        out[i] = i < m ? static_cast<float>(min + (double(mean) + w[i]) * span) : s[i];
    return Outcome::Done;
}

std::vector<float> DeleteBaseline(const float *s, int32_t n, float min, float max) {
    std::vector<float> c(static_cast<std::size_t>(std::max(n, 0)));
    if (n < 1) return c;
    const float low = static_cast<float>(min + (double(max) - min) / 100);
    const float high = static_cast<float>(max - (double(max) - min) / 50);
    auto flat = [&](int32_t i, int32_t neighbour) {
        float step = std::fabs(s[neighbour] - s[i]);
        return step < 0.01f && low < s[i] && s[i] < high;
    };

    float level = 0;
    for (int32_t i = 0; i < std::min(n, int32_t(102)); ++i)
        level = static_cast<float>(level + (double(s[i]) - level) / (i + 1));
    std::vector<float> b(static_cast<std::size_t>(n));
    for (int32_t i = 0; i + 1 < n; ++i) {
        if (flat(i, i + 1)) level = static_cast<float>(level + (double(s[i]) - level) / 100);
        b[i] = level;
    }
    b[n - 1] = level;
    for (int32_t i = n - 1; i >= 1; --i) {
        if (flat(i, i - 1)) level = static_cast<float>(level + (double(s[i]) - level) / 100);
        b[i] = b[i] / 2 + level / 2;
    }
    b[0] = b[0] / 2 + level / 2;

    for (int32_t i = 0; i < n; ++i) {
        float v = s[i] - b[i];
        c[i] = (v < 0 ? 0.0f : v) + min;
    }
    return c;
}

}  // namespace wavedesk
