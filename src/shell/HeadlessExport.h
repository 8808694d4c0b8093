#pragma once

#include "slides/SlidePreparation.h"

#include <QSize>
#include <QString>

namespace qel::chartview {
class ChartView;
}

namespace qel::shell {

struct RegressionRequest;

// The command line's conversion without a window: loads the input (".tbx", ".df?" or ".chf")
// through the same code as the open command and writes the output, whose kind follows its
// extension: a picture (.png .bmp .jpg .svg .pdf), a chart file (.chf), a table file (.tbx)
// or a JSON dump of the loaded chart (.json).
class HeadlessExport
{
public:
    // The ExportFile format for an output path, or 0 when it is no chart export.
    static qint16 formatFor(const QString &path);

    // Exports the sample chart (no input) or the loaded input to output. Returns 0 on
    // success; otherwise error holds every message the window would have shown, one a line.
    // Messages of a load that went on (such as "error normalize.") go to standard error.
    // With a regression request the job runs on the loaded chart before the export; its
    // questions take their default answers and job 2 appends to Stat.txt in the current folder.
    // With answerYes, questions get the answer that lets the job go on (--yes).
    // A slide script as input goes to exportSlides.
    static int run(const QString &output, const QSize &size, const QString &input, QString &error,
                   const RegressionRequest *regression = nullptr, bool answerYes = false,
                   const slides::PictureLoader &pictures = {});

    // A slide show as a PDF file, one page per slide, the slides prepared as the show does.
    // Slides left out are told on standard error; no slide at all is a failure.
    static int exportSlides(const QString &output, const QString &script,
                            const slides::PictureLoader &pictures, QString &error);

    static int exportChart(chartview::ChartView &chart, const QString &output, QString &error);
};

} // namespace qel::shell
