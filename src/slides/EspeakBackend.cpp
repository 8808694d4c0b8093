#include "slides/EspeakBackend.h"

#include <QLibrary>
#include <QMetaObject>

#include <cmath>
#include <mutex>
#include <type_traits>
#include <vector>

#ifdef QEL_HAVE_ESPEAK
#include <espeak-ng/speak_lib.h>
#endif

namespace qel::slides {

namespace {

#ifdef QEL_HAVE_ESPEAK

// The library's functions, resolved when speech is first wanted rather than linked: loading
// libespeak-ng and its sound libraries costs every start and every export that never speaks.
struct Espeak
{
    decltype(&espeak_Initialize) initialize = nullptr;
    decltype(&espeak_SetSynthCallback) setSynthCallback = nullptr;
    decltype(&espeak_ListVoices) listVoices = nullptr;
    decltype(&espeak_SetVoiceByName) setVoiceByName = nullptr;
    decltype(&espeak_SetParameter) setParameter = nullptr;
    decltype(&espeak_Synth) synth = nullptr;

    bool resolve(QLibrary &library)
    {
        const auto get = [&library](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                library.resolve(name));
            return function != nullptr;
        };
        return get(initialize, "espeak_Initialize") &&
               get(setSynthCallback, "espeak_SetSynthCallback") &&
               get(listVoices, "espeak_ListVoices") &&
               get(setVoiceByName, "espeak_SetVoiceByName") &&
               get(setParameter, "espeak_SetParameter") && get(synth, "espeak_Synth");
    }
};

#endif

struct Library
{
    bool ready = false;
    int sampleRate = 0;
    QList<SpeechVoice> voices;
    QString loadError; // why the library could not be loaded
#ifdef QEL_HAVE_ESPEAK
    Espeak api;
#endif
};

#ifdef QEL_HAVE_ESPEAK

// What one call of the library collects through its callback.
struct Collect
{
    QByteArray pcm;
    QList<SpeechMark> marks;
    std::vector<int> utf16At; // code point index -> UTF-16 index in the piece
    int offset = 0;
    int sampleRate = 22050;
    quint64 generation = 0;
    const std::atomic<quint64> *current = nullptr;
};

int synthCallback(short *wav, int samples, espeak_EVENT *events)
{
    auto *c = events ? static_cast<Collect *>(events->user_data) : nullptr;
    if (!c)
        return 0;
    if (c->current->load() != c->generation)
        return 1; // cancelled: stop synthesising
    if (wav && samples > 0)
        c->pcm.append(reinterpret_cast<const char *>(wav), qsizetype(samples) * 2);
    for (espeak_EVENT *e = events; e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        if (e->type != espeakEVENT_WORD && e->type != espeakEVENT_SENTENCE)
            continue;
        const int first = qMax(0, e->text_position - 1);
        const int count = int(c->utf16At.size()) - 1;
        const int from = c->utf16At[std::size_t(qMin(first, count))];
        const int to = c->utf16At[std::size_t(qMin(first + qMax(0, e->length), count))];
        SpeechMark m;
        m.kind = e->type == espeakEVENT_WORD ? SpeechMark::Word : SpeechMark::Sentence;
        m.frame = qint64(e->audio_position) * c->sampleRate / 1000;
        m.textStart = c->offset + from;
        m.textLength = to - from;
        c->marks.append(m);
    }
    return 0;
}

QString languageOf(const espeak_VOICE *v)
{
    // languages: a priority byte, then the name, repeated; the first one is the main one.
    if (!v->languages || !v->languages[0])
        return {};
    return QString::fromLatin1(v->languages + 1);
}

Library &library()
{
    static Library lib;
    static std::once_flag once;
    std::call_once(once, [] {
        // Its destruction does not unload it: the synthesiser stays until the program ends.
        static QLibrary library(QStringLiteral("espeak-ng"), 1);
        if (!lib.api.resolve(library)) {
            lib.loadError = library.errorString();
            return;
        }
        const int rate =
            lib.api.initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (rate <= 0)
            return;
        lib.ready = true;
        lib.sampleRate = rate;
        lib.api.setSynthCallback(synthCallback);
        const espeak_VOICE **list = lib.api.listVoices(nullptr);
        for (int i = 0; list && list[i]; ++i) {
            const espeak_VOICE *v = list[i];
            SpeechVoice voice;
            voice.id = QStringLiteral("espeak-ng:") + QString::fromUtf8(v->identifier);
            voice.name = QString::fromUtf8(v->name).replace(QLatin1Char('_'), QLatin1Char(' '));
            voice.language = languageOf(v).toLower();
            voice.backend = QStringLiteral("espeak-ng");
            voice.file = QString::fromUtf8(v->identifier);
            voice.readsKanji = false;
            lib.voices.append(voice);
        }
    });
    return lib;
}

std::mutex &libraryLock()
{
    static std::mutex m;
    return m;
}

#else

Library &library()
{
    static Library lib;
    return lib;
}

#endif

} // namespace

// Lives on the back end's thread and runs the library there.
class EspeakBackend::Worker : public QObject
{
    Q_OBJECT

public:
    explicit Worker(std::shared_ptr<std::atomic<quint64>> generation)
        : m_generation(std::move(generation))
    {}

    Q_INVOKABLE void run(const qel::slides::SynthesisRequest &request, quint64 generation)
    {
        SynthesisResult r;
        r.ticket = request.ticket;
        if (m_generation->load() != generation)
            return; // cancelled before it started
#ifdef QEL_HAVE_ESPEAK
        const Library &lib = library();
        if (!lib.ready) {
            r.result = os::Result::failure(EspeakBackend::installHint());
            emit done(r);
            return;
        }
        r.sampleRate = lib.sampleRate;
        Collect c;
        c.offset = request.offset;
        c.sampleRate = lib.sampleRate;
        c.generation = generation;
        c.current = m_generation.get();
        const QString &text = request.text;
        for (int i = 0; i < text.size(); ++i) {
            c.utf16At.push_back(i);
            if (text.at(i).isHighSurrogate() && i + 1 < text.size())
                ++i;
        }
        c.utf16At.push_back(int(text.size()));
        const QByteArray utf8 = text.toUtf8();
        espeak_ERROR error = EE_OK;
        {
            std::lock_guard<std::mutex> lock(libraryLock());
            if (lib.api.setVoiceByName(request.voice.file.toUtf8().constData()) != EE_OK) {
                r.result = os::Result::failure(
                    QStringLiteral("espeak-ng の声 %1 を読み込めません。").arg(request.voice.name));
            } else {
                lib.api.setParameter(espeakRATE, wordsPerMinute(request.rate), 0);
                lib.api.setParameter(espeakPUNCTUATION,
                                     request.speakPunctuation ? espeakPUNCT_ALL : espeakPUNCT_NONE,
                                     0);
                unsigned flags = espeakCHARS_UTF8;
                if (request.ssml)
                    flags |= espeakSSML;
                error = lib.api.synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER,
                                      0, flags, nullptr, &c);
            }
        }
        if (m_generation->load() != generation)
            return;
        if (r.result.ok() && error != EE_OK)
            r.result = os::Result::failure(
                QStringLiteral("espeak-ng が音声を作れませんでした (%1)。").arg(int(error)));
        if (r.result.ok()) {
            r.pcm = std::move(c.pcm);
            r.marks = std::move(c.marks);
        }
#else
        r.result = os::Result::failure(EspeakBackend::installHint());
#endif
        emit done(r);
    }

signals:
    void done(const qel::slides::SynthesisResult &result);

private:
    std::shared_ptr<std::atomic<quint64>> m_generation;
};

EspeakBackend::EspeakBackend(QObject *parent)
    : SpeechBackend(parent)
    , m_generation(std::make_shared<std::atomic<quint64>>(1))
{
    qRegisterMetaType<qel::slides::SynthesisRequest>();
    qRegisterMetaType<qel::slides::SynthesisResult>();
    m_worker = new Worker(m_generation);
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &Worker::done, this,
            [this](const SynthesisResult &r) { emit synthesized(r); });
    m_thread.setObjectName(QStringLiteral("espeak-ng"));
    m_thread.start();
}

EspeakBackend::~EspeakBackend()
{
    m_generation->fetch_add(1); // a piece in progress stops at its next callback
    m_thread.quit();
    m_thread.wait();
}

QString EspeakBackend::installHint()
{
    return QStringLiteral("sudo apt-get install espeak-ng libespeak-ng-dev");
}

int EspeakBackend::wordsPerMinute(int rate)
{
    return qBound(80, int(std::lround(175 * speedFactor(rate))), 450);
}

bool EspeakBackend::isAvailable() const
{
    return library().ready && !library().voices.isEmpty();
}

QString EspeakBackend::missingText() const
{
    if (isAvailable())
        return {};
#ifdef QEL_HAVE_ESPEAK
    if (!library().loadError.isEmpty())
        return QStringLiteral("libespeak-ng を読み込めません (%1)。%2 が要ります。")
            .arg(library().loadError, installHint());
    return QStringLiteral("espeak-ng の声のデータが見つかりません。%1 が要ります。")
        .arg(installHint());
#else
    return QStringLiteral("このプログラムは espeak-ng なしで作られています。%1 を入れて作り直すと、"
                          "日本語以外の声が使えます。")
        .arg(installHint());
#endif
}

QList<SpeechVoice> EspeakBackend::voices() const
{
    return library().voices;
}

void EspeakBackend::synthesize(const SynthesisRequest &request)
{
    const quint64 generation = m_generation->load();
    QMetaObject::invokeMethod(m_worker, "run", Qt::QueuedConnection,
                              Q_ARG(qel::slides::SynthesisRequest, request),
                              Q_ARG(quint64, generation));
}

void EspeakBackend::cancelAll()
{
    m_generation->fetch_add(1);
}

} // namespace qel::slides

#include "EspeakBackend.moc"
