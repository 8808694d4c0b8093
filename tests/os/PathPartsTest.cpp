#include "os/PathParts.h"

#include <gtest/gtest.h>

using qel::os::PathParts;

TEST(PathParts, ExtensionStartsAtTheFirstDotOfTheFileName)
{
    const struct
    {
        const char *path, *directory, *fileName, *baseName, *extension;
    } rows[] = {
        {"/home/u/data/a.b.chf", "/home/u/data/", "a.b.chf", "a", ".b.chf"},
        {"Sales.TBX", "", "Sales.TBX", "Sales", ".TBX"},
        {"/x.d/README", "/x.d/", "README", "README", ""},
        {"/d/売上.tbx", "/d/", "売上.tbx", "売上", ".tbx"},
    };
    for (const auto &row : rows) {
        const PathParts p = PathParts::of(QString::fromUtf8(row.path));
        EXPECT_EQ(p.directory, QString::fromUtf8(row.directory)) << row.path;
        EXPECT_EQ(p.fileName, QString::fromUtf8(row.fileName)) << row.path;
        EXPECT_EQ(p.baseName, QString::fromUtf8(row.baseName)) << row.path;
        EXPECT_EQ(p.extension, QString::fromUtf8(row.extension)) << row.path;
        EXPECT_EQ(p.lowerExtension(), QString::fromUtf8(row.extension).toLower()) << row.path;
    }
}

TEST(PathParts, SplitAtFirstAndLast)
{
    const struct
    {
        bool last;
        const char *text;
        bool found;
        const char *before, *after; // "kept" when before is left as it was
    } rows[] = {
        {false, "abc", false, "kept", "abc"}, {true, "abc", false, "kept", "abc"},
        {false, "a,b,c", true, "a", "b,c"},   {true, "a,b,c", true, "a,b", "c"},
        {false, ",", true, "", ""},
    };
    for (const auto &row : rows) {
        QString before = QStringLiteral("kept"), after;
        const auto split = row.last ? qel::os::splitAtLast : qel::os::splitAtFirst;
        EXPECT_EQ(split(QString::fromUtf8(row.text), QStringLiteral(","), before, after), row.found)
            << row.text;
        EXPECT_EQ(before, QString::fromUtf8(row.before)) << row.text;
        EXPECT_EQ(after, QString::fromUtf8(row.after)) << row.text;
    }
}
