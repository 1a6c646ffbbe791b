// Linear systems (five methods), polynomial roots and linear programming.
#include "matrix_internal.h"

#include "numora.h"
#include "state.h"

#include "mathcore/matrix.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace numora {

namespace {

using Index = std::int64_t;

// Scratch copy of the system: A (m x n) followed by b (m), as the elimination methods use it.
struct System {
    float *a;
    float *b;
    Index m, n;
};

float magnitude(float v) {
    return std::fabs(v);
}

bool negligible(double pivot, double tol) {
    return !(pivot > tol) || pivot < FLT_MIN;
}

double pivotTolerance(const float *a, Index count, Index n) {
    const float scale = mathcore::max_abs(a, static_cast<std::size_t>(count));
    return std::isfinite(scale) ? mathcore::kPivotTolerance * static_cast<double>(n) * scale : INFINITY;
}

// First element of largest magnitude in rows r0.. and columns r0.. (row-major order).
void findPivot(const float *a, Index n, Index r0, const std::vector<float> &rowmax, Index &prow,
               Index &pcol) {
    prow = r0;
    for (Index i = r0 + 1; i < n; ++i)
        if (rowmax[i] > rowmax[prow]) prow = i;
    pcol = r0;
    for (Index j = r0; j < n; ++j)
        if (magnitude(a[prow * n + j]) == rowmax[prow]) {
            pcol = j;
            break;
        }
}

float rowMax(const float *row, Index from, Index to) {
    float best = 0.0f;
    for (Index j = from; j < to; ++j) best = std::max(best, magnitude(row[j]));
    return best;
}

void swapColumns(float *a, Index n, Index c1, Index c2) {
    for (Index i = 0; i < n; ++i) std::swap(a[i * n + c1], a[i * n + c2]);
}

bool allFinite(const float *x, Index n) {
    for (Index i = 0; i < n; ++i)
        if (!std::isfinite(x[i])) return false;
    return true;
}

// Gaussian elimination with full pivoting and back substitution; x receives the solution.
bool solveGauss(System s, float *x) {
    const Index n = s.n;
    float *a = s.a;
    float *b = s.b;
    const double tol = pivotTolerance(a, n * n, n);
    std::vector<Index> perm(static_cast<std::size_t>(n));
    std::vector<float> rowmax(static_cast<std::size_t>(n));
    for (Index i = 0; i < n; ++i) rowmax[i] = rowMax(a + i * n, 0, n);
    for (Index k = 0; k < n; ++k) {
        Index pr, pc;
        findPivot(a, n, k, rowmax, pr, pc);
        if (negligible(rowmax[pr], tol)) return false;
        perm[k] = pc;
        if (pc != k) swapColumns(a, n, k, pc);
        if (pr != k) {
            std::swap_ranges(a + k * n + k, a + k * n + n, a + pr * n + k);
            std::swap(b[k], b[pr]);
        }
        float *rk = a + k * n;
        const float pivot = rk[k];
        for (Index j = k + 1; j < n; ++j) rk[j] /= pivot;
        b[k] /= pivot;
        for (Index i = k + 1; i < n; ++i) {
            float *ri = a + i * n;
            const float f = ri[k];
            rowmax[i] =
                mathcore::row_update_max(ri + k + 1, rk + k + 1, f, static_cast<std::size_t>(n - k - 1));
            b[i] -= f * b[k];
        }
    }
    for (Index i = n - 1; i >= 0; --i) {
        double t = b[i];
        for (Index j = i + 1; j < n; ++j) t -= static_cast<double>(a[i * n + j]) * b[j];
        b[i] = static_cast<float>(t);
    }
    for (Index k = n - 1; k >= 0; --k) std::swap(b[k], b[perm[k]]);
    if (!allFinite(b, n)) return false;
    std::memcpy(x, b, sizeof(float) * static_cast<std::size_t>(n));
    return true;
}

// Gauss-Jordan elimination with full pivoting; sparse skips zero elements of the pivot row,
// of the pivot column and of b (same result, less work on sparse systems).
bool solveGaussJordan(System s, float *x, bool sparse) {
    const Index n = s.n;
    float *a = s.a;
    float *b = s.b;
    const double tol = pivotTolerance(a, n * n, n);
    std::vector<Index> perm(static_cast<std::size_t>(n)), nonzero;
    std::vector<float> rowmax(static_cast<std::size_t>(n));
    for (Index i = 0; i < n; ++i) rowmax[i] = rowMax(a + i * n, 0, n);
    for (Index k = 0; k < n; ++k) {
        Index pr, pc;
        findPivot(a, n, k, rowmax, pr, pc);
        if (negligible(rowmax[pr], tol)) return false;
        perm[k] = pc;
        if (pr != k) {
            std::swap_ranges(a + k * n + k, a + k * n + n, a + pr * n + k);
            std::swap(b[k], b[pr]);
        }
        if (pc != k) swapColumns(a, n, k, pc);
        float *rk = a + k * n;
        const float pivot = rk[k];
        nonzero.clear();
        for (Index j = k + 1; j < n; ++j)
            if (!sparse || rk[j] != 0.0f) {
                rk[j] /= pivot;
                nonzero.push_back(j);
            }
        if (!sparse || b[k] != 0.0f) b[k] /= pivot;
        for (Index i = 0; i < n; ++i) {
            if (i == k) continue;
            float *ri = a + i * n;
            const float f = ri[k];
            if (sparse) {
                if (f != 0.0f) {
                    for (Index j : nonzero) ri[j] -= f * rk[j];
                    if (b[k] != 0.0f) b[i] -= f * b[k];
                }
                if (i > k) rowmax[i] = rowMax(ri, k + 1, n);
                continue;
            }
            if (i > k)
                rowmax[i] =
                    mathcore::row_update_max(ri + k + 1, rk + k + 1, f, static_cast<std::size_t>(n - k - 1));
            else
                mathcore::row_update(ri + k + 1, rk + k + 1, f, static_cast<std::size_t>(n - k - 1));
            b[i] -= f * b[k];
        }
    }
    for (Index k = n - 1; k >= 0; --k) std::swap(b[k], b[perm[k]]);
    if (!allFinite(b, n)) return false;
    std::memcpy(x, b, sizeof(float) * static_cast<std::size_t>(n));
    return true;
}

// Least squares by Householder QR (m >= n). The reflections are applied to b as they are
// made, which gives Q^T b without forming the m x m matrix Q. Every diagonal element of R,
// the last one included, must be non-negligible.
int32_t solveQR(const float *a0, const float *b0, Index m, Index n, float *x) {
    auto work = workArray<double>(static_cast<std::size_t>((n + 1) * m + m));
    if (!work) {
        setError(NUMORA_ERR_ALLOC);
        return 0;
    }
    double *a = work.get();
    double *b = a + n * m;
    double *v = b + m;
    for (Index i = 0; i < m * n; ++i) a[i] = a0[i];
    for (Index i = 0; i < m; ++i) b[i] = b0[i];
    const double tol = pivotTolerance(a0, m * n, std::max(m, n));
    for (Index k = 0; k < n; ++k) {
        double scale = 0.0;
        for (Index i = k; i < m; ++i) scale = std::max(scale, std::fabs(a[i * n + k]));
        if (negligible(scale, tol)) {
            setError(NUMORA_ERR_QR);
            return 0;
        }
        if (k == m - 1) break;  // a square system's last column needs no reflection
        double sum = 0.0;
        for (Index i = k; i < m; ++i) {
            v[i] = a[i * n + k] / scale;
            sum += v[i] * v[i];
        }
        const double alpha = std::copysign(std::sqrt(sum), v[k]);
        v[k] += alpha;
        const double beta = alpha * v[k];  // v^T v / 2
        for (Index j = k; j < n; ++j) {
            double t = 0.0;
            for (Index i = k; i < m; ++i) t += v[i] * a[i * n + j];
            t /= beta;
            for (Index i = k; i < m; ++i) a[i * n + j] -= t * v[i];
        }
        double t = 0.0;
        for (Index i = k; i < m; ++i) t += v[i] * b[i];
        t /= beta;
        for (Index i = k; i < m; ++i) b[i] -= t * v[i];
    }
    for (Index i = n - 1; i >= 0; --i) {
        if (negligible(std::fabs(a[i * n + i]), tol)) {
            setError(NUMORA_ERR_QR);
            return 0;
        }
        double t = b[i];
        for (Index j = i + 1; j < n; ++j) t -= a[i * n + j] * b[j];
        b[i] = t / a[i * n + i];
    }
    for (Index i = 0; i < n; ++i)
        if (!std::isfinite(static_cast<float>(b[i]))) {
            setError(NUMORA_ERR_QR);
            return 0;
        }
    for (Index i = 0; i < n; ++i) x[i] = static_cast<float>(b[i]);
    return 1;
}

double pythag(double a, double b) {
    return std::hypot(a, b);
}

// Golub-Reinsch singular value decomposition of the m x n matrix a (m >= n): a becomes U
// (m x n), w the singular values, v (n x n) the right vectors. A superdiagonal element counts
// as zero at eps times the norm of the bidiagonal form; at most limit iterations per value.
bool svd(double *a, Index m, Index n, double *w, double *v, double *rv1, double eps, int limit) {
    auto A = [a, n](Index i, Index j) -> double & { return a[i * n + j]; };
    auto V = [v, n](Index i, Index j) -> double & { return v[i * n + j]; };
    double g = 0.0, scale = 0.0, anorm = 0.0;
    Index l = 0;
    for (Index i = 0; i < n; ++i) {
        l = i + 1;
        rv1[i] = scale * g;
        g = scale = 0.0;
        double s = 0.0;
        for (Index k = i; k < m; ++k) scale += std::fabs(A(k, i));
        if (scale != 0.0) {
            for (Index k = i; k < m; ++k) {
                A(k, i) /= scale;
                s += A(k, i) * A(k, i);
            }
            const double f = A(i, i);
            g = -std::copysign(std::sqrt(s), f);
            const double h = f * g - s;
            A(i, i) = f - g;
            for (Index j = l; j < n; ++j) {
                double t = 0.0;
                for (Index k = i; k < m; ++k) t += A(k, i) * A(k, j);
                const double ff = t / h;
                for (Index k = i; k < m; ++k) A(k, j) += ff * A(k, i);
            }
            for (Index k = i; k < m; ++k) A(k, i) *= scale;
        }
        w[i] = scale * g;
        g = s = scale = 0.0;
        if (i != n - 1) {
            for (Index k = l; k < n; ++k) scale += std::fabs(A(i, k));
            if (scale != 0.0) {
                for (Index k = l; k < n; ++k) {
                    A(i, k) /= scale;
                    s += A(i, k) * A(i, k);
                }
                const double f = A(i, l);
                g = -std::copysign(std::sqrt(s), f);
                const double h = f * g - s;
                A(i, l) = f - g;
                for (Index k = l; k < n; ++k) rv1[k] = A(i, k) / h;
                for (Index j = l; j < m; ++j) {
                    double t = 0.0;
                    for (Index k = l; k < n; ++k) t += A(j, k) * A(i, k);
                    for (Index k = l; k < n; ++k) A(j, k) += t * rv1[k];
                }
                for (Index k = l; k < n; ++k) A(i, k) *= scale;
            }
        }
        anorm = std::max(anorm, std::fabs(w[i]) + std::fabs(rv1[i]));
    }
    for (Index i = n - 1; i >= 0; --i) {
        if (i < n - 1) {
            if (g != 0.0) {
                for (Index j = l; j < n; ++j) V(j, i) = (A(i, j) / A(i, l)) / g;
                for (Index j = l; j < n; ++j) {
                    double t = 0.0;
                    for (Index k = l; k < n; ++k) t += A(i, k) * V(k, j);
                    for (Index k = l; k < n; ++k) V(k, j) += t * V(k, i);
                }
            }
            for (Index j = l; j < n; ++j) V(i, j) = V(j, i) = 0.0;
        }
        V(i, i) = 1.0;
        g = rv1[i];
        l = i;
    }
    for (Index i = n - 1; i >= 0; --i) {
        l = i + 1;
        g = w[i];
        for (Index j = l; j < n; ++j) A(i, j) = 0.0;
        if (g != 0.0) {
            g = 1.0 / g;
            for (Index j = l; j < n; ++j) {
                double t = 0.0;
                for (Index k = l; k < m; ++k) t += A(k, i) * A(k, j);
                const double f = (t / A(i, i)) * g;
                for (Index k = i; k < m; ++k) A(k, j) += f * A(k, i);
            }
            for (Index j = i; j < m; ++j) A(j, i) *= g;
        } else {
            for (Index j = i; j < m; ++j) A(j, i) = 0.0;
        }
        A(i, i) += 1.0;
    }
    const double tol = eps * anorm;
    for (Index k = n - 1; k >= 0; --k) {
        for (int its = 1;; ++its) {
            bool flag = true;
            Index nm = 0;
            for (l = k; l >= 0; --l) {
                nm = l - 1;
                if (std::fabs(rv1[l]) <= tol || l == 0) {
                    flag = false;
                    break;
                }
                if (std::fabs(w[nm]) <= tol) break;
            }
            if (flag) {
                double c = 0.0, s = 1.0;
                for (Index i = l; i <= k; ++i) {
                    const double f = s * rv1[i];
                    rv1[i] = c * rv1[i];
                    if (std::fabs(f) <= tol) break;
                    g = w[i];
                    double h = pythag(f, g);
                    w[i] = h;
                    h = 1.0 / h;
                    c = g * h;
                    s = -f * h;
                    for (Index j = 0; j < m; ++j) {
                        const double y = A(j, nm), z = A(j, i);
                        A(j, nm) = y * c + z * s;
                        A(j, i) = z * c - y * s;
                    }
                }
            }
            double z = w[k];
            if (l == k) {
                if (z < 0.0) {
                    w[k] = -z;
                    for (Index j = 0; j < n; ++j) V(j, k) = -V(j, k);
                }
                break;
            }
            if (its > limit) return false;
            double x = w[l];
            nm = k - 1;
            double y = w[nm];
            g = rv1[nm];
            double h = rv1[k];
            double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
            g = pythag(f, 1.0);
            f = ((x - z) * (x + z) + h * ((y / (f + std::copysign(g, f))) - h)) / x;
            double c = 1.0, s = 1.0;
            for (Index j = l; j <= nm; ++j) {
                const Index i = j + 1;
                g = rv1[i];
                y = w[i];
                h = s * g;
                g = c * g;
                z = pythag(f, h);
                rv1[j] = z;
                c = f / z;
                s = h / z;
                f = x * c + g * s;
                g = g * c - x * s;
                h = y * s;
                y *= c;
                for (Index jj = 0; jj < n; ++jj) {
                    const double xx = V(jj, j), zz = V(jj, i);
                    V(jj, j) = xx * c + zz * s;
                    V(jj, i) = zz * c - xx * s;
                }
                z = pythag(f, h);
                w[j] = z;
                if (z != 0.0) {
                    z = 1.0 / z;
                    c = f * z;
                    s = h * z;
                }
                f = c * g + s * y;
                x = c * y - s * g;
                for (Index jj = 0; jj < m; ++jj) {
                    const double yy = A(jj, j), zz = A(jj, i);
                    A(jj, j) = yy * c + zz * s;
                    A(jj, i) = zz * c - yy * s;
                }
            }
            rv1[l] = 0.0;
            rv1[k] = f;
            w[k] = x;
            if (!std::isfinite(f) || !std::isfinite(x)) return false;
        }
    }
    return true;
}

// Minimum-norm least squares through the generalized inverse of the singular value
// decomposition. Singular values at or below max(m, n) single-precision epsilons of the
// largest count as zero (the data are single precision), wherever they stand.
int32_t solveSVD(const float *a0, const float *b, Index m, Index n, float *x) {
    auto work = workArray<double>(static_cast<std::size_t>(m * n + n * n + 3 * n));
    if (!work) {
        setError(NUMORA_ERR_ALLOC);
        return 0;
    }
    double *u = work.get();
    double *v = u + m * n;
    double *w = v + n * n;
    double *rv1 = w + n;
    double *t = rv1 + n;
    for (Index i = 0; i < m * n; ++i) u[i] = a0[i];
    if (!svd(u, m, n, w, v, rv1, precision(), 60)) {
        setError(NUMORA_ERR_SVD);
        return 0;
    }
    double wmax = 0.0;
    for (Index j = 0; j < n; ++j) wmax = std::max(wmax, w[j]);
    const double cutoff = static_cast<double>(std::max(m, n)) * FLT_EPSILON * wmax;
    for (Index j = 0; j < n; ++j) {
        double s = 0.0;
        if (w[j] > cutoff && w[j] > 0.0) {
            for (Index i = 0; i < m; ++i) s += u[i * n + j] * b[i];
            s /= w[j];
        }
        t[j] = s;
    }
    std::vector<float> result(static_cast<std::size_t>(n));
    for (Index i = 0; i < n; ++i) {
        double s = 0.0;
        for (Index j = 0; j < n; ++j) s += v[i * n + j] * t[j];
        result[i] = static_cast<float>(s);
        if (!std::isfinite(result[i])) {
            setError(NUMORA_ERR_SVD);
            return 0;
        }
    }
    std::copy(result.begin(), result.end(), x);
    return 1;
}

}  // namespace
}  // namespace numora

using numora::checkSize;
using numora::setError;

namespace {

using Index = std::int64_t;

bool squareMethod(int32_t selector) {
    return selector != 6 && selector != 7;
}

int32_t solveByElimination(const float *a, const float *b, Index m, Index n, float *x, int32_t selector) {
    auto work = numora::workArray<float>(static_cast<std::size_t>((n + 1) * m));
    if (!work) {
        setError(NUMORA_ERR_ALLOC);
        return 0;
    }
    std::memcpy(work.get(), a, sizeof(float) * static_cast<std::size_t>(m * n));
    std::memcpy(work.get() + m * n, b, sizeof(float) * static_cast<std::size_t>(m));
    const numora::System s{work.get(), work.get() + m * n, m, n};
    const bool ok = selector == 1   ? numora::solveGaussJordan(s, x, false)
                    : selector == 4 ? numora::solveGaussJordan(s, x, true)
                                    : numora::solveGauss(s, x);
    if (!ok) {
        setError(NUMORA_ERR_SINGULAR);
        return 0;
    }
    return 1;
}

}  // namespace

extern "C" NUMORA_API int32_t SolutionEQs(const float *a, int32_t m, int32_t n, const float *b, float *x,
                                          int32_t selector) {
    if (!a || !b || !x) {
        setError(NUMORA_ERR_NULL);
        return 0;
    }
    if (!checkSize(m, n)) return 0;
    if ((static_cast<int64_t>(n) + 1) * m > INT32_MAX) {  // the scratch copy of A and b
        setError(NUMORA_ERR_ALLOC);
        return 0;
    }
    if (squareMethod(selector) ? m != n : m < n) {
        setError(NUMORA_ERR_NOT_SQUARE);
        return 0;
    }
    if (selector == 6) return numora::solveQR(a, b, m, n, x);
    if (selector == 7) return numora::solveSVD(a, b, m, n, x);
    return solveByElimination(a, b, m, n, x, selector);
}

extern "C" NUMORA_API int32_t EQRoots(const float *a, int32_t n, float *re, float *im,
                                      int32_t maxIterations) {
    if (!a || !re || !im) {
        setError(NUMORA_ERR_NULL);
        return 0;
    }
    if (!checkSize(n, n)) return 0;
    // The leading coefficient must be a non-zero number and the others finite.
    for (Index i = 0; i <= n; ++i)
        if (!std::isfinite(a[i]) || (i == n && a[i] == 0.0f)) {
            setError(NUMORA_ERR_OTHER);
            return 0;
        }
    const std::size_t nn = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
    auto companion = numora::workArray<float>(nn);
    if (!companion) {
        setError(NUMORA_ERR_ALLOC);
        return 0;
    }
    for (Index j = 0; j < n; ++j) companion[j] = -a[n - 1 - j] / a[n];
    for (Index k = 0; k + 1 < n; ++k) companion[(k + 1) * n + k] = 1.0f;
    return numora::eigenvaluesGeneral(companion.get(), n, re, im, maxIterations);
}

namespace {

// Revised simplex on A x = b, x >= 0 (A m x (m+n), slack basis first). Bland's rule (the
// first improving non-basic column enters; among rows of equal ratio the smallest basic
// index leaves) cannot cycle, and the iteration limit stops it whatever the rounding does.
class Simplex {
  public:
    Simplex(const float *a, const float *b, const float *c, Index m, Index n)
        : a_(a), b_(b), c_(c), m_(m), n_(n), cols_(m + n) {}

    // 1 optimum, 0 failure with the code set; x receives the caller's layout on success.
    int32_t run(float *x) {
        auto p = numora::workArray<float>(static_cast<std::size_t>(m_ * m_));
        auto d = numora::workArray<float>(static_cast<std::size_t>(m_ * cols_));
        auto xs = numora::workArray<float>(static_cast<std::size_t>(cols_));
        auto basis = numora::workArray<Index>(static_cast<std::size_t>(m_));
        auto isBasic = numora::workArray<bool>(static_cast<std::size_t>(cols_));
        if (!p || !d || !xs || !basis || !isBasic) {
            setError(NUMORA_ERR_ALLOC);
            return 0;
        }
        for (Index i = 0; i < m_; ++i) {
            basis[i] = n_ + i;
            isBasic[n_ + i] = true;
        }
        const Index limit = 50 * cols_ + 1000;
        for (Index iteration = 0; iteration < limit; ++iteration) {
            for (Index i = 0; i < m_; ++i)
                for (Index j = 0; j < m_; ++j) p[i * m_ + j] = a_[i * cols_ + basis[j]];
            if (!numora::invertMatrix(p.get(), static_cast<int32_t>(m_)))
                return 0;  // code 5 (or 1) set by the inversion
            mathcore::matmul(p.get(), a_, static_cast<int32_t>(m_), static_cast<int32_t>(m_),
                             static_cast<int32_t>(cols_), d.get());
            for (Index j = 0; j < cols_; ++j) xs[j] = 0.0f;
            for (Index i = 0; i < m_; ++i) {
                double s = 0.0;
                for (Index j = 0; j < m_; ++j) s += static_cast<double>(p[i * m_ + j]) * b_[j];
                if (s < 0.0 && s > -1e-5 * (1.0 + std::fabs(b_[i])))
                    s = 0.0;  // rounding around a degenerate vertex
                xs[basis[i]] = static_cast<float>(s);
            }
            if (iteration == 0 && !feasible(xs.get(), basis.get())) {
                setError(NUMORA_ERR_OTHER);
                return 0;
            }
            const Index k = entering(d.get(), basis.get(), isBasic.get());
            if (k < 0) {
                finish(xs.get(), x);
                return 1;
            }
            const Index l = leaving(d.get(), xs.get(), basis.get(), k);
            if (l < 0) {
                setError(NUMORA_ERR_OTHER);  // unbounded
                return 0;
            }
            isBasic[basis[l]] = false;
            basis[l] = k;
            isBasic[k] = true;
        }
        setError(NUMORA_ERR_ITERATIONS);
        return 0;
    }

  private:
    bool feasible(const float *xs, const Index *basis) const {
        for (Index i = 0; i < m_; ++i)
            if (!(xs[basis[i]] >= 0.0f)) return false;
        return true;
    }

    // First non-basic column whose reduced cost improves the objective beyond rounding.
    Index entering(const float *d, const Index *basis, const bool *isBasic) const {
        for (Index j = 0; j < cols_; ++j) {
            if (isBasic[j]) continue;
            double z = -static_cast<double>(c_[j]);
            double size = std::fabs(c_[j]);
            for (Index i = 0; i < m_; ++i) {
                const double t = static_cast<double>(c_[basis[i]]) * d[i * cols_ + j];
                z += t;
                size += std::fabs(t);
            }
            if (z > 1e-5 * size && z > 0.0) return j;
        }
        return -1;
    }

    // Smallest ratio x / d over rows with a clearly positive d in column k; ties go to the
    // smallest basic index.
    Index leaving(const float *d, const float *xs, const Index *basis, Index k) const {
        double colmax = 0.0;
        for (Index i = 0; i < m_; ++i)
            colmax = std::max(colmax, static_cast<double>(std::fabs(d[i * cols_ + k])));
        Index best = -1;
        double bestRatio = 0.0;
        for (Index i = 0; i < m_; ++i) {
            const double dik = d[i * cols_ + k];
            if (!(dik > 1e-6 * colmax)) continue;
            const double ratio = std::max(0.0, static_cast<double>(xs[basis[i]])) / dik;
            const bool tie = best >= 0 && std::fabs(ratio - bestRatio) <= 1e-6 * std::max(ratio, bestRatio);
            if (best < 0 || (tie ? basis[i] < basis[best] : ratio < bestRatio)) {
                best = i;
                bestRatio = ratio;
            }
        }
        return best;
    }

    void finish(const float *xs, float *x) const {
        double objective = 0.0;
        for (Index j = 0; j < n_; ++j) objective += static_cast<double>(c_[j]) * xs[j];
        for (Index j = 0; j < cols_; ++j) x[j] = xs[j];
        x[n_] = static_cast<float>(objective);
    }

    const float *a_, *b_, *c_;
    Index m_, n_, cols_;
};

}  // namespace

extern "C" NUMORA_API int32_t LinearProgram(const float *a, const float *b, const float *c, int32_t m,
                                            int32_t n, float *x) {
    if (!a || !b || !c || !x) {
        setError(NUMORA_ERR_NULL);
        return 0;
    }
    if (m < 1 || n < 1) {
        setError(NUMORA_ERR_OTHER);
        return 0;
    }
    if (static_cast<int64_t>(m) + n > INT32_MAX) {
        setError(NUMORA_ERR_ALLOC);
        return 0;
    }
    if (!checkSize(m, m + n)) return 0;
    return Simplex(a, b, c, m, n).run(x);
}
