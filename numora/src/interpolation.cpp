// interpolation.cpp - interpolation of 1-D and 2-D tables (Lagrange, three-point, Thiele,
// Aitken, Akima, cubic splines) and first and second derivatives through a cubic spline.
// Arithmetic is in double precision; results are rounded to float once.
#include "numora.h"

#include "interpolation_internal.h"
#include "state.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>
#include <vector>

namespace {

// Stands in for an infinite continued-fraction term when a difference vanishes.
constexpr double kHuge = 1.0e35;

enum SplineKind { kClamped = 0, kNatural = 1, kPeriodic = 2 };

// Consecutive nodes first .. first + count - 1.
struct Window {
    int32_t first;
    int32_t count;
};

// First index k with x[k] >= t (n when there is none), by bisection over increasing x.
int32_t firstNotBelow(const float *x, int32_t n, double t) {
    return static_cast<int32_t>(std::lower_bound(x, x + n, t, [](float a, double b) { return a < b; }) - x);
}

// Index i of the interval x[i] <= t < x[i + 1], clamped to 0 .. n - 2 (n >= 2).
int32_t intervalOf(const float *x, int32_t n, double t) {
    const float *above = std::upper_bound(x, x + n, t, [](double a, float b) { return a < b; });
    return std::clamp(static_cast<int32_t>(above - x) - 1, 0, n - 2);
}

// The eight-node Lagrange window around t: nodes k - 4 .. k + 3 clipped to the table.
Window lagrangeWindow(const float *x, int32_t n, double t) {
    int32_t k = firstNotBelow(x, n, t);
    int32_t lo = std::max(k - 4, 0), hi = std::min(n - 1, k + 3);
    return {lo, hi - lo + 1};
}

// The three nodes nearest t (all nodes when there are fewer than 4).
Window threePointWindow(const float *x, int32_t n, double t) {
    if (n < 4) return {0, n};
    if (t <= x[1]) return {0, 3};
    if (t >= x[n - 2]) return {n - 3, 3};
    int32_t p = intervalOf(x, n, t);
    bool nearerNext = (t - x[p]) >= (x[p + 1] - t);
    return {nearerNext ? p : p - 1, 3};
}

// Lagrange weight of node a of the window at t.
double lagrangeWeight(const float *x, Window w, int32_t a, double t) {
    double l = 1.0;
    const double xa = x[w.first + a];
    for (int32_t b = 0; b < w.count; ++b)
        if (b != a) l *= (t - x[w.first + b]) / (xa - x[w.first + b]);
    return l;
}

double lagrange(const float *x, const float *y, Window w, double t) {
    double sum = 0.0;
    for (int32_t a = 0; a < w.count; ++a) sum += y[w.first + a] * lagrangeWeight(x, w, a, t);
    return sum;
}

double line(const float *x, const float *y, double t) {
    return ((t - x[1]) * y[0] - (t - x[0]) * y[1]) / (static_cast<double>(x[0]) - x[1]);
}

// Thiele's continued fraction through up to 8 nodes around t.
double thiele(const float *x, const float *y, int32_t n, double t) {
    int32_t m = std::min(n, 8);
    int32_t first = n <= 8 ? 0 : std::clamp(firstNotBelow(x, n, t) - 4, 0, n - 8);
    double b[8];
    for (int32_t i = 0; i < m; ++i) {
        double u = y[first + i];
        for (int32_t j = 0; j < i; ++j) {
            double den = u - b[j];
            u = den == 0.0 ? kHuge : (static_cast<double>(x[first + i]) - x[first + j]) / den;
        }
        b[i] = u;
    }
    double u = b[m - 1];
    for (int32_t i = m - 2; i >= 0; --i) u = b[i] + (t - x[first + i]) / (u == 0.0 ? kHuge : u);
    return u;
}

// Aitken-Neville over up to 10 nodes: the nearest node, then its neighbours alternately on
// both sides (the side of t first); stops when two successive estimates differ by less than eps.
double aitken(const float *x, const float *y, int32_t n, double t, double eps) {
    int32_t i = intervalOf(x, n, t);
    int32_t nearest = (t - x[i]) <= (x[i + 1] - t) ? i : i + 1;
    int32_t m = std::min(n, 10);
    double xs[10], est[10];
    int32_t left = nearest - 1, right = nearest + 1;
    bool takeRight = t >= x[nearest];
    xs[0] = x[nearest];
    est[0] = y[nearest];
    double previous = est[0];
    for (int32_t k = 1; k < m; ++k) {
        if ((takeRight && right < n) || left < 0) {
            xs[k] = x[right];
            est[k] = y[right++];
        } else {
            xs[k] = x[left];
            est[k] = y[left--];
        }
        takeRight = !takeRight;
        for (int32_t j = k - 1; j >= 0; --j)
            est[j] = ((t - xs[j]) * est[j + 1] - (t - xs[k]) * est[j]) / (xs[k] - xs[j]);
        if (std::fabs(est[0] - previous) < eps) break;
        previous = est[0];
    }
    return est[0];
}

// Cubic on [x[i], x[i+1]] with end values y and end slopes m0, m1: value, first or second
// derivative (order 0, 1, 2) at t.
double hermite(const float *x, const float *y, int32_t i, double m0, double m1, double t, int order) {
    const double h = static_cast<double>(x[i + 1]) - x[i];
    const double d = (static_cast<double>(y[i + 1]) - y[i]) / h;
    const double c2 = (3.0 * d - 2.0 * m0 - m1) / h;
    const double c3 = (m0 + m1 - 2.0 * d) / (h * h);
    const double u = t - x[i];
    if (order == 0) return y[i] + u * (m0 + u * (c2 + u * c3));
    if (order == 1) return m0 + u * (2.0 * c2 + 3.0 * c3 * u);
    return 2.0 * c2 + 6.0 * c3 * u;
}

// Akima's slope of segment j extended by two segments beyond either end (n >= 3).
double akimaSlope(const float *x, const float *y, int32_t n, int32_t j) {
    auto seg = [&](int32_t k) {
        return (static_cast<double>(y[k + 1]) - y[k]) / (static_cast<double>(x[k + 1]) - x[k]);
    };
    if (j >= 0 && j <= n - 2) return seg(j);
    if (j == -1) return 2.0 * seg(0) - seg(1);
    if (j == -2) return 2.0 * akimaSlope(x, y, n, -1) - seg(0);
    if (j == n - 1) return 2.0 * seg(n - 2) - seg(n - 3);
    return 2.0 * akimaSlope(x, y, n, n - 1) - seg(n - 2);
}

double akimaNodeSlope(const float *x, const float *y, int32_t n, int32_t i) {
    double s0 = akimaSlope(x, y, n, i - 2), s1 = akimaSlope(x, y, n, i - 1);
    double s2 = akimaSlope(x, y, n, i), s3 = akimaSlope(x, y, n, i + 1);
    double w1 = std::fabs(s3 - s2), w2 = std::fabs(s1 - s0);
    return w1 + w2 == 0.0 ? 0.5 * (s1 + s2) : (w1 * s1 + w2 * s2) / (w1 + w2);
}

double akima(const float *x, const float *y, int32_t n, double t) {
    int32_t i = intervalOf(x, n, t);
    return hermite(x, y, i, akimaNodeSlope(x, y, n, i), akimaNodeSlope(x, y, n, i + 1), t, 0);
}

// Solves the tridiagonal system a[i] m[i-1] + b[i] m[i] + c[i] m[i+1] = r[i] (Thomas).
void solveTridiagonal(const std::vector<double> &a, const std::vector<double> &b,
                      const std::vector<double> &c, const std::vector<double> &r, std::vector<double> &m) {
    const std::size_t n = b.size();
    std::vector<double> cp(n), rp(n);
    cp[0] = c[0] / b[0];
    rp[0] = r[0] / b[0];
    for (std::size_t i = 1; i < n; ++i) {
        double den = b[i] - a[i] * cp[i - 1];
        cp[i] = c[i] / den;
        rp[i] = (r[i] - a[i] * rp[i - 1]) / den;
    }
    m.assign(n, 0.0);
    m[n - 1] = rp[n - 1];
    for (std::size_t i = n - 1; i-- > 0;) m[i] = rp[i] - cp[i] * m[i + 1];
}

// Node first derivatives of the cubic spline of the given kind (n >= 2). Throws bad_alloc.
std::vector<double> splineSlopes(const float *x, const float *y, int32_t n, int kind) {
    const std::size_t N = static_cast<std::size_t>(n);
    std::vector<double> h(N - 1), d(N - 1);
    for (std::size_t i = 0; i + 1 < N; ++i) {
        h[i] = static_cast<double>(x[i + 1]) - x[i];
        d[i] = (static_cast<double>(y[i + 1]) - y[i]) / h[i];
    }
    std::vector<double> m(N, 0.0);
    if (kind == kPeriodic) {
        // Unknowns m[0 .. n-2]; m[n-1] = m[0]. Row i: h[i] m[i-1] + 2 (h[i-1] + h[i]) m[i] +
        // h[i-1] m[i+1] = 3 (h[i] d[i-1] + h[i-1] d[i]), indices taken around the period.
        const std::size_t P = N - 1;
        if (P < 2) return m;  // one node per period: a constant
        std::vector<double> a(P), b(P), c(P), r(P);
        for (std::size_t i = 0; i < P; ++i) {
            std::size_t prev = (i + P - 1) % P;
            a[i] = h[i];
            b[i] = 2.0 * (h[prev] + h[i]);
            c[i] = h[prev];
            r[i] = 3.0 * (h[i] * d[prev] + h[prev] * d[i]);
        }
        std::vector<double> sol;
        if (P == 2) {
            // m[1] is both the left and the right neighbour of m[0], and the other way round.
            double a00 = b[0], a01 = a[0] + c[0], a10 = a[1] + c[1], a11 = b[1];
            double det = a00 * a11 - a01 * a10;
            sol = {(r[0] * a11 - a01 * r[1]) / det, (a00 * r[1] - a10 * r[0]) / det};
        } else {
            // Cyclic system by Sherman-Morrison: corners A[0][P-1] = a[0], A[P-1][0] = c[P-1].
            const double top = a[0], bottom = c[P - 1], gamma = -b[0];
            std::vector<double> bb = b, u(P, 0.0), z;
            bb[0] -= gamma;
            bb[P - 1] -= bottom * top / gamma;
            std::vector<double> aa = a, cc = c;
            aa[0] = 0.0;
            cc[P - 1] = 0.0;
            solveTridiagonal(aa, bb, cc, r, sol);
            u[0] = gamma;
            u[P - 1] = bottom;
            solveTridiagonal(aa, bb, cc, u, z);
            double fact = (sol[0] + top * sol[P - 1] / gamma) / (1.0 + z[0] + top * z[P - 1] / gamma);
            for (std::size_t i = 0; i < P; ++i) sol[i] -= fact * z[i];
        }
        for (std::size_t i = 0; i < P; ++i) m[i] = sol[i];
        m[N - 1] = m[0];
        return m;
    }
    std::vector<double> a(N, 0.0), b(N, 1.0), c(N, 0.0), r(N, 0.0);
    if (kind == kNatural) {
        b[0] = 2.0;
        c[0] = 1.0;
        r[0] = 3.0 * d[0];
        a[N - 1] = 1.0;
        b[N - 1] = 2.0;
        r[N - 1] = 3.0 * d[N - 2];
    }  // clamped: rows 0 and n-1 say m = 0
    for (std::size_t i = 1; i + 1 < N; ++i) {
        a[i] = h[i];
        b[i] = 2.0 * (h[i - 1] + h[i]);
        c[i] = h[i - 1];
        r[i] = 3.0 * (h[i] * d[i - 1] + h[i - 1] * d[i]);
    }
    solveTridiagonal(a, b, c, r, m);
    return m;
}

// t moved into the period x[0] .. x[n-1] of a periodic table.
double wrapIntoPeriod(const float *x, int32_t n, double t) {
    const double x0 = x[0], period = static_cast<double>(x[n - 1]) - x0;
    if (!(period > 0.0) || !std::isfinite(t)) return t;
    double r = std::fmod(t - x0, period);
    return x0 + (r < 0.0 ? r + period : r);
}

double splineAt(const float *x, const float *y, int32_t n, const std::vector<double> &m, int kind, double t,
                int order) {
    if (kind == kPeriodic) t = wrapIntoPeriod(x, n, t);
    int32_t i = intervalOf(x, n, t);
    return hermite(x, y, i, m[i], m[i + 1], t, order);
}

int32_t normalisedMethod(int32_t method) {
    return (method < 0 || method > 8 || method == 3) ? 0 : method;
}

// Abscissas x0 + i h of an equally spaced table, computed in float as stored.
std::vector<float> equallySpaced(float x0, float h, int32_t n) {
    std::vector<float> x(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) x[i] = x0 + static_cast<float>(i) * h;
    return x;
}

float interpolate1d(const float *x, const float *y, int32_t n, float t, int32_t method) {
    if (n < 1) return 0.0f;
    if (!x || !y) {
        numora::setError(NUMORA_ERR_NULL);
        return 0.0f;
    }
    try {
        numora::TableInterpolant f(x, y, n, method);
        return f(t);
    } catch (const std::bad_alloc &) {
        numora::setError(NUMORA_ERR_ALLOC);
        return 0.0f;
    }
}

float derivative1d(const float *x, const float *y, int32_t n, float t, int32_t selector) {
    if (n < 2) return 0.0f;  // a single point has no slope
    if (!x || !y) {
        numora::setError(NUMORA_ERR_NULL);
        return 0.0f;
    }
    if (selector < 0 || selector > 5) selector = 0;
    const int kind = selector % 3;
    const int order = selector < 3 ? 1 : 2;
    try {
        std::vector<double> m = splineSlopes(x, y, n, kind);
        return static_cast<float>(splineAt(x, y, n, m, kind, t, order));
    } catch (const std::bad_alloc &) {
        numora::setError(NUMORA_ERR_ALLOC);
        return 0.0f;
    }
}

}  // namespace

namespace numora {

TableInterpolant::TableInterpolant(const float *x, const float *y, int32_t n, int32_t method)
    : x_(x), y_(y), n_(n), method_(normalisedMethod(method)) {
    if (n_ >= 2 && method_ >= 6) slopes_ = splineSlopes(x_, y_, n_, method_ - 6);
}

float TableInterpolant::operator()(float t) const {
    if (n_ < 1) return 0.0f;
    if (n_ == 1) return y_[0];
    if (n_ == 2 && method_ != 6 && method_ != 8) return static_cast<float>(line(x_, y_, t));
    switch (method_) {
        case 1: return static_cast<float>(lagrange(x_, y_, threePointWindow(x_, n_, t), t));
        case 2: return static_cast<float>(thiele(x_, y_, n_, t));
        case 4: return static_cast<float>(aitken(x_, y_, n_, t, precision()));
        case 5: return static_cast<float>(akima(x_, y_, n_, t));
        case 6:
        case 7:
        case 8: return static_cast<float>(splineAt(x_, y_, n_, slopes_, method_ - 6, t, 0));
        default: return static_cast<float>(lagrange(x_, y_, lagrangeWindow(x_, n_, t), t));
    }
}

}  // namespace numora

extern "C" {

NUMORA_API float Inter1dFuncND(const float *x, const float *y, int32_t n, float t, int32_t method) {
    return interpolate1d(x, y, n, t, method);
}

NUMORA_API float Inter1dFuncED(float x0, float h, int32_t n, const float *y, float t, int32_t method) {
    if (n < 1) return 0.0f;
    if (!y) {
        numora::setError(NUMORA_ERR_NULL);
        return 0.0f;
    }
    try {
        std::vector<float> x = equallySpaced(x0, h, n);
        return interpolate1d(x.data(), y, n, t, method);
    } catch (const std::bad_alloc &) {
        numora::setError(NUMORA_ERR_ALLOC);
        return 0.0f;
    }
}

NUMORA_API float DyFunc1dND(const float *x, const float *y, int32_t n, float t, int32_t selector) {
    return derivative1d(x, y, n, t, selector);
}

NUMORA_API float DyFunc1dED(float x0, float h, int32_t n, const float *y, float t, int32_t selector) {
    if (n < 2) return 0.0f;
    if (!y) {
        numora::setError(NUMORA_ERR_NULL);
        return 0.0f;
    }
    try {
        std::vector<float> x = equallySpaced(x0, h, n);
        return derivative1d(x.data(), y, n, t, selector);
    } catch (const std::bad_alloc &) {
        numora::setError(NUMORA_ERR_ALLOC);
        return 0.0f;
    }
}

NUMORA_API float Inter2D(const float *x, const float *y, const float *z, int32_t nx, int32_t ny, float u,
                         float v, int32_t method) {
    if (nx < 1 || ny < 1) return 0.0f;
    if (!x || !y || !z) {
        numora::setError(NUMORA_ERR_NULL);
        return 0.0f;
    }
    Window wx = method == 9 ? lagrangeWindow(x, nx, u) : threePointWindow(x, nx, u);
    Window wy = method == 9 ? lagrangeWindow(y, ny, v) : threePointWindow(y, ny, v);
    double ly[8];
    for (int32_t b = 0; b < wy.count; ++b) ly[b] = lagrangeWeight(y, wy, b, v);
    double sum = 0.0;
    for (int32_t a = 0; a < wx.count; ++a) {
        const float *row = z + static_cast<std::size_t>(wx.first + a) * static_cast<std::size_t>(ny);
        double w = 0.0;
        for (int32_t b = 0; b < wy.count; ++b) w += row[wy.first + b] * ly[b];
        sum += w * lagrangeWeight(x, wx, a, u);
    }
    return static_cast<float>(sum);
}

}  // extern "C"
