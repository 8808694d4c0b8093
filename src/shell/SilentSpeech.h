#pragma once

#include "slides/SpeechOutput.h"

namespace qel::shell {

// Speech until a voice engine is built in: every text is accepted and nothing is heard,
// so callers keep their order and timing.
class SilentSpeech : public slides::SpeechOutput
{
public:
    int warikomiSpeech(const QString &text) override;
    void voiceSpeak(QString &text) override;
    void voiceStop() override {}
};

} // namespace qel::shell
