#pragma once

#include "slides/SoundSink.h"

#include <memory>

namespace qel::slides {

// The sound devices, through the sound module. The module (and Qt Multimedia with the sound
// server's libraries behind it) is loaded on first use, so a start or an export that never
// speaks does not pay for it. Without the module there is no device and the speech goes to
// a WAV file.
class SoundDevices
{
public:
    // The module's file name without its suffix, looked for beside the program first.
    static QString moduleBaseName() { return QStringLiteral("qelpro-sound"); }

    static bool moduleLoaded();
    // Why the module could not be loaded; empty when it was, or was not tried yet.
    static QString moduleError();

    static QStringList descriptions();
    // The device that description picks (the default one when none matches); empty when
    // there is no device.
    static QString resolve(const QString &description);
    static std::unique_ptr<SoundSink> open(const QString &description, const PcmFormat &format,
                                           QString *errorText);
};

} // namespace qel::slides
