// variant.h - the value that crosses a dispatch interface.
//
// Scalars are held by value; arrays are always by reference (a Variant of type Array points
// at a SafeArray the caller owns). BOOL is 16-bit: 0 false, -1 true. Strings are UTF-8.
// The to...() conversions follow the rules of a form-based host: a number that does not fit
// raises Overflow (6); a string, array or object where a number is wanted raises Type
// mismatch (13); doubles round to singles; floating values round half to even into integers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace automation {

class SafeArray;
class Control;

enum class VarType { Empty, I2, I4, R4, R8, Bool, Byte, String, Object, Picture, Array };

// A picture as stored in a property bag: the encoded image file (PNG, BMP, ICO ...).
struct Picture {
    std::vector<uint8_t> bytes;
    bool operator==(const Picture &) const = default;
};

class Variant {
  public:
    Variant() = default;
    Variant(int16_t v) : type_(VarType::I2), int_(v) {}
    Variant(int32_t v) : type_(VarType::I4), int_(v) {}
    Variant(uint8_t v) : type_(VarType::Byte), int_(v) {}
    Variant(float v) : type_(VarType::R4), real_(v) {}
    Variant(double v) : type_(VarType::R8), real_(v) {}
    Variant(bool v) : type_(VarType::Bool), int_(v ? -1 : 0) {}
    Variant(const char *v) : type_(VarType::String), str_(v ? v : "") {}
    Variant(std::string v) : type_(VarType::String), str_(std::move(v)) {}
    Variant(SafeArray &array) : type_(VarType::Array), array_(&array) {}
    Variant(Control *object) : type_(VarType::Object), object_(object) {}
    Variant(Picture picture)
        : type_(VarType::Picture), picture_(std::make_shared<Picture>(std::move(picture))) {}

    VarType type() const { return type_; }
    bool isEmpty() const { return type_ == VarType::Empty; }
    bool isNumeric() const;

    int16_t toI2() const;
    int32_t toI4() const;
    uint8_t toByte() const;
    float toR4() const;
    double toR8() const;
    bool toBool() const;
    int16_t toBoolI2() const { return toBool() ? -1 : 0; }
    std::string toString() const;    // numbers in their shortest round-trip form
    SafeArray &array() const;        // raises 13 unless an array
    Control *object() const;         // raises 13 unless an object
    const Picture *picture() const;  // null unless a picture

    // Same value, compared after converting to this variant's type (numbers by value,
    // strings by text); used to omit property-bag entries equal to their default.
    bool sameValue(const Variant &other) const;

  private:
    VarType type_ = VarType::Empty;
    int32_t int_ = 0;
    double real_ = 0;
    std::string str_;
    SafeArray *array_ = nullptr;
    Control *object_ = nullptr;
    std::shared_ptr<Picture> picture_;
};

using Args = std::vector<Variant>;

}  // namespace automation
