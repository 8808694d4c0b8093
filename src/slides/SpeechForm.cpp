#include "slides/SpeechForm.h"

#include "os/FileAccess.h"
#include "os/TextCodec.h"
#include "slides/SpeechEngine.h"

namespace qel::slides {

namespace {

constexpr qint64 MaxSpokenFile = 4 * 1024 * 1024;

} // namespace

SpeechForm::Buttons SpeechForm::buttonsFor(bool speaking, bool paused)
{
    Buttons b;
    b.speak = true;
    b.stop = speaking;
    b.skip = speaking && !paused;
    b.pause = speaking;
    b.pauseCaption = paused ? QStringLiteral("Resume") : QStringLiteral("Pause");
    return b;
}

SpeechForm::SpeechForm(SpeechEngine &engine, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
{
    connect(&m_engine, &SpeechEngine::word, this, &SpeechForm::highlight);
    connect(&m_engine, &SpeechEngine::sentence, this, &SpeechForm::highlight);
    connect(&m_engine, &SpeechEngine::streamEnded, this, [this](int stream) {
        if (stream != m_stream)
            return;
        // The end of the stream: the whole text is selected again, and speech has ended
        // unless more was queued behind it.
        m_selStart = 0;
        m_selLength = int(m_text.size());
        emit highlightChanged(m_selStart, m_selLength);
        if (m_engine.isIdle())
            setState(false, m_paused);
    });
    connect(&m_engine, &SpeechEngine::streamStarted, this, [this](int stream) {
        m_stream = stream;
        m_highlightFailed = false;
    });
    connect(&m_engine, &SpeechEngine::failed, this, &SpeechForm::message);
}

void SpeechForm::load()
{
    const QList<SpeechVoice> voices = m_engine.voices();
    SpeechVoice chosen;
    for (const auto &pred : {std::function<bool(const SpeechVoice &)>(
                                 [](const SpeechVoice &v) { return v.readsKanji; }),
                             std::function<bool(const SpeechVoice &)>(
                                 [](const SpeechVoice &v) { return v.isJapanese(); })}) {
        for (const SpeechVoice &v : voices) {
            if (!chosen.isValid() && pred(v))
                chosen = v;
        }
    }
    if (!chosen.isValid()) {
        // No Japanese voice: American English, then British, at rate 1.
        m_engine.setRate(1);
        for (const char *language : {"en-us", "en-gb", "en"}) {
            for (const SpeechVoice &v : voices) {
                if (!chosen.isValid() && v.language == QLatin1String(language))
                    chosen = v;
            }
        }
    }
    if (!chosen.isValid())
        chosen = voices.value(0);
    if (chosen.isValid())
        m_engine.setVoice(chosen.id);
    m_engine.setFormat(SapiFormat::defaultFormat());
    m_flags = Flags();
    m_loaded = true;
    setState(false, false);
}

bool SpeechForm::hasVoice() const
{
    return !m_engine.voices().isEmpty();
}

void SpeechForm::setMainText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    emit mainTextChanged(text);
}

int SpeechForm::speakFlags() const
{
    int f = 0;
    if (m_flags.async)
        f |= SpeechEngine::Async;
    if (m_flags.purgeBeforeSpeak)
        f |= SpeechEngine::PurgeBeforeSpeak;
    if (m_flags.isXml)
        f |= SpeechEngine::IsXml;
    if (m_flags.isFilename)
        f |= SpeechEngine::IsFilename;
    if (m_flags.nlpSpeakPunc)
        f |= SpeechEngine::NlpSpeakPunctuation;
    if (m_flags.persistXml)
        f |= SpeechEngine::PersistXml;
    return f;
}

int SpeechForm::warikomiSpeech(const QString &text)
{
    if (!m_loaded)
        load();
    speechStop();
    setMainText(text);
    SpeakBtn_Click();
    return hasVoice() ? 1 : 0;
}

void SpeechForm::TTSAppKy(const QString &text, int flags)
{
    if (text.isEmpty())
        return;
    if (!m_loaded)
        load();
    if (!(m_speaking && m_paused)) {
        QString spoken = text;
        if (flags & SpeechEngine::IsFilename) {
            QByteArray bytes;
            const os::Result read = os::FileAccess::readRegularFile(text, bytes, MaxSpokenFile);
            if (!read.ok()) {
                emit message(read.message);
                return;
            }
            spoken = os::decodeText(bytes).text;
        }
        m_engine.speak(spoken, flags & ~SpeechEngine::IsFilename);
    }
    if (m_paused)
        m_engine.resume();
    setState(true, false);
}

void SpeechForm::speechStop()
{
    m_engine.speak(QString(), SpeechEngine::PurgeBeforeSpeak);
    if (m_paused)
        m_engine.resume();
    setState(false, false);
}

void SpeechForm::SpeakBtn_Click()
{
    TTSAppKy(m_text, speakFlags());
}

void SpeechForm::PauseBtn_Click()
{
    if (!m_speaking)
        return;
    if (m_paused) {
        m_engine.resume();
        setState(true, false);
    } else {
        m_engine.pause();
        setState(true, true);
    }
}

void SpeechForm::SkipBtn_Click()
{
    if (m_speaking && !m_paused)
        m_engine.skip(m_skip);
}

void SpeechForm::ResetBtn_Click()
{
    const QList<SpeechVoice> voices = m_engine.voices();
    if (!voices.isEmpty())
        m_engine.setVoice(voices.first().id);
    m_engine.setFormat(SapiFormat::defaultFormat());
    setMainText(initialText());
    m_engine.setVolume(100);
    m_engine.setRate(0);
    m_flags = Flags();
}

void SpeechForm::setState(bool speaking, bool paused)
{
    const bool changed = speaking != m_speaking || paused != m_paused;
    m_speaking = speaking;
    m_paused = paused;
    if (changed)
        emit stateChanged(speaking, paused);
}

void SpeechForm::highlight(int stream, int start, int length)
{
    if (stream != m_stream || m_flags.isFilename)
        return;
    if (start < 0 || length < 0 || start + length > m_text.size()) {
        // The text was changed while it was spoken.
        if (!m_highlightFailed) {
            m_highlightFailed = true;
            emit message(highlightFailedText());
        }
        return;
    }
    m_selStart = start;
    m_selLength = length;
    emit highlightChanged(start, length);
}

} // namespace qel::slides
