#pragma once

#include "slides/SoundSink.h"

#include <QAudioDevice>
#include <QPointer>

class QAudioSink;
class QIODevice;

namespace qel::slides {

// A sound device through QAudioSink, as the sound module hands it out.
class QtSoundSink : public SoundSink
{
public:
    ~QtSoundSink() override;

    static QStringList deviceDescriptions();
    static QAudioDevice deviceByDescription(const QString &description);
    // Null with the reason when the device cannot take the format or does not start.
    static QtSoundSink *open(const QAudioDevice &device, const PcmFormat &format,
                             QString *errorText);

    qint64 bytesFree() const override;
    qint64 write(const char *data, qint64 size) override;
    qint64 processedUSecs() const override;
    bool isIdle() const override;
    bool isSuspended() const override;
    bool hasFailed() const override;
    void setPaused(bool paused) override;
    void setVolume(double volume) override;

private:
    explicit QtSoundSink(QAudioSink *sink);

    QAudioSink *m_sink;
    QPointer<QIODevice> m_io;
};

} // namespace qel::slides
