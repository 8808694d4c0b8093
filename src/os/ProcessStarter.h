#pragma once

#include <QString>
#include <QStringList>

namespace qel::os {

// Starts outside programs with an argument list, never through a shell.
class ProcessStarter
{
public:
    virtual ~ProcessStarter() = default;

    // Starts the program detached; on failure returns false and sets errorText.
    virtual bool startDetached(const QString &program, const QStringList &arguments,
                               QString *errorText) = 0;
    // Whether a program started earlier by this starter is still running.
    virtual bool isRunning(qint64 processId) const = 0;
    virtual qint64 lastProcessId() const = 0;
};

// The real starter, through QProcess.
class QtProcessStarter : public ProcessStarter
{
public:
    bool startDetached(const QString &program, const QStringList &arguments,
                       QString *errorText) override;
    bool isRunning(qint64 processId) const override;
    qint64 lastProcessId() const override { return m_lastProcessId; }

private:
    qint64 m_lastProcessId = 0;
};

} // namespace qel::os
