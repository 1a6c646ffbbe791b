#include "samplegen.h"

#include <cmath>

namespace wavedesk {

namespace {

constexpr double kPi = 3.14159265358979323846;

// xorshift64* generator; portable, so the file does not depend on the standard library.
class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed) {}
    double uniform() {  // (0, 1)
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        const uint64_t bits = (state_ * 2685821657736338717ULL) >> 11;
        return (static_cast<double>(bits) + 0.5) / 9007199254740992.0;
    }
    double normal() {  // Box-Muller
        const double u1 = uniform();
        const double u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2 * kPi * u2);
    }

  private:
    uint64_t state_;
};

}  // namespace

const std::vector<SamplePeak> &SamplePeaks() {
    static const std::vector<SamplePeak> peaks = {
        {45, 85, 1.6},   {96, 420, 2.4},  {118, 160, 2.0}, {170, 55, 1.2},  {232, 610, 3.2},
        {300, 240, 5.5}, {352, 30, 2.0},  {410, 330, 4.0}, {470, 130, 9.0}, {540, 480, 3.5},
        {556, 210, 3.0}, {640, 95, 14.0}, {705, 370, 6.0}, {770, 60, 2.5},
    };
    return peaks;
}

TraceRecipe SampleRecipe() {
    TraceRecipe recipe;
    recipe.peaks = SamplePeaks();
    return recipe;
}

// A slow rise with a gentle wave, as a column warms and the solvent changes, and the tail.
double TraceBaseline(const TraceRecipe &recipe, double t) {
    const double span = recipe.points / recipe.rate;
    double v =
        recipe.offsetMv + recipe.slopeMvPerS * t + recipe.waveMv * std::sin(2 * kPi * t / (span * 0.8));
    if (recipe.tailMv != 0) v += recipe.tailMv * std::exp(-t / recipe.tailSeconds);
    return v;
}

std::vector<long> GenerateMicrovolts(const TraceRecipe &recipe) {
    Random random(recipe.seed);
    std::vector<long> out(static_cast<std::size_t>(recipe.points > 0 ? recipe.points : 0));
    for (int32_t i = 0; i < recipe.points; ++i) {
        const double t = i / recipe.rate;
        double v = TraceBaseline(recipe, t);
        for (const SamplePeak &p : recipe.peaks) {
            const double z = (t - p.seconds) / p.sigma;
            if (std::fabs(z) < 12) v += p.height * std::exp(-0.5 * z * z);
        }
        out[i] = std::lround((v + recipe.noiseMv * random.normal()) * 1000.0);
    }
    return out;
}

}  // namespace wavedesk
