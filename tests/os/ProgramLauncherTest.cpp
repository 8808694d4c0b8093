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

TEST_F(LauncherFixture, CancelTellsTheUserAndStartsNothing)
{
    QString args = QStringLiteral("x.tbx");
    EXPECT_TRUE(launcher.launch(QStringLiteral("localc"), args).isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].icon, os::MessageIcon::Exclamation);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("localc or x.tbx")));
    EXPECT_TRUE(starter.starts.isEmpty());
    EXPECT_EQ(launcher.rememberedPath(QStringLiteral("localc")), QStringLiteral("#ReadError#"));
}

TEST_F(LauncherFixture, AProgramThatFailsIsForgottenAndTheUserAskedAgain)
{
    launcher.remember(QStringLiteral("localc"), QStringLiteral("/gone/localc"));
    starter.failing = {QStringLiteral("/gone/localc")};
    dialogs.fileChoices = {{QStringLiteral("/usr/bin/localc")}};
    QString args = QStringLiteral("t.tbx");
    EXPECT_EQ(launcher.launch(QStringLiteral("localc"), args), QStringLiteral("/usr/bin/localc"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("localc or \"t.tbx\"")));
    EXPECT_EQ(launcher.rememberedPath(QStringLiteral("localc")), QStringLiteral("/usr/bin/localc"));
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
    test::writeFile(
        script,
        QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '%1'\n").arg(out).toUtf8());
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    os::QtProcessStarter realStarter;
    os::ProgramLauncher real(settings, dialogs, realStarter);
    real.remember(QStringLiteral("editor"), script);
    QString args = QStringLiteral(" /d/a b; echo $HOME `id` \"q\".txt ");
    EXPECT_EQ(real.launch(QStringLiteral("editor"), args), script);

    QDeadlineTimer deadline(5000);
    while (!QFile::exists(out) && !deadline.hasExpired())
        QThread::msleep(20);
    QThread::msleep(50);
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
