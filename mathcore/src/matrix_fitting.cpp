// Curve fitting and regression shared by both libraries.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <new>
#include <numeric>
#include <vector>

#include "mathcore/matrix.h"

namespace mathcore {

namespace {

using Index = std::int64_t;

template <class T>
bool try_resize(std::vector<T> &v, std::size_t n) {
    try {
        v.assign(n, T{});
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

double mean_of(const float *x, Index n) {
    double s = 0.0;
    for (Index i = 0; i < n; ++i) s += static_cast<double>(x[i]) / n;
    return s;
}

}  // namespace

FitStatus least_squares_fit(const float *x, const float *y, std::int32_t n32, float *a, std::int32_t m32,
                            float *dt) {
    const Index n = n32;
    for (Index k = 0; k < m32; ++k) a[k] = 0.0f;
    const Index m = std::min<Index>({m32, n, 20});
    std::vector<double> u, prev, cur, next, coef, pcoef, ccoef, ncoef;
    if (!try_resize(u, n) || !try_resize(prev, n) || !try_resize(cur, n) || !try_resize(next, n) ||
        !try_resize(coef, m) || !try_resize(pcoef, m) || !try_resize(ccoef, m) || !try_resize(ncoef, m))
        return FitStatus::NoMemory;
    const double xbar = mean_of(x, n);
    double umax2 = 0.0;
    for (Index i = 0; i < n; ++i) {
        u[i] = x[i] - xbar;
        umax2 = std::max(umax2, u[i] * u[i]);
    }
    // P0 = 1.
    std::fill(cur.begin(), cur.end(), 1.0);
    ccoef[0] = 1.0;
    double dprev = 0.0, dcur = static_cast<double>(n);
    for (Index j = 0; j < m; ++j) {
        double sy = 0.0, su = 0.0;
        for (Index i = 0; i < n; ++i) {
            sy += y[i] * cur[i];
            su += u[i] * cur[i] * cur[i];
        }
        const double c = sy / dcur;
        for (Index k = 0; k <= j; ++k) coef[k] += c * ccoef[k];
        if (j + 1 == m) break;
        const double alpha = su / dcur;
        const double beta = j == 0 ? 0.0 : dcur / dprev;
        double dnext = 0.0;
        for (Index i = 0; i < n; ++i) {
            next[i] = (u[i] - alpha) * cur[i] - beta * prev[i];
            dnext += next[i] * next[i];
        }
        // A polynomial that vanishes on the data (up to rounding) carries no information.
        if (!(dnext > 1e-24 * umax2 * dcur)) break;
        for (Index k = 0; k <= j + 1; ++k) {
            double t = (k > 0 ? ccoef[k - 1] : 0.0) - alpha * ccoef[k] - beta * pcoef[k];
            ncoef[k] = t;
        }
        pcoef.swap(ccoef);
        ccoef.swap(ncoef);
        prev.swap(cur);
        cur.swap(next);
        dprev = dcur;
        dcur = dnext;
    }
    double s2 = 0.0, s1 = 0.0, smax = 0.0;
    for (Index i = 0; i < n; ++i) {
        double p = 0.0;
        for (Index k = m - 1; k >= 0; --k) p = p * u[i] + coef[k];
        const double r = std::fabs(p - y[i]);
        s2 += r * r;
        s1 += r;
        smax = std::max(smax, r);
    }
    for (Index k = 0; k < m; ++k) a[k] = static_cast<float>(coef[k]);
    dt[0] = static_cast<float>(s2);
    dt[1] = static_cast<float>(s1);
    dt[2] = static_cast<float>(smax);
    return FitStatus::Ok;
}

namespace {

// The exchange method on sorted abscissas xs (ys the matching ordinates).
class Exchange {
  public:
    Exchange(const std::vector<double> &xs, const std::vector<double> &ys, Index m)
        : xs_(xs), ys_(ys), m_(m), newton_(static_cast<std::size_t>(m + 1)) {}

    // Polynomial and levelled deviation hh through the references; false when two reference
    // abscissas coincide.
    bool level(const std::vector<Index> &ix, double &hh) {
        const Index m = m_;
        std::vector<double> dy(static_cast<std::size_t>(m + 1)), dh(dy.size());
        for (Index i = 0; i <= m; ++i) {
            dy[i] = ys_[ix[i]];
            dh[i] = i % 2 == 0 ? -1.0 : 1.0;
        }
        for (Index k = 1; k <= m; ++k)
            for (Index i = m; i >= k; --i) {
                const double w = xs_[ix[i]] - xs_[ix[i - k]];
                if (!(w > 0.0)) return false;
                dy[i] = (dy[i] - dy[i - 1]) / w;
                dh[i] = (dh[i] - dh[i - 1]) / w;
            }
        hh = -dy[m] / dh[m];
        for (Index i = 0; i < m; ++i) newton_[i] = dy[i] + dh[i] * hh;
        nodes_.assign(static_cast<std::size_t>(m), 0.0);
        for (Index i = 0; i < m; ++i) nodes_[i] = xs_[ix[i]];
        return std::isfinite(hh);
    }
    double eval(double x) const {
        double p = newton_[m_ - 1];
        for (Index k = m_ - 2; k >= 0; --k) p = p * (x - nodes_[k]) + newton_[k];
        return p;
    }
    // Power-series coefficients of the current polynomial.
    std::vector<double> power_series() const {
        std::vector<double> c(static_cast<std::size_t>(m_), 0.0);
        c[0] = newton_[m_ - 1];
        for (Index k = m_ - 2; k >= 0; --k) {
            // c = c * (x - nodes[k]) + newton[k], degree grows by one.
            for (Index d = m_ - 1; d >= 1; --d) c[d] = c[d - 1] - nodes_[k] * c[d];
            c[0] = -nodes_[k] * c[0] + newton_[k];
        }
        return c;
    }

  private:
    const std::vector<double> &xs_, &ys_;
    Index m_;
    std::vector<double> newton_, nodes_;
};

// Puts point im in place of a reference of the same error sign (sign: error sign at im).
void exchange_reference(std::vector<Index> &ix, Index m, Index im, double h1, double hh) {
    auto ref_sign_positive = [hh](Index i) { return (i % 2 == 0 ? -hh : hh) > 0.0; };
    const bool positive = h1 > 0.0;
    Index i = 0;
    while (i <= m && ix[i] < im) ++i;
    if (i == 0) {
        if (positive == ref_sign_positive(0)) {
            ix[0] = im;
        } else {
            for (Index k = m; k >= 1; --k) ix[k] = ix[k - 1];
            ix[0] = im;
        }
    } else if (i > m) {
        if (positive == ref_sign_positive(m)) {
            ix[m] = im;
        } else {
            for (Index k = 0; k < m; ++k) ix[k] = ix[k + 1];
            ix[m] = im;
        }
    } else if (positive == ref_sign_positive(i)) {
        ix[i] = im;
    } else {
        ix[i - 1] = im;
    }
}

}  // namespace

FitStatus minimax_fit(const float *x, const float *y, std::int32_t n32, float *a, std::int32_t m32,
                      ChebyStart start) {
    const Index n = n32;
    Index m = m32;
    if (m >= n) m = n - 1;
    if (m >= 20) m = 19;
    if (m < 1 || n < 2) return FitStatus::Degenerate;
    std::vector<Index> order;
    std::vector<double> xs, ys;
    std::vector<Index> ix;
    if (!try_resize(order, n) || !try_resize(xs, n) || !try_resize(ys, n) || !try_resize(ix, m + 1))
        return FitStatus::NoMemory;
    for (Index i = 0; i < n; ++i)
        if (!std::isfinite(x[i])) return FitStatus::Degenerate;  // no order to sort by
    std::iota(order.begin(), order.end(), Index{0});
    // Plain pointers: iterator comparisons would instantiate standard-library symbols that the
    // shared libraries would export.
    std::sort(order.data(), order.data() + n,
              [x](Index p, Index q) { return x[p] < x[q] || (x[p] == x[q] && p < q); });
    for (Index i = 0; i < n; ++i) {
        xs[i] = x[order[i]];
        ys[i] = y[order[i]];
    }
    const Index q = (n - 1) / m;
    ix[0] = 0;
    ix[m] = n - 1;
    for (Index i = 1; i < m; ++i) ix[i] = start == ChebyStart::Spaced ? i * q : q + i - 1;

    Exchange ex(xs, ys, m);
    std::vector<double> best;
    double ha = 0.0, deviation = 0.0;
    bool have = false;
    // Each exchange raises the levelled deviation; the cap only guards against rounding cycles.
    const int kMaxExchanges = 100 * static_cast<int>(m + 1);
    for (int step = 0; step < kMaxExchanges; ++step) {
        double hh = 0.0;
        if (!ex.level(ix, hh)) break;
        const double hm = std::fabs(hh);
        if (have && hm <= ha) {
            deviation = -hm;
            best = ex.power_series();
            break;
        }
        have = true;
        best = ex.power_series();
        deviation = hm;
        ha = hm;
        Index im = -1;
        double worst = hm, h1 = 0.0;
        Index r = 0;
        for (Index i = 0; i < n; ++i) {
            if (r <= m && ix[r] == i) {
                ++r;
                continue;
            }
            const double e = ex.eval(xs[i]) - ys[i];
            if (std::fabs(e) > worst) {
                worst = std::fabs(e);
                im = i;
                h1 = e;
            }
        }
        if (im < 0) break;
        exchange_reference(ix, m, im, h1, hh);
    }
    if (!have) return FitStatus::Degenerate;
    for (Index k = 0; k < m; ++k) a[k] = static_cast<float>(best[k]);
    a[m] = static_cast<float>(deviation);
    for (Index k = m + 1; k <= m32; ++k) a[k] = 0.0f;
    return FitStatus::Ok;
}

FitStatus line_regression(const float *x, const float *y, std::int32_t n32, float *ab, float *dt) {
    const Index n = n32;
    const double xbar = mean_of(x, n), ybar = mean_of(y, n);
    double sxy = 0.0, sxx = 0.0;
    for (Index i = 0; i < n; ++i) {
        sxy += (x[i] - xbar) * (y[i] - ybar);
        sxx += (x[i] - xbar) * (x[i] - xbar);
    }
    if (!(sxx > 0.0)) return FitStatus::Degenerate;
    const double slope = sxy / sxx;
    const double intercept = ybar - slope * xbar;
    double q = 0.0, u = 0.0, rmax = 0.0, rmin = INFINITY, rsum = 0.0;
    for (Index i = 0; i < n; ++i) {
        const double fit = intercept + slope * x[i];
        const double r = std::fabs(y[i] - fit);
        q += r * r;
        u += (fit - ybar) * (fit - ybar);
        rmax = std::max(rmax, r);
        rmin = std::min(rmin, r);
        rsum += r;
    }
    ab[0] = static_cast<float>(intercept);
    ab[1] = static_cast<float>(slope);
    dt[0] = static_cast<float>(q);
    dt[1] = static_cast<float>(std::sqrt(q / n));
    dt[2] = static_cast<float>(u);
    dt[3] = static_cast<float>(rmax);
    dt[4] = static_cast<float>(rmin);
    dt[5] = static_cast<float>(rsum / n);
    return FitStatus::Ok;
}

namespace {

// Cholesky solution of the symmetric system b * s = rhs in double precision (b destroyed).
bool cholesky_double(std::vector<double> &b, Index n, std::vector<double> &rhs) {
    double scale = 0.0;
    for (Index i = 0; i < n; ++i) scale = std::max(scale, std::fabs(b[i * n + i]));
    const double tol = 1e-13 * static_cast<double>(n) * scale;
    for (Index i = 0; i < n; ++i) {
        double s = b[i * n + i];
        for (Index k = 0; k < i; ++k) s -= b[k * n + i] * b[k * n + i];
        if (!(s > tol) || !std::isfinite(s)) return false;
        const double uii = std::sqrt(s);
        b[i * n + i] = uii;
        for (Index j = i + 1; j < n; ++j) {
            double t = b[i * n + j];
            for (Index k = 0; k < i; ++k) t -= b[k * n + i] * b[k * n + j];
            b[i * n + j] = t / uii;
        }
    }
    for (Index i = 0; i < n; ++i) {
        double s = rhs[i];
        for (Index k = 0; k < i; ++k) s -= b[k * n + i] * rhs[k];
        rhs[i] = s / b[i * n + i];
    }
    for (Index i = n - 1; i >= 0; --i) {
        double s = rhs[i];
        for (Index k = i + 1; k < n; ++k) s -= b[i * n + k] * rhs[k];
        rhs[i] = s / b[i * n + i];
    }
    return true;
}

double correlation(double q, double total) {
    if (!(total > 0.0)) return 0.0;
    const double r = 1.0 - q / total;
    return r > 0.0 ? std::sqrt(r) : 0.0;
}

}  // namespace

FitStatus multiple_regression(const float *x, const float *y, std::int32_t m32, std::int32_t n32, float *a,
                              float *dt, float *v) {
    const Index m = m32, n = n32, s = m + 1;
    std::vector<double> b, rhs, fit;
    if (!try_resize(b, static_cast<std::size_t>(s * s)) || !try_resize(rhs, s) || !try_resize(fit, n))
        return FitStatus::NoMemory;
    for (Index i = 0; i < m; ++i) {
        const float *xi = x + i * n;
        for (Index j = i; j < m; ++j) {
            const float *xj = x + j * n;
            double t = 0.0;
            for (Index k = 0; k < n; ++k) t += static_cast<double>(xi[k]) * xj[k];
            b[i * s + j] = b[j * s + i] = t;
        }
        double t = 0.0, ty = 0.0;
        for (Index k = 0; k < n; ++k) {
            t += xi[k];
            ty += static_cast<double>(xi[k]) * y[k];
        }
        b[i * s + m] = b[m * s + i] = t;
        rhs[i] = ty;
    }
    b[m * s + m] = static_cast<double>(n);
    double sy = 0.0;
    for (Index k = 0; k < n; ++k) sy += y[k];
    rhs[m] = sy;
    if (!cholesky_double(b, s, rhs)) return FitStatus::Degenerate;
    const double ybar = sy / n;
    double q = 0.0, total = 0.0, u = 0.0;
    for (Index k = 0; k < n; ++k) {
        double f = rhs[m];
        for (Index i = 0; i < m; ++i) f += rhs[i] * x[i * n + k];
        fit[k] = f;
        q += (y[k] - f) * (y[k] - f);
        total += (y[k] - ybar) * (y[k] - ybar);
        u += (f - ybar) * (f - ybar);
    }
    for (Index j = 0; j < m; ++j) {
        double qj = 0.0;
        for (Index k = 0; k < n; ++k) {
            const double r = y[k] - (fit[k] - rhs[j] * x[j * n + k]);
            qj += r * r;
        }
        v[j] = static_cast<float>(correlation(q, qj));
    }
    for (Index i = 0; i <= m; ++i) a[i] = static_cast<float>(rhs[i]);
    dt[0] = static_cast<float>(q);
    dt[1] = static_cast<float>(std::sqrt(q / n));
    dt[2] = static_cast<float>(correlation(q, total));
    dt[3] = static_cast<float>(u);
    return FitStatus::Ok;
}

}  // namespace mathcore
