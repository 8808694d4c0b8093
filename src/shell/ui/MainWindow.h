#pragma once

#include "chartdoc/ChartDocument.h"
#include "os/ProgramLauncher.h"
#include "settings/Form2State.h"
#include "shell/CalculatorLauncher.h"
#include "shell/LoadSave.h"
#include "shell/MainForm.h"
#include "shell/RecentFileList.h"
#include "shell/RecentListCommands.h"
#include "shell/ResizeLayout.h"
#include "shell/SpacingFollower.h"
#include "shell/StartupOptions.h"
#include "shell/StartupSettings.h"
#include "shell/StepTimer.h"
#include "shell/Twips.h"
#include "shell/ui/LegendFontDialog.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAbstractButton;
class QAction;
class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace qel::chartview {
class ChartErrorTrap;
class ChartWidget;
} // namespace qel::chartview
namespace qel::os {
class AboutWindow;
class Clipboard;
class ProcessStarter;
class SettingsStore;
class UserDialogs;
} // namespace qel::os
namespace qel::print {
class PrintCommands;
class PrinterDialogs;
} // namespace qel::print
namespace qel::settings {
class Form2;
}
namespace qel::slides {
class FrmMsg;
class SpeechOutput;
struct ShowState;
class SpeechServices;
} // namespace qel::slides

namespace qel::shell {

class ChartInspection;
class ChartOptionControls;
class CommandColumn;
class Form3;
class Form3State;
class HelpBrowser;
class OptionPanel;
class PictureViewer;
class SlideShowLink;
class TableEditing;
class VoiceWindows;
struct ProgramState;

// Form1: the two charts, the column of commands, the legend box; start-up and quitting.
class MainWindow : public QMainWindow, public MainForm, public LoadSaveHost, public RecentListView
{
    Q_OBJECT

public:
    struct Services
    {
        ProgramState &state;
        os::SettingsStore &settings;
        os::UserDialogs &dialogs;
        os::ProcessStarter &starter;
        slides::SpeechOutput &speech;
        StepTimer *stepTimer = nullptr; // the automatic rotation's waits; a QTimer when null
        // The printer's dialogues; Qt's when none is given.
        print::PrinterDialogs *printerDialogs = nullptr;
        // What the slide window and the voice output share; the window keeps its own when
        // none is given.
        slides::ShowState *show = nullptr;
        // The speech engine, readers and windows; without them the voice half stays off.
        slides::SpeechServices *speechServices = nullptr;
    };
    // The legend box's font dialogue; nothing when cancelled. Tests answer it.
    using LegendFontChooser =
        std::function<std::optional<LegendFontChoice>(const LegendFontChoice &current)>;

    explicit MainWindow(const Services &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    void setStartupOptions(StartupOptions options) { m_options = std::move(options); }
    void Form_Load();

    void setWindowCaption(const QString &path) override;
    void chartShown(const QString &path) override;
    void Calculater_Click();
    void cmdQelHlp_Click();
    void cmdQelHlp_OLEDragDrop(const QStringList &files);
    // The help text in the user's editor.
    void helpText_Click();
    void WordPad(const QString &path);
    // SSCmdChart: Chart1 and Chart2 change places.
    void SSCmdChart_Click();
    // SScmdQEL: the settings window.
    void SScmdQEL_Click();
    settings::Form2 *settingsWindow() const;
    // txtLegend's double click: its font, effects and colour.
    void txtLegend_DblClick();
    void setLegendFontChooser(LegendFontChooser chooser) { m_legendFont = std::move(chooser); }
    ChartOptionControls &options() { return *m_viewOptions; }
    const CommandColumn &column() const { return *m_column; }
    // Opening (mode 0) and saving (mode 1) charts and tables.
    bool loadSave(int mode, QString &path);
    bool Chart1LoadCHF();
    LoadSave &loadSaveCommands() { return *m_loadSave; }
    RecentListCommands &recentList() { return *m_recent; }
    settings::Form2State &form2State() { return m_document->form2(); }
    chartdoc::ChartDocument &document() { return *m_document; }
    PictureViewer *pictureViewer() const;
    // The print buttons, the printer and its dialogues.
    print::PrintCommands &printCommands() { return *m_print; }
    SlideShowLink &slideShow() { return *m_slides; }
    // The spreadsheet hand-over, the table follower and the memo.
    TableEditing &tableEditing() { return *m_tableEditing; }
    // The chart on view alone, full screen (kind 0 of the slide window).
    void showChartFullScreen();
    // The settings window (Form2) and the speech window.
    VoiceWindows &voiceWindows() { return *m_voiceWindows; }
    // The open and save commands of the menu act on the chart on view.
    void openCommand();
    void saveCommand();

    chartview::ChartWidget *chartWidget1() const { return m_chart1; }
    chartview::ChartWidget *chartWidget2() const { return m_chart2; }
    // The window's inner size, in twips.
    QSize innerTwips() const;
    Twips twips() const;
    const ResizeLayout &layoutRule() const { return m_layout; }
    CalculatorLauncher &calculator() { return m_calculator; }
    // SSCmdGradient: the colour window for Chart1, made on first use.
    void SSCmdGradient_Click();
    Form3 *form3() const;
    // Ctrl+C: the chart on view goes to the clipboard as a PNG and an SVG picture.
    void copyChart();
    void setClipboard(os::Clipboard *clipboard) { m_clipboard = clipboard; }
    ChartInspection &inspection() { return *m_inspection; }
    const chartdoc::TableImage &table() const { return m_document->table(); }
    bool hasXValues() const { return m_hasXValues; }
    os::AboutWindow *aboutWindow() const;
    HelpBrowser *helpBrowser() const;
    // The per-user program folder the start-up files and the help live in.
    QString programFolder() const;
    QString helpFile() const;
    QString helpTextFile() const;

    // MainForm
    QSize screenSize() const override;
    void setWindowSize(const QSize &pixels) override;
    void registerFileTypes() override;
    chartview::ChartView &chart1() override;
    chartview::ChartView &chart2() override;
    void setComboAccessFile(int mode, const QString &path) override;
    void setChart2Width(int twips) override;
    QString openCommandLine(const QString &commandLine) override;
    QString depthText() const override;
    QString accessLogName() override;
    void setHasXValues(bool on) override { m_hasXValues = on; }
    void showForm() override;
    void showAbout() override;
    void unloadAbout() override;
    void closeOtherWindows() override;
    void endProgram() override;

    // LoadSaveHost
    bool jpgShow(const QString &path) override;
    QString pictureError() const override;
    void multSlideShow(const QString &folder, QString &source, int mode) override;
    void showSpeechEngine() override;
    bool chart2Visible() const override;

    // RecentListView
    void showRecentEntries(const QStringList &entries, int shown) override;
    int shownRecentIndex() const override;
    void copyToClipboard(const QString &text) override;
    void refreshChart1() override;
    QString listFolder() const override;
    QString machineLabel() const override;

signals:
    // The user confirmed quitting: the program ends.
    void programEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildForm();
    void connectColumn();
    void buildMenus();
    void decorateToolBar(chartview::ChartWidget *chart);
    // Gives action its own icon now and the theme's icon themeName after the first paint.
    void setOwnIcon(QAction *action, const char *themeName, const char *own);
    void applyThemeIcons();
    void buildStatusBar();
    // The largest inner size the screen leaves the window, in twips.
    QSize availableInner() const;
    // An enlarged window is moved back onto the screen's free area.
    void keepOnScreen();
    // The settings window was made: the table editor's panel and its buttons join it.
    void settingsWindowMade(settings::Form2 &form2);
    void Form_Resize();
    void applyLayout(const ResizeLayout::Result &result);
    void chartCommand(int chart, int command, bool &handled);
    void connectPrinting();
    void observeDocument();
    void buildEditMenu();
    bool comboKey(QKeyEvent *event);

    ProgramState &m_state;
    os::UserDialogs &m_dialogs;
    slides::SpeechOutput &m_speech;
    StartupSettings m_settings;
    os::ProgramLauncher m_launcher;
    CalculatorLauncher m_calculator;
    StartupOptions m_options;
    ResizeLayout m_layout;
    SpacingFollower m_spacing;
    bool m_hasXValues = false;
    bool m_ending = false;
    std::unique_ptr<chartview::ChartErrorTrap> m_trap;
    std::unique_ptr<slides::FrmMsg> m_frmMsg;
    std::unique_ptr<ChartInspection> m_inspection;
    std::unique_ptr<print::PrinterDialogs> m_ownPrinterDialogs;
    print::PrintCommands *m_print = nullptr;
    std::unique_ptr<slides::ShowState> m_ownShow;
    slides::ShowState *m_show = nullptr;
    std::unique_ptr<SlideShowLink> m_slides;
    std::unique_ptr<TableEditing> m_tableEditing;
    // The chart's layout pairs as the last resize found them.
    qint16 m_viewState[4] = {0, 0, 0, 0};

    QWidget *m_form = nullptr;
    chartview::ChartWidget *m_chart1 = nullptr;
    chartview::ChartWidget *m_chart2 = nullptr;
    QPlainTextEdit *m_txtLegend = nullptr;
    std::unique_ptr<CommandColumn> m_column;
    QComboBox *m_combo1 = nullptr;
    QAbstractButton *m_cmdQelHlp = nullptr;
    QLabel *m_hovered = nullptr; // the status bar's point under the mouse
    std::vector<std::pair<QPointer<QAction>, QString>> m_themeIcons;
    std::unique_ptr<QtStepTimer> m_ownTimer;
    StepTimer *m_stepTimer = nullptr;
    std::unique_ptr<ChartOptionControls> m_viewOptions;
    std::unique_ptr<OptionPanel> m_optionPanel;
    LegendFontChooser m_legendFont;
    QPointer<os::AboutWindow> m_about;
    QPointer<HelpBrowser> m_help;
    QPointer<PictureViewer> m_picture;
    std::unique_ptr<Form3State> m_form3State;
    QPointer<Form3> m_form3;
    std::unique_ptr<os::Clipboard> m_systemClipboard;
    os::Clipboard *m_clipboard = nullptr;

    std::unique_ptr<chartdoc::ChartDocument> m_document;
    std::unique_ptr<LoadSave> m_loadSave;
    RecentFileList m_recentFiles;
    std::unique_ptr<RecentListCommands> m_recent;
    std::unique_ptr<VoiceWindows> m_voiceWindows;
};

} // namespace qel::shell
