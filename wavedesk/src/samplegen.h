// samplegen.h - the synthetic chromatograms: the sample trace of testdata/sample.sepu (written
// by sepugen) and traces of chosen noise, drift and offset for tests. The peak tables are the
// truth a peak detector is checked against.
#pragma once

#include <cstdint>
#include <vector>

namespace wavedesk {

struct SamplePeak {
    double seconds;  // retention time
    double height;   // mV above the baseline
    double sigma;    // width (standard deviation) in seconds
};

struct TraceRecipe {
    int32_t points = 16384;
    double rate = 20;                   // samples per second
    double noiseMv = 0.6;               // standard deviation of the white noise
    double offsetMv = 12;               // baseline level at the start
    double slopeMvPerS = 28.0 / 819.2;  // linear drift
    double waveMv = 6;                  // amplitude of a slow sine wave on the baseline
    double tailMv = 0;                  // a decaying solvent tail tailMv * exp(-t / tailSeconds)
    double tailSeconds = 30;
    uint64_t seed = 0x5EB0C0FFEE2026ULL;
    std::vector<SamplePeak> peaks;
};

// The 14 peaks of the sample trace.
const std::vector<SamplePeak> &SamplePeaks();
// The recipe of the sample trace (SamplePeaks, 16384 points at 20 samples per second).
TraceRecipe SampleRecipe();
// Baseline of a trace at t seconds, mV.
double TraceBaseline(const TraceRecipe &recipe, double t);
// The trace in whole microvolts, as written to a .sepu file.
std::vector<long> GenerateMicrovolts(const TraceRecipe &recipe);

}  // namespace wavedesk
