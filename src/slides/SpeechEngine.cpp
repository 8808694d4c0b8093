#include "slides/SpeechEngine.h"

#include "slides/AudioOutput.h"
#include "slides/PcmConverter.h"

#include <QTimer>

#include <limits>

namespace qel::slides {

namespace {

constexpr int PollMs = 15;
constexpr qint64 MaxAheadMs = 30000;

} // namespace

SpeechEngine::SpeechEngine(QList<SpeechBackend *> backends, QObject *parent)
    : QObject(parent)
    , m_backends(std::move(backends))
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(PollMs);
    connect(m_timer, &QTimer::timeout, this, &SpeechEngine::poll);
    for (SpeechBackend *b : std::as_const(m_backends))
        connect(b, &SpeechBackend::synthesized, this, &SpeechEngine::onSynthesized);
}

SpeechEngine::~SpeechEngine()
{
    for (SpeechBackend *b : std::as_const(m_backends))
        b->disconnect(this);
    if (m_output && m_output->isOpen())
        m_output->close();
}

void SpeechEngine::setOutput(AudioOutput *output)
{
    if (m_output == output)
        return;
    closeOutput();
    if (m_output)
        m_output->disconnect(this);
    m_output = output;
    if (m_output) {
        m_output->setVolume(m_volume / 100.0);
        connect(m_output, &AudioOutput::failed, this, [this](const QString &message) {
            if (!m_streams.isEmpty())
                fail(m_streams.first(), message);
            poll(); // what was not heard can no longer be: its events pass now
        });
    }
}

QList<SpeechVoice> SpeechEngine::voices() const
{
    QList<SpeechVoice> kanji;
    QList<SpeechVoice> others;
    for (const SpeechBackend *b : m_backends) {
        if (!b->isAvailable())
            continue;
        for (const SpeechVoice &v : b->voices())
            (v.readsKanji ? kanji : others).append(v);
    }
    return kanji + others;
}

QStringList SpeechEngine::missingTexts() const
{
    QStringList list;
    for (const SpeechBackend *b : m_backends) {
        if (!b->isAvailable())
            list.append(b->missingText());
    }
    return list;
}

SpeechVoice SpeechEngine::findVoice(const QString &idOrName) const
{
    const QList<SpeechVoice> all = voices();
    for (const auto &match : {
             std::function<bool(const SpeechVoice &)>([&](const SpeechVoice &v) {
                 return v.id.compare(idOrName, Qt::CaseInsensitive) == 0;
             }),
             std::function<bool(const SpeechVoice &)>([&](const SpeechVoice &v) {
                 return v.name.compare(idOrName, Qt::CaseInsensitive) == 0 ||
                        v.description().compare(idOrName, Qt::CaseInsensitive) == 0;
             }),
             std::function<bool(const SpeechVoice &)>([&](const SpeechVoice &v) {
                 return v.language.compare(idOrName, Qt::CaseInsensitive) == 0;
             }),
         }) {
        for (const SpeechVoice &v : all) {
            if (match(v))
                return v;
        }
    }
    return {};
}

bool SpeechEngine::setVoice(const QString &idOrName)
{
    const SpeechVoice v = findVoice(idOrName);
    if (!v.isValid())
        return false;
    m_voice = v;
    return true;
}

SpeechBackend *SpeechEngine::backendOf(const SpeechVoice &voice) const
{
    for (SpeechBackend *b : m_backends) {
        if (b->name() == voice.backend && b->isAvailable())
            return b;
    }
    return nullptr;
}

SpeechVoice SpeechEngine::voiceFor(const TextSegmenter::Piece &piece) const
{
    const QList<SpeechVoice> all = voices();
    const SpeechVoice chosen = m_voice.isValid() ? m_voice : all.value(0);
    auto first = [&](const std::function<bool(const SpeechVoice &)> &pred) {
        for (const SpeechVoice &v : all) {
            if (pred(v) && backendOf(v))
                return v;
        }
        return SpeechVoice();
    };
    const bool chosenWorks = chosen.isValid() && backendOf(chosen);
    if (piece.japanese) {
        if (chosenWorks && chosen.readsKanji)
            return chosen;
        if (const SpeechVoice v = first([](const SpeechVoice &v) { return v.readsKanji; });
            v.isValid())
            return v;
        if (chosenWorks && chosen.isJapanese())
            return chosen;
        if (const SpeechVoice v = first([](const SpeechVoice &v) { return v.isJapanese(); });
            v.isValid())
            return v;
        return chosen;
    }
    if (chosenWorks && !chosen.isJapanese())
        return chosen;
    for (const char *language : {"en-us", "en", "en-gb"}) {
        const QString l = QLatin1String(language);
        if (const SpeechVoice v = first([&](const SpeechVoice &v) { return v.language == l; });
            v.isValid())
            return v;
    }
    if (const SpeechVoice v = first([](const SpeechVoice &v) { return !v.isJapanese(); });
        v.isValid())
        return v;
    return chosen;
}

void SpeechEngine::setRate(int rate)
{
    m_rate = qBound(-10, rate, 10);
}

void SpeechEngine::setVolume(int volume)
{
    m_volume = qBound(0, volume, 100);
    if (m_output)
        m_output->setVolume(m_volume / 100.0);
}

int SpeechEngine::speak(const QString &text, int flags)
{
    if (flags & PurgeBeforeSpeak)
        purge();
    if (text.isEmpty())
        return 0;
    Stream s;
    s.number = m_nextStream++;
    s.flags = flags;
    for (const TextSegmenter::Piece &p : TextSegmenter::split(text)) {
        Piece piece;
        piece.text = p;
        piece.voice = voiceFor(p);
        s.pieces.append(piece);
    }
    m_streams.append(s);
    setIdle(false);
    m_timer->start();
    writeReady();
    return s.number;
}

void SpeechEngine::purge()
{
    for (SpeechBackend *b : std::as_const(m_backends))
        b->cancelAll();
    m_streams.clear();
    m_events.clear();
    closeOutput();
    m_timer->stop();
    setIdle(true);
}

void SpeechEngine::closeOutput()
{
    if (m_output && m_output->isOpen())
        m_output->close();
    m_framesWritten = 0;
}

void SpeechEngine::pause()
{
    m_paused = true;
    if (m_output)
        m_output->setPaused(true);
}

void SpeechEngine::resume()
{
    m_paused = false;
    if (m_output)
        m_output->setPaused(false);
}

void SpeechEngine::fail(Stream &stream, const QString &message)
{
    if (stream.failures.contains(message))
        return;
    stream.failures.append(message);
    // Told from the event loop: a receiver may stop or restart speech, which must not happen
    // while the queue is being worked on.
    QMetaObject::invokeMethod(
        this, [this, message] { emit failed(message); }, Qt::QueuedConnection);
}

bool SpeechEngine::request()
{
    // Enough audio waiting for the listener: the rest is made as it is heard, so a long text
    // never sits in memory whole.
    if (m_output && m_output->isOpen() &&
        m_framesWritten - m_output->playedFrames() > m_openFormat.framesForMs(MaxAheadMs))
        return false;
    bool resolved = false;
    int outstanding = 0;
    for (qsizetype si = 0; si < m_streams.size(); ++si) {
        for (qsizetype pi = m_streams[si].nextWrite; pi < m_streams[si].pieces.size(); ++pi) {
            if (outstanding >= Lookahead)
                return resolved;
            ++outstanding;
            Piece &piece = m_streams[si].pieces[pi];
            if (piece.requested)
                continue;
            piece.requested = true;
            piece.ticket = m_nextTicket++;
            SpeechBackend *backend = backendOf(piece.voice);
            if (!backend) {
                piece.done = true;
                piece.result.ticket = piece.ticket;
                const QStringList missing = missingTexts();
                piece.result.result = os::Result::failure(
                    QStringLiteral("話せる声がありません。") +
                    (missing.isEmpty() ? QString()
                                       : QLatin1Char(' ') + missing.join(QLatin1Char(' '))));
                resolved = true;
                continue;
            }
            SynthesisRequest r;
            r.ticket = piece.ticket;
            r.text = piece.text.text;
            r.offset = piece.text.start;
            r.voice = piece.voice;
            r.rate = m_rate;
            r.speakPunctuation = m_streams[si].flags & NlpSpeakPunctuation;
            r.ssml = m_streams[si].flags & IsXml;
            backend->synthesize(r);
            // A back end that answered at once may have changed the queue.
            if (si >= m_streams.size())
                return resolved;
        }
    }
    return resolved;
}

void SpeechEngine::onSynthesized(const SynthesisResult &result)
{
    for (Stream &s : m_streams) {
        for (Piece &p : s.pieces) {
            if (p.ticket == result.ticket && p.requested && !p.done) {
                p.result = result;
                p.done = true;
                writeReady();
                return;
            }
        }
    }
}

bool SpeechEngine::openOutput()
{
    if (!m_output)
        return false;
    if (m_output->isOpen())
        return true;
    QString why;
    if (!m_output->open(m_format.pcm, &why)) {
        if (!m_streams.isEmpty())
            fail(m_streams.first(), why);
        return false;
    }
    m_openFormat = m_format.pcm;
    m_framesWritten = 0;
    m_output->setVolume(m_volume / 100.0);
    m_output->setPaused(m_paused);
    return true;
}

void SpeechEngine::writePiece(Stream &stream, Piece &piece)
{
    piece.written = true;
    const SynthesisResult &r = piece.result;
    if (!r.result.ok()) {
        fail(stream, r.result.message);
        return;
    }
    if (r.pcm.isEmpty() || r.sampleRate <= 0 || !openOutput())
        return;
    const QByteArray pcm = PcmConverter::convert(r.pcm, r.sampleRate, m_openFormat);
    const qint64 frames = pcm.size() / m_openFormat.bytesPerFrame();
    const qint64 start = m_framesWritten;
    piece.startFrame = start;
    for (const SpeechMark &m : r.marks) {
        Event e;
        e.kind = m.kind == SpeechMark::Word ? Event::Word : Event::Sentence;
        e.frame = start + qBound<qint64>(0,
                                         PcmConverter::convertedFrame(m.frame, r.sampleRate,
                                                                      m_openFormat.sampleRate),
                                         frames);
        e.stream = stream.number;
        e.start = m.textStart;
        e.length = m.textLength;
        m_events.append(e);
    }
    m_output->write(pcm);
    m_framesWritten += frames;
}

void SpeechEngine::writeReady()
{
    do {
        writeDone();
    } while (request()); // pieces nobody can speak are answered at once
}

void SpeechEngine::writeDone()
{
    for (qsizetype si = 0; si < m_streams.size(); ++si) {
        Stream &s = m_streams[si];
        if (s.endWritten)
            continue;
        if (!s.startWritten) {
            s.startWritten = true;
            m_events.append({Event::Start, m_framesWritten, s.number, 0, 0, -1});
        }
        while (s.nextWrite < s.pieces.size() && s.pieces[s.nextWrite].done)
            writePiece(s, s.pieces[s.nextWrite++]);
        if (s.nextWrite < s.pieces.size())
            break; // later streams wait for this one
        s.endWritten = true;
        m_events.append({Event::End, m_framesWritten, s.number, 0, 0, -1});
    }
}

void SpeechEngine::poll()
{
    if (m_paused)
        return;
    auto played = [this] {
        return m_output && m_output->isOpen() ? m_output->playedFrames()
                                              : std::numeric_limits<qint64>::max();
    };
    while (!m_events.isEmpty() && !m_paused && m_events.first().frame <= played()) {
        const Event e = m_events.takeFirst();
        switch (e.kind) {
        case Event::Start:
            emit streamStarted(e.stream);
            break;
        case Event::Word:
            emit word(e.stream, e.start, e.length);
            break;
        case Event::Sentence:
            emit sentence(e.stream, e.start, e.length);
            break;
        case Event::End:
            if (!m_streams.isEmpty() && m_streams.first().number == e.stream)
                m_streams.removeFirst();
            emit streamEnded(e.stream);
            break;
        }
    }
    if (m_streams.isEmpty() && m_events.isEmpty() && !m_idle) {
        closeOutput();
        m_timer->stop();
        setIdle(true);
        return;
    }
    request();
}

int SpeechEngine::skip(int count)
{
    if (m_streams.isEmpty() || count <= 0)
        return 0;
    Stream &s = m_streams.first();
    const qint64 played = m_output && m_output->isOpen() ? m_output->playedFrames() : 0;
    int current = -1;
    for (int i = 0; i < s.nextWrite; ++i) {
        const Piece &p = s.pieces[i];
        if (p.written && p.startFrame >= 0 && p.startFrame <= played)
            current = i;
    }
    if (current < 0)
        current = qMin<int>(s.nextWrite, int(s.pieces.size()) - 1);
    const int target = qMin<int>(current + count, int(s.pieces.size()));
    const int skipped = target - qMax(0, current);

    for (SpeechBackend *b : std::as_const(m_backends))
        b->cancelAll();
    m_events.clear();
    closeOutput();
    for (qsizetype si = 0; si < m_streams.size(); ++si) {
        Stream &st = m_streams[si];
        const int from = si == 0 ? target : 0;
        for (int i = from; i < st.pieces.size(); ++i) {
            Piece fresh;
            fresh.text = st.pieces[i].text;
            fresh.voice = st.pieces[i].voice;
            st.pieces[i] = fresh;
        }
        st.nextWrite = from;
        st.endWritten = false;
        st.startWritten = si == 0;
    }
    writeReady();
    return skipped;
}

void SpeechEngine::setIdle(bool idle)
{
    if (m_idle == idle)
        return;
    m_idle = idle;
    emit idleChanged(idle);
}

} // namespace qel::slides
