#include <gtest/gtest.h>

#include "automation/errors.h"
#include "testsupport/errors.h"
#include "automation/safearray.h"
#include "automation/variant.h"

using namespace automation;

using testsupport::errorOf;

TEST(VariantConversion, NarrowingRaisesOverflow) {
    EXPECT_EQ(Variant(int32_t(32767)).toI2(), 32767);
    EXPECT_EQ(Variant(int32_t(-32768)).toI2(), -32768);
    EXPECT_EQ(errorOf([] { Variant(int32_t(40000)).toI2(); }), err::Overflow);
    EXPECT_EQ(errorOf([] { Variant(int32_t(-32769)).toI2(); }), err::Overflow);
    EXPECT_EQ(errorOf([] { Variant(1e10).toI4(); }), err::Overflow);
    EXPECT_EQ(errorOf([] { Variant(1e300).toR4(); }), err::Overflow);
    EXPECT_EQ(errorOf([] { Variant(int32_t(256)).toByte(); }), err::Overflow);
}

TEST(VariantConversion, FloatingValuesRoundHalfToEven) {
    EXPECT_EQ(Variant(2.5).toI2(), 2);
    EXPECT_EQ(Variant(3.5).toI2(), 4);
    EXPECT_EQ(Variant(-2.5f).toI4(), -2);
    EXPECT_EQ(Variant(0.1).toR4(), 0.1f);
}

TEST(VariantConversion, StringsAndArraysAreNotNumbers) {
    EXPECT_EQ(errorOf([] { Variant("12").toI4(); }), err::TypeMismatch);
    SafeArray a(ElemType::R4, 0, 3);
    EXPECT_EQ(errorOf([&] { Variant(a).toR4(); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant(int32_t(1)).array(); }), err::TypeMismatch);
}

TEST(VariantConversion, BooleansAreSixteenBitMinusOne) {
    EXPECT_EQ(Variant(true).toI2(), -1);
    EXPECT_EQ(Variant(false).toI4(), 0);
    EXPECT_TRUE(Variant(int16_t(5)).toBool());
    EXPECT_EQ(Variant(int32_t(7)).toBoolI2(), -1);
}

TEST(VariantConversion, TextFormOfNumbers) {
    EXPECT_EQ(Variant(0.5f).toString(), "0.5");
    EXPECT_EQ(Variant(int16_t(-3)).toString(), "-3");
    EXPECT_EQ(Variant(true).toString(), "True");
}

TEST(VariantConversion, SameValueComparesAcrossNumericTypes) {
    EXPECT_TRUE(Variant(int16_t(20)).sameValue(Variant(20.0f)));
    EXPECT_FALSE(Variant(20.0f).sameValue(Variant(25.0f)));
    EXPECT_TRUE(Variant("Sec.").sameValue(Variant(std::string("Sec."))));
    EXPECT_FALSE(Variant("Sec.").sameValue(Variant(int32_t(0))));
}

TEST(Narrowing, HelpersRaiseSix) {
    EXPECT_EQ(errorOf([] { narrowToI2(int32_t(40000)); }), err::Overflow);
    EXPECT_EQ(narrowToI2(int32_t(-7)), -7);
    EXPECT_EQ(errorOf([] { narrowToI4(3e9); }), err::Overflow);
    EXPECT_EQ(std::string(errorText(err::SubscriptOutOfRange)), "Subscript out of range");
    EXPECT_EQ(std::string(errorText(err::CantCreateObject)), "ActiveX component can't create object");
}
