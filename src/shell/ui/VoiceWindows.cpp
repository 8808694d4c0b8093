#include "shell/ui/VoiceWindows.h"

#include "settings/VoiceSettings.h"
#include "settings/ui/Form2.h"
#include "settings/ui/ReaderChooser.h"
#include "settings/ui/VoicePanel.h"
#include "shell/ProgramState.h"
#include "slides/ReaderCatalog.h"
#include "slides/SoundDevices.h"
#include "slides/SpeechEngine.h"
#include "slides/SpeechServices.h"
#include "slides/Voice.h"
#include "slides/VoiceSystem.h"
#include "slides/ui/TTSAppMain.h"

#include <QCoreApplication>
#include <QThread>

namespace qel::shell {

VoiceWindows::VoiceWindows(Parts parts)
    : m_parts(std::move(parts))
{}

VoiceWindows::~VoiceWindows() = default;

settings::VoiceSettings *VoiceWindows::voiceSettings()
{
    if (m_voice || !m_parts.speech)
        return m_voice.get();
    ProgramState &state = m_parts.state;
    settings::VoiceSettings::Context context{m_parts.store,
                                             state.voicePgm,
                                             state.tableEditorPath,
                                             m_parts.programFolder(),
                                             ProgramState::fullVersionText(),
                                             m_parts.dialogs,
                                             m_parts.speech->voice(),
                                             &m_parts.speech->readers(),
                                             os::systemTimeOfDay,
                                             {},
                                             {}};
    context.pumpEvents = [] {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    };
    settings::VoiceSettings::Hooks hooks;
    hooks.showSettings = [this](int tab) {
        if (settings::Form2 *f = form2())
            f->showOnTab(tab, true);
    };
    hooks.endProgram = m_parts.endProgram;
    hooks.startReaderChooser = [this] { return startReaderChooser(); };
    hooks.chooseTableEditor = m_parts.chooseTableEditor;
    hooks.setVoiceEDitAvailable = m_parts.setVoiceEDitAvailable;
    m_voice = std::make_unique<settings::VoiceSettings>(context, hooks);
    return m_voice.get();
}

settings::Form2 *VoiceWindows::form2()
{
    if (!m_form2) {
        m_form2 =
            new settings::Form2(m_parts.form2State, m_parts.chart, m_parts.dialogs, m_parts.owner);
        if (m_parts.settingsWindowMade)
            m_parts.settingsWindowMade(*m_form2);
        if (settings::VoiceSettings *voice = voiceSettings()) {
            auto *panel = new settings::VoicePanel(*voice, m_parts.speech->engine().missingTexts());
            m_form2->addToSecondTab(panel);
        }
    }
    return m_form2;
}

void VoiceWindows::showSettings(int tab)
{
    form2()->showOnTab(tab, false);
}

void VoiceWindows::showSpeechEngine()
{
    if (!m_parts.speech)
        return;
    if (!m_tts)
        m_tts = new slides::TTSAppMain(*m_parts.speech, m_parts.owner);
    m_tts->show();
    m_tts->raise();
    m_tts->activateWindow();
}

void VoiceWindows::Save1Load2XclVoiceIni(int mode)
{
    if (settings::VoiceSettings *voice = voiceSettings())
        voice->Save1Load2XclVoiceIni(mode);
}

bool VoiceWindows::startReaderChooser()
{
    settings::ReaderChooser chooser(m_parts.speech->readers(), m_parts.store,
                                    m_form2 ? static_cast<QWidget *>(m_form2) : m_parts.owner);
    chooser.exec();
    return true;
}

QString VoiceWindows::outputNote() const
{
    const QString chosen = m_parts.state.voicePgm;
    if (!m_parts.speech || chosen.isEmpty() || chosen == slides::VoiceSystems::notSetValue() ||
        !m_parts.speech->outputDevices().isEmpty())
        return {};
    QString note = QStringLiteral("音声出力装置がないため、音声を %1 に書き出しています")
                       .arg(m_parts.speech->outputDescription());
    if (!slides::SoundDevices::moduleError().isEmpty())
        note += QStringLiteral(" (%1)").arg(slides::SoundDevices::moduleError());
    return note;
}

void VoiceWindows::closeAll()
{
    if (m_parts.speech)
        m_parts.speech->voice().sapiStop();
    if (m_tts)
        m_tts->close();
    if (m_form2)
        m_form2->close();
}

} // namespace qel::shell
