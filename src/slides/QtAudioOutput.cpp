#include "slides/QtAudioOutput.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>

namespace qel::slides {

QtAudioOutput::QtAudioOutput(const QAudioDevice &device, QObject *parent)
    : AudioOutput(parent)
    , m_device(device)
    , m_feed(new QTimer(this))
{
    m_feed->setInterval(20);
    connect(m_feed, &QTimer::timeout, this, &QtAudioOutput::push);
}

QtAudioOutput::~QtAudioOutput()
{
    close();
}

QStringList QtAudioOutput::deviceDescriptions()
{
    QStringList list;
    const QAudioDevice standard = QMediaDevices::defaultAudioOutput();
    if (!standard.isNull())
        list.append(standard.description());
    for (const QAudioDevice &d : QMediaDevices::audioOutputs()) {
        if (!list.contains(d.description()))
            list.append(d.description());
    }
    return list;
}

QAudioDevice QtAudioOutput::deviceByDescription(const QString &description)
{
    for (const QAudioDevice &d : QMediaDevices::audioOutputs()) {
        if (d.description() == description)
            return d;
    }
    return QMediaDevices::defaultAudioOutput();
}

bool QtAudioOutput::open(const PcmFormat &format, QString *errorText)
{
    close();
    QAudioFormat f;
    f.setSampleRate(format.sampleRate);
    f.setChannelCount(format.channels);
    f.setSampleFormat(format.bytesPerSample == 1 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    if (m_device.isNull() || !m_device.isFormatSupported(f)) {
        if (errorText)
            *errorText =
                m_device.isNull()
                    ? QStringLiteral("音を出す装置がありません。")
                    : QStringLiteral("%1 は %2 Hz %3 ビット %4 チャンネルの音を出せません。")
                          .arg(m_device.description())
                          .arg(format.sampleRate)
                          .arg(format.bytesPerSample * 8)
                          .arg(format.channels);
        return false;
    }
    m_sink = new QAudioSink(m_device, f, this);
    m_sink->setVolume(m_volume);
    m_io = m_sink->start();
    if (!m_io || m_sink->error() != QAudio::NoError) {
        if (errorText)
            *errorText = QStringLiteral("%1 を開けません。").arg(m_device.description());
        delete m_sink;
        m_sink = nullptr;
        return false;
    }
    connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State) {
        if (m_sink && m_sink->error() != QAudio::NoError &&
            m_sink->error() != QAudio::UnderrunError) {
            const QString why = QStringLiteral("%1 で音を出せなくなりました。").arg(description());
            close();
            emit failed(why);
        }
    });
    m_format = format;
    m_buffer.clear();
    m_written = 0;
    m_feed->start();
    return true;
}

void QtAudioOutput::write(const QByteArray &pcm)
{
    if (!m_sink)
        return;
    m_buffer.append(pcm);
    m_written += pcm.size() / m_format.bytesPerFrame();
    push();
}

void QtAudioOutput::push()
{
    if (!m_sink || !m_io || m_buffer.isEmpty() || m_sink->state() == QAudio::SuspendedState)
        return;
    const qsizetype frameBytes = m_format.bytesPerFrame();
    qsizetype room = m_sink->bytesFree();
    room -= room % frameBytes;
    const qsizetype n = qMin(room, m_buffer.size());
    if (n <= 0)
        return;
    const qint64 done = m_io->write(m_buffer.constData(), n);
    if (done > 0)
        m_buffer.remove(0, done);
}

qint64 QtAudioOutput::playedFrames() const
{
    if (!m_sink)
        return 0;
    const qint64 frames = m_format.framesForMs(m_sink->processedUSecs() / 1000);
    // The sink counts what it handed on; once everything went and the device is idle, all of
    // it was played.
    if (m_buffer.isEmpty() && m_sink->state() == QAudio::IdleState)
        return m_written;
    return qMin(frames, m_written);
}

void QtAudioOutput::setPaused(bool paused)
{
    if (!m_sink)
        return;
    if (paused)
        m_sink->suspend();
    else
        m_sink->resume();
}

void QtAudioOutput::setVolume(double volume)
{
    m_volume = qBound(0.0, volume, 1.0);
    if (m_sink)
        m_sink->setVolume(m_volume);
}

void QtAudioOutput::close()
{
    m_feed->stop();
    if (m_sink) {
        m_sink->disconnect(this);
        m_sink->stop();
        m_sink->deleteLater();
        m_sink = nullptr;
    }
    m_io = nullptr;
    m_buffer.clear();
}

} // namespace qel::slides
