#include "rasterline.h"

#include <algorithm>

namespace graphane {

namespace {

int64_t floorDiv(int64_t a, int64_t b) {  // b > 0
  int64_t q = a / b;
  if ((a % b) != 0 && a < 0) --q;
  return q;
}

// Steps along the major axis: pixel i (0 <= i < len) sits at major = m1 + sm*i and
// minor = n1 + floor((2*i*dn + len) / (2*len)), the nearest minor position with halves
// rounded up. Only the i whose major position lies in 0..majorSize-1 are visited.
template <class Plot>
void walk(int m1, int n1, int dm, int dn, int majorSize, Plot plot) {
  const int64_t len = dm < 0 ? -int64_t(dm) : dm;
  const int sm = dm < 0 ? -1 : 1;
  int64_t i0, i1;
  if (sm > 0) {
    i0 = std::max<int64_t>(0, -int64_t(m1));
    i1 = std::min<int64_t>(len - 1, int64_t(majorSize) - 1 - m1);
  } else {
    i0 = std::max<int64_t>(0, int64_t(m1) - (majorSize - 1));
    i1 = std::min<int64_t>(len - 1, m1);
  }
  if (i0 > i1) return;
  const int64_t d = 2 * len;
  const int64_t step = 2 * int64_t(dn);
  const int64_t num = 2 * i0 * dn + len;
  int64_t q = floorDiv(num, d);
  int64_t r = num - q * d;
  for (int64_t i = i0; i <= i1; ++i) {
    plot(int(m1 + sm * i), int(n1 + q));
    r += step;
    if (r >= d) r -= d, ++q;
    else if (r < 0) r += d, --q;
  }
}

// Clips the segment to the square |x|, |y| <= kCoordLimit (Liang-Barsky). A clipped end is
// put on the boundary it crosses and its other coordinate computed from the line there, so
// ends far beyond the limit lose no precision.
bool clipToLimit(double &x1, double &y1, double &x2, double &y2) {
  const double lim = kCoordLimit;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 + lim, lim - x1, y1 + lim, lim - y1};
  const double edge[4] = {-lim, lim, -lim, lim};
  double t0 = 0, t1 = 1;
  int k0 = -1, k1 = -1;
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0) {
      if (t > t0) t0 = t, k0 = k;
    } else if (t < t1) {
      t1 = t, k1 = k;
    }
    if (t0 > t1) return false;
  }
  auto onEdge = [&](int k, double &x, double &y) {
    if (k < 2) x = edge[k], y = y1 + (x - x1) * (dy / dx);
    else y = edge[k], x = x1 + (y - y1) * (dx / dy);
  };
  double ax = x1, ay = y1, bx = x2, by = y2;
  if (k0 >= 0) onEdge(k0, ax, ay);
  if (k1 >= 0) onEdge(k1, bx, by);
  x1 = ax, y1 = ay, x2 = bx, y2 = by;
  return true;
}

}  // namespace

void rasterSegment(const PixelBuffer &buf, int x1, int y1, int x2, int y2, uint32_t argb) {
  const int dx = x2 - x1, dy = y2 - y1;
  if (dx == 0 && dy == 0) return;
  if (std::abs(dx) >= std::abs(dy)) {
    walk(x1, y1, dx, dy, buf.width, [&](int x, int y) {
      if (unsigned(y) < unsigned(buf.height)) buf.set(x, y, argb);
    });
  } else {
    walk(y1, x1, dy, dx, buf.height, [&](int y, int x) {
      if (unsigned(x) < unsigned(buf.width)) buf.set(x, y, argb);
    });
  }
}

void rasterSegmentF(const PixelBuffer &buf, float x1, float y1, float x2, float y2, uint32_t argb) {
  if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
  if (isNearPixel(x1) && isNearPixel(y1) && isNearPixel(x2) && isNearPixel(y2)) {
    rasterSegment(buf, toPixel(x1), toPixel(y1), toPixel(x2), toPixel(y2), argb);
    return;
  }
  double ax = x1, ay = y1, bx = x2, by = y2;
  if (!clipToLimit(ax, ay, bx, by)) return;
  rasterSegment(buf, toPixel(float(ax)), toPixel(float(ay)), toPixel(float(bx)), toPixel(float(by)), argb);
}

void rasterColumn(const PixelBuffer &buf, int x, int ya, int yb, uint32_t argb) {
  if (unsigned(x) >= unsigned(buf.width)) return;
  if (ya > yb) std::swap(ya, yb);
  ya = std::max(ya, 0);
  yb = std::min(yb, buf.height - 1);
  uint32_t *p = buf.bits + std::ptrdiff_t(ya) * buf.stride + x;
  for (int y = ya; y <= yb; ++y, p += buf.stride) *p = argb;
}

void PolylineRaster::lineToSlow(float x, float y) {
  finish();
  rasterSegmentF(buf_, fx_, fy_, x, y, argb_);
  fx_ = x, fy_ = y;
  whole_ = isNearPixel(x) && isNearPixel(y);
  if (whole_) cx_ = toPixel(x), cy_ = toPixel(y);
}

}  // namespace graphane
