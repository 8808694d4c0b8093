#pragma once

#include "os/UserDialogs.h"

namespace qel::chartdoc {

// The program's file dialogues ("loadqel", "loadqel2", "saveqel", "saveqel2" and any other
// pattern) as requests for os::UserDialogs.
class FileDialogKinds
{
public:
    struct Context
    {
        QString currentFile;
        QString lastChartDirectory; // with its trailing "/"
        QString lastChartBaseName;
    };

    static os::FileDialogRequest request(const QString &kind, const Context &context,
                                         const QString &pattern = QString());

    // "desc (*.A;*.b)|*.A;*.b|..." in Qt's form: one "desc (*.A *.a *.b *.B)" per entry, every
    // pattern in both cases since file names on Linux keep theirs. A pair whose pattern is
    // missing takes the one in its description's parentheses.
    static QStringList translateFilter(const QString &windowsFilter);
};

} // namespace qel::chartdoc
