// Inverse, determinant, transpose and Cholesky solver on row-major float matrices.
#include "mathcore/matrix.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "matrix_kernels.h"

namespace mathcore {

namespace {

using Index = std::int64_t;

// Pivot magnitudes at or below this are negligible for a matrix of the given scale; NaN
// scales make every pivot negligible.
double pivot_tolerance(float scale, std::int32_t n) {
    if (!std::isfinite(scale)) return INFINITY;
    return kPivotTolerance * n * scale;
}

bool negligible(float pivot_magnitude, double tolerance) {
    return !(pivot_magnitude > tolerance) || pivot_magnitude < FLT_MIN;
}

// Largest magnitude of rows r0.. of the submatrix from column c0: the first element of the
// largest magnitude in row-major order, given each row's maximum over those columns.
struct Pivot {
    Index row, col;
    float magnitude;
};

Pivot pick_pivot(const float *a, Index n, Index r0, Index c0, const std::vector<float> &rowmax) {
    Index best = r0;
    for (Index i = r0 + 1; i < n; ++i)
        if (rowmax[i] > rowmax[best]) best = i;
    const float *row = a + best * n;
    for (Index j = c0; j < n; ++j)
        if (std::fabs(row[j]) == rowmax[best]) return {best, j, rowmax[best]};
    return {best, c0, rowmax[best]};  // only with a NaN in the row; the result check catches it
}

float row_max(const float *row, Index from, Index to) {
    float best = 0.0f;
    for (Index j = from; j < to; ++j) {
        const float v = std::fabs(row[j]);
        if (v > best) best = v;
    }
    return best;
}

void swap_rows(float *a, Index cols, Index r1, Index r2, Index from, Index to) {
    float *x = a + r1 * cols;
    float *y = a + r2 * cols;
    for (Index j = from; j < to; ++j) std::swap(x[j], y[j]);
}

void swap_cols(float *a, Index cols, Index c1, Index c2, Index from, Index to) {
    for (Index i = from; i < to; ++i) std::swap(a[i * cols + c1], a[i * cols + c2]);
}

bool all_finite(const float *a, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (!std::isfinite(a[i])) return false;
    return true;
}

}  // namespace

float max_abs(const float *a, std::size_t n) {
    float best = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        const float v = std::fabs(a[i]);
        if (!(v <= best)) best = v;  // NaN sticks
        if (std::isnan(best)) return best;
    }
    return best;
}

bool invert_inplace(float *a, std::int32_t n32, std::int32_t *prow, std::int32_t *pcol) {
    const Index n = n32;
    const auto axpy = detail::best_axpy();
    const auto axpy_max = detail::best_axpy_max();
    const double tol = pivot_tolerance(max_abs(a, static_cast<std::size_t>(n * n)), n32);
    std::vector<float> rowmax(static_cast<std::size_t>(n));
    for (Index i = 0; i < n; ++i) rowmax[i] = row_max(a + i * n, 0, n);
    for (Index k = 0; k < n; ++k) {
        const Pivot p = pick_pivot(a, n, k, k, rowmax);
        if (negligible(p.magnitude, tol)) return false;
        prow[k] = static_cast<std::int32_t>(p.row);
        pcol[k] = static_cast<std::int32_t>(p.col);
        if (p.row != k) swap_rows(a, n, k, p.row, 0, n);
        if (p.col != k) swap_cols(a, n, k, p.col, 0, n);
        float *rk = a + k * n;
        const float r = 1.0f / rk[k];
        rk[k] = r;
        for (Index j = 0; j < n; ++j)
            if (j != k) rk[j] *= r;
        for (Index i = 0; i < n; ++i) {
            if (i == k) continue;
            float *ri = a + i * n;
            const float f = ri[k];
            if (f != 0.0f) {
                axpy(ri, rk, f, static_cast<std::size_t>(k));
                if (i > k)
                    rowmax[i] = axpy_max(ri + k + 1, rk + k + 1, f, static_cast<std::size_t>(n - k - 1));
                else
                    axpy(ri + k + 1, rk + k + 1, f, static_cast<std::size_t>(n - k - 1));
            } else if (i > k) {
                rowmax[i] = row_max(ri, k + 1, n);
            }
            ri[k] = -f * r;
        }
    }
    for (Index k = n - 1; k >= 0; --k) {
        if (pcol[k] != k) swap_rows(a, n, k, pcol[k], 0, n);
        if (prow[k] != k) swap_cols(a, n, k, prow[k], 0, n);
    }
    return all_finite(a, static_cast<std::size_t>(n * n));
}

double determinant_inplace(float *a, std::int32_t n32) {
    const Index n = n32;
    if (n == 1) return a[0];
    const auto axpy_max = detail::best_axpy_max();
    const double tol = pivot_tolerance(max_abs(a, static_cast<std::size_t>(n * n)), n32);
    std::vector<float> rowmax(static_cast<std::size_t>(n));
    for (Index i = 0; i < n; ++i) rowmax[i] = row_max(a + i * n, 0, n);
    double sign = 1.0, product = 1.0;
    for (Index k = 0; k < n - 1; ++k) {
        const Pivot p = pick_pivot(a, n, k, k, rowmax);
        if (negligible(p.magnitude, tol)) return 0.0;
        if (p.row != k) {
            swap_rows(a, n, k, p.row, k, n);
            sign = -sign;
        }
        if (p.col != k) {
            swap_cols(a, n, k, p.col, k, n);
            sign = -sign;
        }
        const float *rk = a + k * n;
        product *= rk[k];
        for (Index i = k + 1; i < n; ++i) {
            float *ri = a + i * n;
            const float d = static_cast<float>(static_cast<double>(ri[k]) / rk[k]);
            rowmax[i] = axpy_max(ri + k + 1, rk + k + 1, d, static_cast<std::size_t>(n - k - 1));
        }
    }
    const float last = a[(n - 1) * n + n - 1];
    if (negligible(std::fabs(last), tol)) return 0.0;
    const double det = sign * product * last;
    return std::isfinite(det) ? det : 0.0;
}

void transpose(float *a, std::int32_t rows, std::int32_t cols, float *t) {
    const Index r = rows, c = cols;
    for (Index i = 0; i < r; ++i)
        for (Index j = 0; j < c; ++j) t[j * r + i] = a[i * c + j];
    for (Index i = 0; i < r * c; ++i) a[i] = t[i];
}

bool cholesky_solve(float *a, std::int32_t n32, float *d, std::int32_t m32) {
    const Index n = n32, m = m32;
    float diag_scale = 0.0f;
    for (Index i = 0; i < n; ++i) diag_scale = std::fmax(diag_scale, std::fabs(a[i * n + i]));
    const double tol = pivot_tolerance(diag_scale, n32);
    for (Index i = 0; i < n; ++i) {
        double s = a[i * n + i];
        for (Index k = 0; k < i; ++k) s -= static_cast<double>(a[k * n + i]) * a[k * n + i];
        if (!(s > tol) || !std::isfinite(s)) return false;
        const float uii = static_cast<float>(std::sqrt(s));
        a[i * n + i] = uii;
        for (Index j = i + 1; j < n; ++j) {
            double t = a[i * n + j];
            for (Index k = 0; k < i; ++k) t -= static_cast<double>(a[k * n + i]) * a[k * n + j];
            a[i * n + j] = static_cast<float>(t / uii);
        }
    }
    for (Index c = 0; c < m; ++c) {
        for (Index i = 0; i < n; ++i) {  // U^T y = d
            double s = d[i * m + c];
            for (Index k = 0; k < i; ++k) s -= static_cast<double>(a[k * n + i]) * d[k * m + c];
            d[i * m + c] = static_cast<float>(s / a[i * n + i]);
        }
        for (Index i = n - 1; i >= 0; --i) {  // U x = y
            double s = d[i * m + c];
            for (Index k = i + 1; k < n; ++k) s -= static_cast<double>(a[i * n + k]) * d[k * m + c];
            d[i * m + c] = static_cast<float>(s / a[i * n + i]);
        }
    }
    return true;
}

}  // namespace mathcore
