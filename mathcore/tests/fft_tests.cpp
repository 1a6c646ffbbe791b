// FFT core: both butterfly paths against a direct double-precision DFT, against each other,
// round trips, the twiddle constant, failure cases and concurrent first use of the cache.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <thread>
#include <vector>

#include "mathcore/fft.h"

namespace {

using mathcore::FftPath;
using cd = std::complex<double>;

std::vector<FftPath> paths() {
    std::vector<FftPath> p{FftPath::Portable, FftPath::Sse2};
    if (mathcore::fft_path_available(FftPath::Avx2)) p.push_back(FftPath::Avx2);
    return p;
}

struct Signal {
    std::vector<float> re, im;
};

Signal random_signal(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    Signal s{std::vector<float>(n), std::vector<float>(n)};
    for (std::size_t i = 0; i < n; ++i) {
        s.re[i] = d(gen);
        s.im[i] = d(gen);
    }
    return s;
}

// Direct sum with the exact 2*pi (the library's 3.1415925 differs by about 1e-7 rad per turn).
std::vector<cd> direct_dft(const Signal &s, int sign) {
    const std::size_t n = s.re.size();
    std::vector<cd> out(n);
    const double pi = std::acos(-1.0);
    for (std::size_t k = 0; k < n; ++k) {
        cd acc = 0;
        for (std::size_t j = 0; j < n; ++j) {
            const double a = sign * 2.0 * pi * static_cast<double>((j * k) % n) / static_cast<double>(n);
            acc += cd(s.re[j], s.im[j]) * cd(std::cos(a), std::sin(a));
        }
        out[k] = acc;
    }
    return out;
}

double rel_error(const Signal &got, const std::vector<cd> &want, double scale = 1.0) {
    double num = 0, den = 0;
    for (std::size_t k = 0; k < want.size(); ++k) {
        const cd w = want[k] * scale;
        num += std::norm(cd(got.re[k], got.im[k]) - w);
        den += std::norm(w);
    }
    return std::sqrt(num / den);
}

TEST(FftCoreReference, ForwardMatchesDirectSumForEverySizeUpTo2048) {
    for (std::size_t n = 1; n <= 2048; n *= 2) {
        const Signal orig = random_signal(n, static_cast<unsigned>(n));
        const std::vector<cd> want = direct_dft(orig, -1);
        for (FftPath path : paths()) {
            Signal s = orig;
            ASSERT_TRUE(mathcore::fft_inplace(s.re.data(), s.im.data(), n, false, path));
            EXPECT_LT(rel_error(s, want), 1e-6) << "n=" << n << " path=" << static_cast<int>(path);
        }
    }
}

TEST(FftCoreReference, InverseMatchesDirectSumDividedByN) {
    for (std::size_t n : {2u, 8u, 64u, 512u}) {
        const Signal orig = random_signal(n, 7 + static_cast<unsigned>(n));
        const std::vector<cd> want = direct_dft(orig, +1);
        for (FftPath path : paths()) {
            Signal s = orig;
            ASSERT_TRUE(mathcore::fft_inplace(s.re.data(), s.im.data(), n, true, path));
            EXPECT_LT(rel_error(s, want, 1.0 / static_cast<double>(n)), 1e-6) << "n=" << n;
        }
    }
}

TEST(FftCoreReference, TwiddleAngleUsesSinglePrecisionPhiOf3_1415925) {
    // X[1] of the impulse at index 1 over 4 points is the twiddle exp(-i*phi), phi = float(2*3.1415925/4).
    const double phi = static_cast<double>(static_cast<float>(2.0 * 3.1415925 / 4.0));
    for (FftPath path : paths()) {
        std::vector<float> re{0, 1, 0, 0}, im(4, 0.0f);
        ASSERT_TRUE(mathcore::fft_inplace(re.data(), im.data(), 4, false, path));
        EXPECT_FLOAT_EQ(re[1], static_cast<float>(std::cos(phi)));  // about 7.6e-8, not 0
        EXPECT_NE(re[1], 0.0f);
        EXPECT_FLOAT_EQ(im[1], static_cast<float>(-std::sin(phi)));
    }
}

TEST(FftCorePaths, VectorPathsAgreeWithPortablePathUpTo2To18) {
    for (std::size_t n = 16; n <= (1u << 18); n *= 2) {
        for (bool inverse : {false, true}) {
            const Signal orig = random_signal(n, 99 + static_cast<unsigned>(n));
            Signal ref = orig;
            ASSERT_TRUE(mathcore::fft_inplace(ref.re.data(), ref.im.data(), n, inverse, FftPath::Portable));
            std::vector<cd> want(n);
            for (std::size_t k = 0; k < n; ++k) want[k] = cd(ref.re[k], ref.im[k]);
            for (FftPath path : paths()) {
                if (path == FftPath::Portable) continue;
                Signal s = orig;
                ASSERT_TRUE(mathcore::fft_inplace(s.re.data(), s.im.data(), n, inverse, path));
                EXPECT_LT(rel_error(s, want), 1e-6)
                    << "n=" << n << " inverse=" << inverse << " path=" << static_cast<int>(path);
            }
        }
    }
}

TEST(FftCoreRoundTrip, EveryPowerOfTwoUpTo2To16) {
    for (FftPath path : paths()) {
        for (std::size_t n = 1; n <= (1u << 16); n *= 2) {
            const Signal orig = random_signal(n, 3 * static_cast<unsigned>(n));
            Signal s = orig;
            ASSERT_TRUE(mathcore::fft_inplace(s.re.data(), s.im.data(), n, false, path));
            ASSERT_TRUE(mathcore::fft_inplace(s.re.data(), s.im.data(), n, true, path));
            double worst = 0;
            for (std::size_t i = 0; i < n; ++i) {
                worst = std::max(worst, std::abs(static_cast<double>(s.re[i]) - orig.re[i]));
                worst = std::max(worst, std::abs(static_cast<double>(s.im[i]) - orig.im[i]));
            }
            EXPECT_LT(worst, 2e-6 * (1 + std::log2(static_cast<double>(n)))) << "n=" << n;
        }
    }
}

TEST(FftCoreFailure, RejectsBadLengthsAndPointersWithoutTouchingData) {
    std::vector<float> re{1, 2, 3, 4, 5, 6}, im{6, 5, 4, 3, 2, 1};
    const auto re0 = re, im0 = im;
    for (std::size_t n : {0u, 3u, 5u, 6u})
        EXPECT_FALSE(mathcore::fft_inplace(re.data(), im.data(), n, false));
    EXPECT_FALSE(mathcore::fft_inplace(nullptr, im.data(), 4, false));
    EXPECT_FALSE(mathcore::fft_inplace(re.data(), nullptr, 4, true));
    EXPECT_EQ(re, re0);
    EXPECT_EQ(im, im0);
    EXPECT_TRUE(mathcore::fft_is_pow2(1));
    EXPECT_TRUE(mathcore::fft_is_pow2(1 << 30));
    EXPECT_FALSE(mathcore::fft_is_pow2(0));
    EXPECT_FALSE(mathcore::fft_is_pow2(-4));
    EXPECT_FALSE(mathcore::fft_is_pow2(12));
}

TEST(FftCoreConcurrency, ThreadsSharingTheTwiddleCacheGetIdenticalResults) {
    const std::size_t n = 1u << 14;
    const Signal orig = random_signal(n, 5);
    Signal expected = orig;
    ASSERT_TRUE(mathcore::fft_inplace(expected.re.data(), expected.im.data(), n, false));
    std::vector<Signal> results(4, orig);
    std::vector<std::thread> threads;
    for (auto &r : results)
        threads.emplace_back([&r, n] {
            for (int rep = 0; rep < 3; ++rep) {
                Signal s = r;
                mathcore::fft_inplace(s.re.data(), s.im.data(), n, false);
                if (rep == 2) r = s;
            }
        });
    for (auto &t : threads) t.join();
    for (const auto &r : results) {
        EXPECT_EQ(r.re, expected.re);
        EXPECT_EQ(r.im, expected.im);
    }
}

}  // namespace
