// statistics.cpp - shape statistics, two-sample t-, F- and Kolmogorov-Smirnov tests, and the
// normal density and distribution function.
#include "sigmora.h"

#include "models_internal.h"
#include "sort_internal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

namespace {

// Probability returned by a test that cannot be computed (too few values, no memory).
const float kNoTest = -1.0f;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct MeanVar {
    double mean;
    double var;  // unbiased, corrected two-pass form
};

MeanVar meanVar(const float *x, int32_t n) {
    double s = 0.0;
    for (int32_t i = 0; i < n; ++i) s += x[i];
    const double m = s / n;
    double ss = 0.0, sd = 0.0;
    for (int32_t i = 0; i < n; ++i) {
        const double d = x[i] - m;
        ss += d * d;
        sd += d;
    }
    return MeanVar{m, (ss - sd * sd / n) / (n - 1)};
}

// ln Gamma(z) by the six-term Lanczos series.
double lnGamma(double z) {
    static const double cof[6] = {76.18009172947146,  -86.50532032941678,   24.01409824083091,
                                  -1.231739572450155, 0.001208650973866179, -5.395239384953e-06};
    double x = z, y = z;
    double tmp = x + 5.5;
    tmp -= (x + 0.5) * std::log(tmp);
    double ser = 1.000000000190015;
    for (double c : cof) ser += c / ++y;
    return -tmp + std::log(2.5066282746310007 * ser / x);
}

// Continued fraction of the incomplete beta by the modified Lentz method. The number of terms
// it needs grows like the square root of a + b, so the limit grows with it; NaN if it is reached.
double betaFraction(double a, double b, double x) {
    const double tiny = 1.0e-30, eps = 3.0e-7;
    const int64_t maxIter = 100 + 20 * static_cast<int64_t>(std::sqrt(a + b));
    const double qab = a + b, qap = a + 1.0, qam = a - 1.0;
    auto guard = [tiny](double v) { return std::fabs(v) < tiny ? tiny : v; };
    double c = 1.0, d = 1.0 / guard(1.0 - qab * x / qap), h = d;
    for (int64_t m = 1; m <= maxIter; ++m) {
        const double m2 = 2.0 * m;
        double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1.0 / guard(1.0 + aa * d);
        c = guard(1.0 + aa / c);
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1.0 / guard(1.0 + aa * d);
        c = guard(1.0 + aa / c);
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1.0) < eps) return h;
    }
    return kNaN;
}

// Regularised incomplete beta I_x(a, b); 0 for x outside [0, 1].
double incompleteBeta(double a, double b, double x) {
    if (!(x >= 0.0 && x <= 1.0)) return 0.0;
    const double bt =
        (x == 0.0 || x == 1.0)
            ? 0.0
            : std::exp(lnGamma(a + b) - lnGamma(a) - lnGamma(b) + a * std::log(x) + b * std::log(1.0 - x));
    if (x < (a + 1.0) / (a + b + 2.0)) return bt * betaFraction(a, b, x) / a;
    return 1.0 - bt * betaFraction(b, a, 1.0 - x) / b;
}

// Two-sided probability of Student's t with df degrees of freedom.
double studentProbability(double t, double df) {
    if (std::isinf(t)) return 0.0;
    return incompleteBeta(df / 2.0, 0.5, df / (df + t * t));
}

// t = diff / sqrt(var); a zero spread gives t = 0 (equal means) or an infinite t.
double tRatio(double diff, double var) {
    if (var > 0.0) return diff / std::sqrt(var);
    if (diff == 0.0) return 0.0;
    return diff > 0.0 ? std::numeric_limits<double>::infinity() : -std::numeric_limits<double>::infinity();
}

bool samplesOk(const float *x, int32_t n, int32_t least) {
    return x && n >= least;
}

float testResult(float *out, double statistic, double p) {
    if (out) *out = static_cast<float>(statistic);
    return static_cast<float>(p);
}

float refused(float *out) {
    if (out) *out = 0.0f;
    return kNoTest;
}

// Kolmogorov-Smirnov probability Q(lambda).
double ksProbability(double lambda) {
    const double a2 = -2.0 * lambda * lambda;
    double fac = 2.0, sum = 0.0, before = 0.0;
    for (int j = 1; j <= 100; ++j) {
        const double term = fac * std::exp(a2 * j * j);
        sum += term;
        if (std::fabs(term) <= 0.001 * before || std::fabs(term) <= 1.0e-8 * sum) return sum;
        fac = -fac;
        before = std::fabs(term);
    }
    return 1.0;
}

// Largest distance between the empirical distributions of two ascending samples.
double ksDistance(const float *s1, int32_t n1, const float *s2, int32_t n2) {
    int32_t j1 = 0, j2 = 0;
    double F1 = 0.0, F2 = 0.0, D = 0.0;
    while (j1 < n1 && j2 < n2) {
        const float d1 = s1[j1], d2 = s2[j2];
        if (d1 <= d2) F1 = static_cast<double>(++j1) / n1;
        if (d2 <= d1) F2 = static_cast<double>(++j2) / n2;
        D = std::max(D, std::fabs(F2 - F1));
    }
    return D;
}

bool hasNaN(const float *x, int32_t n) {
    for (int32_t i = 0; i < n; ++i)
        if (x[i] != x[i]) return true;
    return false;
}

double density(double offset, double sigma) {
    const double z = offset / sigma;
    return std::exp(-z * z / 2.0) / (sigma * std::sqrt(6.2831852));
}

template <int Power>
float standardMoment(const float *x, int32_t n, float whenFlat) {
    if (!x || n < 1) return whenFlat;
    double m = 0.0;
    for (int32_t i = 0; i < n; ++i) m += (x[i] - m) / (i + 1);
    double v = 0.0;
    for (int32_t i = 0; i < n; ++i) v += ((x[i] - m) * (x[i] - m) - v) / (i + 1);
    const float s = static_cast<float>(std::sqrt(v));
    if (s == 0.0f) return whenFlat;
    double r = 0.0;
    for (int32_t i = 0; i < n; ++i) {
        const double z = (x[i] - m) / s;
        r += (std::pow(z, Power) - r) / (i + 1);
    }
    return static_cast<float>(Power == 4 ? r - 3.0 : r);
}

}  // namespace

extern "C" {

float SkewDegree(const float *x, int32_t n) {
    return standardMoment<3>(x, n, 0.0f);
}

float KurtDegree(const float *x, int32_t n) {
    return standardMoment<4>(x, n, -3.0f);
}

float tTestMean(const float *x1, int32_t n1, const float *x2, int32_t n2, float *t) {
    if (!samplesOk(x1, n1, 2) || !samplesOk(x2, n2, 2)) return refused(t);
    const MeanVar a = meanVar(x1, n1), b = meanVar(x2, n2);
    const double df = static_cast<double>(n1) + n2 - 2.0;
    const double sp2 = ((n1 - 1.0) * a.var + (n2 - 1.0) * b.var) / df;
    const double tv = tRatio(a.mean - b.mean, sp2 * (1.0 / n1 + 1.0 / n2));
    return testResult(t, tv, studentProbability(tv, df));
}

float tTestMean1(const float *x1, int32_t n1, const float *x2, int32_t n2, float *t) {
    if (!samplesOk(x1, n1, 2) || !samplesOk(x2, n2, 2)) return refused(t);
    const MeanVar a = meanVar(x1, n1), b = meanVar(x2, n2);
    const double v1 = a.var / n1, v2 = b.var / n2;
    const double tv = tRatio(a.mean - b.mean, v1 + v2);
    if (!(v1 + v2 > 0.0)) return testResult(t, tv, tv == 0.0 ? 1.0 : 0.0);
    const double df = (v1 + v2) * (v1 + v2) / (v1 * v1 / (n1 - 1.0) + v2 * v2 / (n2 - 1.0));
    return testResult(t, tv, studentProbability(tv, df));
}

float tTestMean2(const float *x1, const float *x2, int32_t n, float *t) {
    if (!samplesOk(x1, n, 2) || !samplesOk(x2, n, 2)) return refused(t);
    const MeanVar a = meanVar(x1, n), b = meanVar(x2, n);
    double cov = 0.0;
    for (int32_t i = 0; i < n; ++i) cov += (x1[i] - a.mean) * (x2[i] - b.mean);
    cov /= n - 1.0;
    const double var = std::max((a.var + b.var - 2.0 * cov) / n, 0.0);
    const double tv = tRatio(a.mean - b.mean, var);
    return testResult(t, tv, studentProbability(tv, n - 1.0));
}

float fTestVar(const float *x1, int32_t n1, const float *x2, int32_t n2, float *f) {
    if (!samplesOk(x1, n1, 2) || !samplesOk(x2, n2, 2)) return refused(f);
    const MeanVar a = meanVar(x1, n1), b = meanVar(x2, n2);
    if (a.var == 0.0 && b.var == 0.0) return testResult(f, 1.0, 1.0);
    double fv, df1, df2;
    if (a.var > b.var) {
        fv = a.var / b.var, df1 = n1 - 1.0, df2 = n2 - 1.0;
    } else {
        fv = b.var / a.var, df1 = n2 - 1.0, df2 = n1 - 1.0;
    }
    const double x = std::isinf(fv) ? 0.0 : df2 / (df2 + df1 * fv);
    double p = 2.0 * incompleteBeta(df2 / 2.0, df1 / 2.0, x);
    if (p > 1.0) p = 2.0 - p;
    return testResult(f, fv, p);
}

float ksTestDistri(const float *x1, int32_t n1, const float *x2, int32_t n2, float *d) {
    if (!samplesOk(x1, n1, 1) || !samplesOk(x2, n2, 1) || hasNaN(x1, n1) || hasNaN(x2, n2)) return refused(d);
    std::unique_ptr<float[]> scratch(new (std::nothrow) float[static_cast<size_t>(n1) + n2]);
    if (!scratch) {
        if (d) *d = 0.0f;
        return 0.0f;
    }
    float *s1 = scratch.get(), *s2 = s1 + n1;
    std::copy(x1, x1 + n1, s1);
    std::copy(x2, x2 + n2, s2);
    sigmora::sorting::sort_floats(s1, n1);
    sigmora::sorting::sort_floats(s2, n2);
    const double D = ksDistance(s1, n1, s2, n2);
    const double ne = std::sqrt(static_cast<double>(n1) * n2 / (static_cast<double>(n1) + n2));
    return testResult(d, D, ksProbability((ne + 0.12 + 0.11 / ne) * D));
}

float NormalFunc(float mu, float sigma, float x) {
    if (!(sigma > 0.0f)) return 0.0f;
    return static_cast<float>(density(static_cast<double>(x) - mu, sigma));
}

float NormalProb(float mu, float sigma, float x) {
    if (x == mu) return 0.5f;
    if (!(sigma > 0.0f)) return x > mu ? 1.0f : 0.0f;
    // The density beyond 40 sigma adds nothing a float can hold; stopping there keeps the
    // Simpson step fine enough for any x.
    const double span = std::min(std::fabs(static_cast<double>(x) - mu), 40.0 * sigma);
    const int32_t count = 10000;
    const double h = span / (count - 1);
    std::unique_ptr<float[]> y(new (std::nothrow) float[count]);
    if (!y) return 0.0f;
    for (int32_t i = 0; i < count; ++i) y[i] = static_cast<float>(density(i * h, sigma));
    const double area = sigmora::models::integrate_vector(y.get(), h, 0, count - 1);
    const double p = x > mu ? 0.5 + area : 0.5 - area;
    return static_cast<float>(std::clamp(p, 0.0, 1.0));
}

}  // extern "C"
