// rasterline.h - solid one-pixel lines written straight into a 32-bit pixel buffer.
//
// A segment from (x1, y1) to (x2, y2) covers its start pixel and not its end pixel, in the
// direction it is drawn (QPainter instead normalises the direction and covers the upper-left
// end, and draws a zero-length line as a dot, so the chart draws its solid thin lines here).
// Pixel positions given as floats are rounded to whole pixels, halves to the even neighbour.
//
// PolylineRaster draws a polyline exactly as drawing its segments one by one would, but merges
// the points that fall into one pixel column into one vertical span. Inside a column the
// segments are vertical and chained, so the union of what they cover is one contiguous run;
// the segments that leave a column are drawn as ordinary segments. The pixels are therefore
// identical to the segment-by-segment result everywhere (tests compare both).
#pragma once

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace graphane {

struct PixelBuffer {
  uint32_t *bits = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;  // pixels per row

  bool inside(int x, int y) const { return unsigned(x) < unsigned(width) && unsigned(y) < unsigned(height); }
  void set(int x, int y, uint32_t argb) const { bits[y * stride + x] = argb; }
};

// Pixel coordinates farther out than this are clipped (in floating point) before rounding.
constexpr float kCoordLimit = float(1 << 20);

inline bool isNearPixel(float v) { return std::fabs(v) <= kCoordLimit; }  // false for NaN too
inline int toPixel(float v) { return int(std::lrintf(v)); }

// Segment between whole pixels; nothing for a zero-length segment.
void rasterSegment(const PixelBuffer &buf, int x1, int y1, int x2, int y2, uint32_t argb);
// Segment between float pixel positions; not drawn when an end is not a finite number.
void rasterSegmentF(const PixelBuffer &buf, float x1, float y1, float x2, float y2, uint32_t argb);
// The pixels (x, ya)..(x, yb), both included, clipped to the buffer.
void rasterColumn(const PixelBuffer &buf, int x, int ya, int yb, uint32_t argb);

class PolylineRaster {
 public:
  // merge = false draws every segment on its own (the reference the merged path must equal).
  PolylineRaster(const PixelBuffer &buf, uint32_t argb, bool merge) : buf_(buf), argb_(argb), merge_(merge) {}

  void start(float x, float y) {
    finish();
    fx_ = x;
    fy_ = y;
    whole_ = isNearPixel(x) && isNearPixel(y);
    if (whole_) cx_ = toPixel(x), cy_ = toPixel(y);
  }

  void lineTo(float x, float y) {
    if (merge_ && whole_ && isNearPixel(x) && isNearPixel(y)) {
      const int px = toPixel(x), py = toPixel(y);
      if (px == cx_) {
        if (py > cy_) {
          if (cy_ < lo_) lo_ = cy_;
          if (py - 1 > hi_) hi_ = py - 1;
        } else if (py < cy_) {
          if (py + 1 < lo_) lo_ = py + 1;
          if (cy_ > hi_) hi_ = cy_;
        }
      } else {
        finish();
        rasterSegment(buf_, cx_, cy_, px, py, argb_);
      }
      cx_ = px, cy_ = py, fx_ = x, fy_ = y;
      return;
    }
    lineToSlow(x, y);
  }

  // Draws the pending column span; call once after the last point.
  void finish() {
    if (lo_ <= hi_) rasterColumn(buf_, cx_, lo_, hi_, argb_);
    lo_ = INT_MAX, hi_ = INT_MIN;
  }

 private:
  void lineToSlow(float x, float y);

  PixelBuffer buf_;
  uint32_t argb_;
  bool merge_;
  bool whole_ = false;  // current point is a whole pixel inside the coordinate limit
  float fx_ = 0, fy_ = 0;
  int cx_ = 0, cy_ = 0;
  int lo_ = INT_MAX, hi_ = INT_MIN;  // pending span in column cx_
};

}  // namespace graphane
