#include "FakeForm.h"

#include "chartdoc/SampleChart.h"
#include "chartdoc/TableImage.h"
#include "chartview/render/ChartFile.h"
#include "os/IniSettingsStore.h"
#include "shell/ProgramState.h"
#include "shell/QuitConfirmation.h"
#include "shell/StartupSequence.h"
#include "shell/StartupSettings.h"
#include "support/FakeDialogs.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using chartview::rgb;

namespace {

struct StartupFixture : ::testing::Test
{
    QTemporaryDir programDir;
    QTemporaryDir configDir;
    QString savedCurrent = QDir::currentPath();
    os::IniSettingsStore store{configDir.path()};
    shell::StartupSettings settings{store};
    shell::ProgramState state;
    chartdoc::TableImage table;
    test::FakeForm form;
    test::RecordingSpeech speech{form.log};
    double clock = 1000.4;
    int pumps = 0;
    std::function<void()> onPump;

    ~StartupFixture() override { QDir::setCurrent(savedCurrent); }

    shell::StartupOptions options(const QString &commandLine = QString())
    {
        shell::StartupOptions o;
        o.programDir = programDir.path();
        o.windowsDir = QStringLiteral("/");
        o.commandLine = commandLine;
        o.timeOfDay = [this] { return clock; };
        o.pumpEvents = [this] {
            ++pumps;
            clock += 0.5;
            if (onPump)
                onPump();
        };
        return o;
    }

    void run(const QString &commandLine = QString())
    {
        shell::StartupSequence({form, state, settings, speech, table}, options(commandLine)).run();
    }

    QString file(const QString &name) const { return programDir.filePath(name); }
};

QString verString()
{
    return shell::ProgramState::versionText();
}

} // namespace

TEST_F(StartupFixture, RunsTheStepsInTheirOrder)
{
    run();
    const QStringList expected = {
        QStringLiteral("setWindowSize 864x648"),
        QStringLiteral("registerFileTypes"),
        QStringLiteral("setComboAccessFile 2 [] chart1 series 5"),
        QStringLiteral("setChart2Width 11055"),
        QStringLiteral("showForm"),
        QStringLiteral("showAbout"),
        QStringLiteral("warikomiSpeech Welcome to, QEL professional world. "
                       "ようこそQELプロに，versionは") +
            verString() + QStringLiteral("です"),
        QStringLiteral("unloadAbout"),
    };
    EXPECT_EQ(form.log, expected);
}

TEST_F(StartupFixture, TheGreetingGoesThroughTheChosenVoice)
{
    using slides::VoiceSystem;
    const QString reader =
        QStringLiteral("voiceSpeak {VoiceNotSelfend}NEC TTSです。qelプロのワールドに’ようこそ!。"
                       "バージョンは") +
        verString() + QStringLiteral("です");
    const struct
    {
        VoiceSystem system;
        QString said; // empty: nothing
        bool waits;
    } cases[] = {
        {VoiceSystem::Engine, QStringLiteral("warikomiSpeech Welcome"), true},
        {VoiceSystem::TextReader, reader, true},
        {VoiceSystem::DocumentTalker, reader, true},
        {VoiceSystem::None, QString(), false},
    };
    for (const auto &c : cases) {
        form.log.clear();
        pumps = 0;
        state.aboutDone = 0;
        speech.system = c.system;
        run();
        const QStringList said =
            form.log.filter(QRegularExpression(QStringLiteral("^(voice|wari)")));
        if (c.said.isEmpty()) {
            EXPECT_TRUE(said.isEmpty()) << int(c.system);
        } else {
            ASSERT_EQ(said.size(), 1) << int(c.system);
            EXPECT_TRUE(said[0].startsWith(c.said)) << int(c.system);
        }
        EXPECT_EQ(pumps > 0, c.waits) << int(c.system);
        EXPECT_EQ(form.log.contains(QStringLiteral("unloadAbout")), c.waits) << int(c.system);
    }
}

TEST_F(StartupFixture, LeavesTheSampleChartsPathsAndDefaultsInPlace)
{
    run();
    EXPECT_EQ(form.charts[0].SeriesCaption(0), QStringLiteral("Beef"));
    EXPECT_EQ(form.charts[0].TitleCaption(3), QStringLiteral("Fig.    QEL for Windows."));
    EXPECT_EQ(form.charts[1].SeriesCaption(0), QStringLiteral("qel"));
    EXPECT_EQ(form.charts[1].PointCaption(0), QStringLiteral("No.1"));
    EXPECT_EQ(form.charts[1].PointCaption(1), QStringLiteral("漢字"));
    EXPECT_EQ(table.groupCount, 5);
    EXPECT_EQ(table.pointCount, 12);
    EXPECT_EQ(form.charts[0].PointGap(), 0);
    EXPECT_EQ(form.charts[0].Depth3D(), 50);
    for (const auto &chart : form.charts) {
        EXPECT_EQ(chart.LayoutBits(), 272u);
        EXPECT_EQ(chart.PrintBits(), 16u);
        EXPECT_FALSE(chart.ErrorPending());
    }
    EXPECT_EQ(form.charts[0].model().backColorA, rgb(0, 192, 192));
    EXPECT_EQ(form.charts[0].model().indexedColor(chartview::IndexedWalls), rgb(180, 180, 180));
    const chartview::BackgroundGradient startGradient{true, chartview::GradientVertical,
                                                      rgb(255, 255, 128), rgb(0, 255, 255)};
    EXPECT_EQ(form.charts[0].backgroundGradient(), startGradient)
        << "the start-up chart keeps the designed gradient";

    EXPECT_EQ(state.qelDir, programDir.path() + QLatin1Char('/'));
    EXPECT_EQ(settings.programPath(), programDir.path()) << "no slash is added to Qel.Path";
    EXPECT_EQ(settings.version(), shell::ProgramState::fullVersionText() + QStringLiteral("j "));
    EXPECT_EQ(state.verString, verString());
    EXPECT_EQ(state.winPath, QStringLiteral("/"));
    for (const QString &name : {QStringLiteral("qelPro.chf"), QStringLiteral("qelMult.chf"),
                                QStringLiteral("qelPro.html"), QStringLiteral("qel-hlp.rtf")})
        EXPECT_TRUE(QFile::exists(file(name))) << qPrintable(name);
}

TEST_F(StartupFixture, WindowSizeIsSixtyPercentOfTheScreenAndNeverWiderThanFourToThree)
{
    const struct
    {
        QSize screen;
        QSize window;
    } cases[] = {
        {{1920, 1080}, {864, 648}},  // 16:9: 4/3 of 60 % of the height
        {{2560, 1080}, {864, 648}},  // 21:9
        {{1024, 768}, {614, 461}},   // 4:3: 60 % each way
        {{1280, 1024}, {768, 614}},  // 5:4 is narrower than 4:3
        {{1080, 1920}, {648, 1152}}, // portrait
        {{0, 0}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(shell::StartupSequence::windowSize(c.screen), c.window)
            << c.screen.width() << "x" << c.screen.height();
}

TEST_F(StartupFixture, GreetingWaitsFiveWholeSecondsPumpingEvents)
{
    QStringList pumpedAfterAbout;
    onPump = [&] { pumpedAfterAbout << form.log.last(); };
    run();
    // start = 1000 (to the whole second); the wait ends once the clock is past 1005.
    EXPECT_EQ(pumps, 10);
    EXPECT_DOUBLE_EQ(clock, 1005.4);
    for (const QString &last : pumpedAfterAbout)
        EXPECT_TRUE(last.startsWith(QStringLiteral("warikomiSpeech")))
            << "pumped after " << qPrintable(last);
    EXPECT_EQ(form.log.last(), QStringLiteral("unloadAbout"));
}

TEST_F(StartupFixture, AboutOkEndsTheGreetingEarly)
{
    onPump = [&] {
        if (pumps == 3)
            state.aboutDone = 1;
    };
    run();
    EXPECT_EQ(pumps, 3);
    EXPECT_EQ(form.log.last(), QStringLiteral("unloadAbout"));
}

TEST_F(StartupFixture, GreetingAcrossMidnightStillEndsAfterFiveSeconds)
{
    clock = 86399.2;
    onPump = [&] {
        if (clock >= 86400)
            clock -= 86400;
    };
    run();
    EXPECT_EQ(pumps, 10);
}

TEST_F(StartupFixture, AGreetingNobodySpeaksLeavesTheAboutWindowUp)
{
    speech.taken = 0;
    run();
    EXPECT_EQ(pumps, 0);
    EXPECT_EQ(form.log.last().left(15), QStringLiteral("warikomiSpeech "));
    EXPECT_FALSE(form.log.contains(QStringLiteral("unloadAbout")));
}

TEST_F(StartupFixture, AMissingProgramFolderDoesNotStopStartUp)
{
    // A folder below a plain file can be neither created nor written.
    test::writeFile(file(QStringLiteral("plain")), "x");
    shell::StartupOptions o = options();
    o.programDir = file(QStringLiteral("plain/qelPro"));
    shell::StartupSequence({form, state, settings, speech, table}, o).run();
    EXPECT_TRUE(form.log.contains(QStringLiteral("showForm")));
    // The copy built into the program stands in for the start-up chart it could not write.
    EXPECT_EQ(form.charts[0].SeriesTotal(), 5);
    EXPECT_FALSE(form.charts[0].ErrorPending());
    EXPECT_EQ(table.groupCount, 5);
}

TEST_F(StartupFixture, TheUsersOwnStartUpChartIsShownAndNeverOverwritten)
{
    chartview::ChartControl own;
    own.BeginDataLoad(chartview::ChannelValues, 2, 3);
    own.EndDataLoad(chartview::ChannelValues);
    own.setSeriesCaption(0, QStringLiteral("自分のグラフ"));
    ASSERT_EQ(own.ExportFile(chartview::FormatChartFile, file(QStringLiteral("qelPro.chf"))), 0);
    const QByteArray before = test::readFile(file(QStringLiteral("qelPro.chf")));
    run();
    EXPECT_EQ(test::readFile(file(QStringLiteral("qelPro.chf"))), before);
    EXPECT_EQ(form.charts[0].SeriesCaption(0), QStringLiteral("自分のグラフ"));
    EXPECT_EQ(table.groupCount, 2);
    EXPECT_EQ(table.pointCount, 3);
}

TEST_F(StartupFixture, ADamagedStartUpChartFallsBackToTheMultiChart)
{
    test::writeFile(file(QStringLiteral("qelPro.chf")), "{\"format\": \"qelPro-chart\", \"vers");
    chartview::ChartControl multi;
    multi.BeginDataLoad(chartview::ChannelValues, 3, 4);
    multi.EndDataLoad(chartview::ChannelValues);
    ASSERT_EQ(multi.ExportFile(chartview::FormatChartFile, file(QStringLiteral("qelProMulti.CHF"))),
              0);
    run();
    EXPECT_EQ(form.charts[0].SeriesTotal(), 3);
    EXPECT_FALSE(form.charts[0].ErrorPending());
}

TEST_F(StartupFixture, CommandLineSampleBuildsTheSampleInsteadOfTheStartUpChart)
{
    // Quotes are dropped and the name is found in any case.
    run(QStringLiteral("\"/home/u/KyCfx.CHF\""));
    EXPECT_FALSE(form.log.join(QLatin1Char('\n')).contains(QStringLiteral("openCommandLine")));
    chartview::ChartControl sample1, sample2;
    chartdoc::buildSampleChart(sample1, sample2);
    EXPECT_EQ(form.charts[0].SeriesCaption(4), sample1.SeriesCaption(4));
    EXPECT_EQ(form.charts[1].PointCaption(1), QStringLiteral("漢字"));
}

TEST_F(StartupFixture, ACommandLineFileThatOpensKeepsItsChart)
{
    form.opener = [&](const QString &line) {
        form.charts[0].BeginDataLoad(chartview::ChannelValues, 7, 2);
        form.charts[0].EndDataLoad(chartview::ChannelValues);
        return line;
    };
    run(QStringLiteral("\"/data/売上.tbx\""));
    EXPECT_TRUE(form.log.contains(QStringLiteral("openCommandLine /data/売上.tbx")));
    EXPECT_EQ(form.charts[0].SeriesTotal(), 7) << "the start-up chart must not replace it";
    EXPECT_EQ(table.groupCount, 7);
}

TEST_F(StartupFixture, ACommandLineFileThatFailsShowsTheStartUpChart)
{
    run(QStringLiteral("/data/missing.chf"));
    EXPECT_TRUE(form.log.contains(QStringLiteral("openCommandLine /data/missing.chf")));
    EXPECT_EQ(form.charts[0].SeriesCaption(0), QStringLiteral("Beef"));
}

TEST_F(StartupFixture, DepthComesFromTheDepthBoxWithinItsRange)
{
    const std::pair<const char16_t *, int> cases[] = {
        {u"120", 120}, {u"1500", 999}, {u"-4", 0}, {u"abc", 0}, {u" 75.6", 76}};
    for (const auto &[text, depth] : cases) {
        form.depth = QString::fromUtf16(text);
        form.log.clear();
        run();
        EXPECT_EQ(form.charts[0].Depth3D(), depth) << qPrintable(form.depth);
    }
}

TEST_F(StartupFixture, QuitCancelChangesNothingAndOkClosesSavesAndEnds)
{
    test::FakeDialogs dialogs;
    state.currentFile = QStringLiteral("/d/a.chf");
    shell::QuitConfirmation quit(form, dialogs, state);

    dialogs.answers = {os::MessageAnswer::Cancel};
    EXPECT_TRUE(quit.queryUnload());
    EXPECT_TRUE(form.log.isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1);
    const os::MessageRequest &box = dialogs.messages[0];
    EXPECT_EQ(box.text, QStringLiteral("終了"));
    EXPECT_EQ(box.title, QStringLiteral("qelPro End"));
    EXPECT_EQ(box.buttons, os::MessageButtons::OkCancel);
    EXPECT_EQ(box.icon, os::MessageIcon::None);

    dialogs.answers = {os::MessageAnswer::Ok};
    EXPECT_FALSE(quit.queryUnload());
    EXPECT_EQ(form.log,
              (QStringList{QStringLiteral("closeOtherWindows"),
                           QStringLiteral("setComboAccessFile 1 [/d/a.chf] chart1 series 0"),
                           QStringLiteral("endProgram")}));
}
