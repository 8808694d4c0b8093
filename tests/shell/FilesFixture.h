#pragma once

#include "chartdoc/ChartDocument.h"
#include "chartdoc/SampleChart.h"
#include "chartdoc/TableImage.h"
#include "chartview/render/ChartControl.h"
#include "os/IniSettingsStore.h"
#include "os/TextCodec.h"
#include "settings/Form2State.h"
#include "shell/LoadSave.h"
#include "shell/ProgramState.h"
#include "shell/RecentFileList.h"
#include "shell/RecentListCommands.h"
#include "shell/StartupSettings.h"
#include "slides/MessageLog.h"
#include "support/FakeDialogs.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qel::test {

// The main window as opening, saving and the recent list see it; every call is logged.
class FakeFilesHost : public shell::LoadSaveHost, public shell::RecentListView
{
public:
    void setWindowCaption(const QString &path) override { caption = path; }
    bool jpgShow(const QString &path) override
    {
        log << QStringLiteral("jpgShow ") + path;
        return QFile::exists(path);
    }
    void multSlideShow(const QString &folder, QString &source, int mode) override
    {
        log << QStringLiteral("multSlideShow %1 [%2] [%3]").arg(mode).arg(folder, source);
    }
    void showSpeechEngine() override { log << QStringLiteral("showSpeechEngine"); }
    bool chart2Visible() const override { return chart2Shown; }
    void setComboAccessFile(int mode, const QString &path) override
    {
        if (recent)
            recent->setComboAccessFile(mode, path);
    }
    QString accessLogName() override { return accessLog; }

    void showRecentEntries(const QStringList &entries, int index) override
    {
        shownEntries = entries;
        shown = index;
    }
    int shownRecentIndex() const override { return shown; }
    void copyToClipboard(const QString &text) override { clipboard = text; }
    void refreshChart1() override { ++refreshes; }
    QString listFolder() const override { return folder; }
    QString machineLabel() const override { return QStringLiteral("host1"); }
    void endProgram() override { ended = true; }

    shell::RecentListCommands *recent = nullptr;
    QString caption;
    QString accessLog;
    QString folder;
    QString clipboard;
    QStringList log;
    QStringList shownEntries;
    int shown = -1;
    int refreshes = 0;
    bool chart2Shown = false;
    bool ended = false;
};

// Opening and saving against real charts in a temporary folder.
struct FilesFixture : ::testing::Test
{
    QTemporaryDir dir;
    QTemporaryDir configDir;
    QString savedCurrent = QDir::currentPath();
    os::IniSettingsStore store{configDir.path()};
    shell::StartupSettings settings{store};
    shell::ProgramState state;
    chartview::ChartControl chart1;
    chartview::ChartControl chart2;
    FakeDialogs dialogs;
    slides::MessageLog messages;
    chartdoc::ChartDocument context{chart1, dialogs, messages};
    chartdoc::TableImage &table = context.table();
    settings::Form2State &form2 = context.form2();
    FakeFilesHost host;
    shell::LoadSave files{{state, settings, context, chart2, host}};
    shell::RecentFileList list;
    shell::RecentListCommands recent{list, state, dialogs, host, files};

    FilesFixture()
    {
        chart1.setViewSize(QSize(480, 360));
        chart2.setViewSize(QSize(480, 360));
        chartdoc::buildSampleChart(chart1, chart2);
        host.recent = &recent;
        host.folder = dir.path();
        host.accessLog = path(QStringLiteral("qelAccshost1.log"));
        state.qelDir = dir.path() + QLatin1Char('/');
    }
    ~FilesFixture() override { QDir::setCurrent(savedCurrent); }

    QString path(const QString &name) const { return dir.filePath(name); }

    // A copy of a fixture file in the temporary folder.
    QString copyOf(const QString &fixture, const QString &name = QString())
    {
        const QString target = path(name.isEmpty() ? fixture : name);
        writeFile(target, readFile(fixturePath(fixture)));
        return target;
    }

    // A chart file holding the sample chart with options in its right title.
    QString sampleChartFile(const QString &name)
    {
        chartview::ChartControl chart;
        chart.setViewSize(QSize(480, 360));
        chartview::ChartControl other;
        chartdoc::buildSampleChart(chart, other);
        chart.setTitleCaption(1, QStringLiteral("右{kyOpt}{regr=3}{commonX}"));
        chart.setSeriesCaption(0, name);
        const QString target = path(name);
        EXPECT_EQ(chart.ExportFile(chartview::FormatChartFile, target), 0);
        return target;
    }

    // The log as written: CP932, so a Japanese title is two bytes a character.
    QString logText() const
    {
        const QByteArray bytes = readFile(host.accessLog);
        const QString text = os::decodeText(bytes).text;
        EXPECT_EQ(os::encodeText(text), bytes);
        return text;
    }

    // A log line with its date and time as the moment wrote them.
    static QString stamped(const QString &text)
    {
        QString pattern = QRegularExpression::escape(text);
        pattern.replace(QStringLiteral("DATE"), QStringLiteral("\\d\\d-\\d\\d-\\d{4}"));
        pattern.replace(QStringLiteral("TIME"), QStringLiteral("\\d\\d:\\d\\d:\\d\\d"));
        return pattern;
    }
    static bool matchesWhole(const QString &text, const QString &pattern)
    {
        return QRegularExpression(QRegularExpression::anchoredPattern(pattern))
            .match(text)
            .hasMatch();
    }
};

} // namespace qel::test
