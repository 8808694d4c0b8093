#include "slides/SapiFormat.h"

namespace qel::slides {

const QList<SapiFormat> &SapiFormat::all()
{
    static const QList<SapiFormat> formats = [] {
        const struct
        {
            const char *khz;
            int rate;
        } rates[] = {{"8", 8000},   {"11", 11025}, {"12", 12000}, {"16", 16000}, {"22", 22050},
                     {"24", 24000}, {"32", 32000}, {"44", 44100}, {"48", 48000}};
        QList<SapiFormat> list;
        int number = 4; // the interface numbers its PCM formats from 4 on
        for (const auto &r : rates) {
            for (int bits : {8, 16}) {
                for (int channels : {1, 2}) {
                    SapiFormat f;
                    f.name =
                        QStringLiteral("SAFT%1kHz%2Bit%3")
                            .arg(QLatin1StringView(r.khz))
                            .arg(bits)
                            .arg(channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo"));
                    f.number = number++;
                    f.pcm = PcmFormat{r.rate, channels, bits / 8};
                    list.append(f);
                }
            }
        }
        return list;
    }();
    return formats;
}

SapiFormat SapiFormat::defaultFormat()
{
    return byNumber(22);
}

SapiFormat SapiFormat::byNumber(int number)
{
    for (const SapiFormat &f : all()) {
        if (f.number == number)
            return f;
    }
    return all().at(22 - 4);
}

SapiFormat SapiFormat::byName(const QString &name)
{
    for (const SapiFormat &f : all()) {
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return f;
    }
    return defaultFormat();
}

} // namespace qel::slides
