#pragma once

#include "FakeForm.h"

#include "os/IniSettingsStore.h"
#include "shell/ProgramState.h"
#include "shell/ui/MainWindow.h"
#include "support/FakeDialogs.h"
#include "support/FakeProcessStarter.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace qel::test {

// The whole program, offscreen: the main window over temporary program, data and settings
// folders, with dialogues, programs and speech recorded and the time of day in the test's hand.
struct WindowFixture : ::testing::Test
{
    QTemporaryDir programDir;
    QTemporaryDir dataDir;
    QTemporaryDir configDir;
    QString savedCurrent = QDir::currentPath();
    shell::ProgramState state;
    os::IniSettingsStore settings{configDir.path()};
    FakeDialogs dialogs;
    FakeProcessStarter starter;
    QStringList speechLog;
    RecordingSpeech speech{speechLog};
    std::unique_ptr<shell::MainWindow> window;
    double clock = 3600;
    int pumps = 0;
    bool ended = false;

    ~WindowFixture() override
    {
        close();
        QDir::setCurrent(savedCurrent);
    }

    // What the window is given; a test adds its own timer, printer dialogues or voice here, and
    // closes the window in its destructor while they are still there.
    virtual shell::MainWindow::Services services()
    {
        return {state, settings, dialogs, starter, speech};
    }

    // Called once the window exists, before it loads.
    virtual void windowCreated() {}

    // Starts the program as the user does, with the given command line.
    void start(const QString &commandLine = QString())
    {
        window = std::make_unique<shell::MainWindow>(services());
        windowCreated();
        shell::StartupOptions options;
        options.programDir = programDir.path();
        options.dataHome = programDir.filePath(QStringLiteral("share"));
        options.runDesktopTools = false;
        options.commandLine = commandLine;
        options.timeOfDay = [this] { return clock; };
        options.pumpEvents = [this] {
            QCoreApplication::processEvents();
            ++pumps;
            clock += 1;
        };
        window->setStartupOptions(options);
        QObject::connect(window.get(), &shell::MainWindow::programEnded, [this] { ended = true; });
        window->Form_Load();
        settle();
    }

    // Quits, answering the quit question with OK.
    void close()
    {
        if (window && window->isVisible()) {
            dialogs.answers = {os::MessageAnswer::Ok};
            window->close();
        }
        window.reset();
    }

    void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <typename T = QWidget> T *control(const char *name)
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
};

} // namespace qel::test
