#pragma once

#include "slides/SapiFormat.h"

#include <QObject>
#include <QString>

namespace qel::slides {

class SpeechEngine;

// TTSAppMain without its widgets: the text box, the speak flags, the skip count and the two
// flags speaking and paused, with the operations the program calls (warikomiSpeech, TTSAppKy,
// speechStop) and the window's buttons. The window shows this state; callers elsewhere ask it
// whether speech goes on (PauseBtn enabled) while they pump events.
class SpeechForm : public QObject
{
    Q_OBJECT

public:
    static QString initialText() { return QStringLiteral("Enter text you wish spoken here."); }
    static QString highlightFailedText()
    {
        return QStringLiteral("Failed to high light words. This may be caused by too many "
                              "charaters in the main text box.");
    }

    struct Flags
    {
        bool async = true; // chkSpFlagAync
        bool purgeBeforeSpeak = true;
        bool isXml = false;
        bool isFilename = false;
        bool nlpSpeakPunc = false;
        bool persistXml = false;
        bool operator==(const Flags &) const = default;
    };

    // The enabled states and captions the speech state gives the buttons.
    struct Buttons
    {
        bool speak = true;
        bool stop = false;
        bool skip = false;
        bool pause = false;
        QString pauseCaption = QStringLiteral("Pause");
    };
    static Buttons buttonsFor(bool speaking, bool paused);

    explicit SpeechForm(SpeechEngine &engine, QObject *parent = nullptr);

    SpeechEngine &engine() { return m_engine; }

    // Form_Load: the voice (a reader of kanji first, then any Japanese voice, else English at
    // rate 1), the default format, the flags; not speaking.
    void load();
    bool isLoaded() const { return m_loaded; }

    // warikomiSpeech: stop, put text in the text box, speak as the Speak button does.
    // 1 when the engine took the text, 0 when there is no voice to speak it with.
    int warikomiSpeech(const QString &text);
    // TTSAppKy: speak text (or resume when paused while speaking), then speaking, not paused.
    void TTSAppKy(const QString &text, int flags = 1);
    // speechStop: end all queued speech, resume a paused voice; not speaking, not paused.
    void speechStop();

    void SpeakBtn_Click();
    void StopBtn_Click() { speechStop(); }
    void PauseBtn_Click();
    void SkipBtn_Click();
    void ResetBtn_Click();

    bool isSpeaking() const { return m_speaking; }
    bool isPaused() const { return m_paused; }
    // What callers poll: the Pause button is enabled while speaking.
    bool pauseEnabled() const { return buttonsFor(m_speaking, m_paused).pause; }
    Buttons buttons() const { return buttonsFor(m_speaking, m_paused); }

    QString mainText() const { return m_text; }
    void setMainText(const QString &text);
    int selectionStart() const { return m_selStart; }
    int selectionLength() const { return m_selLength; }
    Flags flags() const { return m_flags; }
    void setFlags(const Flags &flags) { m_flags = flags; }
    int speakFlags() const;
    int skipCount() const { return m_skip; }
    void setSkipCount(int count) { m_skip = qBound(0, count, 999); }
    // Whether a voice can speak at all; the greeting and the settings ask.
    bool hasVoice() const;

signals:
    void stateChanged(bool speaking, bool paused);
    void mainTextChanged(const QString &text);
    void highlightChanged(int start, int length);
    // A failure the user must know of: a voice that cannot speak, a file not read.
    void message(const QString &text);

private:
    void setState(bool speaking, bool paused);
    void highlight(int stream, int start, int length);

    SpeechEngine &m_engine;
    QString m_text = initialText();
    int m_selStart = 0;
    int m_selLength = 0;
    Flags m_flags;
    int m_skip = 1;
    bool m_speaking = false;
    bool m_paused = false;
    bool m_loaded = false;
    int m_stream = 0;
    bool m_highlightFailed = false;
};

} // namespace qel::slides
