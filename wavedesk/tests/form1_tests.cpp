// Form1 end to end: its menu commands driven through their actions, with scripted file
// dialogs, against a recording chart (what was called, in which order) and against the real
// chart control when its plugin is built.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QWidget>
#include <cmath>
#include <fstream>
#include <string>

#include "automation/plugin.h"
#include "form1.h"
#include "graphane/dispids.h"
#include "sepufile.h"
#include "testfiles.h"

namespace wavedesk {
namespace {

namespace id = graphane::dispid;
using test::RecordingChart;
using test::ScriptedUi;
using test::TempFolder;

const QString kSample = QStringLiteral(WAVEDESK_SAMPLE);

// The values of a .sepu file of integers, read independently of the program.
std::vector<long> fileIntegers(const QString &path) {
    std::ifstream in(path.toStdString());
    std::vector<long> values;
    long v;
    while (in >> v) values.push_back(v);
    return values;
}

std::vector<long long> ramp(int n) {
    std::vector<long long> v;
    for (int i = 0; i < n; ++i) v.push_back((i * 37) % 5000 - 1000);
    return v;
}

// Member name of every logged call, in order ("CreateSeries", "xmin", ...).
std::vector<std::string> members(const std::vector<std::string> &log, std::size_t from = 0) {
    std::vector<std::string> out;
    for (std::size_t i = from; i < log.size(); ++i) {
        const std::string &line = log[i];
        const std::size_t a = line.find(' ');
        const std::size_t b = line.find(' ', a + 1);
        out.push_back(line.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1));
    }
    return out;
}

class Form1WithRecordingChart : public ::testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<Form1>(nullptr, [this](const std::string &progId) {
            if (progId == "GraphaneLib.Graphane") {
                auto chart = std::make_unique<RecordingChart>();
                this->chart = chart.get();
                return std::unique_ptr<automation::Control>(std::move(chart));
            }
            automation::raise(automation::err::CantCreateObject, "no such library: " + progId);
        });
    }
    void trigger(const char *name) {
        QAction *a = form->menuItem(QString::fromLatin1(name));
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
    }
    void open(const QString &path) {
        ui.choose(path);
        trigger("idm_OpenData");
    }
    void saveAs(const QString &path) {
        ui.choose(path);
        trigger("idm_SaveData");
    }

    ScriptedUi ui;
    TempFolder dir;
    RecordingChart *chart = nullptr;
    std::unique_ptr<Form1> form;
};

// --- start-up ------------------------------------------------------------------------------

TEST_F(Form1WithRecordingChart, DesignPropertiesAreLoadedBeforeTheLoadHandlerSettings) {
    EXPECT_EQ(form->windowTitle(), "色谱数据处理");
    ASSERT_FALSE(chart->log.empty());
    EXPECT_EQ(chart->log.front(), "loadProperties");
    EXPECT_EQ(chart->loaded.read("BorderStyle", {}).toI2(), graphane::GRAPHANEBORDER3DOUT);
    EXPECT_EQ(chart->loaded.read("MarginRight", {}).toR4(), 40.0f);
    EXPECT_EQ(chart->loaded.read("TitleX", {}).toString(), "Time");
    EXPECT_EQ(chart->loaded.read("TitleY", {}).toString(), "Energy");
    EXPECT_EQ(chart->loaded.entries().size(), 4u);
    EXPECT_EQ(members(chart->log, 1),
              (std::vector<std::string>{"BorderColor", "MarginLeft", "MarginTop", "MarginBottom", "GridColor",
                                        "DotColor", "DotColor", "LineColor", "LineColor", "nGridx", "nGridy",
                                        "FontSize"}));
    EXPECT_EQ(chart->property(id::BorderColor).toI4(), 0xC000FF);
    EXPECT_EQ(chart->property(id::MarginLeft).toR4(), 50.0f);
    EXPECT_EQ(chart->property(id::MarginTop).toR4(), 30.0f);
    EXPECT_EQ(chart->property(id::MarginBottom).toR4(), 40.0f);
    EXPECT_EQ(chart->property(id::GridColor).toI4(), 0xC00080);
    EXPECT_EQ(chart->property(id::DotColor, 0).toI4(), 0xFF0000);
    EXPECT_EQ(chart->property(id::DotColor, 1).toI4(), 255);
    EXPECT_EQ(chart->property(id::LineColor, 0).toI4(), 0x8000);
    EXPECT_EQ(chart->property(id::LineColor, 1).toI4(), 0xC00000);
    EXPECT_EQ(chart->property(id::nGridx).toI2(), 11);
    EXPECT_EQ(chart->property(id::nGridy).toI2(), 6);
    EXPECT_EQ(chart->property(id::FontSize).toI2(), 12);
}

TEST_F(Form1WithRecordingChart, ChartFillsTheWindowAndFollowsItsSize) {
    form->show();
    form->resize(700, 500);
    QApplication::processEvents();
    QWidget *widget = chart->widget();
    EXPECT_EQ(widget->parentWidget(), form.get());
    EXPECT_EQ(widget->geometry(), form->centralWidget()->geometry());
    EXPECT_EQ(widget->width(), form->width());
    form->resize(500, 300);
    QApplication::processEvents();
    EXPECT_EQ(widget->width(), 500);
    EXPECT_EQ(widget->height() + form->menuBar()->height(), 300);
}

TEST_F(Form1WithRecordingChart, MissingDspControlDoesNotStopTheProgram) {
    EXPECT_FALSE(form->tessiq1().valid());
    EXPECT_TRUE(form->tessiqProblem().contains("TessiqLib.Tessiq"));
    EXPECT_TRUE(form->graphane1().valid());
}

TEST(Form1Start, MissingChartControlFailsWithError429) {
    try {
        Form1 form(nullptr, [](const std::string &progId) -> std::unique_ptr<automation::Control> {
            automation::raise(automation::err::CantCreateObject, progId);
        });
        FAIL() << "Form1 started without its chart";
    } catch (const automation::Error &e) {
        EXPECT_EQ(e.number(), automation::err::CantCreateObject);
    }
}

// --- opening -------------------------------------------------------------------------------

TEST_F(Form1WithRecordingChart, OpenShowsTheDialogWithItsFilterAndTitle) {
    open(dir.writeLines("a.sepu", {1000}));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].mode, forms::CommonDialog::Mode::Open);
    EXPECT_EQ(ui.dialogs[0].title, "打开色谱数据文件");
    EXPECT_EQ(ui.dialogs[0].filter, "Data File(*.sepu)|*.sepu|All Files(*.*)|*.*");
    EXPECT_TRUE(ui.dialogs[0].cancelError);
}

TEST_F(Form1WithRecordingChart, OpenSampleSendsTheSeriesAndSettingsInOrder) {
    const std::size_t before = chart->log.size();
    open(kSample);
    EXPECT_EQ(
        members(chart->log, before),
        (std::vector<std::string>{"CreateSeries", "SetSeries", "xmin", "xmax", "ymin", "ymax", "DotStyle",
                                  "LineStyle", "LineColor", "BorderStyle", "BorderColor", "TitleX", "TitleY",
                                  "GridSel", "SetGridxVal", "SetGridyVal", "GridColor", "Plot"}));
    EXPECT_EQ(chart->log[before], "call CreateSeries 1 {16384}");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1WithRecordingChart, OpenSampleMakesSeriesZeroOfTheWholeFile) {
    open(kSample);
    const std::vector<long> file = fileIntegers(kSample);
    ASSERT_EQ(file.size(), 16384u);
    EXPECT_EQ(chart->nSeries, 1);
    ASSERT_EQ(chart->y[0].size(), 16384u);
    float lo = chart->y[0][0], hi = chart->y[0][0];
    for (std::size_t i = 0; i < file.size(); ++i) {
        ASSERT_EQ(chart->y[0][i], static_cast<float>(file[i] / 1000.0)) << i;
        ASSERT_EQ(chart->x[0][i], static_cast<float>(i) / 20.0f / 60.0f) << i;
        lo = std::min(lo, chart->y[0][i]);
        hi = std::max(hi, chart->y[0][i]);
    }
    EXPECT_EQ(chart->property(id::xmin).toR4(), 0.0f);
    EXPECT_EQ(chart->property(id::xmax).toR4(), static_cast<float>(16384.0 / 1200.0));
    EXPECT_EQ(chart->property(id::ymin).toR4(), lo);
    EXPECT_EQ(chart->property(id::ymax).toR4(), hi);
    EXPECT_EQ(chart->property(id::DotStyle, 0).toI2(), graphane::GRAPHANEDOTNONE);
    EXPECT_EQ(chart->property(id::LineStyle, 0).toI2(), graphane::GRAPHANELINESOLID);
    EXPECT_EQ(chart->property(id::LineColor, 0).toI4(), 0xFF0000);
    EXPECT_EQ(chart->property(id::BorderStyle).toI2(), graphane::GRAPHANEBORDER3DIN);
    EXPECT_EQ(chart->property(id::BorderColor).toI4(), 0);
    EXPECT_EQ(chart->property(id::TitleX).toString(), "Min");
    EXPECT_EQ(chart->property(id::TitleY).toString(), "mv");
    EXPECT_EQ(form->windowTitle(), QFileInfo(kSample).absoluteFilePath());
}

TEST_F(Form1WithRecordingChart, OpenSetsTheUserGridOfMinutesAndFiftyMillivolts) {
    open(kSample);
    EXPECT_EQ(chart->property(id::GridSel).toI2(), graphane::GRAPHANEGRIDVALUE);
    EXPECT_EQ(chart->property(id::GridColor).toI4(), 0x808080);
    ASSERT_EQ(chart->gridx.size(), 20u);  // 21 values built, a count of 20 passed
    ASSERT_EQ(chart->gridy.size(), 20u);
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(chart->gridx[static_cast<std::size_t>(k)], static_cast<float>(k));
        EXPECT_EQ(chart->gridy[static_cast<std::size_t>(k)], static_cast<float>(50 * k - 200));
    }
    const auto gridCalls = test::linesStarting(chart->log, {"call SetGridxVal", "call SetGridyVal"});
    ASSERT_EQ(gridCalls.size(), 2u);
    EXPECT_NE(gridCalls[0].find("21 values} 20"), std::string::npos) << gridCalls[0];
    EXPECT_NE(gridCalls[1].find("{-200 -150 -100 ... 21 values} 20"), std::string::npos) << gridCalls[1];
}

TEST_F(Form1WithRecordingChart, OpenLongFileUsesTheFirst16384Values) {
    const std::vector<long long> values = ramp(20000);
    open(dir.writeLines("long.sepu", values));
    ASSERT_EQ(chart->y[0].size(), 16384u);
    EXPECT_EQ(chart->y[0][16383], static_cast<float>(values[16383] / 1000.0));
    EXPECT_EQ(chart->property(id::xmax).toR4(), static_cast<float>(16384.0 / 1200.0));
    EXPECT_EQ(chart->log[chart->log.size() - 18], "call CreateSeries 1 {16384}");
}

TEST_F(Form1WithRecordingChart, OpenConstantFileRangesOneMillivoltEachSide) {
    open(dir.writeLines("flat.sepu", std::vector<long long>(50, 1500)));
    EXPECT_EQ(chart->property(id::ymin).toR4(), 0.5f);
    EXPECT_EQ(chart->property(id::ymax).toR4(), 2.5f);
    EXPECT_EQ(chart->property(id::xmax).toR4(), static_cast<float>(50.0 / 1200.0));
}

TEST_F(Form1WithRecordingChart, CancelledOpenChangesNothing) {
    const std::size_t before = chart->log.size();
    const QString title = form->windowTitle();
    ui.cancel();
    trigger("idm_OpenData");
    EXPECT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(chart->log.size(), before);
    EXPECT_EQ(form->windowTitle(), title);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1WithRecordingChart, UnreadableFilesLeaveTheChartUnchangedWithoutMessage) {
    open(kSample);
    const std::size_t before = chart->log.size();
    const QString title = form->windowTitle();
    std::string binary;
    for (int i = 0; i < 70000; ++i) binary.push_back(static_cast<char>(i * 131 % 251));
    for (const QString &path : {dir.path("missing.sepu"), dir.write("empty.sepu", ""),
                                dir.write("binary.sepu", binary), dir.path("")}) {
        open(path);
        EXPECT_EQ(chart->log.size(), before) << path.toStdString();
    }
    EXPECT_EQ(form->windowTitle(), title);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(chart->y[0].size(), 16384u);
}

TEST_F(Form1WithRecordingChart, OpenHugeSparseFileReadsOnlyWhatItUses) {
    QFile file(dir.path("huge.sepu"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1000\r\n2000\r\n");
    ASSERT_TRUE(file.resize(qint64(5) << 30));  // 5 GiB of mostly zero bytes, sparse
    file.close();
    open(file.fileName());
    EXPECT_EQ(chart->y[0], (std::vector<float>{1, 2}));
}

// --- saving --------------------------------------------------------------------------------

TEST_F(Form1WithRecordingChart, SaveOneSeriesWritesBaseDotSepu) {
    const QString input = dir.write("in.sepu", "500\r\n-1250\r\n0\r\n42\r\n");
    open(input);
    saveAs(dir.path("run.sepu"));
    ASSERT_EQ(ui.dialogs.size(), 2u);
    EXPECT_EQ(ui.dialogs[1].mode, forms::CommonDialog::Mode::Save);
    EXPECT_EQ(ui.dialogs[1].title, "保存色谱数据");
    EXPECT_EQ(ui.dialogs[1].filter, "Sepu File(*.sepu)|*.sepu|All Files(*.*)|*.*");
    EXPECT_TRUE(ui.dialogs[1].cancelError);
    EXPECT_EQ(test::readFile(dir.path("run.sepu")), test::readFile(input));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1WithRecordingChart, SaveAddsTheExtensionAndReplacesAnyOther) {
    open(dir.writeLines("in.sepu", {1, 2, 3}));
    saveAs(dir.path("plain"));
    saveAs(dir.path("other.txt"));
    EXPECT_EQ(test::readFile(dir.path("plain.sepu")), "1\r\n2\r\n3\r\n");
    EXPECT_EQ(test::readFile(dir.path("other.sepu")), "1\r\n2\r\n3\r\n");
    EXPECT_FALSE(QFile::exists(dir.path("other.txt")));
}

TEST_F(Form1WithRecordingChart, SaveThreeSeriesWritesNumberedFiles) {
    trigger("idm_New");
    saveAs(dir.path("run.sepu"));
    EXPECT_FALSE(QFile::exists(dir.path("run.sepu")));
    const int points[] = {20, 100, 200};
    for (int i = 0; i < 3; ++i) {
        const QString name = dir.path(QStringLiteral("run_%1.sepu").arg(i + 1));
        ASSERT_TRUE(QFile::exists(name)) << name.toStdString();
        std::vector<float> back(300);
        ASSERT_EQ(LoadSepuValues(name, back.data(), 300), points[i]);
        for (int k = 0; k < points[i]; ++k)
            EXPECT_NEAR(back[k], chart->y[i][k], 0.0005f + 1e-6f) << i << " " << k;
    }
    EXPECT_EQ(QDir(dir.path("")).entryList(QDir::Files).size(), 3);
}

TEST_F(Form1WithRecordingChart, SaveInsideAFolderWithADotKeepsTheFolder) {
    ASSERT_TRUE(QDir().mkpath(dir.path("data.old")));
    open(dir.writeLines("in.sepu", {7000, 8000}));
    saveAs(dir.path("data.old/run"));
    EXPECT_EQ(test::readFile(dir.path("data.old/run.sepu")), "7000\r\n8000\r\n");
    EXPECT_FALSE(QFile::exists(dir.path("data.sepu")));
}

TEST_F(Form1WithRecordingChart, CancelledSaveWritesNothing) {
    open(dir.writeLines("in.sepu", {1, 2}));
    ui.cancel();
    trigger("idm_SaveData");
    EXPECT_EQ(QDir(dir.path("")).entryList(QDir::Files), QStringList{"in.sepu"});
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Form1WithRecordingChart, FailedSaveIsReported) {
    open(dir.writeLines("in.sepu", {1, 2}));
    saveAs(dir.path("no/such/folder/run.sepu"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "提示用户");
    EXPECT_EQ(ui.messages[0].icon, forms::MsgIcon::Information);
    EXPECT_TRUE(ui.messages[0].text.contains("run.sepu"));
}

// --- demonstration document and exit -------------------------------------------------------

TEST_F(Form1WithRecordingChart, NewDrawsThreeCircles) {
    trigger("idm_New");
    ASSERT_EQ(chart->nSeries, 3);
    EXPECT_EQ(chart->y[0].size(), 20u);
    EXPECT_EQ(chart->y[1].size(), 100u);
    EXPECT_EQ(chart->y[2].size(), 200u);
    const float radius[] = {0.5f, 0.3f, 0.4f}, cx[] = {0, 0.5f, 0.5f}, cy[] = {0, 0.5f, -0.5f};
    for (int s = 0; s < 3; ++s) {
        const std::size_t n = chart->y[s].size();
        for (std::size_t i = 0; i < n; ++i) {
            const double a = 6.2831852 / static_cast<double>(n - 1) * static_cast<double>(i);
            EXPECT_NEAR(chart->x[s][i], radius[s] * std::sin(a) + cx[s], 1e-6) << s << " " << i;
            EXPECT_NEAR(chart->y[s][i], radius[s] * std::cos(a) + cy[s], 1e-6) << s << " " << i;
        }
    }
    EXPECT_EQ(chart->property(id::LineColor, 0).toI4(), 0xFFC000);
    EXPECT_EQ(chart->property(id::LineColor, 1).toI4(), 0xC000);
    EXPECT_EQ(chart->property(id::LineColor, 2).toI4(), 192);
    EXPECT_EQ(chart->property(id::xmin).toR4(), -1.0f);
    EXPECT_EQ(chart->property(id::xmax).toR4(), 1.0f);
    EXPECT_EQ(chart->property(id::ymin).toR4(), -1.0f);
    EXPECT_EQ(chart->property(id::ymax).toR4(), 1.0f);
    EXPECT_EQ(chart->property(id::LineStyle, 0).toI2(), graphane::GRAPHANELINESOLID);
    for (int s = 0; s < 3; ++s) EXPECT_EQ(chart->property(id::DotStyle, s).toI2(), graphane::GRAPHANEDOTNONE);
    EXPECT_EQ(chart->property(id::BackColor).toI4(), 0xFFFFFF);
    EXPECT_EQ(members(chart->log).back(), "Plot");
}

TEST_F(Form1WithRecordingChart, ExitUnloadsTheWindowOnce) {
    form->show();
    int unloads = 0;
    QObject::connect(form.get(), &Form1::unloaded, [&unloads] { ++unloads; });
    trigger("idm_Exit");
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Form1WithRecordingChart, ClosingTheWindowUnloadsItAndItsOtherWindows) {
    form->show();
    auto *other = new QWidget(form.get(), Qt::Window);
    other->show();
    int unloads = 0;
    QObject::connect(form.get(), &Form1::unloaded, [&unloads] { ++unloads; });
    form->close();
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(other->isVisible());
}

// --- with the real chart control -----------------------------------------------------------

class Form1WithGraphane : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFile::exists(QString::fromStdString(automation::programFolder() + "libgraphane.so")))
            GTEST_SKIP() << "the chart control is not built";
        form = std::make_unique<Form1>();
    }
    automation::ControlHandle &chart() { return form->graphane1(); }

    ScriptedUi ui;
    TempFolder dir;
    std::unique_ptr<Form1> form;
};

TEST_F(Form1WithGraphane, StartsWithDesignPropertiesAndLoadSettings) {
    EXPECT_EQ(chart().get(id::BorderStyle).toI2(), graphane::GRAPHANEBORDER3DOUT);
    EXPECT_EQ(chart().get(id::MarginRight).toR4(), 40.0f);
    EXPECT_EQ(chart().get(id::TitleX).toString(), "Time");
    EXPECT_EQ(chart().get(id::TitleY).toString(), "Energy");
    EXPECT_EQ(chart().get(id::BorderColor).toI4(), 0xC000FF);
    EXPECT_EQ(chart().get(id::MarginLeft).toR4(), 50.0f);
    EXPECT_EQ(chart().get(id::nGridy).toI2(), 6);
    EXPECT_EQ(chart().get(id::FontSize).toI2(), 12);
    EXPECT_EQ(chart().get(id::LineColor, int16_t(1)).toI4(), 0xC00000);
}

TEST_F(Form1WithGraphane, OpensTheSampleThroughTheMenu) {
    ui.choose(kSample);
    form->menuItem("idm_OpenData")->trigger();
    EXPECT_EQ(chart().get(id::nSeries).toI2(), 1);
    EXPECT_EQ(chart().get(id::nPoints, int16_t(0)).toI4(), 16384);
    EXPECT_EQ(chart().get(id::xmax).toR4(), static_cast<float>(16384.0 / 1200.0));
    EXPECT_EQ(chart().get(id::TitleX).toString(), "Min");
    EXPECT_EQ(chart().get(id::TitleY).toString(), "mv");
    EXPECT_EQ(chart().get(id::GridSel).toI2(), graphane::GRAPHANEGRIDVALUE);
    EXPECT_EQ(chart().get(id::nGridx).toI2(), 20);
    EXPECT_EQ(chart().get(id::nGridy).toI2(), 20);
    EXPECT_EQ(form->windowTitle(), kSample);
    automation::SafeArray x(automation::ElemType::R4, 0, 16384), y(automation::ElemType::R4, 0, 16384);
    int32_t start = 0, n = 16384;
    chart().call(id::GetSeries, int16_t(0), x, y, start, n);
    const std::vector<long> file = fileIntegers(kSample);
    EXPECT_EQ(y.r4(0), static_cast<float>(file[0] / 1000.0));
    EXPECT_EQ(y.r4(16383), static_cast<float>(file[16383] / 1000.0));
    EXPECT_EQ(x.r4(16383), 16383.0f / 20.0f / 60.0f);
}

TEST_F(Form1WithGraphane, SavedSampleIsTheSampleFile) {
    ui.choose(kSample);
    form->menuItem("idm_OpenData")->trigger();
    ui.choose(dir.path("copy.sepu"));
    form->menuItem("idm_SaveData")->trigger();
    EXPECT_EQ(test::readFile(dir.path("copy.sepu")), test::readFile(kSample));
}

TEST_F(Form1WithGraphane, ShowsTheTraceInTheWindow) {
    ui.choose(kSample);
    form->menuItem("idm_OpenData")->trigger();
    form->resize(800, 600);
    form->show();
    QApplication::processEvents();
    const QImage image = form->centralWidget()->grab().toImage();
    int blue = 0;
    for (int yy = 0; yy < image.height(); ++yy)
        for (int xx = 0; xx < image.width(); ++xx)
            if (image.pixelColor(xx, yy) == QColor(0, 0, 255)) ++blue;
    EXPECT_GT(blue, 500);  // the series is drawn in 0xFF0000 (blue)
}

}  // namespace
}  // namespace wavedesk
