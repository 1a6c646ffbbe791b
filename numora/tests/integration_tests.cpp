// Integration of the registered table: every rule on tables of known integrals (computed in
// double precision here), reversed limits, the equal-weight rule at full weight, the Thiele
// rule on a linear table, iteration limits with a tolerance of 0, the call order and the codes.
#include "numora.h"

#include "testsupport/fresh_library.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Table {
    std::vector<float> x, y;
};

template <class F>
Table sampled(double a, double b, int n, F f) {
    Table t;
    for (int i = 0; i < n; ++i) {
        double xi = a + (b - a) * i / (n - 1);
        t.x.push_back(static_cast<float>(xi));
        t.y.push_back(static_cast<float>(f(xi)));
    }
    return t;
}

void registerTable(const Table &t, int32_t method) {
    ASSERT_EQ(IntegrateFunc(t.x.data(), t.y.data(), static_cast<int32_t>(t.x.size())), 1);
    IntegrateInter(method);
}

class Integration : public ::testing::Test {
  protected:
    void SetUp() override {
        setErrorCode(0);
        savedPrecision = getPrecision();
    }
    void TearDown() override {
        IntegrateEnd();
        IntegrateInter(0);
        setPrecision(savedPrecision);
        setErrorCode(0);
    }
    float savedPrecision = 1e-6f;
};

TEST_F(Integration, LinearTableEveryRule) {
    registerTable({{0, 1, 2}, {0, 1, 2}}, 0);
    for (int32_t rule : {0, 1, 2, 3, 4, 5, 17, -3}) {
        EXPECT_NEAR(Integrate1d(0.0f, 2.0f, rule), 2.0f, 1e-5) << "rule " << rule;
        EXPECT_NEAR(Integrate1d(2.0f, 0.0f, rule), -2.0f, 1e-5) << "reversed, rule " << rule;
    }
    EXPECT_EQ(Integrate1d(1.0f, 1.0f, 3), 0.0f);
    EXPECT_EQ(getErrorCode(), 0);
}

TEST_F(Integration, KnownIntegralsEveryRule) {
    // x^2 from a Lagrange table (exact for the quadratic), sin from a natural spline table.
    registerTable(sampled(0, 3, 13, [](double x) { return x * x; }), 0);
    for (int32_t rule = 0; rule <= 5; ++rule) {
        EXPECT_NEAR(Integrate1d(0.0f, 3.0f, rule), 9.0, 2e-4) << "rule " << rule;
        EXPECT_NEAR(Integrate1d(3.0f, 0.5f, rule), -(27.0 - 0.125) / 3.0, 2e-4) << "rule " << rule;
    }
    registerTable(sampled(0, kPi, 401, [](double x) { return std::sin(x); }), 7);
    const double ref = std::cos(0.3) - std::cos(2.9);
    for (int32_t rule = 0; rule <= 5; ++rule)
        EXPECT_NEAR(Integrate1d(0.3f, 2.9f, rule), ref, 2e-4) << "rule " << rule;
    EXPECT_EQ(getErrorCode(), 0);
}

// The equal-weight rule must integrate a constant to its full value, not half of it.
TEST_F(Integration, ChebyshevRuleHasFullWeight) {
    registerTable({{0, 1, 2, 3}, {5, 5, 5, 5}}, 0);
    EXPECT_NEAR(Integrate1d(0.0f, 3.0f, 4), 15.0f, 1e-5);
    EXPECT_NEAR(Integrate1d(3.0f, 0.0f, 4), -15.0f, 1e-5);
    EXPECT_NEAR(Integrate1d(0.0f, 3.0f, 3), 15.0f, 1e-5);
}

// With a tolerance of 0 the halving rules stop at their limit with code 9 and a usable value;
// the others stop by their own limits without a code.
TEST_F(Integration, ToleranceZeroStopsAtTheLimits) {
    registerTable(sampled(0, 1, 11, [](double x) { return std::exp(x); }), 0);
    setPrecision(0.0f);
    const double ref = std::exp(1.0) - 1.0;
    for (int32_t rule : {0, 1}) {
        setErrorCode(0);
        EXPECT_NEAR(Integrate1d(0.0f, 1.0f, rule), ref, 1e-5) << "rule " << rule;
        EXPECT_EQ(getErrorCode(), NUMORA_ERR_ITERATIONS) << "rule " << rule;
    }
    for (int32_t rule : {2, 5}) {
        setErrorCode(0);
        EXPECT_NEAR(Integrate1d(0.0f, 1.0f, rule), ref, 1e-5) << "rule " << rule;
        EXPECT_EQ(getErrorCode(), 0) << "rule " << rule;
    }
    setPrecision(-1.0f);
    EXPECT_NEAR(Integrate1d(0.0f, 1.0f, 1), ref, 1e-5);
    // The composite rules run to a thousand subintervals (a cheap two-point table here).
    registerTable({{0, 2}, {1, 3}}, 0);
    setPrecision(0.0f);
    for (int32_t rule : {3, 4}) {
        setErrorCode(0);
        EXPECT_NEAR(Integrate1d(0.0f, 2.0f, rule), 4.0f, 1e-5) << "rule " << rule;
        EXPECT_EQ(getErrorCode(), 0) << "rule " << rule;
    }
}

TEST_F(Integration, CallOrderAndCodes) {
    IntegrateEnd();
    EXPECT_EQ(Integrate1d(0.0f, 1.0f, 0), 0.0f);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NULL);
    setErrorCode(0);
    float x[1] = {0}, y[1] = {1};
    EXPECT_EQ(IntegrateFunc(x, y, 0), 1);
    EXPECT_EQ(Integrate1d(0.0f, 1.0f, 2), 0.0f);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NO_INTEGRAND);
    setErrorCode(0);
    EXPECT_EQ(IntegrateFunc(nullptr, y, 1), 0);  // nothing registered afterwards
    EXPECT_EQ(Integrate1d(0.0f, 1.0f, 0), 0.0f);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NULL);

    // The table is copied: changing the caller's arrays afterwards changes nothing.
    std::vector<float> tx{0, 1, 2}, ty{3, 3, 3};
    ASSERT_EQ(IntegrateFunc(tx.data(), ty.data(), 3), 1);
    ty.assign(3, 100.0f);
    EXPECT_NEAR(Integrate1d(0.0f, 2.0f, 3), 6.0f, 1e-5);
    EXPECT_EQ(IntegrateInter(7), 0);
    EXPECT_EQ(IntegrateInter(2), 7);
    EXPECT_NEAR(Integrate1d(0.0f, 2.0f, 3), 6.0f, 1e-5);
    EXPECT_EQ(IntegrateEnd(), 1);
    EXPECT_EQ(Integrate1d(0.0f, 2.0f, 3), 0.0f);
    EXPECT_EQ(getErrorCode(), NUMORA_ERR_NULL);
}

TEST(IntegrationFreshLoad, MethodStartsAtZero) {
    FreshLibrary lib(NUMORA_LIBRARY_PATH);
    ASSERT_TRUE(lib.loaded());
    auto inter = lib.symbol<int32_t (*)(int32_t)>("IntegrateInter");
    ASSERT_NE(inter, nullptr);
    EXPECT_EQ(inter(5), 0);
    EXPECT_EQ(inter(1), 5);
}

}  // namespace
