#pragma once

#include "slides/ShowState.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

namespace qel::os {
class UserDialogs;
}

namespace qel::slides {

class AudioOutput;
class ReaderCatalog;
class SpeechBackend;
class SpeechEngine;
class SpeechForm;
class Voice;

// Everything speech needs, put together once for the program: the back ends this machine
// has, the engine with its audio output, the speech form, the outside readers and the voice
// output over them.
class SpeechServices : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        std::function<QString()> voicePgm;
        os::UserDialogs *dialogs = nullptr;
        // Where the audio goes when there is no sound device (QELPRO_AUDIO_OUT wins).
        QString fallbackWav;
        // A file instead of the sound device, written as fast as it is made (--say --wav).
        QString wavPath;
    };

    explicit SpeechServices(Options options, QObject *parent = nullptr);
    ~SpeechServices() override;

    SpeechEngine &engine() { return *m_engine; }
    SpeechForm &form() { return *m_form; }
    ReaderCatalog &readers() { return *m_readers; }
    Voice &voice() { return *m_voice; }
    ShowState &show() { return m_show; }
    AudioOutput &output() { return *m_output; }

    // The sound devices; empty when there is none (the audio then goes to a WAV file).
    QStringList outputDevices() const;
    // Sends the audio to the sound device of that description.
    void setOutputDevice(const QString &description);
    // Where the audio goes now, in the user's words.
    QString outputDescription() const;

private:
    std::unique_ptr<AudioOutput> makeOutput(const QString &device);

    Options m_options;
    ShowState m_show;
    std::vector<std::unique_ptr<SpeechBackend>> m_backends;
    std::unique_ptr<AudioOutput> m_output;
    std::unique_ptr<SpeechEngine> m_engine;
    std::unique_ptr<SpeechForm> m_form;
    std::unique_ptr<ReaderCatalog> m_readers;
    std::unique_ptr<Voice> m_voice;
    std::unique_ptr<os::UserDialogs> m_quietDialogs;
};

} // namespace qel::slides
