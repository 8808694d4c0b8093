#pragma once

#include "os/Result.h"
#include "slides/PcmFormat.h"

#include <QByteArray>
#include <QString>

namespace qel::slides {

// RIFF WAVE files of linear PCM: what Open JTalk writes, what the engine writes when there is
// no sound device, and what the tests measure.
class WavFile
{
public:
    // The 44-byte header of a file whose data chunk holds dataBytes.
    static QByteArray header(const PcmFormat &format, qint64 dataBytes);
    static QByteArray encode(const PcmFormat &format, const QByteArray &data);

    // Reads the fmt and data chunks; anything but 8- or 16-bit PCM in one or two channels is
    // refused with the reason. A data chunk cut short (a writer that died) is taken as far as
    // it goes.
    static os::Result decode(const QByteArray &bytes, PcmFormat &format, QByteArray &data);

    // Measures of the samples, for checks and tests: length, loudest sample and the root mean
    // square, both on the scale of 16-bit samples.
    struct Measure
    {
        qint64 frames = 0;
        double seconds = 0;
        int peak = 0;
        double rms = 0;
    };
    static Measure measure(const PcmFormat &format, const QByteArray &data);
};

} // namespace qel::slides
