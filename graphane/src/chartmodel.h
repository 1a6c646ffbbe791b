// chartmodel.h - the chart's data: sixteen series slots, axis range, margins, titles and grid
// settings, and the operations of the series store. Nothing here draws.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace automation {
class SafeArray;
}

namespace graphane {

constexpr int kSlotCount = 16;
constexpr int kGridValueCount = 30;
// Largest number of points one slot may hold (x and y together take 1 GiB); a larger request
// raises "out of memory" (7) instead of exhausting the machine.
constexpr int32_t kMaxPoints = 1 << 27;
// Points of all slots together (2 GiB of coordinates): a request beyond fails with 7 before
// anything is allocated.
constexpr int64_t kMaxTotalPoints = int64_t(1) << 28;

struct SeriesSlot {
    std::vector<float> x{0.0f};
    std::vector<float> y{0.0f};
    int32_t nPoints = 0;
    int16_t lineStyle = 1;
    int16_t dotStyle = 0;
    int32_t lineColor = 0xFF0000;
    int32_t dotColor = 0xFF;
    int16_t lineWidth = 1;
    bool visible = true;
};

class ChartModel {
  public:
    // Axis range and layout (pixels for the margins).
    float xmin = 0, xmax = 100, ymin = 0, ymax = 10;
    float marginLeft = 25, marginTop = 10, marginRight = 10, marginBottom = 20;
    std::string titleX = "Time(s)", titleY = "Voltage(mv)";
    int32_t backColor = 0xFFFFFF;
    int32_t borderColor = 0xFF0000;
    int32_t gridColor = 0x8080;
    int16_t borderStyle = 1;
    int16_t gridSel = 1;
    int16_t nGridx = 11, nGridy = 11;
    std::array<float, kGridValueCount> gridX{};
    std::array<float, kGridValueCount> gridY{};
    float anchorX = 0, anchorY = 0;  // pointer position at the last accepted press

    // Sets the start-up values of a new control (back colour given by the surface) and
    // creates the two demonstration series of 40 and 64 points.
    void initialise(int32_t surfaceBackColor);

    int16_t seriesCount() const { return nSeries_; }
    // Slot by index; raises 9 outside 0..15.
    SeriesSlot &slot(int index);
    const SeriesSlot &slot(int index) const;

    int32_t createSeries(int16_t count, automation::SafeArray &nPoints);
    int32_t appendSeries(int32_t n);
    int32_t deleteSeries(int16_t index);
    void switchSeries(int16_t a, int16_t b);
    void setSeries(int16_t index, automation::SafeArray &x, automation::SafeArray &y, int32_t start,
                   int32_t n);
    void getSeries(int16_t index, automation::SafeArray &x, automation::SafeArray &y, int32_t start,
                   int32_t n);
    void setPointCount(int16_t index, int32_t n);
    void setGridValues(bool yAxis, automation::SafeArray &values, int16_t n);
    void setGridCountX(int16_t n) {
        if (n >= 0) nGridx = n;
    }
    // Copies the points of slot `index` with xv1 <= x <= xv2 (at most maxPoints) into the
    // caller's arrays from index 0; returns the count (0 when there are no series).
    int32_t pointsInRange(int16_t index, float xv1, float xv2, automation::SafeArray &xv,
                          automation::SafeArray &yv, int32_t maxPoints) const;

  private:
    enum class CopyDirection { IntoSlot, OutOfSlot };
    void copySeries(int16_t index, automation::SafeArray &x, automation::SafeArray &y, int32_t start,
                    int32_t n, CopyDirection direction);
    void fillCreatedPlaceholder(SeriesSlot &s, int index);
    int16_t nSeries_ = 0;
    int64_t pointsOutside(int first, int last) const;
    std::array<SeriesSlot, kSlotCount> slots_{};
};

// Resizes both arrays of a slot to n elements (all zero unless `keep`, which keeps the
// leading values). Raises 9 for n < 0 and 7 above kMaxPoints.
void resizeSlotArrays(SeriesSlot &s, int32_t n, bool keep);

}  // namespace graphane
