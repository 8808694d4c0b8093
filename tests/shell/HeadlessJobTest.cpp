#include "shell/CommandLine.h"
#include "shell/HeadlessExport.h"

#include "os/TextCodec.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::shell;
using namespace Qt::StringLiterals;

namespace {

// A table of two series with the given points; an empty cell holds no number.
QByteArray table(const QStringList &rows)
{
    QString text =
        u"Title=\tJob\r\nVersion=\t 1 \r\nType=\t 1 \tTypeOpt\t 0 \r\nGroup=\t 2 \r\n"_s +
        u"Count=\t %1 \r\nXlegend=\tX\r\nYlegend=\tY\r\nZlegend=\t\r\n\r\n"_s.arg(rows.size()) +
        u"{Begin}\t 1 \t\t 2 \t\r\n{Group}\tA\t\tB\t\r\n{Data}\tx\ty\tx\ty\r\n"_s;
    int p = 1;
    for (const QString &row : rows)
        text += u"p%1\t"_s.arg(p++) + row + u"\r\n"_s;
    text += u"{End}\r\n"_s;
    return os::encodeText(text);
}

struct JobCase
{
    const char *name;
    QStringList rows;
    int series;
    int job;
    bool parabolic;
    bool yes;
    bool succeeds;
    QString message; // part of what standard error gets
};

} // namespace

// A job that did not do what was asked fails with the window's message; one that did names the
// file in its report.
TEST(HeadlessJob, ExitsWithTheReasonWheneverTheJobDidNotRun)
{
    const QStringList line = {u"1\t3\t1\t3"_s, u"2\t5\t2\t5"_s, u"3\t7\t3\t8"_s};
    const QStringList onePoint = {u"1\t3\t1\t3"_s, u"2\t\t2\t5"_s, u"3\t\t3\t8"_s};
    const JobCase cases[] = {
        {"a line through three points", line, 1, 1, false, false, true, {}},
        {"one point is data shortage", onePoint, 1, 1, false, false, false, u"data shortage!"_s},
        {"a parabola needs three points",
         {line[0], line[1]},
         2,
         1,
         true,
         false,
         false,
         u"data shortage!"_s},
        {"a series the table lacks", line, 5, 1, false, false, false, u"5"_s},
        {"a report names its file", line, 2, 2, false, true, true, {}},
    };
    for (const JobCase &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString saved = QDir::currentPath();
        QDir::setCurrent(dir.path()); // Stat.txt goes to the current folder
        const QString input = dir.filePath(u"job.tbx"_s);
        test::writeFile(input, table(c.rows));
        RegressionRequest r;
        r.series = c.series;
        r.job = c.job;
        r.parabolic = c.parabolic;
        QString error;
        const QString out = dir.filePath(u"out.json"_s);
        const int rc = HeadlessExport::run(out, QSize(640, 400), input, error, &r, c.yes);
        QDir::setCurrent(saved);
        EXPECT_EQ(rc == 0, c.succeeds) << qPrintable(error);
        EXPECT_EQ(QFileInfo::exists(out), c.succeeds) << "a failed job writes nothing";
        if (!c.message.isEmpty())
            EXPECT_TRUE(error.contains(c.message)) << qPrintable(error);
        if (c.job == 2 && c.succeeds) {
            const QString report = os::decodeText(test::readFile(dir.filePath(u"Stat.txt"_s))).text;
            EXPECT_TRUE(report.contains(u"[file: "_s + input)) << qPrintable(report.left(400));
        }
    }
}

// The legend text of a chart file lives beside it, also when the chart is written headless.
TEST(HeadlessJob, AChartFileIsWrittenWithItsLegendFile)
{
    QTemporaryDir dir;
    const QString input = dir.filePath(u"legend.tbx"_s);
    test::writeFile(input, table({u"1\t3\t1\t3"_s, u"2\t5\t2\t5"_s}));
    test::writeFile(
        dir.filePath(u"legend.App"_s),
        os::encodeText(u"File Legend{\r\n\"売上の\r\nメモ\"\r\n}File Legend End\r\n"_s));
    QString error;
    const QString chart = dir.filePath(u"out.chf"_s);
    ASSERT_EQ(HeadlessExport::run(chart, QSize(640, 400), input, error), 0) << qPrintable(error);
    const QString written = os::decodeText(test::readFile(dir.filePath(u"out.App"_s))).text;
    EXPECT_TRUE(written.contains(u"売上の\r\nメモ"_s)) << qPrintable(written);
}

// Bytes that are not text in any encoding we read are shown as U+FFFD, never as controls.
TEST(HeadlessJob, UnreadableBytesBecomeReplacementCharacters)
{
    QTemporaryDir dir;
    QByteArray bytes = table({u"1\t3\t1\t3"_s, u"2\t5\t2\t5"_s});
    bytes.replace("Title=\tJob", QByteArray("Title=\tJ\x81\x7F"
                                            "b\xFF"));
    const QString input = dir.filePath(u"bad.tbx"_s);
    test::writeFile(input, bytes);
    QString error;
    const QString out = dir.filePath(u"bad.json"_s);
    ASSERT_EQ(HeadlessExport::run(out, QSize(640, 400), input, error), 0) << qPrintable(error);
    const QString dump = QString::fromUtf8(test::readFile(out));
    EXPECT_FALSE(dump.contains(QChar(0x1A)));
    EXPECT_FALSE(dump.contains(u"\\u001a"_s, Qt::CaseInsensitive));
    EXPECT_TRUE(dump.contains(QChar(0xFFFD)));
}
