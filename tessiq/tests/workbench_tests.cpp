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
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_stFFT, re, im, int32_t(8), int32_t(0)); }),
              err::SubscriptOutOfRange);
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

// Every method of the interface, as its table lists it: name, DISPID, parameter count.
struct Declared {
    const char *name;
    int32_t id;
    std::size_t params;
};
const Declared kInterface[] = {
    {"About", 1610809344, 0},
    {"a_InterpolationFx1", 1610809345, 6},
    {"a_InterpolationFx2", 1610809346, 5},
    {"a_InterpolationFxy1", 1610809347, 6},
    {"a_InterpolationFxy2", 1610809348, 8},
    {"a_DyFx1", 1610809349, 6},
    {"a_DDyFx1", 1610809350, 6},
    {"a_DyFx2", 1610809351, 5},
    {"a_DDyFx2", 1610809352, 5},
    {"a_IntegrationFx1", 1610809353, 6},
    {"a_IntegrationVector", 1610809354, 4},
    {"a_IntegrationFx2", 1610809355, 5},
    {"a_EquationSol", 1610809356, 6},
    {"a_EquationRoots", 1610809357, 5},
    {"a_MatDet", 1610809358, 2},
    {"a_MatTrans", 1610809359, 3},
    {"a_MatInv", 1610809360, 2},
    {"a_MatMul", 1610809361, 6},
    {"a_MatEigenVV", 1610809362, 5},
    {"a_MatEigenValue", 1610809363, 5},
    {"a_SFnpdf", 1610809364, 3},
    {"a_SFchi2pdf", 1610809365, 2},
    {"a_SFtpdf", 1610809366, 2},
    {"a_SFfpdf", 1610809367, 3},
    {"a_SFsinSum", 1610809368, 1},
    {"a_SFcosSum", 1610809369, 1},
    {"a_SFexpSum", 1610809370, 1},
    {"a_SFellipseSum1", 1610809371, 2},
    {"a_SFellipseSum2", 1610809372, 2},
    {"a_SFerror", 1610809373, 1},
    {"a_SFbessel", 1610809374, 3},
    {"a_CurveFittingLS", 1610809375, 6},
    {"a_CurveFittingCB", 1610809376, 5},
    {"b_Mean", 1610809377, 2},
    {"b_Variance", 1610809378, 2},
    {"b_Std", 1610809379, 2},
    {"b_Min", 1610809380, 3},
    {"b_Max", 1610809381, 3},
    {"b_Median", 1610809382, 2},
    {"b_Mode", 1610809383, 2},
    {"b_Skew", 1610809384, 2},
    {"b_Kurt", 1610809385, 2},
    {"b_CorCoef", 1610809386, 3},
    {"b_RegressLine", 1610809387, 6},
    {"b_RegressMV", 1610809388, 7},
    {"b_TestMean", 1610809389, 6},
    {"b_TestVar", 1610809390, 5},
    {"b_TestDistribute", 1610809391, 5},
    {"b_Smooth", 1610809392, 4},
    {"b_SmoothSG", 1610809393, 4},
    {"b_OddPoints", 1610809394, 5},
    {"b_ZeroCross", 1610809395, 3},
    {"c_SortStrings", 1610809396, 3},
    {"c_SortBytes", 1610809398, 3},
    {"c_SortIntegers", 1610809399, 3},
    {"c_SortLongs", 1610809400, 3},
    {"c_SortSingles", 1610809401, 3},
    {"c_SortDoubles", 1610809402, 3},
    {"c_HufCompress", 1610809403, 2},
    {"c_HufExpand", 1610809404, 2},
    {"c_Program", 1610809405, 6},
    {"c_FindFileString", 1610809406, 3},
    {"c_ReadMDT", 1610809407, 4},
    {"c_ReadMDTInfo", 1610809408, 6},
    {"c_WriteMDT", 1610809409, 8},
    {"c_WriteTXT", 1610809410, 5},
    {"c_ReadTXT", 1610809411, 6},
    {"c_ReadTXTInfo", 1610809412, 3},
    {"c_InportX", 1610809415, 2},
    {"c_OutportX", 1610809416, 3},
    {"d_AutoCor", 1610809417, 5},
    {"d_Convolution", 1610809418, 6},
    {"d_CrossCorrelation", 1610809419, 7},
    {"d_FIRdesign", 1610809420, 6},
    {"d_IIRdesign", 1610809421, 7},
    {"d_LiFiltering", 1610809422, 7},
    {"d_RLSFiltering", 1610809423, 7},
    {"d_LMSFiltering", 1610809424, 7},
    {"d_stDFT", 1610809425, 6},
    {"d_stFFT", 1610809426, 4},
    {"d_stDCT", 1610809427, 4},
    {"d_stDST", 1610809428, 3},
    {"d_stDWalshT", 1610809429, 4},
    {"d_stDWaveletT", 1610809430, 4},
    {"d_stDHaarT", 1610809431, 4},
    {"d_stDczT", 1610809432, 9},
    {"d_stDFT2D", 1610809433, 5},
    {"d_stDWaveletT2D", 1610809434, 5},
    {"d_psdPeriod", 1610809435, 5},
    {"d_psdBT", 1610809436, 7},
    {"d_psdCZT", 1610809437, 7},
    {"d_psdAR", 1610809438, 9},
    {"d_ARCoef", 1610809439, 5},
    {"d_AResponse", 1610809440, 6},
    {"d_PResponse", 1610809441, 6},
    {"d_Response", 1610809442, 10},
    {"d_psdArray", 1610809443, 9},
    {"d_Normalize", 1610809444, 3},
    {"d_ZeroMean", 1610809445, 3},
    {"d_MedianFilter", 1610809446, 4},
    {"d_SignalUpDown", 1610809447, 3},
    {"d_SignalLeftRight", 1610809448, 2},
    {"d_PeakFreq", 1610809449, 3},
    {"d_MeanFreq", 1610809450, 3},
    {"d_MedianFreq", 1610809451, 3},
    {"e_Uniform", 1610809452, 2},
    {"e_RandSeed", 1610809453, 1},
    {"e_Normal", 1610809454, 2},
    {"e_Triangle", 1610809455, 3},
    {"e_Exponent", 1610809456, 1},
    {"e_ARSeries", 1610809457, 3},
    {"e_MASeries", 1610809458, 3},
    {"e_ARMASeries", 1610809459, 5},
    {"f_ECGRwaveInit", 1610809460, 5},
    {"f_ECGHR", 1610809462, 1},
};

TEST_F(Tessiq, EveryMethodIsDeclaredWithItsParameterCount) {
    EXPECT_EQ(std::size(kInterface), 115u);
    EXPECT_EQ(d::kAll.size(), 115u);
    forms::setMessageHook([](const forms::MessageRequest &) { return forms::MsgResult::Ok; });
    std::size_t i = 0;
    for (const Declared &m : kInterface) {
        ASSERT_LT(i, d::kAll.size());
        EXPECT_EQ(d::kAll[i].name, m.name);
        EXPECT_EQ(d::kAll[i].id, m.id) << m.name;
        ++i;
        // One argument too many is refused by count (450), so the member exists.
        Args tooMany(m.params + 1);
        EXPECT_EQ(errorOf([&] { dsp->invoke(m.id, InvokeKind::Method, tooMany); }), err::WrongArgumentCount)
            << m.name;
        if (m.params == 0) continue;
        // The right count with arguments no parameter accepts fails at the first conversion (13),
        // never with 438 or 450, and nothing runs.
        Args unfit(m.params, Variant(static_cast<Control *>(nullptr)));
        EXPECT_EQ(errorOf([&] { dsp->invoke(m.id, InvokeKind::Method, unfit); }), err::TypeMismatch)
            << m.name;
    }
    Args none;
    EXPECT_EQ(errorOf([&] { dsp->invoke(1610809397, InvokeKind::Method, none); }), err::MemberNotSupported);
    EXPECT_EQ(errorOf([&] { dsp->invoke(1610809461, InvokeKind::Method, none); }), err::MemberNotSupported);
    EXPECT_EQ(errorOf([&] { dsp->invoke(d::b_Mean, InvokeKind::PropertyGet, none); }),
              err::MemberNotSupported);
    forms::setMessageHook({});
}

TEST(TessiqCreation, ServesOnlyItsOwnProgId) {
    ControlHandle dsp = ControlHandle::create("TessiqLib.Tessiq");
    EXPECT_TRUE(dsp.valid());
    EXPECT_EQ(dsp->widget(), nullptr);
    registerProgId("TessiqLib.Other", "libtessiq.so");
    EXPECT_EQ(errorOf([] { createControl("TessiqLib.Other"); }), err::CantCreateObject);
}
