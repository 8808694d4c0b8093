#include "QtSoundSink.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace qel::slides {

QtSoundSink::QtSoundSink(QAudioSink *sink)
    : m_sink(sink)
{}

QtSoundSink::~QtSoundSink()
{
    m_sink->stop();
    m_sink->deleteLater(); // it may be inside one of its own signals
}

QStringList QtSoundSink::deviceDescriptions()
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

QAudioDevice QtSoundSink::deviceByDescription(const QString &description)
{
    for (const QAudioDevice &d : QMediaDevices::audioOutputs()) {
        if (d.description() == description)
            return d;
    }
    return QMediaDevices::defaultAudioOutput();
}

QtSoundSink *QtSoundSink::open(const QAudioDevice &device, const PcmFormat &format,
                               QString *errorText)
{
    QAudioFormat f;
    f.setSampleRate(format.sampleRate);
    f.setChannelCount(format.channels);
    f.setSampleFormat(format.bytesPerSample == 1 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(f)) {
        if (errorText)
            *errorText =
                device.isNull()
                    ? QStringLiteral("音を出す装置がありません。")
                    : QStringLiteral("%1 は %2 Hz %3 ビット %4 チャンネルの音を出せません。")
                          .arg(device.description())
                          .arg(format.sampleRate)
                          .arg(format.bytesPerSample * 8)
                          .arg(format.channels);
        return nullptr;
    }
    auto *sink = new QAudioSink(device, f);
    QIODevice *io = sink->start();
    if (!io || sink->error() != QAudio::NoError) {
        if (errorText)
            *errorText = QStringLiteral("%1 を開けません。").arg(device.description());
        delete sink;
        return nullptr;
    }
    auto *opened = new QtSoundSink(sink);
    opened->m_io = io;
    return opened;
}

qint64 QtSoundSink::bytesFree() const
{
    return m_sink->bytesFree();
}

qint64 QtSoundSink::write(const char *data, qint64 size)
{
    return m_io ? m_io->write(data, size) : 0;
}

qint64 QtSoundSink::processedUSecs() const
{
    return m_sink->processedUSecs();
}

bool QtSoundSink::isIdle() const
{
    return m_sink->state() == QAudio::IdleState;
}

bool QtSoundSink::isSuspended() const
{
    return m_sink->state() == QAudio::SuspendedState;
}

bool QtSoundSink::hasFailed() const
{
    return !m_io ||
           (m_sink->error() != QAudio::NoError && m_sink->error() != QAudio::UnderrunError);
}

void QtSoundSink::setPaused(bool paused)
{
    if (paused)
        m_sink->suspend();
    else
        m_sink->resume();
}

void QtSoundSink::setVolume(double volume)
{
    m_sink->setVolume(volume);
}

} // namespace qel::slides
