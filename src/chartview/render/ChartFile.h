#pragma once

#include "chartview/ChartModel.h"

#include <QByteArray>
#include <QString>

namespace qel::chartview {

// What reading or writing a chart file came to; the message is ready to show to the user.
struct ChartFileResult
{
    enum Code : qint32 {
        Ok = 0,
        Unreadable = 1,   // the file cannot be opened or read
        NotChartFile = 2, // garbage, some other JSON, an empty file
        Newer = 3,        // written by a later qelPro
        Damaged = 4,      // truncated, wrong types, sizes that disagree, absurd counts
        Unwritable = 5,
    };

    qint32 code = Ok;
    QString message;

    bool ok() const { return code == Ok; }
};

// qelPro's own chart file: versioned JSON holding the whole ChartModel (docs/chart-file.md).
// A read either fills the model completely or leaves it exactly as it was; only the background
// gradient, which files of earlier versions do not hold, is kept when the file has none.
class ChartFile
{
public:
    static constexpr qint32 Version = 1;
    static constexpr int MaxSeries = 32767;
    static constexpr qint64 MaxValues = 16000000; // series x points
    // Two full 16M grids of the longest numbers fit below this.
    static constexpr qint64 MaxFileSize = qint64(1) << 30;

    static QByteArray toJson(const ChartModel &model);
    // fileName only names the file in messages.
    static ChartFileResult fromJson(const QByteArray &json, ChartModel &model,
                                    const QString &fileName = QString());

    static ChartFileResult save(const ChartModel &model, const QString &path);
    static ChartFileResult load(const QString &path, ChartModel &model);

    // Whether the model's lists have the lengths its counts promise and the counts are within
    // what a file may hold; only such a model is saved, so every saved file loads again.
    static bool canStore(const ChartModel &model);
};

} // namespace qel::chartview
