#include "rasterline.h"

#include <algorithm>
#include <climits>

namespace graphane {

namespace {

int64_t floorDiv(int64_t a, int64_t b) {  // b > 0
    int64_t q = a / b;
    if ((a % b) != 0 && a < 0) --q;
    return q;
}

// Steps along the major axis: pixel i (0 <= i < len) sits at major = m1 + sm*i and
// minor = n1 + floor((2*i*dn + len) / (2*len)), the nearest minor position with halves
// rounded up. Only the i whose major position lies in 0..majorSize-1 are visited.
template <class Plot>
void walk(int m1, int n1, int dm, int dn, int majorSize, Plot plot) {
    const int64_t len = dm < 0 ? -int64_t(dm) : dm;
    const int sm = dm < 0 ? -1 : 1;
    int64_t i0, i1;
    if (sm > 0) {
        i0 = std::max<int64_t>(0, -int64_t(m1));
        i1 = std::min<int64_t>(len - 1, int64_t(majorSize) - 1 - m1);
    } else {
        i0 = std::max<int64_t>(0, int64_t(m1) - (majorSize - 1));
        i1 = std::min<int64_t>(len - 1, m1);
    }
    if (i0 > i1) return;
    const int64_t d = 2 * len;
    const int64_t step = 2 * int64_t(dn);
    const int64_t num = 2 * i0 * dn + len;
    int64_t q = floorDiv(num, d);
    int64_t r = num - q * d;
    for (int64_t i = i0; i <= i1; ++i) {
        plot(int(m1 + sm * i), int(n1 + q));
        r += step;
        if (r >= d)
            r -= d, ++q;
        else if (r < 0)
            r += d, --q;
    }
}

// Clips the segment to the square |x|, |y| <= kCoordLimit (Liang-Barsky). A clipped end is
// put on the boundary it crosses and its other coordinate computed from the line there, so
// ends far beyond the limit lose no precision.
bool clipToLimit(double &x1, double &y1, double &x2, double &y2) {
    const double lim = kCoordLimit;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 + lim, lim - x1, y1 + lim, lim - y1};
    const double edge[4] = {-lim, lim, -lim, lim};
    double t0 = 0, t1 = 1;
    int k0 = -1, k1 = -1;
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0) {
            if (t > t0) t0 = t, k0 = k;
        } else if (t < t1) {
            t1 = t, k1 = k;
        }
        if (t0 > t1) return false;
    }
    auto onEdge = [&](int k, double &x, double &y) {
        if (k < 2)
            x = edge[k], y = y1 + (x - x1) * (dy / dx);
        else
            y = edge[k], x = x1 + (y - y1) * (dx / dy);
    };
    double ax = x1, ay = y1, bx = x2, by = y2;
    if (k0 >= 0) onEdge(k0, ax, ay);
    if (k1 >= 0) onEdge(k1, bx, by);
    x1 = ax, y1 = ay, x2 = bx, y2 = by;
    return true;
}

}  // namespace

void rasterSegment(const PixelBuffer &buf, int x1, int y1, int x2, int y2, uint32_t argb) {
    const int dx = x2 - x1, dy = y2 - y1;
    if (dx == 0 && dy == 0) return;
    if (std::abs(dx) >= std::abs(dy)) {
        walk(x1, y1, dx, dy, buf.width, [&](int x, int y) {
            if (unsigned(y) < unsigned(buf.height)) buf.set(x, y, argb);
        });
    } else {
        walk(y1, x1, dy, dx, buf.height, [&](int y, int x) {
            if (unsigned(x) < unsigned(buf.width)) buf.set(x, y, argb);
        });
    }
}

void rasterSegmentF(const PixelBuffer &buf, float x1, float y1, float x2, float y2, uint32_t argb) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
    if (isNearPixel(x1) && isNearPixel(y1) && isNearPixel(x2) && isNearPixel(y2)) {
        rasterSegment(buf, toPixel(x1), toPixel(y1), toPixel(x2), toPixel(y2), argb);
        return;
    }
    double ax = x1, ay = y1, bx = x2, by = y2;
    if (!clipToLimit(ax, ay, bx, by)) return;
    rasterSegment(buf, toPixel(float(ax)), toPixel(float(ay)), toPixel(float(bx)), toPixel(float(by)), argb);
}

void rasterColumn(const PixelBuffer &buf, int x, int ya, int yb, uint32_t argb) {
    if (unsigned(x) >= unsigned(buf.width)) return;
    if (ya > yb) std::swap(ya, yb);
    ya = std::max(ya, 0);
    yb = std::min(yb, buf.height - 1);
    uint32_t *p = buf.bits + std::ptrdiff_t(ya) * buf.stride + x;
    for (int y = ya; y <= yb; ++y, p += buf.stride) *p = argb;
}

namespace {

// Pending vertical span of covered pixels in one column.
struct Span {
    int lo = INT_MAX, hi = INT_MIN;
    void add(int y) {
        lo = y < lo ? y : lo;
        hi = y > hi ? y : hi;
    }
    // The segment from a to b inside the column: a included, b not.
    void addSegment(int a, int b) {
        if (b > a)
            add(a), add(b - 1);
        else if (b < a)
            add(b + 1), add(a);
    }
    void flush(const PixelBuffer &buf, int x, uint32_t argb) {
        if (lo <= hi) rasterColumn(buf, x, lo, hi, argb);
        lo = INT_MAX, hi = INT_MIN;
    }
};

constexpr int kChunk = 256;

// Whole-pixel points of one chunk, and whether they all lie in one given column (then
// lo..hi is the range of their rows).
struct Chunk {
    int count = 0;  // leading points that map near the picture
    bool inColumn = true;
    int lo = INT_MAX, hi = INT_MIN;
};

#if defined(__SSE2__)
inline __m128i min32(__m128i a, __m128i b) {
    const __m128i gt = _mm_cmpgt_epi32(a, b);
    return _mm_or_si128(_mm_and_si128(gt, b), _mm_andnot_si128(gt, a));
}
inline __m128i max32(__m128i a, __m128i b) {
    const __m128i gt = _mm_cmpgt_epi32(a, b);
    return _mm_or_si128(_mm_and_si128(gt, a), _mm_andnot_si128(gt, b));
}
inline int lane(__m128i v, int i) {
    alignas(16) int out[4];
    _mm_store_si128(reinterpret_cast<__m128i *>(out), v);
    return out[i];
}
#endif

// Maps up to `count` points to whole pixels, stopping at the first point that does not map
// near the picture. Four points at a time where the processor allows: the same operations in
// the same order as PointMapping, so the same results.
Chunk mapChunk(const float *xs, const float *ys, int count, const PointMapping &map, int column, int *px,
               int *py) {
    Chunk c;
    int k = 0;
#if defined(__SSE2__)
    const __m128 x1 = _mm_set1_ps(map.x1), y2 = _mm_set1_ps(map.y2), kx = _mm_set1_ps(map.kx),
                 ky = _mm_set1_ps(map.ky), xmin = _mm_set1_ps(map.xmin), ymin = _mm_set1_ps(map.ymin),
                 limit = _mm_set1_ps(kCoordLimit), sign = _mm_set1_ps(-0.0f);
    const __m128i col = _mm_set1_epi32(column);
    __m128i same = _mm_set1_epi32(-1), vlo = _mm_set1_epi32(INT_MAX), vhi = _mm_set1_epi32(INT_MIN);
    for (; k + 4 <= count; k += 4) {
        const __m128 X = _mm_add_ps(x1, _mm_mul_ps(_mm_sub_ps(_mm_loadu_ps(xs + k), xmin), kx));
        const __m128 Y = _mm_sub_ps(y2, _mm_mul_ps(_mm_sub_ps(_mm_loadu_ps(ys + k), ymin), ky));
        const __m128 near = _mm_and_ps(_mm_cmple_ps(_mm_andnot_ps(sign, X), limit),
                                       _mm_cmple_ps(_mm_andnot_ps(sign, Y), limit));
        if (_mm_movemask_ps(near) != 0xF) break;
        const __m128i ix = _mm_cvtps_epi32(X), iy = _mm_cvtps_epi32(Y);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(px + k), ix);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(py + k), iy);
        same = _mm_and_si128(same, _mm_cmpeq_epi32(ix, col));
        vlo = min32(vlo, iy);
        vhi = max32(vhi, iy);
    }
    c.inColumn = _mm_movemask_epi8(same) == 0xFFFF;
    for (int i = 0; i < 4; ++i) c.lo = std::min(c.lo, lane(vlo, i)), c.hi = std::max(c.hi, lane(vhi, i));
#endif
    for (; k < count; ++k) {
        const float X = map.X(xs[k]), Y = map.Y(ys[k]);
        if (!(isNearPixel(X) && isNearPixel(Y))) break;
        px[k] = toPixel(X), py[k] = toPixel(Y);
        c.inColumn = c.inColumn && px[k] == column;
        c.lo = std::min(c.lo, py[k]), c.hi = std::max(c.hi, py[k]);
    }
    c.count = k;
    return c;
}

// Draws the stretch of points from `first` while they map near the picture; returns the
// index of the first point that does not (or n). Every point with a later different point
// is covered, so a column's run of points covers the span from its lowest to its highest
// point; only the stretch's last run may end on uncovered points and is redone segment by
// segment.
int64_t drawNearStretch(const PixelBuffer &buf, const float *xs, const float *ys, int64_t first, int64_t n,
                        const PointMapping &map, uint32_t argb) {
    int px[kChunk], py[kChunk];
    int col = toPixel(map.X(xs[first])), prevY = toPixel(map.Y(ys[first]));
    int lo = prevY, hi = prevY;
    int64_t runStart = first;
    int64_t i = first + 1;
    while (i < n) {
        const int want = int(std::min<int64_t>(kChunk, n - i));
        const Chunk chunk = mapChunk(xs + i, ys + i, want, map, col, px, py);
        const int got = chunk.count;
        if (got > 0 && chunk.inColumn) {
            // The usual case for dense data: the whole chunk stays in the current column.
            lo = std::min(lo, chunk.lo), hi = std::max(hi, chunk.hi);
            prevY = py[got - 1];
            i += got;
            if (got < want) break;
            continue;
        }
        for (int k = 0; k < got; ++k) {
            const int x = px[k], y = py[k];
            if (x == col) {
                lo = y < lo ? y : lo;
                hi = y > hi ? y : hi;
            } else {
                rasterColumn(buf, col, lo, hi, argb);
                rasterSegment(buf, col, prevY, x, y, argb);
                col = x, lo = y, hi = y;
                runStart = i + k;
            }
            prevY = y;
        }
        i += got;
        if (got < want) break;
    }
    // The last run, exactly: the union of its vertical segments.
    Span last;
    int a = toPixel(map.Y(ys[runStart]));
    for (int64_t k = runStart + 1; k < i; ++k) {
        const int b = toPixel(map.Y(ys[k]));
        last.addSegment(a, b);
        a = b;
    }
    last.flush(buf, col, argb);
    return i;
}

}  // namespace

void drawPolyline(const PixelBuffer &buf, const float *xs, const float *ys, int64_t n,
                  const PointMapping &map, uint32_t argb, bool merge) {
    if (n < 2) return;
    if (!merge) {
        float ax = map.X(xs[0]), ay = map.Y(ys[0]);
        for (int64_t i = 1; i < n; ++i) {
            const float bx = map.X(xs[i]), by = map.Y(ys[i]);
            rasterSegmentF(buf, ax, ay, bx, by, argb);
            ax = bx, ay = by;
        }
        return;
    }
    int64_t i = 0;
    while (i < n) {
        const float X = map.X(xs[i]), Y = map.Y(ys[i]);
        if (i > 0) {
            // The segment into this point from a point that was not near the picture.
            rasterSegmentF(buf, map.X(xs[i - 1]), map.Y(ys[i - 1]), X, Y, argb);
        }
        if (!(isNearPixel(X) && isNearPixel(Y))) {
            ++i;
            continue;
        }
        i = drawNearStretch(buf, xs, ys, i, n, map, argb);
        if (i < n) rasterSegmentF(buf, map.X(xs[i - 1]), map.Y(ys[i - 1]), map.X(xs[i]), map.Y(ys[i]), argb);
        if (i < n) ++i;  // the far point's outgoing segment is drawn at the top of the loop
    }
}

}  // namespace graphane
