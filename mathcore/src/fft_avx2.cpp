// AVX2/FMA kernel of the forward FFT on split arrays, eight butterflies per instruction.
//
// Pass 1 fuses the bit-reversal reordering with the first three butterfly stages: an 8 x 8
// tile (eight runs of eight consecutive inputs, n/8 apart) holds eight complete 8-point
// groups, one per lane; the three stages run lane-wise, a transpose turns lanes into rows,
// and the rows land at their bit-reversed places, which form another such tile. Tiles pair
// up under bit reversal, so the pass works in place.
// The remaining stages run as radix-4 passes (two radix-2 stages with their own twiddles, so
// the arithmetic is that of the radix-2 algorithm), with one radix-8 pass when their count is
// odd, depth first so that blocks stay in cache.
//
// Only <immintrin.h> is included after the target switch: no inline code shared with the
// baseline build can be compiled for AVX2 here.
#include <immintrin.h>

#include <cstddef>

#include "fft_internal.h"

#pragma GCC target("avx2,fma")

#include "fft_passes.h"

namespace mathcore::detail {
namespace {

struct CVec {
    __m256 r, i;
};

inline CVec load(const float *re, const float *im, std::size_t k) {
    return {_mm256_loadu_ps(re + k), _mm256_loadu_ps(im + k)};
}

inline void store(float *re, float *im, std::size_t k, CVec v) {
    _mm256_storeu_ps(re + k, v.r);
    _mm256_storeu_ps(im + k, v.i);
}

inline CVec add(CVec a, CVec b) {
    return {_mm256_add_ps(a.r, b.r), _mm256_add_ps(a.i, b.i)};
}
inline CVec sub(CVec a, CVec b) {
    return {_mm256_sub_ps(a.r, b.r), _mm256_sub_ps(a.i, b.i)};
}

// a * (c + i s)
inline CVec mul(CVec a, __m256 c, __m256 s) {
    return {_mm256_fmsub_ps(a.r, c, _mm256_mul_ps(a.i, s)), _mm256_fmadd_ps(a.r, s, _mm256_mul_ps(a.i, c))};
}

// Twiddle j (broadcast) of a stage.
struct Tw {
    __m256 c, s;
};
inline Tw broadcast(const float *c, const float *s, std::size_t j) {
    return {_mm256_set1_ps(c[j]), _mm256_set1_ps(s[j])};
}
inline Tw vec(const float *c, const float *s, std::size_t j) {
    return {_mm256_loadu_ps(c + j), _mm256_loadu_ps(s + j)};
}
inline CVec mul(CVec a, Tw w) {
    return mul(a, w.c, w.s);
}

// Operations of the shared passes.
struct Avx2Ops {
    using C = CVec;
    static constexpr std::size_t kWidth = 8;
    static C load(const float *re, const float *im, std::size_t k) { return detail::load(re, im, k); }
    static void store(float *re, float *im, std::size_t k, C v) { detail::store(re, im, k, v); }
    static C add(C a, C b) { return detail::add(a, b); }
    static C sub(C a, C b) { return detail::sub(a, b); }
    static C mul(C a, const float *c, const float *s, std::size_t j) { return detail::mul(a, vec(c, s, j)); }
};

// In-register transpose of eight rows of eight floats.
inline void transpose8(__m256 v[8]) {
    const __m256 t0 = _mm256_unpacklo_ps(v[0], v[1]), t1 = _mm256_unpackhi_ps(v[0], v[1]);
    const __m256 t2 = _mm256_unpacklo_ps(v[2], v[3]), t3 = _mm256_unpackhi_ps(v[2], v[3]);
    const __m256 t4 = _mm256_unpacklo_ps(v[4], v[5]), t5 = _mm256_unpackhi_ps(v[4], v[5]);
    const __m256 t6 = _mm256_unpacklo_ps(v[6], v[7]), t7 = _mm256_unpackhi_ps(v[6], v[7]);
    const __m256 u0 = _mm256_shuffle_ps(t0, t2, 0x44), u1 = _mm256_shuffle_ps(t0, t2, 0xEE);
    const __m256 u2 = _mm256_shuffle_ps(t1, t3, 0x44), u3 = _mm256_shuffle_ps(t1, t3, 0xEE);
    const __m256 u4 = _mm256_shuffle_ps(t4, t6, 0x44), u5 = _mm256_shuffle_ps(t4, t6, 0xEE);
    const __m256 u6 = _mm256_shuffle_ps(t5, t7, 0x44), u7 = _mm256_shuffle_ps(t5, t7, 0xEE);
    v[0] = _mm256_permute2f128_ps(u0, u4, 0x20);
    v[1] = _mm256_permute2f128_ps(u1, u5, 0x20);
    v[2] = _mm256_permute2f128_ps(u2, u6, 0x20);
    v[3] = _mm256_permute2f128_ps(u3, u7, 0x20);
    v[4] = _mm256_permute2f128_ps(u0, u4, 0x31);
    v[5] = _mm256_permute2f128_ps(u1, u5, 0x31);
    v[6] = _mm256_permute2f128_ps(u2, u6, 0x31);
    v[7] = _mm256_permute2f128_ps(u3, u7, 0x31);
}

constexpr int kRev3[8] = {0, 4, 2, 6, 1, 5, 3, 7};

// Twiddles of the first three stages, broadcast.
struct FirstStages {
    Tw w2_1, w4_1, w4_2, w4_3;
    __m256 scale;
};

// A tile after pass 1, rows ready to be stored.
struct Tile {
    __m256 r[8], i[8];
};

// Loads the tile whose row m starts at base + m * stride and runs the first three stages.
inline void load_and_transform(const float *re, const float *im, std::size_t base, std::size_t stride,
                               const FirstStages &k, bool scaled, Tile &out) {
    CVec v[8];
    for (int m = 0; m < 8; ++m) {
        v[m] = load(re, im, base + static_cast<std::size_t>(m) * stride);
        if (scaled) v[m] = {_mm256_mul_ps(v[m].r, k.scale), _mm256_mul_ps(v[m].i, k.scale)};
    }
    // Group input k of each lane is row kRev3[k]. Stage 1 (no twiddle).
    const CVec a0 = add(v[0], v[4]), a1 = sub(v[0], v[4]);
    const CVec a2 = add(v[2], v[6]), a3 = sub(v[2], v[6]);
    const CVec a4 = add(v[1], v[5]), a5 = sub(v[1], v[5]);
    const CVec a6 = add(v[3], v[7]), a7 = sub(v[3], v[7]);
    // Stage 2: twiddle 0 for the even pairs, twiddle 1 for the odd pairs.
    const CVec t3 = mul(a3, k.w2_1), t7 = mul(a7, k.w2_1);
    const CVec b0 = add(a0, a2), b2 = sub(a0, a2), b1 = add(a1, t3), b3 = sub(a1, t3);
    const CVec b4 = add(a4, a6), b6 = sub(a4, a6), b5 = add(a5, t7), b7 = sub(a5, t7);
    // Stage 3: twiddles 0..3.
    const CVec t5 = mul(b5, k.w4_1), t6 = mul(b6, k.w4_2), t7b = mul(b7, k.w4_3);
    const CVec z[8] = {add(b0, b4), add(b1, t5), add(b2, t6), add(b3, t7b),
                       sub(b0, b4), sub(b1, t5), sub(b2, t6), sub(b3, t7b)};
    for (int m = 0; m < 8; ++m) {
        out.r[m] = z[m].r;
        out.i[m] = z[m].i;
    }
    transpose8(out.r);
    transpose8(out.i);
}

// Row t of a transformed tile goes to base + rev3(t) * stride.
inline void store_tile(float *re, float *im, std::size_t base, std::size_t stride, const Tile &t) {
    for (int m = 0; m < 8; ++m) {
        const std::size_t at = base + static_cast<std::size_t>(kRev3[m]) * stride;
        _mm256_storeu_ps(re + at, t.r[m]);
        _mm256_storeu_ps(im + at, t.i[m]);
    }
}

void first_pass(float *re, float *im, unsigned log2n, const StageTwiddles &tw, float scale) {
    const std::size_t n = std::size_t{1} << log2n;
    const std::size_t stride = n / 8;
    const FirstStages k{broadcast(tw.cos[1], tw.msin[1], 1), broadcast(tw.cos[2], tw.msin[2], 1),
                        broadcast(tw.cos[2], tw.msin[2], 2), broadcast(tw.cos[2], tw.msin[2], 3),
                        _mm256_set1_ps(scale)};
    const bool scaled = scale != 1.0f;
    Tile ta, tb;
    for (std::size_t a0 = 0; a0 < stride; a0 += 8) {
        const std::size_t b0 = 8 * reverse_bits(a0, log2n - 3);
        if (b0 < a0) continue;
        load_and_transform(re, im, a0, stride, k, scaled, ta);
        if (b0 != a0) {
            load_and_transform(re, im, b0, stride, k, scaled, tb);
            store_tile(re, im, a0, stride, tb);
        }
        store_tile(re, im, b0, stride, ta);
    }
}

}  // namespace

void fft_forward_avx2(float *re, float *im, unsigned log2n, const StageTwiddles &tw, float scale) {
    first_pass(re, im, log2n, tw, scale);
    Passes<Avx2Ops>::later_stages(re, im, 0, log2n, 3, tw);
}

}  // namespace mathcore::detail
