// Matrix routines of the numerics library against single-threaded OpenBLAS/LAPACKE on the
// same data: MatInv vs sgetrf + sgetri, MatDet vs sgetrf, MatMultiply vs sgemm and a plain
// triple loop, SolutionEQs (Gaussian elimination, full pivoting) vs sgesv (partial pivoting),
// MatEigenVV (Jacobi) vs ssyev. Inputs are copied outside the timed region; the tables at the
// end give our time / reference time. The machine is shared, so figures are noisy.
#include <benchmark/benchmark.h>
#include <cblas.h>
#include <lapacke.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "numora.h"

extern "C" void openblas_set_num_threads(int);

namespace {

const int kSizes[] = {64, 256, 512};
constexpr int kEigenSize = 128;

std::vector<float> wellConditioned(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> a(static_cast<std::size_t>(n) * n);
    for (float &v : a) v = d(gen);
    for (int i = 0; i < n; ++i) a[static_cast<std::size_t>(i) * n + i] += 2.0f;
    return a;
}

std::vector<float> symmetric(int n, unsigned seed) {
    std::vector<float> a = wellConditioned(n, seed);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j)
            a[static_cast<std::size_t>(i) * n + j] = a[static_cast<std::size_t>(j) * n + i];
    return a;
}

template <class F>
void timed(benchmark::State &state, F &&work) {
    using clock = std::chrono::steady_clock;
    const auto t0 = clock::now();
    work();
    const auto t1 = clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
}

void BM_MatInv(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> a0 = wellConditioned(n, 1);
    std::vector<float> a(a0);
    for (auto _ : state) {
        std::memcpy(a.data(), a0.data(), a.size() * sizeof(float));
        timed(state, [&] {
            if (MatInv(a.data(), n) != 1) state.SkipWithError("MatInv failed");
        });
    }
}

void BM_LapackInv(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> a0 = wellConditioned(n, 1);
    std::vector<float> a(a0);
    std::vector<lapack_int> ipiv(static_cast<std::size_t>(n));
    for (auto _ : state) {
        std::memcpy(a.data(), a0.data(), a.size() * sizeof(float));
        timed(state, [&] {
            LAPACKE_sgetrf(LAPACK_ROW_MAJOR, n, n, a.data(), n, ipiv.data());
            LAPACKE_sgetri(LAPACK_ROW_MAJOR, n, a.data(), n, ipiv.data());
        });
    }
}

void BM_MatDet(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> a = wellConditioned(n, 2);
    for (auto _ : state) {
        float d = 0.0f;
        timed(state, [&] { d = MatDet(a.data(), n); });
        benchmark::DoNotOptimize(d);
    }
}

void BM_LapackDet(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> a0 = wellConditioned(n, 2);
    std::vector<float> a(a0);
    std::vector<lapack_int> ipiv(static_cast<std::size_t>(n));
    for (auto _ : state) {
        std::memcpy(a.data(), a0.data(), a.size() * sizeof(float));
        double d = 1.0;
        timed(state, [&] {
            LAPACKE_sgetrf(LAPACK_ROW_MAJOR, n, n, a.data(), n, ipiv.data());
            for (int i = 0; i < n; ++i)
                d *= (ipiv[i] != i + 1 ? -1.0 : 1.0) * a[static_cast<std::size_t>(i) * n + i];
        });
        benchmark::DoNotOptimize(d);
    }
}

void BM_MatMultiply(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> a = wellConditioned(n, 3), b = wellConditioned(n, 4);
    std::vector<float> c(a.size());
    for (auto _ : state) {
        timed(state, [&] { MatMultiply(a.data(), b.data(), n, n, n, c.data()); });
        benchmark::DoNotOptimize(c.data());
    }
}

void BM_Sgemm(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> a = wellConditioned(n, 3), b = wellConditioned(n, 4);
    std::vector<float> c(a.size());
    for (auto _ : state) {
        timed(state, [&] {
            cblas_sgemm(CblasRowMajor, CblasNoTrans, CblasNoTrans, n, n, n, 1.0f, a.data(), n, b.data(), n,
                        0.0f, c.data(), n);
        });
        benchmark::DoNotOptimize(c.data());
    }
}

// The textbook loop: c(i, j) = sum over l of a(i, l) b(l, j).
void BM_TripleLoop(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> a = wellConditioned(n, 3), b = wellConditioned(n, 4);
    std::vector<float> c(a.size());
    for (auto _ : state) {
        timed(state, [&] {
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j) {
                    float s = 0.0f;
                    for (int l = 0; l < n; ++l)
                        s += a[static_cast<std::size_t>(i) * n + l] * b[static_cast<std::size_t>(l) * n + j];
                    c[static_cast<std::size_t>(i) * n + j] = s;
                }
        });
        benchmark::DoNotOptimize(c.data());
    }
}

void BM_SolutionEQs(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> a = wellConditioned(n, 5), b = wellConditioned(n, 6);
    std::vector<float> x(static_cast<std::size_t>(n));
    for (auto _ : state) {
        timed(state, [&] {
            if (SolutionEQs(a.data(), n, n, b.data(), x.data(), 0) != 1)
                state.SkipWithError("SolutionEQs failed");
        });
    }
}

void BM_Sgesv(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> a0 = wellConditioned(n, 5), b0 = wellConditioned(n, 6);
    std::vector<float> a(a0), b(b0.begin(), b0.begin() + n);
    std::vector<lapack_int> ipiv(static_cast<std::size_t>(n));
    for (auto _ : state) {
        std::memcpy(a.data(), a0.data(), a.size() * sizeof(float));
        std::memcpy(b.data(), b0.data(), b.size() * sizeof(float));
        timed(state, [&] { LAPACKE_sgesv(LAPACK_ROW_MAJOR, n, 1, a.data(), n, ipiv.data(), b.data(), 1); });
    }
}

void BM_MatEigenVV(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> a = symmetric(n, 7);
    std::vector<float> values(static_cast<std::size_t>(n)), vectors(a.size());
    for (auto _ : state) {
        timed(state, [&] {
            if (MatEigenVV(a.data(), n, values.data(), vectors.data(), 10000000) != 1)
                state.SkipWithError("MatEigenVV did not converge");
        });
    }
}

void BM_Ssyev(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> a0 = symmetric(n, 7);
    std::vector<float> a(a0), w(static_cast<std::size_t>(n));
    for (auto _ : state) {
        std::memcpy(a.data(), a0.data(), a.size() * sizeof(float));
        timed(state, [&] { LAPACKE_ssyev(LAPACK_ROW_MAJOR, 'V', 'U', n, a.data(), n, w.data()); });
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
    void print_ratio(const char *ours, const char *ref, int n) const {
        const auto a = seconds_.find(std::string(ours) + "/" + std::to_string(n) + "/manual_time");
        const auto b = seconds_.find(std::string(ref) + "/" + std::to_string(n) + "/manual_time");
        if (a == seconds_.end() || b == seconds_.end()) return;
        std::printf("%-16s %-16s %6d %12.1f %12.1f %8.2f\n", ours, ref, n, a->second * 1e6, b->second * 1e6,
                    a->second / b->second);
    }

  private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char **argv) {
    openblas_set_num_threads(1);
    const std::pair<const char *, void (*)(benchmark::State &)> pairs[] = {
        {"BM_MatInv", BM_MatInv},         {"BM_LapackInv", BM_LapackInv},     {"BM_MatDet", BM_MatDet},
        {"BM_LapackDet", BM_LapackDet},   {"BM_MatMultiply", BM_MatMultiply}, {"BM_Sgemm", BM_Sgemm},
        {"BM_TripleLoop", BM_TripleLoop}, {"BM_SolutionEQs", BM_SolutionEQs}, {"BM_Sgesv", BM_Sgesv}};
    for (const auto &p : pairs)
        for (int n : kSizes)
            benchmark::RegisterBenchmark(p.first, p.second)
                ->Arg(n)
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_MatEigenVV", BM_MatEigenVV)
        ->Arg(kEigenSize)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_Ssyev", BM_Ssyev)
        ->Arg(kEigenSize)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-16s %-16s %6s %12s %12s %8s\n", "ours", "reference", "n", "ours [us]", "ref [us]",
                "ratio");
    for (int n : kSizes) {
        reporter.print_ratio("BM_MatInv", "BM_LapackInv", n);
        reporter.print_ratio("BM_MatDet", "BM_LapackDet", n);
        reporter.print_ratio("BM_MatMultiply", "BM_Sgemm", n);
        reporter.print_ratio("BM_MatMultiply", "BM_TripleLoop", n);
        reporter.print_ratio("BM_TripleLoop", "BM_Sgemm", n);
        reporter.print_ratio("BM_SolutionEQs", "BM_Sgesv", n);
    }
    reporter.print_ratio("BM_MatEigenVV", "BM_Ssyev", kEigenSize);
    benchmark::Shutdown();
    return 0;
}
