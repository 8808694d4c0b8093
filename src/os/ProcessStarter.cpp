#include "os/ProcessStarter.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>

namespace qel::os {

bool QtProcessStarter::startDetached(const QString &program, const QStringList &arguments,
                                     QString *errorText)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        if (errorText) {
            *errorText = QFileInfo::exists(program)
                             ? QStringLiteral("プログラムを起動できません: %1").arg(program)
                             : QStringLiteral("ファイルが見つかりません: %1").arg(program);
        }
        return false;
    }
    m_lastProcessId = pid;
    return true;
}

bool QtProcessStarter::isRunning(qint64 processId) const
{
    // Signal 0 only asks whether the process exists. A detached child that ended
    // stays a zombie until reaped, so look at its state too.
    if (processId <= 0 || ::kill(static_cast<pid_t>(processId), 0) != 0)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(processId));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        if (close > 0 && close + 2 < line.size() && line[close + 2] == 'Z')
            return false;
    }
    return true;
}

} // namespace qel::os
