#pragma once

#include "os/ProcessStarter.h"

#include <QList>

namespace qel::test {

// Records the programs the code would start; programs listed in failing fail to start.
class FakeProcessStarter : public os::ProcessStarter
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
    };

    bool startDetached(const QString &program, const QStringList &arguments,
                       QString *errorText) override
    {
        if (failing.contains(program)) {
            if (errorText)
                *errorText = QStringLiteral("cannot start ") + program;
            return false;
        }
        starts.append({program, arguments});
        m_lastProcessId = starts.size();
        return true;
    }
    bool isRunning(qint64 processId) const override { return running && processId > 0; }
    qint64 lastProcessId() const override { return m_lastProcessId; }

    QList<Start> starts;
    QStringList failing;
    bool running = true;

private:
    qint64 m_lastProcessId = 0;
};

} // namespace qel::test
