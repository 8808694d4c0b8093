#include "slides/WavFile.h"

#include <QtEndian>

#include <cmath>
#include <cstdlib>

namespace qel::slides {

namespace {

void putU32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void putU16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

quint32 u32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 u16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// The largest data chunk a RIFF size field can describe.
constexpr qint64 MaxData = 0xFFFFFFFFLL - 36;

} // namespace

QByteArray WavFile::header(const PcmFormat &format, qint64 dataBytes)
{
    const quint32 data = quint32(qBound<qint64>(0, dataBytes, MaxData));
    QByteArray out;
    out.reserve(44);
    out.append("RIFF", 4);
    putU32(out, 36 + data);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    putU32(out, 16);
    putU16(out, 1); // PCM
    putU16(out, quint16(format.channels));
    putU32(out, quint32(format.sampleRate));
    putU32(out, quint32(format.sampleRate * format.bytesPerFrame()));
    putU16(out, quint16(format.bytesPerFrame()));
    putU16(out, quint16(format.bytesPerSample * 8));
    out.append("data", 4);
    putU32(out, data);
    return out;
}

QByteArray WavFile::encode(const PcmFormat &format, const QByteArray &data)
{
    return header(format, data.size()) + data;
}

os::Result WavFile::decode(const QByteArray &bytes, PcmFormat &format, QByteArray &data)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return os::Result::failure(QStringLiteral("WAVE ファイルではありません。"));
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 size = u32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > bytes.size())
                return os::Result::failure(
                    QStringLiteral("WAVE ファイルの形式の部分が壊れています。"));
            const int tag = u16(bytes, body);
            PcmFormat f;
            f.channels = u16(bytes, body + 2);
            f.sampleRate = int(u32(bytes, body + 4));
            f.bytesPerSample = u16(bytes, body + 14) / 8;
            if ((tag != 1 && tag != 0xFFFE) || !f.isValid())
                return os::Result::failure(QStringLiteral(
                    "8 ビットか 16 ビットの PCM (1 か 2 チャンネル) ではありません。"));
            format = f;
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return os::Result::failure(
                    QStringLiteral("WAVE ファイルに形式の部分がありません。"));
            const qint64 available = bytes.size() - body;
            qint64 length = qMin<qint64>(size, available);
            length -= length % format.bytesPerFrame();
            data = bytes.mid(body, length);
            return os::Result::success();
        }
        at = body + size + (size & 1);
    }
    return os::Result::failure(QStringLiteral("WAVE ファイルに音のデータがありません。"));
}

WavFile::Measure WavFile::measure(const PcmFormat &format, const QByteArray &data)
{
    Measure m;
    if (!format.isValid())
        return m;
    const qsizetype samples = data.size() / format.bytesPerSample;
    m.frames = samples / format.channels;
    m.seconds = double(m.frames) / format.sampleRate;
    double sum = 0;
    const auto *raw = reinterpret_cast<const uchar *>(data.constData());
    for (qsizetype i = 0; i < samples; ++i) {
        int v = 0;
        if (format.bytesPerSample == 1)
            v = (int(raw[i]) - 128) * 256;
        else
            v = qFromLittleEndian<qint16>(raw + 2 * i);
        m.peak = qMax(m.peak, std::abs(v));
        sum += double(v) * v;
    }
    m.rms = samples > 0 ? std::sqrt(sum / double(samples)) : 0;
    return m;
}

} // namespace qel::slides
