#pragma once

#include <QString>

namespace qel::shell {

class StartupSettings;

// The program-wide globals: paths, the current file and the chosen outside programs.
struct ProgramState
{
    QString qelDir;  // per-user program folder, ending in "/"
    QString winPath; // the system directory, ending in "/"
    QString winDrive;
    QString dataPath; // folder of the file last chosen, loaded or saved, ending in "/"
    QString currentFile;
    QString chart2File; // the chart file last loaded into Chart2
    QString voicePgm;
    QString tableEditorPath;
    QString osName;
    QString verString; // "major.minor"
    qint16 aboutDone = 0;

    static QString versionText();     // "3.0"
    static QString fullVersionText(); // "3.0.0"
};

// The per-user program folder: $QELPRO_HOME, else the XDG data location; created when missing.
QString programDirectory();
// The same folder, without creating it.
QString programDirectoryPath();

// Records the directory of path as the data folder ("data.Path", dataPath) and makes it
// the process's current directory. Returns the directory with its trailing "/".
QString setDataPath(ProgramState &state, StartupSettings &settings, const QString &path);

// tableEditorPath and voicePgm from the settings ("Table Editor", "Voice pgm").
void loadEditorAndVoice(ProgramState &state, const StartupSettings &settings);

// Start-up steps that work out the paths and record them with the version in the settings.
void recordStartupPaths(ProgramState &state, StartupSettings &settings, const QString &programDir,
                        const QString &windowsDir);

} // namespace qel::shell
