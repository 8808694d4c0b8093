#pragma once

#include "slides/AudioOutput.h"

#include <QPointer>

#include <memory>

class QTimer;

namespace qel::slides {

class SoundSink;
class WavFileOutput;

// The sound device, or the fallback WAV file when this machine has none. The choice is made
// when it is first needed (a stream opens, or someone asks where the audio goes), so the sound
// module is not loaded before then. The engine's audio is kept here and pushed to the device
// as it takes it; pause suspends the device, and the frames it has processed are the frames
// heard.
class SoundDeviceOutput : public AudioOutput
{
    Q_OBJECT

public:
    // An empty description picks the default device.
    SoundDeviceOutput(QString device, QString fallbackWav, QObject *parent = nullptr);
    ~SoundDeviceOutput() override;

    QString description() const override;
    bool open(const PcmFormat &format, QString *errorText) override;
    bool isOpen() const override;
    void write(const QByteArray &pcm) override;
    qint64 writtenFrames() const override;
    qint64 playedFrames() const override;
    void setPaused(bool paused) override;
    void setVolume(double volume) override;
    void close() override;

private:
    // Looks for the device once; without one, the WAV file takes over.
    void choose() const;
    void push();

    QString m_asked;
    QString m_fallbackPath;
    mutable bool m_chosen = false;
    mutable QString m_device; // the device's description; empty when there is none
    mutable std::unique_ptr<WavFileOutput> m_fallback;
    std::unique_ptr<SoundSink> m_sink;
    PcmFormat m_format;
    QTimer *m_feed;
    QByteArray m_buffer;
    qint64 m_written = 0;
    double m_volume = 1.0;
};

} // namespace qel::slides
