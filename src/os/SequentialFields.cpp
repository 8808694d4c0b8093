#include "os/SequentialFields.h"

namespace qel::os {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

SequentialFields::SequentialFields(QStringView text)
    : m_text(text)
{}

bool SequentialFields::atLineEnd() const
{
    return m_pos < m_text.size() && (m_text[m_pos] == u'\r' || m_text[m_pos] == u'\n');
}

void SequentialFields::skipLineEnd()
{
    if (m_pos < m_text.size() && m_text[m_pos] == u'\r')
        ++m_pos;
    if (m_pos < m_text.size() && m_text[m_pos] == u'\n')
        ++m_pos;
}

bool SequentialFields::readField(QString &field, bool *quoted)
{
    field.clear();
    if (quoted)
        *quoted = false;
    if (atEnd())
        return false;
    const qsizetype n = m_text.size();
    while (m_pos < n && isBlank(m_text[m_pos]))
        ++m_pos;
    if (m_pos < n && m_text[m_pos] == u'"') {
        if (quoted)
            *quoted = true;
        ++m_pos;
        while (m_pos < n) {
            const QChar c = m_text[m_pos++];
            if (c != u'"') {
                field += c;
                continue;
            }
            if (m_pos < n && m_text[m_pos] == u'"') {
                field += u'"';
                ++m_pos;
                continue;
            }
            break;
        }
        // Whatever follows the closing quote up to the delimiter is not part of the field.
        while (m_pos < n && m_text[m_pos] != u',' && !atLineEnd())
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < n && m_text[m_pos] != u',' && !atLineEnd())
            ++m_pos;
        qsizetype end = m_pos;
        while (end > start && isBlank(m_text[end - 1]))
            --end;
        field = m_text.mid(start, end - start).toString();
    }
    if (m_pos < n && m_text[m_pos] == u',') {
        ++m_pos;
        // A comma at the end of a line ends the line too.
        if (atLineEnd())
            skipLineEnd();
    } else {
        skipLineEnd();
    }
    return true;
}

bool SequentialFields::readLine(QString &line)
{
    line.clear();
    if (atEnd())
        return false;
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && !atLineEnd())
        ++m_pos;
    line = m_text.mid(start, m_pos - start).toString();
    skipLineEnd();
    return true;
}

qsizetype SequentialFields::remainingLines() const
{
    qsizetype lines = 0;
    bool open = false;
    for (qsizetype i = m_pos; i < m_text.size(); ++i) {
        const QChar c = m_text[i];
        if (c == u'\r' || c == u'\n') {
            ++lines;
            open = false;
            if (c == u'\r' && i + 1 < m_text.size() && m_text[i + 1] == u'\n')
                ++i;
        } else {
            open = true;
        }
    }
    return lines + (open ? 1 : 0);
}

} // namespace qel::os
