#include "surface.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainterPath>
#include <QFileInfo>
#include <QSaveFile>
#include <QScreen>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "automation/errors.h"
#include "fonts.h"

namespace graphane {

namespace err = automation::err;

uint32_t toArgb(int32_t oleColor) {
    const auto c = uint32_t(oleColor);
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

namespace {

QColor qcolor(int32_t oleColor) {
    return QColor::fromRgb(toArgb(oleColor));
}

double screenDpi(bool horizontal) {
    if (!QGuiApplication::instance()) return 96.0;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}

QStringList linesOf(const QString &text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    return t.split(QChar('\n'));
}

// Pixel coordinate of a value; NaN goes far off the picture (never an undefined conversion).
int whole(float v) {
    if (std::isnan(v)) return int(-kCoordLimit);
    return int(std::nearbyint(std::clamp(v, -kCoordLimit, kCoordLimit)));
}

}  // namespace

double screenDpiX() {
    return screenDpi(true);
}
double screenDpiY() {
    return screenDpi(false);
}

Surface::Surface(QSize size, int32_t backColor) : backColor_(backColor) {
    installFontSubstitutions();
    font_ = defaultChartFont();
    fontName_ = font_.family();
    resize(size);
}

Surface::~Surface() = default;

void Surface::resize(QSize size) {
    painter_.reset();
    batchDepth_ = 0;
    image_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    // Text sizes in points follow the device resolution, as they do on the screen.
    image_.setDotsPerMeterX(int(std::lround(screenDpiX() / 0.0254)));
    image_.setDotsPerMeterY(int(std::lround(screenDpiY() / 0.0254)));
    clear();
}

void Surface::setBackColor(int32_t color) {
    backColor_ = color;
    clear();
}

void Surface::setDrawWidth(int16_t width) {
    if (width < 1) automation::raise(err::InvalidPropertyValue);
    drawWidth_ = width;
}

void Surface::setDrawStyle(int16_t style) {
    if (style < 0 || style > 6) automation::raise(err::InvalidPropertyValue);
    drawStyle_ = style;
}

void Surface::setFillStyle(int16_t style) {
    if (style < 0 || style > 7) automation::raise(err::InvalidPropertyValue);
    fillStyle_ = style;
}

void Surface::setFontName(const QString &name) {
    if (!fontFaceKnown(name)) return;
    font_.setFamily(name);
    fontName_ = name;
}

void Surface::setFontSize(double points) {
    if (!(points > 0 && points <= 2160)) automation::raise(err::InvalidPropertyValue);
    font_.setPointSizeF(points);
}

Surface::Batch::Batch(Surface &s) : s_(s) {
    if (s_.batchDepth_++ == 0) {
        s_.image_.bits();  // detach before painting, so the painter and raw writes share one buffer
        s_.painter_ = std::make_unique<QPainter>(&s_.image_);
        s_.painter_->setRenderHint(QPainter::Antialiasing, false);
        s_.painter_->setRenderHint(QPainter::TextAntialiasing, false);
    }
}

Surface::Batch::~Batch() {
    if (--s_.batchDepth_ == 0) s_.painter_.reset();
}

QPainter &Surface::painter() {
    return *painter_;
}

PixelBuffer Surface::pixels() {
    PixelBuffer b;
    b.bits = reinterpret_cast<uint32_t *>(image_.bits());
    b.width = image_.width();
    b.height = image_.height();
    b.stride = image_.bytesPerLine() / 4;
    return b;
}

bool Surface::thinSolidPen() const {
    return drawWidth_ == 1 && (drawStyle_ == PenSolid || drawStyle_ == PenInsideSolid);
}

QPen Surface::pen(int32_t color) const {
    if (drawStyle_ == PenInvisible) return QPen(Qt::NoPen);
    QPen p(qcolor(color));
    if (drawWidth_ > 1) {
        // Wide pens draw every style solid, with round ends.
        p.setWidth(drawWidth_);
        p.setCapStyle(Qt::RoundCap);
        p.setJoinStyle(Qt::RoundJoin);
        return p;
    }
    p.setWidth(1);
    p.setCosmetic(true);
    p.setCapStyle(Qt::FlatCap);
    switch (drawStyle_) {
        case PenDash: p.setDashPattern({18, 6}); break;
        case PenDot: p.setDashPattern({3, 3}); break;
        case PenDashDot: p.setDashPattern({9, 6, 3, 6}); break;
        case PenDashDotDot: p.setDashPattern({9, 3, 3, 3, 3, 3}); break;
        default: break;
    }
    return p;
}

void Surface::clear() {
    // Row by row: a single large fill may bypass the cache, and the series drawn next write
    // the picture column-wise, which is much faster while it is still cached.
    const uint32_t argb = toArgb(backColor_);
    for (int y = 0; y < image_.height(); ++y) {
        auto *row = reinterpret_cast<uint32_t *>(image_.scanLine(y));
        std::fill_n(row, image_.width(), argb);
    }
    currentX = currentY = 0;
}

void Surface::line(float x1, float y1, float x2, float y2, int32_t color) {
    currentX = x2, currentY = y2;
    if (drawStyle_ == PenInvisible) return;
    if (thinSolidPen()) {
        rasterSegmentF(pixels(), x1, y1, x2, y2, toArgb(color));
        return;
    }
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
    Batch b(*this);
    painter().setPen(pen(color));
    painter().drawLine(QPoint(whole(x1), whole(y1)), QPoint(whole(x2), whole(y2)));
}

void Surface::dot(float x, float y, int32_t color) {
    currentX = x, currentY = y;
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    const int px = whole(x), py = whole(y);
    const uint32_t argb = toArgb(color);
    if (drawWidth_ <= 3) {
        // Small dots are squares of the pen width around the point.
        const PixelBuffer buf = pixels();
        const int first = -(drawWidth_ - 1) / 2;
        for (int dy = first; dy < first + drawWidth_; ++dy)
            for (int dx = first; dx < first + drawWidth_; ++dx)
                if (buf.inside(px + dx, py + dy)) buf.set(px + dx, py + dy, argb);
        return;
    }
    Batch b(*this);
    painter().setPen(Qt::NoPen);
    painter().setBrush(QColor::fromRgb(argb));
    const double r = drawWidth_ / 2.0;
    painter().drawEllipse(QRectF(px + 0.5 - r, py + 0.5 - r, drawWidth_, drawWidth_));
    painter().setBrush(Qt::NoBrush);
}

void Surface::polyline(const std::vector<QPointF> &points, int32_t color) {
    if (points.empty()) return;
    currentX = float(points.back().x()), currentY = float(points.back().y());
    if (drawStyle_ == PenInvisible) return;
    Batch b(*this);
    const QPen stroke = pen(color);
    painter().setPen(stroke);
    painter().setBrush(Qt::NoBrush);
    // Qt strokes a wide polyline as one outline, in time that grows much faster than its length
    // (seconds for the few thousand zigzag points of a dense series); a long solid wide run is
    // drawn as separate segments instead, whose square caps close the joints.
    const bool bySegments = stroke.widthF() > 1 && stroke.style() == Qt::SolidLine;
    std::vector<QPoint> run;
    std::vector<QLine> segments;
    auto flush = [&] {
        if (bySegments && run.size() > 256) {
            segments.clear();
            for (std::size_t k = 1; k < run.size(); ++k) segments.emplace_back(run[k - 1], run[k]);
            painter().drawLines(segments.data(), int(segments.size()));
        } else if (run.size() >= 2) {
            painter().drawPolyline(run.data(), int(run.size()));
        }
        run.clear();
    };
    for (const QPointF &p : points) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y())) {
            flush();
            continue;
        }
        const QPoint q(whole(float(p.x())), whole(float(p.y())));
        if (run.empty() || run.back() != q) run.push_back(q);
    }
    flush();
}

void Surface::box(float x1, float y1, float x2, float y2, int32_t color, bool filled) {
    currentX = x2, currentY = y2;
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
    const int l = std::min(whole(x1), whole(x2)), r = std::max(whole(x1), whole(x2));
    const int t = std::min(whole(y1), whole(y2)), btm = std::max(whole(y1), whole(y2));
    if (filled) {
        Batch b(*this);
        painter().fillRect(QRect(QPoint(l, t), QPoint(r, btm)), qcolor(color));
    }
    if (drawStyle_ == PenInvisible) return;
    if (thinSolidPen()) {
        const PixelBuffer buf = pixels();
        const uint32_t argb = toArgb(color);
        if (l == r || t == btm) {
            for (int y = t; y <= btm; ++y) rasterColumn(buf, l, y, y, argb), rasterColumn(buf, r, y, y, argb);
            for (int x = l; x <= r; ++x)
                rasterColumn(buf, x, t, t, argb), rasterColumn(buf, x, btm, btm, argb);
            return;
        }
        rasterSegment(buf, l, t, r, t, argb);
        rasterSegment(buf, r, t, r, btm, argb);
        rasterSegment(buf, r, btm, l, btm, argb);
        rasterSegment(buf, l, btm, l, t, argb);
        return;
    }
    Batch b(*this);
    painter().setPen(pen(color));
    painter().setBrush(Qt::NoBrush);
    painter().drawRect(QRect(l, t, r - l, btm - t));
}

void Surface::ellipseRadii(float radius, float aspect, double &rx, double &ry) const {
    // The radius is that of the longer axis: horizontal when aspect < 1, vertical otherwise.
    const double r = std::fabs(double(radius));
    if (aspect < 1)
        rx = r, ry = r * std::fabs(double(aspect));
    else
        rx = r / aspect, ry = r;
}

void Surface::ellipse(float cx, float cy, float radius, float aspect, int32_t color) {
    currentX = cx, currentY = cy;
    double rx, ry;
    ellipseRadii(radius, aspect, rx, ry);
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(rx) || !std::isfinite(ry)) return;
    Batch b(*this);
    QBrush brush(Qt::NoBrush);
    static const Qt::BrushStyle hatch[8] = {Qt::SolidPattern, Qt::NoBrush,         Qt::HorPattern,
                                            Qt::VerPattern,   Qt::BDiagPattern,    Qt::FDiagPattern,
                                            Qt::CrossPattern, Qt::DiagCrossPattern};
    if (fillStyle_ != FillTransparent) brush = QBrush(qcolor(fillColor_), hatch[fillStyle_]);
    painter().setPen(pen(color));
    painter().setBrush(brush);
    const int l = whole(float(cx - rx)), t = whole(float(cy - ry));
    const int r = whole(float(cx + rx)), btm = whole(float(cy + ry));
    painter().drawEllipse(QRect(l, t, r - l, btm - t));
    painter().setBrush(Qt::NoBrush);
}

void Surface::arc(float cx, float cy, float radius, float aspect, float start, float end, int32_t color) {
    currentX = cx, currentY = cy;
    double rx, ry;
    ellipseRadii(radius, aspect, rx, ry);
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(rx) || !std::isfinite(ry)) return;
    if (!std::isfinite(start) || !std::isfinite(end)) return;
    const double toDeg = 180.0 / 3.14159265358979323846;
    const double a0 = double(start) * toDeg;
    double span = (double(end) - start) * toDeg;
    span = std::fmod(span, 360.0);
    if (span < 0) span += 360.0;
    if (span == 0) return;
    const QRectF box(cx - rx, cy - ry, 2 * rx, 2 * ry);
    QPainterPath path;
    path.arcMoveTo(box, a0);
    path.arcTo(box, a0, span);
    Batch b(*this);
    painter().setPen(pen(color));
    painter().setBrush(Qt::NoBrush);
    painter().drawPath(path);
}

void Surface::print(const QString &text) {
    const QFontMetrics fm(font_, &image_);
    const int x = whole(currentX);
    int y = whole(currentY);
    Batch b(*this);
    painter().setFont(font_);
    painter().setPen(qcolor(foreColor_));
    for (const QString &line : linesOf(text)) {
        if (!line.isEmpty()) painter().drawText(QPoint(x, y + fm.ascent()), line);
        y += fm.height();
    }
    currentY = float(y);
}

int Surface::textWidth(const QString &text) const {
    const QFontMetrics fm(font_, &image_);
    int w = 0;
    for (const QString &line : linesOf(text)) w = std::max(w, fm.horizontalAdvance(line));
    return w;
}

int Surface::textHeight(const QString &text) const {
    const QFontMetrics fm(font_, &image_);
    return int(linesOf(text).size()) * fm.height();
}

bool Surface::saveBmp(const QString &path) const {
    // A name with a NUL inside would be cut short by the file system: refuse it.
    if (path.isEmpty() || path.contains(QChar(0))) return false;
    // Only a regular file is replaced: a device or FIFO under the name is left alone.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) return false;
    // Written to a temporary file that replaces the target only when complete, so a full disk
    // never leaves a truncated picture under the name.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!image_.save(&file, "BMP")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace graphane
