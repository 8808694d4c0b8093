#include "shell/CalculatorLauncher.h"

#include "os/ProcessStarter.h"
#include "os/ProgramLauncher.h"

#include <QProcess>
#include <QStandardPaths>

namespace qel::shell {

CalculatorLauncher::CalculatorLauncher(os::ProcessStarter &starter, os::ProgramLauncher &launcher)
    : m_starter(starter)
    , m_launcher(launcher)
{
    // When none is installed the user is asked for one: say what that is and what was
    // looked for, not the Windows program's file name.
    m_launcher.describe(programName(), {QStringLiteral("電卓"), QString(), candidates()});
}

QStringList CalculatorLauncher::candidates()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
            QStringLiteral("galculator"), QStringLiteral("xcalc")};
}

QString CalculatorLauncher::findInstalled(const QString &program)
{
    return QStandardPaths::findExecutable(program);
}

void CalculatorLauncher::activateWindowsOf(qint64 processId)
{
    // Raising another program's window needs the desktop's help; without xdotool the
    // calculator simply stays where it is.
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (tool.isEmpty())
        return;
    QProcess::startDetached(tool, {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                   QStringLiteral("--pid"), QString::number(processId),
                                   QStringLiteral("windowactivate")});
}

bool CalculatorLauncher::start(const QString &program)
{
    QString error; // a calculator that does not start is not reported
    if (!m_starter.startDetached(program, {}, &error))
        return false;
    m_processId = m_starter.lastProcessId();
    return true;
}

void CalculatorLauncher::click()
{
    if (m_processId > 0 && m_starter.isRunning(m_processId)) {
        if (m_activate)
            m_activate(m_processId);
        return;
    }
    m_processId = 0;

    const QString chosen = m_launcher.rememberedPath(programName());
    if (chosen != os::ProgramLauncher::unknownPath()) {
        if (start(chosen))
            return;
        // A choice that no longer starts is dropped, so the installed ones get their turn.
        m_launcher.forget(programName());
    }
    for (const QString &name : candidates()) {
        const QString path = m_find ? m_find(name) : QString();
        if (!path.isEmpty()) {
            start(path);
            return;
        }
    }
    QString arguments;
    if (!m_launcher.launch(programName(), arguments).isEmpty())
        m_processId = m_starter.lastProcessId();
}

} // namespace qel::shell
