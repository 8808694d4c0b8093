#include "slides/TextSegmenter.h"

#include "slides/VoiceMarks.h"

namespace qel::slides {

namespace {

bool endsSentence(const QString &text, qsizetype i)
{
    const char16_t c = text.at(i).unicode();
    switch (c) {
    case u'。':
    case u'．':
    case u'！':
    case u'？':
    case u'!':
    case u'?':
    case u'\n':
    case u'\r':
        return true;
    case u'.':
        return i + 1 >= text.size() || text.at(i + 1).isSpace();
    default:
        return false;
    }
}

bool isBreak(QChar c)
{
    const char16_t u = c.unicode();
    return c.isSpace() || u == u'、' || u == u'，' || u == u',' || u == u';' || u == u'；' ||
           u == u'：' || u == u':';
}

bool isKanaOrKanji(char32_t u)
{
    return (u >= 0x3040 && u <= 0x30FF) || (u >= 0x31F0 && u <= 0x31FF) ||
           (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF66 && u <= 0xFF9F) ||
           (u >= 0x20000 && u <= 0x2FFFF);
}

} // namespace

bool TextSegmenter::isJapanese(QStringView text)
{
    for (const char32_t u : text.toUcs4()) {
        if (isKanaOrKanji(u))
            return true;
    }
    return false;
}

bool TextSegmenter::hasSomethingToSay(QStringView text)
{
    for (const QChar c : text) {
        if (c.isLetterOrNumber() || c.isSurrogate())
            return true;
    }
    return false;
}

QList<TextSegmenter::Piece> TextSegmenter::split(const QString &text, int maxLength)
{
    maxLength = qMax(8, maxLength);
    QString spoken = VoiceMarks::blanked(text);
    for (QChar &c : spoken) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c.unicode() == 0xFFFD)
            c = QLatin1Char(' ');
    }

    QList<Piece> pieces;
    auto add = [&](qsizetype from, qsizetype to) {
        const QStringView part = QStringView(spoken).mid(from, to - from);
        if (!hasSomethingToSay(part))
            return;
        Piece p;
        p.start = int(from);
        p.length = int(to - from);
        p.text = part.toString();
        p.japanese = isJapanese(part);
        pieces.append(p);
    };

    qsizetype start = 0;
    qsizetype lastBreak = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (endsSentence(text, i)) {
            add(start, i + 1);
            start = i + 1;
            lastBreak = -1;
            continue;
        }
        if (isBreak(spoken.at(i)))
            lastBreak = i;
        if (i + 1 - start >= maxLength) {
            qsizetype cut = lastBreak > start ? lastBreak + 1 : i + 1;
            if (cut < text.size() && text.at(cut - 1).isHighSurrogate())
                ++cut; // never between the halves of one character
            add(start, cut);
            start = cut;
            lastBreak = -1;
            i = cut - 1;
        }
    }
    if (start < text.size())
        add(start, text.size());
    return pieces;
}

} // namespace qel::slides
