// The whole path of a control: creation by ProgID, calls by DISPID, by-reference arguments,
// events back to the host and the property bag, through the test control plugin.
#include <gtest/gtest.h>

#include "automation/errors.h"
#include "testsupport/errors.h"
#include "automation/host.h"
#include "testcontrol.h"

using namespace automation;

namespace {

using testsupport::errorOf;

class TestControlFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        registerProgId("AutomationTest.TestControl", AUTOMATION_TESTCTL_PATH);
        ctl = ControlHandle::create("AutomationTest.TestControl");
    }
    ControlHandle ctl;
};

}  // namespace

TEST(ControlCreation, UnknownProgIdOrLibraryIsError429) {
    EXPECT_EQ(errorOf([] { createControl("Nobody.Nothing"); }), err::CantCreateObject);
    registerProgId("Missing.Control", "libdoes_not_exist.so");
    EXPECT_EQ(errorOf([] { createControl("Missing.Control"); }), err::CantCreateObject);
    registerProgId("NoFactory.Control", "libautomation.so");  // a library without a factory
    EXPECT_EQ(errorOf([] { createControl("NoFactory.Control"); }), err::CantCreateObject);
    registerProgId("Refused.Control", AUTOMATION_TESTCTL_PATH);  // factory says no
    EXPECT_EQ(errorOf([] { createControl("Refused.Control"); }), err::CantCreateObject);
}

TEST_F(TestControlFixture, MethodsAndPropertiesByDispid) {
    EXPECT_EQ(ctl.call(testctl::Add, int16_t(2), int16_t(40)).toI4(), 42);
    EXPECT_EQ(ctl.call(testctl::Add, 2.5, int32_t(1)).toI4(), 3);  // 2.5 rounds to 2
    EXPECT_EQ(ctl.get(testctl::Level).toI2(), 3);
    ctl.put(testctl::Level, int16_t(9));
    EXPECT_EQ(ctl.get(testctl::Level).toI2(), 9);
    ctl.put(testctl::Scale, int16_t(2), 0.25);
    EXPECT_EQ(ctl.get(testctl::Scale, int16_t(2)).toR4(), 0.25f);
    EXPECT_EQ(errorOf([&] { ctl.get(testctl::Scale, int16_t(4)); }), err::SubscriptOutOfRange);
}

TEST_F(TestControlFixture, DispatchErrors) {
    EXPECT_EQ(errorOf([&] { ctl.call(999); }), err::MemberNotSupported);
    EXPECT_EQ(errorOf([&] { ctl.call(testctl::Add, int16_t(1)); }), err::WrongArgumentCount);
    EXPECT_EQ(errorOf([&] { ctl.call(testctl::Add, "x", int16_t(1)); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { ctl.put(testctl::Level, int32_t(40000)); }), err::Overflow);
    EXPECT_EQ(ctl.get(testctl::Level).toI2(), 3);
}

TEST_F(TestControlFixture, NarrowingInsideAMemberRaisesSix) {
    EXPECT_EQ(ctl.call(testctl::Narrow, int32_t(-300)).toI2(), -300);
    EXPECT_EQ(errorOf([&] { ctl.call(testctl::Narrow, int32_t(40000)); }), err::Overflow);
}

TEST_F(TestControlFixture, ByReferenceArgumentsAreWrittenBack) {
    int32_t a = 1, b = 2;
    ctl.call(testctl::Swap, a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    const int32_t c = 5;
    int32_t d = 6;
    ctl.call(testctl::Swap, c, d);  // a constant is passed as a copy
    EXPECT_EQ(d, 5);
}

TEST_F(TestControlFixture, ArraysNeedElementZeroAndEnoughElements) {
    SafeArray from1 = SafeArray::ofFloats({1, 2, 3}, 1);
    EXPECT_EQ(errorOf([&] { ctl.call(testctl::SumFromZero, from1, int32_t(3)); }), err::SubscriptOutOfRange);
    EXPECT_EQ(from1.floats(), (std::vector<float>{1, 2, 3}));  // nothing was done
    EXPECT_EQ(from1.lockCount(), 0);

    SafeArray fromMinus5 = SafeArray::ofFloats({9, 9, 9, 9, 9, 1, 2, 3}, -5);
    EXPECT_EQ(ctl.call(testctl::SumFromZero, fromMinus5, int32_t(3)).toR4(), 6.0f);
    EXPECT_EQ(fromMinus5.r4(0), 2);
    EXPECT_EQ(fromMinus5.r4(2), 6);
    EXPECT_EQ(fromMinus5.r4(-1), 9);

    EXPECT_EQ(errorOf([&] { ctl.call(testctl::SumFromZero, fromMinus5, int32_t(4)); }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(fromMinus5.r4(0), 2);

    SafeArray ints = SafeArray::ofInts({1, 2});
    EXPECT_EQ(errorOf([&] { ctl.call(testctl::SumFromZero, ints, int32_t(2)); }), err::TypeMismatch);
}

TEST_F(TestControlFixture, EventsReachTheHostAndComeBack) {
    std::vector<DispId> seen;
    ctl->connectEvents([&](DispId id, Args &args) {
        seen.push_back(id);
        args[0] = Variant(args[0].toI4() * 10);
    });
    EXPECT_EQ(ctl.call(testctl::Fire, int32_t(4)).toI4(), 40);
    EXPECT_EQ(seen, std::vector<DispId>{testctl::EventPing});
}

TEST_F(TestControlFixture, PropertyBagRoundTrip) {
    PropertyBag empty;
    ctl->saveProperties(empty);
    EXPECT_TRUE(empty.entries().empty());  // defaults are omitted

    ctl.put(testctl::Level, int16_t(7));
    ctl.put(testctl::Caption, "Chart 图");
    PropertyBag bag;
    ctl->saveProperties(bag);
    PropertyBag text = PropertyBag::fromText(bag.toText());
    ControlHandle other = ControlHandle::create("AutomationTest.TestControl");
    other->loadProperties(text);
    EXPECT_EQ(other.get(testctl::Level).toI2(), 7);
    EXPECT_EQ(other.get(testctl::Caption).toString(), "Chart 图");
}
