#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace qel::os {
class ProcessStarter;
class ProgramLauncher;
} // namespace qel::os

namespace qel::shell {

// The calculator button: one calculator per run, brought to the front while it runs.
// The program is the one the user chose earlier, else the first calculator installed,
// else the user is asked through the program launcher.
class CalculatorLauncher
{
public:
    // Full path of an installed program, or an empty text.
    using Finder = std::function<QString(const QString &program)>;
    // Brings the windows of a running process to the front, as far as the desktop allows.
    using Activator = std::function<void(qint64 processId)>;

    CalculatorLauncher(os::ProcessStarter &starter, os::ProgramLauncher &launcher);

    // The name the user's choice is remembered under (shown to the user as "電卓").
    static QString programName() { return QStringLiteral("calc.exe"); }
    static QStringList candidates();
    static QString findInstalled(const QString &program);
    static void activateWindowsOf(qint64 processId);

    void setFinder(Finder finder) { m_find = std::move(finder); }
    void setActivator(Activator activator) { m_activate = std::move(activator); }

    // Calculater_Click.
    void click();
    qint64 processId() const { return m_processId; }

private:
    bool start(const QString &program);

    os::ProcessStarter &m_starter;
    os::ProgramLauncher &m_launcher;
    Finder m_find = findInstalled;
    Activator m_activate = activateWindowsOf;
    qint64 m_processId = 0;
};

} // namespace qel::shell
