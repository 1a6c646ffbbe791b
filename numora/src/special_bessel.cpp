// special_bessel.cpp - Bessel functions of integer order: J_n, Y_n, I_n, K_n. Orders 0 and 1
// come from the library's rational and polynomial approximations (single-precision coefficients,
// evaluated in double precision); higher orders from the recurrences (Miller's downward
// recurrence for J_n with |x| <= n and for I_n).
#include "numora.h"
#include "state.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTwoOverPi = static_cast<double>(0.636619772f);
constexpr double kBig = 1.0e10, kBigInverse = 1.0e-10;  // rescaling of the downward recurrences
constexpr double kOverflow = 1.0e300;                   // upward recurrences stop here
constexpr int kAccuracy = 40;
// Orders beyond this are refused with arguments beyond half of it: the recurrences take one step
// per order, and an order of 2^31 would hold the caller for seconds.
constexpr std::int64_t kMaxOrder = 1000000;

// Polynomial with the constant term first, by Horner's rule.
double poly(double y, std::initializer_list<float> c) {
    double s = 0.0;
    for (auto it = c.end(); it != c.begin();) s = s * y + *--it;
    return s;
}

// Asymptotic form sqrt(2 / (pi x)) (cos w P - z sin w Q) shared by J0/J1 (and, with sine and
// cosine exchanged, Y0/Y1) for x >= 8.
struct Asymptotic {
    double scale, z, p, q;
};

Asymptotic order0Large(double ax) {
    const double z = 8.0 / ax, y = z * z;
    return {std::sqrt(kTwoOverPi / ax), z,
            poly(y, {1.0f, -0.0010986286f, 2.7345104e-05f, -2.0733708e-06f, 2.0938872e-07f}),
            poly(y, {-0.015625f, 0.00014304888f, -6.9111475e-06f, 7.621095e-07f, -9.349352e-08f})};
}

Asymptotic order1Large(double ax) {
    const double z = 8.0 / ax, y = z * z;
    return {std::sqrt(kTwoOverPi / ax), z,
            poly(y, {1.0f, 0.00183105f, -3.5163965e-05f, 2.4575202e-06f, -2.4033702e-07f}),
            poly(y, {0.046875f, -0.00020026909f, 8.449199e-06f, -8.822899e-07f, 1.05787414e-07f})};
}

double besselJ0(double x) {
    const double ax = std::fabs(x);
    if (ax < 8.0) {
        const double y = x * x;
        return poly(y,
                    {5.756849e+10f, -1.3362591e+10f, 6.5161965e+08f, -11214424.0f, 77392.33f, -184.90524f}) /
               poly(y, {5.756849e+10f, 1.029533e+09f, 9494681.0f, 59272.65f, 267.85327f, 1.0f});
    }
    const Asymptotic a = order0Large(ax);
    const double w = ax - 0.785398164;
    return a.scale * (std::cos(w) * a.p - a.z * std::sin(w) * a.q);
}

double besselJ1(double x) {
    const double ax = std::fabs(x);
    if (ax < 8.0) {
        const double y = x * x;
        return x *
               poly(y,
                    {7.2362615e+10f, -7.8950595e+09f, 2.4239685e+08f, -2972611.5f, 15704.482f, -30.160366f}) /
               poly(y, {1.4472523e+11f, 2.3005353e+09f, 18583304.0f, 99447.44f, 376.99915f, 1.0f});
    }
    const Asymptotic a = order1Large(ax);
    const double w = ax - 2.356194491;
    const double v = a.scale * (std::cos(w) * a.p - a.z * std::sin(w) * a.q);
    return x < 0.0 ? -v : v;
}

// Y0 and Y1 for x > 0.
double besselY0(double x) {
    if (x < 8.0) {
        const double y = x * x;
        return poly(y,
                    {-2.9578214e+09f, 7.062834e+09f, -5.123598e+08f, 10879881.0f, -86327.93f, 228.46228f}) /
                   poly(y, {4.0076546e+10f, 7.4525e+08f, 7189466.5f, 47447.266f, 226.10303f, 1.0f}) +
               kTwoOverPi * besselJ0(x) * std::log(x);
    }
    const Asymptotic a = order0Large(x);
    const double w = x - 0.785398164;
    return a.scale * (std::sin(w) * a.p + a.z * std::cos(w) * a.q);
}

double besselY1(double x) {
    if (x < 8.0) {
        const double y = x * x;
        return x *
                   poly(y, {-4.900605e+12f, 1.2752743e+12f, -5.153438e+10f, 7.3492646e+08f, -4237922.5f,
                            8511.9375f}) /
                   poly(y, {2.4995806e+13f, 4.2444197e+11f, 3.7336504e+09f, 2.245904e+07f, 102042.6f,
                            354.9633f, 1.0f}) +
               kTwoOverPi * (besselJ1(x) * std::log(x) - 1.0 / x);
    }
    const Asymptotic a = order1Large(x);
    const double w = x - 2.356194491;
    return a.scale * (std::sin(w) * a.p + a.z * std::cos(w) * a.q);
}

double besselI0(double x) {
    const double ax = std::fabs(x);
    if (ax < 3.75) {
        const double y = (x / 3.75) * (x / 3.75);
        return poly(y, {1.0f, 3.5156229f, 3.0899425f, 1.2067492f, 0.2659732f, 0.0360768f, 0.0045813f});
    }
    const double y = 3.75 / ax;
    return std::exp(ax) / std::sqrt(ax) *
           poly(y, {0.3989423f, 0.01328592f, 0.00225319f, -0.00157565f, 0.00916281f, -0.02057706f,
                    0.02635537f, -0.01647633f, 0.00392377f});
}

double besselI1(double x) {
    const double ax = std::fabs(x);
    double v;
    if (ax < 3.75) {
        const double y = (x / 3.75) * (x / 3.75);
        v = ax *
            poly(y, {0.5f, 0.87890595f, 0.51498866f, 0.15084934f, 0.02658773f, 0.00301532f, 0.00032411f});
    } else {
        const double y = 3.75 / ax;
        v = std::exp(ax) / std::sqrt(ax) *
            poly(y, {0.3989423f, -0.03988024f, -0.00362018f, 0.00163801f, -0.01031555f, 0.02282967f,
                     -0.02895312f, 0.01787654f, -0.00420059f});
    }
    return x < 0.0 ? -v : v;
}

// K0 and K1 for x > 0.
double besselK0(double x) {
    if (x <= 2.0) {
        const double y = x * x / 4.0;
        return -std::log(x / 2.0) * besselI0(x) +
               poly(y, {-0.5772157f, 0.4227842f, 0.23069756f, 0.0348859f, 0.00262698f, 0.0001075f, 7.4e-06f});
    }
    const double y = 2.0 / x;
    return std::exp(-x) / std::sqrt(x) *
           poly(y,
                {1.2533141f, -0.07832358f, 0.02189568f, -0.01062446f, 0.00587872f, -0.0025154f, 0.00053208f});
}

double besselK1(double x) {
    if (x <= 2.0) {
        const double y = x * x / 4.0;
        return std::log(x / 2.0) * besselI1(x) + poly(y, {1.0f, 0.15443145f, -0.6727858f, -0.18156897f,
                                                          -0.01919402f, -0.00110404f, -4.686e-05f}) /
                                                     x;
    }
    const double y = 2.0 / x;
    return std::exp(-x) / std::sqrt(x) *
           poly(y,
                {1.2533141f, 0.23498619f, -0.0365562f, 0.01504268f, -0.00780353f, 0.00325614f, -0.00068245f});
}

// True when J_n(x) and I_n(x) are below the smallest float for certain: for n > 2|x|,
// |J_n(x)| <= I_n(x) <= (x/2)^n / n! e^(x^2 / (4 (n + 1))) < 0.73^n, below 1e-54 from n = 400.
bool negligibleOrder(std::int64_t n, double ax) {
    return n >= 400 && static_cast<double>(n) > 2.0 * ax;
}

double besselJn(std::int64_t n, double x) {
    if (n == 0) return besselJ0(x);
    if (n == 1) return besselJ1(x);
    const double ax = std::fabs(x);
    if (ax == 0.0 || negligibleOrder(n, ax)) return 0.0;
    const double tox = 2.0 / ax;
    double ans;
    if (ax > static_cast<double>(n)) {
        double bjm = besselJ0(ax), bj = besselJ1(ax);
        for (std::int64_t j = 1; j < n; ++j) {
            const double bjp = static_cast<double>(j) * tox * bj - bjm;
            bjm = bj;
            bj = bjp;
        }
        ans = bj;
    } else {
        const std::int64_t start =
            2 * ((n + static_cast<std::int64_t>(std::sqrt(kAccuracy * static_cast<double>(n)))) / 2);
        bool even = false;
        double bjp = 0.0, bj = 1.0, sum = 0.0;
        ans = 0.0;
        for (std::int64_t j = start; j > 0; --j) {
            const double bjm = static_cast<double>(j) * tox * bj - bjp;
            bjp = bj;
            bj = bjm;
            if (std::fabs(bj) > kBig) {
                bj *= kBigInverse;
                bjp *= kBigInverse;
                ans *= kBigInverse;
                sum *= kBigInverse;
            }
            if (even) sum += bj;
            even = !even;
            if (j == n) ans = bjp;
        }
        sum = 2.0 * sum - bj;
        ans /= sum;
    }
    return (x < 0.0 && (n & 1)) ? -ans : ans;
}

// Upward recurrence f_{k+1} = (2k / x) f_k + sign f_{k-1} from f0, f1; stops at overflow.
double upward(std::int64_t n, double x, double f0, double f1, double sign) {
    if (n == 0) return f0;
    const double tox = 2.0 / x;
    double fm = f0, f = f1;
    for (std::int64_t j = 1; j < n; ++j) {
        const double fp = static_cast<double>(j) * tox * f + sign * fm;
        fm = f;
        f = fp;
        if (!(std::fabs(f) < kOverflow)) return f > 0.0 ? kInf : -kInf;
    }
    return f;
}

double besselIn(std::int64_t n, double x) {
    if (n == 0) return besselI0(x);
    if (n == 1) return besselI1(x);
    const double ax = std::fabs(x);
    if (ax == 0.0 || negligibleOrder(n, ax)) return 0.0;
    const double i0 = besselI0(ax);
    double ans;
    if (std::isinf(i0)) {
        ans = kInf;
    } else {
        const double tox = 2.0 / ax;
        // Started from 2 (n + sqrt(40 n)); for |x| > n that order lies below x, where the
        // recurrence has not yet settled, so the start then counts from |x| instead of n.
        const double from = std::max(static_cast<double>(n), std::ceil(ax));
        const std::int64_t start =
            2 * static_cast<std::int64_t>(from + std::floor(std::sqrt(kAccuracy * from)));
        double bip = 0.0, bi = 1.0;
        ans = 0.0;
        for (std::int64_t j = start; j > 0; --j) {
            const double bim = bip + static_cast<double>(j) * tox * bi;
            bip = bi;
            bi = bim;
            if (std::fabs(bi) > kBig) {
                ans *= kBigInverse;
                bi *= kBigInverse;
                bip *= kBigInverse;
            }
            if (j == n) ans = bip;
        }
        ans *= i0 / bi;
    }
    return (x < 0.0 && (n & 1)) ? -ans : ans;
}

// J_-n = (-1)^n J_n; the same sign rule for Y.
double negativeOrderSign(int32_t n) {
    return (n < 0 && (n & 1)) ? -1.0 : 1.0;
}

std::int64_t order(int32_t n) {
    return n < 0 ? -static_cast<std::int64_t>(n) : n;
}

// True, with code 10, when both the order and the argument are so large that the recurrences
// would need more than about a million steps (a small argument settles a large order at once).
bool orderRefused(int32_t n, float x) {
    if (order(n) <= kMaxOrder || !(std::fabs(x) > kMaxOrder / 2)) return false;
    numora::setError(NUMORA_ERR_OTHER);
    return true;
}

}  // namespace

extern "C" {

NUMORA_API float FxBessel1(int32_t n, float x) {
    if (orderRefused(n, x)) return static_cast<float>(kNaN);
    return static_cast<float>(negativeOrderSign(n) * besselJn(order(n), x));
}

NUMORA_API float FxBessel2(int32_t n, float x) {
    if (orderRefused(n, x)) return static_cast<float>(kNaN);
    if (std::isnan(x) || x < 0.0f) return static_cast<float>(kNaN);
    if (x == 0.0f) return -std::numeric_limits<float>::infinity();
    const double v = upward(order(n), x, besselY0(x), besselY1(x), -1.0);
    return static_cast<float>(negativeOrderSign(n) * v);
}

NUMORA_API float FxIBessel1(int32_t n, float x) {
    if (orderRefused(n, x)) return static_cast<float>(kNaN);
    return static_cast<float>(besselIn(order(n), x));
}

NUMORA_API float FxIBessel2(int32_t n, float x) {
    if (orderRefused(n, x)) return static_cast<float>(kNaN);
    if (std::isnan(x) || x < 0.0f) return static_cast<float>(kNaN);
    if (x == 0.0f) return std::numeric_limits<float>::infinity();
    return static_cast<float>(upward(order(n), x, besselK0(x), besselK1(x), 1.0));
}

}  // extern "C"
