#include "shell/ShippedFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The resources live in a static library: they must be registered by name, from outside
// any namespace.
static void registerShippedResources()
{
    Q_INIT_RESOURCE(qelpro);
}

namespace qel::shell {

QStringList ShippedFiles::names()
{
    return {QStringLiteral("qelPro.chf"), QStringLiteral("qelMult.chf"),
            QStringLiteral("qelPro.html"), QStringLiteral("qel-hlp.rtf"),
            QStringLiteral("formQel.Tbx")};
}

QString ShippedFiles::builtIn(const QString &name)
{
    static const bool registered = (registerShippedResources(), true);
    Q_UNUSED(registered);
    return QStringLiteral(":/shipped/") + name;
}

QStringList ShippedFiles::install(const QString &programDir)
{
    QStringList failed;
    const QDir dir(programDir);
    for (const QString &name : names()) {
        const QString target = dir.filePath(name);
        // A dangling link counts as the user's too: it is not replaced.
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            continue;
        if (!QFile::copy(builtIn(name), target)) {
            failed.append(name);
            continue;
        }
        // Copies out of the resources are read-only; the user may edit these files.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return failed;
}

} // namespace qel::shell
