// form1_processing.cpp - Form1's processing commands: chromatogram preprocessing (wavelet
// denoising and baseline removal), the wavelet and flat-point baseline commands, and the three
// simple filters. Each reads series 0 from Graphane1, computes with chromatogram.cpp (the
// transforms through Tessiq1) and writes its results back as chart series.
#include <QLineEdit>
#include <QString>
#include <vector>

#include "automation/safearray.h"
#include "chartcommands.h"
#include "dspsteps.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "graphane/dispids.h"
#include "tessiq/dispids.h"

namespace wavedesk {

namespace id = graphane::dispid;
using automation::ElemType;
using automation::SafeArray;

namespace {

constexpr const char *kFlatText = "数据没有起伏（最大值等于最小值），无法处理。";
constexpr const char *kFullText = "曲线数已达上限，结果没有加入图中。";

// Series 0 of a chart: x (time) and y (values).
struct Series {
    std::vector<float> x, y;
    int32_t n() const { return static_cast<int32_t>(y.size()); }
};

// Points of series 0, or 0 when the chart holds no series.
int32_t pointsOfSeries0(automation::ControlHandle &chart) {
    if (chart.get(id::nSeries).toI2() < 1) return 0;
    return chart.get(id::nPoints, int16_t(0)).toI4();
}

Series readSeries0(automation::ControlHandle &chart, int32_t n) {
    SafeArray x(ElemType::R4, 0, n), y(ElemType::R4, 0, n);
    int32_t start = 0, count = n;
    chart.call(id::GetSeries, int16_t(0), x, y, start, count);
    return {x.floats(), y.floats()};
}

// SetSeries(index, x, y, 0, n) with n = the length of y.
void setSeries(automation::ControlHandle &chart, int16_t index, const std::vector<float> &x,
               const std::vector<float> &y) {
    SafeArray xs = SafeArray::ofFloats(x), ys = SafeArray::ofFloats(y);
    int32_t start = 0, count = static_cast<int32_t>(y.size());
    chart.call(id::SetSeries, index, xs, ys, start, count);
}

void createSeries(automation::ControlHandle &chart, int16_t count, int32_t points) {
    SafeArray counts = SafeArray::ofInts(std::vector<int32_t>(static_cast<std::size_t>(count), points));
    chart.call(id::CreateSeries, count, counts);
}

void note(QWidget *parent, const char *text) {
    ShowNote(parent, QString::fromUtf8(text));
}

const char *paramMessage(ParamProblem problem) {
    switch (problem) {
        case ParamProblem::CoefThreshold: return "小波系数门限无效。";
        case ParamProblem::BaseThreshold: return "基线波动门限无效。";
        case ParamProblem::WindowLength: return "滑动平均长度无效。";
        case ParamProblem::None: break;
    }
    return "";
}

PreprocessParams toParams(const AnalysisParameters &p) {
    return {p.coefficientThreshold, p.baselineThreshold, p.windowSeconds};
}

}  // namespace

// ---- Chromatogram preprocessing ------------------------------------------------------------

void Form1::idm_WaveletFilter_Click() {
    if (pointsOfSeries0(graphane1_) < 1) return;  // nothing loaded: nothing to ask for

    // The dialog is created for this call only, so it always opens with its default texts.
    {
        Form3 form3(this);
        form3.oksel = 0;
        form3.showModal();
        if (form3.oksel == 0) return;
        parameters_.coefficientThreshold =
            static_cast<float>(LeadingNumber(form3.Text1->text().toStdString()));
        parameters_.baselineThreshold = static_cast<float>(LeadingNumber(form3.Text2->text().toStdString()));
        parameters_.windowSeconds = static_cast<float>(LeadingNumber(form3.Text3->text().toStdString()));
    }
    const ParamProblem problem = CheckParams(toParams(parameters_));
    if (problem != ParamProblem::None) {
        note(this, paramMessage(problem));
        return;
    }
    if (preprocessSeries0() == Outcome::Flat) note(this, kFlatText);
}

Outcome Form1::preprocessSeries0() {
    const int32_t n = pointsOfSeries0(graphane1_);
    if (n < 1) return Outcome::Empty;
    if (!tessiq1_.valid()) automation::raise(automation::err::CantCreateObject, tessiqProblem_.toStdString());
    const Series s = readSeries0(graphane1_, n);

    Preprocessed out;
    const Outcome outcome =
        PreprocessChromatogram(s.y.data(), n, toParams(parameters_), waveletThrough(tessiq1_), out);
    if (outcome != Outcome::Done) return outcome;

    // The wavelet coefficients, by index, in the zoom window.
    automation::ControlHandle &zoom = form2().graphane1();
    std::vector<float> index(static_cast<std::size_t>(out.m));
    for (int32_t i = 0; i < out.m; ++i) index[i] = static_cast<float>(i);
    createSeries(zoom, 1, out.m);
    setSeries(zoom, 0, index, out.coefficients);
    zoom.put(id::DotStyle, int16_t(0), int16_t(graphane::GRAPHANEDOTNONE));
    zoom.put(id::LineStyle, int16_t(0), int16_t(graphane::GRAPHANELINESOLID));
    zoom.put(id::xmin, 0.0f);
    zoom.put(id::xmax, static_cast<float>(out.m));
    zoom.put(id::ymin, out.cmin);
    zoom.put(id::ymax, out.cmax);
    zoom.put(id::GridSel, int16_t(graphane::GRAPHANEGRIDEQSPACE));
    zoom.put(id::nGridx, int16_t(9));
    zoom.put(id::nGridy, int16_t(11));
    form2().showModeless();
    PlotChart(zoom);

    // Input, denoised, baseline and corrected replace the main chart's series; axes stay.
    auto &c = graphane1_;
    createSeries(c, 4, n);
    const int32_t colors[4] = {0xFF0000, 0x5000, 0, 255};
    for (int16_t k = 0; k < 4; ++k) c.put(id::LineColor, k, colors[k]);
    setSeries(c, 0, s.x, s.y);
    setSeries(c, 1, s.x, out.denoised);
    setSeries(c, 2, s.x, out.baseline);
    setSeries(c, 3, s.x, out.corrected);
    PlotChart(c);
    return Outcome::Done;
}

// ---- Baseline commands --------------------------------------------------------------------

void Form1::idm_BaseLine1_Click() {
    const int32_t n = pointsOfSeries0(graphane1_);
    if (n < 1) return;
    if (!tessiq1_.valid()) automation::raise(automation::err::CantCreateObject, tessiqProblem_.toStdString());
    const Series s = readSeries0(graphane1_, n);
    std::vector<float> baseline;
    if (WaveletBaseline(s.y.data(), n, waveletThrough(tessiq1_), baseline) == Outcome::Flat) {
        note(this, kFlatText);
        return;
    }
    auto &c = graphane1_;
    createSeries(c, 2, n);
    c.put(id::LineColor, int16_t(1), int32_t(0x6000));
    setSeries(c, 0, s.x, s.y);
    setSeries(c, 1, s.x, baseline);
    PlotChart(c);
}

void Form1::idm_DelBase_Click() {
    const int32_t n = pointsOfSeries0(graphane1_);
    if (n < 1) return;
    if (!tessiq1_.valid()) automation::raise(automation::err::CantCreateObject, tessiqProblem_.toStdString());
    const Series s = readSeries0(graphane1_, n);
    SafeArray values = SafeArray::ofFloats(s.y);
    int32_t pos = 0;
    const float min = tessiq1_.call(tessiq::dispid::b_Min, values, n, pos).toR4();
    const float max = tessiq1_.call(tessiq::dispid::b_Max, values, n, pos).toR4();
    const std::vector<float> corrected = DeleteBaseline(s.y.data(), n, min, max);

    // The corrected signal becomes series 0; the input stays visible as series 1.
    auto &c = graphane1_;
    createSeries(c, 2, n);
    setSeries(c, 0, s.x, corrected);
    setSeries(c, 1, s.x, s.y);
    c.put(id::LineColor, int16_t(1), int32_t(255));
    PlotChart(c);
}

// ---- Simple filters: each adds its result as a new series ---------------------------------

namespace {

// AppendSeries(n) and the result into the new last series. The chart refuses a series beyond
// its limit; the result is then not written over the last existing series.
bool appendResult(QWidget *parent, automation::ControlHandle &c, const Series &s,
                  const std::vector<float> &out) {
    const int16_t before = c.get(id::nSeries).toI2();
    c.call(id::AppendSeries, s.n());
    const int16_t after = c.get(id::nSeries).toI2();
    if (after <= before) {
        note(parent, kFullText);
        return false;
    }
    setSeries(c, static_cast<int16_t>(after - 1), s.x, out);
    c.put(id::LineColor, int16_t(1), int32_t(255));
    PlotChart(c);
    return true;
}

}  // namespace

void Form1::idm_Smooth_Click() {
    const int32_t n = pointsOfSeries0(graphane1_);
    if (n < 1) return;
    const Series s = readSeries0(graphane1_, n);
    appendResult(this, graphane1_, s, MovingAverage(s.y.data(), n));
}

void Form1::idm_WeightFilter_Click() {
    const int32_t n = pointsOfSeries0(graphane1_);
    if (n < 1) return;
    const Series s = readSeries0(graphane1_, n);
    appendResult(this, graphane1_, s, WeightFilter(s.y.data(), n));
}

void Form1::idm_FFTLowPass_Click() {
    const int32_t n = pointsOfSeries0(graphane1_);
    if (n < 1) return;
    if (!tessiq1_.valid()) automation::raise(automation::err::CantCreateObject, tessiqProblem_.toStdString());
    const Series s = readSeries0(graphane1_, n);
    std::vector<float> out;
    if (FftLowPass(s.y.data(), n, fftThrough(tessiq1_), out) == Outcome::Flat) {
        note(this, kFlatText);
        return;
    }
    appendResult(this, graphane1_, s, out);
}

}  // namespace wavedesk
