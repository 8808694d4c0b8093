#include "slides/ReaderProcess.h"

#include <QFileInfo>
#include <QProcess>

namespace qel::slides {

namespace {

class QtReaderProcess : public ReaderProcess
{
public:
    QtReaderProcess()
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        connect(&m_process, &QProcess::finished, this, [this] { emit finished(); });
    }

    ~QtReaderProcess() override
    {
        m_process.disconnect(this);
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

    bool start(const QString &program, const QStringList &arguments, const QByteArray &input,
               QString *errorText) override
    {
        m_process.start(program, arguments);
        if (!m_process.waitForStarted(5000)) {
            if (errorText) {
                *errorText = QFileInfo::exists(program)
                                 ? QStringLiteral("%1 を起動できません: %2")
                                       .arg(program, m_process.errorString())
                                 : QStringLiteral("%1 が見つかりません。").arg(program);
            }
            return false;
        }
        if (!input.isEmpty())
            m_process.write(input);
        m_process.closeWriteChannel();
        return true;
    }

    bool isRunning() const override { return m_process.state() != QProcess::NotRunning; }
    bool succeeded() const override
    {
        return m_process.state() == QProcess::NotRunning &&
               m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    void terminate() override { m_process.terminate(); }
    void kill() override { m_process.kill(); }

private:
    QProcess m_process;
};

} // namespace

std::unique_ptr<ReaderProcess> makeQtReaderProcess()
{
    return std::make_unique<QtReaderProcess>();
}

} // namespace qel::slides
