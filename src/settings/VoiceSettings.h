#pragma once

#include "os/Useful.h"
#include "slides/VoiceSystem.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

namespace qel::os {
class SettingsStore;
class UserDialogs;
} // namespace qel::os
namespace qel::slides {
class ReaderCatalog;
class SpeechOutput;
} // namespace qel::slides

namespace qel::settings {

// The voice half of the settings window: the voice system stored as "Voice pgm", its three
// labels, the choices of the buttons cmdSetEditVoice 1 to 3, the voice test cmdKakunin and
// Save1Load2XclVoiceIni. The windows and the program around it come in through hooks, so all
// of it runs in tests without a window.
class VoiceSettings : public QObject
{
    Q_OBJECT

public:
    struct Labels
    {
        slides::VoiceSystem system = slides::VoiceSystem::None;
        QString qelVoicePgm;     // what speaks, in words
        QString qelVoiceCaption; // the short tag
        QString qelVoicePgmFile; // "Voice pgm" itself
    };

    struct Hooks
    {
        // Shows the settings window on that tab, modal, without waiting for it to close.
        std::function<void(int tab)> showSettings;
        // Cancel of the moved-folder question: the program ends at once.
        std::function<void()> endProgram;
        // cmdSetEditVoice(0), the table editor choice.
        std::function<void()> chooseTableEditor;
        // Starts the reader chooser (the stand-in of qelVoice.exe): it writes "Set Voice pgm"
        // ("cancel" or "TTS.EXE <reader>") when the user answers. False when it did not start.
        std::function<bool()> startReaderChooser;
        // setVoiceEDitAvailable of the slide window.
        std::function<void()> setVoiceEDitAvailable;
    };

    struct Context
    {
        os::SettingsStore &store;
        QString &voicePgm;
        QString &tableEditorPath;
        QString programFolder;
        QString version; // "3.0.0"
        os::UserDialogs &dialogs;
        slides::SpeechOutput &speech;
        slides::ReaderCatalog *readers = nullptr; // names the reader in the labels
        os::TimeOfDayFunction timeOfDay = os::systemTimeOfDay;
        std::function<void()> pumpEvents;
        std::function<QDateTime()> now;
    };

    static constexpr int ChooserSeconds = 5;

    VoiceSettings(Context context, Hooks hooks, QObject *parent = nullptr);

    static QString movedFolderText();
    static QString movedFolderTitle(const QString &version);
    static QString testText(const QString &systemName);
    static QString testFailedText();
    static QString engineSetText();
    static QString caption(int index); // the captions of cmdSetEditVoice

    // The labels for a "Voice pgm" value: upper case, first match "TTS.", "DTALKER.", "MSAPI".
    Labels labelsFor(const QString &voicePgm) const;
    Labels labels() const { return labelsFor(m_context.voicePgm); }

    void Save1Load2XclVoiceIni(int mode);
    void cmdSetEditVoice_Click(int index);
    void cmdKakunin_Click();

    Hooks &hooks() { return m_hooks; }

signals:
    void labelsChanged(const qel::settings::VoiceSettings::Labels &labels);

private:
    QString read(const QString &key) const;
    void write(const QString &key, const QString &value);
    void waitUpTo(double seconds, const std::function<bool()> &until);
    void chooseTextReader();
    void chooseDocumentTalker();
    void chooseEngine();

    Context m_context;
    Hooks m_hooks;
};

} // namespace qel::settings
