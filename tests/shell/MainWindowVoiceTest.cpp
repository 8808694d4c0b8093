#include "FakeForm.h"

#include "os/IniSettingsStore.h"
#include "settings/ui/Form2.h"
#include "settings/ui/VoicePanel.h"
#include "shell/ProgramState.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/VoiceWindows.h"
#include "slides/SpeechForm.h"
#include "slides/SpeechServices.h"
#include "slides/Voice.h"
#include "slides/ui/TTSAppMain.h"
#include "support/FakeDialogs.h"
#include "support/FakeProcessStarter.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using shell::MainWindow;

namespace {

// The main window with the real speech services, speaking into a WAV file.
struct VoiceWindowFixture : ::testing::Test
{
    QTemporaryDir programDir;
    QTemporaryDir configDir;
    QString savedCurrent = QDir::currentPath();
    shell::ProgramState state;
    os::IniSettingsStore settings{configDir.path()};
    test::FakeDialogs dialogs;
    test::FakeProcessStarter starter;
    slides::SpeechServices speech{options()};
    MainWindow window{{.state = state,
                        .settings = settings,
                        .dialogs = dialogs,
                        .starter = starter,
                        .speech = speech.voice(),
                        .speechServices = &speech}};
    double clock = 3600;

    slides::SpeechServices::Options options()
    {
        slides::SpeechServices::Options o;
        o.voicePgm = [this] { return state.voicePgm; };
        o.dialogs = &dialogs;
        o.wavPath = programDir.filePath(QStringLiteral("speech.wav"));
        return o;
    }

    VoiceWindowFixture()
    {
        shell::StartupOptions o;
        o.programDir = programDir.path();
        o.dataHome = programDir.filePath(QStringLiteral("share"));
        o.runDesktopTools = false;
        o.timeOfDay = [this] { return clock; };
        o.pumpEvents = [this] {
            QCoreApplication::processEvents();
            clock += 1;
        };
        window.setStartupOptions(o);
    }
    ~VoiceWindowFixture() override
    {
        if (window.isVisible()) {
            dialogs.answers = {os::MessageAnswer::Ok};
            window.close();
        }
        QDir::setCurrent(savedCurrent);
    }
    QString stored(const char *key) const
    {
        return settings.value(QStringLiteral("qelPro"), QStringLiteral("Startup"),
                              QLatin1String(key));
    }
};

} // namespace

TEST_F(VoiceWindowFixture, TheFirstStartAsksForTheFolderAndTheVoiceOnce)
{
    window.Form_Load();
    // The settings were never written here: the folder question comes, then the voice tab.
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.messages[0].title.endsWith(QStringLiteral(" for Linux")));
    settings::Form2 *form2 = window.voiceWindows().form2();
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(form2->tabs()->currentIndex(), 1);
    auto *panel = form2->findChild<settings::VoicePanel *>(QStringLiteral("frameSetEditVoice"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->qelVoicePgm()->text(), QStringLiteral("未設定"));
    EXPECT_EQ(stored("Voice pgm"), QStringLiteral("未設定"));
    EXPECT_EQ(stored("Qel.Path"), QDir(programDir.path()).absolutePath());
    EXPECT_NE(window.aboutWindow(), nullptr) << "no voice: nothing waits, the about box stays";

    // The engine is chosen from the panel: it says so, and the labels follow.
    panel->choiceButton(3)->click();
    if (!speech.form().hasVoice())
        GTEST_SKIP() << "no voice on this machine";
    EXPECT_EQ(state.voicePgm, QStringLiteral("MSAPI"));
    EXPECT_EQ(stored("Voice pgm"), QStringLiteral("MSAPI"));
    EXPECT_TRUE(panel->qelVoicePgm()->text().startsWith(QStringLiteral("音声合成エンジン")));
    EXPECT_EQ(panel->qelVoiceCaption()->text(), QStringLiteral("MSAPI"));
    EXPECT_TRUE(speech.voice().sapiBusy());
    form2->close();
}

TEST_F(VoiceWindowFixture, SettingsFromTheButtonAndTheMenuAndTheSpeechWindow)
{
    settings.setValue(QStringLiteral("qelPro"), QStringLiteral("Startup"),
                      QStringLiteral("Qel.Path"), QDir(programDir.path()).absolutePath());
    settings.setValue(QStringLiteral("qelPro"), QStringLiteral("Startup"),
                      QStringLiteral("Voice pgm"), QStringLiteral("MSAPI"));
    settings.setValue(QStringLiteral("qelPro"), QStringLiteral("Startup"),
                      QStringLiteral("Table Editor"), QStringLiteral("/usr/bin/localc"));
    window.Form_Load();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << qPrintable(dialogs.messageTexts().join(u'|'));
    settings::Form2 *form2 = window.voiceWindows().form2();
    EXPECT_FALSE(form2->isVisible()) << "a voice is set: nothing is asked";

    window.findChild<QAbstractButton *>(QStringLiteral("SScmdQEL"))->click();
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->windowModality(), Qt::NonModal);
    EXPECT_EQ(form2->tabs()->currentIndex(), 0);
    form2->close();
    window.findChild<QAction *>(QStringLiteral("editSettings"))->trigger();
    EXPECT_TRUE(form2->isVisible());
    form2->close();

    window.showSpeechEngine();
    slides::TTSAppMain *tts = window.voiceWindows().speechWindow();
    ASSERT_NE(tts, nullptr);
    EXPECT_TRUE(tts->isVisible());
    EXPECT_EQ(tts->windowTitle(), slides::TTSAppMain::caption());
}
