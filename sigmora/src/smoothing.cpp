// smoothing.cpp - Savitzky-Golay smoothing by a fixed integer table (SmoothData) and by a moving
// least-squares polynomial of any degree (SGSmoother).
#include "sigmora.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

namespace {

// ---- SmoothData ----------------------------------------------------------------------------

struct WeightRow {
    int points;
    float weights[13];
    float divisor;
};

// [type][m - 1]: smoothing, first derivative, second derivative; 5, 7, 9, 11, 13 points.
const WeightRow kTables[3][5] = {
    {{5, {-3, 12, 17, 12, -3}, 35},
     {7, {-2, 3, 6, 7, 6, 3, -2}, 21},
     {9, {-21, 14, 39, 54, 59, 54, 39, 14, -21}, 231},
     {11, {-36, 9, 44, 69, 84, 89, 84, 69, 44, 9, -36}, 429},
     {13, {-11, 0, 9, 16, 21, 24, 25, 24, 21, 16, 9, 0, -11}, 143}},
    {{5, {-2, -1, 0, 1, 2}, 10},
     {7, {-3, -2, -1, 0, 1, 2, 3}, 28},
     {9, {-4, -3, -2, -1, 0, 1, 2, 3, 4}, 60},
     {11, {-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5}, 110},
     {13, {-6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6}, 182}},
    {{5, {2, -1, -2, -1, 2}, 7},
     {7, {5, 0, -3, -4, -3, 0, 5}, 42},
     {9, {28, 7, -8, -17, -20, -17, -8, 7, 28}, 462},
     {11, {15, 6, -1, -6, -9, -10, -9, -6, -1, 6, 15}, 429},
     {13, {22, 11, 2, -5, -10, -13, -14, -13, -10, -5, 2, 11, 22}, 1001}},
};

// y[i] for i = h .. n - h - 1: the window sum in window order, each term added to a float
// running sum, then divided. The window length is a template argument so the taps unroll and
// neighbouring outputs are summed side by side (each still sees its terms in the same order).
template <int Points>
void smoothInterior(const float *x, int32_t n, const WeightRow &row, float *y) {
    const int32_t h = Points / 2;
    float w[Points];
    std::copy(row.weights, row.weights + Points, w);
    const float divisor = row.divisor;
    for (int32_t i = h; i < n - h; ++i) {
        const float *window = x + i - h;
        float s = 0.0f;
        for (int k = 0; k < Points; ++k) s = s + w[k] * window[k];
        y[i] = s / divisor;
    }
}

void smoothInterior(const float *x, int32_t n, const WeightRow &row, float *y) {
    switch (row.points) {
        case 5: return smoothInterior<5>(x, n, row, y);
        case 7: return smoothInterior<7>(x, n, row, y);
        case 9: return smoothInterior<9>(x, n, row, y);
        case 11: return smoothInterior<11>(x, n, row, y);
        default: return smoothInterior<13>(x, n, row, y);
    }
}

// ---- SGSmoother ----------------------------------------------------------------------------

// Largest fit SGSmoother takes: a window of 2^24 points, a design matrix of 2^24 entries and a
// QR cost (window x coefficients^2) of 2^30; a larger one is refused like missing work memory.
const int64_t kMaxWindow = int64_t(1) << 24;
const int64_t kMaxQRCost = int64_t(1) << 30;
const int64_t kBlock = 512;

// Householder QR of the w x p design matrix (column-major, double, in place). v keeps the
// reflection vectors below and on the diagonal, rdiag the diagonal of R. False when the fit is
// impossible: w < p, or a column whose remaining norm sigma gives 1 + |sigma| == 1.
bool householderQR(double *A, int64_t w, int64_t p, double *rdiag) {
    if (w < p) return false;
    for (int64_t j = 0; j < p; ++j) {
        double *col = A + j * w;
        double norm = 0.0;
        for (int64_t r = j; r < w; ++r) norm += col[r] * col[r];
        const double sigma = std::copysign(std::sqrt(norm), col[j]);
        if (1.0 + std::fabs(sigma) == 1.0) return false;
        // v = col[j..] + sigma e_j, H = I - v v^T / (sigma v_j); R[j][j] = -sigma.
        col[j] += sigma;
        const double vj = col[j];
        rdiag[j] = -sigma;
        for (int64_t c = j + 1; c < p; ++c) {
            double *other = A + c * w;
            double dot = 0.0;
            for (int64_t r = j; r < w; ++r) dot += col[r] * other[r];
            const double f = dot / (sigma * vj);
            for (int64_t r = j; r < w; ++r) other[r] -= f * col[r];
        }
    }
    return true;
}

// Weights c with a[0] = sum c[r] window[r] for the least-squares fit: c = Q [R^-T e0; 0].
void centreWeights(const double *A, int64_t w, int64_t p, const double *rdiag, double *c) {
    std::fill(c, c + w, 0.0);
    // z = R^-T e0 (R's strict upper part lies above the diagonal of A).
    for (int64_t i = 0; i < p; ++i) {
        double s = i == 0 ? 1.0 : 0.0;
        for (int64_t k = 0; k < i; ++k) s -= A[i * w + k] * c[k];
        c[i] = s / rdiag[i];
    }
    // Apply H_{p-1} first, then down to H_0.
    for (int64_t j = p - 1; j >= 0; --j) {
        const double *v = A + j * w;
        const double sigmaVj = -rdiag[j] * v[j];
        double dot = 0.0;
        for (int64_t r = j; r < w; ++r) dot += v[r] * c[r];
        const double f = dot / sigmaVj;
        for (int64_t r = j; r < w; ++r) c[r] -= f * v[r];
    }
}

// Fills the design matrix: row r holds t^c, t = r - half, stored as floats (0^0 = 1).
void fillDesign(double *A, int64_t w, int64_t p, int64_t half) {
    for (int64_t r = 0; r < w; ++r) {
        const double t = static_cast<double>(r - half);
        double power = 1.0;
        for (int64_t c = 0; c < p; ++c) {
            A[c * w + r] = static_cast<float>(power);
            power *= t;
        }
    }
}

// x[i] = sum_r c[r] src[clamp(i - half + r)] for every i; src is the unsmoothed copy.
void applyWeights(const float *src, int32_t n, const double *c, int64_t w, int64_t half, float *x) {
    const int64_t interiorBegin = std::min<int64_t>(half, n);
    const int64_t interiorEnd = std::max<int64_t>(n - half, interiorBegin);
    auto clamped = [&](int64_t i) {
        double s = 0.0;
        for (int64_t r = 0; r < w; ++r) s += c[r] * src[std::clamp<int64_t>(i - half + r, 0, n - 1)];
        x[i] = static_cast<float>(s);
    };
    for (int64_t i = 0; i < interiorBegin; ++i) clamped(i);
    double acc[kBlock];
    for (int64_t first = interiorBegin; first < interiorEnd; first += kBlock) {
        const int64_t count = std::min<int64_t>(kBlock, interiorEnd - first);
        std::fill(acc, acc + count, 0.0);
        for (int64_t r = 0; r < w; ++r) {
            const double cr = c[r];
            const float *s = src + first - half + r;
            for (int64_t j = 0; j < count; ++j) acc[j] += cr * s[j];
        }
        for (int64_t j = 0; j < count; ++j) x[first + j] = static_cast<float>(acc[j]);
    }
    for (int64_t i = interiorEnd; i < n; ++i) clamped(i);
}

// Leaves at positions k1 and k2 of v[lo .. hi] the values the family's quicksort would put
// there: it runs the same partition steps (middle pivot, plain less-than) on every part that
// holds k1 or k2 and skips the others. The parts of a quicksort are sorted independently, so
// the skipped work cannot change those two positions, NaNs and ties included; the cost is
// linear on average instead of n log n.
void selectAsSorted(float *v, std::ptrdiff_t lo, std::ptrdiff_t hi, std::ptrdiff_t k1, std::ptrdiff_t k2) {
    auto holds = [&](std::ptrdiff_t a, std::ptrdiff_t b) {
        return (k1 >= a && k1 <= b) || (k2 >= a && k2 <= b);
    };
    while (lo < hi) {
        const float pivot = v[(lo + hi) / 2];
        std::ptrdiff_t i = lo, j = hi;
        do {
            while (v[i] < pivot && i < hi) ++i;
            while (pivot < v[j] && j > lo) --j;
            if (i <= j) {
                std::swap(v[i], v[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        const bool left = lo < j && holds(lo, j), right = i < hi && holds(i, hi);
        if (left && right) {
            selectAsSorted(v, lo, j, k1, k2);  // the two positions part here, once
            lo = i;
        } else if (left) {
            hi = j;
        } else if (right) {
            lo = i;
        } else {
            return;
        }
    }
}

// Median of the n values in v (v is reordered): the middle value of the ascending order, or the
// mean of the two middle values.
float medianOf(float *v, int32_t n) {
    const std::ptrdiff_t hi = n / 2, lo = n % 2 != 0 ? hi : hi - 1;
    selectAsSorted(v, 0, n - 1, lo, hi);
    if (n % 2 != 0) return v[hi];
    return (v[lo] + v[hi]) * 0.5f;
}

}  // namespace

extern "C" {

void SmoothData(const float *x, int32_t n, int32_t m, int32_t type, float *y) {
    if (m < 1 || m > 5 || type < 0 || type > 2 || !x || !y || n < 1) return;
    const WeightRow &row = kTables[type][m - 1];
    const int32_t h = m + 1;
    if (n < 2 * h + 1) {
        std::fill(y, y + n, 0.0f);
        return;
    }
    smoothInterior(x, n, row, y);  // every output is written: the interior here, the edges below
    std::fill(y, y + h, y[h]);
    std::fill(y + n - h, y + n, y[n - h - 1]);
}

int16_t SGSmoother(float *x, int32_t n, int32_t nLeftRight, int32_t ord) {
    if (!x || n < 1 || nLeftRight < 0 || ord < 0) return 1;
    const int64_t half = nLeftRight, w = 2 * half + 1, p = int64_t(ord) + 1;
    if (w < p) return 1;  // the fit is impossible: every sample keeps its value
    if (w > kMaxWindow || w * p > kMaxWindow || w * p * p > kMaxQRCost) return 0;
    std::unique_ptr<double[]> design(new (std::nothrow) double[static_cast<size_t>(w * p)]);
    std::unique_ptr<double[]> weights(new (std::nothrow) double[static_cast<size_t>(w + p)]);
    std::unique_ptr<float[]> src(new (std::nothrow) float[static_cast<size_t>(n)]);
    if (!design || !weights || !src) return 0;
    fillDesign(design.get(), w, p, half);
    double *rdiag = weights.get() + w;
    if (!householderQR(design.get(), w, p, rdiag)) return 1;
    centreWeights(design.get(), w, p, rdiag, weights.get());
    std::copy(x, x + n, src.get());
    applyWeights(src.get(), n, weights.get(), w, half, x);
    return 1;
}

float FindMedian(const float *x, int32_t n) {
    if (!x || n < 1) return 0.0f;
    float local[100];
    std::unique_ptr<float[]> heap;
    float *copy = local;
    if (n > 100) {
        heap.reset(new (std::nothrow) float[static_cast<size_t>(n)]);
        if (!heap) return 0.0f;
        copy = heap.get();
    }
    std::copy(x, x + n, copy);
    return medianOf(copy, n);
}

}  // extern "C"
