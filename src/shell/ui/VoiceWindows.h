#pragma once

#include "settings/ui/Form2.h"
#include "slides/ui/TTSAppMain.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace qel::chartview {
class ChartView;
}
namespace qel::os {
class SettingsStore;
class UserDialogs;
} // namespace qel::os
namespace qel::settings {
class Form2State;
class VoiceSettings;
} // namespace qel::settings
namespace qel::slides {
class SpeechServices;
} // namespace qel::slides

namespace qel::shell {

struct ProgramState;

// The settings window Form2 with its voice half, and the speech window: created on first use,
// kept until the main window closes. Without speech services (tests of the main window) the
// settings window opens without its voice half and the settings are only read.
class VoiceWindows : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        QWidget *owner;
        settings::Form2State &form2State;
        chartview::ChartView &chart;
        os::UserDialogs &dialogs;
        os::SettingsStore &store;
        ProgramState &state;
        slides::SpeechServices *speech = nullptr;
        std::function<QString()> programFolder; // asked when first needed
        std::function<void()> endProgram;
        // The table editor's half: its panel joins the settings window when it is made, and
        // its choice (cmdSetEditVoice 0) runs when the stored editor is empty at start-up.
        std::function<void(settings::Form2 &)> settingsWindowMade;
        std::function<void()> chooseTableEditor;
        // setVoiceEDitAvailable of the slide window, when a show runs.
        std::function<void()> setVoiceEDitAvailable;
    };

    explicit VoiceWindows(Parts parts);
    ~VoiceWindows() override;

    bool hasSpeech() const { return m_parts.speech != nullptr; }
    bool hasSettingsWindow() const { return !m_form2.isNull(); }
    settings::Form2 *form2();
    // Created on first use, once the program folder is known; null without speech.
    settings::VoiceSettings *voiceSettings();
    slides::TTSAppMain *speechWindow() const { return m_tts; }

    // SScmdQEL and the settings menu entry: the settings window, not modal.
    void showSettings(int tab);
    // The speech window, shown for the special chart file.
    void showSpeechEngine();
    // Save1Load2XclVoiceIni, what the recent list's load starts with.
    void Save1Load2XclVoiceIni(int mode);
    void closeAll();
    // What the status bar says when a voice is chosen but no sound device can play it (the
    // speech then goes to a WAV file); empty otherwise.
    QString outputNote() const;

private:
    bool startReaderChooser();

    Parts m_parts;
    std::unique_ptr<settings::VoiceSettings> m_voice;
    QPointer<settings::Form2> m_form2;
    QPointer<slides::TTSAppMain> m_tts;
};

} // namespace qel::shell
