#include "os/AboutInfo.h"

namespace qel::os {

MachineLine MachineLine::forProgramDirectory(const QString &programDir, const QString &computer)
{
    const bool share = programDir.startsWith(QStringLiteral("//")) ||
                       programDir.startsWith(QStringLiteral("\\\\"));
    if (!share)
        return {QStringLiteral("ｺﾝﾋﾟｭｰﾀ名"), computer};
    const QString rest = programDir.mid(2);
    qsizetype end = rest.size();
    for (QChar separator : {QLatin1Char('/'), QLatin1Char('\\')}) {
        const qsizetype at = rest.indexOf(separator);
        if (at >= 0)
            end = std::min(end, at);
    }
    return {QStringLiteral("ｻｰﾊﾞｰ名"), rest.left(end)};
}

} // namespace qel::os
