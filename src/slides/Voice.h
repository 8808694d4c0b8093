#pragma once

#include "os/Useful.h"
#include "slides/ShowState.h"
#include "slides/SpeechOutput.h"
#include "slides/VoiceSystem.h"

#include <QObject>

#include <functional>

namespace qel::os {
class UserDialogs;
}

namespace qel::slides {

class ExternalReader;
class ReaderCatalog;
class SpeechForm;

// The module Voice: speaks a text with the voice system "Voice pgm" chooses, tells whether
// speech goes on and stops it. The speech engine is reached through the speech form; the text
// reader and the document talker are outside readers driven through their processes, in the
// order and with the waits the Windows program used with their windows and keystrokes.
class Voice : public SpeechOutput
{
public:
    struct Context
    {
        std::function<QString()> voicePgm;
        SpeechForm &form;
        ReaderCatalog &readers;
        ShowState &show;
        os::UserDialogs &dialogs;
        os::TimeOfDayFunction timeOfDay = os::systemTimeOfDay;
        std::function<void()> pumpEvents; // processes pending events once
    };

    static constexpr int StopSeconds = 5;  // a reader has this long to stop
    static constexpr int CloseSeconds = 2; // and this long to close

    explicit Voice(Context context);

    // SpeechOutput
    int warikomiSpeech(const QString &text) override;
    void voiceSpeak(QString &text) override;
    void voiceSpeakWait(QString &text) override;
    bool voiceBusy() override;
    void voiceStop() override;
    void sapiSpeak(const QString &text) override;
    bool sapiBusy() override;
    void sapiStop() override;
    VoiceSystem voiceSystem() const override;
    bool voiceFailed() const override;

    // The reader the chosen system speaks through; null for the engine or none.
    ExternalReader *currentReader();

private:
    void speakWithReader(QString &text);
    void talkWithDocumentTalker(const QString &text);
    // Loops while the time of day is below now + seconds, whole seconds; until() ends it early.
    void waitUpTo(int seconds, const std::function<bool()> &until);
    void closeReader(ExternalReader &reader);

    Context m_context;
    bool m_failed = false;
    QObject m_guard; // ends the engine's connection with this object
};

} // namespace qel::slides
