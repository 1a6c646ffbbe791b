// Free drawing on the chart picture: lines and rectangles, ellipses and arcs, text and text
// blocks, fonts, pen and cursor state, unit conversion and saving the picture.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>

#include "graphane/dispids.h"
#include "surface.h"
#include "testutil.h"

using namespace gt;
namespace err = automation::err;

namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kRed = 0xFF;

// A blank white 300 x 200 picture without series.
class Draw : public ::testing::Test {
  protected:
    void SetUp() override {
        SafeArray none = ints({1});
        c.handle.call(d::CreateSeries, int16_t(0), none);
        c.handle.put(d::BackColor, kWhite);
        c.handle.call(d::Plot, false);
    }
    const QImage &img() { return c.image(); }
    int ink(int32_t color) { return countColor(img(), img().rect(), color); }
    Chart c{300, 200};
};

automation::Picture pngPicture() {
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    icon.save(&buffer, "PNG");
    return automation::Picture{std::vector<uint8_t>(bytes.begin(), bytes.end())};
}

}  // namespace

TEST_F(Draw, PlotLineDrawsLineOutlineOrFilledBoxByItsLastArgument) {
    c.handle.call(d::PlotLine, 10.0f, 10.0f, 50.0f, 10.0f, kRed, "");
    EXPECT_EQ(ink(kRed), 40);
    c.handle.call(d::PlotLine, 10.0f, 20.0f, 50.0f, 20.0f, int32_t(0xFF00), "xyz");
    EXPECT_EQ(ink(0xFF00), 40);
    c.handle.call(d::PlotLine, 60.0f, 60.0f, 100.0f, 90.0f, int32_t(0xFF0000), "B");
    EXPECT_EQ(ink(0xFF0000), 2 * 41 + 2 * 29);  // outline through both corners
    EXPECT_EQ(pixel(img(), 80, 75), kWhite);
    for (const char *bf : {"BF", "Bf", "bf"}) {
        c.handle.call(d::ClearBackground);
        c.handle.call(d::PlotLine, 100.0f, 90.0f, 60.0f, 60.0f, int32_t(0x00FFFF), bf);
        EXPECT_EQ(ink(0x00FFFF), 41 * 31) << bf;
    }
    EXPECT_NE(c.handle.get(d::FontColor).toI4(), 0x00FFFF);
}

TEST_F(Draw, PlotLineUsesTheCurrentPen) {
    c.handle.put(d::DrawWidth, int32_t(5));
    c.handle.call(d::PlotLine, 20.0f, 50.0f, 120.0f, 50.0f, kRed, "");
    const QRect box = boundsOf(img(), kRed);
    EXPECT_GE(box.height(), 5);
    c.handle.call(d::ClearBackground);
    c.handle.put(d::DrawWidth, int32_t(1));
    c.handle.put(d::DrawStyle, int16_t(2));  // dotted
    c.handle.call(d::PlotLine, 20.0f, 50.0f, 120.0f, 50.0f, kRed, "");
    EXPECT_GT(ink(kRed), 30);
    EXPECT_LT(ink(kRed), 80);
    c.handle.call(d::ClearBackground);
    c.handle.put(d::DrawStyle, int16_t(5));  // invisible
    c.handle.call(d::PlotLine, 20.0f, 50.0f, 120.0f, 50.0f, kRed, "");
    EXPECT_EQ(ink(kRed), 0);
}

TEST_F(Draw, PenPropertiesAndTheirErrors) {
    EXPECT_EQ(errorOf([&] { c.handle.put(d::DrawWidth, int32_t(70000)); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { c.handle.put(d::DrawWidth, int32_t(0)); }), err::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { c.handle.put(d::DrawStyle, int16_t(7)); }), err::InvalidPropertyValue);
    EXPECT_EQ(c.handle.get(d::DrawWidth).toI4(), 1);
    c.handle.put(d::DrawStyle, int16_t(4));
    EXPECT_EQ(c.handle.get(d::DrawStyle).toI2(), 4);
}

TEST_F(Draw, CircleExtentsOfTheExamples) {
    c.handle.call(d::PlotCircle, 15.0f, 20.0f, 95.0f, 70.0f, kRed);
    QRect box = boundsOf(img(), kRed);
    EXPECT_EQ(box.left(), 15);
    EXPECT_EQ(box.right(), 95);  // 80 pixels wide between the extreme pixel centres
    EXPECT_EQ(box.top(), 20);
    EXPECT_EQ(box.bottom(), 70);
    EXPECT_EQ(pixel(img(), 55, 45), kWhite);  // outline only
    c.handle.call(d::ClearBackground);
    c.handle.call(d::PlotCircle, 0.0f, 0.0f, 20.0f, 60.0f, kRed);  // aspect 3, radius 30
    box = boundsOf(img(), kRed);
    EXPECT_EQ(box, QRect(QPoint(0, 0), QPoint(20, 60)));
}

TEST_F(Draw, FilledCircleKeepsTheFillState) {
    graphane::Surface &s = c->surface();
    s.setFillStyle(3);
    s.setFillColor(0x123456);
    c.handle.call(d::PlotFillCircle, 100.0f, 50.0f, 160.0f, 110.0f, kRed);
    EXPECT_EQ(pixel(img(), 130, 80), kRed);
    EXPECT_EQ(pixel(img(), 100, 50), kWhite);  // the corner of the box is outside
    EXPECT_EQ(s.fillStyle(), 3);
    EXPECT_EQ(s.fillColor(), 0x123456);
}

TEST_F(Draw, ZeroWidthBoxFailsAndDrawsNothing) {
    EXPECT_EQ(errorOf([&] { c.handle.call(d::PlotCircle, 10.0f, 10.0f, 10.0f, 50.0f, kRed); }),
              err::DivisionByZero);
    EXPECT_EQ(errorOf([&] { c.handle.call(d::PlotFillCircle, 10.0f, 10.0f, 10.0f, 10.0f, kRed); }),
              err::Overflow);
    bool closed = true;
    EXPECT_EQ(errorOf([&] { c.handle.call(d::PlotArc, 5.0f, 5.0f, 5.0f, 50.0f, 0.0f, 1.0f, kRed, closed); }),
              err::DivisionByZero);
    EXPECT_EQ(ink(kRed), 0);
}

TEST_F(Draw, ArcWithAndWithoutItsRadii) {
    bool closed = false;
    const float quarter = 1.5707963f;
    c.handle.call(d::PlotArc, 100.0f, 50.0f, 200.0f, 150.0f, 0.0f, quarter, kRed, closed);
    QRect box = boundsOf(img(), kRed);
    EXPECT_GE(box.left(), 149);  // upper-right quarter only
    EXPECT_LE(box.bottom(), 101);
    EXPECT_GE(box.right(), 199);
    EXPECT_LE(box.top(), 51);
    EXPECT_EQ(pixel(img(), 175, 100), kWhite);  // no radius
    c.handle.call(d::ClearBackground);
    closed = true;
    c.handle.call(d::PlotArc, 100.0f, 50.0f, 200.0f, 150.0f, 0.0f, quarter, kRed, closed);
    EXPECT_EQ(pixel(img(), 175, 100), kRed);  // radius to the start angle
    EXPECT_EQ(pixel(img(), 150, 75), kRed);   // radius to the end angle
    // An arc from 3/4 to 1/4 turn runs counter-clockwise through the left half.
    c.handle.call(d::ClearBackground);
    closed = false;
    c.handle.call(d::PlotArc, 100.0f, 50.0f, 200.0f, 150.0f, quarter, 3 * quarter, kRed, closed);
    box = boundsOf(img(), kRed);
    EXPECT_LE(box.right(), 151);
    EXPECT_LE(box.left(), 101);
}

TEST_F(Draw, EllipticArcUsesTheAspectOfTheBox) {
    bool closed = true;
    c.handle.call(d::PlotArc, 50.0f, 80.0f, 250.0f, 120.0f, 0.0f, 3.1415926f, kRed, closed);
    const QRect box = boundsOf(img(), kRed);
    EXPECT_NEAR(box.left(), 50, 1);
    EXPECT_NEAR(box.right(), 250, 1);
    EXPECT_NEAR(box.top(), 80, 1);
    EXPECT_NEAR(box.bottom(), 100, 1);  // upper half, closed by the radii along y = 100
}

TEST_F(Draw, PlotStringReturnsTheYBelowAndKeepsTheForeground) {
    c.handle.put(d::FontColor, int32_t(0x00AA00));
    const float h = c.handle.call(d::TextHeight, "Peak 1").toR4();
    EXPECT_GT(h, 5.0f);
    EXPECT_EQ(c.handle.call(d::PlotString, 20.0f, 25.0f, "Peak 1", kRed).toR4(), 25.0f + h);
    EXPECT_EQ(c.handle.get(d::FontColor).toI4(), 0x00AA00);
    const QRect box = boundsOf(img(), kRed);
    EXPECT_GE(box.left(), 20);
    EXPECT_GE(box.top(), 25);
    EXPECT_LE(box.bottom(), 25 + int(h));
    EXPECT_LE(box.right(), 20 + int(c.handle.call(d::TextWidth, "Peak 1").toR4()));
}

TEST_F(Draw, TextBlockEmptyDrawsNothingAndReturnsY) {
    c.handle.put(d::FontColor, int32_t(0x00AA00));
    float space = 2;
    EXPECT_EQ(c.handle.call(d::PlotStrings, 10.0f, 30.0f, 100.0f, "", kRed, space).toR4(), 30.0f);
    EXPECT_EQ(ink(kRed), 0);
    EXPECT_EQ(c.handle.get(d::FontColor).toI4(), 0x00AA00);
}

TEST_F(Draw, TextBlockBreaksAtLineFeedsAndIgnoresCarriageReturns) {
    float space = 2;
    const float h = c.handle.call(d::TextHeight, "ab").toR4();
    EXPECT_EQ(c.handle.call(d::PlotStrings, 10.0f, 30.0f, 200.0f, "ab\ncd", kRed, space).toR4(),
              30 + 2 * (h + 2));
    EXPECT_EQ(c.handle.call(d::PlotStrings, 10.0f, 30.0f, 200.0f, "ab\r\ncd", kRed, space).toR4(),
              30 + 2 * (h + 2));
    EXPECT_EQ(c.handle.call(d::PlotStrings, 10.0f, 30.0f, 200.0f, "ab\n\ncd", kRed, space).toR4(),
              30 + 3 * (h + 2));
    c.handle.call(d::ClearBackground);
    c.handle.call(d::PlotStrings, 10.0f, 30.0f, 200.0f, "ab\ncd", kRed, space);
    const QRect box = boundsOf(img(), kRed);
    EXPECT_GT(box.height(), int(h));  // two lines
}

TEST_F(Draw, NarrowTextBlockPutsOneCharacterOnEachLine) {
    float space = 0;
    const float h = c.handle.call(d::TextHeight, "W").toR4();
    EXPECT_EQ(c.handle.call(d::PlotStrings, 10.0f, 5.0f, 1.0f, "WXYZ", kRed, space).toR4(), 5 + 4 * h);
    // Wide enough for a few characters: every line but the last overflows by its last character.
    const float w3 = c.handle.call(d::TextWidth, "abc").toR4();
    const float y = c.handle.call(d::PlotStrings, 10.0f, 5.0f, w3, "abcabcabc", kRed, space).toR4();
    EXPECT_GE(y, 5 + 2 * h);
    EXPECT_LE(y, 5 + 3 * h);
}

TEST_F(Draw, TextBlockBreaksAtTheFirstOverflowingCharacter) {
    float space = 1;
    const float h = c.handle.call(d::TextHeight, "x").toR4();
    const std::string text = "abcdefghijklmnopqrstuvwxyz";
    // Lines by measuring every prefix, as the block rule says.
    const float limit = c.handle.call(d::TextWidth, "abcdefg").toR4() + 0.5f;
    int lines = 0;
    std::string line;
    for (char ch : text) {
        line += ch;
        if (c.handle.call(d::TextWidth, line).toR4() > limit) ++lines, line.clear();
    }
    if (!line.empty()) ++lines;
    EXPECT_EQ(c.handle.call(d::PlotStrings, 5.0f, 5.0f, limit, text, kRed, space).toR4(),
              5 + lines * (h + 1));
    // A long text without breaks under a huge width is one line, drawn at once.
    const std::string longText(200000, 'w');
    EXPECT_EQ(c.handle.call(d::PlotStrings, 5.0f, 50.0f, 1e30f, longText, kRed, space).toR4(), 50 + h + 1);
    const float y =
        c.handle.call(d::PlotStrings, 5.0f, 50.0f, 300.0f, std::string(20000, 'i'), kRed, space).toR4();
    EXPECT_GT(y, 50 + 10 * h);
}

TEST_F(Draw, ChineseFaceNamesFallBackToAnInstalledFont) {
    for (const char *face : {"黑体", "宋体"}) {
        c.handle.call(d::ClearBackground);
        c.handle.put(d::FontName, face);
        EXPECT_EQ(c.handle.get(d::FontName).toString(), face);
        c.handle.put(d::FontSize, int16_t(16));
        c.handle.call(d::PlotString, 10.0f, 10.0f, "色谱数据处理", kRed);
        EXPECT_GT(ink(kRed), 100) << face;
        EXPECT_GT(c.handle.call(d::TextWidth, "色谱数据处理").toR4(), 6 * 12.0f);
    }
    c.handle.put(d::FontName, "No Such Face Anywhere");
    EXPECT_EQ(c.handle.get(d::FontName).toString(), "宋体");  // refused names are ignored
}

TEST_F(Draw, FontSizeBoldItalic) {
    c.handle.put(d::FontSize, int16_t(10));
    EXPECT_EQ(c.handle.get(d::FontSize).toI2(), 10);
    const float small = c.handle.call(d::TextHeight, "X").toR4();
    c.handle.put(d::FontSize, int16_t(24));
    EXPECT_GT(c.handle.call(d::TextHeight, "X").toR4(), 2 * small);
    EXPECT_EQ(errorOf([&] { c.handle.put(d::FontSize, int16_t(0)); }), err::InvalidPropertyValue);
    EXPECT_EQ(c.handle.get(d::FontSize).toI2(), 24);
    c->surface().setFontSize(9.75);  // a size the platform adjusts reads back whole
    EXPECT_EQ(c.handle.get(d::FontSize).toI2(), 10);
    c.handle.put(d::FontBold, true);
    c.handle.put(d::FontItalic, true);
    EXPECT_TRUE(c.handle.get(d::FontBold).toBool());
    EXPECT_TRUE(c.handle.get(d::FontItalic).toBool());
    EXPECT_EQ(c.handle.get(d::FontBold).type(), automation::VarType::Bool);
    EXPECT_EQ(c.handle.call(d::TextWidth, "").toR4(), 0.0f);
}

TEST(ScaleConversion, UnitsByCode) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    const double dpi = graphane::screenDpiX();
    EXPECT_EQ(chart.call(d::ScaleX, 37.5f, int16_t(3), int16_t(3)).toR4(), 37.5f);
    EXPECT_EQ(chart.call(d::ScaleY, 12.0f, int16_t(0), int16_t(3)).toR4(), 12.0f);
    EXPECT_FLOAT_EQ(chart.call(d::ScaleX, 100.0f, int16_t(6), int16_t(3)).toR4(), float(100 / 25.4 * dpi));
    EXPECT_FLOAT_EQ(chart.call(d::ScaleY, 1.0f, int16_t(5), int16_t(1)).toR4(), 1440.0f);
    EXPECT_FLOAT_EQ(chart.call(d::ScaleX, 1.0f, int16_t(4), int16_t(1)).toR4(), 120.0f);
    EXPECT_FLOAT_EQ(chart.call(d::ScaleY, 1.0f, int16_t(4), int16_t(1)).toR4(), 240.0f);
    EXPECT_FLOAT_EQ(chart.call(d::ScaleX, 72.0f, int16_t(2), int16_t(7)).toR4(), 2.54f);
    EXPECT_FLOAT_EQ(chart.call(d::ScaleX, 15.0f, int16_t(1), int16_t(3)).toR4(), float(15 / 1440.0 * dpi));
    EXPECT_EQ(errorOf([&] { chart.call(d::ScaleX, 1.0f, int16_t(8), int16_t(3)); }), err::InvalidCall);
}

TEST(Cursor, MousePointerSignalsItsChangeAndPersists) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    std::vector<std::string> changed;
    chart->connectPropertyChanged([&](const std::string &name) { changed.push_back(name); });
    chart.put(d::MousePointer, int16_t(2));
    EXPECT_EQ(chart.get(d::MousePointer).toI2(), 2);
    EXPECT_EQ(chart->widget()->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(errorOf([&] { chart.put(d::MousePointer, int16_t(50)); }), err::InvalidPropertyValue);
    EXPECT_EQ(changed, (std::vector<std::string>{"MousePointer"}));
    chart.put(d::BorderStyle, int16_t(0));  // other setters signal nothing
    EXPECT_EQ(changed.size(), 1u);
    automation::PropertyBag bag;
    chart->saveProperties(bag);
    EXPECT_EQ(bag.read("MousePointer", Variant()).toI2(), 2);
}

TEST(Cursor, MouseIconSetSignalsAndPersists) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    std::vector<std::string> changed;
    chart->connectPropertyChanged([&](const std::string &name) { changed.push_back(name); });
    Variant icon(pngPicture());
    chart.put(d::MouseIcon, icon);
    chart.put(d::MousePointer, int16_t(99));
    EXPECT_EQ(chart->widget()->cursor().shape(), Qt::BitmapCursor);
    ASSERT_NE(chart.get(d::MouseIcon).picture(), nullptr);
    EXPECT_EQ(*chart.get(d::MouseIcon).picture(), *icon.picture());
    EXPECT_EQ(changed, (std::vector<std::string>{"MouseIcon", "MousePointer"}));
    automation::PropertyBag bag;
    chart->saveProperties(bag);
    ControlHandle again = ControlHandle::create(graphane::ProgId);
    again->loadProperties(automation::PropertyBag::fromText(bag.toText()));
    ASSERT_NE(again.get(d::MouseIcon).picture(), nullptr);
    EXPECT_EQ(again.get(d::MousePointer).toI2(), 99);
    Variant junk(automation::Picture{{1, 2, 3}});
    EXPECT_EQ(errorOf([&] { chart.put(d::MouseIcon, junk); }), err::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { chart.put(d::MouseIcon, "text"); }), err::TypeMismatch);
    chart.put(d::MouseIcon, Variant());  // nothing: no custom cursor
    EXPECT_TRUE(chart.get(d::MouseIcon).isEmpty());
    automation::PropertyBag cleared;
    chart->saveProperties(cleared);
    EXPECT_FALSE(cleared.contains("MouseIcon"));
}

TEST(PictureSaving, BmpHoldsThePictureWithHostDrawings) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    chart->widget()->resize(480, 320);
    chart.put(d::BackColor, int32_t(0xFFFFFF));
    chart.put(d::MarginLeft, 50.0f);
    chart.put(d::MarginTop, 30.0f);
    chart.put(d::MarginBottom, 40.0f);
    chart.put(d::MarginRight, 20.0f);
    chart.call(d::Plot, false);
    chart.put(d::DrawWidth, int32_t(2));
    chart.call(d::PlotLine, 60.0f, 40.0f, 200.0f, 120.0f, int32_t(0x008000), "");
    chart.put(d::DrawWidth, int32_t(1));
    chart.call(d::PlotLine, 300.0f, 50.0f, 440.0f, 110.0f, int32_t(0x0080FF), "BF");
    chart.call(d::PlotCircle, 80.0f, 160.0f, 200.0f, 240.0f, int32_t(0xFF00FF));
    chart.call(d::PlotFillCircle, 230.0f, 170.0f, 280.0f, 220.0f, int32_t(0x00C0C0));
    bool closed = true;
    chart.call(d::PlotArc, 300.0f, 150.0f, 420.0f, 270.0f, 0.5f, 4.0f, int32_t(0x800080), closed);
    chart.put(d::FontName, "黑体");
    chart.put(d::FontSize, int16_t(12));
    float space = 2;
    chart.call(d::PlotStrings, 60.0f, 130.0f, 200.0f, "色谱峰 1: 12.5 min\n信噪比 35.2", int32_t(128), space);
    QTemporaryDir dir;
    const QString file = dir.filePath("chart.bmp");
    EXPECT_EQ(chart.call(d::SaveAsBmpFile, file.toStdString()).toI4(), 1);
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_EQ(raw.read(2), QByteArray("BM"));
    const QImage saved(file);
    ASSERT_EQ(saved.size(), QSize(480, 320));
    EXPECT_EQ(pixel(saved, 130, 80), 0x008000);
    EXPECT_EQ(pixel(saved, 370, 80), 0x0080FF);
    EXPECT_EQ(pixel(saved, 255, 195), 0x00C0C0);
    EXPECT_GT(countColor(saved, QRect(60, 130, 200, 50), 128), 100);
    EXPECT_EQ(chart.call(d::SaveAsBmpFile, file.toStdString()).toI4(), 1);  // replaces the file
    if (qEnvironmentVariableIsSet("GRAPHANE_PICTURES"))
        saved.save(QDir(qEnvironmentVariable("GRAPHANE_PICTURES")).filePath("graphane-drawings.png"));
}

TEST(PictureSaving, MissingFolderOrBadNameGivesZero) {
    ControlHandle chart = ControlHandle::create(graphane::ProgId);
    QTemporaryDir dir;
    EXPECT_EQ(chart.call(d::SaveAsBmpFile, dir.filePath("no/such/folder/x.bmp").toStdString()).toI4(), 0);
    EXPECT_EQ(chart.call(d::SaveAsBmpFile, "").toI4(), 0);
    EXPECT_EQ(chart.call(d::SaveAsBmpFile, dir.path().toStdString()).toI4(), 0);  // a folder
    // A NUL inside the name would write to the name cut at the NUL.
    const std::string cut = dir.filePath("x.bmp").toStdString();
    EXPECT_EQ(chart.call(d::SaveAsBmpFile, cut + std::string("\0.old", 5)).toI4(), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(cut)));
    // A device (here the one that acts as a full disk) is never replaced or written.
    if (QFileInfo::exists("/dev/full")) {
        EXPECT_EQ(chart.call(d::SaveAsBmpFile, "/dev/full").toI4(), 0);
        EXPECT_FALSE(QFileInfo("/dev/full").isFile());
    }
}
