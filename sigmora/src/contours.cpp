// contours.cpp - contour lines of a height matrix, cell by cell, with a frame, axes and letters.
#include "sigmora.h"

#include "drawops.h"

#include <cmath>

using sigmora::Rect;
using sigmora::Surface;
using sigmora::truncPixel;

namespace {

constexpr int32_t kMaxLevels = 4096;

// Matrix, rectangle and cell size of one contour picture.
struct ContourGrid {
    const float *z;
    int32_t nx, ny;
    Rect rect;
    double sx, sy;
    float at(int32_t i, int32_t j) const { return z[static_cast<int64_t>(j) * nx + i]; }
    // Screen point of a grid position (column i, row j, fractional).
    SigmoraPoint point(double i, double j) const {
        return SigmoraPoint{truncPixel(rect.left + i * sx + sx / 2), truncPixel(rect.bottom - j * sy - sy / 2)};
    }
};

bool crosses(float z1, float z2, double level) { return (z1 >= level && z2 < level) || (z1 < level && z2 >= level); }

// Fraction of the way from the first end at which the edge reaches the level.
double crossingFraction(float z1, float z2, double level) {
    const double denom = static_cast<double>(z2) - z1 + 1e-6;
    if (denom == 0.0)
        return 0.5;
    const double t = (level - z1) / denom;
    return t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
}

// The contour pieces of one level in cell (i, j).
void contourCell(const Surface &s, const ContourGrid &g, int32_t i, int32_t j, double level) {
    // Edges in order: bottom, right, top (right to left), left (top to bottom).
    const int32_t ci[5] = {i, i + 1, i + 1, i, i};
    const int32_t cj[5] = {j, j, j + 1, j + 1, j};
    SigmoraPoint hits[4];
    int n = 0;
    for (int e = 0; e < 4; ++e) {
        const float z1 = g.at(ci[e], cj[e]), z2 = g.at(ci[e + 1], cj[e + 1]);
        if (!crosses(z1, z2, level))
            continue;
        const double t = crossingFraction(z1, z2, level);
        hits[n++] = g.point(ci[e] + t * (ci[e + 1] - ci[e]), cj[e] + t * (cj[e + 1] - cj[e]));
    }
    if (n == 2) {
        s.line(hits[0].x, hits[0].y, hits[1].x, hits[1].y);
    } else if (n == 3) {
        s.line(hits[0].x, hits[0].y, hits[2].x, hits[2].y);
    } else if (n == 4) {
        s.line(hits[0].x, hits[0].y, hits[2].x, hits[2].y);
        s.line(hits[1].x, hits[1].y, hits[3].x, hits[3].y);
    }
}

void frame(const Surface &s, const Rect &r) {
    s.moveTo(r.left, r.top);
    s.lineTo(r.right, r.top);
    s.lineTo(r.right, r.bottom);
    s.lineTo(r.left, r.bottom);
    s.lineTo(r.left, r.top);
}

} // namespace

extern "C" {

int32_t ContourMatrix(SigmoraSurface *hdc, const float *z, int32_t nx, int32_t ny, int32_t nLevels,
                      const int32_t *rect, const int32_t *style) {
    Rect r;
    if (!hdc || !z || !style || nx < 3 || ny < 3 || nLevels < 1 || nLevels > kMaxLevels ||
        static_cast<int64_t>(nx) * ny > sigmora::kMaxMatrixElements || !sigmora::readRect(rect, r))
        return 0;
    float lo, hi;
    if (!sigmora::finiteExtremes(z, static_cast<int64_t>(nx) * ny, lo, hi))
        return 0;
    double zmin = lo, zmax = hi;
    if (zmin == zmax) {
        zmin -= 0.1;
        zmax += 0.1;
    }
    const Surface s(hdc);
    sigmora::SavedState saved(s);
    const uint32_t colour = static_cast<uint32_t>(style[0]);
    s.pen(colour);
    frame(s, r);
    const ContourGrid g{z, nx, ny, r, static_cast<double>(r.width()) / nx, static_cast<double>(r.height()) / ny};
    const double step = (zmax - zmin) / nLevels;
    for (int32_t k = 0; k < nLevels; ++k) {
        const double level = zmin + (k + 1) * step;
        if (!(level < zmax))
            break;
        s.pen(style[1] >= 0 ? ZAxisToLColor(truncPixel(255.0 / nLevels * k), style[1]) : colour);
        for (int32_t j = 0; j + 1 < ny; ++j)
            for (int32_t i = 0; i + 1 < nx; ++i)
                contourCell(s, g, i, j, level);
    }
    s.pen(colour);
    s.line(r.left, r.top, r.left, r.bottom);
    s.line(r.left, r.bottom, r.right, r.bottom);
    s.text(r.right, r.bottom - 8, "X", colour);
    s.text(r.left, r.top - 8, "Y", colour);
    s.text(r.left, r.bottom - 8, "O", colour);
    return 1;
}

} // extern "C"
