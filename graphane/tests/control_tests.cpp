// The control as a host sees it: creation by ProgID, the window and its lifecycle (show and
// resize redraw), the property bag with its two default sets, and the picture of a new control.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QTemporaryDir>

#include "testutil.h"

using namespace gt;
namespace err = automation::err;
using automation::PropertyBag;

namespace {

void settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

}  // namespace

TEST(ControlPlugin, CreatedByProgIdWithItsWidget) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    ASSERT_TRUE(chart.valid());
    ASSERT_NE(chart->widget(), nullptr);
    EXPECT_EQ(chart.get(d::nSeries).toI2(), 2);
    EXPECT_EQ(errorOf([&] { chart.call(12345); }), err::MemberNotSupported);
    EXPECT_EQ(errorOf([&] { chart.call(d::Plot); }), err::WrongArgumentCount);
    ControlHandle other = ControlHandle::create(graphane::ProgId);  // independent instances
    other.put(d::xmax, 5.0f);
    EXPECT_EQ(chart.get(d::xmax).toR4(), 100.0f);
}

TEST(ControlPlugin, ShowingAndResizingRedrawAndClearHostDrawings) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    QWidget *w = chart->widget();
    chart.put(d::BackColor, int32_t(0xFFFFFF));
    w->resize(300, 200);
    w->show();
    settle();
    QTemporaryDir dir;
    const std::string file = dir.filePath("a.bmp").toStdString();
    ASSERT_EQ(chart.call(d::SaveAsBmpFile, file).toI4(), 1);
    QImage shown(QString::fromStdString(file));
    EXPECT_EQ(shown.size(), QSize(300, 200));
    EXPECT_GT(countColor(shown, shown.rect(), 0xFF0000), 50);  // the blue series
    chart.call(d::PlotLine, 0.0f, 0.0f, 299.0f, 0.0f, int32_t(0xFF), "");
    w->resize(320, 240);
    settle();
    chart.call(d::SaveAsBmpFile, file);
    QImage resized(QString::fromStdString(file));
    EXPECT_EQ(resized.size(), QSize(320, 240));
    EXPECT_EQ(countColor(resized, QRect(0, 0, 320, 1), 0xFF), 0);  // host drawing gone
    EXPECT_GT(countColor(resized, resized.rect(), 0xFF0000), 50);  // chart redrawn
}

TEST(ControlPlugin, HiddenResizeTakesEffectAtTheNextCall) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    chart->widget()->resize(500, 400);
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    chart.call(d::GetChartArea, x1, y1, x2, y2);
    EXPECT_EQ(x2, 500.0f - 10.0f);
    EXPECT_EQ(y2, 400.0f - 20.0f);
}

TEST(ControlPlugin, HostWindowMayDeleteTheWidgetFirst) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    auto *window = new QMainWindow;
    window->setCentralWidget(chart->widget());
    window->show();
    settle();
    delete window;  // takes the chart's window with it
    EXPECT_EQ(chart->widget(), nullptr);
    EXPECT_EQ(chart.call(d::Plot, false).isEmpty(), true);  // still draws on its picture
    EXPECT_EQ(chart.call(d::DialogRange).toBool(), false);  // no window: the dialog is refused
    chart.reset();
}

TEST(ControlPlugin, ControlDeletesItsWidgetWhenDestroyedFirst) {
    auto *window = new QMainWindow;
    {
        ControlHandle chart = ControlHandle::create(graphane::ProgId);
        window->setCentralWidget(chart->widget());
    }
    EXPECT_EQ(window->centralWidget(), nullptr);
    delete window;
}

TEST(PropertyBagPersistence, LoadUsesLoadDefaultsForMissingKeys) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    chart->loadProperties(PropertyBag());
    EXPECT_EQ(chart.get(d::BackColor).toI4(), 0xFFFFFF);
    EXPECT_EQ(chart.get(d::BorderColor).toI4(), 0x800000);
    EXPECT_EQ(chart.get(d::BorderStyle).toI2(), 1);
    EXPECT_EQ(chart.get(d::GridColor).toI4(), 0x80C0);
    EXPECT_EQ(chart.get(d::GridSel).toI2(), 1);
    EXPECT_EQ(chart.get(d::MarginLeft).toR4(), 25.0f);
    EXPECT_EQ(chart.get(d::MarginTop).toR4(), 10.0f);
    EXPECT_EQ(chart.get(d::MarginRight).toR4(), 15.0f);
    EXPECT_EQ(chart.get(d::MarginBottom).toR4(), 15.0f);
    EXPECT_EQ(chart.get(d::nGridx).toI2(), 11);
    EXPECT_EQ(chart.get(d::nGridy).toI2(), 6);
    EXPECT_EQ(chart.get(d::TitleX).toString(), "Sec.");
    EXPECT_EQ(chart.get(d::TitleY).toString(), "Volt.");
    EXPECT_EQ(chart.get(d::MousePointer).toI2(), 0);
    EXPECT_TRUE(chart.get(d::MouseIcon).isEmpty());
    EXPECT_EQ(chart.get(d::nSeries).toI2(), 2);  // series are not persisted
}

TEST(PropertyBagPersistence, WorkbenchDesignSettingsLoad) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    chart->loadProperties(
        PropertyBag::fromText("BorderStyle = I2 2\nMarginRight = R4 40\n"
                              "TitleX = String \"Time\"\nTitleY = String \"Energy\"\n"));
    EXPECT_EQ(chart.get(d::BorderStyle).toI2(), 2);
    EXPECT_EQ(chart.get(d::MarginRight).toR4(), 40.0f);
    EXPECT_EQ(chart.get(d::TitleX).toString(), "Time");
    EXPECT_EQ(chart.get(d::TitleY).toString(), "Energy");
}

TEST(PropertyBagPersistence, SaveOmitsSaveDefaultsWhichDifferFromLoadDefaults) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    chart->loadProperties(PropertyBag());
    chart.put(d::MarginLeft, 20.0f);
    chart.put(d::MarginTop, 10.0f);
    PropertyBag bag;
    chart->saveProperties(bag);
    EXPECT_FALSE(bag.contains("MarginLeft"));
    EXPECT_TRUE(bag.contains("MarginTop"));  // 10 differs from the save default 15
    EXPECT_FALSE(bag.contains("MarginRight"));
    EXPECT_FALSE(bag.contains("TitleX"));
    ControlHandle again = ControlHandle::create(graphane::ProgId);
    again->loadProperties(bag);
    EXPECT_EQ(again.get(d::MarginLeft).toR4(), 25.0f);  // missing key: load default
    EXPECT_EQ(again.get(d::MarginTop).toR4(), 10.0f);
}

TEST(PropertyBagPersistence, RoundTripOfChangedValues) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    chart.put(d::xmin, -3.5f);
    chart.put(d::ymax, 800.0f);
    chart.put(d::GridSel, int16_t(2));
    chart.put(d::TitleY, "mv");
    chart.put(d::MousePointer, int16_t(2));
    chart.put(d::BackColor, int32_t(0x00FF00));
    PropertyBag bag;
    chart->saveProperties(bag);
    ControlHandle again = ControlHandle::create(graphane::ProgId);
    again->loadProperties(PropertyBag::fromText(bag.toText()));
    EXPECT_EQ(again.get(d::xmin).toR4(), -3.5f);
    EXPECT_EQ(again.get(d::ymax).toR4(), 800.0f);
    EXPECT_EQ(again.get(d::GridSel).toI2(), 2);
    EXPECT_EQ(again.get(d::TitleY).toString(), "mv");
    EXPECT_EQ(again.get(d::MousePointer).toI2(), 2);
    EXPECT_EQ(again.get(d::BackColor).toI4(), 0x00FF00);
}

TEST(PropertyBagPersistence, UnconvertibleValueFailsTheLoad) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    EXPECT_EQ(errorOf([&] { chart->loadProperties(PropertyBag::fromText("GridSel = String \"x\"\n")); }),
              err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { chart->loadProperties(PropertyBag::fromText("nGridy = I4 70000\n")); }),
              err::Overflow);
}

TEST(InitialPicture, DampedWaveSineWaveGridLabelsAndTitles) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    chart->widget()->resize(480, 320);
    chart->widget()->show();
    settle();
    QTemporaryDir dir;
    const QString file = dir.filePath("initial.bmp");
    ASSERT_EQ(chart.call(d::SaveAsBmpFile, file.toStdString()).toI4(), 1);
    const QImage img(file);
    ASSERT_FALSE(img.isNull());
    const int32_t back = pixel(img, 2, 2);
    EXPECT_GT(countColor(img, QRect(25, 10, 445, 290), 0xFF0000), 300);  // both waves, blue
    EXPECT_GT(countColor(img, QRect(30, 15, 430, 280), 0x8080), 300);    // dotted grid lines
    EXPECT_GT(countColor(img, QRect(0, 301, 480, 19), 0xFF0000), 20);    // x labels, border colour
    EXPECT_GT(countColor(img, QRect(0, 0, 24, 320), 0xFF0000), 20);      // y labels
    EXPECT_EQ(pixel(img, 21, 100), 0);         // 3-D in frame: black outer rectangle at L-2
    EXPECT_EQ(pixel(img, 22, 100), 0xFFFFFF);  // and white inner one at L-1
    EXPECT_NE(back, 0);
    if (qEnvironmentVariableIsSet("GRAPHANE_PICTURES"))
        img.save(QDir(qEnvironmentVariable("GRAPHANE_PICTURES")).filePath("graphane-initial.png"));
}

TEST(InitialPicture, TitlesShowWithRoomInTheMargins) {
    // With the start-up margins the titles fall just outside the picture (above the top and
    // below the bottom edge); the workbench's margins leave room for them.
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    chart->widget()->resize(480, 320);
    chart.put(d::MarginLeft, 50.0f);
    chart.put(d::MarginTop, 30.0f);
    chart.put(d::MarginBottom, 40.0f);
    chart.put(d::MarginRight, 20.0f);
    chart.call(d::Plot, false);
    QTemporaryDir dir;
    const QString file = dir.filePath("titles.bmp");
    ASSERT_EQ(chart.call(d::SaveAsBmpFile, file.toStdString()).toI4(), 1);
    const QImage img(file);
    chart.put(d::FontSize, int16_t(10));
    const int tw = int(chart.call(d::TextWidth, "Time(s)").toR4());
    const int th = int(chart.call(d::TextHeight, "Voltage(mv)").toR4());
    EXPECT_GT(countColor(img, QRect(460 - tw, 300, tw, th), 0xFF0000), 10);
    EXPECT_GT(countColor(img, QRect(50, 26 - th, 80, th), 0xFF0000), 10);
    if (qEnvironmentVariableIsSet("GRAPHANE_PICTURES"))
        img.save(QDir(qEnvironmentVariable("GRAPHANE_PICTURES")).filePath("graphane-titles.png"));
}
