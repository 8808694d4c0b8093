#pragma once

#include <QtGlobal>

namespace qel::slides {

// Linear PCM as the speech engine hands it around: 8-bit samples are unsigned, 16-bit
// samples signed little-endian, channels interleaved.
struct PcmFormat
{
    int sampleRate = 22050;
    int channels = 1;
    int bytesPerSample = 2;

    int bytesPerFrame() const { return channels * bytesPerSample; }
    bool isValid() const
    {
        return sampleRate > 0 && (channels == 1 || channels == 2) &&
               (bytesPerSample == 1 || bytesPerSample == 2);
    }
    qint64 framesForMs(qint64 ms) const { return ms * sampleRate / 1000; }
    qint64 msForFrames(qint64 frames) const
    {
        return sampleRate > 0 ? frames * 1000 / sampleRate : 0;
    }
    bool operator==(const PcmFormat &other) const = default;
};

} // namespace qel::slides
