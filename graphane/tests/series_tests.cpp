// The series store and the plain properties, called by DISPID on a control created by its
// ProgID, as the workbench calls them.
#include <gtest/gtest.h>

#include <cmath>

#include "testutil.h"

using namespace gt;
namespace err = automation::err;

namespace {

class SeriesStore : public ::testing::Test {
  protected:
    void SetUp() override { chart = ControlHandle::create(graphane::ProgId); }

    int16_t count() { return chart.get(d::nSeries).toI2(); }
    int32_t points(int16_t i) { return chart.get(d::nPoints, i).toI4(); }
    std::vector<float> ys(int16_t i) {
        const int32_t n = points(i);
        SafeArray x(automation::ElemType::R4, 0, n), y(automation::ElemType::R4, 0, n);
        int32_t start = 0, all = 0;
        chart.call(d::GetSeries, i, x, y, start, all);
        return y.floats();
    }
    std::vector<float> xs(int16_t i) {
        const int32_t n = points(i);
        SafeArray x(automation::ElemType::R4, 0, n), y(automation::ElemType::R4, 0, n);
        int32_t start = 0, all = 0;
        chart.call(d::GetSeries, i, x, y, start, all);
        return x.floats();
    }
    void create(std::initializer_list<int32_t> n) {
        SafeArray a = ints(n);
        chart.call(d::CreateSeries, int16_t(n.size()), a);
    }

    ControlHandle chart;
};

}  // namespace

TEST_F(SeriesStore, NewControlHasItsInitialisationValues) {
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(points(0), 40);
    EXPECT_EQ(points(1), 64);
    EXPECT_EQ(chart.get(d::xmin).toR4(), 0.0f);
    EXPECT_EQ(chart.get(d::xmax).toR4(), 100.0f);
    EXPECT_EQ(chart.get(d::ymax).toR4(), 10.0f);
    EXPECT_EQ(chart.get(d::BorderStyle).toI2(), 1);
    EXPECT_EQ(chart.get(d::GridColor).toI4(), 0x8080);
    EXPECT_EQ(chart.get(d::BorderColor).toI4(), 0xFF0000);
    EXPECT_EQ(chart.get(d::TitleX).toString(), "Time(s)");
    EXPECT_EQ(chart.get(d::TitleY).toString(), "Voltage(mv)");
    EXPECT_EQ(chart.get(d::MarginLeft).toR4(), 25.0f);
    EXPECT_EQ(chart.get(d::MarginTop).toR4(), 10.0f);
    EXPECT_EQ(chart.get(d::MarginRight).toR4(), 10.0f);
    EXPECT_EQ(chart.get(d::MarginBottom).toR4(), 20.0f);
    EXPECT_EQ(chart.get(d::nGridx).toI2(), 11);
    EXPECT_EQ(chart.get(d::nGridy).toI2(), 11);
    EXPECT_EQ(chart.get(d::GridSel).toI2(), 1);
    EXPECT_EQ(chart.get(d::LineColor, int16_t(1)).toI4(), 0xFF0000);
    EXPECT_EQ(chart.get(d::DotColor, int16_t(1)).toI4(), 0xFF);
    EXPECT_EQ(chart.get(d::LineStyle, int16_t(0)).toI2(), 1);
    EXPECT_EQ(chart.get(d::DotStyle, int16_t(0)).toI2(), 0);
    EXPECT_TRUE(chart.get(d::SeriesVisible, int16_t(0)).toBool());
}

TEST_F(SeriesStore, CreatedPlaceholderIsDampedWaveAndSineWaves) {
    const std::vector<float> x0 = xs(0), y0 = ys(0), y1 = ys(1);
    ASSERT_EQ(x0.size(), 40u);
    EXPECT_FLOAT_EQ(x0[0], 0.0f);
    EXPECT_FLOAT_EQ(x0[10], 25.0f);  // 10/40 of 0..100
    EXPECT_FLOAT_EQ(y0[0], 5.0f);    // mid of 0..10
    // Damped wave of four periods: a quarter period in, amplitude 5*e^(-2*2.5/40).
    EXPECT_NEAR(y0[2] - 5.0f, 5.0 * std::exp(-2.0 * 2 / 40) * std::sin(6.2831852 * 4 * 2 / 40), 1e-5);
    // Series 1: (i+1)*4 = 8 periods over 64 points, so point 2 is a quarter period.
    EXPECT_NEAR(y1[2], 10.0f, 1e-4);
    EXPECT_NEAR(y1[6], 0.0f, 1e-4);
}

TEST_F(SeriesStore, CreateSeriesCountRules) {
    SafeArray a = ints({5, 6, 7});
    EXPECT_EQ(chart.call(d::CreateSeries, int16_t(0), a).toI4(), 0);
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(points(0), 40);  // slots keep their data
    EXPECT_EQ(chart.call(d::CreateSeries, int16_t(-1), a).toI4(), 0);
    EXPECT_EQ(chart.call(d::CreateSeries, int16_t(3), a).toI4(), 3);
    EXPECT_EQ(points(2), 7);
    SafeArray many = SafeArray::ofInts(std::vector<int32_t>(17, 4));
    EXPECT_EQ(chart.call(d::CreateSeries, int16_t(17), many).toI4(), 0);
    EXPECT_EQ(count(), 3);
    EXPECT_EQ(chart.call(d::CreateSeries, int16_t(16), many).toI4(), 16);
    EXPECT_EQ(count(), 16);
}

TEST_F(SeriesStore, CreateSeriesResetsAttributes) {
    chart.put(d::LineColor, int16_t(0), int32_t(0x123456));
    chart.put(d::DotStyle, int16_t(0), int16_t(3));
    chart.put(d::SeriesVisible, int16_t(0), false);
    create({10});
    EXPECT_EQ(chart.get(d::LineColor, int16_t(0)).toI4(), 0xFF0000);
    EXPECT_EQ(chart.get(d::DotStyle, int16_t(0)).toI2(), 0);
    EXPECT_TRUE(chart.get(d::SeriesVisible, int16_t(0)).toBool());
}

TEST_F(SeriesStore, CreateSeriesWithArrayWithoutElementZeroFailsAndChangesNothing) {
    const int16_t before = count();
    SafeArray a = ints({3, 3, 3}, 1);
    EXPECT_EQ(errorOf([&] { chart.call(d::CreateSeries, int16_t(3), a); }), err::SubscriptOutOfRange);
    EXPECT_EQ(count(), before);
    SafeArray wrongType = floats({1, 2});
    EXPECT_EQ(errorOf([&] { chart.call(d::CreateSeries, int16_t(2), wrongType); }), err::TypeMismatch);
}

TEST_F(SeriesStore, AppendSeriesOnEmptyChartMakesCosinePeriod) {
    SafeArray none = ints({1});
    chart.call(d::CreateSeries, int16_t(0), none);
    EXPECT_EQ(chart.call(d::AppendSeries, int32_t(100)).toI4(), 1);
    const std::vector<float> x = xs(0), y = ys(0);
    ASSERT_EQ(x.size(), 100u);
    EXPECT_FLOAT_EQ(x[1], 1.0f);
    EXPECT_FLOAT_EQ(y[0], 10.0f);
    EXPECT_NEAR(y[50], 0.0f, 1e-4);  // half a period
    EXPECT_NEAR(y[25], 5.0f, 1e-4);
}

TEST_F(SeriesStore, AppendSeriesFollowsLengthOfSeriesZero) {
    SafeArray a = ints({100});
    chart.call(d::CreateSeries, int16_t(1), a);
    chart.put(d::LineStyle, int16_t(1), int16_t(4));
    EXPECT_EQ(chart.call(d::AppendSeries, int32_t(200)).toI4(), 2);
    const std::vector<float> y = ys(1), x = xs(1);
    ASSERT_EQ(y.size(), 200u);
    EXPECT_FLOAT_EQ(y[0], 10.0f);
    EXPECT_EQ(y[150], 0.0f);
    EXPECT_EQ(x[5], 0.0f);
    EXPECT_EQ(chart.get(d::LineStyle, int16_t(1)).toI2(), 4);  // not reset by AppendSeries
    // Shorter than series 0: fails, but the count and the new slot stay.
    EXPECT_EQ(errorOf([&] { chart.call(d::AppendSeries, int32_t(50)); }), err::SubscriptOutOfRange);
    EXPECT_EQ(count(), 3);
    EXPECT_EQ(points(2), 50);
}

TEST_F(SeriesStore, AppendSeriesStopsAtFifteen) {
    SafeArray a = SafeArray::ofInts(std::vector<int32_t>(15, 3));
    chart.call(d::CreateSeries, int16_t(15), a);
    EXPECT_EQ(chart.call(d::AppendSeries, int32_t(3)).toI4(), 15);
    EXPECT_EQ(count(), 15);
}

TEST_F(SeriesStore, DeleteSeriesMovesLaterSeriesDown) {
    create({3, 4, 5});
    chart.put(d::LineColor, int16_t(2), int32_t(0x00FF00));
    EXPECT_EQ(chart.call(d::DeleteSeries, int16_t(0)).toI4(), 2);
    EXPECT_EQ(points(0), 4);
    EXPECT_EQ(points(1), 5);
    EXPECT_EQ(chart.get(d::LineColor, int16_t(1)).toI4(), 0x00FF00);
    EXPECT_EQ(chart.call(d::DeleteSeries, int16_t(1)).toI4(), 1);  // the last one
}

TEST_F(SeriesStore, DeleteSeriesAboveCountEmptiesThatSlot) {
    create({3, 4});
    EXPECT_EQ(chart.call(d::DeleteSeries, int16_t(5)).toI4(), 1);
    EXPECT_EQ(points(1), 4);  // series 1 keeps its data outside the count
    EXPECT_EQ(errorOf([&] { chart.call(d::DeleteSeries, int16_t(16)); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { chart.call(d::DeleteSeries, int16_t(-1)); }), err::SubscriptOutOfRange);
    EXPECT_EQ(count(), 1);
}

TEST_F(SeriesStore, CutSlotKeepsItsCountButReadsFail) {
    create({3, 4});
    chart.call(d::DeleteSeries, int16_t(1));
    chart.call(d::SwitchSeries, int16_t(0), int16_t(1));  // brings the cut slot into use
    EXPECT_EQ(points(0), 4);
    SafeArray x(automation::ElemType::R4, 0, 4), y(automation::ElemType::R4, 0, 4);
    int32_t start = 0, n = 0;
    EXPECT_EQ(errorOf([&] { chart.call(d::GetSeries, int16_t(0), x, y, start, n); }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { chart.call(d::Plot, false); }), err::SubscriptOutOfRange);
}

TEST_F(SeriesStore, SwitchSeriesExchangesWholeSlots) {
    create({3, 7});
    chart.put(d::DotColor, int16_t(0), int32_t(0x111111));
    chart.call(d::SwitchSeries, int16_t(0), int16_t(1));
    EXPECT_EQ(points(0), 7);
    EXPECT_EQ(points(1), 3);
    EXPECT_EQ(chart.get(d::DotColor, int16_t(1)).toI4(), 0x111111);
    EXPECT_EQ(errorOf([&] { chart.call(d::SwitchSeries, int16_t(0), int16_t(16)); }),
              err::SubscriptOutOfRange);
}

TEST_F(SeriesStore, SetSeriesWithStartPointAndCount) {
    create({12});
    SafeArray x = floats({100, 101, 102, 103, 104}), y = floats({200, 201, 202, 203, 204});
    int32_t start = 10, n = 5;
    chart.call(d::SetSeries, int16_t(0), x, y, start, n);
    const std::vector<float> gx = xs(0), gy = ys(0);
    EXPECT_EQ(gx[10], 100.0f);
    EXPECT_EQ(gx[11], 101.0f);
    EXPECT_EQ(gy[11], 201.0f);
    EXPECT_NE(gx[9], 104.0f);
    EXPECT_EQ(points(0), 12);  // size never changes
}

TEST_F(SeriesStore, SetSeriesWithZeroCountCopiesAllPoints) {
    create({4});
    SafeArray x = floats({1, 2, 3, 4}), y = floats({5, 6, 7, 8});
    int32_t start = 0, n = 0;
    chart.call(d::SetSeries, int16_t(0), x, y, start, n);
    EXPECT_EQ(ys(0), (std::vector<float>{5, 6, 7, 8}));
    EXPECT_EQ(xs(0), (std::vector<float>{1, 2, 3, 4}));
}

TEST_F(SeriesStore, SetSeriesFailsAtFirstElementOutsideCallerArray) {
    create({6});
    SafeArray x = floats({1, 2, 3}), y = floats({9, 9, 9});
    int32_t start = 0, n = 6;
    EXPECT_EQ(errorOf([&] { chart.call(d::SetSeries, int16_t(0), x, y, start, n); }),
              err::SubscriptOutOfRange);
    const std::vector<float> gx = xs(0);
    EXPECT_EQ(gx[2], 3.0f);  // written before the failure
    SafeArray based1 = floats({1, 2, 3, 4, 5, 6}, 1);
    EXPECT_EQ(errorOf([&] { chart.call(d::SetSeries, int16_t(0), based1, based1, start, n); }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { chart.call(d::SetSeries, int16_t(16), x, y, start, n); }),
              err::SubscriptOutOfRange);
}

TEST_F(SeriesStore, GetSeriesMirrorsSetSeries) {
    create({5});
    SafeArray x = floats({0, 1, 2, 3, 4}), y = floats({10, 11, 12, 13, 14});
    int32_t start = 0, n = 0;
    chart.call(d::SetSeries, int16_t(0), x, y, start, n);
    SafeArray gx(automation::ElemType::R4, 0, 3), gy(automation::ElemType::R4, 0, 3);
    int32_t from = 3, three = 3;  // points 3, 4 exist, 5 is skipped
    chart.call(d::GetSeries, int16_t(0), gx, gy, from, three);
    EXPECT_EQ(gy.floats(), (std::vector<float>{13, 14, 0}));
    SafeArray negative(automation::ElemType::R4, 0, 5), negy(automation::ElemType::R4, 0, 5);
    int32_t before = -2, five = 5;  // points -2, -1 do not exist: elements 0, 1 stay untouched
    chart.call(d::GetSeries, int16_t(0), negative, negy, before, five);
    EXPECT_EQ(negy.floats(), (std::vector<float>{0, 0, 10, 11, 12}));
}

TEST_F(SeriesStore, WritingPointCountResizesKeepingLeadingValues) {
    create({4});
    SafeArray x = floats({1, 2, 3, 4}), y = floats({5, 6, 7, 8});
    int32_t start = 0, n = 0;
    chart.call(d::SetSeries, int16_t(0), x, y, start, n);
    chart.put(d::nPoints, int16_t(0), int32_t(6));
    EXPECT_EQ(ys(0), (std::vector<float>{5, 6, 7, 8, 0, 0}));
    chart.put(d::nPoints, int16_t(0), int32_t(0));
    EXPECT_EQ(points(0), 0);
    chart.put(d::nPoints, int16_t(0), int32_t(2));
    EXPECT_EQ(ys(0), (std::vector<float>{0, 0}));  // content discarded at 0
    EXPECT_EQ(errorOf([&] { chart.put(d::nPoints, int16_t(0), int32_t(2000000000)); }), err::OutOfMemory);
    EXPECT_EQ(points(0), 2);
}

TEST_F(SeriesStore, SlotPropertiesAcceptAnySlotAndRefuseOthers) {
    chart.put(d::LineWidth, int16_t(15), int16_t(3));
    EXPECT_EQ(chart.get(d::LineWidth, int16_t(15)).toI2(), 3);
    EXPECT_EQ(errorOf([&] { chart.put(d::LineWidth, int16_t(16), int16_t(3)); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { chart.get(d::DotColor, int16_t(-1)); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { chart.put(d::LineStyle, int16_t(0), int32_t(70000)); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { chart.put(d::BorderStyle, int32_t(-40000)); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { chart.put(d::xmin, "abc"); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { chart.put(d::nSeries, int16_t(3)); }), err::MemberNotSupported);
}

TEST_F(SeriesStore, GridCountsAndValueTables) {
    chart.put(d::nGridx, int16_t(-1));
    EXPECT_EQ(chart.get(d::nGridx).toI2(), 11);
    chart.put(d::nGridy, int16_t(-1));
    EXPECT_EQ(chart.get(d::nGridy).toI2(), -1);
    std::vector<float> v(40);
    for (int i = 0; i < 40; ++i) v[size_t(i)] = float(i);
    SafeArray values = floats(v);
    int16_t n = 40;
    chart.call(d::SetGridxVal, values, n);
    EXPECT_EQ(chart.get(d::nGridx).toI2(), 40);
    chart.put(d::nGridx, int16_t(5));
    int16_t zero = 0;
    SafeArray five = floats({1, 2, 3, 4, 5});
    chart.call(d::SetGridxVal, five, zero);  // reuses nGridx = 5
    EXPECT_EQ(chart.get(d::nGridx).toI2(), 5);
    SafeArray short3 = floats({1, 2, 3});
    int16_t four = 4;
    EXPECT_EQ(errorOf([&] { chart.call(d::SetGridyVal, short3, four); }), err::SubscriptOutOfRange);
    EXPECT_EQ(chart.get(d::nGridy).toI2(), -1);  // a refused call keeps the count
}

TEST(SeriesModel, GridTableStoresOnlyThirtyValues) {
    graphane::ChartModel m;
    std::vector<float> v(40, 7.0f);
    SafeArray values = floats(v);
    m.setGridValues(false, values, 40);
    EXPECT_EQ(m.nGridx, 40);
    EXPECT_EQ(m.gridX[29], 7.0f);
}

TEST(SeriesModel, PointsInRangeCopiesTheFirstMatches) {
    graphane::ChartModel m;
    SafeArray n = ints({10});
    m.createSeries(1, n);
    std::vector<float> x(10), y(10);
    for (int i = 0; i < 10; ++i) x[size_t(i)] = 10.0f + float(i), y[size_t(i)] = float(i * i);
    SafeArray ax = floats(x), ay = floats(y);
    m.setSeries(0, ax, ay, 0, 0);
    SafeArray ox(automation::ElemType::R4, 0, 5), oy(automation::ElemType::R4, 0, 5);
    EXPECT_EQ(m.pointsInRange(0, 10, 20, ox, oy, 5), 5);
    EXPECT_EQ(ox.floats(), (std::vector<float>{10, 11, 12, 13, 14}));
    EXPECT_EQ(oy.floats(), (std::vector<float>{0, 1, 4, 9, 16}));
    EXPECT_EQ(m.pointsInRange(0, 13.5f, 15, ox, oy, 5), 2);
    SafeArray small(automation::ElemType::R4, 0, 2);
    EXPECT_EQ(errorOf([&] { m.pointsInRange(0, 10, 20, small, oy, 5); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { m.pointsInRange(16, 10, 20, ox, oy, 5); }), err::SubscriptOutOfRange);
    m.createSeries(0, n);
    EXPECT_EQ(m.pointsInRange(0, 10, 20, ox, oy, 5), 0);  // no series
}
