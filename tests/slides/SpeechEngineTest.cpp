#include "SpeechFakes.h"

#include "slides/SapiFormat.h"
#include "slides/SpeechEngine.h"
#include "slides/SpeechForm.h"
#include "slides/TextSegmenter.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace qel;
using slides::SpeechEngine;
using slides::SpeechForm;
using test::FakeAudioOutput;
using test::FakeBackend;

namespace {

struct EngineFixture : ::testing::Test
{
    FakeBackend jtalk{QStringLiteral("open_jtalk"), QStringLiteral("ja"), true};
    FakeBackend espeak{QStringLiteral("espeak-ng"), QStringLiteral("en-us"), false};
    FakeAudioOutput out;
    SpeechEngine engine{{&jtalk, &espeak}};
    QStringList events;
    QStringList failures;

    EngineFixture()
    {
        engine.setOutput(&out);
        // 8 kHz: every fake frame at 1000 Hz becomes eight.
        engine.setFormat(slides::SapiFormat::byName(QStringLiteral("SAFT8kHz16BitMono")));
        QObject::connect(&engine, &SpeechEngine::streamStarted,
                         [this](int s) { events << QStringLiteral("start %1").arg(s); });
        QObject::connect(&engine, &SpeechEngine::streamEnded,
                         [this](int s) { events << QStringLiteral("end %1").arg(s); });
        QObject::connect(&engine, &SpeechEngine::word, [this](int, int start, int length) {
            events << QStringLiteral("word %1+%2").arg(start).arg(length);
        });
        QObject::connect(&engine, &SpeechEngine::failed,
                         [this](const QString &m) { failures << m; });
    }

    void answer()
    {
        while (jtalk.answerOne() || espeak.answerOne()) {
        }
    }
    // Synthesises everything, plays everything, and lets the engine catch up.
    void finish()
    {
        for (int i = 0; i < 1000 && !engine.isIdle(); ++i) {
            answer();
            out.playAll();
            engine.poll();
        }
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(EngineFixture, QueuedStreamsFollowThePlayedAudio)
{
    engine.setVoice(QStringLiteral("espeak-ng:en-us"));
    EXPECT_EQ(engine.speak(QStringLiteral("one two")), 1);
    EXPECT_EQ(engine.speak(QStringLiteral("three")), 2); // queued behind, not purged
    EXPECT_FALSE(engine.isIdle());
    engine.poll();
    EXPECT_EQ(events, QStringList{QStringLiteral("start 1")}) << "nothing synthesised yet";
    answer();
    engine.poll();
    EXPECT_EQ(events, (QStringList{QStringLiteral("start 1"), QStringLiteral("word 0+3")}))
        << "the first word begins where the audio does";
    ASSERT_EQ(out.opens, 1);

    // "one two" is 7 characters: 70 frames at 1000 Hz, 560 at 8 kHz; "two" begins at 320.
    out.played = 319;
    engine.poll();
    EXPECT_EQ(events.size(), 2);
    out.played = 320;
    engine.poll();
    EXPECT_EQ(events.last(), QStringLiteral("word 4+3"));
    out.playAll();
    engine.poll();
    EXPECT_EQ(events, (QStringList{QStringLiteral("start 1"), QStringLiteral("word 0+3"),
                                   QStringLiteral("word 4+3"), QStringLiteral("end 1"),
                                   QStringLiteral("start 2"), QStringLiteral("word 0+5"),
                                   QStringLiteral("end 2")}));
    EXPECT_TRUE(engine.isIdle());
    EXPECT_FALSE(out.isOpen()) << "the device is let go when nothing is left";
    EXPECT_EQ(out.opens, 1) << "both streams went through one opening";
}

TEST_F(EngineFixture, PurgeEndsEverythingAndLateAudioIsDropped)
{
    engine.setVoice(QStringLiteral("espeak-ng:en-us"));
    engine.speak(QStringLiteral("first sentence. second sentence. third."));
    const slides::SynthesisRequest early = espeak.pending.first();
    EXPECT_EQ(engine.speak(QString(), SpeechEngine::PurgeBeforeSpeak), 0);
    EXPECT_TRUE(engine.isIdle());
    EXPECT_GE(espeak.cancels, 1);

    // A back end that answers after all is not heard.
    slides::SynthesisResult late;
    late.ticket = early.ticket;
    late.sampleRate = 1000;
    late.pcm = QByteArray(200, '\x10');
    emit espeak.synthesized(late);
    engine.poll();
    EXPECT_EQ(out.written, 0);
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(EngineFixture, EachPieceGoesToTheBackEndItsLanguageNeeds)
{
    const struct
    {
        const char *voice;
        const char16_t *text;
        QStringList backends; // one per piece, in order
    } cases[] = {
        {"open_jtalk:ja", u"今日は晴れです。", {QStringLiteral("open_jtalk")}},
        {"espeak-ng:en-us", u"今日は晴れです。", {QStringLiteral("open_jtalk")}},
        {"espeak-ng:en-us", u"Hello there.", {QStringLiteral("espeak-ng")}},
        // English in the Japanese voice would be spelled out letter by letter.
        {"open_jtalk:ja", u"Hello there.", {QStringLiteral("espeak-ng")}},
        {"open_jtalk:ja",
         u"Welcome to, QEL professional world. ようこそQELプロに，versionは3.0です",
         {QStringLiteral("espeak-ng"), QStringLiteral("open_jtalk")}},
    };
    for (const auto &c : cases) {
        jtalk.requests.clear();
        espeak.requests.clear();
        ASSERT_TRUE(engine.setVoice(QLatin1String(c.voice)));
        engine.speak(QString::fromUtf16(c.text), SpeechEngine::PurgeBeforeSpeak);
        QStringList used;
        QList<std::pair<int, QString>> byOffset;
        for (const auto &r : jtalk.requests)
            byOffset.append({r.offset, QStringLiteral("open_jtalk")});
        for (const auto &r : espeak.requests)
            byOffset.append({r.offset, QStringLiteral("espeak-ng")});
        std::sort(byOffset.begin(), byOffset.end());
        for (const auto &[offset, name] : byOffset)
            used << name;
        EXPECT_EQ(used, c.backends) << c.voice << " " << QString::fromUtf16(c.text).toStdString();
    }
}

TEST_F(EngineFixture, ABackEndThatIsMissingIsLeftOutAndNamedWithWhatToInstall)
{
    FakeBackend noJtalk{QStringLiteral("open_jtalk"), QStringLiteral("ja"), true, false};
    SpeechEngine partial({&noJtalk, &espeak});
    partial.setOutput(&out);
    ASSERT_EQ(partial.voices().size(), 1);
    EXPECT_EQ(partial.voices().first().backend, QStringLiteral("espeak-ng"));
    EXPECT_EQ(partial.missingTexts(), QStringList{QStringLiteral("install open_jtalk")});
    partial.speak(QStringLiteral("漢字の文です。"));
    EXPECT_EQ(espeak.requests.size(), 1) << "the voice there is reads it as it can";

    FakeBackend noEspeak{QStringLiteral("espeak-ng"), QStringLiteral("en-us"), false, false};
    SpeechEngine none({&noJtalk, &noEspeak});
    none.setOutput(&out);
    QStringList told;
    QObject::connect(&none, &SpeechEngine::failed, [&told](const QString &m) { told << m; });
    SpeechForm form(none);
    EXPECT_EQ(form.warikomiSpeech(QStringLiteral("hello")), 0);
    for (int i = 0; i < 5 && !none.isIdle(); ++i)
        none.poll();
    QCoreApplication::processEvents();
    EXPECT_TRUE(none.isIdle()) << "a text nobody can speak still ends";
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("install open_jtalk")));
    EXPECT_TRUE(told[0].contains(QStringLiteral("install espeak-ng")));
    EXPECT_FALSE(form.isSpeaking());
}

TEST_F(EngineFixture, AFailingVoiceIsToldOncePerStreamAndTheStreamEnds)
{
    engine.setVoice(QStringLiteral("open_jtalk:ja"));
    jtalk.failWith = QStringLiteral("/x.htsvoice: 声のファイルを読めません。");
    engine.speak(QStringLiteral("一つ目。二つ目。三つ目。"));
    finish();
    EXPECT_EQ(failures, QStringList{jtalk.failWith});
    EXPECT_TRUE(events.contains(QStringLiteral("end 1")));
    EXPECT_TRUE(engine.isIdle());
    EXPECT_EQ(out.opens, 0) << "nothing to play";
}

TEST_F(EngineFixture, AnOutputThatCannotOpenIsToldAndSpeechStillEnds)
{
    out.openError = QStringLiteral("no device");
    engine.setVoice(QStringLiteral("espeak-ng:en-us"));
    engine.speak(QStringLiteral("hello"));
    finish();
    EXPECT_EQ(failures, QStringList{QStringLiteral("no device")});
    EXPECT_TRUE(engine.isIdle());
}

TEST_F(EngineFixture, PauseHoldsTheEventsUntilResume)
{
    engine.setVoice(QStringLiteral("espeak-ng:en-us"));
    engine.speak(QStringLiteral("alpha beta"));
    answer();
    engine.poll();
    engine.pause();
    EXPECT_TRUE(out.paused);
    out.playAll(); // whatever the device claims, a paused voice raises nothing
    engine.poll();
    EXPECT_EQ(events, (QStringList{QStringLiteral("start 1"), QStringLiteral("word 0+5")}));
    EXPECT_FALSE(engine.isIdle());
    engine.resume();
    EXPECT_FALSE(out.paused);
    engine.poll();
    EXPECT_EQ(events.last(), QStringLiteral("end 1"));
    EXPECT_TRUE(engine.isIdle());
}

TEST_F(EngineFixture, SkipJumpsSentencesFromTheOneBeingHeard)
{
    engine.setVoice(QStringLiteral("espeak-ng:en-us"));
    engine.speak(QStringLiteral("aa. bb. cc. dd."));
    answer();
    answer();
    engine.poll();
    out.played = 8; // inside "aa."
    engine.poll();
    EXPECT_EQ(engine.skip(2), 2);
    EXPECT_EQ(out.closes, 1) << "what was not heard is dropped";
    finish();
    // The rest of "aa." and "bb." are the two sentences skipped; "cc." (offset 8) follows.
    EXPECT_EQ(events, (QStringList{QStringLiteral("start 1"), QStringLiteral("word 0+3"),
                                   QStringLiteral("word 8+3"), QStringLiteral("word 12+3"),
                                   QStringLiteral("end 1")}));
}

TEST_F(EngineFixture, TheChosenFormatIsWhatTheDeviceGets)
{
    engine.setFormat(slides::SapiFormat::byName(QStringLiteral("SAFT16kHz8BitStereo")));
    engine.setVoice(QStringLiteral("espeak-ng:en-us"));
    engine.speak(QStringLiteral("abcd"));
    answer();
    EXPECT_EQ(out.m_format, (slides::PcmFormat{16000, 2, 1}));
    EXPECT_EQ(out.written, 40 * 16) << "40 frames at 1000 Hz are 640 at 16 kHz";
    engine.setVolume(30);
    EXPECT_DOUBLE_EQ(out.volume, 0.3) << "volume applies at once, on the output";
}

TEST_F(EngineFixture, BadTextIsSilenceNeverAHang)
{
    engine.setVoice(QStringLiteral("espeak-ng:en-us"));
    EXPECT_EQ(engine.speak(QString()), 0);
    EXPECT_TRUE(engine.isIdle());

    // Marks, punctuation and control characters only: a stream with nothing in it.
    const int marks = engine.speak(QStringLiteral("{VoiceStop}、。!!\x01\x02{VoiceSync}"));
    EXPECT_GT(marks, 0);
    EXPECT_TRUE(espeak.requests.isEmpty() && jtalk.requests.isEmpty());
    engine.poll();
    EXPECT_TRUE(engine.isIdle());
    EXPECT_TRUE(events.contains(QStringLiteral("end %1").arg(marks)));

    // Control characters are never handed to a synthesiser.
    engine.speak(QStringLiteral("bell\x07 and\x1b escape"));
    ASSERT_EQ(espeak.requests.size(), 1);
    EXPECT_EQ(espeak.requests[0].text, QStringLiteral("bell  and  escape"));

    // 100,000 characters: small pieces, only a few synthesised ahead at any time.
    espeak.requests.clear();
    engine.speak(QString(100000, QLatin1Char('a')), SpeechEngine::PurgeBeforeSpeak);
    EXPECT_EQ(espeak.requests.size(), SpeechEngine::Lookahead);
    for (const auto &r : espeak.requests)
        EXPECT_LE(r.text.size(), slides::TextSegmenter::DefaultMaxLength);
    espeak.answerOne();
    out.playAll();
    engine.poll();
    EXPECT_EQ(espeak.requests.size(), SpeechEngine::Lookahead + 1);
    engine.speak(QString(), SpeechEngine::PurgeBeforeSpeak);
    EXPECT_TRUE(engine.isIdle());
}

TEST(SpeechFormButtons, FollowSpeakingAndPaused)
{
    const struct
    {
        bool speaking, paused, stop, skip, pause;
        const char *caption;
    } cases[] = {
        {false, false, false, false, false, "Pause"},
        {true, false, true, true, true, "Pause"},
        {true, true, true, false, true, "Resume"},
        {false, true, false, false, false, "Resume"},
    };
    for (const auto &c : cases) {
        const SpeechForm::Buttons b = SpeechForm::buttonsFor(c.speaking, c.paused);
        EXPECT_TRUE(b.speak);
        EXPECT_EQ(b.stop, c.stop) << c.speaking << c.paused;
        EXPECT_EQ(b.skip, c.skip) << c.speaking << c.paused;
        EXPECT_EQ(b.pause, c.pause) << c.speaking << c.paused;
        EXPECT_EQ(b.pauseCaption, QLatin1String(c.caption));
    }
}

TEST_F(EngineFixture, TheSpeechFormInterruptsResumesStopsAndHighlights)
{
    SpeechForm form(engine);
    form.load();
    EXPECT_EQ(engine.voice().id, QStringLiteral("open_jtalk:ja")) << "a kanji reader first";
    EXPECT_EQ(engine.format().name, QStringLiteral("SAFT22kHz16BitMono"));
    QList<std::pair<int, int>> highlights;
    QObject::connect(&form, &SpeechForm::highlightChanged, [&](int s, int l) {
        highlights.append({s, l});
    });

    engine.setVoice(QStringLiteral("espeak-ng:en-us"));
    EXPECT_EQ(form.warikomiSpeech(QStringLiteral("red green")), 1);
    EXPECT_EQ(form.mainText(), QStringLiteral("red green"));
    EXPECT_TRUE(form.isSpeaking());
    EXPECT_TRUE(form.pauseEnabled());

    // Interrupting: what was queued goes, the new text is spoken.
    EXPECT_EQ(form.warikomiSpeech(QStringLiteral("blue")), 1);
    answer();
    out.playAll();
    engine.poll();
    EXPECT_EQ(highlights.first(), std::make_pair(0, 4)) << "the word blue";
    EXPECT_EQ(highlights.last(), std::make_pair(0, 4)) << "the whole text at the end";
    EXPECT_FALSE(form.isSpeaking());
    EXPECT_EQ(espeak.requests.last().text, QStringLiteral("blue"));

    // Paused while speaking: TTSAppKy only resumes.
    form.TTSAppKy(QStringLiteral("one"));
    form.PauseBtn_Click();
    EXPECT_TRUE(form.isPaused());
    EXPECT_EQ(form.buttons().pauseCaption, QStringLiteral("Resume"));
    const qsizetype asked = espeak.requests.size();
    form.TTSAppKy(QStringLiteral("two"));
    EXPECT_EQ(espeak.requests.size(), asked) << "no new text while paused";
    EXPECT_FALSE(form.isPaused());
    EXPECT_FALSE(out.paused);

    // Stop with the voice paused: the voice is resumed, nothing is left.
    form.PauseBtn_Click();
    form.speechStop();
    EXPECT_FALSE(form.isSpeaking());
    EXPECT_FALSE(form.isPaused());
    EXPECT_FALSE(out.paused);
    EXPECT_TRUE(engine.isIdle());
}

TEST_F(EngineFixture, AHighlightPastTheTextIsToldOnce)
{
    SpeechForm form(engine);
    form.load();
    engine.setVoice(QStringLiteral("espeak-ng:en-us"));
    QStringList messages;
    QObject::connect(&form, &SpeechForm::message, [&](const QString &m) { messages << m; });
    form.warikomiSpeech(QStringLiteral("a long sentence here"));
    answer();
    form.setMainText(QStringLiteral("ab")); // the user typed while it was spoken
    out.playAll();
    engine.poll();
    EXPECT_EQ(messages, QStringList{SpeechForm::highlightFailedText()});
}
