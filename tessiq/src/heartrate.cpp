#include "heartrate.h"

#include <climits>
#include <cmath>

#include "automation/errors.h"

namespace tessiq {

void RWaveDetector::init(float smoothing, float threshold, float, float maxRate, float fs) {
    if (maxRate == 0) automation::raise(automation::err::DivisionByZero);
    smoothing_ = smoothing;
    threshold_ = threshold;
    fs_ = fs;
    refractory_ = fs * 60 / maxRate;
    previous_ = 0;
    energy_ = 0;
    sinceTrigger_ = 0;
    sinceBeat_ = 0;
}

int32_t RWaveDetector::step(float v) {
    float d = (v - previous_) * fs_;
    previous_ = v;
    energy_ = energy_ + (d * d - energy_) * smoothing_;
    float level = threshold_ * std::sqrt(energy_);
    if (std::fabs(d) > level && float(sinceTrigger_) > refractory_) {
        sinceTrigger_ = 0;
        return d > level ? 1 : -1;
    }
    if (sinceTrigger_ < INT32_MAX) ++sinceTrigger_;
    return 0;
}

float RWaveDetector::rate(float v) {
    if (step(v) == 1) {
        int32_t n = sinceBeat_;
        sinceBeat_ = 0;
        return n > 0 ? fs_ * 60 / float(n) : 0.0f;
    }
    if (sinceBeat_ < INT32_MAX) ++sinceBeat_;
    return 0;
}

}  // namespace tessiq
