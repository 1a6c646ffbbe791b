// Helpers of the model family that other families of the signal library call directly.
#ifndef SIGMORA_MODELS_INTERNAL_H
#define SIGMORA_MODELS_INTERNAL_H

#include <cstdint>

namespace sigmora::models {

// Composite Simpson integral of y[t1 .. t2] spaced dx apart, with a three-eighths panel at the end
// when the number of intervals t2 - t1 is odd. Needs t2 - t1 >= 2 (the caller checks).
double integrate_vector(const float *y, double dx, int64_t t1, int64_t t2);

}  // namespace sigmora::models

#endif
