#include "slides/SlideShow.h"

#include "SlideFakes.h"
#include "chartdoc/BottomTitle.h"
#include "chartdoc/ChartDocument.h"
#include "chartdoc/DataFileLoader.h"
#include "chartdoc/SampleChart.h"
#include "chartview/render/ChartControl.h"
#include "os/TextCodec.h"
#include "slides/MessageLog.h"
#include "slides/ShowState.h"
#include "slides/SlidePreparation.h"
#include "slides/SlideScript.h"
#include "support/FakeDialogs.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace qel;
using namespace qel::slides;
using namespace Qt::StringLiterals;

namespace {

const QDateTime Started(QDate(2026, 3, 9), QTime(14, 5, 7));

// A show over fakes: charts "load" by name (those in `failing` fail), pictures are read from
// their files, and the chart's bottom title names the chart last loaded.
class ShowFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + u'/';
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(dir.filePath(u"p.jpg"_s), "JPG"));
    }

    SlidePreparation preparation()
    {
        return SlidePreparation(
            chart,
            [this](const QString &path) {
                loads << QFileInfo(path).fileName();
                if (failing.count(QFileInfo(path).fileName().toStdString()))
                    return os::Result::failure(u"chrs2読み込みできませんでした。dir: "_s + path +
                                               u"\r\n"_s + path + u": ファイルが見つかりません"_s);
                chart.setTitleCaption(3, chartdoc::composeBottomTitle(
                                             u"月"_s, u"図 "_s + QFileInfo(path).baseName()));
                return os::Result::success();
            },
            [](const QString &path, QImage &image) {
                if (!image.load(path))
                    return os::Result::failure(path + u": 画像として読めません"_s);
                return os::Result::success();
            });
    }

    int play(const QString &source, int mode, QString *generated = nullptr)
    {
        const SlidePreparation prep = preparation();
        SlideShow show({host, player, prep, dialogs, speech, state, [] { return Started; }});
        QString text = source;
        const int result = show.multSlideShow(folder, text, mode);
        if (generated)
            *generated = text;
        return result;
    }

    QString script(const QString &text)
    {
        const QString path = dir.filePath(u"talk.sld"_s);
        test::writeFile(path, os::encodeText(text));
        return path;
    }

    QTemporaryDir dir;
    QString folder;
    chartview::ChartControl chart;
    std::set<std::string> failing;
    QStringList loads;
    test::FakeShowHost host;
    test::FakePlayer player;
    test::FakeDialogs dialogs;
    test::FakeSpeech speech;
    ShowState state;
};

TEST_F(ShowFixture, ScriptPlaysItsSlidesInOrderAndEndsTheShow)
{
    host.viewerVisible = true;
    const QString path = script(u"<TEXT>前置き\r\n<FILE> a.chf\r\n<TEXT>   一枚目\r\n"
                                u"<FILE> p.jpg\r\n<TEXT>写真\r\n<FILE> b.chf\r\n"_s);
    play(path, 0);

    ASSERT_EQ(player.shown.size(), 3);
    EXPECT_EQ(player.shownFiles(), QStringList({u"a.CHF"_s, u"p.JPG"_s, u"b.CHF"_s}));
    EXPECT_EQ(player.shown[0].kind, SlidePlayer::ScriptChart);
    EXPECT_EQ(player.shown[0].narration, u"一枚目"_s) << "leading blanks go";
    EXPECT_EQ(player.shown[1].kind, SlidePlayer::Picture);
    EXPECT_EQ(player.shown[1].path, dir.filePath(u"p.jpg"_s)) << "found without regard to case";
    EXPECT_EQ(player.shown[1].pictureSize, QSize(266, 200)) << "fitted, proportions kept";
    EXPECT_EQ(player.shown[2].narration, QString());
    EXPECT_EQ(player.shown[0].pictureSize, player.size) << "a chart fills the area";
    EXPECT_EQ(player.scriptFile, path);
    EXPECT_TRUE(player.printEnabled);

    EXPECT_EQ(host.dataPath, folder + u"dummy"_s);
    EXPECT_EQ(host.currentFile, dir.filePath(u"b.CHF"_s));
    EXPECT_EQ(host.calls, QStringList({u"centre"_s, u"viewer hidden"_s, u"pause"_s, u"main shown"_s,
                                       u"viewer shown"_s}));
    EXPECT_TRUE(speech.log.contains(u"voiceStop"_s));
    EXPECT_EQ(state.slideSignal, 2);
    EXPECT_TRUE(player.unloaded);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

struct FlagCase
{
    const char *what;
    std::map<int, QString> answers; // the flag the user leaves after the n-th slide shown
    QStringList files;
    int beeps;
};

class FlagTable : public ShowFixture, public testing::WithParamInterface<FlagCase>
{
};

TEST_P(FlagTable, MovesThroughTheScriptAsTheUserAsks)
{
    const FlagCase &c = GetParam();
    player.answers = c.answers;
    play(script(u"<FILE> a.chf\r\n<FILE> b.chf\r\n<FILE> c.chf\r\n"_s), 0);
    EXPECT_EQ(player.shownFiles(), c.files);
    EXPECT_EQ(dialogs.beeps, c.beeps);
}

INSTANTIATE_TEST_SUITE_P(
    Driver, FlagTable,
    testing::Values(FlagCase{"forward", {}, {u"a.CHF"_s, u"b.CHF"_s, u"c.CHF"_s}, 0},
                    FlagCase{"back from the second",
                             {{1, u"Back"_s}},
                             {u"a.CHF"_s, u"b.CHF"_s, u"a.CHF"_s, u"b.CHF"_s, u"c.CHF"_s},
                             0},
                    FlagCase{"back twice from the third",
                             {{2, u"Back"_s}, {3, u"Back"_s}},
                             {u"a.CHF"_s, u"b.CHF"_s, u"c.CHF"_s, u"b.CHF"_s, u"a.CHF"_s,
                              u"b.CHF"_s, u"c.CHF"_s},
                             0},
                    FlagCase{
                        "home from the third",
                        {{2, u"Home"_s}},
                        {u"a.CHF"_s, u"b.CHF"_s, u"c.CHF"_s, u"a.CHF"_s, u"b.CHF"_s, u"c.CHF"_s},
                        0},
                    FlagCase{"quit on the second", {{1, u"Quit"_s}}, {u"a.CHF"_s, u"b.CHF"_s}, 1}),
    [](const testing::TestParamInfo<FlagCase> &info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(ShowFixture, TheFlagAllowsGoingBackFromTheSecondSlideOnly)
{
    QStringList flags;
    player.onShowing = [&](test::FakePlayer &p) { flags << p.flag; };
    play(script(u"<FILE> a.chf\r\n<FILE> b.chf\r\n<FILE> c.chf\r\n"_s), 0);
    EXPECT_EQ(flags, QStringList({QString(), u" "_s, u" "_s}));
}

TEST_F(ShowFixture, QuitDisablesThePictureUntilTheEnd)
{
    player.answers = {{0, u"Quit"_s}};
    play(script(u"<FILE> a.chf\r\n<FILE> b.chf\r\n"_s), 0);
    EXPECT_EQ(player.shown.size(), 1);
    // Disabled by the quit, enabled again by the end-of-show steps.
    EXPECT_EQ(player.pictureStates, QList<bool>({false, true}));
    EXPECT_TRUE(host.calls.contains(u"pause"_s));
}

TEST_F(ShowFixture, AChartThatFailsGetsTheMessageAndTheShowGoesOn)
{
    failing = {"b.CHF"};
    play(script(u"<FILE> a.chf\r\n<FILE> b.chf\r\n<FILE> c.chf\r\n"_s), 0);
    EXPECT_EQ(player.shownFiles(), QStringList({u"a.CHF"_s, u"c.CHF"_s}));
    ASSERT_EQ(dialogs.messages.size(), 1);
    const QString path = dir.filePath(u"b.CHF"_s);
    EXPECT_EQ(dialogs.messages[0].text, u"b.CHF\r\n読み込みできませんでした。dir= "_s +
                                            QString::number(path.size()) + u"chrs\r\n"_s + path +
                                            u": ファイルが見つかりません"_s);
    EXPECT_EQ(player.windowShows, 1);
    EXPECT_EQ(host.currentFile, dir.filePath(u"c.CHF"_s));
}

TEST_F(ShowFixture, APictureThatCannotBeReadIsShownAsANoticeWithItsNarration)
{
    test::writeFile(dir.filePath(u"broken.jpg"_s), "not a picture");
    play(script(u"<FILE> broken.jpg\r\n<TEXT>話は続く\r\n"_s), 0);
    ASSERT_EQ(player.shown.size(), 1);
    EXPECT_EQ(player.shown[0].kind, SlidePlayer::Picture);
    EXPECT_EQ(player.shown[0].narration, u"話は続く"_s);
    EXPECT_EQ(player.shown[0].pictureSize, player.size);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ShowFixture, ControlsFollowTheModeAndTheVoice)
{
    struct Case
    {
        int mode;
        VoiceSystem voice;
        QString nonStop;
        bool shown;
        bool printVisible;
    };
    for (const Case &c : {Case{0, VoiceSystem::Engine, u"Pau"_s, true, true},
                          Case{0, VoiceSystem::None, QString(), false, true},
                          Case{1, VoiceSystem::Engine, QString(), false, false}}) {
        SCOPED_TRACE(c.mode);
        player = test::FakePlayer();
        speech.system = c.voice;
        const QString source =
            c.mode == 0 ? script(u"<FILE> a.chf\r\n"_s) : folder + u"\r\na.chf\r\nb.chf\r\n"_s;
        play(source, c.mode);
        EXPECT_EQ(player.nonStop, c.nonStop);
        EXPECT_EQ(player.nonStopVisible, c.shown);
        EXPECT_EQ(player.editVisible, c.shown);
        EXPECT_EQ(player.edit, c.shown ? u"Edit"_s : QString());
        EXPECT_EQ(player.printVisible, c.printVisible);
    }
}

struct BadScript
{
    const char *what;
    std::function<QString(const QDir &)> make;
};

TEST_F(ShowFixture, AScriptThatCannotBeReadPlaysNothing)
{
    const QDir d(dir.path());
    const std::vector<BadScript> cases = {
        {"missing", [](const QDir &d) { return d.filePath(u"none.sld"_s); }},
        {"folder",
         [](const QDir &d) {
             d.mkdir(u"folder.sld"_s);
             return d.filePath(u"folder.sld"_s);
         }},
        {"fifo", [](const QDir &d) { return test::makeFifo(d, u"pipe.sld"_s); }},
    };
    for (const BadScript &c : cases) {
        SCOPED_TRACE(c.what);
        host = test::FakeShowHost();
        host.viewerVisible = true;
        dialogs.messages.clear();
        const QString path = c.make(d);
        play(path, 0);
        EXPECT_TRUE(player.shown.isEmpty());
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages[0].text.contains(path))
            << qPrintable(dialogs.messages[0].text);
        // Only the picture viewer comes back: none of the end-of-show steps ran.
        EXPECT_EQ(host.calls, QStringList({u"centre"_s, u"viewer hidden"_s, u"viewer shown"_s}));
        EXPECT_FALSE(speech.log.contains(u"voiceStop"_s));
    }
}

TEST_F(ShowFixture, AScriptWithoutSlidesSaysSoAndEnds)
{
    for (const QByteArray &bytes : {QByteArray(), QByteArray("\x00\x01\xff\xfe<FIL\x00", 10),
                                    QByteArray("<FILE> notes.txt\r\n<TEXT>nothing\r\n")}) {
        dialogs.messages.clear();
        host.calls.clear();
        const QString path = dir.filePath(u"empty.sld"_s);
        test::writeFile(path, bytes);
        play(path, 0);
        EXPECT_TRUE(player.shown.isEmpty());
        EXPECT_TRUE(dialogs.messageTexts().contains(SlideShow::noSlidesText(path)))
            << qPrintable(dialogs.messageTexts().join(u'|'));
        EXPECT_TRUE(host.calls.contains(u"main shown"_s));
    }
}

TEST_F(ShowFixture, AHundredThousandEntriesPlayTheFirstFiveHundred)
{
    QString text;
    for (int i = 0; i < 100000; ++i)
        text += u"<FILE> s"_s + QString::number(i) + u".chf\r\n<TEXT>n\r\n"_s;
    int shownSlides = 0;
    player.onShowing = [&](test::FakePlayer &) { ++shownSlides; };
    const QString path = script(text);
    play(path, 0);
    EXPECT_EQ(shownSlides, 500);
    EXPECT_EQ(loads.size(), 500);
    EXPECT_EQ(loads.last(), u"s499.CHF"_s);
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.messages[0].text.contains(u"99500"_s));
}

TEST_F(ShowFixture, ASelectionBecomesAScriptTheUserMayKeep)
{
    speech.system = VoiceSystem::Engine;
    dialogs.answers = {os::MessageAnswer::Yes};
    QString generated;
    const int result =
        play(dir.path() + u"\r\na.chf\r\nnotes.txt\r\np.jpg\r\nsub\\d.chf\r\nc.CHF\r\n"_s, 1,
             &generated);

    EXPECT_EQ(result, 3);
    ASSERT_EQ(player.shown.size(), 3);
    EXPECT_EQ(player.shown[0].kind, SlidePlayer::SelectionChart);
    EXPECT_EQ(player.shown[1].kind, SlidePlayer::Picture);
    EXPECT_EQ(player.shown[0].narration, QString());
    const QString expected = SlideScript::headerLine(dir.path(), Started) + u"\r\n"_s +
                             SlideScript::entryLines(1, u"a.chf"_s, u"図 a"_s) +
                             SlideScript::entryLines(2, u"p.jpg"_s, u"JPG file"_s) +
                             SlideScript::entryLines(3, u"c.CHF"_s, u"図 c"_s);
    EXPECT_EQ(generated, expected);

    const QString name = SlideScript::proposedFileName(Started);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, SlideShow::recordQuestion(name));
    EXPECT_EQ(dialogs.messages[0].buttons, os::MessageButtons::YesNo);
    EXPECT_EQ(dialogs.messages[0].icon, os::MessageIcon::Information);
    EXPECT_EQ(test::readFile(dir.filePath(name)), os::encodeText(expected + u"\r\n"_s));
    EXPECT_TRUE(host.mainVisible);
    EXPECT_TRUE(player.unloaded);

    // The kept script plays the same slides again.
    const SlideTable table = SlideScript::parse(expected);
    EXPECT_EQ(table.count(), 3);
}

TEST_F(ShowFixture, ASelectionEndsWithoutAQuestionWhenThereIsLittleToKeep)
{
    struct Case
    {
        const char *what;
        QString selection;
        std::map<int, QString> answers;
        QStringList texts;
        int result;
    };
    const QString one = SlideShow::oneSlideText();
    for (const Case &c :
         {Case{"one slide", u"d\r\na.chf\r\nx.txt\r\n"_s, {}, {one}, 1},
          Case{"nothing usable", u"d\r\nx.txt\r\ny.tbx\r\n"_s, {}, {}, 0},
          Case{"quit", u"d\r\na.chf\r\nb.chf\r\nc.chf\r\n"_s, {{1, u"Quit"_s}}, {}, 0}}) {
        SCOPED_TRACE(c.what);
        player = test::FakePlayer();
        player.answers = c.answers;
        dialogs.messages.clear();
        EXPECT_EQ(play(c.selection, 1), c.result);
        EXPECT_EQ(dialogs.messageTexts(), c.texts);
        EXPECT_TRUE(player.unloaded);
        EXPECT_EQ(QDir(dir.path()).entryList({u"*.Sld"_s}), QStringList());
    }
}

TEST_F(ShowFixture, AGeneratedScriptIsNeverWrittenOverAFolder)
{
    dialogs.answers = {os::MessageAnswer::Yes};
    const QString name = SlideScript::proposedFileName(Started);
    ASSERT_TRUE(QDir(dir.path()).mkdir(name));
    test::writeFile(dir.filePath(name + u"/keep.txt"_s), "mine");
    play(u"d\r\na.chf\r\nb.chf\r\n"_s, 1);
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages[1].text.contains(name)) << qPrintable(dialogs.messages[1].text);
    EXPECT_TRUE(QFileInfo(dir.filePath(name + u"/keep.txt"_s)).isFile());
}

// The real load routine behind a show: what users and accidents leave in a script's folder.
TEST(SlidePreparationLoad, BadChartFilesAreRefusedWithTheirReason)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    chartview::ChartControl chart1, chart2;
    chartdoc::buildSampleChart(chart1, chart2);
    ASSERT_EQ(chart1.ExportFile(chartview::FormatChartFile, d.filePath(u"good.chf"_s)), 0);
    test::writeFile(d.filePath(u"damaged.chf"_s), QByteArray(4096, '\x5a'));
    const QByteArray whole = test::readFile(d.filePath(u"good.chf"_s));
    test::writeFile(d.filePath(u"truncated.chf"_s), whole.left(whole.size() / 2));
    d.mkdir(u"folder.chf"_s);
    test::makeFifo(d, u"pipe.chf"_s);

    test::FakeDialogs dialogs;
    MessageLog messages;
    chartview::ChartControl chart;
    chartdoc::ChartDocument document(chart, dialogs, messages);
    const SlidePreparation preparation(chart,
                                       [&](const QString &path) -> os::Result {
                                           return chartdoc::DataFileLoader(document).open(path);
                                       },
                                       {});

    const PreparedSlide good = preparation.prepare(dir.path(), u"GOOD.CHF"_s);
    EXPECT_TRUE(good.ok()) << qPrintable(good.loaded.message);
    EXPECT_TRUE(good.description.contains(u"QEL for Windows."_s)) << qPrintable(good.description);
    EXPECT_FALSE(preparation.render(good, QSize(800, 450), 1).isNull());

    for (const QString &name :
         {u"damaged.chf"_s, u"truncated.chf"_s, u"folder.chf"_s, u"pipe.chf"_s, u"missing.chf"_s,
          u"../outside.chf"_s, u"C:\\talk\\a.chf"_s}) {
        SCOPED_TRACE(name.toStdString());
        const PreparedSlide slide = preparation.prepare(dir.path(), name);
        EXPECT_FALSE(slide.ok());
        EXPECT_FALSE(SlidePreparation::reasonOf(slide.loaded).isEmpty());
        EXPECT_TRUE(preparation.render(slide, QSize(800, 450), 1).isNull());
    }
    // A failed slide leaves the chart that was there.
    EXPECT_EQ(document.currentFile(), d.filePath(u"good.chf"_s));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "the show tells the user, not the loader";
}

TEST(SlidePreparationLoad, PicturesKeepTheirProportionsInAnyArea)
{
    struct Case
    {
        QSize picture;
        QRect target;
        QRect fitted;
    };
    for (const Case &c : {Case{{400, 300}, {0, 0, 1920, 1050}, {260, 0, 1400, 1050}},
                          Case{{4000, 1000}, {0, 0, 1920, 1050}, {0, 285, 1920, 480}},
                          Case{{10, 10}, {100, 50, 200, 100}, {150, 50, 100, 100}},
                          Case{{0, 10}, {0, 0, 100, 100}, {}}}) {
        EXPECT_EQ(SlidePreparation::fitted(c.picture, c.target), c.fitted);
    }
}

} // namespace
