#include "chartdoc/FileDialogKinds.h"

#include <gtest/gtest.h>

using qel::chartdoc::FileDialogKinds;
using Mode = qel::os::FileDialogRequest::Mode;

TEST(FileDialogKinds, FiltersKeepTheirTextAndMatchBothCases)
{
    const QStringList f = FileDialogKinds::translateFilter(QStringLiteral(
        "qel Slide    (*.CHF;*.jpg;*.Sld)|*.CHF;*.jpg;*.Sld|qelDf File  (*.df?)|*.df?|"));
    ASSERT_EQ(f.size(), 2);
    EXPECT_EQ(f[0], QStringLiteral("qel Slide    (*.CHF *.chf *.jpg *.JPG *.Sld *.sld *.SLD)"));
    EXPECT_EQ(f[1], QStringLiteral("qelDf File    (*.df? *.DF?)"));
}

TEST(FileDialogKinds, APairWithoutItsPatternTakesTheDescriptions)
{
    const QStringList f = FileDialogKinds::translateFilter(
        QStringLiteral("qel       (*.CHF)|すべてのﾌｧｲﾙ  (*.*)|*.*"));
    ASSERT_EQ(f.size(), 2);
    EXPECT_EQ(f[0], QStringLiteral("qel    (*.CHF *.chf)"));
    EXPECT_EQ(f[1], QStringLiteral("すべてのﾌｧｲﾙ    (*.*)"));
}

TEST(FileDialogKinds, KindsGiveTitlesModesAndProposedNames)
{
    FileDialogKinds::Context c{QStringLiteral("/d/now.tbx"), QStringLiteral("/charts/"),
                               QStringLiteral("Beef")};
    auto r = FileDialogKinds::request(QStringLiteral("loadqel"), c);
    EXPECT_EQ(r.mode, Mode::OpenMany);
    EXPECT_EQ(r.title, QStringLiteral("QEL Import Chart & Multi Slide"));
    ASSERT_EQ(r.filters.size(), 7);
    EXPECT_TRUE(r.filters[5].contains(QStringLiteral("*.png"))) << "pictures of every kind";
    // The first filter shows every kind the program opens, tables and legacy files included.
    for (const char *pattern : {"*.tbx", "*.TBX", "*.df?", "*.chf", "*.sld", "*.jpg"})
        EXPECT_TRUE(r.filters[0].contains(QString::fromLatin1(pattern))) << pattern;
    EXPECT_EQ(r.proposedPath, QStringLiteral("/d/*")) << "the folder, no file name filled in";
    r = FileDialogKinds::request(QStringLiteral("saveqel"), c);
    EXPECT_EQ(r.mode, Mode::Save);
    EXPECT_EQ(r.title, QStringLiteral("QEL Export Chart"));
    EXPECT_EQ(r.proposedPath, QStringLiteral("/charts/Beef.CHF"));
    c.lastChartBaseName.clear();
    EXPECT_EQ(FileDialogKinds::request(QStringLiteral("saveqel2"), c).proposedPath,
              QStringLiteral("/charts/*.CHF"));
    r = FileDialogKinds::request(QStringLiteral("*.Sld"), c, QStringLiteral("*.Sld"));
    EXPECT_EQ(r.mode, Mode::Open);
    EXPECT_EQ(r.title, QStringLiteral("QEL Import Chart"));
    EXPECT_EQ(r.filters.first(), QStringLiteral("qel File    (*.Sld *.sld *.SLD)"));
}
