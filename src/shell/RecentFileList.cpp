#include "shell/RecentFileList.h"

#include "os/FileAccess.h"
#include "os/PathParts.h"
#include "os/TextCodec.h"

#include <QDir>

namespace qel::shell {

namespace {

const QString LinePrefix = QStringLiteral("qel file=");

} // namespace

QString RecentFileList::entryFor(const QString &path)
{
    return os::PathParts::of(path).fileName.toLower() + QString(20, QLatin1Char(' ')) +
           QLatin1Char('*') + path;
}

QString RecentFileList::pathOf(const QString &entry)
{
    const qsizetype star = entry.indexOf(QLatin1Char('*'));
    return star < 0 ? QString() : entry.mid(star + 1).trimmed();
}

bool RecentFileList::isListed(const QString &path)
{
    const QString ext = os::PathParts::of(path).lowerExtension();
    return ext == QStringLiteral(".chf") || ext == QStringLiteral(".jpg");
}

QString RecentFileList::listFileName(const QString &programDir, const QString &machineLabel)
{
    return QDir(programDir)
        .filePath(QStringLiteral("qelPro") + machineLabel + QStringLiteral(".ini"));
}

QString RecentFileList::fallbackListFileName(const QString &programDir)
{
    return QDir(programDir).filePath(QStringLiteral("qelPro.ini"));
}

bool RecentFileList::add(const QString &path)
{
    if (!isListed(path))
        return false;
    const QString entry = entryFor(path);
    const QString key = entry.toLower();
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].toLower() != key)
            continue;
        if (i == 0)
            return false;
        m_entries.removeAt(i);
        break;
    }
    m_entries.prepend(entry);
    return true;
}

void RecentFileList::remove(int index)
{
    if (index >= 0 && index < m_entries.size())
        m_entries.removeAt(index);
}

int RecentFileList::step(int index, int direction, bool *wrapped) const
{
    int next = index + direction;
    bool wrap = false;
    if (next < 0) {
        next = count() - 1;
        wrap = true;
    } else if (next > count() - 1) {
        next = 0;
        wrap = true;
    }
    if (wrapped)
        *wrapped = wrap;
    return std::max(next, 0);
}

os::Result RecentFileList::load(const QString &fileName)
{
    QByteArray bytes;
    const os::Result read = os::FileAccess::readRegularFile(fileName, bytes, MaxFileSize);
    if (!read)
        return read;
    m_entries.clear();
    for (const QString &line : os::splitLines(os::decodeText(bytes).text)) {
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        if (comma < 0 || line.left(comma) != LinePrefix)
            continue;
        m_entries.append(line.mid(comma + 1));
        if (m_entries.size() > MaxEntries)
            break;
    }
    return read;
}

os::Result RecentFileList::save(const QString &fileName) const
{
    QStringList lines;
    for (int i = 0; i < std::min<int>(count(), MaxEntries); ++i)
        lines << LinePrefix + QLatin1Char(',') + m_entries[i];
    return os::FileAccess::saveFile(fileName,
                                    lines.isEmpty() ? QByteArray() : os::encodeLines(lines));
}

QStringList RecentFileList::brokenPath(const QString &path, int width)
{
    QStringList lines;
    for (qsizetype i = 0; i < path.size(); i += width)
        lines << path.mid(i, width);
    return lines;
}

QString RecentFileList::missingFileQuestion(int position, const QString &path)
{
    QString text = QString::number(position) + QStringLiteral(") ") +
                   brokenPath(path).join(QStringLiteral("\r\n")) +
                   QStringLiteral("が見つからないか読めません。");
    if (path.startsWith(QStringLiteral("\\\\")) || path.startsWith(QStringLiteral("//")))
        text += QStringLiteral("ネットワークにアクセスできるか確認してください。");
    text += QStringLiteral(
        "\r\nこのパス名はクリップボードに記録されています。\r\nこのリストを削除しますか ?");
    return text;
}

} // namespace qel::shell
