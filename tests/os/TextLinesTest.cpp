#include "os/TextLines.h"
#include "os/TextCodec.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using qel::os::DecodedText;
using qel::os::decodeText;
using qel::os::TextLines;

namespace {

// The lines of decoded text, split where TextLines splits: at CR LF, LF or CR.
QStringList linesOf(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        qsizetype i = start;
        while (i < n && text[i] != u'\r' && text[i] != u'\n')
            ++i;
        lines << text.mid(start, i - start);
        if (i < n && text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    return lines;
}

QStringList readAll(TextLines &lines)
{
    QStringList read;
    QStringView line;
    while (lines.nextLine(line))
        read << line.toString();
    return read;
}

void expectSameAsWholeDecode(const QByteArray &bytes)
{
    const DecodedText whole = decodeText(bytes);
    TextLines lines(bytes);
    EXPECT_EQ(lines.encoding(), whole.encoding);
    EXPECT_EQ(lines.hasErrors(), whole.hasErrors);
    EXPECT_EQ(readAll(lines), linesOf(whole.text));
}

} // namespace

// Read a line at a time, a file gives what decoding it whole gives: encoding, characters and
// errors, in every encoding and with every kind of damage.
TEST(TextLines, ReadsAsTheWholeFileDecodes)
{
    const char *const files[] = {
        "",
        "Title=\r\n",
        "a\rb\nc\r\n\r\nd",
        "\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\r\n1\t2",  // UTF-8 with BOM
        "\xEF\xBB\xBF\xE6\x97\r\n",                      // BOM, cut character
        "\xE3\x82\xB0\xE3\x83\xA9\xE3\x83\x95\r\n3\t4",  // UTF-8
        "x\r\n\x8a\xbf\x8e\x9a\tok\r\n\xcc\xa7\xb2\xd9", // CP932 kanji and katakana
        "\x87\x40\x81\x60\n",                            // Windows extensions
        "a\x82\r\nb\x82",                                // lead byte before a line end
        "ok\x1a\x82\xa0\n",                              // a swapped control code
        "\x85\x40\t\xff\r\n1\n",                         // unmapped and invalid bytes
        "\xE3\x82\r\n\x8a\xbf",                          // broken UTF-8, so CP932
    };
    for (const char *file : files) {
        SCOPED_TRACE(QByteArray(file).toHex().constData());
        expectSameAsWholeDecode(QByteArray(file));
    }
}

TEST(TextLines, RandomBytesReadAsTheWholeFileDecodes)
{
    QRandomGenerator rng(16);
    const char pieces[][4] = {"\r",       "\n",   "\r\n",         "\t",           "a",    "1",
                              "\x82\xa0", "\x8a", "\xe3\x81\x82", "\xef\xbb\xbf", "\xa1", "\x1a",
                              "\xc3",     " "};
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes;
        const int n = int(rng.bounded(40));
        // Mostly one encoding's characters, so all three ways of reading come up.
        const int flavour = round % 3;
        for (int i = 0; i < n; ++i) {
            int k = int(rng.bounded(int(std::size(pieces))));
            if (flavour == 0 && (k == 6 || k == 7 || k == 10 || k == 12))
                k = 8; // UTF-8 only
            if (flavour == 1 && (k == 8 || k == 9 || k == 12))
                k = 6; // CP932 only
            bytes += pieces[k];
        }
        SCOPED_TRACE(bytes.toHex().constData());
        expectSameAsWholeDecode(bytes);
    }
}

TEST(TextLines, RestFollowsTheLinesReadAndReleaseEndsThem)
{
    TextLines lines(QByteArray("one\r\ntwo\tthree\nfour"));
    QStringView line;
    ASSERT_TRUE(lines.nextLine(line));
    EXPECT_EQ(line, u"one");
    EXPECT_EQ(lines.rest(), QByteArrayView("two\tthree\nfour"));
    lines.release();
    EXPECT_FALSE(lines.nextLine(line));
    EXPECT_TRUE(lines.rest().isEmpty());
}
