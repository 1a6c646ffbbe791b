#include "numberformat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace graphane {

namespace {

void stripTrailingZeros(std::string &s) {
    if (s.find('.') == std::string::npos) return;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
}

std::string general(double value, int digits) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
    if (value == 0) return "0";
    char buf[64];
    // Rounding to the significant digits first gives the exponent of the written value.
    std::snprintf(buf, sizeof buf, "%.*E", digits - 1, value);
    const char *e = std::strchr(buf, 'E');
    const int exponent = std::atoi(e + 1);
    if (exponent < -4 || exponent >= digits) {
        std::string mantissa(static_cast<const char *>(buf), e);
        stripTrailingZeros(mantissa);
        char exp[16];
        std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return mantissa + exp;
    }
    std::snprintf(buf, sizeof buf, "%.*f", digits - 1 - exponent, value);
    std::string s(buf);
    stripTrailingZeros(s);
    if (s == "-0") return "0";
    if (s.rfind("0.", 0) == 0)
        s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0)
        s.erase(1, 1);
    return s;
}

std::string fixed(float value, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, double(value));
    return buf;
}

}  // namespace

std::string generalFormat(float value) {
    return general(double(value), 7);
}
std::string generalFormat(double value) {
    return general(value, 15);
}

double roundHalfEven(double value) {
    return std::nearbyint(value);
}

std::string readoutFormat(float value) {
    const float a = std::fabs(value);
    if (a > 1000000.0f) return generalFormat(float(roundHalfEven(value)));
    if (a > 100000.0f) return fixed(value, 1);
    if (a > 10000.0f) return fixed(value, 2);
    if (a > 1000.0f) return fixed(value, 3);
    if (a >= 1.0f) return fixed(value, 4);
    if (a >= 0.01f) return fixed(value, 2);
    if (a >= 0.001f) return fixed(value, 3);
    if (a >= 0.0001f) return fixed(value, 4);
    if (a >= 0.00001f) return fixed(value, 5);
    if (a >= 0.000001f) return fixed(value, 6);
    return generalFormat(value);
}

}  // namespace graphane
