#include "slides/EspeakBackend.h"
#include "slides/OpenJTalkBackend.h"
#include "slides/SpeechCommand.h"
#include "slides/WavFile.h"
#include "support/TestFiles.h"

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <gtest/gtest.h>

using namespace qel;
using slides::SpeechCommand;
using slides::WavFile;

namespace {

bool hasOpenJTalk()
{
    return slides::OpenJTalkBackend(slides::OpenJTalkBackend::systemConfig()).isAvailable();
}

struct Spoken
{
    int exit = -1;
    QString error;
    WavFile::Measure measure;
};

Spoken say(const QString &text, const QString &voice, const QString &wav)
{
    Spoken s;
    s.exit = SpeechCommand::say({text, voice, 0, wav}, s.error);
    if (s.exit == 0) {
        slides::PcmFormat format;
        QByteArray data;
        EXPECT_TRUE(WavFile::decode(test::readFile(wav), format, data).ok());
        s.measure = WavFile::measure(format, data);
    }
    return s;
}

// What one synthesis of the back end came to, waited for in the event loop.
slides::SynthesisResult synthesize(slides::SpeechBackend &backend, const QString &text,
                                   const slides::SpeechVoice &voice)
{
    slides::SynthesisResult result;
    QEventLoop loop;
    QObject::connect(&backend, &slides::SpeechBackend::synthesized, &loop,
                     [&](const slides::SynthesisResult &r) {
                         result = r;
                         loop.quit();
                     });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    slides::SynthesisRequest request;
    request.ticket = 7;
    request.text = text;
    request.voice = voice;
    backend.synthesize(request);
    loop.exec();
    return result;
}

} // namespace

TEST(RealSpeech, OpenJTalkReadsKanjiNotSpellsThem)
{
    if (!hasOpenJTalk())
        GTEST_SKIP() << "Open JTalk is not installed (scripts/setup.sh installs it)";
    QTemporaryDir dir;
    const struct
    {
        const char16_t *kanji;
        const char16_t *kana;
    } sentences[] = {
        {u"今日は良い天気です。", u"きょうはよいてんきです。"},
        {u"東京都の人口は約千四百万人です。",
         u"とうきょうとのじんこうはやくせんよんひゃくまんにんです。"},
    };
    for (const auto &s : sentences) {
        const Spoken kanji = say(QString::fromUtf16(s.kanji), QStringLiteral("ja"),
                                 dir.filePath(QStringLiteral("kanji.wav")));
        const Spoken kana = say(QString::fromUtf16(s.kana), QStringLiteral("ja"),
                                dir.filePath(QStringLiteral("kana.wav")));
        ASSERT_EQ(kanji.exit, 0) << qPrintable(kanji.error);
        ASSERT_EQ(kana.exit, 0) << qPrintable(kana.error);
        // Not silent.
        EXPECT_GT(kanji.measure.peak, 3000);
        EXPECT_GT(kanji.measure.rms, 300);
        EXPECT_GT(kanji.measure.seconds, 0.8);
        // Read, not spelled out: the kanji take about as long as their reading in kana.
        const double ratio = kanji.measure.seconds / kana.measure.seconds;
        EXPECT_GT(ratio, 0.8) << kanji.measure.seconds << " s against " << kana.measure.seconds;
        EXPECT_LT(ratio, 1.25) << kanji.measure.seconds << " s against " << kana.measure.seconds;
        std::printf("[ measured ] %s: %.2f s, kana %.2f s, peak %d, rms %.0f\n",
                    QString::fromUtf16(s.kanji).toUtf8().constData(), kanji.measure.seconds,
                    kana.measure.seconds, kanji.measure.peak, kanji.measure.rms);
    }
}

TEST(RealSpeech, EspeakSpeaksEnglishIntoTheChosenFile)
{
    if (!slides::EspeakBackend().isAvailable())
        GTEST_SKIP() << "espeak-ng is not installed (scripts/setup.sh installs it)";
    QTemporaryDir dir;
    const Spoken s = say(QStringLiteral("Welcome to, QEL professional world."),
                         QStringLiteral("en-us"), dir.filePath(QStringLiteral("en.wav")));
    ASSERT_EQ(s.exit, 0) << qPrintable(s.error);
    EXPECT_GT(s.measure.peak, 3000);
    EXPECT_GT(s.measure.seconds, 1.0);
    EXPECT_LT(s.measure.seconds, 6.0);
    std::printf("[ measured ] espeak-ng en-us: %.2f s\n", s.measure.seconds);
}

TEST(RealSpeech, TheCommandLineSaysWhyItDidNotSpeak)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("x.wav"));
    QString error;
    const struct
    {
        const char16_t *text;
        const char *voice;
        int exit;
    } cases[] = {
        {u"hello", "no-such-voice", SpeechCommand::NoSuchVoice},
        {u"", "", SpeechCommand::NothingToSay},
        {u"{VoiceStop}。、!!", "", SpeechCommand::NothingToSay},
    };
    if (!hasOpenJTalk() && !slides::EspeakBackend().isAvailable())
        GTEST_SKIP() << "no voice here";
    for (const auto &c : cases) {
        error.clear();
        EXPECT_EQ(
            SpeechCommand::say({QString::fromUtf16(c.text), QLatin1String(c.voice), 0, wav}, error),
            c.exit)
            << c.voice;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(QFile::exists(wav)) << "nothing written when nothing was said";
    }
    const QString fifoFolder = dir.filePath(QStringLiteral("missing/out.wav"));
    EXPECT_EQ(SpeechCommand::say({QStringLiteral("hello かな"), QString(), 0, fifoFolder}, error),
              SpeechCommand::Failed);
    EXPECT_TRUE(error.contains(QStringLiteral("missing"))) << qPrintable(error);
}

TEST(RealSpeech, VoicesAreListedWithWhetherTheyReadKanji)
{
    QString out;
    QString errors;
    QTextStream o(&out);
    QTextStream e(&errors);
    SpeechCommand::listVoices(o, e);
    EXPECT_TRUE(out.startsWith(QStringLiteral("name\tlanguage\tback end\treads kanji\tid\n")));
    if (hasOpenJTalk()) {
        EXPECT_TRUE(out.contains(QStringLiteral("\tja\topen_jtalk\tyes\topen_jtalk:")));
    } else {
        EXPECT_TRUE(errors.contains(QStringLiteral("open-jtalk")));
    }
    EXPECT_TRUE(out.contains(QStringLiteral("reader\tfound\treads kanji")));
}

TEST(RealSpeech, ABadOrRemovedVoiceFileIsNamed)
{
    slides::OpenJTalkBackend::Config config = slides::OpenJTalkBackend::systemConfig();
    if (!hasOpenJTalk())
        GTEST_SKIP() << "Open JTalk is not installed";
    QTemporaryDir dir;
    test::writeFile(dir.filePath(QStringLiteral("broken.htsvoice")),
                    QByteArray("this is not an HTS voice").repeated(200));
    test::writeFile(dir.filePath(QStringLiteral("gone.htsvoice")), QByteArray("x"));
    config.voiceDirs = {dir.path()};
    slides::OpenJTalkBackend backend(config);
    const QList<slides::SpeechVoice> voices = backend.voices();
    ASSERT_EQ(voices.size(), 2);

    const slides::SynthesisResult broken = synthesize(backend, QStringLiteral("テスト"), voices[0]);
    EXPECT_EQ(broken.ticket, 7u);
    EXPECT_FALSE(broken.result.ok());
    EXPECT_TRUE(broken.result.message.contains(QStringLiteral("broken.htsvoice")))
        << qPrintable(broken.result.message);

    QFile::remove(voices[1].file); // removed while the program runs
    const slides::SynthesisResult gone = synthesize(backend, QStringLiteral("テスト"), voices[1]);
    EXPECT_FALSE(gone.result.ok());
    EXPECT_TRUE(gone.result.message.contains(QStringLiteral("gone.htsvoice")));

    config.program = QStringLiteral("/nonexistent/open_jtalk");
    slides::OpenJTalkBackend missing(config);
    EXPECT_FALSE(missing.isAvailable());
    EXPECT_TRUE(missing.missingText().contains(QStringLiteral("open-jtalk")));
}
