// sepugen - writes the sample chromatogram testdata/sample.sepu: 16384 values in microvolts at
// 20 samples per second (about 13.7 minutes), one per line with CR LF. The trace is a drifting
// baseline, Gaussian peaks of several widths and heights, and white noise from a fixed seed,
// so the same file comes out every time.
//
//   sepugen OUT.sepu
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int kPoints = 16384;
constexpr double kRate = 20.0;          // samples per second
constexpr double kNoiseMv = 0.6;        // standard deviation of the noise
constexpr double kPi = 3.14159265358979323846;

struct Peak {
  double seconds;  // retention time
  double height;   // mV above the baseline
  double sigma;    // width (standard deviation) in seconds
};

constexpr Peak kPeaks[] = {
    {45, 85, 1.6},   {96, 420, 2.4},  {118, 160, 2.0}, {170, 55, 1.2},  {232, 610, 3.2},
    {300, 240, 5.5}, {352, 30, 2.0},  {410, 330, 4.0}, {470, 130, 9.0}, {540, 480, 3.5},
    {556, 210, 3.0}, {640, 95, 14.0}, {705, 370, 6.0}, {770, 60, 2.5},
};

// Baseline in mV: a slow rise with a gentle wave, as a column warms and the solvent changes.
double baseline(double t) {
  const double span = kPoints / kRate;
  return 12.0 + 28.0 * (t / span) + 6.0 * std::sin(2 * kPi * t / (span * 0.8));
}

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

double sampleMv(int i, Random &random) {
  const double t = i / kRate;
  double v = baseline(t);
  for (const Peak &p : kPeaks) {
    const double z = (t - p.seconds) / p.sigma;
    if (std::fabs(z) < 12) v += p.height * std::exp(-0.5 * z * z);
  }
  return v + kNoiseMv * random.normal();
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sepugen OUT.sepu\n");
    return 2;
  }
  std::FILE *out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  Random random(0x5EB0C0FFEE2026ULL);
  for (int i = 0; i < kPoints; ++i) {
    const long microvolts = std::lround(sampleMv(i, random) * 1000.0);
    std::fprintf(out, "%ld\r\n", microvolts);
  }
  if (std::fclose(out) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
