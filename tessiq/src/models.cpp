// Random numbers, model series (e_) and the heart-rate detector (f_).
#include "automation/errors.h"
#include "exports.h"
#include "marshal.h"
#include "members.h"
#include "tessiq/dispids.h"

namespace tessiq {

using automation::Args;
using automation::Variant;

namespace {

// One sample of white noise of the given spread through recursive-filter slot `slot` of the
// signal library, B(z)/A(z) with the given coefficients.
float filteredNoise(const float *a, int32_t la, const float *b, int32_t lb, float spread, int32_t init,
                    int16_t slot) {
    auto *noise = sigmora::NormalNoise.get();
    auto *filter = sigmora::SignalToLinearSys.get();
    float e = noise(0, spread);
    return filter(a, la, b, lb, e, init, slot);
}

const float kOne[2] = {1, 0};

Variant arSeries(Args &a) {
    int32_t la = a[1].toI4();
    automation::SafeArray &coef = a[0].array();
    const float *ca = covered<float>(coef, la);
    automation::ArrayLock lock(coef);
    return Variant(filteredNoise(ca, la, kOne, 1, 0.5f, a[2].toI4(), 0));
}

Variant maSeries(Args &a) {
    int32_t lb = a[1].toI4();
    automation::SafeArray &coef = a[0].array();
    const float *cb = covered<float>(coef, lb);
    automation::ArrayLock lock(coef);
    return Variant(filteredNoise(kOne, 1, cb, lb, 0.5f, a[2].toI4(), 1));
}

Variant armaSeries(Args &a) {
    int32_t la = a[2].toI4(), lb = a[3].toI4();
    automation::SafeArray &ca = a[0].array();
    automation::SafeArray &cb = a[1].array();
    const float *pa = covered<float>(ca, la);
    const float *pb = covered<float>(cb, lb);
    automation::ArrayLock lockA(ca), lockB(cb);
    return Variant(filteredNoise(pa, la, pb, lb, 1.0f, a[4].toI4(), 2));
}

}  // namespace

void modelRows(Rows &rows, Instance &instance) {
    namespace d = dispid;
    auto add = [&rows](automation::DispId id, Row row) { rows.push_back({id, std::move(row)}); };
    add(d::e_Uniform, forward(sigmora::UniformNoise, {value(0), value(1)}));
    add(d::e_RandSeed, forward(sigmora::SetRandSeed, {value(0)}));
    add(d::e_Normal, forward(sigmora::NormalNoise, {value(0), value(1)}));
    add(d::e_Triangle, forward(sigmora::TriangleNoise, {value(0), value(1), value(2)}));
    add(d::e_Exponent, forward(sigmora::ExpSignal, {value(0)}));
    add(d::e_ARSeries, custom(arSeries));
    add(d::e_MASeries, custom(maSeries));
    add(d::e_ARMASeries, custom(armaSeries));
    RWaveDetector *detector = &instance.detector;
    add(d::f_ECGRwaveInit, custom([detector](Args &a) {
            detector->init(a[0].toR4(), a[1].toR4(), a[2].toR4(), a[3].toR4(), a[4].toR4());
            return Variant();
        }));
    add(d::f_ECGHR, custom([detector](Args &a) { return Variant(detector->rate(a[0].toR4())); }));
}

}  // namespace tessiq
