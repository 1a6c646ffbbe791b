// The statistics and smoothing methods (b_).
#include "automation/errors.h"
#include "compute.h"
#include "exports.h"
#include "marshal.h"
#include "members.h"
#include "tessiq/dispids.h"

namespace tessiq {

using automation::Args;
using automation::Variant;

namespace {

// x(0..lx-1) of a method (x, lx, ...) for reading; nothing is checked when lx <= 0.
const float *samples(Args &a, std::size_t arg, int32_t lx) {
    return touchedFloats(a[arg].array(), lx);
}

Variant variance(Args &a) {
    int32_t lx = a[1].toI4();
    return Variant(compute::variance(samples(a, 0, lx), lx));
}

Variant standardDeviation(Args &a) {
    int32_t lx = a[1].toI4();
    return Variant(compute::standardDeviation(samples(a, 0, lx), lx));
}

Variant oddPoints(Args &a) {
    int32_t lx = a[1].toI4();
    const float *x = samples(a, 0, lx);
    float *y = touchedFloats(a[2].array(), lx);
    compute::oddPoints(x, lx, y, a[3].toR4(), a[4].toI4());
    return Variant();
}

Variant zeroCross(Args &a) {
    int32_t lx = a[1].toI4();
    return Variant(compute::zeroCrossRate(samples(a, 0, lx), lx, a[2].toR4()));
}

// b_RegressLine: the line comes back in a control-owned pair (offset, slope).
Variant regressLine(Args &a) {
    int32_t n = a[2].toI4();
    automation::SafeArray &x = a[0].array();
    automation::SafeArray &y = a[1].array();
    automation::SafeArray &dt = a[5].array();
    const float *xv = covered<float>(x, n);
    const float *yv = covered<float>(y, n);
    float *dtv = covered<float>(dt, 6);
    automation::ArrayLock lx(x), ly(y), ld(dt);
    auto *regress = numora::LiRegress1d.get();
    float line[2] = {0, 0};
    regress(xv, yv, n, line, dtv);
    a[4] = Variant(line[0]);
    a[3] = Variant(line[1]);
    return Variant();
}

}  // namespace

void statisticsRows(Rows &rows) {
    namespace d = dispid;
    auto add = [&rows](automation::DispId id, Row row) { rows.push_back({id, std::move(row)}); };
    add(d::b_Variance, custom(variance));
    add(d::b_Std, custom(standardDeviation));
    add(d::b_Median, forward(sigmora::FindMedian, {array(0), value(1)}));
    add(d::b_Mode, forward(sigmora::ModeCalc, {array(0), value(1)}));
    add(d::b_Skew, forward(sigmora::SkewDegree, {array(0), value(1)}));
    add(d::b_Kurt, forward(sigmora::KurtDegree, {array(0), value(1)}));
    add(d::b_CorCoef, forward(numora::CorCoef, {array(0), array(1), value(2)}));
    add(d::b_RegressLine, custom(regressLine));
    add(d::b_RegressMV,
        forward(numora::MLiRegress, {array(0), array(1), value(2), value(3), array(4), array(5), array(6)}));
    // Sel 1: unequal variances, 2: paired over the shorter length, anything else pooled.
    Row pooled = forward(sigmora::tTestMean, {array(0), value(1), array(2), value(3), out(4)});
    add(d::b_TestMean,
        bySelector(5,
                   {pooled, forward(sigmora::tTestMean1, {array(0), value(1), array(2), value(3), out(4)}),
                    forward(sigmora::tTestMean2, {array(0), array(2), smaller(1, 3), out(4)})},
                   pooled));
    add(d::b_TestVar, forward(sigmora::fTestVar, {array(0), value(1), array(2), value(3), out(4)}));
    add(d::b_TestDistribute,
        forward(sigmora::ksTestDistri, {array(0), value(1), array(2), value(3), out(4)}));
    add(d::b_Smooth, forward(sigmora::SmoothData, {array(0), value(1), value(2), constant(0), array(3)}));
    add(d::b_SmoothSG, forward(sigmora::SGSmoother, {array(0), value(1), value(2), value(3)}));
    add(d::b_OddPoints, custom(oddPoints));
    add(d::b_ZeroCross, custom(zeroCross));
}

}  // namespace tessiq
