#include "shell/WindowCaption.h"

namespace qel::shell {

QString WindowCaption::shortenedPath(const QString &path)
{
    if (path.size() <= LongPath)
        return path;
    // A character outside the BMP takes two code units; never cut one in half.
    qsizetype head = KeptEnds;
    if (path.at(head - 1).isHighSurrogate())
        --head;
    qsizetype tail = KeptEnds;
    if (path.at(path.size() - tail).isLowSurrogate())
        --tail;
    return path.left(head) + QStringLiteral(" .. ") + path.right(tail);
}

QString WindowCaption::text(const QString &verString, const QString &path)
{
    return verString + credit() + shortenedPath(path);
}

} // namespace qel::shell
