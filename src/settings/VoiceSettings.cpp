#include "settings/VoiceSettings.h"

#include "os/DeadlineWait.h"
#include "os/SettingsStore.h"
#include "os/UserDialogs.h"
#include "slides/ExternalReader.h"
#include "slides/ReaderCatalog.h"
#include "slides/SpeechOutput.h"

namespace qel::settings {

using slides::VoiceSystem;
using slides::VoiceSystems;

namespace {

QString application()
{
    return QStringLiteral("qelPro");
}

QString section()
{
    return QStringLiteral("Startup");
}

} // namespace

VoiceSettings::VoiceSettings(Context context, Hooks hooks, QObject *parent)
    : QObject(parent)
    , m_context(std::move(context))
    , m_hooks(std::move(hooks))
{
    if (!m_context.timeOfDay)
        m_context.timeOfDay = os::systemTimeOfDay;
    if (!m_context.pumpEvents)
        m_context.pumpEvents = [] {};
    if (!m_context.now)
        m_context.now = [] { return QDateTime::currentDateTime(); };
}

QString VoiceSettings::movedFolderText()
{
    return QStringLiteral(
        "qelPro起動ディレクトリが変更されています。\r\nqelProシステムを更新します。");
}

QString VoiceSettings::movedFolderTitle(const QString &version)
{
    return QStringLiteral("qelPro ") + version + QStringLiteral("j ") +
           QStringLiteral(" for Linux");
}

QString VoiceSettings::testText(const QString &systemName)
{
    return QStringLiteral("現在、ボイスシステムは ") + systemName +
           QStringLiteral(" に設定されています.");
}

QString VoiceSettings::testFailedText()
{
    return QStringLiteral("ボイスシステムがないか異常です.　ボイスシステムの") +
           QStringLiteral("不具合はその製造元におたずねください.qelProはボイ") +
           QStringLiteral("スシステムを保証するものではありません．");
}

QString VoiceSettings::engineSetText()
{
    return QStringLiteral("Speech API was setted. ＳＡＰＩエンジン音声出力に設定しました。");
}

QString VoiceSettings::caption(int index)
{
    switch (index) {
    case 0:
        return QStringLiteral("Table Editor(Excel etc)/表編集");
    case 1:
        return QStringLiteral("Text reader (読み上げコマンド)");
    case 2:
        return QStringLiteral("Document talker (文ごとに起動)");
    case 3:
        return QStringLiteral("音声合成エンジン (Open JTalk / eSpeak NG)");
    default:
        return {};
    }
}

QString VoiceSettings::read(const QString &key) const
{
    return m_context.store.value(application(), section(), key);
}

void VoiceSettings::write(const QString &key, const QString &value)
{
    m_context.store.setValue(application(), section(), key, value);
}

VoiceSettings::Labels VoiceSettings::labelsFor(const QString &voicePgm) const
{
    Labels l;
    l.system = VoiceSystems::fromLabel(voicePgm);
    l.qelVoicePgmFile = voicePgm;
    auto readerLabel = [this](const QString &id) {
        if (!m_context.readers)
            return id;
        const QString key = id.isEmpty() ? m_context.readers->defaultId() : id;
        return key.isEmpty() ? QStringLiteral("読み上げプログラムなし")
                             : m_context.readers->labelOf(key);
    };
    switch (l.system) {
    case VoiceSystem::TextReader:
        l.qelVoicePgm = QStringLiteral("テキストリーダー (%1)")
                            .arg(readerLabel(VoiceSystems::readerIdOf(voicePgm)));
        l.qelVoiceCaption = QStringLiteral("qelVoice");
        break;
    case VoiceSystem::DocumentTalker:
        l.qelVoicePgm = QStringLiteral("ドキュメントトーカー (%1)").arg(readerLabel(QString()));
        l.qelVoiceCaption = QStringLiteral("qelVoiceT");
        break;
    case VoiceSystem::Engine:
        l.qelVoicePgm = QStringLiteral("音声合成エンジン (Open JTalk / eSpeak NG)");
        l.qelVoiceCaption = QStringLiteral("MSAPI");
        break;
    case VoiceSystem::None:
        l.qelVoicePgm = VoiceSystems::notSetValue();
        break;
    }
    return l;
}

void VoiceSettings::waitUpTo(double seconds, const std::function<bool()> &until)
{
    os::waitUpTo(seconds, until, m_context.timeOfDay, m_context.pumpEvents);
}

void VoiceSettings::Save1Load2XclVoiceIni(int mode)
{
    if (mode == 1) {
        write(QStringLiteral("Table Editor"), m_context.tableEditorPath);
        write(QStringLiteral("Qel.Path"), m_context.programFolder);
        write(QStringLiteral("Create"),
              m_context.now().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
    } else if (mode == 2) {
        const QString stored = read(QStringLiteral("Qel.Path"));
        if (stored.toLower() != m_context.programFolder.toLower()) {
            os::MessageRequest question;
            question.text = movedFolderText();
            question.title = movedFolderTitle(m_context.version);
            question.buttons = os::MessageButtons::OkCancel;
            question.icon = os::MessageIcon::Exclamation;
            if (m_context.dialogs.message(question) == os::MessageAnswer::Cancel) {
                if (m_hooks.endProgram)
                    m_hooks.endProgram();
                return;
            }
            write(QStringLiteral("Qel.Path"), m_context.programFolder);
        }

        m_context.tableEditorPath = read(QStringLiteral("Table Editor"));
        if (m_context.tableEditorPath.isEmpty() && m_hooks.chooseTableEditor)
            m_hooks.chooseTableEditor();

        m_context.voicePgm = read(QStringLiteral("Voice pgm"));
        if (m_context.voicePgm.isEmpty()) {
            if (m_hooks.showSettings)
                m_hooks.showSettings(1);
            m_context.voicePgm = read(QStringLiteral("Voice pgm"));
            // Asked once: a window closed without a choice means no voice, until the user
            // chooses one in the settings.
            if (m_context.voicePgm.isEmpty())
                m_context.voicePgm = VoiceSystems::notSetValue();
        }
        write(QStringLiteral("Voice pgm"), m_context.voicePgm);
        emit labelsChanged(labels());
    }
    if (m_hooks.setVoiceEDitAvailable)
        m_hooks.setVoiceEDitAvailable();
}

void VoiceSettings::cmdSetEditVoice_Click(int index)
{
    switch (index) {
    case 0:
        if (m_hooks.chooseTableEditor)
            m_hooks.chooseTableEditor();
        break;
    case 1:
        chooseTextReader();
        break;
    case 2:
        chooseDocumentTalker();
        break;
    case 3:
        chooseEngine();
        break;
    default:
        return;
    }
    if (!m_context.voicePgm.isEmpty()) {
        write(QStringLiteral("Voice pgm"), m_context.voicePgm);
        Save1Load2XclVoiceIni(2);
    }
}

void VoiceSettings::chooseTextReader()
{
    const QString choice = QStringLiteral("Set Voice pgm");
    write(choice, QStringLiteral("empty"));
    const bool started = m_hooks.startReaderChooser && m_hooks.startReaderChooser();
    if (started)
        waitUpTo(ChooserSeconds, [&] { return read(choice) != QLatin1String("empty"); });
    const QString answer = read(choice);
    if (answer != QLatin1String("cancel")) {
        if (answer.contains(QLatin1String("tts.exe"), Qt::CaseInsensitive))
            m_context.voicePgm = answer;
        return;
    }
    m_context.dialogs.beep();
    QString notice;
    switch (VoiceSystems::fromProgram(m_context.voicePgm)) {
    case VoiceSystem::TextReader:
        notice = QStringLiteral("キャンセルしました。");
        break;
    case VoiceSystem::Engine:
        notice = QStringLiteral("voice change was canceldo. .'.... キャンセルしました。");
        break;
    default:
        return;
    }
    m_context.speech.voiceSpeak(notice);
}

void VoiceSettings::chooseDocumentTalker()
{
    // Every reader found can be the document talker; without one there is nothing to choose.
    if (m_context.readers && m_context.readers->defaultId().isEmpty()) {
        QStringList missing;
        for (const slides::ReaderCatalog::Program &p : m_context.readers->programs())
            missing.append(p.missingText);
        m_context.dialogs.inform(
            QStringLiteral("ドキュメントトーカーに使える読み上げプログラムがありません。\n") +
                missing.join(QLatin1Char('\n')),
            os::MessageIcon::Exclamation);
        return;
    }
    m_context.voicePgm = VoiceSystems::documentTalkerValue();
}

void VoiceSettings::chooseEngine()
{
    if (m_context.speech.warikomiSpeech(engineSetText()) == 0) {
        m_context.dialogs.inform(
            QStringLiteral("音声合成エンジンに声がありません。%1")
                .arg(QStringLiteral("sudo apt-get install open-jtalk open-jtalk-mecab-naist-jdic "
                                    "hts-voice-nitech-jp-atr503-m001 espeak-ng libespeak-ng-dev")),
            os::MessageIcon::Exclamation);
        return;
    }
    m_context.voicePgm = VoiceSystems::engineValue();
}

void VoiceSettings::cmdKakunin_Click()
{
    QString text = testText(labels().qelVoicePgm);
    bool failed = false;
    const QString pgm = m_context.voicePgm;
    if (pgm == QLatin1String("sleep")) {
        // The companion program read the text with the default reader.
        slides::ExternalReader *reader =
            m_context.readers ? m_context.readers->reader(QString()) : nullptr;
        failed = !reader || !reader->start(text, nullptr);
    } else if (!pgm.isEmpty()) {
        m_context.speech.voiceSpeak(text);
        failed = m_context.speech.voiceFailed();
    }
    waitUpTo(1, [] { return false; });
    failed = failed || m_context.speech.voiceFailed();
    if (failed || pgm.isEmpty() || labels().system == VoiceSystem::None)
        m_context.dialogs.inform(testFailedText());
}

} // namespace qel::settings
