#pragma once

#include "os/Result.h"

#include <QString>
#include <QStringList>

namespace qel::shell {

// The recently opened chart files and pictures, newest first. An entry is the file name in
// lower case, twenty blanks, "*" and the path; the path keeps its case for opening, while
// duplicates are found without regard to case.
class RecentFileList
{
public:
    static constexpr int MaxEntries = 100;

    static QString entryFor(const QString &path);
    // The path after the entry's first "*".
    static QString pathOf(const QString &entry);
    // Whether files of this path's kind are listed (".chf" and ".jpg").
    static bool isListed(const QString &path);

    // The list file of one machine in the program folder, and the shared fallback.
    static QString listFileName(const QString &programDir, const QString &machineLabel);
    static QString fallbackListFileName(const QString &programDir);

    const QStringList &entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }
    QString entry(int index) const { return m_entries.value(index); }

    // Puts the file at the top; a listed file moves up instead of appearing twice.
    // Returns false when the file is not of a listed kind or already on top.
    bool add(const QString &path);
    void remove(int index);
    void clear() { m_entries.clear(); }

    // The next index in direction (+1 or -1), wrapping around the ends.
    int step(int index, int direction, bool *wrapped = nullptr) const;

    // Reads "qel file=," lines; stops once more than 100 entries were read. Only a regular
    // file is read; the list is left as it was when the file cannot be.
    os::Result load(const QString &fileName);
    // Writes the newest 100 entries, each as "qel file=," & entry. The old file is replaced
    // only when the new one is complete, and never when it is not a regular file.
    os::Result save(const QString &fileName) const;

    // A list file is small; anything larger is not one of ours.
    static constexpr qint64 MaxFileSize = 4 << 20;

    // The path broken into lines of at most width characters, for the missing-file question.
    static QStringList brokenPath(const QString &path, int width = 50);
    static QString missingFileQuestion(int position, const QString &path);

private:
    QStringList m_entries;
};

} // namespace qel::shell
