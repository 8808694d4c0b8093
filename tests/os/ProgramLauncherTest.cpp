#include "os/ProgramLauncher.h"
#include "os/IniSettingsStore.h"
#include "os/ProcessStarter.h"
#include "support/FakeDialogs.h"
#include "support/FakeProcessStarter.h"
#include "support/TestFiles.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace qel;

namespace {

struct LauncherFixture : ::testing::Test
{
    QTemporaryDir dir;
    os::IniSettingsStore settings{dir.path()};
    test::FakeDialogs dialogs;
    test::FakeProcessStarter starter;
    os::ProgramLauncher launcher{settings, dialogs, starter};
};

} // namespace

TEST_F(LauncherFixture, AsksOnceThenUsesTheRememberedPath)
{
    dialogs.fileChoices = {{QStringLiteral("/opt/editor")}};
    QString args = QStringLiteral("  /d/memo.txt ");
    EXPECT_EQ(launcher.launch(QStringLiteral(" Wordpad.exe "), args),
              QStringLiteral("/opt/editor"));
    EXPECT_EQ(args, QStringLiteral("\"/d/memo.txt\""));
    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(dialogs.fileDialogs[0].title, QStringLiteral("Wordpad.exeﾌｧｲﾙの設定"));
    EXPECT_EQ(launcher.rememberedPath(QStringLiteral("Wordpad.exe")),
              QStringLiteral("/opt/editor"));

    QString again = QStringLiteral("b.txt");
    EXPECT_EQ(launcher.launch(QStringLiteral("Wordpad.exe"), again), QStringLiteral("/opt/editor"));
    EXPECT_EQ(dialogs.fileDialogs.size(), 1) << "a remembered path never opens the dialogue";
    ASSERT_EQ(starter.starts.size(), 2);
    EXPECT_EQ(starter.starts[0].arguments, QStringList{QStringLiteral("/d/memo.txt")});
    EXPECT_EQ(starter.starts[1].arguments, QStringList{QStringLiteral("b.txt")});
}

TEST_F(LauncherFixture, CancelSaysInPlainWordsWhatWasNotOpened)
{
    launcher.describe(QStringLiteral("Wordpad.exe"),
                      {QStringLiteral("テキストエディター"), {}, {}});
    const struct
    {
        const char *name;
        QString program, arguments, title, text;
    } rows[] = {
        {"a described program with a document", QStringLiteral("Wordpad.exe"),
         QStringLiteral(" /p/qel-hlp.rtf "), QStringLiteral("テキストエディターﾌｧｲﾙの設定"),
         QStringLiteral("テキストエディターが選ばれなかったので、次のファイルを開けませんでした。\n"
                        "/p/qel-hlp.rtf")},
        {"a program nobody described", QStringLiteral("localc"), QStringLiteral("x.tbx"),
         QStringLiteral("localcﾌｧｲﾙの設定"),
         QStringLiteral("localcが選ばれなかったので、次のファイルを開けませんでした。\nx.tbx")},
        {"no document", QStringLiteral("localc"), QString(), QStringLiteral("localcﾌｧｲﾙの設定"),
         QStringLiteral("localcが選ばれなかったので、起動しませんでした。")},
    };
    for (const auto &row : rows) {
        dialogs.messages.clear();
        dialogs.fileDialogs.clear();
        QString args = row.arguments;
        EXPECT_TRUE(launcher.launch(row.program, args).isEmpty()) << row.name;
        ASSERT_EQ(dialogs.fileDialogs.size(), 1) << row.name;
        EXPECT_EQ(dialogs.fileDialogs[0].title, row.title) << row.name;
        ASSERT_EQ(dialogs.messages.size(), 1) << row.name;
        EXPECT_EQ(dialogs.messages[0].icon, os::MessageIcon::Exclamation) << row.name;
        EXPECT_EQ(dialogs.messages[0].text, row.text) << row.name;
        EXPECT_FALSE(dialogs.messages[0].text.contains(QStringLiteral(" or "))) << row.name;
        EXPECT_EQ(launcher.rememberedPath(row.program), QStringLiteral("#ReadError#")) << row.name;
    }
    EXPECT_TRUE(starter.starts.isEmpty());
}

TEST_F(LauncherFixture, AProgramThatFailsIsForgottenAndTheUserAskedAgain)
{
    launcher.remember(QStringLiteral("localc"), QStringLiteral("/gone/localc"));
    starter.failing = {QStringLiteral("/gone/localc")};
    dialogs.fileChoices = {{QStringLiteral("/usr/bin/localc")}};
    QString args = QStringLiteral("t.tbx");
    EXPECT_EQ(launcher.launch(QStringLiteral("localc"), args), QStringLiteral("/usr/bin/localc"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("cannot start /gone/localc\nlocalcを起動できませんでした。\n"
                             "開こうとしたファイル: t.tbx"));
    EXPECT_EQ(launcher.rememberedPath(QStringLiteral("localc")), QStringLiteral("/usr/bin/localc"));
}

TEST_F(LauncherFixture, DocumentsGoToTheFirstChoiceBeforeTheUserIsAsked)
{
    const QString name = QStringLiteral("Wordpad.exe");
    launcher.describe(
        name, {QStringLiteral("テキストエディター"), QStringLiteral("/usr/bin/xdg-open"), {}});

    QString args = QStringLiteral("/p/qelMemo.wri");
    EXPECT_EQ(launcher.launch(name, args), QStringLiteral("/usr/bin/xdg-open"));
    EXPECT_TRUE(dialogs.fileDialogs.isEmpty());
    EXPECT_EQ(launcher.rememberedPath(name), QStringLiteral("#ReadError#"))
        << "the first choice is not the user's choice";

    // The user's own choice wins over it.
    launcher.remember(name, QStringLiteral("/usr/bin/mousepad"));
    args = QStringLiteral("/p/qel-hlp.rtf");
    EXPECT_EQ(launcher.launch(name, args), QStringLiteral("/usr/bin/mousepad"));

    // When the first choice does not start, the user is told and asked for an editor.
    launcher.forget(name);
    starter.failing = {QStringLiteral("/usr/bin/xdg-open")};
    dialogs.fileChoices = {{QStringLiteral("/usr/bin/gedit")}};
    args = QStringLiteral("/p/qel-hlp.rtf");
    EXPECT_EQ(launcher.launch(name, args), QStringLiteral("/usr/bin/gedit"));
    EXPECT_EQ(dialogs.fileDialogs.size(), 1);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(
        QStringLiteral("テキストエディターを起動できませんでした。")));
    QStringList programs;
    for (const auto &start : starter.starts)
        programs << start.program;
    EXPECT_EQ(programs,
              (QStringList{QStringLiteral("/usr/bin/xdg-open"), QStringLiteral("/usr/bin/mousepad"),
                           QStringLiteral("/usr/bin/gedit")}));
}

TEST_F(LauncherFixture, GivesUpAfterTwoFailedStarts)
{
    starter.failing = {QStringLiteral("/a"), QStringLiteral("/b")};
    launcher.remember(QStringLiteral("calc"), QStringLiteral("/a"));
    dialogs.fileChoices = {{QStringLiteral("/b")}};
    QString args;
    EXPECT_TRUE(launcher.launch(QStringLiteral("calc"), args).isEmpty());
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(args, QStringLiteral("\"\""));
}

TEST_F(LauncherFixture, RealProgramGetsTheArgumentUnquotedAndUnexpanded)
{
    const QString script = dir.filePath(QStringLiteral("fake-editor.sh"));
    const QString out = dir.filePath(QStringLiteral("args.txt"));
    // Written beside and renamed, so the file is whole once it is there.
    test::writeFile(script, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '%1.part'\n"
                                           "mv '%1.part' '%1'\n")
                                .arg(out)
                                .toUtf8());
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    os::QtProcessStarter realStarter;
    os::ProgramLauncher real(settings, dialogs, realStarter);
    real.remember(QStringLiteral("editor"), script);
    QString args = QStringLiteral(" /d/a b; echo $HOME `id` \"q\".txt ");
    EXPECT_EQ(real.launch(QStringLiteral("editor"), args), script);

    // The program runs detached: wait for its answer, however long the machine takes.
    QDeadlineTimer deadline(60000);
    while (!QFile::exists(out) && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_EQ(test::readFile(out), QByteArray("1\n/d/a b; echo $HOME `id` \"q\".txt\n"));
}

TEST_F(LauncherFixture, RealStarterReportsAMissingProgram)
{
    os::QtProcessStarter realStarter;
    QString error;
    EXPECT_FALSE(
        realStarter.startDetached(dir.filePath(QStringLiteral("nothing-here")), {}, &error));
    EXPECT_FALSE(error.isEmpty());
}
