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
    uint32_t hData;     /* 0: movable block (memblock.h handle) holding nch * len floats, channel-major */
    int16_t nch;        /* 4: channel count */
    int16_t nchPad;     /* 6: alignment, unused */
    int32_t len;        /* 8: samples per channel */
    float fs;           /* 12: sampling rate, Hz */
    float vmin;         /* 16: lower end of the physical value range */
    float vmax;         /* 20: upper end of the physical value range */
    int16_t fmt;        /* 24: sample storage code in the file (value type code; 100 compressed MDT) */
    int16_t srcType;    /* 26: file kind read from: 100 WAV, 101 ACQ, 0 MDT 1.0; MDT files store their own */
    float scale;        /* 28: physical value = stored integer * scale + offset */
    float offset;       /* 32 */
    float chanGain[32]; /* 36: one gain per channel, stored and returned, never applied */
    char xUnit[16];     /* 164: NUL-terminated unit of the time axis */
    char yUnit[16];     /* 180: NUL-terminated unit of the values */
    char fileName[128]; /* 196: NUL-terminated path of the file to read or write */
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
SIGMORA_API void ConvolutionCalc(const float *h, int32_t lh, const float *x, int32_t lx, float *y,
                                 int32_t ly);
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
/* Every reader takes the file name from the descriptor (or argument), checks each header field it
 * uses against the file's real size and never reads past the file; a sample section shorter than
 * its header promises reads with zeros (offset for scaled integer codes) for the missing samples.
 * File readers re-read the header and fail unless it matches the descriptor's nch and len, and
 * fail when hData holds fewer than nch * len floats. Writers write a temporary file beside the
 * target and rename it over the target only when every byte is written: on failure (0) the
 * target is left as it was. Memory blocks are memblock.h handles. */

/* MDT 2.0 ("mdata2.0"): fills nch (1-32), len (> 0), fs (> 0), fmt, srcType, vmin, vmax, scale,
 * offset, chanGain[0 .. nch-1], xUnit, yUnit from the header; 0 (descriptor unchanged) on a bad
 * header or fmt 100. */
SIGMORA_API int32_t ReadMDTInfo(SignalFileInfo *info);
/* Reads the samples of an MDT 2.0 file into hData, channel-major floats (integer codes scaled:
 * stored * scale + offset); the header's fmt must match the descriptor's; 1/0. */
SIGMORA_API int32_t ReadMDTFile(SignalFileInfo *info);
/* Writes hData as an MDT 2.0 file stored with code fmt (integers clamped to the code's range after
 * (x - offset) / scale, scale 0 unscaled); nch 1-32, len >= 1, fmt 100 refused; 1/0. */
SIGMORA_API int32_t WriteMDTFile(SignalFileInfo *info);

/* ACQ ("acq1.0", 1-16 channels, floats interleaved by frame): fills nch, len, fs, vmin, vmax,
 * fmt 6, srcType 101, scale 1, offset 0, gains 1, empty units; 1/0. */
SIGMORA_API int32_t ReadACQInfo(SignalFileInfo *info);
/* Reads an ACQ file's samples into hData, channel-major; 1/0. */
SIGMORA_API int32_t ReadACQFile(SignalFileInfo *info);
/* Writes hData as an ACQ file (scale field from scale, vmax, vmin from the descriptor); nch 1-16; 1/0. */
SIGMORA_API int32_t WriteACQFile(SignalFileInfo *info);
/* Writes nch (1-16) x len floats already interleaved by frame as an ACQ file at fileName with
 * scale 1 and vmin/vmax the data's range (value -+ 1 when flat); 1/0. */
SIGMORA_API int32_t WriteAcquireData(const float *data, int32_t len, int32_t nch, float fs,
                                     const char *fileName);

/* MDT 1.0 ("mdat1.0", any case; types C c I i L l f d): fills nch (1-32), len, fs, fmt 6, srcType 0,
 * scale 1, offset 0, xUnit "Sec.", yUnit "V."; 1/0. */
SIGMORA_API int32_t ReadMDT10Info(SignalFileInfo *info);
/* Reads an MDT 1.0 file's samples unscaled into hData and sets vmin/vmax to their range; 1/0. */
SIGMORA_API int32_t ReadMDT10File(SignalFileInfo *info);
/* Writes hData as an MDT 1.0 file (type "f", channel-major, as in memory); nch 1-32; 1/0. */
SIGMORA_API int32_t WriteM10File(SignalFileInfo *info);

/* PCM WAV (1-2 channels, 8-bit unsigned or 16-bit signed): fills nch, len (frames of the "data"
 * chunk the file holds), fs, vmin -10, vmax 10, srcType 100, gains 1, xUnit "sec.", yUnit "v.",
 * fmt 2 / scale 10/32767 / offset 0 (16-bit) or fmt 1 / 0.15625 / -10 (8-bit); 1/0. */
SIGMORA_API int32_t ReadWAVInfo(SignalFileInfo *info);
/* Reads the samples, stretching the data's own range onto vmin .. vmax (scale and offset are set
 * accordingly; a flat file reads as the midpoint); 1/0. */
SIGMORA_API int32_t ReadWAVFile(SignalFileInfo *info);
/* Writes the first min(nch, 2) channels as 16-bit PCM: x * 4096 / (vmax - vmin) - 2048 truncated
 * and saturated to -32768 .. 32767 (factor 1 when vmax = vmin); rate fs truncated, at least 1; 1/0. */
SIGMORA_API int32_t WriteWAVFile(SignalFileInfo *info);

/* XYP curve file header in memory (404 bytes): values and attributes travel unchanged. */
typedef struct XYPHeader {
    int16_t nCurves;     /* 0: curve count, 1-16 */
    int16_t pad;         /* 2: alignment, unused */
    int32_t values[4];   /* 4: four header values */
    int32_t nPoints[32]; /* 20: points of each curve */
    int32_t attr32[32];  /* 148: per-curve 32-bit attributes */
    int16_t attr16a[32]; /* 276: first per-curve 16-bit attributes */
    int16_t attr16b[32]; /* 340: second per-curve 16-bit attributes */
} XYPHeader;

/* Fills header from an XYP file ("xyp2.1"); 0 (header unchanged) on a bad header, a negative
 * point count or a file too short for all the points. */
SIGMORA_API int32_t ReadXYPHeader(const char *fileName, XYPHeader *header);
/* Reads the T points (sum of the counts) of an XYP file: T floats into x, T floats into y; 1/0. */
SIGMORA_API int32_t ReadXYPData(const char *fileName, float *x, float *y);
/* Writes header and the T points of x and y as an XYP file; 1-16 curves, counts >= 0; 1/0. */
SIGMORA_API int32_t WriteXYPData(const char *fileName, const XYPHeader *header, const float *x,
                                 const float *y);

/* Fills the descriptor from the first reader that accepts the file: ACQ, WAV, MDT, compressed
 * MDT, MDT 1.0 (the extension plays no part); 1/0. */
SIGMORA_API int32_t ReadDATInfo(SignalFileInfo *info);
/* Fills the descriptor as ReadDATInfo does, then reads the samples with that format's reader; 1/0. */
SIGMORA_API int32_t ReadDATFile(SignalFileInfo *info);
/* Writes the descriptor as kind 0 MDT, 1 ACQ, 2 WAV, 3 MDT 1.0, 100 compressed MDT, other MDT; 1/0. */
SIGMORA_API int32_t WriteDATFile(SignalFileInfo *info, int16_t kind);
/* Channel count, samples per channel, rate (Hz) and value range of any signal file; 1/0. */
SIGMORA_API int32_t xReadDatInfo(const char *fileName, int32_t *nch, int32_t *lx, float *fs, float *vmin,
                                 float *vmax);
/* Reads any signal file channel-major into x, which holds nch * lx floats; 0 (x untouched) when
 * the file holds more samples than that or cannot be read. */
SIGMORA_API int32_t xReadDat(const char *fileName, int32_t nch, int32_t lx, float *x);
/* Writes nch (1-32) x lx channel-major floats as floats (scale 1, units "sec." / "vol."): fmt 3
 * compressed MDT, otherwise the WriteDATFile kind fmt (0 MDT, 1 ACQ, 2 WAV, 100 compressed); 1/0. */
SIGMORA_API int32_t xWriteDat(const float *x, int32_t nch, int32_t lx, float fs, float vmin, float vmax,
                              int32_t fmt, const char *fileName);

/* In-memory target of the Huffman coder. Initialise with mask 0x80, byte 0, hData a block of
 * one byte, size 0; after CompressData append the pending byte when mask is not 0x80. */
typedef struct CodeStream {
    uint8_t mask;   /* 0: mask of the next bit to set, 0x80 when none is pending */
    uint8_t pad;    /* 1: alignment, unused */
    uint16_t byte;  /* 2: byte under construction (low 8 bits) */
    uint32_t hData; /* 4: growable block holding the stream's bytes */
    int32_t size;   /* 8: bytes in the block */
} CodeStream;

/* Sets the compression scale S (2-255) used by later compressed writes; returns the previous S
 * (127 at load). */
SIGMORA_API int32_t SetCompressScale(int16_t scale);
/* Appends the count table and codes of size bytes at data to stream (the partial last byte stays
 * pending); 1, 0 on a bad stream or argument or no memory. */
SIGMORA_API int32_t CompressData(CodeStream *stream, const void *data, int32_t size);
/* Appends the bytes decoded from size bytes of Huffman-coded data to stream; 1, 0 on failure:
 * damaged or cut-short data show "Read Compressed data error." (caption "Message"). */
SIGMORA_API int32_t ExpandData(CodeStream *stream, const void *data, int32_t size);
/* Writes hData as a compressed MDT file: blocks of 250 delta-coded samples quantised with S, then
 * Huffman-coded; nch 1-32, len >= 1; 1/0. */
SIGMORA_API int32_t WriteMDTComp(SignalFileInfo *info);
/* As ReadMDTInfo, but only for a compressed MDT file (fmt 100); 1/0. */
SIGMORA_API int32_t ReadMDTCompInfo(SignalFileInfo *info);
/* Decodes a compressed MDT file's samples into hData with the file's scale; 0 on failure (damaged
 * or cut-short coded data also show the message). */
SIGMORA_API int32_t ReadMDTComp(SignalFileInfo *info);

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
 * arguments). 1; 0 (x unchanged) when work memory fails or the fit is too large (window above
 * 2^24 points, window x (ord + 1) above 2^24 or window x (ord + 1)^2 above 2^30). */
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

/* Row-major float matrices. A NULL pointer, a count below 1 or more than 2^31 - 1 elements
 * fail (failure value, nothing written). Pivots are negligible at 4 single-precision epsilons
 * times the size times the largest magnitude of the matrix. */
/* c (m x k) = a (m x n) b (n x k); c must not overlap a or b; bad sizes write nothing. */
SIGMORA_API void MatMulMat(const float *a, const float *b, int32_t m, int32_t n, int32_t k, float *c);
/* Inverts the n x n matrix a in place (Gauss-Jordan, full pivoting); 0 singular or nearly so
 * (a unchanged) or no memory. */
SIGMORA_API int32_t MatInv(float *a, int32_t n);
/* Determinant of the n x n matrix a, eliminated in place (a is left changed); 0.0 when
 * singular or nearly so. */
SIGMORA_API double MatDet(float *a, int32_t n);
/* Transposes the rows x cols matrix a in place (a then holds cols x rows); 0 no memory. */
SIGMORA_API int32_t MatTranspose(float *a, int32_t rows, int32_t cols);
/* Jacobi rotations on the symmetric n x n matrix a in place: eigenvalues end on its diagonal,
 * eigenvectors in the columns of v (n x n); 1 every off-diagonal below eps, 0 more than
 * maxRotations needed. */
SIGMORA_API int32_t MatEigenVector(float *a, int32_t n, float *v, float eps, int32_t maxRotations);
/* Solves a x = d for the m columns of d (n x m, overwritten by the solutions) through a = U^T U
 * (U over the upper triangle of a); 0 a not positive definite, d untouched. */
SIGMORA_API int32_t Cholesky(float *a, int32_t n, int32_t m, float *d);
/* All n roots of sum a[i] z^i (a[n] != 0) as re[k] + i im[k] by the double-shift QR iteration
 * on the companion matrix in double precision, eps the deflation tolerance, at most
 * maxIterations per root; 0 iteration limit or a[n] zero. */
SIGMORA_API int32_t EQRoots(const double *a, int32_t n, double *re, double *im, double eps,
                            int32_t maxIterations);
/* Line y = ab[0] + ab[1] x by least squares; dt[0] sum (y - fit)^2, dt[1] sqrt(dt[0] / n),
 * dt[2] sum (fit - mean y)^2, dt[3..5] max, min, mean |y - fit|; all x equal: nothing written. */
SIGMORA_API void SLRegress(const float *x, const float *y, int32_t n, float *ab, float *dt);
/* Regression of y (n) on the m rows of x (m x n): a[0..m-1] coefficients, a[m] constant; dt[0]
 * q, dt[1] sqrt(q / n), dt[2] multiple correlation, dt[3] sum (fit - mean y)^2; v[j] partial
 * correlations; 0 singular normal matrix or no memory, nothing written. */
SIGMORA_API int32_t MVLineRegress(const float *x, const float *y, int32_t m, int32_t n, float *a, float *dt,
                                  float *v);
/* Least squares polynomial a[k] (k < min(m, n, 20)) in powers of x - mean x; rest of a[0..m-1]
 * cleared; dt[0] sum r^2, dt[1] sum |r|, dt[2] max |r|; 0 bad arguments, nothing written. */
SIGMORA_API int32_t CurveFit(const float *x, const float *y, int32_t n, float *a, int16_t m, float *dt);
/* Minimax polynomial a[0..m-1] (powers of x, x in any order; m at most n - 1 and 19), a[m] its
 * maximum deviation (negative when it stopped growing, positive when no point exceeded it);
 * 0 when n < 2 or m < 1, nothing written. */
SIGMORA_API int32_t ChebyFit(const float *x, const float *y, int32_t n, float *a, int32_t m);

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
SIGMORA_API float Inter2DESpace(const float *x, const float *y, const float *z, int32_t nx, int32_t ny,
                                float u, float v);
/* Bilinear resampling of src (rows x cols, row-major) onto dst (outRows x outCols) with steps
 * (rows - 1) / outRows and (cols - 1) / outCols from src's first row and column; 1, 0 when rows or
 * cols < 2, outRows or outCols < 0 or a pointer is NULL (dst untouched). */
SIGMORA_API int32_t FastInter2D(const float *src, int32_t rows, int32_t cols, float *dst, int32_t outRows,
                                int32_t outCols);

/* ---- Curve plotting on a drawing surface (see sigmora_draw.h) -------------------------------- */
/* hdc is a drawing surface (sigmora_draw.h); rect is {left, top, right, bottom} in pixels, each
 * within +-16777216; colours are 0x00BBGGRR. NULL pointers fail (0, or nothing drawn). */

struct SigmoraSurface;
/* Joins samples start .. end-1 of channel (x spread over rect, vmin..vmax over its height,
 * clamped) in the channel's table colour; stops at len; 0 when hData is null or too small, the
 * channel is not 0 .. nch-1, start >= end, start < 0, start >= len, rect is empty or vmin = vmax. */
SIGMORA_API int32_t PlotCurve(struct SigmoraSurface *hdc, const SignalFileInfo *info, int32_t channel,
                              int32_t start, int32_t end, const int32_t *rect);
/* The same stretch as PlotCurve, one Lagrange-interpolated value per pixel column; same failures. */
SIGMORA_API int32_t iPlotCurve(struct SigmoraSurface *hdc, const SignalFileInfo *info, int32_t channel,
                               int32_t start, int32_t end, const int32_t *rect);
/* Grid in rect: type 0 none, 1 or 3 centimetres, 2 millimetres (dotted), other logarithmic decades of 1 cm; nothing for an empty rect. */
SIGMORA_API void SetCurveGrid(struct SigmoraSurface *hdc, const int32_t *rect, uint32_t colour, int32_t type);
/* Sets entry |index| mod 32 of the curve colour table (all blue, 0x00FF0000, at load); returns the entry's previous colour. */
SIGMORA_API uint32_t SetCurveColor(int16_t index, uint32_t colour);
/* Pixels to millimetres with the surface's resolution (vertical != 0: vertical); 0 without a resolution. */
SIGMORA_API float PixelToMM(struct SigmoraSurface *hdc, float value, int32_t vertical);
/* Millimetres to pixels with the surface's resolution (vertical != 0: vertical); 0 without a resolution. */
SIGMORA_API float MMToPixel(struct SigmoraSurface *hdc, float value, int32_t vertical);
/* Lagrange value at vx over up to 8 nodes round it: Sel = 0 through (x[i], y[i]), x ascending; Sel != 0 equally spaced from x[0] by x[1]; 0 for n < 1, coinciding abscissas or far outside. */
SIGMORA_API float Interpolation1D(const float *x, const float *y, int32_t n, float vx, int32_t Sel);

/* ---- Surface and contour rendering ----------------------------------------------------------- */
/* Height matrices are row-major, z[j * nx + i] at column i, row j; they must be finite and hold
 * at most 67108864 values (otherwise 0, nothing drawn). A flat matrix (all heights equal) draws a
 * flat picture. param of the mesh exports: [0] ruled box (else three axes), [1] azimuth and
 * [2] elevation in degrees, [3] mesh colour (fill: < 0 no outline), [4] axes colour, [5] flags
 * (bit value 2 hidden lines, bit value 1 also the columns), [6..9] rect, [10] fill colour scale. */

/* Wire-frame surface in parallel projection; 0 when nx > 1024, nx or ny < 1 or rect is empty. */
SIGMORA_API int32_t MeshMatrix(struct SigmoraSurface *hdc, const float *z, int32_t nx, int32_t ny,
                               const int32_t *param);
/* Surface of filled quadrilaterals coloured by height (scale param[10]), painted back to front; 1, 0 on bad sizes or rect. */
SIGMORA_API int32_t FillMeshMatrix(struct SigmoraSurface *hdc, const float *z, int32_t nx, int32_t ny,
                                   const int32_t *param);
/* nLevels - 1 contour levels in rect; style {pen colour, colour scale (< 0: all in the pen colour)}; 0 when nx or ny < 3, nLevels not 1 .. 4096 or rect empty. */
SIGMORA_API int32_t ContourMatrix(struct SigmoraSurface *hdc, const float *z, int32_t nx, int32_t ny,
                                  int32_t nLevels, const int32_t *rect, const int32_t *style);
/* nRows x nCols matrix as a width x height 8-bit image in colour scale palette at (x, y), row 0 at the bottom; 1 when drawn, 0 on bad sizes (image above 16384 a side or 33554432 pixels). */
SIGMORA_API int32_t MatPicturize(struct SigmoraSurface *hdc, const float *z, int32_t nRows, int32_t nCols,
                                 int32_t palette, int32_t x, int32_t y, int32_t width, int32_t height);
/* Three nRows x nCols matrices as the red, green and blue of a 24-bit image, as MatPicturize. */
SIGMORA_API int32_t MatRGBPicturize(struct SigmoraSurface *hdc, const float *red, const float *green,
                                    const float *blue, int32_t nRows, int32_t nCols, int32_t x, int32_t y,
                                    int32_t width, int32_t height);
/* Colour 0x00BBGGRR of level (used mod 256) in colour scale palette 1 .. 20 (others: white to red). */
SIGMORA_API uint32_t ZAxisToLColor(int32_t level, int32_t palette);

/* ---- Port input and output ------------------------------------------------------------------- */
/* Every access goes to the installed port backend. The default one reads and writes /dev/port
 * (one byte access after the other; needs privileges: without them an access is refused).
 * A refused access reads 0 and writes nothing; nothing is reported. */

/* A port space: one access of `bytes` (1, 2 or 4) at port, little-endian; 1 done, 0 refused. */
typedef struct SigmoraPortBackend {
    void *user;
    int32_t (*read)(void *user, uint16_t port, int32_t bytes, uint32_t *value);
    int32_t (*write)(void *user, uint16_t port, int32_t bytes, uint32_t value);
} SigmoraPortBackend;

/* Writes value to port: Mark 0 its low 8 bits, 1 its low 16 bits, 2 all 32 bits, other low 8. */
SIGMORA_API void OutPortX(uint16_t port, int32_t value, int32_t Mark);
/* Reads port: Mark 0 a byte (0..255), 1 a word (0..65535), 2 a double word, other a signed byte (-128..127); 0 when refused. */
SIGMORA_API int32_t InPortX(uint16_t port, int32_t Mark);
/* Installs the backend of every later access (NULL: the /dev/port default); returns the one before, NULL for the default. */
SIGMORA_API const SigmoraPortBackend *SetPortBackend(const SigmoraPortBackend *backend);
/* A new in-memory port space of 65536 ports, all reading 0; NULL when out of memory. */
SIGMORA_API SigmoraPortBackend *CreateMemoryPorts(void);
/* A backend on a port device file (path, for example "/dev/port"), opened at each access; NULL for a NULL or over-long path. */
SIGMORA_API SigmoraPortBackend *CreateDevicePorts(const char *path);
/* Frees a backend made by CreateMemoryPorts or CreateDevicePorts (uninstalling it first if installed). */
SIGMORA_API void FreePortBackend(SigmoraPortBackend *backend);

#ifdef __cplusplus
}
#endif

#endif /* SIGMORA_H */
