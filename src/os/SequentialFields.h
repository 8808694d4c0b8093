#pragma once

#include <QString>
#include <QStringView>

namespace qel::os {

// Reads a text the way a sequential file is read with Input # and Line Input #: fields
// separated by commas or line ends, a field in double quotes may hold commas and line breaks
// (a doubled quote inside it stands for one quote), and whole lines on request.
// Line ends are CR LF, LF or CR.
class SequentialFields
{
public:
    explicit SequentialFields(QStringView text);

    bool atEnd() const { return m_pos >= m_text.size(); }

    // Input #: the next field, blanks around an unquoted field removed. False at the end.
    // quoted tells whether the field was in quotes.
    bool readField(QString &field, bool *quoted = nullptr);
    // Line Input #: the rest of the current line. False at the end.
    bool readLine(QString &line);
    // Lines left from the current position on (an unfinished last line counts).
    qsizetype remainingLines() const;

private:
    void skipLineEnd();
    bool atLineEnd() const;

    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace qel::os
