#include "WindowFixture.h"

#include "settings/ui/Form2.h"
#include "settings/ui/VoicePanel.h"
#include "shell/ui/VoiceWindows.h"
#include "slides/SpeechForm.h"
#include "slides/SpeechServices.h"
#include "slides/Voice.h"
#include "slides/ui/TTSAppMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace qel;
using namespace Qt::StringLiterals;
using shell::MainWindow;

namespace {

// The main window with the real speech services, speaking into a WAV file.
struct VoiceWindowFixture : test::WindowFixture
{
    slides::SpeechServices voice{voiceOptions()};

    slides::SpeechServices::Options voiceOptions()
    {
        slides::SpeechServices::Options o;
        o.voicePgm = [this] { return state.voicePgm; };
        o.dialogs = &dialogs;
        o.wavPath = programDir.filePath(QStringLiteral("speech.wav"));
        return o;
    }

    shell::MainWindow::Services services() override
    {
        shell::MainWindow::Services given{state, settings, dialogs, starter, voice.voice()};
        given.speechServices = &voice;
        return given;
    }

    ~VoiceWindowFixture() override { close(); }

    QString stored(const char *key) const
    {
        return settings.value(QStringLiteral("qelPro"), QStringLiteral("Startup"),
                              QLatin1String(key));
    }
};

} // namespace

TEST_F(VoiceWindowFixture, TheFirstStartAsksForTheFolderAndTheVoiceOnce)
{
    start();
    // The settings were never written here: the folder question comes, then the voice tab.
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.messages[0].title.endsWith(QStringLiteral(" for Linux")));
    settings::Form2 *form2 = window->voiceWindows().form2();
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(form2->tabs()->currentIndex(), 1);
    auto *panel = form2->findChild<settings::VoicePanel *>(QStringLiteral("frameSetEditVoice"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->qelVoicePgm()->text(), QStringLiteral("未設定"));
    EXPECT_EQ(stored("Voice pgm"), QStringLiteral("未設定"));
    EXPECT_EQ(stored("Qel.Path"), QDir(programDir.path()).absolutePath());
    EXPECT_NE(window->aboutWindow(), nullptr) << "no voice: nothing waits, the about box stays";

    // The engine is chosen from the panel: it says so, and the labels follow.
    panel->choiceButton(3)->click();
    if (!voice.form().hasVoice())
        GTEST_SKIP() << "no voice on this machine";
    EXPECT_EQ(state.voicePgm, QStringLiteral("MSAPI"));
    EXPECT_EQ(stored("Voice pgm"), QStringLiteral("MSAPI"));
    EXPECT_TRUE(panel->qelVoicePgm()->text().startsWith(QStringLiteral("音声合成エンジン")));
    EXPECT_EQ(panel->qelVoiceCaption()->text(), QStringLiteral("MSAPI"));
    EXPECT_TRUE(voice.voice().sapiBusy());
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
    start();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << qPrintable(dialogs.messageTexts().join(u'|'));
    EXPECT_TRUE(window->statusBar()->currentMessage().contains(u"speech.wav"_s))
        << "without a sound device the status bar says where the speech goes";
    settings::Form2 *form2 = window->voiceWindows().form2();
    EXPECT_FALSE(form2->isVisible()) << "a voice is set: nothing is asked";

    window->findChild<QAbstractButton *>(QStringLiteral("SScmdQEL"))->click();
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->windowModality(), Qt::NonModal);
    EXPECT_EQ(form2->tabs()->currentIndex(), 0);
    form2->close();
    window->findChild<QAction *>(QStringLiteral("editSettings"))->trigger();
    EXPECT_TRUE(form2->isVisible());
    form2->close();

    window->showSpeechEngine();
    slides::TTSAppMain *tts = window->voiceWindows().speechWindow();
    ASSERT_NE(tts, nullptr);
    EXPECT_TRUE(tts->isVisible());
    EXPECT_EQ(tts->windowTitle(), slides::TTSAppMain::caption());
}
