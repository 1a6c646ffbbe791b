#include "chartmodel.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "automation/errors.h"
#include "automation/safearray.h"

namespace graphane {

using automation::ArrayLock;
using automation::SafeArray;
namespace err = automation::err;

namespace {

constexpr double kTwoPi = 6.2831852;

// Range of slot indices i = start..start+count-1 that lie inside 0..nPoints-1.
struct IndexRange {
    int64_t first = 0;
    int64_t last = -1;  // inclusive; last < first means empty
};

IndexRange overlap(int64_t start, int64_t count, int64_t nPoints) {
    IndexRange r;
    r.first = std::max<int64_t>(start, 0);
    r.last = std::min<int64_t>(start + count - 1, nPoints - 1);
    return r;
}

// True when the caller's array holds every declared index lo..hi.
bool covers(const SafeArray &a, int64_t lo, int64_t hi) {
    return a.dimensions() == 1 && lo >= a.lbound() && hi <= int64_t(a.lbound()) + a.count() - 1;
}

}  // namespace

void resizeSlotArrays(SeriesSlot &s, int32_t n, bool keep) {
    if (n < 0) automation::raise(err::SubscriptOutOfRange);
    if (n > kMaxPoints) automation::raise(err::OutOfMemory);
    try {
        if (!keep) {
            s.x.assign(size_t(n), 0.0f);
            s.y.assign(size_t(n), 0.0f);
        } else {
            s.x.resize(size_t(n), 0.0f);
            s.y.resize(size_t(n), 0.0f);
        }
    } catch (const std::bad_alloc &) {
        automation::raise(err::OutOfMemory);
    }
}

void ChartModel::initialise(int32_t surfaceBackColor) {
    nSeries_ = 2;
    xmin = 0, xmax = 100, ymin = 0, ymax = 10;
    backColor = surfaceBackColor;
    borderStyle = 1;
    gridColor = 0x8080;
    borderColor = 0xFF0000;
    titleX = "Time(s)";
    titleY = "Voltage(mv)";
    marginLeft = 25, marginTop = 10, marginRight = 10, marginBottom = 20;
    nGridx = 11, nGridy = 11;
    gridSel = 1;
    for (int i = 0; i <= 10; ++i) gridX[size_t(i)] = xmin + float(i) * (xmax - xmin) / float(nGridx - 1);
    for (int j = 0; j < nGridy; ++j) gridY[size_t(j)] = ymin + float(j) * (ymax - ymin) / float(nGridy - 1);
    SafeArray counts = SafeArray::ofInts({40, 64});
    createSeries(2, counts);
}

SeriesSlot &ChartModel::slot(int index) {
    if (index < 0 || index >= kSlotCount) automation::raise(err::SubscriptOutOfRange);
    return slots_[size_t(index)];
}

const SeriesSlot &ChartModel::slot(int index) const {
    if (index < 0 || index >= kSlotCount) automation::raise(err::SubscriptOutOfRange);
    return slots_[size_t(index)];
}

void ChartModel::fillCreatedPlaceholder(SeriesSlot &s, int index) {
    const double span = double(ymax) - ymin;
    const double mid = double(ymin) / 2 + double(ymax) / 2;
    const int32_t n = s.nPoints;
    for (int32_t j = 0; j < n; ++j) {
        const double fj = double(float(j));
        s.x[size_t(j)] = float(xmin + (fj / n) * (double(xmax) - xmin));
        double y;
        if (index == 0)
            y = mid + (span * std::exp(-2.0 * fj / n) / 2) * std::sin(kTwoPi * 4 * fj / n);
        else
            y = mid + (span / 2) * std::sin(kTwoPi * 4 * (index + 1) * fj / n);
        s.y[size_t(j)] = float(y);
    }
}

// Points held by the slots other than those in [first, last].
int64_t ChartModel::pointsOutside(int first, int last) const {
    int64_t total = 0;
    for (int i = 0; i < kSlotCount; ++i)
        if (i < first || i > last) total += int64_t(slots_[size_t(i)].x.size());
    return total;
}

int32_t ChartModel::createSeries(int16_t count, SafeArray &nPoints) {
    if (count < 1) {
        nSeries_ = 0;
        return 0;
    }
    if (count > kSlotCount) return 0;
    // Every count is read and checked, and every array allocated, before a slot changes: a
    // refused call leaves the chart as it was.
    ArrayLock lock(nPoints);
    std::vector<int32_t> counts(static_cast<size_t>(count));
    int64_t total = pointsOutside(0, count - 1);
    for (int i = 0; i < count; ++i) {
        counts[size_t(i)] = nPoints.i4(i);
        if (counts[size_t(i)] < 0) automation::raise(err::SubscriptOutOfRange);
        if (counts[size_t(i)] > kMaxPoints) automation::raise(err::OutOfMemory);
        total += counts[size_t(i)];
    }
    if (total > kMaxTotalPoints) automation::raise(err::OutOfMemory);
    std::vector<SeriesSlot> fresh(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) resizeSlotArrays(fresh[size_t(i)], counts[size_t(i)], false);
    nSeries_ = count;
    for (int i = 0; i < count; ++i) {
        SeriesSlot &s = slots_[size_t(i)];
        s.x.swap(fresh[size_t(i)].x);
        s.y.swap(fresh[size_t(i)].y);
        s.nPoints = counts[size_t(i)];
        s.dotColor = 0xFF;
        s.lineColor = 0xFF0000;
        s.dotStyle = 0;
        s.lineStyle = 1;
        s.lineWidth = 1;
        fillCreatedPlaceholder(s, i);
        s.visible = true;
    }
    return count;
}

int32_t ChartModel::appendSeries(int32_t n) {
    int16_t c = nSeries_;
    if (c >= kSlotCount - 1) return c;
    c = c <= 0 ? 1 : int16_t(c + 1);
    const int k = c - 1;
    if (n >= 0 && pointsOutside(k, k) + n > kMaxTotalPoints) automation::raise(err::OutOfMemory);
    SeriesSlot fresh;
    resizeSlotArrays(fresh, n, false);  // a refused count changes nothing
    nSeries_ = c;
    SeriesSlot &s = slots_[size_t(k)];
    s.x.swap(fresh.x);
    s.y.swap(fresh.y);
    s.nPoints = n;
    s.dotStyle = 0;
    s.lineColor = 0xFF0000;
    s.dotColor = 0xFF;
    s.lineWidth = 1;
    s.visible = true;
    const double span = double(ymax) - ymin;
    const double mid = double(ymin) / 2 + double(ymax) / 2;
    if (k == 0) {
        for (int32_t i = 0; i < n; ++i) {
            s.x[size_t(i)] = float(xmin + (double(float(i)) / n) * (double(xmax) - xmin));
            s.y[size_t(i)] = float(mid + (span / 2) * std::cos(0.062831852 * i));
        }
    } else {
        // The wave follows the length of series 0; a shorter new series fails at its end.
        const int32_t first = slots_[0].nPoints;
        for (int32_t i = 0; i < first; ++i) {
            if (i >= n) automation::raise(err::SubscriptOutOfRange);
            s.y[size_t(i)] = float(mid + (span / 2) * std::cos(0.062831852 * i));
        }
    }
    return c;
}

int32_t ChartModel::deleteSeries(int16_t index) {
    if (index < 0 || index >= kSlotCount) automation::raise(err::SubscriptOutOfRange);
    if (nSeries_ <= -32768 + 1) automation::raise(err::Overflow);
    auto cut = [](SeriesSlot &s) {
        s.x.assign(1, 0.0f);
        s.y.assign(1, 0.0f);
    };
    if (index == nSeries_ - 1) {
        --nSeries_;
        cut(slots_[size_t(index)]);
        return nSeries_;
    }
    for (int k = index; k <= nSeries_ - 2; ++k) slots_[size_t(k)] = slots_[size_t(k + 1)];
    cut(slots_[size_t(std::max<int>(index, nSeries_ - 1))]);
    --nSeries_;
    return nSeries_;
}

void ChartModel::switchSeries(int16_t a, int16_t b) {
    std::swap(slot(a), slot(b));
}

void ChartModel::setSeries(int16_t index, SafeArray &x, SafeArray &y, int32_t start, int32_t n) {
    copySeries(index, x, y, start, n, CopyDirection::IntoSlot);
}

void ChartModel::getSeries(int16_t index, SafeArray &x, SafeArray &y, int32_t start, int32_t n) {
    copySeries(index, x, y, start, n, CopyDirection::OutOfSlot);
}

// Copies points start..start+count-1 of a slot from or to the caller's arrays, where caller
// element i - start pairs with slot point i; points outside the slot are skipped.
void ChartModel::copySeries(int16_t index, SafeArray &x, SafeArray &y, int32_t start, int32_t n,
                            CopyDirection direction) {
    SeriesSlot &s = slot(index);
    ArrayLock lx(x), ly(y);
    const int64_t count = n == 0 ? s.nPoints : n;
    const IndexRange r = overlap(start, count, s.nPoints);
    if (r.last < r.first) return;
    const bool into = direction == CopyDirection::IntoSlot;
    const int64_t stored = int64_t(std::min(s.x.size(), s.y.size()));
    if (r.last < stored && covers(x, r.first - start, r.last - start) &&
        covers(y, r.first - start, r.last - start)) {
        const auto len = size_t(r.last - r.first + 1);
        float *cx = &x.r4(int32_t(r.first - start)), *cy = &y.r4(int32_t(r.first - start));
        float *sx = s.x.data() + r.first, *sy = s.y.data() + r.first;
        std::copy_n(into ? cx : sx, len, into ? sx : cx);
        std::copy_n(into ? cy : sy, len, into ? sy : cy);
        return;
    }
    // Element by element, so that the points before a failing index stay copied.
    for (int64_t i = r.first; i <= r.last; ++i) {
        if (i >= stored) automation::raise(err::SubscriptOutOfRange);
        float &cx = x.r4(int32_t(i - start)), &cy = y.r4(int32_t(i - start));
        float &sx = s.x[size_t(i)], &sy = s.y[size_t(i)];
        if (into) {
            sx = cx;
            sy = cy;
        } else {
            cx = sx;
            cy = sy;
        }
    }
}

void ChartModel::setPointCount(int16_t index, int32_t n) {
    SeriesSlot &s = slot(index);
    if (n < 1) {
        resizeSlotArrays(s, 1, false);
        s.nPoints = 0;
        return;
    }
    if (pointsOutside(index, index) + n > kMaxTotalPoints) automation::raise(err::OutOfMemory);
    resizeSlotArrays(s, n, true);
    s.nPoints = n;
}

void ChartModel::setGridValues(bool yAxis, SafeArray &values, int16_t n) {
    int16_t &count = yAxis ? nGridy : nGridx;
    auto &table = yAxis ? gridY : gridX;
    const int16_t wanted = n != 0 ? n : count;
    // The values are read first, so a short array (error 9) leaves count and table unchanged.
    ArrayLock lock(values);
    auto copy = table;
    for (int i = 0; i < wanted && i < kGridValueCount; ++i) copy[size_t(i)] = values.r4(i);
    table = copy;
    count = wanted;
}

int32_t ChartModel::pointsInRange(int16_t index, float xv1, float xv2, SafeArray &xv, SafeArray &yv,
                                  int32_t maxPoints) const {
    if (nSeries_ < 1) return 0;
    const SeriesSlot &s = slot(index);
    ArrayLock lx(xv), ly(yv);
    const int64_t stored = int64_t(std::min(s.x.size(), s.y.size()));
    int32_t count = 0;
    for (int64_t i = 0; i < s.nPoints; ++i) {
        if (i >= stored) automation::raise(err::SubscriptOutOfRange);
        const float x = s.x[size_t(i)];
        if (xv1 <= x && x <= xv2 && count < maxPoints) {
            xv.r4(count) = x;
            yv.r4(count) = s.y[size_t(i)];
            ++count;
        }
    }
    return count;
}

}  // namespace graphane
