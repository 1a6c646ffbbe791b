// wavelets_bench: DaubDWT1D forward then inverse (one round trip per iteration) with the 4-, 10-
// and 20-tap filters on 16384 and 1,048,576 points. The reference measured in the same run is the
// textbook form of the filter step (index mask per tap, scatter for the inverse); the counter
// "x_textbook" is its time divided by the library's. PyWavelets figures are measured separately.
#include "sigmora.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<float> randomSignal(size_t n) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (float &x : v) x = dist(gen);
    return v;
}

// Low-pass taps of the selected filter, read back through an inverse transform of a single
// finest-scale detail coefficient (it lays out the high-pass taps).
void selectedTaps(int ncof, std::vector<float> &c, std::vector<float> &r) {
    const int n = 128, o = 24;
    std::vector<float> a(n + 1, 0.0f);
    a[1 + n / 2 + o] = 1.0f;
    DaubDWT1D(a.data(), n, -1);
    r.resize(ncof);
    c.resize(ncof);
    for (int k = 0; k < ncof; ++k) r[k] = a[1 + 2 * o + k + 2 - ncof / 2];
    for (int k = 0; k < ncof; ++k) c[k] = (k % 2 == 0 ? -1.0f : 1.0f) * r[ncof - 1 - k];
}

void textbookStep(float *a, int m, const std::vector<float> &c, const std::vector<float> &r, bool forward,
                  std::vector<float> &t) {
    const int ncof = static_cast<int>(c.size()), mask = m - 1, half = m / 2, ni0 = ncof * m - ncof / 2;
    std::fill(t.begin(), t.begin() + m + 1, 0.0f);
    for (int i = 1, o = 1; i <= m - 1; i += 2, ++o) {
        const int ni = i + ni0;
        if (forward) {
            for (int k = 1; k <= ncof; ++k) {
                t[o] = std::fmaf(c[k - 1], a[(mask & (ni + k)) + 1], t[o]);
                t[o + half] = std::fmaf(r[k - 1], a[(mask & (ni + k)) + 1], t[o + half]);
            }
        } else {
            for (int k = 1; k <= ncof; ++k) {
                float &x = t[(mask & (ni + k)) + 1];
                x = std::fmaf(c[k - 1], a[o], x);
                x = std::fmaf(r[k - 1], a[o + half], x);
            }
        }
    }
    std::copy(t.begin() + 1, t.begin() + m + 1, a + 1);
}

// Seconds per textbook round trip (forward pyramid, inverse pyramid).
double textbookSeconds(int ncof, int n) {
    std::vector<float> c, r, a = randomSignal(n + 1), t(n + 1);
    selectedTaps(ncof, c, r);
    const int rounds = n > 100000 ? 2 : 50;
    auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < rounds; ++round) {
        for (int m = n; m >= 4; m /= 2) textbookStep(a.data(), m, c, r, true, t);
        for (int m = 4; m <= n; m *= 2) textbookStep(a.data(), m, c, r, false, t);
    }
    benchmark::DoNotOptimize(a.data());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

void BM_DaubDWT1D_RoundTrip(benchmark::State &state) {
    const int ncof = static_cast<int>(state.range(0)), n = static_cast<int>(state.range(1));
    DaubCoef(ncof);
    std::vector<float> a = randomSignal(n + 1);
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        DaubDWT1D(a.data(), n, 1);
        DaubDWT1D(a.data(), n, -1);
        benchmark::ClobberMemory();
    }
    const double ours = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                        double(std::max<int64_t>(state.iterations(), 1));
    state.SetItemsProcessed(state.iterations() * int64_t(n));
    state.counters["x_textbook"] = textbookSeconds(ncof, n) / ours;
}

}  // namespace

BENCHMARK(BM_DaubDWT1D_RoundTrip)
    ->ArgNames({"taps", "n"})
    ->ArgsProduct({{4, 10, 20}, {16384, 1048576}})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
