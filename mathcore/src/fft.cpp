// FFT dispatcher, twiddle cache and the portable radix-2 kernel.
#include "mathcore/fft.h"

#include <atomic>
#include <cmath>
#include <new>
#include <utility>

#include "fft_internal.h"

namespace mathcore {
namespace detail {
namespace {

// 2 * 3.1415925 rounded to single precision; phi = c0 / n exactly for power-of-two n.
const double kTwoPi = static_cast<double>(static_cast<float>(2.0 * 3.1415925));

// Stages up to this size are cached; larger ones are built for one call and released.
constexpr unsigned kMaxCachedStage = 20;

std::atomic<float *> g_stage_cache[kMaxCachedStage + 1];

// Builds the 2L floats of stage s: L cosines followed by L negated sines.
float *build_stage(unsigned s) {
    const std::size_t L = std::size_t{1} << s;
    float *t = new (std::nothrow) float[2 * L];
    if (!t) return nullptr;
    const double step = kTwoPi / (2.0 * static_cast<double>(L));
    for (std::size_t j = 0; j < L; ++j) {
        const double a = static_cast<double>(j) * step;
        t[j] = static_cast<float>(std::cos(a));
        t[L + j] = static_cast<float>(-std::sin(a));
    }
    return t;
}

// Returns the cached table of stage s, building it on first use; null when memory is short.
const float *cached_stage(unsigned s) {
    float *t = g_stage_cache[s].load(std::memory_order_acquire);
    if (t) return t;
    float *fresh = build_stage(s);
    if (!fresh) return nullptr;
    float *expected = nullptr;
    if (g_stage_cache[s].compare_exchange_strong(expected, fresh, std::memory_order_acq_rel)) return fresh;
    delete[] fresh;  // another thread won the race; its table is identical
    return expected;
}

// Twiddles for one transform: cached stages plus the large ones owned for this call.
class TwiddleSet {
  public:
    TwiddleSet() = default;
    TwiddleSet(const TwiddleSet &) = delete;
    TwiddleSet &operator=(const TwiddleSet &) = delete;
    ~TwiddleSet() {
        for (float *p : owned_) delete[] p;
    }

    bool prepare(unsigned log2n) {
        for (unsigned s = 0; s < log2n; ++s) {
            const float *t = nullptr;
            if (s <= kMaxCachedStage) {
                t = cached_stage(s);
            } else {
                owned_[s] = build_stage(s);
                t = owned_[s];
            }
            if (!t) return false;
            tw_.cos[s] = t;
            tw_.msin[s] = t + (std::size_t{1} << s);
        }
        return true;
    }
    const StageTwiddles &tables() const { return tw_; }

  private:
    StageTwiddles tw_{};
    float *owned_[32] = {};
};

bool cpu_has_avx2_fma() {
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return has;
}

}  // namespace

std::size_t reverse_bits(std::size_t v, unsigned bits) {
    std::size_t r = 0;
    for (unsigned b = 0; b < bits; ++b) {
        r = (r << 1) | (v & 1);
        v >>= 1;
    }
    return r;
}

// Literal radix-2 decimation in time: bit reversal, then log2(n) stages of butterflies whose
// arithmetic runs in double precision and is stored as float after each butterfly.
void fft_forward_portable(float *re, float *im, unsigned log2n, const StageTwiddles &tw, float scale) {
    const std::size_t n = std::size_t{1} << log2n;
    if (scale != 1.0f) {
        for (std::size_t i = 0; i < n; ++i) {
            re[i] *= scale;
            im[i] *= scale;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = reverse_bits(i, log2n);
        if (j > i) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    for (unsigned s = 0; s < log2n; ++s) {
        const std::size_t L = std::size_t{1} << s;
        const float *wc = tw.cos[s];
        const float *ws = tw.msin[s];
        for (std::size_t blk = 0; blk < n; blk += 2 * L) {
            float *ar = re + blk, *ai = im + blk, *br = ar + L, *bi = ai + L;
            for (std::size_t j = 0; j < L; ++j) {
                double tr = br[j], ti = bi[j];
                if (j != 0) {
                    const double c = wc[j], sn = ws[j];
                    const double xr = tr;
                    tr = xr * c - ti * sn;
                    ti = xr * sn + ti * c;
                }
                const double xr = ar[j], xi = ai[j];
                br[j] = static_cast<float>(xr - tr);
                bi[j] = static_cast<float>(xi - ti);
                ar[j] = static_cast<float>(xr + tr);
                ai[j] = static_cast<float>(xi + ti);
            }
        }
    }
}

}  // namespace detail

bool fft_is_pow2(std::int64_t n) {
    return n > 0 && (n & (n - 1)) == 0;
}

bool fft_path_available(FftPath path) {
    return path != FftPath::Avx2 || detail::cpu_has_avx2_fma();
}

bool fft_inplace(float *re, float *im, std::size_t n, bool inverse, FftPath path) {
    if (!re || !im || n == 0 || n > kFftMaxPoints || (n & (n - 1)) != 0 || !fft_path_available(path))
        return false;
    unsigned log2n = 0;
    while ((std::size_t{1} << log2n) < n) ++log2n;
    detail::TwiddleSet tw;
    if (!tw.prepare(log2n)) return false;
    // The inverse is the forward transform of the swapped arrays (conjugation by exchanging
    // real and imaginary parts), with every value divided by n first.
    const float scale = inverse ? 1.0f / static_cast<float>(n) : 1.0f;
    float *a = inverse ? im : re;
    float *b = inverse ? re : im;
    if (path == FftPath::Best) path = detail::cpu_has_avx2_fma() ? FftPath::Avx2 : FftPath::Sse2;
    if (path == FftPath::Avx2 && log2n >= detail::kAvx2MinLog2)
        detail::fft_forward_avx2(a, b, log2n, tw.tables(), scale);
    else if (path != FftPath::Portable && log2n >= detail::kSse2MinLog2)
        detail::fft_forward_sse2(a, b, log2n, tw.tables(), scale);
    else
        detail::fft_forward_portable(a, b, log2n, tw.tables(), scale);
    return true;
}

}  // namespace mathcore
