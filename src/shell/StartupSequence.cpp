#include "shell/StartupSequence.h"

#include "chartview/ChartView.h"
#include "shell/MainForm.h"
#include "shell/ProgramState.h"
#include "shell/ShippedFiles.h"
#include "shell/StartupChart.h"
#include "shell/StartupSettings.h"
#include "slides/SpeechOutput.h"

#include <QCoreApplication>
#include <QThread>

#include <cmath>

namespace qel::shell {

namespace {

constexpr double SecondsPerDay = 86400;

void processEventsBriefly()
{
    QCoreApplication::processEvents();
    QThread::msleep(2); // the wait must not keep a core busy
}

} // namespace

StartupSequence::StartupSequence(const Context &context, StartupOptions options)
    : m_context(context)
    , m_options(std::move(options))
{
    if (m_options.programDir.isEmpty())
        m_options.programDir = programDirectory();
    if (m_options.windowsDir.isEmpty())
        m_options.windowsDir = os::windowsDirectory();
    if (!m_options.timeOfDay)
        m_options.timeOfDay = os::systemTimeOfDay;
    if (!m_options.pumpEvents)
        m_options.pumpEvents = processEventsBriefly;
}

QSize StartupSequence::windowSize(const QSize &screen)
{
    if (screen.isEmpty())
        return {};
    const double w = screen.width();
    const double h = screen.height();
    const double aspect = w / h;
    const double factor = aspect > 4.0 / 3.0 ? (4.0 / 3.0) / aspect : 1.0;
    return QSize(int(std::lround(w * 0.6 * factor)), int(std::lround(h * 0.6)));
}

QString StartupSequence::greeting(const QString &verString)
{
    return QStringLiteral("Welcome to, QEL professional world. ようこそQELプロに，versionは") +
           verString + QStringLiteral("です");
}

QString StartupSequence::readerGreeting(const QString &verString)
{
    return QStringLiteral("NEC TTSです。qelプロのワールドに’ようこそ!。バージョンは") + verString +
           QStringLiteral("です");
}

void StartupSequence::run()
{
    MainForm &form = m_context.form;
    ProgramState &state = m_context.state;
    const QString &programDir = m_options.programDir;

    form.setWindowSize(windowSize(form.screenSize()));
    form.registerFileTypes();
    state.osName = os::windowsVersionName();
    form.chart1().ResourceLibrary(resourceLibrary());
    form.chart2().ResourceLibrary(resourceLibrary());

    // The folder gets the shipped charts and help the first time; a file that cannot be
    // written is simply missing below, which start-up allows.
    ShippedFiles::install(programDir);
    const QString dir =
        programDir.endsWith(QLatin1Char('/')) ? programDir : programDir + QLatin1Char('/');
    form.chart1().ImportFile(chartview::FormatChartFile, dir + QStringLiteral("qelPro.chf"));
    form.chart2().ImportFile(chartview::FormatChartFile, dir + QStringLiteral("qelMult.chf"));
    form.chart1().clearError(); // a missing start-up chart is not reported
    form.chart2().clearError();

    form.setComboAccessFile(2, state.currentFile);
    recordStartupPaths(state, m_context.settings, programDir, m_options.windowsDir);

    form.chart1().setPointGap(0);
    form.chart1().setDepth3D(50);
    form.setChart2Width(Chart2Width);

    StartupChart(form, m_context.table).run(m_options.commandLine, state.qelDir);

    form.showForm();
    form.showAbout();

    // The greeting goes through the chosen voice: the speech engine says the greeting, an
    // outside reader its own words without being waited for. With no voice nothing is said,
    // nothing waits, and the about window stays until its OK.
    slides::SpeechOutput &speech = m_context.speech;
    switch (speech.voiceSystem()) {
    case slides::VoiceSystem::None:
        return;
    case slides::VoiceSystem::Engine:
        if (speech.warikomiSpeech(greeting(state.verString)) == 0)
            return;
        break;
    case slides::VoiceSystem::TextReader:
    case slides::VoiceSystem::DocumentTalker: {
        QString reader = QStringLiteral("{VoiceNotSelfend}") + readerGreeting(state.verString);
        speech.voiceSpeak(reader);
        break;
    }
    }
    waitForGreeting();
    form.unloadAbout();
    form.chart1().Refresh();
}

bool StartupSequence::waitForGreeting()
{
    const double start = std::nearbyint(m_options.timeOfDay());
    for (;;) {
        if (m_context.state.aboutDone == 1)
            return true;
        double elapsed = m_options.timeOfDay() - start;
        if (elapsed < -SecondsPerDay / 2)
            elapsed += SecondsPerDay; // midnight passed during the wait
        if (elapsed > m_options.greetingSeconds)
            return false;
        m_options.pumpEvents();
    }
}

} // namespace qel::shell
