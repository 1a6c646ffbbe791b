// Form1's hidden style, data, grid and example commands through the menu with the real chart.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "automation/errors.h"
#include "automation/safearray.h"
#include "graphane/dispids.h"
#include "tessiq/dispids.h"
#include "testfiles.h"

namespace wavedesk {
namespace {

namespace id = graphane::dispid;

class Menus : public test::WorkbenchTest {
  protected:
    // With WAVEDESK_PICTURES set, every test leaves the main chart's picture there (for looking at
    // the drawing and example commands).
    void TearDown() override {
        const QString folder = qEnvironmentVariable("WAVEDESK_PICTURES");
        if (!folder.isEmpty()) {
            const QString name =
                QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
            picture(chart()).save(QDir(folder).filePath(name + ".png"));
        }
        test::WorkbenchTest::TearDown();
    }
    int16_t series() { return chart().get(id::nSeries).toI2(); }
    int16_t style(automation::DispId member) { return chart().get(member, int16_t(0)).toI2(); }
    std::vector<float> ys(int16_t k) {
        const int32_t n = chart().get(id::nPoints, k).toI4();
        automation::SafeArray x(automation::ElemType::R4, 0, n), y(automation::ElemType::R4, 0, n);
        int32_t start = 0, count = n;
        chart().call(id::GetSeries, k, x, y, start, count);
        return y.floats();
    }
    struct Area {
        float x1, y1, x2, y2;
    };
    Area area() {
        Area a{};
        chart().call(id::GetChartArea, a.x1, a.y1, a.x2, a.y2);
        return a;
    }
    // Method calls of the main chart from `from` on, of one member.
    std::vector<test::SpyControl::Call> callsSince(std::size_t from, automation::DispId member) {
        std::vector<test::SpyControl::Call> out;
        const auto &calls = mainSpy()->calls;
        for (std::size_t i = from; i < calls.size(); ++i)
            if (calls[i].id == member && calls[i].kind == automation::InvokeKind::Method)
                out.push_back(calls[i]);
        return out;
    }
    std::size_t mark() { return mainSpy()->calls.size(); }
    int near(const QImage &image, double x, double y, int32_t color, int half = 2) {
        return test::countColor(
            image, QRect(int(std::lround(x)) - half, int(std::lround(y)) - half, 2 * half + 1, 2 * half + 1),
            color);
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
                 {"idm_DotX", id::DotStyle, true, 4},         {"idm_DotPlus", id::DotStyle, true, 1},
                 {"idm_DotCircle", id::DotStyle, true, 2},    {"idm_DotBox", id::DotStyle, true, 3},
                 {"idm_DotTriangle", id::DotStyle, true, 5},  {"idm_DotNone", id::DotStyle, true, 0},
                 {"idm_LineNone", id::LineStyle, true, 0},    {"idm_LineDash", id::LineStyle, true, 2},
                 {"idm_LineDashDot", id::LineStyle, true, 3}, {"idm_Bar", id::LineStyle, true, 4},
                 {"idm_Bar3D", id::LineStyle, true, 5},       {"idm_LineSolid", id::LineStyle, true, 1},
                 {"idm_GridNone", id::GridSel, false, 0},     {"idm_EquSpace", id::GridSel, false, 1},
                 {"idm_GridCM", id::GridSel, false, 3},       {"idm_Grid5mm", id::GridSel, false, 5}};
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
    const int32_t n0 = chart().get(id::nPoints, int16_t(0)).toI4(),
                  n1 = chart().get(id::nPoints, int16_t(1)).toI4();
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
    for (int j = 0; j < 1000; j += 37)
        EXPECT_NEAR(b[j], std::cos(j / 10.0 * 2 * M_PI / 20) / 3 + 0.5, 1e-5) << j;
    EXPECT_EQ(style(id::DotStyle), 2);
    EXPECT_EQ(chart().get(id::TitleX).toString(), "Time(s)");
    EXPECT_EQ(chart().get(id::nGridx).toI2(), 11);
    // The cosine's peak at x = 0 (y = 5/6) is drawn in blue near the left edge of the area.
    const QPointF top = pixelAt(chart(), 1.0f, std::cos(1.0f * 6.2831852f / 20) / 3 + 0.5f);
    EXPECT_GT(test::countColor(picture(chart()), QRect(int(top.x()) - 2, int(top.y()) - 2, 5, 5), 0xFF0000),
              0);
}

TEST_F(Menus, LogGridsDrawDecadesAndRestoreTheGridCounts) {
    open({1000, 3000, 2000});
    const struct {
        const char *name;
        bool logX, logY, fine;
    } items[] = {{"idm_GridLogX", true, false, true},
                 {"idm_GridLogY", false, true, true},
                 {"idm_GridXY", true, true, false}};
    for (const auto &item : items) {
        chart().put(id::GridSel, int16_t(0));
        chart().put(id::nGridx, int16_t(4));
        chart().put(id::nGridy, int16_t(4));
        const std::size_t from = mark();
        trigger(item.name);
        EXPECT_EQ(chart().get(id::GridSel).toI2(), 1) << item.name;
        EXPECT_EQ(chart().get(id::nGridx).toI2(), 4) << item.name;
        EXPECT_EQ(chart().get(id::nGridy).toI2(), 4) << item.name;
        const Area a = area();
        for (auto [member, used] :
             {std::pair{id::PlotGridLogx, item.logX}, std::pair{id::PlotGridLogy, item.logY}}) {
            const auto calls = callsSince(from, member);
            ASSERT_EQ(calls.size(), used ? 1u : 0u) << item.name;
            if (!used) continue;
            const auto &args = calls[0].args;
            ASSERT_EQ(args.size(), 7u);
            EXPECT_FLOAT_EQ(args[0].toR4(), a.x1);
            EXPECT_FLOAT_EQ(args[3].toR4(), a.y2);
            EXPECT_DOUBLE_EQ(args[4].toR8(), 1.0);
            EXPECT_DOUBLE_EQ(args[5].toR8(), 10000.0);
            EXPECT_EQ(args[6].toBool(), item.fine) << item.name;
        }
        const auto plots = callsSince(from, id::Plot);
        ASSERT_EQ(plots.size(), 1u);
        EXPECT_TRUE(plots[0].args.at(0).toBool()) << "the log grid's background is kept";
        // Decade 10 a quarter of the way along; the ordinary grid's line at two thirds is gone.
        const int32_t grid = chart().get(id::GridColor).toI4();
        const QImage image = picture(chart());
        const double w = a.x2 - a.x1, h = a.y2 - a.y1;
        if (item.logX) {
            const int x = int(std::lround(a.x1 + w / 4));
            const QRect column(x - 1, int(a.y1 + h * 0.3), 3, int(h * 0.15));
            EXPECT_GT(test::countColor(image, column, grid), 5) << item.name;
            if (!item.fine) {
                const int third = int(std::lround(a.x1 + w * 2 / 3));
                EXPECT_EQ(
                    test::countColor(image, QRect(third - 1, int(a.y1 + h * 0.3), 3, int(h * 0.15)), grid),
                    0);
            }
        }
        if (item.logY) {
            const int y = int(std::lround(a.y2 - h / 4));
            const QRect row(int(a.x1 + w * 0.3), y - 1, int(w * 0.15), 3);
            EXPECT_GT(test::countColor(image, row, grid), 5) << item.name;
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Menus, ScatterDotsMakeOneSeriesOfRandomPoints) {
    trigger("idm_New");
    trigger("idm_ScatterDots");
    ASSERT_EQ(series(), 1);
    std::vector<float> x;
    const std::vector<float> y = WorkbenchTest::series(chart(), 0, &x);
    ASSERT_EQ(y.size(), 2000u);
    EXPECT_EQ(style(id::LineStyle), 6);
    EXPECT_EQ(chart().get(id::LineColor, int16_t(0)).toI4(), 255);
    EXPECT_EQ(style(id::LineWidth), 1);
    for (std::size_t i = 0; i < y.size(); ++i) {
        ASSERT_TRUE(x[i] >= -1.0f && x[i] < 1.0f) << i;
        ASSERT_LE(std::fabs(y[i]), 1.0f) << i;
    }
    // Uniform in x: both halves hold about half of the points.
    const auto left = std::count_if(x.begin(), x.end(), [](float v) { return v < 0; });
    EXPECT_GT(left, 800);
    EXPECT_LT(left, 1200);
}

TEST_F(Menus, TextExampleFramesItsTwoBlocks) {
    trigger("idm_New");
    const std::size_t from = mark();
    trigger("idm_Text");
    EXPECT_TRUE(callsSince(from, id::Plot).empty());
    const auto frames = callsSince(from, id::PlotLine);
    ASSERT_EQ(frames.size(), 2u);
    // The first frame spans the title's width in the title font; the second 100 mm from x = 20.
    chart().put(id::FontName, std::string("黑体"));
    chart().put(id::FontSize, int16_t(16));
    chart().put(id::FontBold, true);
    chart().put(id::FontItalic, true);
    const float titleWidth =
        chart().call(id::TextWidth, std::string("This is a good example: 例子示范")).toR4();
    const float titleHeight =
        chart().call(id::TextHeight, std::string("This is a good example: 例子示范")).toR4();
    const float mm100 = chart().call(id::ScaleX, 100.0f, int16_t(6), int16_t(3)).toR4();
    const auto &f1 = frames[0].args, &f2 = frames[1].args;
    EXPECT_FLOAT_EQ(f1.at(0).toR4(), 20.0f);
    EXPECT_FLOAT_EQ(f1.at(1).toR4(), 25.0f);
    EXPECT_FLOAT_EQ(f1.at(2).toR4(), titleWidth + 20.0f);
    EXPECT_FLOAT_EQ(f1.at(3).toR4(), 25.0f + titleHeight);
    EXPECT_EQ(f1.at(5).toString(), "B");
    EXPECT_FLOAT_EQ(f2.at(1).toR4(), f1.at(3).toR4() + 10.0f);
    EXPECT_FLOAT_EQ(f2.at(2).toR4(), mm100 + 20.0f);
    EXPECT_GT(f2.at(3).toR4(), f2.at(1).toR4() + 3 * 12);  // several lines of text
    const QImage image = picture(chart());
    const float mid1 = (20.0f + f1.at(2).toR4()) / 2, mid2 = (20.0f + f2.at(2).toR4()) / 2;
    EXPECT_GT(near(image, mid1, 25, 255, 1), 0);  // top edge of the red title frame
    EXPECT_GT(near(image, 20, (25 + f1.at(3).toR4()) / 2, 255, 1), 0);
    EXPECT_GT(near(image, mid2, f2.at(3).toR4(), 0x4000, 1), 0);  // bottom edge of the green block frame
    EXPECT_GT(near(image, f2.at(2).toR4(), (f2.at(1).toR4() + f2.at(3).toR4()) / 2, 0x4000, 1), 0);
    // Blue text inside both frames.
    EXPECT_GT(test::countColor(image, QRect(21, 26, int(titleWidth) - 2, int(titleHeight) - 2), 0xFF0000),
              20);
    EXPECT_GT(test::countColor(image,
                               QRect(21, int(f2.at(1).toR4()) + 1, int(mm100) - 2,
                                     int(f2.at(3).toR4() - f2.at(1).toR4()) - 2),
                               0xFF0000),
              100);
}

TEST_F(Menus, BaseGraphDrawsItsShapesAtTheirCoordinates) {
    trigger("idm_New");
    const std::size_t from = mark();
    trigger("idm_BaseGraph");
    EXPECT_TRUE(callsSince(from, id::Plot).empty());
    EXPECT_FLOAT_EQ(chart().get(id::MarginLeft).toR4(), 30.0f);
    EXPECT_FLOAT_EQ(chart().get(id::MarginBottom).toR4(), 20.0f);
    const Area a = area();
    const QImage image = picture(chart());
    ASSERT_GT(image.height(), 310);
    // Red rectangle outline 5 pixels inside the area.
    EXPECT_GT(near(image, (a.x1 + a.x2) / 2, a.y1 + 5, 255, 1), 0);
    EXPECT_GT(near(image, a.x2 - 5, (a.y1 + a.y2) / 2, 255, 1), 0);
    EXPECT_EQ(near(image, (a.x1 + a.x2) / 2, (a.y1 + a.y2) / 2, 255, 3), 0);
    // Blue ellipse in the box 15..95 x 20..70: its left end at (15, 45), its centre left empty.
    EXPECT_GT(near(image, 15, 45, 0xFF0000), 0);
    EXPECT_EQ(near(image, 55, 45, 0xFF0000), 0);
    // Green filled ellipse in 15..65 x 100..180.
    EXPECT_EQ(near(image, 40, 140, 0xC000, 3), 49);
    // Arcs of the circle of radius 50 about (150, 250): 15 to 75 degrees open, 100 to 145 closed.
    const double r = 50, deg = M_PI / 180;
    EXPECT_GT(near(image, 150 + r * std::cos(45 * deg), 250 - r * std::sin(45 * deg), 0xC000FF), 0);
    EXPECT_EQ(near(image, 150 + r * std::cos(90 * deg), 250 - r * std::sin(90 * deg), 0xC000FF), 0);
    EXPECT_GT(near(image, 150 + r * std::cos(18 * deg), 250 - r * std::sin(18 * deg), 0xC000FF, 1), 0);
    EXPECT_EQ(near(image, 150 + r * std::cos(9 * deg), 250 - r * std::sin(9 * deg), 0xC000FF, 1), 0);
    EXPECT_GT(near(image, 150 + r * std::cos(120 * deg), 250 - r * std::sin(120 * deg), 0x800080), 0);
    EXPECT_GT(near(image, 150 + r / 2 * std::cos(100 * deg), 250 - r / 2 * std::sin(100 * deg), 0x800080), 0);
    EXPECT_EQ(near(image, 150 + r / 2 * std::cos(45 * deg), 250 - r / 2 * std::sin(45 * deg), 0xC000FF), 0);
}

TEST_F(Menus, DunePatternRemovesTheSeriesAndDrawsItsRows) {
    trigger("idm_New");
    const std::size_t from = mark();
    trigger("idm_ShaQiu");
    if (qEnvironmentVariableIsSet("WAVEDESK_PICTURES"))
        picture(chart()).save(QDir(qEnvironmentVariable("WAVEDESK_PICTURES")).filePath("DunePattern.png"));
    EXPECT_EQ(series(), 0);
    EXPECT_TRUE(callsSince(from, id::Plot).empty());
    const Area a = area();
    const QImage image = picture(chart());
    // Row y1: t = 0 and t = 6 pi both lie on the row itself, at the area's two sides.
    EXPECT_GT(near(image, a.x1, a.y1, 0x1000, 1), 0);
    EXPECT_GT(near(image, a.x2, a.y1, 0x1000, 1), 0);
    // Row y1 + 30: a = pi / 3, the curve starts 10 cos(a) sin(pi - pi cos(a)) = 5 pixels below.
    const double p = 3.141593, aa = 30 * 4 * p / 360;
    const double v0 = std::sin(p - p * std::cos(aa)) * 10 * std::cos(aa) + 30;
    EXPECT_GT(near(image, a.x1, a.y1 + v0, 0x1000, 1), 0);
    EXPECT_GT(
        test::countColor(image, QRect(int(a.x1), int(a.y1), int(a.x2 - a.x1), int(a.y2 - a.y1)), 0x1000),
        int(a.x2 - a.x1) * 10);
    // The commands on series 1 meet a chart without series and neither crash nor show anything.
    for (const char *name : {"idm_SVisible", "idm_Drop2", "idm_Switch", "idm_ChangePoints"}) trigger(name);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Menus, HistogramOfFiveThousandNormalDrawsAndTheDensity) {
    test::SpyControl *dsp = spy("TessiqLib.Tessiq");
    ASSERT_NE(dsp, nullptr);
    trigger("idm_Hist");
    const auto draws = dsp->callsOf(tessiq::dispid::e_Normal);
    ASSERT_EQ(draws.size(), 5000u);
    EXPECT_FLOAT_EQ(draws[0].args.at(0).toR4(), 0.0f);
    EXPECT_FLOAT_EQ(draws[0].args.at(1).toR4(), 1.0f);
    ASSERT_EQ(series(), 2);
    std::vector<float> cx, x;
    const std::vector<float> h = WorkbenchTest::series(chart(), 0, &cx),
                             y = WorkbenchTest::series(chart(), 1, &x);
    ASSERT_EQ(h.size(), 25u);
    ASSERT_EQ(y.size(), 100u);
    // Heights times 0.4 * 5000 are the whole counts of the bins, which add up to 5000.
    double total = 0;
    for (int j = 0; j < 25; ++j) {
        EXPECT_NEAR(cx[j], 0.4 * j - 4.8, 1e-5) << j;
        const double count = h[j] * 0.4 * 5000;
        EXPECT_NEAR(count, std::round(count), 1e-2) << j;
        total += std::round(count);
        // A standard normal sample: the bin holds about its probability (wide bounds, no flakes).
        const double expected =
            5000 * (std::erf((cx[j] + 0.2) / M_SQRT2) - std::erf((cx[j] - 0.2) / M_SQRT2)) / 2;
        EXPECT_NEAR(count, expected, 6 * std::sqrt(expected) + 3) << j;
    }
    EXPECT_EQ(total, 5000.0);
    for (int k = 0; k < 100; ++k) {
        const double xk = 0.1 * k - 4.95;
        EXPECT_NEAR(x[k], xk, 1e-5) << k;
        EXPECT_NEAR(y[k], std::exp(-xk * xk / 2) / std::sqrt(double(6.2831859f)), 1e-6) << k;
    }
    EXPECT_FLOAT_EQ(chart().get(id::xmin).toR4(), -5.0f);
    EXPECT_FLOAT_EQ(chart().get(id::ymax).toR4(), 0.5f);
    EXPECT_EQ(style(id::LineStyle), 5);
    EXPECT_EQ(chart().get(id::LineStyle, int16_t(1)).toI2(), 1);
    EXPECT_EQ(chart().get(id::LineColor, int16_t(0)).toI4(), 0xFF0000);
    EXPECT_EQ(chart().get(id::LineColor, int16_t(1)).toI4(), 255);
    EXPECT_EQ(chart().get(id::GridSel).toI2(), 1);
    EXPECT_EQ(chart().get(id::GridColor).toI4(), 0x808080);
    EXPECT_EQ(chart().get(id::TitleX).toString(), "幅度值");
    EXPECT_EQ(chart().get(id::TitleY).toString(), "概率分布");
}

// The temporary folder of the coder commands is the test's own while it runs.
class TempDirectory {
  public:
    explicit TempDirectory(const QString &dir) {
        if (const char *old = std::getenv("TMPDIR")) old_ = old, had_ = true;
        setenv("TMPDIR", QFile::encodeName(dir).constData(), 1);
    }
    ~TempDirectory() {
        if (had_)
            setenv("TMPDIR", old_.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

  private:
    std::string old_;
    bool had_ = false;
};

TEST_F(Menus, CompressThenExpandGivesBackTheFileAndNeverOverwritesTheSource) {
    const QString dir = QFileInfo(files.path("x")).absolutePath();
    TempDirectory tmp(dir);
    ASSERT_EQ(QDir(QDir::tempPath()).absolutePath(), QDir(dir).absolutePath());
    const QString cmp = QDir(dir).filePath("Temp.cmp"), exe = QDir(dir).filePath("Temp.exe");
    std::string content;
    for (int i = 0; i < 3000; ++i) content += char((i * i / 7) % 23 + (i % 5 == 0 ? 200 : 40));
    const QString source = files.write("source.bin", content);
    ui.choose(source);
    trigger("idm_Compress");
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].filter, "All Files(*.*)|*.*");
    EXPECT_TRUE(ui.dialogs[0].cancelError);
    ASSERT_TRUE(QFileInfo::exists(cmp));
    const std::string packed = test::readFile(cmp);
    EXPECT_NE(packed, content);
    ui.choose(cmp);
    trigger("idm_Expand");
    EXPECT_EQ(test::readFile(exe), content);
    EXPECT_EQ(test::readFile(source), content);
    // Compressing Temp.cmp itself (here through a second name) is refused and leaves it whole.
    ui.choose(cmp);
    trigger("idm_Compress");
    EXPECT_EQ(test::readFile(cmp), packed);
    ASSERT_TRUE(QFile::link(cmp, files.path("alias.cmp")));
    ui.choose(files.path("alias.cmp"));
    trigger("idm_Compress");
    EXPECT_EQ(test::readFile(cmp), packed);
    // Expanding Temp.exe into itself likewise.
    ui.choose(exe);
    trigger("idm_Expand");
    EXPECT_EQ(test::readFile(exe), content);
    // A source that cannot be read leaves no earlier output standing as this command's result.
    ui.choose(files.path("missing.bin"));
    trigger("idm_Compress");
    EXPECT_FALSE(QFileInfo::exists(cmp));
    // Cancelling does nothing.
    ui.cancel();
    trigger("idm_Expand");
    EXPECT_EQ(test::readFile(exe), content);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(MenusWithoutDsp, HistogramAndTheCodersDoNothing) {
    test::RecordingChart *chart = nullptr;
    Form1 form(nullptr, [&chart](const std::string &progId) -> std::unique_ptr<automation::Control> {
        if (progId != "GraphaneLib.Graphane")
            automation::raise(automation::err::CantCreateObject, "no " + progId);
        auto made = std::make_unique<test::RecordingChart>();
        chart = made.get();
        return made;
    });
    ASSERT_FALSE(form.tessiqProblem().isEmpty());
    test::ScriptedUi ui;
    const std::size_t before = chart->log.size();
    for (const char *name : {"idm_Hist", "idm_Compress", "idm_Expand"})
        form.menuItem(QString::fromLatin1(name))->trigger();
    EXPECT_EQ(chart->log.size(), before);
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace wavedesk
