#include "slides/SpeechServices.h"

#include "os/UserDialogs.h"
#include "slides/EspeakBackend.h"
#include "slides/OpenJTalkBackend.h"
#include "slides/ReaderCatalog.h"
#include "slides/SoundDeviceOutput.h"
#include "slides/SoundDevices.h"
#include "slides/SpeechEngine.h"
#include "slides/SpeechForm.h"
#include "slides/Voice.h"
#include "slides/WavFileOutput.h"

#include <QCoreApplication>
#include <QThread>

namespace qel::slides {

namespace {

// Messages of the voice output where nobody can answer them (the command line).
class NoDialogs : public os::UserDialogs
{
public:
    os::MessageAnswer message(const os::MessageRequest &request) override
    {
        return request.defaultAnswer;
    }
    QStringList chooseFiles(const os::FileDialogRequest &) override { return {}; }
    void beep() override {}
    std::optional<quint32> chooseColor(quint32) override { return std::nullopt; }
};

} // namespace

SpeechServices::SpeechServices(Options options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
{
    if (!m_options.voicePgm)
        m_options.voicePgm = [] { return QString(); };
    if (!m_options.dialogs) {
        m_quietDialogs = std::make_unique<NoDialogs>();
        m_options.dialogs = m_quietDialogs.get();
    }
    m_backends.push_back(std::make_unique<OpenJTalkBackend>(OpenJTalkBackend::systemConfig()));
    m_backends.push_back(std::make_unique<EspeakBackend>());
    QList<SpeechBackend *> list;
    for (const auto &b : m_backends)
        list.append(b.get());
    m_engine = std::make_unique<SpeechEngine>(list);
    m_output = makeOutput(QString());
    m_engine->setOutput(m_output.get());
    m_form = std::make_unique<SpeechForm>(*m_engine);
    m_readers = std::make_unique<ReaderCatalog>(ReaderCatalog::systemPaths(), makeQtReaderProcess);
    m_voice =
        std::make_unique<Voice>(Voice::Context{m_options.voicePgm, *m_form, *m_readers, m_show,
                                               *m_options.dialogs, os::systemTimeOfDay, [] {
                                                   QCoreApplication::processEvents();
                                                   QThread::msleep(2);
                                               }});
}

SpeechServices::~SpeechServices()
{
    m_engine->setOutput(nullptr);
}

std::unique_ptr<AudioOutput> SpeechServices::makeOutput(const QString &device)
{
    if (!m_options.wavPath.isEmpty())
        return std::make_unique<WavFileOutput>(m_options.wavPath, false);
    const QString asked = qEnvironmentVariable("QELPRO_AUDIO_OUT");
    if (!asked.isEmpty())
        return std::make_unique<WavFileOutput>(asked, true);
    return std::make_unique<SoundDeviceOutput>(device, m_options.fallbackWav);
}

QStringList SpeechServices::outputDevices() const
{
    if (m_options.wavPath.isEmpty() && qEnvironmentVariableIsEmpty("QELPRO_AUDIO_OUT"))
        return SoundDevices::descriptions();
    return {};
}

void SpeechServices::setOutputDevice(const QString &description)
{
    if (description == m_output->description())
        return;
    std::unique_ptr<AudioOutput> next = makeOutput(description);
    m_engine->setOutput(next.get());
    m_output = std::move(next);
}

QString SpeechServices::outputDescription() const
{
    return m_output->description();
}

} // namespace qel::slides
