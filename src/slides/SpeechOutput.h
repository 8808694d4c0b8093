#pragma once

#include "slides/VoiceSystem.h"

#include <QString>

namespace qel::slides {

// Speech as the rest of the program asks for it: the speech engine's interrupting speak and
// the voice output's speak, busy and stop. The engine behind it is chosen in the voice
// settings. A slide show drives it through these calls while it pumps events.
class SpeechOutput
{
public:
    virtual ~SpeechOutput() = default;

    // warikomiSpeech: stops what is being said and says text. 0 when no engine took the text.
    virtual int warikomiSpeech(const QString &text) = 0;
    // voiceSpeak: the voice marks ("{VoiceNotSelfend}", ...) are taken out of text.
    virtual void voiceSpeak(QString &text) = 0;
    virtual void voiceStop() = 0;

    // voiceSpeakWait: voiceSpeak without "{VoiceNotSelfend}", so a reader is waited for.
    virtual void voiceSpeakWait(QString &text) { voiceSpeak(text); }
    // Whether the chosen system is still speaking.
    virtual bool voiceBusy() { return false; }
    // The speech engine itself: speak interrupting, speaking, stop.
    virtual void sapiSpeak(const QString &text) { warikomiSpeech(text); }
    virtual bool sapiBusy() { return false; }
    virtual void sapiStop() {}
    // Whether what was last given to speak could not be spoken: no voice, a reader that did
    // not start, a synthesis that failed.
    virtual bool voiceFailed() const { return false; }
    // The system the settings show as chosen (their first-match rule).
    virtual VoiceSystem voiceSystem() const { return VoiceSystem::None; }
};

} // namespace qel::slides
