#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QSpinBox;

namespace qel::slides {

class SpeechForm;
class SpeechServices;

// The speech window: the text box, speak / stop / pause-resume / skip, the voice list, rate
// and volume, the audio format and the output device, the speak flags, and the words
// highlighted as they are heard. Shown for the special chart file; otherwise its state serves
// the program hidden (SpeechForm).
class TTSAppMain : public QWidget
{
    Q_OBJECT

public:
    static QString caption();
    static QString noOutputText() { return QStringLiteral("No audio ouput object available"); }

    explicit TTSAppMain(SpeechServices &services, QWidget *parent = nullptr);

    QPlainTextEdit *mainTextBox() const { return m_text; }
    QPushButton *speakButton() const { return m_speak; }
    QPushButton *stopButton() const { return m_stop; }
    QPushButton *pauseButton() const { return m_pause; }
    QPushButton *skipButton() const { return m_skipButton; }
    QComboBox *voiceBox() const { return m_voices; }
    QComboBox *formatBox() const { return m_formats; }
    QComboBox *outputBox() const { return m_outputs; }
    QSlider *rateSlider() const { return m_rate; }
    QSlider *volumeSlider() const { return m_volume; }
    QLabel *eventLabel() const { return m_events; }
    QLabel *missingLabel() const { return m_missing; }

    // Fills the lists from what the engine and the machine have.
    void refresh();

private:
    void showState();
    void showControls();
    void takeFlags();
    void describe(const QString &event);

    SpeechServices &m_services;
    SpeechForm &m_form;
    QPlainTextEdit *m_text;
    QPushButton *m_speak;
    QPushButton *m_stop;
    QPushButton *m_pause;
    QPushButton *m_skipButton;
    QPushButton *m_reset;
    QComboBox *m_voices;
    QComboBox *m_formats;
    QComboBox *m_outputs;
    QSlider *m_rate;
    QSlider *m_volume;
    QSpinBox *m_skip;
    QCheckBox *m_async;
    QCheckBox *m_purge;
    QCheckBox *m_xml;
    QCheckBox *m_filename;
    QCheckBox *m_punctuation;
    QCheckBox *m_persist;
    QCheckBox *m_showEvents;
    QLabel *m_events;
    QLabel *m_missing;
    bool m_updating = false;
};

} // namespace qel::slides
