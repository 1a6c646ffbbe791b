// Form1's view commands through the menu with the real controls: the data summary, picture
// saving under the chosen name, and the axis-range dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "graphane/dispids.h"
#include "testfiles.h"

namespace wavedesk {
namespace {

namespace id = graphane::dispid;
using test::countColor;

class View : public test::WorkbenchTest {
  protected:
    // A line drawn onto the chart's picture: it stays until the chart is plotted again.
    static constexpr int32_t kMark = 0x00FF00;
    void drawMark() { chart().call(id::PlotLine, 100.0f, 100.0f, 300.0f, 100.0f, kMark, ""); }
    int markPixels() { return countColor(picture(chart()), QRect(100, 99, 200, 3), kMark); }
};

TEST_F(View, DataSummaryOfThreeValuesReportsCountMinimumMaximumAndMean) {
    open({1000, 2000, 3000});
    trigger("idm_DataInfo");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, forms::MsgIcon::Information);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Data Info"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Data Points=3\nMin=1\nMax=3\nMean=2"));
}

TEST_F(View, DataSummaryWritesTheShortestTextOfEachSingle) {
    open({100, 1125, 250, 7});
    trigger("idm_DataInfo");
    ASSERT_EQ(ui.messages.size(), 1u);
    const QStringList lines = ui.messages[0].text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Data Points=4"));
    EXPECT_EQ(lines[1], QStringLiteral("Min=0.007"));
    EXPECT_EQ(lines[2], QStringLiteral("Max=1.125"));
    ASSERT_TRUE(lines[3].startsWith(QStringLiteral("Mean=")));
    const float mean = (0.1f + 1.125f + 0.25f + 0.007f) / 4;
    EXPECT_NEAR(lines[3].mid(5).toFloat(), mean, 1e-6f);
    EXPECT_LE(lines[3].size(), 5 + 10);  // no digits beyond what a single holds
}

TEST_F(View, DataSummaryOfAnEmptySeriesShowsZeroFigures) {
    chart().put(id::nPoints, int16_t(0), int32_t(0));
    trigger("idm_DataInfo");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Data Info"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Data Points=0\nMin=0\nMax=0\nMean=0"));
}

TEST_F(View, PictureIsSavedUnderExactlyTheChosenName) {
    open({1000, 2000, 3000, 2500});
    drawMark();
    const QString name = files.path(QStringLiteral("chromatogram"));
    ui.choose(name);
    trigger("idm_SavePic");
    ASSERT_EQ(ui.dialogs.size(), 2u);  // open, then save
    EXPECT_EQ(ui.dialogs[1].mode, forms::CommonDialog::Mode::Save);
    EXPECT_EQ(ui.dialogs[1].title, QStringLiteral("保存色谱图象"));
    EXPECT_EQ(ui.dialogs[1].filter, QStringLiteral("Image File(*.bmp)|*.bmp|All Files(*.*)|*.*"));
    EXPECT_TRUE(ui.dialogs[1].cancelError);
    EXPECT_FALSE(QFile::exists(name + QStringLiteral(".bmp")));
    const QImage saved(name, "BMP");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), chart()->widget()->size());
    EXPECT_EQ(countColor(saved, QRect(100, 99, 200, 3), kMark), 200);  // host drawings included
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(View, HiddenSaveAsBmpAsksWithItsOwnTitleAndCancelWritesNothing) {
    ui.cancel();
    trigger("idm_SaveAsBmp");
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, QStringLiteral("Select BMP File"));
    EXPECT_EQ(ui.dialogs[0].filter, QStringLiteral("Bitmap Files(*.bmp)|*.bmp"));
    EXPECT_TRUE(mainSpy()->callsOf(id::SaveAsBmpFile).empty());

    const QString name = files.path(QStringLiteral("b.bmp"));
    ui.choose(name);
    trigger("idm_SaveAsBmp");
    EXPECT_TRUE(QFile::exists(name));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(View, PictureThatCannotBeWrittenIsReported) {
    const QString name = files.path(QStringLiteral("no such folder/picture.bmp"));
    ui.choose(name);
    trigger("idm_SavePic");
    EXPECT_FALSE(QFile::exists(name));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("提示用户"));
    EXPECT_TRUE(ui.messages[0].text.contains(name));
}

TEST_F(View, RangeDialogCancelledLeavesTheChartAsItWasAndUnredrawn) {
    open({1000, 2000, 3000, 2500});
    drawMark();
    ASSERT_EQ(markPixels(), 200);
    const float xmax = chart().get(id::xmax).toR4();
    const std::size_t plots = mainSpy()->callsOf(id::Plot).size();
    bool shown = false;
    test::answerNextModal([&shown](QWidget *dialog) {
        shown = true;
        dialog->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("99"));
        dialog->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    });
    trigger("idm_Range");
    EXPECT_TRUE(shown);
    EXPECT_EQ(chart().get(id::xmax).toR4(), xmax);
    EXPECT_EQ(mainSpy()->callsOf(id::Plot).size(), plots);
    EXPECT_EQ(markPixels(), 200);
}

TEST_F(View, RangeDialogConfirmedSetsTheRangeAndRedraws) {
    open({1000, 2000, 3000, 2500});
    drawMark();
    test::answerNextModal([](QWidget *dialog) {
        dialog->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("0.01"));
        dialog->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    });
    trigger("idm_Range");
    EXPECT_EQ(chart().get(id::xmax).toR4(), 0.01f);
    EXPECT_EQ(markPixels(), 0);  // plotted afresh
}

}  // namespace
}  // namespace wavedesk
