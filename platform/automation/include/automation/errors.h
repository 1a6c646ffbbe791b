// errors.h - error numbers of the automation layer and the exception that carries them.
// A failing member raises an Error; the host catches it and reads number() and what().
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace automation {

namespace err {
constexpr int InvalidCall = 5;  // invalid procedure call or argument
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int ArrayLocked = 10;  // array fixed or temporarily locked
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int ObjectNotSet = 91;
constexpr int DllLoad = 48;  // error in loading a library
constexpr int FileNotFound = 53;
constexpr int InvalidPropertyValue = 380;
constexpr int CantCreateObject = 429;
constexpr int MemberNotSupported = 438;
constexpr int WrongArgumentCount = 450;
constexpr int EntryPointNotFound = 453;
constexpr int DialogCancelled = 32755;  // common dialog: cancel was selected
}  // namespace err

// The usual text of an error number ("Subscript out of range"); "Application-defined or
// object-defined error" for numbers without one.
const char *errorText(int number);

class Error : public std::runtime_error {
  public:
    explicit Error(int number);
    Error(int number, const std::string &detail);
    ~Error() override;
    int number() const { return number_; }

  private:
    int number_;
};

[[noreturn]] void raise(int number);
[[noreturn]] void raise(int number, const std::string &detail);

// Narrowing as a form-based host does it: out of range raises Overflow (6).
int16_t narrowToI2(int32_t value);
int16_t narrowToI2(double value);  // rounds half to even first
int32_t narrowToI4(double value);  // rounds half to even first
float narrowToR4(double value);    // rounds to nearest single; beyond the single range raises 6

}  // namespace automation
