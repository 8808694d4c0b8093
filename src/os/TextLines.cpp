#include "os/TextLines.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace qel::os {

namespace {

// ICU's Windows variant of Shift_JIS, as TextCodec reads it.
constexpr const char *Cp932Name = "CP932";

bool isAscii(const char *data, qsizetype n)
{
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; i < n; ++i) {
        if (uchar(data[i]) >= 0x80)
            return false;
    }
    return true;
}

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(uchar b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

} // namespace

TextLines::TextLines(QByteArray bytes)
    : m_bytes(std::move(bytes))
{
    // A line end never falls inside a character of either encoding, so every line reads as it
    // reads within the whole text, and the whole reads cleanly when every line does.
    static const QByteArray bom("\xEF\xBB\xBF", 3);
    if (m_bytes.startsWith(bom)) {
        m_encoding = TextEncoding::Utf8Bom;
        m_pos = m_start = bom.size();
        m_hasErrors = !decodesCleanly();
        return;
    }
    if (decodesCleanly())
        return;
    m_encoding = TextEncoding::Cp932;
    // ICU swaps these control codes, so text that has them is read a character at a time,
    // as is text that ICU cannot read throughout.
    const bool swapped =
        m_bytes.contains('\x1a') || m_bytes.contains('\x1c') || m_bytes.contains('\x7f');
    m_reading = Reading::Cp932Whole;
    if (swapped || !decodesCleanly()) {
        m_reading = Reading::Cp932ByCharacter;
        m_hasErrors = !decodesCleanly();
    }
}

qsizetype TextLines::lineEnd(qsizetype pos, qsizetype *next)
{
    const qsizetype n = m_bytes.size();
    const char *data = m_bytes.constData();
    // The next CR and the next LF, each found with memchr (many times quicker than a loop
    // over the bytes) and kept until passed, so a file without one is not searched again.
    const auto find = [&](char c, qsizetype &at) {
        if (at < pos) {
            const void *hit = std::memchr(data + pos, c, size_t(n - pos));
            at = hit ? static_cast<const char *>(hit) - data : n;
        }
    };
    find('\r', m_nextCr);
    find('\n', m_nextLf);
    const qsizetype i = std::min(m_nextCr, m_nextLf);
    qsizetype after = i;
    if (after < n && data[after] == '\r') {
        ++after;
        if (after < n && data[after] == '\n')
            ++after;
    } else if (after < n) {
        ++after;
    }
    *next = after;
    return i;
}

bool TextLines::decodesCleanly()
{
    const qsizetype start = m_pos;
    const qsizetype n = m_bytes.size();
    const char *data = m_bytes.constData();
    if (isAscii(data + start, n - start))
        return true;
    m_nextCr = m_nextLf = -1;
    bool clean = true;
    for (qsizetype pos = start; pos < n && clean;) {
        // Long stretches of ASCII are passed over a word at a time.
        qsizetype next = 0;
        const qsizetype end = lineEnd(pos, &next);
        if (!isAscii(data + pos, end - pos))
            clean = decode(pos, end);
        pos = next;
    }
    m_line.clear();
    m_nextCr = m_nextLf = -1;
    return clean;
}

bool TextLines::decode(qsizetype begin, qsizetype end)
{
    const qsizetype n = end - begin;
    const char *data = m_bytes.constData() + begin;
    m_line.resize(n);
    QChar *out = m_line.data();
    if (isAscii(data, n)) {
        for (qsizetype i = 0; i < n; ++i)
            out[i] = QChar(char16_t(uchar(data[i])));
        return true;
    }
    if (m_reading == Reading::Utf8) {
        // The whole text's decoder drops a byte-order mark only at its very start; further on
        // one is a character, so only the first line is read without it.
        QStringDecoder &decoder = begin == m_start ? m_utf8 : m_utf8KeepingBom;
        decoder.resetState();
        const QChar *last = decoder.appendToBuffer(out, QByteArrayView(data, n));
        m_line.resize(last - out);
        return !decoder.hasError();
    }
    if (m_reading == Reading::Cp932Whole) {
        QStringDecoder &decoder = cp932();
        const QChar *last = decoder.appendToBuffer(out, QByteArrayView(data, n));
        m_line.resize(last - out);
        return !decoder.hasError();
    }
    // As TextCodec reads CP932 that ICU cannot: ASCII and half-width katakana directly, each
    // double-byte character through ICU, and whatever cannot be read as U+FFFD.
    qsizetype o = 0;
    bool clean = true;
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = uchar(data[i]);
        QChar c = QChar::ReplacementCharacter;
        if (b < 0x80) {
            c = QChar(char16_t(b));
        } else if (b >= 0xA1 && b <= 0xDF) {
            c = QChar(char16_t(0xFF61 + (b - 0xA1)));
        } else if (isLeadByte(b) && i + 1 < n && isTrailByte(uchar(data[i + 1]))) {
            QStringDecoder &pair = cp932();
            const QString two = pair(QByteArrayView(data + i, 2));
            if (!pair.hasError() && two.size() == 1 && two[0] != QChar(0x1A))
                c = two[0];
            ++i;
        }
        clean = clean && c != QChar::ReplacementCharacter;
        out[o++] = c;
    }
    m_line.resize(o);
    return clean;
}

QStringDecoder &TextLines::cp932()
{
    // Ready for the next piece: Qt keeps an ICU decoder's error through resetState(), so after
    // an error a fresh decoder reads on.
    if (!m_cp932 || m_cp932->hasError())
        m_cp932.emplace(Cp932Name, QStringConverter::Flag::Stateless);
    else
        m_cp932->resetState();
    return *m_cp932;
}

bool TextLines::nextLine(QStringView &line)
{
    if (m_pos >= m_bytes.size())
        return false;
    qsizetype next = 0;
    const qsizetype end = lineEnd(m_pos, &next);
    decode(m_pos, end);
    m_pos = next;
    line = m_line;
    return true;
}

QByteArrayView TextLines::rest() const
{
    return QByteArrayView(m_bytes).sliced(std::min(m_pos, m_bytes.size()));
}

void TextLines::release()
{
    m_bytes = QByteArray();
    m_pos = 0;
    m_nextCr = m_nextLf = -1;
    m_line = QString();
}

} // namespace qel::os
