// About and the five methods the workbench relies on.
#include <QString>
#include <vector>

#include "automation/errors.h"
#include "automation/safearray.h"
#include "exports.h"
#include "forms/messagebox.h"
#include "forward.h"
#include "members.h"
#include "tessiq/dispids.h"

namespace tessiq {

using automation::Args;
using automation::ArgType;
using automation::InvokeKind;
using automation::Variant;

namespace {

Variant about(Args &) {
  forms::showMessage(nullptr, forms::MsgIcon::Information, QStringLiteral("About Tessiq 4.5"),
                     QStringLiteral("Tessiq 4.5\r\nSignal Workbench DSP control\r\nCopyright (C) 2026"));
  return Variant();
}

// Running mean, each step in double and stored back as a single. lx <= 0 gives 0 and
// touches nothing; otherwise x must hold lx elements from element 0.
Variant mean(Args &a) {
  int32_t lx = a[1].toI4();
  if (lx <= 0) return Variant(0.0f);
  automation::SafeArray &x = a[0].array();
  const float *v = coveredFloats(x, lx);
  automation::ArrayLock lock(x);
  float m = 0;
  for (int32_t i = 0; i < lx; ++i) m = static_cast<float>(m + (double(v[i]) - m) / (double(i) + 1));
  return Variant(m);
}

// In-place Daubechies transform of x(0..lx-1) with the n-tap filter. The library counts from
// 1, so it works on a copy t(1..lx) and is given the address of t(0).
Variant waveletTransform(Args &a) {
  int32_t lx = a[1].toI4();
  int32_t n = a[2].toI4();
  int32_t dir = a[3].toI4() != 0 ? -1 : 1;
  if (lx < 0) automation::raise(automation::err::SubscriptOutOfRange);
  automation::SafeArray &x = a[0].array();
  float *v = lx > 0 ? coveredFloats(x, lx) : nullptr;
  automation::ArrayLock lock(x);
  auto *select = exports::DaubCoef.get();
  auto *transform = exports::DaubDWT1D.get();
  std::vector<float> t(std::size_t(lx) + 1, 0.0f);
  std::copy(v, v + lx, t.begin() + 1);
  select(n);
  transform(t.data(), lx, dir);
  std::copy(t.begin() + 1, t.end(), v);
  return Variant();
}

}  // namespace

std::vector<automation::Member> workbenchMembers() {
  namespace d = dispid;
  using namespace param;
  const auto M = InvokeKind::Method;
  // Both transforms work in place on xr and xi, lx elements each; any non-zero Inv inverts.
  std::vector<Source> fftArgs{array(0, lengthArg(2)), array(1, lengthArg(2)), value(2)};
  auto fft = forward(exports::FFTCalc, fftArgs);
  auto inverse = forward(exports::FFTInvCalc, fftArgs);
  return {
      {d::About, "About", M, {}, ArgType::None, about},
      {d::b_Mean, "b_Mean", M, {ArrR4, I4}, ArgType::R4, mean},
      {d::b_Min, "b_Min", M, {ArrR4, I4, I4Ref}, ArgType::R4,
       forward(exports::MinValueCalc, {array(0, lengthArg(1)), value(1), out(2)})},
      {d::b_Max, "b_Max", M, {ArrR4, I4, I4Ref}, ArgType::R4,
       forward(exports::MaxValueCalc, {array(0, lengthArg(1)), value(1), out(2)})},
      {d::d_stFFT, "d_stFFT", M, {ArrR4, ArrR4, I4, I4}, ArgType::I4,
       [fft, inverse](Args &a) { return a[3].toI4() != 0 ? inverse(a) : fft(a); }},
      {d::d_stDWaveletT, "d_stDWaveletT", M, {ArrR4, I4, I4, I4}, ArgType::None, waveletTransform},
  };
}

}  // namespace tessiq
