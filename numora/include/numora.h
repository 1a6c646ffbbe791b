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
/* 1-D interpolation methods of Inter1dFuncED / Inter1dFuncND (3, above 8 and negative values
 * act as 0). The DSP control passes its selector 0..6 as 0, 1, 4, 5, 6, 7, 8 (others as 0). */
enum NumoraInterpolation {
    NUMORA_INTERP_LAGRANGE = 0,  /* Lagrange through nodes k-4 .. k+3, k the first node >= t */
    NUMORA_INTERP_THREE_POINT = 1, /* quadratic through the 3 nodes nearest t */
    NUMORA_INTERP_THIELE = 2,    /* continued fraction through up to 8 nodes around t */
    NUMORA_INTERP_AITKEN = 4,    /* Aitken over up to 10 nodes, to the library precision */
    NUMORA_INTERP_AKIMA = 5,     /* Akima's piecewise cubic */
    NUMORA_INTERP_SPLINE_CLAMPED = 6, /* cubic spline, end slopes 0 */
    NUMORA_INTERP_SPLINE_NATURAL = 7, /* cubic spline, end second derivatives 0 */
    NUMORA_INTERP_SPLINE_PERIODIC = 8, /* cubic spline, the table one period (y[0] = y[n-1]) */
    NUMORA_INTERP2D_LAGRANGE = 9 /* Inter2D only: Lagrange over up to 8 x 8 nodes; others 3 x 3 */
};
/* Derivative selectors of DyFunc1dED / DyFunc1dND (values outside 0..5 act as 0). The DSP
 * control passes Sel 0..2 as 0..2 for first and 3..5 for second derivatives. */
enum NumoraDerivative {
    NUMORA_DY_CLAMPED = 0, NUMORA_DY_NATURAL = 1, NUMORA_DY_PERIODIC = 2,
    NUMORA_DDY_CLAMPED = 3, NUMORA_DDY_NATURAL = 4, NUMORA_DDY_PERIODIC = 5
};
/* Interpolation rules shared below: abscissas strictly increasing (otherwise the result is
 * undefined, possibly NaN, never a crash); outside the table the edge nodes extrapolate; n < 1
 * gives 0.0 and n = 1 gives y[0]; a NULL array gives 0.0 with code 3; work memory failure 0.0
 * with code 1. Periodic splines take t modulo the period. */
/* Value at t of the table x[i] = x0 + i h, y[0..n-1] by the method above. */
NUMORA_API float Inter1dFuncED(float x0, float h, int32_t n, const float *y, float t, int32_t method);
/* Value at t of the table (x[i], y[i]), i < n, by the method above. */
NUMORA_API float Inter1dFuncND(const float *x, const float *y, int32_t n, float t, int32_t method);
/* First or second derivative at t of the cubic spline (selector above) through x0 + i h, y; n < 2
 * gives 0.0. */
NUMORA_API float DyFunc1dED(float x0, float h, int32_t n, const float *y, float t, int32_t selector);
/* First or second derivative at t of the cubic spline (selector above) through (x, y); n < 2
 * gives 0.0. */
NUMORA_API float DyFunc1dND(const float *x, const float *y, int32_t n, float t, int32_t selector);
/* Value at (u, v) of z (nx x ny, row-major, z[i * ny + j] at x[i], y[j]): method 9 Lagrange over up
 * to 8 nodes per direction, any other three-point; 0.0 when nx or ny < 1, code 3 for NULL. */
NUMORA_API float Inter2D(const float *x, const float *y, const float *z, int32_t nx, int32_t ny,
                         float u, float v, int32_t method);
/* Registers a copy of the table (x, y), n points, as the process-wide integrand (replacing any
 * earlier one); 1, 0 with nothing registered when memory fails or an array is NULL (no code). */
NUMORA_API int32_t IntegrateFunc(const float *x, const float *y, int32_t n);
/* Sets the interpolation method (above) that evaluates the integrand; returns the one before
 * (0 at load). */
NUMORA_API int32_t IntegrateInter(int32_t method);
/* Integral from a to b (b < a negates) of the registered table: rule 0 trapezoid halving, 1
 * Simpson, 2 Romberg (10 rows), 3 Gauss-Legendre and 4 Chebyshev 5-node composites, 5 Thiele
 * extrapolation (9 levels); other rules act as 0; tolerance the library precision. 0.0 with code 3
 * when nothing is registered, code 4 when it has no points; rules 0 and 1 stop after 2^16
 * intervals with the last value and code 9. */
NUMORA_API float Integrate1d(float a, float b, int32_t rule);
/* Releases the registered integrand; returns 1. */
NUMORA_API int32_t IntegrateEnd(void);

/* ---- Matrix routines ----------------------------------------------------------------------- */

/* ---- Curve fitting and regression ---------------------------------------------------------- */

/* ---- Transforms and spectra ---------------------------------------------------------------- */

/* ---- Special functions --------------------------------------------------------------------- */

/* ---- Sorting and text search --------------------------------------------------------------- */
/* Quicksorts, ascending, in place; no error code: n >= 1 sorts n elements and sets index[0..n-1]
 * to the original position of the element now at each place; n < 0 sorts -n elements and leaves
 * index untouched (it may be NULL); n = 0, x NULL, INT32_MIN, or n >= 1 with index NULL do
 * nothing. Not stable; the same code and index arrays as the signal library's. */
/* Sorts unsigned 8-bit values (0x80 after 0x01). */
NUMORA_API void QuickSortBytes(uint8_t *x, int32_t n, int32_t *index);
/* Sorts signed 8-bit values (-128 before 1). */
NUMORA_API void QuickSortChars(int8_t *x, int32_t n, int32_t *index);
/* Sorts signed 16-bit values. */
NUMORA_API void QuickSortShorts(int16_t *x, int32_t n, int32_t *index);
/* Sorts unsigned 16-bit values. */
NUMORA_API void QuickSortUShorts(uint16_t *x, int32_t n, int32_t *index);
/* Sorts signed 32-bit values (the same operation as QuickSortLongs). */
NUMORA_API void QuickSortIntegers(int32_t *x, int32_t n, int32_t *index);
/* Sorts unsigned 32-bit values (the same operation as QuickSortULongs). */
NUMORA_API void QuickSortUIntegers(uint32_t *x, int32_t n, int32_t *index);
/* Sorts signed 32-bit values. */
NUMORA_API void QuickSortLongs(int32_t *x, int32_t n, int32_t *index);
/* Sorts unsigned 32-bit values. */
NUMORA_API void QuickSortULongs(uint32_t *x, int32_t n, int32_t *index);
/* Sorts 32-bit floats (plain less-than). */
NUMORA_API void QuickSortFloats(float *x, int32_t n, int32_t *index);
/* Sorts 64-bit floats (plain less-than). */
NUMORA_API void QuickSortDoubles(double *x, int32_t n, int32_t *index);
/* Sorts pointers to zero-terminated strings by unsigned bytes (a prefix first; NULL as ""). */
NUMORA_API void QuickSortStrings(char **x, int32_t n, int32_t *index);
/* Searches text[start .. textLength-1] for the zero-terminated pattern (KMP; table holds one
 * int32 per pattern byte, built when start = 0 and reused, or rebuilt if unusable, otherwise):
 * the position just past the first occurrence, 0 if none or the pattern is empty, -1 when start
 * is outside the text or a pointer is NULL. No error code. */
NUMORA_API int32_t FindStringOfText(const char *text, int32_t textLength, int32_t start,
                                    const char *pattern, int32_t *table);
/* Searches a whole regular file: mode 0 as FindStringOfText from 0 (-1 for an empty file), other
 * modes the number of occurrences without overlap (0 if none or the pattern is empty); -1 on
 * failure: code 11 missing, unreadable or not a regular file (directory, device), code 1 no
 * memory or 2 GiB and larger, code 3 pattern NULL. */
NUMORA_API int32_t FindStringFile(const char *path, const char *pattern, int32_t mode);

/* ---- Huffman coding ------------------------------------------------------------------------ */

#ifdef __cplusplus
}
#endif

#endif /* NUMORA_H */
