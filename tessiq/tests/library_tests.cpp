// Every row of the binding table resolved against the built libraries next to this program:
// an export the library's header declares must be found in that library (and only there, for
// the namesakes); a row whose export is not declared yet fails with 453 and is reported. Then
// methods through the dispatch interface against the exports called directly.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "automation/host.h"
#include "control.h"
#include "exports.h"
#include "helpers.h"
#include "tessiq/dispids.h"
#include "testsupport/exports.h"

using tessiq_test::errorOf;

TEST(BindingTable, EveryRowResolvesInItsOwnLibrary) {
    const std::set<std::string> sigmora = testsupport::declaredExports(TESSIQ_SIGMORA_HEADER, "SIGMORA_API");
    const std::set<std::string> numora = testsupport::declaredExports(TESSIQ_NUMORA_HEADER, "NUMORA_API");
    ASSERT_FALSE(sigmora.empty());
    ASSERT_FALSE(numora.empty());
    std::size_t count = 0;
    const tessiq::ExportRow *rows = tessiq::allExports(count);
    std::string pending;
    std::size_t resolved = 0;
    for (std::size_t i = 0; i < count; ++i) {
        tessiq::Slot &slot = *rows[i].slot;
        const auto &declared = rows[i].library == tessiq::Library::Sigmora ? sigmora : numora;
        if (declared.count(slot.name())) {
            EXPECT_NO_THROW(slot.resolve()) << slot.name();
            ++resolved;
        } else {
            EXPECT_EQ(errorOf([&] { slot.resolve(); }), automation::err::EntryPointNotFound) << slot.name();
            pending += std::string(pending.empty() ? "" : " ") + slot.name();
        }
        EXPECT_NO_THROW(slot.note()) << slot.name();
    }
    EXPECT_GT(resolved, count / 2);
    RecordProperty("pending", pending);
    if (!pending.empty()) std::printf("exports not in the libraries yet: %s\n", pending.c_str());
}

TEST(BindingTable, NamesakesBindEachLibrarysOwnFunction) {
    // The numerics library's MatDet returns a single and keeps its matrix; both lists name it.
    float m[4] = {1, 2, 3, 4};
    auto *det = tessiq::numora::MatDet.get();
    EXPECT_NEAR(det(m, 2), -2.0f, 1e-6);
    EXPECT_EQ(m[0], 1.0f);
    int32_t index[3] = {0, 0, 0};
    uint8_t bytes[3] = {3, 1, 2};
    tessiq::numora::QuickSortBytes.get()(bytes, 3, index);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(index[0], 1);
    float values[3] = {3, 1, 2};
    tessiq::sigmora::QuickSortFloats.get()(values, 3, index);
    EXPECT_EQ(values[0], 1.0f);
    EXPECT_NE(tessiq::sigmora::QuickSortFloats.resolve(), nullptr);
}

// ---- Methods through the dispatch interface against the exports called directly ----------

namespace {

namespace d = tessiq::dispid;
using automation::SafeArray;
using tessiq_test::fromZero;

std::vector<float> signal(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> dist(-1, 1);
    std::vector<float> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = dist(gen) + float(std::sin(0.3 * double(i)));
    return v;
}

class RealLibraries : public ::testing::Test {
  protected:
    automation::ControlHandle dsp{std::make_unique<tessiq::Tessiq>()};
};

}  // namespace

TEST_F(RealLibraries, StatisticsAndSmoothingMatchTheExports) {
    std::vector<float> v = signal(16, 1);
    SafeArray x = SafeArray::ofFloats(v);
    EXPECT_EQ(dsp.call(d::b_Median, x, 16).toR4(), tessiq::sigmora::FindMedian.get()(v.data(), 16));
    EXPECT_EQ(dsp.call(d::b_Skew, x, 16).toR4(), tessiq::sigmora::SkewDegree.get()(v.data(), 16));
    std::vector<float> w = signal(16, 2);
    SafeArray y = SafeArray::ofFloats(w);
    float t = 0, direct = 0;
    float p = dsp.call(d::b_TestMean, x, 16, y, 10, t, 2).toR4();
    EXPECT_EQ(p, tessiq::sigmora::tTestMean2.get()(v.data(), w.data(), 10, &direct));
    EXPECT_EQ(t, direct);
    EXPECT_EQ(dsp.call(d::b_CorCoef, x, y, 16).toR4(), tessiq::numora::CorCoef.get()(v.data(), w.data(), 16));
    SafeArray out = SafeArray::ofFloats(std::vector<float>(16, 0));
    std::vector<float> ref(16);
    dsp.call(d::b_Smooth, x, 16, 2, out);
    tessiq::sigmora::SmoothData.get()(v.data(), 16, 2, 0, ref.data());
    EXPECT_EQ(fromZero(out), ref);
}

TEST_F(RealLibraries, ArgumentOrderSwapsReachTheExports) {
    SafeArray a = SafeArray::ofFloats(std::vector<float>(5, 0)),
              b = SafeArray::ofFloats(std::vector<float>(5, 0));
    std::vector<float> ra(5), rb(5);
    EXPECT_EQ(dsp.call(d::d_IIRdesign, 10.0f, 30.0f, 200.0f, 4, a, b, 2).toI4(),
              tessiq::sigmora::IIRFDesign.get()(30.0f, 10.0f, 200.0f, 4, ra.data(), rb.data(), 2));
    EXPECT_EQ(fromZero(a), ra);
    EXPECT_EQ(fromZero(b), rb);
    std::vector<float> re = signal(32, 3), im = signal(32, 4);
    SafeArray xr = SafeArray::ofFloats(re), xi = SafeArray::ofFloats(im);
    EXPECT_EQ(dsp.call(d::d_stDFT2D, xr, xi, 4, 8, 0).toI4(),
              tessiq::sigmora::FFT2DCalc.get()(re.data(), im.data(), 8, 4, 0));
    EXPECT_EQ(fromZero(xr), re);
    EXPECT_EQ(fromZero(xi), im);
    SafeArray h = SafeArray::ofFloats(std::vector<float>(9, 0));
    std::vector<float> rh(9);
    EXPECT_EQ(dsp.call(d::d_FIRdesign, 50.0f, 100.0f, 400.0f, 9, h, 2).toI4(),
              tessiq::sigmora::FIRDesign.get()(0.25f, 0.5f, 9, rh.data(), 2));
    EXPECT_EQ(fromZero(h), rh);
}

TEST_F(RealLibraries, NamesakesAndRandomNumbers) {
    SafeArray m = SafeArray::ofFloats({2, 1, 1, 3});
    EXPECT_FLOAT_EQ(dsp.call(d::a_MatDet, m, 2).toR4(), 5.0f);
    EXPECT_EQ(fromZero(m), std::vector<float>({2, 1, 1, 3}));  // the numerics library keeps it
    SafeArray bytes(automation::ElemType::Byte, 0, 4), index = SafeArray::ofInts({0, 0, 0, 0});
    const uint8_t raw[4] = {9, 3, 7, 1};
    for (int i = 0; i < 4; ++i) bytes.byte(i) = raw[i];
    dsp.call(d::c_SortBytes, bytes, 4, index);
    EXPECT_EQ(bytes.byte(0), 1);
    EXPECT_EQ(bytes.byte(3), 9);
    EXPECT_EQ(index.i4(0), 3);
    dsp.call(d::e_RandSeed, 1);
    std::vector<float> control;
    for (int i = 0; i < 5; ++i) control.push_back(dsp.call(d::e_Uniform, 0.0f, 1.0f).toR4());
    tessiq::sigmora::SetRandSeed.get()(1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(control[i], tessiq::sigmora::UniformNoise.get()(0.0f, 1.0f)) << i;
    EXPECT_NEAR(control[0], 41.0f / 32767, 1e-7);
}

TEST_F(RealLibraries, ArCoefficientsAndSpectrum) {
    std::vector<float> v = signal(256, 5);
    SafeArray x = SafeArray::ofFloats(v);
    // Least squares: p = lArc - 1 coefficients shifted up behind the leading 1.
    SafeArray arc = SafeArray::ofFloats(std::vector<float>(5, 0));
    std::vector<float> ref(4);
    int32_t r = tessiq::sigmora::LSARcoef.get()(v.data(), 256, ref.data(), 4);
    EXPECT_EQ(dsp.call(d::d_ARCoef, x, 256, arc, 5, 3).toI4(), r);
    EXPECT_EQ(arc.r4(0), 1.0f);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(arc.r4(i + 1), ref[i]);
    // Burg into an array of exactly lArc elements (the sanitizer watches the last one).
    SafeArray burg = SafeArray::ofFloats(std::vector<float>(5, 0));
    std::vector<float> bref(5);
    int32_t order = 0;
    float err = 0;
    int16_t rb = tessiq::sigmora::BurgAR.get()(v.data(), 256, 4, &order, &err, bref.data(), 0);
    EXPECT_EQ(dsp.call(d::d_ARCoef, x, 256, burg, 5, 1).toI4(), rb);
    EXPECT_EQ(fromZero(burg), bref);
    EXPECT_EQ(burg.r4(0), 1.0f);
    // The spectrum is 1/|A|^2 of those coefficients; order 42 fits, 43 is refused.
    SafeArray ps = SafeArray::ofFloats(std::vector<float>(8, 0));
    EXPECT_EQ(dsp.call(d::d_psdAR, x, 256, ps, 8, 4, 0.0f, 50.0f, 100.0f, 1).toI4(), rb);
    for (int i = 0; i < 8; ++i) {
        double phi = 6.2831852 * (50.0 / 7 * i) / 100.0, re = 0, im = 0;
        for (int k = 0; k < 5; ++k) re += bref[k] * std::cos(k * phi), im -= bref[k] * std::sin(k * phi);
        EXPECT_NEAR(ps.r4(i), 1.0 / (re * re + im * im), 1e-3 / (re * re + im * im)) << i;
    }
    EXPECT_GE(dsp.call(d::d_psdAR, x, 256, ps, 8, 42, 0.0f, 50.0f, 100.0f, 1).toI4(), 0);
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_psdAR, x, 256, ps, 8, 43, 0.0f, 50.0f, 100.0f, 1); }),
              automation::err::InvalidCall);
}

TEST_F(RealLibraries, MissingExportsRaise453NotMissingMember) {
    SafeArray y = SafeArray::ofFloats({1, 2, 3});
    int error = errorOf([&] { dsp.call(d::a_InterpolationFx1, 0.0f, 1.0f, 3, y, 1.5f, 0); });
    // 453 while the export has not landed, otherwise the call works.
    EXPECT_TRUE(error == 0 || error == automation::err::EntryPointNotFound) << error;
}
