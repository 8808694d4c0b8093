#pragma once

#include "os/Result.h"

#include <QDateTime>
#include <QString>

namespace qel::os {

// The per-machine record of every chart load and save: plain text, only ever appended to.
class AccessLog
{
public:
    // The log of one machine in the program folder ("qelAccs<label>.log"), created when
    // missing; when it cannot be created, the shared "qelAccs.log".
    static AccessLog open(const QString &programDir, const QString &machineLabel);

    explicit AccessLog(const QString &fileName = QString());
    QString fileName() const { return m_fileName; }

    // Appends the record for tag (e.g. "<load CHF>", "<save BMP>", "<load .tbx>").
    // A chart save ("<save CHF>") writes its block: an empty line, the version and time,
    // the path and the figure title (or, for the second chart, the path alone).
    Result write(const QString &tag, const QString &path, const QString &version,
                 const QString &figureTitle, bool secondChart,
                 const QDateTime &when = QDateTime::currentDateTime()) const;

    // A log over a million bytes is moved aside to "<name without .log><date>.log".
    // Returns the new name, or an empty text when nothing was moved.
    QString rotate(const QDate &today = QDate::currentDate()) const;

    static QString dateText(const QDate &date)
    {
        return date.toString(QStringLiteral("MM-dd-yyyy"));
    }
    static QString timeText(const QTime &time) { return time.toString(QStringLiteral("hh:mm:ss")); }
    static constexpr qint64 RotateSize = 1000000;
    // Rotated at start-up past a million bytes; far more is no log of ours.
    static constexpr qint64 MaxFileSize = qint64(64) << 20;

private:
    QString m_fileName;
};

} // namespace qel::os
