#pragma once

#include "slides/SpeechBackend.h"

#include <QPointer>
#include <QQueue>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QProcess;
class QTimer;

namespace qel::slides {

// Japanese speech through the open_jtalk program: it reads kanji correctly. Every piece of
// text goes to the program on its standard input (never through a shell) and comes back as a
// WAV file in a folder of our own. It gives no word events; each piece is one sentence mark.
class OpenJTalkBackend : public SpeechBackend
{
    Q_OBJECT

public:
    struct Config
    {
        QString program;       // the open_jtalk program; found on the PATH when empty
        QString dictionary;    // the MeCab dictionary folder
        QStringList voiceDirs; // folders searched for *.htsvoice files
        int timeoutMs = 60000; // a piece that takes longer is given up
    };

    // Debian's places, or QELPRO_OPEN_JTALK, QELPRO_OPEN_JTALK_DIC and QELPRO_HTS_VOICES
    // (folders separated by ":") where they are set.
    static Config systemConfig();

    explicit OpenJTalkBackend(Config config, QObject *parent = nullptr);
    ~OpenJTalkBackend() override;

    QString name() const override { return QStringLiteral("open_jtalk"); }
    bool isAvailable() const override;
    QString missingText() const override;
    QList<SpeechVoice> voices() const override;
    void synthesize(const SynthesisRequest &request) override;
    void cancelAll() override;

    static QString installHint();
    // The text as the program takes it: one line, no control characters.
    static QString programText(const QString &text);

private:
    void startNext();
    void finishCurrent(int exitCode, bool crashed);
    void answer(SynthesisResult result);
    void dropProcess();

    Config m_config;
    QList<SpeechVoice> m_voices;
    QQueue<SynthesisRequest> m_queue;
    SynthesisRequest m_current;
    QPointer<QProcess> m_process;
    QTimer *m_timeout = nullptr;
    std::unique_ptr<QTemporaryDir> m_dir;
    quint64 m_files = 0;
};

} // namespace qel::slides
