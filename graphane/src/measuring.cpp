#include "measuring.h"

#include <cmath>

#include "numberformat.h"

namespace graphane {

QRectF Overlay::bounds() const {
    QRectF r;
    auto add = [&r](const QRectF &x) { r = r.isNull() ? x : r.united(x); };
    if (crossVisible) {
        add(QRectF(crossH.p1(), crossH.p2()).normalized().adjusted(-1, -1, 1, 1));
        add(QRectF(crossV.p1(), crossV.p2()).normalized().adjusted(-1, -1, 1, 1));
    }
    if (rectVisible) add(rect.adjusted(-1, -1, 1, 1));
    if (readoutVisible) add(readoutBox.adjusted(-1, -1, 1, 1));
    return r;
}

std::optional<QPointF> pixelToValue(const ChartModel &m, const ChartArea &a, float px, float py) {
    if (!a.valid) return std::nullopt;
    const float xv = m.xmin + (m.xmax - m.xmin) / (a.x2 - a.x1) * (px - a.x1);
    const float yv = m.ymin + (m.ymax - m.ymin) / (a.y2 - a.y1) * (a.y2 - py);
    return QPointF(xv, yv);
}

std::optional<QSizeF> extentToValue(const ChartModel &m, const ChartArea &a, float w, float h) {
    if (!a.valid) return std::nullopt;
    const float wv = (m.xmax - m.xmin) / (a.x2 - a.x1) * w;
    const float hv = (m.ymax - m.ymin) / (a.y2 - a.y1) * h;
    return QSizeF(wv, hv);
}

namespace {

QString valueLine(const char *a, float va, const char *b, float vb) {
    return QString::fromLatin1(a) + QString::fromStdString(readoutFormat(va)) + QString::fromLatin1(b) +
           QString::fromStdString(readoutFormat(vb));
}

}  // namespace

bool Measuring::press(ChartModel &m, const ChartArea &a, int button, float x, float y, const BoxSize &box) {
    if (button != 1 || !a.valid || x < a.x1 || x > a.x2 || y < a.y1 || y > a.y2) return false;
    o_.crossH = QLineF(a.x1, y, a.x2, y);
    o_.crossV = QLineF(x, a.y1, x, a.y2);
    o_.rect = QRectF(x, y, 0, 0);
    o_.rectVisible = false;
    const QPointF v = *pixelToValue(m, a, x, y);
    o_.readout =
        valueLine("x=", float(v.x()), ",y=", float(v.y())) + QChar(10) + QStringLiteral("w=0.0,h=0.0");
    const QSizeF size = box(o_.readout);
    const double left = size.width() + x + 5 >= a.x2 ? x - 3 - size.width() : x + 3;
    const double top = 2 * size.height() + y + 5 >= a.y2 ? y - 5 - size.height() : y + 3;
    o_.readoutBox = QRectF(QPointF(left, top), size);
    o_.crossVisible = true;
    o_.readoutVisible = true;
    m.anchorX = x;
    m.anchorY = y;
    return true;
}

bool Measuring::move(const ChartModel &m, const ChartArea &a, int button, float x, float y,
                     const BoxSize &box) {
    if (button != 1 || !o_.crossVisible) return false;
    const float x0 = m.anchorX, y0 = m.anchorY;
    const float w = std::fabs(x - x0) + 1, h = std::fabs(y - y0) + 1;
    const float left = x >= x0 ? x0 : x;
    const float top = y >= y0 ? y0 : y;
    o_.rect = QRectF(left, top, w, h);
    o_.rectVisible = true;
    const auto v = pixelToValue(m, a, x0, y0);
    const auto e = extentToValue(m, a, w, h);
    if (v && e) {
        o_.readout = valueLine("x=", float(v->x()), ",y=", float(v->y())) + QChar(10) +
                     valueLine("w=", float(e->width()), ",h=", float(e->height()));
        o_.readoutBox.setSize(box(o_.readout));
    }
    return true;
}

std::optional<Measurement> Measuring::release(const ChartModel &m, const ChartArea &a, int button) {
    std::optional<Measurement> result;
    if (button == 1 && o_.rectVisible) {
        const auto sx = float(o_.rect.left()), sy = float(o_.rect.top());
        const auto sw = float(o_.rect.width()), sh = float(o_.rect.height());
        const auto v = pixelToValue(m, a, sx, sy);
        const auto e = extentToValue(m, a, sw, sh);
        if (v && e)
            result = Measurement{
                sx, sy, sw, sh, float(v->x()), float(v->y()), float(e->width()), float(e->height())};
    }
    o_.crossVisible = o_.rectVisible = o_.readoutVisible = false;
    return result;
}

}  // namespace graphane
