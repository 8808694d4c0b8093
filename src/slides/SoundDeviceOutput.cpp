#include "slides/SoundDeviceOutput.h"

#include "slides/SoundDevices.h"
#include "slides/WavFileOutput.h"

#include <QTimer>

namespace qel::slides {

SoundDeviceOutput::SoundDeviceOutput(QString device, QString fallbackWav, QObject *parent)
    : AudioOutput(parent)
    , m_asked(std::move(device))
    , m_fallbackPath(std::move(fallbackWav))
    , m_feed(new QTimer(this))
{
    m_feed->setInterval(20);
    connect(m_feed, &QTimer::timeout, this, &SoundDeviceOutput::push);
}

SoundDeviceOutput::~SoundDeviceOutput()
{
    close();
}

void SoundDeviceOutput::choose() const
{
    if (m_chosen)
        return;
    m_chosen = true;
    if (!SoundDevices::descriptions().isEmpty())
        m_device = SoundDevices::resolve(m_asked);
    if (m_device.isEmpty()) {
        m_fallback = std::make_unique<WavFileOutput>(m_fallbackPath, true);
        connect(m_fallback.get(), &AudioOutput::failed, this, &AudioOutput::failed);
    }
}

QString SoundDeviceOutput::description() const
{
    choose();
    return m_fallback ? m_fallback->description() : m_device;
}

bool SoundDeviceOutput::open(const PcmFormat &format, QString *errorText)
{
    close();
    choose();
    if (m_fallback) {
        m_fallback->setVolume(m_volume);
        return m_fallback->open(format, errorText);
    }
    m_sink = SoundDevices::open(m_device, format, errorText);
    if (!m_sink)
        return false;
    m_sink->setVolume(m_volume);
    m_format = format;
    m_buffer.clear();
    m_written = 0;
    m_feed->start();
    return true;
}

bool SoundDeviceOutput::isOpen() const
{
    return m_fallback ? m_fallback->isOpen() : m_sink != nullptr;
}

void SoundDeviceOutput::write(const QByteArray &pcm)
{
    if (m_fallback) {
        m_fallback->write(pcm);
        return;
    }
    if (!m_sink)
        return;
    m_buffer.append(pcm);
    m_written += pcm.size() / m_format.bytesPerFrame();
    push();
}

void SoundDeviceOutput::push()
{
    if (!m_sink)
        return;
    if (m_sink->hasFailed()) {
        const QString why = QStringLiteral("%1 で音を出せなくなりました。").arg(m_device);
        close();
        emit failed(why);
        return;
    }
    if (m_buffer.isEmpty() || m_sink->isSuspended())
        return;
    const qint64 frameBytes = m_format.bytesPerFrame();
    qint64 room = m_sink->bytesFree();
    room -= room % frameBytes;
    const qint64 n = qMin<qint64>(room, m_buffer.size());
    if (n <= 0)
        return;
    const qint64 done = m_sink->write(m_buffer.constData(), n);
    if (done > 0)
        m_buffer.remove(0, done);
}

qint64 SoundDeviceOutput::writtenFrames() const
{
    return m_fallback ? m_fallback->writtenFrames() : m_written;
}

qint64 SoundDeviceOutput::playedFrames() const
{
    if (m_fallback)
        return m_fallback->playedFrames();
    if (!m_sink)
        return 0;
    // The device counts what it handed on; once everything went and it is idle, all of it
    // was played.
    if (m_buffer.isEmpty() && m_sink->isIdle())
        return m_written;
    return qMin(m_format.framesForMs(m_sink->processedUSecs() / 1000), m_written);
}

void SoundDeviceOutput::setPaused(bool paused)
{
    if (m_fallback)
        m_fallback->setPaused(paused);
    else if (m_sink)
        m_sink->setPaused(paused);
}

void SoundDeviceOutput::setVolume(double volume)
{
    m_volume = qBound(0.0, volume, 1.0);
    if (m_fallback)
        m_fallback->setVolume(m_volume);
    else if (m_sink)
        m_sink->setVolume(m_volume);
}

void SoundDeviceOutput::close()
{
    if (m_fallback) {
        m_fallback->close();
        return;
    }
    m_feed->stop();
    m_sink.reset();
    m_buffer.clear();
}

} // namespace qel::slides
