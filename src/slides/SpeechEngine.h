#pragma once

#include "slides/AudioOutput.h"
#include "slides/SapiFormat.h"
#include "slides/SpeechBackend.h"
#include "slides/TextSegmenter.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QTimer;

namespace qel::slides {

// The voice object behind the speech window: takes texts in streams, has them synthesised
// piece by piece by the back end their language needs (Open JTalk for Japanese, espeak-ng
// for the rest) and plays them through an AudioOutput. Everything runs on the caller's
// thread without blocking it; events (stream start and end, words, sentences) are raised when
// the listener reaches them, measured by the frames the output has played.
class SpeechEngine : public QObject
{
    Q_OBJECT

public:
    // The speak flags of the speech interface.
    enum Flag {
        Async = 1,
        PurgeBeforeSpeak = 2,
        IsFilename = 4,
        IsXml = 8,
        IsNotXml = 16,
        PersistXml = 32,
        NlpSpeakPunctuation = 64,
    };

    // Pieces synthesised ahead of the one being heard.
    static constexpr int Lookahead = 3;

    explicit SpeechEngine(QList<SpeechBackend *> backends, QObject *parent = nullptr);
    ~SpeechEngine() override;

    void setOutput(AudioOutput *output);
    AudioOutput *output() const { return m_output; }
    QList<SpeechBackend *> backends() const { return m_backends; }

    // Every voice, the ones that read kanji first, then the back ends' own order.
    QList<SpeechVoice> voices() const;
    // What to install for the back ends that cannot speak here.
    QStringList missingTexts() const;
    SpeechVoice voice() const { return m_voice; }
    // By id ("espeak-ng:gmw/en-US") or name, case-insensitive; false when there is none.
    bool setVoice(const QString &idOrName);
    SpeechVoice findVoice(const QString &idOrName) const;
    // The voice a piece is spoken with: the chosen one, unless its language needs another
    // back end (kanji need Open JTalk; English in a Japanese voice would be spelled out).
    SpeechVoice voiceFor(const TextSegmenter::Piece &piece) const;

    int rate() const { return m_rate; }
    void setRate(int rate);
    int volume() const { return m_volume; }
    void setVolume(int volume);
    SapiFormat format() const { return m_format; }
    void setFormat(const SapiFormat &format) { m_format = format; }

    // Queues text as a new stream; returns its number, 0 when nothing was queued (an empty
    // text). PurgeBeforeSpeak first ends everything queued; an empty text with it only stops.
    int speak(const QString &text, int flags = Async);
    void pause();
    void resume();
    bool isPaused() const { return m_paused; }
    // Skips from the sentence being heard forward by count sentences of the current stream.
    int skip(int count);
    // Nothing heard, nothing queued.
    bool isIdle() const { return m_streams.isEmpty(); }
    // Raises the events the listener has reached; a timer calls it while speaking.
    void poll();

signals:
    void streamStarted(int stream);
    void streamEnded(int stream);
    void word(int stream, int start, int length);
    void sentence(int stream, int start, int length);
    // A stream could not be spoken in whole or in part; told once per stream.
    void failed(const QString &message);
    void idleChanged(bool idle);

private:
    struct Piece
    {
        TextSegmenter::Piece text;
        SpeechVoice voice;
        quint64 ticket = 0;
        bool requested = false;
        bool done = false;
        bool written = false;
        qint64 startFrame = -1; // where its audio begins in the open output
        SynthesisResult result;
    };
    struct Stream
    {
        int number = 0;
        int flags = 0;
        QList<Piece> pieces;
        int nextWrite = 0;
        bool startWritten = false;
        bool endWritten = false;
        QStringList failures;
    };
    struct Event
    {
        enum Kind { Start, Word, Sentence, End };
        Kind kind = Start;
        qint64 frame = 0;
        int stream = 0;
        int start = 0;
        int length = 0;
        int piece = -1; // the piece whose audio begins here
    };

    SpeechBackend *backendOf(const SpeechVoice &voice) const;
    void purge();
    // Asks the back ends for the next pieces; true when some were answered at once.
    bool request();
    void onSynthesized(const SynthesisResult &result);
    void writeReady();
    void writeDone();
    bool openOutput();
    void fail(Stream &stream, const QString &message);
    void writePiece(Stream &stream, Piece &piece);
    void closeOutput();
    void setIdle(bool idle);

    QList<SpeechBackend *> m_backends;
    QPointer<AudioOutput> m_output;
    SpeechVoice m_voice;
    int m_rate = 0;
    int m_volume = 100;
    SapiFormat m_format = SapiFormat::defaultFormat();
    QList<Stream> m_streams;
    QList<Event> m_events;
    qint64 m_framesWritten = 0;
    PcmFormat m_openFormat;
    bool m_paused = false;
    bool m_idle = true;
    int m_nextStream = 1;
    quint64 m_nextTicket = 1;
    QTimer *m_timer;
};

} // namespace qel::slides
