// dsp_bench: smoothing, the recursive-filter slot and the median on 1,000,000 samples, each
// against a reference measured in the same run. Counters: "vs_ref" is the library's time over the
// reference's (goal: SGSmoother <= 2, SmoothData <= 1.5, FindMedian <= 2); "ns_per_sample" and
// "ref_ns_per_sample" for SignalToLinearSys; "qr_per_sample_ms" the plain per-sample QR smoother.
// All figures are thread CPU time.
#include "sigmora.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

namespace {

const int kN = 1000000;

std::vector<float> randomSignal(int n) {
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (float &x : v) x = dist(gen);
    return v;
}

// CPU time of the calling thread: the machine is shared, so wall time would mostly measure
// the other processes.
double cpuSeconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

double seconds(const std::function<void()> &f, int rounds) {
    const double start = cpuSeconds();
    for (int r = 0; r < rounds; ++r) f();
    return (cpuSeconds() - start) / rounds;
}

template <class F>
double timeLoop(benchmark::State &state, F f) {
    const double start = cpuSeconds();
    for (auto _ : state) f();
    return (cpuSeconds() - start) / double(std::max<int64_t>(state.iterations(), 1));
}

// Plain convolution y[i] = sum_k w[k] x[i - h + k] over the interior, one output at a time.
void plainConvolution(const float *x, int n, const float *w, int taps, float *y) {
    const int h = taps / 2;
    for (int i = h; i < n - h; ++i) {
        float s = 0.0f;
        for (int k = 0; k < taps; ++k) s += w[k] * x[i - h + k];
        y[i] = s;
    }
}

// Cubic (= quadratic) Savitzky-Golay smoothing weights over 2m + 1 points.
std::vector<float> sgWeights(int m) {
    std::vector<float> w;
    const double den = (2.0 * m - 1) * (2.0 * m + 1) * (2.0 * m + 3);
    for (int t = -m; t <= m; ++t)
        w.push_back(static_cast<float>((3.0 * (3.0 * m * m + 3.0 * m - 1) - 15.0 * t * t) / den));
    return w;
}

// The per-sample least-squares fit written plainly: Householder QR of the window's design matrix
// and back-substitution for every sample.
void perSampleQR(float *x, int n, int half, int ord) {
    const int w = 2 * half + 1, p = ord + 1;
    std::vector<float> src(x, x + n);
    std::vector<double> A(w * p), y(w), coef(p);
    for (int i = 0; i < n; ++i) {
        for (int r = 0; r < w; ++r) {
            y[r] = src[std::clamp(i - half + r, 0, n - 1)];
            for (int c = 0; c < p; ++c) A[r * p + c] = std::pow(double(r - half), c);
        }
        for (int c = 0; c < p; ++c) {
            double norm = 0.0;
            for (int r = c; r < w; ++r) norm += A[r * p + c] * A[r * p + c];
            const double sigma = std::copysign(std::sqrt(norm), A[c * p + c]);
            A[c * p + c] += sigma;
            const double beta = sigma * A[c * p + c];
            for (int k = c + 1; k < p; ++k) {
                double d = 0.0;
                for (int r = c; r < w; ++r) d += A[r * p + c] * A[r * p + k];
                for (int r = c; r < w; ++r) A[r * p + k] -= d / beta * A[r * p + c];
            }
            double d = 0.0;
            for (int r = c; r < w; ++r) d += A[r * p + c] * y[r];
            for (int r = c; r < w; ++r) y[r] -= d / beta * A[r * p + c];
            A[c * p + c] = -sigma;
        }
        for (int c = p - 1; c >= 0; --c) {
            double s = y[c];
            for (int k = c + 1; k < p; ++k) s -= A[c * p + k] * coef[k];
            coef[c] = s / A[c * p + c];
        }
        x[i] = static_cast<float>(coef[0]);
    }
}

void BM_SGSmoother(benchmark::State &state) {
    const std::vector<float> input = randomSignal(kN);
    std::vector<float> x = input;
    const double ours = timeLoop(state, [&] {
        std::copy(input.begin(), input.end(), x.begin());
        SGSmoother(x.data(), kN, 12, 3);
        benchmark::ClobberMemory();
    });
    const std::vector<float> w = sgWeights(12);
    std::vector<float> y(kN);
    const double ref = seconds(
        [&] {
            std::copy(input.begin(), input.end(), x.begin());
            plainConvolution(x.data(), kN, w.data(), 25, y.data());
            benchmark::DoNotOptimize(y.data());
        },
        5);
    std::vector<float> q(input.begin(), input.begin() + 100000);
    const double qr = seconds([&] { perSampleQR(q.data(), 100000, 12, 3); }, 1) * 10.0;
    state.counters["vs_ref"] = ours / ref;
    state.counters["qr_per_sample_ms"] = qr * 1e3;
    state.counters["ref_ms"] = ref * 1e3;
}

void BM_SmoothData13(benchmark::State &state) {
    const std::vector<float> x = randomSignal(kN);
    std::vector<float> y(kN);
    const double ours = timeLoop(state, [&] {
        SmoothData(x.data(), kN, 5, 0, y.data());
        benchmark::ClobberMemory();
    });
    const float w[13] = {-11, 0, 9, 16, 21, 24, 25, 24, 21, 16, 9, 0, -11};
    const double ref = seconds(
        [&] {
            plainConvolution(x.data(), kN, w, 13, y.data());
            benchmark::DoNotOptimize(y.data());
        },
        5);
    state.counters["vs_ref"] = ours / ref;
    state.counters["ref_ms"] = ref * 1e3;
}

void BM_SignalToLinearSys8(benchmark::State &state) {
    const std::vector<float> x = randomSignal(kN);
    float a[9], b[9];
    IIRFDesign(100.0f, 300.0f, 1000.0f, 8, a, b, 0);
    float sink = 0.0f;
    const double ours = timeLoop(state, [&] {
        SignalToLinearSys(a, 9, b, 9, x[0], 0, 0);
        for (int i = 0; i < kN; ++i) sink += SignalToLinearSys(a, 9, b, 9, x[i], 1, 0);
        benchmark::DoNotOptimize(sink);
    });
    std::vector<float> y(kN);
    const double ref = seconds(
        [&] {
            for (int i = 0; i < kN; ++i) {
                double s = 0.0;
                for (int k = 0; k < 9 && k <= i; ++k) s += double(b[k]) * x[i - k];
                for (int k = 1; k < 9 && k <= i; ++k) s -= double(a[k]) * y[i - k];
                y[i] = static_cast<float>(s);
            }
            benchmark::DoNotOptimize(y.data());
        },
        5);
    state.counters["ns_per_sample"] = ours / kN * 1e9;
    state.counters["ref_ns_per_sample"] = ref / kN * 1e9;
}

void BM_FindMedian(benchmark::State &state) {
    const std::vector<float> x = randomSignal(kN);
    float median = 0.0f;
    const double ours = timeLoop(state, [&] {
        median = FindMedian(x.data(), kN);
        benchmark::DoNotOptimize(median);
    });
    std::vector<float> copy;
    auto referenceMedian = [&] {
        copy = x;
        std::nth_element(copy.begin(), copy.begin() + kN / 2, copy.end());
        const float hi = copy[kN / 2], lo = *std::max_element(copy.begin(), copy.begin() + kN / 2);
        return (lo + hi) * 0.5f;
    };
    const double ref = seconds([&] { benchmark::DoNotOptimize(referenceMedian()); }, 5);
    const float refMedian = referenceMedian();
    state.counters["vs_ref"] = ours / ref;
    state.counters["same_result"] = median == refMedian ? 1 : 0;
}

}  // namespace

BENCHMARK(BM_SGSmoother)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmoothData13)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SignalToLinearSys8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindMedian)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
