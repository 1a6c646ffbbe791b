// Dense series: when a series has more points than its area has pixel columns, every style
// draws per pixel instead of per point, as the thin-line path does, so that a million points
// cost about as much in every style.
//  - Markers and scatter dots: a marker's pixels depend only on the whole pixel it sits on, so
//    it is drawn once per pixel (a stamp taken from the real marker drawing), never twice.
//  - Bars: the bars of one pixel column merge into one span from the base to the farthest value.
//  - 3-D bars: a bar hidden entirely by a later bar of the same position (one at least 8
//    pixels taller, or the same) is skipped; the others are drawn in order.
//  - Wide or styled lines: the points of one pixel column are reduced to its first, lowest,
//    highest and last point, which trace the same path.
// Where bars or lines and markers of one dense series overlap, the markers come out on top.
#include <algorithm>
#include <cmath>

#include "renderer.h"

namespace graphane {

namespace {

// One bit per pixel of the picture: which pixels already hold this series' marker.
class PixelSet {
  public:
    PixelSet(int width, int height)
        : width_(width), height_(height), bits_((size_t(width) * size_t(height) + 63) / 64, 0) {}
    // True the first time a pixel inside the picture is offered; false for a repeat or outside.
    bool insert(int x, int y) {
        if (unsigned(x) >= unsigned(width_) || unsigned(y) >= unsigned(height_)) return false;
        const size_t bit = size_t(y) * size_t(width_) + size_t(x);
        uint64_t &word = bits_[bit / 64];
        const uint64_t mask = uint64_t(1) << (bit % 64);
        if (word & mask) return false;
        word |= mask;
        return true;
    }

  private:
    int width_, height_;
    std::vector<uint64_t> bits_;
};

int pixelOf(float v) {
    if (!isNearPixel(v)) return v > 0 ? int(kCoordLimit) : -int(kCoordLimit);  // NaN goes far left/up
    return toPixel(v);
}

}  // namespace

std::vector<ChartRenderer::StampPixel> ChartRenderer::markerStamp(const SeriesSlot &s) const {
    // Draw the marker twice on scratch pictures of two backgrounds, with this surface's fill:
    // the pixels that come out the same in both are the marker's.
    constexpr int kSize = 32, kAt = 16;
    auto render = [&](int32_t back) {
        Surface scratch(QSize(kSize, kSize), back);
        scratch.setFillStyle(s_.fillStyle());
        scratch.setFillColor(s_.fillColor());
        ChartRenderer(m_, scratch).drawMarker(s, float(kAt), float(kAt));
        return scratch.image().copy();
    };
    const QImage black = render(0x000000), white = render(0xFFFFFF);
    std::vector<StampPixel> stamp;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (black.pixel(x, y) == white.pixel(x, y))
                stamp.push_back({x - kAt, y - kAt, uint32_t(black.pixel(x, y))});
    return stamp;
}

void ChartRenderer::stampMarkers(const SeriesSlot &s, const Mapping &map, int32_t n) {
    if (!hasMarker(s.dotStyle)) return;
    const std::vector<StampPixel> stamp = markerStamp(s);
    const PixelBuffer buf = s_.pixels();
    // A marker reaches at most 8 pixels from its point: points farther out draw nothing.
    constexpr int kReach = 8;
    PixelSet seen(buf.width + 2 * kReach, buf.height + 2 * kReach);
    for (int32_t i = 0; i < n; ++i) {
        const int px = pixelOf(map.X(s.x[size_t(i)])), py = pixelOf(map.Y(s.y[size_t(i)]));
        if (!seen.insert(px + kReach, py + kReach)) continue;
        for (const StampPixel &d : stamp)
            if (buf.inside(px + d.dx, py + d.dy)) buf.set(px + d.dx, py + d.dy, d.argb);
    }
}

void ChartRenderer::scatterDense(const SeriesSlot &s, const Mapping &map, int32_t n) {
    const int16_t width = s_.drawWidth();
    s_.setDrawWidth(std::max<int16_t>(s.lineWidth, 1));
    const PixelBuffer buf = s_.pixels();
    const int reach = s_.drawWidth() + 1;
    PixelSet seen(buf.width + 2 * reach, buf.height + 2 * reach);
    for (int32_t i = 0; i < n; ++i) {
        const float X = map.X(s.x[size_t(i)]), Y = map.Y(s.y[size_t(i)]);
        if (!std::isfinite(X) || !std::isfinite(Y)) continue;
        if (!seen.insert(pixelOf(X) + reach, pixelOf(Y) + reach)) continue;
        s_.dot(X, Y, s.lineColor);
    }
    s_.setDrawWidth(width);
}

void ChartRenderer::barsDense(const SeriesSlot &s, const ChartArea &a, const Mapping &map, int32_t n) {
    // Per pixel column of the bar: the farthest values above and below the base.
    const PixelBuffer buf = s_.pixels();
    const int base = pixelOf(a.y2);
    const int w = std::max<int16_t>(s.lineWidth, 1);
    std::vector<int> top(size_t(buf.width), INT32_MAX), bottom(size_t(buf.width), INT32_MIN);
    for (int32_t i = 0; i < n; ++i) {
        const float X = map.X(s.x[size_t(i)]), Y = map.Y(s.y[size_t(i)]);
        if (!std::isfinite(X) || !std::isfinite(Y)) continue;
        const int py = pixelOf(Y);
        const int c0 = w < 2 ? pixelOf(X) : int(std::nearbyint(std::clamp(double(X) - w / 2.0, -1e9, 1e9)));
        for (int c = std::max(c0, 0); c <= std::min(c0 + w - 1, buf.width - 1); ++c) {
            top[size_t(c)] = std::min(top[size_t(c)], py);
            bottom[size_t(c)] = std::max(bottom[size_t(c)], py);
        }
    }
    // A bar runs from the base to its value, without the value's own pixel (a segment covers its
    // start and not its end); the column's span covers every bar in it.
    const uint32_t argb = toArgb(s.lineColor);
    for (int c = 0; c < buf.width; ++c) {
        if (top[size_t(c)] == INT32_MAX) continue;
        const int up = top[size_t(c)] < base ? top[size_t(c)] + 1 : base;
        const int down = bottom[size_t(c)] > base ? bottom[size_t(c)] - 1 : base;
        rasterColumn(buf, c, std::max(up, -1), std::min(down, buf.height), argb);
    }
}

std::vector<int32_t> ChartRenderer::visible3DBars(const SeriesSlot &s, const ChartArea &ar, int32_t n) const {
    const int a = roundPixelOf(ar.x1), b = roundPixelOf(ar.y1);
    const int c = roundPixelOf(double(ar.x2) - ar.x1 + 1), d = roundPixelOf(double(ar.y2) - ar.y1 - 5);
    const int base = b + d;
    const int width = s_.size().width();
    // Per bar position r (columns r-13 .. r): the smallest top of the later bars and which of the
    // eight tops just below it were seen.
    struct Column {
        int minTop = INT32_MAX;
        uint8_t seen = 0;
    };
    std::vector<Column> columns(size_t(width + 32));
    std::vector<int32_t> kept;
    for (int32_t t = n - 1; t >= 0; --t) {
        const double fx = (double(s.x[size_t(t)]) - m_.xmin) / (double(m_.xmax) - m_.xmin);
        const double fy = (double(s.y[size_t(t)]) - m_.ymin) / (double(m_.ymax) - m_.ymin);
        if (!std::isfinite(fx * c) || !std::isfinite(fy * d)) continue;
        const int px = roundPixelOf(fx * c + a + 8);
        const int r = roundPixelOf(px + 2.5);
        if (r < -16 || r >= width + 16) continue;  // entirely outside the picture
        const int py = roundPixelOf(base - fy * d);
        Column &col = columns[size_t(r + 16)];
        const bool later = col.minTop != INT32_MAX;
        if (later && int64_t(py) >= int64_t(col.minTop) + 8) continue;  // a later, taller bar hides it
        if (later && py >= col.minTop && (col.seen >> (py - col.minTop) & 1)) continue;  // a later equal bar
        kept.push_back(t);
        if (py < col.minTop) {
            const int64_t shift = later ? int64_t(col.minTop) - py : 8;
            col.seen = uint8_t(shift >= 8 ? 1 : (col.seen << shift) | 1);
            col.minTop = py;
        } else {
            col.seen |= uint8_t(1 << (py - col.minTop));
        }
    }
    std::reverse(kept.begin(), kept.end());
    return kept;
}

std::vector<QPointF> ChartRenderer::columnExtremes(const SeriesSlot &s, const Mapping &map, int32_t n) {
    // First, lowest, highest and last point of each run of points in one pixel column, in the
    // order they occur; a point that is not finite stays as a break of the line.
    std::vector<QPointF> out;
    int32_t i = 0;
    while (i < n) {
        const float X = map.X(s.x[size_t(i)]), Y = map.Y(s.y[size_t(i)]);
        if (!std::isfinite(X) || !std::isfinite(Y)) {
            out.emplace_back(X, Y);
            ++i;
            continue;
        }
        const int column = pixelOf(X);
        int32_t first = i, low = i, high = i, last = i;
        float lowY = Y, highY = Y;
        for (++i; i < n; ++i) {
            const float Xi = map.X(s.x[size_t(i)]), Yi = map.Y(s.y[size_t(i)]);
            if (!std::isfinite(Xi) || !std::isfinite(Yi) || pixelOf(Xi) != column) break;
            if (Yi < lowY) lowY = Yi, low = i;
            if (Yi > highY) highY = Yi, high = i;
            last = i;
        }
        int32_t picks[4] = {first, std::min(low, high), std::max(low, high), last};
        for (int k = 0; k < 4; ++k)
            if (k == 0 || picks[k] != picks[k - 1])
                out.emplace_back(map.X(s.x[size_t(picks[k])]), map.Y(s.y[size_t(picks[k])]));
    }
    return out;
}

// A wide solid line through a dense series: per pixel column one filled box over the span the
// line covers there (its points in the column and the step from the previous column), as wide
// and as much taller as the pen. A step across several columns is drawn as a wide segment.
void ChartRenderer::wideSolidDense(const SeriesSlot &s, const Mapping &map, int32_t n) {
    const int w = std::max<int16_t>(s.lineWidth, 1), half = w / 2;
    bool open = false;
    int column = 0;
    float lo = 0, hi = 0, lastX = 0, lastY = 0;
    const PixelBuffer buf = s_.pixels();
    const uint32_t argb = toArgb(s.lineColor);
    auto flush = [&] {
        if (!open) return;
        for (int x = column - half; x < column - half + w; ++x)
            rasterColumn(buf, x, pixelOf(lo) - half, pixelOf(hi) - half + w - 1, argb);
    };
    for (int32_t i = 0; i < n; ++i) {
        const float X = map.X(s.x[size_t(i)]), Y = map.Y(s.y[size_t(i)]);
        if (!std::isfinite(X) || !std::isfinite(Y)) {  // a break of the line
            flush();
            open = false;
            continue;
        }
        const int c = pixelOf(X);
        if (open && c == column) {
            lo = std::min(lo, Y), hi = std::max(hi, Y), lastX = X, lastY = Y;
            continue;
        }
        flush();
        lo = hi = Y;
        if (open && std::abs(int64_t(c) - column) <= 1) {
            lo = std::min(lo, lastY), hi = std::max(hi, lastY);
        } else if (open) {
            s_.line(lastX, lastY, X, Y, s.lineColor);
        }
        open = true, column = c, lastX = X, lastY = Y;
    }
    flush();
}

bool ChartRenderer::drawSeriesDense(const SeriesSlot &s, const ChartArea &a, const Mapping &map, int32_t n) {
    // Sparse series, and every series while merging is off (tests compare both), point by point.
    if (!merge_ || int64_t(n) <= 2 * int64_t(std::max(1.0f, a.x2 - a.x1))) return false;
    switch (s.lineStyle) {
        case 1:
        case 2:
        case 3: {
            s_.setDrawStyle(s.lineStyle == 1 ? PenSolid : s.lineStyle == 2 ? PenDashDot : PenDashDotDot);
            s_.setDrawWidth(std::max<int16_t>(s.lineWidth, 1));
            if (s_.thinSolidPen()) {
                drawPolyline(s_.pixels(), s.x.data(), s.y.data(), n, map, toArgb(s.lineColor), merge_);
            } else if (s.lineStyle == 1) {
                wideSolidDense(s, map, n);
            } else {
                s_.polyline(columnExtremes(s, map, n), s.lineColor);
            }
            s_.currentX = map.X(s.x[size_t(n - 1)]), s_.currentY = map.Y(s.y[size_t(n - 1)]);
            stampMarkers(s, map, n);
            break;
        }
        case 4:
            barsDense(s, a, map, n);
            stampMarkers(s, map, n);
            break;
        case 5:
            for (int32_t t : visible3DBars(s, a, n)) draw3DBar(s, a, t);
            return true;
        case 6: scatterDense(s, map, n); return true;
        default: stampMarkers(s, map, n); break;
    }
    s_.setDrawWidth(1);
    s_.setDrawStyle(PenSolid);
    return true;
}

}  // namespace graphane
