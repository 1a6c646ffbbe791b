/* numora.h - the numerics library: flat C interface over caller-owned single-precision arrays.
 *
 * Conventions shared by every export:
 *  - matrices are row-major float arrays (element (i, j) of an r x c matrix at i * c + j);
 *  - a routine that fails returns its documented failure value and sets the process-wide error
 *    code (1 to 11, below); it never clears the code, so clear it with setErrorCode(0) first;
 *  - nothing is printed, nothing aborts; the only message (the compressed-data error) goes
 *    through the replaceable message hook.
 */
#ifndef NUMORA_H
#define NUMORA_H

#include <stdint.h>

#if defined(NUMORA_BUILD)
#define NUMORA_API __attribute__((visibility("default")))
#else
#define NUMORA_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Library state and error notes ------------------------------------------------------- */

/* Error codes of getErrorCode and getErrorNote. */
enum NumoraError {
    NUMORA_OK = 0,              /* "No error" */
    NUMORA_ERR_ALLOC = 1,       /* "Allocate memory error" */
    NUMORA_ERR_LOCK = 2,        /* "Lock memory error" */
    NUMORA_ERR_NULL = 3,        /* "NULL pointer" */
    NUMORA_ERR_NO_INTEGRAND = 4,/* "Integral function is not given" */
    NUMORA_ERR_SINGULAR = 5,    /* "Sigular matrix" */
    NUMORA_ERR_QR = 6,          /* "QR decomposition error" */
    NUMORA_ERR_NOT_SQUARE = 7,  /* "Square matrix required" */
    NUMORA_ERR_SVD = 8,         /* "Sigular decomposition error" */
    NUMORA_ERR_ITERATIONS = 9,  /* "Over maximiun iterative number" */
    NUMORA_ERR_OTHER = 10,      /* "Other unknown error" */
    NUMORA_ERR_OPEN_FILE = 11   /* "Open file error." */
};

/* Last error code set by a routine of the library (0 at load). */
NUMORA_API int32_t getErrorCode(void);
/* Stores code without validation; returns the code held before. */
NUMORA_API int32_t setErrorCode(int32_t code);
/* Tolerance of iterative and adaptive routines (1.0e-6 at load). */
NUMORA_API float getPrecision(void);
/* Stores the tolerance without validation (zero and negative accepted); returns the one before. */
NUMORA_API float setPrecision(float precision);
/* Selects the notes' language: 0 English, any other value Chinese (GBK); returns the one before. */
NUMORA_API int32_t setLanguage(int32_t language);
/* Current language selector (0 at load). */
NUMORA_API int32_t getLanguage(void);
/* Copies the note of code 0..11 with its terminating zero into buffer (at least 31 bytes) and
 * returns its length in bytes without the zero; 0 and no write for other codes or a NULL buffer. */
NUMORA_API int32_t getErrorNote(int32_t code, char *buffer);

/* Receives a message of the library: text and caption, both NUL-terminated. */
typedef void (*NumoraMessageHook)(const char *text, const char *caption);
/* Installs the hook that shows library messages (NULL: the default, "caption: text" on standard
 * error); returns the hook in force before, NULL when that was the default. */
NUMORA_API NumoraMessageHook SetNumoraMessageHook(NumoraMessageHook hook);

/* ---- Linear systems, polynomial roots and linear programming ------------------------------- */

/* ---- Integration, interpolation and derivatives -------------------------------------------- */

/* ---- Matrix routines ----------------------------------------------------------------------- */

/* ---- Curve fitting and regression ---------------------------------------------------------- */

/* ---- Transforms and spectra ---------------------------------------------------------------- */
/* Forward transforms sum x[m] e^(-j 2 pi k m / N) unscaled; none of these writes the error code. */
/* Radix-2 FFT of (pr, pi), n = 2^k points (k 0..30), into (fr, fi); inverse scales by 1/n; with
 * ampPhase fr gets amplitudes, fi phases in degrees (-90..90). 1 done; 0 for a NULL pointer or
 * n != 2^k (nothing written) or short twiddle memory (fr, fi then hold the input). */
NUMORA_API int32_t FFT(const float *pr, const float *pi, int32_t n, int32_t k, float *fr, float *fi,
                       int32_t inverse, int32_t ampPhase);
/* Direct DFT of (xr, xi), n points, in place (inverse scaled by 1/n); 1 done, 0 (untouched) for a
 * NULL pointer, n < 1 or short memory. */
NUMORA_API int32_t DFT(float *xr, float *xi, int32_t n, int32_t inverse);
/* FFT when n is a power of two, else DFT, of (xr, xi) into (yr, yi); 1 done, 0 (untouched) as
 * FFT / DFT. */
NUMORA_API int32_t DFFT(const float *xr, const float *xi, float *yr, float *yi, int32_t n, int32_t inverse);
/* DCT of x (n points) into y: fast path (n = 2^k) gives sqrt2 / 2 times the direct sum for k = 0 / k >= 1;
 * inverse of each path exact; 1 done, 0 (untouched) for NULL, n < 1, n > 2^29 on the fast path, short memory. */
NUMORA_API int32_t DCT(const float *x, float *y, int32_t n, int32_t inverse);
/* Orthonormal DST-I of x (n points) into y, its own inverse; returns n + 1, 0 (untouched) for NULL,
 * n < 1 or short memory. */
NUMORA_API int32_t DST(const float *x, int32_t n, float *y);
/* Chirp-z: m spectrum points from f1 towards f2 (Hz, f2 excluded, sampling rate fs Hz) of (xr, xi), n
 * points, into (yr, yi); 1 done, 0 (untouched) for NULL, n or m < 1, fs 0, n + m > 2^30, short memory. */
NUMORA_API int32_t CharpZT(const float *xr, const float *xi, int32_t n, float *yr, float *yi, int32_t m,
                           float f1, float f2, float fs);
/* Haar transform of x (n = 2^k points) into y (forward scaled by 1/n); 1 done, 0 (untouched) for NULL or
 * n not a power of two. */
NUMORA_API int32_t Haar(const float *x, float *y, int32_t n, int32_t inverse);
/* Biased autocorrelation of x (n points, mean removed) at lags 0..m-1 into r (0 for lags >= n); does
 * nothing for NULL, n < 1 or m < 1. */
NUMORA_API void AutoCor(const float *x, int32_t n, float *r, int32_t m);
/* Correlation coefficient sum(xy) / sqrt(sum x^2 * sum y^2), means kept; 0 for NULL, n < 1 or an
 * all-zero x or y. */
NUMORA_API float CorCoef(const float *x, const float *y, int32_t n);
/* Blackman-Tukey power spectrum of x (n points) at m frequencies f1 + i (f2 - f1) / m (Hz, rate fs) into
 * ps; 1 done, 0 (untouched) for NULL, n or m < 1, fs 0 or short memory. */
NUMORA_API int32_t PsdCalc(const float *x, int32_t n, float *ps, int32_t m, float f1, float f2, float fs);
/* Chirp-z power spectrum |Y|^2 (no scaling) of x less its mean, m points from f1 towards f2 (Hz, rate fs);
 * x is left unchanged; 1 done, 0 (untouched) as CharpZT. */
NUMORA_API int32_t PsdCalcCZT(const float *x, int32_t n, float *ps, int32_t m, float f1, float f2, float fs);
/* Spectrogram: n / shift frames of w samples each, PsdCalcCZT rows of m points into ps (row-major); 1
 * done, 0 (untouched) when shift < 1, shift >= n, w < 1, w > n, m < 1, rows x m > 2^31 - 1 or as CharpZT. */
NUMORA_API int32_t PsArray(const float *x, int32_t n, int32_t shift, int32_t w, float *ps, int32_t m,
                           float f1, float f2, float fs);

/* ---- Special functions --------------------------------------------------------------------- */
/* Gamma function; -1 with code 10 for x <= 0 or NaN, +inf above 35.04 (overflow). */
NUMORA_API float FxGamma(float x);
/* Regularized lower incomplete gamma P(a, x); -1 with code 10 for a <= 0 or x < 0; code 10 and the
 * partial value when 100 terms do not converge to the precision. */
NUMORA_API float FxGamma1(float a, float x);
/* Error function erf(x); code 10 as FxGamma1. */
NUMORA_API float FxError(float x);
/* Regularized incomplete beta I_x(a, b); +inf with code 10 for a <= 0, b <= 0, x outside 0..1. */
NUMORA_API float FxBeta(float a, float b, float x);
/* Normal distribution function of x with mean mu and deviation sigma (a step at mu for sigma <= 0). */
NUMORA_API float FxNormalPDF(float mu, float sigma, float x);
/* Student t probability P(|T| < |t|) with n degrees of freedom; FxBeta's failure (1 - inf, code 10) for n < 1. */
NUMORA_API float FxStudentPDF(float t, int32_t n);
/* Chi-square distribution function P(n / 2, |x| / 2); -1 with code 10 for n < 1. */
NUMORA_API float FxChi2PDF(float x, int32_t n);
/* Upper tail of the F distribution with n1, n2 degrees of freedom at |f|; +inf with code 10 for n1 or n2 < 1. */
NUMORA_API float FxFPDF(float f, int32_t n1, int32_t n2);
/* Sine integral Si(x) (x in radians); odd in x; code 9 should a loop reach its limit. */
NUMORA_API float FxSinSum(float x);
/* Cosine integral Ci(|x|) (x = 0 taken as 1e-10); code 9 as FxSinSum. */
NUMORA_API float FxCosSum(float x);
/* Exponential integral as g + ln|x| + int_0^|x| (e^-t - 1) / t dt = Ei(-|x|) = -E1(|x|) (x = 0 as 1e-10); code 9 as FxSinSum. */
NUMORA_API float FxExpSum(float x);
/* Incomplete elliptic integral of the first kind F(phi, k) (phi in radians, modulus |k|); for |k| > 1
 * only |phi| <= asin(1 / |k|) is real, else NaN with code 10; 1e10 where the integral diverges (k = 1). */
NUMORA_API float FxEllipse1(float k, float phi);
/* Incomplete elliptic integral of the second kind E(phi, k); NaN with code 10 as FxEllipse1. */
NUMORA_API float FxEllipse2(float k, float phi);
/* Bessel function of the first kind J_n(x); J_-n = (-1)^n J_n. */
NUMORA_API float FxBessel1(int32_t n, float x);
/* Bessel function of the second kind Y_n(x); -inf at x = 0, NaN for x < 0; Y_-n = (-1)^n Y_n. */
NUMORA_API float FxBessel2(int32_t n, float x);
/* Modified Bessel function of the first kind I_n(x); I_-n = I_n. */
NUMORA_API float FxIBessel1(int32_t n, float x);
/* Modified Bessel function of the second kind K_n(x); +inf at x = 0, NaN for x < 0; K_-n = K_n. */
NUMORA_API float FxIBessel2(int32_t n, float x);

/* ---- Sorting and text search --------------------------------------------------------------- */

/* ---- Huffman coding ------------------------------------------------------------------------ */

#ifdef __cplusplus
}
#endif

#endif /* NUMORA_H */
