// The methods the DSP control computes itself, called through its dispatch interface and
// compared with references computed here from their formulas (double precision).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "automation/host.h"
#include "helpers.h"
#include "tessiq/dispids.h"

using namespace automation;
using tessiq_test::errorOf;
using tessiq_test::fromZero;
namespace d = tessiq::dispid;

namespace {

class Computed : public ::testing::Test {
  protected:
    ControlHandle dsp = ControlHandle::create("TessiqLib.Tessiq");
};

SafeArray F(const std::vector<float> &v) {
    return SafeArray::ofFloats(v);
}

std::vector<float> noise(std::size_t n, unsigned seed, float spread = 1.0f) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> dist(-spread, spread);
    std::vector<float> v(n);
    for (float &x : v) x = dist(gen);
    return v;
}

double meanOf(const std::vector<float> &v, std::size_t n) {
    double s = 0;
    for (std::size_t i = 0; i < n; ++i) s += v[i];
    return n ? s / double(n) : 0;
}

double varianceOf(const std::vector<float> &v) {
    double m = meanOf(v, v.size()), s = 0;
    for (float x : v) s += (x - m) * (x - m);
    return s / double(v.size());
}

}  // namespace

TEST_F(Computed, VarianceAndStandardDeviation) {
    SafeArray x = F({1, 2, 3, 4});
    EXPECT_FLOAT_EQ(dsp.call(d::b_Variance, x, 4).toR4(), 1.25f);
    EXPECT_NEAR(dsp.call(d::b_Std, x, 4).toR4(), std::sqrt(1.25), 1e-6);
    std::vector<float> v = noise(1000, 3, 5.0f);
    SafeArray big = F(v);
    EXPECT_NEAR(dsp.call(d::b_Variance, big, 1000).toR4(), varianceOf(v), 1e-4 * varianceOf(v));
    EXPECT_NEAR(dsp.call(d::b_Std, big, 1000).toR4(), std::sqrt(varianceOf(v)), 1e-4);
    EXPECT_EQ(dsp.call(d::b_Variance, big, 0).toR4(), 0.0f);
    EXPECT_EQ(errorOf([&] { dsp.call(d::b_Std, x, 5); }), err::SubscriptOutOfRange);
}

TEST_F(Computed, OddPointsTakeTheNearestNormalNeighbourOrTheMean) {
    SafeArray x = F({1, 1, 100, 1, 1}), y = F({0, 0, 0, 0, 0});
    dsp.call(d::b_OddPoints, x, 5, y, 1.0f, 0);
    EXPECT_EQ(fromZero(y), std::vector<float>({1, 1, 1, 1, 1}));
    dsp.call(d::b_OddPoints, x, 5, y, 1.0f, 1);
    const float m = 20.8f;
    EXPECT_EQ(fromZero(y), std::vector<float>({m, m, 100, m, m}));
    // At the first point the shorter side reaches nowhere: the mean.
    SafeArray edge = F({100, 1, 1, 1, 1, 1}), out = F({0, 0, 0, 0, 0, 0});
    dsp.call(d::b_OddPoints, edge, 6, out, 1.0f, 0);
    EXPECT_FLOAT_EQ(out.r4(0), 17.5f);
    EXPECT_EQ(out.r4(1), 1.0f);
    // Left neighbour odd too: the right one at the same distance is taken.
    SafeArray pair = F({1, 2, 90, 100, 3, 1, 1, 1}), res = F(std::vector<float>(8, 0));
    dsp.call(d::b_OddPoints, pair, 8, res, 1.0f, 0);
    EXPECT_EQ(res.r4(2), 2.0f);  // x(1) normal
    EXPECT_EQ(res.r4(3), 3.0f);  // x(2) odd, x(4) normal
    SafeArray shortOut = F({0, 0});
    EXPECT_EQ(errorOf([&] { dsp.call(d::b_OddPoints, x, 5, shortOut, 1.0f, 0); }), err::SubscriptOutOfRange);
}

TEST_F(Computed, ZeroCrossingRateOfASine) {
    std::vector<float> v(1000);
    for (int i = 0; i < 1000; ++i) v[i] = float(std::sin(2 * M_PI * i / 100.0 + 0.3));
    SafeArray x = F(v);
    EXPECT_NEAR(dsp.call(d::b_ZeroCross, x, 1000, 100.0f).toR4(), 1.0f, 0.06f);
    // Direct count of sign changes about the mean.
    double m = meanOf(v, 1000);
    int changes = 0;
    for (int i = 0; i + 1 < 1000; ++i) changes += (v[i + 1] - m) * (v[i] - m) < 0;
    EXPECT_NEAR(dsp.call(d::b_ZeroCross, x, 1000, 100.0f).toR4(), 0.5 * changes / 10.0, 1e-5);
    EXPECT_EQ(errorOf([&] { dsp.call(d::b_ZeroCross, x, 0, 100.0f); }), err::DivisionByZero);
    EXPECT_EQ(errorOf([&] { dsp.call(d::b_ZeroCross, x, 10, 0.0f); }), err::DivisionByZero);
}

TEST_F(Computed, StringSortWithAndWithoutIndex) {
    SafeArray items(ElemType::String, 0, 3);
    items.str(0) = "pear";
    items.str(1) = "Apple";
    items.str(2) = "apple";
    SafeArray index = SafeArray::ofInts({7, 7, 7});
    dsp.call(d::c_SortStrings, items, -3, index);
    EXPECT_EQ(items.str(0), "Apple");  // binary: upper case first
    EXPECT_EQ(items.str(1), "apple");
    EXPECT_EQ(items.str(2), "pear");
    EXPECT_EQ(index.i4(0), 7);
    items.str(0) = "pear";
    items.str(2) = "Apple";
    dsp.call(d::c_SortStrings, items, 3, index);
    EXPECT_EQ(items.str(0), "Apple");
    EXPECT_EQ(index.i4(0), 2);
    EXPECT_EQ(index.i4(1), 1);
    EXPECT_EQ(index.i4(2), 0);

    std::mt19937 gen(11);
    const int n = 500;
    SafeArray many(ElemType::String, 0, n), order(ElemType::I4, 0, n);
    std::vector<std::string> original(n);
    for (int i = 0; i < n; ++i) {
        original[i] = std::to_string(gen() % 97) + char('a' + gen() % 26);
        many.str(i) = original[i];
    }
    dsp.call(d::c_SortStrings, many, n, order);
    std::vector<std::string> expected = original;
    std::sort(expected.begin(), expected.end());
    std::vector<int> seen(n, 0);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(many.str(i), expected[i]);
        ASSERT_GE(order.i4(i), 0);
        ASSERT_LT(order.i4(i), n);
        EXPECT_EQ(original[order.i4(i)], many.str(i));
        ++seen[order.i4(i)];
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), n);  // a permutation
    SafeArray twoIndex = SafeArray::ofInts({0, 0});
    EXPECT_EQ(errorOf([&] { dsp.call(d::c_SortStrings, items, 3, twoIndex); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { dsp.call(d::c_SortStrings, items, -4, index); }), err::SubscriptOutOfRange);
}

TEST_F(Computed, StringSortOfALongSortedListNeedsNoDeepRecursion) {
    const int n = 20000;
    SafeArray many(ElemType::String, 0, n);
    for (int i = 0; i < n; ++i)
        many.str(i) = std::string(1, char('a' + (i * 7) % 26)) + std::to_string(n - i);
    SafeArray index(ElemType::I4, 0, n);
    dsp.call(d::c_SortStrings, many, n, index);
    for (int i = 1; i < n; ++i) ASSERT_LE(many.str(i - 1), many.str(i));
}

TEST_F(Computed, CrossCorrelationDividesByTheLagOrByN) {
    std::vector<float> xv = noise(50, 1), yv = noise(40, 2);
    SafeArray x = F(xv), y = F(yv);
    for (int mode : {0, 1}) {
        SafeArray cor = F(std::vector<float>(12, -9.0f));
        dsp.call(d::d_CrossCorrelation, x, 50, y, 40, cor, 10, mode);
        const int n = 40;
        double mx = meanOf(xv, n), my = meanOf(yv, n);
        for (int k = 0; k < 10; ++k) {
            double s = 0;
            for (int i = 0; i < n - k; ++i) s += (xv[i] - mx) * (yv[i + k] - my);
            EXPECT_NEAR(cor.r4(k), s / (mode == 0 ? n - k : n), 1e-5) << mode << " " << k;
        }
        EXPECT_EQ(cor.r4(10), -9.0f);
    }
    // d_AutoCor with Mark < 1 is the unbiased correlation of x with itself.
    SafeArray ac = F(std::vector<float>(5, 0)), cc = F(std::vector<float>(5, 0));
    dsp.call(d::d_AutoCor, x, 50, ac, 5, 0);
    dsp.call(d::d_CrossCorrelation, x, 50, x, 50, cc, 5, 0);
    EXPECT_EQ(fromZero(ac), fromZero(cc));
    SafeArray shortCor = F({0, 0});
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_CrossCorrelation, x, 50, y, 40, shortCor, 3, 0); }),
              err::SubscriptOutOfRange);
}

TEST_F(Computed, TrailingMedianFilter) {
    SafeArray x = F({5, 1, 9, 3, 7}), y = F({0, 0, 0, 0, 0});
    dsp.call(d::d_MedianFilter, x, 5, y, 1);
    EXPECT_EQ(fromZero(y), std::vector<float>({5, 5, 5, 3, 7}));
    std::vector<float> v = noise(200, 4);
    SafeArray big = F(v), out = F(std::vector<float>(200, 0));
    dsp.call(d::d_MedianFilter, big, 200, out, 3);
    for (int i = 0; i < 200; ++i) {
        int start = std::max(0, i - 6);
        std::vector<float> w(v.begin() + start, v.begin() + start + 7);
        std::sort(w.begin(), w.end());
        ASSERT_EQ(out.r4(i), w[3]) << i;
    }
    // Fewer samples than the window is refused; nothing is written.
    SafeArray few = F({1, 2}), fewOut = F({-1, -1});
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_MedianFilter, few, 2, fewOut, 1); }), err::InvalidCall);
    EXPECT_EQ(fromZero(fewOut), std::vector<float>({-1, -1}));
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_MedianFilter, few, 2, fewOut, 16384); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_MedianFilter, few, 2, fewOut, -1); }), err::InvalidCall);
}

TEST_F(Computed, FrequencyResponseOfARationalFilter) {
    SafeArray a = F({1, -0.5f, 0.25f}), b = F({0.5f, 0.5f});
    SafeArray am = F(std::vector<float>(9, 0)), ph = F(std::vector<float>(9, 0));
    dsp.call(d::d_Response, a, b, 3, 2, am, ph, 9, 0.0f, 40.0f, 100.0f);
    const double ca[3] = {1, -0.5, 0.25}, cb[2] = {0.5, 0.5};
    for (int i = 0; i < 9; ++i) {
        double phi = 6.2831852 * (5.0 * i) / 100.0;
        double br = cb[0] + cb[1] * std::cos(phi), bi = -cb[1] * std::sin(phi);
        double ar = ca[0] + ca[1] * std::cos(phi) + ca[2] * std::cos(2 * phi);
        double ai = -(ca[1] * std::sin(phi) + ca[2] * std::sin(2 * phi));
        EXPECT_NEAR(am.r4(i), std::sqrt((br * br + bi * bi) / (ar * ar + ai * ai)), 1e-5) << i;
        EXPECT_NEAR(ph.r4(i), std::atan(bi / br) - std::atan(ai / ar), 1e-5) << i;
    }
    // Br = 0 (at half the rate for b = 0.5, 0.5): tan taken as -1e20, so the phase is -pi/2 - atan(tA).
    SafeArray one = F({1}), am1 = F({0, 0}), ph1 = F({0, 0});
    dsp.call(d::d_Response, one, b, 1, 2, am1, ph1, 2, 0.0f, 50.0f, 100.0f);
    EXPECT_NEAR(ph1.r4(1), std::atan(-1e20), 1e-6);
    SafeArray keep = F({7, 7});
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_Response, a, b, 3, 2, keep, ph1, 1, 0.0f, 40.0f, 100.0f); }),
              err::DivisionByZero);
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_Response, a, b, 3, 2, keep, ph1, 2, 0.0f, 40.0f, 0.0f); }),
              err::DivisionByZero);
    EXPECT_EQ(fromZero(keep), std::vector<float>({7, 7}));
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_Response, a, b, 4, 2, am, ph, 9, 0.0f, 40.0f, 100.0f); }),
              err::SubscriptOutOfRange);
}

TEST_F(Computed, SignalReshapers) {
    std::vector<float> v = noise(64, 5, 3.0f);
    SafeArray x = F(v), y = F(std::vector<float>(64, 0));
    dsp.call(d::d_ZeroMean, x, y, 64);
    double m = meanOf(v, 64), s = std::sqrt(varianceOf(v));
    for (int i = 0; i < 64; ++i) EXPECT_NEAR(y.r4(i), v[i] - m, 1e-5);
    dsp.call(d::d_Normalize, x, y, 64);
    for (int i = 0; i < 64; ++i) EXPECT_NEAR(y.r4(i), (v[i] - m) / s, 1e-4);
    SafeArray flat = F({2, 2, 2}), out = F({9, 9, 9});
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_Normalize, flat, out, 3); }), err::DivisionByZero);
    EXPECT_EQ(fromZero(out), std::vector<float>({9, 9, 9}));
    SafeArray up = F({1, 4, -2});
    dsp.call(d::d_SignalUpDown, up, 3, 1.5f);
    EXPECT_EQ(fromZero(up), std::vector<float>({2, -1, 5}));
    SafeArray lr = F({1, 2, 3, 4});
    dsp.call(d::d_SignalLeftRight, lr, 3);
    EXPECT_EQ(fromZero(lr), std::vector<float>({3, 2, 1, 4}));
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_SignalLeftRight, lr, 5); }), err::SubscriptOutOfRange);
}

TEST_F(Computed, SpectrumSummaries) {
    std::vector<float> line(32, 0.0f);
    line[10] = 4;
    SafeArray ps = F(line);
    EXPECT_FLOAT_EQ(dsp.call(d::d_MedianFreq, ps, 32, 0.5f).toR4(), 5.0f);
    EXPECT_FLOAT_EQ(dsp.call(d::d_PeakFreq, ps, 32, 0.5f).toR4(), 5.0f);
    EXPECT_FLOAT_EQ(dsp.call(d::d_MeanFreq, ps, 32, 0.5f).toR4(), 5.0f);
    std::vector<float> v = noise(32, 6);
    for (float &p : v) p = std::fabs(p);
    v[7] = 3;
    v[20] = 3;  // the first of two equal peaks
    SafeArray spectrum = F(v);
    EXPECT_FLOAT_EQ(dsp.call(d::d_PeakFreq, spectrum, 32, 0.25f).toR4(), 7 * 0.25f);
    double total = std::accumulate(v.begin(), v.end(), 0.0), weighted = 0;
    for (int j = 0; j < 32; ++j) weighted += v[j] * j * 0.25;
    EXPECT_NEAR(dsp.call(d::d_MeanFreq, spectrum, 32, 0.25f).toR4(), weighted / total, 1e-4);
    double run = 0;
    int j = 0, k = 31;
    for (int i = 0; i < 32; ++i)
        if ((run += v[i]) > total / 2) {
            j = i;
            break;
        }
    run = 0;
    for (int i = 31; i >= 0; --i)
        if ((run += v[i]) > total / 2) {
            k = i;
            break;
        }
    EXPECT_FLOAT_EQ(dsp.call(d::d_MedianFreq, spectrum, 32, 0.25f).toR4(), (j + k) / 2.0f * 0.25f);
    SafeArray zero = F({0, 0, 0});
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_MeanFreq, zero, 3, 1.0f); }), err::DivisionByZero);
    EXPECT_EQ(dsp.call(d::d_PeakFreq, zero, 3, 1.0f).toR4(), 0.0f);
}

TEST_F(Computed, HeartRateAtEachRisingBeat) {
    auto feed = [&](const std::vector<float> &signal) {
        std::vector<float> rates;
        for (float v : signal) rates.push_back(dsp.call(d::f_ECGHR, v).toR4());
        return rates;
    };
    std::vector<float> beats(200, 0.0f);
    for (int at : {10, 60, 130}) beats[at] = 1.0f;
    // Before any initialisation the detector never triggers.
    std::vector<float> none = feed(beats);
    EXPECT_TRUE(std::all_of(none.begin(), none.end(), [](float r) { return r == 0; }));
    dsp.call(d::f_ECGRwaveInit, 0.1f, 2.0f, 40.0f, 200.0f, 100.0f);
    std::vector<float> rates = feed(beats);
    for (int i = 0; i < 200; ++i) {
        // The beat at 10 falls within the refractory length (30 samples) after the start; at 60
        // the rate counts the 60 samples fed before it, at 130 the 69 since the trigger at 60.
        float expected = i == 60 ? 100 * 60 / 60.0f : i == 130 ? 100 * 60 / 69.0f : 0;
        EXPECT_FLOAT_EQ(rates[i], expected) << i;
    }
    // Each instance has a detector of its own.
    ControlHandle other = ControlHandle::create("TessiqLib.Tessiq");
    EXPECT_EQ(other.call(d::f_ECGHR, 5.0f).toR4(), 0.0f);
    EXPECT_EQ(errorOf([&] { dsp.call(d::f_ECGRwaveInit, 0.1f, 2.0f, 40.0f, 0.0f, 100.0f); }),
              err::DivisionByZero);
}
