#include "shell/ProgramState.h"
#include "os/IniSettingsStore.h"
#include "shell/StartupSettings.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;

namespace {

struct StartupFixture : ::testing::Test
{
    QTemporaryDir configDir;
    os::IniSettingsStore store{configDir.path()};
    shell::StartupSettings settings{store};
    shell::ProgramState state;
    QString savedCurrent = QDir::currentPath();

    ~StartupFixture() override { QDir::setCurrent(savedCurrent); }

    QString iniValue(const QString &key)
    {
        QSettings ini(configDir.filePath(QStringLiteral("qelPro.ini")), QSettings::IniFormat);
        return ini.value(QStringLiteral("Startup/") + key).toString();
    }
};

} // namespace

TEST_F(StartupFixture, EveryKeyLandsUnderItsOwnName)
{
    settings.setVoiceProgram(QStringLiteral("espeak-ng"));
    settings.setTableEditor(QStringLiteral("/usr/bin/localc"));
    settings.setCreated(QStringLiteral("2026/12/06 10:00:00"));
    settings.setVoiceProgramChoice(QStringLiteral("cancel"));
    EXPECT_EQ(iniValue(QStringLiteral("Voice pgm")), QStringLiteral("espeak-ng"));
    EXPECT_EQ(iniValue(QStringLiteral("Table Editor")), QStringLiteral("/usr/bin/localc"));
    EXPECT_EQ(iniValue(QStringLiteral("Create")), QStringLiteral("2026/12/06 10:00:00"));
    EXPECT_EQ(iniValue(QStringLiteral("Set Voice pgm")), QStringLiteral("cancel"));
    EXPECT_TRUE(settings.dataPath().isEmpty()) << "missing settings read as empty text";
}

TEST_F(StartupFixture, SetDataPathRecordsTheFolderAndMakesItCurrent)
{
    QTemporaryDir data;
    const QString file = data.filePath(QStringLiteral("売上.tbx"));
    const QString dir = shell::setDataPath(state, settings, file);
    EXPECT_EQ(dir, data.path() + QLatin1Char('/'));
    EXPECT_EQ(state.dataPath, dir);
    EXPECT_EQ(iniValue(QStringLiteral("data.Path")), dir);
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(data.path()).canonicalPath());
}

TEST_F(StartupFixture, StartupRecordsPathsAndVersion)
{
    state.currentFile.clear();
    settings.setVoiceProgram(QStringLiteral("espeak-ng"));
    shell::recordStartupPaths(state, settings, QStringLiteral("/home/u/.local/share/qelPro"),
                              QStringLiteral("/"));
    EXPECT_EQ(state.qelDir, QStringLiteral("/home/u/.local/share/qelPro/"));
    EXPECT_EQ(state.winPath, QStringLiteral("/"));
    EXPECT_EQ(state.voicePgm, QStringLiteral("espeak-ng"));
    EXPECT_EQ(iniValue(QStringLiteral("Qel.Path")), QStringLiteral("/home/u/.local/share/qelPro"))
        << "the program folder as the system reports it, with no slash added";
    EXPECT_EQ(iniValue(QStringLiteral("Win.Path")), QStringLiteral("/"));
    const QString version = iniValue(QStringLiteral("version"));
    EXPECT_TRUE(version.endsWith(QStringLiteral("j "))) << qPrintable(version);
    EXPECT_EQ(version, shell::ProgramState::fullVersionText() + QStringLiteral("j "));
    EXPECT_EQ(state.verString.count(QLatin1Char('.')), 1);
}

TEST_F(StartupFixture, ProgramFolderAtTheRootGetsNoSecondSlash)
{
    shell::recordStartupPaths(state, settings, QStringLiteral("/"), QStringLiteral("/"));
    EXPECT_EQ(state.qelDir, QStringLiteral("/"));
}

TEST_F(StartupFixture, ProgramDirectoryComesFromTheEnvironmentAndIsCreated)
{
    QTemporaryDir home;
    const QString wanted = home.filePath(QStringLiteral("sub/qel"));
    qputenv("QELPRO_HOME", wanted.toUtf8());
    EXPECT_EQ(shell::programDirectory(), wanted);
    EXPECT_TRUE(QDir(wanted).exists());
    qunsetenv("QELPRO_HOME");
}
