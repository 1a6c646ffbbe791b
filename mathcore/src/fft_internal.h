// Pieces shared by the FFT dispatcher (fft.cpp) and its processor-specific kernels.
// Declarations only: the kernels' translation units are compiled for other instruction sets
// and must not share inline code with the rest of the library.
#ifndef MATHCORE_FFT_INTERNAL_H
#define MATHCORE_FFT_INTERNAL_H

#include <cstddef>

namespace mathcore::detail {

// Twiddle factors per butterfly stage: stage s (half-size L = 2^s) has L entries,
// cos[s][j] = cos(j * c0 / (2L)) and msin[s][j] = -sin(j * c0 / (2L)) with c0 the single-precision
// value of 2 * 3.1415925. Entry j of stage s is entry j * n / (2L) of the n-point table.
struct StageTwiddles {
    const float *cos[32];
    const float *msin[32];
};

// Forward transform of 2^log2n points (the inverse runs it on swapped arrays). Every value is
// multiplied by `scale` first (1 for the forward transform, 1/n for the inverse).
void fft_forward_portable(float *re, float *im, unsigned log2n, const StageTwiddles &tw, float scale);

// Same with SSE2 (baseline x86-64); needs log2n >= kSse2MinLog2.
constexpr unsigned kSse2MinLog2 = 4;
void fft_forward_sse2(float *re, float *im, unsigned log2n, const StageTwiddles &tw, float scale);

// Same with AVX2 and FMA; needs log2n >= kAvx2MinLog2 and a processor with both.
constexpr unsigned kAvx2MinLog2 = 6;
void fft_forward_avx2(float *re, float *im, unsigned log2n, const StageTwiddles &tw, float scale);

// Reverses the low `bits` bits of v.
std::size_t reverse_bits(std::size_t v, unsigned bits);

}  // namespace mathcore::detail

#endif
