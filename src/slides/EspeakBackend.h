#pragma once

#include "slides/SpeechBackend.h"

#include <QThread>

#include <atomic>
#include <memory>

namespace qel::slides {

// Every language but Japanese, through libespeak-ng in this process. The library is one
// global synthesiser, so it runs on a thread of its own that takes the pieces one after the
// other; the window never waits for it. It gives word and sentence events.
class EspeakBackend : public SpeechBackend
{
    Q_OBJECT

public:
    explicit EspeakBackend(QObject *parent = nullptr);
    ~EspeakBackend() override;

    QString name() const override { return QStringLiteral("espeak-ng"); }
    bool isAvailable() const override;
    QString missingText() const override;
    QList<SpeechVoice> voices() const override;
    void synthesize(const SynthesisRequest &request) override;
    void cancelAll() override;

    static QString installHint();
    // The words-per-minute the library is given for a rate step.
    static int wordsPerMinute(int rate);

    class Worker;

private:
    QThread m_thread;
    Worker *m_worker = nullptr;
    std::shared_ptr<std::atomic<quint64>> m_generation;
};

} // namespace qel::slides
