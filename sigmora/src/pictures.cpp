// pictures.cpp - a matrix drawn as an image: one matrix through a 256-colour scale, or three
// matrices as red, green and blue, resampled by three-point interpolation in both directions.
#include "sigmora.h"

#include "drawops.h"

#include <algorithm>
#include <new>
#include <vector>

using sigmora::Surface;
using sigmora::truncPixel;

namespace {

// Three-point Lagrange nodes and weights of one direction at position u over the nodes
// 0, 1, ..., n - 1: all nodes when n < 4, the first three up to node 1, the last three from
// node n - 2, otherwise the three round the nearer node of the interval holding u.
struct Stencil {
    int32_t first = 0;
    int32_t count = 0;
    double w[3] = {0, 0, 0};
};

Stencil stencil(double u, int32_t n) {
    Stencil st;
    if (n < 4) {
        st.first = 0;
        st.count = n;
    } else if (u <= 1.0) {
        st.first = 0;
        st.count = 3;
    } else if (u >= n - 2.0) {
        st.first = n - 3;
        st.count = 3;
    } else {
        const int32_t p = static_cast<int32_t>(u);
        st.first = (u - p >= (p + 1) - u) ? p : p - 1;
        st.count = 3;
    }
    for (int32_t a = 0; a < st.count; ++a) {
        double w = 1.0;
        for (int32_t b = 0; b < st.count; ++b)
            if (b != a)
                w *= (u - (st.first + b)) / static_cast<double>(a - b);
        st.w[a] = w;
    }
    return st;
}

// A matrix sampled at fractional (row, column) positions; rows and columns are separable, so
// the stencils of every picture row and column are worked out once.
class Resampler {
public:
    Resampler(int32_t nRows, int32_t nCols, int32_t width, int32_t height) : nCols_(nCols) {
        rows_.reserve(static_cast<size_t>(height));
        for (int32_t r = 0; r < height; ++r)
            rows_.push_back(stencil(static_cast<double>(r) / height * nRows, nRows));
        cols_.reserve(static_cast<size_t>(width));
        for (int32_t p = 0; p < width; ++p)
            cols_.push_back(stencil(static_cast<double>(p) / width * nCols, nCols));
    }
    // The value at picture row r (0 at the bottom) and column p.
    double at(const float *z, int32_t r, int32_t p) const {
        const Stencil &sr = rows_[static_cast<size_t>(r)], &sc = cols_[static_cast<size_t>(p)];
        double sum = 0.0;
        for (int32_t a = 0; a < sr.count; ++a) {
            const float *row = z + static_cast<int64_t>(sr.first + a) * nCols_;
            double w = 0.0;
            for (int32_t b = 0; b < sc.count; ++b)
                w += row[sc.first + b] * sc.w[b];
            sum += w * sr.w[a];
        }
        return sum;
    }

private:
    int32_t nCols_;
    std::vector<Stencil> rows_, cols_;
};

// Byte level of a value between the matrix's extremes; a flat matrix gives 0.
uint8_t level(double v, float lo, float hi) {
    const double range = static_cast<double>(hi) - lo;
    if (range <= 0.0)
        return 0;
    return static_cast<uint8_t>(std::clamp(truncPixel((v - lo) / range * 255.0), 0, 255));
}

bool pictureSizeOk(int32_t nRows, int32_t nCols, int32_t x, int32_t y, int32_t width, int32_t height) {
    return nRows >= 1 && nCols >= 1 && static_cast<int64_t>(nRows) * nCols <= sigmora::kMaxMatrixElements &&
           width >= 1 && height >= 1 && width <= SIGMORA_SURFACE_MAX_SIDE && height <= SIGMORA_SURFACE_MAX_SIDE &&
           static_cast<int64_t>(width) * height <= SIGMORA_SURFACE_MAX_PIXELS && sigmora::coordinateOk(x) &&
           sigmora::coordinateOk(y);
}

// The frame line left of and below the picture, and the letters.
void pictureAxes(const Surface &s, int32_t x, int32_t y, int32_t width, int32_t height) {
    s.pen(0);
    s.moveTo(x - 1, y);
    s.lineTo(x - 1, y + height + 1);
    s.lineTo(x + width, y + height + 1);
    s.text(x + width, y + height - 7, "X", 0);
    s.text(x, y - 7, "Y", 0);
    s.text(x, y + height, "O", 0);
}

size_t stride(int32_t width, int bytesPerPixel) {
    return (static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel) + 3) / 4 * 4;
}

int32_t picturize(SigmoraSurface *hdc, const float *z, int32_t nRows, int32_t nCols, int32_t palette, int32_t x,
                  int32_t y, int32_t width, int32_t height) {
    float lo, hi;
    if (!sigmora::finiteExtremes(z, static_cast<int64_t>(nRows) * nCols, lo, hi))
        return 0;
    const Resampler rs(nRows, nCols, width, height);
    const size_t rowBytes = stride(width, 1);
    std::vector<uint8_t> bits(rowBytes * static_cast<size_t>(height), 0);
    for (int32_t r = 0; r < height; ++r)
        for (int32_t p = 0; p < width; ++p)
            bits[static_cast<size_t>(r) * rowBytes + static_cast<size_t>(p)] = level(rs.at(z, r, p), lo, hi);
    uint32_t table[256];
    for (int32_t k = 0; k < 256; ++k)
        table[k] = ZAxisToLColor(k, palette);
    const Surface s(hdc);
    sigmora::SavedState saved(s);
    s.realizePalette(table, 256);
    const int32_t lines = s.bitmap(x, y, width, height, 8, bits.data(), table);
    pictureAxes(s, x, y, width, height);
    return lines > 0 ? 1 : 0;
}

int32_t picturizeRGB(SigmoraSurface *hdc, const float *const planes[3], int32_t nRows, int32_t nCols, int32_t x,
                     int32_t y, int32_t width, int32_t height) {
    float lo[3], hi[3];
    for (int c = 0; c < 3; ++c)
        if (!sigmora::finiteExtremes(planes[c], static_cast<int64_t>(nRows) * nCols, lo[c], hi[c]))
            return 0;
    const Resampler rs(nRows, nCols, width, height);
    const size_t rowBytes = stride(width, 3);
    std::vector<uint8_t> bits(rowBytes * static_cast<size_t>(height), 0);
    for (int32_t r = 0; r < height; ++r)
        for (int32_t p = 0; p < width; ++p) {
            uint8_t *px = &bits[static_cast<size_t>(r) * rowBytes + 3 * static_cast<size_t>(p)];
            // Bytes blue, green, red; planes are red, green, blue.
            for (int c = 0; c < 3; ++c)
                px[2 - c] = level(rs.at(planes[c], r, p), lo[c], hi[c]);
        }
    const Surface s(hdc);
    sigmora::SavedState saved(s);
    const int32_t lines = s.bitmap(x, y, width, height, 24, bits.data(), nullptr);
    pictureAxes(s, x, y, width, height);
    return lines > 0 ? 1 : 0;
}

} // namespace

extern "C" {

int32_t MatPicturize(SigmoraSurface *hdc, const float *z, int32_t nRows, int32_t nCols, int32_t palette, int32_t x,
                     int32_t y, int32_t width, int32_t height) {
    if (!hdc || !z || !pictureSizeOk(nRows, nCols, x, y, width, height))
        return 0;
    try {
        return picturize(hdc, z, nRows, nCols, palette, x, y, width, height);
    } catch (const std::bad_alloc &) {
        return 0;
    }
}

int32_t MatRGBPicturize(SigmoraSurface *hdc, const float *red, const float *green, const float *blue, int32_t nRows,
                        int32_t nCols, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!hdc || !red || !green || !blue || !pictureSizeOk(nRows, nCols, x, y, width, height))
        return 0;
    const float *const planes[3] = {red, green, blue};
    try {
        return picturizeRGB(hdc, planes, nRows, nCols, x, y, width, height);
    } catch (const std::bad_alloc &) {
        return 0;
    }
}

} // extern "C"
