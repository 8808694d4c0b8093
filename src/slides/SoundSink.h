#pragma once

#include "slides/PcmFormat.h"

#include <QString>
#include <QStringList>

namespace qel::slides {

// A sound device opened for one stream of PCM. The sound module implements it with Qt
// Multimedia; the interface is plain C++ so the module needs nothing of the program.
class SoundSink
{
public:
    virtual ~SoundSink() = default;

    // Bytes the device takes now without blocking.
    virtual qint64 bytesFree() const = 0;
    // Hands bytes on; returns how many were taken.
    virtual qint64 write(const char *data, qint64 size) = 0;
    // Audio the device has processed since it was opened, in microseconds.
    virtual qint64 processedUSecs() const = 0;
    // Played everything it was given and waits for more.
    virtual bool isIdle() const = 0;
    virtual bool isSuspended() const = 0;
    // The device failed while playing; an underrun is no failure.
    virtual bool hasFailed() const = 0;
    virtual void setPaused(bool paused) = 0;
    // 0 .. 1
    virtual void setVolume(double volume) = 0;
};

// What the sound module exports, under the C name qelpro_sound_module.
struct SoundModuleApi
{
    static constexpr int CurrentVersion = 1;

    int version = CurrentVersion;
    // The descriptions of the sound devices, the default one first; empty when there is none.
    QStringList (*deviceDescriptions)() = nullptr;
    // The device of that description, else the default one: its description; empty when
    // there is no device.
    QString (*resolve)(const QString &description) = nullptr;
    // Opens the device of that description for the format; null with the reason otherwise.
    SoundSink *(*open)(const QString &description, const PcmFormat &format,
                       QString *errorText) = nullptr;
};

} // namespace qel::slides
