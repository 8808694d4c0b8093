#include "slides/VoiceMarks.h"

namespace qel::slides {

bool VoiceMarks::take(QString &text, const QString &mark)
{
    const qsizetype at = text.indexOf(mark);
    if (at < 0)
        return false;
    text.remove(at, mark.size());
    return true;
}

QString VoiceMarks::blanked(const QString &text)
{
    QString out = text;
    for (const QString &mark : all()) {
        for (qsizetype at = out.indexOf(mark); at >= 0; at = out.indexOf(mark, at))
            out.replace(at, mark.size(), QString(mark.size(), QLatin1Char(' ')));
    }
    return out;
}

} // namespace qel::slides
