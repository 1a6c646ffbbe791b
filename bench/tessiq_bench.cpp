// tessiq_bench: the DSP control's dispatch overhead. Each benchmark times the call through the
// control (member lookup, argument conversion, array checks and locks, the bound export) and,
// in the same run, the direct call of the export with the same arguments; the counters give
// the extra microseconds per call (goal: at most 2) or the time ratio (goal: at most 1.05 for
// b_Smooth of 1,000,000 samples, where no array may be copied). The machine is shared, so the
// figures are noisy: run it a few times.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <random>
#include <vector>

#include "automation/host.h"
#include "automation/safearray.h"
#include "control.h"
#include "sigmora.h"
#include "tessiq/dispids.h"

namespace {

namespace d = tessiq::dispid;
using Clock = std::chrono::steady_clock;

std::vector<float> randomSignal(std::size_t n) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> dist(-1, 1);
    std::vector<float> v(n);
    for (float &x : v) x = dist(gen);
    return v;
}

automation::ControlHandle makeControl() {
    return automation::ControlHandle(std::make_unique<tessiq::Tessiq>());
}

template <class F>
double secondsPerCall(F &&f, int calls) {
    auto start = Clock::now();
    for (int i = 0; i < calls; ++i) f();
    return std::chrono::duration<double>(Clock::now() - start).count() / calls;
}

void BM_MedianOf16(benchmark::State &state) {
    automation::ControlHandle dsp = makeControl();
    std::vector<float> v = randomSignal(16);
    automation::SafeArray x = automation::SafeArray::ofFloats(v);
    float sink = 0;
    auto start = Clock::now();
    for (auto _ : state) benchmark::DoNotOptimize(sink += dsp.call(d::b_Median, x, int32_t(16)).toR4());
    double control = std::chrono::duration<double>(Clock::now() - start).count() / double(state.iterations());
    double direct =
        secondsPerCall([&] { benchmark::DoNotOptimize(sink += FindMedian(v.data(), 16)); }, 200000);
    state.counters["extra_us"] = (control - direct) * 1e6;
    state.counters["direct_us"] = direct * 1e6;
}

void BM_Uniform(benchmark::State &state) {
    automation::ControlHandle dsp = makeControl();
    float sink = 0;
    auto start = Clock::now();
    for (auto _ : state) benchmark::DoNotOptimize(sink += dsp.call(d::e_Uniform, 0.0f, 1.0f).toR4());
    double control = std::chrono::duration<double>(Clock::now() - start).count() / double(state.iterations());
    double direct =
        secondsPerCall([&] { benchmark::DoNotOptimize(sink += UniformNoise(0.0f, 1.0f)); }, 1000000);
    state.counters["extra_us"] = (control - direct) * 1e6;
    state.counters["direct_us"] = direct * 1e6;
}

void BM_Smooth1M(benchmark::State &state) {
    const int32_t n = 1000000;
    automation::ControlHandle dsp = makeControl();
    std::vector<float> v = randomSignal(n), out(n);
    automation::SafeArray x = automation::SafeArray::ofFloats(v);
    automation::SafeArray y = automation::SafeArray::ofFloats(out);
    double control = 0, direct = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        dsp.call(d::b_Smooth, x, n, int32_t(2), y);
        auto t1 = Clock::now();
        SmoothData(v.data(), n, 2, 0, out.data());
        auto t2 = Clock::now();
        benchmark::ClobberMemory();
        control += std::chrono::duration<double>(t1 - t0).count();
        direct += std::chrono::duration<double>(t2 - t1).count();
    }
    state.counters["ratio"] = control / direct;
    state.counters["direct_ms"] = direct / double(state.iterations()) * 1e3;
}

}  // namespace

BENCHMARK(BM_MedianOf16);
BENCHMARK(BM_Uniform);
BENCHMARK(BM_Smooth1M)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_MAIN();
