#include "shell/SilentSpeech.h"

namespace qel::shell {

int SilentSpeech::warikomiSpeech(const QString &text)
{
    Q_UNUSED(text);
    return 1; // taken, so the start-up greeting waits as if it were heard
}

void SilentSpeech::voiceSpeak(QString &text)
{
    Q_UNUSED(text); // with no voice system chosen the marks stay in the text
}

} // namespace qel::shell
