#include "peaks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "chromatogram.h"

namespace wavedesk {

namespace {

constexpr double kMicrovolt = 0.001;  // mV

double median(std::vector<float> &v) {
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    return v[mid];
}

// Linear crossing of `level` between i (on the peak side) and j = i +- 1 (outside), as a
// fractional index.
double crossing(const float *s, int32_t i, int32_t j, double level) {
    const double a = s[i], b = s[j];
    if (a == b) return i;
    return i + (j - i) * (a - level) / (a - b);
}

// Fractional index where s falls below `level` walking from apex towards `bound` (step -1 or +1);
// the bound itself when it never does.
double edge(const float *s, int32_t apex, int32_t bound, int32_t step, double level) {
    for (int32_t i = apex; i != bound; i += step)
        if (s[i + step] < level) return crossing(s, i, i + step, level);
    return bound;
}

struct Segment {
    int32_t start, apex, end;
    bool edgeStart = false, edgeEnd = false;  // the bound is the end of a peak region (not a valley)
};

// Splits the region [from, to] at the valleys that are deep enough.
void splitRegion(const float *s, int32_t from, int32_t to, double depth, std::vector<Segment> &out) {
    std::vector<Segment> pieces;
    Segment cur{from, -1, to, true, true};
    for (int32_t i = from + 1; i + 1 <= to; ++i) {
        if (!(s[i] > s[i - 1] && s[i] >= s[i + 1])) continue;  // not a local maximum
        if (cur.apex < 0) {
            cur.apex = i;
            continue;
        }
        const int32_t valley = static_cast<int32_t>(std::min_element(s + cur.apex, s + i + 1) - s);
        const double prominence = std::min(s[cur.apex], s[i]) - double(s[valley]);
        if (prominence > depth) {
            cur.end = valley;
            cur.edgeEnd = false;
            pieces.push_back(cur);
            cur = {valley, i, to, false, true};
        } else if (s[i] > s[cur.apex]) {
            cur.apex = i;
        }
    }
    if (cur.apex < 0) cur.apex = static_cast<int32_t>(std::max_element(s + from, s + to + 1) - s);
    cur.end = to;
    pieces.push_back(cur);
    // A piece too low to be a peak, or lower than 5 % of a neighbour (the ripple the denoising
    // leaves on a peak's flank grows with the peak), belongs to the higher neighbour it touches.
    for (std::size_t k = 0; k < pieces.size() && pieces.size() > 1;) {
        const double before = k > 0 ? s[pieces[k - 1].apex] : -1e300;
        const double after = k + 1 < pieces.size() ? s[pieces[k + 1].apex] : -1e300;
        if (s[pieces[k].apex] >= std::max(depth, 0.05 * std::max(before, after))) {
            ++k;
            continue;
        }
        if (k > 0 && before >= after) {
            pieces[k - 1].end = pieces[k].end;
            pieces[k - 1].edgeEnd = pieces[k].edgeEnd;
        } else {
            pieces[k + 1].start = pieces[k].start;
            pieces[k + 1].edgeStart = pieces[k].edgeStart;
        }
        pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(k));
    }
    out.insert(out.end(), pieces.begin(), pieces.end());
}

// Apex of raw around index a: a least-squares parabola through the logarithms of the points
// next to a that lie above 70 % of its height, as many on each side (exact for a Gaussian peak, and with three points the
// parabola through the three highest points); the plain three-point parabola when the logarithms
// do not allow it. Gives the fractional offset from a and the height.
void apexOf(const float *raw, const Segment &g, int32_t a, double &offset, double &height) {
    offset = 0;
    height = raw[a];
    const double floor = 0.7 * raw[a];
    int32_t lo = a, hi = a;
    while (lo > g.start && raw[lo - 1] > floor) --lo;
    while (hi < g.end && raw[hi + 1] > floor) ++hi;
    // The same number of points on both sides, so a tailing peak does not pull the vertex along.
    const int32_t side = std::min(a - lo, hi - a);
    lo = a - side;
    hi = a + side;
    if (raw[a] > 0 && hi - lo >= 2) {
        double s[5] = {0, 0, 0, 0, 0}, t[3] = {0, 0, 0};  // sums of u^k and of ln(v) u^k
        for (int32_t i = lo; i <= hi; ++i) {
            const double u = i - a, l = std::log(double(raw[i]));
            double p = 1;
            for (int k = 0; k < 5; ++k, p *= u) {
                s[k] += p;
                if (k < 3) t[k] += l * p;
            }
        }
        // Normal equations [s0 s1 s2; s1 s2 s3; s2 s3 s4] c = t, solved by Cramer's rule.
        auto det = [](double a0, double a1, double a2, double b0, double b1, double b2, double c0, double c1,
                      double c2) {
            return a0 * (b1 * c2 - b2 * c1) - a1 * (b0 * c2 - b2 * c0) + a2 * (b0 * c1 - b1 * c0);
        };
        const double d = det(s[0], s[1], s[2], s[1], s[2], s[3], s[2], s[3], s[4]);
        if (d != 0) {
            const double c0 = det(t[0], s[1], s[2], t[1], s[2], s[3], t[2], s[3], s[4]) / d;
            const double c1 = det(s[0], t[0], s[2], s[1], t[1], s[3], s[2], t[2], s[4]) / d;
            const double c2 = det(s[0], s[1], t[0], s[1], s[2], t[1], s[2], s[3], t[2]) / d;
            const double vertex = c2 < 0 ? -c1 / (2 * c2) : 1e300;
            if (vertex >= lo - a && vertex <= hi - a) {
                offset = vertex;
                height = std::exp(c0 - c1 * c1 / (4 * c2));
                return;
            }
        }
    }
    if (a > g.start && a < g.end) {
        const double l = raw[a - 1], c = raw[a], r = raw[a + 1];
        const double curvature = l - 2 * c + r;
        if (curvature < 0) {
            offset = std::clamp(0.5 * (l - r) / curvature, -0.5, 0.5);
            height = c - 0.25 * (l - r) * offset;
        }
    }
}

// Mean of raw over the quarter of the way from `bound` towards the apex (at least one point).
double edgeLevel(const float *raw, int32_t bound, int32_t apex) {
    const int32_t k = std::max(int32_t(1), std::abs(apex - bound) / 4);
    const int32_t step = apex > bound ? 1 : -1;
    double sum = 0;
    for (int32_t i = 0; i < k; ++i) sum += raw[bound + step * i];
    return sum / k;
}

PeakRow measureLocal(const float *s, const float *raw, const Segment &g, double rate, double noise);

// The baseline under a single point at a region's end is one noisy sample; a peak bounded by a
// region end is measured above the straight line through the mean levels next to its bounds.
PeakRow measure(const float *s, const float *raw, const Segment &g, double rate, double noise) {
    const double l0 = g.edgeStart ? edgeLevel(raw, g.start, g.apex) : 0;
    const double l1 = g.edgeEnd ? edgeLevel(raw, g.end, g.apex) : 0;
    const int32_t len = g.end - g.start;
    std::vector<float> local(static_cast<std::size_t>(len) + 1);
    for (int32_t i = 0; i <= len; ++i)
        local[i] = static_cast<float>(raw[g.start + i] - (len > 0 ? l0 + (l1 - l0) * i / len : l0));
    PeakRow row = measureLocal(s + g.start, local.data(), {0, g.apex - g.start, len}, rate, noise);
    const double shift = g.start / (rate * 60.0);
    row.retentionMin += shift;
    row.startMin += shift;
    row.endMin += shift;
    return row;
}

PeakRow measureLocal(const float *s, const float *raw, const Segment &g, double rate, double noise) {
    // The highest raw point near the apex of the smooth trace.
    int32_t a = g.apex;
    for (int32_t i = std::max(g.start, g.apex - 2); i <= std::min(g.end, g.apex + 2); ++i)
        if (raw[i] > raw[a]) a = i;
    double offset = 0, height = 0;
    apexOf(raw, g, a, offset, height);
    PeakRow row;
    const double toMin = 1.0 / (rate * 60.0);
    row.retentionMin = (a + offset) * toMin;
    row.startMin = g.start * toMin;
    row.endMin = g.end * toMin;
    row.heightMv = height;
    double area = 0;
    for (int32_t i = g.start; i < g.end; ++i) area += 0.5 * (double(raw[i]) + raw[i + 1]);
    row.areaMvS = area / rate;
    const double half = height / 2;
    row.widthHalfS = (edge(raw, a, g.end, 1, half) - edge(raw, a, g.start, -1, half)) / rate;
    const double low = height * 0.05, apex = a + offset;
    const int32_t top = g.apex;
    const double front = apex - edge(s, top, g.start, -1, low), back = edge(s, top, g.end, 1, low) - apex;
    row.tailing = front > 0 ? (front + back) / (2 * front) : 0;
    row.signalToNoise = noise > 0 ? height / noise : 0;
    return row;
}

}  // namespace

double RobustNoise(const float *y, int32_t n, const uint8_t *flags) {
    if (y == nullptr || n < 2) return 0;
    std::vector<float> d;
    d.reserve(static_cast<std::size_t>(n) - 1);
    if (flags)
        for (int32_t i = 0; i + 1 < n; ++i)
            if (flags[i] != kPeakPoint && flags[i + 1] != kPeakPoint) d.push_back(std::fabs(y[i + 1] - y[i]));
    if (d.size() < 16) {
        d.clear();
        for (int32_t i = 0; i + 1 < n; ++i) d.push_back(std::fabs(y[i + 1] - y[i]));
    }
    const double mad = median(d);
    if (mad > 0) return std::max(1.482602218505602 * mad / std::sqrt(2.0), kMicrovolt / std::sqrt(12.0));
    double sum = 0;
    for (float v : d) sum += v;
    const double mean = sum / double(d.size());
    const double quantum = kMicrovolt / std::sqrt(12.0);
    return std::max(mean * std::sqrt(3.14159265358979323846) / 2 / std::sqrt(2.0), quantum);
}

std::vector<PeakRow> FindPeaks(const float *s, const float *raw, int32_t n, const std::vector<uint8_t> &flags,
                               double rate, double noise, double minSn) {
    if (raw == nullptr) raw = s;
    std::vector<PeakRow> rows;
    if (s == nullptr || n < 3 || !(rate > 0) || flags.size() != static_cast<std::size_t>(n)) return rows;
    const double depth = std::max(minSn, 0.0) * noise;
    std::vector<Segment> segments;
    for (int32_t i = 0; i < n;) {
        if (flags[i] != kPeakPoint) {
            ++i;
            continue;
        }
        int32_t j = i;
        while (j + 1 < n && flags[j + 1] == kPeakPoint) ++j;
        splitRegion(s, std::max(i - 1, int32_t(0)), std::min(j + 1, n - 1), depth, segments);
        i = j + 1;
    }
    for (const Segment &g : segments) {
        PeakRow row = measure(s, raw, g, rate, noise);
        if (!(row.heightMv > 0) || row.heightMv < depth) continue;
        row.number = static_cast<int32_t>(rows.size()) + 1;
        rows.push_back(row);
    }
    return rows;
}

double TypicalHalfWidth(const std::vector<PeakRow> &rows) {
    if (rows.empty()) return 0;
    std::vector<float> w;
    w.reserve(rows.size());
    for (const PeakRow &r : rows) w.push_back(static_cast<float>(r.widthHalfS));
    return median(w);
}

}  // namespace wavedesk
