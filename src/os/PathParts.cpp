#include "os/PathParts.h"

namespace qel::os {

PathParts PathParts::of(const QString &path)
{
    PathParts parts;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    parts.directory = path.left(slash + 1);
    parts.fileName = path.mid(slash + 1);
    const qsizetype dot = parts.fileName.indexOf(QLatin1Char('.'));
    parts.baseName = dot < 0 ? parts.fileName : parts.fileName.left(dot);
    parts.extension = dot < 0 ? QString() : parts.fileName.mid(dot);
    return parts;
}

namespace {

bool splitAt(qsizetype at, const QString &text, const QString &delimiter, QString &before,
             QString &after)
{
    if (at < 0 || delimiter.isEmpty()) {
        after = text;
        return false;
    }
    before = text.left(at);
    after = text.mid(at + delimiter.size());
    return true;
}

} // namespace

bool splitAtFirst(const QString &text, const QString &delimiter, QString &before, QString &after)
{
    return splitAt(text.indexOf(delimiter), text, delimiter, before, after);
}

bool splitAtLast(const QString &text, const QString &delimiter, QString &before, QString &after)
{
    return splitAt(text.lastIndexOf(delimiter), text, delimiter, before, after);
}

} // namespace qel::os
