#include "slides/SoundDevices.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <mutex>

namespace qel::slides {

namespace {

struct Module
{
    const SoundModuleApi *api = nullptr;
    QString error;
};

using Entry = const SoundModuleApi *(*)();

// Beside the program, then where the build put it (for the tests, which run from elsewhere).
QStringList candidates()
{
    QStringList dirs;
    if (QCoreApplication::instance())
        dirs.append(QCoreApplication::applicationDirPath());
#ifdef QEL_SOUND_MODULE_DIR
    dirs.append(QStringLiteral(QEL_SOUND_MODULE_DIR));
#endif
    QStringList files;
    for (const QString &dir : dirs)
        files.append(QDir(dir).filePath(SoundDevices::moduleBaseName()));
    return files;
}

const Module &module()
{
    static Module m;
    static std::once_flag once;
    std::call_once(once, [] {
        QStringList reasons;
        // Its destruction does not unload the module: sinks and Qt Multimedia's own objects
        // live until the program ends.
        static QLibrary library;
        for (const QString &file : candidates()) {
            library.setFileName(file);
            const auto entry = reinterpret_cast<Entry>(library.resolve("qelpro_sound_module"));
            const SoundModuleApi *api = entry ? entry() : nullptr;
            if (api && api->version == SoundModuleApi::CurrentVersion) {
                m.api = api;
                return;
            }
            reasons.append(entry ? QStringLiteral("%1: 版が違います").arg(file)
                                 : library.errorString());
            library.unload();
        }
        m.error = QStringLiteral("音の装置を扱う部品 (%1) を読み込めません: %2")
                      .arg(SoundDevices::moduleBaseName(), reasons.join(QStringLiteral("; ")));
    });
    return m;
}

} // namespace

bool SoundDevices::moduleLoaded()
{
    return module().api != nullptr;
}

QString SoundDevices::moduleError()
{
    return module().error;
}

QStringList SoundDevices::descriptions()
{
    const SoundModuleApi *api = module().api;
    return api ? api->deviceDescriptions() : QStringList();
}

QString SoundDevices::resolve(const QString &description)
{
    const SoundModuleApi *api = module().api;
    return api ? api->resolve(description) : QString();
}

std::unique_ptr<SoundSink> SoundDevices::open(const QString &description, const PcmFormat &format,
                                              QString *errorText)
{
    const SoundModuleApi *api = module().api;
    if (!api) {
        if (errorText)
            *errorText = moduleError();
        return nullptr;
    }
    return std::unique_ptr<SoundSink>(api->open(description, format, errorText));
}

} // namespace qel::slides
