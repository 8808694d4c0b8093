#include "slides/VoiceSystem.h"

namespace qel::slides {

VoiceSystem VoiceSystems::fromProgram(const QString &voicePgm)
{
    const QString p = voicePgm.toLower();
    if (p.contains(QLatin1String("msapi")))
        return VoiceSystem::Engine;
    if (p.contains(QLatin1String("tts.exe")))
        return VoiceSystem::TextReader;
    if (p.contains(QLatin1String("dtalker.exe")))
        return VoiceSystem::DocumentTalker;
    return VoiceSystem::None;
}

VoiceSystem VoiceSystems::fromLabel(const QString &voicePgm)
{
    const QString p = voicePgm.toUpper();
    if (p.contains(QLatin1String("TTS.")))
        return VoiceSystem::TextReader;
    if (p.contains(QLatin1String("DTALKER.")))
        return VoiceSystem::DocumentTalker;
    if (p.contains(QLatin1String("MSAPI")))
        return VoiceSystem::Engine;
    return VoiceSystem::None;
}

QString VoiceSystems::textReaderValueFor(const QString &readerId)
{
    return readerId.isEmpty() ? textReaderValue() : textReaderValue() + QLatin1Char(' ') + readerId;
}

QString VoiceSystems::readerIdOf(const QString &voicePgm)
{
    const QString prefix = textReaderValue() + QLatin1Char(' ');
    if (!voicePgm.startsWith(prefix, Qt::CaseInsensitive))
        return {};
    return voicePgm.mid(prefix.size()).trimmed();
}

} // namespace qel::slides
