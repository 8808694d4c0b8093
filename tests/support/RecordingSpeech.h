#pragma once

#include "slides/SpeechOutput.h"

#include <QStringList>

namespace qel::test {

// Speech that writes what it was asked to say into a log the test keeps.
class RecordingSpeech : public slides::SpeechOutput
{
public:
    explicit RecordingSpeech(QStringList &log)
        : m_log(log)
    {}
    int warikomiSpeech(const QString &text) override
    {
        m_log << QStringLiteral("warikomiSpeech ") + text;
        return taken;
    }
    void voiceSpeak(QString &text) override { m_log << QStringLiteral("voiceSpeak ") + text; }
    void voiceStop() override { m_log << QStringLiteral("voiceStop"); }
    bool voiceFailed() const override { return failed; }
    slides::VoiceSystem voiceSystem() const override { return system; }

    int taken = 1;
    slides::VoiceSystem system = slides::VoiceSystem::Engine;
    bool failed = false;

private:
    QStringList &m_log;
};

} // namespace qel::test
