// transforms.cpp - FFT, direct DFT, cosine and sine transforms, chirp-z and Haar transforms.
// Every FFT here is the shared core (mathcore); the direct sums run in double precision with
// angle tables indexed modulo the period, so long transforms keep single-precision accuracy.
#include "numora.h"

#include "transforms_internal.h"

#include "mathcore/fft.h"

#include <cmath>
#include <cstring>
#include <functional>

namespace numora::transforms {

bool fftLength(std::int64_t n) {
    return mathcore::fft_is_pow2(n) && n <= kMaxFftPoints;
}

bool fft(float *re, float *im, std::int64_t n, bool inverse) {
    if (!fftLength(n)) return false;
    return mathcore::fft_inplace(re, im, static_cast<std::size_t>(n), inverse);
}

float runningMean(const float *v, std::int64_t count) {
    double mean = 0.0;
    for (std::int64_t i = 0; i < count; ++i)
        mean += (static_cast<double>(v[i]) - mean) / static_cast<double>(i + 1);
    return static_cast<float>(mean);
}

namespace {

// 2 pi of the chirp-z transform, single precision.
constexpr float kTwoPiChirp = 6.2831855f;

// Angle of the chirp e^(j i^2 phi / 2).
double chirpAngle(std::int64_t i, double phi) {
    const double di = static_cast<double>(i);
    return di * di * phi * 0.5;
}

}  // namespace

bool ChirpZ::prepare(std::int64_t n, std::int64_t m, float f1, float f2, float fs) {
    if (n < 1 || m < 1 || n + m > kMaxFftPoints) return false;
    std::int64_t L = 1;
    while (L < n + m) L *= 2;
    const float phi = static_cast<float>(static_cast<double>(kTwoPiChirp) * (static_cast<double>(f2) - f1) /
                                         (static_cast<double>(fs) * static_cast<double>(m)));
    const float w0 = static_cast<float>(static_cast<double>(kTwoPiChirp) * f1 / static_cast<double>(fs));
    if (!std::isfinite(phi) || !std::isfinite(w0)) return false;
    const std::size_t size = static_cast<std::size_t>(L);
    if (!br_.reset(size) || !bi_.reset(size) || !ar_.reset(size) || !ai_.reset(size)) return false;
    n_ = n;
    m_ = m;
    L_ = L;
    phi_ = phi;
    w0_ = w0;
    // Kernel e^(+j d^2 phi / 2) at the lags d = k - i from -(n - 1) to m - 1, negative lags
    // wrapped to the end of the circular buffer.
    for (std::int64_t d = 0; d < m; ++d) {
        const double a = chirpAngle(d, phi_);
        br_[static_cast<std::size_t>(d)] = static_cast<float>(std::cos(a));
        bi_[static_cast<std::size_t>(d)] = static_cast<float>(std::sin(a));
    }
    for (std::int64_t d = 1; d < n; ++d) {
        const double a = chirpAngle(d, phi_);
        br_[static_cast<std::size_t>(L - d)] = static_cast<float>(std::cos(a));
        bi_[static_cast<std::size_t>(L - d)] = static_cast<float>(std::sin(a));
    }
    return fft(br_.get(), bi_.get(), L, false);
}

bool ChirpZ::run(const float *xr, const float *xi, float *yr, float *yi) {
    if (L_ == 0) return false;
    float *ar = ar_.get(), *ai = ai_.get();
    for (std::int64_t i = 0; i < n_; ++i) {
        const double a = -(chirpAngle(i, phi_) + static_cast<double>(i) * w0_);
        const double c = std::cos(a), s = std::sin(a);
        const double re = xr[i], im = xi ? xi[i] : 0.0;
        ar[i] = static_cast<float>(re * c - im * s);
        ai[i] = static_cast<float>(re * s + im * c);
    }
    std::memset(ar + n_, 0, static_cast<std::size_t>(L_ - n_) * sizeof(float));
    std::memset(ai + n_, 0, static_cast<std::size_t>(L_ - n_) * sizeof(float));
    if (!fft(ar, ai, L_, false)) return false;
    const float *br = br_.get(), *bi = bi_.get();
    for (std::int64_t i = 0; i < L_; ++i) {
        const double pr = static_cast<double>(ar[i]) * br[i] - static_cast<double>(ai[i]) * bi[i];
        const double pi = static_cast<double>(ar[i]) * bi[i] + static_cast<double>(ai[i]) * br[i];
        ar[i] = static_cast<float>(pr);
        ai[i] = static_cast<float>(pi);
    }
    if (!fft(ar, ai, L_, true)) return false;
    for (std::int64_t k = 0; k < m_; ++k) {
        const double a = -chirpAngle(k, phi_);
        const double c = std::cos(a), s = std::sin(a);
        yr[k] = static_cast<float>(ar[k] * c - ai[k] * s);
        yi[k] = static_cast<float>(ar[k] * s + ai[k] * c);
    }
    return true;
}

}  // namespace numora::transforms

using numora::transforms::fft;
using numora::transforms::fftLength;
using numora::transforms::Work;

namespace {

constexpr double kDegreesPerRadian = 57.29577952383886;
constexpr double kTwoPiDft = static_cast<double>(6.283185f);   // the direct DFT's 2 pi
constexpr double kPiDirect = static_cast<double>(3.1415925f);  // direct DCT and DST
constexpr double kPiFastDct = 3.1415926;                       // the fast DCT's rotation

bool overlaps(const float *a, const float *b, std::int64_t n) {
    const std::less<const float *> before;
    return before(a, b + n) && before(b, a + n);
}

// Holds x, or a private copy of it when the output y overlaps it, so writing y never changes
// an input value that is still to be read.
class SafeInput {
  public:
    SafeInput(const float *x, const float *y, std::int64_t n) : x_(x) {
        if (overlaps(x, y, n)) {
            ok_ = copy_.reset(static_cast<std::size_t>(n));
            if (ok_) {
                std::memcpy(copy_.get(), x, static_cast<std::size_t>(n) * sizeof(float));
                x_ = copy_.get();
            }
        }
    }
    explicit operator bool() const { return ok_; }
    const float *get() const { return x_; }

  private:
    const float *x_;
    bool ok_ = true;
    Work<float> copy_;
};

// Phase in degrees of (re, im) as the amplitude-phase output gives it: the arctangent of the
// ratio (-90..90), +-90 when the real part is negligible, 0 for a zero value.
double phaseDegrees(double re, double im) {
    if (re == 0.0 && im == 0.0) return 0.0;
    if (std::fabs(re) < 1.0e-6 * std::fabs(im)) return re * im > 0.0 ? 90.0 : -90.0;
    return std::atan(im / re) * kDegreesPerRadian;
}

// FFT of (pr, pi), n = 2^k points, into (fr, fi), optionally as amplitudes and phases.
int32_t fftOutOfPlace(const float *pr, const float *pi, int32_t n, int32_t k, float *fr, float *fi,
                      bool inverse, bool ampPhase) {
    if (!pr || !pi || !fr || !fi || k < 0 || k > 30 || static_cast<int64_t>(n) != (int64_t{1} << k)) return 0;
    const std::size_t size = static_cast<std::size_t>(n);
    std::memmove(fr, pr, size * sizeof(float));
    std::memmove(fi, pi, size * sizeof(float));
    if (!fft(fr, fi, n, inverse)) return 0;
    if (ampPhase) {
        for (std::size_t i = 0; i < size; ++i) {
            const double re = fr[i], im = fi[i];
            fr[i] = static_cast<float>(std::sqrt(re * re + im * im));
            fi[i] = static_cast<float>(phaseDegrees(re, im));
        }
    }
    return 1;
}

// Direct DFT of n points into (outRe, outIm), sign +1 forward, -1 inverse, no scaling.
bool directDft(const float *xr, const float *xi, std::int64_t n, double sign, float *outRe, float *outIm) {
    const std::size_t size = static_cast<std::size_t>(n);
    Work<double> c(size), s(size);
    if (!c || !s) return false;
    for (std::int64_t j = 0; j < n; ++j) {
        const double a = static_cast<double>(j) * kTwoPiDft / static_cast<double>(n);
        c[static_cast<std::size_t>(j)] = std::cos(a);
        s[static_cast<std::size_t>(j)] = std::sin(a);
    }
    for (std::int64_t k = 0; k < n; ++k) {
        double re = 0.0, im = 0.0;
        std::int64_t idx = 0;  // m * k modulo n
        for (std::int64_t m = 0; m < n; ++m) {
            const double cv = c[static_cast<std::size_t>(idx)], sv = sign * s[static_cast<std::size_t>(idx)];
            re += xr[m] * cv + xi[m] * sv;
            im += xi[m] * cv - xr[m] * sv;
            idx += k;
            if (idx >= n) idx -= n;
        }
        outRe[k] = static_cast<float>(re);
        outIm[k] = static_cast<float>(im);
    }
    return true;
}

int32_t dftInPlace(float *xr, float *xi, std::int64_t n, bool inverse) {
    const std::size_t size = static_cast<std::size_t>(n);
    Work<float> in(2 * size), out(2 * size);
    if (!in || !out) return 0;
    const float scale = inverse ? 1.0f / static_cast<float>(n) : 1.0f;
    for (std::size_t i = 0; i < size; ++i) {
        in[i] = inverse ? xr[i] * scale : xr[i];
        in[size + i] = inverse ? xi[i] * scale : xi[i];
    }
    if (!directDft(in.get(), in.get() + size, n, inverse ? -1.0 : 1.0, out.get(), out.get() + size)) return 0;
    std::memcpy(xr, out.get(), size * sizeof(float));
    std::memcpy(xi, out.get() + size, size * sizeof(float));
    return 1;
}

// Direct DCT: forward y[k] = sum x[m] cos(pi (m + 0.5) k / n), inverse
// y[k] = (2 / n) (x[0] / 2 + sum_{m >= 1} x[m] cos(pi (k + 0.5) m / n)).
bool directDct(const float *x, float *y, std::int64_t n, bool inverse) {
    SafeInput in(x, y, n);
    const std::int64_t period = 4 * n;  // cos(pi j / (2n)) has period 4n in j
    Work<double> c(static_cast<std::size_t>(period));
    if (!in || !c) return false;
    x = in.get();
    for (std::int64_t j = 0; j < period; ++j)
        c[static_cast<std::size_t>(j)] =
            std::cos(static_cast<double>(j) * kPiDirect / (2.0 * static_cast<double>(n)));
    for (std::int64_t k = 0; k < n; ++k) {
        double sum = 0.0;
        // Argument index: (2m + 1) k forward, (2k + 1) m inverse, both modulo 4n.
        const std::int64_t step = inverse ? (2 * k + 1) % period : (2 * k) % period;
        std::int64_t idx = inverse ? 0 : k % period;
        for (std::int64_t m = 0; m < n; ++m) {
            const double xm = (inverse && m == 0) ? 0.5 * x[0] : x[m];
            sum += xm * c[static_cast<std::size_t>(idx)];
            idx += step;
            if (idx >= period) idx -= period;
        }
        y[k] = static_cast<float>(inverse ? 2.0 * sum / static_cast<double>(n) : sum);
    }
    return true;
}

// Fast DCT through a 2n-point FFT (n a power of two); y holds the input and receives the result.
bool fastDct(float *y, std::int64_t n, bool inverse) {
    const std::int64_t m = 2 * n;
    if (!fftLength(m)) return false;
    Work<float> re(static_cast<std::size_t>(m)), im(static_cast<std::size_t>(m));
    if (!re || !im) return false;
    const double factor = static_cast<float>(kPiFastDct / static_cast<double>(m));  // pi / (2n)
    if (!inverse) {
        for (std::int64_t i = 0; i < n; ++i) {
            re[static_cast<std::size_t>(i)] = y[i];
            re[static_cast<std::size_t>(m - 1 - i)] = y[i];
        }
        if (!fft(re.get(), im.get(), m, false)) return false;
        y[0] = static_cast<float>(re[0] / std::sqrt(2.0));
        for (std::int64_t k = 1; k < n; ++k) {
            const double th = static_cast<double>(k) * factor;
            y[k] = static_cast<float>(re[static_cast<std::size_t>(k)] * std::cos(th) +
                                      im[static_cast<std::size_t>(k)] * std::sin(th));
        }
        return true;
    }
    for (std::int64_t i = 0; i < n; ++i) re[static_cast<std::size_t>(i)] = y[i];
    for (std::int64_t i = 0; i < n - 1; ++i) re[static_cast<std::size_t>(n + 1 + i)] = -y[n - 1 - i];
    for (std::int64_t i = 1; i < m; ++i) {
        const double th = static_cast<double>(i) * factor;
        const double r = re[static_cast<std::size_t>(i)];
        re[static_cast<std::size_t>(i)] = static_cast<float>(r * std::cos(th));
        im[static_cast<std::size_t>(i)] = static_cast<float>(r * std::sin(th));
    }
    re[0] = static_cast<float>(re[0] * std::sqrt(2.0));
    if (!fft(re.get(), im.get(), m, true)) return false;
    std::memcpy(y, re.get(), static_cast<std::size_t>(n) * sizeof(float));
    return true;
}

}  // namespace

extern "C" {

NUMORA_API int32_t FFT(const float *pr, const float *pi, int32_t n, int32_t k, float *fr, float *fi,
                       int32_t inverse, int32_t ampPhase) {
    return fftOutOfPlace(pr, pi, n, k, fr, fi, inverse != 0, ampPhase != 0);
}

NUMORA_API int32_t DFT(float *xr, float *xi, int32_t n, int32_t inverse) {
    if (!xr || !xi || n < 1) return 0;
    return dftInPlace(xr, xi, n, inverse != 0);
}

NUMORA_API int32_t DFFT(const float *xr, const float *xi, float *yr, float *yi, int32_t n, int32_t inverse) {
    if (!xr || !xi || !yr || !yi || n < 1) return 0;
    if (fftLength(n)) {
        int32_t k = 0;
        while ((int32_t{1} << k) < n) ++k;
        return fftOutOfPlace(xr, xi, n, k, yr, yi, inverse != 0, false);
    }
    // The direct path works on copies, so the outputs are only written once it has succeeded.
    const std::size_t size = static_cast<std::size_t>(n);
    Work<float> re(size), im(size);
    if (!re || !im) return 0;
    std::memcpy(re.get(), xr, size * sizeof(float));
    std::memcpy(im.get(), xi, size * sizeof(float));
    if (!dftInPlace(re.get(), im.get(), n, inverse != 0)) return 0;
    std::memcpy(yr, re.get(), size * sizeof(float));
    std::memcpy(yi, im.get(), size * sizeof(float));
    return 1;
}

NUMORA_API int32_t DCT(const float *x, float *y, int32_t n, int32_t inverse) {
    if (!x || !y || n < 1) return 0;
    if (!mathcore::fft_is_pow2(n)) return directDct(x, y, n, inverse != 0) ? 1 : 0;
    if (!fftLength(2 * static_cast<int64_t>(n))) return 0;
    // Transform a copy, so a failure leaves y as it was.
    Work<float> work(static_cast<std::size_t>(n));
    if (!work) return 0;
    std::memcpy(work.get(), x, static_cast<std::size_t>(n) * sizeof(float));
    if (!fastDct(work.get(), n, inverse != 0)) return 0;
    std::memcpy(y, work.get(), static_cast<std::size_t>(n) * sizeof(float));
    return 1;
}

NUMORA_API int32_t DST(const float *x, int32_t n, float *y) {
    if (!x || !y || n < 1 || n == INT32_MAX) return 0;
    const std::int64_t n1 = static_cast<std::int64_t>(n) + 1;
    const std::int64_t period = 2 * n1;  // sin(j pi / (n + 1)) has period 2 (n + 1) in j
    SafeInput in(x, y, n);
    Work<double> s(static_cast<std::size_t>(period));
    if (!in || !s) return 0;
    x = in.get();
    const double factor = static_cast<float>(kPiDirect / static_cast<double>(n1));
    const double scale = static_cast<float>(std::sqrt(2.0 / static_cast<double>(n1)));
    for (std::int64_t j = 0; j < period; ++j)
        s[static_cast<std::size_t>(j)] = std::sin(static_cast<double>(j) * factor);
    for (std::int64_t k = 1; k <= n; ++k) {
        double sum = 0.0;
        std::int64_t idx = k;  // m * k modulo 2 (n + 1)
        for (std::int64_t m = 1; m <= n; ++m) {
            sum += x[m - 1] * s[static_cast<std::size_t>(idx)];
            idx += k;
            if (idx >= period) idx -= period;
        }
        y[k - 1] = static_cast<float>(scale * sum);
    }
    return static_cast<int32_t>(n1);
}

NUMORA_API int32_t CharpZT(const float *xr, const float *xi, int32_t n, float *yr, float *yi, int32_t m,
                           float f1, float f2, float fs) {
    if (!xr || !xi || !yr || !yi) return 0;
    numora::transforms::ChirpZ chirp;
    if (!chirp.prepare(n, m, f1, f2, fs)) return 0;
    // The result goes through work arrays, so outputs overlapping the inputs stay consistent
    // and a failure writes nothing.
    Work<float> re(static_cast<std::size_t>(m)), im(static_cast<std::size_t>(m));
    if (!re || !im || !chirp.run(xr, xi, re.get(), im.get())) return 0;
    std::memcpy(yr, re.get(), static_cast<std::size_t>(m) * sizeof(float));
    std::memcpy(yi, im.get(), static_cast<std::size_t>(m) * sizeof(float));
    return 1;
}

NUMORA_API int32_t Haar(const float *x, float *y, int32_t n, int32_t inverse) {
    if (!x || !y || !fftLength(n)) return 0;
    SafeInput in(x, y, n);
    if (!in) return 0;
    x = in.get();
    int K = 0;
    while ((int32_t{1} << K) < n) ++K;
    // The basis function of index k >= 1 (level p, position q) is +sqrt(2^p) on the first half
    // of its support [q w, (q + 1) w), w = 2^(K - p), and -sqrt(2^p) on the second half; only
    // the non-zero terms of each sum are visited.
    if (!inverse) {
        double total = 0.0;
        for (int32_t t = 0; t < n; ++t) total += x[t];
        y[0] = static_cast<float>(total / n);
        for (int p = 0; p < K; ++p) {
            const int32_t w = int32_t{1} << (K - p), half = w / 2;
            const double height = std::sqrt(std::ldexp(1.0, p));
            for (int32_t q = 0; q < (int32_t{1} << p); ++q) {
                double sum = 0.0;
                for (int32_t t = q * w; t < q * w + half; ++t) sum += x[t];
                for (int32_t t = q * w + half; t < (q + 1) * w; ++t) sum -= x[t];
                y[(int32_t{1} << p) + q] = static_cast<float>(height * sum / n);
            }
        }
        return 1;
    }
    for (int32_t t = 0; t < n; ++t) {
        double sum = x[0];
        for (int p = 0; p < K; ++p) {
            const int32_t w = int32_t{1} << (K - p), q = t / w;
            const double h = std::sqrt(std::ldexp(1.0, p));
            sum += (t - q * w < w / 2 ? h : -h) * x[(int32_t{1} << p) + q];
        }
        y[t] = static_cast<float>(sum);
    }
    return 1;
}

}  // extern "C"
