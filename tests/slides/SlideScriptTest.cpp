#include "slides/SlideScript.h"

#include "os/TextCodec.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::slides;
using namespace Qt::StringLiterals;

namespace {

struct ParseCase
{
    const char *what;
    const char *script;                                        // lines joined with \n
    std::vector<std::pair<const char *, const char *>> slides; // file, narration of rows 1..n
    const char *rowZero = "";
};

class ParseTable : public testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseTable, GivesTheSlidesAndNarrations)
{
    const ParseCase &c = GetParam();
    const SlideTable table = SlideScript::parse(QString::fromUtf8(c.script));
    ASSERT_EQ(table.count(), int(c.slides.size()));
    EXPECT_EQ(table.rows[0].narration, QString::fromUtf8(c.rowZero));
    for (size_t i = 0; i < c.slides.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(table.rows[i + 1].file, QString::fromUtf8(c.slides[i].first));
        EXPECT_EQ(table.rows[i + 1].narration, QString::fromUtf8(c.slides[i].second));
    }
}

INSTANTIATE_TEST_SUITE_P(
    SlideScript, ParseTable,
    testing::Values(
        ParseCase{"lowerCaseEntry", "<file> a.chf", {{"a.CHF", ""}}},
        ParseCase{"indentedTagsAnyCase",
                  "   <FiLe>   b.Chf trailing words\n  <tExT>hi",
                  {{"b.CHF", "hi"}}},
        ParseCase{
            "jpgWithChfInComment", "<FILE> p.jpg /* see q.chf */", {{"p.jpg /* see q.CHF", ""}}},
        ParseCase{"jpgEntry", "<FILE> photo.JPG\n<TEXT>写真です", {{"photo.JPG", "写真です"}}},
        ParseCase{"continuationJoinsWithoutBlank",
                  "<FILE> a.chf\n<TEXT>x\nabc\n  def",
                  {{"a.CHF", "xabcdef"}}},
        ParseCase{"secondTextReplaces",
                  "<FILE> a.chf\n<TEXT>first\nmore\n<TEXT> second",
                  {{"a.CHF", " second"}}},
        ParseCase{"narrationBeforeTextIgnored",
                  "<FILE> a.chf\nstray line\n<TEXT>said",
                  {{"a.CHF", "said"}}},
        ParseCase{"captionOffAfterFile",
                  "<FILE> a.chf\n<TEXT>one\n<FILE> b.chf\nlost",
                  {{"a.CHF", "one"}, {"b.CHF", ""}}},
        ParseCase{"rowZeroKeepsPreamble", "<TEXT>before\n<FILE> a.chf", {{"a.CHF", ""}}, "before"},
        ParseCase{"oneLineComment", "<FILE> a.chf\n<TEXT>x\n<!-- note -->  \ny", {{"a.CHF", "xy"}}},
        ParseCase{"multiLineComment",
                  "<FILE> a.chf\n<TEXT>x\n<!-- open\nhidden\nend -->\ny",
                  {{"a.CHF", "xy"}}},
        ParseCase{
            "fileEntryClosesComment", "<!-- open\n<FILE> a.chf\n<TEXT>t\nu", {{"a.CHF", "tu"}}},
        ParseCase{"textHonouredInComment",
                  "<FILE> a.chf\n<!-- open\n<TEXT>in\nskipped",
                  {{"a.CHF", "in"}}},
        ParseCase{
            "entryWithoutExtensionAddsNothing", "<FILE> notes.txt\n<FILE> a.chf", {{"a.CHF", ""}}},
        ParseCase{"crLfAndMarks",
                  "<FILE> a.chf\r\n<TEXT>{VoiceSync}話す\r\n",
                  {{"a.CHF", "{VoiceSync}話す"}}},
        ParseCase{"emptyScript", "", {}}),
    [](const testing::TestParamInfo<ParseCase> &info) { return info.param.what; });

TEST(SlideScript, KeepsFiveHundredSlidesAndCountsTheRest)
{
    QString script;
    for (int i = 1; i <= 503; ++i)
        script += QStringLiteral("<FILE> s%1.chf\n<TEXT>n%1\n").arg(i);
    const SlideTable table = SlideScript::parse(script);
    EXPECT_EQ(table.count(), 500);
    EXPECT_EQ(table.rows.size(), 501u);
    EXPECT_EQ(table.rows[500].file, QStringLiteral("s500.CHF"));
    // The narration of the ignored entries does not land on the last slide.
    EXPECT_EQ(table.rows[500].narration, QStringLiteral("n500"));
    EXPECT_EQ(table.ignoredEntries, 3);
    EXPECT_TRUE(SlideScript::overflowNotice(table).contains(QStringLiteral("3")));
    EXPECT_TRUE(
        SlideScript::overflowNotice(SlideScript::parse(QStringLiteral("<FILE> a.chf"))).isEmpty());
}

TEST(SlideScript, ReadsCp932AndUtf8AndRefusesWhatIsNoFile)
{
    QTemporaryDir dir;
    const QString text = QStringLiteral("<FILE> グラフ.chf\r\n<TEXT>売上の推移です。\r\n");
    const QByteArray encodings[] = {os::encodeText(text), text.toUtf8()};
    const QString talk = dir.filePath(QStringLiteral("talk.sld"));
    for (const QByteArray &bytes : encodings) {
        test::writeFile(talk, bytes);
        SlideTable table;
        ASSERT_TRUE(SlideScript::read(talk, table).ok());
        ASSERT_EQ(table.count(), 1);
        EXPECT_EQ(table.rows[1].file, QStringLiteral("グラフ.CHF"));
        EXPECT_EQ(table.rows[1].narration, QStringLiteral("売上の推移です。"));
    }

    const QString fifo = test::makeFifo(QDir(dir.path()), QStringLiteral("pipe.sld"));
    for (const QString &bad : {fifo, dir.filePath(QStringLiteral("missing.sld")), dir.path()}) {
        SlideTable table;
        const os::Result result = SlideScript::read(bad, table);
        EXPECT_FALSE(result.ok()) << qPrintable(bad);
        EXPECT_TRUE(result.message.contains(bad)) << qPrintable(result.message);
        EXPECT_EQ(table.count(), 0);
    }
}

TEST(SlideScript, BinaryFileGivesNoSlides)
{
    QByteArray noise(100000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919) & 0xFF);
    EXPECT_EQ(SlideScript::parse(QString::fromLatin1(noise)).count(), 0);
}

TEST(SlideScript, ResolvesNamesWithBackslashesAndAnyCase)
{
    QTemporaryDir dir;
    QDir root(dir.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("Charts/Sub")));
    for (const QString &name :
         {QStringLiteral("Charts/Sub/sales.chf"), QStringLiteral("top.chf")}) {
        test::writeFile(root.filePath(name), {});
    }
    const struct
    {
        QString name;
        QString expected;
    } cases[] = {
        {u"top.chf"_s, root.filePath(u"top.chf"_s)},
        {u"TOP.CHF"_s, root.filePath(u"top.chf"_s)},
        {u"charts\\sub\\SALES.CHF"_s, root.filePath(u"Charts/Sub/sales.chf"_s)},
        {u"Charts/Sub/../../top.CHF"_s, root.filePath(u"top.chf"_s)},
        {u"nothere\\x.CHF"_s, root.filePath(u"nothere/x.CHF"_s)},
        {u"C:\\talk\\a.CHF"_s, root.filePath(u"C:/talk/a.CHF"_s)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SlideScript::resolve(dir.path(), c.name), c.expected) << qPrintable(c.name);
}

TEST(SlideScript, GeneratedScriptReadsBackAsTheShow)
{
    const QDateTime when(QDate(2026, 3, 9), QTime(14, 5, 7));
    EXPECT_EQ(SlideScript::headerLine(QStringLiteral("/home/u/talk"), when),
              QStringLiteral("/home/u/talk/*03-09-2026 14:05:07 "));
    EXPECT_EQ(SlideScript::proposedFileName(when), QStringLiteral("03-09-2026(140507).Sld"));

    const QString script = SlideScript::headerLine(QStringLiteral("/t/"), when) + u"\r\n"_s +
                           SlideScript::entryLines(1, u"a.chf"_s, u"売上"_s) +
                           SlideScript::entryLines(2, u"p.jpg"_s, u"JPG file"_s);
    EXPECT_TRUE(
        script.contains(QStringLiteral("<FILE> a.chf  /* 売上\r\n<TEXT> 1番目のスライドです.")));
    const SlideTable table = SlideScript::parse(script);
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.rows[1].file, QStringLiteral("a.CHF"));
    EXPECT_EQ(table.rows[2].narration, QStringLiteral(" 2番目のスライドです."));
}

TEST(SlideScript, PlayListKeepsChartsAndPicturesOnly)
{
    QString folder;
    const QStringList list = SlideScript::playList(
        QStringLiteral("/home/u/talk/\r\na.chf\r\nb.TBX\r\nc.JPG\r\nsub\\d.chf\r\ne/f.chf\r\n"),
        &folder);
    EXPECT_EQ(folder, QStringLiteral("/home/u/talk/"));
    EXPECT_EQ(list, QStringList({u"a.chf"_s, u"c.JPG"_s}));
}

TEST(SlideScript, JsonHoldsRowZeroAndTheCount)
{
    const QJsonObject root =
        QJsonDocument::fromJson(SlideScript::toJson(SlideScript::parse(
                                    QStringLiteral("<TEXT>z\n<FILE> a.chf\n<TEXT>b"))))
            .object();
    EXPECT_EQ(root[QStringLiteral("count")].toInt(), 1);
    const QJsonArray rows = root[QStringLiteral("rows")].toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("narration")].toString(), QStringLiteral("z"));
    EXPECT_EQ(rows[1].toObject()[QStringLiteral("file")].toString(), QStringLiteral("a.CHF"));
}

} // namespace
