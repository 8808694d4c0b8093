#pragma once

#include "os/Result.h"
#include "slides/SpeechVoice.h"

#include <QByteArray>
#include <QList>
#include <QObject>

namespace qel::slides {

// A place in the audio where a word or sentence of the text begins.
struct SpeechMark
{
    enum Kind { Word, Sentence };
    Kind kind = Word;
    qint64 frame = 0;  // in the audio of its piece, at the back end's rate
    int textStart = 0; // in the whole text the engine was given
    int textLength = 0;
};

// One piece of text to synthesise: a sentence, or a part of a long one.
struct SynthesisRequest
{
    quint64 ticket = 0;
    QString text;   // the piece, cleaned for speaking
    int offset = 0; // where the piece starts in the whole text
    SpeechVoice voice;
    int rate = 0; // -10 .. 10, 0 normal; each step is a factor of 3^(1/10)
    bool speakPunctuation = false;
    bool ssml = false;
};

struct SynthesisResult
{
    quint64 ticket = 0;
    os::Result result;
    QByteArray pcm; // 16-bit signed mono, little-endian
    int sampleRate = 0;
    QList<SpeechMark> marks;
};

// A speech synthesiser: lists its voices and turns a piece of text into audio without blocking
// the caller. Each request is answered exactly once by synthesized(), in request order.
class SpeechBackend : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual QString name() const = 0;
    // Whether it can speak at all here; otherwise missingText() says what to install.
    virtual bool isAvailable() const = 0;
    virtual QString missingText() const = 0;
    virtual QList<SpeechVoice> voices() const = 0;
    virtual void synthesize(const SynthesisRequest &request) = 0;
    // Drops every request not yet answered; they are answered no more.
    virtual void cancelAll() = 0;

    // The speed factor of a rate step: 3^(rate/10), so 10 is three times as fast.
    static double speedFactor(int rate);

signals:
    void synthesized(const qel::slides::SynthesisResult &result);
};

} // namespace qel::slides

Q_DECLARE_METATYPE(qel::slides::SynthesisRequest)
Q_DECLARE_METATYPE(qel::slides::SynthesisResult)
