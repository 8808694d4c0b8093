#pragma once

#include "slides/AudioOutput.h"

#include <QAudioDevice>
#include <QPointer>

class QAudioSink;
class QIODevice;
class QTimer;

namespace qel::slides {

// The sound device through QAudioSink. The engine's audio is kept here and pushed to the sink
// as it takes it; suspend and resume make pause exact, and the frames the sink has processed
// are the frames heard.
class QtAudioOutput : public AudioOutput
{
    Q_OBJECT

public:
    explicit QtAudioOutput(const QAudioDevice &device, QObject *parent = nullptr);
    ~QtAudioOutput() override;

    // The descriptions of the sound devices, the default one first; empty when there is none.
    static QStringList deviceDescriptions();
    static QAudioDevice deviceByDescription(const QString &description);

    QString description() const override { return m_device.description(); }
    bool open(const PcmFormat &format, QString *errorText) override;
    bool isOpen() const override { return m_sink != nullptr; }
    void write(const QByteArray &pcm) override;
    qint64 writtenFrames() const override { return m_written; }
    qint64 playedFrames() const override;
    void setPaused(bool paused) override;
    void setVolume(double volume) override;
    void close() override;

private:
    void push();

    QAudioDevice m_device;
    PcmFormat m_format;
    QAudioSink *m_sink = nullptr;
    QPointer<QIODevice> m_io;
    QTimer *m_feed;
    QByteArray m_buffer;
    qint64 m_written = 0;
    double m_volume = 1.0;
};

} // namespace qel::slides
