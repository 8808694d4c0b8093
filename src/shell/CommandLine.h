#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

namespace qel::shell {

// What the program was asked to do on its command line.
struct CommandLine
{
    QString file;       // a file to open at start-up
    QString exportPath; // --export OUT: render and write OUT, no window
    QSize exportSize{1382, 648};
    bool ok = true;
    QString error; // set when ok is false

    static CommandLine parse(const QStringList &arguments);
};

} // namespace qel::shell
