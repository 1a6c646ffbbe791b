// interpolation.cpp - three-point interpolation of a 2-D table and bilinear resampling of a grid.
#include "sigmora.h"

#include <cmath>
#include <cstddef>
#include <limits>

namespace {

// The nodes of one direction that a three-point interpolation at u uses: `count` consecutive
// nodes from `first` (all nodes when there are fewer than 4).
struct NodeWindow {
    int32_t first;
    int32_t count;
};

NodeWindow threePointWindow(const float *x, int32_t n, float u) {
    if (n < 4)
        return {0, n};
    if (u <= x[1])
        return {0, 3};
    if (u >= x[n - 2])
        return {n - 3, 3};
    // Bisection for x[p] <= u < x[p + 1], 1 <= p <= n - 3.
    int32_t lo = 1, hi = n - 2;
    while (hi - lo > 1) {
        int32_t mid = lo + (hi - lo) / 2;
        if (x[mid] <= u)
            lo = mid;
        else
            hi = mid;
    }
    int32_t p = lo;
    bool nearerNext = (u - x[p]) >= (x[p + 1] - u);
    return {nearerNext ? p : p - 1, 3};
}

// Lagrange weights of the window's nodes at u; false when two nodes share an abscissa.
bool lagrangeWeights(const float *x, NodeWindow w, float u, double *weight) {
    for (int32_t a = 0; a < w.count; ++a) {
        double l = 1.0;
        double xa = x[w.first + a];
        for (int32_t b = 0; b < w.count; ++b) {
            if (b == a)
                continue;
            double xb = x[w.first + b];
            if (xa == xb)
                return false;
            l *= (static_cast<double>(u) - xb) / (xa - xb);
        }
        weight[a] = l;
    }
    return true;
}

} // namespace

extern "C" {

SIGMORA_API float Inter2DESpace(const float *x, const float *y, const float *z, int32_t nx,
                                int32_t ny, float u, float v) {
    if (!x || !y || !z || nx < 1 || ny < 1)
        return 0.0f;
    NodeWindow wx = threePointWindow(x, nx, u);
    NodeWindow wy = threePointWindow(y, ny, v);
    double lx[3], ly[3];
    if (!lagrangeWeights(x, wx, u, lx) || !lagrangeWeights(y, wy, v, ly))
        return std::numeric_limits<float>::quiet_NaN();
    double sum = 0.0;
    for (int32_t a = 0; a < wx.count; ++a) {
        const float *row = z + static_cast<std::size_t>(wx.first + a) * static_cast<std::size_t>(ny);
        double w = 0.0;
        for (int32_t b = 0; b < wy.count; ++b)
            w += row[wy.first + b] * ly[b];
        sum += w * lx[a];
    }
    return static_cast<float>(sum);
}

SIGMORA_API int32_t FastInter2D(const float *src, int32_t rows, int32_t cols, float *dst,
                                int32_t outRows, int32_t outCols) {
    if (rows < 2 || cols < 2 || outRows < 0 || outCols < 0 || !src || (!dst && outRows && outCols))
        return 0;
    if (outRows == 0 || outCols == 0)
        return 1;
    const float sr = static_cast<float>(rows - 1) / static_cast<float>(outRows);
    const float sc = static_cast<float>(cols - 1) / static_cast<float>(outCols);
    const std::size_t stride = static_cast<std::size_t>(cols);
    for (int32_t i = 0; i < outRows; ++i) {
        float r = static_cast<float>(i) * sr;
        // Rounding of the step can carry the last row onto the source's last row; the cell
        // below it does not exist, so that row is taken as the end of the cell above.
        int32_t r0 = static_cast<int32_t>(r);
        if (r0 > rows - 2)
            r0 = rows - 2;
        float fr = r - static_cast<float>(r0);
        const float *s0 = src + static_cast<std::size_t>(r0) * stride;
        const float *s1 = s0 + stride;
        float *out = dst + static_cast<std::size_t>(i) * static_cast<std::size_t>(outCols);
        for (int32_t j = 0; j < outCols; ++j) {
            float c = static_cast<float>(j) * sc;
            int32_t c0 = static_cast<int32_t>(c);
            if (c0 > cols - 2)
                c0 = cols - 2;
            float fc = c - static_cast<float>(c0);
            float a = s0[c0] + (s1[c0] - s0[c0]) * fr;
            float b = s0[c0 + 1] + (s1[c0 + 1] - s0[c0 + 1]) * fr;
            out[j] = a + (b - a) * fc;
        }
    }
    return 1;
}

} // extern "C"
