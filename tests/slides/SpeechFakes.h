#pragma once

#include "slides/AudioOutput.h"
#include "slides/ReaderProcess.h"
#include "slides/SpeechBackend.h"

#include <QList>
#include <QStringList>

#include <memory>

namespace qel::test {

// A synthesiser that answers when told to: every character becomes framesPerChar frames at
// 1000 Hz, with a word mark at each blank-separated word, or a failure.
class FakeBackend : public slides::SpeechBackend
{
public:
    FakeBackend(QString name, QString language, bool kanji, bool available = true)
        : m_name(std::move(name))
        , m_available(available)
    {
        slides::SpeechVoice v;
        v.id = m_name + QStringLiteral(":") + language;
        v.name = m_name + QStringLiteral(" ") + language;
        v.language = language;
        v.backend = m_name;
        v.readsKanji = kanji;
        m_voices.append(v);
    }

    QString name() const override { return m_name; }
    bool isAvailable() const override { return m_available; }
    QString missingText() const override
    {
        return m_available ? QString() : QStringLiteral("install ") + m_name;
    }
    QList<slides::SpeechVoice> voices() const override { return m_voices; }
    void synthesize(const slides::SynthesisRequest &request) override
    {
        requests.append(request);
        pending.append(request);
    }
    void cancelAll() override
    {
        ++cancels;
        pending.clear();
    }

    // Answers the oldest pending request; returns false when there is none.
    bool answerOne()
    {
        if (pending.isEmpty())
            return false;
        const slides::SynthesisRequest r = pending.takeFirst();
        slides::SynthesisResult result;
        result.ticket = r.ticket;
        result.sampleRate = 1000;
        if (!failWith.isEmpty()) {
            result.result = os::Result::failure(failWith);
        } else {
            result.pcm = QByteArray(r.text.size() * framesPerChar * 2, '\x10');
            qsizetype word = 0;
            for (qsizetype i = 0; i <= r.text.size(); ++i) {
                if (i == r.text.size() || r.text.at(i) == QLatin1Char(' ')) {
                    if (i > word)
                        result.marks.append({slides::SpeechMark::Word, word * framesPerChar,
                                             int(r.offset + word), int(i - word)});
                    word = i + 1;
                }
            }
        }
        emit synthesized(result);
        return true;
    }
    void answerAll()
    {
        while (answerOne()) {
        }
    }

    QList<slides::SynthesisRequest> requests;
    QList<slides::SynthesisRequest> pending;
    int cancels = 0;
    int framesPerChar = 10;
    QString failWith;

private:
    QString m_name;
    bool m_available;
    QList<slides::SpeechVoice> m_voices;
};

// A sound device whose listener gets as far as the test says.
class FakeAudioOutput : public slides::AudioOutput
{
public:
    QString description() const override { return QStringLiteral("fake"); }
    bool open(const slides::PcmFormat &format, QString *errorText) override
    {
        if (!openError.isEmpty()) {
            if (errorText)
                *errorText = openError;
            return false;
        }
        m_open = true;
        m_format = format;
        written = 0;
        played = 0;
        ++opens;
        return true;
    }
    bool isOpen() const override { return m_open; }
    void write(const QByteArray &pcm) override { written += pcm.size() / m_format.bytesPerFrame(); }
    qint64 writtenFrames() const override { return written; }
    qint64 playedFrames() const override { return qMin(played, written); }
    void setPaused(bool p) override { paused = p; }
    void setVolume(double v) override { volume = v; }
    void close() override
    {
        m_open = false;
        ++closes;
    }
    // Plays everything written so far.
    void playAll() { played = written; }

    qint64 written = 0;
    qint64 played = 0;
    bool paused = false;
    double volume = 1;
    int opens = 0;
    int closes = 0;
    QString openError;
    slides::PcmFormat m_format;

private:
    bool m_open = false;
};

// An outside program run that the test ends; every call goes to a shared log.
class FakeReaderProcess : public slides::ReaderProcess
{
public:
    struct Script
    {
        QStringList log;
        QStringList failing;      // programs that do not start
        bool endsAtOnce = false;  // a reader that exits as soon as it started
        bool ignoresTerm = false; // a reader that hangs on terminate
        QList<FakeReaderProcess *> live;
    };

    explicit FakeReaderProcess(Script &script)
        : m_script(script)
    {
        m_script.live.append(this);
    }
    ~FakeReaderProcess() override { m_script.live.removeAll(this); }

    bool start(const QString &program, const QStringList &arguments, const QByteArray &input,
               QString *errorText) override
    {
        m_script.log << QStringLiteral("start %1 %2%3")
                            .arg(program, arguments.join(QLatin1Char(' ')),
                                 input.isEmpty() ? QString()
                                                 : QStringLiteral(" <") + QString::fromUtf8(input));
        if (m_script.failing.contains(program)) {
            if (errorText)
                *errorText = program + QStringLiteral(" not found");
            return false;
        }
        m_running = !m_script.endsAtOnce;
        m_ok = true;
        if (!m_running)
            emit finished();
        return true;
    }
    bool isRunning() const override { return m_running; }
    bool succeeded() const override { return !m_running && m_ok; }
    void terminate() override
    {
        m_script.log << QStringLiteral("terminate");
        if (!m_script.ignoresTerm)
            end(false);
    }
    void kill() override
    {
        m_script.log << QStringLiteral("kill");
        end(false);
    }
    // The reading came to its end by itself.
    void end(bool ok = true)
    {
        if (!m_running)
            return;
        m_running = false;
        m_ok = ok;
        emit finished();
    }

private:
    Script &m_script;
    bool m_running = false;
    bool m_ok = false;
};

inline slides::ReaderProcessFactory fakeReaderFactory(FakeReaderProcess::Script &script)
{
    return [&script] { return std::make_unique<FakeReaderProcess>(script); };
}

} // namespace qel::test
