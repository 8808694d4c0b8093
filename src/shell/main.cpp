#include "os/IniSettingsStore.h"
#include "os/ProcessStarter.h"
#include "os/Useful.h"
#include "shell/CommandLine.h"
#include "shell/HeadlessExport.h"
#include "shell/ProgramState.h"
#include "shell/ui/HeadlessPrint.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/PictureViewer.h"
#include "shell/ui/WidgetDialogs.h"
#include "slides/SlideScript.h"
#include "slides/SpeechCommand.h"
#include "slides/SpeechServices.h"
#include "slides/Voice.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Work that needs no window (--help, --version, --export, --print) runs on the offscreen platform,
// so it works the same on a machine without a display.
bool runsWithoutWindow(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h") || !std::strcmp(a, "--version") ||
            !std::strcmp(a, "-v") || !std::strncmp(a, "--export", 8) ||
            !std::strncmp(a, "--print", 7) || !std::strcmp(a, "--slide-table") ||
            !std::strcmp(a, "--voices") || !std::strncmp(a, "--say", 5) ||
            !std::strncmp(a, "--voice", 7) || !std::strncmp(a, "--rate", 6) ||
            !std::strncmp(a, "--wav", 5))
            return true;
    }
    return false;
}

// --slide-table: the slides a script holds, as the show would play them.
int printSlideTable(const QString &script)
{
    using qel::slides::SlideScript;
    qel::slides::SlideTable table;
    const qel::os::Result read = SlideScript::read(script, table);
    if (!read.ok()) {
        std::fprintf(stderr, "qelpro: %s\n", read.message.toUtf8().constData());
        return 1;
    }
    for (const QString &note : {read.message, SlideScript::overflowNotice(table)}) {
        if (!note.isEmpty())
            std::fprintf(stderr, "qelpro: %s\n", note.toUtf8().constData());
    }
    const QByteArray json = SlideScript::toJson(table);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}

// The start-up benchmark (bench/first_paint.py, QELPRO_BENCH_FIRST_PAINT): prints the wall clock
// once the main window has been painted and handed to the screen, and ends at once, keeping
// nothing of the session. The window's paint ends with the first event after it that is meant
// for something else (another window, a timer), or with the event loop's next turn.
class FirstPaintProbe : public QObject
{
public:
    explicit FirstPaintProbe(QWidget *window)
        : m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_painted) {
            if (watched == m_window && event->type() == QEvent::Paint) {
                m_painted = true;
                QTimer::singleShot(0, this, &FirstPaintProbe::report);
            }
            return false;
        }
        const auto *widget = qobject_cast<const QWidget *>(watched);
        const bool ours = widget ? widget == m_window || m_window->isAncestorOf(widget)
                                 : watched == m_window->windowHandle();
        if ((widget || watched->isWindowType()) && !ours)
            report();
        return false;
    }

private:
    static void report()
    {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("first-paint %lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        std::_Exit(0);
    }

    QWidget *m_window;
    bool m_painted = false;
};

int runWindow(QApplication &app, const qel::shell::CommandLine &line)
{
    using namespace qel;
    shell::ProgramState state;
    os::IniSettingsStore settings;
    shell::WidgetDialogs dialogs;
    os::QtProcessStarter starter;
    slides::SpeechServices::Options speechOptions;
    speechOptions.voicePgm = [&state] { return state.voicePgm; };
    speechOptions.dialogs = &dialogs;
    // Without a sound device the speech is kept where the user can play it.
    speechOptions.fallbackWav =
        QDir(shell::programDirectory()).filePath(QStringLiteral("qelPro-speech.wav"));
    slides::SpeechServices speech(speechOptions);
    shell::MainWindow window({.state = state,
                              .settings = settings,
                              .dialogs = dialogs,
                              .starter = starter,
                              .speech = speech.voice(),
                              .speechServices = &speech});
    dialogs.setParent(&window);
    std::optional<FirstPaintProbe> probe;
    if (qEnvironmentVariableIsSet("QELPRO_BENCH_FIRST_PAINT"))
        probe.emplace(&window);

    shell::StartupOptions options;
    options.commandLine = line.file;
    window.setStartupOptions(options);
    bool ended = false;
    QObject::connect(&window, &shell::MainWindow::programEnded, &app, [&ended] {
        ended = true;
        QApplication::quit();
    });
    window.Form_Load();
    // A settings file that could not be used is told once, over the window that started anyway.
    if (!ended && !settings.problem().isEmpty())
        dialogs.inform(settings.problem(), os::MessageIcon::Exclamation);
    // Quitting during the start-up greeting ends the program before its event loop starts.
    return ended ? 0 : app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    qel::os::keepFreedMemory();
    const bool headless = runsWithoutWindow(argc, argv);
    const bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!platformChosen && headless)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!platformChosen && !headless && !hasDisplay()) {
        std::fprintf(stderr, "qelpro: no display; use --export OUT to render the chart to a "
                             "file\n");
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qelPro"));
    QApplication::setApplicationVersion(qel::shell::ProgramState::fullVersionText());

    const qel::shell::CommandLine line = qel::shell::CommandLine::parse(app.arguments());
    if (!line.ok) {
        std::fprintf(stderr, "qelpro: %s\n", line.error.toUtf8().constData());
        return 2;
    }
    if (line.slideTable)
        return printSlideTable(line.file);
    if (line.listVoices) {
        QTextStream out(stdout);
        QTextStream errors(stderr);
        return qel::slides::SpeechCommand::listVoices(out, errors);
    }
    if (line.say) {
        QString error;
        const int rc =
            qel::slides::SpeechCommand::say({line.sayText, line.voice, line.rate, line.wav}, error);
        if (rc != 0)
            std::fprintf(stderr, "qelpro: %s\n", error.toUtf8().constData());
        return rc;
    }
    if (!line.exportPath.isEmpty()) {
        QString error;
        const int rc = qel::shell::HeadlessExport::run(line.exportPath, line.exportSize, line.file,
                                                       error, &line.regression, line.answerYes,
                                                       &qel::shell::PictureViewer::readPicture);
        if (rc != 0)
            std::fprintf(stderr, "qelpro: %s\n", error.toUtf8().constData());
        return rc;
    }
    if (!line.print.output.isEmpty()) {
        QString error;
        const int rc = qel::shell::HeadlessPrint::run(line.print, line.file, error);
        if (rc != 0)
            std::fprintf(stderr, "qelpro: %s\n", error.toUtf8().constData());
        return rc;
    }
    return runWindow(app, line);
}
