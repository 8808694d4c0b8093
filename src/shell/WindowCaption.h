#pragma once

#include <QString>

namespace qel::shell {

// The main window's caption for a file: the version, the credit and the path, a long path
// shortened to its beginning and end.
class WindowCaption
{
public:
    static constexpr qsizetype LongPath = 60; // longer paths are shortened
    static constexpr qsizetype KeptEnds = 28; // characters kept at each end

    static QString credit() { return QStringLiteral(" qelPro  "); }
    static QString shortenedPath(const QString &path);
    static QString text(const QString &verString, const QString &path);
};

} // namespace qel::shell
