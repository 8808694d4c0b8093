#pragma once

#include "slides/PcmFormat.h"

#include <QList>
#include <QString>

namespace qel::slides {

// The audio formats the speech window offers, under the speech interface's names and numbers
// ("SAFT22kHz16BitMono" is number 22): 8, 11, 12, 16, 22, 24, 32, 44 and 48 kHz, each in 8 and
// 16 bits, mono and stereo.
struct SapiFormat
{
    QString name;
    int number = 0;
    PcmFormat pcm;

    static const QList<SapiFormat> &all(); // the 36 formats, in the order of the list
    static SapiFormat defaultFormat();     // SAFT22kHz16BitMono
    // The format of that number or name; the default one when there is none.
    static SapiFormat byNumber(int number);
    static SapiFormat byName(const QString &name);
};

} // namespace qel::slides
