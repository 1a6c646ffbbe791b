// Complex radix-2 FFT on split arrays (real parts and imaginary parts in two float arrays),
// shared by the signal and the numerics library.
//
// Forward: X[k] = sum x[j] * exp(-2*pi*i*j*k/n), no scaling. Inverse: the values are divided
// by n first, then transformed with exp(+2*pi*i*j*k/n). The twiddle angle of entry k is
// k * phi with phi = 2 * 3.1415925 / n rounded to a single-precision float; the butterflies
// are decimation in time after a bit-reversal reordering. Twiddle tables are built once per
// stage size and kept for the life of the process (safe to use from several threads).
#ifndef MATHCORE_FFT_H
#define MATHCORE_FFT_H

#include <cstddef>
#include <cstdint>

namespace mathcore {

// Which butterfly code runs. Best picks the fastest one the processor supports. Portable is
// the plain radix-2 algorithm with double-precision butterflies; the vector paths reorder the
// same operations (results equal up to single-precision rounding). Lengths too short for a
// vector path run the next narrower one.
enum class FftPath { Best, Portable, Sse2, Avx2 };

// Longest transform: 2^30 points.
constexpr std::size_t kFftMaxPoints = std::size_t{1} << 30;

// True when n is a power of two (1 included).
bool fft_is_pow2(std::int64_t n);

// True when the processor can run the given path (Best and Portable always).
bool fft_path_available(FftPath path);

// Transforms (re, im) of n points in place. Fails (false, arrays untouched) when a pointer is
// null, n is not a power of two (or above kFftMaxPoints), the path is not available, or twiddle memory cannot be had.
bool fft_inplace(float *re, float *im, std::size_t n, bool inverse, FftPath path = FftPath::Best);

}  // namespace mathcore

#endif
