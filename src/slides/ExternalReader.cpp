#include "slides/ExternalReader.h"

#include <QDir>
#include <QTemporaryDir>

namespace qel::slides {

ExternalReader::ExternalReader(QString id, QString label, Planner planner,
                               ReaderProcessFactory factory, QObject *parent)
    : QObject(parent)
    , m_id(std::move(id))
    , m_label(std::move(label))
    , m_planner(std::move(planner))
    , m_factory(std::move(factory))
{}

ExternalReader::~ExternalReader()
{
    close();
}

QString ExternalReader::startFailedText() const
{
    return m_label + QStringLiteral(" の起動に失敗しました.");
}

bool ExternalReader::start(const QString &text, QString *errorText)
{
    close();
    if (!m_temp || !m_temp->isValid())
        m_temp = std::make_unique<QTemporaryDir>(
            QDir::temp().filePath(QStringLiteral("qelpro-reader-XXXXXX")));
    m_failed = false;
    m_stopped = false;
    m_steps = m_planner(text, m_temp->isValid() ? m_temp->path() : QDir::tempPath());
    if (m_steps.isEmpty()) {
        if (errorText)
            *errorText = QStringLiteral("%1 は使えません。").arg(m_label);
        return false;
    }
    m_step = 0;
    m_process = m_factory();
    connect(m_process.get(), &ReaderProcess::finished, this, &ExternalReader::next,
            Qt::QueuedConnection);
    const Step &s = m_steps.first();
    if (!m_process->start(s.program, s.arguments, s.input, errorText)) {
        m_process.reset();
        m_step = -1;
        m_failed = true;
        return false;
    }
    return true;
}

void ExternalReader::next()
{
    if (!m_process || m_process->isRunning())
        return;
    const bool ok = m_process->succeeded();
    if (!ok || m_step + 1 >= m_steps.size()) {
        m_step = -1;
        m_failed = !ok && !m_stopped; // a stopped reader ends by a signal, which is no failure
        return;
    }
    ++m_step;
    std::unique_ptr<ReaderProcess> p = m_factory();
    connect(p.get(), &ReaderProcess::finished, this, &ExternalReader::next, Qt::QueuedConnection);
    const Step &s = m_steps.at(m_step);
    if (!p->start(s.program, s.arguments, s.input, nullptr)) {
        m_step = -1;
        m_failed = true;
        m_process.reset();
        return;
    }
    m_process = std::move(p);
}

bool ExternalReader::isSpeaking() const
{
    if (!m_process || m_step < 0)
        return false;
    // Between two programs of one reading the reading goes on.
    return m_process->isRunning() || (m_process->succeeded() && m_step + 1 < m_steps.size());
}

void ExternalReader::stop()
{
    m_stopped = true;
    if (m_process && m_process->isRunning())
        m_process->terminate();
    if (m_process && !m_process->isRunning())
        m_step = -1;
    else
        m_steps = m_steps.mid(0, m_step + 1); // nothing follows a stopped program
}

void ExternalReader::close()
{
    m_stopped = true;
    if (m_process && m_process->isRunning())
        m_process->kill();
    m_steps = m_steps.mid(0, qMax(0, m_step + 1));
    m_step = m_process && m_process->isRunning() ? m_step : -1;
}

} // namespace qel::slides
