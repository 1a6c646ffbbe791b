// QuickSortFloats on 1,000,000 random floats: with the index array against std::sort of
// (value, index) pairs, without it against std::sort of the floats. The input is copied back
// outside the timed region before every run; the table at the end gives our time / std::sort.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "numora.h"

namespace {

constexpr int kPoints = 1000000;

const std::vector<float> &input() {
    static const std::vector<float> v = [] {
        std::mt19937 gen(1);
        std::uniform_real_distribution<float> d(-1.0f, 1.0f);
        std::vector<float> x(kPoints);
        for (float &f : x)
            f = d(gen);
        return x;
    }();
    return v;
}

template <class F> void timed(benchmark::State &state, F &&work) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    const auto t1 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
}

void BM_QuickSortFloatsIndex(benchmark::State &state) {
    std::vector<float> x(kPoints);
    std::vector<int32_t> index(kPoints);
    for (auto _ : state) {
        x = input();
        timed(state, [&] { QuickSortFloats(x.data(), kPoints, index.data()); });
        benchmark::DoNotOptimize(index.data());
    }
}

void BM_StdSortPairs(benchmark::State &state) {
    std::vector<std::pair<float, int32_t>> pairs(kPoints);
    for (auto _ : state) {
        for (int32_t i = 0; i < kPoints; ++i)
            pairs[i] = {input()[i], i};
        timed(state, [&] { std::sort(pairs.begin(), pairs.end()); });
        benchmark::DoNotOptimize(pairs.data());
    }
}

void BM_QuickSortFloats(benchmark::State &state) {
    std::vector<float> x(kPoints);
    for (auto _ : state) {
        x = input();
        timed(state, [&] { QuickSortFloats(x.data(), -kPoints, nullptr); });
        benchmark::DoNotOptimize(x.data());
    }
}

void BM_StdSortFloats(benchmark::State &state) {
    std::vector<float> x(kPoints);
    for (auto _ : state) {
        x = input();
        timed(state, [&] { std::sort(x.begin(), x.end()); });
        benchmark::DoNotOptimize(x.data());
    }
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                seconds_[r.benchmark_name()] = r.real_accumulated_time / static_cast<double>(r.iterations);
    }
    void printRatio(const char *what, const std::string &ours, const std::string &ref, double goal) const {
        auto a = seconds_.find(ours + "/manual_time"), b = seconds_.find(ref + "/manual_time");
        if (a == seconds_.end() || b == seconds_.end())
            return;
        std::printf("%-28s %10.2f ms %10.2f ms %7.2f (goal %.1f)\n", what, a->second * 1e3,
                    b->second * 1e3, a->second / b->second, goal);
    }

private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char **argv) {
    benchmark::RegisterBenchmark("BM_QuickSortFloatsIndex", BM_QuickSortFloatsIndex)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_StdSortPairs", BM_StdSortPairs)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_QuickSortFloats", BM_QuickSortFloats)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_StdSortFloats", BM_StdSortFloats)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-28s %13s %13s %7s\n", "1,000,000 random floats", "QuickSort", "std::sort", "ratio");
    reporter.printRatio("with index / pairs", "BM_QuickSortFloatsIndex", "BM_StdSortPairs", 1.5);
    reporter.printRatio("without index / floats", "BM_QuickSortFloats", "BM_StdSortFloats", 1.3);
    benchmark::Shutdown();
    return 0;
}
