#include <gtest/gtest.h>

#include "automation/errors.h"
#include "testsupport/errors.h"
#include "automation/safearray.h"

using namespace automation;

using testsupport::errorOf;

TEST(SafeArrayBounds, AccessIsByDeclaredIndex) {
    SafeArray a(ElemType::R4, -5, 11);  // -5..5
    EXPECT_EQ(a.lbound(), -5);
    EXPECT_EQ(a.ubound(), 5);
    a.r4(-5) = 1;
    a.r4(0) = 2;
    a.r4(5) = 3;
    EXPECT_EQ(a.floats()[0], 1);
    EXPECT_EQ(a.floats()[5], 2);
    EXPECT_EQ(a.floats()[10], 3);
    EXPECT_EQ(errorOf([&] { a.r4(6); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { a.r4(-6); }), err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { a.i4(0); }), err::TypeMismatch);
}

TEST(SafeArrayBounds, ElementZeroRule) {
    SafeArray from1(ElemType::R4, 1, 8);
    EXPECT_EQ(errorOf([&] { elementZero(from1); }), err::SubscriptOutOfRange);
    SafeArray fromMinus5(ElemType::R4, -5, 11);
    fromMinus5.r4(0) = 42;
    auto *p = static_cast<float *>(elementZero(fromMinus5, 6));
    EXPECT_EQ(p[0], 42);
    EXPECT_EQ(errorOf([&] { elementZero(fromMinus5, 7); }), err::SubscriptOutOfRange);
    SafeArray empty(ElemType::R4, 0, 0);
    EXPECT_EQ(errorOf([&] { elementZero(empty); }), err::SubscriptOutOfRange);
}

TEST(SafeArrayBounds, TwoDimensionsAreColumnMajor) {
    SafeArray m(ElemType::R4, {{0, 3}, {1, 2}});  // (0..2, 1..2)
    m.r4(2, 1) = 7;
    m.r4(0, 2) = 9;
    auto v = m.floats();
    EXPECT_EQ(v[2], 7);
    EXPECT_EQ(v[3], 9);
    EXPECT_EQ(errorOf([&] { m.r4(0, 0); }), err::SubscriptOutOfRange);
}

TEST(SafeArrayLocking, LockedArrayCannotBeResized) {
    SafeArray a = SafeArray::ofFloats({1, 2, 3});
    {
        ArrayLock lock(a);
        EXPECT_EQ(a.lockCount(), 1);
        EXPECT_EQ(errorOf([&] { a.redim(0, 10); }), err::ArrayLocked);
    }
    EXPECT_EQ(a.lockCount(), 0);
    a.redim(0, 5, true);
    EXPECT_EQ(a.count(), 5);
    EXPECT_EQ(a.r4(2), 3);
    EXPECT_EQ(a.r4(4), 0);
}

TEST(SafeArrayLocking, LockIsReleasedWhenTheCallFails) {
    SafeArray a(ElemType::R4, 1, 4);
    EXPECT_EQ(errorOf([&] {
                  ArrayLock lock(a);
                  elementZero(a);
              }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(a.lockCount(), 0);
}

TEST(SafeArrayTypes, StringsAndBytes) {
    SafeArray s(ElemType::String, 0, 2);
    s.str(1) = "abc";
    EXPECT_EQ(s.str(1), "abc");
    EXPECT_EQ(errorOf([&] { s.address(0); }), err::TypeMismatch);
    SafeArray b(ElemType::Byte, 0, 3);
    b.byte(2) = 200;
    EXPECT_EQ(static_cast<uint8_t *>(b.address(0))[2], 200);
}

// Bounds whose storage overflows 64 bits, or is beyond any machine, are error 7 up front; an
// array never ends up with less storage than its bounds promise.
TEST(SafeArrayBounds, OverflowingSizesAreOutOfMemory) {
    EXPECT_EQ(errorOf([] {
                  SafeArray a(ElemType::R4, {{0, 1 << 30}, {0, 1 << 30}, {0, 4}});
              }),
              err::OutOfMemory);
    EXPECT_EQ(errorOf([] { SafeArray a(ElemType::R8, {{0, INT32_MAX}, {0, INT32_MAX}}); }), err::OutOfMemory);
    SafeArray empty(ElemType::R4, {{0, 1 << 30}, {0, 0}});  // no elements: nothing to allocate
    EXPECT_EQ(empty.totalCount(), 0);
}
