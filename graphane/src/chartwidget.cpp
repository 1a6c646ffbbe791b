#include "chartwidget.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace graphane {

namespace {

constexpr QRgb kCrossColor = 0xFFFF0000;   // red (0xFF as 0x00BBGGRR)
constexpr QRgb kReadoutBack = 0xFFFFFF80;  // light yellow (0x80FFFF)
constexpr QRgb kReadoutText = 0xFFFF0000;  // red
constexpr int kReadoutPadding = 2;

}  // namespace

QSizeF readoutBoxSize(const QFont &font, const QString &text) {
    const QFontMetricsF fm(font);
    const QRectF r = fm.boundingRect(QRectF(0, 0, 10000, 10000), Qt::AlignLeft | Qt::AlignTop, text);
    return QSizeF(std::ceil(r.width()) + 2 * kReadoutPadding, std::ceil(r.height()) + 2 * kReadoutPadding);
}

int16_t hostKeyCode(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return int16_t(key);  // same codes 65..90
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return int16_t(key);  // 48..57
    if (key >= Qt::Key_F1 && key <= Qt::Key_F16) return int16_t(112 + (key - Qt::Key_F1));
    switch (key) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Pause: return 19;
        case Qt::Key_CapsLock: return 20;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return 46;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_NumLock: return 144;
        case Qt::Key_ScrollLock: return 145;
        default: return int16_t(key & 0x7FFF);
    }
}

int16_t hostShift(Qt::KeyboardModifiers m) {
    int16_t s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

int16_t hostButtons(Qt::MouseButtons b) {
    int16_t v = 0;
    if (b & Qt::LeftButton) v |= 1;
    if (b & Qt::RightButton) v |= 2;
    if (b & Qt::MiddleButton) v |= 4;
    return v;
}

ChartWidget::ChartWidget(ChartWidgetHost &host) : host_(host) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void ChartWidget::overlayChanged(const QRectF &before, const QRectF &after) {
    QRectF r = before.isNull() ? after : after.isNull() ? before : before.united(after);
    if (!r.isNull()) update(r.toAlignedRect().adjusted(-1, -1, 1, 1));
}

void ChartWidget::paintEvent(QPaintEvent *event) {
    ++paints_;
    QPainter p(this);
    const QImage &image = host_.picture().image();
    const QRect dirty = event->rect();
    p.drawImage(dirty.topLeft(), image, dirty);
    const Overlay &o = host_.overlay();
    p.setRenderHint(QPainter::Antialiasing, false);
    if (o.crossVisible) {
        p.setPen(QPen(QColor::fromRgb(kCrossColor), 1));
        p.drawLine(o.crossH);
        p.drawLine(o.crossV);
    }
    if (o.rectVisible) {
        QPen pen(Qt::black, 1, Qt::DashLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(o.rect.adjusted(0, 0, -1, -1));
    }
    if (o.readoutVisible) {
        p.fillRect(o.readoutBox, QColor::fromRgb(kReadoutBack));
        p.setPen(QColor::fromRgb(kReadoutText));
        p.drawText(o.readoutBox.adjusted(kReadoutPadding, kReadoutPadding, 0, 0),
                   Qt::AlignLeft | Qt::AlignTop, o.readout);
    }
}

void ChartWidget::resizeEvent(QResizeEvent *) {
    host_.resized(size());
}

void ChartWidget::showEvent(QShowEvent *) {
    host_.shown();
}

void ChartWidget::mousePressEvent(QMouseEvent *e) {
    afterDoubleClick_ = false;
    host_.mousePressed(hostButtons(e->button()), hostShift(e->modifiers()), float(e->position().x()),
                       float(e->position().y()));
}

void ChartWidget::mouseMoveEvent(QMouseEvent *e) {
    host_.mouseMoved(hostButtons(e->buttons()), hostShift(e->modifiers()), float(e->position().x()),
                     float(e->position().y()));
}

void ChartWidget::mouseReleaseEvent(QMouseEvent *e) {
    host_.mouseReleased(hostButtons(e->button()), hostShift(e->modifiers()), float(e->position().x()),
                        float(e->position().y()));
    // A click is a press and release over the chart; the release that ends a double click
    // raises no second click.
    if (!afterDoubleClick_ && rect().contains(e->position().toPoint())) host_.clicked();
    afterDoubleClick_ = false;
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent *) {
    afterDoubleClick_ = true;
    host_.doubleClicked();
}

void ChartWidget::keyPressEvent(QKeyEvent *e) {
    host_.keyDown(hostKeyCode(e->key()), hostShift(e->modifiers()));
    const QString text = e->text();
    if (!text.isEmpty() && text.at(0).unicode() != 0 && text.at(0).unicode() < 0x8000)
        host_.keyPressed(int16_t(text.at(0).unicode()));
}

void ChartWidget::keyReleaseEvent(QKeyEvent *e) {
    if (e->isAutoRepeat()) return;
    host_.keyUp(hostKeyCode(e->key()), hostShift(e->modifiers()));
}

}  // namespace graphane
