#include "slides/PcmConverter.h"

#include <QtEndian>

#include <cmath>
#include <vector>

namespace qel::slides {

qint64 PcmConverter::convertedFrame(qint64 frame, int fromRate, int toRate)
{
    if (fromRate <= 0 || toRate <= 0)
        return 0;
    return qint64(std::llround(double(frame) * toRate / fromRate));
}

QByteArray PcmConverter::convert(const QByteArray &mono16, int fromRate, const PcmFormat &to)
{
    if (!to.isValid() || fromRate <= 0)
        return {};
    const qsizetype inFrames = mono16.size() / 2;
    std::vector<qint16> in(std::size_t(inFrames), 0);
    for (qsizetype i = 0; i < inFrames; ++i)
        in[std::size_t(i)] = qFromLittleEndian<qint16>(mono16.constData() + 2 * i);

    const qint64 outFrames = convertedFrame(inFrames, fromRate, to.sampleRate);
    QByteArray out;
    out.resize(outFrames * to.bytesPerFrame());
    char *p = out.data();
    const double step = double(fromRate) / to.sampleRate;
    for (qint64 f = 0; f < outFrames; ++f) {
        const double pos = f * step;
        const qsizetype i = qsizetype(pos);
        const double frac = pos - double(i);
        const double a = i < inFrames ? in[std::size_t(i)] : 0;
        const double b = i + 1 < inFrames ? in[std::size_t(i + 1)] : a;
        const int v = int(std::lround(a + (b - a) * frac));
        for (int c = 0; c < to.channels; ++c) {
            if (to.bytesPerSample == 1) {
                *p++ = char(quint8(qBound(0, (v >> 8) + 128, 255)));
            } else {
                qToLittleEndian(qint16(qBound(-32768, v, 32767)), p);
                p += 2;
            }
        }
    }
    return out;
}

void PcmConverter::scale(QByteArray &pcm, const PcmFormat &format, double gain)
{
    if (gain >= 0.999)
        return;
    gain = qMax(0.0, gain);
    char *p = pcm.data();
    if (format.bytesPerSample == 1) {
        for (qsizetype i = 0; i < pcm.size(); ++i) {
            const int v = int(quint8(p[i])) - 128;
            p[i] = char(quint8(qBound(0, int(std::lround(v * gain)) + 128, 255)));
        }
        return;
    }
    for (qsizetype i = 0; i + 1 < pcm.size(); i += 2) {
        const int v = qFromLittleEndian<qint16>(p + i);
        qToLittleEndian(qint16(std::lround(v * gain)), p + i);
    }
}

} // namespace qel::slides
