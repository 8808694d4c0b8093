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
    chartview::ChartControl sample1, sample2;
    chartdoc::buildSampleChart(sample1, sample2);
    EXPECT_EQ(form.charts[0].SeriesCaption(0), sample1.SeriesCaption(0));
    EXPECT_EQ(form.charts[1].PointCaption(1), sample2.PointCaption(1));
    EXPECT_EQ(table.groupCount, sample1.SeriesTotal()) << "the table image follows the chart";
    EXPECT_EQ(table.pointCount, sample1.PointTotal());
    EXPECT_EQ(form.charts[0].Depth3D(), 50) << "from the depth box";
    EXPECT_FALSE(form.charts[0].ErrorPending());
    EXPECT_FALSE(form.charts[1].ErrorPending());
    const chartview::BackgroundGradient startGradient{true, chartview::GradientVertical,
                                                      chartview::rgb(255, 255, 128),
                                                      chartview::rgb(0, 255, 255)};
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

// The greeting waits until five whole seconds have passed on the time of day, pumping events
// after the spoken greeting began; the About window's OK ends it early.
TEST_F(StartupFixture, TheGreetingWaitsFiveWholeSecondsUnlessEndedEarly)
{
    const struct
    {
        const char *name;
        double start;
        int taken; // what the speech answers: 0 when nobody speaks
        int okAtPump;
        int pumps;
    } rows[] = {
        {"five seconds from 1000 (to the whole second)", 1000.4, 1, 0, 10},
        {"OK pressed at the third pass", 1000.4, 1, 3, 3},
        {"across midnight", 86399.2, 1, 0, 10},
        {"nobody speaks: the About window stays up", 1000.4, 0, 0, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        clock = row.start;
        pumps = 0;
        state.aboutDone = 0;
        speech.taken = row.taken;
        form.log.clear();
        QStringList pumpedAfter;
        onPump = [&] {
            pumpedAfter << form.log.last();
            if (pumps == row.okAtPump)
                state.aboutDone = 1;
            if (clock >= 86400)
                clock -= 86400;
        };
        run();
        EXPECT_EQ(pumps, row.pumps);
        for (const QString &last : pumpedAfter)
            EXPECT_TRUE(last.startsWith(QStringLiteral("warikomiSpeech"))) << qPrintable(last);
        EXPECT_EQ(form.log.contains(QStringLiteral("unloadAbout")), row.taken != 0);
    }
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
