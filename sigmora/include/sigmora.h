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

/* ---- Curve plotting on a drawing surface (see sigmora_draw.h) -------------------------------- */
/* hdc is a drawing surface (sigmora_draw.h); rect is {left, top, right, bottom} in pixels, each
 * within +-16777216; colours are 0x00BBGGRR. NULL pointers fail (0, or nothing drawn). */

struct SigmoraSurface;
/* Joins samples start .. end-1 of channel (x spread over rect, vmin..vmax over its height,
 * clamped) in the channel's table colour; stops at len; 0 when hData is null or too small, the
 * channel is not 0 .. nch-1, start >= end, start < 0, start >= len, rect is empty or vmin = vmax. */
SIGMORA_API int32_t PlotCurve(struct SigmoraSurface *hdc, const SignalFileInfo *info, int32_t channel, int32_t start, int32_t end, const int32_t *rect);
/* The same stretch as PlotCurve, one Lagrange-interpolated value per pixel column; same failures. */
SIGMORA_API int32_t iPlotCurve(struct SigmoraSurface *hdc, const SignalFileInfo *info, int32_t channel, int32_t start, int32_t end, const int32_t *rect);
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
SIGMORA_API int32_t MeshMatrix(struct SigmoraSurface *hdc, const float *z, int32_t nx, int32_t ny, const int32_t *param);
/* Surface of filled quadrilaterals coloured by height (scale param[10]), painted back to front; 1, 0 on bad sizes or rect. */
SIGMORA_API int32_t FillMeshMatrix(struct SigmoraSurface *hdc, const float *z, int32_t nx, int32_t ny, const int32_t *param);
/* nLevels - 1 contour levels in rect; style {pen colour, colour scale (< 0: all in the pen colour)}; 0 when nx or ny < 3, nLevels not 1 .. 4096 or rect empty. */
SIGMORA_API int32_t ContourMatrix(struct SigmoraSurface *hdc, const float *z, int32_t nx, int32_t ny, int32_t nLevels, const int32_t *rect, const int32_t *style);
/* nRows x nCols matrix as a width x height 8-bit image in colour scale palette at (x, y), row 0 at the bottom; 1 when drawn, 0 on bad sizes (image above 16384 a side or 33554432 pixels). */
SIGMORA_API int32_t MatPicturize(struct SigmoraSurface *hdc, const float *z, int32_t nRows, int32_t nCols, int32_t palette, int32_t x, int32_t y, int32_t width, int32_t height);
/* Three nRows x nCols matrices as the red, green and blue of a 24-bit image, as MatPicturize. */
SIGMORA_API int32_t MatRGBPicturize(struct SigmoraSurface *hdc, const float *red, const float *green, const float *blue, int32_t nRows, int32_t nCols, int32_t x, int32_t y, int32_t width, int32_t height);
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
