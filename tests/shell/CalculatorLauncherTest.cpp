#include "shell/CalculatorLauncher.h"
#include "os/IniSettingsStore.h"
#include "os/ProgramLauncher.h"
#include "support/FakeDialogs.h"
#include "support/FakeProcessStarter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;

namespace {

struct CalculatorFixture : ::testing::Test
{
    QTemporaryDir dir;
    os::IniSettingsStore settings{dir.path()};
    test::FakeDialogs dialogs;
    test::FakeProcessStarter starter;
    os::ProgramLauncher launcher{settings, dialogs, starter};
    shell::CalculatorLauncher calculator{starter, launcher};
    QStringList installed;
    QList<qint64> raised;

    CalculatorFixture()
    {
        calculator.setFinder([this](const QString &name) {
            return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
        });
        calculator.setActivator([this](qint64 pid) { raised << pid; });
    }

    QStringList startedPrograms() const
    {
        QStringList programs;
        for (const auto &s : starter.starts)
            programs << s.program;
        return programs;
    }
};

} // namespace

TEST_F(CalculatorFixture, PressingTwiceStartsOneAndRaisesIt)
{
    installed = {QStringLiteral("gnome-calculator")};
    calculator.click();
    calculator.click();
    EXPECT_EQ(startedPrograms(), QStringList{QStringLiteral("/usr/bin/gnome-calculator")});
    EXPECT_EQ(raised, QList<qint64>{1});
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(CalculatorFixture, AClosedCalculatorIsStartedAgain)
{
    installed = {QStringLiteral("xcalc")};
    calculator.click();
    starter.running = false;
    calculator.click();
    EXPECT_EQ(starter.starts.size(), 2);
    EXPECT_TRUE(raised.isEmpty());
}

TEST_F(CalculatorFixture, TheFirstInstalledCalculatorInOrderIsUsed)
{
    installed = {QStringLiteral("xcalc"), QStringLiteral("galculator")};
    calculator.click();
    EXPECT_EQ(startedPrograms(), QStringList{QStringLiteral("/usr/bin/galculator")});
    EXPECT_EQ(starter.starts[0].arguments, QStringList());
}

TEST_F(CalculatorFixture, TheUsersChoiceComesFirst)
{
    installed = {QStringLiteral("gnome-calculator")};
    launcher.remember(QStringLiteral("calc.exe"), QStringLiteral("/opt/speedcrunch"));
    calculator.click();
    EXPECT_EQ(startedPrograms(), QStringList{QStringLiteral("/opt/speedcrunch")});
}

TEST_F(CalculatorFixture, AChoiceThatNoLongerStartsGivesWayToAnInstalledOne)
{
    installed = {QStringLiteral("kcalc")};
    launcher.remember(QStringLiteral("calc.exe"), QStringLiteral("/gone/calc"));
    starter.failing = {QStringLiteral("/gone/calc")};
    calculator.click();
    EXPECT_EQ(startedPrograms(), QStringList{QStringLiteral("/usr/bin/kcalc")});
    EXPECT_EQ(launcher.rememberedPath(QStringLiteral("calc.exe")),
              os::ProgramLauncher::unknownPath());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "calculator failures are not reported";
}

TEST_F(CalculatorFixture, WithNoCalculatorInstalledTheUserChoosesOnce)
{
    dialogs.fileChoices = {{QStringLiteral("/home/u/bin/mycalc")}};
    calculator.click();
    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(dialogs.fileDialogs[0].title, QStringLiteral("電卓ﾌｧｲﾙの設定"));
    EXPECT_EQ(startedPrograms(), QStringList{QStringLiteral("/home/u/bin/mycalc")});
    EXPECT_EQ(calculator.processId(), 1);
    starter.running = false;
    calculator.click();
    EXPECT_EQ(dialogs.fileDialogs.size(), 1) << "the choice is remembered";
    EXPECT_EQ(starter.starts.size(), 2);
}

TEST_F(CalculatorFixture, CancellingTheChoiceStartsNothingAndSaysWhatWasLookedFor)
{
    calculator.click();
    EXPECT_TRUE(starter.starts.isEmpty());
    EXPECT_EQ(calculator.processId(), 0);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("電卓が選ばれなかったので、起動しませんでした。\n"
                             "（探したプログラム: gnome-calculator、kcalc、galculator、xcalc）"));
    EXPECT_FALSE(dialogs.messages[0].text.contains(QStringLiteral("calc.exe")));
}

TEST_F(CalculatorFixture, AnInstalledCalculatorThatFailsIsSilent)
{
    installed = {QStringLiteral("xcalc")};
    starter.failing = {QStringLiteral("/usr/bin/xcalc")};
    calculator.click();
    EXPECT_TRUE(starter.starts.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(calculator.processId(), 0);
}

TEST_F(CalculatorFixture, TheChoiceDialogueOffersThePlatformsUsualProgram)
{
    launcher.setProposedProgram(QStringLiteral(" Wordpad.exe "),
                                QStringLiteral("/usr/bin/mousepad"));
    QString arguments = QStringLiteral("/p/qel-hlp.rtf");
    launcher.launch(QStringLiteral("Wordpad.exe"), arguments);
    calculator.click();
    ASSERT_EQ(dialogs.fileDialogs.size(), 2);
    EXPECT_EQ(dialogs.fileDialogs[0].proposedPath, QStringLiteral("/usr/bin/mousepad"));
    EXPECT_TRUE(dialogs.fileDialogs[1].proposedPath.isEmpty()) << "only for the name it was given";
}
