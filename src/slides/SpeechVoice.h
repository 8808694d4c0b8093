#pragma once

#include <QString>

namespace qel::slides {

// One voice the speech engine can speak with.
struct SpeechVoice
{
    QString id;       // "open_jtalk:nitech_jp_atr503_m001", "espeak-ng:en-us"
    QString name;     // for the voice list
    QString language; // BCP 47 style: "ja", "en-us"
    QString backend;  // "open_jtalk" or "espeak-ng"
    QString file;     // the voice file, where the back end has one
    bool readsKanji = false;

    bool isValid() const { return !id.isEmpty(); }
    bool isJapanese() const
    {
        return language == QLatin1String("ja") || language.startsWith(QLatin1String("ja-"));
    }
    // "name (language, back end)" as the voice list shows it.
    QString description() const
    {
        return QStringLiteral("%1 (%2, %3)").arg(name, language, backend);
    }
};

} // namespace qel::slides
