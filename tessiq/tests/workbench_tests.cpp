// The workbench's methods of the DSP control, called through its dispatch interface against
// the real signal library next to the plugin.
#include <gtest/gtest.h>

#include <cmath>
#include <QStringList>
#include <algorithm>
#include <random>

#include "automation/host.h"
#include "forms/messagebox.h"
#include "helpers.h"
#include "tessiq/dispids.h"

using namespace automation;
using tessiq_test::errorOf;
using tessiq_test::fromZero;
namespace d = tessiq::dispid;

namespace {

class Tessiq : public ::testing::Test {
 protected:
  void SetUp() override { dsp = ControlHandle::create("TessiqLib.Tessiq"); }
  ControlHandle dsp;
};

std::vector<float> randomFloats(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  std::vector<float> v(n);
  for (float &x : v) x = dist(gen);
  return v;
}

}  // namespace

// ---- b_Mean -------------------------------------------------------------------------------

TEST_F(Tessiq, MeanOfOneToFour) {
  SafeArray x = SafeArray::ofFloats({1, 2, 3, 4});
  EXPECT_FLOAT_EQ(dsp.call(d::b_Mean, x, int32_t(4)).toR4(), 2.5f);
  EXPECT_FLOAT_EQ(dsp.call(d::b_Mean, x, int32_t(2)).toR4(), 1.5f);
}

TEST_F(Tessiq, MeanOfNothingIsZeroAndNeedsNoElementZero) {
  SafeArray noZero = SafeArray::ofFloats({5, 6, 7}, 1);
  EXPECT_EQ(dsp.call(d::b_Mean, noZero, int32_t(0)).toR4(), 0.0f);
  EXPECT_EQ(dsp.call(d::b_Mean, noZero, int32_t(-3)).toR4(), 0.0f);
}

TEST_F(Tessiq, MeanBeyondTheArrayIsRefused) {
  SafeArray x = SafeArray::ofFloats({1, 2, 3});
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Mean, x, int32_t(4)); }), err::SubscriptOutOfRange);
  SafeArray noZero = SafeArray::ofFloats({1, 2, 3}, 1);
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Mean, noZero, int32_t(1)); }), err::SubscriptOutOfRange);
  EXPECT_EQ(x.lockCount(), 0);
}

TEST_F(Tessiq, MeanStartsAtElementZeroOfAnArrayWithNegativeIndices) {
  SafeArray x(ElemType::R4, -5, 9);  // -5..3
  for (int32_t i = -5; i <= 3; ++i) x.r4(i) = i < 0 ? 1000.0f : float(i + 1);
  EXPECT_FLOAT_EQ(dsp.call(d::b_Mean, x, int32_t(4)).toR4(), 2.5f);
}

TEST_F(Tessiq, MeanFollowsALongSeriesClosely) {
  std::vector<float> v = randomFloats(10000, 7);
  double exact = 0;
  for (float f : v) exact += f;
  exact /= double(v.size());
  SafeArray x = SafeArray::ofFloats(v);
  EXPECT_NEAR(dsp.call(d::b_Mean, x, int32_t(v.size())).toR4(), exact, 1e-5);
}

// ---- b_Min / b_Max ------------------------------------------------------------------------

TEST_F(Tessiq, MinAndMaxWithTheirPositions) {
  SafeArray x = SafeArray::ofFloats({3, 1, 2});
  int32_t pos = -1;
  EXPECT_EQ(dsp.call(d::b_Min, x, int32_t(3), pos).toR4(), 1.0f);
  EXPECT_EQ(pos, 1);
  EXPECT_EQ(dsp.call(d::b_Max, x, int32_t(3), pos).toR4(), 3.0f);
  EXPECT_EQ(pos, 0);
}

TEST_F(Tessiq, FirstOccurrenceOfTheExtremeWins) {
  SafeArray x = SafeArray::ofFloats({3, 1, 1, 2, 5, 5});
  int32_t pos = -1;
  EXPECT_EQ(dsp.call(d::b_Min, x, int32_t(6), pos).toR4(), 1.0f);
  EXPECT_EQ(pos, 1);
  EXPECT_EQ(dsp.call(d::b_Max, x, int32_t(6), pos).toR4(), 5.0f);
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(dsp.call(d::b_Max, x, int32_t(3), pos).toR4(), 3.0f);  // only the first three
  EXPECT_EQ(pos, 0);
}

TEST_F(Tessiq, ArrayDeclaredFromOneIsRefused) {
  SafeArray x = SafeArray::ofFloats({3, 1, 2}, 1);
  int32_t pos = 77;
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Min, x, int32_t(3), pos); }), err::SubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Max, x, int32_t(1), pos); }), err::SubscriptOutOfRange);
  EXPECT_EQ(pos, 77);
  EXPECT_EQ(x.lockCount(), 0);
}

TEST_F(Tessiq, ArrayDeclaredFromMinusFiveStartsAtElementZero) {
  SafeArray x(ElemType::R4, -5, 9);  // -5..3
  for (int32_t i = -5; i < 0; ++i) x.r4(i) = -100.0f;
  x.r4(0) = 4;
  x.r4(1) = 8;
  x.r4(2) = 2;
  x.r4(3) = 6;
  int32_t pos = -1;
  EXPECT_EQ(dsp.call(d::b_Min, x, int32_t(4), pos).toR4(), 2.0f);
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(dsp.call(d::b_Max, x, int32_t(4), pos).toR4(), 8.0f);
  EXPECT_EQ(pos, 1);
}

TEST_F(Tessiq, LengthBeyondTheArrayIsRefusedBeforeTheCall) {
  SafeArray x = SafeArray::ofFloats({3, 1, 2});
  int32_t pos = 77;
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Min, x, int32_t(4), pos); }), err::SubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Max, x, int32_t(100000), pos); }), err::SubscriptOutOfRange);
  EXPECT_EQ(pos, 77);
  EXPECT_EQ(x.lockCount(), 0);
}

TEST_F(Tessiq, MinOfNoElementsStillNeedsElementZero) {
  SafeArray x = SafeArray::ofFloats({9});
  int32_t pos = 77;
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Min, x, int32_t(0), pos); }), 0);
  EXPECT_EQ(pos, 0);
  SafeArray empty(ElemType::R4, 0, 0);
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Max, empty, int32_t(0), pos); }), err::SubscriptOutOfRange);
}

TEST_F(Tessiq, WrongKindsOfArgumentsAreRefused) {
  SafeArray ints = SafeArray::ofInts({3, 1, 2});
  SafeArray grid(ElemType::R4, {Bound{0, 3}, Bound{0, 2}});
  SafeArray x = SafeArray::ofFloats({3, 1, 2});
  int32_t pos = 0;
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Min, ints, int32_t(3), pos); }), err::TypeMismatch);
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Min, grid, int32_t(3), pos); }), err::SubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Min, x, "three", pos); }), err::TypeMismatch);
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Min, x, 1e10, pos); }), err::Overflow);
  EXPECT_EQ(errorOf([&] { dsp.call(d::b_Min, x, int32_t(3)); }), err::WrongArgumentCount);
  // A double length rounds as the host rounds: 1.6 -> 2 elements.
  EXPECT_EQ(dsp.call(d::b_Max, x, 1.6, pos).toR4(), 3.0f);
}

// ---- d_stFFT ------------------------------------------------------------------------------

TEST_F(Tessiq, FftOfAnImpulseAndBackWithEitherInverseFlag) {
  for (int32_t inv : {1, -1}) {
    SafeArray re(ElemType::R4, 0, 8);
    SafeArray im(ElemType::R4, 0, 8);
    re.r4(0) = 1;
    EXPECT_EQ(dsp.call(d::d_stFFT, re, im, int32_t(8), int32_t(0)).toI4(), 1);
    for (int32_t k = 0; k < 8; ++k) {
      EXPECT_NEAR(re.r4(k), 1.0f, 1e-6) << k;
      EXPECT_NEAR(im.r4(k), 0.0f, 1e-6) << k;
    }
    EXPECT_EQ(dsp.call(d::d_stFFT, re, im, int32_t(8), inv).toI4(), 1);
    for (int32_t k = 0; k < 8; ++k) {
      EXPECT_NEAR(re.r4(k), k == 0 ? 1.0f : 0.0f, 1e-6) << k;
      EXPECT_NEAR(im.r4(k), 0.0f, 1e-6) << k;
    }
  }
}

TEST_F(Tessiq, FftRoundTripRestoresASignal) {
  std::vector<float> vr = randomFloats(256, 1), vi = randomFloats(256, 2);
  SafeArray re = SafeArray::ofFloats(vr), im = SafeArray::ofFloats(vi);
  ASSERT_EQ(dsp.call(d::d_stFFT, re, im, int32_t(256), int32_t(0)).toI4(), 1);
  EXPECT_GT(std::fabs(re.r4(0) - vr[0]), 1e-3);  // really transformed
  ASSERT_EQ(dsp.call(d::d_stFFT, re, im, int32_t(256), int32_t(5)).toI4(), 1);
  for (int32_t k = 0; k < 256; ++k) {
    EXPECT_NEAR(re.r4(k), vr[k], 1e-5);
    EXPECT_NEAR(im.r4(k), vi[k], 1e-5);
  }
}

TEST_F(Tessiq, FftOfAShortArrayIsRefusedAndChangesNothing) {
  SafeArray re = SafeArray::ofFloats({1, 0, 0, 0, 0, 0, 0, 0});
  SafeArray im = SafeArray::ofFloats({0, 0, 0, 0});  // half the length
  EXPECT_EQ(errorOf([&] { dsp.call(d::d_stFFT, re, im, int32_t(8), int32_t(0)); }), err::SubscriptOutOfRange);
  EXPECT_EQ(fromZero(re), std::vector<float>({1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(fromZero(im), std::vector<float>({0, 0, 0, 0}));
  EXPECT_EQ(re.lockCount(), 0);
  EXPECT_EQ(im.lockCount(), 0);
}

TEST_F(Tessiq, FftOnArraysWithNegativeLowerBounds) {
  SafeArray re(ElemType::R4, -5, 9), im(ElemType::R4, -5, 9);  // -5..3
  for (int32_t i = -5; i < 0; ++i) re.r4(i) = im.r4(i) = 42.0f;
  re.r4(0) = 1;
  ASSERT_EQ(dsp.call(d::d_stFFT, re, im, int32_t(4), int32_t(0)).toI4(), 1);
  for (int32_t k = 0; k < 4; ++k) EXPECT_NEAR(re.r4(k), 1.0f, 1e-6);
  for (int32_t i = -5; i < 0; ++i) EXPECT_EQ(re.r4(i), 42.0f);
  SafeArray fromOne = SafeArray::ofFloats({1, 0, 0, 0}, 1);
  EXPECT_EQ(errorOf([&] { dsp.call(d::d_stFFT, fromOne, im, int32_t(4), int32_t(0)); }),
            err::SubscriptOutOfRange);
}

// ---- d_stDWaveletT ------------------------------------------------------------------------

TEST_F(Tessiq, WaveletOfEightOnesWithFourTaps) {
  SafeArray x = SafeArray::ofFloats(std::vector<float>(8, 1.0f));
  EXPECT_TRUE(dsp.call(d::d_stDWaveletT, x, int32_t(8), int32_t(4), int32_t(0)).isEmpty());
  EXPECT_NEAR(x.r4(0), 2.0f, 1e-5);
  EXPECT_NEAR(x.r4(1), 2.0f, 1e-5);
  for (int32_t i = 2; i < 8; ++i) EXPECT_NEAR(x.r4(i), 0.0f, 1e-5) << i;
  dsp.call(d::d_stDWaveletT, x, int32_t(8), int32_t(4), int32_t(-1));
  for (int32_t i = 0; i < 8; ++i) EXPECT_NEAR(x.r4(i), 1.0f, 1e-5) << i;
}

TEST_F(Tessiq, WaveletRoundTripWithTheWorkbenchFilter) {
  std::vector<float> v = randomFloats(64, 3);
  SafeArray x = SafeArray::ofFloats(v);
  dsp.call(d::d_stDWaveletT, x, int32_t(64), int32_t(10), int32_t(0));
  EXPECT_GT(std::fabs(x.r4(0) - v[0]), 1e-4);
  dsp.call(d::d_stDWaveletT, x, int32_t(64), int32_t(10), int32_t(1));
  for (int32_t i = 0; i < 64; ++i) EXPECT_NEAR(x.r4(i), v[i], 1e-5) << i;
}

TEST_F(Tessiq, WaveletOfNoElementsChangesNothing) {
  SafeArray x = SafeArray::ofFloats({1, 2, 3, 4});
  dsp.call(d::d_stDWaveletT, x, int32_t(0), int32_t(4), int32_t(0));
  EXPECT_EQ(fromZero(x), std::vector<float>({1, 2, 3, 4}));
  SafeArray noZero = SafeArray::ofFloats({1, 2}, 1);
  EXPECT_EQ(errorOf([&] { dsp.call(d::d_stDWaveletT, noZero, int32_t(0), int32_t(4), int32_t(0)); }), 0);
}

TEST_F(Tessiq, WaveletRefusesBadLengthsAndTouchesNothing) {
  SafeArray x = SafeArray::ofFloats({1, 1, 1, 1});
  EXPECT_EQ(errorOf([&] { dsp.call(d::d_stDWaveletT, x, int32_t(8), int32_t(4), int32_t(0)); }),
            err::SubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { dsp.call(d::d_stDWaveletT, x, int32_t(-1), int32_t(4), int32_t(0)); }),
            err::SubscriptOutOfRange);
  SafeArray fromOne = SafeArray::ofFloats({1, 1, 1, 1}, 1);
  EXPECT_EQ(errorOf([&] { dsp.call(d::d_stDWaveletT, fromOne, int32_t(4), int32_t(4), int32_t(0)); }),
            err::SubscriptOutOfRange);
  EXPECT_EQ(fromZero(x), std::vector<float>({1, 1, 1, 1}));
  EXPECT_EQ(x.lockCount(), 0);
}

TEST_F(Tessiq, WaveletLeavesElementsBeforeZeroAlone) {
  SafeArray x(ElemType::R4, -5, 13);  // -5..7
  for (int32_t i = -5; i <= 7; ++i) x.r4(i) = i < 0 ? 9.0f : 1.0f;
  dsp.call(d::d_stDWaveletT, x, int32_t(8), int32_t(4), int32_t(0));
  for (int32_t i = -5; i < 0; ++i) EXPECT_EQ(x.r4(i), 9.0f);
  EXPECT_NEAR(x.r4(0), 2.0f, 1e-5);
  EXPECT_NEAR(x.r4(7), 0.0f, 1e-5);
}

// ---- About and the members not offered ---------------------------------------------------

TEST_F(Tessiq, AboutShowsTheInformationBox) {
  std::vector<forms::MessageRequest> shown;
  forms::setMessageHook([&](const forms::MessageRequest &r) {
    shown.push_back(r);
    return forms::MsgResult::Ok;
  });
  Variant result = dsp.call(d::About);
  forms::setMessageHook({});
  EXPECT_TRUE(result.isEmpty());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].icon, forms::MsgIcon::Information);
  EXPECT_EQ(shown[0].buttons, forms::MsgButtons::Ok);
  EXPECT_EQ(shown[0].title, QStringLiteral("About Tessiq 4.5"));
  QStringList lines = shown[0].text.split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], QStringLiteral("Tessiq 4.5"));
  EXPECT_FALSE(lines[1].isEmpty());
  EXPECT_FALSE(lines[2].isEmpty());
}

TEST_F(Tessiq, EveryNamedMemberIsOfferedOrFailsWith438) {
  const std::vector<int32_t> offered{d::About, d::b_Mean, d::b_Min, d::b_Max, d::d_stFFT, d::d_stDWaveletT};
  EXPECT_EQ(d::kAll.size(), 115u);
  forms::setMessageHook([](const forms::MessageRequest &) { return forms::MsgResult::Ok; });
  for (const auto &entry : d::kAll) {
    bool isOffered = std::find(offered.begin(), offered.end(), entry.id) != offered.end();
    Args none;
    int error = errorOf([&] { dsp->invoke(entry.id, InvokeKind::Method, none); });
    if (isOffered)
      EXPECT_NE(error, err::MemberNotSupported) << entry.name;
    else
      EXPECT_EQ(error, err::MemberNotSupported) << entry.name;
  }
  Args none;
  EXPECT_EQ(errorOf([&] { dsp->invoke(1610809397, InvokeKind::Method, none); }), err::MemberNotSupported);
  EXPECT_EQ(errorOf([&] { dsp->invoke(d::b_Mean, InvokeKind::PropertyGet, none); }), err::MemberNotSupported);
  forms::setMessageHook({});
}

TEST(TessiqCreation, ServesOnlyItsOwnProgId) {
  ControlHandle dsp = ControlHandle::create("TessiqLib.Tessiq");
  EXPECT_TRUE(dsp.valid());
  EXPECT_EQ(dsp->widget(), nullptr);
  registerProgId("TessiqLib.Other", "libtessiq.so");
  EXPECT_EQ(errorOf([] { createControl("TessiqLib.Other"); }), err::CantCreateObject);
}
