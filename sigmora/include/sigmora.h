/* sigmora.h - the signal library: flat C interface over caller-owned single-precision arrays.
 *
 * Conventions shared by every export:
 *  - samples are 32-bit floats in caller-owned arrays with an explicit signed 32-bit length;
 *    multichannel data is channel-major (sample j of channel c at c * len + j);
 *  - an export returns 1 for success and 0 for failure unless its line below says otherwise;
 *  - nothing is printed, nothing aborts; the only message (the compressed-data error) goes
 *    through the replaceable message hook.
 */
#ifndef SIGMORA_H
#define SIGMORA_H

#include <stddef.h>
#include <stdint.h>

#if defined(SIGMORA_BUILD)
#define SIGMORA_API __attribute__((visibility("default")))
#else
#define SIGMORA_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Conventions, signal file descriptor and memory helpers ---------------------------- */

/* Value type codes of typed memory blocks and of MDT sample formats (element size in brackets). */
enum SigmoraValueType {
    SIGMORA_INT8 = 0,    /* signed 8-bit integer [1] */
    SIGMORA_UINT8 = 1,   /* unsigned 8-bit integer [1] */
    SIGMORA_INT16 = 2,   /* signed 16-bit integer [2] */
    SIGMORA_UINT16 = 3,  /* unsigned 16-bit integer [2] */
    SIGMORA_INT32 = 4,   /* signed 32-bit integer [4] */
    SIGMORA_UINT32 = 5,  /* unsigned 32-bit integer [4] */
    SIGMORA_FLOAT32 = 6, /* 32-bit float [4] */
    SIGMORA_FLOAT64 = 7  /* 64-bit float [8] */
};

/* Signal file descriptor shared by every file-format export: 324 bytes, little-endian, fixed layout. */
typedef struct SignalFileInfo {
    uint32_t hData;        /* 0: movable block (memblock.h handle) holding nch * len floats, channel-major */
    int16_t nch;           /* 4: channel count */
    int16_t nchPad;        /* 6: alignment, unused */
    int32_t len;           /* 8: samples per channel */
    float fs;              /* 12: sampling rate, Hz */
    float vmin;            /* 16: lower end of the physical value range */
    float vmax;            /* 20: upper end of the physical value range */
    int16_t fmt;           /* 24: sample storage code in the file (value type code; 100 compressed MDT) */
    int16_t srcType;       /* 26: file kind read from: 100 WAV, 101 ACQ, 0 MDT 1.0; MDT files store their own */
    float scale;           /* 28: physical value = stored integer * scale + offset */
    float offset;          /* 32 */
    float chanGain[32];    /* 36: one gain per channel, stored and returned, never applied */
    char xUnit[16];        /* 164: NUL-terminated unit of the time axis */
    char yUnit[16];        /* 180: NUL-terminated unit of the values */
    char fileName[128];    /* 196: NUL-terminated path of the file to read or write */
} SignalFileInfo;

#ifdef __cplusplus
#define SIGMORA_STATIC_ASSERT static_assert
#else
#define SIGMORA_STATIC_ASSERT _Static_assert
#endif
SIGMORA_STATIC_ASSERT(sizeof(SignalFileInfo) == 324, "SignalFileInfo is 324 bytes");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, nch) == 4, "nch at 4");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, len) == 8, "len at 8");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, fs) == 12, "fs at 12");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, vmin) == 16, "vmin at 16");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, vmax) == 20, "vmax at 20");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, fmt) == 24, "fmt at 24");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, srcType) == 26, "srcType at 26");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, scale) == 28, "scale at 28");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, offset) == 32, "offset at 32");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, chanGain) == 36, "chanGain at 36");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, xUnit) == 164, "xUnit at 164");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, yUnit) == 180, "yUnit at 180");
SIGMORA_STATIC_ASSERT(offsetof(SignalFileInfo, fileName) == 196, "fileName at 196");
#undef SIGMORA_STATIC_ASSERT

/* Receives a message of the library: text and caption, both NUL-terminated. */
typedef void (*SigmoraMessageHook)(const char *text, const char *caption);
/* Installs the hook that shows library messages (NULL: the default, "caption: text" on standard
 * error); returns the hook in force before, NULL when that was the default. */
SIGMORA_API SigmoraMessageHook SetMessageHook(SigmoraMessageHook hook);

/* Memory helpers. A handle that is null, freed or never issued, an element outside the block, or
 * a null pointer makes a helper fail (0) without writing anything. */

/* Copies the raw element `index` of block hMem, typed by `type` (codes above), to pOut; 1/0. */
SIGMORA_API int32_t GetValueFromGMem(uint32_t hMem, void *pOut, int32_t index, int32_t type);
/* Stores value as element `index` of the typed block: integers truncated toward zero keep their
 * low bits (NaN and values beyond 64 bits store 0), type 6 rounds to float; 1/0. */
SIGMORA_API int32_t SetValueToGMem(uint32_t hMem, double value, int32_t index, int32_t type);
/* Copies up to count floats from sample channel * len + start of info's block into buf (may run
 * into the next channel; stops at nch * len and at the block's end); 1, 0 if the first is outside. */
SIGMORA_API int16_t GetFloatFromMemory(const SignalFileInfo *info, int32_t channel, int32_t start,
                                       int32_t count, float *buf);
/* Same addressing and limits as GetFloatFromMemory, copying from buf into the sample block; 1/0. */
SIGMORA_API int16_t SetFloatToMemory(const SignalFileInfo *info, int32_t channel, int32_t start,
                                     int32_t count, const float *buf);
/* Copies samples start .. start + count - 1 of one channel (channel >= 0) or of all channels
 * (channel < 0) of src into dst, whose block must hold them; dst becomes "untitled.mdt" with
 * src's rate, range, units and gains. 0 if the window leaves src or dst's block is too small. */
SIGMORA_API int32_t GetSelectedData(const SignalFileInfo *src, SignalFileInfo *dst, int32_t channel,
                                    int32_t start, int32_t count);

/* ---- Extreme values and mode -------------------------------------------------------------- */

/* Smallest of x[0 .. n-1]; *pos receives its first index. n < 1 or x NULL: 0.0 and *pos = 0. */
SIGMORA_API float MinValueCalc(const float *x, int32_t n, int32_t *pos);
/* Largest of x[0 .. n-1]; *pos receives its first index. n < 1 or x NULL: 0.0 and *pos = 0. */
SIGMORA_API float MaxValueCalc(const float *x, int32_t n, int32_t *pos);
/* Most frequent value of x[0 .. n-1] (exact equality, ties to the earliest first occurrence);
 * 0.0 when no value repeats or n < 2. */
SIGMORA_API float ModeCalc(const float *x, int32_t n);

/* ---- Spectral core ------------------------------------------------------------------------ */
/* Complex data are split arrays (re, im). Lengths marked "power of two" are checked: any other
 * length (also 0 or negative) fails with the failure value below, or does nothing for the
 * exports without a result, and no array is touched. Work memory failure fails the same way. */

/* In-place forward FFT, X[k] = sum x[j] e^(-2 pi i jk/n), unscaled; n a power of two; 0 on failure. */
SIGMORA_API int32_t FFTCalc(float *re, float *im, int32_t n);
/* In-place inverse FFT, x[j] = (1/n) sum X[k] e^(+2 pi i jk/n); n a power of two; 0 on failure. */
SIGMORA_API int32_t FFTInvCalc(float *re, float *im, int32_t n);
/* In-place 2-D FFT of row-major nRows x nCols complex data (inv != 0: inverse, 1/(nRows*nCols)); both powers of two; 0 on failure. */
SIGMORA_API int16_t FFT2DCalc(float *re, float *im, int16_t nCols, int16_t nRows, int16_t inv);
/* Multiplies x[0..n-1] in place by a window: 1 triangular, 2 Hanning, 3 Welch, 4 Hamming, 5 Blackman, other rectangular; n = 1 weight 1. */
SIGMORA_API void WindowData(float *x, int32_t n, int32_t type);
/* FFT of (re, im), then power/n^2 one-sided in re[0..n/2] and bin frequency k/(dt n) in Hz in im[0..n/2]; dt in s; n a power of two; 0 on failure. */
SIGMORA_API int32_t PowerSpectrumCalc(float *re, float *im, int32_t n, float dt);
/* Mean-removed, windowed periodograms of M = 2 nps - 2 point segments of x averaged into ps[0..nps-1] (squared units / M^2); M a power of two up to 2^30; 0 on failure. */
SIGMORA_API int32_t RealPSDCalc(const float *x, int32_t n, float *ps, int32_t nps, int32_t wintype);
/* In-place direct DFT with theta = 6.2831852 jk/n, inv = 0 forward e^(-i theta), else e^(+i theta), unscaled; 0 on bad argument or no memory. */
SIGMORA_API int32_t DFT1D(float *re, float *im, int32_t n, int32_t inv);
/* Direct cosine transform of x into y (n values; inv != 0: inverse scaled 2/n^2, x[0] weighted 1/2); x is not changed; nothing on bad argument. */
SIGMORA_API void DCT1D(const float *x, float *y, int32_t n, int32_t inv);
/* In-place cosine transform via a 2n-point FFT: sqrt(2) C[0], 2 C[k]; n a power of two up to 2^29; 0 on failure (x unchanged). */
SIGMORA_API int32_t FastDCT1D(float *x, int32_t n);
/* In-place exact inverse of FastDCT1D; n a power of two up to 2^29; 0 on failure (x unchanged). */
SIGMORA_API int32_t FastIDCT1D(float *x, int32_t n);
/* Walsh-Hadamard transform of x into y in sequency order (inv != 0: divided by n); n a power of two; nothing on failure. */
SIGMORA_API void FastWalshT(const float *x, int32_t n, float *y, int16_t inv);
/* y[i] = sum_k h[k] x[lx-1-i+k] (x read backwards, outside terms 0) for i < ly; nothing on bad argument. */
SIGMORA_API void ConvolutionCalc(const float *h, int32_t lh, const float *x, int32_t lx, float *y, int32_t ly);
/* Biased autocorrelation of mean-removed x at lags 0..lags-1 into r (x unchanged); 0 when lags < 1, lags > n or no memory. */
SIGMORA_API int32_t AutoCorr(const float *x, int32_t n, float *r, int32_t lags);

/* ---- Daubechies wavelets ------------------------------------------------------------------ */

/* Selects the Daubechies filter of n taps (4, 6, ..., 20) for every later transform of the
 * process; any other n keeps the current one. Until a filter is selected transforms do nothing. */
SIGMORA_API void DaubCoef(int32_t n);
/* In-place periodic wavelet transform of a[1 .. n]: pass the address of the element BEFORE the
 * first value (a[0] is never touched). isign > 0 forward pyramid, < 0 inverse, 0 the forward step
 * at sizes 4, 8, ..., n. Does nothing unless n is a power of two >= 4. */
SIGMORA_API void DaubDWT1D(float *a, int32_t n, int32_t isign);
/* In-place transform of an ndim-dimensional array, one dimension after the other (the first
 * varies fastest): a is the address of the FIRST value, nn the address of the first dimension
 * size. isign >= 0 forward, < 0 inverse. Dimensions below 4 are skipped; does nothing if a size
 * is not a power of two. */
SIGMORA_API void DaubDWTnD(float *a, const int32_t *nn, int32_t ndim, int32_t isign);

/* ---- Signal files: MDT 2.0, other formats, compressed MDT and the dispatchers ---------------- */

/* ---- Filter design and responses ------------------------------------------------------------- */
/* Band edges of FIRDesign are fractions of the Nyquist frequency; IIRFDesign takes Hz with fs and
 * halves both edges before designing (an edge f designs a Butterworth edge at f / 2 Hz). Type
 * codes: 0 low-pass, 1 high-pass, 2 band-pass, 3 band-stop. */

/* Hamming-window FIR of n taps into h (type as above, low/high-pass edge f2); 0 untouched when
 * f1 == f2, n <= 1 or h NULL; 0 with h cleared when f1 < 0, f2 > 1 or type outside 0..3; an even
 * n leaves h[n-1] = 0. */
SIGMORA_API int32_t FIRDesign(float f1, float f2, int32_t n, float *h, int32_t type);
/* Magnitude response H[k] of the n-tap FIR h at k / (2m) cycles per sample, k < m; 0 when n < 1,
 * m < 1 or a pointer is NULL. */
SIGMORA_API int32_t FIRFreqResponse(const float *h, int32_t n, float *H, int32_t m);
/* Butterworth IIR by the prewarped bilinear transform, edges f1, f2 in Hz (halved), fs in Hz:
 * denominator a[0..ord] (a[0] = 1) and numerator b[0..ord]; sections of order 2 (types 0, 1) or
 * 4 (types 2, 3), coefficients past the last whole section 0. 0 with a and b untouched when the
 * halved edges are equal, ord < 0 or > 63, type outside 0..3, fs <= 0 or the design overflows. */
SIGMORA_API int32_t IIRFDesign(float f1, float f2, float fs, int32_t ord, float *a, float *b, int32_t type);
/* res[k] = |B| / max(|A|, 1e-12) at w = pi k / m, k < m, for b[0..lb-1] over a[0..la-1]; 0 when
 * m < 1, a length is negative or a needed pointer is NULL. */
SIGMORA_API int16_t AMFreqRes(const float *a, const float *b, int32_t la, int32_t lb, float *res, int32_t m);
/* res[k] = atan(-Sb/Cb) - atan(-Sa/Ca) in radians at w = pi k / m (principal values of single
 * ratios, a zero cosine sum taken as 1e-12); failure as AMFreqRes. */
SIGMORA_API int16_t PHFreqRes(const float *a, const float *b, int32_t la, int32_t lb, float *res, int32_t m);
/* PROCESS-WIDE STATE: eight filter slots (index 0..7), each with the last 128 inputs and outputs.
 * init = 0 fills slot `index` with x and returns x; otherwise feeds x and returns
 * y = sum b[k] x[n-k] - F, F = sum_{k>=1} a[k] y[n-k] (a[0] not used), where |F| < 1e-6 is taken
 * as 1e-6 (so b = (1), a = (1) gives x - 1e-6). 0.0 with the slot untouched for an index outside
 * 0..7, la or lb outside 0..128, or a needed NULL array. One slot, one caller at a time. */
SIGMORA_API float SignalToLinearSys(const float *a, int32_t la, const float *b, int32_t lb, float x,
                                    int32_t init, int32_t index);

/* ---- Smoothing and median -------------------------------------------------------------------- */
/* Savitzky-Golay table convolution of x into y (n values): type 0 smoothing, 1 first, 2 second
 * derivative per sample; m = 1..5 gives 5..13 points; the h = m + 1 end values copy the nearest
 * computed one. y untouched for a bad m or type; all y 0 when n < 2m + 3. */
SIGMORA_API void SmoothData(const float *x, int32_t n, int32_t m, int32_t type, float *y);
/* In-place moving least-squares polynomial of degree ord over 2 nLeftRight + 1 samples (ends
 * repeated); x unchanged when no fit is possible (window shorter than ord + 1, negative
 * arguments). 1; 0 (x unchanged) when work memory fails or the window exceeds 2^24 points. */
SIGMORA_API int16_t SGSmoother(float *x, int32_t n, int32_t nLeftRight, int32_t ord);
/* Median of x[0..n-1] (odd n the middle sorted value, even n the mean of the two middle ones);
 * x is left as it was. 0.0 when n < 1, x is NULL or no memory. */
SIGMORA_API float FindMedian(const float *x, int32_t n);

/* ---- Parametric models and adaptive filters -------------------------------------------------- */
/* PROCESS-WIDE STATE: 8 LMS slots and 8 RLS slots (index 0..7), each with a 42-value history, so
 * filters have 1..41 weights; one inverse-correlation matrix shared by all RLS slots (the last
 * initialisation sets it, release frees it). One caller at a time. */

/* Burg AR model of x (n values, not changed) up to order p: a[0..*ord] with a[0] = 1, *err the
 * prediction error power of that order; autoOrder != 0 picks the order of least
 * ln(E + 1e-6) + m/(n-1). 0 when n < 1, p < 0, x is constant, a pointer is NULL or no memory. */
SIGMORA_API int16_t BurgAR(const float *x, int32_t n, int32_t p, int32_t *ord, float *err, float *a,
                           int32_t autoOrder);
/* Yule-Walker AR coefficients a[0..p-1] (error filter without the leading 1); 0 when p < 1,
 * p > 49, p + 1 > n, the autocorrelation matrix is singular or no memory. */
SIGMORA_API int32_t LSARcoef(const float *x, int32_t n, float *a, int32_t p);
/* AR coefficients a[0..p-1] by RLS over x (not changed); uses and then releases RLS slot 0 and the
 * shared RLS matrix. 0 when p < 1, p > 41, n < 1 or no memory. */
SIGMORA_API int32_t RLSARcoef(const float *x, int32_t n, float *a, int32_t p);
/* LMS step of slot index: returns the output before the update, w[0..nW-1] updated in place;
 * init = 1 clears the slot and w and returns 0. 0.0 untouched for index outside 0..7, nW
 * outside 1..41 or w NULL. */
SIGMORA_API float LMSCalc(float d, float xin, float *w, int32_t nW, float mu, int32_t init, int32_t index);
/* RLS with forgetting factor 1 - u: mode 1 initialises slot index and the shared matrix
 * (P = 1e6 I, returns 1.0, 0.0 without memory), mode 2 releases the matrix (0.0), otherwise one
 * update returning the output before it. An update returns 0.0 and changes nothing before
 * initialisation, after release, with nW other than the matrix's, or with u >= 1; so do an index
 * outside 0..7, nW outside 1..41 and w NULL in every mode. */
SIGMORA_API float RLSCalc(float d, float xin, float *w, int32_t nW, float u, int32_t mode, int32_t index);
/* Solves A x = b (n x n row-major, A and b unchanged) by Gauss-Jordan with full pivoting; 0 with
 * x untouched when n < 1, n > 49, the matrix is singular or a pointer is NULL. */
SIGMORA_API int32_t LQSolution(const float *A, const float *b, float *x, int32_t n);
/* Simpson integral of y[t1..t2] spaced dx apart (3/8 panel at the end for an odd count of
 * intervals); 0.0 when t2 - t1 < 2, t1 < 0 or y NULL. */
SIGMORA_API float IntegrateVector(const float *y, float dx, int32_t t1, int32_t t2);

/* ---- Peak and R-wave detection --------------------------------------------------------------- */
/* PROCESS-WIDE STATE: one detector state; the threshold factor, the rate/gain value and the sample
 * counter are SHARED by both detectors, so initialising one changes the other. */

/* Restarts DetectPeakPos: threshold factor T, refractory K samples, rate fs in Hz, accepted rates
 * minHR..maxHR beats per minute (a limit <= 0 is infinitely far: minHR accepts any long interval,
 * maxHR rejects every interval); the last detection time is kept. */
SIGMORA_API void InitDPP(float T, int32_t K, float fs, float minHR, float maxHR);
/* Feeds one sample: 0 no beat, heart rate x 100 (bpm, truncated) for an accepted beat, 1 for a
 * beat whose interval is outside the accepted rates or not positive. */
SIGMORA_API int32_t DetectPeakPos(float x);
/* Restarts DetectECGR with threshold factor T and gain (clears the 16 channels and the shared
 * counter); returns 0. */
SIGMORA_API int32_t DetectECGR0(float T, float gain);
/* Feeds one sample of channel ch: 1 when its slope exceeds T x its RMS slope, 0 when equal, -1
 * below. ch < 0 restarts as DetectECGR0(1, 1) and returns 0; ch > 15 returns 0 untouched. */
SIGMORA_API int32_t DetectECGR(float x, int32_t ch);

/* ---- Noise generators ------------------------------------------------------------------------ */
/* PER THREAD: the generator state (state = state * 214013 + 2531011, output (state >> 16) & 0x7FFF),
 * 1 in every new thread. PROCESS-WIDE: the sine/cosine branch flag of NormalNoise, which
 * alternates on every call of any thread (the first call in a process takes the sine). */

/* Seeds the calling thread's generator. */
SIGMORA_API void SetRandSeed(int32_t seed);
/* a + r * 3.0518509e-5 * (b - a): uniform on [a, b], one generator step. */
SIGMORA_API float UniformNoise(float a, float b);
/* Gaussian variate (Box-Muller, two steps, sine or cosine branch by the shared flag). */
SIGMORA_API float NormalNoise(float mean, float std);
/* Triangular variate on [a, c] with mode b (a <= b <= c); a zero-width triangle (c == a) returns
 * a. One generator step. */
SIGMORA_API float TriangleNoise(float a, float b, float c);
/* Exponential variate of the given rate (mean 1 / rate, at most 11.51 / rate); rate 0 returns 0.
 * One generator step. */
SIGMORA_API float ExpSignal(float rate);

/* ---- Statistics and tests -------------------------------------------------------------------- */
/* Tests return a two-sided probability and write the statistic to the out-parameter; with fewer
 * than 2 values in a sample (1 for ksTestDistri), a NULL sample or a NaN in a ksTestDistri sample
 * they return -1.0 and write 0. Samples without spread give t = 0 and probability 1 for equal
 * means, an infinite t and probability 0 otherwise (F: 1 and 1 when both are flat, infinite F and
 * 0 when one is). Probabilities are NaN only if the incomplete beta fails to converge. */

/* Skewness (population moments); 0 when n < 1 or all values are equal. */
SIGMORA_API float SkewDegree(const float *x, int32_t n);
/* Excess kurtosis (population moments); -3 when n < 1 or all values are equal. */
SIGMORA_API float KurtDegree(const float *x, int32_t n);
/* Pooled-variance two-sample t-test; *t the statistic. */
SIGMORA_API float tTestMean(const float *x1, int32_t n1, const float *x2, int32_t n2, float *t);
/* Unequal-variance (Welch) t-test; *t the statistic. */
SIGMORA_API float tTestMean1(const float *x1, int32_t n1, const float *x2, int32_t n2, float *t);
/* Paired t-test of n pairs; *t the statistic. */
SIGMORA_API float tTestMean2(const float *x1, const float *x2, int32_t n, float *t);
/* F-test of equal variances; *f the larger over the smaller variance. */
SIGMORA_API float fTestVar(const float *x1, int32_t n1, const float *x2, int32_t n2, float *f);
/* Two-sample Kolmogorov-Smirnov test; *d the largest distance of the empirical distributions;
 * 0.0 when scratch memory fails. */
SIGMORA_API float ksTestDistri(const float *x1, int32_t n1, const float *x2, int32_t n2, float *d);
/* Normal density at x; 0 when sigma <= 0. */
SIGMORA_API float NormalFunc(float mu, float sigma, float x);
/* Normal distribution function at x by Simpson integration of 10000 density samples from mu
 * towards x (at most 40 sigma); a step (0, 0.5, 1) when sigma <= 0; 0.0 when memory fails. */
SIGMORA_API float NormalProb(float mu, float sigma, float x);

/* ---- Matrices, regression and fitting -------------------------------------------------------- */

/* ---- Interpolation and sorting --------------------------------------------------------------- */

/* ---- Curve plotting on a drawing surface (see sigmora_draw.h) -------------------------------- */

/* ---- Surface and contour rendering ----------------------------------------------------------- */

/* ---- Port input and output ------------------------------------------------------------------- */

#ifdef __cplusplus
}
#endif

#endif /* SIGMORA_H */
