/* A shared library for the control's tests: it exports none of the signal library's functions
 * (the binding tests put it where libsigmora.so is expected) and a few functions the
 * forwarding tests bind to see exactly what reaches a library. */
#include <stdint.h>

#define FIXTURE_API __attribute__((visibility("default")))

/* Upper-cases ASCII letters of text in place; returns the length seen up to the NUL. */
FIXTURE_API int32_t FixtureShout(char *text) {
    int32_t n = 0;
    for (; text[n]; ++n)
        if (text[n] >= 'a' && text[n] <= 'z') text[n] = (char)(text[n] - 'a' + 'A');
    return n;
}

/* The 16-bit value as received, doubled into 32 bits. */
FIXTURE_API int32_t FixtureTwice(int16_t v) {
    return 2 * (int32_t)v;
}

/* Sets x[0 .. n-1] to v and *count to n; returns the sum of x before, as a double. */
FIXTURE_API double FixtureFill(float *x, int32_t n, float v, int32_t *count) {
    double before = 0;
    for (int32_t i = 0; i < n; ++i) {
        before += x[i];
        x[i] = v;
    }
    *count = n;
    return before;
}
