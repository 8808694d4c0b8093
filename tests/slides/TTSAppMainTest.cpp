#include "slides/ui/TTSAppMain.h"
#include "slides/SpeechEngine.h"
#include "slides/SpeechForm.h"
#include "slides/SpeechServices.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using slides::TTSAppMain;

TEST(TTSAppMain, ControlsListsAndButtonStates)
{
    QTemporaryDir dir;
    slides::SpeechServices::Options options;
    options.wavPath = dir.filePath(QStringLiteral("speech.wav"));
    slides::SpeechServices services(options);
    TTSAppMain window(services);
    window.show();

    EXPECT_EQ(window.windowTitle(), TTSAppMain::caption());
    EXPECT_FALSE(window.windowTitle().contains(QStringLiteral("SAPI")));
    for (const char *name :
         {"MainTxtBox", "SpeakBtn", "StopBtn", "PauseBtn", "SkipBtn", "ResetBtn", "VoiceCB",
          "RateSldr", "VolumeSldr", "FormatCB", "AudioOutputCB", "SkipTxtBox", "chkSpFlagAync",
          "chkSpFlagPurgeBeforeSpeak", "chkSpFlagIsXML", "chkSpFlagIsFilename",
          "chkSpFlagNLPSpeakPunc", "chkSpFlagPersistXML", "chkShowEvents"})
        EXPECT_NE(window.findChild<QWidget *>(QLatin1String(name)), nullptr) << name;

    EXPECT_EQ(window.mainTextBox()->toPlainText(), slides::SpeechForm::initialText());
    EXPECT_EQ(window.formatBox()->count(), 36);
    EXPECT_EQ(window.formatBox()->currentText(), QStringLiteral("SAFT22kHz16BitMono"));
    EXPECT_EQ(window.formatBox()->currentData().toInt(), 22);
    // Speech into a file: no sound device to choose.
    EXPECT_EQ(window.outputBox()->currentText(), TTSAppMain::noOutputText());
    EXPECT_FALSE(window.outputBox()->isEnabled());
    EXPECT_EQ(window.rateSlider()->minimum(), -10);
    EXPECT_EQ(window.volumeSlider()->value(), 100);

    const QList<slides::SpeechVoice> voices = services.engine().voices();
    EXPECT_EQ(window.voiceBox()->count(), voices.size());
    if (!voices.isEmpty() && voices.first().readsKanji) {
        EXPECT_TRUE(window.voiceBox()->itemText(0).startsWith(QStringLiteral("Open JTalk")));
    }
    EXPECT_EQ(window.missingLabel()->isVisibleTo(&window),
              !services.engine().missingTexts().isEmpty());

    EXPECT_TRUE(window.speakButton()->isEnabled());
    EXPECT_FALSE(window.stopButton()->isEnabled());
    EXPECT_FALSE(window.pauseButton()->isEnabled());
    EXPECT_FALSE(window.skipButton()->isEnabled());

    window.mainTextBox()->setPlainText(QStringLiteral("今日は良い天気です。"));
    window.speakButton()->click();
    EXPECT_EQ(services.form().mainText(), QStringLiteral("今日は良い天気です。"));
    EXPECT_TRUE(window.stopButton()->isEnabled());
    EXPECT_TRUE(window.pauseButton()->isEnabled());
    EXPECT_TRUE(window.skipButton()->isEnabled());
    window.pauseButton()->click();
    EXPECT_EQ(window.pauseButton()->text(), QStringLiteral("Resume"));
    EXPECT_FALSE(window.skipButton()->isEnabled());
    window.grab().save(QDir::temp().filePath(QStringLiteral("qel-ttsappmain.png")));
    window.stopButton()->click();
    EXPECT_FALSE(window.stopButton()->isEnabled());
    EXPECT_EQ(window.pauseButton()->text(), QStringLiteral("Pause"));
    EXPECT_TRUE(services.engine().isIdle());

    // Reset puts the designed defaults back.
    window.rateSlider()->setValue(5);
    window.volumeSlider()->setValue(20);
    window.formatBox()->setCurrentIndex(0);
    window.findChild<QPushButton *>(QStringLiteral("ResetBtn"))->click();
    EXPECT_EQ(window.rateSlider()->value(), 0);
    EXPECT_EQ(window.volumeSlider()->value(), 100);
    EXPECT_EQ(services.engine().format().name, QStringLiteral("SAFT22kHz16BitMono"));
    EXPECT_EQ(window.mainTextBox()->toPlainText(), slides::SpeechForm::initialText());
}
