#include "SpeechFakes.h"

#include "slides/ExternalReader.h"
#include "slides/ReaderCatalog.h"
#include "slides/SpeechEngine.h"
#include "slides/SpeechForm.h"
#include "slides/Voice.h"
#include "slides/VoiceSystem.h"
#include "support/FakeDialogs.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using slides::Voice;
using slides::VoiceSystem;
using slides::VoiceSystems;

namespace {

struct VoiceFixture : ::testing::Test
{
    test::FakeBackend jtalk{QStringLiteral("open_jtalk"), QStringLiteral("ja"), true};
    test::FakeBackend espeak{QStringLiteral("espeak-ng"), QStringLiteral("en-us"), false};
    test::FakeAudioOutput out;
    slides::SpeechEngine engine{{&jtalk, &espeak}};
    slides::SpeechForm form{engine};
    QTemporaryDir dictionary;
    test::FakeReaderProcess::Script script;
    slides::ReaderCatalog readers{paths(), test::fakeReaderFactory(script)};
    slides::ShowState show;
    test::FakeDialogs dialogs;
    QString pgm;
    double clock = 100.2;
    int pumps = 0;
    std::function<void()> onPump;
    Voice voice{{[this] { return pgm; }, form, readers, show, dialogs, [this] { return clock; },
                 [this] {
                     ++pumps;
                     clock += 0.25;
                     QCoreApplication::processEvents();
                     if (onPump)
                         onPump();
                 }}};

    VoiceFixture() { engine.setOutput(&out); }

    slides::ReaderCatalog::Paths paths()
    {
        slides::ReaderCatalog::Paths p;
        p.openJTalk = QStringLiteral("/bin/open_jtalk");
        p.dictionary = dictionary.path();
        p.voiceFile = QStringLiteral("/v/m001.htsvoice");
        p.player = QStringLiteral("/bin/aplay");
        p.espeak = QStringLiteral("/bin/espeak-ng");
        return p;
    }
    test::FakeReaderProcess *running() const
    {
        return script.live.isEmpty() ? nullptr : script.live.last();
    }
    // The reading ends by itself after the given number of pumps.
    void endAfter(int count)
    {
        onPump = [this, count] {
            if (pumps == count && running())
                running()->end();
        };
    }
    QStringList starts() const { return script.log.filter(QStringLiteral("start ")); }
};

} // namespace

TEST(VoiceSystems, TwoFirstMatchRules)
{
    const struct
    {
        const char *value;
        VoiceSystem module; // voice output: msapi, tts.exe, dtalker.exe
        VoiceSystem label;  // settings labels: TTS., DTALKER., MSAPI
    } cases[] = {
        {"MSAPI", VoiceSystem::Engine, VoiceSystem::Engine},
        {"TTS.EXE", VoiceSystem::TextReader, VoiceSystem::TextReader},
        {"c:\\nec\\tts.exe /x", VoiceSystem::TextReader, VoiceSystem::TextReader},
        {"DTALKER.EXE", VoiceSystem::DocumentTalker, VoiceSystem::DocumentTalker},
        {"TTS.EXE MSAPI", VoiceSystem::Engine, VoiceSystem::TextReader},
        {"tts.dtalker.exe", VoiceSystem::DocumentTalker, VoiceSystem::TextReader},
        {"未設定", VoiceSystem::None, VoiceSystem::None},
        {"", VoiceSystem::None, VoiceSystem::None},
        {"sleep", VoiceSystem::None, VoiceSystem::None},
    };
    for (const auto &c : cases) {
        const QString v = QString::fromUtf8(c.value);
        EXPECT_EQ(VoiceSystems::fromProgram(v), c.module) << c.value;
        EXPECT_EQ(VoiceSystems::fromLabel(v), c.label) << c.value;
    }
    EXPECT_EQ(VoiceSystems::readerIdOf(VoiceSystems::textReaderValueFor(QStringLiteral("spd-say"))),
              QStringLiteral("spd-say"));
    EXPECT_TRUE(VoiceSystems::readerIdOf(QStringLiteral("c:\\nec\\tts.exe")).isEmpty());
}

TEST_F(VoiceFixture, TheTextReaderTakesTheMarksAndIsWaitedFor)
{
    pgm = QStringLiteral("TTS.EXE espeak-ng");
    endAfter(3);
    QString text = QStringLiteral("hello {VoiceSync}there{VoiceStop}");
    voice.voiceSpeak(text);
    EXPECT_EQ(text, QStringLiteral("hello there"));
    EXPECT_EQ(starts(), QStringList{QStringLiteral("start /bin/espeak-ng -s 175 -- hello there")});
    EXPECT_EQ(show.checkHold, 1);
    EXPECT_EQ(show.slideSignal, 0);
    EXPECT_GE(pumps, 3) << "waited for the end of the reading";
    EXPECT_FALSE(voice.voiceBusy());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(VoiceFixture, NotSelfendReturnsAtOnceButSpeakWaitWaits)
{
    pgm = QStringLiteral("TTS.EXE espeak-ng");
    QString text = QStringLiteral("{VoiceNotSelfend}long reading");
    voice.voiceSpeak(text);
    EXPECT_EQ(pumps, 0);
    EXPECT_TRUE(voice.voiceBusy());

    endAfter(4);
    QString again = QStringLiteral("{VoiceNotSelfend}long reading");
    voice.voiceSpeakWait(again);
    EXPECT_EQ(again, QStringLiteral("long reading"));
    EXPECT_GE(pumps, 4);
    EXPECT_FALSE(voice.voiceBusy());
    // The first reading was stopped before the second began.
    EXPECT_EQ(script.log.mid(0, 3),
              (QStringList{QStringLiteral("start /bin/espeak-ng -s 175 -- long reading"),
                           QStringLiteral("terminate"),
                           QStringLiteral("start /bin/espeak-ng -s 175 -- long reading")}));
}

TEST_F(VoiceFixture, StopOnlyStopsUnlessTheShowHasEnded)
{
    pgm = QStringLiteral("TTS.EXE espeak-ng");
    const struct
    {
        qint16 signal;
        QStringList calls;
    } cases[] = {
        {1, {QStringLiteral("terminate")}},
        {0, {QStringLiteral("terminate")}},
        {2, {QStringLiteral("terminate"), QStringLiteral("kill")}},
    };
    for (const auto &c : cases) {
        QString text = QStringLiteral("{VoiceNotSelfend}text");
        voice.voiceSpeak(text);
        script.log.clear();
        script.ignoresTerm = c.signal == 2; // closing is what ends it then
        show.slideSignal = c.signal;
        voice.voiceStop();
        EXPECT_EQ(script.log, c.calls) << c.signal;
        EXPECT_FALSE(voice.voiceBusy()) << c.signal;
        script.ignoresTerm = false;
    }
}

TEST_F(VoiceFixture, AHangingReaderIsEndedAtTheDeadline)
{
    pgm = QStringLiteral("TTS.EXE espeak-ng");
    QString text = QStringLiteral("{VoiceNotSelfend}text");
    voice.voiceSpeak(text);
    script.ignoresTerm = true;
    const double before = clock;
    voice.voiceStop();
    EXPECT_FALSE(voice.voiceBusy());
    EXPECT_EQ(script.log.last(), QStringLiteral("kill"));
    // Five seconds from the whole second the stop began at, no more.
    EXPECT_LE(clock, std::nearbyint(before) + Voice::StopSeconds + 0.25);
    EXPECT_GE(clock, std::nearbyint(before) + Voice::StopSeconds);
}

TEST_F(VoiceFixture, AReaderThatEndsAtOnceOrCannotStart)
{
    pgm = QStringLiteral("TTS.EXE espeak-ng");
    script.endsAtOnce = true;
    QString text = QStringLiteral("short");
    voice.voiceSpeak(text);
    EXPECT_EQ(pumps, 0) << "no wait for a reading that is over";
    EXPECT_FALSE(voice.voiceFailed());

    script.endsAtOnce = false;
    script.failing = {QStringLiteral("/bin/espeak-ng")};
    QString again = QStringLiteral("short");
    voice.voiceSpeak(again);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(
        dialogs.messages[0].text.startsWith(QStringLiteral("espeak-ng の起動に失敗しました.")))
        << qPrintable(dialogs.messages[0].text);
    EXPECT_TRUE(voice.voiceFailed());
}

TEST_F(VoiceFixture, TheHoldBoxAndTheStopSignalDuringTheWait)
{
    pgm = QStringLiteral("TTS.EXE espeak-ng");
    onPump = [this] {
        if (pumps == 1)
            show.checkHold = 2; // grayed by the slide window: ticked again
        if (pumps == 2) {
            EXPECT_EQ(show.checkHold, 1);
        }
        if (pumps == 3)
            show.slideSignal = 1; // the user ended the slide
    };
    QString text = QStringLiteral("narration");
    voice.voiceSpeak(text);
    EXPECT_TRUE(script.log.contains(QStringLiteral("terminate")));
    EXPECT_EQ(show.slideSignal, 0) << "reset at the end";
}

TEST_F(VoiceFixture, TheDocumentTalkerStartsAnewForEveryText)
{
    pgm = QStringLiteral("DTALKER.EXE");
    QString first = QStringLiteral("{VoiceSync}一つ目");
    voice.voiceSpeak(first);
    EXPECT_EQ(pumps, 0) << "the talker is not waited for";
    EXPECT_EQ(first, QStringLiteral("{VoiceSync}一つ目")) << "the marks stay in the text";
    QString second = QStringLiteral("二つ目");
    voice.voiceSpeak(second);
    const QStringList log = script.log;
    ASSERT_EQ(log.size(), 3);
    // Open JTalk reads it (it reads kanji); the text is its input; the player follows.
    EXPECT_TRUE(log[0].startsWith(QStringLiteral("start /bin/open_jtalk -x ")));
    EXPECT_TRUE(log[0].endsWith(QStringLiteral("<           一つ目\n"))) << qPrintable(log[0]);
    EXPECT_EQ(log[1], QStringLiteral("kill")) << "the earlier reading is closed first";
    EXPECT_TRUE(log[2].endsWith(QStringLiteral("<二つ目\n")));
    running()->end();
    QCoreApplication::processEvents();
    EXPECT_TRUE(script.log.last().startsWith(QStringLiteral("start /bin/aplay -q ")));
    EXPECT_TRUE(voice.voiceBusy()) << "the player plays";
}

TEST_F(VoiceFixture, TheEngineIsUsedForMsapiAndNothingForNone)
{
    pgm = QStringLiteral("MSAPI");
    engine.setVoice(QStringLiteral("espeak-ng:en-us"));
    QString text = QStringLiteral("{VoiceNotSelfend}hello");
    voice.voiceSpeak(text);
    EXPECT_EQ(text, QStringLiteral("{VoiceNotSelfend}hello"));
    EXPECT_TRUE(voice.sapiBusy());
    EXPECT_TRUE(voice.voiceBusy());
    ASSERT_EQ(espeak.requests.size(), 1);
    EXPECT_FALSE(espeak.requests[0].text.contains(QLatin1Char('{'))) << "marks are not read";
    voice.voiceStop();
    EXPECT_FALSE(voice.sapiBusy());
    EXPECT_TRUE(engine.isIdle());

    pgm = QStringLiteral("未設定");
    show.checkHold = 0;
    show.slideSignal = 2;
    QString nothing = QStringLiteral("unheard");
    voice.voiceSpeak(nothing);
    EXPECT_EQ(show.checkHold, 1);
    EXPECT_EQ(show.slideSignal, 0);
    EXPECT_TRUE(script.log.isEmpty());
    EXPECT_EQ(espeak.requests.size(), 1);
    EXPECT_EQ(voice.voiceSystem(), VoiceSystem::None);
}

TEST_F(VoiceFixture, ReadersOfferedAndLongTextGoesOnStandardInput)
{
    const auto found = readers.availablePrograms();
    ASSERT_EQ(found.size(), 2) << "spd-say is not on this machine";
    EXPECT_EQ(found[0].id, QStringLiteral("open_jtalk"));
    EXPECT_EQ(found[0].label, QStringLiteral("Open JTalk + aplay"));
    EXPECT_EQ(readers.defaultId(), QStringLiteral("open_jtalk"));
    EXPECT_EQ(readers.reader(QStringLiteral("spd-say")), nullptr);

    const QString huge(slides::ReaderCatalog::MaxArgumentBytes + 1, QLatin1Char('a'));
    const auto plan = readers.plan(QStringLiteral("espeak-ng"), huge, QStringLiteral("/tmp"));
    ASSERT_EQ(plan.size(), 1);
    EXPECT_TRUE(plan[0].arguments.contains(QStringLiteral("--stdin")));
    EXPECT_EQ(plan[0].input.size(), huge.size());
    const auto japanese = readers.plan(QStringLiteral("espeak-ng"), QStringLiteral("かな"), {});
    EXPECT_TRUE(japanese[0].arguments.contains(QStringLiteral("ja")));
}

TEST_F(VoiceFixture, AReaderThatEndsInAnErrorHasNotSpoken)
{
    pgm = QStringLiteral("TTS.EXE espeak-ng");
    QString text = QStringLiteral("{VoiceNotSelfend}no sound device");
    voice.voiceSpeak(text);
    EXPECT_FALSE(voice.voiceFailed());
    running()->end(false); // the program gave up: no sound device, say
    QCoreApplication::processEvents();
    EXPECT_TRUE(voice.voiceFailed());

    // Stopped by the user is no failure.
    QString again = QStringLiteral("{VoiceNotSelfend}stopped");
    voice.voiceSpeak(again);
    voice.voiceStop();
    QCoreApplication::processEvents();
    EXPECT_FALSE(voice.voiceFailed());
}
