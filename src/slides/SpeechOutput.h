#pragma once

#include <QString>

namespace qel::slides {

// Speech as the rest of the program asks for it: the speech engine's interrupting speak and
// the voice output's speak and stop. The engine behind it is chosen in the voice settings.
class SpeechOutput
{
public:
    virtual ~SpeechOutput() = default;

    // warikomiSpeech: stops what is being said and says text. 0 when no engine took the text.
    virtual int warikomiSpeech(const QString &text) = 0;
    // voiceSpeak: the voice marks ("{VoiceNotSelfend}", ...) are taken out of text.
    virtual void voiceSpeak(QString &text) = 0;
    virtual void voiceStop() = 0;
};

} // namespace qel::slides
