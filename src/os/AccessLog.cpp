#include "os/AccessLog.h"

#include "os/FileAccess.h"
#include "os/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qel::os {

namespace {

// Creates the log when missing; a name that is no regular file does not count as a log.
bool touch(const QString &fileName)
{
    return FileAccess::appendFile(fileName, QByteArray()).ok();
}

} // namespace

AccessLog AccessLog::open(const QString &programDir, const QString &machineLabel)
{
    const QDir dir(programDir);
    const QString own =
        dir.filePath(QStringLiteral("qelAccs") + machineLabel + QStringLiteral(".log"));
    if (!machineLabel.contains(QLatin1Char('/')) && touch(own))
        return AccessLog(own);
    const QString shared = dir.filePath(QStringLiteral("qelAccs.log"));
    touch(shared);
    return AccessLog(shared);
}

AccessLog::AccessLog(const QString &fileName)
    : m_fileName(fileName)
{}

Result AccessLog::write(const QString &tag, const QString &path, const QString &version,
                        const QString &figureTitle, bool secondChart, const QDateTime &when) const
{
    if (m_fileName.isEmpty())
        return Result::failure(QString());
    const QString date = dateText(when.date()), time = timeText(when.time());
    QStringList lines;
    if (tag == QStringLiteral("<save CHF>")) {
        lines << QString()
              << QLatin1Char('<') + version + QStringLiteral(">, ") + date + QLatin1Char(',') +
                     time;
        if (secondChart) {
            lines << tag + QStringLiteral("2,") + path;
        } else {
            lines << tag + QLatin1Char(',') + path
                  << QStringLiteral("<title>    ,\"") + figureTitle + QLatin1Char('"');
        }
    } else {
        lines << tag + QLatin1Char(',') + date + QLatin1Char(',') + time + QStringLiteral(" , ") +
                     path;
    }
    // Read and replaced whole, so the log keeps one encoding; a FIFO or device in its place
    // is neither read nor replaced.
    QByteArray existing;
    const Result read = FileAccess::readRegularFile(m_fileName, existing, MaxFileSize);
    if (!read && read.code != FileAccess::NotFound)
        return read;
    QString text;
    for (const QString &line : std::as_const(lines))
        text += line + QStringLiteral("\r\n");
    return FileAccess::saveFile(m_fileName, appendText(existing, text));
}

QString AccessLog::rotate(const QDate &today) const
{
    const QFileInfo info(m_fileName);
    if (!info.exists() || info.size() <= RotateSize)
        return {};
    const QString stem = m_fileName.left(m_fileName.size() - 4) + dateText(today);
    QString target = stem + QStringLiteral(".log");
    // A second rotation on the same day must not overwrite the first one.
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = stem + QStringLiteral("_%1.log").arg(n);
    return QFile::rename(m_fileName, target) ? target : QString();
}

} // namespace qel::os
