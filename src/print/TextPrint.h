#pragma once

#include <QString>
#include <QStringList>

namespace qel::print {

class PrinterPage;

// The text print: a text printed with word wrap, each line indented by 2000 twips and kept
// within W - 3200 twips. The text "FF" alone is a form feed.
class TextPrint
{
public:
    static constexpr int IndentTwips = 2000;
    static constexpr int RightAllowance = 3200;
    // A word whose first space lies at this position (1-based) or later is fed character by
    // character, so a long word or a text without spaces still wraps.
    static constexpr int LongWord = 16;

    static void print(PrinterPage &page, const QString &text);

    // The pieces a line of text is fed in, in order: short words whole (with their trailing
    // space), long words and a last word without a space one character at a time. followed
    // tells whether a line break follows the line (its last word then counts as ending in a
    // space, the indent's).
    static QStringList pieces(const QString &line, bool followed);
    // As many spaces as fill 2000 twips in the page's current font.
    static QString indent(const PrinterPage &page);
};

} // namespace qel::print
