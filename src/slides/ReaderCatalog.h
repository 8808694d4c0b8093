#pragma once

#include "slides/ExternalReader.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

namespace qel::slides {

// The outside readers this machine has: Open JTalk with a player (pw-play, paplay or aplay),
// the espeak-ng command and spd-say (the desktop's speech service). They stand in for the
// text reader and the document talker.
class ReaderCatalog : public QObject
{
    Q_OBJECT

public:
    struct Paths
    {
        QString openJTalk;
        QString dictionary;
        QString voiceFile; // the first Open JTalk voice
        QString player;    // pw-play, paplay or aplay
        QString espeak;
        QString spdSay;
    };
    struct Program
    {
        QString id; // "open_jtalk", "espeak-ng", "spd-say": what "TTS.EXE <id>" stores
        QString label;
        bool readsKanji = false;
        bool available = false;
        QString missingText; // what to install when it is not available
    };

    // Texts longer than this (in UTF-8 bytes) go on standard input instead of the command line.
    static constexpr int MaxArgumentBytes = 32 * 1024;

    static Paths systemPaths();
    ReaderCatalog(Paths paths, ReaderProcessFactory factory, QObject *parent = nullptr);

    // Every reader, found or not, Open JTalk first.
    QList<Program> programs() const;
    QList<Program> availablePrograms() const;
    // The reader a text reader value without a reader id gets, and the document talker.
    QString defaultId() const;
    // The reader of that id (or the default one for an empty id); null when it is not here.
    ExternalReader *reader(const QString &id);
    QString labelOf(const QString &id) const;

    // The programs one reading with that reader runs.
    QList<ExternalReader::Step> plan(const QString &id, const QString &text,
                                     const QString &tempFolder) const;

    int rate() const { return m_rate; }
    void setRate(int rate) { m_rate = qBound(-10, rate, 10); }

private:
    Paths m_paths;
    ReaderProcessFactory m_factory;
    QHash<QString, ExternalReader *> m_readers;
    int m_rate = 0;
};

} // namespace qel::slides
