// The control's interaction: the range dialog, and the mouse and key events of its window
// turned into measuring overlays and host events.
#include <QApplication>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "graphane/dispids.h"
#include "graphanecontrol.h"
#include "rangedialog.h"

namespace graphane {

using automation::Args;
using automation::Variant;

namespace {

// The double a single prints as (its shortest decimal form that reads back as the same
// single), so that the range dialog shows "13.653333" and not 13.6533327102661.
double shortestDouble(float v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    double d = v;
    std::from_chars(buf, r.ptr, d);
    return d;
}

bool fitsSingle(double v) {
    return std::fabs(v) <= double(std::numeric_limits<float>::max());
}

// The range over every point of every series in use (series 0 has at least one point),
// widened by 1 on both sides of an axis whose values are all equal.
struct Range {
    double xlo, xhi, ylo, yhi;
};

Range automaticRange(const ChartModel &m) {
    Range r{m.slot(0).x[0], m.slot(0).x[0], m.slot(0).y[0], m.slot(0).y[0]};
    for (int i = 0; i < m.seriesCount(); ++i) {
        const SeriesSlot &s = m.slot(i);
        const auto n = std::min<size_t>(size_t(std::max(s.nPoints, 0)), std::min(s.x.size(), s.y.size()));
        for (size_t k = 0; k < n; ++k) {
            r.xlo = std::min(r.xlo, double(s.x[k])), r.xhi = std::max(r.xhi, double(s.x[k]));
            r.ylo = std::min(r.ylo, double(s.y[k])), r.yhi = std::max(r.yhi, double(s.y[k]));
        }
    }
    r = {shortestDouble(float(r.xlo)), shortestDouble(float(r.xhi)), shortestDouble(float(r.ylo)),
         shortestDouble(float(r.yhi))};
    if (r.xlo == r.xhi) r.xlo -= 1, r.xhi += 1;
    if (r.ylo == r.yhi) r.ylo -= 1, r.yhi += 1;
    return r;
}

}  // namespace

bool GraphaneControl::dialogRange() {
    // The dialog belongs to the chart's window; a chart whose window is gone shows none.
    if (!widget_) return false;
    if (model_.seriesCount() < 1 || model_.slot(0).nPoints < 1 || model_.slot(0).x.empty()) return false;
    const Range range = automaticRange(model_);
    FrmRange dialog(widget_.data());
    dialog.oksel = false;
    dialog.SetAutoRange(range.xlo, range.xhi, range.ylo, range.yhi);
    dialog.SetRange(shortestDouble(model_.xmin), shortestDouble(model_.xmax), shortestDouble(model_.ymin),
                    shortestDouble(model_.ymax));
    dialog.showModal();
    if (!dialog.oksel) return false;
    double a = 0, b = 0, c = 0, d = 0;
    if (dialog.GetRange(a, b, c, d) != 1) return false;
    if (!fitsSingle(a) || !fitsSingle(b) || !fitsSingle(c) || !fitsSingle(d)) return false;
    model_.xmin = float(a), model_.xmax = float(b), model_.ymin = float(c), model_.ymax = float(d);
    return true;
}

// ---- mouse and keys ----------------------------------------------------------------------

Measuring::BoxSize GraphaneControl::readoutSizer() const {
    const QFont font = widget_ ? widget_->font() : QApplication::font();
    return [font](const QString &text) { return readoutBoxSize(font, text); };
}

void GraphaneControl::raiseMouse(automation::DispId id, int16_t button, int16_t shift, float x, float y) {
    Args args{Variant(button), Variant(shift), Variant(x), Variant(y)};
    raiseFromWindow(id, args);
}

void GraphaneControl::mousePressed(int16_t button, int16_t shift, float x, float y) {
    const QRectF before = measuring_.overlay().bounds();
    if (measuring_.press(model_, area(), button, x, y, readoutSizer()) && widget_)
        widget_->overlayChanged(before, measuring_.overlay().bounds());
    raiseMouse(dispid::MouseDown, button, shift, x, y);
}

void GraphaneControl::mouseMoved(int16_t buttons, int16_t shift, float x, float y) {
    const QRectF before = measuring_.overlay().bounds();
    if (measuring_.move(model_, area(), buttons, x, y, readoutSizer()) && widget_)
        widget_->overlayChanged(before, measuring_.overlay().bounds());
    raiseMouse(dispid::MouseMove, buttons, shift, x, y);
}

void GraphaneControl::mouseReleased(int16_t button, int16_t shift, float x, float y) {
    const QRectF before = measuring_.overlay().bounds();
    const std::optional<Measurement> m = measuring_.release(model_, area(), button);
    if (widget_) widget_->overlayChanged(before, QRectF());
    if (m) {
        Args args{Variant(m->x),  Variant(m->y),  Variant(m->w),  Variant(m->h),
                  Variant(m->xv), Variant(m->yv), Variant(m->wv), Variant(m->hv)};
        raiseFromWindow(dispid::Measured, args);
    }
    raiseMouse(dispid::MouseUp, button, shift, x, y);
}

void GraphaneControl::clicked() {
    Args none;
    raiseFromWindow(dispid::Click, none);
}

void GraphaneControl::doubleClicked() {
    Args none;
    raiseFromWindow(dispid::DblClick, none);
}

void GraphaneControl::keyDown(int16_t keyCode, int16_t shift) {
    Args args{Variant(keyCode), Variant(shift)};
    raiseFromWindow(dispid::KeyDown, args);
}

void GraphaneControl::keyPressed(int16_t keyAscii) {
    Args args{Variant(keyAscii)};
    raiseFromWindow(dispid::KeyPress, args);
}

void GraphaneControl::keyUp(int16_t keyCode, int16_t shift) {
    Args args{Variant(keyCode), Variant(shift)};
    raiseFromWindow(dispid::KeyUp, args);
}

}  // namespace graphane
