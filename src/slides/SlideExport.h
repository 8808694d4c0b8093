#pragma once

#include "os/Result.h"

#include <QString>
#include <QStringList>

namespace qel::slides {

class SlidePreparation;

// A slide show on paper: one PDF page per slide, the slide drawn as the show draws it and its
// narration under it as text, so a talk can be passed on without the program.
class SlideExport
{
public:
    // Reads script and writes output. Slides that cannot be shown are left out; notes get the
    // message the show would have given for each, and the script's own notices. Fails, with
    // nothing written, when the script cannot be read or no slide could be drawn.
    static os::Result exportPdf(const QString &script, const QString &output,
                                const SlidePreparation &preparation, QStringList &notes);

    // The narration as it is printed: the voice marks taken out.
    static QString printedNarration(const QString &narration);
};

} // namespace qel::slides
