// Speed of the chart control: Plot of many dense series on a 1000 x 700 picture (solid
// 1-pixel lines, antialiasing off), against drawing every segment one by one with
// QPainter::drawLine in the same run; and a mouse move while measuring on a loaded chart.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "automation/safearray.h"
#include "graphanecontrol.h"

namespace {

constexpr int kWidth = 1000, kHeight = 700;

// A chart of `series` series of `points` points each, x increasing over 0..100.
std::unique_ptr<graphane::GraphaneControl> makeChart(int series, int points) {
    auto chart = std::make_unique<graphane::GraphaneControl>();
    chart->widget()->resize(kWidth, kHeight);
    chart->surface().resize(QSize(kWidth, kHeight));
    graphane::ChartModel &m = chart->model();
    std::vector<int32_t> counts(size_t(series), points);
    automation::SafeArray n = automation::SafeArray::ofInts(counts);
    m.createSeries(int16_t(series), n);
    for (int s = 0; s < series; ++s) {
        graphane::SeriesSlot &slot = m.slot(s);
        for (int i = 0; i < points; ++i) {
            const double t = double(i) / points;
            slot.x[size_t(i)] = float(100.0 * t);
            slot.y[size_t(i)] = float(5.0 + 4.0 * std::sin(t * 40 + s) * std::cos(t * 7000 + s * 0.3) +
                                      0.3 * std::sin(double(i) * 1.7));
        }
        slot.lineColor = 0x010101 * (s * 9);
    }
    return chart;
}

void plotChart(benchmark::State &state) {
    auto chart = makeChart(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        chart->plot(false);
        benchmark::DoNotOptimize(chart->surface().image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

// Plot of 16 x 1,000,000 points in one style: line style, line width and marker (dot style) as
// the arguments. Every style is to stay within a few times the thin solid line.
void plotStyle(benchmark::State &state) {
    auto chart = makeChart(16, 1000000);
    for (int s = 0; s < 16; ++s) {
        graphane::SeriesSlot &slot = chart->model().slot(s);
        slot.lineStyle = int16_t(state.range(0));
        slot.lineWidth = int16_t(state.range(1));
        slot.dotStyle = int16_t(state.range(2));
    }
    for (auto _ : state) {
        chart->plot(false);
        benchmark::DoNotOptimize(chart->surface().image().constBits());
    }
}

// The plain way: every segment of the same mapped points drawn with QPainter::drawLine.
void drawLinePerSegment(benchmark::State &state) {
    auto chart = makeChart(int(state.range(0)), int(state.range(1)));
    const graphane::ChartArea a = graphane::chartAreaOf(chart->model(), chart->surface().size());
    const graphane::ChartModel &m = chart->model();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        const float kx = (a.x2 - a.x1) / (m.xmax - m.xmin), ky = (a.y2 - a.y1) / (m.ymax - m.ymin);
        for (int s = 0; s < m.seriesCount(); ++s) {
            const graphane::SeriesSlot &slot = m.slot(s);
            p.setPen(QPen(QColor::fromRgb(graphane::toArgb(slot.lineColor)), 1));
            QPoint prev(int(std::lrintf(a.x1 + (slot.x[0] - m.xmin) * kx)),
                        int(std::lrintf(a.y2 - (slot.y[0] - m.ymin) * ky)));
            for (int32_t i = 1; i < slot.nPoints; ++i) {
                const QPoint next(int(std::lrintf(a.x1 + (slot.x[size_t(i)] - m.xmin) * kx)),
                                  int(std::lrintf(a.y2 - (slot.y[size_t(i)] - m.ymin) * ky)));
                p.drawLine(prev, next);
                prev = next;
            }
        }
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

// A left-button move while measuring a chart of 16 x 1,000,000 points: the overlays are
// updated and the widget repaints what they cover; the chart picture is not redrawn.
void mouseMoveWhileMeasuring(benchmark::State &state) {
    auto chart = makeChart(16, 1000000);
    QWidget *w = chart->widget();
    w->show();
    QApplication::processEvents();
    const int plotsBefore = chart->plotCount();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(300, 300), w->mapToGlobal(QPointF(300, 300)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    int step = 0;
    for (auto _ : state) {
        const QPointF at(320 + (step % 400), 320 + (step % 200));
        ++step;
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        w->repaint();  // paint now, not at the next event loop turn
    }
    state.counters["chart_redraws"] = chart->plotCount() - plotsBefore;
}

BENCHMARK(plotChart)
    ->Args({16, 16384})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(drawLinePerSegment)
    ->Args({16, 16384})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(plotChart)
    ->Args({16, 1000000})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(drawLinePerSegment)
    ->Args({1, 1000000})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(plotChart)
    ->Args({1, 10000000})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(plotStyle)
    ->ArgNames({"line", "width", "dot"})
    ->Args({1, 1, 0})  // thin solid line
    ->Args({1, 2, 0})  // line width 2
    ->Args({4, 1, 0})  // bars
    ->Args({5, 1, 0})  // 3-D bars
    ->Args({6, 1, 0})  // scatter
    ->Args({0, 1, 2})  // circle markers only
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(mouseMoveWhileMeasuring)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// Keeps the median times so the closing summary can print the ratios.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &r : runs)
            if (r.aggregate_name == "median")
                medians[r.run_name.function_name + (r.run_name.args.empty() ? "" : "/" + r.run_name.args)] =
                    r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;  // milliseconds
};

}  // namespace

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto &m = reporter.medians;
    const double plotSmall = m["plotChart/16/16384"], lineSmall = m["drawLinePerSegment/16/16384"];
    const double plotBig = m["plotChart/16/1000000"], lineMillion = m["drawLinePerSegment/1/1000000"];
    std::printf("\nPlot 16 x 16384:          %8.2f ms (target 10 ms)\n", plotSmall);
    std::printf("drawLine per segment:     %8.2f ms  -> Plot is %.1f times faster\n", lineSmall,
                plotSmall > 0 ? lineSmall / plotSmall : 0.0);
    std::printf("Plot 16 x 1,000,000:      %8.2f ms (target 50 ms)\n", plotBig);
    std::printf("drawLine, 1M segments:    %8.2f ms  -> 16M segments would take %.0f ms, %.1f times Plot\n",
                lineMillion, 16 * lineMillion, plotBig > 0 ? 16 * lineMillion / plotBig : 0.0);
    std::printf("Plot 1 x 10,000,000:      %8.2f ms\n", m["plotChart/1/10000000"]);
    std::printf("Mouse move while measuring (16 x 1M points loaded): %.3f ms (target 4 ms)\n",
                m["mouseMoveWhileMeasuring"]);
    benchmark::Shutdown();
    return 0;
}
