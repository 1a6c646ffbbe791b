// sepuprep_bench: the analysis of sepuprep on the 16384-point sample trace - denoising through the
// DSP control (trace and mirror image), baseline, noise, peak table and its CSV text - with the
// given parameters and with --auto. Target: the whole analysis under 50 ms. The reference measured
// in the same run is the workbench's preprocessing alone (PreprocessChromatogram); the counter
// "x_workbench" is the analysis time divided by it. BM_WholeProgram16384 times the sepuprep
// program itself (start of Qt and both controls, files and picture included) for comparison.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis.h"
#include "automation/host.h"
#include "automation/plugin.h"
#include "chromatogram.h"
#include "dspsteps.h"
#include "samplegen.h"

namespace {

std::vector<float> sample() {
    std::vector<float> y;
    for (long uv : wavedesk::GenerateMicrovolts(wavedesk::SampleRecipe()))
        y.push_back(static_cast<float>(uv / 1000.0));
    return y;
}

automation::ControlHandle &tessiq() {
    static automation::ControlHandle control = automation::ControlHandle::create("TessiqLib.Tessiq");
    return control;
}

// The peak table as sepuprep writes it (the text, without the file).
std::string table(const wavedesk::Analysis &r) {
    std::string s;
    char line[256];
    for (const wavedesk::PeakRow &p : r.peaks) {
        std::snprintf(line, sizeof line, "%d,%.4f,%.4f,%.4f,%.9g,%.9g,%.3f,%.3f,%.1f\n", p.number,
                      p.retentionMin, p.startMin, p.endMin, p.heightMv, p.areaMvS, p.widthHalfS, p.tailing,
                      p.signalToNoise);
        s += line;
    }
    return s;
}

double workbenchSeconds(const std::vector<float> &y, int rounds) {
    const wavedesk::WaveletStep step = wavedesk::waveletThrough(tessiq());
    wavedesk::Preprocessed out;
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; ++r)
        wavedesk::PreprocessChromatogram(y.data(), int32_t(y.size()), {}, step, out);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

void analyse(benchmark::State &state, bool automatic) {
    const std::vector<float> y = sample();
    const wavedesk::WaveletStep step = wavedesk::waveletThrough(tessiq());
    wavedesk::AnalysisOptions options;
    options.automatic = automatic;
    wavedesk::Analysis r;
    for (auto _ : state) {
        wavedesk::AnalyseChromatogram(y.data(), int32_t(y.size()), options, step, r);
        std::string text = table(r);
        benchmark::DoNotOptimize(text.data());
    }
    const int rounds = 20;
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < rounds; ++k)
        wavedesk::AnalyseChromatogram(y.data(), int32_t(y.size()), options, step, r);
    const double total =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
    state.counters["x_workbench"] = total / workbenchSeconds(y, rounds);
    state.counters["peaks"] = double(r.peaks.size());
}

void BM_Analyse16384(benchmark::State &state) {
    analyse(state, false);
}
void BM_AnalyseAuto16384(benchmark::State &state) {
    analyse(state, true);
}
BENCHMARK(BM_Analyse16384)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_AnalyseAuto16384)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_WholeProgram16384(benchmark::State &state) {
    const std::string folder = automation::programFolder();
    const std::string input = "/tmp/sepuprep_bench_sample.sepu";
    if (std::FILE *f = std::fopen(input.c_str(), "wb")) {
        for (long uv : wavedesk::GenerateMicrovolts(wavedesk::SampleRecipe())) std::fprintf(f, "%ld\r\n", uv);
        std::fclose(f);
    }
    const std::string command = folder + "sepuprep --auto --peaks /tmp/sepuprep_bench_peaks.csv " + input +
                                " /tmp/sepuprep_bench_out > /dev/null 2>&1";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("sepuprep failed");
}
BENCHMARK(BM_WholeProgram16384)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
