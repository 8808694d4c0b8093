#include "chartdoc/BottomTitle.h"

#include <gtest/gtest.h>

using namespace qel::chartdoc;

namespace {

struct Split
{
    QString first;
    QString rest;
};

Split split(const QString &text, const QString &firstBefore = QString())
{
    Split s{firstBefore, QString()};
    splitBottomTitle(text, s.first, s.rest);
    return s;
}

} // namespace

TEST(BottomTitle, LegendAndFigureTitleComeApart)
{
    const Split s = split(composeBottomTitle(QStringLiteral("Weight"), QStringLiteral("Figure 1")));
    EXPECT_EQ(s.first, QStringLiteral("Weight"));
    EXPECT_EQ(s.rest, QStringLiteral("Figure 1"));
}

TEST(BottomTitle, SingleLineKeepsFirstAndLeadsRestWithABlank)
{
    const Split s = split(QStringLiteral("Fig.    QEL for Windows."));
    EXPECT_TRUE(s.first.isEmpty());
    EXPECT_EQ(s.rest, QStringLiteral(" Fig.    QEL for Windows."));
    EXPECT_EQ(split(QStringLiteral("x"), QStringLiteral("earlier")).first,
              QStringLiteral("earlier"));
}

TEST(BottomTitle, LeadingEmptyLinesAreSkippedAndBreaksBecomeBlanks)
{
    const Split s = split(QStringLiteral("\r\n\r\n体重\r\n\r\n図1\r\n注"));
    EXPECT_EQ(s.first, QStringLiteral("体重"));
    EXPECT_EQ(s.rest, QStringLiteral("図1 注"));
}

TEST(BottomTitle, LegendWithNothingAfterIt)
{
    // A short first line with nothing after it is still the X legend ...
    Split s = split(QStringLiteral("Weight\r\n"));
    EXPECT_EQ(s.first, QStringLiteral("Weight"));
    EXPECT_TRUE(s.rest.isEmpty());
    // ... a long one is left as the figure title.
    s = split(QStringLiteral("A rather long first line only\r\n"));
    EXPECT_TRUE(s.first.isEmpty());
    EXPECT_EQ(s.rest, QStringLiteral("A rather long first line only "));
}
