// draw_bench: the surface and contour exports on a 512 x 512 matrix (three Gaussian hills and a
// hollow) drawn onto a 1000 x 800 memory surface. The reference measured in the same run is
// ClearMemorySurface of that surface; the counter "x_clear" is each export's time divided by it.
#include "sigmora.h"
#include "sigmora_draw.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

namespace {

constexpr int32_t kN = 512, kWidth = 1000, kHeight = 800;

std::vector<float> gaussians() {
    std::vector<float> z(static_cast<size_t>(kN) * kN);
    const double hills[4][4] = {
        {0.30, 0.35, 0.12, 1.0}, {0.70, 0.30, 0.10, 0.7}, {0.55, 0.75, 0.16, 0.9}, {0.25, 0.75, 0.08, -0.5}};
    for (int32_t j = 0; j < kN; ++j)
        for (int32_t i = 0; i < kN; ++i) {
            const double x = i / (kN - 1.0), y = j / (kN - 1.0);
            double v = 0;
            for (const auto &h : hills)
                v +=
                    h[3] * std::exp(-((x - h[0]) * (x - h[0]) + (y - h[1]) * (y - h[1])) / (2 * h[2] * h[2]));
            z[static_cast<size_t>(j) * kN + i] = static_cast<float>(v);
        }
    return z;
}

const std::vector<float> &matrix() {
    static const std::vector<float> z = gaussians();
    return z;
}

// Seconds per ClearMemorySurface of the benchmark's surface.
double clearSeconds(SigmoraSurface *s) {
    const int reps = 50;
    const auto t0 = std::chrono::steady_clock::now();
    for (int k = 0; k < reps; ++k) ClearMemorySurface(s, 0xFFFFFF);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / reps;
}

template <class Draw>
void run(benchmark::State &state, Draw draw) {
    SigmoraSurface *s = CreateMemorySurface(kWidth, kHeight, 96, 96);
    const double reference = clearSeconds(s);
    double total = 0;
    for (auto _ : state) {
        ClearMemorySurface(s, 0xFFFFFF);
        const auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(draw(s));
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    state.counters["ms"] = total / static_cast<double>(state.iterations()) * 1e3;
    state.counters["x_clear"] = total / static_cast<double>(state.iterations()) / reference;
    FreeMemorySurface(s);
}

void BM_ContourMatrix(benchmark::State &state) {
    const int32_t rect[4] = {40, 30, kWidth - 40, kHeight - 30};
    const int32_t style[2] = {0x000000, 2};
    const int32_t levels = static_cast<int32_t>(state.range(0));
    run(state,
        [&](SigmoraSurface *s) { return ContourMatrix(s, matrix().data(), kN, kN, levels, rect, style); });
}

void BM_MeshMatrix(benchmark::State &state) {
    const int32_t flags = static_cast<int32_t>(state.range(0));
    const int32_t param[11] = {1, 35, 30, 0xFF0000, 0x808080, flags, 20, 20, kWidth - 20, kHeight - 20, 0};
    run(state, [&](SigmoraSurface *s) { return MeshMatrix(s, matrix().data(), kN, kN, param); });
}

void BM_MatPicturize(benchmark::State &state) {
    run(state, [&](SigmoraSurface *s) {
        return MatPicturize(s, matrix().data(), kN, kN, 18, 20, 20, kWidth - 40, kHeight - 40);
    });
}

}  // namespace

BENCHMARK(BM_ContourMatrix)->Arg(10)->Arg(40)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MeshMatrix)->Arg(3)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MatPicturize)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
