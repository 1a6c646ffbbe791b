// Spectral core exports against independent double-precision references written here.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "sigmora.h"

namespace {

using cd = std::complex<double>;
using Vec = std::vector<float>;
const double kPi = std::acos(-1.0);

Vec random_vec(std::size_t n, unsigned seed, float lo = -1.0f, float hi = 1.0f) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(lo, hi);
    Vec v(n);
    for (float &x : v) x = d(gen);
    return v;
}

// Direct DFT with the exact 2*pi; sign -1 forward, +1 inverse (unscaled).
std::vector<cd> direct_dft(const std::vector<cd> &x, int sign) {
    const std::size_t n = x.size();
    std::vector<cd> out(n);
    for (std::size_t k = 0; k < n; ++k) {
        cd acc = 0;
        for (std::size_t j = 0; j < n; ++j)
            acc += x[j] * std::polar(1.0, sign * 2.0 * kPi * static_cast<double>((j * k) % n) /
                                              static_cast<double>(n));
        out[k] = acc;
    }
    return out;
}

std::vector<cd> to_complex(const Vec &re, const Vec &im) {
    std::vector<cd> z(re.size());
    for (std::size_t i = 0; i < re.size(); ++i) z[i] = cd(re[i], im[i]);
    return z;
}

// Largest |got - want| relative to the largest |want| (or 1 when want is all small).
double rel_max_error(const Vec &re, const Vec &im, const std::vector<cd> &want) {
    double err = 0, ref = 1e-30;
    for (std::size_t k = 0; k < want.size(); ++k) {
        err = std::max(err, std::abs(cd(re[k], im[k]) - want[k]));
        ref = std::max(ref, std::abs(want[k]));
    }
    return err / ref;
}

double max_abs_diff(const Vec &a, const Vec &b) {
    double d = 0;
    for (std::size_t i = 0; i < a.size(); ++i) d = std::max(d, std::abs(static_cast<double>(a[i]) - b[i]));
    return d;
}

// Periodogram as the library defines it, from a direct DFT: one-sided |X|^2 / n^2.
std::vector<double> reference_periodogram(const std::vector<double> &x) {
    const std::size_t n = x.size();
    std::vector<cd> z(x.begin(), x.end());
    const std::vector<cd> X = direct_dft(z, -1);
    std::vector<double> p(n / 2 + 1);
    const double g = 1.0 / (static_cast<double>(n) * static_cast<double>(n));
    p[0] = std::norm(X[0]) * g;
    for (std::size_t k = 1; k < n / 2; ++k) p[k] = (std::norm(X[k]) + std::norm(X[n - k])) * g;
    p[n / 2] = std::norm(X[n / 2]) * g;
    return p;
}

// ---- FFTCalc / FFTInvCalc ----------------------------------------------------------------

TEST(SpectralFft, ImpulseGivesAllOnesAndComesBack) {
    for (int n : {1, 2, 8, 1024}) {
        Vec re(n, 0.0f), im(n, 0.0f);
        re[0] = 1.0f;
        ASSERT_EQ(FFTCalc(re.data(), im.data(), n), 1);
        for (int k = 0; k < n; ++k) {
            EXPECT_FLOAT_EQ(re[k], 1.0f);
            EXPECT_FLOAT_EQ(im[k], 0.0f);
        }
        ASSERT_EQ(FFTInvCalc(re.data(), im.data(), n), 1);
        for (int k = 0; k < n; ++k) {
            EXPECT_NEAR(re[k], k == 0 ? 1.0f : 0.0f, 1e-7);
            EXPECT_NEAR(im[k], 0.0f, 1e-7);
        }
    }
}

TEST(SpectralFft, ForwardAndInverseMatchDirectSums) {
    for (int n : {2, 4, 16, 128, 1024}) {
        const Vec re0 = random_vec(n, 11 + n), im0 = random_vec(n, 12 + n);
        const auto z = to_complex(re0, im0);
        Vec re = re0, im = im0;
        ASSERT_EQ(FFTCalc(re.data(), im.data(), n), 1);
        EXPECT_LT(rel_max_error(re, im, direct_dft(z, -1)), 2e-6) << n;
        re = re0;
        im = im0;
        ASSERT_EQ(FFTInvCalc(re.data(), im.data(), n), 1);
        auto inv = direct_dft(z, +1);
        for (auto &v : inv) v /= n;
        EXPECT_LT(rel_max_error(re, im, inv), 2e-6) << n;
    }
}

TEST(SpectralFft, RoundTripForEveryPowerOfTwoUpTo2To16) {
    for (int n = 1; n <= (1 << 16); n *= 2) {
        const Vec re0 = random_vec(n, n), im0 = random_vec(n, n + 1);
        Vec re = re0, im = im0;
        ASSERT_EQ(FFTCalc(re.data(), im.data(), n), 1);
        ASSERT_EQ(FFTInvCalc(re.data(), im.data(), n), 1);
        const double tol = 1e-6 * (2 + std::log2(n));
        EXPECT_LT(max_abs_diff(re, re0), tol) << n;
        EXPECT_LT(max_abs_diff(im, im0), tol) << n;
    }
}

TEST(SpectralFft, NonPowerOfTwoAndBadArgumentsFailUntouched) {
    Vec re = random_vec(12, 1), im = random_vec(12, 2);
    const Vec re0 = re, im0 = im;
    for (int n : {0, -8, 3, 6, 12}) {
        EXPECT_EQ(FFTCalc(re.data(), im.data(), n), 0) << n;
        EXPECT_EQ(FFTInvCalc(re.data(), im.data(), n), 0) << n;
    }
    EXPECT_EQ(FFTCalc(nullptr, im.data(), 8), 0);
    EXPECT_EQ(FFTInvCalc(re.data(), nullptr, 8), 0);
    EXPECT_EQ(re, re0);
    EXPECT_EQ(im, im0);
}

// ---- FFT2DCalc ---------------------------------------------------------------------------

// Direct 2-D DFT of a row-major rows x cols matrix.
std::vector<cd> direct_dft2(const std::vector<cd> &x, int cols, int rows, int sign) {
    std::vector<cd> out(x.size());
    for (int u = 0; u < rows; ++u)
        for (int v = 0; v < cols; ++v) {
            cd acc = 0;
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < cols; ++c)
                    acc += x[r * cols + c] * std::polar(1.0, sign * 2.0 * kPi *
                                                                 (static_cast<double>(u * r) / rows +
                                                                  static_cast<double>(v * c) / cols));
            out[u * cols + v] = acc;
        }
    return out;
}

TEST(SpectralFft2D, MatchesDirectTwoDimensionalSums) {
    const int shapes[][2] = {{8, 4}, {4, 8}, {16, 2}, {1, 8}, {8, 1}, {32, 16}};
    for (const auto &s : shapes) {
        const int cols = s[0], rows = s[1];
        const Vec re0 = random_vec(cols * rows, cols * 100 + rows),
                  im0 = random_vec(cols * rows, rows * 100 + cols);
        const auto z = to_complex(re0, im0);
        Vec re = re0, im = im0;
        ASSERT_EQ(FFT2DCalc(re.data(), im.data(), static_cast<int16_t>(cols), static_cast<int16_t>(rows), 0),
                  1);
        EXPECT_LT(rel_max_error(re, im, direct_dft2(z, cols, rows, -1)), 2e-6) << cols << "x" << rows;
        re = re0;
        im = im0;
        ASSERT_EQ(FFT2DCalc(re.data(), im.data(), static_cast<int16_t>(cols), static_cast<int16_t>(rows), 1),
                  1);
        auto inv = direct_dft2(z, cols, rows, +1);
        for (auto &v : inv) v /= cols * rows;
        EXPECT_LT(rel_max_error(re, im, inv), 2e-6) << cols << "x" << rows;
    }
}

TEST(SpectralFft2D, ForwardThenInverseRestoresTheMatrix) {
    const int cols = 64, rows = 32;
    const Vec re0 = random_vec(cols * rows, 5), im0 = random_vec(cols * rows, 6);
    Vec re = re0, im = im0;
    ASSERT_EQ(FFT2DCalc(re.data(), im.data(), cols, rows, 0), 1);
    ASSERT_EQ(FFT2DCalc(re.data(), im.data(), cols, rows, -1), 1);
    EXPECT_LT(max_abs_diff(re, re0), 1e-5);
    EXPECT_LT(max_abs_diff(im, im0), 1e-5);
}

TEST(SpectralFft2D, BadSizesFailUntouched) {
    Vec re = random_vec(48, 1), im = random_vec(48, 2);
    const Vec re0 = re, im0 = im;
    EXPECT_EQ(FFT2DCalc(re.data(), im.data(), 6, 8, 0), 0);
    EXPECT_EQ(FFT2DCalc(re.data(), im.data(), 8, 6, 0), 0);
    EXPECT_EQ(FFT2DCalc(re.data(), im.data(), 0, 8, 0), 0);
    EXPECT_EQ(FFT2DCalc(re.data(), im.data(), -8, 4, 1), 0);
    EXPECT_EQ(FFT2DCalc(nullptr, im.data(), 8, 4, 0), 0);
    EXPECT_EQ(re, re0);
    EXPECT_EQ(im, im0);
}

// ---- WindowData --------------------------------------------------------------------------

Vec window_of(int n, int type) {
    Vec w(n, 1.0f);
    WindowData(w.data(), n, type);
    return w;
}

TEST(SpectralWindow, RectangularForTypeZeroAndUnknownTypes) {
    const Vec x0 = random_vec(9, 3);
    for (int type : {0, 6, 9, -1}) {
        Vec x = x0;
        WindowData(x.data(), 9, type);
        EXPECT_EQ(x, x0) << type;
    }
}

TEST(SpectralWindow, KnownWeightsOfEachType) {
    const Vec tri = window_of(5, 1), han = window_of(5, 2), ham = window_of(5, 4), bla = window_of(5, 5);
    const double triW[] = {0, 0.5, 1, 0.5, 0}, hanW[] = {0, 0.5, 1, 0.5, 0};
    const double hamW[] = {0.08, 0.54, 1.0, 0.54, 0.08}, blaW[] = {0, 0.34, 1.0, 0.34, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(tri[i], triW[i], 1e-6) << i;
        EXPECT_NEAR(han[i], hanW[i], 1e-6) << i;
        EXPECT_NEAR(ham[i], hamW[i], 1e-6) << i;
        EXPECT_NEAR(bla[i], blaW[i], 1e-6) << i;
    }
    const Vec wel = window_of(3, 3);  // Welch never reaches zero at the ends
    EXPECT_NEAR(wel[0], 0.75, 1e-7);
    EXPECT_NEAR(wel[1], 1.0, 1e-7);
    EXPECT_NEAR(wel[2], 0.75, 1e-7);
}

TEST(SpectralWindow, WeightsFollowTheirFormulasAndScaleTheData) {
    const int n = 33;
    const Vec x = random_vec(n, 8, 0.5f, 2.0f);
    for (int type = 1; type <= 5; ++type) {
        Vec y = x;
        WindowData(y.data(), n, type);
        for (int i = 0; i < n; ++i) {
            const double t = 2.0 * kPi * i / (n - 1), c = (n - 1) / 2.0;
            double w = 1;
            switch (type) {
                case 1: w = 1 - std::abs(i - c) / c; break;
                case 2: w = 0.5 - 0.5 * std::cos(t); break;
                case 3: w = 1 - std::pow((i - c) / ((n + 1) / 2.0), 2); break;
                case 4: w = 0.54 - 0.46 * std::cos(t); break;
                case 5: w = 0.42 - 0.5 * std::cos(t) + 0.08 * std::cos(2 * t); break;
            }
            EXPECT_NEAR(y[i], x[i] * w, 2e-6) << "type " << type << " i " << i;
        }
    }
}

TEST(SpectralWindow, OnePointWindowKeepsTheValueAndBadLengthsDoNothing) {
    for (int type = 0; type <= 5; ++type) EXPECT_EQ(window_of(1, type)[0], 1.0f) << type;
    Vec x{2.0f, 3.0f};
    WindowData(x.data(), 0, 2);
    WindowData(x.data(), -5, 2);
    WindowData(nullptr, 4, 2);
    EXPECT_EQ(x, (Vec{2.0f, 3.0f}));
}

// ---- PowerSpectrumCalc -------------------------------------------------------------------

TEST(SpectralPower, ConstantSignalHasAllPowerInBinZero) {
    const int n = 64;
    const float c = 1.5f, dt = 0.01f;
    Vec re(n, c), im(n, 0.0f);
    ASSERT_EQ(PowerSpectrumCalc(re.data(), im.data(), n, dt), 1);
    EXPECT_NEAR(re[0], c * c, 1e-5);
    for (int k = 1; k <= n / 2; ++k) EXPECT_NEAR(re[k], 0.0, 1e-10) << k;
    for (int k = 0; k <= n / 2; ++k) EXPECT_NEAR(im[k], k / (dt * n), 1e-4) << k;
    EXPECT_NEAR(im[1], 1.5625, 1e-6);
}

TEST(SpectralPower, MatchesDirectOneSidedPeriodogram) {
    const int n = 256;
    const Vec x = random_vec(n, 21);
    Vec re = x, im(n, 0.0f);
    ASSERT_EQ(PowerSpectrumCalc(re.data(), im.data(), n, 1.0f), 1);
    const auto want = reference_periodogram(std::vector<double>(x.begin(), x.end()));
    for (int k = 0; k <= n / 2; ++k) EXPECT_NEAR(re[k], want[k], 1e-5 * want[k] + 1e-9) << k;
    // A cosine of amplitude A on bin 10 puts A^2 / 2 there.
    for (int i = 0; i < n; ++i) re[i] = static_cast<float>(3.0 * std::cos(2 * kPi * 10 * i / n));
    std::fill(im.begin(), im.end(), 0.0f);
    ASSERT_EQ(PowerSpectrumCalc(re.data(), im.data(), n, 1.0f), 1);
    EXPECT_NEAR(re[10], 4.5, 1e-4);
    EXPECT_NEAR(re[11], 0.0, 1e-6);
}

TEST(SpectralPower, SinglePointCountsItsBinOnceAndBadLengthsFail) {
    Vec re{2.0f}, im{1.0f};
    ASSERT_EQ(PowerSpectrumCalc(re.data(), im.data(), 1, 1.0f), 1);
    EXPECT_FLOAT_EQ(re[0], 5.0f);
    Vec a = random_vec(10, 4), b = random_vec(10, 5);
    const Vec a0 = a, b0 = b;
    EXPECT_EQ(PowerSpectrumCalc(a.data(), b.data(), 10, 1.0f), 0);
    EXPECT_EQ(PowerSpectrumCalc(a.data(), b.data(), 0, 1.0f), 0);
    EXPECT_EQ(a, a0);
    EXPECT_EQ(b, b0);
}

// ---- RealPSDCalc -------------------------------------------------------------------------

// Periodogram of `count` samples: mean removed, windowed over count points, padded to M.
std::vector<double> reference_segment(const float *x, int count, int M, int wintype) {
    double mean = 0;
    for (int i = 0; i < count; ++i) mean += x[i];
    mean /= count;
    Vec w = window_of(count, wintype);
    std::vector<double> seg(M, 0.0);
    for (int i = 0; i < count; ++i) seg[i] = (x[i] - mean) * w[i];
    return reference_periodogram(seg);
}

void expect_psd_near(const Vec &ps, const std::vector<double> &want) {
    ASSERT_EQ(ps.size(), want.size());
    double peak = 0;
    for (double v : want) peak = std::max(peak, v);
    for (std::size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(ps[k], want[k], 1e-5 * peak) << k;
}

TEST(SpectralRealPsd, WholeSignalOfExactlyOneSegment) {
    const int nps = 33, M = 64;
    const Vec x = random_vec(M, 31, 2.0f, 4.0f);
    Vec ps(nps, -1.0f);
    ASSERT_EQ(RealPSDCalc(x.data(), M, ps.data(), nps, 2), 1);
    expect_psd_near(ps, reference_segment(x.data(), M, M, 2));
    ASSERT_EQ(RealPSDCalc(x.data(), M, ps.data(), nps, 0), 1);
    EXPECT_NEAR(ps[0], 0.0, 1e-10);  // unwindowed: the removed mean leaves no DC power
    expect_psd_near(ps, reference_segment(x.data(), M, M, 0));
}

TEST(SpectralRealPsd, ShortSignalIsWindowedOverItsLengthAndZeroPadded) {
    const int nps = 65, M = 128, n = 50;
    const Vec x = random_vec(n, 32, -3.0f, 5.0f);
    Vec ps(nps);
    ASSERT_EQ(RealPSDCalc(x.data(), n, ps.data(), nps, 4), 1);
    expect_psd_near(ps, reference_segment(x.data(), n, M, 4));
}

TEST(SpectralRealPsd, SegmentsAndRemainderEachWeighedEqually) {
    // nps = 129 -> 256-point segments; 600 samples = two segments and an 88-sample remainder.
    const int nps = 129, M = 256, n = 600;
    Vec x = random_vec(n, 33);
    for (int i = 512; i < n; ++i) x[i] += 10.0f;  // the remainder uses its own mean
    Vec ps(nps);
    ASSERT_EQ(RealPSDCalc(x.data(), n, ps.data(), nps, 1), 1);
    const auto p0 = reference_segment(x.data(), M, M, 1);
    const auto p1 = reference_segment(x.data() + M, M, M, 1);
    const auto p2 = reference_segment(x.data() + 2 * M, n - 2 * M, M, 1);
    std::vector<double> want(nps);
    for (int k = 0; k < nps; ++k) want[k] = (p0[k] + p1[k] + p2[k]) / 3.0;
    expect_psd_near(ps, want);
}

TEST(SpectralRealPsd, WholeSegmentsWithoutRemainderAreAveraged) {
    const int nps = 17, M = 32, n = 4 * M;
    const Vec x = random_vec(n, 34);
    Vec ps(nps);
    ASSERT_EQ(RealPSDCalc(x.data(), n, ps.data(), nps, 0), 1);
    std::vector<double> want(nps, 0.0);
    for (int s = 0; s < 4; ++s) {
        const auto p = reference_segment(x.data() + s * M, M, M, 0);
        for (int k = 0; k < nps; ++k) want[k] += p[k] / 4.0;
    }
    expect_psd_near(ps, want);
}

TEST(SpectralRealPsd, SegmentLengthNotAPowerOfTwoOrBadArgumentsFailUntouched) {
    const Vec x = random_vec(300, 35);
    Vec ps(200, 7.0f);
    for (int nps : {100, 1, 0, -5}) EXPECT_EQ(RealPSDCalc(x.data(), 300, ps.data(), nps, 2), 0) << nps;
    EXPECT_EQ(RealPSDCalc(x.data(), 0, ps.data(), 129, 2), 0);
    EXPECT_EQ(RealPSDCalc(nullptr, 300, ps.data(), 129, 2), 0);
    for (float v : ps) EXPECT_EQ(v, 7.0f);
}

// ---- DFT1D -------------------------------------------------------------------------------

// Direct sums with the angle 6.2831852 * j * k / n, unreduced, as DFT1D defines them.
std::vector<cd> dft_6_2831852(const std::vector<cd> &x, int sign) {
    const std::size_t n = x.size();
    std::vector<cd> out(n);
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t j = 0; j < n; ++j)
            out[k] += x[j] *
                      std::polar(1.0, sign * 6.2831852 * static_cast<double>(j * k) / static_cast<double>(n));
    return out;
}

TEST(SpectralDft, MatchesDirectSumsForAnyLength) {
    for (int n : {1, 5, 6, 16, 45, 300}) {
        const Vec re0 = random_vec(n, 40 + n), im0 = random_vec(n, 50 + n);
        const auto z = to_complex(re0, im0);
        Vec re = re0, im = im0;
        ASSERT_EQ(DFT1D(re.data(), im.data(), n, 0), 1);
        EXPECT_LT(rel_max_error(re, im, dft_6_2831852(z, -1)), 1e-6) << n;
        // Against the exact 2*pi the angle drifts by about 1.1e-7 per turn of j*k/n.
        EXPECT_LT(rel_max_error(re, im, direct_dft(z, -1)), 2e-6 + 2e-7 * n) << n;
        re = re0;
        im = im0;
        ASSERT_EQ(DFT1D(re.data(), im.data(), n, 1), 1);
        EXPECT_LT(rel_max_error(re, im, dft_6_2831852(z, +1)), 1e-6) << n;
    }
}

TEST(SpectralDft, ForwardThenInverseGivesNTimesTheInput) {
    const int n = 24;
    const Vec re0 = random_vec(n, 60), im0 = random_vec(n, 61);
    Vec re = re0, im = im0;
    ASSERT_EQ(DFT1D(re.data(), im.data(), n, 0), 1);
    ASSERT_EQ(DFT1D(re.data(), im.data(), n, 1), 1);
    for (int i = 0; i < n; ++i) {
        EXPECT_NEAR(re[i], n * re0[i], 2e-4);
        EXPECT_NEAR(im[i], n * im0[i], 2e-4);
    }
}

TEST(SpectralDft, AngleUsesTheConstant6_2831852) {
    // For n = 2 the angle of X[1] is 3.1415926, whose sine is about 5.36e-8 (not 0).
    Vec re{0.0f, 1.0f}, im{0.0f, 0.0f};
    ASSERT_EQ(DFT1D(re.data(), im.data(), 2, 0), 1);
    EXPECT_FLOAT_EQ(re[1], -1.0f);
    EXPECT_FLOAT_EQ(im[1], static_cast<float>(-std::sin(3.1415926)));
    EXPECT_EQ(DFT1D(re.data(), im.data(), 0, 0), 0);
    EXPECT_EQ(DFT1D(nullptr, im.data(), 2, 0), 0);
}

// ---- DCT1D, FastDCT1D, FastIDCT1D -------------------------------------------------------

std::vector<double> reference_dct(const Vec &x) {
    const std::size_t n = x.size();
    std::vector<double> c(n, 0.0);
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t j = 0; j < n; ++j) c[k] += x[j] * std::cos(kPi * k * (j + 0.5) / n);
    return c;
}

TEST(SpectralDct, DirectForwardMatchesCosineSumsAndInverseCarriesOneOverN) {
    const int n = 20;
    const Vec x = random_vec(n, 70);
    const auto c = reference_dct(x);
    Vec y(n), z(n);
    DCT1D(x.data(), y.data(), n, 0);
    for (int k = 0; k < n; ++k) EXPECT_NEAR(y[k], c[k], 1e-5) << k;
    const Vec yk = y;
    DCT1D(y.data(), z.data(), n, 1);
    EXPECT_EQ(y, yk);  // the inverse halves y[0] only while it runs
    for (int i = 0; i < n; ++i) EXPECT_NEAR(z[i], x[i] / n, 1e-6) << i;
}

TEST(SpectralDct, DirectTransformInPlaceEqualsSeparateOutput) {
    const int n = 16;
    const Vec x = random_vec(n, 71);
    Vec y(n), inplace = x;
    DCT1D(x.data(), y.data(), n, 0);
    DCT1D(inplace.data(), inplace.data(), n, 0);
    EXPECT_EQ(inplace, y);
}

TEST(SpectralDct, FastTransformScalesAsSqrt2C0And2Ck) {
    for (int n : {1, 2, 8, 64, 256}) {
        Vec x = random_vec(n, 72 + n);
        const auto c = reference_dct(x);
        ASSERT_EQ(FastDCT1D(x.data(), n), 1);
        EXPECT_NEAR(x[0], std::sqrt(2.0) * c[0], 1e-5 * n) << n;
        for (int k = 1; k < n; ++k) EXPECT_NEAR(x[k], 2.0 * c[k], 1e-5 * n) << n << " " << k;
    }
}

TEST(SpectralDct, FastPairRoundTripsForEveryPowerOfTwoUpTo2To16) {
    for (int n = 1; n <= (1 << 16); n *= 2) {
        const Vec x0 = random_vec(n, 80 + n);
        Vec x = x0;
        ASSERT_EQ(FastDCT1D(x.data(), n), 1);
        ASSERT_EQ(FastIDCT1D(x.data(), n), 1);
        EXPECT_LT(max_abs_diff(x, x0), 1e-6 * (2 + std::log2(n))) << n;
    }
}

TEST(SpectralDct, FastPairRejectsNonPowerOfTwoUntouched) {
    Vec x = random_vec(12, 90);
    const Vec x0 = x;
    for (int n : {12, 3, 0, -4}) {
        EXPECT_EQ(FastDCT1D(x.data(), n), 0) << n;
        EXPECT_EQ(FastIDCT1D(x.data(), n), 0) << n;
    }
    EXPECT_EQ(FastDCT1D(nullptr, 8), 0);
    EXPECT_EQ(x, x0);
}

// ---- FastWalshT --------------------------------------------------------------------------

TEST(SpectralWalsh, ImpulseAndFourPointExample) {
    const Vec e0{1, 0, 0, 0};
    Vec y(4);
    FastWalshT(e0.data(), 4, y.data(), 0);
    EXPECT_EQ(y, (Vec{1, 1, 1, 1}));
    FastWalshT(e0.data(), 4, y.data(), 1);
    EXPECT_EQ(y, (Vec{0.25f, 0.25f, 0.25f, 0.25f}));
    const Vec x{3, 5, 7, 11};
    FastWalshT(x.data(), 4, y.data(), 0);
    EXPECT_EQ(y, (Vec{3 + 5 + 7 + 11, 3 + 5 - 7 - 11, 3 - 5 - 7 + 11, 3 - 5 + 7 - 11}));
}

TEST(SpectralWalsh, RowKOfTheTransformChangesSignKTimes) {
    for (int n : {2, 8, 32, 256}) {
        std::vector<Vec> column(n, Vec(n));  // column j = transform of unit vector j
        for (int j = 0; j < n; ++j) {
            Vec e(n, 0.0f);
            e[j] = 1.0f;
            FastWalshT(e.data(), n, column[j].data(), 0);
        }
        for (int k = 0; k < n; ++k) {
            int changes = 0;
            for (int j = 0; j < n; ++j) {
                ASSERT_EQ(std::abs(column[j][k]), 1.0f);
                if (j > 0 && column[j][k] != column[j - 1][k]) ++changes;
            }
            EXPECT_EQ(changes, k) << "n=" << n;
        }
    }
}

TEST(SpectralWalsh, InverseRestoresTheInputAlsoInPlace) {
    const int n = 1024;
    const Vec x = random_vec(n, 91);
    Vec y(n), z(n);
    FastWalshT(x.data(), n, y.data(), 0);
    FastWalshT(y.data(), n, z.data(), 1);
    EXPECT_LT(max_abs_diff(z, x), 1e-5);
    Vec inplace = x;
    FastWalshT(inplace.data(), n, inplace.data(), 0);
    EXPECT_EQ(inplace, y);
}

TEST(SpectralWalsh, OnePointCopiesAndNonPowerOfTwoDoesNothing) {
    const Vec one{4.5f};
    Vec y1{0.0f};
    FastWalshT(one.data(), 1, y1.data(), 1);
    EXPECT_EQ(y1[0], 4.5f);
    const Vec x = random_vec(12, 92);
    Vec y(12, -2.0f);
    for (int n : {12, 3, 0, -2}) FastWalshT(x.data(), n, y.data(), 0);
    for (float v : y) EXPECT_EQ(v, -2.0f);
}

// ---- ConvolutionCalc ---------------------------------------------------------------------

TEST(SpectralConvolution, SecondOperandIsReadBackwards) {
    const Vec h{1}, x{1, 2, 3};
    Vec y(3);
    ConvolutionCalc(h.data(), 1, x.data(), 3, y.data(), 3);
    EXPECT_EQ(y, (Vec{3, 2, 1}));
}

TEST(SpectralConvolution, MatchesFullConvolutionWithReversedInput) {
    const int lh = 7, lx = 12;
    const Vec h = random_vec(lh, 93), x = random_vec(lx, 94);
    for (int ly : {5, lh + lx - 1, lh + lx + 4}) {
        Vec y(ly, 99.0f);
        ConvolutionCalc(h.data(), lh, x.data(), lx, y.data(), ly);
        for (int i = 0; i < ly; ++i) {
            double want = 0;
            for (int k = 0; k < lh; ++k) {
                const int m = i - k;  // index into reversed x
                if (m >= 0 && m < lx) want += static_cast<double>(h[k]) * x[lx - 1 - m];
            }
            EXPECT_NEAR(y[i], want, 1e-6) << "ly=" << ly << " i=" << i;
        }
    }
}

TEST(SpectralConvolution, BadLengthsLeaveOutputUntouched) {
    const Vec h{1, 2}, x{3, 4};
    Vec y(4, 5.0f);
    ConvolutionCalc(h.data(), 0, x.data(), 2, y.data(), 4);
    ConvolutionCalc(h.data(), 2, x.data(), -1, y.data(), 4);
    ConvolutionCalc(h.data(), 2, x.data(), 2, y.data(), 0);
    ConvolutionCalc(nullptr, 2, x.data(), 2, y.data(), 4);
    EXPECT_EQ(y, (Vec(4, 5.0f)));
}

// ---- AutoCorr ----------------------------------------------------------------------------

TEST(SpectralAutoCorr, BiasedMeanRemovedAutocorrelation) {
    const int n = 200, lags = 30;
    const Vec x = random_vec(n, 95, 1.0f, 3.0f);
    const Vec x0 = x;
    Vec r(lags);
    Vec xm = x;
    ASSERT_EQ(AutoCorr(xm.data(), n, r.data(), lags), 1);
    EXPECT_EQ(xm, x0);  // x itself is left as it was
    double mean = 0;
    for (float v : x) mean += v;
    mean /= n;
    for (int m = 0; m < lags; ++m) {
        double s = 0;
        for (int j = 0; j + m < n; ++j) s += (x[j] - mean) * (x[j + m] - mean);
        EXPECT_NEAR(r[m], s / n, 1e-5) << m;
    }
    double var = 0;
    for (float v : x) var += (v - mean) * (v - mean);
    EXPECT_NEAR(r[0], var / n, 1e-5);
}

TEST(SpectralAutoCorr, AllLagsUpToNAndTooManyLagsFail) {
    const Vec x{1, 2, 3, 4};
    Vec r(5, 8.0f);
    ASSERT_EQ(AutoCorr(x.data(), 4, r.data(), 4), 1);
    // Mean 2.5: deviations -1.5 -0.5 0.5 1.5.
    EXPECT_NEAR(r[0], 5.0 / 4, 1e-6);
    EXPECT_NEAR(r[1], (0.75 - 0.25 + 0.75) / 4, 1e-6);
    EXPECT_NEAR(r[3], -2.25 / 4, 1e-6);
    Vec untouched(6, 8.0f);
    EXPECT_EQ(AutoCorr(x.data(), 4, untouched.data(), 5), 0);
    EXPECT_EQ(AutoCorr(x.data(), 4, untouched.data(), 0), 0);
    EXPECT_EQ(AutoCorr(x.data(), 0, untouched.data(), 1), 0);
    EXPECT_EQ(untouched, (Vec(6, 8.0f)));
}

}  // namespace
