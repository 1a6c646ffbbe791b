// rasterline.h - solid one-pixel lines written straight into a 32-bit pixel buffer.
//
// A segment from (x1, y1) to (x2, y2) covers its start pixel and not its end pixel, in the
// direction it is drawn (QPainter instead normalises the direction and covers the upper-left
// end, draws a zero-length line as a dot, and on an exact half-way tie may step to the other
// neighbour; so the chart draws its solid thin lines here).
// Pixel positions given as floats are rounded to whole pixels, halves to the even neighbour.
//
// drawPolyline gives exactly the pixels of drawing its segments one by one, but merges the
// points that fall into one pixel column into one vertical span. A point followed by a later
// different point is covered (it starts the next segment that moves), and inside a column the
// chained vertical segments cover everything between their points, so a column's run of such
// points covers exactly the span from its lowest to its highest point; the segments that
// leave a column are drawn as ordinary segments. Only the last point of the line (and of a
// stretch ended by a point that is not finite or lies far out) may be uncovered; that end is
// worked out segment by segment. Tests compare both ways pixel by pixel.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace graphane {

struct PixelBuffer {
    uint32_t *bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;  // pixels per row

    bool inside(int x, int y) const {
        return unsigned(x) < unsigned(width) && unsigned(y) < unsigned(height);
    }
    void set(int x, int y, uint32_t argb) const { bits[y * stride + x] = argb; }
};

// Pixel coordinates farther out than this are clipped (in floating point) before rounding.
constexpr float kCoordLimit = float(1 << 20);

inline bool isNearPixel(float v) {
    return std::fabs(v) <= kCoordLimit;
}  // false for NaN too
// Nearest whole pixel, halves to even (the processor's default rounding).
inline int toPixel(float v) {
#if defined(__SSE__) || defined(__x86_64__)
    return _mm_cvtss_si32(_mm_set_ss(v));
#else
    return int(std::lrintf(v));
#endif
}

// Segment between whole pixels; nothing for a zero-length segment.
void rasterSegment(const PixelBuffer &buf, int x1, int y1, int x2, int y2, uint32_t argb);
// Segment between float pixel positions; not drawn when an end is not a finite number.
void rasterSegmentF(const PixelBuffer &buf, float x1, float y1, float x2, float y2, uint32_t argb);
// The pixels (x, ya)..(x, yb), both included, clipped to the buffer.
void rasterColumn(const PixelBuffer &buf, int x, int ya, int yb, uint32_t argb);

// Data to pixel: X = x1 + (x - xmin) * kx, Y = y2 - (y - ymin) * ky.
struct PointMapping {
    float x1 = 0, y2 = 0, kx = 1, ky = -1, xmin = 0, ymin = 0;
    float X(float x) const { return x1 + (x - xmin) * kx; }
    float Y(float y) const { return y2 - (y - ymin) * ky; }
};

// Draws the segments P0->P1->...->P(n-1) of the mapped points. With merge the points of one
// pixel column are merged into one span (same pixels, much faster for dense data); without
// it every segment is drawn on its own.
void drawPolyline(const PixelBuffer &buf, const float *xs, const float *ys, int64_t n,
                  const PointMapping &map, uint32_t argb, bool merge);

}  // namespace graphane
