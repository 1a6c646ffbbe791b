// drawops.h - what the plotting, surface and contour exports share: calls into a caller's
// drawing surface that tolerate missing operations, checked rectangles and safe truncation.
#ifndef SIGMORA_DRAWOPS_H
#define SIGMORA_DRAWOPS_H

#include "sigmora_draw.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace sigmora {

// Rectangle coordinates beyond this magnitude are refused: no device is that large, and the
// arithmetic on them then never overflows.
constexpr int32_t kMaxCoordinate = 16777216;

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int64_t width() const { return static_cast<int64_t>(right) - left; }
    int64_t height() const { return static_cast<int64_t>(bottom) - top; }
};

inline bool coordinateOk(int64_t v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; }

// Reads {left, top, right, bottom}; false for a null pointer, coordinates out of range, or (when
// nonEmpty) right <= left or bottom <= top.
inline bool readRect(const int32_t *r, Rect &out, bool nonEmpty = true) {
    if (!r)
        return false;
    out = Rect{r[0], r[1], r[2], r[3]};
    if (!coordinateOk(out.left) || !coordinateOk(out.top) || !coordinateOk(out.right) || !coordinateOk(out.bottom))
        return false;
    return !nonEmpty || (out.right > out.left && out.bottom > out.top);
}

// Truncation toward zero into a pixel coordinate; NaN gives 0 and values are limited to the
// int32 range, so no conversion is ever undefined.
inline int32_t truncPixel(double v) {
    if (!(v == v))
        return 0;
    if (v > 2147483647.0)
        return 2147483647;
    if (v < -2147483648.0)
        return static_cast<int32_t>(-2147483647 - 1);
    return static_cast<int32_t>(v);
}

// The drawing surface with every call checked for a missing operation.
class Surface {
public:
    explicit Surface(SigmoraSurface *s) : s_(s) {}
    void save() const {
        if (s_->save)
            s_->save(s_->user);
    }
    void restore() const {
        if (s_->restore)
            s_->restore(s_->user);
    }
    void pen(uint32_t colour, int32_t style = SIGMORA_PEN_SOLID, int32_t width = 1) const {
        if (s_->setPen)
            s_->setPen(s_->user, style, width, colour);
    }
    void brush(uint32_t colour, int32_t style = SIGMORA_BRUSH_SOLID) const {
        if (s_->setBrush)
            s_->setBrush(s_->user, style, colour);
    }
    void moveTo(int32_t x, int32_t y) const {
        if (s_->moveTo)
            s_->moveTo(s_->user, x, y);
    }
    void lineTo(int32_t x, int32_t y) const {
        if (s_->lineTo)
            s_->lineTo(s_->user, x, y);
    }
    void line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
        moveTo(x0, y0);
        lineTo(x1, y1);
    }
    void pixel(int32_t x, int32_t y, uint32_t colour) const {
        if (s_->setPixel)
            s_->setPixel(s_->user, x, y, colour);
    }
    // Transparent text in colour, top-left corner at (x, y).
    void text(int32_t x, int32_t y, const char *t, uint32_t colour) const {
        if (s_->setBkMode)
            s_->setBkMode(s_->user, SIGMORA_TRANSPARENT);
        if (s_->setTextColor)
            s_->setTextColor(s_->user, colour);
        if (s_->textOut)
            s_->textOut(s_->user, x, y, t, static_cast<int32_t>(std::strlen(t)));
    }
    void polygon(const SigmoraPoint *pts, int32_t n) const {
        if (s_->polygon)
            s_->polygon(s_->user, pts, n);
    }
    int32_t realizePalette(const uint32_t *colours, int32_t n) const {
        return s_->realizePalette ? s_->realizePalette(s_->user, colours, n) : 0;
    }
    int32_t bitmap(int32_t x, int32_t y, int32_t w, int32_t h, int32_t bpp, const uint8_t *bits,
                   const uint32_t *table) const {
        return s_->bitmapOut ? s_->bitmapOut(s_->user, x, y, w, h, bpp, bits, table) : 0;
    }
    // Logical pixels per inch; 96 when the surface does not say.
    int32_t dpi(bool vertical) const { return s_->resolution ? s_->resolution(s_->user, vertical ? 1 : 0) : 96; }

private:
    SigmoraSurface *s_;
};

// Saves the surface's state for the lifetime of the object.
class SavedState {
public:
    explicit SavedState(const Surface &s) : s_(s) { s_.save(); }
    ~SavedState() { s_.restore(); }
    SavedState(const SavedState &) = delete;
    SavedState &operator=(const SavedState &) = delete;

private:
    const Surface &s_;
};

// Largest matrix (element count) the surface and contour exports accept.
constexpr int64_t kMaxMatrixElements = int64_t{1} << 26;

// Extremes of a finite matrix; false when it holds NaN or an infinity.
inline bool finiteExtremes(const float *z, int64_t n, float &lo, float &hi) {
    lo = hi = z[0];
    for (int64_t k = 0; k < n; ++k) {
        const float v = z[k];
        if (!std::isfinite(v))
            return false;
        lo = v < lo ? v : lo;
        hi = v > hi ? v : hi;
    }
    return true;
}

} // namespace sigmora

#endif
