#pragma once

#include "slides/PcmFormat.h"

#include <QByteArray>
#include <QObject>

namespace qel::slides {

// Where the speech engine's audio goes: the sound device, or a WAV file. One stream at a
// time: open, write as the audio comes, close (which drops what was not played yet). The
// engine asks playedFrames() to know how far the listener has got, so pause, stop and the
// speaking state follow what is heard, not what was synthesised.
class AudioOutput : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual QString description() const = 0;
    virtual bool open(const PcmFormat &format, QString *errorText) = 0;
    virtual bool isOpen() const = 0;
    virtual void write(const QByteArray &pcm) = 0;
    virtual qint64 writtenFrames() const = 0;
    virtual qint64 playedFrames() const = 0;
    virtual void setPaused(bool paused) = 0;
    // 0 .. 1, applied from now on.
    virtual void setVolume(double volume) = 0;
    virtual void close() = 0;

signals:
    // The device or the file failed while the stream ran; the stream is closed.
    void failed(const QString &message);
};

} // namespace qel::slides
