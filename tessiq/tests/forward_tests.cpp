// The forwarding rows' machinery on its own: binding by name, array coverage and locking,
// string copies, narrowing and control-owned outputs, against the test fixture library.
#include <gtest/gtest.h>

#include "automation/control.h"
#include "binding.h"
#include "forward.h"
#include "helpers.h"

using namespace automation;
using namespace tessiq;
using tessiq_test::errorOf;
using tessiq_test::fromZero;

namespace {

tessiq::Bound<int32_t(char *)> shout{TESSIQ_FIXTURE_LIBRARY, "FixtureShout"};
tessiq::Bound<int32_t(int16_t)> twice{TESSIQ_FIXTURE_LIBRARY, "FixtureTwice"};
tessiq::Bound<double(float *, int32_t, float, int32_t *)> fillUp{TESSIQ_FIXTURE_LIBRARY, "FixtureFill"};
tessiq::Bound<int32_t(int16_t)> absentExport{TESSIQ_FIXTURE_LIBRARY, "NoSuchExport"};
tessiq::Bound<int32_t(int16_t)> absentLibrary{"libtessiq_no_such_library.so", "FixtureTwice"};

}  // namespace

TEST(Binding, MissingLibraryAndMissingExportKeepTheSlotEmpty) {
  EXPECT_EQ(errorOf([] { absentLibrary.get(); }), err::DllLoad);
  EXPECT_EQ(errorOf([] { absentLibrary.get(); }), err::DllLoad);
  EXPECT_EQ(errorOf([] { absentExport.get(); }), err::EntryPointNotFound);
  EXPECT_EQ(errorOf([] { absentExport.get(); }), err::EntryPointNotFound);
  EXPECT_EQ(twice.get(), twice.get());
  EXPECT_EQ(twice.get()(21), 42);
}

TEST(Forwarding, StringsArePassedAsCopies) {
  Handler h = forward(shout, {text(0)});
  Args args{Variant("abc def")};
  EXPECT_EQ(h(args).toI4(), 7);
  EXPECT_EQ(args[0].toString(), "abc def");  // the library's changes stay in the copy
  Args empty{Variant("")};
  EXPECT_EQ(h(empty).toI4(), 0);
}

TEST(Forwarding, SixteenBitParametersNarrowWithOverflow) {
  Handler h = forward(twice, {value(0)});
  Args fits{Variant(int32_t(-32768))};
  EXPECT_EQ(h(fits).toI4(), -65536);
  Args tooBig{Variant(int32_t(32768))};
  EXPECT_EQ(errorOf([&] { h(tooBig); }), err::Overflow);
}

TEST(Forwarding, ArraysCoverTheirLengthAndOutputsComeBack) {
  Handler h = forward(fillUp, {array(0, lengthArg(1)), value(1), value(2), out(3)});
  SafeArray x = SafeArray::ofFloats({1, 2, 3, 4});
  Args args{Variant(x), Variant(int32_t(3)), Variant(9.0f), Variant(int32_t(-1))};
  EXPECT_EQ(h(args).toR8(), 6.0);
  EXPECT_EQ(fromZero(x), std::vector<float>({9, 9, 9, 4}));
  EXPECT_EQ(args[3].toI4(), 3);
  EXPECT_EQ(x.lockCount(), 0);

  Args tooLong{Variant(x), Variant(int32_t(5)), Variant(0.0f), Variant(int32_t(-1))};
  EXPECT_EQ(errorOf([&] { h(tooLong); }), err::SubscriptOutOfRange);
  EXPECT_EQ(fromZero(x), std::vector<float>({9, 9, 9, 4}));
  EXPECT_EQ(tooLong[3].toI4(), -1);
  EXPECT_EQ(x.lockCount(), 0);
}

TEST(Forwarding, ArraysStayLockedForTheCallOnly) {
  SafeArray x = SafeArray::ofFloats({1, 2});
  Args args{Variant(x), Variant(int32_t(2))};
  {
    CallArrays arrays(args, {{0, lengthArg(1)}});
    EXPECT_EQ(x.lockCount(), 1);
    EXPECT_EQ(errorOf([&] { x.redim(0, 10); }), err::ArrayLocked);
    EXPECT_EQ(arrays.elementZero(0), x.address(0));
  }
  EXPECT_EQ(x.lockCount(), 0);
  // One bad array among several: none is left locked.
  SafeArray shortOne = SafeArray::ofFloats({1});
  Args two{Variant(x), Variant(shortOne), Variant(int32_t(2))};
  EXPECT_EQ(errorOf([&] { CallArrays arrays(two, {{0, lengthArg(2)}, {1, lengthArg(2)}}); }),
            err::SubscriptOutOfRange);
  EXPECT_EQ(x.lockCount(), 0);
  EXPECT_EQ(shortOne.lockCount(), 0);
}

TEST(Forwarding, RowsThatDoNotFitTheExportAreRejected) {
  EXPECT_THROW(forward(twice, {}), std::logic_error);
  Handler wrongKind = forward(twice, {out(0)});
  Args args{Variant(int32_t(1))};
  EXPECT_THROW(wrongKind(args), std::logic_error);
}
