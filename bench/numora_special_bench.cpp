// Every special-function export of the numerics library over 1,000,000 arguments spread over its
// domain, beside the C++17 special math function of the same quantity where there is one (same
// arguments, same run). The table at the end gives processor-time nanoseconds per call (on a
// shared machine the wall-clock times include waiting for the processor).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "numora.h"

namespace {

constexpr int kCalls = 1000000;

struct Args {
    std::vector<float> a, b, x;
    std::vector<int32_t> n, m;
};

// Arguments: a, b and x uniform in their ranges, orders n and m uniform in [n0, n1].
Args makeArgs(float a0, float a1, float b0, float b1, float x0, float x1, int n0 = 0, int n1 = 0) {
    std::mt19937 gen(12345);
    std::uniform_real_distribution<float> da(a0, a1), db(b0, b1), dx(x0, x1);
    std::uniform_int_distribution<int32_t> dn(n0, n1);
    Args r;
    for (int i = 0; i < kCalls; ++i) {
        r.a.push_back(da(gen));
        r.b.push_back(db(gen));
        r.x.push_back(dx(gen));
        r.n.push_back(dn(gen));
        r.m.push_back(dn(gen));
    }
    return r;
}

struct Entry {
    std::string name;
    Args args;
    std::function<float(const Args &, int)> ours;
    std::function<float(const Args &, int)> ref;  // empty: no standard equivalent
    std::string refName;
};

std::vector<Entry> &entries() {
    static std::vector<Entry> e;
    return e;
}

void runCalls(benchmark::State &state, const Entry *entry, bool reference) {
    const auto &f = reference ? entry->ref : entry->ours;
    for (auto _ : state) {
        float sum = 0.0f;
        for (int i = 0; i < kCalls; ++i) sum += f(entry->args, i);
        benchmark::DoNotOptimize(sum);
    }
}

class TableReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                ns_[r.benchmark_name()] =
                    r.cpu_accumulated_time / static_cast<double>(r.iterations) / kCalls * 1e9;
    }
    void printTable() const {
        std::printf("\n%-14s %12s   %-22s %12s\n", "export", "ns per call", "standard equivalent",
                    "ns per call");
        for (const Entry &e : entries()) {
            const auto ours = ns_.find("numora/" + e.name + "/iterations:1");
            const auto ref = ns_.find("std/" + e.name + "/iterations:1");
            if (ours == ns_.end()) continue;
            if (ref != ns_.end())
                std::printf("%-14s %12.1f   %-22s %12.1f\n", e.name.c_str(), ours->second, e.refName.c_str(),
                            ref->second);
            else
                std::printf("%-14s %12.1f   %-22s %12s\n", e.name.c_str(), ours->second, "(none)", "-");
        }
    }

  private:
    std::map<std::string, double> ns_;
};

void addEntries() {
    auto &e = entries();
    e.push_back({"FxGamma", makeArgs(0, 0, 0, 0, 0.01f, 35.0f),
                 [](const Args &a, int i) { return FxGamma(a.x[i]); },
                 [](const Args &a, int i) { return std::tgamma(a.x[i]); }, "std::tgamma"});
    e.push_back({"FxGamma1", makeArgs(0.1f, 50.0f, 0, 0, 0.0f, 100.0f),
                 [](const Args &a, int i) { return FxGamma1(a.a[i], a.x[i]); }, nullptr, ""});
    e.push_back({"FxError", makeArgs(0, 0, 0, 0, -4.0f, 4.0f),
                 [](const Args &a, int i) { return FxError(a.x[i]); },
                 [](const Args &a, int i) { return std::erf(a.x[i]); }, "std::erf"});
    e.push_back({"FxBeta", makeArgs(0.5f, 30.0f, 0.5f, 30.0f, 0.0f, 1.0f),
                 [](const Args &a, int i) { return FxBeta(a.a[i], a.b[i], a.x[i]); }, nullptr, ""});
    e.push_back(
        {"FxNormalPDF", makeArgs(-1.0f, 1.0f, 0.5f, 2.0f, -6.0f, 6.0f),
         [](const Args &a, int i) { return FxNormalPDF(a.a[i], a.b[i], a.x[i]); },
         [](const Args &a, int i) { return 0.5f * std::erfc(-(a.x[i] - a.a[i]) / (1.4142135f * a.b[i])); },
         "0.5 std::erfc"});
    e.push_back({"FxStudentPDF", makeArgs(0, 0, 0, 0, -6.0f, 6.0f, 1, 200),
                 [](const Args &a, int i) { return FxStudentPDF(a.x[i], a.n[i]); }, nullptr, ""});
    e.push_back({"FxChi2PDF", makeArgs(0, 0, 0, 0, 0.0f, 100.0f, 1, 100),
                 [](const Args &a, int i) { return FxChi2PDF(a.x[i], a.n[i]); }, nullptr, ""});
    e.push_back({"FxFPDF", makeArgs(0, 0, 0, 0, 0.0f, 8.0f, 1, 60),
                 [](const Args &a, int i) { return FxFPDF(a.x[i], a.n[i], a.m[i]); }, nullptr, ""});
    e.push_back({"FxSinSum", makeArgs(0, 0, 0, 0, -100.0f, 100.0f),
                 [](const Args &a, int i) { return FxSinSum(a.x[i]); }, nullptr, ""});
    e.push_back({"FxCosSum", makeArgs(0, 0, 0, 0, -100.0f, 100.0f),
                 [](const Args &a, int i) { return FxCosSum(a.x[i]); }, nullptr, ""});
    e.push_back({"FxExpSum", makeArgs(0, 0, 0, 0, -50.0f, 50.0f),
                 [](const Args &a, int i) { return FxExpSum(a.x[i]); },
                 [](const Args &a, int i) { return std::expint(-std::fabs(a.x[i])); }, "std::expint(-|x|)"});
    e.push_back({"FxEllipse1", makeArgs(0.0f, 0.99f, 0, 0, -3.0f, 3.0f),
                 [](const Args &a, int i) { return FxEllipse1(a.a[i], a.x[i]); },
                 [](const Args &a, int i) { return std::ellint_1(a.a[i], a.x[i]); }, "std::ellint_1"});
    e.push_back({"FxEllipse2", makeArgs(0.0f, 0.99f, 0, 0, -3.0f, 3.0f),
                 [](const Args &a, int i) { return FxEllipse2(a.a[i], a.x[i]); },
                 [](const Args &a, int i) { return std::ellint_2(a.a[i], a.x[i]); }, "std::ellint_2"});
    e.push_back({"FxBessel1", makeArgs(0, 0, 0, 0, 0.1f, 50.0f, 0, 10),
                 [](const Args &a, int i) { return FxBessel1(a.n[i], a.x[i]); },
                 [](const Args &a, int i) { return std::cyl_bessel_j(static_cast<float>(a.n[i]), a.x[i]); },
                 "std::cyl_bessel_j"});
    e.push_back({"FxBessel2", makeArgs(0, 0, 0, 0, 0.1f, 50.0f, 0, 10),
                 [](const Args &a, int i) { return FxBessel2(a.n[i], a.x[i]); },
                 [](const Args &a, int i) { return std::cyl_neumann(static_cast<float>(a.n[i]), a.x[i]); },
                 "std::cyl_neumann"});
    e.push_back({"FxIBessel1", makeArgs(0, 0, 0, 0, 0.1f, 50.0f, 0, 10),
                 [](const Args &a, int i) { return FxIBessel1(a.n[i], a.x[i]); },
                 [](const Args &a, int i) { return std::cyl_bessel_i(static_cast<float>(a.n[i]), a.x[i]); },
                 "std::cyl_bessel_i"});
    e.push_back({"FxIBessel2", makeArgs(0, 0, 0, 0, 0.1f, 50.0f, 0, 10),
                 [](const Args &a, int i) { return FxIBessel2(a.n[i], a.x[i]); },
                 [](const Args &a, int i) { return std::cyl_bessel_k(static_cast<float>(a.n[i]), a.x[i]); },
                 "std::cyl_bessel_k"});
}

}  // namespace

int main(int argc, char **argv) {
    addEntries();
    for (const Entry &e : entries()) {
        benchmark::RegisterBenchmark(("numora/" + e.name).c_str(), runCalls, &e, false)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        if (e.ref)
            benchmark::RegisterBenchmark(("std/" + e.name).c_str(), runCalls, &e, true)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
    }
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printTable();
    benchmark::Shutdown();
    return 0;
}
