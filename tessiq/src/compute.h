// compute.h - the computations the DSP control does itself, as plain functions over arrays
// from their element 0. Callers have checked that every array covers what is touched.
// Arithmetic is in single precision unless a comment says otherwise; a division by zero
// raises error 11 and keeps what was computed before it.
#pragma once

#include <cstdint>

namespace tessiq::compute {

// Running mean m = m + (x(i) - m)/(i + 1), each step in double and stored as a single; 0 for n <= 0.
float mean(const float *x, int32_t n);
// Population variance by the running update v = v + ((x(i) - m)^2 - v)/(i + 1).
float variance(const float *x, int32_t n);
float standardDeviation(const float *x, int32_t n);

// Odd points beyond fa standard deviations from the mean: sel 0 replaces each by its nearest
// normal neighbour (left first, as far as the shorter side reaches, else the mean); any other
// sel keeps only the odd points and sets the rest to the mean. y has n elements.
void oddPoints(const float *x, int32_t n, float *y, float fa, int32_t sel);
// Half the number of crossings of the mean per second; error 11 when n or fs is 0.
float zeroCrossRate(const float *x, int32_t n, float fs);

// cor(k) = sum_i (x(i) - mx)(y(i + k) - my)/D for k < min(lcor, n), n = min(lx, ly);
// D = n - k for mode 0 (unbiased), n otherwise.
void crossCorrelation(const float *x, int32_t lx, const float *y, int32_t ly, float *cor, int32_t lcor,
                      int32_t mode);
// Trailing median of 2 mLR + 1 samples; needs n >= 2 mLR + 1 (error 5 otherwise, nothing written)
// and 2 mLR within 16 bits (error 6). y has n elements.
void medianFilter(const float *x, int32_t n, float *y, int32_t mLR);

// Magnitude and phase of B(z)/A(z) at lap frequencies from f1 to f2 (2 pi taken as 6.2831852);
// error 11 when lap is 1 or fs is 0. a and b hold at least one element each.
void frequencyResponse(const float *a, const float *b, int32_t la, int32_t lb, float *am, float *ph,
                       int32_t lap, float f1, float f2, float fs);

// y(i) = (x(i) - m)/s; error 11 when s is 0 and n > 0.
void normalize(const float *x, float *y, int32_t n);
void zeroMean(const float *x, float *y, int32_t n);
void mirror(float *x, int32_t n, float zero);
void reverse(float *x, int32_t n);

// Spectrum summaries of ps(0..n-1) with lines df apart.
float peakFrequency(const float *ps, int32_t n, float df);
// Error 11 when the spectrum sums to 0 and n > 0.
float meanFrequency(const float *ps, int32_t n, float df);
float medianFrequency(const float *ps, int32_t n, float df);

// The coefficient buffer of the autoregressive spectrum holds orders up to this.
inline constexpr int32_t kMaxArOrder = 42;

}  // namespace tessiq::compute
