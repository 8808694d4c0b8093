#pragma once

#include <QString>

namespace qel::shell {

struct PrintRequest;

// The command line's print: a main window that is never shown on screen loads the input
// through the one load routine (a picture through the picture viewer's reader) and prints it
// with the window's own print routines into a PDF file. Batch PDFs for reports.
class HeadlessPrint
{
public:
    // Returns 0 on success; otherwise error says why (every message the window would have
    // shown, one a line). Notes of a load that went on go to standard error.
    static int run(const PrintRequest &request, const QString &input, QString &error);
};

} // namespace qel::shell
