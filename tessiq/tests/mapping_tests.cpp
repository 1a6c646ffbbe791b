// How every forwarding method maps its arguments onto its export, checked one line each
// against the recording stand-ins of both libraries (exactly sized arrays: under the address
// sanitizer a stand-in reading its size note past an array fails the test).
#include <cmath>
#include <vector>

#include "helpers.h"
#include "mapping.h"
#include "tessiq/dispids.h"

using namespace automation;
using tessiq_test::errorOf;
using tessiq_test::fromZero;
using tessiq_test::Mapping;
namespace d = tessiq::dispid;

namespace {

SafeArray F(const std::vector<float> &v) {
    return SafeArray::ofFloats(v);
}
SafeArray Z(int n) {
    return SafeArray::ofFloats(std::vector<float>(n, 0.0f));
}
SafeArray I(const std::vector<int32_t> &v) {
    return SafeArray::ofInts(v);
}

}  // namespace

TEST_F(Mapping, InterpolationSelectorsFollowTheirTables) {
    SafeArray y = F({1, 2, 3});
    const int codes[] = {0, 1, 4, 5, 6, 7, 8};
    for (int sel = -1; sel <= 9; ++sel) {
        int code = sel >= 0 && sel <= 6 ? codes[sel] : 0;
        EXPECT_EQ(run([&] { dsp.call(d::a_InterpolationFx1, 1.5f, 0.5f, 3, y, 2.0f, sel); }),
                  "Inter1dFuncED(1.5, 0.5, 3, [1 2 3], 2, " + std::to_string(code) + ")")
            << sel;
    }
    SafeArray x = F({1, 2});
    SafeArray v = F({3, 4});
    EXPECT_EQ(run([&] { dsp.call(d::a_InterpolationFx2, x, v, 2, 1.5f, 2); }),
              "Inter1dFuncND([1 2], [3 4], 2, 1.5, 4)");
    EXPECT_EQ(run([&] { dsp.call(d::a_InterpolationFx2, x, v, 2, 1.5f, 9); }),
              "Inter1dFuncND([1 2], [3 4], 2, 1.5, 0)");
    SafeArray z = F({1, 2, 3, 4});
    for (int sel : {0, 1, 2, -1})
        EXPECT_EQ(run([&] { dsp.call(d::a_InterpolationFxy2, x, v, z, 2, 2, 0.5f, 0.25f, sel); }),
                  std::string("Inter2D([1 2], [3 4], [1 2 3 4], 2, 2, 0.5, 0.25, ") +
                      (sel == 1 ? "9" : "10") + ")");
    SafeArray out = Z(6);
    EXPECT_EQ(run([&] { dsp.call(d::a_InterpolationFxy1, z, 2, 2, out, 2, 3); }),
              "FastInter2D([1 2 3 4], 2, 2, [0 0 0 0 0 0], 2, 3)");
    EXPECT_EQ(out.r4(5), 405.0f);  // what the export wrote is the caller's
}

TEST_F(Mapping, DerivativeSelectors) {
    SafeArray y = F({1, 2, 3});
    SafeArray x = F({0, 1, 2});
    for (int sel : {0, 1, 2, 3, -1}) {
        std::string first = std::to_string(sel >= 0 && sel <= 2 ? sel : 0);
        std::string second = std::to_string(sel >= 0 && sel <= 2 ? sel + 3 : 3);
        EXPECT_EQ(run([&] { dsp.call(d::a_DyFx1, 0.0f, 1.0f, 3, y, 1.0f, sel); }),
                  "DyFunc1dED(0, 1, 3, [1 2 3], 1, " + first + ")");
        EXPECT_EQ(run([&] { dsp.call(d::a_DDyFx1, 0.0f, 1.0f, 3, y, 1.0f, sel); }),
                  "DyFunc1dED(0, 1, 3, [1 2 3], 1, " + second + ")");
        EXPECT_EQ(run([&] { dsp.call(d::a_DyFx2, x, y, 3, 1.0f, sel); }),
                  "DyFunc1dND([0 1 2], [1 2 3], 3, 1, " + first + ")");
        EXPECT_EQ(run([&] { dsp.call(d::a_DDyFx2, x, y, 3, 1.0f, sel); }),
                  "DyFunc1dND([0 1 2], [1 2 3], 3, 1, " + second + ")");
    }
    EXPECT_EQ(run([&] { dsp.call(d::a_DDyFx2, x, y, 3, 1.0f, 7); }), "DyFunc1dND([0 1 2], [1 2 3], 3, 1, 3)");
}

TEST_F(Mapping, IntegrationRegistersTheTableAndReleasesIt) {
    SafeArray y = F({1, 2, 3});
    numora.setResult(0.75);
    float r = 0;
    EXPECT_EQ(
        run([&] { r = dsp.call(d::a_IntegrationFx1, 1.0f, 0.5f, 3, y, 0.0f, 2.0f).toR4(); }),
        "IntegrateInter(0); IntegrateFunc([1 1.5 2], [1 2 3], 3); Integrate1d(0, 2, 0); IntegrateEnd()");
    EXPECT_EQ(r, 0.75f);
    SafeArray x = F({0, 1, 2});
    EXPECT_EQ(
        run([&] { dsp.call(d::a_IntegrationFx2, x, y, 3, 0.5f, 1.5f); }),
        "IntegrateInter(0); IntegrateFunc([0 1 2], [1 2 3], 3); Integrate1d(0.5, 1.5, 0); IntegrateEnd()");
    SafeArray samples = F({1, 2, 3, 4});
    EXPECT_EQ(run([&] { dsp.call(d::a_IntegrationVector, samples, 0.5f, 1, 3); }),
              "IntegrateVector([1 2 3 4], 0.5, 1, 3)");
    EXPECT_EQ(errorOf([&] { dsp.call(d::a_IntegrationVector, samples, 0.5f, 1, 4); }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { dsp.call(d::a_IntegrationFx1, 1.0f, 0.5f, 4, y, 0.0f, 2.0f); }),
              err::SubscriptOutOfRange);
}

TEST_F(Mapping, EquationSolversBySelector) {
    SafeArray a = F({1, 2, 3, 4, 5, 6});
    SafeArray b = F({1, 2});
    for (int sel : {0, 1, 5, -2}) {
        SafeArray x = Z(3);
        EXPECT_EQ(run([&] { dsp.call(d::a_EquationSol, a, 2, 3, b, x, sel); }),
                  "LQSolution([1 2 3 4], [1 2], [0 0], 2)")
            << sel;
        EXPECT_EQ(fromZero(x), std::vector<float>({300, 301, 0}));
    }
    const int codes[] = {4, 6, 7};
    for (int sel = 2; sel <= 4; ++sel) {
        SafeArray fresh = Z(3);
        EXPECT_EQ(run([&] { dsp.call(d::a_EquationSol, a, 2, 3, b, fresh, sel); }),
                  "SolutionEQs([1 2 3 4 5 6], 2, 3, [1 2], [0 0 0], " + std::to_string(codes[sel - 2]) + ")");
    }
    SafeArray poly = F({2, -3, 1});
    SafeArray re = Z(2), im = Z(2);
    EXPECT_EQ(run([&] { dsp.call(d::a_EquationRoots, poly, 2, re, im, 50); }),
              "EQRoots([2 -3 1], 2, [0 0], [0 0], 50)");
    EXPECT_EQ(fromZero(re), std::vector<float>({300, 301}));
}

TEST_F(Mapping, MatrixRoutines) {
    SafeArray a = F({1, 2, 3, 4});
    numora.setResult(-2);
    EXPECT_EQ(run([&] { EXPECT_EQ(dsp.call(d::a_MatDet, a, 2).toR4(), -2.0f); }), "MatDet([1 2 3 4], 2)");
    numora.setResult(1);
    SafeArray m = F({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(run([&] { dsp.call(d::a_MatTrans, m, 2, 3); }), "MatTrans([1 2 3 4 5 6], 2, 3)");
    SafeArray inv = F({1, 2, 3, 4});
    EXPECT_EQ(run([&] { dsp.call(d::a_MatInv, inv, 2); }), "MatInv([1 2 3 4], 2)");
    SafeArray lhs = F({1, 2, 3, 4, 5, 6}), rhs = F({1, 1, 1}), c = Z(2);
    EXPECT_EQ(run([&] { dsp.call(d::a_MatMul, lhs, rhs, 2, 3, 1, c); }),
              "MatMultiply([1 2 3 4 5 6], [1 1 1], 2, 3, 1, [0 0])");
    SafeArray values = Z(2), vectors = Z(4);
    EXPECT_EQ(run([&] { dsp.call(d::a_MatEigenVV, a, 2, values, vectors, 60); }),
              "MatEigenVV([1 2 3 4], 2, [0 0], [0 0 0 0], 60)");
    SafeArray vr = Z(2), vi = Z(2);
    EXPECT_EQ(run([&] { dsp.call(d::a_MatEigenValue, a, 2, vr, vi, 30); }),
              "MatEigenV([1 2 3 4], 2, [0 0], [0 0], 30)");
    // A matrix smaller than n x n is refused before the library sees it.
    SafeArray small = F({1, 2, 3});
    EXPECT_EQ(
        run([&] { EXPECT_EQ(errorOf([&] { dsp.call(d::a_MatInv, small, 2); }), err::SubscriptOutOfRange); }),
        "");
    EXPECT_EQ(fromZero(small), std::vector<float>({1, 2, 3}));
}

TEST_F(Mapping, SpecialFunctions) {
    EXPECT_EQ(run([&] { dsp.call(d::a_SFnpdf, 1.0f, 2.0f, 0.5f); }), "FxNormalPDF(1, 2, 0.5)");
    EXPECT_EQ(run([&] { dsp.call(d::a_SFchi2pdf, 1.5f, 3); }), "FxChi2PDF(1.5, 3)");
    EXPECT_EQ(run([&] { dsp.call(d::a_SFtpdf, 1.5f, 4); }), "FxStudentPDF(1.5, 4)");
    EXPECT_EQ(run([&] { dsp.call(d::a_SFfpdf, 2.5f, 3, 7); }), "FxFPDF(2.5, 3, 7)");
    EXPECT_EQ(run([&] { dsp.call(d::a_SFsinSum, 0.5f); }), "FxSinSum(0.5)");
    EXPECT_EQ(run([&] { dsp.call(d::a_SFcosSum, 0.5f); }), "FxCosSum(0.5)");
    EXPECT_EQ(run([&] { dsp.call(d::a_SFexpSum, 0.5f); }), "FxExpSum(0.5)");
    EXPECT_EQ(run([&] { dsp.call(d::a_SFellipseSum1, 0.5f, 1.0f); }), "FxEllipse1(0.5, 1)");
    EXPECT_EQ(run([&] { dsp.call(d::a_SFellipseSum2, 0.5f, 1.0f); }), "FxEllipse2(0.5, 1)");
    EXPECT_EQ(run([&] { dsp.call(d::a_SFerror, 0.25f); }), "FxError(0.25)");
    const char *bessel[] = {"FxBessel1", "FxBessel2", "FxIBessel1", "FxIBessel2"};
    for (int sel = -1; sel <= 5; ++sel)
        EXPECT_EQ(run([&] { dsp.call(d::a_SFbessel, 2, 1.5f, sel); }),
                  std::string(bessel[sel >= 0 && sel <= 3 ? sel : 0]) + "(2, 1.5)");
}

TEST_F(Mapping, FittingAndRegression) {
    SafeArray x = F({1, 2, 3}), y = F({2, 4, 6}), a = Z(2), dt = Z(3);
    EXPECT_EQ(run([&] { dsp.call(d::a_CurveFittingLS, x, y, 3, a, 2, dt); }),
              "LSCurveFit([1 2 3], [2 4 6], 3, [0 0], 2, [0 0 0])");
    SafeArray cheb = Z(3);
    EXPECT_EQ(run([&] { dsp.call(d::a_CurveFittingCB, x, y, 3, cheb, 2); }),
              "ChebyFit([1 2 3], [2 4 6], 3, [0 0 0], 2)");
    float factor = 0, offset = 0;
    SafeArray six = Z(6);
    EXPECT_EQ(run([&] { dsp.call(d::b_RegressLine, x, y, 3, factor, offset, six); }),
              "LiRegress1d([1 2 3], [2 4 6], 3, [0 0], [0 0 0 0 0 0])");
    EXPECT_EQ(offset, 400.0f);  // c(0)
    EXPECT_EQ(factor, 401.0f);  // c(1)
    SafeArray five = Z(5);
    EXPECT_EQ(errorOf([&] { dsp.call(d::b_RegressLine, x, y, 3, factor, offset, five); }),
              err::SubscriptOutOfRange);
    SafeArray mx = F({1, 2, 3, 4, 5, 6}), my = F({1, 2, 3}), ma = Z(3), mdt = Z(4), mv = Z(2);
    EXPECT_EQ(run([&] { dsp.call(d::b_RegressMV, mx, my, 2, 3, ma, mdt, mv); }),
              "MLiRegress([1 2 3 4 5 6], [1 2 3], 2, 3, [0 0 0], [0 0 0 0], [0 0])");
    EXPECT_EQ(run([&] { dsp.call(d::b_CorCoef, x, y, 3); }), "CorCoef([1 2 3], [2 4 6], 3)");
}

TEST_F(Mapping, StatisticsAndTests) {
    SafeArray x = F({3, 1, 2});
    EXPECT_EQ(run([&] { dsp.call(d::b_Median, x, 3); }), "FindMedian([3 1 2], 3)");
    EXPECT_EQ(run([&] { dsp.call(d::b_Mode, x, 3); }), "ModeCalc([3 1 2], 3)");
    EXPECT_EQ(run([&] { dsp.call(d::b_Skew, x, 3); }), "SkewDegree([3 1 2], 3)");
    EXPECT_EQ(run([&] { dsp.call(d::b_Kurt, x, 2); }), "KurtDegree([3 1], 2)");
    SafeArray a = F({1, 2, 3}), b = F({4, 5});
    float t = 0;
    EXPECT_EQ(run([&] { dsp.call(d::b_TestMean, a, 3, b, 2, t, 0); }),
              "tTestMean([1 2 3], 3, [4 5], 2, [0])");
    EXPECT_EQ(t, 500.0f);
    EXPECT_EQ(run([&] { dsp.call(d::b_TestMean, a, 3, b, 2, t, 1); }),
              "tTestMean1([1 2 3], 3, [4 5], 2, [0])");
    EXPECT_EQ(run([&] { dsp.call(d::b_TestMean, a, 3, b, 2, t, 2); }), "tTestMean2([1 2], [4 5], 2, [0])");
    EXPECT_EQ(t, 400.0f);
    EXPECT_EQ(run([&] { dsp.call(d::b_TestMean, b, 2, a, 3, t, 2); }), "tTestMean2([4 5], [1 2], 2, [0])");
    EXPECT_EQ(run([&] { dsp.call(d::b_TestMean, a, 3, b, 2, t, 7); }),
              "tTestMean([1 2 3], 3, [4 5], 2, [0])");
    EXPECT_EQ(run([&] { dsp.call(d::b_TestVar, a, 3, b, 2, t); }), "fTestVar([1 2 3], 3, [4 5], 2, [0])");
    EXPECT_EQ(run([&] { dsp.call(d::b_TestDistribute, a, 3, b, 2, t); }),
              "ksTestDistri([1 2 3], 3, [4 5], 2, [0])");
    SafeArray y = Z(3);
    EXPECT_EQ(run([&] { dsp.call(d::b_Smooth, a, 3, 2, y); }), "SmoothData([1 2 3], 3, 2, 0, [0 0 0])");
    sigmora.setResult(1);
    EXPECT_EQ(run([&] { EXPECT_EQ(dsp.call(d::b_SmoothSG, a, 3, 1, 2).type(), VarType::I2); }),
              "SGSmoother([1 2 3], 3, 1, 2)");
    EXPECT_EQ(errorOf([&] { dsp.call(d::b_Smooth, a, 3, 2, b); }), err::SubscriptOutOfRange);
}

TEST_F(Mapping, SortsReachTheirLibraries) {
    SafeArray bytes(ElemType::Byte, 0, 3), index = I({9, 9, 9});
    for (int i = 0; i < 3; ++i) bytes.byte(i) = uint8_t(3 - i);
    EXPECT_EQ(run([&] { dsp.call(d::c_SortBytes, bytes, 3, index); }), "QuickSortBytes([3 2 1], 3, [9 9 9])");
    SafeArray shorts(ElemType::I2, 0, 3);
    EXPECT_EQ(run([&] { dsp.call(d::c_SortIntegers, shorts, -3, index); }),
              "QuickSortShorts([0 0 0], -3, [])");
    SafeArray longs = I({5, 4, 3});
    EXPECT_EQ(run([&] { dsp.call(d::c_SortLongs, longs, 2, index); }), "QuickSortLongs([5 4], 2, [300 301])");
    SafeArray floats = F({1.5f, 0.5f});
    SafeArray two = I({0, 0});
    EXPECT_EQ(run([&] { dsp.call(d::c_SortSingles, floats, 2, two); }),
              "QuickSortFloats([1.5 0.5], 2, [0 0])");
    SafeArray doubles = SafeArray::ofDoubles({2.25, 1.0});
    EXPECT_EQ(run([&] { dsp.call(d::c_SortDoubles, doubles, -2, two); }),
              "QuickSortDoubles([2.25 1], -2, [])");
    SafeArray oneIndex = I({0});
    EXPECT_EQ(errorOf([&] { dsp.call(d::c_SortSingles, floats, 2, oneIndex); }), err::SubscriptOutOfRange);
}

TEST_F(Mapping, FilesCompressionAndPorts) {
    EXPECT_EQ(run([&] { dsp.call(d::c_HufCompress, "in.txt", "out.huf"); }),
              "HufCmpFile(\"in.txt\", \"out.huf\")");
    EXPECT_EQ(run([&] { dsp.call(d::c_HufExpand, "out.huf", "back.txt"); }),
              "HufExpFile(\"out.huf\", \"back.txt\")");
    EXPECT_EQ(run([&] { dsp.call(d::c_FindFileString, "a.txt", "needle", 1); }),
              "FindStringFile(\"a.txt\", \"needle\", 1)");
    SafeArray a = F({1, 1, 1, 1, 1, 1}), b = F({1, 2}), c = F({1, 2, 3}), x = Z(3);
    EXPECT_EQ(run([&] { dsp.call(d::c_Program, a, b, c, 2, 1, x); }),
              "LinearProgram([1 1 1 1 1 1], [1 2], [1 2 3], 2, 1, [0 0 0])");
    SafeArray samples = Z(6);
    EXPECT_EQ(run([&] { dsp.call(d::c_ReadMDT, "s.mdt", samples, 2, 3); }),
              "xReadDat(\"s.mdt\", 2, 3, [0 0 0 0 0 0])");
    int32_t nch = 0, lx = 0;
    float fs = 0, vmin = 0, vmax = 0;
    sigmora.setResult(0);  // the outputs are copied whatever the result
    EXPECT_EQ(run([&] { EXPECT_EQ(dsp.call(d::c_ReadMDTInfo, "s.mdt", nch, lx, fs, vmin, vmax).toI4(), 0); }),
              "xReadDatInfo(\"s.mdt\", [0], [0], [0], [0], [0])");
    EXPECT_EQ(nch, 200);
    EXPECT_EQ(lx, 300);
    EXPECT_EQ(fs, 400.0f);
    EXPECT_EQ(vmin, 500.0f);
    EXPECT_EQ(vmax, 600.0f);
    SafeArray w = F({1, 2, 3, 4});
    EXPECT_EQ(run([&] { dsp.call(d::c_WriteMDT, w, 2, 2, 100.0f, -1.0f, 1.0f, 6, "o.mdt"); }),
              "xWriteDat([1 2 3 4], 2, 2, 100, -1, 1, 6, \"o.mdt\")");
    EXPECT_EQ(run([&] { dsp.call(d::c_InportX, 0x378, 8); }), "InPortX(888, 8)");
    EXPECT_EQ(run([&] { dsp.call(d::c_OutportX, 0x378, 255, 16); }), "OutPortX(888, 255, 16)");
    EXPECT_EQ(errorOf([&] { dsp.call(d::c_InportX, 70000, 8); }), err::Overflow);
}

TEST_F(Mapping, FiltersAndAdaptiveFilters) {
    SafeArray b = Z(3);
    EXPECT_EQ(run([&] { dsp.call(d::d_FIRdesign, 100.0f, 200.0f, 800.0f, 3, b, 1); }),
              "FIRDesign(0.25, 0.5, 3, [0 0 0], 1)");
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_FIRdesign, 100.0f, 200.0f, 0.0f, 3, b, 1); }), err::DivisionByZero);
    SafeArray a = Z(3), bb = Z(3);
    EXPECT_EQ(run([&] { dsp.call(d::d_IIRdesign, 10.0f, 20.0f, 100.0f, 2, a, bb, 0); }),
              "IIRFDesign(20, 10, 100, 2, [0 0 0], [0 0 0], 0)");
    SafeArray den = F({1, -0.5f}), num = F({0.5f});
    EXPECT_EQ(run([&] { dsp.call(d::d_LiFiltering, den, 2, num, 1, 2.0f, 1, 3); }),
              "SignalToLinearSys([1 -0.5], 2, [0.5], 1, 2, 1, 3)");
    SafeArray weights = F({0.5f, 0.25f});
    EXPECT_EQ(run([&] { dsp.call(d::d_RLSFiltering, 1.0f, 2.0f, weights, 2, 0.25f, 1, 4); }),
              "RLSCalc(1, 2, [0.5 0.25], 2, 0.25, 1, 4)");
    SafeArray lms = F({0.5f, 0.25f});
    float actual = 1, ref = 2, mu = 0.125f;
    int32_t nw = 2, init = 0;
    int16_t slot = 5;
    EXPECT_EQ(run([&] { dsp.call(d::d_LMSFiltering, actual, ref, lms, nw, mu, init, slot); }),
              "LMSCalc(1, 2, [0.5 0.25], 2, 0.125, 0, 5)");
    EXPECT_EQ(actual, 1.0f);  // read, never written
    SafeArray ares = Z(4);
    EXPECT_EQ(run([&] { dsp.call(d::d_AResponse, den, num, 2, 1, ares, 4); }),
              "AMFreqRes([1 -0.5], [0.5], 2, 1, [0 0 0 0], 4)");
    EXPECT_EQ(run([&] { dsp.call(d::d_PResponse, den, num, 2, 1, ares, 2); }),
              "PHFreqRes([1 -0.5], [0.5], 2, 1, [500 501], 2)");
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_AResponse, den, num, 2, 1, ares, 5); }), err::SubscriptOutOfRange);
}

TEST_F(Mapping, TransformsAndTheirArgumentOrder) {
    SafeArray xr = F({1, 2}), xi = F({0, 0}), yr = Z(2), yi = Z(2);
    EXPECT_EQ(run([&] { dsp.call(d::d_stDFT, xr, xi, yr, yi, 2, 1); }),
              "DFFT([1 2], [0 0], [0 0], [0 0], 2, 1)");
    SafeArray x = F({1, 2}), y = Z(2);
    EXPECT_EQ(run([&] { dsp.call(d::d_stDCT, x, y, 2, 0); }), "DCT([1 2], [0 0], 2, 0)");
    numora.setResult(0);
    EXPECT_EQ(run([&] { EXPECT_EQ(dsp.call(d::d_stDST, x, y, 2).toI4(), 1); }), "DST([1 2], 2, [200 201])");
    EXPECT_EQ(run([&] { EXPECT_EQ(dsp.call(d::d_stDHaarT, x, y, 2, 1).toI4(), 0); }),
              "Haar([1 2], [300 301], 2, 1)");
    numora.setResult(1);
    EXPECT_EQ(run([&] { dsp.call(d::d_stDWalshT, x, 2, y, -1); }), "FastWalshT([1 2], 2, [200 201], -1)");
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_stDWalshT, x, 2, y, 40000); }), err::Overflow);
    SafeArray cr = Z(3), ci = Z(3);
    EXPECT_EQ(run([&] { dsp.call(d::d_stDczT, xr, xi, 2, cr, ci, 3, 1.0f, 2.0f, 10.0f); }),
              "CharpZT([1 2], [0 0], 2, [0 0 0], [0 0 0], 3, 1, 2, 10)");
    SafeArray re = Z(32), im = Z(32);
    std::string zeros32 = "[0";
    for (int i = 1; i < 32; ++i) zeros32 += " 0";
    zeros32 += "]";
    EXPECT_EQ(run([&] { dsp.call(d::d_stDFT2D, re, im, 4, 8, 1); }),
              "FFT2DCalc(" + zeros32 + ", " + zeros32 + ", 8, 4, 1)");
    EXPECT_EQ(
        run([&] { EXPECT_EQ(errorOf([&] { dsp.call(d::d_stDFT2D, re, im, 40000, 1, 0); }), err::Overflow); }),
        "");
    EXPECT_EQ(run([&] { dsp.call(d::d_stFFT, xr, xi, 2, 0); }), "FFTCalc([1 2], [0 0], 2)");
    EXPECT_EQ(run([&] { dsp.call(d::d_stFFT, xr, xi, 2, -1); }), "FFTInvCalc([100 101], [200 201], 2)");
}

TEST_F(Mapping, WaveletsWorkOnShiftedCopies) {
    SafeArray x = F({1, 2, 3, 4});
    EXPECT_EQ(run([&] { dsp.call(d::d_stDWaveletT, x, 4, 6, 1); }),
              "DaubCoef(6); DaubDWT1D([0 1 2 3 4], 4, -1)");
    EXPECT_EQ(fromZero(x), std::vector<float>({101, 102, 103, 104}));  // t(1..4) copied back
    SafeArray block = F({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(run([&] { dsp.call(d::d_stDWaveletT2D, block, 4, 2, 3, 0); }),
              "DaubCoef(4); DaubDWTnD([1 2 3 4 5 6], [2 3], 2, 1)");
    EXPECT_EQ(fromZero(block), std::vector<float>({100, 101, 102, 103, 104, 105}));
    EXPECT_EQ(run([&] { dsp.call(d::d_stDWaveletT2D, block, 4, 2, 3, 7); }),
              "DaubCoef(4); DaubDWTnD([100 101 102 103 104 105], [2 3], 2, -1)");
    EXPECT_EQ(run([&] {
                  EXPECT_EQ(errorOf([&] { dsp.call(d::d_stDWaveletT2D, block, 4, 3, 3, 0); }),
                            err::SubscriptOutOfRange);
              }),
              "");
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_stDWaveletT2D, block, 4, 65536, 65536, 0); }), err::Overflow);
}

TEST_F(Mapping, SpectraAndCorrelation) {
    SafeArray x = F({1, 2, 3, 4, 5, 6, 7, 8}), ps = Z(3);
    EXPECT_EQ(run([&] { dsp.call(d::d_psdPeriod, x, 8, ps, 3, 2); }),
              "RealPSDCalc([1 2 3 4 5 6 7 8], 8, [0 0 0], 3, 2)");
    EXPECT_EQ(run([&] { dsp.call(d::d_psdBT, x, 4, ps, 2, 0.0f, 5.0f, 10.0f); }),
              "PsdCalc([1 2 3 4], 4, [300 301], 2, 0, 5, 10)");
    EXPECT_EQ(run([&] { dsp.call(d::d_psdCZT, x, 2, ps, 1, 0.0f, 5.0f, 10.0f); }),
              "PsdCalcCZT([1 2], 2, [300], 1, 0, 5, 10)");
    SafeArray frames = Z(6);
    EXPECT_EQ(run([&] { dsp.call(d::d_psdArray, x, 8, 4, 4, frames, 3, 0.0f, 5.0f, 10.0f); }),
              "PsArray([1 2 3 4 5 6 7 8], 8, 4, 4, [0 0 0 0 0 0], 3, 0, 5, 10)");
    SafeArray fewFrames = Z(5);  // 8 / 4 = 2 frames of 3 values
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_psdArray, x, 8, 4, 4, fewFrames, 3, 0.0f, 5.0f, 10.0f); }),
              err::SubscriptOutOfRange);
    SafeArray h = F({1, 2}), conv = Z(3);
    EXPECT_EQ(run([&] { dsp.call(d::d_Convolution, h, 2, x, 3, conv, 3); }),
              "ConvolutionCalc([1 2], 2, [1 2 3], 3, [0 0 0], 3)");
    SafeArray cor = Z(2);
    EXPECT_EQ(run([&] { dsp.call(d::d_AutoCor, x, 3, cor, 2, 1); }), "AutoCor([1 2 3], 3, [0 0], 2)");
    EXPECT_EQ(run([&] { dsp.call(d::d_AutoCor, x, 3, cor, 2, 0); }), "");  // computed in the control
}

TEST_F(Mapping, ArCoefficientsCarryTheLeadingOne) {
    SafeArray x = F({1, 2, 3, 4, 5});
    SafeArray arc = Z(5);
    EXPECT_EQ(run([&] { dsp.call(d::d_ARCoef, x, 5, arc, 5, 3); }), "LSARcoef([1 2 3 4 5], 5, [0 0 0 0], 4)");
    EXPECT_EQ(fromZero(arc), std::vector<float>({1, 300, 301, 302, 303}));
    EXPECT_EQ(run([&] { dsp.call(d::d_ARCoef, x, 5, arc, 3, 2); }), "RLSARcoef([1 2 3 4 5], 5, [1 300], 2)");
    EXPECT_EQ(run([&] { dsp.call(d::d_ARCoef, x, 5, arc, 2, -7); }), "LSARcoef([1 2 3 4 5], 5, [1], 1)");
    // Burg's method is asked for lArc - 1, so it writes exactly the lArc coefficients.
    SafeArray three = Z(3);
    EXPECT_EQ(run([&] { dsp.call(d::d_ARCoef, x, 5, three, 3, 1); }),
              "BurgAR([1 2 3 4 5], 5, 2, [0], [0], [0 0 0], 0)");
    EXPECT_EQ(fromZero(three), std::vector<float>({600, 601, 602}));
    sigmora.setResult(70000);
    EXPECT_EQ(errorOf([&] { dsp.call(d::d_ARCoef, x, 5, arc, 3, 2); }), err::Overflow);
}

TEST_F(Mapping, ArSpectrumIsTheSquaredInverseResponseOfTheCoefficients) {
    SafeArray x = F({1, 2, 3, 4, 5, 6}), ps = Z(4);
    EXPECT_EQ(run([&] { EXPECT_EQ(dsp.call(d::d_psdAR, x, 6, ps, 4, 2, 0.0f, 3.0f, 10.0f, 3).toI4(), 1); }),
              "LSARcoef([1 2 3 4 5 6], 6, [0 0], 2)");
    const double a[3] = {1, 300, 301};
    for (int i = 0; i < 4; ++i) {
        double phi = 6.2831852 * (1.0 * i) / 10.0;
        double re = a[0] + a[1] * std::cos(phi) + a[2] * std::cos(2 * phi);
        double im = -(a[1] * std::sin(phi) + a[2] * std::sin(2 * phi));
        EXPECT_NEAR(ps.r4(i), 1.0 / (re * re + im * im), 1e-3 / (re * re + im * im)) << i;
    }
    sigmora.setResult(0);
    SafeArray untouched = F({7, 7, 7, 7});
    EXPECT_EQ(dsp.call(d::d_psdAR, x, 6, untouched, 4, 2, 0.0f, 3.0f, 10.0f, 3).toI4(), 0);
    EXPECT_EQ(fromZero(untouched), std::vector<float>({7, 7, 7, 7}));
    // Orders above 42 do not fit the coefficient buffer: refused before any call.
    EXPECT_EQ(run([&] {
                  EXPECT_EQ(errorOf([&] { dsp.call(d::d_psdAR, x, 6, ps, 4, 43, 0.0f, 3.0f, 10.0f, 1); }),
                            err::InvalidCall);
              }),
              "");
    sigmora.setResult(1);
    SafeArray big = Z(3);
    std::string burg42 = "BurgAR([1 2 3 4 5 6], 6, 42, [0], [0], [0";
    for (int i = 1; i < 43; ++i) burg42 += " 0";
    EXPECT_EQ(run([&] { dsp.call(d::d_psdAR, x, 6, big, 3, 42, 0.0f, 3.0f, 10.0f, 1); }), burg42 + "], 0)");
}

TEST_F(Mapping, NoiseAndModelSeries) {
    EXPECT_EQ(run([&] { dsp.call(d::e_Uniform, 1.0f, 2.0f); }), "UniformNoise(1, 2)");
    EXPECT_EQ(run([&] { dsp.call(d::e_RandSeed, 7); }), "SetRandSeed(7)");
    EXPECT_EQ(run([&] { dsp.call(d::e_Normal, 0.5f, 2.0f); }), "NormalNoise(0.5, 2)");
    EXPECT_EQ(run([&] { dsp.call(d::e_Triangle, 0.0f, 0.5f, 1.0f); }), "TriangleNoise(0, 0.5, 1)");
    EXPECT_EQ(run([&] { dsp.call(d::e_Exponent, 2.0f); }), "ExpSignal(2)");
    sigmora.setResult(0.25);
    SafeArray a = F({1, -0.5f}), b = F({1, 0.5f, 0.25f});
    float r = 0;
    EXPECT_EQ(run([&] { r = dsp.call(d::e_ARSeries, a, 2, 1).toR4(); }),
              "NormalNoise(0, 0.5); SignalToLinearSys([1 -0.5], 2, [1], 1, 0.25, 1, 0)");
    EXPECT_EQ(r, 0.25f);
    EXPECT_EQ(run([&] { dsp.call(d::e_MASeries, b, 3, 0); }),
              "NormalNoise(0, 0.5); SignalToLinearSys([1], 1, [1 0.5 0.25], 3, 0.25, 0, 1)");
    EXPECT_EQ(run([&] { dsp.call(d::e_ARMASeries, a, b, 2, 3, 2); }),
              "NormalNoise(0, 1); SignalToLinearSys([1 -0.5], 2, [1 0.5 0.25], 3, 0.25, 2, 2)");
    EXPECT_EQ(run([&] {
                  EXPECT_EQ(errorOf([&] { dsp.call(d::e_ARMASeries, a, b, 3, 3, 2); }),
                            err::SubscriptOutOfRange);
              }),
              "");
}

TEST_F(Mapping, WorkbenchExtremes) {
    SafeArray x = F({3, 1, 2});
    int32_t pos = -1;
    EXPECT_EQ(run([&] { dsp.call(d::b_Min, x, 3, pos); }), "MinValueCalc([3 1 2], 3, [0])");
    EXPECT_EQ(pos, 300);
    EXPECT_EQ(run([&] { dsp.call(d::b_Max, x, 2, pos); }), "MaxValueCalc([3 1], 2, [0])");
}
