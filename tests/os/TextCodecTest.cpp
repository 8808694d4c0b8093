#include "os/TextCodec.h"

#include <gtest/gtest.h>

using qel::os::appendText;
using qel::os::DecodedText;
using qel::os::decodeText;
using qel::os::encodeLines;
using qel::os::encodeText;
using qel::os::fitsCp932;
using qel::os::foldToCp932;
using qel::os::splitLines;
using qel::os::TextEncoding;

namespace {

QByteArray hex(const char *digits)
{
    return QByteArray::fromHex(digits);
}

const QByteArray Bom = hex("efbbbf");

struct DecodeCase
{
    const char *name;
    const char *bytesHex;
    const char16_t *text;
    TextEncoding encoding;
    bool hasErrors;
};

class DecodeTest : public ::testing::TestWithParam<DecodeCase>
{
};

TEST_P(DecodeTest, FindsEncodingAndText)
{
    const DecodeCase c = GetParam();
    const DecodedText d = decodeText(hex(c.bytesHex));
    EXPECT_EQ(d.encoding, c.encoding);
    EXPECT_EQ(d.hasErrors, c.hasErrors);
    if (c.text) {
        EXPECT_EQ(d.text, QString::fromUtf16(c.text));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DecodeTest,
    ::testing::Values(
        DecodeCase{"Empty", "", u"", TextEncoding::Utf8, false},
        DecodeCase{"Ascii", "5469746c653d0d0a", u"Title=\r\n", TextEncoding::Utf8, false},
        DecodeCase{"Utf8WithBom", "efbbbfe697a5e69cac", u"日本", TextEncoding::Utf8Bom, false},
        DecodeCase{"BomOnly", "efbbbf", u"", TextEncoding::Utf8Bom, false},
        DecodeCase{"Utf8WithoutBom", "e382b0e383a9e38395e291a0", u"グラフ①", TextEncoding::Utf8,
                   false},
        DecodeCase{"HalfWidthKatakana", "cca7b2d9", u"ﾌｧｲﾙ", TextEncoding::Cp932, false},
        DecodeCase{"Kanji", "8abf8e9a", u"漢字", TextEncoding::Cp932, false},
        // NEC circled digit and the full-width tilde that JIS would read as a wave dash.
        DecodeCase{"WindowsExtensions", "87408160", u"①～", TextEncoding::Cp932, false},
        // 0x5C as the trail byte of 表 must not turn into a path separator.
        DecodeCase{"TrailByte5C", "955c2e746278", u"表.tbx", TextEncoding::Cp932, false},
        DecodeCase{"Cp932CrLf", "8366815b835e0d0a", u"データ\r\n", TextEncoding::Cp932, false},
        DecodeCase{"CutOffLeadByte", "41424381", nullptr, TextEncoding::Cp932, true},
        DecodeCase{"UndefinedByte", "82a0ff", nullptr, TextEncoding::Cp932, true},
        DecodeCase{"BomThenBrokenUtf8", "efbbbf41e381", nullptr, TextEncoding::Utf8Bom, true},
        // An overlong UTF-8 form is not UTF-8; as CP932 it is two half-width katakana.
        DecodeCase{"OverlongUtf8", "c0af", u"ﾀｯ", TextEncoding::Cp932, false}),
    [](const auto &info) { return std::string(info.param.name); });

// One character that cannot be read stays one U+FFFD: the Japanese text after it still reads.
TEST(Decode, AnUnreadableCharacterSpoilsNothingAfterIt)
{
    const DecodedText d = decodeText(hex("8540"
                                         "82a0"
                                         "0d0a"
                                         "8abf8e9a"
                                         "ff"
                                         "8366"));
    EXPECT_TRUE(d.hasErrors);
    EXPECT_EQ(d.text, QStringLiteral(u"\uFFFDあ\r\n漢字\uFFFDデ"));
}

struct EncodeCase
{
    const char *name;
    const char16_t *text;
    const char *bytesHex;
};

class EncodeCp932Test : public ::testing::TestWithParam<EncodeCase>
{
};

TEST_P(EncodeCp932Test, WritesCp932)
{
    const EncodeCase c = GetParam();
    EXPECT_EQ(encodeText(QString::fromUtf16(c.text)).toHex(), QByteArray(c.bytesHex));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EncodeCp932Test,
    ::testing::Values(EncodeCase{"Empty", u"", ""}, EncodeCase{"Ascii", u"x=1\r\n", "783d310d0a"},
                      EncodeCase{"Japanese", u"ﾌｧｲﾙ①～表", "cca7b2d987408160955c"},
                      // The JIS forms Japanese input methods and web pages produce.
                      EncodeCase{"WaveDash", u"10〜20", "313081603230"},
                      EncodeCase{"DoubleVerticalLine", u"‖", "8161"},
                      EncodeCase{"MinusSign", u"−5", "817c35"}, EncodeCase{"NotSign", u"¬", "81ca"},
                      EncodeCase{"EmDash", u"—", "815c"}),
    [](const auto &info) { return std::string(info.param.name); });

class EncodeUtf8Test : public ::testing::TestWithParam<const char16_t *>
{
};

TEST_P(EncodeUtf8Test, WritesUtf8WithBomRatherThanLosingCharacters)
{
    const QString text = QString::fromUtf16(GetParam());
    EXPECT_FALSE(fitsCp932(text));
    const QByteArray bytes = encodeText(text);
    EXPECT_EQ(bytes, Bom + text.toUtf8());
    const DecodedText back = decodeText(bytes);
    EXPECT_EQ(back.encoding, TextEncoding::Utf8Bom);
    EXPECT_EQ(back.text, text);
}

INSTANTIATE_TEST_SUITE_P(Texts, EncodeUtf8Test,
                         ::testing::Values(u"𠮷野家", u"売上📈", u"café", u"¥100", u"한국어",
                                           // one unfit character decides for the whole text
                                           u"データ\r\n〜\r\n𠮷\r\n"));

TEST(Encode, RoundTripNeverSubstitutes)
{
    const char16_t *texts[] = {u"",
                               u"平均値±標準偏差",
                               u"ﾃﾞｰﾀ〜‖−¬—",
                               u"①②③ ㈱ № ∵ ≒",
                               u"C:\\qel\\表示.tbx",
                               u"?が既に入っている",
                               u"混在 𠮷 と 〜",
                               u"ÄÖÜ"};
    for (const char16_t *t : texts) {
        const QString text = QString::fromUtf16(t);
        const QString expected = fitsCp932(text) ? foldToCp932(text) : text;
        EXPECT_EQ(decodeText(encodeText(text)).text, expected) << text.toStdString();
    }
}

TEST(Encode, Cp932BytesThatLookLikeUtf8AreWrittenAsUtf8)
{
    // ﾃｽ is C3 BD in CP932, which is also the UTF-8 form of ý.
    const QString text = QStringLiteral(u"ﾃｽ");
    ASSERT_EQ(decodeText(hex("c3bd")).text, QStringLiteral(u"ý"));
    const QByteArray bytes = encodeText(text);
    EXPECT_TRUE(bytes.startsWith(Bom));
    EXPECT_EQ(decodeText(bytes).text, text);
}

struct SplitCase
{
    const char *name;
    const char16_t *text;
    std::vector<const char16_t *> lines;
};

class SplitLinesTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitLinesTest, AcceptsEveryLineEnd)
{
    const SplitCase c = GetParam();
    QStringList expected;
    for (const char16_t *l : c.lines)
        expected.append(QString::fromUtf16(l));
    EXPECT_EQ(splitLines(QString::fromUtf16(c.text)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitLinesTest,
    ::testing::Values(SplitCase{"Empty", u"", {}}, SplitCase{"NoLineEnd", u"a", {u"a"}},
                      SplitCase{"CrLf", u"a\r\nb\r\n", {u"a", u"b"}},
                      SplitCase{"Lf", u"a\nb", {u"a", u"b"}},
                      SplitCase{"Cr", u"a\rb\r", {u"a", u"b"}},
                      SplitCase{"Mixed", u"1\r\n2\n3\r4", {u"1", u"2", u"3", u"4"}},
                      SplitCase{"EmptyLines", u"a\r\n\r\nb", {u"a", u"", u"b"}},
                      SplitCase{"LfThenCr", u"a\n\rb", {u"a", u"", u"b"}},
                      SplitCase{"CrThenCrLf", u"a\r\r\nb", {u"a", u"", u"b"}},
                      SplitCase{"OnlyLineEnd", u"\r\n", {u""}},
                      SplitCase{"BlanksKept", u" x \t\r\n", {u" x \t"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(EncodeLines, EndsEveryLineInCrLf)
{
    EXPECT_EQ(encodeLines({QStringLiteral(u"{Begin}"), QString(), QStringLiteral(u"ﾃﾞｰﾀ")}),
              QByteArray("{Begin}\r\n\r\n") + hex("c3deb0c0") + QByteArray("\r\n"));
    EXPECT_EQ(encodeLines({}), QByteArray());
}

TEST(EncodeLines, ReadsBackAsTheSameLines)
{
    const QStringList lines{QStringLiteral(u"TopTit=\t売上〜推移"), QString(),
                            QStringLiteral(u"{Data}\tx\ty"), QStringLiteral(u"𠮷\t1\t2")};
    const DecodedText back = decodeText(encodeLines(lines));
    EXPECT_EQ(back.encoding, TextEncoding::Utf8Bom);
    EXPECT_EQ(splitLines(back.text), lines);
}

TEST(AppendText, KeepsTheFilesEncodingUnlessTheTextDoesNotFit)
{
    const QByteArray cp932 = hex("8366815b835e0d0a"), withBom = Bom + QByteArray("a\r\n"),
                     plain = QStringLiteral(u"日本\r\n").toUtf8(), ascii("log\r\n");
    const struct
    {
        const char *name;
        QByteArray file;
        const char16_t *text;
        QByteArray expected;
    } rows[] = {
        {"empty file, CP932 text", {}, u"表\r\n", hex("955c0d0a")},
        {"empty file, text CP932 cannot hold",
         {},
         u"𠮷\r\n",
         Bom + QByteArray("\xf0\xa0\xae\xb7\r\n")},
        {"CP932 file stays CP932", cp932, u"〜①\r\n", cp932 + hex("816087400d0a")},
        {"nothing to add", cp932, u"", cp932},
        {"CP932 file becomes UTF-8 for what it cannot hold", cp932, u"𠮷\r\n",
         Bom + QStringLiteral(u"データ\r\n𠮷\r\n").toUtf8()},
        {"UTF-8 with BOM stays", withBom, u"表\r\n", withBom + QStringLiteral(u"表\r\n").toUtf8()},
        {"UTF-8 without BOM stays", plain, u"表\r\n", plain + QStringLiteral(u"表\r\n").toUtf8()},
        {"ASCII file takes CP932", ascii, u"表", ascii + hex("955c")},
        // ﾃｽ in CP932 would read back as UTF-8 ý: the file becomes UTF-8 instead.
        {"ASCII file that would read as UTF-8", ascii, u"ﾃｽ",
         Bom + QStringLiteral(u"log\r\nﾃｽ").toUtf8()},
    };
    for (const auto &row : rows) {
        const QByteArray joined = appendText(row.file, QString::fromUtf16(row.text));
        EXPECT_EQ(joined.toHex(), row.expected.toHex()) << row.name;
    }
}

} // namespace

// Bytes that are not CP932 show as the replacement character, never as an invisible control
// character, and the rest of the text is kept around them.
TEST(Decode, UnreadableBytesShowAsReplacementCharacters)
{
    struct Row
    {
        const char *name;
        const char *bytesHex;
        const char16_t *text;
    };
    const Row rows[] = {
        {"UndefinedSingleByte", "4182a0ff42", u"Aあ\uFFFDB"},
        {"UnassignedDoubleByte", "41854042", u"A\uFFFDB"},
        {"BadTrailByte", "8366810a", u"デ\uFFFD\n"},
        {"CutOffAtEnd", "8366815b835e81", u"データ\uFFFD"},
        {"TitleLine", "546f705469743d098abfff0d0a", u"TopTit=\t漢\uFFFD\r\n"},
    };
    for (const Row &row : rows) {
        const DecodedText d = decodeText(hex(row.bytesHex));
        EXPECT_TRUE(d.hasErrors) << row.name;
        EXPECT_FALSE(d.text.contains(QChar(0x1A))) << row.name;
        EXPECT_EQ(d.text, QString::fromUtf16(row.text)) << row.name;
    }
}

TEST(Decode, RealControlBytesStayAsTheyAre)
{
    // A file that holds these bytes on purpose has no unreadable characters.
    const DecodedText d = decodeText(hex("8abf1a1c7f"));
    EXPECT_FALSE(d.hasErrors);
    EXPECT_EQ(d.text, QString::fromUtf16(u"漢\x1a\x1c\x7f"));
}
