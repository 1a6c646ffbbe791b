// FFTCalc against FFTW (fftwf_plan_dft_1d, FFTW_ESTIMATE, single precision, in place) on the
// same data and sizes. Each iteration refills the input outside the timed region, so both
// transform the same finite values; the table at the end gives FFTCalc time / FFTW time.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "sigmora.h"

namespace {

const int kSizes[] = {1024, 16384, 65536, 1048576};

std::vector<float> input(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> v(static_cast<std::size_t>(n));
    for (float &x : v) x = d(gen);
    return v;
}

template <class F>
void timed(benchmark::State &state, F &&transform) {
    using clock = std::chrono::steady_clock;
    const auto t0 = clock::now();
    transform();
    const auto t1 = clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
}

void BM_FFTCalc(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> re0 = input(n, 1), im0 = input(n, 2);
    std::vector<float> re(re0), im(im0);
    FFTCalc(re.data(), im.data(), n);  // first call builds the twiddle tables
    for (auto _ : state) {
        std::memcpy(re.data(), re0.data(), re.size() * sizeof(float));
        std::memcpy(im.data(), im0.data(), im.size() * sizeof(float));
        timed(state, [&] {
            if (FFTCalc(re.data(), im.data(), n) != 1) state.SkipWithError("FFTCalc failed");
        });
        benchmark::DoNotOptimize(re.data());
    }
}

void BM_FFTW(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> re0 = input(n, 1), im0 = input(n, 2);
    auto *buf =
        static_cast<fftwf_complex *>(fftwf_malloc(sizeof(fftwf_complex) * static_cast<std::size_t>(n)));
    fftwf_plan plan = fftwf_plan_dft_1d(n, buf, buf, FFTW_FORWARD, FFTW_ESTIMATE);
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) {
            buf[i][0] = re0[static_cast<std::size_t>(i)];
            buf[i][1] = im0[static_cast<std::size_t>(i)];
        }
        timed(state, [&] { fftwf_execute(plan); });
        benchmark::DoNotOptimize(buf);
    }
    fftwf_destroy_plan(plan);
    fftwf_free(buf);
}

// Console output plus the mean time per iteration of every run, keyed by run name.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                seconds_[r.benchmark_name()] = r.real_accumulated_time / static_cast<double>(r.iterations);
    }
    void print_ratios() const {
        std::printf("\n%10s %14s %14s %8s\n", "points", "FFTCalc [us]", "FFTW [us]", "ratio");
        for (int n : kSizes) {
            const auto ours = seconds_.find("BM_FFTCalc/" + std::to_string(n) + "/manual_time");
            const auto ref = seconds_.find("BM_FFTW/" + std::to_string(n) + "/manual_time");
            if (ours == seconds_.end() || ref == seconds_.end()) continue;
            std::printf("%10d %14.2f %14.2f %8.2f\n", n, ours->second * 1e6, ref->second * 1e6,
                        ours->second / ref->second);
        }
    }

  private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char **argv) {
    for (int n : kSizes) {
        benchmark::RegisterBenchmark("BM_FFTCalc", BM_FFTCalc)
            ->Arg(n)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("BM_FFTW", BM_FFTW)
            ->Arg(n)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print_ratios();
    benchmark::Shutdown();
    return 0;
}
