// plotting.cpp - curves of a recording's channel, grids, the curve colour table, length
// conversions with the device resolution, and the Lagrange interpolation the curves use.
#include "sigmora.h"

#include "drawops.h"
#include "memblock.h"

#include <algorithm>
#include <atomic>
#include <cmath>

using sigmora::Rect;
using sigmora::Surface;
using sigmora::truncPixel;

namespace {

// One pen colour per channel number, blue at load.
std::atomic<uint32_t> g_curveColours[32] = {
    0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u,
    0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u,
    0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u,
    0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u, 0x00FF0000u};

constexpr double kInchPerMM = 0.03937008;
constexpr float kInchPerCM = 0.39370078f;

// Lagrange sum over the nodes lo .. hi: sum y[i] prod (x - x_j) / (x_i - x_j). A zero denominator
// (coinciding abscissas) gives 0.
template <class NodeAt> double lagrangeWindow(NodeAt nodeAt, const float *y, int32_t lo, int32_t hi, double x) {
    double sum = 0.0;
    for (int32_t i = lo; i <= hi; ++i) {
        double term = y[i];
        for (int32_t j = lo; j <= hi; ++j) {
            if (j == i)
                continue;
            const double denom = nodeAt(i) - nodeAt(j);
            if (denom == 0.0)
                return 0.0;
            term *= (x - nodeAt(j)) / denom;
        }
        sum += term;
    }
    return sum;
}

// The window of at most 8 nodes round k: max(k - 4, 0) .. min(n - 1, k + 3).
bool nodeWindow(int64_t k, int32_t n, int32_t &lo, int32_t &hi) {
    lo = static_cast<int32_t>(std::max<int64_t>(k - 4, 0));
    hi = static_cast<int32_t>(std::min<int64_t>(n - 1, k + 3));
    return k - 4 <= n - 1 && lo <= hi;
}

// Lagrange interpolation of n equally spaced values (first abscissa x0, spacing dx) at x.
double lagrangeEven(const float *y, int32_t n, double x0, double dx, double x) {
    if (n < 1 || !(x == x))
        return 0.0;
    if (n == 1)
        return y[0];
    if (dx == 0.0)
        return 0.0;
    if (n == 2)
        return ((x - x0) * y[1] - (x - x0 - dx) * y[0]) / dx;
    int64_t k = 0;
    if (x > x0) {
        const double kd = std::ceil((x - x0) / dx);
        k = static_cast<int64_t>(std::clamp(kd, -16.0, static_cast<double>(n) + 16.0));
    }
    int32_t lo, hi;
    if (!nodeWindow(k, n, lo, hi))
        return 0.0;
    return lagrangeWindow([&](int32_t j) { return x0 + j * dx; }, y, lo, hi, x);
}

// Lagrange interpolation through (x[i], y[i]), x ascending, at vx.
double lagrangeNodes(const float *x, const float *y, int32_t n, double vx) {
    if (n < 1 || !(vx == vx))
        return 0.0;
    if (n == 1)
        return y[0];
    if (n == 2) {
        const double denom = static_cast<double>(x[0]) - x[1];
        return denom == 0.0 ? 0.0 : ((vx - x[1]) * y[0] - (vx - x[0]) * y[1]) / denom;
    }
    int32_t k = 0;
    while (k < n && x[k] < vx)
        ++k;
    int32_t lo, hi;
    if (!nodeWindow(k, n, lo, hi))
        return 0.0;
    return lagrangeWindow([&](int32_t j) { return static_cast<double>(x[j]); }, y, lo, hi, vx);
}

// The samples of one channel locked for one call, with the validation both curve exports share.
class ChannelSamples {
public:
    ChannelSamples(const SignalFileInfo *info, int32_t channel, int32_t start, int32_t end) {
        if (!info || !info->hData || channel < 0 || channel >= info->nch || start >= end || start < 0 ||
            start >= info->len || info->vmin == info->vmax)
            return;
        void *p = MemBlockLock(info->hData);
        if (!p)
            return;
        handle_ = info->hData;
        // The block must hold every sample the call reads.
        const int64_t needed = static_cast<int64_t>(channel) * info->len + std::min(end, info->len);
        if (static_cast<int64_t>(MemBlockSize(handle_) / sizeof(float)) < needed)
            return;
        data_ = static_cast<const float *>(p) + static_cast<int64_t>(channel) * info->len;
    }
    ~ChannelSamples() {
        if (handle_)
            MemBlockUnlock(handle_);
    }
    ChannelSamples(const ChannelSamples &) = delete;
    ChannelSamples &operator=(const ChannelSamples &) = delete;

    const float *data() const { return data_; }

private:
    uint32_t handle_ = 0;
    const float *data_ = nullptr;
};

// Vertical mapping of values onto the rectangle, clamped to its top and bottom edges.
struct ValueScale {
    Rect rect;
    float vmin;
    float k;
    ValueScale(const Rect &r, const SignalFileInfo &info)
        : rect(r), vmin(info.vmin), k(static_cast<float>(r.height()) / (info.vmax - info.vmin)) {}
    int32_t y(float v) const {
        const float d = (v - vmin) * k;
        const int64_t y = static_cast<int64_t>(rect.bottom) - truncPixel(d);
        return static_cast<int32_t>(std::clamp<int64_t>(y, rect.top, rect.bottom));
    }
};

// Accepts the surface and rectangle of a curve export.
bool curveTarget(SigmoraSurface *hdc, const int32_t *rect, Rect &r) { return hdc && sigmora::readRect(rect, r); }

uint32_t curveColour(int32_t channel) { return g_curveColours[channel % 32].load(std::memory_order_relaxed); }

// The next float position `step` further on; false when the step no longer moves it (a tiny
// step on large coordinates), so no accumulation loop can run forever.
bool advance(float &pos, float step) {
    const float next = pos + step;
    if (next == pos)
        return false;
    pos = next;
    return true;
}

// A horizontal row of single pixels every `step` from left to right.
void dottedRow(const Surface &s, const Rect &r, float y, float step, uint32_t colour) {
    for (float x = static_cast<float>(r.left); x <= static_cast<float>(r.right);) {
        s.pixel(truncPixel(x), truncPixel(y), colour);
        if (!advance(x, step))
            break;
    }
}

void fullRow(const Surface &s, const Rect &r, float y) { s.line(r.left, truncPixel(y), r.right, truncPixel(y)); }

// Full vertical lines from left every cx while at or left of right.
void verticalLines(const Surface &s, const Rect &r, float cx) {
    for (float x = static_cast<float>(r.left); x <= static_cast<float>(r.right);) {
        s.line(truncPixel(x), r.bottom, truncPixel(x), r.top);
        if (!advance(x, cx))
            break;
    }
}

} // namespace

extern "C" {

int32_t PlotCurve(SigmoraSurface *hdc, const SignalFileInfo *info, int32_t channel, int32_t start, int32_t end,
                  const int32_t *rect) {
    Rect r;
    if (!curveTarget(hdc, rect, r))
        return 0;
    ChannelSamples samples(info, channel, start, end);
    if (!samples.data())
        return 0;
    const float *v = samples.data();
    const ValueScale scale(r, *info);
    const Surface s(hdc);
    sigmora::SavedState saved(s);
    s.pen(curveColour(channel));
    s.moveTo(r.left, scale.y(v[start]));
    const int64_t span = static_cast<int64_t>(end) - start;
    for (int64_t i = 1; i < span && start + i < info->len; ++i)
        s.lineTo(static_cast<int32_t>(r.left + i * r.width() / span), scale.y(v[start + i]));
    return 1;
}

int32_t iPlotCurve(SigmoraSurface *hdc, const SignalFileInfo *info, int32_t channel, int32_t start, int32_t end,
                   const int32_t *rect) {
    Rect r;
    if (!curveTarget(hdc, rect, r))
        return 0;
    ChannelSamples samples(info, channel, start, end);
    if (!samples.data())
        return 0;
    const float *v = samples.data() + start;
    const int32_t m = std::min(end, info->len) - start;
    const float step = static_cast<float>(static_cast<double>(end) - start) / static_cast<float>(r.width());
    const ValueScale scale(r, *info);
    const auto valueAt = [&](double t) { return static_cast<float>(lagrangeEven(v, m, 0.0, 1.0, t)); };
    const Surface s(hdc);
    sigmora::SavedState saved(s);
    s.pen(curveColour(channel));
    s.moveTo(r.left, scale.y(valueAt(0.0)));
    for (int64_t p = 1; p < r.width(); ++p) {
        const float t = static_cast<float>(p) * step;
        if (start + static_cast<int64_t>(t) >= info->len)
            break;
        s.lineTo(static_cast<int32_t>(r.left + p), scale.y(valueAt(t)));
    }
    return 1;
}

void SetCurveGrid(SigmoraSurface *hdc, const int32_t *rect, uint32_t colour, int32_t type) {
    Rect r;
    if (!hdc || type == 0 || !sigmora::readRect(rect, r))
        return;
    const Surface s(hdc);
    const int32_t dpiX = s.dpi(false), dpiY = s.dpi(true);
    if (dpiX < 1 || dpiY < 1)
        return;
    const float cx = static_cast<float>(dpiX) * kInchPerCM, cy = static_cast<float>(dpiY) * kInchPerCM;
    sigmora::SavedState saved(s);
    s.pen(colour);
    const float top = static_cast<float>(r.top);
    if (type == 1 || type == 3) {
        for (float y = static_cast<float>(r.bottom); y >= top;) {
            fullRow(s, r, y);
            if (!advance(y, -cy))
                break;
        }
    } else if (type == 2) {
        int k = 0;
        for (float y = static_cast<float>(r.bottom); y >= top; ++k) {
            if (k % 10 == 0)
                fullRow(s, r, y);
            else
                dottedRow(s, r, y, cx / 10, colour);
            if (!advance(y, -cy / 10))
                break;
        }
    } else {
        for (float base = static_cast<float>(r.bottom); base >= top;) {
            fullRow(s, r, base);
            for (int m = 2; m <= 9; ++m) {
                const float y = base - static_cast<float>(std::log10(static_cast<double>(m))) * cy;
                if (y >= top)
                    dottedRow(s, r, y, cx / 10, colour);
            }
            if (!advance(base, -cy))
                break;
        }
    }
    verticalLines(s, r, cx);
}

uint32_t SetCurveColor(int16_t index, uint32_t colour) {
    const int entry = std::abs(static_cast<int>(index)) % 32;
    return g_curveColours[entry].exchange(colour, std::memory_order_relaxed);
}

float PixelToMM(SigmoraSurface *hdc, float value, int32_t vertical) {
    if (!hdc)
        return 0.0f;
    const int32_t dpi = Surface(hdc).dpi(vertical != 0);
    return dpi > 0 ? static_cast<float>(value / (dpi * kInchPerMM)) : 0.0f;
}

float MMToPixel(SigmoraSurface *hdc, float value, int32_t vertical) {
    if (!hdc)
        return 0.0f;
    const int32_t dpi = Surface(hdc).dpi(vertical != 0);
    return dpi > 0 ? static_cast<float>(value * dpi * kInchPerMM) : 0.0f;
}

float Interpolation1D(const float *x, const float *y, int32_t n, float vx, int32_t Sel) {
    if (!y || n < 1)
        return 0.0f;
    if (Sel != 0) {
        if (!x)
            return n == 1 ? y[0] : 0.0f;
        return static_cast<float>(lagrangeEven(y, n, x[0], n >= 2 ? x[1] : 0.0, vx));
    }
    if (!x)
        return 0.0f;
    return static_cast<float>(lagrangeNodes(x, y, n, vx));
}

} // extern "C"
