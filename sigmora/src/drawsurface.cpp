// drawsurface.cpp - the memory bitmap drawing surface: lines with pen styles and widths, pixels,
// polygons, built-in glyphs, bitmap output and saving as a 24-bit BMP file.
#include "sigmora_draw.h"

#include "glyphs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

struct DrawState {
    int32_t penStyle = SIGMORA_PEN_SOLID;
    int32_t penWidth = 1;
    uint32_t penColour = 0;
    int32_t brushStyle = SIGMORA_BRUSH_SOLID;
    uint32_t brushColour = 0x00FFFFFF;
    uint32_t textColour = 0;
    int32_t bkMode = SIGMORA_OPAQUE;
    uint32_t bkColour = 0x00FFFFFF;
    int32_t curX = 0;
    int32_t curY = 0;
    int32_t dashPhase = 0; // pixels of the dash pattern used since the last move
};

struct MemSurface {
    SigmoraSurface iface{};
    int32_t width = 0;
    int32_t height = 0;
    int32_t dpiX = 96;
    int32_t dpiY = 96;
    std::vector<uint32_t> pixels;
    DrawState state;
    std::vector<DrawState> saved;
};

// Saved states beyond this depth are dropped: an unbalanced caller cannot grow memory forever.
constexpr size_t kMaxSaveDepth = 1024;

MemSurface *self(void *user) { return static_cast<MemSurface *>(user); }

void plot(MemSurface &s, int64_t x, int64_t y, uint32_t colour) {
    if (x >= 0 && y >= 0 && x < s.width && y < s.height)
        s.pixels[static_cast<size_t>(y) * static_cast<size_t>(s.width) + static_cast<size_t>(x)] =
            colour & 0x00FFFFFFu;
}

// On/off run lengths of the dashed pen styles, starting with "on".
const std::vector<int> &dashPattern(int32_t style) {
    static const std::vector<int> solid;
    static const std::vector<int> dash = {12, 4};
    static const std::vector<int> dot = {2, 2};
    static const std::vector<int> dashDot = {8, 3, 2, 3};
    static const std::vector<int> dashDotDot = {8, 3, 2, 3, 2, 3};
    switch (style) {
    case SIGMORA_PEN_DASH: return dash;
    case SIGMORA_PEN_DOT: return dot;
    case SIGMORA_PEN_DASHDOT: return dashDot;
    case SIGMORA_PEN_DASHDOTDOT: return dashDotDot;
    default: return solid;
    }
}

bool patternOn(const std::vector<int> &pattern, int32_t phase) {
    if (pattern.empty())
        return true;
    int period = 0;
    for (int run : pattern)
        period += run;
    int pos = phase % period;
    for (size_t k = 0; k < pattern.size(); ++k) {
        if (pos < pattern[k])
            return k % 2 == 0;
        pos -= pattern[k];
    }
    return true;
}

// One pen dot: a square of the pen's width centred on the pixel.
void penDot(MemSurface &s, int64_t x, int64_t y) {
    const int32_t w = std::max<int32_t>(1, std::min<int32_t>(s.state.penWidth, 256));
    const int64_t lo = -(w - 1) / 2;
    for (int64_t dy = lo; dy < lo + w; ++dy)
        for (int64_t dx = lo; dx < lo + w; ++dx)
            plot(s, x + dx, y + dy, s.state.penColour);
}

// Bresenham from (x0, y0) up to, not including, (x1, y1), in the current pen.
void bresenham(MemSurface &s, int64_t x0, int64_t y0, int64_t x1, int64_t y1, bool includeEnd) {
    const std::vector<int> &pattern = dashPattern(s.state.penStyle);
    const int64_t dx = std::llabs(x1 - x0), dy = -std::llabs(y1 - y0);
    const int64_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int64_t err = dx + dy;
    for (;;) {
        const bool atEnd = x0 == x1 && y0 == y1;
        if (atEnd && !includeEnd)
            break;
        if (patternOn(pattern, s.state.dashPhase))
            penDot(s, x0, y0);
        s.state.dashPhase = (s.state.dashPhase + 1) % (1 << 20);
        if (atEnd)
            break;
        const int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

// Cuts the segment to the box [lo, hi] x [loY, hiY] (Liang-Barsky); false when nothing is left.
bool clipSegment(double &x0, double &y0, double &x1, double &y1, double lo, double hi, double loY, double hiY) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - lo, hi - x0, y0 - loY, hiY - y0};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    const double ax = x0 + t0 * dx, ay = y0 + t0 * dy;
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
    x0 = ax;
    y0 = ay;
    return true;
}

// A pen line; lines reaching far outside the bitmap are first cut to a margin around it, so
// their cost stays bounded by the bitmap's size.
void penLine(MemSurface &s, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    if (s.state.penStyle == SIGMORA_PEN_NULL)
        return;
    const int64_t margin = 1024;
    const auto inside = [&](int64_t x, int64_t y) {
        return x >= -margin && y >= -margin && x <= s.width + margin && y <= s.height + margin;
    };
    if (inside(x0, y0) && inside(x1, y1)) {
        bresenham(s, x0, y0, x1, y1, false);
        return;
    }
    double ax = static_cast<double>(x0), ay = static_cast<double>(y0);
    double bx = static_cast<double>(x1), by = static_cast<double>(y1);
    if (!clipSegment(ax, ay, bx, by, -margin, static_cast<double>(s.width + margin), -margin,
                     static_cast<double>(s.height + margin)))
        return;
    const bool endKept = inside(x1, y1);
    bresenham(s, std::llround(ax), std::llround(ay), endKept ? x1 : std::llround(bx),
              endKept ? y1 : std::llround(by), !endKept);
}

void opSave(void *user) {
    MemSurface &s = *self(user);
    if (s.saved.size() < kMaxSaveDepth)
        s.saved.push_back(s.state);
}

void opRestore(void *user) {
    MemSurface &s = *self(user);
    if (!s.saved.empty()) {
        s.state = s.saved.back();
        s.saved.pop_back();
    }
}

void opSetPen(void *user, int32_t style, int32_t width, uint32_t colour) {
    MemSurface &s = *self(user);
    s.state.penStyle = (style >= SIGMORA_PEN_SOLID && style <= SIGMORA_PEN_INSIDE) ? style : SIGMORA_PEN_SOLID;
    s.state.penWidth = width < 1 ? 1 : width;
    s.state.penColour = colour & 0x00FFFFFFu;
}

void opSetBrush(void *user, int32_t style, uint32_t colour) {
    MemSurface &s = *self(user);
    s.state.brushStyle = style == SIGMORA_BRUSH_NULL ? SIGMORA_BRUSH_NULL : SIGMORA_BRUSH_SOLID;
    s.state.brushColour = colour & 0x00FFFFFFu;
}

void opMoveTo(void *user, int32_t x, int32_t y) {
    MemSurface &s = *self(user);
    s.state.curX = x;
    s.state.curY = y;
    s.state.dashPhase = 0;
}

void opLineTo(void *user, int32_t x, int32_t y) {
    MemSurface &s = *self(user);
    penLine(s, s.state.curX, s.state.curY, x, y);
    s.state.curX = x;
    s.state.curY = y;
}

void opSetPixel(void *user, int32_t x, int32_t y, uint32_t colour) { plot(*self(user), x, y, colour); }

void opSetTextColor(void *user, uint32_t colour) { self(user)->state.textColour = colour & 0x00FFFFFFu; }

void opSetBkMode(void *user, int32_t mode) {
    self(user)->state.bkMode = mode == SIGMORA_TRANSPARENT ? SIGMORA_TRANSPARENT : SIGMORA_OPAQUE;
}

void opSetBkColor(void *user, uint32_t colour) { self(user)->state.bkColour = colour & 0x00FFFFFFu; }

void opTextOut(void *user, int32_t x, int32_t y, const char *text, int32_t n) {
    MemSurface &s = *self(user);
    if (!text || n < 1)
        return;
    n = std::min<int32_t>(n, 4096);
    for (int32_t c = 0; c < n; ++c) {
        const int64_t left = static_cast<int64_t>(x) + static_cast<int64_t>(c) * sigmora::kGlyphCellWidth;
        if (s.state.bkMode == SIGMORA_OPAQUE)
            for (int gy = 0; gy < sigmora::kGlyphCellHeight; ++gy)
                for (int gx = 0; gx < sigmora::kGlyphCellWidth; ++gx)
                    plot(s, left + gx, static_cast<int64_t>(y) + gy, s.state.bkColour);
        const uint8_t *rows = sigmora::glyphRows(text[c]);
        for (int gy = 0; gy < sigmora::kGlyphRows; ++gy)
            for (int gx = 0; gx < sigmora::kGlyphColumns; ++gx)
                if (rows[gy] & (0x10 >> gx))
                    plot(s, left + gx, static_cast<int64_t>(y) + gy, s.state.textColour);
    }
}

// Fills the polygon's interior (alternate rule, pixel centres) with the brush colour.
void fillPolygon(MemSurface &s, const SigmoraPoint *pts, int32_t n) {
    int64_t minY = pts[0].y, maxY = pts[0].y;
    for (int32_t k = 1; k < n; ++k) {
        minY = std::min<int64_t>(minY, pts[k].y);
        maxY = std::max<int64_t>(maxY, pts[k].y);
    }
    minY = std::max<int64_t>(minY, 0);
    maxY = std::min<int64_t>(maxY, s.height - 1);
    std::vector<double> xs;
    for (int64_t y = minY; y <= maxY; ++y) {
        const double yc = static_cast<double>(y) + 0.5;
        xs.clear();
        for (int32_t k = 0; k < n; ++k) {
            const SigmoraPoint &a = pts[k], &b = pts[(k + 1) % n];
            if ((a.y <= yc && b.y > yc) || (b.y <= yc && a.y > yc))
                xs.push_back(a.x + (yc - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2) {
            const double from = std::max(std::ceil(xs[k] - 0.5), 0.0);
            const double to = std::min(std::ceil(xs[k + 1] - 0.5), static_cast<double>(s.width));
            for (int64_t x = static_cast<int64_t>(from); x < static_cast<int64_t>(to); ++x)
                plot(s, x, y, s.state.brushColour);
        }
    }
}

void opPolygon(void *user, const SigmoraPoint *pts, int32_t n) {
    MemSurface &s = *self(user);
    if (!pts || n < 2 || n > (1 << 20))
        return;
    if (s.state.brushStyle == SIGMORA_BRUSH_SOLID && n >= 3) {
        try {
            fillPolygon(s, pts, n);
        } catch (const std::bad_alloc &) {
            // Out of memory for the crossings: the outline is still drawn.
        }
    }
    const int32_t phase = s.state.dashPhase;
    s.state.dashPhase = 0;
    for (int32_t k = 0; k < n; ++k)
        penLine(s, pts[k].x, pts[k].y, pts[(k + 1) % n].x, pts[(k + 1) % n].y);
    s.state.dashPhase = phase;
}

int32_t opRealizePalette(void *, const uint32_t *colours, int32_t n) {
    return colours && n > 0 ? std::min<int32_t>(n, 256) : 0;
}

int32_t opBitmapOut(void *user, int32_t x, int32_t y, int32_t width, int32_t height, int32_t bpp,
                    const uint8_t *bits, const uint32_t *table) {
    MemSurface &s = *self(user);
    if (!bits || width < 1 || height < 1 || (bpp != 8 && bpp != 24) || (bpp == 8 && !table))
        return 0;
    const size_t stride = (static_cast<size_t>(width) * static_cast<size_t>(bpp / 8) + 3) / 4 * 4;
    int32_t drawn = 0;
    for (int32_t r = 0; r < height; ++r) {
        const int64_t sy = static_cast<int64_t>(y) + height - 1 - r;
        if (sy < 0 || sy >= s.height)
            continue;
        const int64_t p0 = std::max<int64_t>(0, -static_cast<int64_t>(x));
        const int64_t p1 = std::min<int64_t>(width, static_cast<int64_t>(s.width) - x);
        if (p0 >= p1)
            continue;
        const uint8_t *row = bits + static_cast<size_t>(r) * stride;
        for (int64_t p = p0; p < p1; ++p) {
            uint32_t colour;
            if (bpp == 8) {
                colour = table[row[p]];
            } else {
                const uint8_t *px = row + 3 * p;
                colour = static_cast<uint32_t>(px[2]) | static_cast<uint32_t>(px[1]) << 8 |
                         static_cast<uint32_t>(px[0]) << 16;
            }
            plot(s, x + p, sy, colour);
        }
        ++drawn;
    }
    return drawn;
}

int32_t opResolution(void *user, int32_t vertical) {
    const MemSurface &s = *self(user);
    return vertical ? s.dpiY : s.dpiX;
}

// The memory surface behind a surface pointer, or null for any other surface.
MemSurface *memSurface(const SigmoraSurface *surface) {
    if (!surface || surface->setPixel != opSetPixel || !surface->user)
        return nullptr;
    MemSurface *s = self(surface->user);
    return &s->iface == surface ? s : nullptr;
}

void putLE(std::vector<uint8_t> &out, uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k)
        out.push_back(static_cast<uint8_t>(value >> (8 * k)));
}

// The whole BMP file (headers and bottom-up 24-bit rows) in memory.
std::vector<uint8_t> bmpFile(const MemSurface &s) {
    const uint32_t stride = (static_cast<uint32_t>(s.width) * 3 + 3) / 4 * 4;
    const uint32_t imageBytes = stride * static_cast<uint32_t>(s.height);
    std::vector<uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    putLE(out, 54 + imageBytes, 4);
    putLE(out, 0, 4);
    putLE(out, 54, 4);
    putLE(out, 40, 4);
    putLE(out, static_cast<uint32_t>(s.width), 4);
    putLE(out, static_cast<uint32_t>(s.height), 4);
    putLE(out, 1, 2);
    putLE(out, 24, 2);
    putLE(out, 0, 4);
    putLE(out, imageBytes, 4);
    const uint32_t ppm = static_cast<uint32_t>(std::lround(s.dpiX / 0.0254));
    putLE(out, ppm, 4);
    putLE(out, static_cast<uint32_t>(std::lround(s.dpiY / 0.0254)), 4);
    putLE(out, 0, 4);
    putLE(out, 0, 4);
    for (int32_t r = s.height - 1; r >= 0; --r) {
        const uint32_t *row = &s.pixels[static_cast<size_t>(r) * static_cast<size_t>(s.width)];
        for (int32_t c = 0; c < s.width; ++c) {
            out.push_back(static_cast<uint8_t>(row[c] >> 16));
            out.push_back(static_cast<uint8_t>(row[c] >> 8));
            out.push_back(static_cast<uint8_t>(row[c]));
        }
        for (uint32_t pad = static_cast<uint32_t>(s.width) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

bool writeAll(int fd, const std::vector<uint8_t> &data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

extern "C" {

SigmoraSurface *CreateMemorySurface(int32_t width, int32_t height, int32_t dpiX, int32_t dpiY) {
    if (width < 1 || height < 1 || width > SIGMORA_SURFACE_MAX_SIDE || height > SIGMORA_SURFACE_MAX_SIDE ||
        static_cast<int64_t>(width) * height > SIGMORA_SURFACE_MAX_PIXELS)
        return nullptr;
    if (dpiX < 0 || dpiY < 0 || dpiX > 10000 || dpiY > 10000)
        return nullptr;
    MemSurface *s = new (std::nothrow) MemSurface;
    if (!s)
        return nullptr;
    try {
        s->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0x00FFFFFFu);
    } catch (const std::bad_alloc &) {
        delete s;
        return nullptr;
    }
    s->width = width;
    s->height = height;
    s->dpiX = dpiX ? dpiX : 96;
    s->dpiY = dpiY ? dpiY : 96;
    SigmoraSurface &f = s->iface;
    f.user = s;
    f.save = opSave;
    f.restore = opRestore;
    f.setPen = opSetPen;
    f.setBrush = opSetBrush;
    f.moveTo = opMoveTo;
    f.lineTo = opLineTo;
    f.setPixel = opSetPixel;
    f.setTextColor = opSetTextColor;
    f.setBkMode = opSetBkMode;
    f.setBkColor = opSetBkColor;
    f.textOut = opTextOut;
    f.polygon = opPolygon;
    f.realizePalette = opRealizePalette;
    f.bitmapOut = opBitmapOut;
    f.resolution = opResolution;
    return &s->iface;
}

void FreeMemorySurface(SigmoraSurface *surface) { delete memSurface(surface); }

int32_t MemorySurfaceSize(const SigmoraSurface *surface, int32_t *width, int32_t *height) {
    const MemSurface *s = memSurface(surface);
    if (!s)
        return 0;
    if (width)
        *width = s->width;
    if (height)
        *height = s->height;
    return 1;
}

uint32_t MemorySurfacePixel(const SigmoraSurface *surface, int32_t x, int32_t y) {
    const MemSurface *s = memSurface(surface);
    if (!s || x < 0 || y < 0 || x >= s->width || y >= s->height)
        return 0xFFFFFFFFu;
    return s->pixels[static_cast<size_t>(y) * static_cast<size_t>(s->width) + static_cast<size_t>(x)];
}

int32_t ClearMemorySurface(SigmoraSurface *surface, uint32_t colour) {
    MemSurface *s = memSurface(surface);
    if (!s)
        return 0;
    std::fill(s->pixels.begin(), s->pixels.end(), colour & 0x00FFFFFFu);
    s->state = DrawState{};
    s->saved.clear();
    return 1;
}

int32_t SaveMemorySurfaceBmp(const SigmoraSurface *surface, const char *path) {
    const MemSurface *s = memSurface(surface);
    if (!s || !path || !*path)
        return 0;
    std::vector<uint8_t> data;
    try {
        data = bmpFile(*s);
    } catch (const std::bad_alloc &) {
        return 0;
    }
    std::string temp = std::string(path) + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return 0;
    fchmod(fd, 0644);
    const bool written = writeAll(fd, data) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !closed || rename(temp.c_str(), path) != 0) {
        unlink(temp.c_str());
        return 0;
    }
    return 1;
}

} // extern "C"
