// interpolation_internal.h - the one-dimensional interpolation of a table as the integration
// routines evaluate it: prepared once (spline slopes solved once), then evaluated many times.
#ifndef NUMORA_INTERPOLATION_INTERNAL_H
#define NUMORA_INTERPOLATION_INTERNAL_H

#include <cstdint>
#include <vector>

namespace numora {

class TableInterpolant {
  public:
    // x, y: n points (caller-owned, must outlive the object). Throws std::bad_alloc when the
    // spline methods cannot get their work memory.
    TableInterpolant(const float *x, const float *y, int32_t n, int32_t method);
    // The value at t, the same as Inter1dFuncND(x, y, n, t, method).
    float operator()(float t) const;

  private:
    const float *x_;
    const float *y_;
    int32_t n_;
    int32_t method_;
    std::vector<double> slopes_;  // spline node derivatives (methods 6 to 8)
};

}  // namespace numora

#endif
