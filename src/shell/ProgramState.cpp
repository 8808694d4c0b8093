#include "shell/ProgramState.h"

#include "shell/StartupSettings.h"

#include <QDir>
#include <QStandardPaths>

namespace qel::shell {

namespace {

QString withTrailingSlash(const QString &dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

} // namespace

QString ProgramState::versionText()
{
    return QStringLiteral("%1.%2").arg(QEL_VERSION_MAJOR).arg(QEL_VERSION_MINOR);
}

QString ProgramState::fullVersionText()
{
    return versionText() + QStringLiteral(".%1").arg(QEL_VERSION_PATCH);
}

QString programDirectoryPath()
{
    QString dir = qEnvironmentVariable("QELPRO_HOME");
    if (dir.isEmpty()) {
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
              QStringLiteral("/qelPro");
    }
    return QDir::cleanPath(QDir(dir).absolutePath());
}

QString programDirectory()
{
    const QString dir = programDirectoryPath();
    QDir().mkpath(dir);
    return dir;
}

QString setDataPath(ProgramState &state, StartupSettings &settings, const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString dir = path.left(slash + 1);
    settings.setDataPath(dir);
    state.dataPath = dir;
    if (!dir.isEmpty())
        QDir::setCurrent(dir);
    return dir;
}

void recordStartupPaths(ProgramState &state, StartupSettings &settings, const QString &programDir,
                        const QString &windowsDir)
{
    state.winPath = withTrailingSlash(windowsDir);
    state.winDrive = state.winPath.left(2);
    state.qelDir = withTrailingSlash(programDir);
    state.voicePgm = settings.voiceProgram();
    (void)settings.dataPath(); // read at start-up, as always; the value is not used
    setDataPath(state, settings, state.currentFile);
    settings.setWindowsPath(state.winPath);
    settings.setProgramPath(programDir);
    settings.setVersion(ProgramState::fullVersionText() + QStringLiteral("j "));
    state.verString = ProgramState::versionText();
}

void loadEditorAndVoice(ProgramState &state, const StartupSettings &settings)
{
    state.tableEditorPath = settings.tableEditor();
    state.voicePgm = settings.voiceProgram();
}

} // namespace qel::shell
