// Eigenvalue routines: Jacobi rotations for symmetric matrices, Hessenberg reduction and the
// double-shift QR iteration for general ones.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "mathcore/matrix.h"

namespace mathcore {

namespace {

using Index = std::int64_t;

// Largest off-diagonal magnitude of every row (first column of equal values), so the
// largest element of the matrix is found in O(n) instead of O(n^2) per rotation.
class RowMaxima {
  public:
    RowMaxima(const float *a, Index n)
        : a_(a), n_(n), value_(static_cast<std::size_t>(n)), col_(value_.size()) {
        for (Index i = 0; i < n; ++i) rescan(i);
    }
    void rescan(Index i) {
        float best = 0.0f;
        Index at = i == 0 ? (n_ > 1 ? 1 : 0) : 0;
        for (Index j = 0; j < n_; ++j) {
            if (j == i) continue;
            const float v = std::fabs(a_[i * n_ + j]);
            if (v > best) {
                best = v;
                at = j;
            }
        }
        value_[i] = best;
        col_[i] = at;
    }
    // Row i changed at column j only.
    void changed(Index i, Index j) {
        const float v = std::fabs(a_[i * n_ + j]);
        if (v > value_[i] || (v == value_[i] && j < col_[i])) {
            value_[i] = v;
            col_[i] = j;
        }
    }
    Index col(Index i) const { return col_[i]; }
    // The row holding the first largest element in row-major order.
    Index best_row() const {
        Index best = 0;
        for (Index i = 1; i < n_; ++i)
            if (value_[i] > value_[best]) best = i;
        return best;
    }
    float value(Index i) const { return value_[i]; }

  private:
    const float *a_;
    Index n_;
    std::vector<float> value_;
    std::vector<Index> col_;
};

void rotate(float *a, Index n, float *v, Index p, Index q) {
    const double x = -static_cast<double>(a[p * n + q]);
    const double y = (static_cast<double>(a[q * n + q]) - a[p * n + p]) / 2.0;
    double omega = x / std::sqrt(x * x + y * y);
    if (y < 0.0) omega = -omega;
    const float s = static_cast<float>(omega / std::sqrt(2.0 * (1.0 + std::sqrt(1.0 - omega * omega))));
    const float c = static_cast<float>(std::sqrt(1.0 - static_cast<double>(s) * s));
    const double app = a[p * n + p], aqq = a[q * n + q], apq = a[p * n + q];
    const double s2 = static_cast<double>(s) * s, c2 = static_cast<double>(c) * c;
    a[p * n + p] = static_cast<float>(app * c2 + aqq * s2 + apq * omega);
    a[q * n + q] = static_cast<float>(app * s2 + aqq * c2 - apq * omega);
    a[p * n + q] = a[q * n + p] = 0.0f;
    for (Index j = 0; j < n; ++j) {
        if (j == p || j == q) continue;
        const double apj = a[p * n + j], aqj = a[q * n + j];
        a[p * n + j] = static_cast<float>(apj * c + aqj * s);
        a[q * n + j] = static_cast<float>(-apj * s + aqj * c);
        // The same values in the same operations keep the matrix exactly symmetric.
        a[j * n + p] = a[p * n + j];
        a[j * n + q] = a[q * n + j];
    }
    for (Index i = 0; i < n; ++i) {
        const double vip = v[i * n + p], viq = v[i * n + q];
        v[i * n + p] = static_cast<float>(vip * c + viq * s);
        v[i * n + q] = static_cast<float>(-vip * s + viq * c);
    }
}

}  // namespace

bool jacobi_eigen(float *a, std::int32_t n32, float *v, float eps, std::int64_t max_rotations) {
    const Index n = n32;
    for (Index i = 0; i < n * n; ++i) v[i] = 0.0f;
    for (Index i = 0; i < n; ++i) v[i * n + i] = 1.0f;
    if (n < 2) return true;
    RowMaxima rows(a, n);
    for (std::int64_t l = 1;; ++l) {
        const Index p = rows.best_row();
        const Index q = rows.col(p);
        const float magnitude = rows.value(p);
        // An exactly diagonal matrix is done whatever eps; a NaN ends at the rotation limit.
        if (magnitude < eps || magnitude == 0.0f) return true;
        if (l > max_rotations) return false;
        rotate(a, n, v, p, q);
        for (Index i = 0; i < n; ++i) {
            if (i == p || i == q) {
                rows.rescan(i);
            } else if (rows.col(i) == p || rows.col(i) == q) {
                rows.rescan(i);
            } else {
                rows.changed(i, p);
                rows.changed(i, q);
            }
        }
    }
}

void hessenberg(double *a, std::int32_t n32) {
    const Index n = n32;
    for (Index k = 1; k + 1 < n; ++k) {
        double d = 0.0;
        Index r = k;
        for (Index i = k; i < n; ++i)
            if (std::fabs(a[i * n + k - 1]) > std::fabs(d)) {
                d = a[i * n + k - 1];
                r = i;
            }
        if (d == 0.0) continue;
        if (r != k) {
            for (Index j = k - 1; j < n; ++j) std::swap(a[r * n + j], a[k * n + j]);
            for (Index i = 0; i < n; ++i) std::swap(a[i * n + r], a[i * n + k]);
        }
        for (Index i = k + 1; i < n; ++i) {
            const double u = a[i * n + k - 1] / d;
            if (u == 0.0) continue;
            a[i * n + k - 1] = 0.0;
            for (Index j = k; j < n; ++j) a[i * n + j] -= u * a[k * n + j];
            for (Index j = 0; j < n; ++j) a[j * n + k] += u * a[j * n + i];
        }
    }
}

namespace {

// The two eigenvalues of the trailing 2 x 2 block at rows m-1, m.
void split_pair(const double *a, Index n, Index m, double *re, double *im) {
    const double b = -(a[m * n + m] + a[(m - 1) * n + m - 1]);
    const double c = a[m * n + m] * a[(m - 1) * n + m - 1] - a[(m - 1) * n + m] * a[m * n + m - 1];
    const double w = b * b - 4.0 * c;
    const double y = std::sqrt(std::fabs(w));
    if (w > 0.0) {
        const double sigma = b < 0.0 ? -1.0 : 1.0;
        re[m] = (-b - sigma * y) / 2.0;
        re[m - 1] = c / re[m];
        im[m] = im[m - 1] = 0.0;
    } else {
        re[m] = re[m - 1] = -b / 2.0;
        im[m] = y / 2.0;
        im[m - 1] = -y / 2.0;
    }
}

}  // namespace

bool hqr_eigen(double *h, std::int32_t n32, double *re, double *im, double eps, std::int32_t max_iterations) {
    const Index n = n32;
    auto A = [h, n](Index i, Index j) -> double & { return h[i * n + j]; };
    double norm = 0.0;
    for (Index i = 0; i < n; ++i)
        for (Index j = i > 0 ? i - 1 : 0; j < n; ++j) norm += std::fabs(A(i, j));
    constexpr double kRound = 1.1102230246251565e-16;
    Index nn = n - 1;
    std::int32_t its = 0;
    while (nn >= 0) {
        Index l = nn;
        for (; l >= 1; --l) {
            double s = std::fabs(A(l - 1, l - 1)) + std::fabs(A(l, l));
            if (s == 0.0) s = norm;
            if (std::fabs(A(l, l - 1)) <= eps * s) {
                A(l, l - 1) = 0.0;
                break;
            }
        }
        if (l == nn) {
            re[nn] = A(nn, nn);
            im[nn] = 0.0;
            --nn;
            its = 0;
            continue;
        }
        if (l == nn - 1) {
            split_pair(h, n, nn, re, im);
            nn -= 2;
            its = 0;
            continue;
        }
        if (its >= max_iterations) return false;
        double x = A(nn, nn), y = A(nn - 1, nn - 1), w = A(nn, nn - 1) * A(nn - 1, nn);
        if (its > 0 && its % 10 == 0) {  // exceptional shift: breaks cycles such as z^3 - 1
            const double s = std::fabs(A(nn, nn - 1)) + std::fabs(A(nn - 1, nn - 2));
            x = y = A(nn, nn) + 0.75 * s;
            w = -0.4375 * s * s;
        }
        ++its;
        Index m = nn - 2;
        double p = 0, q = 0, r = 0, z = 0;
        for (; m >= l; --m) {
            z = A(m, m);
            r = x - z;
            double s = y - z;
            p = (r * s - w) / A(m + 1, m) + A(m, m + 1);
            q = A(m + 1, m + 1) - z - r - s;
            r = A(m + 2, m + 1);
            s = std::fabs(p) + std::fabs(q) + std::fabs(r);
            if (s == 0.0) s = 1.0;
            p /= s;
            q /= s;
            r /= s;
            if (m == l) break;
            const double u = std::fabs(A(m, m - 1)) * (std::fabs(q) + std::fabs(r));
            const double v =
                std::fabs(p) * (std::fabs(A(m - 1, m - 1)) + std::fabs(z) + std::fabs(A(m + 1, m + 1)));
            if (u <= kRound * v) break;
        }
        for (Index i = m + 2; i <= nn; ++i) {
            A(i, i - 2) = 0.0;
            if (i != m + 2) A(i, i - 3) = 0.0;
        }
        for (Index k = m; k <= nn - 1; ++k) {
            if (k != m) {
                p = A(k, k - 1);
                q = A(k + 1, k - 1);
                r = k != nn - 1 ? A(k + 2, k - 1) : 0.0;
                x = std::fabs(p) + std::fabs(q) + std::fabs(r);
                if (x != 0.0) {
                    p /= x;
                    q /= x;
                    r /= x;
                }
            }
            const double s = std::copysign(std::sqrt(p * p + q * q + r * r), p);
            if (s == 0.0) continue;
            if (k == m) {
                if (l != m) A(k, k - 1) = -A(k, k - 1);
            } else {
                A(k, k - 1) = -s * x;
            }
            p += s;
            x = p / s;
            y = q / s;
            z = r / s;
            q /= p;
            r /= p;
            for (Index j = k; j <= nn; ++j) {
                p = A(k, j) + q * A(k + 1, j);
                if (k != nn - 1) {
                    p += r * A(k + 2, j);
                    A(k + 2, j) -= p * z;
                }
                A(k + 1, j) -= p * y;
                A(k, j) -= p * x;
            }
            const Index last = nn < k + 3 ? nn : k + 3;
            for (Index i = l; i <= last; ++i) {
                p = x * A(i, k) + y * A(i, k + 1);
                if (k != nn - 1) {
                    p += z * A(i, k + 2);
                    A(i, k + 2) -= p * r;
                }
                A(i, k + 1) -= p * q;
                A(i, k) -= p;
            }
        }
    }
    return true;
}

}  // namespace mathcore
