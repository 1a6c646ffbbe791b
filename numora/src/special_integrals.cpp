// special_integrals.cpp - sine, cosine and exponential integrals and the incomplete elliptic
// integrals. A Simpson rule with an absolute stopping test cannot converge in single precision
// for arguments of 5 and more, and one that stops at a step of 0.01 loses accuracy near k = 1;
// these functions therefore use convergent double-precision methods (power series and continued
// fractions; Carlson's symmetric integrals), each loop bounded, with the library's results for
// the special arguments (x = 0, negative x, k = 1) kept.
#include "numora.h"

#include "state.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace {

using numora::setError;

constexpr double kEuler = 0.5772156649015329;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kEps = 1.0e-16;  // convergence of the double-precision loops
constexpr double kFloorValue = 1.0e-300;
constexpr int kMaxIterations = 200;  // every loop stops here with code 9
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Si(t) and Ci(t) for t > 0: power series up to 2, the continued fraction of E1(i t) above.
void sineCosineIntegrals(double t, double &si, double &ci) {
    if (std::isinf(t)) {
        si = kHalfPi;
        ci = 0.0;
        return;
    }
    if (t > 2.0) {
        std::complex<double> b(1.0, t), c(1.0 / kFloorValue, 0.0), d = 1.0 / b, h = d;
        bool converged = false;
        for (int i = 2; i <= kMaxIterations && !converged; ++i) {
            const double a = -static_cast<double>(i - 1) * (i - 1);
            b += 2.0;
            d = 1.0 / (a * d + b);
            c = b + a / c;
            const std::complex<double> del = c * d;
            h *= del;
            converged = std::fabs(del.real() - 1.0) + std::fabs(del.imag()) < kEps;
        }
        if (!converged) setError(NUMORA_ERR_ITERATIONS);
        h *= std::complex<double>(std::cos(t), -std::sin(t));
        ci = -h.real();
        si = kHalfPi + h.imag();
        return;
    }
    // Alternating series: sum of odd powers gives Si, of even powers Ci.
    double sums = 0.0, sumc = 0.0, fact = 1.0;
    bool converged = false;
    for (int k = 1; k <= kMaxIterations && !converged; ++k) {
        fact *= t / k;
        const double term = fact / k;
        const double sign = ((k - 1) / 2) % 2 == 0 ? 1.0 : -1.0;
        if (k % 2 == 1)
            sums += sign * term;
        else
            sumc -= sign * term;
        converged = term < kEps * std::max(std::fabs(sums), kFloorValue) && k % 2 == 0;
    }
    if (!converged) setError(NUMORA_ERR_ITERATIONS);
    si = sums;
    ci = kEuler + std::log(t) + sumc;
}

// E1(z) for z > 0: series up to 1, continued fraction above.
double expIntegralE1(double z) {
    if (std::isinf(z)) return 0.0;
    bool converged = false;
    if (z > 1.0) {
        double b = z + 1.0, c = 1.0 / kFloorValue, d = 1.0 / b, h = d;
        for (int i = 1; i <= kMaxIterations && !converged; ++i) {
            const double a = -static_cast<double>(i) * i;
            b += 2.0;
            d = 1.0 / (a * d + b);
            c = b + a / c;
            const double del = c * d;
            h *= del;
            converged = std::fabs(del - 1.0) < kEps;
        }
        if (!converged) setError(NUMORA_ERR_ITERATIONS);
        return h * std::exp(-z);
    }
    double sum = -std::log(z) - kEuler, fact = 1.0;
    for (int i = 1; i <= kMaxIterations && !converged; ++i) {
        fact *= -z / i;
        const double del = -fact / i;
        sum += del;
        converged = std::fabs(del) < std::fabs(sum) * kEps;
    }
    if (!converged) setError(NUMORA_ERR_ITERATIONS);
    return sum;
}

// Carlson's R_F(x, y, z) by duplication (at most one argument zero).
double carlsonRF(double x, double y, double z) {
    for (int i = 0; i < kMaxIterations; ++i) {
        const double mu = (x + y + z) / 3.0;
        const double dx = 1.0 - x / mu, dy = 1.0 - y / mu, dz = 1.0 - z / mu;
        if (std::max({std::fabs(dx), std::fabs(dy), std::fabs(dz)}) < 0.0025) {
            const double e2 = dx * dy - dz * dz, e3 = dx * dy * dz;
            return (1.0 + (e2 / 24.0 - 0.1 - 3.0 * e3 / 44.0) * e2 + e3 / 14.0) / std::sqrt(mu);
        }
        const double sx = std::sqrt(x), sy = std::sqrt(y), sz = std::sqrt(z);
        const double lambda = sx * (sy + sz) + sy * sz;
        x = 0.25 * (x + lambda);
        y = 0.25 * (y + lambda);
        z = 0.25 * (z + lambda);
    }
    setError(NUMORA_ERR_ITERATIONS);
    return 1.0 / std::sqrt((x + y + z) / 3.0);
}

// Carlson's R_D(x, y, z) by duplication (x, y not both zero, z > 0).
double carlsonRD(double x, double y, double z) {
    double sum = 0.0, fac = 1.0;
    for (int i = 0; i < kMaxIterations; ++i) {
        const double mu = (x + y + 3.0 * z) / 5.0;
        const double dx = 1.0 - x / mu, dy = 1.0 - y / mu, dz = 1.0 - z / mu;
        if (std::max({std::fabs(dx), std::fabs(dy), std::fabs(dz)}) < 0.0015) {
            const double ea = dx * dy, eb = dz * dz, ec = ea - eb, ed = ea - 6.0 * eb, ee = ed + ec + ec;
            const double c1 = 3.0 / 14.0, c2 = 1.0 / 6.0, c3 = 9.0 / 22.0, c4 = 3.0 / 26.0;
            const double c5 = 0.25 * c3, c6 = 1.5 * c4;
            return 3.0 * sum + fac *
                                   (1.0 + ed * (-c1 + c5 * ed - c6 * dz * ee) +
                                    dz * (c2 * ee + dz * (-c3 * ec + dz * c4 * ea))) /
                                   (mu * std::sqrt(mu));
        }
        const double sx = std::sqrt(x), sy = std::sqrt(y), sz = std::sqrt(z);
        const double lambda = sx * (sy + sz) + sy * sz;
        sum += fac / (sz * (z + lambda));
        fac *= 0.25;
        x = 0.25 * (x + lambda);
        y = 0.25 * (y + lambda);
        z = 0.25 * (z + lambda);
    }
    setError(NUMORA_ERR_ITERATIONS);
    return 3.0 * sum;
}

// Integral from 0 to theta of 1 / sqrt(1 - k^2 sin^2 t) (first kind) or sqrt(1 - k^2 sin^2 t),
// 0 <= theta <= pi / 2 and k sin theta <= 1; complete when `complete` is set.
double ellipticPart(bool secondKind, double k, double theta, bool complete) {
    const double s = complete ? 1.0 : std::sin(theta);
    const double c2 = complete ? 0.0 : std::cos(theta) * std::cos(theta);
    if (k == 1.0) {
        if (secondKind) return s;
        if (complete || std::fabs(s - 1.0) < 1.0e-20)
            return 1.0e10;  // the first kind diverges at k = 1, theta = pi / 2
    }
    if (s == 0.0) return 0.0;
    const double y = (1.0 - k * s) * (1.0 + k * s);
    const double rf = carlsonRF(c2, y, 1.0);
    if (!secondKind) return s * rf;
    return s * rf - k * k * s * s * s * carlsonRD(c2, y, 1.0) / 3.0;
}

// F(phi, k) or E(phi, k): the period reduction of the library (pi taken as 3.1415925) for
// |k| <= 1; for |k| > 1 only the real range |phi| <= asin(1 / |k|), else NaN with code 10.
double ellipticIntegral(bool secondKind, double k, double phi) {
    if (std::isnan(k) || std::isnan(phi)) {
        setError(NUMORA_ERR_OTHER);
        return kNaN;
    }
    k = std::fabs(k);
    const double a = std::fabs(phi), sign = phi < 0.0 ? -1.0 : 1.0;
    if (k > 1.0) {
        if (a > kHalfPi || k * std::sin(a) > 1.0) {
            setError(NUMORA_ERR_OTHER);
            return kNaN;
        }
        return sign * ellipticPart(secondKind, k, a, false);
    }
    if (std::isinf(a)) return sign * a;
    const double pi = static_cast<double>(3.1415925f);
    double m = std::floor(a / pi), r = a - m * pi, s = 1.0;
    if (r >= static_cast<double>(1.5707963f)) {
        m += 1.0;
        s = -1.0;
        r = pi - r;
    }
    r = std::clamp(r, 0.0, kHalfPi);
    double result = s * ellipticPart(secondKind, k, r, false);
    if (m != 0.0) result += 2.0 * m * ellipticPart(secondKind, k, kHalfPi, true);
    return sign * result;
}

}  // namespace

extern "C" {

NUMORA_API float FxSinSum(float x) {
    if (x == 0.0f || std::isnan(x)) return x;
    double si = 0.0, ci = 0.0;
    sineCosineIntegrals(std::fabs(static_cast<double>(x)), si, ci);
    return static_cast<float>(x < 0.0f ? -si : si);
}

NUMORA_API float FxCosSum(float x) {
    const double t = x == 0.0f ? 1.0e-10 : std::fabs(static_cast<double>(x));
    if (std::isnan(t)) return x;
    double si = 0.0, ci = 0.0;
    sineCosineIntegrals(t, si, ci);
    return static_cast<float>(ci);
}

NUMORA_API float FxExpSum(float x) {
    const double t = x == 0.0f ? 1.0e-10 : std::fabs(static_cast<double>(x));
    if (std::isnan(t)) return x;
    return static_cast<float>(-expIntegralE1(t));
}

NUMORA_API float FxEllipse1(float k, float phi) {
    return static_cast<float>(ellipticIntegral(false, k, phi));
}

NUMORA_API float FxEllipse2(float k, float phi) {
    return static_cast<float>(ellipticIntegral(true, k, phi));
}

}  // extern "C"
