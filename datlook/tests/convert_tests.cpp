// Window-free pieces of the conversion: proposed text names, "%d\n" lines, filter strings.
#include <gtest/gtest.h>

#include <QStringList>

#include "convert.h"
#include "hooks.h"

namespace datlook {
namespace {

TEST(ProposedTextName, CutsTheDataExtension) {
    EXPECT_EQ(proposedTextName(QStringLiteral("C:\\d\\run.dat")), QStringLiteral("C:\\d\\run"));
    EXPECT_EQ(proposedTextName(QStringLiteral("/d/run.dat")), QStringLiteral("/d/run"));
    EXPECT_EQ(proposedTextName(QStringLiteral("/d/数据.DAT")), QStringLiteral("/d/数据"));
    EXPECT_EQ(proposedTextName(QStringLiteral(".dat")), QString());
}

TEST(ProposedTextName, KeepsNamesWithoutAFourCharacterExtension) {
    EXPECT_EQ(proposedTextName(QStringLiteral("/d/run")), QStringLiteral("/d/run"));
    EXPECT_EQ(proposedTextName(QStringLiteral("/d.x/run")), QStringLiteral("/d.x/run"));
    EXPECT_EQ(proposedTextName(QStringLiteral("/d/a.b/c")), QStringLiteral("/d/a.b/c"));
    EXPECT_EQ(proposedTextName(QStringLiteral("ab")), QStringLiteral("ab"));
    EXPECT_EQ(proposedTextName(QString()), QString());
}

TEST(IntLines, OneDecimalNumberPerLine) {
    EXPECT_EQ(intLines({5, -2, 7}), QByteArray("5\n-2\n7\n"));
    EXPECT_EQ(intLines({}), QByteArray());
    const QByteArray extremes = intLines({INT32_MIN, 0, INT32_MAX});
    const QList<QByteArray> lines = extremes.split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].toLongLong(), INT32_MIN);
    EXPECT_EQ(lines[1], QByteArray("0"));
    EXPECT_EQ(lines[2].toLongLong(), INT32_MAX);
    EXPECT_TRUE(lines[3].isEmpty());
}

TEST(NameFilter, PipePairsBecomeQtFilters) {
    EXPECT_EQ(qtNameFilter(QStringLiteral("数据文件(*.dat)|*.dat|")), QStringLiteral("数据文件(*.dat)"));
    EXPECT_EQ(qtNameFilter(QStringLiteral("Text|*.txt|All|*.*|")), QStringLiteral("Text (*.txt);;All (*.*)"));
    EXPECT_EQ(qtNameFilter(QString()), QString());
}

}  // namespace
}  // namespace datlook
