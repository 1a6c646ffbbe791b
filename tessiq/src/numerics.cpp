// The numerics methods (a_): interpolation, derivatives, integration, equations, matrices,
// special functions and fitting.
#include <vector>

#include "automation/errors.h"
#include "exports.h"
#include "marshal.h"
#include "members.h"
#include "tessiq/dispids.h"

namespace tessiq {

using automation::Args;
using automation::Variant;

namespace {

// Interpolation codes of Sel 0..6; any other Sel takes code 0.
const std::vector<int32_t> kInterpolationCodes{0, 1, 4, 5, 6, 7, 8};

// Registers the table (x, y) of n points, integrates it from low to high with the default
// rule and releases it. All four exports are bound before the first is called.
float integrateTable(const float *x, const float *y, int32_t n, float low, float high) {
    auto *inter = numora::IntegrateInter.get();
    auto *func = numora::IntegrateFunc.get();
    auto *integrate = numora::Integrate1d.get();
    auto *end = numora::IntegrateEnd.get();
    inter(0);
    func(x, y, n);
    float r = integrate(low, high, 0);
    end();
    return r;
}

// a_IntegrationFx1: the evenly spaced axis xs(i) = dx i + x0 is a scratch array of n + 1.
Variant integrateEven(Args &a) {
    float x0 = a[0].toR4(), dx = a[1].toR4();
    int32_t n = a[2].toI4();
    if (n < 0) automation::raise(automation::err::SubscriptOutOfRange, "negative point count");
    automation::SafeArray &y = a[3].array();
    const float *yv = covered<float>(y, n);
    automation::ArrayLock lock(y);
    std::vector<float> xs(std::size_t(n) + 1, 0.0f);
    for (int32_t i = 0; i < n; ++i) xs[i] = dx * float(i) + x0;
    return Variant(integrateTable(xs.data(), yv, n, a[4].toR4(), a[5].toR4()));
}

Variant integrateTabled(Args &a) {
    int32_t n = a[2].toI4();
    automation::SafeArray &x = a[0].array();
    automation::SafeArray &y = a[1].array();
    const float *xv = covered<float>(x, n);
    const float *yv = covered<float>(y, n);
    automation::ArrayLock lx(x), ly(y);
    return Variant(integrateTable(xv, yv, n, a[3].toR4(), a[4].toR4()));
}

Row solver(int32_t code) {
    return forward(numora::SolutionEQs, {array(0), value(1), value(2), array(3), array(4), constant(code)});
}

}  // namespace

void numericsRows(Rows &rows) {
    namespace d = dispid;
    auto add = [&rows](automation::DispId id, Row row) { rows.push_back({id, std::move(row)}); };
    add(d::a_InterpolationFx1,
        forward(numora::Inter1dFuncED,
                {value(0), value(1), value(2), array(3), value(4), selector(5, kInterpolationCodes, 0)}));
    add(d::a_InterpolationFx2, forward(numora::Inter1dFuncND, {array(0), array(1), value(2), value(3),
                                                               selector(4, kInterpolationCodes, 0)}));
    add(d::a_InterpolationFxy1,
        forward(sigmora::FastInter2D, {array(0), value(1), value(2), array(3), value(4), value(5)}));
    add(d::a_InterpolationFxy2, forward(numora::Inter2D, {array(0), array(1), array(2), value(3), value(4),
                                                          value(5), value(6), selector(7, {10, 9}, 10)}));
    add(d::a_DyFx1, forward(numora::DyFunc1dED,
                            {value(0), value(1), value(2), array(3), value(4), selector(5, {0, 1, 2}, 0)}));
    add(d::a_DDyFx1, forward(numora::DyFunc1dED,
                             {value(0), value(1), value(2), array(3), value(4), selector(5, {3, 4, 5}, 3)}));
    add(d::a_DyFx2,
        forward(numora::DyFunc1dND, {array(0), array(1), value(2), value(3), selector(4, {0, 1, 2}, 0)}));
    add(d::a_DDyFx2,
        forward(numora::DyFunc1dND, {array(0), array(1), value(2), value(3), selector(4, {3, 4, 5}, 3)}));
    add(d::a_IntegrationFx1, custom(integrateEven));
    add(d::a_IntegrationVector, forward(sigmora::IntegrateVector, {array(0), value(1), value(2), value(3)}));
    add(d::a_IntegrationFx2, custom(integrateTabled));
    // Sel 0 and 1 (and anything unlisted) solve by least squares in the signal library.
    Row leastSquares = forward(sigmora::LQSolution, {array(0), array(3), array(4), value(1)});
    add(d::a_EquationSol,
        bySelector(5, {leastSquares, leastSquares, solver(4), solver(6), solver(7)}, leastSquares));
    add(d::a_EquationRoots, forward(numora::EQRoots, {array(0), value(1), array(2), array(3), value(4)}));
    add(d::a_MatDet, forward(numora::MatDet, {array(0), value(1)}));
    add(d::a_MatTrans, forward(numora::MatTrans, {array(0), value(1), value(2)}));
    add(d::a_MatInv, forward(numora::MatInv, {array(0), value(1)}));
    add(d::a_MatMul,
        forward(numora::MatMultiply, {array(0), array(1), value(2), value(3), value(4), array(5)}));
    add(d::a_MatEigenVV, forward(numora::MatEigenVV, {array(0), value(1), array(2), array(3), value(4)}));
    add(d::a_MatEigenValue, forward(numora::MatEigenV, {array(0), value(1), array(2), array(3), value(4)}));
    add(d::a_SFnpdf, forward(numora::FxNormalPDF, {value(0), value(1), value(2)}));
    add(d::a_SFchi2pdf, forward(numora::FxChi2PDF, {value(0), value(1)}));
    add(d::a_SFtpdf, forward(numora::FxStudentPDF, {value(0), value(1)}));
    add(d::a_SFfpdf, forward(numora::FxFPDF, {value(0), value(1), value(2)}));
    add(d::a_SFsinSum, forward(numora::FxSinSum, {value(0)}));
    add(d::a_SFcosSum, forward(numora::FxCosSum, {value(0)}));
    add(d::a_SFexpSum, forward(numora::FxExpSum, {value(0)}));
    add(d::a_SFellipseSum1, forward(numora::FxEllipse1, {value(0), value(1)}));
    add(d::a_SFellipseSum2, forward(numora::FxEllipse2, {value(0), value(1)}));
    add(d::a_SFerror, forward(numora::FxError, {value(0)}));
    // Sel 1: Y_n, 2: I_n, 3: K_n, anything else J_n.
    Row besselJ = forward(numora::FxBessel1, {value(0), value(1)});
    add(d::a_SFbessel, bySelector(2,
                                  {besselJ, forward(numora::FxBessel2, {value(0), value(1)}),
                                   forward(numora::FxIBessel1, {value(0), value(1)}),
                                   forward(numora::FxIBessel2, {value(0), value(1)})},
                                  besselJ));
    add(d::a_CurveFittingLS,
        forward(numora::LSCurveFit, {array(0), array(1), value(2), array(3), value(4), array(5)}));
    add(d::a_CurveFittingCB, forward(numora::ChebyFit, {array(0), array(1), value(2), array(3), value(4)}));
}

}  // namespace tessiq
