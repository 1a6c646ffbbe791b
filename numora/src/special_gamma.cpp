// special_gamma.cpp - the gamma function, the incomplete gamma and beta functions, the error
// function and the distribution functions built on them. Coefficients are the single-precision
// values the library has always used; every evaluation runs in double precision and is rounded
// to float once, at the end.
#include "numora.h"

#include "state.h"

#include <cmath>
#include <limits>

namespace {

using numora::setError;

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr float kTiny = 1.0e-30f;  // floor of the Lentz continued fractions
constexpr int kMaxTerms = 100;     // series terms and continued-fraction steps
constexpr double kBetaTolerance = static_cast<double>(1.0e-7f);

// Gamma(2 + u) on 0 <= u <= 1, highest coefficient first.
constexpr float kGammaPoly[] = {6.77106e-05f, -0.0003442342f, 0.0015397681f, -0.002446748f,
                                0.010973696f, -0.0002109075f, 0.074237905f,  0.08157822f,
                                0.41184026f,  0.42278433f,    1.0f};

// Lanczos series of ln Gamma.
constexpr float kLanczos[] = {76.18009f, -86.50532f, 24.0141f, -1.2317395f, 0.001208651f, -5.3952394e-06f};

double gammaPolynomial(double u) {
    double s = 0.0;
    for (float c : kGammaPoly) s = s * u + c;
    return s;
}

double lnGamma(double a) {
    const double tmp = (a + 5.5) - (a + 0.5) * std::log(a + 5.5);
    double ser = 1.0, y = a;
    for (float c : kLanczos) ser += c / ++y;
    return -tmp + std::log(2.5066282746310007 * ser / a);
}

// Gamma(x) for 0 < x <= 36 (above that the float result is infinite anyway): reduced to
// 2 <= y <= 3. The polynomial (the library's) is exact at y = 2 and 1e-5 high at y = 3.
double gammaReduced(double x) {
    double t = 1.0, y = x;
    if (x <= 1.0) {
        t = 1.0 / (x * (x + 1.0));
        y = x + 2.0;
    } else if (x <= 2.0) {
        t = 1.0 / x;
        y = x + 1.0;
    } else {
        while (y > 3.0) {
            y -= 1.0;
            t *= y;
        }
    }
    return t * gammaPolynomial(y - 2.0);
}

// e^(-x + a ln x - ln Gamma(a)), the common factor of both incomplete-gamma forms.
double gammaFactor(double a, double x) {
    return std::exp(-x + a * std::log(x) - lnGamma(a));
}

// Regularized lower incomplete gamma P(a, x) to the library precision; -1 with code 10 outside
// the domain, code 10 with the last value when the series or fraction does not converge.
double gammaP(double a, double x) {
    if (!(a > 0.0) || !(x >= 0.0)) {
        setError(NUMORA_ERR_OTHER);
        return -1.0;
    }
    if (x == 0.0) return 0.0;
    if (std::isinf(x)) return 1.0;
    const double eps = numora::precision();
    if (x < a + 1.0) {
        double ap = a, term = 1.0 / a, sum = term;
        for (int n = 1; n <= kMaxTerms; ++n) {
            ap += 1.0;
            term *= x / ap;
            sum += term;
            if (std::fabs(term) < std::fabs(sum) * eps) return sum * gammaFactor(a, x);
        }
        setError(NUMORA_ERR_OTHER);
        return sum * gammaFactor(a, x);
    }
    double b = x + 1.0 - a, c = 1.0 / kTiny, d = 1.0 / b, h = d;
    bool converged = false;
    for (int i = 1; i <= kMaxTerms && !converged; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = b + an / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        const double del = d * c;
        h *= del;
        converged = std::fabs(del - 1.0) < eps;
    }
    if (!converged) setError(NUMORA_ERR_OTHER);
    return 1.0 - gammaFactor(a, x) * h;
}

double errorFunction(double x) {
    const double p = gammaP(0.5, x * x);
    return x < 0.0 ? -p : p;
}

// Continued fraction of the incomplete beta function (modified Lentz); code 10 and the last
// value when 100 steps do not converge.
double betaFraction(double a, double b, double x) {
    const double qab = a + b, qap = a + 1.0, qam = a - 1.0;
    double c = 1.0, d = 1.0 - qab * x / qap;
    if (std::fabs(d) < kTiny) d = kTiny;
    d = 1.0 / d;
    double h = d;
    for (int m = 1; m <= kMaxTerms; ++m) {
        const int m2 = 2 * m;
        double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1.0 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1.0 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1.0 + aa * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1.0 + aa / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1.0 / d;
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1.0) <= kBetaTolerance) return h;
    }
    setError(NUMORA_ERR_OTHER);
    return h;
}

// Regularized incomplete beta I_x(a, b); +inf with code 10 outside the domain. The prefactor
// Gamma(a + b) / (Gamma(a) Gamma(b)) x^a (1 - x)^b is formed through ln Gamma, so it does not
// overflow for large a + b.
double betaI(double a, double b, double x) {
    if (!(a > 0.0) || !(b > 0.0) || !(x >= 0.0) || !(x <= 1.0)) {
        setError(NUMORA_ERR_OTHER);
        return kInfinity;
    }
    double bt = 0.0;
    if (x != 0.0 && x != 1.0)
        bt = std::exp(lnGamma(a + b) - lnGamma(a) - lnGamma(b) + a * std::log(x) + b * std::log1p(-x));
    if (x < (a + 1.0) / (a + b + 2.0)) return bt == 0.0 ? 0.0 : bt * betaFraction(a, b, x) / a;
    return bt == 0.0 ? 1.0 : 1.0 - bt * betaFraction(b, a, 1.0 - x) / b;
}

}  // namespace

extern "C" {

NUMORA_API float FxGamma(float x) {
    if (!(x > 0.0f)) {
        setError(NUMORA_ERR_OTHER);
        return -1.0f;
    }
    if (x > 36.0f) return std::numeric_limits<float>::infinity();
    return static_cast<float>(gammaReduced(x));
}

NUMORA_API float FxGamma1(float a, float x) {
    return static_cast<float>(gammaP(a, x));
}

NUMORA_API float FxError(float x) {
    return static_cast<float>(errorFunction(x));
}

NUMORA_API float FxBeta(float a, float b, float x) {
    return static_cast<float>(betaI(a, b, x));
}

NUMORA_API float FxNormalPDF(float mu, float sigma, float x) {
    const double s = sigma > 0.0f ? static_cast<double>(sigma) : 1.0e-10;
    const double z = (static_cast<double>(x) - mu) / (1.4142135623730951 * s);
    return static_cast<float>((1.0 + errorFunction(z)) * 0.5);
}

NUMORA_API float FxStudentPDF(float t, int32_t n) {
    const double dn = n, t2 = static_cast<double>(t) * t;
    return static_cast<float>(1.0 - betaI(dn * 0.5, 0.5, dn / (dn + t2)));
}

NUMORA_API float FxChi2PDF(float x, int32_t n) {
    return static_cast<float>(gammaP(n * 0.5, std::fabs(static_cast<double>(x)) * 0.5));
}

NUMORA_API float FxFPDF(float f, int32_t n1, int32_t n2) {
    const double d1 = n1, d2 = n2;
    return static_cast<float>(betaI(d2 * 0.5, d1 * 0.5, d2 / (d2 + d1 * std::fabs(static_cast<double>(f)))));
}

}  // extern "C"
