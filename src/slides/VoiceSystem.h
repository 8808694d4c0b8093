#pragma once

#include <QString>

namespace qel::slides {

// The voice systems "Voice pgm" can choose. The stored values stay those of the Windows
// program: "MSAPI" for the speech engine, a command line holding "tts.exe" for the text
// reader, "DTALKER.EXE" for the document talker.
enum class VoiceSystem { None, Engine, TextReader, DocumentTalker };

class VoiceSystems
{
public:
    // The voice output's rule: case-insensitive, "msapi" before "tts.exe" before
    // "dtalker.exe".
    static VoiceSystem fromProgram(const QString &voicePgm);
    // The settings labels' rule: upper case, "TTS." before "DTALKER." before "MSAPI".
    static VoiceSystem fromLabel(const QString &voicePgm);

    static QString engineValue() { return QStringLiteral("MSAPI"); }
    static QString textReaderValue() { return QStringLiteral("TTS.EXE"); }
    static QString documentTalkerValue() { return QStringLiteral("DTALKER.EXE"); }
    // "未設定": stored when the user closed the first voice question without choosing.
    static QString notSetValue() { return QStringLiteral("未設定"); }

    // The text reader's stored value for the reader with that id: "TTS.EXE espeak-ng".
    static QString textReaderValueFor(const QString &readerId);
    // The reader id a text reader value names; empty for an old value (a path to tts.exe).
    static QString readerIdOf(const QString &voicePgm);
};

} // namespace qel::slides
