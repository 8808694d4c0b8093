#include "chartdoc/TableText.h"

#include "os/Useful.h"

#include <QRandomGenerator>
#include <QStringList>

#include <cstring>

#include <gtest/gtest.h>

using qel::chartdoc::TableText;

// The quick cell parse must answer exactly as the program's tolerant parse.
TEST(TableText, CellParseMatchesParseSingle)
{
    const QStringList fixed = {QString(),
                               QStringLiteral(" "),
                               QStringLiteral("12.5"),
                               QStringLiteral(" 12.5 "),
                               QStringLiteral("+3"),
                               QStringLiteral("-0"),
                               QStringLiteral("1e38"),
                               QStringLiteral("1e39"),
                               QStringLiteral("1e-50"),
                               QStringLiteral("1.5E-07"),
                               QStringLiteral("abc"),
                               QStringLiteral("1,2,3"),
                               QStringLiteral("."),
                               QStringLiteral("1."),
                               QStringLiteral(".5"),
                               QStringLiteral("1e"),
                               QStringLiteral("nan"),
                               QStringLiteral("inf"),
                               QStringLiteral("0x10"),
                               QStringLiteral("１２"),
                               QStringLiteral("\u3000 7"),
                               QStringLiteral("7\t"),
                               QStringLiteral("3e-33"),
                               QStringLiteral("1 2"),
                               QString(70, QLatin1Char('1'))};
    QStringList cases = fixed;
    QRandomGenerator random(7);
    const QString alphabet = QStringLiteral("0123456789+-.eE ,\t１ａ");
    for (int i = 0; i < 20000; ++i) {
        QString s;
        const int n = random.bounded(12);
        for (int k = 0; k < n; ++k)
            s += alphabet[random.bounded(int(alphabet.size()))];
        cases << s;
    }
    for (const QString &c : cases) {
        bool a = false, b = false;
        const float fa = TableText::parseCell(c, &a);
        const float fb = qel::os::parseSingle(c, &b);
        EXPECT_EQ(a, b) << qPrintable(c);
        EXPECT_EQ(std::memcmp(&fa, &fb, sizeof fa), 0) << qPrintable(c);
    }
}

TEST(TableText, LinesEndInCrLfLfOrCr)
{
    const QString text = QStringLiteral("a\r\nb\nc\rd\r\n\r\ne");
    TableText t(text);
    QStringList lines;
    QStringView line;
    EXPECT_EQ(t.remainingLines(), 6);
    while (t.nextLine(line))
        lines << line.toString();
    EXPECT_EQ(lines, QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                  QStringLiteral("d"), QString(), QStringLiteral("e")}));
}

TEST(TableText, KeyAndValueOfAHeaderLine)
{
    EXPECT_EQ(TableText::key(u"Group=\t  3  \tignored"), u"Group=");
    EXPECT_EQ(TableText::value(u"Group=\t  3  \tignored"), u"3");
    EXPECT_EQ(TableText::value(u"Title="), u"");
    EXPECT_EQ(TableText::value(u"Title=\t\u3000x "), u"\u3000x") << "only blanks are trimmed";
}
