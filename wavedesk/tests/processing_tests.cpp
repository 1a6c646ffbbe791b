// The processing commands through Form1's menu, with the real chart and DSP controls and a
// scripted parameter dialog: what each command leaves in the chart, its messages, and what it
// leaves alone.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <cmath>
#include <deque>

#include "automation/plugin.h"
#include "dspsteps.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "graphane/dispids.h"
#include "testfiles.h"

namespace wavedesk {
namespace {

namespace id = graphane::dispid;
using automation::ControlHandle;
using automation::ElemType;
using automation::SafeArray;
using test::ScriptedUi;

const QString kSample = QStringLiteral(WAVEDESK_SAMPLE);
const QString kTitle = QStringLiteral("提示用户");
const QString kFlat = QStringLiteral("数据没有起伏（最大值等于最小值），无法处理。");

bool controlsBuilt() {
    const std::string dir = automation::programFolder();
    for (const char *lib : {"libgraphane.so", "libtessiq.so", "libsigmora.so"})
        if (!QFile::exists(QString::fromStdString(dir + lib))) return false;
    return true;
}

// A chromatogram in mV: a slow drift, two narrow peaks and a little deterministic ripple.
std::vector<float> chromatogram(int32_t n) {
    std::vector<float> y(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        const double t = i;
        double v = 12 + 3e-4 * t + 0.05 * std::sin(1.7 * t) + 0.03 * std::cos(5.3 * t);
        v += 90 * std::exp(-0.5 * std::pow((t - 0.35 * n) / 8, 2));
        v += 45 * std::exp(-0.5 * std::pow((t - 0.7 * n) / 14, 2));
        y[i] = static_cast<float>(v);
    }
    return y;
}

std::vector<float> minutes(int32_t n) {
    std::vector<float> x(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) x[i] = static_cast<float>(i) / 20.0f / 60.0f;
    return x;
}

class Processing : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!controlsBuilt()) GTEST_SKIP() << "the chart or DSP control is not built";
        form = std::make_unique<Form1>();
        Form3::setScript([this](Form3 &dlg) { answerDialog(dlg); });
    }
    void TearDown() override {
        Form3::setScript({});
        form.reset();
    }

    // The next dialog gets these texts and is confirmed (ok) or cancelled.
    void answer(const char *t1, const char *t2, const char *t3, bool ok = true) {
        answers.push_back({{QString::fromUtf8(t1), QString::fromUtf8(t2), QString::fromUtf8(t3)}, ok});
    }
    void answerDialog(Form3 &dlg) {
        shownTexts.push_back({dlg.Text1->text(), dlg.Text2->text(), dlg.Text3->text()});
        okselWhenShown.push_back(dlg.oksel);
        visibleWhenShown.push_back(dlg.isVisible());
        if (answers.empty()) {
            ADD_FAILURE() << "the parameter dialog was shown unexpectedly";
            dlg.Command2->click();
            return;
        }
        const auto [texts, ok] = answers.front();
        answers.pop_front();
        dlg.Text1->setText(texts[0]);
        dlg.Text2->setText(texts[1]);
        dlg.Text3->setText(texts[2]);
        (ok ? dlg.Command1 : dlg.Command2)->click();
    }

    ControlHandle &chart() { return form->graphane1(); }
    void trigger(const char *name) { form->menuItem(QString::fromLatin1(name))->trigger(); }

    // Series 0 of the main chart made of `y` on the time axis, as a loaded file would be.
    void load(const std::vector<float> &y) {
        const int32_t n = static_cast<int32_t>(y.size());
        SafeArray counts = SafeArray::ofInts({n});
        chart().call(id::CreateSeries, int16_t(1), counts);
        SafeArray xs = SafeArray::ofFloats(minutes(n)), ys = SafeArray::ofFloats(y);
        int32_t start = 0, count = n;
        chart().call(id::SetSeries, int16_t(0), xs, ys, start, count);
    }
    std::vector<float> series(ControlHandle &c, int16_t k, std::vector<float> *x = nullptr) {
        const int32_t n = c.get(id::nPoints, k).toI4();
        SafeArray xs(ElemType::R4, 0, n), ys(ElemType::R4, 0, n);
        int32_t start = 0, count = n;
        c.call(id::GetSeries, k, xs, ys, start, count);
        if (x) *x = xs.floats();
        return ys.floats();
    }
    int16_t nSeries() { return chart().get(id::nSeries).toI2(); }

    ScriptedUi ui;
    std::unique_ptr<Form1> form;
    std::deque<std::pair<std::array<QString, 3>, bool>> answers;
    std::vector<std::array<QString, 3>> shownTexts;
    std::vector<int16_t> okselWhenShown;
    std::vector<bool> visibleWhenShown;
};

// --- without the DSP control ------------------------------------------------------------------

TEST(ProcessingWithoutDsp, CommandsThatNeedTheDspControlSayItIsMissingAndChangeNothing) {
    test::RecordingChart *chart = nullptr;
    Form1 form(nullptr, [&chart](const std::string &progId) -> std::unique_ptr<automation::Control> {
        if (progId != "GraphaneLib.Graphane")
            automation::raise(automation::err::CantCreateObject, "no " + progId);
        auto made = std::make_unique<test::RecordingChart>();
        chart = made.get();
        return made;
    });
    ScriptedUi ui;
    Form3::setScript([](Form3 &dlg) { dlg.Command1->click(); });
    SafeArray counts = SafeArray::ofInts({300});
    form.graphane1().call(id::CreateSeries, int16_t(1), counts);
    const std::vector<float> y = chromatogram(300);
    SafeArray xs = SafeArray::ofFloats(minutes(300)), ys = SafeArray::ofFloats(y);
    int32_t start = 0, count = 300;
    form.graphane1().call(id::SetSeries, int16_t(0), xs, ys, start, count);
    for (const char *command : {"idm_WaveletFilter", "idm_BaseLine1", "idm_DelBase", "idm_FFTLowPass"}) {
        ui.messages.clear();
        const std::size_t before =
            test::linesStarting(chart->log, {"call CreateSeries", "call SetSeries"}).size();
        form.menuItem(QString::fromLatin1(command))->trigger();
        ASSERT_EQ(ui.messages.size(), 1u) << command;
        EXPECT_TRUE(ui.messages[0].text.contains("TessiqLib.Tessiq")) << ui.messages[0].text.toStdString();
        EXPECT_EQ(test::linesStarting(chart->log, {"call CreateSeries", "call SetSeries"}).size(), before)
            << command;
    }
    EXPECT_EQ(chart->y[0], y);
    Form3::setScript({});
}

// --- the parameter dialog --------------------------------------------------------------------

TEST(Form3Dialog, CaptionRowsButtonsAndTabOrder) {
    Form3 dlg;
    EXPECT_EQ(dlg.windowTitle(), "输入分析参数");
    EXPECT_EQ(dlg.Label1->text(), "小波系数门限");
    EXPECT_EQ(dlg.Label2->text(), "基线波动门限（毫伏）");
    EXPECT_EQ(dlg.Label3->text(), "滑动平均窗口长度（秒）");
    EXPECT_EQ(dlg.Text1->text(), "200");
    EXPECT_EQ(dlg.Text2->text(), "30");
    EXPECT_EQ(dlg.Text3->text(), "20");
    EXPECT_EQ(dlg.Command1->text(), "确认(&O)");
    EXPECT_EQ(dlg.Command2->text(), "取消(&C)");
    EXPECT_EQ(dlg.oksel, 0);
    EXPECT_EQ(dlg.Text1->nextInFocusChain(), dlg.Text2);
    EXPECT_EQ(dlg.Text3->nextInFocusChain(), dlg.Command1);
    EXPECT_EQ(dlg.Command1->nextInFocusChain(), dlg.Command2);
}

TEST(Form3Dialog, ModalDialogReturnsWhenConfirmed) {
    Form3::setScript({});  // the real modal dialog, answered while it is open
    Form3 dlg;
    test::answerNextModal([&dlg](QWidget *) {
        dlg.Text3->setText(QStringLiteral("12"));
        dlg.Command1->click();
    });
    dlg.showModal();
    EXPECT_EQ(dlg.oksel, -1);
    EXPECT_EQ(dlg.Text3->text(), "12");
}

// --- chromatogram preprocessing ----------------------------------------------------------------

TEST_F(Processing, DefaultsProduceFourSeriesAndShowTheCoefficients) {
    ui.choose(kSample);
    trigger("idm_OpenData");
    const int32_t n = chart().get(id::nPoints, int16_t(0)).toI4();
    ASSERT_EQ(n, 16384);
    std::vector<float> x;
    const std::vector<float> input = series(chart(), 0, &x);
    const float ymin = chart().get(id::ymin).toR4(), ymax = chart().get(id::ymax).toR4();

    answer("200", "30", "20");
    trigger("idm_WaveletFilter");
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(shownTexts.size(), 1u);
    EXPECT_EQ(shownTexts[0], (std::array<QString, 3>{"200", "30", "20"}));
    EXPECT_EQ(okselWhenShown[0], 0);
    EXPECT_TRUE(visibleWhenShown[0]);
    EXPECT_EQ(form->parameters().coefficientThreshold, 200.0f);
    EXPECT_EQ(form->parameters().baselineThreshold, 30.0f);
    EXPECT_EQ(form->parameters().windowSeconds, 20.0f);

    ASSERT_EQ(nSeries(), 4);
    const int32_t colors[4] = {0xFF0000, 0x5000, 0, 255};
    for (int16_t k = 0; k < 4; ++k) {
        EXPECT_EQ(chart().get(id::nPoints, k).toI4(), n);
        EXPECT_EQ(chart().get(id::LineColor, k).toI4(), colors[k]) << k;
        std::vector<float> xk;
        series(chart(), k, &xk);
        EXPECT_EQ(xk, x) << k;
    }
    EXPECT_EQ(series(chart(), 0), input);
    EXPECT_EQ(chart().get(id::ymin).toR4(), ymin);  // the axes are left as they were
    EXPECT_EQ(chart().get(id::ymax).toR4(), ymax);

    // The same arithmetic called directly through the DSP control gives the same series.
    Preprocessed want;
    ASSERT_EQ(PreprocessChromatogram(input.data(), n, {}, waveletThrough(form->tessiq1()), want),
              Outcome::Done);
    EXPECT_EQ(series(chart(), 1), want.denoised);
    EXPECT_EQ(series(chart(), 2), want.baseline);
    EXPECT_EQ(series(chart(), 3), want.corrected);

    Form2 &zoom = form->form2();
    EXPECT_TRUE(zoom.isVisible());
    EXPECT_EQ(zoom.parentWidget(), form.get());
    ControlHandle &z = zoom.graphane1();
    EXPECT_EQ(z.get(id::nSeries).toI2(), 1);
    EXPECT_EQ(z.get(id::nPoints, int16_t(0)).toI4(), 16384);
    std::vector<float> index;
    EXPECT_EQ(series(z, 0, &index), want.coefficients);
    EXPECT_EQ(index[100], 100.0f);
    EXPECT_EQ(z.get(id::xmin).toR4(), 0.0f);
    EXPECT_EQ(z.get(id::xmax).toR4(), 16384.0f);
    EXPECT_EQ(z.get(id::ymin).toR4(), want.cmin);
    EXPECT_EQ(z.get(id::ymax).toR4(), want.cmax);
    EXPECT_EQ(z.get(id::GridSel).toI2(), graphane::GRAPHANEGRIDEQSPACE);
    EXPECT_EQ(z.get(id::nGridx).toI2(), 9);
    EXPECT_EQ(z.get(id::nGridy).toI2(), 11);
    EXPECT_EQ(z.get(id::DotStyle, int16_t(0)).toI2(), graphane::GRAPHANEDOTNONE);
    EXPECT_EQ(z.get(id::LineStyle, int16_t(0)).toI2(), graphane::GRAPHANELINESOLID);
}

TEST_F(Processing, CorrectedTraceIsFlatAwayFromThePeaksAndKeepsThem) {
    const int32_t n = 4000;
    const std::vector<float> y = chromatogram(n);
    load(y);
    answer("200", "5", "3");
    trigger("idm_WaveletFilter");
    ASSERT_EQ(nSeries(), 4);
    const std::vector<float> corrected = series(chart(), 3);
    const float offset = y[0] / 2 + y[1] / 2;
    for (int32_t i : {200, 1000, 2000, 3500}) EXPECT_NEAR(corrected[i], offset, 0.3f) << i;
    EXPECT_NEAR(corrected[1400] - offset, 90, 5);
    EXPECT_NEAR(corrected[2800] - offset, 45, 4);
}

TEST_F(Processing, ThousandPointsUseATransformOf1024) {
    load(chromatogram(1000));
    answer("200", "30", "20");
    trigger("idm_WaveletFilter");
    ASSERT_EQ(nSeries(), 4);
    for (int16_t k = 0; k < 4; ++k) EXPECT_EQ(chart().get(id::nPoints, k).toI4(), 1000);
    ControlHandle &z = form->form2().graphane1();
    EXPECT_EQ(z.get(id::nPoints, int16_t(0)).toI4(), 1024);
    EXPECT_EQ(z.get(id::xmax).toR4(), 1024.0f);
}

TEST_F(Processing, ZoomWindowTakesTheMainChartSettingsWhenCreated) {
    load(chromatogram(500));
    chart().put(id::LineColor, int16_t(1), int32_t(0x123456));
    chart().put(id::DotColor, int16_t(0), int32_t(0x654321));
    EXPECT_EQ(form->findChild<Form2 *>(), nullptr);  // created on first use
    Form2 *zoom = &form->form2();
    EXPECT_EQ(zoom->windowTitle(), "Zoom Window");
    EXPECT_TRUE(zoom->isWindow());
    ControlHandle &z = zoom->graphane1();
    EXPECT_EQ(z.get(id::BorderColor).toI4(), 0xC000FF);
    EXPECT_EQ(z.get(id::MarginLeft).toR4(), 50.0f);
    EXPECT_EQ(z.get(id::MarginTop).toR4(), 30.0f);
    EXPECT_EQ(z.get(id::MarginBottom).toR4(), 40.0f);
    EXPECT_EQ(z.get(id::GridColor).toI4(), 0xC00080);
    EXPECT_EQ(z.get(id::DotColor, int16_t(0)).toI4(), 0x654321);
    EXPECT_EQ(z.get(id::DotColor, int16_t(1)).toI4(), 255);
    EXPECT_EQ(z.get(id::LineColor, int16_t(1)).toI4(), 0x123456);
    EXPECT_EQ(z.get(id::FontSize).toI2(), 12);
    // Preprocessing uses that window, and the next run uses it again.
    answer("200", "30", "20");
    trigger("idm_WaveletFilter");
    answer("200", "30", "20");
    trigger("idm_WaveletFilter");
    EXPECT_EQ(&form->form2(), zoom);
    EXPECT_EQ(form->findChildren<Form2 *>().size(), 1);
    EXPECT_TRUE(zoom->isVisible());
}

TEST_F(Processing, EachParameterOutOfRangeHasItsMessageAndChangesNothing) {
    const std::vector<float> y = chromatogram(800);
    struct Case {
        const char *t1, *t2, *t3, *message;
    };
    const Case cases[] = {
        {"5000", "30", "20", "小波系数门限无效。"}, {"-1", "30", "20", "小波系数门限无效。"},
        {"0", "30", "20", "小波系数门限无效。"},    {"200", "400.5", "20", "基线波动门限无效。"},
        {"200", "-3", "20", "基线波动门限无效。"},  {"200", "30", "abc", "滑动平均长度无效。"},
        {"200", "30", "301", "滑动平均长度无效。"}, {"abc", "abc", "abc", "小波系数门限无效。"},
    };
    for (const Case &c : cases) {
        load(y);
        ui.messages.clear();
        answer(c.t1, c.t2, c.t3);
        trigger("idm_WaveletFilter");
        ASSERT_EQ(ui.messages.size(), 1u) << c.t1 << " " << c.t2 << " " << c.t3;
        EXPECT_EQ(ui.messages[0].icon, forms::MsgIcon::Information);
        EXPECT_EQ(ui.messages[0].title, kTitle);
        EXPECT_EQ(ui.messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(nSeries(), 1);
        EXPECT_EQ(series(chart(), 0), y);
    }
    EXPECT_EQ(form->parameters().windowSeconds, 0.0f);  // "abc" read as 0
}

TEST_F(Processing, LeadingNumbersAreReadAndLimitsAccepted) {
    load(chromatogram(600));
    answer("4999x", "400", "300 s");
    trigger("idm_WaveletFilter");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(nSeries(), 4);
    EXPECT_EQ(form->parameters().coefficientThreshold, 4999.0f);
    EXPECT_EQ(form->parameters().windowSeconds, 300.0f);
}

TEST_F(Processing, CancelChangesNothingAndTheDialogOpensWithDefaultsAgain) {
    const std::vector<float> y = chromatogram(700);
    load(y);
    answer("100", "10", "5", false);
    trigger("idm_WaveletFilter");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(nSeries(), 1);
    EXPECT_EQ(form->parameters().coefficientThreshold, 200.0f);  // not taken from a cancelled dialog
    answer("100", "10", "5");
    trigger("idm_WaveletFilter");
    ASSERT_EQ(shownTexts.size(), 2u);
    EXPECT_EQ(shownTexts[1], (std::array<QString, 3>{"200", "30", "20"}));
    EXPECT_EQ(form->parameters().coefficientThreshold, 100.0f);
}

TEST_F(Processing, FlatSeriesIsReportedAndLeftAlone) {
    const std::vector<float> flat(300, 7.5f);
    for (const char *command : {"idm_WaveletFilter", "idm_BaseLine1", "idm_FFTLowPass"}) {
        load(flat);
        ui.messages.clear();
        if (std::string(command) == "idm_WaveletFilter") answer("200", "30", "20");
        trigger(command);
        ASSERT_EQ(ui.messages.size(), 1u) << command;
        EXPECT_EQ(ui.messages[0].title, kTitle);
        EXPECT_EQ(ui.messages[0].icon, forms::MsgIcon::Information);
        EXPECT_EQ(ui.messages[0].text, kFlat);
        EXPECT_EQ(nSeries(), 1) << command;
        EXPECT_EQ(series(chart(), 0), flat);
    }
    EXPECT_EQ(form->findChild<Form2 *>(), nullptr);  // no coefficients to show
}

TEST_F(Processing, EmptyChartMakesEveryCommandDoNothing) {
    const char *commands[] = {"idm_WaveletFilter", "idm_BaseLine1",  "idm_DelBase",
                              "idm_Smooth",        "idm_FFTLowPass", "idm_WeightFilter"};
    SafeArray none = SafeArray::ofInts({0});
    chart().call(id::CreateSeries, int16_t(0), none);
    ASSERT_EQ(nSeries(), 0);
    for (const char *command : commands) trigger(command);
    EXPECT_EQ(nSeries(), 0);

    load(chromatogram(100));
    chart().put(id::nPoints, int16_t(0), int32_t(0));
    ASSERT_EQ(chart().get(id::nPoints, int16_t(0)).toI4(), 0);
    for (const char *command : commands) trigger(command);
    EXPECT_EQ(nSeries(), 1);
    EXPECT_EQ(chart().get(id::nPoints, int16_t(0)).toI4(), 0);

    EXPECT_TRUE(shownTexts.empty());
    EXPECT_TRUE(ui.messages.empty());
}

// --- baseline commands -------------------------------------------------------------------------

TEST_F(Processing, WaveletBaselineShowsInputAndItsCoarsestApproximation) {
    const std::vector<float> y = chromatogram(1500);
    load(y);
    trigger("idm_BaseLine1");
    ASSERT_EQ(nSeries(), 2);
    EXPECT_EQ(chart().get(id::LineColor, int16_t(1)).toI4(), 0x6000);
    EXPECT_EQ(series(chart(), 0), y);
    std::vector<float> want;
    ASSERT_EQ(WaveletBaseline(y.data(), 1500, waveletThrough(form->tessiq1()), want), Outcome::Done);
    EXPECT_EQ(series(chart(), 1), want);
    // The coarsest approximation of a padded series is nearly constant over the data.
    EXPECT_NEAR(want[100], want[1400], 5.0f);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Processing, DeleteBaseMakesTheCorrectedSignalSeriesZero) {
    const int32_t n = 3000;
    std::vector<float> y(n);
    for (int32_t i = 0; i < n; ++i)
        y[i] = static_cast<float>(5 + 0.002 * i + 60 * std::exp(-0.5 * std::pow((i - 1500) / 10.0, 2)));
    load(y);
    trigger("idm_DelBase");
    ASSERT_EQ(nSeries(), 2);
    EXPECT_EQ(chart().get(id::LineColor, int16_t(1)).toI4(), 255);
    EXPECT_EQ(series(chart(), 1), y);
    const float min = *std::min_element(y.begin(), y.end()), max = *std::max_element(y.begin(), y.end());
    EXPECT_EQ(series(chart(), 0), DeleteBaseline(y.data(), n, min, max));
}

// --- simple filters ------------------------------------------------------------------------------

TEST_F(Processing, SmoothTwiceLeavesThreeSeriesBothFromSeriesZero) {
    const std::vector<float> y = chromatogram(900);
    load(y);
    trigger("idm_Smooth");
    trigger("idm_Smooth");
    ASSERT_EQ(nSeries(), 3);
    const std::vector<float> want = MovingAverage(y.data(), 900);
    EXPECT_EQ(series(chart(), 0), y);
    EXPECT_EQ(series(chart(), 1), want);
    EXPECT_EQ(series(chart(), 2), want);
    EXPECT_EQ(chart().get(id::LineColor, int16_t(1)).toI4(), 255);
    std::vector<float> x2;
    series(chart(), 2, &x2);
    EXPECT_EQ(x2, minutes(900));
}

TEST_F(Processing, WeightFilterAndFftLowPassAppendTheirResults) {
    const std::vector<float> y = chromatogram(1000);
    load(y);
    trigger("idm_WeightFilter");
    trigger("idm_FFTLowPass");
    ASSERT_EQ(nSeries(), 3);
    EXPECT_EQ(series(chart(), 1), WeightFilter(y.data(), 1000));
    std::vector<float> low;
    ASSERT_EQ(FftLowPass(y.data(), 1000, fftThrough(form->tessiq1()), low), Outcome::Done);
    EXPECT_EQ(series(chart(), 2), low);
    // The slow drift is gone: both ends sit near the mean, the peaks stay.
    float mean = 0;
    for (int32_t i = 0; i < 1000; ++i) mean += (y[i] - mean) / float(i + 1);
    EXPECT_GT(low[350] - mean, 60.0f);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Processing, FilterAtTheSeriesLimitDoesNotOverwriteTheLastSeries) {
    const int32_t n = 200;
    SafeArray counts = SafeArray::ofInts(std::vector<int32_t>(15, n));
    chart().call(id::CreateSeries, int16_t(15), counts);
    const std::vector<float> y = chromatogram(n);
    SafeArray xs = SafeArray::ofFloats(minutes(n)), ys = SafeArray::ofFloats(y);
    int32_t start = 0, count = n;
    chart().call(id::SetSeries, int16_t(0), xs, ys, start, count);
    const std::vector<float> last = series(chart(), 14);
    trigger("idm_Smooth");
    EXPECT_EQ(nSeries(), 15);
    EXPECT_EQ(series(chart(), 14), last);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, kTitle);
}

}  // namespace
}  // namespace wavedesk
