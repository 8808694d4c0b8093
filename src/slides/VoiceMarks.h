#pragma once

#include <QString>
#include <QStringList>

namespace qel::slides {

// The marks a narration may carry: "{VoiceNotSelfend}" (do not wait for the end of the
// reading), "{VoiceStop}" and "{VoiceSync}".
class VoiceMarks
{
public:
    static QString notSelfend() { return QStringLiteral("{VoiceNotSelfend}"); }
    static QString stop() { return QStringLiteral("{VoiceStop}"); }
    static QString sync() { return QStringLiteral("{VoiceSync}"); }
    static QStringList all() { return {notSelfend(), stop(), sync()}; }

    // Takes the first occurrence of mark (exact case) out of text; whether it was there.
    static bool take(QString &text, const QString &mark);
    // The text with every mark blanked out, length unchanged, so that positions in it are
    // positions in the original: marks are never read aloud.
    static QString blanked(const QString &text);
};

} // namespace qel::slides
