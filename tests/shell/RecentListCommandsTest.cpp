#include "FilesFixture.h"

#include "os/TextCodec.h"

#include <QImage>

using namespace qel;
using shell::RecentFileList;
using test::FilesFixture;

namespace {

const QString Blanks(20, QLatin1Char(' '));

struct RecentFixture : FilesFixture
{
    QString beef, pork;

    RecentFixture()
    {
        beef = sampleChartFile(QStringLiteral("Beef.CHF"));
        pork = sampleChartFile(QStringLiteral("Pork.chf"));
        for (QString p : {beef, pork})
            EXPECT_TRUE(files.loadSave(0, p));
        QFile::remove(host.accessLog);
        dialogs.messages.clear();
    }
};

} // namespace

TEST_F(RecentFixture, ReopensTheShownEntry)
{
    ASSERT_EQ(host.shownEntries,
              (QStringList{QStringLiteral("pork.chf") + Blanks + QLatin1Char('*') + pork,
                           QStringLiteral("beef.chf") + Blanks + QLatin1Char('*') + beef}));
    host.shown = 1;
    recent.Combo1_Click();
    EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("Beef.CHF"));
    EXPECT_EQ(state.currentFile, beef);
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_TRUE(matchesWhole(logText(), stamped(QStringLiteral("<load list>,DATE,TIME , ") + beef +
                                                QStringLiteral("\r\n"))));
    EXPECT_EQ(list.count(), 2) << "opening from the list keeps its order";
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(RecentFixture, ArrowKeysMoveWithoutOpeningAndStepsWrapWithABeep)
{
    host.shown = 0;
    recent.moveShown(+1);
    EXPECT_EQ(host.shown, 1);
    recent.moveShown(+1);
    EXPECT_EQ(host.shown, 1) << "the arrow keys stop at the ends";
    EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("Pork.chf")) << "nothing was opened";

    recent.cmdViewListFile_MouseDown(-1);
    EXPECT_EQ(recent.stepIndex(), 1);
    EXPECT_EQ(dialogs.beeps, 1);
    recent.cmdViewListFile_MouseDown(+1);
    EXPECT_EQ(recent.stepIndex(), 0);
    EXPECT_EQ(dialogs.beeps, 2);
    recent.cmdViewListFile_MouseDown(+1);
    EXPECT_EQ(host.shown, 1);
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("Pork.chf"));
}

TEST_F(RecentFixture, AMissingEntryIsDroppedAndTheNextOneOpened)
{
    QFile::remove(pork);
    host.shown = 0;
    dialogs.answers = {os::MessageAnswer::Yes};
    recent.Combo1_Click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    const os::MessageRequest &q = dialogs.messages[0];
    EXPECT_EQ(q.text, RecentFileList::missingFileQuestion(0, pork));
    EXPECT_EQ(q.buttons, os::MessageButtons::YesNo);
    EXPECT_EQ(q.defaultAnswer, os::MessageAnswer::No);
    EXPECT_EQ(q.icon, os::MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(host.clipboard, pork);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(RecentFileList::pathOf(list.entry(0)), beef);
    EXPECT_EQ(host.shown, 0);
    EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("Beef.CHF"));
    EXPECT_EQ(state.currentFile, beef);
}

TEST_F(RecentFixture, AMissingEntryCanBeSearchedFor)
{
    QDir(dir.path()).mkdir(QStringLiteral("moved"));
    const QString moved = path(QStringLiteral("moved/Pork.chf"));
    ASSERT_TRUE(QFile::rename(pork, moved));
    host.shown = 0;
    dialogs.answers = {os::MessageAnswer::No};
    dialogs.fileChoices = {{moved}};
    recent.Combo1_Click();
    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(dialogs.fileDialogs[0].title, QStringLiteral("Pork.chf の設定"));
    EXPECT_EQ(dialogs.fileDialogs[0].proposedPath, pork);
    EXPECT_TRUE(dialogs.fileDialogs[0].filters.value(0).startsWith(QStringLiteral("Search file")));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(RecentFileList::pathOf(list.entry(0)), moved);
    EXPECT_EQ(RecentFileList::pathOf(list.entry(1)), beef);
    EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("Pork.chf"));
    EXPECT_EQ(state.currentFile, moved);

    // Another name, or a cancelled search, leaves the list alone.
    QFile::remove(moved);
    dialogs.messages.clear();
    dialogs.answers = {os::MessageAnswer::No};
    dialogs.fileChoices = {{beef}};
    recent.Combo1_Click();
    EXPECT_EQ(dialogs.messageTexts().last(),
              QStringLiteral("\r\n目的のファイル\r\nPork.chfが選定されませんでした。"));
    EXPECT_EQ(list.count(), 2);
}

TEST_F(RecentFixture, TheListFileRoundTripsByteForByte)
{
    recent.setComboAccessFile(1, QString());
    const QString listFile = path(QStringLiteral("qelProhost1.ini"));
    EXPECT_EQ(recent.listFileName(), listFile);
    const QString expected = QStringLiteral("qel file=,pork.chf") + Blanks + QLatin1Char('*') +
                             pork + QStringLiteral("\r\nqel file=,beef.chf") + Blanks +
                             QLatin1Char('*') + beef + QStringLiteral("\r\n");
    EXPECT_EQ(test::readFile(listFile), os::encodeText(expected));

    list.clear();
    recent.setComboAccessFile(2, QString());
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(host.shown, 0);
    EXPECT_EQ(host.shownEntries.value(1),
              QStringLiteral("beef.chf") + Blanks + QLatin1Char('*') + beef);
}

TEST_F(FilesFixture, TheListFileLoadsAtMost101AndAnEmptyListSavesNothing)
{
    QByteArray lines;
    for (int i = 0; i < 150; ++i)
        lines += "qel file=,f" + QByteArray::number(i) + ".chf                    */d/f" +
                 QByteArray::number(i) + ".chf\r\n";
    // Only the shared list exists: the machine's own is missing.
    test::writeFile(path(QStringLiteral("qelPro.ini")), lines);
    recent.setComboAccessFile(2, QString());
    EXPECT_EQ(list.count(), 101);
    EXPECT_EQ(host.shown, 0);

    list.clear();
    recent.setComboAccessFile(1, QString());
    EXPECT_EQ(test::readFile(path(QStringLiteral("qelProhost1.ini"))), QByteArray());
}

TEST_F(FilesFixture, AListInTheRootFolderEndsTheProgram)
{
    host.folder = QStringLiteral("/");
    recent.setComboAccessFile(1, QString());
    EXPECT_EQ(
        dialogs.messageTexts(),
        QStringList{QStringLiteral("qelProディレクトリーを作成してインストールしてください．")});
    EXPECT_TRUE(host.ended);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/qelProhost1.ini")));
}

TEST_F(FilesFixture, ClicksWhileTheListIsBusyAreIgnored)
{
    recent.Combo1_Click(); // nothing shown: nothing happens
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_FALSE(recent.busy());
}

TEST_F(RecentFixture, APictureFromTheListIsLoggedAndAChartRefreshesTheTableCounts)
{
    const QString picture = path(QStringLiteral("Photo.jpg"));
    QImage(8, 8, QImage::Format_RGB32).save(picture, "JPG");
    recent.setComboAccessFile(0, picture);
    QFile::remove(host.accessLog);
    host.shown = 0;
    recent.Combo1_Click();
    EXPECT_TRUE(logText().contains(QStringLiteral("<load list>,")));
    EXPECT_TRUE(logText().contains(picture));

    host.shown = 2; // beef
    recent.Combo1_Click();
    EXPECT_EQ(table.groupCount, chart1.SeriesTotal());
    EXPECT_EQ(table.pointCount, chart1.PointTotal());
}

TEST_F(FilesFixture, ReadingTheListLoadsTheEditorAndVoiceSettingsFirst)
{
    settings.setTableEditor(QStringLiteral("/usr/bin/localc"));
    settings.setVoiceProgram(QStringLiteral("MSAPI"));
    recent.setComboAccessFile(2, QString());
    EXPECT_EQ(state.tableEditorPath, QStringLiteral("/usr/bin/localc"));
    EXPECT_EQ(state.voicePgm, QStringLiteral("MSAPI"));
}
