#include "renderer.h"

#include <algorithm>
#include <cmath>

#include "automation/errors.h"
#include "numberformat.h"

namespace graphane {

namespace err = automation::err;

namespace {

constexpr int32_t kFaceColor = 0xC0C0C0;

// Remembers the pen and current point and puts them back when it goes out of scope.
class PenKeeper {
  public:
    explicit PenKeeper(Surface &s)
        : s_(s), width_(s.drawWidth()), style_(s.drawStyle()), x_(s.currentX), y_(s.currentY) {}
    ~PenKeeper() {
        s_.setDrawWidth(width_);
        s_.setDrawStyle(style_);
        s_.currentX = x_, s_.currentY = y_;
    }
    PenKeeper(const PenKeeper &) = delete;
    PenKeeper &operator=(const PenKeeper &) = delete;

  private:
    Surface &s_;
    int16_t width_, style_;
    float x_, y_;
};

}  // namespace

int roundPixelOf(double v) {
    if (std::isnan(v)) return -1000000000;  // never an undefined conversion
    return int(roundHalfEven(std::clamp(v, -1e9, 1e9)));
}

ChartArea chartAreaOf(const ChartModel &model, QSize size) {
    ChartArea a;
    a.x1 = model.marginLeft;
    a.y1 = model.marginTop;
    const float w = float(size.width()) - a.x1 - model.marginRight;
    const float h = float(size.height()) - a.y1 - model.marginBottom;
    a.x2 = a.x1 + w;
    a.y2 = a.y1 + h;
    a.valid = w > 0 && h > 0;
    return a;
}

ChartRenderer::Mapping ChartRenderer::mapping(const ChartArea &a) const {
    if (m_.xmax == m_.xmin || m_.ymax == m_.ymin) automation::raise(err::DivisionByZero);
    Mapping map;
    map.x1 = a.x1;
    map.y2 = a.y2;
    map.xmin = m_.xmin;
    map.ymin = m_.ymin;
    map.kx = (a.x2 - a.x1) / (m_.xmax - m_.xmin);
    map.ky = (a.y2 - a.y1) / (m_.ymax - m_.ymin);
    return map;
}

void ChartRenderer::plot(bool keepBackground) {
    Surface::Batch batch(s_);
    if (!keepBackground) s_.clear();
    if (m_.seriesCount() <= 0) return;
    for (int i = 0; i < m_.seriesCount(); ++i)
        if (m_.slot(i).visible) drawSeries(i);
    drawFrame();
    drawTitles();
    drawGrid();
}

void ChartRenderer::drawSeries(int index) {
    const SeriesSlot &s = m_.slot(index);
    const ChartArea a = chartAreaOf(m_, s_.size());
    if (!a.valid) return;
    const Mapping map = mapping(a);
    const int64_t stored = int64_t(std::min(s.x.size(), s.y.size()));
    // A slot whose arrays were cut keeps its old count: the points that exist are drawn,
    // then the missing ones are reported as out of range.
    const auto n = int32_t(std::min<int64_t>(s.nPoints, stored));
    if (n > 0) {
        Surface::Batch batch(s_);
        const float X0 = map.X(s.x[0]), Y0 = map.Y(s.y[0]);
        if (drawSeriesDense(s, a, map, n)) {
            s_.setDrawWidth(1);
            s_.setDrawStyle(PenSolid);
            if (s.nPoints > stored) automation::raise(err::SubscriptOutOfRange);
            return;
        }
        switch (s.lineStyle) {
            case 1:
            case 2:
            case 3:
                s_.setDrawStyle(s.lineStyle == 1 ? PenSolid : s.lineStyle == 2 ? PenDashDot : PenDashDotDot);
                s_.setDrawWidth(std::max<int16_t>(s.lineWidth, 1));
                s_.currentX = X0, s_.currentY = Y0;
                drawLines(s, map, n);
                break;
            case 4:
                drawBar(s, a, X0, Y0);
                drawMarker(s, X0, Y0);
                for (int32_t i = 0; i < n; ++i) {
                    const float X = map.X(s.x[size_t(i)]), Y = map.Y(s.y[size_t(i)]);
                    drawBar(s, a, X, Y);
                    drawMarker(s, X, Y);
                }
                break;
            case 5: draw3DBars(s, a, n); return;
            case 6: drawScatter(s, map, n); return;
            default:
                drawMarker(s, X0, Y0);
                for (int32_t i = 0; i < n; ++i) drawMarker(s, map.X(s.x[size_t(i)]), map.Y(s.y[size_t(i)]));
                break;
        }
        s_.setDrawWidth(1);
        s_.setDrawStyle(PenSolid);
    }
    if (s.nPoints > stored) automation::raise(err::SubscriptOutOfRange);
}

void ChartRenderer::drawLines(const SeriesSlot &s, const Mapping &map, int32_t n) {
    const float *xs = s.x.data();
    const float *ys = s.y.data();
    if (!hasMarker(s.dotStyle)) {
        if (s_.thinSolidPen()) {
            drawPolyline(s_.pixels(), xs, ys, n, map, toArgb(s.lineColor), merge_);
            s_.currentX = map.X(xs[n - 1]), s_.currentY = map.Y(ys[n - 1]);
            return;
        }
        std::vector<QPointF> points(static_cast<size_t>(n));
        for (int32_t i = 0; i < n; ++i) points[size_t(i)] = QPointF(map.X(xs[i]), map.Y(ys[i]));
        s_.polyline(points, s.lineColor);
        return;
    }
    // With markers every segment is followed by the marker of its end point.
    drawMarker(s, s_.currentX, s_.currentY);
    for (int32_t i = 0; i < n; ++i) {
        const float X = map.X(xs[i]), Y = map.Y(ys[i]);
        s_.lineTo(X, Y, s.lineColor);
        drawMarker(s, X, Y);
    }
}

void ChartRenderer::drawBar(const SeriesSlot &s, const ChartArea &a, float X, float Y) {
    if (s.lineWidth < 2) {
        s_.line(X, a.y2, X, Y, s.lineColor);
        return;
    }
    const int c0 = roundPixelOf(double(X) - s.lineWidth / 2.0);
    for (int c = c0; c <= c0 + s.lineWidth - 1; ++c) s_.line(float(c), a.y2, float(c), Y, s.lineColor);
}

void ChartRenderer::drawMarker(const SeriesSlot &s, float X, float Y) {
    if (!hasMarker(s.dotStyle)) return;
    PenKeeper keep(s_);
    s_.setDrawWidth(1);
    s_.setDrawStyle(PenSolid);
    const int32_t c = s.dotColor;
    switch (s.dotStyle) {
        case 1:
            s_.line(X - 3, Y, X + 4, Y, c);
            s_.line(X, Y - 3, X, Y + 4, c);
            break;
        case 2: s_.ellipse(X, Y, 3, 1, c); break;
        case 3:
            s_.line(X - 3, Y - 3, X + 3, Y - 3, c);
            s_.lineTo(X + 3, Y + 3, c);
            s_.lineTo(X - 3, Y + 3, c);
            s_.lineTo(X - 3, Y - 3, c);
            break;
        case 4:
            s_.line(X - 3, Y - 3, X + 4, Y + 4, c);
            s_.line(X + 3, Y - 3, X - 4, Y + 4, c);
            break;
        case 5:
            s_.line(X, Y - 3, X - 3, Y + 3, c);
            s_.lineTo(X + 3, Y + 3, c);
            s_.lineTo(X, Y - 3, c);
            break;
        default: break;
    }
}

void ChartRenderer::draw3DBars(const SeriesSlot &s, const ChartArea &ar, int32_t n) {
    if (m_.xmax == m_.xmin || m_.ymax == m_.ymin) automation::raise(err::DivisionByZero);
    for (int32_t t = 0; t < n; ++t) draw3DBar(s, ar, t);
}

void ChartRenderer::draw3DBar(const SeriesSlot &s, const ChartArea &ar, int32_t t) {
    const int a = roundPixelOf(ar.x1), b = roundPixelOf(ar.y1);
    const int c = roundPixelOf(double(ar.x2) - ar.x1 + 1), d = roundPixelOf(double(ar.y2) - ar.y1 - 5);
    s_.setDrawWidth(1);
    const int base = b + d;
    const double fx = (double(s.x[size_t(t)]) - m_.xmin) / (double(m_.xmax) - m_.xmin);
    const double fy = (double(s.y[size_t(t)]) - m_.ymin) / (double(m_.ymax) - m_.ymin);
    // A point without a finite place (NaN, or an infinite axis range) draws no bar.
    if (!std::isfinite(fx * c) || !std::isfinite(fy * d)) return;
    const int px = roundPixelOf(fx * c + a + 8);
    const int py = roundPixelOf(base - fy * d);
    const int r = roundPixelOf(px + 2.5);
    fillPolygon({{r, py}, {r, base}, {r - 8, base + 8}, {r - 8, py + 8}}, kFaceColor, s.lineColor);
    fillPolygon({{r, py}, {r - 5, py}, {r - 13, py + 8}, {r - 8, py + 8}}, kFaceColor, s.lineColor);
    fillPolygon({{r - 8, py + 8}, {r - 13, py + 8}, {r - 13, base + 8}, {r - 8, base + 8}}, kFaceColor,
                s.lineColor);
}

void ChartRenderer::drawScatter(const SeriesSlot &s, const Mapping &map, int32_t n) {
    const int16_t width = s_.drawWidth();
    s_.setDrawWidth(std::max<int16_t>(s.lineWidth, 1));
    for (int32_t i = 0; i < n; ++i) s_.dot(map.X(s.x[size_t(i)]), map.Y(s.y[size_t(i)]), s.lineColor);
    s_.setDrawWidth(width);
}

void ChartRenderer::fillPolygon(const std::vector<QPoint> &v, int32_t fillColor, int32_t outlineColor) {
    if (v.empty()) return;
    int minX = v[0].x(), maxX = minX, minY = v[0].y(), maxY = minY;
    for (const QPoint &p : v) {
        minX = std::min(minX, p.x()), maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y()), maxY = std::max(maxY, p.y());
    }
    // Vertices far off the picture could make the box overflow an int: such a polygon is only
    // outlined (the outline is clipped to the picture).
    const int64_t W64 = int64_t(maxX) - minX + 1, H64 = int64_t(maxY) - minY + 1;
    const int W = int(std::min<int64_t>(W64, 1 << 26)), H = int(std::min<int64_t>(H64, 1 << 26));
    if (fillColor != -1 && W64 * H64 <= (int64_t(1) << 26)) {
        std::vector<uint8_t> mask(size_t(W) * size_t(H), 0);
        auto mark = [&](int x, int y) {
            if (x >= 0 && x < W && y >= 0 && y < H) mask[size_t(y) * size_t(W) + size_t(x)] = 1;
        };
        for (size_t k = 0; k < v.size(); ++k) {
            const QPoint from = v[(k + v.size() - 1) % v.size()] - QPoint(minX, minY);
            const QPoint to = v[k] - QPoint(minX, minY);
            const int x0 = from.x(), y0 = from.y(), x1 = to.x(), y1 = to.y();
            if (x0 == x1) {
                for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) mark(x0, y);
            } else if (y0 == y1) {
                for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) mark(x, y0);
            } else {
                const double slope = double(y1 - y0) / double(x1 - x0);
                if (std::fabs(slope) > 1) {
                    const int step = y1 > y0 ? 1 : -1;
                    for (int y = y0;; y += step) {
                        mark(int(std::trunc(x0 + (y - y0) / slope)), y);
                        if (y == y1) break;
                    }
                } else {
                    const int step = x1 > x0 ? 1 : -1;
                    for (int x = x0;; x += step) {
                        mark(x, int(std::trunc(y0 + slope * (x - x0))));
                        if (x == x1) break;
                    }
                }
            }
        }
        for (int row = 0; row < H; ++row) {
            int start = -1;
            for (int col = 0; col < W; ++col) {
                if (!mask[size_t(row) * size_t(W) + size_t(col)]) continue;
                if (start < 0) {
                    start = col;
                } else if (col - start > 1) {
                    s_.line(float(start + minX), float(row + minY), float(col + minX), float(row + minY),
                            fillColor);
                    start = -1;
                }
            }
        }
    }
    s_.currentX = float(v.back().x()), s_.currentY = float(v.back().y());
    for (const QPoint &p : v) s_.lineTo(float(p.x()), float(p.y()), outlineColor);
}

}  // namespace graphane
