#include "shell/CalculatorLauncher.h"
#include "os/IniSettingsStore.h"
#include "os/ProgramLauncher.h"
#include "support/FakeDialogs.h"
#include "support/FakeProcessStarter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;

namespace {

// The calculator button with the programs it may find, start and remember.
struct Calculator
{
    QTemporaryDir dir;
    os::IniSettingsStore settings{dir.path()};
    test::FakeDialogs dialogs;
    test::FakeProcessStarter starter;
    os::ProgramLauncher launcher{settings, dialogs, starter};
    shell::CalculatorLauncher calculator{starter, launcher};
    QStringList installed;
    QList<qint64> raised;

    Calculator()
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

struct CalculatorFixture : ::testing::Test, Calculator
{
};

} // namespace

// The user's choice first, then the first installed calculator in order, then the user is
// asked; failures of a calculator the program found itself are not reported.
TEST(CalculatorLauncher, ChoosesTheCalculatorToStart)
{
    const struct
    {
        const char *name;
        const char *installed, *remembered, *failing; // installed, the user's earlier choice
        const char *chosen, *started; // chosen in the file dialogue when it is shown
        const char *message;
    } rows[] = {
        // clang-format off
        {"the first installed in order", "xcalc galculator", "", "", "", "/usr/bin/galculator", ""},
        {"the user's choice comes first", "gnome-calculator", "/opt/speedcrunch", "", "",
         "/opt/speedcrunch", ""},
        {"a choice that no longer starts", "kcalc", "/gone/calc", "/gone/calc", "",
         "/usr/bin/kcalc", ""},
        {"an installed one that fails is silent", "xcalc", "", "/usr/bin/xcalc", "", "", ""},
        {"none installed: the user chooses", "", "", "", "/home/u/bin/mycalc",
         "/home/u/bin/mycalc", ""},
        {"none installed, the choice cancelled", "", "", "", "", "",
         "電卓が選ばれなかったので、起動しませんでした。\n"
         "（探したプログラム: gnome-calculator、kcalc、galculator、xcalc）"},
        // clang-format on
    };
    const auto list = [](const char *words) {
        return QString::fromUtf8(words).split(u' ', Qt::SkipEmptyParts);
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Calculator f;
        f.installed = list(row.installed);
        if (*row.remembered)
            f.launcher.remember(QStringLiteral("calc.exe"), QString::fromUtf8(row.remembered));
        f.starter.failing = list(row.failing);
        f.dialogs.fileChoices = {list(row.chosen)};
        f.calculator.click();
        const QStringList started = list(row.started);
        EXPECT_EQ(f.startedPrograms(), started);
        EXPECT_EQ(f.calculator.processId(), started.size());
        EXPECT_EQ(f.dialogs.messageTexts(),
                  *row.message ? QStringList{QString::fromUtf8(row.message)} : QStringList());
        EXPECT_EQ(f.dialogs.fileDialogs.size(), *row.installed ? 0 : 1);
        if (!f.starter.starts.isEmpty()) {
            EXPECT_TRUE(f.starter.starts[0].arguments.isEmpty());
        }
        if (*row.remembered && *row.failing) {
            EXPECT_EQ(f.launcher.rememberedPath(QStringLiteral("calc.exe")),
                      os::ProgramLauncher::unknownPath())
                << "a choice that fails is forgotten";
        }
    }
}

// A running calculator is raised, a closed one started again; a choice is asked for once.
TEST_F(CalculatorFixture, PressingAgainRaisesARunningCalculatorOrStartsItAgain)
{
    dialogs.fileChoices = {{QStringLiteral("/home/u/bin/mycalc")}};
    calculator.click();
    calculator.click();
    EXPECT_EQ(starter.starts.size(), 1);
    EXPECT_EQ(raised, QList<qint64>{1});
    starter.running = false;
    calculator.click();
    EXPECT_EQ(starter.starts.size(), 2);
    EXPECT_EQ(raised.size(), 1);
    EXPECT_EQ(dialogs.fileDialogs.size(), 1) << "the choice is remembered";
    EXPECT_TRUE(dialogs.messages.isEmpty());
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
