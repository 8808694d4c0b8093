#pragma once

#include "os/TextCodec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

#include <optional>

namespace qel::os {

// The lines of a text file read one at a time from its bytes, decoded exactly as decodeText
// decodes the whole file (the same encoding, the same characters, the same errors), without
// holding the decoded text of the whole file: a table file of a hundred megabytes needs no
// second copy twice its size. Lines end at CR LF, LF or CR.
class TextLines
{
public:
    explicit TextLines(QByteArray bytes);

    TextEncoding encoding() const { return m_encoding; }
    // Bytes that no encoding could read: they come out as U+FFFD, as in decodeText.
    bool hasErrors() const { return m_hasErrors; }

    // The next line without its end; the view holds until the next call. False at the end.
    bool nextLine(QStringView &line);
    // The bytes not read yet. Tabs and line ends stand in them where they stand in the text.
    QByteArrayView rest() const;
    // Gives the bytes back; no line follows.
    void release();

private:
    enum class Reading { Utf8, Cp932Whole, Cp932ByCharacter };

    // The line from begin to end (no line end in it) into m_line; whether it read cleanly.
    bool decode(qsizetype begin, qsizetype end);
    // Decodes every line that is not plain ASCII; false at the first one that fails.
    bool decodesCleanly();
    // The end of the line starting at pos, and where the next one starts.
    qsizetype lineEnd(qsizetype pos, qsizetype *next);
    // The CP932 decoder, ready for the next piece.
    QStringDecoder &cp932();

    QByteArray m_bytes;
    qsizetype m_pos = 0;
    qsizetype m_nextCr = -1; // where the next CR and LF are, once looked for
    qsizetype m_nextLf = -1;
    TextEncoding m_encoding = TextEncoding::Utf8;
    Reading m_reading = Reading::Utf8;
    bool m_hasErrors = false;
    QString m_line;
    qsizetype m_start = 0; // where the text starts, after a byte-order mark
    QStringDecoder m_utf8{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
    QStringDecoder m_utf8KeepingBom{QStringConverter::Utf8,
                                    QStringConverter::Flag::Stateless |
                                        QStringConverter::Flag::ConvertInitialBom};
    std::optional<QStringDecoder> m_cp932;
};

} // namespace qel::os
