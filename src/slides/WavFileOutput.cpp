#include "slides/WavFileOutput.h"

#include "os/FileAccess.h"
#include "slides/PcmConverter.h"
#include "slides/WavFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace qel::slides {

WavFileOutput::WavFileOutput(QString path, bool realTime, QObject *parent)
    : AudioOutput(parent)
    , m_path(std::move(path))
    , m_realTime(realTime)
{
    m_elapsed.start();
    m_clock = [this] { return m_elapsed.elapsed(); };
}

WavFileOutput::~WavFileOutput()
{
    close();
}

QString WavFileOutput::description() const
{
    return QStringLiteral("WAV ファイル %1").arg(QFileInfo(m_path).fileName());
}

bool WavFileOutput::open(const PcmFormat &format, QString *errorText)
{
    close();
    QString target;
    const os::Result check = os::FileAccess::checkSaveTarget(m_path, &target);
    if (!check.ok()) {
        if (errorText)
            *errorText = check.message;
        return false;
    }
    auto file = std::make_unique<QSaveFile>(target);
    if (!file->open(QIODevice::WriteOnly) || file->write(WavFile::header(format, 0)) != 44) {
        if (errorText)
            *errorText =
                os::FileAccess::describe(m_path, os::FileAccess::reasonText(file->error()));
        return false;
    }
    m_file = std::move(file);
    m_format = format;
    m_pending.clear();
    m_written = 0;
    m_inFile = 0;
    m_pausedAt = -1;
    m_pausedMs = 0;
    m_startMs = m_clock();
    m_lastError.clear();
    return true;
}

void WavFileOutput::write(const QByteArray &pcm)
{
    if (!m_file || pcm.isEmpty())
        return;
    QByteArray data = pcm;
    PcmConverter::scale(data, m_format, m_volume);
    m_written += data.size() / m_format.bytesPerFrame();
    m_pending.append(data);
    flushPlayed();
}

qint64 WavFileOutput::clockFrames() const
{
    const qint64 now = m_pausedAt >= 0 ? m_pausedAt : m_clock();
    return m_format.framesForMs(now - m_startMs - m_pausedMs);
}

qint64 WavFileOutput::playedFrames() const
{
    if (!m_file)
        return 0;
    if (!m_realTime)
        return m_written;
    const_cast<WavFileOutput *>(this)->flushPlayed();
    return m_inFile;
}

void WavFileOutput::flushPlayed()
{
    if (!m_file)
        return;
    const qint64 upTo = m_realTime ? qMin(m_written, clockFrames()) : m_written;
    const qint64 frames = upTo - m_inFile;
    if (frames <= 0)
        return;
    const qint64 bytes = frames * m_format.bytesPerFrame();
    if (m_file->write(m_pending.constData(), bytes) != bytes) {
        const QString why =
            os::FileAccess::describe(m_path, os::FileAccess::reasonText(m_file->error()));
        m_file->cancelWriting();
        m_file.reset();
        m_lastError = why;
        emit failed(why);
        return;
    }
    m_pending.remove(0, bytes);
    m_inFile = upTo;
}

void WavFileOutput::setPaused(bool paused)
{
    if (paused && m_pausedAt < 0) {
        flushPlayed();
        m_pausedAt = m_clock();
    } else if (!paused && m_pausedAt >= 0) {
        m_pausedMs += m_clock() - m_pausedAt;
        m_pausedAt = -1;
    }
}

void WavFileOutput::close()
{
    if (!m_file)
        return;
    flushPlayed();
    if (!m_file)
        return; // the write failed and was told
    std::unique_ptr<QSaveFile> file = std::move(m_file);
    file->seek(0);
    file->write(WavFile::header(m_format, m_inFile * m_format.bytesPerFrame()));
    m_lastFrames = m_inFile;
    if (!file->commit())
        m_lastError = os::FileAccess::describe(m_path, os::FileAccess::reasonText(file->error()));
    m_pending.clear();
}

} // namespace qel::slides
