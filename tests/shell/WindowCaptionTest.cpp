#include "shell/WindowCaption.h"

#include <gtest/gtest.h>

using qel::shell::WindowCaption;

namespace {

QString path(qsizetype length)
{
    QString p = QStringLiteral("/");
    for (int i = 1; p.size() < length; ++i)
        p += QString::number(i % 10);
    return p;
}

} // namespace

TEST(WindowCaption, ShortAndEmptyPaths)
{
    EXPECT_EQ(WindowCaption::shortenedPath(QString()), QString());
    EXPECT_EQ(WindowCaption::text(QStringLiteral("3.0"), QString()),
              QStringLiteral("3.0") + WindowCaption::credit());
    const QString japanese = QStringLiteral("/home/山田/データ/売上.tbx");
    EXPECT_EQ(WindowCaption::shortenedPath(japanese), japanese);
}

TEST(WindowCaption, ACharacterOfTwoCodeUnitsIsNeverCutInHalf)
{
    // U+20BB7 (a kanji outside the BMP) at the cutting points on both sides.
    const QString wide = QString::fromUcs4(U"\U00020BB7");
    const QString p = path(27) + wide + path(20) + wide + path(27);
    ASSERT_GT(p.size(), 60);
    const QString shown = WindowCaption::shortenedPath(p);
    EXPECT_FALSE(shown.isEmpty());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i].isHighSurrogate()) {
            EXPECT_TRUE(i + 1 < shown.size() && shown[i + 1].isLowSurrogate()) << i;
        }
        if (shown[i].isLowSurrogate()) {
            EXPECT_TRUE(i > 0 && shown[i - 1].isHighSurrogate()) << i;
        }
    }
    EXPECT_TRUE(shown.startsWith(path(27)));
    EXPECT_TRUE(shown.endsWith(path(27)));
}
