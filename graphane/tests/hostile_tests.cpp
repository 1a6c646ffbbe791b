// Hostile values and refused calls: NaN and infinite coordinates never reach an undefined
// conversion or a foreign exception, endless grids are refused, and a refused call changes
// nothing of the chart.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "testutil.h"

using namespace gt;
namespace err = automation::err;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class Hostile : public ::testing::Test {
  protected:
    void SetUp() override {
        c.handle.put(d::BackColor, 0xFFFFFF);
        SafeArray n = ints({3});
        c.handle.call(d::CreateSeries, int16_t(1), n);
        SafeArray x = floats({10, 50, 90}), y = floats({2, kNaN, 8});
        int32_t start = 0, count = 0;
        c.handle.call(d::SetSeries, int16_t(0), x, y, start, count);
    }
    int32_t plotError() {
        return errorOf([&] { c.handle.call(d::Plot, false); });
    }
    Chart c{400, 300};
};

}  // namespace

TEST_F(Hostile, EveryStyleDrawsAroundANaNValue) {
    for (int16_t style = 0; style <= 6; ++style) {
        c.handle.put(d::LineStyle, int16_t(0), style);
        c.handle.put(d::DotStyle, int16_t(0), int16_t(style % 6));
        c.handle.put(d::LineWidth, int16_t(0), int16_t(style % 3 + 1));
        EXPECT_EQ(plotError(), 0) << "line style " << style;
    }
    // The 3-D bars of the two finite points are still drawn (grey faces).
    c.handle.put(d::LineStyle, int16_t(0), int16_t(5));
    ASSERT_EQ(plotError(), 0);
    EXPECT_GT(countColor(c.image(), c.image().rect(), 0xC0C0C0), 20);
}

TEST_F(Hostile, InfiniteAxisRangeDrawsWithoutFailing) {
    c.handle.put(d::xmin, -kInf);
    c.handle.put(d::xmax, kInf);
    c.handle.put(d::ymin, -kInf);
    for (int16_t style : {int16_t(1), int16_t(4), int16_t(5), int16_t(6)}) {
        c.handle.put(d::LineStyle, int16_t(0), style);
        const int32_t e = plotError();
        EXPECT_TRUE(e == 0 || e == err::DivisionByZero) << "style " << style << " raised " << e;
    }
}

TEST_F(Hostile, LogGridWithInfiniteOrNaNBoundsIsRefused) {
    for (bool fine : {false, true}) {
        EXPECT_EQ(errorOf([&] {
                      c.handle.call(d::PlotGridLogx, 40.0f, 20.0f, 380.0f, 260.0f, double(kInf), 10.0, fine);
                  }),
                  err::InvalidCall);
        EXPECT_EQ(errorOf([&] {
                      c.handle.call(d::PlotGridLogy, 40.0f, 20.0f, 380.0f, 260.0f, 1.0, double(kInf), fine);
                  }),
                  err::InvalidCall);
        EXPECT_EQ(errorOf([&] {
                      c.handle.call(d::PlotGridLogy, 40.0f, 20.0f, 380.0f, 260.0f, double(kNaN), 1.0, fine);
                  }),
                  err::InvalidCall);
    }
}

TEST_F(Hostile, RefusedCreateSeriesChangesNothing) {
    SafeArray bad = ints({5, -1});  // the second count is refused (9)
    EXPECT_EQ(errorOf([&] { c.handle.call(d::CreateSeries, int16_t(2), bad); }), err::SubscriptOutOfRange);
    SafeArray shortArray = ints({5});  // two series asked for, one count given (9)
    EXPECT_EQ(errorOf([&] { c.handle.call(d::CreateSeries, int16_t(2), shortArray); }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(c.handle.get(d::nSeries).toI2(), 1);
    EXPECT_EQ(c.handle.get(d::nPoints, int16_t(0)).toI4(), 3);
    EXPECT_EQ(plotError(), 0);
}

TEST_F(Hostile, RefusedAppendSeriesChangesNothing) {
    EXPECT_EQ(errorOf([&] { c.handle.call(d::AppendSeries, int32_t(-5)); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { c.handle.call(d::AppendSeries, int32_t(1 << 28)); }), err::OutOfMemory);
    EXPECT_EQ(c.handle.get(d::nSeries).toI2(), 1);
    EXPECT_EQ(plotError(), 0);
}

TEST_F(Hostile, TotalOfAllSlotsIsCappedBeforeAllocating) {
    // Each slot alone is allowed (2^27 points), but sixteen of them would be 16 GiB.
    SafeArray counts = ints({1 << 27, 1 << 27, 1 << 27, 1 << 27});
    EXPECT_EQ(errorOf([&] { c.handle.call(d::CreateSeries, int16_t(4), counts); }), err::OutOfMemory);
    EXPECT_EQ(c.handle.get(d::nSeries).toI2(), 1);
    EXPECT_EQ(c.handle.get(d::nPoints, int16_t(0)).toI4(), 3);
}

TEST_F(Hostile, RefusedGridValuesKeepTheGrid) {
    SafeArray good = floats({1, 2, 3});
    int16_t n = 3;
    c.handle.call(d::SetGridxVal, good, n);
    ASSERT_EQ(c.handle.get(d::nGridx).toI2(), 3);
    SafeArray shortValues = floats({7, 8});
    int16_t more = 5;  // five values asked for, two given
    EXPECT_EQ(errorOf([&] { c.handle.call(d::SetGridxVal, shortValues, more); }), err::SubscriptOutOfRange);
    EXPECT_EQ(c.handle.get(d::nGridx).toI2(), 3);
    EXPECT_EQ(plotError(), 0);
}
