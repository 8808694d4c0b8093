#include "print/TextPrint.h"

#include "FakePage.h"

#include <gtest/gtest.h>

using qel::print::TextPrint;
using qel::test::FakePage;

namespace {

const QString Indent(20, QLatin1Char(' ')); // 2000 twips of 100-twip spaces

// A page whose text limit W - 3200 leaves room for `letters` characters of 100 twips.
FakePage pageFor(int letters)
{
    return FakePage(3200 + letters * 100.0);
}

} // namespace

TEST(TextPrint, PiecesFollowTheWordRules)
{
    struct Row
    {
        const char *name;
        QString line;
        bool followed;
        QStringList pieces;
    };
    auto chars = [](const QString &word) {
        QStringList out;
        for (QChar c : word)
            out.append(QString(c));
        return out;
    };
    const QString w14 = QStringLiteral("abcdefghijklmn");
    const QString w15 = w14 + QStringLiteral("o");
    const Row rows[] = {
        {"last word has no space",
         QStringLiteral("ab cd"),
         false,
         {QStringLiteral("ab "), QStringLiteral("c"), QStringLiteral("d")}},
        {"a line break gives the last word the indent's space",
         QStringLiteral("ab cd"),
         true,
         {QStringLiteral("ab "), QStringLiteral("cd")}},
        {"space at 15 is fed whole",
         w14 + QStringLiteral(" x"),
         true,
         {w14 + QStringLiteral(" "), QStringLiteral("x")}},
        {"space at 16 is fed letter by letter", w15 + QStringLiteral(" x"), true,
         chars(w15 + QStringLiteral(" ")) << QStringLiteral("x")},
        {"12 letters before a line break: space at 15",
         QStringLiteral("abcdefghijkl"),
         true,
         {QStringLiteral("abcdefghijkl")}},
        {"13 letters before a line break: space at 16", QStringLiteral("abcdefghijklm"), true,
         chars(QStringLiteral("abcdefghijklm"))},
        {"Japanese without spaces", QStringLiteral("凡例の文章"), false,
         chars(QStringLiteral("凡例の文章"))},
        {"two spaces",
         QStringLiteral("a  b"),
         true,
         {QStringLiteral("a "), QStringLiteral(" "), QStringLiteral("b")}},
        {"empty", QString(), false, {}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(TextPrint::pieces(row.line, row.followed), row.pieces) << row.name;
}

TEST(TextPrint, IndentFillsTwoThousandTwips)
{
    FakePage page;
    EXPECT_EQ(TextPrint::indent(page), Indent);
    page.setFontSize(20); // spaces of 200 twips
    EXPECT_EQ(TextPrint::indent(page), QString(10, QLatin1Char(' ')));
    page.setFontSize(7.5); // 75 twips: 26.7 spaces, rounded
    EXPECT_EQ(TextPrint::indent(page).size(), 27);
}

// Lines end before the right limit, W - 3200; every line, blank ones too, starts with the
// indent, one line height below the last.
TEST(TextPrint, WrapsAtTheRightLimitAndKeepsTheIndent)
{
    const struct
    {
        const char *name;
        int letters;     // room on a line
        double currentX; // where the first line starts
        QString text;
        QStringList printed;
    } rows[] = {
        {"a long word wraps letter by letter",
         10,
         0,
         QStringLiteral("short abcdefghijklmnopqrst"),
         {QStringLiteral("short abcd"), QStringLiteral("efghijklmn"), QStringLiteral("opqrst")}},
        {"short words move whole to the next line",
         12,
         0,
         QStringLiteral("one two three four\nfive"),
         {QStringLiteral("one two "), QStringLiteral("three four"), QStringLiteral("five")}},
        {"every kind of line break",
         88,
         0,
         QStringLiteral("first\r\n\r\nthird\nfourth\rfifth"),
         {QStringLiteral("first"), QString(), QStringLiteral("third"), QStringLiteral("fourth"),
          QStringLiteral("fifth")}},
        {"the current position narrows the first line",
         10,
         500,
         QStringLiteral("abcdefghij"),
         {QStringLiteral("abcde"), QStringLiteral("fghij")}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        FakePage page = pageFor(row.letters);
        page.setCurrentX(row.currentX);
        TextPrint::print(page, row.text);
        QStringList expected;
        for (const QString &line : row.printed)
            expected << Indent + line;
        EXPECT_EQ(page.texts(), expected);
        for (qsizetype i = 0; i < page.lines.size(); ++i) {
            const auto &line = page.lines[i];
            EXPECT_LE(page.textWidth(line.text.mid(Indent.size())), page.metrics().width - 3200);
            if (i > 0) {
                EXPECT_DOUBLE_EQ(line.y - page.lines[i - 1].y, 200);
            }
        }
    }
}

// The text "FF" ends the page without printing the letters; what follows starts a new page.
TEST(TextPrint, FormFeedEndsThePage)
{
    FakePage page;
    page.print(QStringLiteral("before"));
    TextPrint::print(page, QStringLiteral("FF"));
    page.print(QStringLiteral("after"));
    EXPECT_EQ(page.texts(), (QStringList{QStringLiteral("before"), QStringLiteral("after")}));
    EXPECT_EQ(page.lines[1].page, 2);
    EXPECT_DOUBLE_EQ(page.lines[1].y, 0);
    // Only the exact text is a form feed.
    FakePage other;
    TextPrint::print(other, QStringLiteral("FF\nmore"));
    EXPECT_EQ(other.texts().first(), Indent + QStringLiteral("FF"));
    // A form feed at the end leaves no empty page behind.
    FakePage last;
    last.print(QStringLiteral("x"));
    TextPrint::print(last, QStringLiteral("FF"));
    EXPECT_TRUE(last.endDoc().ok());
    EXPECT_EQ(last.pageCount(), 1);
}

TEST(TextPrint, LongTextGoesOnToTheNextPage)
{
    FakePage page(12000, 2000); // ten lines a page
    QString text;
    for (int i = 0; i < 25; ++i)
        text += QStringLiteral("line %1\n").arg(i);
    TextPrint::print(page, text);
    ASSERT_EQ(page.lines.size(), 26);
    EXPECT_EQ(page.lines[9].page, 1);
    EXPECT_EQ(page.lines[10].page, 2);
    EXPECT_DOUBLE_EQ(page.lines[10].y, 0);
    EXPECT_EQ(page.lines[25].page, 3);
    for (const auto &line : page.lines)
        EXPECT_LE(line.y + 200, 2000);
}
