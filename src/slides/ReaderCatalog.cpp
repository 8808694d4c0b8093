#include "slides/ReaderCatalog.h"

#include "slides/EspeakBackend.h"
#include "slides/OpenJTalkBackend.h"
#include "slides/SpeechBackend.h"
#include "slides/TextSegmenter.h"
#include "slides/VoiceMarks.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qel::slides {

namespace {

QString oneLine(const QString &text)
{
    return OpenJTalkBackend::programText(VoiceMarks::blanked(text));
}

} // namespace

ReaderCatalog::Paths ReaderCatalog::systemPaths()
{
    Paths p;
    const OpenJTalkBackend::Config jtalk = OpenJTalkBackend::systemConfig();
    p.openJTalk = jtalk.program.isEmpty()
                      ? QStandardPaths::findExecutable(QStringLiteral("open_jtalk"))
                      : jtalk.program;
    p.dictionary = jtalk.dictionary;
    OpenJTalkBackend backend(jtalk);
    const QList<SpeechVoice> voices = backend.voices();
    if (!voices.isEmpty())
        p.voiceFile = voices.first().file;
    for (const char *player : {"pw-play", "paplay", "aplay"}) {
        p.player = QStandardPaths::findExecutable(QLatin1String(player));
        if (!p.player.isEmpty())
            break;
    }
    p.espeak = QStandardPaths::findExecutable(QStringLiteral("espeak-ng"));
    p.spdSay = QStandardPaths::findExecutable(QStringLiteral("spd-say"));
    return p;
}

ReaderCatalog::ReaderCatalog(Paths paths, ReaderProcessFactory factory, QObject *parent)
    : QObject(parent)
    , m_paths(std::move(paths))
    , m_factory(std::move(factory))
{}

QList<ReaderCatalog::Program> ReaderCatalog::programs() const
{
    QList<Program> list;
    Program jtalk;
    jtalk.id = QStringLiteral("open_jtalk");
    const QString player =
        m_paths.player.isEmpty() ? QStringLiteral("player") : QFileInfo(m_paths.player).fileName();
    jtalk.label = QStringLiteral("Open JTalk + ") + player;
    jtalk.readsKanji = true;
    jtalk.available = !m_paths.openJTalk.isEmpty() && !m_paths.voiceFile.isEmpty() &&
                      QFileInfo(m_paths.dictionary).isDir() && !m_paths.player.isEmpty();
    if (m_paths.openJTalk.isEmpty() || m_paths.voiceFile.isEmpty())
        jtalk.missingText = OpenJTalkBackend::installHint();
    else if (m_paths.player.isEmpty())
        jtalk.missingText = QStringLiteral(
            "音を鳴らすプログラム (pw-play, paplay, aplay) がありません: sudo apt-get install "
            "pipewire-bin か pulseaudio-utils か alsa-utils");
    list.append(jtalk);

    Program espeak;
    espeak.id = QStringLiteral("espeak-ng");
    espeak.label = QStringLiteral("espeak-ng");
    espeak.available = !m_paths.espeak.isEmpty();
    if (!espeak.available)
        espeak.missingText = QStringLiteral("sudo apt-get install espeak-ng");
    list.append(espeak);

    Program spd;
    spd.id = QStringLiteral("spd-say");
    spd.label = QStringLiteral("spd-say (speech-dispatcher)");
    spd.available = !m_paths.spdSay.isEmpty();
    if (!spd.available)
        spd.missingText = QStringLiteral("sudo apt-get install speech-dispatcher");
    list.append(spd);
    return list;
}

QList<ReaderCatalog::Program> ReaderCatalog::availablePrograms() const
{
    QList<Program> list;
    for (const Program &p : programs()) {
        if (p.available)
            list.append(p);
    }
    return list;
}

QString ReaderCatalog::defaultId() const
{
    const QList<Program> found = availablePrograms();
    return found.isEmpty() ? QString() : found.first().id;
}

QString ReaderCatalog::labelOf(const QString &id) const
{
    for (const Program &p : programs()) {
        if (p.id == id)
            return p.label;
    }
    return id;
}

ExternalReader *ReaderCatalog::reader(const QString &id)
{
    const QString key = id.isEmpty() ? defaultId() : id;
    bool known = false;
    for (const Program &p : availablePrograms())
        known = known || p.id == key;
    if (!known)
        return nullptr;
    if (ExternalReader *r = m_readers.value(key))
        return r;
    auto *r = new ExternalReader(
        key, labelOf(key),
        [this, key](const QString &text, const QString &temp) { return plan(key, text, temp); },
        m_factory, this);
    m_readers.insert(key, r);
    return r;
}

QList<ExternalReader::Step> ReaderCatalog::plan(const QString &id, const QString &text,
                                                const QString &tempFolder) const
{
    const QString spoken = VoiceMarks::blanked(text);
    const QByteArray utf8 = spoken.toUtf8();
    const bool onCommandLine = utf8.size() <= MaxArgumentBytes;
    const QString speed = QString::number(SpeechBackend::speedFactor(m_rate), 'f', 3);
    if (id == QLatin1String("open_jtalk")) {
        const QString wav = QDir(tempFolder).filePath(QStringLiteral("reading.wav"));
        QStringList play = {wav};
        if (QFileInfo(m_paths.player).fileName() == QLatin1String("aplay"))
            play.prepend(QStringLiteral("-q"));
        return {{m_paths.openJTalk,
                 {QStringLiteral("-x"), m_paths.dictionary, QStringLiteral("-m"), m_paths.voiceFile,
                  QStringLiteral("-r"), speed, QStringLiteral("-ow"), wav},
                 oneLine(text).toUtf8() + '\n'},
                {m_paths.player, play, {}}};
    }
    if (id == QLatin1String("espeak-ng")) {
        QStringList args = {QStringLiteral("-s"),
                            QString::number(EspeakBackend::wordsPerMinute(m_rate))};
        if (TextSegmenter::isJapanese(spoken))
            args << QStringLiteral("-v") << QStringLiteral("ja");
        if (onCommandLine)
            return {{m_paths.espeak, args << QStringLiteral("--") << spoken, {}}};
        return {{m_paths.espeak, args << QStringLiteral("--stdin"), utf8}};
    }
    if (id == QLatin1String("spd-say")) {
        // -w: the program runs until the text has been spoken.
        if (onCommandLine)
            return {{m_paths.spdSay, {QStringLiteral("-w"), QStringLiteral("--"), spoken}, {}}};
        return {{m_paths.spdSay, {QStringLiteral("-w"), QStringLiteral("-e")}, utf8}};
    }
    return {};
}

} // namespace qel::slides
