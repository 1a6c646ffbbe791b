// The signal-processing methods (d_): correlation, filters, transforms, spectra, responses and
// signal shaping.
#include <algorithm>
#include <vector>

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

float *floatsOf(Args &a, std::size_t arg, int64_t n) {
    return touchedFloats(a[arg].array(), n);
}

Variant crossCorrelation(Args &a) {
    int32_t lx = a[1].toI4(), ly = a[3].toI4(), lcor = a[5].toI4();
    int32_t n = std::min(lx, ly);
    const float *x = floatsOf(a, 0, n);
    const float *y = floatsOf(a, 2, n);
    float *cor = floatsOf(a, 4, std::min(lcor, n));
    compute::crossCorrelation(x, lx, y, ly, cor, lcor, a[6].toI4());
    return Variant();
}

// d_AutoCor: Mark >= 1 the library's autocorrelation, otherwise the control's own unbiased
// cross-correlation of x with itself.
Row autoCorrelation() {
    automation::Handler library = forward(numora::AutoCor, {array(0), value(1), array(2), value(3)}).handler;
    return custom([library](Args &a) {
        if (a[4].toI4() >= 1) return library(a);
        int32_t lx = a[1].toI4(), lcor = a[3].toI4();
        const float *x = floatsOf(a, 0, lx);
        float *cor = floatsOf(a, 2, std::min(lcor, lx));
        compute::crossCorrelation(x, lx, x, lx, cor, lcor, 0);
        return Variant();
    });
}

// d_stDST gives 1 whatever the transform did.
Row sineTransform() {
    automation::Handler library = forward(numora::DST, {array(0), value(2), array(1)}).handler;
    return custom([library](Args &a) {
        library(a);
        return Variant(int32_t(1));
    });
}

// Two-dimensional Daubechies transform of an nRows x nCols block on a copy t(1..N); the
// library is given the address of the first value.
Variant wavelet2D(Args &a) {
    int32_t n = a[1].toI4(), rows = a[2].toI4(), cols = a[3].toI4();
    int32_t dir = a[4].toI4() != 0 ? -1 : 1;
    int64_t total = int64_t(rows) * cols;
    if (total > INT32_MAX) automation::raise(automation::err::Overflow, "nRows * nCols");
    if (total < 0) automation::raise(automation::err::SubscriptOutOfRange, "negative block size");
    automation::SafeArray &x = a[0].array();
    float *v = touchedFloats(x, total);
    automation::ArrayLock lock(x);
    auto *select = sigmora::DaubCoef.get();
    auto *transform = sigmora::DaubDWTnD.get();
    std::vector<float> t(std::size_t(total) + 1, 0.0f);
    const int32_t nn[2] = {rows, cols};
    select(n);
    std::copy(v, v + total, t.begin() + 1);
    transform(t.data() + 1, nn, 2, dir);
    std::copy(t.begin() + 1, t.end(), v);
    return Variant();
}

// Autoregressive coefficients of x into arc(0..lArc-1) with the leading 1. Burg's method is
// asked for order lArc - 1, so it writes exactly the lArc coefficients the array holds.
int16_t arCoefficients(float *x, int32_t lx, float *arc, int16_t lArc, int32_t algorithm) {
    if (algorithm == 1) {
        auto *burg = sigmora::BurgAR.get();
        int32_t order = 0;
        float error = 0;
        return burg(x, lx, int32_t(lArc) - 1, &order, &error, arc, 0);
    }
    int32_t p = int32_t(lArc) - 1;
    auto *estimate = algorithm == 2 ? sigmora::RLSARcoef.get() : sigmora::LSARcoef.get();
    int32_t r = estimate(x, lx, arc, p);
    for (int32_t i = p; i >= 1; --i) arc[i] = arc[i - 1];
    arc[0] = 1;
    return automation::narrowToI2(r);
}

Variant arCoef(Args &a) {
    int32_t lx = a[1].toI4();
    int16_t lArc = a[3].toI2();
    float *x = floatsOf(a, 0, lx);
    automation::SafeArray &arcArray = a[2].array();
    float *arc = covered<float>(arcArray, std::max<int32_t>(lArc, 1));
    automation::ArrayLock lock(a[0].array()), lockArc(arcArray);
    return Variant(arCoefficients(x, lx, arc, lArc, a[4].toI4()));
}

// d_psdAR: coefficients of order ord (at most 42, the buffer's limit: error 5 above), then
// the squared magnitude of 1/A at lps frequencies from f1 to f2.
Variant arSpectrum(Args &a) {
    int32_t lx = a[1].toI4(), lps = a[3].toI4(), ord = a[4].toI4();
    if (ord > compute::kMaxArOrder) automation::raise(automation::err::InvalidCall, "order above 42");
    int16_t lArc = automation::narrowToI2(ord + 1);
    float *x = floatsOf(a, 0, lx);
    float *ps = floatsOf(a, 2, lps);
    automation::ArrayLock lock(a[0].array()), lockPs(a[2].array());
    std::vector<float> coefficients(compute::kMaxArOrder + 1, 0.0f);
    const float numerator[5] = {1, 0, 0, 0, 0};
    int16_t r = arCoefficients(x, lx, coefficients.data(), lArc, a[8].toI4());
    if (r < 1) return Variant(int32_t(r));
    std::vector<float> magnitude(std::size_t(std::max(lps, 0)) + 1), phase(magnitude.size());
    compute::frequencyResponse(coefficients.data(), numerator, ord + 1, 2, magnitude.data(), phase.data(),
                               lps, a[5].toR4(), a[6].toR4(), a[7].toR4());
    for (int32_t i = 0; i < lps; ++i) ps[i] = magnitude[i] * magnitude[i];
    return Variant(int32_t(r));
}

Variant response(Args &a) {
    int32_t la = a[2].toI4(), lb = a[3].toI4(), lap = a[6].toI4();
    const float *ca = floatsOf(a, 0, std::max(la, 1));
    const float *cb = floatsOf(a, 1, std::max(lb, 1));
    float *am = floatsOf(a, 4, lap);
    float *ph = floatsOf(a, 5, lap);
    compute::frequencyResponse(ca, cb, la, lb, am, ph, lap, a[7].toR4(), a[8].toR4(), a[9].toR4());
    return Variant();
}

// Methods (x, y, lx) reading x and writing y.
template <void (*F)(const float *, float *, int32_t)>
Variant reshape(Args &a) {
    int32_t lx = a[2].toI4();
    const float *x = floatsOf(a, 0, lx);
    float *y = floatsOf(a, 1, lx);
    F(x, y, lx);
    return Variant();
}

Variant medianFilter(Args &a) {
    int32_t lx = a[1].toI4();
    const float *x = floatsOf(a, 0, lx);
    float *y = floatsOf(a, 2, lx);
    compute::medianFilter(x, lx, y, a[3].toI4());
    return Variant();
}

Variant upDown(Args &a) {
    int32_t lx = a[1].toI4();
    compute::mirror(floatsOf(a, 0, lx), lx, a[2].toR4());
    return Variant();
}

Variant leftRight(Args &a) {
    int32_t lx = a[1].toI4();
    compute::reverse(floatsOf(a, 0, lx), lx);
    return Variant();
}

// Spectrum summaries (ps, lps, df).
template <float (*F)(const float *, int32_t, float)>
Variant summary(Args &a) {
    int32_t lps = a[1].toI4();
    return Variant(F(floatsOf(a, 0, lps), lps, a[2].toR4()));
}

}  // namespace

void signalRows(Rows &rows) {
    namespace d = dispid;
    auto add = [&rows](automation::DispId id, Row row) { rows.push_back({id, std::move(row)}); };
    add(d::d_AutoCor, autoCorrelation());
    add(d::d_Convolution,
        forward(sigmora::ConvolutionCalc, {array(0), value(1), array(2), value(3), array(4), value(5)}));
    add(d::d_CrossCorrelation, custom(crossCorrelation));
    // Band edges normalised to half the sampling rate; fs itself is not passed.
    add(d::d_FIRdesign,
        forward(sigmora::FIRDesign, {scaled(0, 2, 2), scaled(1, 2, 2), value(3), array(4), value(5)}));
    // f2 goes first, then f1.
    add(d::d_IIRdesign,
        forward(sigmora::IIRFDesign, {value(1), value(0), value(2), value(3), array(4), array(5), value(6)}));
    add(d::d_LiFiltering, forward(sigmora::SignalToLinearSys,
                                  {array(0), value(1), array(2), value(3), value(4), value(5), value(6)}));
    add(d::d_RLSFiltering,
        forward(sigmora::RLSCalc, {value(0), value(1), array(2), value(3), value(4), value(5), value(6)}));
    add(d::d_LMSFiltering,
        forward(sigmora::LMSCalc, {value(0), value(1), array(2), value(3), value(4), value(5), value(6)}));
    add(d::d_stDFT, forward(numora::DFFT, {array(0), array(1), array(2), array(3), value(4), value(5)}));
    add(d::d_stDCT, forward(numora::DCT, {array(0), array(1), value(2), value(3)}));
    add(d::d_stDST, sineTransform());
    add(d::d_stDWalshT, forward(sigmora::FastWalshT, {array(0), value(1), array(2), narrowed(3)}));
    add(d::d_stDHaarT, forward(numora::Haar, {array(0), array(1), value(2), value(3)}));
    add(d::d_stDczT, forward(numora::CharpZT, {array(0), array(1), value(2), array(3), array(4), value(5),
                                               value(6), value(7), value(8)}));
    // nCols before nRows, all three narrowed to 16 bits.
    add(d::d_stDFT2D,
        forward(sigmora::FFT2DCalc, {array(0), array(1), narrowed(3), narrowed(2), narrowed(4)}));
    add(d::d_stDWaveletT2D, custom(wavelet2D));
    add(d::d_psdPeriod, forward(sigmora::RealPSDCalc, {array(0), value(1), array(2), value(3), value(4)}));
    add(d::d_psdBT,
        forward(numora::PsdCalc, {array(0), value(1), array(2), value(3), value(4), value(5), value(6)}));
    add(d::d_psdCZT,
        forward(numora::PsdCalcCZT, {array(0), value(1), array(2), value(3), value(4), value(5), value(6)}));
    add(d::d_psdAR, custom(arSpectrum));
    add(d::d_ARCoef, custom(arCoef));
    add(d::d_AResponse,
        forward(sigmora::AMFreqRes, {array(0), array(1), value(2), value(3), array(4), value(5)}));
    add(d::d_PResponse,
        forward(sigmora::PHFreqRes, {array(0), array(1), value(2), value(3), array(4), value(5)}));
    add(d::d_Response, custom(response));
    add(d::d_psdArray, forward(numora::PsArray, {array(0), value(1), value(2), value(3), array(4), value(5),
                                                 value(6), value(7), value(8)}));
    add(d::d_Normalize, custom(reshape<compute::normalize>));
    add(d::d_ZeroMean, custom(reshape<compute::zeroMean>));
    add(d::d_MedianFilter, custom(medianFilter));
    add(d::d_SignalUpDown, custom(upDown));
    add(d::d_SignalLeftRight, custom(leftRight));
    add(d::d_PeakFreq, custom(summary<compute::peakFrequency>));
    add(d::d_MeanFreq, custom(summary<compute::meanFrequency>));
    add(d::d_MedianFreq, custom(summary<compute::medianFrequency>));
}

}  // namespace tessiq
