// Shape statistics and the significance tests against double-precision formulas, and the normal
// distribution functions.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

std::vector<float> gaussian(int n, double mean, double sd, unsigned seed) {
    std::mt19937 gen(seed);
    std::normal_distribution<double> d(mean, sd);
    std::vector<float> v(n);
    for (float &x : v) x = static_cast<float>(d(gen));
    return v;
}

struct Summary {
    double mean, var;  // unbiased
};

Summary summary(const std::vector<float> &x) {
    double s = 0.0;
    for (float v : x) s += v;
    const double m = s / x.size();
    double ss = 0.0;
    for (float v : x) ss += (v - m) * (v - m);
    return {m, ss / (x.size() - 1)};
}

// Simpson's rule in double over [a, b] with an even number of panels.
template <class F>
double simpson(F f, double a, double b, int panels = 20000) {
    const double h = (b - a) / panels;
    double s = f(a) + f(b);
    for (int i = 1; i < panels; ++i) s += f(a + i * h) * (i % 2 ? 4.0 : 2.0);
    return s * h / 3.0;
}

// Two-sided probability of Student's t: 1 - 2 * integral of the density from 0 to |t|.
double studentTwoSided(double t, double df) {
    const double c = std::exp(std::lgamma((df + 1) / 2) - std::lgamma(df / 2)) / std::sqrt(df * kPi);
    auto dens = [&](double u) { return c * std::pow(1.0 + u * u / df, -(df + 1) / 2); };
    return 1.0 - 2.0 * simpson(dens, 0.0, std::fabs(t));
}

// Regularised incomplete beta by integrating its integrand (a, b >= 1: smooth on [0, x]).
double betaByIntegral(double a, double b, double x) {
    const double lnB = std::lgamma(a) + std::lgamma(b) - std::lgamma(a + b);
    auto f = [&](double t) {
        return t <= 0 || t >= 1 ? 0.0 : std::exp((a - 1) * std::log(t) + (b - 1) * std::log1p(-t) - lnB);
    };
    return simpson(f, 0.0, x);
}

}  // namespace

TEST(Shape, SkewnessAndKurtosisAgainstMoments) {
    std::mt19937 gen(1);
    std::exponential_distribution<double> e(1.0);
    std::vector<float> x(5000);
    for (float &v : x) v = static_cast<float>(e(gen));
    double m = 0.0;
    for (float v : x) m += v;
    m /= x.size();
    double m2 = 0, m3 = 0, m4 = 0;
    for (float v : x) {
        const double d = v - m;
        m2 += d * d, m3 += d * d * d, m4 += d * d * d * d;
    }
    m2 /= x.size(), m3 /= x.size(), m4 /= x.size();
    EXPECT_NEAR(SkewDegree(x.data(), 5000), m3 / std::pow(m2, 1.5), 1e-4);
    EXPECT_NEAR(KurtDegree(x.data(), 5000), m4 / (m2 * m2) - 3.0, 1e-3);
    const float sym[5] = {-2, -1, 0, 1, 2};
    EXPECT_NEAR(SkewDegree(sym, 5), 0.0, 1e-7);
    const std::vector<float> g = gaussian(50000, 0, 1, 2);
    EXPECT_NEAR(KurtDegree(g.data(), 50000), 0.0, 0.1);
}

TEST(Shape, EmptyAndFlatSamples) {
    EXPECT_EQ(SkewDegree(nullptr, 0), 0.0f);
    EXPECT_EQ(KurtDegree(nullptr, 0), -3.0f);
    const float flat[4] = {2, 2, 2, 2};
    EXPECT_EQ(SkewDegree(flat, 4), 0.0f);
    EXPECT_EQ(KurtDegree(flat, 4), -3.0f);
}

TEST(TTests, StatisticsAndProbabilitiesAgainstFormulas) {
    const std::vector<float> a = gaussian(12, 1.0, 1.0, 3), b = gaussian(9, 1.8, 1.5, 4);
    const Summary sa = summary(a), sb = summary(b);
    float t = 0.0f;
    {
        const double df = 12 + 9 - 2, sp2 = (11 * sa.var + 8 * sb.var) / df;
        const double tr = (sa.mean - sb.mean) / std::sqrt(sp2 * (1.0 / 12 + 1.0 / 9));
        const float p = tTestMean(a.data(), 12, b.data(), 9, &t);
        EXPECT_NEAR(t, tr, 1e-5);
        EXPECT_NEAR(p, studentTwoSided(tr, df), 1e-5);
    }
    {
        const double v1 = sa.var / 12, v2 = sb.var / 9;
        const double tr = (sa.mean - sb.mean) / std::sqrt(v1 + v2);
        const double df = (v1 + v2) * (v1 + v2) / (v1 * v1 / 11 + v2 * v2 / 8);
        const float p = tTestMean1(a.data(), 12, b.data(), 9, &t);
        EXPECT_NEAR(t, tr, 1e-5);
        EXPECT_NEAR(p, studentTwoSided(tr, df), 1e-5);
    }
    {
        const std::vector<float> c = gaussian(12, 1.3, 1.0, 5);
        std::vector<float> diff(12);
        for (int i = 0; i < 12; ++i) diff[i] = a[i] - c[i];
        const Summary sd = summary(diff);
        const double tr = sd.mean / std::sqrt(sd.var / 12);
        const float p = tTestMean2(a.data(), c.data(), 12, &t);
        EXPECT_NEAR(t, tr, 1e-4);
        EXPECT_NEAR(p, studentTwoSided(tr, 11), 1e-5);
    }
}

TEST(TTests, LargeSamplesKeepTheirProbabilities) {
    // df in the tens of thousands: the continued fraction needs far more than 100 terms.
    const std::vector<float> a = gaussian(40000, 0.0, 1.0, 6), b = gaussian(40000, 0.012, 1.0, 7);
    float t = 0.0f;
    const float p = tTestMean(a.data(), 40000, b.data(), 40000, &t);
    const double normal = std::erfc(std::fabs(t) / std::sqrt(2.0));
    EXPECT_GT(p, 0.0f);
    EXPECT_LT(p, 1.0f);
    EXPECT_NEAR(p, normal, 2e-3 * std::max(normal, 0.01));
    const float p1 = tTestMean1(a.data(), 40000, b.data(), 40000, &t);
    EXPECT_NEAR(p1, normal, 2e-3 * std::max(normal, 0.01));
}

TEST(TTests, IdenticalFlatAndShortSamples) {
    const std::vector<float> a = gaussian(20, 5.0, 2.0, 8);
    float t = 9.0f;
    EXPECT_FLOAT_EQ(tTestMean(a.data(), 20, a.data(), 20, &t), 1.0f);
    EXPECT_EQ(t, 0.0f);
    EXPECT_FLOAT_EQ(tTestMean1(a.data(), 20, a.data(), 20, &t), 1.0f);
    EXPECT_FLOAT_EQ(tTestMean2(a.data(), a.data(), 20, &t), 1.0f);
    EXPECT_EQ(t, 0.0f);
    const float f1[3] = {1, 1, 1}, f2[3] = {2, 2, 2};
    EXPECT_EQ(tTestMean(f1, 3, f2, 3, &t), 0.0f);
    EXPECT_TRUE(std::isinf(t) && t < 0);
    EXPECT_EQ(tTestMean1(f1, 3, f1, 3, &t), 1.0f);
    EXPECT_EQ(t, 0.0f);
    EXPECT_EQ(tTestMean1(f1, 3, f2, 3, &t), 0.0f);
    EXPECT_EQ(tTestMean2(f1, f1, 3, &t), 1.0f);
    t = 9.0f;
    EXPECT_EQ(tTestMean(a.data(), 1, a.data(), 20, &t), -1.0f);
    EXPECT_EQ(t, 0.0f);
    EXPECT_EQ(tTestMean1(a.data(), 20, a.data(), 0, &t), -1.0f);
    EXPECT_EQ(tTestMean2(a.data(), a.data(), 1, &t), -1.0f);
    EXPECT_EQ(fTestVar(a.data(), 1, a.data(), 20, &t), -1.0f);
    EXPECT_EQ(ksTestDistri(a.data(), 0, a.data(), 20, &t), -1.0f);
    EXPECT_EQ(tTestMean(nullptr, 5, a.data(), 20, nullptr), -1.0f);
}

TEST(FTest, AgainstTheIncompleteBetaIntegral) {
    const std::vector<float> a = gaussian(15, 0.0, 1.0, 9), b = gaussian(10, 0.0, 1.7, 10);
    const Summary sa = summary(a), sb = summary(b);
    float f = 0.0f;
    const float p = fTestVar(a.data(), 15, b.data(), 10, &f);
    const bool firstLarger = sa.var > sb.var;
    const double fr = firstLarger ? sa.var / sb.var : sb.var / sa.var;
    const double df1 = firstLarger ? 14 : 9, df2 = firstLarger ? 9 : 14;
    double pr = 2.0 * betaByIntegral(df2 / 2, df1 / 2, df2 / (df2 + df1 * fr));
    if (pr > 1.0) pr = 2.0 - pr;
    EXPECT_NEAR(f, fr, 1e-5 * fr);
    EXPECT_NEAR(p, pr, 1e-5);
    EXPECT_FLOAT_EQ(fTestVar(a.data(), 15, a.data(), 15, &f), 1.0f);
    EXPECT_FLOAT_EQ(f, 1.0f);
    const float flat[3] = {4, 4, 4};
    EXPECT_EQ(fTestVar(flat, 3, flat, 3, &f), 1.0f);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(fTestVar(flat, 3, a.data(), 15, &f), 0.0f);
    EXPECT_TRUE(std::isinf(f));
}

TEST(KSTest, DistanceAndProbability) {
    const std::vector<float> a = gaussian(60, 0.0, 1.0, 11), b = gaussian(45, 0.4, 1.0, 12);
    const std::vector<float> a0 = a;
    // The largest gap of the two empirical distribution functions over every sample point.
    double D = 0.0;
    for (const std::vector<float> *s : {&a, &b})
        for (float v : *s) {
            const double F1 = std::count_if(a.begin(), a.end(), [v](float u) { return u <= v; }) / 60.0;
            const double F2 = std::count_if(b.begin(), b.end(), [v](float u) { return u <= v; }) / 45.0;
            D = std::max(D, std::fabs(F1 - F2));
        }
    const double ne = std::sqrt(60.0 * 45.0 / 105.0), lambda = (ne + 0.12 + 0.11 / ne) * D;
    double q = 0.0;
    for (int j = 1; j <= 100; ++j) q += 2.0 * (j % 2 ? 1 : -1) * std::exp(-2.0 * j * j * lambda * lambda);
    float d = 0.0f;
    const float p = ksTestDistri(a.data(), 60, b.data(), 45, &d);
    EXPECT_NEAR(d, D, 1e-6);
    EXPECT_NEAR(p, q, 1e-6);
    EXPECT_EQ(a, a0);
    EXPECT_EQ(ksTestDistri(a.data(), 60, a.data(), 60, &d), 1.0f);
    EXPECT_EQ(d, 0.0f);
    const float lo[4] = {1, 2, 3, 4}, hi[4] = {10, 11, 12, 13};
    EXPECT_LT(ksTestDistri(lo, 4, hi, 4, &d), 0.05f);
    EXPECT_EQ(d, 1.0f);
    const float withNaN[3] = {1, NAN, 2};
    EXPECT_EQ(ksTestDistri(withNaN, 3, lo, 4, &d), -1.0f);
}

TEST(Normal, DensityAndDistributionFunction) {
    EXPECT_NEAR(NormalFunc(0, 1, 0), 0.3989423, 1e-7);
    EXPECT_NEAR(NormalFunc(2, 0.5, 2.7), std::exp(-0.5 * 1.96) / (0.5 * std::sqrt(2 * kPi)), 1e-6);
    EXPECT_EQ(NormalFunc(0, 0, 0), 0.0f);
    EXPECT_EQ(NormalFunc(0, -1, 0), 0.0f);
    EXPECT_EQ(NormalProb(0, 1, 0), 0.5f);
    for (double x : {-3.0, -1.0, -0.2, 0.3, 1.0, 1.96, 2.5, 4.0}) {
        const double ref = 0.5 * std::erfc(-(x - 0.5) / (2.0 * std::sqrt(2.0)));
        EXPECT_NEAR(NormalProb(0.5f, 2.0f, static_cast<float>(x)), ref, 1e-6) << x;
    }
    EXPECT_NEAR(NormalProb(0, 1, 1.96f), 0.9750021, 1e-6);
    EXPECT_NEAR(NormalProb(0, 1, 1e6f), 1.0, 1e-6);  // far tails stay inside [0, 1]
    EXPECT_NEAR(NormalProb(0, 1, -1e6f), 0.0, 1e-6);
    EXPECT_EQ(NormalProb(0, 0, 1), 1.0f);
    EXPECT_EQ(NormalProb(0, 0, -1), 0.0f);
}
