// FIR window design, Butterworth IIR design, frequency responses and the recursive-filter slots.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

// The window method written out: Hamming weight from the centre times the ideal response.
double firReference(double f1, double f2, int n, int type, int tap) {
    const int M = (n - 1) / 2, i = std::abs(tap - M);
    auto S = [i](double f) { return i == 0 ? f : std::sin(kPi * f * i) / (kPi * i); };
    const double ideal[4] = {S(f2), S(1.0) - S(f2), S(f2) - S(f1), S(f1) + S(1.0) - S(f2)};
    return (0.54 + 0.46 * std::cos(kPi * i / ((n - 1) * 0.5))) * ideal[type];
}

// H(e^jw) = B(e^-jw) / A(e^-jw), evaluated from the coefficients.
std::complex<double> transfer(const std::vector<float> &a, const std::vector<float> &b, double w) {
    std::complex<double> num = 0.0, den = 0.0;
    for (size_t k = 0; k < b.size(); ++k) num += static_cast<double>(b[k]) * std::polar(1.0, -w * k);
    for (size_t k = 0; k < a.size(); ++k) den += static_cast<double>(a[k]) * std::polar(1.0, -w * k);
    return num / den;
}

struct Design {
    std::vector<float> a, b;
};

Design iir(float f1, float f2, float fs, int ord, int type) {
    Design d{std::vector<float>(ord + 1, 7.0f), std::vector<float>(ord + 1, 7.0f)};
    EXPECT_EQ(IIRFDesign(f1, f2, fs, ord, d.a.data(), d.b.data(), type), 1);
    return d;
}

}  // namespace

TEST(FIRDesign, TapsFollowTheWindowFormula) {
    for (int n : {5, 6, 21, 32}) {
        for (int type = 0; type < 4; ++type) {
            std::vector<float> h(n, 9.0f);
            ASSERT_EQ(FIRDesign(0.2f, 0.6f, n, h.data(), type), 1);
            const int last = n % 2 == 0 ? n - 1 : n;  // an even length leaves its last tap 0
            for (int j = 0; j < last; ++j)
                EXPECT_NEAR(h[j], firReference(0.2f, 0.6f, n, type, j), 1e-6) << n << " " << type << " " << j;
            if (n % 2 == 0) {
                EXPECT_EQ(h[n - 1], 0.0f);
            }
        }
    }
    float h5[5];
    ASSERT_EQ(FIRDesign(0.0f, 0.5f, 5, h5, 0), 1);
    EXPECT_FLOAT_EQ(h5[2], 0.5f);
    EXPECT_EQ(h5[0], h5[4]);
    EXPECT_EQ(h5[1], h5[3]);
}

TEST(FIRDesign, RefusedArgumentsTouchNothingOrClear) {
    float h[8];
    std::fill(h, h + 8, 3.0f);
    EXPECT_EQ(FIRDesign(0.4f, 0.4f, 8, h, 0), 0);  // equal edges: untouched
    EXPECT_EQ(h[0], 3.0f);
    EXPECT_EQ(FIRDesign(0.1f, 0.4f, 1, h, 0), 0);  // one tap: no window, untouched
    EXPECT_EQ(FIRDesign(0.1f, 0.4f, 0, h, 0), 0);  // no taps: h[0] is not written
    EXPECT_EQ(FIRDesign(0.1f, 0.4f, -5, h, 0), 0);
    EXPECT_EQ(h[0], 3.0f);
    EXPECT_EQ(FIRDesign(0.1f, 0.4f, 8, nullptr, 0), 0);
    for (auto args : {std::array<float, 2>{0.1f, 1.2f}, std::array<float, 2>{-0.1f, 0.5f}}) {
        std::fill(h, h + 8, 3.0f);
        EXPECT_EQ(FIRDesign(args[0], args[1], 8, h, 0), 0);
        for (float v : h) EXPECT_EQ(v, 0.0f);
    }
    std::fill(h, h + 8, 3.0f);
    EXPECT_EQ(FIRDesign(0.1f, 0.5f, 8, h, 4), 0);
    EXPECT_EQ(FIRDesign(0.1f, 0.5f, 8, h, -1), 0);
    for (float v : h) EXPECT_EQ(v, 0.0f);
}

TEST(FIRFreqResponse, MatchesTheDirectTransform) {
    std::vector<float> h(31);
    ASSERT_EQ(FIRDesign(0.0f, 0.3f, 31, h.data(), 0), 1);
    const int m = 64;
    std::vector<float> H(m);
    ASSERT_EQ(FIRFreqResponse(h.data(), 31, H.data(), m), 1);
    for (int k = 0; k < m; ++k) {
        std::complex<double> s = 0.0;
        for (int j = 0; j < 31; ++j)
            s += static_cast<double>(h[j]) * std::polar(1.0, -2.0 * kPi * j * k / (2.0 * m));
        EXPECT_NEAR(H[k], std::abs(s), 2e-6) << k;
    }
    EXPECT_NEAR(H[0], 1.0, 0.01);  // pass band
    EXPECT_LT(H[40], 0.01);        // 0.625 of Nyquist: stop band
    EXPECT_EQ(FIRFreqResponse(h.data(), 31, H.data(), 0), 0);
    EXPECT_EQ(FIRFreqResponse(h.data(), 0, H.data(), m), 0);
}

TEST(IIRFDesign, SecondOrderLowPassHasUnitDcGain) {
    const Design d = iir(200.0f, 400.0f, 1000.0f, 2, 0);
    EXPECT_EQ(d.a[0], 1.0f);
    EXPECT_NEAR(d.b[1] / d.b[0], 2.0, 1e-5);
    EXPECT_NEAR(d.b[2] / d.b[0], 1.0, 1e-5);
    EXPECT_NEAR(std::abs(transfer(d.a, d.b, 0.0)), 1.0, 1e-5);
}

// Both edges are halved, so edges f1, f2 design the Butterworth edge f2 / 2 Hz (low/high-pass) or
// the band f1 / 2 .. f2 / 2 Hz; the bilinear Butterworth magnitude is known in closed form.
TEST(IIRFDesign, ResponsesAreButterworthAtTheHalvedEdges) {
    const double fs = 1000.0;
    for (int ord : {2, 4, 6, 8}) {
        const Design lp = iir(100.0f, 300.0f, fs, ord, 0), hp = iir(100.0f, 300.0f, fs, ord, 1);
        const double wc = 2.0 * kPi * 150.0 / fs;
        for (double f : {20.0, 80.0, 150.0, 220.0, 400.0}) {
            const double w = 2.0 * kPi * f / fs;
            const double r = std::pow(std::tan(w / 2) / std::tan(wc / 2), 2.0 * ord);
            EXPECT_NEAR(std::abs(transfer(lp.a, lp.b, w)), std::sqrt(1.0 / (1.0 + r)), 2e-4)
                << ord << " " << f;
            EXPECT_NEAR(std::abs(transfer(hp.a, hp.b, w)), std::sqrt(r / (1.0 + r)), 2e-4) << ord << " " << f;
        }
    }
    for (int ord : {4, 8}) {
        const Design bp = iir(200.0f, 400.0f, fs, ord, 2), bs = iir(200.0f, 400.0f, fs, ord, 3);
        const double lo = 2.0 * kPi * 100.0 / fs, hi = 2.0 * kPi * 200.0 / fs;
        const double centre = std::acos(std::cos((hi + lo) / 2) / std::cos((hi - lo) / 2));
        for (double w : {lo, hi}) {
            EXPECT_NEAR(std::abs(transfer(bp.a, bp.b, w)), std::sqrt(0.5), 2e-4) << ord;
            EXPECT_NEAR(std::abs(transfer(bs.a, bs.b, w)), std::sqrt(0.5), 2e-4) << ord;
        }
        EXPECT_NEAR(std::abs(transfer(bp.a, bp.b, centre)), 1.0, 2e-4);
        EXPECT_NEAR(std::abs(transfer(bs.a, bs.b, centre)), 0.0, 2e-4);
        EXPECT_NEAR(std::abs(transfer(bs.a, bs.b, 0.0)), 1.0, 2e-4);
    }
    const Design bp4 = iir(200.0f, 400.0f, fs, 4, 2);
    const double expected[5] = {1, 0, -2, 0, 1};
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(bp4.b[k] / bp4.b[0], expected[k], 1e-5);
}

TEST(IIRFDesign, OrderOutsideWholeSectionsLeavesZerosAfterIt) {
    const Design d = iir(100.0f, 300.0f, 1000.0f, 3, 0);
    EXPECT_EQ(d.a[3], 0.0f);
    EXPECT_EQ(d.b[3], 0.0f);
    const Design band = iir(100.0f, 300.0f, 1000.0f, 6, 2);  // one 4th-order section
    EXPECT_EQ(band.a[5], 0.0f);
    EXPECT_EQ(band.a[6], 0.0f);
    EXPECT_NE(band.a[4], 0.0f);
}

TEST(IIRFDesign, RefusedArgumentsTouchNothing) {
    std::vector<float> a(70, 5.0f), b(70, 5.0f);
    EXPECT_EQ(IIRFDesign(100.0f, 100.0f, 1000.0f, 4, a.data(), b.data(), 0), 0);
    EXPECT_EQ(IIRFDesign(100.0f, 300.0f, 1000.0f, -1, a.data(), b.data(), 0), 0);
    EXPECT_EQ(IIRFDesign(100.0f, 300.0f, 1000.0f, 64, a.data(), b.data(), 0), 0);
    EXPECT_EQ(IIRFDesign(100.0f, 300.0f, 1000.0f, 4, a.data(), b.data(), 4), 0);
    EXPECT_EQ(IIRFDesign(100.0f, 300.0f, 0.0f, 4, a.data(), b.data(), 0), 0);
    EXPECT_EQ(IIRFDesign(100.0f, 300.0f, 1000.0f, 4, nullptr, b.data(), 0), 0);
    for (int k = 0; k < 70; ++k) {
        EXPECT_EQ(a[k], 5.0f);
        EXPECT_EQ(b[k], 5.0f);
    }
    EXPECT_EQ(IIRFDesign(100.0f, 300.0f, 1000.0f, 63, a.data(), b.data(), 0), 1);
    EXPECT_EQ(a[64], 5.0f);  // nothing past a[ord]
}

TEST(FreqRes, MagnitudeAndPhaseFromTheTransferFunction) {
    const Design d = iir(100.0f, 300.0f, 1000.0f, 4, 0);
    const int m = 50;
    std::vector<float> mag(m), ph(m);
    ASSERT_EQ(AMFreqRes(d.a.data(), d.b.data(), 5, 5, mag.data(), m), 1);
    ASSERT_EQ(PHFreqRes(d.a.data(), d.b.data(), 5, 5, ph.data(), m), 1);
    for (int k = 0; k < m; ++k) {
        const double w = kPi * k / m;
        EXPECT_NEAR(mag[k], std::abs(transfer(d.a, d.b, w)), 1e-5) << k;
        // Principal values of single ratios: each polynomial's angle folded into (-pi/2, pi/2).
        std::complex<double> B = 0.0, A = 0.0;
        for (int j = 0; j < 5; ++j) {
            B += static_cast<double>(d.b[j]) * std::polar(1.0, -w * j);
            A += static_cast<double>(d.a[j]) * std::polar(1.0, -w * j);
        }
        auto fold = [](std::complex<double> z) {
            return std::atan(z.imag() / (z.real() == 0 ? 1e-12 : z.real()));
        };
        EXPECT_NEAR(ph[k], fold(B) - fold(A), 1e-4) << k;
    }
    const float one = 1.0f;
    std::vector<float> r(8, 9.0f);
    ASSERT_EQ(AMFreqRes(&one, &one, 1, 1, r.data(), 8), 1);
    for (float v : r) EXPECT_FLOAT_EQ(v, 1.0f);
    ASSERT_EQ(PHFreqRes(&one, &one, 1, 1, r.data(), 8), 1);
    for (float v : r) EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(AMFreqRes(&one, &one, 1, 1, r.data(), 0), 0);
    EXPECT_EQ(PHFreqRes(&one, &one, -1, 1, r.data(), 4), 0);
}

TEST(SignalToLinearSys, SlotOutputEqualsDirectFormFilter) {
    const Design d = iir(100.0f, 300.0f, 1000.0f, 8, 0);
    const int n = 3000;
    std::vector<double> x(n);
    for (int i = 0; i < n; ++i) x[i] = 1.0 + 0.5 * std::sin(0.05 * i) + 0.3 * std::sin(1.3 * i);
    // Direct form over the whole signal, histories starting at x[0] as the slot's start does.
    std::vector<double> y(n);
    auto xin = [&](int i) { return i < 0 ? x[0] : x[i]; };
    auto yout = [&](int i) { return i < 0 ? x[0] : y[i]; };
    for (int i = 0; i < n; ++i) {
        double s = 0.0;
        for (int k = 0; k <= 8; ++k) s += d.b[k] * xin(i - k) - (k > 0 ? d.a[k] * yout(i - k) : 0.0);
        y[i] = s;
    }
    const float x0 = static_cast<float>(x[0]);
    EXPECT_EQ(SignalToLinearSys(d.a.data(), 9, d.b.data(), 9, x0, 0, 3), x0);
    for (int i = 0; i < n; ++i) {
        const float out = SignalToLinearSys(d.a.data(), 9, d.b.data(), 9, static_cast<float>(x[i]), 1, 3);
        ASSERT_NEAR(out, y[i], 2e-4) << i;
    }
}

TEST(SignalToLinearSys, FeedbackFloorAndIndependentSlots) {
    const float one = 1.0f;
    EXPECT_EQ(SignalToLinearSys(&one, 1, &one, 1, 2.5f, 0, 0), 2.5f);
    for (float x : {1.0f, -3.0f, 0.25f})
        EXPECT_FLOAT_EQ(SignalToLinearSys(&one, 1, &one, 1, x, 1, 0), x - 1e-6f);
    // A two-tap average in slot 1 and a one-pole smoother in slot 2, driven alternately.
    const float avg[2] = {0.5f, 0.5f}, pole[2] = {1.0f, -0.5f}, gain = 0.5f;
    SignalToLinearSys(&one, 1, avg, 2, 0.0f, 0, 1);
    SignalToLinearSys(pole, 2, &gain, 1, 0.0f, 0, 2);
    float prevX = 0.0f, prevY = 0.0f;
    for (int i = 1; i <= 20; ++i) {
        const float x = static_cast<float>(i);
        const float y1 = SignalToLinearSys(&one, 1, avg, 2, x, 1, 1);
        const float y2 = SignalToLinearSys(pole, 2, &gain, 1, x, 1, 2);
        EXPECT_FLOAT_EQ(y1, 0.5f * (x + prevX) - 1e-6f);
        EXPECT_NEAR(y2, 0.5 * x + 0.5 * prevY, 1e-5);
        prevX = x;
        prevY = y2;
    }
}

TEST(SignalToLinearSys, RefusedCallsLeaveTheSlotAsItWas) {
    const float b[2] = {0.5f, 0.5f}, a = 1.0f;
    std::vector<float> big(200, 0.1f);
    SignalToLinearSys(&a, 1, b, 2, 1.0f, 0, 4);
    EXPECT_EQ(SignalToLinearSys(&a, 1, b, 2, 3.0f, 1, 8), 0.0f);
    EXPECT_EQ(SignalToLinearSys(&a, 1, b, 2, 3.0f, 1, -1), 0.0f);
    EXPECT_EQ(SignalToLinearSys(&a, 1, big.data(), 129, 3.0f, 1, 4), 0.0f);
    EXPECT_EQ(SignalToLinearSys(big.data(), 129, b, 2, 3.0f, 1, 4), 0.0f);
    EXPECT_EQ(SignalToLinearSys(&a, 1, nullptr, 2, 3.0f, 1, 4), 0.0f);
    // The slot still holds only its start value 1.0: (5 + 1) / 2.
    EXPECT_FLOAT_EQ(SignalToLinearSys(&a, 1, b, 2, 5.0f, 1, 4), 3.0f - 1e-6f);
    // The full 128-sample histories are usable.
    SignalToLinearSys(&a, 1, big.data(), 128, 2.0f, 0, 5);
    EXPECT_NEAR(SignalToLinearSys(&a, 1, big.data(), 128, 2.0f, 1, 5), 128 * 0.2, 1e-4);
}
