#include "settings/LegendFile.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString legend = qel::settings::LegendFile::decode(bytes);
    // What is read and saved again reads back the same.
    const QString again =
        qel::settings::LegendFile::decode(qel::settings::LegendFile::encode(legend));
    if (!legend.isEmpty() && again != legend)
        __builtin_trap();
    return 0;
}
