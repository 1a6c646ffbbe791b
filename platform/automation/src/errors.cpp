#include "automation/errors.h"

#include <cfloat>
#include <cmath>

namespace automation {

const char *errorText(int number) {
    switch (number) {
        case err::InvalidCall: return "Invalid procedure call or argument";
        case err::Overflow: return "Overflow";
        case err::OutOfMemory: return "Out of memory";
        case err::SubscriptOutOfRange: return "Subscript out of range";
        case err::ArrayLocked: return "This array is fixed or temporarily locked";
        case err::DivisionByZero: return "Division by zero";
        case err::TypeMismatch: return "Type mismatch";
        case err::DllLoad: return "Error in loading DLL";
        case err::FileNotFound: return "File not found";
        case err::InvalidPropertyValue: return "Invalid property value";
        case err::CantCreateObject: return "ActiveX component can't create object";
        case err::MemberNotSupported: return "Object doesn't support this property or method";
        case err::WrongArgumentCount: return "Wrong number of arguments or invalid property assignment";
        case err::EntryPointNotFound: return "Specified DLL function not found";
        case err::DialogCancelled: return "Cancel was selected.";
        case err::ObjectNotSet: return "Object variable or With block variable not set";
        default: return "Application-defined or object-defined error";
    }
}

Error::Error(int number) : std::runtime_error(errorText(number)), number_(number) {}
Error::Error(int number, const std::string &detail)
    : std::runtime_error(std::string(errorText(number)) + ": " + detail), number_(number) {}
Error::~Error() = default;

void raise(int number) {
    throw Error(number);
}
void raise(int number, const std::string &detail) {
    throw Error(number, detail);
}

int16_t narrowToI2(int32_t value) {
    if (value < INT16_MIN || value > INT16_MAX) raise(err::Overflow);
    return static_cast<int16_t>(value);
}

int16_t narrowToI2(double value) {
    double r = std::nearbyint(value);  // default rounding mode: half to even
    if (!(r >= INT16_MIN && r <= INT16_MAX)) raise(err::Overflow);
    return static_cast<int16_t>(r);
}

int32_t narrowToI4(double value) {
    double r = std::nearbyint(value);
    if (!(r >= INT32_MIN && r <= INT32_MAX)) raise(err::Overflow);
    return static_cast<int32_t>(r);
}

float narrowToR4(double value) {
    if (std::isnan(value)) return static_cast<float>(value);
    if (std::fabs(value) > static_cast<double>(FLT_MAX)) raise(err::Overflow);
    return static_cast<float>(value);
}

}  // namespace automation
