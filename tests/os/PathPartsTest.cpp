#include "os/PathParts.h"

#include <gtest/gtest.h>

using qel::os::PathParts;

TEST(PathParts, ExtensionStartsAtTheFirstDot)
{
    const PathParts p = PathParts::of(QStringLiteral("/home/u/data/a.b.chf"));
    EXPECT_EQ(p.directory, QStringLiteral("/home/u/data/"));
    EXPECT_EQ(p.fileName, QStringLiteral("a.b.chf"));
    EXPECT_EQ(p.baseName, QStringLiteral("a"));
    EXPECT_EQ(p.extension, QStringLiteral(".b.chf"));
}

TEST(PathParts, KeepsCaseButComparesLowered)
{
    const PathParts p = PathParts::of(QStringLiteral("Sales.TBX"));
    EXPECT_EQ(p.directory, QString());
    EXPECT_EQ(p.baseName, QStringLiteral("Sales"));
    EXPECT_EQ(p.extension, QStringLiteral(".TBX"));
    EXPECT_EQ(p.lowerExtension(), QStringLiteral(".tbx"));
}

TEST(PathParts, NoExtensionAndDotsInFolders)
{
    const PathParts p = PathParts::of(QStringLiteral("/x.d/README"));
    EXPECT_EQ(p.directory, QStringLiteral("/x.d/"));
    EXPECT_EQ(p.baseName, QStringLiteral("README"));
    EXPECT_TRUE(p.extension.isEmpty());
}

TEST(PathParts, SplitAtFirstAndLast)
{
    QString before = QStringLiteral("kept"), after;
    EXPECT_FALSE(qel::os::splitAtFirst(QStringLiteral("abc"), QStringLiteral(","), before, after));
    EXPECT_EQ(before, QStringLiteral("kept")); // left unchanged when absent
    EXPECT_EQ(after, QStringLiteral("abc"));

    EXPECT_TRUE(qel::os::splitAtFirst(QStringLiteral("a,b,c"), QStringLiteral(","), before, after));
    EXPECT_EQ(before, QStringLiteral("a"));
    EXPECT_EQ(after, QStringLiteral("b,c"));

    EXPECT_TRUE(qel::os::splitAtLast(QStringLiteral("a,b,c"), QStringLiteral(","), before, after));
    EXPECT_EQ(before, QStringLiteral("a,b"));
    EXPECT_EQ(after, QStringLiteral("c"));
}
