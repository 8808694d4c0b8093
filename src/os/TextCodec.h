#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text files (.Tbx, .df?, .Sld, legend, recent list, access log, Stat.txt) were written in
// the Windows ANSI code page. They are read as UTF-8 when they are UTF-8 and as CP932
// otherwise, and written as CP932 unless that would lose characters.
namespace qel::os {

enum class TextEncoding { Utf8Bom, Utf8, Cp932 };

struct DecodedText
{
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    // Bytes that were not valid CP932 either; they come out as replacement characters (U+FFFD).
    bool hasErrors = false;
};

DecodedText decodeText(const QByteArray &bytes);

// What the user is told once about a file that had such bytes.
QString unreadableCharactersNote(const QString &fileName);

// CP932 when every character survives the round trip, otherwise UTF-8 with a byte-order mark.
QByteArray encodeText(const QString &text);

// Replaces the characters Japanese text often carries in their JIS form (wave dash, double
// vertical line, minus, not sign, em dash) by the CP932 characters Windows shows for them.
QString foldToCp932(const QString &text);

// True when the text can be written as CP932 after folding.
bool fitsCp932(const QString &text);

// Splits at CR LF, LF or CR. A final line break does not start another line.
QStringList splitLines(const QString &text);

// The lines of a text file as written: each one ends in CR LF.
QByteArray encodeLines(const QStringList &lines);

// The whole new content of a file that gets text appended: the appended bytes follow the
// file's own encoding, and a CP932 file is rewritten as UTF-8 with a byte-order mark when
// the new text does not fit CP932, so one file never mixes two encodings.
QByteArray appendText(const QByteArray &existing, const QString &text);

} // namespace qel::os
