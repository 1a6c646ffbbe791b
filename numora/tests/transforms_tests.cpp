// Transforms and spectra: every transform against a direct double-precision sum computed here,
// the chirp-z against direct evaluation on its spiral, the spectra against their formulas, and
// the refusals (nothing written, error code unchanged).
#include "numora.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using cd = std::complex<double>;
constexpr double kPi = 3.14159265358979323846;

std::vector<float> randomVector(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (float &x : v) x = d(gen);
    return v;
}

// Direct DFT in double precision, forward sign -1 in the exponent; inverse divides by n.
std::vector<cd> directDft(const std::vector<float> &re, const std::vector<float> &im, bool inverse) {
    const std::size_t n = re.size();
    std::vector<cd> out(n);
    const double sign = inverse ? 1.0 : -1.0;
    for (std::size_t k = 0; k < n; ++k) {
        cd s = 0.0;
        for (std::size_t m = 0; m < n; ++m)
            s += cd(re[m], im[m]) * std::polar(1.0, sign * 2.0 * kPi * static_cast<double>((k * m) % n) / n);
        out[k] = inverse ? s / static_cast<double>(n) : s;
    }
    return out;
}

// Largest deviation of (re, im) from ref, relative to the largest reference magnitude.
double relativeError(const float *re, const float *im, const std::vector<cd> &ref) {
    double err = 0.0, scale = 0.0;
    for (std::size_t k = 0; k < ref.size(); ++k) {
        err = std::max(err, std::abs(cd(re[k], im ? im[k] : 0.0) - ref[k]));
        scale = std::max(scale, std::abs(ref[k]));
    }
    return scale > 0.0 ? err / scale : err;
}

std::vector<cd> realRef(const std::vector<double> &v) {
    return std::vector<cd>(v.begin(), v.end());
}

// Direct chirp-z: X at the angles w0 + k phi, phi and w0 as CharpZT forms them.
std::vector<cd> directChirp(const std::vector<float> &re, const std::vector<float> &im, int m, float f1,
                            float f2, float fs) {
    const float phi =
        static_cast<float>(6.2831855f * (static_cast<double>(f2) - f1) / (static_cast<double>(fs) * m));
    const float w0 = static_cast<float>(6.2831855f * static_cast<double>(f1) / fs);
    std::vector<cd> out(static_cast<std::size_t>(m));
    for (int k = 0; k < m; ++k) {
        cd s = 0.0;
        for (std::size_t i = 0; i < re.size(); ++i)
            s += cd(re[i], im.empty() ? 0.0 : im[i]) *
                 std::polar(
                     1.0, -static_cast<double>(i) * (static_cast<double>(w0) + k * static_cast<double>(phi)));
        out[static_cast<std::size_t>(k)] = s;
    }
    return out;
}

TEST(FFT, MatchesDirectSumForwardAndInverseWithInputsPreserved) {
    for (int k : {0, 1, 2, 3, 6, 10}) {
        const int n = 1 << k;
        const std::vector<float> pr = randomVector(n, 10 + k), pi = randomVector(n, 20 + k);
        for (int inverse : {0, 1}) {
            std::vector<float> fr(n, 7.0f), fi(n, 7.0f), prc(pr), pic(pi);
            ASSERT_EQ(FFT(prc.data(), pic.data(), n, k, fr.data(), fi.data(), inverse, 0), 1);
            EXPECT_EQ(prc, pr);
            EXPECT_EQ(pic, pi);
            EXPECT_LT(relativeError(fr.data(), fi.data(), directDft(pr, pi, inverse != 0)), 2e-6) << n;
        }
    }
}

TEST(FFT, OnePointCopiesAndWritesNothingElse) {
    float pr[1] = {3.5f}, pi[1] = {-2.0f};
    float out[3] = {9.0f, 9.0f, 9.0f}, outi[3] = {9.0f, 9.0f, 9.0f};
    ASSERT_EQ(FFT(pr, pi, 1, 0, out + 1, outi + 1, 1, 0), 1);
    EXPECT_EQ(out[1], 3.5f);
    EXPECT_EQ(outi[1], -2.0f);
    EXPECT_EQ(out[0], 9.0f);
    EXPECT_EQ(out[2], 9.0f);
    EXPECT_EQ(outi[2], 9.0f);
}

TEST(FFT, ImpulseAndShiftedImpulse) {
    float pr[4] = {1, 0, 0, 0}, pi[4] = {0, 0, 0, 0}, fr[4], fi[4];
    ASSERT_EQ(FFT(pr, pi, 4, 2, fr, fi, 0, 0), 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(fr[i], 1.0f);
        EXPECT_FLOAT_EQ(fi[i], 0.0f);
    }
    ASSERT_EQ(FFT(pr, pi, 4, 2, fr, fi, 0, 1), 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(fr[i], 1.0f);
        EXPECT_FLOAT_EQ(fi[i], 0.0f);
    }
    float sr[4] = {0, 1, 0, 0};
    ASSERT_EQ(FFT(sr, pi, 4, 2, fr, fi, 0, 0), 1);
    EXPECT_NEAR(fi[1], -1.0f, 1e-6);
    ASSERT_EQ(FFT(sr, pi, 4, 2, fr, fi, 1, 0), 1);
    EXPECT_NEAR(fi[1], 0.25f, 1e-7);
}

TEST(FFT, AmplitudeAndPhaseInDegrees) {
    const int n = 64;
    const std::vector<float> pr = randomVector(n, 3), pi = randomVector(n, 4);
    std::vector<float> fr(n), fi(n), ar(n), ai(n);
    ASSERT_EQ(FFT(pr.data(), pi.data(), n, 6, fr.data(), fi.data(), 0, 0), 1);
    ASSERT_EQ(FFT(pr.data(), pi.data(), n, 6, ar.data(), ai.data(), 0, 1), 1);
    for (int i = 0; i < n; ++i) {
        EXPECT_NEAR(ar[i], std::hypot(fr[i], fi[i]), 1e-5);
        EXPECT_NEAR(ai[i], std::atan(static_cast<double>(fi[i]) / fr[i]) * 180.0 / kPi, 1e-4);
        EXPECT_LE(std::fabs(ai[i]), 90.0f);
    }
    // A purely imaginary value is +-90 degrees; a zero value has phase 0, not NaN.
    float qr[2] = {0.5f, -0.5f}, qi[2] = {1.0f, 1.0f}, zr[2] = {0, 0}, zi[2] = {0, 0}, o1[2], o2[2];
    ASSERT_EQ(FFT(qr, qi, 2, 1, o1, o2, 0, 1), 1);  // (0, 2) and (1, 0)
    EXPECT_FLOAT_EQ(o1[0], 2.0f);
    EXPECT_FLOAT_EQ(o2[0], -90.0f);
    ASSERT_EQ(FFT(zr, zi, 2, 1, o1, o2, 0, 1), 1);
    EXPECT_EQ(o2[0], 0.0f);
    EXPECT_EQ(o2[1], 0.0f);
}

TEST(FFT, RefusesMismatchedLengthsAndNullPointersWritingNothing) {
    setErrorCode(0);
    std::vector<float> pr(8, 1.0f), pi(8, 1.0f), fr(8, 5.0f), fi(8, 5.0f);
    EXPECT_EQ(FFT(pr.data(), pi.data(), 8, 2, fr.data(), fi.data(), 0, 0), 0);
    EXPECT_EQ(FFT(pr.data(), pi.data(), 6, 3, fr.data(), fi.data(), 0, 0), 0);
    EXPECT_EQ(FFT(pr.data(), pi.data(), 0, -1, fr.data(), fi.data(), 0, 0), 0);
    EXPECT_EQ(FFT(pr.data(), pi.data(), 8, 35, fr.data(), fi.data(), 0, 0), 0);
    EXPECT_EQ(FFT(pr.data(), pi.data(), -8, 3, fr.data(), fi.data(), 0, 0), 0);
    EXPECT_EQ(FFT(nullptr, pi.data(), 8, 3, fr.data(), fi.data(), 0, 0), 0);
    EXPECT_EQ(FFT(pr.data(), pi.data(), 8, 3, fr.data(), nullptr, 0, 0), 0);
    EXPECT_EQ(fr, std::vector<float>(8, 5.0f));
    EXPECT_EQ(fi, std::vector<float>(8, 5.0f));
    EXPECT_EQ(getErrorCode(), 0);
}

TEST(DFT, MatchesDirectSumInPlaceForAnyLength) {
    for (int n : {1, 6, 7, 100, 257}) {
        const std::vector<float> re = randomVector(n, n), im = randomVector(n, n + 1);
        for (int inverse : {0, 1}) {
            std::vector<float> xr(re), xi(im);
            ASSERT_EQ(DFT(xr.data(), xi.data(), n, inverse), 1);
            EXPECT_LT(relativeError(xr.data(), xi.data(), directDft(re, im, inverse != 0)), 2e-6) << n;
        }
    }
    float a[2] = {1, 2}, b[2] = {3, 4};
    EXPECT_EQ(DFT(a, b, 0, 0), 0);
    EXPECT_EQ(DFT(nullptr, b, 2, 0), 0);
    EXPECT_EQ(a[0], 1.0f);
}

TEST(DFFT, DirectPathForSixPointsAndFftForEight) {
    for (int n : {6, 8, 12, 16}) {
        const std::vector<float> re = randomVector(n, 40 + n), im = randomVector(n, 50 + n);
        for (int inverse : {0, 1}) {
            std::vector<float> yr(n), yi(n), xr(re), xi(im);
            ASSERT_EQ(DFFT(xr.data(), xi.data(), yr.data(), yi.data(), n, inverse), 1);
            EXPECT_EQ(xr, re);
            EXPECT_EQ(xi, im);
            EXPECT_LT(relativeError(yr.data(), yi.data(), directDft(re, im, inverse != 0)), 2e-6);
        }
    }
    // n = 8 gives exactly the FFT's result.
    const std::vector<float> re = randomVector(8, 1), im = randomVector(8, 2);
    std::vector<float> yr(8), yi(8), fr(8), fi(8);
    ASSERT_EQ(DFFT(re.data(), im.data(), yr.data(), yi.data(), 8, 0), 1);
    ASSERT_EQ(FFT(re.data(), im.data(), 8, 3, fr.data(), fi.data(), 0, 0), 1);
    EXPECT_EQ(yr, fr);
    EXPECT_EQ(yi, fi);
}

// Direct DCT sums with the true pi: forward sum x[m] cos(pi (m + 0.5) k / n), inverse
// (2/n) (x0 / 2 + sum x[m] cos(pi (k + 0.5) m / n)).
std::vector<double> directDct(const std::vector<float> &x, bool inverse) {
    const std::size_t n = x.size();
    std::vector<double> y(n);
    for (std::size_t k = 0; k < n; ++k) {
        double s = 0.0;
        for (std::size_t m = 0; m < n; ++m) {
            if (inverse)
                s += (m == 0 ? 0.5 : 1.0) * x[m] * std::cos(kPi * (k + 0.5) * m / n);
            else
                s += x[m] * std::cos(kPi * (m + 0.5) * k / n);
        }
        y[k] = inverse ? 2.0 * s / n : s;
    }
    return y;
}

TEST(DCT, DirectPathMatchesSumAndInverts) {
    for (int n : {3, 12, 100, 1000}) {
        const std::vector<float> x = randomVector(n, 60 + n);
        std::vector<float> y(n), z(n);
        ASSERT_EQ(DCT(x.data(), y.data(), n, 0), 1);
        EXPECT_LT(relativeError(y.data(), nullptr, realRef(directDct(x, false))), 2e-6) << n;
        ASSERT_EQ(DCT(y.data(), z.data(), n, 1), 1);
        EXPECT_LT(relativeError(z.data(), nullptr, realRef(directDct(y, true))), 2e-6) << n;
        EXPECT_LT(relativeError(z.data(), nullptr, realRef(std::vector<double>(x.begin(), x.end()))), 4e-6)
            << n;
    }
    float ones[3] = {1, 1, 1}, out[3];
    ASSERT_EQ(DCT(ones, out, 3, 0), 1);
    EXPECT_NEAR(out[0], 3.0f, 1e-6);
    EXPECT_NEAR(out[1], 0.0f, 1e-6);
    EXPECT_NEAR(out[2], 0.0f, 1e-6);
}

TEST(DCT, FastPathScalesTheDirectSumAndInverts) {
    for (int n : {1, 2, 4, 256, 1024}) {
        const std::vector<float> x = randomVector(n, 70 + n);
        std::vector<double> ref = directDct(x, false);
        ref[0] *= std::sqrt(2.0);
        for (int k = 1; k < n; ++k) ref[k] *= 2.0;
        std::vector<float> y(n), z(n);
        ASSERT_EQ(DCT(x.data(), y.data(), n, 0), 1);
        EXPECT_LT(relativeError(y.data(), nullptr, realRef(ref)), 3e-6) << n;
        ASSERT_EQ(DCT(y.data(), z.data(), n, 1), 1);
        EXPECT_LT(relativeError(z.data(), nullptr, realRef(std::vector<double>(x.begin(), x.end()))), 4e-6)
            << n;
        // In place gives the same result.
        std::vector<float> w(x);
        ASSERT_EQ(DCT(w.data(), w.data(), n, 0), 1);
        EXPECT_EQ(w, y);
    }
    float ones[4] = {1, 1, 1, 1}, out[4];
    ASSERT_EQ(DCT(ones, out, 4, 0), 1);
    EXPECT_NEAR(out[0], 4.0f * std::sqrt(2.0f), 1e-5);
    for (int k = 1; k < 4; ++k) EXPECT_NEAR(out[k], 0.0f, 1e-5);
}

TEST(DCT, RefusesBadArgumentsWritingNothing) {
    float x[4] = {1, 2, 3, 4}, y[4] = {9, 9, 9, 9};
    EXPECT_EQ(DCT(x, y, 0, 0), 0);
    EXPECT_EQ(DCT(x, y, -4, 0), 0);
    EXPECT_EQ(DCT(nullptr, y, 4, 0), 0);
    EXPECT_EQ(DCT(x, nullptr, 4, 1), 0);
    for (float v : y) EXPECT_EQ(v, 9.0f);
}

TEST(DST, MatchesOrthonormalSumAndIsItsOwnInverse) {
    for (int n : {1, 5, 64, 301}) {
        const std::vector<float> x = randomVector(n, 80 + n);
        std::vector<double> ref(n);
        for (int k = 1; k <= n; ++k) {
            double s = 0.0;
            for (int m = 1; m <= n; ++m) s += x[m - 1] * std::sin(kPi * m * k / (n + 1.0));
            ref[k - 1] = std::sqrt(2.0 / (n + 1.0)) * s;
        }
        std::vector<float> y(n), z(n);
        ASSERT_EQ(DST(x.data(), n, y.data()), n + 1);
        EXPECT_LT(relativeError(y.data(), nullptr, realRef(ref)), 2e-6) << n;
        ASSERT_EQ(DST(y.data(), n, z.data()), n + 1);
        EXPECT_LT(relativeError(z.data(), nullptr, realRef(std::vector<double>(x.begin(), x.end()))), 3e-6)
            << n;
        std::vector<float> w(z), outOfPlace(n);
        ASSERT_EQ(DST(z.data(), n, outOfPlace.data()), n + 1);
        ASSERT_EQ(DST(w.data(), n, w.data()), n + 1);  // in place equals out of place
        EXPECT_EQ(w, outOfPlace);
    }
    float a[2] = {1, 2}, b[2] = {7, 7};
    EXPECT_EQ(DST(a, 0, b), 0);
    EXPECT_EQ(DST(nullptr, 2, b), 0);
    EXPECT_EQ(b[0], 7.0f);
}

TEST(CharpZT, MatchesTheSpiralAlsoWhenInputIsLongerThanOutput) {
    struct Case {
        int n, m;
        float f1, f2, fs;
    };
    const Case cases[] = {{16, 5, 10.0f, 40.0f, 100.0f}, {5, 16, 0.0f, 50.0f, 100.0f},
                          {100, 37, 3.0f, 17.0f, 64.0f}, {250, 3, 1.0f, 2.0f, 10.0f},
                          {1, 1, 0.0f, 1.0f, 2.0f},      {64, 64, 20.0f, 5.0f, 100.0f},
                          {300, 200, -5.0f, 5.0f, 20.0f}};
    for (const Case &c : cases) {
        const std::vector<float> xr = randomVector(c.n, c.n), xi = randomVector(c.n, c.m);
        std::vector<float> yr(c.m), yi(c.m);
        ASSERT_EQ(CharpZT(xr.data(), xi.data(), c.n, yr.data(), yi.data(), c.m, c.f1, c.f2, c.fs), 1);
        EXPECT_LT(relativeError(yr.data(), yi.data(), directChirp(xr, xi, c.m, c.f1, c.f2, c.fs)), 5e-6)
            << c.n << " -> " << c.m;
    }
    // From 0 to fs with m = n it is the DFT.
    const std::vector<float> xr = randomVector(32, 1), xi = randomVector(32, 2);
    std::vector<float> yr(32), yi(32);
    ASSERT_EQ(CharpZT(xr.data(), xi.data(), 32, yr.data(), yi.data(), 32, 0.0f, 8.0f, 8.0f), 1);
    EXPECT_LT(relativeError(yr.data(), yi.data(), directDft(xr, xi, false)), 5e-6);
}

TEST(CharpZT, RefusesBadArgumentsWritingNothing) {
    float x[4] = {1, 2, 3, 4}, y[4] = {9, 9, 9, 9}, z[4] = {9, 9, 9, 9};
    EXPECT_EQ(CharpZT(x, x, 0, y, z, 4, 0, 1, 2), 0);
    EXPECT_EQ(CharpZT(x, x, 4, y, z, 0, 0, 1, 2), 0);
    EXPECT_EQ(CharpZT(x, x, 4, y, z, -3, 0, 1, 2), 0);
    EXPECT_EQ(CharpZT(x, x, 4, y, z, 4, 0, 1, 0), 0);
    EXPECT_EQ(CharpZT(x, x, 4, y, z, 4, 0, NAN, 2), 0);
    EXPECT_EQ(CharpZT(x, nullptr, 4, y, z, 4, 0, 1, 2), 0);
    EXPECT_EQ(CharpZT(x, x, INT32_MAX, y, z, INT32_MAX, 0, 1, 2), 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(y[i], 9.0f);
        EXPECT_EQ(z[i], 9.0f);
    }
}

// Haar basis function of index k at t for n = 2^K points.
double haarBasis(int k, int t, int K) {
    if (k == 0) return 1.0;
    int p = 0;
    while ((2 << p) <= k) ++p;
    const int q = k - (1 << p), w = 1 << (K - p);
    const double h = std::sqrt(std::ldexp(1.0, p));
    if (t >= q * w && 2 * t < (2 * q + 1) * w) return h;
    if (2 * t >= (2 * q + 1) * w && t < (q + 1) * w) return -h;
    return 0.0;
}

TEST(Haar, MatchesTheBasisSumsAndInverts) {
    for (int K : {0, 1, 2, 4, 7}) {
        const int n = 1 << K;
        const std::vector<float> x = randomVector(n, 90 + K);
        std::vector<double> fwd(n), inv(n);
        for (int k = 0; k < n; ++k)
            for (int t = 0; t < n; ++t) {
                fwd[k] += haarBasis(k, t, K) * x[t] / n;
                inv[t] += haarBasis(k, t, K) * x[k];
            }
        std::vector<float> y(n), z(n);
        ASSERT_EQ(Haar(x.data(), y.data(), n, 0), 1);
        EXPECT_LT(relativeError(y.data(), nullptr, realRef(fwd)), 2e-6);
        ASSERT_EQ(Haar(x.data(), z.data(), n, 1), 1);
        EXPECT_LT(relativeError(z.data(), nullptr, realRef(inv)), 2e-6);
        ASSERT_EQ(Haar(y.data(), z.data(), n, 1), 1);
        EXPECT_LT(relativeError(z.data(), nullptr, realRef(std::vector<double>(x.begin(), x.end()))), 2e-6);
    }
    float ones[4] = {1, 1, 1, 1}, out[6] = {5, 5, 5, 5, 5, 5};
    ASSERT_EQ(Haar(ones, out, 4, 0), 1);
    EXPECT_FLOAT_EQ(out[0], 1.0f);
    EXPECT_FLOAT_EQ(out[1], 0.0f);
    EXPECT_FLOAT_EQ(out[3], 0.0f);
    float six[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(Haar(six, out, 6, 0), 0);
    EXPECT_EQ(out[4], 5.0f);
}

std::vector<double> directAutocorrelation(const std::vector<float> &x, int m) {
    const int n = static_cast<int>(x.size());
    double mean = 0.0;
    for (float v : x) mean += v;
    mean /= n;
    std::vector<double> r(m, 0.0);
    for (int k = 0; k < m && k < n; ++k) {
        for (int i = 0; i + k < n; ++i) r[k] += (x[i] - mean) * (x[i + k] - mean);
        r[k] /= n;
    }
    return r;
}

TEST(AutoCor, BiasedEstimateWithZerosBeyondTheData) {
    const std::vector<float> x = randomVector(50, 5);
    std::vector<float> r(70, 9.0f);
    AutoCor(x.data(), 50, r.data(), 70);
    EXPECT_LT(relativeError(r.data(), nullptr, realRef(directAutocorrelation(x, 70))), 1e-6);
    for (int k = 50; k < 70; ++k) EXPECT_EQ(r[k], 0.0f);
    std::vector<float> untouched(3, 9.0f);
    AutoCor(x.data(), 0, untouched.data(), 3);
    AutoCor(x.data(), 50, untouched.data(), 0);
    EXPECT_EQ(untouched, std::vector<float>(3, 9.0f));
}

TEST(CorCoef, FormulaWithoutMeanRemovalAndZeroForFlatInput) {
    const std::vector<float> x = randomVector(40, 6), y = randomVector(40, 7);
    double xy = 0, xx = 0, yy = 0;
    for (int i = 0; i < 40; ++i) {
        xy += x[i] * static_cast<double>(y[i]);
        xx += x[i] * static_cast<double>(x[i]);
        yy += y[i] * static_cast<double>(y[i]);
    }
    EXPECT_NEAR(CorCoef(x.data(), y.data(), 40), xy / std::sqrt(xx * yy), 1e-6);
    EXPECT_NEAR(CorCoef(x.data(), x.data(), 40), 1.0f, 1e-6);
    const std::vector<float> zeros(40, 0.0f);
    EXPECT_EQ(CorCoef(x.data(), zeros.data(), 40), 0.0f);
    EXPECT_EQ(CorCoef(x.data(), y.data(), 0), 0.0f);
}

TEST(PsdCalc, BlackmanTukeySumOfTheAutocorrelation) {
    const int n = 64, m = 20;
    const float f1 = 2.0f, f2 = 45.0f, fs = 100.0f;
    const std::vector<float> x = randomVector(n, 8);
    const std::vector<double> r = directAutocorrelation(x, n);
    // The routine's own constants: 2 pi stored as 6.283185 and the step rounded to float.
    const double twoPi = 6.283185f, delta = static_cast<float>((f2 - f1) / m);
    std::vector<double> ref(m);
    for (int i = 0; i < m; ++i) {
        const double f = (f1 + i * delta) / fs;
        ref[i] = r[0];
        for (int k = 1; k < n; ++k) ref[i] += 2.0 * r[k] * std::cos(twoPi * k * f);
    }
    std::vector<float> ps(m);
    ASSERT_EQ(PsdCalc(x.data(), n, ps.data(), m, f1, f2, fs), 1);
    EXPECT_LT(relativeError(ps.data(), nullptr, realRef(ref)), 2e-6);
    float one = 2.0f, out[3];
    ASSERT_EQ(PsdCalc(&one, 1, out, 3, 0, 1, 2), 1);
    EXPECT_EQ(out[0], 0.0f);  // r[0] of a single sample is 0
    EXPECT_EQ(PsdCalc(x.data(), n, ps.data(), m, f1, f2, 0.0f), 0);
    EXPECT_EQ(PsdCalc(x.data(), n, ps.data(), 0, f1, f2, fs), 0);
}

TEST(PsdCalcCZT, PowerOfTheChirpOfTheCentredSignalWithInputKept) {
    const int n = 90, m = 33;
    std::vector<float> x = randomVector(n, 9);
    for (float &v : x) v += 3.0f;  // a mean to remove
    const std::vector<float> keep(x);
    double mean = 0.0;
    for (float v : x) mean += v;
    mean /= n;
    std::vector<float> centred(n);
    for (int i = 0; i < n; ++i) centred[i] = static_cast<float>(x[i] - mean);
    const std::vector<cd> y = directChirp(centred, {}, m, 1.0f, 30.0f, 80.0f);
    std::vector<double> ref(m);
    for (int k = 0; k < m; ++k) ref[k] = std::norm(y[k]);
    std::vector<float> ps(m);
    ASSERT_EQ(PsdCalcCZT(x.data(), n, ps.data(), m, 1.0f, 30.0f, 80.0f), 1);
    EXPECT_LT(relativeError(ps.data(), nullptr, realRef(ref)), 1e-5);
    EXPECT_EQ(x, keep);
    EXPECT_EQ(PsdCalcCZT(x.data(), n, ps.data(), 0, 1.0f, 30.0f, 80.0f), 0);
}

TEST(PsArray, RowsAreTheSpectraOfTheSlidingFrames) {
    const int n = 100, shift = 30, w = 40, m = 12;
    const std::vector<float> x = randomVector(n, 11);
    const int frames = n / shift;  // 3; the last frame runs past the end and is zero-filled
    std::vector<float> ps(frames * m);
    ASSERT_EQ(PsArray(x.data(), n, shift, w, ps.data(), m, 0.0f, 40.0f, 100.0f), 1);
    for (int j = 0; j < frames; ++j) {
        std::vector<float> frame(w, 0.0f);
        const int count = std::min(w, n - j * shift);
        double mean = 0.0;
        for (int i = 0; i < count; ++i) mean += x[j * shift + i];
        mean /= count;
        for (int i = 0; i < count; ++i) frame[i] = static_cast<float>(x[j * shift + i] - mean);
        std::vector<float> row(m);
        ASSERT_EQ(PsdCalcCZT(frame.data(), w, row.data(), m, 0.0f, 40.0f, 100.0f), 1);
        std::vector<cd> ref(row.begin(), row.end());
        EXPECT_LT(relativeError(ps.data() + j * m, nullptr, ref), 1e-5) << j;
    }
}

TEST(PsArray, RefusesShiftsWindowsAndSizesThatDoNotFit) {
    setErrorCode(0);
    const std::vector<float> x = randomVector(64, 12);
    std::vector<float> ps(64 * 8, 7.0f);
    EXPECT_EQ(PsArray(x.data(), 64, 64, 16, ps.data(), 8, 0, 1, 2), 0);  // shift = n
    EXPECT_EQ(PsArray(x.data(), 64, 0, 16, ps.data(), 8, 0, 1, 2), 0);   // shift 0 divided by zero before
    EXPECT_EQ(PsArray(x.data(), 64, -5, 16, ps.data(), 8, 0, 1, 2), 0);
    EXPECT_EQ(PsArray(x.data(), 64, 8, 65, ps.data(), 8, 0, 1, 2), 0);  // window longer than the data
    EXPECT_EQ(PsArray(x.data(), 64, 8, 0, ps.data(), 8, 0, 1, 2), 0);
    EXPECT_EQ(PsArray(x.data(), 64, 8, 16, ps.data(), 0, 0, 1, 2), 0);
    EXPECT_EQ(PsArray(x.data(), 64, 8, 16, ps.data(), 8, 0, 1, 0), 0);
    EXPECT_EQ(PsArray(x.data(), 64, 1, 16, ps.data(), INT32_MAX / 32, 0, 1, 2), 0);  // 64 rows overflow
    EXPECT_EQ(ps, std::vector<float>(64 * 8, 7.0f));
    EXPECT_EQ(getErrorCode(), 0);
}

TEST(Transforms, NeverWriteTheErrorCode) {
    setErrorCode(5);
    const std::vector<float> x = randomVector(16, 13);
    std::vector<float> a(16), b(16);
    EXPECT_EQ(FFT(x.data(), x.data(), 16, 4, a.data(), b.data(), 0, 0), 1);
    EXPECT_EQ(FFT(x.data(), x.data(), 15, 4, a.data(), b.data(), 0, 0), 0);
    EXPECT_EQ(DCT(x.data(), a.data(), 0, 0), 0);
    EXPECT_EQ(Haar(x.data(), a.data(), 12, 0), 0);
    EXPECT_EQ(getErrorCode(), 5);
    setErrorCode(0);
}

}  // namespace
