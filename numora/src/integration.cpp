// integration.cpp - integration of the process-wide registered table (IntegrateFunc, optionally
// IntegrateInter, any number of Integrate1d, IntegrateEnd) by six quadrature rules. The
// integrand is the table's interpolation by the registered method, prepared once per call.
#include "numora.h"

#include "interpolation_internal.h"
#include "state.h"

#include <cmath>
#include <mutex>
#include <new>
#include <vector>

namespace {

struct Registration {
    std::mutex lock;
    bool present = false;
    std::vector<float> x, y;
    int32_t n = 0;
    int32_t method = 0;
};

Registration &registration() {
    static Registration r;
    return r;
}

// Step halvings of the trapezoid rules (0 and 1): 2^16 + 1 evaluations at most. Beyond that the
// single-precision integrand cannot improve the sum; a tolerance of 0 stops here with code 9.
constexpr int kMaxHalvings = 16;
constexpr double kHuge = 1.0e35;

using Integrand = numora::TableInterpolant;

double f(const Integrand &fn, double t) {
    return fn(static_cast<float>(t));
}

// One halving step of the trapezoid sequence: from T over `intervals` steps of width h to
// T over twice as many.
double halve(const Integrand &fn, double a, double h, long intervals, double t) {
    double sum = 0.0;
    for (long k = 0; k < intervals; ++k) sum += f(fn, a + (k + 0.5) * h);
    return 0.5 * (t + h * sum);
}

double trapezoid(const Integrand &fn, double a, double b, double eps) {
    double h = b - a, t = h * (f(fn, a) + f(fn, b)) / 2.0;
    long intervals = 1;
    for (int level = 0; level < kMaxHalvings; ++level) {
        double t2 = halve(fn, a, h, intervals, t);
        h /= 2.0;
        intervals *= 2;
        if (std::fabs(t2 - t) < eps) return t2;
        t = t2;
    }
    numora::setError(NUMORA_ERR_ITERATIONS);
    return t;
}

double simpson(const Integrand &fn, double a, double b, double eps) {
    double h = b - a, t = h * (f(fn, a) + f(fn, b)) / 2.0, previous = t;
    long intervals = 1;
    for (int level = 0; level < kMaxHalvings; ++level) {
        double t2 = halve(fn, a, h, intervals, t);
        h /= 2.0;
        intervals *= 2;
        double s = (4.0 * t2 - t) / 3.0;
        if (std::fabs(s - previous) < eps) return s;
        previous = s;
        t = t2;
    }
    numora::setError(NUMORA_ERR_ITERATIONS);
    return previous;
}

double romberg(const Integrand &fn, double a, double b, double eps) {
    constexpr int kRows = 10;
    double row[kRows], next[kRows];
    double h = b - a;
    row[0] = h * (f(fn, a) + f(fn, b)) / 2.0;
    double diagonal = row[0];
    long intervals = 1;
    for (int j = 1; j < kRows; ++j) {
        next[0] = halve(fn, a, h, intervals, row[0]);
        h /= 2.0;
        intervals *= 2;
        double factor = 1.0;
        for (int k = 1; k <= j; ++k) {
            factor *= 4.0;
            next[k] = (factor * next[k - 1] - row[k - 1]) / (factor - 1.0);
        }
        for (int k = 0; k <= j; ++k) row[k] = next[k];
        const bool settled = std::fabs(row[j] - diagonal) < eps;
        diagonal = row[j];
        if (settled) break;
    }
    return diagonal;  // after 10 rows, the last diagonal value
}

// Composite 5-node rule on m = 1, 2, 3, ... equal subintervals: stops when the relative change
// falls below eps or the subinterval width has fallen to a thousandth of |b - a|. The width is
// compared by magnitude, so b < a gives the negated integral.
double composite5(const Integrand &fn, double a, double b, double eps, const double *nodes,
                  const double *weights) {
    double g = 0.0, previous = 1.0e35;
    const double limit = 0.001 * std::fabs(b - a);
    for (long m = 1; m <= 1000; ++m) {
        const double h = (b - a) / static_cast<double>(m);
        if (!(std::fabs(h) > limit)) break;
        double sum = 0.0;
        for (long k = 0; k < m; ++k) {
            const double p = a + k * h, q = p + h;
            double part = 0.0;
            for (int s = 0; s < 5; ++s) part += weights[s] * f(fn, (nodes[s] * (q - p) + (q + p)) / 2.0);
            sum += part * (q - p) / 2.0;
        }
        g = sum;
        if (std::fabs(g - previous) / (1.0 + std::fabs(g)) < eps) break;
        previous = g;
    }
    return g;
}

double gaussLegendre(const Integrand &fn, double a, double b, double eps) {
    static const double nodes[5] = {0.0f, -0.5384693f, 0.5384693f, -0.9061798f, 0.9061798f};
    static const double weights[5] = {0.5688889f, 0.4786287f, 0.4786287f, 0.2369269f, 0.2369269f};
    return composite5(fn, a, b, eps, nodes, weights);
}

// Chebyshev's equal-weight rule: five equal weights summing to the interval length 2, so
// 2/5 each on the half-width scale of the Gauss rule.
double chebyshev(const Integrand &fn, double a, double b, double eps) {
    static const double nodes[5] = {0.0f, -0.3745414f, 0.3745414f, -0.8324975f, 0.8324975f};
    static const double weights[5] = {0.4, 0.4, 0.4, 0.4, 0.4};
    return composite5(fn, a, b, eps, nodes, weights);
}

// Thiele continued-fraction extrapolation to step 0 of the halving trapezoid sequence, with at
// most 9 levels. A vanishing difference (two equal trapezoid values) makes its term infinite,
// which the fraction then drops, instead of dividing by zero.
double thieleExtrapolation(const Integrand &fn, double a, double b, double eps) {
    constexpr int kLevels = 9;
    double steps[kLevels], coef[kLevels];
    double h = b - a, t = h * (f(fn, a) + f(fn, b)) / 2.0;
    steps[0] = h;
    coef[0] = t;
    double value = t;
    long intervals = 1;
    for (int k = 1; k < kLevels; ++k) {
        t = halve(fn, a, h, intervals, t);
        h /= 2.0;
        intervals *= 2;
        steps[k] = h;
        double u = t;
        for (int j = 0; j < k; ++j) {
            const double den = u - coef[j];
            u = den == 0.0 ? kHuge : (steps[k] - steps[j]) / den;
        }
        coef[k] = u;
        double g = coef[k];
        for (int j = k - 1; j >= 0; --j) g = coef[j] + (0.0 - steps[j]) / (g == 0.0 ? kHuge : g);
        const bool settled = std::fabs(g - value) < eps;
        value = g;
        if (settled) break;
    }
    return value;
}

}  // namespace

extern "C" {

NUMORA_API int32_t IntegrateFunc(const float *x, const float *y, int32_t n) {
    Registration &r = registration();
    std::lock_guard<std::mutex> guard(r.lock);
    r.present = false;
    r.x.clear();
    r.y.clear();
    r.n = 0;
    if (n > 0 && (!x || !y)) return 0;
    try {
        if (n > 0) {
            r.x.assign(x, x + n);
            r.y.assign(y, y + n);
        }
    } catch (const std::bad_alloc &) {
        r.x.clear();
        r.y.clear();
        return 0;
    }
    r.n = n;
    r.present = true;
    return 1;
}

NUMORA_API int32_t IntegrateInter(int32_t method) {
    Registration &r = registration();
    std::lock_guard<std::mutex> guard(r.lock);
    int32_t before = r.method;
    r.method = method;
    return before;
}

NUMORA_API float Integrate1d(float a, float b, int32_t rule) {
    Registration &r = registration();
    std::lock_guard<std::mutex> guard(r.lock);
    if (!r.present) {
        numora::setError(NUMORA_ERR_NULL);
        return 0.0f;
    }
    if (r.n <= 0) {
        numora::setError(NUMORA_ERR_NO_INTEGRAND);
        return 0.0f;
    }
    const double eps = numora::precision();
    try {
        const Integrand fn(r.x.data(), r.y.data(), r.n, r.method);
        switch (rule) {
            case 1: return static_cast<float>(simpson(fn, a, b, eps));
            case 2: return static_cast<float>(romberg(fn, a, b, eps));
            case 3: return static_cast<float>(gaussLegendre(fn, a, b, eps));
            case 4: return static_cast<float>(chebyshev(fn, a, b, eps));
            case 5: return static_cast<float>(thieleExtrapolation(fn, a, b, eps));
            default: return static_cast<float>(trapezoid(fn, a, b, eps));
        }
    } catch (const std::bad_alloc &) {
        numora::setError(NUMORA_ERR_ALLOC);
        return 0.0f;
    }
}

NUMORA_API int32_t IntegrateEnd(void) {
    Registration &r = registration();
    std::lock_guard<std::mutex> guard(r.lock);
    r.present = false;
    r.n = 0;
    std::vector<float>().swap(r.x);
    std::vector<float>().swap(r.y);
    return 1;
}

}  // extern "C"
