#include "chartdoc/SampleChart.h"
#include "chartview/render/ChartControl.h"
#include "os/TextCodec.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramRun run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

ProgramRun qelpro(const QStringList &arguments)
{
    return run(QStringLiteral(QELPRO_BINARY), arguments);
}

// A talk of three charts and a picture, with a slide whose chart is missing.
class SlideExport : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const QString &name : {u"one.chf"_s, u"two.CHF"_s, u"three.chf"_s}) {
            qel::chartview::ChartControl chart1, chart2;
            qel::chartdoc::buildSampleChart(chart1, chart2);
            chart1.setTitleCaption(2, u"Chart "_s + name);
            ASSERT_EQ(chart1.ExportFile(qel::chartview::FormatChartFile, dir.filePath(name)), 0);
        }
        QImage picture(320, 240, QImage::Format_RGB32);
        picture.fill(QColor(30, 60, 200));
        ASSERT_TRUE(picture.save(dir.filePath(u"photo.jpg"_s), "JPG"));
        script = dir.filePath(u"talk.sld"_s);
        qel::test::writeFile(
            script, qel::os::encodeText(u"<FILE> one.chf\r\n<TEXT>売上の推移です。\r\n"
                                        u"<FILE> two.chf\r\n<TEXT>二枚目{VoiceNotSelfend}の説明\r\n"
                                        u"<FILE> gone.chf\r\n<TEXT>消えたグラフ\r\n"
                                        u"<FILE> photo.jpg\r\n<TEXT>工場の写真\r\n"
                                        u"<FILE> three.chf\r\n<TEXT>まとめ\r\n"_s));
    }

    QTemporaryDir dir;
    QString script;
};

TEST_F(SlideExport, WritesOnePagePerSlideWithItsNarration)
{
    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    const QString pdfinfo = QStandardPaths::findExecutable(u"pdfinfo"_s);
    if (pdftotext.isEmpty() || pdfinfo.isEmpty())
        GTEST_SKIP() << "poppler-utils (scripts/setup.sh) is not installed";
    const QString pdf = dir.filePath(u"talk.pdf"_s);
    const ProgramRun exported = qelpro({u"--export"_s, pdf, script});
    ASSERT_EQ(exported.exitCode, 0) << qPrintable(exported.err);
    EXPECT_TRUE(exported.err.contains(u"gone.CHF"_s)) << qPrintable(exported.err);
    EXPECT_TRUE(exported.err.contains(u"読み込みできませんでした。"_s));

    const ProgramRun info = run(pdfinfo, {pdf});
    EXPECT_TRUE(info.out.contains(QRegularExpression(u"Pages:\\s+4\\n"_s))) << qPrintable(info.out);
    const ProgramRun text = run(pdftotext, {u"-layout"_s, pdf, u"-"_s});
    const QStringList pages = text.out.split(u'\f');
    ASSERT_GE(pages.size(), 4);
    struct Page
    {
        QString narration;
        QString title;
    };
    const Page expected[] = {{u"売上の推移です。"_s, u"Chart one.chf"_s},
                             {u"二枚目の説明"_s, u"Chart two.CHF"_s},
                             {u"工場の写真"_s, QString()},
                             {u"まとめ"_s, u"Chart three.chf"_s}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_TRUE(pages[i].contains(expected[i].narration)) << qPrintable(pages[i]);
        if (!expected[i].title.isEmpty()) {
            EXPECT_TRUE(pages[i].contains(expected[i].title)) << qPrintable(pages[i]);
        }
    }
    EXPECT_FALSE(text.out.contains(u"{Voice"_s)) << "voice marks are not printed";
    EXPECT_FALSE(text.out.contains(u"消えたグラフ"_s));
}

TEST_F(SlideExport, FailsWithoutWritingForWhatCannotBeAShow)
{
    const QString pdf = dir.filePath(u"out.pdf"_s);
    const QString empty = dir.filePath(u"empty.sld"_s);
    qel::test::writeFile(empty, "<FILE> gone.chf\r\n<TEXT>nothing here\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder.sld"_s));
    struct Case
    {
        const char *what;
        QStringList arguments;
        int exitCode;
        QString named;
    };
    for (const Case &c :
         {Case{"missing script",
               {u"--export"_s, pdf, dir.filePath(u"none.sld"_s)},
               1,
               u"none.sld"_s},
          Case{"folder", {u"--export"_s, pdf, dir.filePath(u"folder.sld"_s)}, 1, u"folder.sld"_s},
          Case{"no slide drawn", {u"--export"_s, pdf, empty}, 1, u"empty.sld"_s},
          Case{"not a pdf", {u"--export"_s, dir.filePath(u"out.png"_s), script}, 2, u"PDF"_s}}) {
        SCOPED_TRACE(c.what);
        const ProgramRun r = qelpro(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(c.named)) << qPrintable(r.err);
        EXPECT_FALSE(QFileInfo::exists(pdf));
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"out.png"_s)));
    }
}

} // namespace
