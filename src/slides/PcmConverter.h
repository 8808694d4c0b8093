#pragma once

#include "slides/PcmFormat.h"

#include <QByteArray>

namespace qel::slides {

// Brings the back ends' audio (16-bit mono at their own rate) into the format the user chose
// for the output: another rate (linear interpolation), 8-bit samples, two channels.
class PcmConverter
{
public:
    static QByteArray convert(const QByteArray &mono16, int fromRate, const PcmFormat &to);
    // Where a frame of the source lands in the converted audio.
    static qint64 convertedFrame(qint64 frame, int fromRate, int toRate);
    // Scales the samples by gain (0..1), in place.
    static void scale(QByteArray &pcm, const PcmFormat &format, double gain);
};

} // namespace qel::slides
