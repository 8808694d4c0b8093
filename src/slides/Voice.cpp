#include "slides/Voice.h"

#include "os/DeadlineWait.h"
#include "os/UserDialogs.h"
#include "slides/ExternalReader.h"
#include "slides/ReaderCatalog.h"
#include "slides/SpeechEngine.h"
#include "slides/SpeechForm.h"
#include "slides/VoiceMarks.h"

namespace qel::slides {

namespace {} // namespace

Voice::Voice(Context context)
    : m_context(std::move(context))
{
    if (!m_context.timeOfDay)
        m_context.timeOfDay = os::systemTimeOfDay;
    if (!m_context.pumpEvents)
        m_context.pumpEvents = [] {};
    QObject::connect(&m_context.form.engine(), &SpeechEngine::failed, &m_guard,
                     [this] { m_failed = true; });
}

VoiceSystem Voice::voiceSystem() const
{
    return VoiceSystems::fromLabel(m_context.voicePgm());
}

void Voice::waitUpTo(int seconds, const std::function<bool()> &until)
{
    os::waitUpTo(seconds, until, m_context.timeOfDay, m_context.pumpEvents);
}

bool Voice::voiceFailed() const
{
    if (m_failed)
        return true;
    // A reader that started but ended in an error has not spoken either.
    const ExternalReader *reader = const_cast<Voice *>(this)->currentReader();
    return reader && reader->failed();
}

ExternalReader *Voice::currentReader()
{
    const QString pgm = m_context.voicePgm();
    switch (VoiceSystems::fromProgram(pgm)) {
    case VoiceSystem::TextReader:
        return m_context.readers.reader(VoiceSystems::readerIdOf(pgm));
    case VoiceSystem::DocumentTalker:
        return m_context.readers.reader(QString());
    default:
        return nullptr;
    }
}

int Voice::warikomiSpeech(const QString &text)
{
    const int taken = m_context.form.warikomiSpeech(text);
    m_failed = taken == 0;
    return taken;
}

void Voice::sapiSpeak(const QString &text)
{
    warikomiSpeech(text);
}

bool Voice::sapiBusy()
{
    return m_context.form.pauseEnabled();
}

void Voice::sapiStop()
{
    m_context.form.speechStop();
}

void Voice::voiceSpeak(QString &text)
{
    ShowState &show = m_context.show;
    show.checkHold = 1;
    m_failed = false;
    switch (VoiceSystems::fromProgram(m_context.voicePgm())) {
    case VoiceSystem::Engine:
        sapiSpeak(text); // the marks stay in the text; the engine never reads them aloud
        break;
    case VoiceSystem::DocumentTalker:
        talkWithDocumentTalker(text);
        break;
    case VoiceSystem::TextReader:
        speakWithReader(text);
        if (show.checkHold != 1)
            return; // stopped while it began: the signal stays as it is
        break;
    case VoiceSystem::None:
        break;
    }
    show.slideSignal = 0;
}

void Voice::voiceSpeakWait(QString &text)
{
    VoiceMarks::take(text, VoiceMarks::notSelfend());
    voiceSpeak(text);
}

void Voice::talkWithDocumentTalker(const QString &text)
{
    ExternalReader *reader = currentReader();
    if (!reader) {
        m_failed = true;
        m_context.dialogs.inform(QStringLiteral(
            "ドキュメントトーカー の起動に失敗しました. 読み上げるプログラムがありません。"));
        return;
    }
    // A reading still going on is closed; every text starts the talker anew.
    if (reader->isSpeaking())
        closeReader(*reader);
    QString why;
    if (!reader->start(text, &why)) {
        m_failed = true;
        m_context.dialogs.inform(reader->startFailedText() + QLatin1Char(' ') + why);
    }
}

void Voice::speakWithReader(QString &text)
{
    ShowState &show = m_context.show;
    const bool notSelfend = VoiceMarks::take(text, VoiceMarks::notSelfend());
    VoiceMarks::take(text, VoiceMarks::stop());
    VoiceMarks::take(text, VoiceMarks::sync());

    ExternalReader *reader = currentReader();
    if (!reader) {
        m_failed = true;
        m_context.dialogs.inform(QStringLiteral(
            "テキストリーダー の起動に失敗しました. 読み上げるプログラムがありません。"));
        return;
    }
    if (reader->isSpeaking())
        reader->stop();
    QString why;
    if (!reader->start(text, &why)) {
        m_failed = true;
        m_context.dialogs.inform(reader->startFailedText() + QLatin1Char(' ') + why);
        return;
    }
    // start() returns once the program runs, so the reading has begun (or is already over):
    // nothing is left of the wait for its window to appear.
    if (show.checkHold != 1) {
        voiceStop();
        return;
    }
    if (notSelfend)
        return;
    while (voiceBusy()) {
        m_context.pumpEvents();
        if (show.checkHold == 2)
            show.checkHold = 1;
        if (show.checkHold == 0 || show.slideSignal > 0)
            voiceStop();
    }
}

bool Voice::voiceBusy()
{
    switch (VoiceSystems::fromProgram(m_context.voicePgm())) {
    case VoiceSystem::Engine:
        return sapiBusy();
    case VoiceSystem::TextReader:
    case VoiceSystem::DocumentTalker:
        if (ExternalReader *reader = currentReader())
            return reader->isSpeaking();
        return false;
    case VoiceSystem::None:
        break;
    }
    return false;
}

void Voice::closeReader(ExternalReader &reader)
{
    waitUpTo(CloseSeconds, [&reader] {
        if (!reader.isSpeaking())
            return true;
        reader.close();
        return !reader.isSpeaking();
    });
}

void Voice::voiceStop()
{
    if (voiceSystem() == VoiceSystem::Engine) {
        sapiStop();
        return;
    }
    ExternalReader *reader = currentReader();
    if (!reader)
        return;
    const bool closing = m_context.show.slideSignal >= 2;
    waitUpTo(StopSeconds, [&] {
        if (!reader->isSpeaking())
            return true;
        reader->stop();
        if (closing)
            closeReader(*reader);
        return !reader->isSpeaking();
    });
    // A reader that ignored the request past the deadline is ended all the same.
    if (reader->isSpeaking())
        reader->close();
}

} // namespace qel::slides
