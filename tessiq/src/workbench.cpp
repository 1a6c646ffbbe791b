// About and the five methods the workbench relies on.
#include <QString>
#include <algorithm>
#include <vector>

#include "automation/errors.h"
#include "automation/safearray.h"
#include "compute.h"
#include "exports.h"
#include "forms/messagebox.h"
#include "members.h"
#include "tessiq/dispids.h"

namespace tessiq {

using automation::Args;
using automation::Variant;

namespace {

Variant about(Args &) {
    forms::showMessage(nullptr, forms::MsgIcon::Information, QStringLiteral("About Tessiq 4.5"),
                       QStringLiteral("Tessiq 4.5\r\nSignal Workbench DSP control\r\nCopyright (C) 2026"));
    return Variant();
}

// Running mean; lx <= 0 gives 0 and touches nothing, otherwise x must hold lx elements.
Variant mean(Args &a) {
    int32_t lx = a[1].toI4();
    if (lx <= 0) return Variant(0.0f);
    automation::SafeArray &x = a[0].array();
    const float *v = coveredFloats(x, lx);
    automation::ArrayLock lock(x);
    return Variant(compute::mean(v, lx));
}

// In-place Daubechies transform of x(0..lx-1) with the n-tap filter. The library counts from
// 1, so it works on a copy t(1..lx) and is given the address of t(0).
Variant waveletTransform(Args &a) {
    int32_t lx = a[1].toI4();
    int32_t n = a[2].toI4();
    int32_t dir = a[3].toI4() != 0 ? -1 : 1;
    if (lx < 0) automation::raise(automation::err::SubscriptOutOfRange);
    automation::SafeArray &x = a[0].array();
    float *v = touchedFloats(x, lx);
    automation::ArrayLock lock(x);
    auto *select = sigmora::DaubCoef.get();
    auto *transform = sigmora::DaubDWT1D.get();
    std::vector<float> t(std::size_t(lx) + 1, 0.0f);
    std::copy(v, v + lx, t.begin() + 1);
    select(n);
    transform(t.data(), lx, dir);
    std::copy(t.begin() + 1, t.end(), v);
    return Variant();
}

}  // namespace

void workbenchRows(Rows &rows) {
    namespace d = dispid;
    // Both transforms work in place on xr and xi; any non-zero Inv inverts.
    rows.push_back({d::About, custom(about)});
    rows.push_back({d::b_Mean, custom(mean)});
    rows.push_back({d::b_Min, forward(sigmora::MinValueCalc, {array(0), value(1), out(2)})});
    rows.push_back({d::b_Max, forward(sigmora::MaxValueCalc, {array(0), value(1), out(2)})});
    rows.push_back({d::d_stFFT, bySelector(3, {forward(sigmora::FFTCalc, {array(0), array(1), value(2)})},
                                           forward(sigmora::FFTInvCalc, {array(0), array(1), value(2)}))});
    rows.push_back({d::d_stDWaveletT, custom(waveletTransform)});
}

}  // namespace tessiq
