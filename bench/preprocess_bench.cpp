// preprocess_bench: chromatogram preprocessing of 16384 points (normalisation, histogram level,
// forward and inverse 10-tap wavelet transform through the DSP control, rescaling, window
// baseline, correction; no drawing), as the workbench runs it. Target: median <= 5 ms.
// The reference measured in the same run is the pair of wavelet transforms alone through the
// same control; the counter "x_transforms" is the preprocessing time divided by theirs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <random>
#include <vector>

#include "automation/host.h"
#include "chromatogram.h"
#include "dspsteps.h"

namespace {

constexpr int32_t kPoints = 16384;

// A chromatogram in mV: slow drift, a few peaks of different widths, noise.
std::vector<float> chromatogram() {
    std::mt19937 rng(11);
    std::normal_distribution<float> noise(0, 0.3f);
    std::vector<float> y(kPoints);
    const double peaks[][3] = {{2000, 12, 80}, {5200, 25, 40}, {9000, 8, 120}, {13500, 40, 30}};
    for (int32_t i = 0; i < kPoints; ++i) {
        double v = 10 + 4e-4 * i;
        for (const auto &p : peaks) v += p[2] * std::exp(-0.5 * std::pow((i - p[0]) / p[1], 2));
        y[i] = static_cast<float>(v) + noise(rng);
    }
    return y;
}

automation::ControlHandle &tessiq() {
    static automation::ControlHandle control = automation::ControlHandle::create("TessiqLib.Tessiq");
    return control;
}

// Seconds per call of the two transforms alone, over `rounds` calls.
double transformsSeconds(const std::vector<float> &y, int rounds) {
    wavedesk::WaveletStep step = wavedesk::waveletThrough(tessiq());
    std::vector<float> w(y);
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; ++r) {
        step(w, kPoints, 0);
        step(w, kPoints, -1);
    }
    benchmark::DoNotOptimize(w.data());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

void BM_Preprocess16384(benchmark::State &state) {
    const std::vector<float> y = chromatogram();
    const wavedesk::WaveletStep step = wavedesk::waveletThrough(tessiq());
    wavedesk::Preprocessed out;
    for (auto _ : state) {
        wavedesk::PreprocessChromatogram(y.data(), kPoints, {}, step, out);
        benchmark::DoNotOptimize(out.corrected.data());
    }
    const auto start = std::chrono::steady_clock::now();
    const int rounds = 50;
    for (int r = 0; r < rounds; ++r) wavedesk::PreprocessChromatogram(y.data(), kPoints, {}, step, out);
    const double total =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
    state.counters["x_transforms"] = total / transformsSeconds(y, rounds);
}
BENCHMARK(BM_Preprocess16384)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The window baseline alone (20 s window, 30 mV threshold), the part computed in the program.
void BM_SePuBaseLine16384(benchmark::State &state) {
    const std::vector<float> y = chromatogram();
    std::vector<float> b(kPoints);
    for (auto _ : state) {
        wavedesk::SePuBaseLine(y.data(), kPoints, b.data(), 400, 30);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_SePuBaseLine16384)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
