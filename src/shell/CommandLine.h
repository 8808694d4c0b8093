#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

namespace qel::shell {

// A regression run on the command line: the same job the options window would start.
struct RegressionRequest
{
    int series = 0; // 1-based; 0 for none
    int job = 0;    // 1 draw, 2 draw and report, 77 smooth
    QString fixedX; // a fixed point the line goes through, when given
    QString fixedY;
    bool parabolic = false;
    bool se = false;
    bool whole = true; // the line across the whole X axis, or only the data's range
};

// A print into a PDF on the command line: the same layouts as the window's print buttons.
struct PrintRequest
{
    QString output;                              // --print OUT.pdf
    QString layout = QStringLiteral("standard"); // standard, screen, fill or form
    bool white = false;                          // --white: every chart background white
    int mode = 1;                                // --mode 2: Chart1 and Chart2 below it
    QString page = QStringLiteral("A4");         // A4 or Letter
    bool landscape = false;
};

// What the program was asked to do on its command line.
struct CommandLine
{
    QString file;       // a file to open at start-up
    QString exportPath; // --export OUT: render and write OUT, no window
    QSize exportSize{1382, 648};
    RegressionRequest regression;
    PrintRequest print;
    bool answerYes = false;  // --yes: questions get the answer that lets the job go on
    bool slideTable = false; // --slide-table: print the slide script's table as JSON
    bool listVoices = false; // --voices
    bool say = false;        // --say TEXT [--voice NAME] [--rate R] [--wav OUT.wav]
    QString sayText;
    QString voice;
    int rate = 0;
    QString wav;
    bool ok = true;
    QString error; // set when ok is false

    static CommandLine parse(const QStringList &arguments);
};

} // namespace qel::shell
