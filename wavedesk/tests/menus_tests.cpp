// Form1's hidden style, data, grid and example commands through the menu with the real chart.
#include <gtest/gtest.h>

#include <QAction>
#include <cmath>

#include "automation/safearray.h"
#include "graphane/dispids.h"
#include "testfiles.h"

namespace wavedesk {
namespace {

namespace id = graphane::dispid;

class Menus : public test::WorkbenchTest {
 protected:
  int16_t series() { return chart().get(id::nSeries).toI2(); }
  int16_t style(automation::DispId member) { return chart().get(member, int16_t(0)).toI2(); }
  std::vector<float> ys(int16_t k) {
    const int32_t n = chart().get(id::nPoints, k).toI4();
    automation::SafeArray x(automation::ElemType::R4, 0, n), y(automation::ElemType::R4, 0, n);
    int32_t start = 0, count = n;
    chart().call(id::GetSeries, k, x, y, start, count);
    return y.floats();
  }
};

TEST_F(Menus, StyleItemsSetTheirOneProperty) {
  open({1000, 3000, 2000, 5000});
  const struct {
    const char *name;
    automation::DispId member;
    bool perSeries;
    int16_t value;
  } items[] = {{"idm_bdSingle", id::BorderStyle, false, 3}, {"idm_bd3din", id::BorderStyle, false, 1},
               {"idm_bd3dout", id::BorderStyle, false, 2},  {"idm_bdnone", id::BorderStyle, false, 0},
               {"idm_DotX", id::DotStyle, true, 4},          {"idm_DotPlus", id::DotStyle, true, 1},
               {"idm_DotCircle", id::DotStyle, true, 2},     {"idm_DotBox", id::DotStyle, true, 3},
               {"idm_DotTriangle", id::DotStyle, true, 5},   {"idm_DotNone", id::DotStyle, true, 0},
               {"idm_LineNone", id::LineStyle, true, 0},     {"idm_LineDash", id::LineStyle, true, 2},
               {"idm_LineDashDot", id::LineStyle, true, 3},  {"idm_Bar", id::LineStyle, true, 4},
               {"idm_Bar3D", id::LineStyle, true, 5},        {"idm_LineSolid", id::LineStyle, true, 1},
               {"idm_GridNone", id::GridSel, false, 0},      {"idm_EquSpace", id::GridSel, false, 1},
               {"idm_GridCM", id::GridSel, false, 3},        {"idm_Grid5mm", id::GridSel, false, 5}};
  for (const auto &item : items) {
    trigger(item.name);
    const int16_t got = item.perSeries ? style(item.member) : chart().get(item.member).toI2();
    EXPECT_EQ(got, item.value) << item.name;
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Menus, WideTwiceReturnsToWidthOneAndClearsItsCheckMark) {
  open({1000, 3000, 2000});
  QAction *wide = form->menuItem("idm_Wide");
  ASSERT_NE(wide, nullptr);
  trigger("idm_Wide");
  EXPECT_EQ(style(id::LineWidth), 5);
  EXPECT_TRUE(wide->isChecked());
  trigger("idm_Wide");
  EXPECT_EQ(style(id::LineWidth), 1);
  EXPECT_FALSE(wide->isChecked());
}

TEST_F(Menus, SeriesCommandsAndMissingSeries) {
  trigger("idm_New");  // three circles
  ASSERT_EQ(series(), 3);
  const bool visible = chart().get(id::SeriesVisible, int16_t(1)).toBool();
  trigger("idm_SVisible");
  EXPECT_EQ(chart().get(id::SeriesVisible, int16_t(1)).toBool(), !visible);
  const int32_t n0 = chart().get(id::nPoints, int16_t(0)).toI4(), n1 = chart().get(id::nPoints, int16_t(1)).toI4();
  trigger("idm_Switch");
  EXPECT_EQ(chart().get(id::nPoints, int16_t(0)).toI4(), n1);
  EXPECT_EQ(chart().get(id::nPoints, int16_t(1)).toI4(), n0);
  trigger("idm_Drop2");
  trigger("idm_Drop1");
  // A chart with one series: the commands on series 1 neither crash nor show anything.
  open({1000, 2000});
  for (const char *name : {"idm_SVisible", "idm_Drop2", "idm_Switch", "idm_BaseLineCalc"}) trigger(name);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Menus, UserGridValuesSpanTheAxisRange) {
  open({1000, 3000});
  chart().put(id::xmin, 0.0f);
  chart().put(id::xmax, 10.0f);
  chart().put(id::ymin, -2.0f);
  chart().put(id::ymax, 3.0f);
  chart().put(id::nGridx, int16_t(11));
  chart().put(id::nGridy, int16_t(6));
  trigger("idm_GridUser");
  EXPECT_EQ(chart().get(id::GridSel).toI2(), 2);
  // Vertical grid lines at x = 0, 1, ... 10 and none half way, between two horizontal lines.
  const int32_t grid = chart().get(id::GridColor).toI4();
  const QImage image = picture(chart());
  auto column = [&](float xv) {
    const QPointF low = pixelAt(chart(), xv, 0.2f), high = pixelAt(chart(), xv, 0.8f);
    const int x = int(std::lround(low.x()));
    return test::countColor(image, QRect(x - 1, int(high.y()), 3, int(low.y() - high.y())), grid);
  };
  for (int i = 1; i < 10; ++i) {
    EXPECT_GT(column(float(i)), 5) << i;
    EXPECT_EQ(column(i + 0.5f), 0) << i;
  }
}

TEST_F(Menus, ChangePointsWritesTwoCosineSeries) {
  trigger("idm_New");
  trigger("idm_ChangePoints");
  EXPECT_FLOAT_EQ(chart().get(id::xmax).toR4(), 10.0f);
  EXPECT_FLOAT_EQ(chart().get(id::ymin).toR4(), -2.0f);
  const std::vector<float> a = ys(0), b = ys(1);
  ASSERT_EQ(a.size(), 40u);
  ASSERT_EQ(b.size(), 40u);
  for (int i = 0; i < 40; ++i) {
    EXPECT_NEAR(a[i], std::cos(2 * M_PI / 40 * i), 1e-5) << i;
    EXPECT_NEAR(b[i], std::cos(2 * M_PI / 45 * i) + std::cos(2 * M_PI / 80 * i), 2e-5) << i;
  }
}

TEST_F(Menus, WaveformExampleDrawsTwoSeriesOnItsAxes) {
  trigger("idm_ExWave");
  ASSERT_EQ(series(), 2);
  const std::vector<float> a = ys(0), b = ys(1);
  ASSERT_EQ(a.size(), 50u);
  ASSERT_EQ(b.size(), 1000u);
  for (int i = 0; i < 50; ++i) EXPECT_NEAR(a[i], std::exp(-std::fabs(2.0 * i - 25) / 25), 1e-6) << i;
  for (int j = 0; j < 1000; j += 37) EXPECT_NEAR(b[j], std::cos(j / 10.0 * 2 * M_PI / 20) / 3 + 0.5, 1e-5) << j;
  EXPECT_EQ(style(id::DotStyle), 2);
  EXPECT_EQ(chart().get(id::TitleX).toString(), "Time(s)");
  EXPECT_EQ(chart().get(id::nGridx).toI2(), 11);
  // The cosine's peak at x = 0 (y = 5/6) is drawn in blue near the left edge of the area.
  const QPointF top = pixelAt(chart(), 1.0f, std::cos(1.0f * 6.2831852f / 20) / 3 + 0.5f);
  EXPECT_GT(test::countColor(picture(chart()), QRect(int(top.x()) - 2, int(top.y()) - 2, 5, 5), 0xFF0000), 0);
}

}  // namespace
}  // namespace wavedesk
