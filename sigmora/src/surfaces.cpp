// surfaces.cpp - height matrices in parallel projection: wire frames with optional hidden-line
// removal, filled colour-coded surfaces, and the 21 colour scales.
#include "sigmora.h"

#include "drawops.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

using sigmora::Rect;
using sigmora::Surface;
using sigmora::truncPixel;

namespace {

constexpr double kDegree = 0.01745329237161969;
constexpr int kHorizonColumns = 10000;

uint32_t rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r & 0xFF) | static_cast<uint32_t>(g & 0xFF) << 8 | static_cast<uint32_t>(b & 0xFF) << 16;
}

// The parameter record of the mesh exports.
struct MeshParams {
    int32_t ruledBox, azimuth, elevation, meshColour, axesColour, flags;
    Rect rect;
    int32_t fillScale;
    int quadrant() const { return (((azimuth % 360) + 360) % 360) / 90; }
    // The back corner of the box: x = 0 for azimuths 0 .. 179, y = 0 for 0 .. 89 and 270 .. 359.
    bool backAtX0() const { return quadrant() <= 1; }
    bool backAtY0() const { return quadrant() == 0 || quadrant() == 3; }
};

bool readMeshParams(const int32_t *p, MeshParams &m) {
    if (!p)
        return false;
    m = MeshParams{p[0], p[1], p[2], p[3], p[4], p[5], Rect{}, p[10]};
    return sigmora::readRect(p + 6, m.rect);
}

// The validated matrix of a mesh export with its extremes.
struct Heights {
    const float *z = nullptr;
    int32_t nx = 0, ny = 0;
    float zmin = 0, zmax = 0;
    float at(int32_t i, int32_t j) const { return z[static_cast<int64_t>(j) * nx + i]; }
};

bool readHeights(const float *z, int32_t nx, int32_t ny, Heights &h) {
    if (!z || nx < 1 || ny < 1 || static_cast<int64_t>(nx) * ny > sigmora::kMaxMatrixElements)
        return false;
    h.z = z;
    h.nx = nx;
    h.ny = ny;
    return sigmora::finiteExtremes(z, static_cast<int64_t>(nx) * ny, h.zmin, h.zmax);
}

// Parallel projection of the box [0, nx] x [0, ny] x [zmin, zmax] into the rectangle.
class Projection {
public:
    Projection(const Heights &h, const MeshParams &m) {
        const double az = (((m.azimuth % 360) + 360) % 360) * kDegree, el = m.elevation * kDegree;
        cosA_ = std::cos(az);
        sinA_ = std::sin(az);
        cosE_ = std::cos(el);
        sinE_ = std::sin(el);
        cx_ = h.nx / 2.0;
        cy_ = h.ny / 2.0;
        cz_ = (static_cast<double>(h.zmin) + h.zmax) / 2.0;
        dx_ = h.nx;
        dy_ = h.ny;
        dz_ = static_cast<double>(h.zmax) - h.zmin;
        const double a = (std::fabs(cosA_) + std::fabs(sinA_)) / 2.0;
        const double b = ((std::fabs(cosA_) + std::fabs(sinA_)) * std::fabs(sinE_) + std::fabs(cosE_)) / 2.0;
        sx_ = static_cast<double>(m.rect.width()) / (2.0 * a);
        sy_ = static_cast<double>(m.rect.height()) / (2.0 * b);
        midX_ = (static_cast<int64_t>(m.rect.left) + m.rect.right) / 2;
        midY_ = (static_cast<int64_t>(m.rect.top) + m.rect.bottom) / 2;
    }
    // A flat matrix (dz = 0) projects every height onto the middle plane.
    SigmoraPoint at(double x, double y, double z) const {
        const double u = (x - cx_) / dx_, v = (y - cy_) / dy_, w = dz_ != 0.0 ? (z - cz_) / dz_ : 0.0;
        const int64_t X = truncPixel((u * cosA_ - v * sinA_) * sx_) + midX_;
        const int64_t Y = midY_ - truncPixel(sy_ * (w * cosE_ - (v * cosA_ + u * sinA_) * sinE_));
        return SigmoraPoint{static_cast<int32_t>(X), static_cast<int32_t>(Y)};
    }

private:
    double cosA_, sinA_, cosE_, sinE_, cx_, cy_, cz_, dx_, dy_, dz_, sx_, sy_;
    int64_t midX_, midY_;
};

void segment(const Surface &s, const Projection &pr, double x0, double y0, double z0, double x1, double y1, double z1) {
    const SigmoraPoint a = pr.at(x0, y0, z0), b = pr.at(x1, y1, z1);
    s.line(a.x, a.y, b.x, b.y);
}

void letter(const Surface &s, SigmoraPoint p, int dx, int dy, const char *t, uint32_t colour) {
    s.text(p.x + dx, p.y + dy, t, colour);
}

// A ruled box on the three back faces (the two back walls and the floor), 11 lines per family
// and face, with the axis letters.
void ruledBox(const Surface &s, const Projection &pr, const Heights &h, const MeshParams &m, uint32_t colour) {
    const double xb = m.backAtX0() ? 0.0 : h.nx, yb = m.backAtY0() ? 0.0 : h.ny;
    const double xf = h.nx - xb, yf = h.ny - yb;
    const double z0 = h.zmin, z1 = h.zmax;
    for (int k = 0; k <= 10; ++k) {
        const double zk = z0 + k * (z1 - z0) / 10.0, xk = k * h.nx / 10.0, yk = k * h.ny / 10.0;
        segment(s, pr, 0, yb, zk, h.nx, yb, zk);
        segment(s, pr, xk, yb, z0, xk, yb, z1);
        segment(s, pr, xb, 0, zk, xb, h.ny, zk);
        segment(s, pr, xb, yk, z0, xb, yk, z1);
        segment(s, pr, xk, 0, z0, xk, h.ny, z0);
        segment(s, pr, 0, yk, z0, h.nx, yk, z0);
    }
    letter(s, pr.at(h.nx / 2.0, yf, z0), -2, 4, "X", colour);
    letter(s, pr.at(xf, h.ny / 2.0, z0), -2, 4, "Y", colour);
    letter(s, pr.at(xb, yb, z1), -2, -12, "Z", colour);
}

// Three axis lines from the origin corner (0, 0, zmin), with their letters at the far ends.
void axisLines(const Surface &s, const Projection &pr, const Heights &h, uint32_t colour) {
    const double z0 = h.zmin;
    const SigmoraPoint o = pr.at(0, 0, z0), x = pr.at(h.nx, 0, z0), y = pr.at(0, h.ny, z0), z = pr.at(0, 0, h.zmax);
    s.line(o.x, o.y, x.x, x.y);
    s.line(o.x, o.y, y.x, y.y);
    s.line(o.x, o.y, z.x, z.y);
    letter(s, x, 2, 0, "X", colour);
    letter(s, y, 2, 0, "Y", colour);
    letter(s, z, -2, -10, "Z", colour);
}

void drawAxes(const Surface &s, const Projection &pr, const Heights &h, const MeshParams &m) {
    const uint32_t colour = static_cast<uint32_t>(m.axesColour);
    s.pen(colour);
    if (m.ruledBox)
        ruledBox(s, pr, h, m, colour);
    else
        axisLines(s, pr, h, colour);
}

// Floating horizons of the hidden-line pass: per pixel column the highest (upper, smallest y)
// and lowest (lower, largest y) point drawn so far.
class Horizons {
public:
    Horizons() : upper_(kHorizonColumns), lower_(kHorizonColumns) { reset(); }
    void reset() {
        std::fill(upper_.begin(), upper_.end(), 10000);
        std::fill(lower_.begin(), lower_.end(), -10000);
    }
    // True when (x, y) is above the upper or below the lower horizon; both move to it.
    bool visible(int64_t x, int64_t y) {
        const size_t c = static_cast<size_t>(std::clamp<int64_t>(x, 0, kHorizonColumns - 1));
        bool seen = false;
        if (y < upper_[c]) {
            upper_[c] = static_cast<int32_t>(y);
            seen = true;
        }
        if (y > lower_[c]) {
            lower_[c] = static_cast<int32_t>(y);
            seen = true;
        }
        return seen;
    }

private:
    std::vector<int32_t> upper_, lower_;
};

// A segment drawn pixel by pixel against the horizons: steps of 1 / (|m| + 2) pixels in x
// (m = dy/dx), that is |dy| + 2|dx| steps; a vertical segment takes |dy| + 2 steps.
void hiddenSegment(const Surface &s, Horizons &hz, const Rect &r, SigmoraPoint a, SigmoraPoint b, uint32_t colour) {
    const int64_t dx = static_cast<int64_t>(b.x) - a.x, dy = static_cast<int64_t>(b.y) - a.y;
    int64_t steps = dx == 0 ? std::llabs(dy) + 2 : std::llabs(dy) + 2 * std::llabs(dx);
    steps = std::min<int64_t>(steps, 1 << 20);
    for (int64_t k = 0; k <= steps; ++k) {
        const double t = static_cast<double>(k) / static_cast<double>(steps);
        const int64_t x = std::llround(a.x + t * static_cast<double>(dx));
        const int64_t y = std::llround(a.y + t * static_cast<double>(dy));
        const bool inside = x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
        if (hz.visible(x, y) && inside)
            s.pixel(static_cast<int32_t>(x), static_cast<int32_t>(y), colour);
    }
}

// Row and column visiting orders of the wire frame (front to back) per azimuth quadrant.
struct MeshOrder {
    bool rowsDown;    // rows from ny - 1 down to 0
    bool xDown;       // x within a row from nx - 1 down to 0
    bool columnsDown; // columns from nx - 1 down to 0
    bool yDown;       // y within a column from ny - 1 down to 0
};

MeshOrder meshOrder(int quadrant) {
    switch (quadrant) {
    case 0: return {true, false, true, false};
    case 1: return {false, true, true, false};
    case 2: return {false, true, false, true};
    default: return {true, false, false, true};
    }
}

int32_t indexAt(int32_t k, int32_t n, bool down) { return down ? n - 1 - k : k; }

// One polyline per line of the matrix: rows (byRows) or columns, in the quadrant's order.
void meshPass(const Surface &s, const Projection &pr, const Heights &h, const MeshParams &m, bool byRows,
              Horizons *hz) {
    const MeshOrder o = meshOrder(m.quadrant());
    const int32_t lines = byRows ? h.ny : h.nx, points = byRows ? h.nx : h.ny;
    const uint32_t colour = static_cast<uint32_t>(m.meshColour);
    for (int32_t l = 0; l < lines; ++l) {
        const int32_t line = indexAt(l, lines, byRows ? o.rowsDown : o.columnsDown);
        SigmoraPoint prev{};
        for (int32_t q = 0; q < points; ++q) {
            const int32_t along = indexAt(q, points, byRows ? o.xDown : o.yDown);
            const int32_t i = byRows ? along : line, j = byRows ? line : along;
            const SigmoraPoint p = pr.at(i, j, h.at(i, j));
            if (hz) {
                if (q > 0)
                    hiddenSegment(s, *hz, m.rect, prev, p, colour);
                else if (points == 1)
                    hiddenSegment(s, *hz, m.rect, p, p, colour);
            } else if (q == 0) {
                s.moveTo(p.x, p.y);
            } else {
                s.lineTo(p.x, p.y);
            }
            prev = p;
        }
    }
}

// Colour level 0 .. 255 of a height; a flat matrix gives level 0.
int32_t heightLevel(const Heights &h, float z) {
    const double range = static_cast<double>(h.zmax) - h.zmin;
    if (range <= 0.0)
        return 0;
    return std::clamp(truncPixel((z - h.zmin) * 255.0 / range), 0, 255);
}

} // namespace

extern "C" {

uint32_t ZAxisToLColor(int32_t level, int32_t palette) {
    const int a = level & 0xFF, na = 255 - a;
    const int half = truncPixel(127.0 + level / 2), threeQ = truncPixel(0.75 * level);
    switch (palette) {
    case 1: return rgb(255, a, a);
    case 2: return rgb(a, 0, na);
    case 3: return rgb(na, 0, a);
    case 4: return rgb(0, na, a);
    case 5: return rgb(0, a, na);
    case 6: return rgb(a, na, 0);
    case 7: return rgb(na, a, 0);
    case 8: return rgb(255, na, 0);
    case 9: return rgb(255, a, 0);
    case 10: return rgb(255, 0, na);
    case 11: return rgb(255, 0, a);
    case 12: return rgb(0, na, 255);
    case 13: return rgb(0, a, 255);
    case 14: return rgb(na, na, na);
    case 15: return rgb(a, a, a);
    case 16: return rgb(na, a, na);
    case 17: return rgb(a, na, na);
    case 18: return rgb(half, threeQ, threeQ);
    case 19: return rgb(threeQ, half, threeQ);
    case 20: return rgb(threeQ, threeQ, half);
    default: return rgb(255, na, na);
    }
}

int32_t MeshMatrix(SigmoraSurface *hdc, const float *z, int32_t nx, int32_t ny, const int32_t *param) {
    MeshParams m;
    Heights h;
    if (!hdc || nx > 1024 || !readMeshParams(param, m) || !readHeights(z, nx, ny, h))
        return 0;
    try {
        Horizons horizons;
        Horizons *hz = (m.flags & 2) ? &horizons : nullptr;
        const Surface s(hdc);
        sigmora::SavedState saved(s);
        const Projection pr(h, m);
        drawAxes(s, pr, h, m);
        s.pen(static_cast<uint32_t>(m.meshColour));
        meshPass(s, pr, h, m, true, hz);
        if (m.flags & 1) {
            horizons.reset();
            meshPass(s, pr, h, m, false, hz);
        }
    } catch (const std::bad_alloc &) {
        return 0;
    }
    return 1;
}

int32_t FillMeshMatrix(SigmoraSurface *hdc, const float *z, int32_t nx, int32_t ny, const int32_t *param) {
    MeshParams m;
    Heights h;
    if (!hdc || !readMeshParams(param, m) || !readHeights(z, nx, ny, h))
        return 0;
    const Surface s(hdc);
    sigmora::SavedState saved(s);
    const Projection pr(h, m);
    drawAxes(s, pr, h, m);
    if (m.meshColour < 0)
        s.pen(0, SIGMORA_PEN_NULL);
    else
        s.pen(static_cast<uint32_t>(m.meshColour));
    // Painter's order: rows and columns both start at the back corner of the box.
    const bool rowsUp = m.backAtY0(), columnsUp = m.backAtX0();
    for (int32_t jj = 0; jj + 1 < ny; ++jj) {
        const int32_t j = rowsUp ? jj : ny - 2 - jj;
        for (int32_t ii = 0; ii + 1 < nx; ++ii) {
            const int32_t i = columnsUp ? ii : nx - 2 - ii;
            const SigmoraPoint quad[4] = {pr.at(i, j, h.at(i, j)), pr.at(i + 1, j, h.at(i + 1, j)),
                                          pr.at(i + 1, j + 1, h.at(i + 1, j + 1)), pr.at(i, j + 1, h.at(i, j + 1))};
            s.brush(ZAxisToLColor(heightLevel(h, h.at(i + 1, j)), m.fillScale));
            s.polygon(quad, 4);
        }
    }
    return 1;
}

} // extern "C"
