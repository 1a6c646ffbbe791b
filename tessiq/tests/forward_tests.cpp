// The forwarding rows' machinery on its own: binding by name, sources, extents from size
// notes, array coverage and locking, string copies, narrowing, control-owned outputs and the
// checks of a row against its member's declaration, against the test fixture library.
#include <gtest/gtest.h>

#include "automation/control.h"
#include "binding.h"
#include "forward.h"
#include "helpers.h"
#include "members.h"
#include "sizenote.h"

using namespace automation;
using namespace tessiq;
using tessiq_test::errorOf;
using tessiq_test::fromZero;

namespace {

const char *fixture = TESSIQ_FIXTURE_LIBRARY;
tessiq::Bound<int32_t(char *)> shout{Library::Sigmora, "FixtureShout", "(text)", "", fixture};
tessiq::Bound<int32_t(int16_t)> twice{Library::Sigmora, "FixtureTwice", "(v)", "", fixture};
tessiq::Bound<double(float *, int32_t, float, int32_t *)> fillUp{
    Library::Sigmora, "FixtureFill", "(x, n, v, count)", "x: n; count: 1", fixture};
tessiq::Bound<int32_t(int16_t)> absentExport{Library::Sigmora, "NoSuchExport", "(v)", "", fixture};
tessiq::Bound<int32_t(int16_t)> absentLibrary{Library::Sigmora, "FixtureTwice", "(v)", "",
                                              "libtessiq_no_such_library.so"};

Member member(std::vector<Param> params, ArgType result) {
    return {1, "m", InvokeKind::Method, std::move(params), result, {}};
}

// Runs a row's check; the parameters it used, or the problem it found.
std::string checked(const Row &row, const Member &m) {
    std::vector<bool> used(m.params.size(), false);
    try {
        row.check(m, used);
    } catch (const std::logic_error &e) {
        return e.what();
    }
    std::string s;
    for (bool u : used) s += u ? '1' : '0';
    return s;
}

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
    Handler h = forward(shout, {text(0)}).handler;
    Args args{Variant("abc def")};
    EXPECT_EQ(h(args).toI4(), 7);
    EXPECT_EQ(args[0].toString(), "abc def");  // the library's changes stay in the copy
    Args empty{Variant("")};
    EXPECT_EQ(h(empty).toI4(), 0);
}

TEST(Forwarding, NarrowingFailsWithOverflowAndConstantsAndSelectorsMap) {
    Handler h = forward(twice, {narrowed(0)}).handler;
    Args fits{Variant(int32_t(-32768))};
    EXPECT_EQ(h(fits).toI4(), -65536);
    Args tooBig{Variant(int32_t(32768))};
    EXPECT_EQ(errorOf([&] { h(tooBig); }), err::Overflow);
    Args none{Variant(int16_t(0))};
    EXPECT_EQ(forward(twice, {constant(7)}).handler(none).toI4(), 14);
    Handler sel = forward(twice, {selector(0, {5, 6, 7}, 9)}).handler;
    for (int32_t v : {-1, 0, 1, 2, 3, 40000}) {
        Args a{Variant(v)};
        int32_t want = v >= 0 && v < 3 ? 5 + v : 9;
        EXPECT_EQ(sel(a).toI4(), 2 * want) << v;
    }
}

TEST(Forwarding, ArraysCoverTheirSizeNoteAndOutputsComeBack) {
    Handler h = forward(fillUp, {array(0), value(1), value(2), out(3)}).handler;
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
    // Element 0 is needed even for a count of 0.
    SafeArray noZero = SafeArray::ofFloats({1, 2}, 1);
    Args zero{Variant(noZero), Variant(int32_t(0)), Variant(0.0f), Variant(int32_t(-1))};
    EXPECT_EQ(errorOf([&] { h(zero); }), err::SubscriptOutOfRange);
}

TEST(Forwarding, RowsAreCheckedAgainstTheDeclaration) {
    using namespace kind;
    Member fill = member({ArrR4, I4, R4, I4Ref}, ArgType::R8);
    EXPECT_EQ(checked(forward(fillUp, {array(0), value(1), value(2), out(3)}), fill), "1111");
    // Index beyond the parameters, wrong kinds, a wrong count, an unused parameter.
    EXPECT_NE(checked(forward(fillUp, {array(0), value(1), value(2), out(4)}), fill).find("beyond"),
              std::string::npos);
    EXPECT_NE(checked(forward(fillUp, {value(0), value(1), value(2), out(3)}), fill).find("pointer"),
              std::string::npos);
    EXPECT_NE(checked(forward(fillUp, {array(0), value(2), value(2), out(3)}), fill).find("type"),
              std::string::npos);
    EXPECT_NE(checked(forward(fillUp, {array(0), value(1)}), fill).find("takes 4"), std::string::npos);
    EXPECT_EQ(checked(forward(fillUp, {array(0), value(1), constant(2), out(3)}), fill), "1101");
    Member wide = member({I4}, ArgType::I4);
    EXPECT_NE(checked(forward(twice, {value(0)}), wide).find("narrowed"), std::string::npos);
    EXPECT_EQ(checked(forward(twice, {narrowed(0)}), wide), "1");
    EXPECT_NE(checked(forward(twice, {narrowed(0)}), member({I2}, ArgType::I4)).find("32-bit"),
              std::string::npos);
    EXPECT_NE(checked(forward(shout, {value(0)}), member({Str}, ArgType::I4)).find("text"),
              std::string::npos);
}

TEST(Forwarding, TheTableRefusesMissingDoubledAndPartialRows) {
    Rows none;
    EXPECT_THROW(buildMembers(std::move(none)), std::logic_error);
    Instance instance;
    EXPECT_NO_THROW(controlMembers(instance));
    Rows rows;
    workbenchRows(rows);
    numericsRows(rows);
    statisticsRows(rows);
    fileRows(rows);
    signalRows(rows);
    modelRows(rows, instance);
    Rows doubled = rows;
    doubled.push_back(doubled.front());
    EXPECT_THROW(buildMembers(std::move(doubled)), std::logic_error);
    Rows extra = rows;
    extra.push_back({1610809397, custom([](Args &) { return Variant(); })});
    EXPECT_THROW(buildMembers(std::move(extra)), std::logic_error);
    rows.pop_back();
    EXPECT_THROW(buildMembers(std::move(rows)), std::logic_error);
}

TEST(SizeNotes, ExtentsFollowTheNote) {
    SizeNote note("(a, n, m, shift, w, nn)",
                  "a: n*(m+1) - 2; nn: 2; w: frames(n, shift, m)*abs(m); shift: max(n, m)/2 + min(n, 1)");
    std::vector<int64_t> v{0, 10, 3, 4, 0, 0};
    auto value = [&](std::size_t p) { return v[p]; };
    EXPECT_EQ(note.extent(0, value), 38);
    EXPECT_EQ(note.fixedExtent(5), 2);
    EXPECT_EQ(note.extent(4, value), 2 * 3);  // 10 / 4 frames of 3
    EXPECT_EQ(note.extent(3, value), 5 + 1);
    EXPECT_FALSE(note.hasExtent(1));
    v[2] = -3;  // negative extents touch nothing
    EXPECT_EQ(note.extent(0, value), 0);
    v[1] = int64_t(1) << 40;
    v[2] = int64_t(1) << 40;  // overflow saturates: never covered
    EXPECT_EQ(note.extent(0, value), INT64_MAX - 2);
    SizeNote element("(a, nn, k)", "nn: k; a: nn[0]*nn[1]");
    int32_t dims[2] = {4, 8};
    EXPECT_EQ(element.extent(
                  0, [](std::size_t) { return int64_t(2); },
                  [&](std::size_t p, int64_t k) { return p == 1 ? int64_t(dims[k]) : 0; }),
              32);
    EXPECT_THROW(SizeNote("(a, n)", "a: q"), std::logic_error);
    EXPECT_THROW(SizeNote("(a, n)", "a n"), std::logic_error);
    EXPECT_THROW(SizeNote("(a, n)", "a: (n"), std::logic_error);
    EXPECT_THROW(SizeNote("(a, n)", "a: n; a: n"), std::logic_error);
}
