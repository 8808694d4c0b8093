// The sound module: Qt Multimedia behind the plain interface the program loads on first use.
#include "QtSoundSink.h"

namespace {

using qel::slides::PcmFormat;
using qel::slides::QtSoundSink;
using qel::slides::SoundModuleApi;
using qel::slides::SoundSink;

QString resolve(const QString &description)
{
    return QtSoundSink::deviceByDescription(description).description();
}

SoundSink *open(const QString &description, const PcmFormat &format, QString *errorText)
{
    return QtSoundSink::open(QtSoundSink::deviceByDescription(description), format, errorText);
}

} // namespace

extern "C" Q_DECL_EXPORT const SoundModuleApi *qelpro_sound_module()
{
    static const SoundModuleApi api{SoundModuleApi::CurrentVersion,
                                    &QtSoundSink::deviceDescriptions, &resolve, &open};
    return &api;
}
