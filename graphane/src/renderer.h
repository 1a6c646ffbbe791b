// renderer.h - turns the chart's data into pixels on its surface: series (lines, markers,
// bars, 3D bars, scatter dots), frame, axis titles, the six grid modes with their tick labels
// and the logarithmic grids. Drawing leaves the surface's pen and foreground colour as the
// chart's hosts expect (solid, 1 pixel, foreground = border colour after a Plot).
#pragma once

#include <QPoint>
#include <QPointF>
#include <vector>

#include "chartmodel.h"
#include "surface.h"

namespace graphane {

// Whole pixel of a coordinate, halves to even, clamped far out; NaN goes far off the picture.
int roundPixelOf(double v);
// Whether a dot style draws a marker at every point.
inline bool hasMarker(int16_t dotStyle) {
    return dotStyle >= 1 && dotStyle <= 5;
}

// The rectangle the data is drawn in, derived from the surface size and the margins.
struct ChartArea {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool valid = false;  // width and height both positive
};
ChartArea chartAreaOf(const ChartModel &model, QSize surfaceSize);

class ChartRenderer {
  public:
    ChartRenderer(const ChartModel &model, Surface &surface) : m_(model), s_(surface) {}

    // Merge the points of one pixel column into one span when drawing solid thin series
    // lines (true), or draw every segment on its own (false). Both give the same pixels.
    void setMergeColumns(bool on) { merge_ = on; }

    // Clears unless keepBackground, then draws the visible series, frame, titles and grid.
    // Raises 11 when the axis range is empty and a series is visible, 9 for a user grid of
    // more than 30 values.
    void plot(bool keepBackground);
    void drawSeries(int index);
    void drawFrame();
    void drawTitles();
    void drawGrid();
    // Logarithmic grid in the given pixel rectangle over the decades of vMin..vMax; raises 5
    // when either value is not positive.
    void plotGridLog(bool yAxis, float x1, float y1, float x2, float y2, double vMin, double vMax, bool fine);

    // Filled polygon of whole-pixel vertices (fill colour -1: outline only).
    void fillPolygon(const std::vector<QPoint> &vertices, int32_t fillColor, int32_t outlineColor);

  private:
    using Mapping = PointMapping;
    Mapping mapping(const ChartArea &a) const;
    void drawLines(const SeriesSlot &s, const Mapping &map, int32_t n);
    void drawBar(const SeriesSlot &s, const ChartArea &a, float X, float Y);
    void drawMarker(const SeriesSlot &s, float X, float Y);
    void draw3DBars(const SeriesSlot &s, const ChartArea &a, int32_t n);
    void draw3DBar(const SeriesSlot &s, const ChartArea &a, int32_t t);
    // Dense series (renderer_dense.cpp): false when the series is sparse and drawn point by point.
    bool drawSeriesDense(const SeriesSlot &s, const ChartArea &a, const Mapping &map, int32_t n);
    struct StampPixel {
        int dx, dy;
        uint32_t argb;
    };
    std::vector<StampPixel> markerStamp(const SeriesSlot &s) const;
    void stampMarkers(const SeriesSlot &s, const Mapping &map, int32_t n);
    void scatterDense(const SeriesSlot &s, const Mapping &map, int32_t n);
    void barsDense(const SeriesSlot &s, const ChartArea &a, const Mapping &map, int32_t n);
    void wideSolidDense(const SeriesSlot &s, const Mapping &map, int32_t n);
    std::vector<int32_t> visible3DBars(const SeriesSlot &s, const ChartArea &a, int32_t n) const;
    static std::vector<QPointF> columnExtremes(const SeriesSlot &s, const Mapping &map, int32_t n);
    void drawScatter(const SeriesSlot &s, const Mapping &map, int32_t n);
    void gridEqual(const ChartArea &a);
    void gridValues(const ChartArea &a);
    struct Steps {
        int64_t first, last;
    };
    static Steps stepsForward(double origin, double step, double end, double size);
    static Steps stepsBackward(double origin, double step, double end, double size);
    void gridMetric(const ChartArea &a, double millimetres);
    void gridMillimetre(const ChartArea &a);
    void label(const QString &text, float x, float y);

    const ChartModel &m_;
    Surface &s_;
    bool merge_ = true;
};

}  // namespace graphane
