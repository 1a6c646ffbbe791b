// Butterfly passes after the fused first pass, shared by the vector kernels. Each kernel's
// translation unit instantiates them with its own operations (an internal type), compiled for
// its own instruction set; nothing here is shared code at link time.
//
// Ops provides: C (a vector of complex values as two registers), kWidth (lanes),
// load(re, im, k), store(re, im, k, C), add(C, C), sub(C, C) and mul(C, cos, msin, j), which
// multiplies by the twiddles cos[j .. j + kWidth) + i msin[j .. j + kWidth).
#ifndef MATHCORE_FFT_PASSES_H
#define MATHCORE_FFT_PASSES_H

#include <cstddef>

#include "fft_internal.h"

namespace mathcore::detail {

template <class Ops>
struct Passes {
    using C = typename Ops::C;

    // Stages of half-size L = 2^s and 2L over [off, off + size), blocks of 4L.
    static void radix4(float *re, float *im, std::size_t off, std::size_t size, unsigned s,
                       const StageTwiddles &tw) {
        const std::size_t L = std::size_t{1} << s;
        const float *wc = tw.cos[s], *ws = tw.msin[s];
        const float *uc = tw.cos[s + 1], *us = tw.msin[s + 1];
        for (std::size_t blk = off; blk < off + size; blk += 4 * L) {
            for (std::size_t j = 0; j < L; j += Ops::kWidth) {
                const std::size_t p0 = blk + j, p1 = p0 + L, p2 = p1 + L, p3 = p2 + L;
                const C x0 = Ops::load(re, im, p0), x2 = Ops::load(re, im, p2);
                const C t1 = Ops::mul(Ops::load(re, im, p1), wc, ws, j);
                const C t3 = Ops::mul(Ops::load(re, im, p3), wc, ws, j);
                const C y0 = Ops::add(x0, t1), y1 = Ops::sub(x0, t1);
                const C y2 = Ops::add(x2, t3), y3 = Ops::sub(x2, t3);
                const C t2 = Ops::mul(y2, uc, us, j), t4 = Ops::mul(y3, uc, us, j + L);
                Ops::store(re, im, p0, Ops::add(y0, t2));
                Ops::store(re, im, p2, Ops::sub(y0, t2));
                Ops::store(re, im, p1, Ops::add(y1, t4));
                Ops::store(re, im, p3, Ops::sub(y1, t4));
            }
        }
    }

    // Stages of half-size L = 2^s, 2L and 4L over [off, off + size), blocks of 8L.
    static void radix8(float *re, float *im, std::size_t off, std::size_t size, unsigned s,
                       const StageTwiddles &tw) {
        const std::size_t L = std::size_t{1} << s;
        const float *ac = tw.cos[s], *as = tw.msin[s];
        const float *bc = tw.cos[s + 1], *bs = tw.msin[s + 1];
        const float *cc = tw.cos[s + 2], *cs = tw.msin[s + 2];
        for (std::size_t blk = off; blk < off + size; blk += 8 * L) {
            for (std::size_t j = 0; j < L; j += Ops::kWidth) {
                C x[8];
                for (std::size_t q = 0; q < 8; ++q) x[q] = Ops::load(re, im, blk + j + q * L);
                for (std::size_t q = 0; q < 8; q += 2) {
                    const C t = Ops::mul(x[q + 1], ac, as, j);
                    x[q + 1] = Ops::sub(x[q], t);
                    x[q] = Ops::add(x[q], t);
                }
                for (std::size_t q = 0; q < 8; q += 4) {
                    const C t0 = Ops::mul(x[q + 2], bc, bs, j), t1 = Ops::mul(x[q + 3], bc, bs, j + L);
                    x[q + 2] = Ops::sub(x[q], t0);
                    x[q] = Ops::add(x[q], t0);
                    x[q + 3] = Ops::sub(x[q + 1], t1);
                    x[q + 1] = Ops::add(x[q + 1], t1);
                }
                for (std::size_t q = 0; q < 4; ++q) {
                    const C t = Ops::mul(x[q + 4], cc, cs, j + q * L);
                    Ops::store(re, im, blk + j + (q + 4) * L, Ops::sub(x[q], t));
                    Ops::store(re, im, blk + j + q * L, Ops::add(x[q], t));
                }
            }
        }
    }

    // Blocks up to this many points are finished stage by stage while they sit in cache.
    static constexpr unsigned kCacheBlockLog2 = 13;

    // Runs stages first .. m-1 on the block of 2^m points at off (m - first >= 2; the first
    // stage's half-size is at least kWidth). Large blocks go depth first: their quarters are
    // finished before the top two stages run across the block.
    static void later_stages(float *re, float *im, std::size_t off, unsigned m, unsigned first,
                             const StageTwiddles &tw) {
        const std::size_t size = std::size_t{1} << m;
        if (m <= kCacheBlockLog2) {
            unsigned s = first;
            if ((m - first) % 2 != 0) {
                radix8(re, im, off, size, s, tw);
                s += 3;
            }
            for (; s + 1 < m; s += 2) radix4(re, im, off, size, s, tw);
            return;
        }
        const std::size_t quarter = size / 4;
        for (std::size_t q = 0; q < 4; ++q) later_stages(re, im, off + q * quarter, m - 2, first, tw);
        radix4(re, im, off, size, m - 2, tw);
    }
};

}  // namespace mathcore::detail

#endif
