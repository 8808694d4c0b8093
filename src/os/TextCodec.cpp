#include "os/TextCodec.h"

#include <QDir>
#include <QStringDecoder>
#include <QStringEncoder>

namespace qel::os {

namespace {

// ICU's Windows variant of Shift_JIS (0x8160 is U+FF5E, NEC and IBM extensions included).
constexpr const char *Cp932Name = "CP932";

const QByteArray &utf8Bom()
{
    static const QByteArray bom("\xEF\xBB\xBF", 3);
    return bom;
}

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// Stateless, so a sequence cut off at the end of the data counts as an error.
QString decodeStrict(QStringDecoder &&decoder, QByteArrayView bytes, bool *hasError)
{
    QString text = decoder(bytes);
    *hasError = decoder.hasError();
    return text;
}

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(uchar b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// ICU's CP932 turns a byte it cannot read into U+001A, which shows as nothing at all, and
// swaps the control codes 0x1A, 0x1C and 0x7F. Such text is decoded one character at a time
// instead: ASCII and half-width katakana directly, each double-byte character through ICU,
// and whatever cannot be read as U+FFFD.
QString decodeCp932(QByteArrayView bytes, bool *hasError)
{
    QStringDecoder whole(Cp932Name, QStringConverter::Flag::Stateless);
    QString text = whole(bytes);
    const bool swapped = bytes.contains('\x1a') || bytes.contains('\x1c') || bytes.contains('\x7f');
    *hasError = whole.hasError();
    if (!*hasError && !swapped)
        return text;

    text.clear();
    text.reserve(bytes.size());
    QStringDecoder pair(Cp932Name, QStringConverter::Flag::Stateless);
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80) {
            text += QChar(char16_t(b));
        } else if (b >= 0xA1 && b <= 0xDF) {
            text += QChar(0xFF61 + (b - 0xA1));
        } else if (isLeadByte(b) && i + 1 < n && isTrailByte(uchar(bytes[i + 1]))) {
            // Qt keeps an ICU decoder's error through resetState(): after a character it
            // could not read, a fresh decoder reads the next one.
            if (pair.hasError())
                pair = QStringDecoder(Cp932Name, QStringConverter::Flag::Stateless);
            else
                pair.resetState();
            const QString c = pair(bytes.sliced(i, 2));
            const bool readable = !pair.hasError() && c.size() == 1 && c[0] != QChar(0x1A) &&
                                  c[0] != QChar::ReplacementCharacter;
            text += readable ? c : QString(QChar::ReplacementCharacter);
            ++i;
        } else {
            text += QChar::ReplacementCharacter;
        }
    }
    *hasError = text.contains(QChar::ReplacementCharacter);
    return text;
}

QByteArray toCp932(const QString &foldedText, bool *hasError)
{
    QStringEncoder encoder(Cp932Name, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder(foldedText);
    *hasError = encoder.hasError();
    return bytes;
}

QByteArray withBom(const QString &text)
{
    return utf8Bom() + text.toUtf8();
}

} // namespace

DecodedText decodeText(const QByteArray &bytes)
{
    DecodedText result;
    bool hasError = false;
    if (bytes.startsWith(utf8Bom())) {
        result.encoding = TextEncoding::Utf8Bom;
        result.text =
            decodeStrict(QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless),
                         QByteArrayView(bytes).sliced(utf8Bom().size()), &hasError);
        result.hasErrors = hasError;
        return result;
    }
    result.text =
        decodeStrict(QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless),
                     bytes, &hasError);
    if (!hasError) {
        result.encoding = TextEncoding::Utf8;
        return result;
    }
    result.encoding = TextEncoding::Cp932;
    result.text = decodeCp932(bytes, &hasError);
    result.hasErrors = hasError;
    return result;
}

QString unreadableCharactersNote(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName) +
           QStringLiteral("に読めない文字がありました（\uFFFDで表示）");
}

QString foldToCp932(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded) {
        switch (c.unicode()) {
        case 0x301C: // WAVE DASH
            c = QChar(0xFF5E);
            break;
        case 0x2016: // DOUBLE VERTICAL LINE
            c = QChar(0x2225);
            break;
        case 0x2212: // MINUS SIGN
            c = QChar(0xFF0D);
            break;
        case 0x00AC: // NOT SIGN
            c = QChar(0xFFE2);
            break;
        case 0x2014: // EM DASH
            c = QChar(0x2015);
            break;
        default:
            break;
        }
    }
    return folded;
}

bool fitsCp932(const QString &text)
{
    const QString folded = foldToCp932(text);
    bool hasError = false;
    const QByteArray bytes = toCp932(folded, &hasError);
    if (hasError)
        return false;
    // The encoder may map a character to a look-alike (best fit); only an exact way back counts.
    const QString back = decodeStrict(QStringDecoder(Cp932Name, QStringConverter::Flag::Stateless),
                                      bytes, &hasError);
    return !hasError && back == folded;
}

QByteArray encodeText(const QString &text)
{
    // ICU's CP932 swaps some ASCII control codes (U+001C is written as 0x1A), and plain ASCII
    // is read back as UTF-8, so ASCII text is written as it is.
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        return text.toLatin1();
    if (fitsCp932(text)) {
        bool hasError = false;
        const QByteArray bytes = toCp932(foldToCp932(text), &hasError);
        // CP932 bytes that happen to be valid UTF-8 (e.g. "ﾃｽ" is C3 BD) would be read back
        // as UTF-8, so such a text goes out as UTF-8 with a byte-order mark instead.
        if (isAscii(bytes) || decodeText(bytes).encoding == TextEncoding::Cp932)
            return bytes;
    }
    return withBom(text);
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QByteArray encodeLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += u"\r\n";
    }
    return encodeText(text);
}

QByteArray appendText(const QByteArray &existing, const QString &text)
{
    if (existing.isEmpty())
        return encodeText(text);
    const DecodedText old = decodeText(existing);
    QByteArray appended;
    QString expected;
    bool canAppend = true;
    const bool utf8File = old.encoding == TextEncoding::Utf8Bom ||
                          (old.encoding == TextEncoding::Utf8 && !isAscii(existing));
    if (utf8File) {
        appended = text.toUtf8();
        expected = old.text + text;
    } else if (fitsCp932(text)) {
        bool hasError = false;
        const QString folded = foldToCp932(text);
        appended = toCp932(folded, &hasError);
        expected = old.text + folded;
    } else {
        canAppend = false;
    }
    if (canAppend) {
        QByteArray joined = existing + appended;
        // The new bytes must not change how the file as a whole is read.
        if (decodeText(joined).text == expected)
            return joined;
    }
    // Unreadable bytes of an old CP932 file become replacement characters here.
    return withBom(old.text + text);
}

} // namespace qel::os
