#include "shell/CommandLine.h"
#include "shell/HeadlessExport.h"
#include "shell/ProgramState.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Work that needs no window (--help, --version, --export) runs on the offscreen platform,
// so it works the same on a machine without a display.
bool runsWithoutWindow(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h") || !std::strcmp(a, "--version") ||
            !std::strcmp(a, "-v") || !std::strncmp(a, "--export", 8))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool headless = runsWithoutWindow(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && (headless || !hasDisplay()))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qelPro"));
    QApplication::setApplicationVersion(qel::shell::ProgramState::fullVersionText());

    const qel::shell::CommandLine line = qel::shell::CommandLine::parse(app.arguments());
    if (!line.ok) {
        std::fprintf(stderr, "qelpro: %s\n", line.error.toUtf8().constData());
        return 2;
    }
    if (!line.exportPath.isEmpty()) {
        QString error;
        const int rc =
            qel::shell::HeadlessExport::run(line.exportPath, line.exportSize, line.file, error);
        if (rc != 0)
            std::fprintf(stderr, "qelpro: %s\n", error.toUtf8().constData());
        return rc;
    }
    std::printf("qelPro %s\n", qPrintable(qel::shell::ProgramState::fullVersionText()));
    return 0;
}
