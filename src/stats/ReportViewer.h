#pragma once

#include <QString>

namespace qel::stats {

// Shows the report file after a run: every earlier viewer of it is closed first, and the new
// one opens scrolled to the end, where the report just appended is.
class ReportViewer
{
public:
    virtual ~ReportViewer() = default;

    // The window title every report viewer carries.
    static QString title() { return QStringLiteral("stat.txt"); }

    virtual void showReport(const QString &path) = 0;
};

} // namespace qel::stats
