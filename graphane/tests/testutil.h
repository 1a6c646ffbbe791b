// Helpers shared by the chart tests: a chart created through its ProgID or directly, error
// numbers of failing calls, and pixel queries on the chart picture.
#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <functional>
#include <memory>

#include "automation/errors.h"
#include "testsupport/errors.h"
#include "automation/host.h"
#include "graphane/dispids.h"
#include "graphanecontrol.h"

namespace gt {

namespace d = graphane::dispid;
using automation::ControlHandle;
using automation::SafeArray;
using automation::Variant;

using testsupport::errorOf;

// A chart control made directly (its classes reachable) but called like a host calls it.
struct Chart {
    explicit Chart(int width = 400, int height = 300) {
        auto owned = std::make_unique<graphane::GraphaneControl>();
        control = owned.get();
        handle = ControlHandle(std::move(owned));
        control->widget()->resize(width, height);
        control->surface().resize(QSize(width, height));
    }
    graphane::GraphaneControl &operator*() { return *control; }
    graphane::GraphaneControl *operator->() { return control; }
    const QImage &image() { return control->surface().image(); }

    ControlHandle handle;
    graphane::GraphaneControl *control = nullptr;
};

// A 0x00BBGGRR colour of one pixel.
inline int32_t pixel(const QImage &img, int x, int y) {
    const QRgb c = img.pixel(x, y);
    return int32_t(uint32_t(qRed(c)) | (uint32_t(qGreen(c)) << 8) | (uint32_t(qBlue(c)) << 16));
}

inline int countColor(const QImage &img, const QRect &r, int32_t color) {
    int n = 0;
    const QRect c = r.intersected(img.rect());
    for (int y = c.top(); y <= c.bottom(); ++y)
        for (int x = c.left(); x <= c.right(); ++x)
            if (pixel(img, x, y) == color) ++n;
    return n;
}

inline int countNot(const QImage &img, const QRect &r, int32_t color) {
    const QRect c = r.intersected(img.rect());
    return c.width() * c.height() - countColor(img, c, color);
}

// Bounding box of the pixels of one colour (empty when there are none).
inline QRect boundsOf(const QImage &img, int32_t color) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pixel(img, x, y) == color) box = box.united(QRect(x, y, 1, 1));
    return box;
}

inline SafeArray ints(std::initializer_list<int32_t> v, int32_t lower = 0) {
    return SafeArray::ofInts(v, lower);
}
inline SafeArray floats(const std::vector<float> &v, int32_t lower = 0) {
    return SafeArray::ofFloats(v, lower);
}

}  // namespace gt
