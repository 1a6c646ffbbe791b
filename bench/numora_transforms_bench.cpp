// numora's FFT and DCT of 65536 points against the signal library's FFTCalc and FastDCT1D on the
// same data in the same run (both libraries share the FFT core); prints the time ratios. Each
// iteration refills the input outside the timed region.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "numora.h"

// The two signal-library exports measured here, as sigmora.h declares them (both headers cannot
// be included in one file: MatDet and EQRoots have the same names with other types).
extern "C" {
int32_t FFTCalc(float *re, float *im, int32_t n);
int32_t FastDCT1D(float *x, int32_t n);
}

namespace {

constexpr int kPoints = 65536;
constexpr int kLog2 = 16;

std::vector<float> input(unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> v(kPoints);
    for (float &x : v) x = d(gen);
    return v;
}

// Fastest single iteration of each benchmark: on a shared machine the means are noisy, the
// minimum shows what the code itself costs.
std::map<std::string, double> &fastest() {
    static std::map<std::string, double> m;
    return m;
}

template <class F>
void timed(benchmark::State &state, const char *name, F &&work) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    const auto t1 = std::chrono::steady_clock::now();
    const double s = std::chrono::duration<double>(t1 - t0).count();
    state.SetIterationTime(s);
    auto [it, fresh] = fastest().try_emplace(name, s);
    if (!fresh && s < it->second) it->second = s;
}

void BM_numora_FFT(benchmark::State &state) {
    const std::vector<float> re = input(1), im = input(2);
    std::vector<float> fr(kPoints), fi(kPoints);
    FFT(re.data(), im.data(), kPoints, kLog2, fr.data(), fi.data(), 0, 0);  // builds the twiddles
    for (auto _ : state) {
        timed(state, "BM_numora_FFT", [&] {
            if (FFT(re.data(), im.data(), kPoints, kLog2, fr.data(), fi.data(), 0, 0) != 1)
                state.SkipWithError("FFT failed");
        });
        benchmark::DoNotOptimize(fr.data());
    }
}

void BM_sigmora_FFTCalc(benchmark::State &state) {
    const std::vector<float> re0 = input(1), im0 = input(2);
    std::vector<float> re(re0), im(im0);
    FFTCalc(re.data(), im.data(), kPoints);
    for (auto _ : state) {
        std::memcpy(re.data(), re0.data(), kPoints * sizeof(float));
        std::memcpy(im.data(), im0.data(), kPoints * sizeof(float));
        timed(state, "BM_sigmora_FFTCalc", [&] {
            if (FFTCalc(re.data(), im.data(), kPoints) != 1) state.SkipWithError("FFTCalc failed");
        });
        benchmark::DoNotOptimize(re.data());
    }
}

void BM_numora_DCT(benchmark::State &state) {
    const std::vector<float> x = input(3);
    std::vector<float> y(kPoints);
    DCT(x.data(), y.data(), kPoints, 0);
    for (auto _ : state) {
        timed(state, "BM_numora_DCT", [&] {
            if (DCT(x.data(), y.data(), kPoints, 0) != 1) state.SkipWithError("DCT failed");
        });
        benchmark::DoNotOptimize(y.data());
    }
}

void BM_sigmora_FastDCT1D(benchmark::State &state) {
    const std::vector<float> x0 = input(3);
    std::vector<float> x(x0);
    FastDCT1D(x.data(), kPoints);
    for (auto _ : state) {
        std::memcpy(x.data(), x0.data(), kPoints * sizeof(float));
        timed(state, "BM_sigmora_FastDCT1D", [&] {
            if (FastDCT1D(x.data(), kPoints) != 1) state.SkipWithError("FastDCT1D failed");
        });
        benchmark::DoNotOptimize(x.data());
    }
}

double seconds(const std::function<void()> &work) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Alternates the two calls `rounds` times (each on freshly copied input, copies untimed), so
// both see the same machine load; prints the medians and the fastest runs.
void interleaved(const char *name, const std::function<void()> &ours, const char *refName,
                 const std::function<void()> &prepareRef, const std::function<void()> &ref) {
    const int rounds = 300;
    std::vector<double> a, b;
    for (int r = 0; r < rounds; ++r) {
        a.push_back(seconds(ours));
        prepareRef();
        b.push_back(seconds(ref));
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::printf(
        "interleaved x%d: %-14s median %8.1f us, fastest %8.1f us | %-12s median %8.1f us, fastest %8.1f us"
        " | ratio median %.2f, fastest %.2f\n",
        rounds, name, a[rounds / 2] * 1e6, a[0] * 1e6, refName, b[rounds / 2] * 1e6, b[0] * 1e6,
        a[rounds / 2] / b[rounds / 2], a[0] / b[0]);
}

void interleavedRuns() {
    const std::vector<float> re0 = input(1), im0 = input(2), x0 = input(3);
    std::vector<float> fr(kPoints), fi(kPoints), re(re0), im(im0), y(kPoints), x(x0);
    interleaved(
        "FFT", [&] { FFT(re0.data(), im0.data(), kPoints, kLog2, fr.data(), fi.data(), 0, 0); }, "FFTCalc",
        [&] {
            std::memcpy(re.data(), re0.data(), kPoints * sizeof(float));
            std::memcpy(im.data(), im0.data(), kPoints * sizeof(float));
        },
        [&] { FFTCalc(re.data(), im.data(), kPoints); });
    interleaved(
        "DCT", [&] { DCT(x0.data(), y.data(), kPoints, 0); }, "FastDCT1D",
        [&] { std::memcpy(x.data(), x0.data(), kPoints * sizeof(float)); },
        [&] { FastDCT1D(x.data(), kPoints); });
}

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                seconds_[r.benchmark_name()] = r.real_accumulated_time / static_cast<double>(r.iterations);
    }
    void printRatio(const char *ours, const char *ref) const {
        const auto a = seconds_.find(std::string(ours) + "/manual_time");
        const auto b = seconds_.find(std::string(ref) + "/manual_time");
        if (a == seconds_.end() || b == seconds_.end()) return;
        std::printf("%-22s %10.1f us   %-22s %10.1f us   ratio of means %.2f\n", ours, a->second * 1e6, ref,
                    b->second * 1e6, a->second / b->second);
        const auto fa = fastest().find(ours), fb = fastest().find(ref);
        if (fa != fastest().end() && fb != fastest().end())
            std::printf("%-22s %10.1f us   %-22s %10.1f us   ratio of fastest runs %.2f\n", "",
                        fa->second * 1e6, "", fb->second * 1e6, fa->second / fb->second);
    }

  private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char **argv) {
    using Bench = void (*)(benchmark::State &);
    const std::pair<const char *, Bench> benches[] = {{"BM_numora_FFT", BM_numora_FFT},
                                                      {"BM_sigmora_FFTCalc", BM_sigmora_FFTCalc},
                                                      {"BM_numora_DCT", BM_numora_DCT},
                                                      {"BM_sigmora_FastDCT1D", BM_sigmora_FastDCT1D}};
    for (const auto &[name, fn] : benches)
        benchmark::RegisterBenchmark(name, fn)->UseManualTime()->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%d points\n", kPoints);
    reporter.printRatio("BM_numora_FFT", "BM_sigmora_FFTCalc");
    reporter.printRatio("BM_numora_DCT", "BM_sigmora_FastDCT1D");
    interleavedRuns();
    benchmark::Shutdown();
    return 0;
}
