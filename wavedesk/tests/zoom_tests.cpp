// The zoom window through the windows: a rectangle dragged on the main chart copies its
// stretch into Form2, whose pop-up menu draws the signal-to-noise figures, saves the picture
// and sets the axis range. Real chart and DSP controls, watched through spies.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>

#include "form2.h"
#include "graphane/dispids.h"
#include "testfiles.h"

namespace wavedesk {
namespace {

namespace id = graphane::dispid;
using automation::ControlHandle;
using automation::SafeArray;
using test::countColor;
using test::SpyControl;

// A chromatogram in microvolts: drift, two peaks and a deterministic ripple.
std::vector<long long> chromatogram(int n) {
    std::vector<long long> v;
    for (int i = 0; i < n; ++i) {
        double mv = 12 + 2e-3 * i + 0.4 * std::sin(1.7 * i) + 0.25 * std::cos(5.3 * i);
        mv += 80 * std::exp(-0.5 * std::pow((i - 0.4 * n) / 12, 2)) +
              40 * std::exp(-0.5 * std::pow((i - 0.7 * n) / 20, 2));
        v.push_back(std::llround(mv * 1000));
    }
    return v;
}

// Points of series k of the chart whose x lies in lo..hi, as the zoom must copy them.
struct Stretch {
    std::vector<float> x, y;
};

class Zoom : public test::WorkbenchTest {
  protected:
    Stretch inRange(ControlHandle &c, int16_t k, float lo, float hi) {
        Stretch s;
        std::vector<float> x;
        const std::vector<float> y = series(c, k, &x);
        for (std::size_t i = 0; i < x.size(); ++i)
            if (lo <= x[i] && x[i] <= hi) s.x.push_back(x[i]), s.y.push_back(y[i]);
        return s;
    }
    // Drags over the x fraction a..b of the main chart's range and most of its height; returns
    // the value rectangle the chart reported (xv, yv, wv, hv).
    std::array<float, 4> dragOver(double a, double b) {
        ControlHandle &c = chart();
        const float xmin = c.get(id::xmin).toR4(), xmax = c.get(id::xmax).toR4();
        const float ymin = c.get(id::ymin).toR4(), ymax = c.get(id::ymax).toR4();
        const std::size_t before = mainSpy()->events.size();
        drag(c, pixelAt(c, float(xmin + a * (xmax - xmin)), ymin + 0.95f * (ymax - ymin)),
             pixelAt(c, float(xmin + b * (xmax - xmin)), ymin + 0.05f * (ymax - ymin)));
        for (std::size_t i = before; i < mainSpy()->events.size(); ++i) {
            const auto &e = mainSpy()->events[i];
            if (e.id == id::Measured)
                return {e.args[4].toR4(), e.args[5].toR4(), e.args[6].toR4(), e.args[7].toR4()};
        }
        ADD_FAILURE() << "the drag raised no Measured event";
        return {0, 0, 0, 0};
    }
    ControlHandle &zoom() { return form->form2().graphane1(); }
    // A main chart of the given series (x, y) with their line colours.
    void mainSeries(const std::vector<Stretch> &all, const std::vector<int32_t> &colors) {
        std::vector<int32_t> counts;
        for (const Stretch &s : all) counts.push_back(int32_t(s.x.size()));
        SafeArray n = SafeArray::ofInts(counts);
        chart().call(id::CreateSeries, int16_t(all.size()), n);
        for (int16_t k = 0; k < int16_t(all.size()); ++k) {
            SafeArray xs = SafeArray::ofFloats(all[k].x), ys = SafeArray::ofFloats(all[k].y);
            int32_t start = 0, count = counts[k];
            chart().call(id::SetSeries, k, xs, ys, start, count);
            chart().put(id::LineColor, k, colors[k]);
        }
    }
};

Stretch line(int n, float x0, float dx, float y0) {
    Stretch s;
    for (int i = 0; i < n; ++i) s.x.push_back(x0 + dx * float(i)), s.y.push_back(y0 + float(i % 7));
    return s;
}

TEST_F(Zoom, DragAfterPreprocessingCopiesTheFourSeriesInTheirMainColours) {
    open(chromatogram(3000));
    preprocess();
    ASSERT_EQ(chart().get(id::nSeries).toI2(), 4);
    const auto [xv, yv, wv, hv] = dragOver(0.3, 0.5);
    ASSERT_GT(wv, 0);

    Form2 *zoomWindow = existingForm2();
    ASSERT_NE(zoomWindow, nullptr);
    EXPECT_TRUE(zoomWindow->isVisible());
    EXPECT_EQ(zoomWindow->windowTitle(), QStringLiteral("局部信号放大"));
    ControlHandle &z = zoom();
    ASSERT_EQ(z.get(id::nSeries).toI2(), 4);
    for (int16_t k = 0; k < 4; ++k) {
        const Stretch expected = inRange(chart(), k, xv, xv + wv);
        ASSERT_GT(expected.x.size(), 100u);
        std::vector<float> x;
        EXPECT_EQ(series(z, k, &x), expected.y) << "series " << k;
        EXPECT_EQ(x, expected.x) << "series " << k;
        EXPECT_EQ(z.get(id::LineColor, k).toI4(), chart().get(id::LineColor, k).toI4());
        EXPECT_EQ(z.get(id::DotStyle, k).toI2(), graphane::GRAPHANEDOTNONE);
        EXPECT_EQ(z.get(id::LineStyle, k).toI2(), graphane::GRAPHANELINESOLID);
        EXPECT_EQ(z.get(id::LineWidth, k).toI2(), 1);
    }
    EXPECT_EQ(z.get(id::xmin).toR4(), xv);
    EXPECT_EQ(z.get(id::xmax).toR4(), xv + wv);
    EXPECT_EQ(z.get(id::ymin).toR4(), yv - hv);
    EXPECT_EQ(z.get(id::ymax).toR4(), yv);
    EXPECT_EQ(z.get(id::TitleX).toString(), "Min");
    EXPECT_EQ(z.get(id::TitleY).toString(), "mv");
    EXPECT_EQ(z.get(id::GridSel).toI2(), graphane::GRAPHANEGRIDVALUE);
    // At the bottom-right corner of the screen.
    const QRect free = zoomWindow->screen()->availableGeometry();
    EXPECT_EQ(zoomWindow->frameGeometry().bottomRight(), free.bottomRight());
}

TEST_F(Zoom, SignalToNoiseTextIsDrawnOnTheZoomPictureWithTheFiguresOfInputAndCorrected) {
    open(chromatogram(3000));
    preprocess();
    const auto [xv, yv, wv, hv] = dragOver(0.3, 0.5);
    ControlHandle &z = zoom();
    z.put(id::FontSize, int16_t(9));
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    z.call(id::GetChartArea, x1, y1, x2, y2);
    const QRect textBox(int(x1) + 5, int(y1) + 5, 260, 140);
    constexpr int32_t kDarkRed = 128;
    ASSERT_EQ(countColor(picture(z), textBox, kDarkRed), 0);

    existingForm2()->menuItem(QStringLiteral("idm_SNR"))->trigger();

    EXPECT_GT(countColor(picture(z), textBox, kDarkRed), 100);
    const auto drawn = zoomSpy()->callsOf(id::PlotStrings);
    ASSERT_EQ(drawn.size(), 1u);
    const auto &args = drawn[0].args;
    EXPECT_EQ(args[0].toR4(), x1 + 5);
    EXPECT_EQ(args[1].toR4(), y1 + 5);
    EXPECT_EQ(args[2].toR4(), 200.0f);
    EXPECT_EQ(args[4].toI4(), kDarkRed);
    EXPECT_EQ(args[5].toR4(), 2.0f);
    EXPECT_EQ(z.get(id::FontSize).toI2(), 9);  // 12 while drawing, then restored

    // The figures computed here from the main chart's input (0) and corrected (3) traces.
    auto meanDiff = [](const std::vector<float> &v) {
        long double s = 0;
        for (std::size_t a = 1; a < v.size(); ++a) s += std::fabs((long double)v[a] - v[a - 1]);
        return double(s / (v.size() - 1));
    };
    auto span = [](const std::vector<float> &v) {
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        return double(*hi) - *lo;
    };
    const std::vector<float> raw = inRange(chart(), 0, xv, xv + wv).y,
                             sig = inRange(chart(), 3, xv, xv + wv).y;
    const double figures[6] = {meanDiff(raw), meanDiff(sig), meanDiff(raw) / meanDiff(sig),
                               span(raw),     span(sig),     span(raw) / span(sig)};
    const char *labels[6] = {"原始平均差分和：", "信号平均差分和：", "噪音抑制比：",
                             "原始幅度差：",     "信号幅度差：",     "噪音抑制比："};
    const QStringList lines = QString::fromStdString(args[3].toString()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 6);
    for (int i = 0; i < 6; ++i) {
        const QString label = QString::fromUtf8(labels[i]);
        ASSERT_TRUE(lines[i].startsWith(label)) << lines[i].toStdString();
        const QString number = lines[i].mid(label.size());
        EXPECT_EQ(number.size() - number.indexOf(QLatin1Char('.')), 4)
            << "three decimals: " << number.toStdString();
        EXPECT_NEAR(number.toDouble(), figures[i], 1.1e-3) << lines[i].toStdString();
    }
    EXPECT_GT(figures[2], 1.0);  // the corrected trace is the quieter one
}

TEST_F(Zoom, NothingHappensWithTheCheckMarkClearedAndTheZoomComesBackWithIt) {
    open(chromatogram(600));
    QAction *mark = form->menuItem(QStringLiteral("idm_ZoomWindow"));
    ASSERT_TRUE(mark->isChecked());
    trigger("idm_ZoomWindow");
    EXPECT_FALSE(mark->isChecked());
    dragOver(0.2, 0.6);
    EXPECT_EQ(existingForm2(), nullptr);

    trigger("idm_ZoomWindow");
    dragOver(0.2, 0.6);
    ASSERT_NE(existingForm2(), nullptr);
    EXPECT_TRUE(existingForm2()->isVisible());
    EXPECT_EQ(zoom().get(id::nSeries).toI2(), 1);
    // Signal-to-noise wants input and corrected traces: with one series it draws nothing.
    existingForm2()->menuItem(QStringLiteral("idm_SNR"))->trigger();
    EXPECT_TRUE(zoomSpy()->callsOf(id::PlotStrings).empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Zoom, SeriesWithTwoPointsInRangeIsLeftOutAndTheNextKeepsItsColour) {
    // In 0.25..0.5: series 0 has 26 points, series 1 two, series 2 three, series 3 thirteen.
    const Stretch two{{0.1f, 0.3f, 0.4f, 0.9f}, {1, 2, 3, 4}};
    const Stretch three{{0.3f, 0.31f, 0.32f, 0.8f}, {5, 6, 7, 8}};
    mainSeries({line(100, 0, 0.01f, 0), two, three, line(50, 0, 0.02f, 10)},
               {0xFF0000, 0xFF00, 0xFF, 0x808000});
    form->Graphane1_Measured(0, 0, 0, 0, 0.25f, 30, 0.25f, 40);

    ControlHandle &z = zoom();
    ASSERT_EQ(z.get(id::nSeries).toI2(), 3);
    const int16_t from[3] = {0, 2, 3};
    for (int16_t k = 0; k < 3; ++k) {
        const Stretch expected = inRange(chart(), from[k], 0.25f, 0.5f);
        std::vector<float> x;
        EXPECT_EQ(series(z, k, &x), expected.y) << "zoom series " << k;
        EXPECT_EQ(x, expected.x);
        EXPECT_EQ(z.get(id::LineColor, k).toI4(), chart().get(id::LineColor, from[k]).toI4());
    }
    EXPECT_EQ(z.get(id::nPoints, int16_t(1)).toI4(), 3);  // shorter than series 0: copied all the same
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Zoom, SixteenMainSeriesFillTheFifteenSlotsTheZoomChartTakes) {
    std::vector<Stretch> all;
    std::vector<int32_t> colors;
    for (int k = 0; k < 16; ++k) all.push_back(line(20 + k, 0, 0.05f, float(k))), colors.push_back(0x10 * k);
    mainSeries(all, colors);
    form->Graphane1_Measured(0, 0, 0, 0, 0.0f, 40, 0.5f, 40);
    ControlHandle &z = zoom();
    ASSERT_EQ(z.get(id::nSeries).toI2(), 15);
    for (int16_t k = 0; k < 15; ++k) {
        EXPECT_EQ(series(z, k), inRange(chart(), k, 0.0f, 0.5f).y) << "series " << k;
        EXPECT_EQ(z.get(id::LineColor, k).toI4(), colors[k]);
    }
    EXPECT_TRUE(existingForm2()->isVisible());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Zoom, GridStartsAtTheIntegerPartTowardZero) {
    // y 1..9 holds no horizontal grid line (they are at whole tens), so a column of grid
    // pixels can only be a vertical line.
    mainSeries({line(400, -1, 0.01f, 2)}, {0xFF0000});
    form->Graphane1_Measured(0, 0, 0, 0, -0.3f, 9, 1.0f, 8);
    ControlHandle &z = zoom();
    const QImage image = picture(z);
    const int32_t grid = z.get(id::GridColor).toI4();
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    z.call(id::GetChartArea, x1, y1, x2, y2);
    auto gridPixelsNear = [&](float xv) {
        const int px = int(std::lround(pixelAt(z, xv, 0).x()));
        return countColor(image, QRect(px - 1, int(y1) + 1, 3, int(y2 - y1) - 2), grid);
    };
    EXPECT_GT(gridPixelsNear(0.0f), 20);
    EXPECT_GT(gridPixelsNear(0.25f), 20);
    EXPECT_GT(gridPixelsNear(0.5f), 20);
    EXPECT_EQ(gridPixelsNear(-0.25f), 0);  // the grid does not start at -1
}

TEST_F(Zoom, EmptyRectangleDoesNothingAndAStretchWithoutSeriesIsNotShown) {
    mainSeries({line(100, 0, 0.01f, 0)}, {0xFF0000});
    form->Graphane1_Measured(0, 0, 0, 0, 0.2f, 10, 0.0f, 5);
    form->Graphane1_Measured(0, 0, 0, 0, 0.2f, 10, 0.3f, -5);
    EXPECT_EQ(existingForm2(), nullptr);

    form->Graphane1_Measured(0, 0, 0, 0, 0.2f, 10, 0.015f, 5);  // two points in range
    ASSERT_NE(existingForm2(), nullptr);
    EXPECT_FALSE(existingForm2()->isVisible());
    EXPECT_EQ(existingForm2()->windowTitle(), QStringLiteral("Zoom Window"));
    EXPECT_EQ(zoom().get(id::nSeries).toI2(), 0);
    EXPECT_EQ(zoom().get(id::xmin).toR4(), 0.2f);
    EXPECT_EQ(zoom().get(id::ymin).toR4(), 5.0f);
}

TEST_F(Zoom, LoadCopiesTheMainSettingsAndTheChartFillsTheWindow) {
    chart().put(id::BorderColor, int32_t(0x123456));
    chart().put(id::MarginLeft, 61.0f);
    chart().put(id::LineColor, int16_t(1), int32_t(0x654321));
    Form2 &f = form->form2();
    for (automation::DispId p :
         {id::BorderColor, id::MarginLeft, id::MarginTop, id::MarginBottom, id::GridColor})
        EXPECT_EQ(f.graphane1().get(p).toR8(), chart().get(p).toR8()) << p;
    for (int16_t k = 0; k < 2; ++k) {
        EXPECT_EQ(f.graphane1().get(id::LineColor, k).toI4(), chart().get(id::LineColor, k).toI4());
        EXPECT_EQ(f.graphane1().get(id::DotColor, k).toI4(), chart().get(id::DotColor, k).toI4());
    }
    EXPECT_EQ(f.graphane1().get(id::FontSize).toI2(), 12);
    f.show();
    f.resize(611, 377);
    QApplication::processEvents();
    EXPECT_EQ(f.graphane1()->widget()->geometry(), QRect(0, 0, 611, 377));
}

TEST_F(Zoom, RightButtonOnTheZoomChartPopsUpTheRangeMenu) {
    Form2 &f = form->form2();
    f.show();
    QMenu *menu = f.popupMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QStringLiteral("idm_Range"));
    QStringList items;
    for (QAction *a : menu->actions()) items << a->objectName() + QLatin1Char(' ') + a->text();
    EXPECT_EQ(items, (QStringList{"idm_Rangexy 坐标范围", "idm_SNR 信噪比", "idm_Save 图象保存"}));

    QWidget *w = f.graphane1()->widget();
    QMouseEvent left(QEvent::MouseButtonPress, QPointF(100, 100), w->mapToGlobal(QPointF(100, 100)),
                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &left);
    EXPECT_FALSE(menu->isVisible());
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(100, 100), w->mapToGlobal(QPointF(100, 100)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(w, &right);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

TEST_F(Zoom, PopupSavesThePictureAndSetsTheRange) {
    mainSeries({line(100, 0, 0.01f, 0)}, {0xFF0000});
    form->Graphane1_Measured(0, 0, 0, 0, 0.2f, 10, 0.5f, 10);
    Form2 *f = existingForm2();
    ASSERT_NE(f, nullptr);

    const QString name = files.path(QStringLiteral("zoom picture"));
    ui.choose(name);
    f->menuItem(QStringLiteral("idm_Save"))->trigger();
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, QStringLiteral("保存色谱图象"));
    EXPECT_EQ(ui.dialogs[0].filter, QStringLiteral("Image File(*.bmp)|*.bmp|All Files(*.*)|*.*"));
    EXPECT_TRUE(ui.dialogs[0].cancelError);
    EXPECT_EQ(QImage(name, "BMP").size(), f->graphane1()->widget()->size());

    test::answerNextModal([](QWidget *dialog) {
        const char *texts[4] = {"0.3", "0.4", "1", "9"};
        for (int i = 0; i < 4; ++i)
            dialog->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(i + 1))
                ->setText(QString::fromLatin1(texts[i]));
        dialog->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    });
    const std::size_t plots = zoomSpy()->callsOf(id::Plot).size();
    f->menuItem(QStringLiteral("idm_Rangexy"))->trigger();
    EXPECT_EQ(f->graphane1().get(id::xmin).toR4(), 0.3f);
    EXPECT_EQ(f->graphane1().get(id::ymax).toR4(), 9.0f);
    EXPECT_EQ(zoomSpy()->callsOf(id::Plot).size(), plots + 1);
}

}  // namespace
}  // namespace wavedesk
