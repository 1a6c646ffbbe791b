// transforms_internal.h - internal: work arrays and the chirp-z engine shared by the transform and
// spectrum files.
#ifndef NUMORA_TRANSFORMS_INTERNAL_H
#define NUMORA_TRANSFORMS_INTERNAL_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace numora::transforms {

// Longest FFT the library runs (the shared core's limit): 2^30 points.
constexpr std::int64_t kMaxFftPoints = std::int64_t{1} << 30;

// A zero-filled work array for one call; false when memory is short.
template <class T>
class Work {
  public:
    Work() = default;
    explicit Work(std::size_t n) { reset(n); }
    bool reset(std::size_t n) {
        data_.reset(new (std::nothrow) T[n == 0 ? 1 : n]());
        return data_ != nullptr;
    }
    explicit operator bool() const { return data_ != nullptr; }
    T *get() { return data_.get(); }
    T &operator[](std::size_t i) { return data_[i]; }

  private:
    std::unique_ptr<T[]> data_;
};

// True for a power of two from 1 to 2^30.
bool fftLength(std::int64_t n);

// Forward or inverse FFT of n points in place through the shared core; false when n is refused
// or twiddle memory is short.
bool fft(float *re, float *im, std::int64_t n, bool inverse);

// Bluestein chirp-z transform of n input points to m output points at the angular frequencies
// w0 + k * phi (radians per sample), k = 0..m-1. prepare() builds and transforms the kernel once;
// run() may then be called for any number of inputs of n points.
class ChirpZ {
  public:
    // False (nothing prepared) for n or m below 1, a length above 2^30, non-finite angles or
    // short memory. f1, f2 and fs as CharpZT takes them.
    bool prepare(std::int64_t n, std::int64_t m, float f1, float f2, float fs);
    // Chirp-z of (xr, xi) (xi may be null: zero imaginary part) into (yr, yi), m values each.
    bool run(const float *xr, const float *xi, float *yr, float *yi);

  private:
    std::int64_t n_ = 0, m_ = 0, L_ = 0;
    double phi_ = 0.0, w0_ = 0.0;
    Work<float> br_, bi_, ar_, ai_;
};

// Running mean of count values (in double, rounded to float).
float runningMean(const float *v, std::int64_t count);

}  // namespace numora::transforms

#endif
