#pragma once

#include "slides/AudioOutput.h"

#include <QElapsedTimer>

#include <functional>
#include <memory>

class QSaveFile;

namespace qel::slides {

// The audio written into a WAV file instead of the sound device: when there is no device, when
// QELPRO_AUDIO_OUT names a file, and for the command line's --say. In real time the frames
// count as played as the clock passes, so a show keeps the timing it has with a sound device
// and a stopped stream leaves in the file what a listener would have heard; otherwise
// everything written counts as played at once. The file is replaced as a whole when the
// stream closes.
class WavFileOutput : public AudioOutput
{
    Q_OBJECT

public:
    using Clock = std::function<qint64()>; // milliseconds, never going back

    WavFileOutput(QString path, bool realTime, QObject *parent = nullptr);
    ~WavFileOutput() override;

    void setClock(Clock clock) { m_clock = std::move(clock); }
    QString path() const { return m_path; }
    // What the last close came to: success, or why the file could not be written.
    QString lastError() const { return m_lastError; }
    // The frames the file got at the last close.
    qint64 lastFrames() const { return m_lastFrames; }

    QString description() const override;
    bool open(const PcmFormat &format, QString *errorText) override;
    bool isOpen() const override { return m_file != nullptr; }
    void write(const QByteArray &pcm) override;
    qint64 writtenFrames() const override { return m_written; }
    qint64 playedFrames() const override;
    void setPaused(bool paused) override;
    void setVolume(double volume) override { m_volume = volume; }
    void close() override;

private:
    void flushPlayed();
    qint64 clockFrames() const;

    QString m_path;
    bool m_realTime;
    Clock m_clock;
    QElapsedTimer m_elapsed;
    PcmFormat m_format;
    std::unique_ptr<QSaveFile> m_file;
    QByteArray m_pending; // written but not yet played (real time only)
    qint64 m_written = 0;
    qint64 m_inFile = 0;
    qint64 m_pausedAt = -1;
    qint64 m_pausedMs = 0;
    qint64 m_startMs = 0;
    double m_volume = 1.0;
    QString m_lastError;
    qint64 m_lastFrames = 0;
};

} // namespace qel::slides
