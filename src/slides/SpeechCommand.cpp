#include "slides/SpeechCommand.h"

#include "slides/AudioOutput.h"
#include "slides/ReaderCatalog.h"
#include "slides/SpeechEngine.h"
#include "slides/SpeechForm.h"
#include "slides/SpeechServices.h"
#include "slides/TextSegmenter.h"
#include "slides/WavFileOutput.h"

#include <QEventLoop>
#include <QTextStream>

namespace qel::slides {

int SpeechCommand::listVoices(QTextStream &out, QTextStream &errors)
{
    SpeechServices services({});
    const QList<SpeechVoice> voices = services.engine().voices();
    out << "name\tlanguage\tback end\treads kanji\tid\n";
    for (const SpeechVoice &v : voices) {
        out << v.name << '\t' << v.language << '\t' << v.backend << '\t'
            << (v.readsKanji ? "yes" : "no") << '\t' << v.id << '\n';
    }
    out << "\nreader\tfound\treads kanji\n";
    for (const ReaderCatalog::Program &p : services.readers().programs()) {
        out << p.id << '\t' << (p.available ? "yes" : "no") << '\t' << (p.readsKanji ? "yes" : "no")
            << '\n';
    }
    for (const QString &missing : services.engine().missingTexts())
        errors << "qelpro: " << missing << '\n';
    out.flush();
    errors.flush();
    return voices.isEmpty() ? Failed : Spoken;
}

int SpeechCommand::say(const Say &request, QString &error)
{
    SpeechServices::Options options;
    options.wavPath = request.wav;
    SpeechServices services(options);
    SpeechEngine &engine = services.engine();
    if (engine.voices().isEmpty()) {
        error =
            QStringLiteral("話せる声がありません。") + engine.missingTexts().join(QLatin1Char(' '));
        return Failed;
    }
    if (TextSegmenter::split(request.text).isEmpty()) {
        error = QStringLiteral("話すことがありません (文字のない文です)。");
        return NothingToSay;
    }
    if (request.wav.isEmpty() && qEnvironmentVariableIsEmpty("QELPRO_AUDIO_OUT") &&
        services.outputDevices().isEmpty()) {
        error = QStringLiteral("音を出す装置がありません。--wav OUT.wav でファイルに書けます。");
        return NoOutput;
    }
    SpeechForm &form = services.form();
    form.load();
    if (!request.voice.isEmpty() && !engine.setVoice(request.voice)) {
        error = QStringLiteral("声「%1」はありません。qelpro --voices で声の一覧が出ます。")
                    .arg(request.voice);
        return NoSuchVoice;
    }
    engine.setRate(request.rate);

    QStringList failures;
    QObject::connect(&engine, &SpeechEngine::failed, &engine,
                     [&failures](const QString &m) { failures.append(m); });
    QEventLoop loop;
    QObject::connect(&engine, &SpeechEngine::idleChanged, &loop, [&loop](bool idle) {
        if (idle)
            loop.quit();
    });
    engine.speak(request.text, SpeechEngine::Async);
    if (!engine.isIdle())
        loop.exec();
    loop.processEvents(); // failures are told through the event loop

    if (auto *file = qobject_cast<WavFileOutput *>(&services.output())) {
        if (!file->lastError().isEmpty())
            failures.append(file->lastError());
        else if (failures.isEmpty() && file->lastFrames() == 0)
            failures.append(QStringLiteral("音が作られませんでした。"));
    }
    if (!failures.isEmpty()) {
        failures.removeDuplicates();
        error = failures.join(QLatin1Char('\n'));
        return Failed;
    }
    return Spoken;
}

} // namespace qel::slides
