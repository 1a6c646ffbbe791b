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

/* ---- Smoothing and median -------------------------------------------------------------------- */

/* ---- Parametric models and adaptive filters -------------------------------------------------- */

/* ---- Peak and R-wave detection --------------------------------------------------------------- */

/* ---- Noise generators ------------------------------------------------------------------------ */

/* ---- Statistics and tests -------------------------------------------------------------------- */

/* ---- Matrices, regression and fitting -------------------------------------------------------- */

/* ---- Interpolation and sorting --------------------------------------------------------------- */
/* Quicksorts, ascending, in place: n >= 1 sorts n elements and sets index[0..n-1] to the
 * original position of the element now at each place; n < 0 sorts -n elements and leaves index
 * untouched (it may be NULL); n = 0, x NULL, INT32_MIN, or n >= 1 with index NULL do nothing.
 * Not stable; both libraries give the same index arrays. Floats compare by plain less-than. */
/* Sorts unsigned 8-bit values (0x80 after 0x01). */
SIGMORA_API void QuickSortBytes(uint8_t *x, int32_t n, int32_t *index);
/* Sorts signed 8-bit values (-128 before 1). */
SIGMORA_API void QuickSortChars(int8_t *x, int32_t n, int32_t *index);
/* Sorts signed 16-bit values. */
SIGMORA_API void QuickSortShorts(int16_t *x, int32_t n, int32_t *index);
/* Sorts unsigned 16-bit values. */
SIGMORA_API void QuickSortUShorts(uint16_t *x, int32_t n, int32_t *index);
/* Sorts signed 32-bit values (the same operation as QuickSortLongs). */
SIGMORA_API void QuickSortIntegers(int32_t *x, int32_t n, int32_t *index);
/* Sorts unsigned 32-bit values (the same operation as QuickSortULongs). */
SIGMORA_API void QuickSortUIntegers(uint32_t *x, int32_t n, int32_t *index);
/* Sorts signed 32-bit values. */
SIGMORA_API void QuickSortLongs(int32_t *x, int32_t n, int32_t *index);
/* Sorts unsigned 32-bit values. */
SIGMORA_API void QuickSortULongs(uint32_t *x, int32_t n, int32_t *index);
/* Sorts 32-bit floats. */
SIGMORA_API void QuickSortFloats(float *x, int32_t n, int32_t *index);
/* Sorts 64-bit floats. */
SIGMORA_API void QuickSortDoubles(double *x, int32_t n, int32_t *index);
/* Sorts pointers to zero-terminated strings by unsigned bytes (a prefix first; NULL as ""). */
SIGMORA_API void QuickSortStrings(char **x, int32_t n, int32_t *index);
/* QuickSortFloats with the index array before the count. */
SIGMORA_API void QSortValues(float *x, int32_t *index, int32_t n);
/* Value at (u, v) of the table z (nx x ny, row-major, z[i * ny + j] at x[i], y[j]; x and y
 * increasing) by three-point Lagrange interpolation in both directions (all nodes of a direction
 * with fewer than 4); 0.0 when a pointer is NULL or nx, ny < 1; NaN when chosen nodes coincide. */
SIGMORA_API float Inter2DESpace(const float *x, const float *y, const float *z, int32_t nx,
                                int32_t ny, float u, float v);
/* Bilinear resampling of src (rows x cols, row-major) onto dst (outRows x outCols) with steps
 * (rows - 1) / outRows and (cols - 1) / outCols from src's first row and column; 1, 0 when rows or
 * cols < 2, outRows or outCols < 0 or a pointer is NULL (dst untouched). */
SIGMORA_API int32_t FastInter2D(const float *src, int32_t rows, int32_t cols, float *dst,
                                int32_t outRows, int32_t outCols);

/* ---- Curve plotting on a drawing surface (see sigmora_draw.h) -------------------------------- */

/* ---- Surface and contour rendering ----------------------------------------------------------- */

/* ---- Port input and output ------------------------------------------------------------------- */

#ifdef __cplusplus
}
#endif

#endif /* SIGMORA_H */
