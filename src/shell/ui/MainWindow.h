#pragma once

#include "chartdoc/ChartDocument.h"
#include "os/ProgramLauncher.h"
#include "settings/Form2State.h"
#include "shell/CalculatorLauncher.h"
#include "shell/ChartGlobals.h"
#include "shell/LoadSave.h"
#include "shell/MainForm.h"
#include "shell/RecentFileList.h"
#include "shell/RecentListCommands.h"
#include "shell/ResizeLayout.h"
#include "shell/SpacingFollower.h"
#include "shell/StartupOptions.h"
#include "shell/StartupSettings.h"
#include "shell/Twips.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <vector>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;

namespace qel::chartview {
class ChartErrorTrap;
class ChartWidget;
} // namespace qel::chartview
namespace qel::os {
class AboutWindow;
class ProcessStarter;
class SettingsStore;
class UserDialogs;
} // namespace qel::os
namespace qel::slides {
class FrmMsg;
class SpeechOutput;
class SpeechServices;
} // namespace qel::slides

namespace qel::shell {

class ChartInspection;
class HelpBrowser;
class PictureViewer;
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
        // The speech engine, readers and windows; without them the voice half stays off.
        slides::SpeechServices *speechServices = nullptr;
    };

    explicit MainWindow(const Services &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    void setStartupOptions(StartupOptions options) { m_options = std::move(options); }
    void Form_Load();

    void setWindowCaption(const QString &path) override;
    void Calculater_Click();
    void cmdQelHlp_Click();
    void cmdQelHlp_OLEDragDrop(const QStringList &files);
    // The help text in the user's editor.
    void helpText_Click();
    void WordPad(const QString &path);
    // Opening (mode 0) and saving (mode 1) charts and tables.
    bool loadSave(int mode, QString &path);
    bool Chart1LoadCHF();
    LoadSave &loadSaveCommands() { return *m_loadSave; }
    RecentListCommands &recentList() { return *m_recent; }
    settings::Form2State &form2State() { return m_document->form2(); }
    chartdoc::ChartDocument &document() { return *m_document; }
    PictureViewer *pictureViewer() const;
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
    ChartGlobals &chartGlobals() { return m_globals; }
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
    struct Placed
    {
        QWidget *widget;
        QRect twips; // inside its parent
    };

    void buildForm();
    void buildFrame2();
    void buildFrame3();
    void buildMenus();
    template <typename T> T *add(QWidget *parent, const QString &name, const QRect &twips);
    QAbstractButton *button(QWidget *parent, const QString &name, const QString &caption,
                            const QString &tip, const QRect &twips);
    void placeInner();
    void Form_Resize();
    void applyLayout(const ResizeLayout::Result &result);
    void notYetAvailable(const QString &feature);
    void pending(QAbstractButton *control, const QString &feature);
    void chartCommand(int chart, int command, bool &handled);
    void observeDocument();
    void showControls();
    void buildEditMenu();
    // A view control switched by the user: one undoable step.
    void switchControl(const QString &text, void (chartdoc::ChartDocument::*set)(bool), bool on);
    void SSChkHidden_Click(bool checked);
    bool comboKey(QKeyEvent *event);

    ProgramState &m_state;
    os::UserDialogs &m_dialogs;
    slides::SpeechOutput &m_speech;
    StartupSettings m_settings;
    os::ProgramLauncher m_launcher;
    CalculatorLauncher m_calculator;
    StartupOptions m_options;
    ChartGlobals m_globals;
    ResizeLayout m_layout;
    SpacingFollower m_spacing;
    bool m_hasXValues = false;
    bool m_ending = false;
    std::unique_ptr<chartview::ChartErrorTrap> m_trap;
    std::unique_ptr<slides::FrmMsg> m_frmMsg;
    std::unique_ptr<ChartInspection> m_inspection;
    // The chart's layout pairs as the last resize found them.
    qint16 m_viewState[4] = {0, 0, 0, 0};

    QWidget *m_form = nullptr;
    chartview::ChartWidget *m_chart1 = nullptr;
    chartview::ChartWidget *m_chart2 = nullptr;
    QPlainTextEdit *m_txtLegend = nullptr;
    QGroupBox *m_frame2 = nullptr;
    QGroupBox *m_frame3 = nullptr;
    QComboBox *m_combo1 = nullptr;
    QAbstractButton *m_cmdQelHlp = nullptr;
    QLineEdit *m_xGapText = nullptr;
    QLineEdit *m_depthText = nullptr;
    std::vector<Placed> m_placed;
    QPointer<os::AboutWindow> m_about;
    QPointer<HelpBrowser> m_help;
    QPointer<PictureViewer> m_picture;

    std::unique_ptr<chartdoc::ChartDocument> m_document;
    std::unique_ptr<LoadSave> m_loadSave;
    RecentFileList m_recentFiles;
    std::unique_ptr<RecentListCommands> m_recent;
    std::unique_ptr<VoiceWindows> m_voiceWindows;
};

} // namespace qel::shell
