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

/* ---- Extreme values and mode -------------------------------------------------------------- */

/* ---- Spectral core ------------------------------------------------------------------------ */

/* ---- Daubechies wavelets ------------------------------------------------------------------ */

#ifdef __cplusplus
}
#endif

#endif /* SIGMORA_H */
