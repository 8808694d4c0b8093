#include "chartview/render/ChartFile.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using qel::chartview::ChartFile;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    qel::chartview::ChartModel model;
    const qel::chartview::ChartModel before = model;
    const auto result = ChartFile::fromJson(bytes, model, QStringLiteral("fuzz.chf"));
    // A refused file leaves the chart as it was; an accepted one writes back the same chart.
    if (!result.ok() && !(model == before))
        __builtin_trap();
    if (result.ok() && ChartFile::canStore(model)) {
        qel::chartview::ChartModel again;
        if (!ChartFile::fromJson(ChartFile::toJson(model), again).ok())
            __builtin_trap();
    }
    return 0;
}
