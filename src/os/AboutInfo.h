#pragma once

#include <QString>

namespace qel::os {

// What the version window tells about the machine: the computer the program runs on, or
// the file server when it was started from a network share ("//srv/share", "\\srv\share").
struct MachineLine
{
    QString heading; // "ｺﾝﾋﾟｭｰﾀ名" or "ｻｰﾊﾞｰ名"
    QString name;

    static MachineLine forProgramDirectory(const QString &programDir, const QString &computer);
};

} // namespace qel::os
