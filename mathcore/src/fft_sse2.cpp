// SSE2 kernel of the forward FFT on split arrays, four butterflies per instruction; the
// baseline of x86-64, used where AVX2 is missing.
//
// Pass 1 fuses the bit-reversal reordering with the first two butterfly stages on 4 x 4 tiles
// (four runs of four consecutive inputs, n/4 apart; one 4-point group per lane; a transpose
// turns lanes into rows, which land at their bit-reversed places). Tiles pair up under bit
// reversal, so the pass works in place. The later stages are the shared radix-4/radix-8 passes.
#include <emmintrin.h>

#include <cstddef>

#include "fft_internal.h"
#include "fft_passes.h"

namespace mathcore::detail {
namespace {

struct CVec4 {
    __m128 r, i;
};

struct Sse2Ops {
    using C = CVec4;
    static constexpr std::size_t kWidth = 4;
    static C load(const float *re, const float *im, std::size_t k) {
        return {_mm_loadu_ps(re + k), _mm_loadu_ps(im + k)};
    }
    static void store(float *re, float *im, std::size_t k, C v) {
        _mm_storeu_ps(re + k, v.r);
        _mm_storeu_ps(im + k, v.i);
    }
    static C add(C a, C b) { return {_mm_add_ps(a.r, b.r), _mm_add_ps(a.i, b.i)}; }
    static C sub(C a, C b) { return {_mm_sub_ps(a.r, b.r), _mm_sub_ps(a.i, b.i)}; }
    static C mul(C a, __m128 c, __m128 s) {
        return {_mm_sub_ps(_mm_mul_ps(a.r, c), _mm_mul_ps(a.i, s)),
                _mm_add_ps(_mm_mul_ps(a.r, s), _mm_mul_ps(a.i, c))};
    }
    static C mul(C a, const float *c, const float *s, std::size_t j) {
        return mul(a, _mm_loadu_ps(c + j), _mm_loadu_ps(s + j));
    }
};

constexpr int kRev2[4] = {0, 2, 1, 3};

struct Tile4 {
    __m128 r[4], i[4];
};

// Loads the tile whose row m starts at base + m * stride and runs the first two stages.
inline void load_and_transform(const float *re, const float *im, std::size_t base, std::size_t stride,
                               __m128 wc, __m128 ws, __m128 scale, bool scaled, Tile4 &out) {
    CVec4 v[4];
    for (int m = 0; m < 4; ++m) {
        v[m] = Sse2Ops::load(re, im, base + static_cast<std::size_t>(m) * stride);
        if (scaled) v[m] = {_mm_mul_ps(v[m].r, scale), _mm_mul_ps(v[m].i, scale)};
    }
    // Group input k of each lane is row kRev2[k]. Stage 1 without twiddle, stage 2 with
    // twiddle 0 (none) and twiddle 1 of the two-point stage.
    const CVec4 a0 = Sse2Ops::add(v[0], v[2]), a1 = Sse2Ops::sub(v[0], v[2]);
    const CVec4 a2 = Sse2Ops::add(v[1], v[3]), a3 = Sse2Ops::sub(v[1], v[3]);
    const CVec4 t = Sse2Ops::mul(a3, wc, ws);
    const CVec4 z[4] = {Sse2Ops::add(a0, a2), Sse2Ops::add(a1, t), Sse2Ops::sub(a0, a2), Sse2Ops::sub(a1, t)};
    for (int m = 0; m < 4; ++m) {
        out.r[m] = z[m].r;
        out.i[m] = z[m].i;
    }
    _MM_TRANSPOSE4_PS(out.r[0], out.r[1], out.r[2], out.r[3]);
    _MM_TRANSPOSE4_PS(out.i[0], out.i[1], out.i[2], out.i[3]);
}

// Row t of a transformed tile goes to base + rev2(t) * stride.
inline void store_tile(float *re, float *im, std::size_t base, std::size_t stride, const Tile4 &t) {
    for (int m = 0; m < 4; ++m) {
        const std::size_t at = base + static_cast<std::size_t>(kRev2[m]) * stride;
        _mm_storeu_ps(re + at, t.r[m]);
        _mm_storeu_ps(im + at, t.i[m]);
    }
}

void first_pass(float *re, float *im, unsigned log2n, const StageTwiddles &tw, float scale) {
    const std::size_t n = std::size_t{1} << log2n;
    const std::size_t stride = n / 4;
    const __m128 wc = _mm_set1_ps(tw.cos[1][1]), ws = _mm_set1_ps(tw.msin[1][1]);
    const __m128 vscale = _mm_set1_ps(scale);
    const bool scaled = scale != 1.0f;
    Tile4 ta, tb;
    for (std::size_t a0 = 0; a0 < stride; a0 += 4) {
        const std::size_t b0 = 4 * reverse_bits(a0, log2n - 2);
        if (b0 < a0) continue;
        load_and_transform(re, im, a0, stride, wc, ws, vscale, scaled, ta);
        if (b0 != a0) {
            load_and_transform(re, im, b0, stride, wc, ws, vscale, scaled, tb);
            store_tile(re, im, a0, stride, tb);
        }
        store_tile(re, im, b0, stride, ta);
    }
}

}  // namespace

void fft_forward_sse2(float *re, float *im, unsigned log2n, const StageTwiddles &tw, float scale) {
    first_pass(re, im, log2n, tw, scale);
    Passes<Sse2Ops>::later_stages(re, im, 0, log2n, 2, tw);
}

}  // namespace mathcore::detail
