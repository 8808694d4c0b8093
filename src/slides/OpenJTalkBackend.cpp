#include "slides/OpenJTalkBackend.h"

#include "os/FileAccess.h"
#include "slides/WavFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace qel::slides {

namespace {

constexpr qint64 MaxWavBytes = 256LL * 1024 * 1024;

QString voiceName(const QString &baseName)
{
    QString name = baseName;
    name.replace(QLatin1Char('_'), QLatin1Char('-'));
    return QStringLiteral("Open JTalk ") + name;
}

} // namespace

OpenJTalkBackend::Config OpenJTalkBackend::systemConfig()
{
    Config c;
    c.program = qEnvironmentVariable("QELPRO_OPEN_JTALK");
    c.dictionary = qEnvironmentVariable("QELPRO_OPEN_JTALK_DIC",
                                        QStringLiteral("/var/lib/mecab/dic/open-jtalk/naist-jdic"));
    const QString dirs = qEnvironmentVariable("QELPRO_HTS_VOICES");
    c.voiceDirs = dirs.isEmpty() ? QStringList{QStringLiteral("/usr/share/hts-voice")}
                                 : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return c;
}

OpenJTalkBackend::OpenJTalkBackend(Config config, QObject *parent)
    : SpeechBackend(parent)
    , m_config(std::move(config))
{
    if (m_config.program.isEmpty())
        m_config.program = QStandardPaths::findExecutable(QStringLiteral("open_jtalk"));
    QStringList files;
    for (const QString &dir : std::as_const(m_config.voiceDirs)) {
        QDirIterator it(dir, {QStringLiteral("*.htsvoice")}, QDir::Files,
                        QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext())
            files.append(it.next());
    }
    files.sort();
    for (const QString &file : std::as_const(files)) {
        SpeechVoice v;
        const QString base = QFileInfo(file).completeBaseName();
        v.id = QStringLiteral("open_jtalk:") + base;
        v.name = voiceName(base);
        v.language = QStringLiteral("ja");
        v.backend = name();
        v.file = file;
        v.readsKanji = true;
        m_voices.append(v);
    }
    m_timeout = new QTimer(this);
    m_timeout->setSingleShot(true);
    connect(m_timeout, &QTimer::timeout, this, [this] {
        dropProcess();
        SynthesisResult r;
        r.ticket = m_current.ticket;
        r.result = os::Result::failure(
            QStringLiteral("Open JTalk が %1 秒たっても答えないので止めました。")
                .arg(m_config.timeoutMs / 1000));
        answer(r);
    });
}

OpenJTalkBackend::~OpenJTalkBackend()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
        delete m_process;
    }
}

QString OpenJTalkBackend::installHint()
{
    return QStringLiteral("sudo apt-get install open-jtalk open-jtalk-mecab-naist-jdic "
                          "hts-voice-nitech-jp-atr503-m001 (contrib)");
}

bool OpenJTalkBackend::isAvailable() const
{
    return QFileInfo(m_config.program).isExecutable() && QFileInfo(m_config.dictionary).isDir() &&
           !m_voices.isEmpty();
}

QString OpenJTalkBackend::missingText() const
{
    QString what;
    if (!QFileInfo(m_config.program).isExecutable())
        what = QStringLiteral("open_jtalk のプログラム");
    else if (!QFileInfo(m_config.dictionary).isDir())
        what = QStringLiteral("Open JTalk の辞書 (%1)").arg(m_config.dictionary);
    else if (m_voices.isEmpty())
        what = QStringLiteral("Open JTalk の声 (*.htsvoice)");
    else
        return {};
    return QStringLiteral("%1が見つかりません。漢字を読む日本語の声には %2 が要ります。")
        .arg(what, installHint());
}

QList<SpeechVoice> OpenJTalkBackend::voices() const
{
    return m_voices;
}

QString OpenJTalkBackend::programText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        // The program reads one line; control characters would end it or confuse MeCab.
        out.append(c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                           c == QChar::ParagraphSeparator
                       ? QChar(QLatin1Char(' '))
                       : c);
    }
    return out;
}

void OpenJTalkBackend::synthesize(const SynthesisRequest &request)
{
    m_queue.enqueue(request);
    if (!m_process)
        startNext();
}

void OpenJTalkBackend::cancelAll()
{
    m_queue.clear();
    m_timeout->stop();
    dropProcess();
}

void OpenJTalkBackend::dropProcess()
{
    if (QProcess *p = m_process) {
        m_process = nullptr;
        p->disconnect(this);
        p->kill();
        p->waitForFinished(1000);
        p->deleteLater();
    }
}

void OpenJTalkBackend::answer(SynthesisResult result)
{
    m_timeout->stop();
    // Always from the event loop, never inside the caller's synthesize().
    QMetaObject::invokeMethod(
        this, [this, result] { emit synthesized(result); }, Qt::QueuedConnection);
    if (!m_process)
        QTimer::singleShot(0, this, [this] {
            if (!m_process)
                startNext();
        });
}

void OpenJTalkBackend::startNext()
{
    if (m_queue.isEmpty())
        return;
    m_current = m_queue.dequeue();
    SynthesisResult fail;
    fail.ticket = m_current.ticket;
    if (!isAvailable()) {
        fail.result = os::Result::failure(missingText());
        return answer(fail);
    }
    const QString voiceFile = m_current.voice.file;
    if (!QFileInfo(voiceFile).isFile()) {
        // Removed while the program ran, or a voice name that was never there.
        fail.result = os::Result::failure(
            os::FileAccess::describe(voiceFile, QStringLiteral("声のファイルがありません。")));
        return answer(fail);
    }
    if (!m_dir || !m_dir->isValid()) {
        m_dir = std::make_unique<QTemporaryDir>(
            QDir::temp().filePath(QStringLiteral("qelpro-jtalk-XXXXXX")));
        if (!m_dir->isValid()) {
            fail.result = os::Result::failure(
                QStringLiteral("一時フォルダーを作れないので Open JTalk の音声を受け取れません。"));
            return answer(fail);
        }
    }
    const QString wav = m_dir->filePath(QStringLiteral("piece-%1.wav").arg(++m_files));
    QProcess *p = new QProcess(this);
    m_process = p;
    p->setProgram(m_config.program);
    p->setArguments({QStringLiteral("-x"), m_config.dictionary, QStringLiteral("-m"), voiceFile,
                     QStringLiteral("-r"), QString::number(speedFactor(m_current.rate), 'f', 3),
                     QStringLiteral("-ow"), wav});
    p->setProperty("wav", wav);
    connect(p, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        finishCurrent(code, status == QProcess::CrashExit);
    });
    connect(p, &QProcess::errorOccurred, this, [this, p](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || p != m_process)
            return;
        const QString why = p->errorString();
        dropProcess();
        SynthesisResult r;
        r.ticket = m_current.ticket;
        r.result = os::Result::failure(QStringLiteral("open_jtalk を起動できません: ") + why);
        answer(r);
    });
    m_timeout->start(m_config.timeoutMs);
    p->start();
    if (m_process == p) {
        p->write(programText(m_current.text).toUtf8() + '\n');
        p->closeWriteChannel();
    }
}

void OpenJTalkBackend::finishCurrent(int exitCode, bool crashed)
{
    QProcess *p = m_process;
    const QString wav = p->property("wav").toString();
    const QString errors = QString::fromUtf8(p->readAllStandardError()).trimmed();
    p->deleteLater();
    m_process = nullptr;

    SynthesisResult r;
    r.ticket = m_current.ticket;
    QByteArray bytes;
    if (!crashed && exitCode == 0) {
        const os::Result read = os::FileAccess::readRegularFile(wav, bytes, MaxWavBytes);
        QFile::remove(wav);
        PcmFormat format;
        r.result = read.ok() ? WavFile::decode(bytes, format, r.pcm) : read;
        if (r.result.ok() && (format.channels != 1 || format.bytesPerSample != 2)) {
            r.result = os::Result::failure(
                QStringLiteral("Open JTalk の音声が 16 ビットモノラルではありません。"));
            r.pcm.clear();
        }
        r.sampleRate = format.sampleRate;
    } else if (!crashed && errors.contains(QLatin1String("No phoneme"))) {
        // Marks or punctuation only: nothing to say, which is no failure.
        QFile::remove(wav);
        r.sampleRate = 48000;
    } else {
        QFile::remove(wav);
        // The voice file is named whatever went wrong: a broken one may even crash the program.
        const QString detail =
            errors.contains(QLatin1String("cannot be loaded"))
                ? QStringLiteral("声のファイルか辞書 (%1) を読めません。").arg(m_config.dictionary)
                : QStringLiteral("この声のファイルでは音声を作れません (%1)。")
                      .arg(crashed ? QStringLiteral("異常終了")
                                   : QStringLiteral("終了コード %1").arg(exitCode));
        r.result = os::Result::failure(QStringLiteral("Open JTalk: ") +
                                       os::FileAccess::describe(m_current.voice.file, detail));
    }
    if (r.result.ok())
        r.marks.append({SpeechMark::Sentence, 0, m_current.offset, int(m_current.text.size())});
    answer(r);
}

} // namespace qel::slides
