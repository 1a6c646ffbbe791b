// measuring.h - mouse measuring on the chart: a left press inside the chart area shows a
// cross-hair and a readout of the data values, dragging spans a selection rectangle, the
// release reports the rectangle. The overlays are state for the widget to paint over the
// picture; nothing here draws into the picture.
#pragma once

#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>
#include <optional>

#include "chartmodel.h"
#include "renderer.h"

namespace graphane {

struct Overlay {
    bool crossVisible = false;
    QLineF crossH, crossV;
    bool rectVisible = false;
    QRectF rect;  // left, top, width, height in pixels
    bool readoutVisible = false;
    QString readout;  // two lines separated by a line feed
    QRectF readoutBox;

    // Pixels the overlays cover (for repainting only what changed).
    QRectF bounds() const;
};

// What the release reports as the Measured event.
struct Measurement {
    float x, y, w, h;      // rectangle in pixels
    float xv, yv, wv, hv;  // left/top value and size in data units
};

// Pixel point to data values and pixel extent to data extent; nothing when the area is invalid.
std::optional<QPointF> pixelToValue(const ChartModel &m, const ChartArea &a, float px, float py);
std::optional<QSizeF> extentToValue(const ChartModel &m, const ChartArea &a, float w, float h);

class Measuring {
  public:
    // Size of the readout box for a text (text extent plus padding).
    using BoxSize = std::function<QSizeF(const QString &)>;

    // Each returns true when the overlays changed. `button` is the button (press, release)
    // or the buttons held (move): 1 left, 2 right, 4 middle.
    bool press(ChartModel &m, const ChartArea &a, int button, float x, float y, const BoxSize &box);
    bool move(const ChartModel &m, const ChartArea &a, int button, float x, float y, const BoxSize &box);
    // Hides everything; returns the measurement when a rectangle was being dragged with the
    // left button.
    std::optional<Measurement> release(const ChartModel &m, const ChartArea &a, int button);

    const Overlay &overlay() const { return o_; }
    bool idle() const { return !o_.crossVisible && !o_.rectVisible && !o_.readoutVisible; }

  private:
    Overlay o_;
};

}  // namespace graphane
