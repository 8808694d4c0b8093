#pragma once

#include <QString>

namespace qel::os {

// A path taken apart: "/d/a.b.chf" has directory "/d/", file name "a.b.chf",
// base name "a" and extension ".b.chf" (from the first "." of the file name on).
struct PathParts
{
    QString directory;
    QString fileName;
    QString baseName;
    QString extension;

    static PathParts of(const QString &path);
    QString lowerExtension() const { return extension.toLower(); }
};

// Splits text at the first (or last) delimiter. When the delimiter is absent, before is
// left as it was and after becomes the whole text; the result says whether it was found.
bool splitAtFirst(const QString &text, const QString &delimiter, QString &before, QString &after);
bool splitAtLast(const QString &text, const QString &delimiter, QString &before, QString &after);

} // namespace qel::os
