#pragma once

#include "shell/StartupOptions.h"

#include <QSize>
#include <QString>

namespace qel::chartdoc {
struct TableImage;
}
namespace qel::slides {
class SpeechOutput;
}

namespace qel::shell {

class MainForm;
class StartupSettings;
struct ProgramState;

// Form_Load: everything the main window does from its creation until the user takes over.
class StartupSequence
{
public:
    struct Context
    {
        MainForm &form;
        ProgramState &state;
        StartupSettings &settings;
        slides::SpeechOutput &speech;
        chartdoc::TableImage &table;
    };

    StartupSequence(const Context &context, StartupOptions options);

    // The window size for a screen: 60 % of its height, 60 % of its width but never wider
    // than 4:3.
    static QSize windowSize(const QSize &screen);
    static QString greeting(const QString &verString);
    static QString readerGreeting(const QString &verString);
    static QString resourceLibrary() { return QStringLiteral("fxjapan2.dll"); }
    static constexpr int Chart2Width = 11055; // twips

    void run();

    // The greeting's wait: until the about window's OK or greetingSeconds past the start,
    // taken to the whole second. Returns whether the user ended it.
    bool waitForGreeting();

private:
    Context m_context;
    StartupOptions m_options;
};

} // namespace qel::shell
