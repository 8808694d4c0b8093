#pragma once

#include <QString>
#include <QStringList>

namespace qel::shell {

// The files that ship inside the program (the start-up charts, the help and the help text)
// and are written into the program folder when missing, never over a file already there.
class ShippedFiles
{
public:
    static QStringList names();
    // The built-in copy of a shipped file, readable with QFile.
    static QString builtIn(const QString &name);
    // Writes the missing files into programDir; returns the names that could not be written.
    static QStringList install(const QString &programDir);
};

} // namespace qel::shell
