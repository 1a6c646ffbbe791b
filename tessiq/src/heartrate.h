// heartrate.h - the sample-by-sample R-wave detector of the DSP control (one per instance).
#pragma once

#include <cstdint>

namespace tessiq {

class RWaveDetector {
  public:
    // Stores the smoothing and threshold factors, the rate and the refractory length
    // fs * 60 / maxRate (error 11 when maxRate is 0) and clears the rest; minRate is not used.
    void init(float smoothing, float threshold, float minRate, float maxRate, float fs);
    // +1 for a rising trigger, -1 for a steep fall, 0 otherwise.
    int32_t step(float v);
    // The heart rate in beats per minute at each positive trigger, 0 on every other sample.
    float rate(float v);

  private:
    float smoothing_ = 0;
    float threshold_ = 0;
    float refractory_ = 0;
    float fs_ = 0;
    float previous_ = 0;
    float energy_ = 0;
    int32_t sinceTrigger_ = 0;
    int32_t sinceBeat_ = 0;
};

}  // namespace tessiq
