#include "FakeForm.h"

#include "chartdoc/TableImage.h"
#include "shell/StartupChart.h"
#include "support/TestFiles.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;

namespace {

struct StartupChartFixture : ::testing::Test
{
    QTemporaryDir dir;
    test::FakeForm form;
    chartdoc::TableImage table;

    StartupChartFixture()
    {
        form.accessLog = dir.filePath(QStringLiteral("qelAccshost1.log"));
        // A start-up chart of our own, to see whether it was imported.
        chartview::ChartControl chart;
        chart.setViewSize(QSize(200, 100));
        chart.setSeriesTotal(1);
        chart.setPointTotal(1);
        chart.setSeriesCaption(0, QStringLiteral("startup"));
        EXPECT_EQ(chart.ExportFile(chartview::FormatChartFile,
                                   dir.filePath(QStringLiteral("qelPro.chf"))),
                  0);
    }

    void run(const QString &commandLine)
    {
        shell::StartupChart(form, table).run(commandLine, dir.path() + QLatin1Char('/'));
    }
    QString opened() const
    {
        for (const QString &line : form.log) {
            if (line.startsWith(QStringLiteral("openCommandLine ")))
                return line.mid(16);
        }
        return {};
    }
};

} // namespace

TEST_F(StartupChartFixture, TheAccessLogMovesAsideOnlyOverAMillionBytes)
{
    const QString dated = dir.filePath(QStringLiteral("qelAccshost1") +
                                       QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")) +
                                       QStringLiteral(".log"));
    test::writeFile(form.accessLog, QByteArray(1000000, 'a'));
    run(QString());
    EXPECT_EQ(QFileInfo(form.accessLog).size(), 1000000);
    EXPECT_FALSE(QFileInfo::exists(dated));

    test::writeFile(form.accessLog, QByteArray(1000001, 'a'));
    run(QString());
    EXPECT_FALSE(QFileInfo::exists(form.accessLog));
    EXPECT_EQ(QFileInfo(dated).size(), 1000001);
}

TEST_F(StartupChartFixture, TheCommandLineLosesItsQuotesButKeepsItsCase)
{
    form.opener = [](const QString &line) { return line; };
    run(QStringLiteral("\"/Data/Mixed Case/SALES.TBX\""));
    EXPECT_EQ(opened(), QStringLiteral("/Data/Mixed Case/SALES.TBX"));
    EXPECT_EQ(form.charts[0].SeriesCaption(0), QString()) << "an opened file is not replaced";

    for (const char *line : {"/d/A.CHF", "/d/show.SLD", "/d/old.DFB", "/d/x.dfq"}) {
        form.log.clear();
        run(QString::fromLatin1(line));
        EXPECT_EQ(opened(), QString::fromLatin1(line));
    }
}

TEST_F(StartupChartFixture, ABitmapOnTheCommandLineIsIgnored)
{
    run(QStringLiteral("\"/d/picture.BMP\""));
    EXPECT_TRUE(opened().isEmpty());
    EXPECT_EQ(form.charts[0].SeriesCaption(0), QStringLiteral("startup"));
    EXPECT_EQ(table.groupCount, 1);
}

TEST_F(StartupChartFixture, AFileThatFailsShowsTheStartUpChart)
{
    run(QStringLiteral("/d/missing.chf")); // the fake opener clears the line
    EXPECT_EQ(opened(), QStringLiteral("/d/missing.chf"));
    EXPECT_EQ(form.charts[0].SeriesCaption(0), QStringLiteral("startup"));
}
