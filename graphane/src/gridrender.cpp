// Frame, axis titles, grid modes with tick labels, and the logarithmic grids.
#include <algorithm>
#include <cmath>

#include "automation/errors.h"
#include "numberformat.h"
#include "renderer.h"

namespace graphane {

namespace err = automation::err;

namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0;
constexpr double kDecadeFractions[8] = {0.301, 0.4771, 0.6021, 0.699, 0.7782, 0.8451, 0.9031, 0.9542};

QString qs(const std::string &s) {
    return QString::fromStdString(s);
}

}  // namespace

void ChartRenderer::label(const QString &text, float x, float y) {
    s_.currentX = x, s_.currentY = y;
    s_.print(text);
}

void ChartRenderer::drawFrame() {
    const ChartArea a = chartAreaOf(m_, s_.size());
    if (!a.valid) return;
    const float L = a.x1 - 2, T = a.y1 - 2, R = a.x2 + 2, B = a.y2 + 2;
    switch (m_.borderStyle) {
        case 3:
            s_.line(L, T, R, T, m_.borderColor);
            s_.lineTo(R, B, m_.borderColor);
            s_.lineTo(L, B, m_.borderColor);
            s_.lineTo(L, T, m_.borderColor);
            break;
        case 2:
            s_.box(L - 2, T - 2, R, B, kWhite, false);
            s_.box(L - 1, T - 1, R + 1, B + 1, kBlack, false);
            break;
        case 1:
            s_.box(L - 2, T - 2, R, B, kBlack, false);
            s_.box(L - 1, T - 1, R + 1, B + 1, kWhite, false);
            break;
        default: break;
    }
}

void ChartRenderer::drawTitles() {
    const ChartArea a = chartAreaOf(m_, s_.size());
    if (!a.valid) return;
    const double remembered = std::max(1.0, roundHalfEven(s_.fontSize()));
    s_.setFontSize(10);
    s_.setForeColor(m_.borderColor);
    if (!m_.titleX.empty()) {
        const QString t = qs(m_.titleX);
        label(t, a.x2 - float(s_.textWidth(t)), a.y2 + 20);
    }
    if (!m_.titleY.empty()) {
        const QString t = qs(m_.titleY);
        label(t, a.x1, a.y1 - float(s_.textHeight(t)) - 4);
    }
    s_.setFontSize(remembered);
}

void ChartRenderer::drawGrid() {
    const ChartArea a = chartAreaOf(m_, s_.size());
    if (!a.valid) return;
    switch (m_.gridSel) {
        case 1: gridEqual(a); break;
        case 2: gridValues(a); break;
        case 3: gridMetric(a, 10); break;
        case 4: gridMetric(a, 5); break;
        case 5: gridMillimetre(a); break;
        default: break;
    }
}

void ChartRenderer::gridEqual(const ChartArea &a) {
    s_.setDrawStyle(PenDot);
    s_.setDrawWidth(1);
    s_.setForeColor(m_.borderColor);
    const bool edges = m_.borderStyle == 0;
    if (m_.nGridx >= 2) {
        const int last = m_.nGridx - 1;
        for (int k = 0; k <= last; ++k) {
            const float X = a.x1 + (a.x2 - a.x1) / float(last) * float(k);
            if ((k > 0 && k < last) || edges) s_.line(X, a.y1, X, a.y2, m_.gridColor);
            const float v = m_.xmin + (m_.xmax - m_.xmin) / float(last) * float(k);
            const QString t = qs(generalFormat(v));
            label(t, X - float(s_.textWidth(t)) / 2, a.y2 + 3);
        }
    }
    if (m_.nGridy >= 2) {
        const int last = m_.nGridy - 1;
        for (int k = 0; k <= last; ++k) {
            const float Y = a.y2 - (a.y2 - a.y1) / float(last) * float(k);
            if ((k > 0 && k < last) || edges) s_.line(a.x1, Y, a.x2, Y, m_.gridColor);
            const float v = m_.ymin + (m_.ymax - m_.ymin) / float(last) * float(k);
            const QString t = qs(generalFormat(v));
            label(t, a.x1 - float(s_.textWidth(t)) - 4, Y - float(s_.textHeight(t)) / 2);
        }
    }
    s_.setDrawStyle(PenSolid);
    s_.setDrawWidth(1);
}

void ChartRenderer::gridValues(const ChartArea &a) {
    s_.setDrawStyle(PenDot);
    s_.setDrawWidth(1);
    s_.setForeColor(m_.borderColor);
    const bool edges = m_.borderStyle == 0;
    for (int k = 0; k < m_.nGridx; ++k) {
        if (k >= kGridValueCount) automation::raise(err::SubscriptOutOfRange);
        if (m_.xmax == m_.xmin) automation::raise(err::DivisionByZero);
        const float value = m_.gridX[size_t(k)];
        const float X = a.x1 + (value - m_.xmin) / (m_.xmax - m_.xmin) * (a.x2 - a.x1);
        if ((a.x1 < X && X < a.x2) || ((X == a.x1 || X == a.x2) && edges))
            s_.line(X, a.y1, X, a.y2, m_.gridColor);
        if (a.x1 <= X && X <= a.x2) {
            const QString t = qs(generalFormat(value));
            label(t, X - float(s_.textWidth(t)) / 2, a.y2 + 3);
        }
    }
    for (int k = 0; k < m_.nGridy; ++k) {
        if (k >= kGridValueCount) automation::raise(err::SubscriptOutOfRange);
        if (m_.ymax == m_.ymin) automation::raise(err::DivisionByZero);
        const float value = m_.gridY[size_t(k)];
        const float Y = a.y2 - (a.y2 - a.y1) / (m_.ymax - m_.ymin) * (value - m_.ymin);
        if ((a.y1 < Y && Y < a.y2) || ((Y == a.y1 || Y == a.y2) && edges))
            s_.line(a.x1, Y, a.x2, Y, m_.gridColor);
        if (a.y1 <= Y && Y <= a.y2) {
            const QString t = qs(generalFormat(value));
            label(t, a.x1 - float(s_.textWidth(t)) - 4, Y - float(s_.textHeight(t)) / 2);
        }
    }
    s_.setDrawStyle(PenSolid);
    s_.setDrawWidth(1);
}

// The whole steps k >= 0 of origin + k*step (or origin - k*step) that fall inside
// limit..edge and near the surface; steps far outside the picture are skipped.
ChartRenderer::Steps ChartRenderer::stepsForward(double origin, double step, double end, double size) {
    const double lo = std::max(0.0, std::ceil((-2.0 - origin) / step));
    const double hi = std::floor((std::min(end, size + 2.0) - origin) / step);
    return {int64_t(std::min(lo, 1e9)), int64_t(std::clamp(hi, -1.0, 1e9))};
}

ChartRenderer::Steps ChartRenderer::stepsBackward(double origin, double step, double end, double size) {
    const double lo = std::max(0.0, std::ceil((origin - (size + 2.0)) / step));
    const double hi = std::floor((origin - std::max(end, -2.0)) / step);
    return {int64_t(std::min(lo, 1e9)), int64_t(std::clamp(hi, -1.0, 1e9))};
}

void ChartRenderer::gridMetric(const ChartArea &a, double millimetres) {
    const double sx = screenDpiX() * millimetres / 25.4;
    const double sy = screenDpiY() * millimetres / 25.4;
    s_.setDrawStyle(PenDot);
    s_.setDrawWidth(1);
    const bool edges = m_.borderStyle == 0;
    const Steps cols = stepsForward(a.x1, sx, a.x2, s_.width());
    for (int64_t c = cols.first; c <= cols.last; ++c) {
        const float X = float(a.x1 + double(c) * sx);
        if ((X != a.x1 && X != a.x2) || edges) s_.line(X, a.y1, X, a.y2, m_.gridColor);
    }
    const Steps rows = stepsBackward(a.y2, sy, a.y1, s_.height());
    for (int64_t r = rows.first; r <= rows.last; ++r) {
        const float Y = float(a.y2 - double(r) * sy);
        if ((Y != a.y1 && Y != a.y2) || edges) s_.line(a.x1, Y, a.x2, Y, m_.gridColor);
    }
    s_.setDrawStyle(PenSolid);
}

void ChartRenderer::gridMillimetre(const ChartArea &a) {
    const double sx = screenDpiX() / 25.4;
    const double sy = screenDpiY() / 25.4;
    s_.setDrawWidth(1);
    s_.setDrawStyle(PenSolid);
    const Steps cols = stepsForward(a.x1, sx, a.x2, s_.width());
    const Steps rows = stepsBackward(a.y2, sy, a.y1, s_.height());
    // The 5-mm verticals belong to row 1; keep them when that row lies below the picture.
    if (rows.first > 1 && a.y2 - sy >= a.y1)
        for (int64_t c = cols.first - cols.first % 5; c <= cols.last; c += 5)
            if (c >= cols.first)
                s_.line(float(a.x1 + double(c) * sx), a.y1, float(a.x1 + double(c) * sx), a.y2, m_.gridColor);
    for (int64_t r = rows.first; r <= rows.last; ++r) {
        const float Y = float(a.y2 - double(r) * sy);
        if (r % 5 == 0) {
            s_.line(a.x1, Y, a.x2, Y, m_.gridColor);
            continue;
        }
        for (int64_t c = cols.first; c <= cols.last; ++c) {
            const float X = float(a.x1 + double(c) * sx);
            if (c % 5 == 0 && r == 1)
                s_.line(X, a.y1, X, a.y2, m_.gridColor);
            else
                s_.dot(X, Y, m_.gridColor);
        }
    }
}

void ChartRenderer::plotGridLog(bool yAxis, float x1, float y1, float x2, float y2, double vMin, double vMax,
                                bool fine) {
    // Infinite or NaN bounds have no decades to draw (and would loop about 2^31 times).
    if (!(vMin > 0) || !(vMax > 0) || !std::isfinite(vMin) || !std::isfinite(vMax))
        automation::raise(err::InvalidCall);
    Surface::Batch batch(s_);
    int dMin = int(roundHalfEven(std::log(vMin) / std::log(10.0)));
    int dMax = int(roundHalfEven(std::log(vMax) / std::log(10.0)));
    if (dMin == dMax) --dMin, ++dMax;
    s_.setDrawStyle(PenSolid);
    s_.setDrawWidth(1);
    s_.setForeColor(m_.borderColor);
    const bool edges = m_.borderStyle == 0;
    const double step = yAxis ? (double(y2) - y1) / (dMax - dMin) : (double(x2) - x1) / (dMax - dMin);
    for (int i = dMin; i <= dMax; ++i) {
        const double pos = yAxis ? y2 - step * (i - dMin) : x1 + step * (i - dMin);
        if ((i > dMin && i < dMax) || edges) {
            s_.setDrawStyle(PenSolid);
            if (yAxis)
                s_.line(x1, float(pos), x2, float(pos), m_.gridColor);
            else
                s_.line(float(pos), y1, float(pos), y2, m_.gridColor);
        }
        // Labels below 1 read 0.1, 0.01, ...; a value written in exponent form keeps its text.
        const double t = std::pow(10.0, i);
        QString text = qs(generalFormat(t));
        if (t < 1 && text.startsWith('.')) text.prepend('0');
        if (yAxis)
            label(text, x1 - float(s_.textWidth(text)) - 4, float(pos) - float(s_.textHeight(text)) / 2);
        else
            label(text, float(pos) - float(s_.textWidth(text)) / 2, y2 + 3);
        if (i >= dMax) continue;
        for (double f : kDecadeFractions) {
            const double sub = yAxis ? pos - step * f : pos + step * f;
            if (yAxis ? !(sub > y1) : !(sub < x2)) continue;
            s_.setDrawStyle(fine ? PenDot : PenSolid);
            if (yAxis) {
                if (fine)
                    s_.line(x1, float(sub), x2, float(sub), m_.gridColor);
                else
                    s_.line(x1, float(sub), x1 + 8, float(sub), m_.gridColor);
            } else {
                if (fine)
                    s_.line(float(sub), y1, float(sub), y2, m_.gridColor);
                else
                    s_.line(float(sub), y2, float(sub), y2 - 8, m_.gridColor);
            }
        }
    }
    s_.setDrawStyle(PenSolid);
}

}  // namespace graphane
