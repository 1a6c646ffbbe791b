#include "automation/variant.h"

#include <charconv>
#include <cmath>

#include "automation/errors.h"
#include "automation/safearray.h"

namespace automation {

bool Variant::isNumeric() const {
    switch (type_) {
        case VarType::Empty:
        case VarType::I2:
        case VarType::I4:
        case VarType::R4:
        case VarType::R8:
        case VarType::Bool:
        case VarType::Byte: return true;
        default: return false;
    }
}

double Variant::toR8() const {
    switch (type_) {
        case VarType::Empty: return 0;
        case VarType::I2:
        case VarType::I4:
        case VarType::Bool:
        case VarType::Byte: return int_;
        case VarType::R4:
        case VarType::R8: return real_;
        default: raise(err::TypeMismatch);
    }
}

int32_t Variant::toI4() const {
    if (type_ == VarType::R4 || type_ == VarType::R8) return narrowToI4(real_);
    return static_cast<int32_t>(toR8());
}

int16_t Variant::toI2() const {
    if (type_ == VarType::R4 || type_ == VarType::R8) return narrowToI2(real_);
    return narrowToI2(toI4());
}

uint8_t Variant::toByte() const {
    int32_t v = toI4();
    if (v < 0 || v > 255) raise(err::Overflow);
    return static_cast<uint8_t>(v);
}

float Variant::toR4() const {
    if (type_ == VarType::R4) return static_cast<float>(real_);
    return narrowToR4(toR8());
}

bool Variant::toBool() const {
    return toR8() != 0;
}

std::string Variant::toString() const {
    char buf[64];
    switch (type_) {
        case VarType::String: return str_;
        case VarType::Empty: return "";
        case VarType::R4: {
            auto r = std::to_chars(buf, buf + sizeof buf, static_cast<float>(real_));
            return std::string(buf, r.ptr);
        }
        case VarType::R8: {
            auto r = std::to_chars(buf, buf + sizeof buf, real_);
            return std::string(buf, r.ptr);
        }
        case VarType::Bool: return int_ ? "True" : "False";
        case VarType::I2:
        case VarType::I4:
        case VarType::Byte: return std::to_string(int_);
        default: raise(err::TypeMismatch);
    }
}

SafeArray &Variant::array() const {
    if (type_ != VarType::Array || !array_) raise(err::TypeMismatch);
    return *array_;
}

Control *Variant::object() const {
    if (type_ != VarType::Object) raise(err::TypeMismatch);
    return object_;
}

const Picture *Variant::picture() const {
    return type_ == VarType::Picture ? picture_.get() : nullptr;
}

bool Variant::sameValue(const Variant &other) const {
    try {
        switch (type_) {
            case VarType::Empty: return other.isEmpty();
            case VarType::String: return other.type() == VarType::String && other.str_ == str_;
            case VarType::Picture: {
                const Picture *p = other.picture();
                return p && picture_ && *p == *picture_;
            }
            case VarType::Array: return other.type() == VarType::Array && other.array_ == array_;
            case VarType::Object: return other.type() == VarType::Object && other.object_ == object_;
            default: return other.isNumeric() && other.toR8() == toR8();
        }
    } catch (const Error &) {
        return false;
    }
}

}  // namespace automation
