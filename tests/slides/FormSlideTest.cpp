#include "slides/ui/FormSlide.h"

#include "SlideFakes.h"
#include "chartview/render/ChartControl.h"
#include "os/TextCodec.h"
#include "slides/MessageLog.h"
#include "slides/ShowState.h"
#include "slides/SlidePreparation.h"
#include "slides/SlideShow.h"
#include "support/FakeDialogs.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::slides;
using namespace Qt::StringLiterals;

namespace {

// The player over a fake voice and a clock the test moves.
class PlayerFixture : public testing::Test
{
protected:
    void SetUp() override { form = makeForm(); }

    std::unique_ptr<FormSlide> makeForm()
    {
        return std::make_unique<FormSlide>(FormSlide::Context{
            state, speech, dialogs, messages, nullptr,
            [this](int kind, const QImage &, const QString &path) {
                printed << QString::number(kind) + u':' + path;
                // The printer's dialogue runs the events while the slide waits for it.
                if (printing)
                    printing(*form);
                return printAnswer;
            },
            [this](const QString &script) { edited << script; }, [this] { return clock; }});
    }

    // A slide with a small picture, so there is empty area around it.
    QString start(int kind, const QString &narration = QString(),
                  const QString &caption = u"a.CHF"_s)
    {
        QImage picture(100, 80, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        form->setHoldCaption(caption);
        QString text = narration;
        form->startSlide(kind, text, picture, u"/talk/"_s + caption);
        return text;
    }

    void advance(int milliseconds)
    {
        clock = clock.addMSecs(milliseconds);
        form->tick();
    }

    template <typename T> T *control(const char *name) const
    {
        return form->findChild<T *>(QString::fromLatin1(name));
    }
    QString printCaption() const { return control<QCheckBox>("CheckPrn")->text(); }
    QString holdCaption() const { return control<QCheckBox>("CheckHold")->text(); }
    void clickPicture() { QTest::mouseClick(control<QLabel>("ImageChfJpg"), Qt::LeftButton); }
    void clickEmptyArea() { QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(3, 3)); }

    QDateTime clock{QDate(2026, 3, 9), QTime(14, 5, 7, 100)};
    test::FakeSpeech speech;
    test::FakeDialogs dialogs;
    MessageLog messages;
    ShowState state;
    QStringList printed;
    std::function<void(FormSlide &)> printing; // what happens while the printer asks
    bool printAnswer = true;                   // whether the printer printed
    QStringList edited;
    std::unique_ptr<FormSlide> form;
};

TEST_F(PlayerFixture, BackOnTheFirstSlideOnlyBeeps)
{
    form->setLabelFlag(QString());
    start(SlidePlayer::ScriptChart);
    clickEmptyArea();
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(form->slideRunning());
    EXPECT_EQ(form->labelFlag(), QString());

    form->setLabelFlag(u" "_s);
    clickEmptyArea();
    EXPECT_FALSE(form->slideRunning());
    EXPECT_EQ(form->labelFlag(), u"Back"_s);
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(PlayerFixture, AClickOnThePictureEndsTheSlideAndTheShowGoesOn)
{
    start(SlidePlayer::ScriptChart);
    EXPECT_EQ(state.checkHold, 1);
    EXPECT_EQ(state.slideSignal, 0);
    clickPicture();
    EXPECT_FALSE(form->slideRunning());
    EXPECT_EQ(state.slideSignal, 1);
    EXPECT_EQ(form->labelFlag(), QString());
    form->finishSlide();
    EXPECT_EQ(state.checkHold, 1) << "ticked again for the next slide";
}

TEST_F(PlayerFixture, SeqToSilEndsTheSlide)
{
    speech.system = VoiceSystem::Engine;
    form->setNarrationMode(u"Pau"_s, true);
    start(SlidePlayer::ScriptChart, u"説明"_s);
    auto *mode = control<QPushButton>("CmdNonStop");
    mode->click();
    EXPECT_EQ(mode->text(), u"Seq"_s);
    EXPECT_TRUE(form->slideRunning()) << "still speaking";
    mode->click();
    EXPECT_EQ(mode->text(), u"Sil"_s);
    EXPECT_FALSE(form->slideRunning());
    EXPECT_EQ(speech.log.last(), u"sapiStop"_s);
    form->finishSlide();
    mode->click();
    EXPECT_EQ(mode->text(), u"Pau"_s);
    form->setNarrationMode(u"xyz"_s, true);
    mode->click();
    EXPECT_EQ(mode->text(), QString());
}

TEST_F(PlayerFixture, SeqEndsTheSlideWhenTheEngineFallsSilent)
{
    speech.system = VoiceSystem::Engine;
    form->setNarrationMode(u"Seq"_s, true);
    start(SlidePlayer::ScriptChart, u"説明"_s);
    advance(5000);
    EXPECT_TRUE(form->slideRunning());
    speech.engineBusy = false;
    advance(250);
    EXPECT_FALSE(form->slideRunning());
}

TEST_F(PlayerFixture, SeqAsksAReaderEveryTwoSecondsFromTwoSecondsOn)
{
    speech.system = VoiceSystem::TextReader;
    form->setNarrationMode(u"Seq"_s, true);
    start(SlidePlayer::ScriptChart, u"説明"_s);
    ASSERT_EQ(speech.log, QStringList({u"voiceSpeakWait:説明"_s}));
    const int asked = speech.busyQuestions; // once before speaking
    advance(1000);
    EXPECT_EQ(speech.busyQuestions, asked) << "not before 2 seconds";
    advance(1000);
    EXPECT_EQ(speech.busyQuestions, asked + 1);
    advance(1000);
    EXPECT_EQ(speech.busyQuestions, asked + 1) << "then every 2 seconds";
    speech.readerBusy = false;
    advance(1000);
    EXPECT_EQ(speech.busyQuestions, asked + 2);
    EXPECT_FALSE(form->slideRunning());
    EXPECT_EQ(state.slideSignal, 1);
}

TEST_F(PlayerFixture, AClickDuringSpeechStopsItBeforeTheNextSlide)
{
    speech.system = VoiceSystem::Engine;
    form->setNarrationMode(u"Pau"_s, true);
    start(SlidePlayer::ScriptChart, u"一枚目"_s);
    clickPicture();
    form->finishSlide();
    start(SlidePlayer::ScriptChart, u"二枚目"_s);
    EXPECT_EQ(speech.log,
              QStringList({u"sapiSpeak:一枚目"_s, u"sapiStop"_s, u"sapiSpeak:二枚目"_s}));
}

TEST_F(PlayerFixture, AScriptSlideWithoutNarrationSaysItHasNone)
{
    struct Case
    {
        int kind;
        QString spoken;
    };
    speech.system = VoiceSystem::Engine;
    speech.speakingKeepsBusy = false;
    form->setNarrationMode(u"Pau"_s, true);
    for (const Case &c :
         {Case{SlidePlayer::ScriptChart, u"sales.CHFの説明がありません"_s},
          Case{SlidePlayer::SelectionChart, QString()}, Case{SlidePlayer::Picture, QString()}}) {
        SCOPED_TRACE(c.kind);
        speech.log.clear();
        EXPECT_EQ(start(c.kind, QString(), u"sales.CHF"_s), c.spoken);
        EXPECT_EQ(speech.log,
                  c.spoken.isEmpty() ? QStringList() : QStringList({u"sapiSpeak:"_s + c.spoken}));
        clickPicture();
        form->finishSlide();
    }
}

TEST_F(PlayerFixture, NoNarrationInSilOrWithoutAVoice)
{
    speech.system = VoiceSystem::Engine;
    form->setNarrationMode(u"Sil"_s, true);
    start(SlidePlayer::ScriptChart, u"説明"_s);
    EXPECT_TRUE(speech.log.isEmpty());
    clickPicture();
    form->finishSlide();
    speech.log.clear();

    speech.system = VoiceSystem::None;
    form->setNarrationMode(u"Pau"_s, true);
    start(SlidePlayer::ScriptChart, u"説明"_s);
    EXPECT_TRUE(speech.log.isEmpty());
    EXPECT_EQ(control<QCheckBox>("CheckHold")->palette().color(QPalette::WindowText),
              QColor(192, 64, 0));
}

TEST_F(PlayerFixture, WithThePrintBoxTickedNothingIsSpokenAndTheModeIsHidden)
{
    speech.system = VoiceSystem::Engine;
    form->setNarrationMode(u"Pau"_s, true);
    form->enablePrintBox();
    control<QCheckBox>("CheckPrn")->setChecked(true);
    form->show();
    for (const QString &narration : {u"説明"_s, QString()}) {
        EXPECT_EQ(start(SlidePlayer::ScriptChart, narration), QString());
        EXPECT_TRUE(speech.log.isEmpty());
        EXPECT_FALSE(control<QPushButton>("CmdNonStop")->isVisible());
        form->finishSlide();
    }
}

TEST_F(PlayerFixture, TheFirstPrintedSlidePrintsAtOnceLaterOnesAfterACountdown)
{
    form->enablePrintBox();
    auto *print = control<QCheckBox>("CheckPrn");
    start(SlidePlayer::ScriptChart);
    print->click(); // ticked during the first slide
    EXPECT_FALSE(form->slideRunning());
    EXPECT_EQ(printed, QStringList({u"1:/talk/a.CHF"_s}));
    EXPECT_EQ(printCaption(), u"Prnting"_s);
    EXPECT_FALSE(print->isEnabled());
    EXPECT_EQ(dialogs.beeps, 1);
    form->finishSlide();

    // The next slide counts down 7 seconds, then prints.
    start(SlidePlayer::Picture, QString(), u"p.JPG"_s);
    EXPECT_EQ(printCaption(), u" 7"_s);
    advance(3000);
    EXPECT_EQ(printCaption(), u" 4"_s);
    advance(4000);
    EXPECT_TRUE(form->slideRunning());
    EXPECT_EQ(printCaption(), u" 0"_s);
    advance(1000);
    EXPECT_FALSE(form->slideRunning());
    EXPECT_EQ(printed.last(), u"10:/talk/p.JPG"_s);
}

TEST_F(PlayerFixture, EachSlidePrintsOnceAndADeclinedPrintEndsPrinting)
{
    form->enablePrintBox();
    auto *print = control<QCheckBox>("CheckPrn");
    print->click();
    // The slide's own timer keeps firing while the printer's dialogue is open.
    printing = [this](FormSlide &) {
        advance(8000);
        advance(8000);
    };
    start(SlidePlayer::ScriptChart);
    EXPECT_EQ(printed.size(), 1);
    form->finishSlide();

    printAnswer = false; // the printer dialogue is cancelled
    start(SlidePlayer::ScriptChart, QString(), u"b.CHF"_s);
    advance(8000);
    EXPECT_EQ(printed.size(), 2);
    EXPECT_FALSE(print->isChecked()) << "a declined print does not ask again at every slide";
    form->finishSlide();

    start(SlidePlayer::ScriptChart, QString(), u"c.CHF"_s);
    advance(8000);
    EXPECT_EQ(printed.size(), 2);
}

TEST_F(PlayerFixture, AClickCancelsThePrintCountdown)
{
    form->enablePrintBox();
    control<QCheckBox>("CheckPrn")->click();
    start(SlidePlayer::ScriptChart);
    form->finishSlide();
    printed.clear();
    dialogs.beeps = 0;

    start(SlidePlayer::ScriptChart, QString(), u"b.CHF"_s);
    advance(2000);
    EXPECT_EQ(printCaption(), u" 5"_s);
    clickPicture();
    EXPECT_EQ(printCaption(), u"cancel"_s);
    EXPECT_FALSE(form->slideRunning()) << "the show goes on";
    EXPECT_TRUE(printed.isEmpty());
    EXPECT_EQ(dialogs.beeps, 1);
}

struct KeyCase
{
    const char *what;
    Qt::Key key;
    QString flagBefore;
    bool ends;
    QString flagAfter;
    int beeps;
};

class KeyTable : public PlayerFixture, public testing::WithParamInterface<KeyCase>
{
};

TEST_P(KeyTable, PresenterKeys)
{
    const KeyCase &c = GetParam();
    form->setLabelFlag(c.flagBefore);
    start(SlidePlayer::ScriptChart);
    QTest::keyClick(form.get(), c.key);
    EXPECT_EQ(!form->slideRunning(), c.ends);
    EXPECT_EQ(form->labelFlag(), c.flagAfter);
    EXPECT_EQ(dialogs.beeps, c.beeps);
}

INSTANTIATE_TEST_SUITE_P(
    Player, KeyTable,
    testing::Values(KeyCase{"right", Qt::Key_Right, u" "_s, true, u" "_s, 0},
                    KeyCase{"down", Qt::Key_Down, QString(), true, QString(), 0},
                    KeyCase{"space", Qt::Key_Space, u" "_s, true, u" "_s, 0},
                    KeyCase{"return", Qt::Key_Return, u" "_s, true, u" "_s, 0},
                    KeyCase{"enter", Qt::Key_Enter, u" "_s, true, u" "_s, 0},
                    KeyCase{"pagedown", Qt::Key_PageDown, u" "_s, true, u" "_s, 0},
                    KeyCase{"left", Qt::Key_Left, u" "_s, true, u"Back"_s, 0},
                    KeyCase{"up", Qt::Key_Up, u" "_s, true, u"Back"_s, 0},
                    KeyCase{"backspace", Qt::Key_Backspace, u" "_s, true, u"Back"_s, 0},
                    KeyCase{"pageup", Qt::Key_PageUp, u" "_s, true, u"Back"_s, 0},
                    KeyCase{"pageup_first", Qt::Key_PageUp, QString(), false, QString(), 1},
                    KeyCase{"left_first", Qt::Key_Left, QString(), false, QString(), 1},
                    KeyCase{"home", Qt::Key_Home, u" "_s, true, u"Home"_s, 0},
                    KeyCase{"home_first", Qt::Key_Home, QString(), false, QString(), 1},
                    KeyCase{"escape", Qt::Key_Escape, u" "_s, true, u"Quit"_s, 0},
                    KeyCase{"escape_first", Qt::Key_Escape, QString(), true, u"Quit"_s, 0},
                    KeyCase{"other", Qt::Key_X, u" "_s, false, u" "_s, 0}),
    [](const testing::TestParamInfo<KeyCase> &info) { return std::string(info.param.what); });

TEST_F(PlayerFixture, EndOfShowTellsTheUserAndStopsTheVoice)
{
    start(SlidePlayer::ScriptChart);
    QTest::mousePress(control<QCheckBox>("CheckHold"), Qt::LeftButton);
    EXPECT_FALSE(form->slideRunning());
    EXPECT_EQ(form->labelFlag(), u"Quit"_s);
    EXPECT_EQ(messages.title(), FormSlide::endTitle());
    EXPECT_EQ(messages.message(), u" お待ちください。\r\n  Ending SlideShow"_s);
    EXPECT_EQ(speech.log, QStringList({u"voiceStop"_s}));
    EXPECT_EQ(state.slideSignal, 1);
}

TEST_F(PlayerFixture, ClosingTheWindowEndsTheShow)
{
    start(SlidePlayer::ScriptChart);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(form->labelFlag(), u"Quit"_s);
    EXPECT_FALSE(form->slideRunning());
}

TEST_F(PlayerFixture, BlackAndWhiteScreensComeBackWithoutMovingOn)
{
    start(SlidePlayer::ScriptChart);
    for (const auto &[key, colour] :
         {std::pair{Qt::Key_B, QColor(Qt::black)}, std::pair{Qt::Key_W, QColor(Qt::white)}}) {
        QTest::keyClick(form.get(), key);
        ASSERT_TRUE(form->isBlanked());
        EXPECT_EQ(form->findChild<QWidget *>(u"blankScreen"_s)->palette().color(QPalette::Window),
                  colour);
        QTest::keyClick(form.get(), Qt::Key_Right);
        EXPECT_FALSE(form->isBlanked());
        EXPECT_TRUE(form->slideRunning()) << "the key only brought the slide back";
    }
    QTest::keyClick(form.get(), Qt::Key_B);
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isBlanked());
    EXPECT_EQ(form->labelFlag(), u"Quit"_s);
}

TEST_F(PlayerFixture, ThePointerGoesAfterTwoSecondsStill)
{
    start(SlidePlayer::ScriptChart);
    advance(1900);
    EXPECT_FALSE(form->pointerHidden());
    advance(100);
    EXPECT_TRUE(form->pointerHidden());
    EXPECT_EQ(form->cursor().shape(), Qt::BlankCursor);
    QTest::mouseMove(form.get(), QPoint(10, 10));
    EXPECT_FALSE(form->pointerHidden());
    advance(1000);
    EXPECT_FALSE(form->pointerHidden());
    advance(1000);
    EXPECT_TRUE(form->pointerHidden());
}

TEST_F(PlayerFixture, MovingTheMouseGraysTheHoldOnlyForAPass)
{
    start(SlidePlayer::ScriptChart);
    QTest::mouseMove(form.get(), QPoint(20, 20));
    QTest::mouseMove(form.get(), QPoint(30, 25));
    EXPECT_EQ(state.checkHold, 1) << "grayed, then ticked again by the pass it started";
    EXPECT_TRUE(form->slideRunning());
    // The voice output's waits gray it too; the next pass ticks it again.
    state.checkHold = 2;
    advance(100);
    EXPECT_EQ(state.checkHold, 1);
    EXPECT_EQ(control<QCheckBox>("CheckHold")->checkState(), Qt::Checked);
}

TEST_F(PlayerFixture, TheCaptionClockShowsTheSlideDateAndTime)
{
    start(SlidePlayer::ScriptChart, QString(), u"a.CHF"_s);
    EXPECT_EQ(holdCaption(), u"a.CHF 03-09-2026 14:05:07"_s);
    advance(1000);
    EXPECT_EQ(holdCaption(), u"a.CHF 03-09-2026 14:05:08"_s);
}

TEST_F(PlayerFixture, TheHoldCaptionHasTheColourOfTheKind)
{
    speech.system = VoiceSystem::Engine;
    struct Case
    {
        int kind;
        QColor colour;
    };
    for (const Case &c : {Case{SlidePlayer::CurrentChart, QColor(0, 192, 192)},
                          Case{SlidePlayer::SelectionChart, QColor(0, 255, 255)},
                          Case{SlidePlayer::ScriptChart, form->holdColour(1, true)},
                          Case{SlidePlayer::Picture, form->holdColour(1, true)}}) {
        form = makeForm();
        start(c.kind);
        EXPECT_EQ(control<QCheckBox>("CheckHold")->palette().color(QPalette::WindowText), c.colour);
    }
}

TEST_F(PlayerFixture, EditOpensTheScriptOnceAndIsRememberedBySlides)
{
    speech.system = VoiceSystem::Engine;
    auto *edit = control<QPushButton>("CmdEdit");
    form->setEditButton(u"Edit"_s, true);
    edit->click();
    EXPECT_TRUE(edited.isEmpty()) << "no script is being played";
    form->setScriptFile(u"/talk/talk.sld"_s);
    edit->click();
    EXPECT_EQ(edit->text(), u"EditOk"_s);
    EXPECT_EQ(edited, QStringList({u"/talk/talk.sld"_s}));
    start(SlidePlayer::ScriptChart);
    EXPECT_EQ(edited.size(), 1) << "a slide does not start another editor";
    EXPECT_EQ(edit->text(), u"EditOk"_s);
}

TEST_F(PlayerFixture, TheSingleViewOfTheChartUnloadsItself)
{
    form->enablePrintBox();
    control<QCheckBox>("CheckPrn")->setChecked(true);
    form->setNarrationMode(u"Pau"_s, true);
    const QString narration = start(SlidePlayer::CurrentChart, u"ignored"_s);
    EXPECT_EQ(narration, QString());
    EXPECT_FALSE(control<QCheckBox>("CheckPrn")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("CheckPrn")->isHidden());
    EXPECT_TRUE(control<QPushButton>("CmdNonStop")->isHidden());
    EXPECT_TRUE(form->isVisible());
    clickPicture();
    form->finishSlide();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(printed.isEmpty());
}

TEST_F(PlayerFixture, ShowingWaitsInItsOwnEventLoopUntilTheSlideEnds)
{
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QTimer::singleShot(0, form.get(), [this] { QTest::keyClick(form.get(), Qt::Key_Space); });
    QString narration;
    form->Showing(SlidePlayer::Picture, narration, picture, u"/t/p.JPG"_s);
    EXPECT_FALSE(form->slideRunning());
    EXPECT_EQ(state.slideSignal, 1);
    EXPECT_TRUE(form->isFullScreen());
    EXPECT_EQ(form->picture().size(), QSize(64, 48));
}

// The driver and the real player together, the user's answers given as each slide starts.
TEST(SlideShowWithPlayer, BackFromTheSecondSlideShowsTheFirst)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(u"talk.sld"_s);
    test::writeFile(script,
                    os::encodeText(u"<FILE> a.chf\r\n<TEXT>A\r\n<FILE> b.chf\r\n<TEXT>B\r\n"_s));

    chartview::ChartControl chart;
    const SlidePreparation preparation(chart, [](const QString &) { return os::Result::success(); },
                                       {});
    test::FakeShowHost host;
    test::FakeDialogs dialogs;
    test::FakeSpeech speech;
    MessageLog messages;
    ShowState state;
    FormSlide form({state, speech, dialogs, messages, nullptr, {}, {}});
    // The user's keys, one a slide: next, back, back again (beeps on the first), then Esc.
    const QList<Qt::Key> keys = {Qt::Key_Right, Qt::Key_Left, Qt::Key_Left, Qt::Key_Escape};
    QStringList shown;
    QObject::connect(&form, &FormSlide::slideStarted, &form, [&](int, const QString &narration) {
        shown << narration;
        const Qt::Key key = keys.value(shown.size() - 1, Qt::Key_Escape);
        QTimer::singleShot(0, &form, [&form, key, &dialogs] {
            const int beeps = dialogs.beeps;
            QTest::keyClick(&form, key);
            if (dialogs.beeps > beeps) // a refused back: the user goes on with Esc
                QTest::keyClick(&form, Qt::Key_Escape);
        });
    });
    SlideShow show({host, form, preparation, dialogs, speech, state});
    QString source = script;
    show.multSlideShow(dir.path(), source, 0);

    EXPECT_EQ(shown, QStringList({u"A"_s, u"B"_s, u"A"_s}));
    EXPECT_EQ(dialogs.beeps, 1 + 1) << "the refused back, then the end of the show";
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(host.mainVisible);
}

} // namespace
