// Helpers shared by the spectral source files of the signal library.
#ifndef SIGMORA_SPECTRAL_INTERNAL_H
#define SIGMORA_SPECTRAL_INTERNAL_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace sigmora::spectral {

// A zero-filled work array obtained for one call; empty (false) when memory is short.
template <class T>
class WorkArray {
  public:
    explicit WorkArray(std::size_t n) : data_(new (std::nothrow) T[n == 0 ? 1 : n]()) {}
    explicit operator bool() const { return data_ != nullptr; }
    T *get() { return data_.get(); }
    T &operator[](std::size_t i) { return data_[i]; }

  private:
    std::unique_ptr<T[]> data_;
};

bool is_pow2(std::int64_t n);

// True for a transform length the FFT accepts: a power of two up to 2^30. Checked before any
// work memory is obtained.
bool fft_length_ok(std::int64_t n);

// Weight of point i of an n-point window of the given type (1 triangular, 2 Hanning, 3 Welch,
// 4 Hamming, 5 Blackman, anything else rectangular). A one-point window has weight 1.
double window_weight(int type, std::int64_t i, std::int64_t n);

// Forward (or inverse) FFT of n points in place; false when n is not a power of two or
// memory is short (arrays untouched then).
bool fft(float *re, float *im, std::int64_t n, bool inverse);

// One-sided periodogram of (re, im), n points: power in re[0 .. n/2], bin frequency in
// im[0 .. n/2]. False (arrays untouched) as fft().
bool power_spectrum(float *re, float *im, std::int64_t n, float dt);

}  // namespace sigmora::spectral

#endif
