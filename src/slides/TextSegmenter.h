#pragma once

#include <QList>
#include <QString>

namespace qel::slides {

// Cuts a text into the pieces the engine synthesises one by one: sentences, and long
// sentences at a comma or blank so that no piece is longer than maxLength. Each piece knows
// where it stands in the text and whether it is Japanese (has kana or kanji), which decides
// the back end. Control characters and the voice marks are blanked; pieces with nothing to
// say (marks, blanks, punctuation only) are left out.
class TextSegmenter
{
public:
    struct Piece
    {
        int start = 0;
        int length = 0;
        QString text; // as spoken: the same length, control characters blanked
        bool japanese = false;
    };

    static constexpr int DefaultMaxLength = 200;

    static QList<Piece> split(const QString &text, int maxLength = DefaultMaxLength);
    static bool isJapanese(QStringView text);
    static bool hasSomethingToSay(QStringView text);
};

} // namespace qel::slides
