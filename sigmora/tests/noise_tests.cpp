// The per-thread generator sequence, the shared Gaussian branch flag and the distributions.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "testsupport/fresh_library.h"

namespace {

// The generator written out: state * 214013 + 2531011 modulo 2^32, output bits 16 .. 30.
struct Lcg {
    uint32_t state;
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};

float uniformRef(Lcg &g, float a, float b) {
    return a + static_cast<float>(g.next()) * 3.0518509e-5f * (b - a);
}

struct Moments {
    double mean, var;
};

template <class Draw>
Moments moments(int n, Draw draw) {
    double s = 0.0, ss = 0.0;
    for (int i = 0; i < n; ++i) {
        const double v = draw();
        s += v;
        ss += v * v;
    }
    const double m = s / n;
    return {m, ss / n - m * m};
}

}  // namespace

TEST(Generator, ExactSequenceAfterASeed) {
    SetRandSeed(1);
    const int first[5] = {41, 18467, 6334, 26500, 19169};
    for (int r : first)
        EXPECT_EQ(UniformNoise(0.0f, 32767.0f), static_cast<float>(r) * 3.0518509e-5f * 32767.0f);
    SetRandSeed(-123456);
    Lcg ref{static_cast<uint32_t>(-123456)};
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(UniformNoise(-2.0f, 3.0f), uniformRef(ref, -2.0f, 3.0f)) << i;
    SetRandSeed(1);
    EXPECT_FLOAT_EQ(UniformNoise(0.0f, 1.0f), 41.0f / 32767.0f);
}

TEST(Generator, StateBelongsToTheThread) {
    SetRandSeed(777);
    Lcg ref{777};
    EXPECT_EQ(UniformNoise(0, 1), uniformRef(ref, 0, 1));
    float inThread[2] = {};
    std::thread t([&] {
        inThread[0] = UniformNoise(0, 1);  // a new thread starts from state 1
        SetRandSeed(5);
        inThread[1] = UniformNoise(0, 1);
    });
    t.join();
    Lcg one{1}, five{5};
    EXPECT_EQ(inThread[0], uniformRef(one, 0, 1));
    EXPECT_EQ(inThread[1], uniformRef(five, 0, 1));
    EXPECT_EQ(UniformNoise(0, 1), uniformRef(ref, 0, 1));  // untouched by the other thread's seed
}

TEST(UniformNoise, RangeEndsAndReversedLimits) {
    SetRandSeed(3);
    float lo = 10, hi = -10;
    for (int i = 0; i < 200000; ++i) {
        const float v = UniformNoise(2.0f, 6.0f);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_EQ(lo, 2.0f);           // r = 0 occurs
    EXPECT_NEAR(hi, 6.0f, 1e-5f);  // r = 32767 occurs
    EXPECT_LE(hi, 6.0f + 1e-5f);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(UniformNoise(5.0f, 5.0f), 5.0f);
    SetRandSeed(1);
    EXPECT_FLOAT_EQ(UniformNoise(1.0f, 0.0f), 1.0f - 41.0f / 32767.0f);
    const Moments m = moments(100000, [] { return UniformNoise(2.0f, 6.0f); });
    EXPECT_NEAR(m.mean, 4.0, 0.02);
    EXPECT_NEAR(m.var, 16.0 / 12.0, 0.02);
}

TEST(NormalNoise, FirstCallTakesTheSineThenTheBranchesAlternate) {
    FreshLibrary lib(SIGMORA_LIBRARY_PATH);
    ASSERT_TRUE(lib.loaded());
    auto seed = lib.symbol<void (*)(int32_t)>("SetRandSeed");
    auto normal = lib.symbol<float (*)(float, float)>("NormalNoise");
    ASSERT_TRUE(seed && normal);
    seed(42);
    Lcg ref{42};
    for (int call = 0; call < 6; ++call) {
        const double u1 = uniformRef(ref, 1e-6f, 1.0f), u2 = uniformRef(ref, 1e-6f, 1.0f);
        const double R = std::sqrt(-2.0 * std::log(u1)), th = 6.2831852 * static_cast<float>(u2);
        const double z = call % 2 == 0 ? R * std::sin(th) : R * std::cos(th);
        EXPECT_NEAR(normal(1.0f, 2.0f), z * 2.0 + 1.0, 1e-5) << call;
    }
}

TEST(NormalNoise, DistributionOfManyDraws) {
    SetRandSeed(11);
    int inside = 0;
    const int n = 200000;
    const Moments m = moments(n, [&] {
        const float v = NormalNoise(3.0f, 0.5f);
        inside += std::fabs(v - 3.0f) < 0.5f;
        return v;
    });
    EXPECT_NEAR(m.mean, 3.0, 0.01);
    EXPECT_NEAR(m.var, 0.25, 0.005);
    EXPECT_NEAR(inside / double(n), 0.6827, 0.006);
    SetRandSeed(0);
    for (int i = 0; i < 10000; ++i) ASSERT_TRUE(std::isfinite(NormalNoise(0, 1)));  // u1 >= 1e-6: no log of 0
}

TEST(TriangleNoise, FormulaAndDistribution) {
    SetRandSeed(9);
    Lcg ref{9};
    for (int i = 0; i < 2000; ++i) {
        const float u = uniformRef(ref, 0.0f, 1.0f);
        ASSERT_NEAR(TriangleNoise(0.0f, 0.0f, 1.0f), 1.0 - std::sqrt(1.0 - u), 1e-6) << i;
    }
    const Moments m = moments(100000, [] { return TriangleNoise(1.0f, 2.0f, 4.0f); });
    EXPECT_NEAR(m.mean, 7.0 / 3.0, 0.01);
    EXPECT_NEAR(m.var, (1 + 4 + 16 - 2 - 4 - 8) / 18.0, 0.01);  // (a^2+b^2+c^2-ab-ac-bc)/18
    for (int i = 0; i < 10; ++i) EXPECT_EQ(TriangleNoise(2.0f, 2.0f, 2.0f), 2.0f);  // zero width
}

TEST(ExpSignal, MeanBoundAndRateZero) {
    SetRandSeed(21);
    float top = 0;
    const Moments m = moments(200000, [&] {
        const float v = ExpSignal(2.0f);
        top = std::max(top, v);
        return v;
    });
    EXPECT_NEAR(m.mean, 0.5, 0.01);
    EXPECT_NEAR(m.var, 0.25, 0.01);
    EXPECT_LE(top, -std::log(1e-5) / 2.0 + 1e-5);
    SetRandSeed(1);
    Lcg ref{1};
    EXPECT_EQ(ExpSignal(0.0f), 0.0f);
    ref.next();
    const double u = ref.next() * 3.051850947599719e-5;
    EXPECT_FLOAT_EQ(ExpSignal(4.0f), static_cast<float>(-std::log(u) / 4.0));  // one step per call
}
