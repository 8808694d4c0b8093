#pragma once

#include "os/Result.h"

#include <QByteArray>
#include <QString>

namespace qel::settings {

// The legend file of a chart or table file: the free text of the main window's legend box,
// kept beside a.CHF or a.Tbx as a.App.
class LegendFile
{
public:
    // The legend file for path: its last three characters replaced by "App". Empty for any
    // path that does not end in ".CHF" or ".TBX" (any case).
    static QString pathFor(const QString &path);

    // save1Load2AppendLegendFile: mode 1 saves legend for path, mode 2 loads it into legend
    // (cleared first; left empty when there is no legend file). Other paths do nothing.
    // Succeeds when a legend file was written or read; otherwise the message says why (a
    // missing legend file is no fault: its code is os::FileAccess::NotFound).
    static os::Result save1Load2AppendLegendFile(int mode, const QString &path, QString &legend);

    // The file's content: "File Legend{", the text as one quoted field, "}File Legend End".
    static QByteArray encode(const QString &legend);
    // Every field between "File Legend{" and "}File Legend End" (or the end), each followed
    // by CR LF.
    static QString decode(const QByteArray &bytes);

    // Larger files are not legend files; they are left unread.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
};

} // namespace qel::settings
