#include "slides/ui/TTSAppMain.h"

#include "slides/AudioOutput.h"
#include "slides/SapiFormat.h"
#include "slides/SpeechEngine.h"
#include "slides/SpeechForm.h"
#include "slides/SpeechServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTextBlock>
#include <QVBoxLayout>

namespace qel::slides {

namespace {

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

QString TTSAppMain::caption()
{
    return QStringLiteral("qelPro 音声エンジン (Open JTalk / eSpeak NG)");
}

TTSAppMain::TTSAppMain(SpeechServices &services, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_services(services)
    , m_form(services.form())
{
    setObjectName(QStringLiteral("TTSAppMain"));
    setWindowTitle(caption());
    if (!m_form.isLoaded())
        m_form.load();

    m_text = named(new QPlainTextEdit(this), "MainTxtBox");
    m_text->setPlainText(m_form.mainText());
    m_speak = named(new QPushButton(QStringLiteral("Speak"), this), "SpeakBtn");
    m_stop = named(new QPushButton(QStringLiteral("Stop"), this), "StopBtn");
    m_pause = named(new QPushButton(QStringLiteral("Pause"), this), "PauseBtn");
    m_skipButton = named(new QPushButton(QStringLiteral("Skip"), this), "SkipBtn");
    m_reset = named(new QPushButton(QStringLiteral("Reset"), this), "ResetBtn");
    m_skip = named(new QSpinBox(this), "SkipTxtBox");
    m_skip->setRange(0, 999);
    m_skip->setSuffix(QStringLiteral(" Sentence"));
    m_skip->setToolTip(QStringLiteral("飛ばす文の数 (UpDown1)"));
    m_voices = named(new QComboBox(this), "VoiceCB");
    m_rate = named(new QSlider(Qt::Horizontal, this), "RateSldr");
    m_rate->setRange(-10, 10);
    m_rate->setTickPosition(QSlider::TicksBelow);
    m_volume = named(new QSlider(Qt::Horizontal, this), "VolumeSldr");
    m_volume->setRange(0, 100);
    m_volume->setTickInterval(10);
    m_volume->setTickPosition(QSlider::TicksBelow);
    m_formats = named(new QComboBox(this), "FormatCB");
    for (const SapiFormat &f : SapiFormat::all())
        m_formats->addItem(f.name, f.number);
    m_outputs = named(new QComboBox(this), "AudioOutputCB");

    auto *flags = new QGroupBox(QStringLiteral("Speak flags"), this);
    auto *flagGrid = new QGridLayout(flags);
    m_async = named(new QCheckBox(QStringLiteral("SPF_ASYNC"), flags), "chkSpFlagAync");
    m_async->setToolTip(QStringLiteral("読み上げはいつも窓を止めずに進みます"));
    m_purge = named(new QCheckBox(QStringLiteral("SPF_PURGEBEFORESPEAK"), flags),
                    "chkSpFlagPurgeBeforeSpeak");
    m_xml = named(new QCheckBox(QStringLiteral("SPF_IS_XML"), flags), "chkSpFlagIsXML");
    m_filename =
        named(new QCheckBox(QStringLiteral("SPF_IS_FILENAME"), flags), "chkSpFlagIsFilename");
    m_punctuation =
        named(new QCheckBox(QStringLiteral("SPF_NLP_SPEAK_PUNC"), flags), "chkSpFlagNLPSpeakPunc");
    m_persist =
        named(new QCheckBox(QStringLiteral("SPF_PERSIST_XML"), flags), "chkSpFlagPersistXML");
    const QList<QCheckBox *> boxes = {m_async,    m_purge,       m_xml,
                                      m_filename, m_punctuation, m_persist};
    for (int i = 0; i < boxes.size(); ++i) {
        flagGrid->addWidget(boxes[i], i / 2, i % 2);
        connect(boxes[i], &QCheckBox::toggled, this, &TTSAppMain::takeFlags);
    }
    m_showEvents = named(new QCheckBox(QStringLiteral("Show events"), this), "chkShowEvents");
    m_events = named(new QLabel(this), "EventLabel");
    m_events->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_missing = named(new QLabel(this), "MissingLabel");
    m_missing->setWordWrap(true);
    m_missing->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_speak, m_stop, m_pause, m_skipButton})
        buttons->addWidget(b);
    buttons->addWidget(m_skip);
    buttons->addStretch();
    buttons->addWidget(m_reset);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Voice"), m_voices);
    form->addRow(QStringLiteral("Rate"), m_rate);
    form->addRow(QStringLiteral("Volume"), m_volume);
    form->addRow(QStringLiteral("Format"), m_formats);
    form->addRow(QStringLiteral("Audio output"), m_outputs);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
    layout->addLayout(form);
    layout->addWidget(flags);
    layout->addWidget(m_showEvents);
    layout->addWidget(m_events);
    layout->addWidget(m_missing);

    connect(m_speak, &QPushButton::clicked, &m_form, &SpeechForm::SpeakBtn_Click);
    connect(m_stop, &QPushButton::clicked, &m_form, &SpeechForm::StopBtn_Click);
    connect(m_pause, &QPushButton::clicked, &m_form, &SpeechForm::PauseBtn_Click);
    connect(m_skipButton, &QPushButton::clicked, &m_form, &SpeechForm::SkipBtn_Click);
    connect(m_reset, &QPushButton::clicked, this, [this] {
        m_form.ResetBtn_Click();
        if (!m_services.outputDevices().isEmpty())
            m_services.setOutputDevice(m_services.outputDevices().first());
        showControls();
    });
    connect(m_skip, &QSpinBox::valueChanged, &m_form, &SpeechForm::setSkipCount);
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_updating)
            m_form.setMainText(m_text->toPlainText());
    });
    connect(m_voices, &QComboBox::activated, this, [this](int index) {
        m_form.engine().setVoice(m_voices->itemData(index).toString());
        describe(QStringLiteral("VoiceChange Voice=%1").arg(m_voices->itemText(index)));
    });
    connect(m_rate, &QSlider::valueChanged, &m_form.engine(), &SpeechEngine::setRate);
    connect(m_volume, &QSlider::valueChanged, &m_form.engine(), &SpeechEngine::setVolume);
    connect(m_formats, &QComboBox::activated, this, [this](int index) {
        m_form.engine().setFormat(SapiFormat::byNumber(m_formats->itemData(index).toInt()));
    });
    connect(m_outputs, &QComboBox::activated, this,
            [this](int index) { m_services.setOutputDevice(m_outputs->itemText(index)); });

    connect(&m_form, &SpeechForm::stateChanged, this, &TTSAppMain::showState);
    connect(&m_form, &SpeechForm::mainTextChanged, this, [this](const QString &text) {
        if (m_text->toPlainText() == text)
            return;
        m_updating = true;
        m_text->setPlainText(text);
        m_updating = false;
    });
    connect(&m_form, &SpeechForm::highlightChanged, this, [this](int start, int length) {
        QTextCursor c = m_text->textCursor();
        const int end = qMin(start + length, m_text->document()->characterCount() - 1);
        c.setPosition(qMax(0, qMin(start, end)));
        c.setPosition(qMax(0, end), QTextCursor::KeepAnchor);
        m_text->setTextCursor(c);
        describe(QStringLiteral("Word CharacterPosition=%1 Length=%2").arg(start).arg(length));
    });
    SpeechEngine &engine = m_form.engine();
    connect(&engine, &SpeechEngine::streamStarted, this, [this](int stream) {
        describe(QStringLiteral("StartStream StreamNumber=%1").arg(stream));
    });
    connect(&engine, &SpeechEngine::streamEnded, this, [this](int stream) {
        describe(QStringLiteral("EndStream StreamNumber=%1").arg(stream));
    });
    connect(&engine, &SpeechEngine::sentence, this, [this](int, int start, int length) {
        describe(QStringLiteral("Sentence CharacterPosition=%1 Length=%2").arg(start).arg(length));
    });

    refresh();
    resize(640, 560);
}

void TTSAppMain::refresh()
{
    SpeechEngine &engine = m_form.engine();
    {
        const QSignalBlocker block(m_voices);
        m_voices->clear();
        for (const SpeechVoice &v : engine.voices())
            m_voices->addItem(v.description(), v.id);
        m_voices->setEnabled(m_voices->count() > 0);
    }
    {
        const QSignalBlocker block(m_outputs);
        m_outputs->clear();
        const QStringList devices = m_services.outputDevices();
        if (devices.isEmpty()) {
            m_outputs->addItem(noOutputText());
            m_outputs->setEnabled(false);
            m_outputs->setToolTip(
                QStringLiteral("音は %1 に書かれます").arg(m_services.outputDescription()));
        } else {
            m_outputs->addItems(devices);
            m_outputs->setEnabled(true);
        }
    }
    QStringList missing = engine.missingTexts();
    if (engine.voices().isEmpty())
        missing.prepend(QStringLiteral("話せる声がありません。"));
    m_missing->setText(missing.join(QLatin1Char('\n')));
    m_missing->setVisible(!missing.isEmpty());
    showControls();
}

void TTSAppMain::showControls()
{
    m_updating = true;
    SpeechEngine &engine = m_form.engine();
    const int voice = m_voices->findData(engine.voice().id);
    m_voices->setCurrentIndex(qMax(0, voice));
    {
        const QSignalBlocker a(m_rate);
        const QSignalBlocker b(m_volume);
        m_rate->setValue(engine.rate());
        m_volume->setValue(engine.volume());
    }
    m_formats->setCurrentIndex(m_formats->findData(engine.format().number));
    if (m_outputs->isEnabled())
        m_outputs->setCurrentIndex(qMax(0, m_outputs->findText(m_services.outputDescription())));
    const SpeechForm::Flags f = m_form.flags();
    const std::pair<QCheckBox *, bool> states[] = {
        {m_async, f.async},         {m_purge, f.purgeBeforeSpeak},   {m_xml, f.isXml},
        {m_filename, f.isFilename}, {m_punctuation, f.nlpSpeakPunc}, {m_persist, f.persistXml}};
    for (const auto &[box, on] : states) {
        const QSignalBlocker block(box);
        box->setChecked(on);
    }
    m_skip->setValue(m_form.skipCount());
    if (m_text->toPlainText() != m_form.mainText())
        m_text->setPlainText(m_form.mainText());
    m_updating = false;
    showState();
}

void TTSAppMain::showState()
{
    const SpeechForm::Buttons b = m_form.buttons();
    m_speak->setEnabled(b.speak);
    m_stop->setEnabled(b.stop);
    m_skipButton->setEnabled(b.skip);
    m_pause->setEnabled(b.pause);
    m_pause->setText(b.pauseCaption);
}

void TTSAppMain::takeFlags()
{
    if (m_updating)
        return;
    SpeechForm::Flags f;
    f.async = m_async->isChecked();
    f.purgeBeforeSpeak = m_purge->isChecked();
    f.isXml = m_xml->isChecked();
    f.isFilename = m_filename->isChecked();
    f.nlpSpeakPunc = m_punctuation->isChecked();
    f.persistXml = m_persist->isChecked();
    m_form.setFlags(f);
}

void TTSAppMain::describe(const QString &event)
{
    if (m_showEvents->isChecked())
        m_events->setText(event);
}

} // namespace qel::slides
