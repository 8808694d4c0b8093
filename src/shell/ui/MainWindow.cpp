#include "shell/ui/MainWindow.h"

#include "chartdoc/FileTypeRegistration.h"
#include "chartdoc/TableFileReader.h"
#include "chartview/CfxOcx.h"
#include "chartview/render/ChartClipboard.h"
#include "chartview/ui/ChartWidget.h"
#include "chartview/ui/PointInspector.h"
#include "os/AboutInfo.h"
#include "os/AccessLog.h"
#include "os/Resources.h"
#include "os/UserDialogs.h"
#include "os/ui/AboutWindow.h"
#include "os/ui/SystemClipboard.h"
#include "print/ui/PrintCommands.h"
#include "print/ui/QtPrinterDialogs.h"
#include "settings/ui/Form2.h"
#include "shell/ChartOptionControls.h"
#include "shell/ProgramState.h"
#include "shell/QuitConfirmation.h"
#include "shell/StartupSequence.h"
#include "shell/WindowCaption.h"
#include "shell/ui/AfterFirstPaint.h"
#include "shell/ui/ChartInspection.h"
#include "shell/ui/CommandColumn.h"
#include "shell/ui/Form3.h"
#include "shell/ui/HelpBrowser.h"
#include "shell/ui/OptionPanel.h"
#include "shell/ui/PictureViewer.h"
#include "shell/ui/SlideShowLink.h"
#include "shell/ui/TableEditing.h"
#include "shell/ui/TableEditorPanel.h"
#include "shell/ui/VoiceWindows.h"
#include "slides/ShowState.h"
#include "slides/SpeechOutput.h"
#include "slides/ui/FormSlide.h"
#include "slides/ui/FrmMsg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

#include <algorithm>
#include <map>

namespace qel::shell {

using chartview::ChartWidget;

namespace {

QString wordPadName()
{
    return QStringLiteral("Wordpad.exe");
}

QString notepadName()
{
    return QStringLiteral("Notepad.exe");
}

// The chart tool bar's commands with the theme's icon names and our own drawings.
struct ToolIcon
{
    int command;
    const char *theme;
    const char *own;
};

constexpr ToolIcon ToolIcons[] = {
    {ChartWidget::CommandOpen, "document-open", ":/icons/tool-open.svg"},
    {ChartWidget::CommandSave, "document-save", ":/icons/tool-save.svg"},
    {ChartWidget::CommandPrint, "document-print", ":/icons/tool-print.svg"},
    {ChartWidget::CommandGallery, "view-statistics", ":/icons/tool-gallery.svg"},
    {ChartWidget::CommandView3D, "view-3d", ":/icons/tool-3d.svg"},
    {ChartWidget::CommandRotate, "object-rotate-left", ":/icons/tool-rotate.svg"},
    {ChartWidget::CommandLegend, "view-list-details", ":/icons/tool-legend.svg"},
    {ChartWidget::CommandGrid, "view-grid", ":/icons/tool-grid.svg"},
    {ChartWidget::CommandColors, "color-management", ":/icons/tool-colors.svg"},
};

} // namespace

MainWindow::MainWindow(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_state(services.state)
    , m_dialogs(services.dialogs)
    , m_speech(services.speech)
    , m_settings(services.settings)
    , m_launcher(services.settings, services.dialogs, services.starter)
    , m_calculator(services.starter, m_launcher)
    , m_ownShow(services.show ? nullptr : std::make_unique<slides::ShowState>())
    , m_show(services.show ? services.show : m_ownShow.get())
    , m_stepTimer(services.stepTimer)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("qelPro"));
    os::initIconResources();
    setWindowIcon(QIcon(QStringLiteral(":/icons/qelPro.svg")));
    for (const QString &editor : {wordPadName(), notepadName()}) {
        m_launcher.describe(editor, {QStringLiteral("テキストエディター"),
                                     QStandardPaths::findExecutable(QStringLiteral("xdg-open")),
                                     {}});
    }
    if (!m_stepTimer) {
        m_ownTimer = std::make_unique<QtStepTimer>();
        m_stepTimer = m_ownTimer.get();
    }
    buildForm();
    buildMenus();
    buildStatusBar();
    AfterFirstPaint::call(*this, [this] {
        applyThemeIcons();
        // Asking where the audio goes loads the sound module: not before the window is seen.
        const QString speechNote = m_voiceWindows->outputNote();
        if (!speechNote.isEmpty())
            statusBar()->showMessage(speechNote, 20000);
    });
    m_frmMsg = std::make_unique<slides::FrmMsg>();
    m_document = std::make_unique<chartdoc::ChartDocument>(m_chart1->chart(), m_dialogs, *m_frmMsg);
    m_trap = std::make_unique<chartview::ChartErrorTrap>(m_chart1->chart());
    m_trap->setBeep(&QApplication::beep);
    m_trap->setGradientSwitchOff([this] { m_document->switchGradientOff(); });
    m_systemClipboard = std::make_unique<os::SystemClipboard>();
    m_clipboard = m_systemClipboard.get();
    m_document->setDepthText(m_column->control<QLineEdit>(QStringLiteral("depthText"))->text());
    m_inspection = std::make_unique<ChartInspection>(ChartInspection::Parts{
        *m_chart1, *m_chart2, m_column->control<QLineEdit>(QStringLiteral("Text1")),
        m_column->control<QLineEdit>(QStringLiteral("Text2")), *m_frmMsg, m_dialogs, m_state, this,
        m_document.get()});
    m_loadSave = std::make_unique<LoadSave>(
        LoadSave::Context{m_state, m_settings, *m_document, m_chart2->chart(), *this});
    m_slides = std::make_unique<SlideShowLink>(
        SlideShowLink::Parts{*this,
                             m_state,
                             *m_loadSave,
                             *m_document,
                             m_dialogs,
                             m_speech,
                             *m_show,
                             *m_frmMsg,
                             [this] { return pictureViewer(); },
                             [this](const QString &script) {
                                 QString arguments = script;
                                 m_launcher.launch(notepadName(), arguments);
                             },
                             [this](int, const QImage &slide, const QString &path) {
                                 return m_print->printPicture(slide, path);
                             },
                             {},
                             [this](const QString &path) { chartShown(path); }});
    m_viewOptions = std::make_unique<ChartOptionControls>(
        ChartOptionControls::Parts{*m_document, m_speech, m_dialogs, *m_stepTimer});
    // A turned chart drops the painted background, and the chart's own gradient switch with
    // it (both are part of the chart, so an undo of the turn puts them back).
    m_viewOptions->setGradientOff([this] {
        m_document->switchGradientOff();
        chart1().setGradientOn(false);
    });
    m_optionPanel = std::make_unique<OptionPanel>(
        OptionPanel::Parts{*m_column, *m_viewOptions, *m_document, *m_chart1, m_dialogs,
                           [this](const QString &text) { statusBar()->showMessage(text, 4000); },
                           [this] { return m_inspection->inspector().inspectedPoint(); }});
    if (!services.printerDialogs)
        m_ownPrinterDialogs = std::make_unique<print::QtPrinterDialogs>();
    m_print = new print::PrintCommands(
        {*m_chart1, *m_chart2, *m_txtLegend, *m_form, *m_document, m_dialogs,
         services.printerDialogs ? *services.printerDialogs : *m_ownPrinterDialogs,
         [this](print::PrintSource &s) {
             s.version = ProgramState::fullVersionText();
             s.currentFile = m_state.currentFile;
             s.chart2File = m_state.chart2File;
         }},
        this);
    connectPrinting();
    observeDocument();
    connectColumn();
    buildEditMenu();
    m_recent =
        std::make_unique<RecentListCommands>(m_recentFiles, m_state, m_dialogs, *this, *m_loadSave);
    m_legendFont = [this](const LegendFontChoice &current) {
        return LegendFontDialog::ask(current, this);
    };
    m_tableEditing = std::make_unique<TableEditing>(
        TableEditing::Parts{m_state, m_settings, *m_document, m_dialogs, services.starter,
                            m_column->control<QLabel>(QStringLiteral("LblTabEditerSet")),
                            [this](const QString &path) { WordPad(path); },
                            [this](const QString &text) { statusBar()->showMessage(text, 8000); }});
    m_voiceWindows = std::make_unique<VoiceWindows>(VoiceWindows::Parts{
        this, m_document->form2(), m_chart1->chart(), m_dialogs, services.settings, m_state,
        services.speechServices, [this] { return programFolder(); }, [this] { endProgram(); },
        [this](settings::Form2 &form2) { settingsWindowMade(form2); },
        [this] { m_tableEditing->chooseEditor(); },
        [this] {
            if (slides::FormSlide *slide = m_slides->slideWindow())
                slide->setVoiceEDitAvailable();
        }});
    if (m_voiceWindows->hasSpeech())
        m_recent->setSettingsLoader([this] { m_voiceWindows->Save1Load2XclVoiceIni(2); });
    setAcceptDrops(true); // beyond the help button, a file dropped anywhere opens as well
}

MainWindow::~MainWindow()
{
    // The colour window goes before the state and the document it shows.
    delete m_form3;
}

void MainWindow::buildForm()
{
    m_form = new QWidget(this);
    m_form->setObjectName(QStringLiteral("formArea"));
    setCentralWidget(m_form);
    m_form->installEventFilter(this);

    const ResizeLayout::Geometry &g = m_layout.geometry();
    m_chart1 = new ChartWidget(m_form);
    m_chart1->setObjectName(QStringLiteral("Chart1"));
    m_chart2 = new ChartWidget(m_form);
    m_chart2->setObjectName(QStringLiteral("Chart2"));
    m_chart2->chart().setTitleCaption(2, QStringLiteral("Sample of multiple chart"));
    m_chart2->hide();
    m_txtLegend = new QPlainTextEdit(m_form);
    m_txtLegend->setObjectName(QStringLiteral("txtLegend"));
    m_txtLegend->setToolTip(QStringLiteral("凡例（ダブルクリックで書体）"));
    m_txtLegend->setStatusTip(m_txtLegend->toolTip());
    m_txtLegend->viewport()->installEventFilter(this);
    for (ChartWidget *chart : {m_chart1, m_chart2}) {
        connect(chart, &ChartWidget::commandTriggered, this,
                [this, chart](int command, bool &handled) {
                    chartCommand(chart == m_chart1 ? 1 : 2, command, handled);
                });
        decorateToolBar(chart);
    }

    m_column = std::make_unique<CommandColumn>(m_form);
    m_cmdQelHlp = m_column->control<QAbstractButton>(QStringLiteral("cmdQelHlp"));
    m_combo1 = m_column->control<QComboBox>(QStringLiteral("Combo1"));

    const Twips t = twips();
    m_chart1->setGeometry(t.toPixels(g.chart1));
    m_chart2->setGeometry(t.toPixels(g.chart2));
    m_txtLegend->setGeometry(t.toPixels(g.legend));
    m_column->frame2()->setGeometry(t.toPixels(g.frame2));
    m_column->frame3()->setGeometry(t.toPixels(g.frame3));
}

void MainWindow::connectColumn()
{
    const CommandColumn &c = *m_column;
    auto button = [&c](const char *name) {
        return c.control<QAbstractButton>(QString::fromLatin1(name));
    };
    m_cmdQelHlp->installEventFilter(this);
    connect(m_cmdQelHlp, &QAbstractButton::clicked, this, &MainWindow::cmdQelHlp_Click);
    connect(button("Calculater"), &QAbstractButton::clicked, this, &MainWindow::Calculater_Click);
    connect(button("SSCmdChart"), &QAbstractButton::clicked, this, &MainWindow::SSCmdChart_Click);
    connect(button("SScmdQEL"), &QAbstractButton::clicked, this, &MainWindow::SScmdQEL_Click);
    connect(button("SSCmdGradient"), &QAbstractButton::clicked, this,
            &MainWindow::SSCmdGradient_Click);

    // Only a choice in the drop-down opens; keys and the wheel are filtered below.
    connect(m_combo1, &QComboBox::activated, this, [this] { m_recent->Combo1_Click(); });
    m_combo1->installEventFilter(this);
    button("cmdViewListFile")->installEventFilter(this);
}

void MainWindow::decorateToolBar(ChartWidget *chart)
{
    QToolBar *bar = chart->toolBar();
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (QAction *action : bar->actions()) {
        for (const ToolIcon &icon : ToolIcons) {
            if (action->data().toInt() == icon.command)
                setOwnIcon(action, icon.theme, icon.own);
        }
        if (action->statusTip().isEmpty())
            action->setStatusTip(action->toolTip());
    }
}

void MainWindow::setOwnIcon(QAction *action, const char *themeName, const char *own)
{
    action->setIcon(QIcon(QString::fromLatin1(own)));
    m_themeIcons.emplace_back(action, QString::fromLatin1(themeName));
}

void MainWindow::applyThemeIcons()
{
    // Looking an icon up in the desktop's theme can take long (a theme folder without its
    // cache is searched folder by folder), so the window starts with its own icons and takes
    // the theme's, where the theme has them, once it is on the screen. Each name is looked up
    // once.
    std::map<QString, QIcon> found;
    for (const auto &[action, name] : m_themeIcons) {
        auto it = found.find(name);
        if (it == found.end())
            it = found.emplace(name, QIcon::fromTheme(name)).first;
        if (action && !it->second.isNull() && !it->second.availableSizes().isEmpty())
            action->setIcon(it->second);
    }
    m_themeIcons.clear();
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    m_hovered = new QLabel(bar);
    m_hovered->setObjectName(QStringLiteral("hoveredPoint"));
    bar->addPermanentWidget(m_hovered);
    for (ChartWidget *chart : {m_chart1, m_chart2})
        connect(chart, &ChartWidget::mouseMoved, this, [this, chart](chartview::ChartEvent &e) {
            if (chart->isVisible())
                m_hovered->setText(
                    chart->pointTipText(e.series, e.point).replace(u'\n', QStringLiteral(" / ")));
        });
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    setOwnIcon(file->addAction(QStringLiteral("開く..."), QKeySequence::Open, this,
                               [this] { openCommand(); }),
               "document-open", ":/icons/tool-open.svg");
    setOwnIcon(file->addAction(QStringLiteral("保存..."), QKeySequence::Save, this,
                               [this] { saveCommand(); }),
               "document-save", ":/icons/tool-save.svg");
    setOwnIcon(
        file->addAction(
            QStringLiteral("印刷..."), QKeySequence::Print, this,
            [this] {
                (chart2Visible() ? m_chart2 : m_chart1)->runCommand(ChartWidget::CommandPrint);
            }),
        "document-print", ":/icons/tool-print.svg");
    file->addAction(QStringLiteral("全画面表示"), QKeySequence(Qt::Key_F11), this,
                    &MainWindow::showChartFullScreen)
        ->setObjectName(QStringLiteral("chartFullScreen"));
    file->addSeparator();
    file->addAction(QStringLiteral("終了"), QKeySequence::Quit, this, &QWidget::close);

    QMenu *help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->addAction(QStringLiteral("ヘルプ"), QKeySequence::HelpContents, this,
                    &MainWindow::cmdQelHlp_Click);
    help->addAction(QStringLiteral("ヘルプテキスト (qel-hlp.rtf)"), this,
                    &MainWindow::helpText_Click);
    help->addAction(QStringLiteral("電卓"), this, &MainWindow::Calculater_Click);
    help->addSeparator();
    help->addAction(QStringLiteral("バージョン情報"), this, &MainWindow::showAbout);
}

Twips MainWindow::twips() const
{
    return Twips(logicalDpiX(), logicalDpiY());
}

QSize MainWindow::innerTwips() const
{
    return twips().fromPixels(m_form->size());
}

QSize MainWindow::availableInner() const
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return {};
    // Around the form area: the window manager's frame (a guess until the window is shown),
    // the menu bar and the status bar.
    QSize frame = frameGeometry().size() - size();
    if (!isVisible())
        frame = QSize(8, 32);
    const QSize chrome =
        frame + QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    return twips().fromPixels(s->availableGeometry().size() - chrome);
}

bool MainWindow::comboKey(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        m_recent->moveShown(-1);
        return true;
    case Qt::Key_Down:
    case Qt::Key_Right:
        m_recent->moveShown(+1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_recent->Combo1_Click();
        return true;
    case Qt::Key_Space:
    case Qt::Key_F4:
        return false; // opens the drop-down
    default:
        // Typing would pick and open an entry by its first letter.
        return !event->text().isEmpty() && event->text().front().isPrint();
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_combo1 && event->type() == QEvent::KeyPress) {
        if (comboKey(static_cast<QKeyEvent *>(event)))
            return true;
    } else if (watched == m_combo1 && event->type() == QEvent::Wheel) {
        return true; // the wheel would open every entry it passes
    } else if (watched->objectName() == QStringLiteral("cmdViewListFile") &&
               event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::LeftButton || press->button() == Qt::RightButton)
            m_recent->cmdViewListFile_MouseDown(press->button() == Qt::LeftButton ? 1 : -1);
        return true;
    } else if (watched == m_form && event->type() == QEvent::Resize) {
        Form_Resize();
    } else if (watched == m_cmdQelHlp && event->type() == QEvent::DragEnter) {
        auto *drag = static_cast<QDragEnterEvent *>(event);
        if (drag->mimeData()->hasUrls())
            drag->acceptProposedAction();
        return true;
    } else if (watched == m_cmdQelHlp && event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        QStringList files;
        for (const QUrl &url : drop->mimeData()->urls()) {
            if (url.isLocalFile())
                files.append(url.toLocalFile());
        }
        drop->acceptProposedAction();
        cmdQelHlp_OLEDragDrop(files);
        return true;
    } else if (event->type() == QEvent::MouseButtonDblClick && m_txtLegend &&
               watched == m_txtLegend->viewport()) {
        txtLegend_DblClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keepOnScreen()
{
    const QScreen *s = screen();
    if (!s || !isVisible() || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QRect room = s->availableGeometry();
    const QRect frame = frameGeometry();
    const int x = std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width()));
    const int y = std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height()));
    if (x != frame.left() || y != frame.top())
        move(pos() + QPoint(x - frame.left(), y - frame.top()));
}

void MainWindow::Form_Resize()
{
    const Twips t = twips();
    m_layout.setFrameNeeds(t.fromPixels(m_column->frame2()->sizeHint()),
                           t.fromPixels(m_column->frame3()->sizeHint()));
    m_layout.setAvailable(availableInner());
    m_layout.resize(innerTwips(), [this](const ResizeLayout::Result &r) { applyLayout(r); });
}

void MainWindow::applyLayout(const ResizeLayout::Result &r)
{
    // The chart's view state, read the way the layout pairs are always read (this also
    // clears a chart error left pending).
    chartview::LayoutPairAccess(chart1(), 1, 0, m_viewState[0], m_viewState[1]);
    chartview::LayoutPairAccess(chart1(), 1, 1, m_viewState[2], m_viewState[3]);

    const Twips t = twips();
    if (r.enlargeWidth || r.enlargeHeight) {
        const QSize inner = m_form->size();
        const QSize wanted(r.enlargeWidth ? t.toPixelsCeilX(r.inner.width()) : inner.width(),
                           r.enlargeHeight ? t.toPixelsCeilY(r.inner.height()) : inner.height());
        resize(size() + (wanted - inner));
        keepOnScreen();
    }
    const ResizeLayout::Geometry &g = r.geometry;
    m_chart2->setGeometry(t.toPixels(g.chart2));
    m_txtLegend->setGeometry(t.toPixels(g.legend));
    m_column->frame2()->setGeometry(t.toPixels(g.frame2));
    m_column->frame3()->setGeometry(t.toPixels(g.frame3));
    const QSize before = m_chart1->size();
    m_chart1->setGeometry(t.toPixels(g.chart1));
    if (m_chart1->size() != before)
        chart1().Refresh(); // drawings over the chart do not survive a new size
    m_spacing.follow(chart1(), r.rx, r.ry, r.resetX, r.resetY);
    m_document->updateGapScroll(); // the gap follows the chart's size
}

os::AboutWindow *MainWindow::aboutWindow() const
{
    return m_about;
}

HelpBrowser *MainWindow::helpBrowser() const
{
    return m_help;
}

void MainWindow::Form_Load()
{
    StartupSequence({*this, m_state, m_settings, m_speech, m_document->table()}, m_options).run();
    // What start-up loaded is where the user begins: nothing to save yet.
    m_document->controlsFollowChart();
    m_document->resetHistory();
    m_tableEditing->chartShown(m_state.currentFile);
}

void MainWindow::chartShown(const QString &path)
{
    m_tableEditing->chartShown(path);
}

void MainWindow::settingsWindowMade(settings::Form2 &form2)
{
    form2.addToSecondTab(m_tableEditing->panel(&form2));
    form2.setDataFieldApplier([this](int mode, std::optional<settings::Form2State::Box> &focus) {
        return m_inspection->applyDataFields(mode, focus);
    });
    connect(&form2, &settings::Form2::versionRequested, this, &MainWindow::showAbout);
    connect(&form2, &settings::Form2::historyRequested, this, [this] { WordPad(accessLogName()); });
}

void MainWindow::setWindowCaption(const QString &path)
{
    setWindowTitle(WindowCaption::text(m_state.verString, path));
}

void MainWindow::Calculater_Click()
{
    m_calculator.click();
}

QString MainWindow::programFolder() const
{
    return m_options.programDir.isEmpty() ? programDirectory() : m_options.programDir;
}

QString MainWindow::helpFile() const
{
    return QDir(programFolder()).filePath(QStringLiteral("qelPro.html"));
}

QString MainWindow::helpTextFile() const
{
    return QDir(programFolder()).filePath(QStringLiteral("qel-hlp.rtf"));
}

void MainWindow::cmdQelHlp_Click()
{
    if (m_help && m_help->isVisible()) {
        m_help->raise();
        m_help->activateWindow();
        return;
    }
    if (!m_help)
        m_help = new HelpBrowser(this);
    if (!m_help->open(helpFile())) {
        delete m_help;
        m_dialogs.inform(QStringLiteral("ヘルプファイルが開けません。"));
        return;
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::cmdQelHlp_OLEDragDrop(const QStringList &files)
{
    if (files.isEmpty())
        return;
    QString path = files.first();
    loadSave(0, path);
}

void MainWindow::helpText_Click()
{
    WordPad(helpTextFile());
}

void MainWindow::WordPad(const QString &path)
{
    QString arguments = path;
    m_launcher.launch(wordPadName(), arguments);
}

bool MainWindow::loadSave(int mode, QString &path)
{
    return m_loadSave->loadSave(mode, path);
}

bool MainWindow::Chart1LoadCHF()
{
    return m_loadSave->Chart1LoadCHF();
}

void MainWindow::openCommand()
{
    (chart2Visible() ? m_chart2 : m_chart1)->runCommand(ChartWidget::CommandOpen);
}

void MainWindow::saveCommand()
{
    (chart2Visible() ? m_chart2 : m_chart1)->runCommand(ChartWidget::CommandSave);
}

void MainWindow::chartCommand(int chart, int command, bool &handled)
{
    if (m_loadSave->chartCommand(chart, command)) {
        handled = true;
        return;
    }
    if (m_print->chartCommand(command)) {
        handled = true;
        return;
    }
    switch (command) {
    case ChartWidget::CommandColors:
        SSCmdGradient_Click();
        break;
    default:
        return; // the chart's own view commands
    }
    handled = true;
}

void MainWindow::connectPrinting()
{
    print::PrintCommands *p = m_print;
    auto on = [this](const QString &name, auto slot) {
        connect(m_column->control<QAbstractButton>(name), &QAbstractButton::clicked, m_print, slot);
    };
    on(QStringLiteral("SSPrint"), [p] { p->SSPrint_Click(); });
    on(QStringLiteral("SSprnWhite_1"), [p] { p->SSprnWhite_Click(1); });
    on(QStringLiteral("SSprnWhite_2"), [p] { p->SSprnWhite_Click(2); });
    on(QStringLiteral("SSCmdPage"), [p] { p->SSCmdPage_Click(); });
    on(QStringLiteral("CmdPrnChart"), [p] { p->CmdPrnChart_Click(); });
    on(QStringLiteral("CmdPrnFill"), [p] { p->CmdPrnFill_Click(); });
    on(QStringLiteral("CmdPrnForm"), [p] { p->CmdPrnForm_Click(); });
    // The preview and the page set-up follow the print entry of the file menu.
    QMenu *file = menuBar()->actions().value(0)->menu();
    const QList<QAction *> entries = file->actions();
    const auto printEntry = std::find_if(entries.begin(), entries.end(), [](QAction *a) {
        return a->text() == QStringLiteral("印刷...");
    });
    m_print->addMenuEntries(file, printEntry + 1 < entries.end() ? *(printEntry + 1) : nullptr);
    // Where the print went: the printer's name or the PDF file.
    connect(p, &print::PrintCommands::printed, this, [this](const QString &where) {
        statusBar()->showMessage(QStringLiteral("印刷しました: %1").arg(where), 8000);
    });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_ending && !m_loadSave->maySetChartAside()) {
        event->ignore();
        return;
    }
    if (!m_ending && QuitConfirmation(*this, m_dialogs, m_state).queryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
}

QSize MainWindow::screenSize() const
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->size() : QSize();
}

void MainWindow::setWindowSize(const QSize &pixels)
{
    if (pixels.isEmpty())
        return;
    resize(pixels);
    if (const QScreen *s = screen()) {
        QRect frame(QPoint(0, 0), pixels);
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

void MainWindow::registerFileTypes()
{
    const QString dataHome =
        m_options.dataHome.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            : m_options.dataHome;
    const chartdoc::FileTypeRegistration registration(dataHome,
                                                      QCoreApplication::applicationFilePath());
    if (registration.isCurrent(m_options.runDesktopTools))
        return;
    // Writing the files and running the desktop tools waits until the window is on the
    // screen. A registration that cannot be written does not stop start-up.
    AfterFirstPaint::call(*this, [registration, tools = m_options.runDesktopTools] {
        registration.registerFileTypes(tools);
    });
}

chartview::ChartView &MainWindow::chart1()
{
    return m_chart1->chart();
}

chartview::ChartView &MainWindow::chart2()
{
    return m_chart2->chart();
}

void MainWindow::setComboAccessFile(int mode, const QString &path)
{
    m_recent->setComboAccessFile(mode, path);
}

void MainWindow::setChart2Width(int twips)
{
    m_chart2->resize(this->twips().toPixelsX(twips), m_chart2->height());
}

QString MainWindow::openCommandLine(const QString &commandLine)
{
    // A relative name is taken from where the program was started; the data folder moves.
    QString path = QDir::isRelativePath(commandLine) ? QDir::current().absoluteFilePath(commandLine)
                                                     : commandLine;
    m_loadSave->loadSave(0, path);
    if (path.isEmpty()) {
        m_dialogs.inform(LoadSave::unreadableText(commandLine), os::MessageIcon::Question);
        return {};
    }
    return commandLine;
}

QString MainWindow::depthText() const
{
    return m_document->depthText();
}

QString MainWindow::accessLogName()
{
    if (m_about)
        return m_about->accessLogName();
    // What the version window would name, without building it.
    return os::AccessLog::open(programFolder(), machineLabel()).fileName();
}

QString MainWindow::machineLabel() const
{
    if (m_about)
        return m_about->machineLabel();
    return os::MachineLine::forProgramDirectory(programFolder(), os::computerName()).name;
}

QString MainWindow::listFolder() const
{
    return programFolder();
}

PictureViewer *MainWindow::pictureViewer() const
{
    return m_picture;
}

bool MainWindow::jpgShow(const QString &path)
{
    if (!m_picture) {
        m_picture = new PictureViewer(this);
        m_picture->setAttribute(Qt::WA_DeleteOnClose);
        m_picture->setDialogs(&m_dialogs);
        m_picture->setPrintFunction([this](const QImage &image, const QString &name) {
            m_print->printPicture(image, name);
        });
    }
    return m_picture->jpgShow(path);
}

QString MainWindow::pictureError() const
{
    return m_picture ? m_picture->lastError().message : QString();
}

void MainWindow::multSlideShow(const QString &folder, QString &source, int mode)
{
    m_slides->multSlideShow(folder, source, mode);
}

void MainWindow::showChartFullScreen()
{
    m_slides->showCurrentChart();
}

void MainWindow::showSpeechEngine()
{
    m_voiceWindows->showSpeechEngine();
}

bool MainWindow::chart2Visible() const
{
    return !m_chart2->isHidden();
}

void MainWindow::showRecentEntries(const QStringList &entries, int shown)
{
    const QSignalBlocker block(m_combo1);
    m_combo1->clear();
    m_combo1->addItems(entries);
    m_combo1->setCurrentIndex(shown);
}

int MainWindow::shownRecentIndex() const
{
    return m_combo1->currentIndex();
}

void MainWindow::copyToClipboard(const QString &text)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

void MainWindow::refreshChart1()
{
    m_chart1->chart().Refresh();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    QStringList files;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    event->acceptProposedAction();
    cmdQelHlp_OLEDragDrop(files);
}

void MainWindow::showForm()
{
    show();
}

void MainWindow::showAbout()
{
    if (!m_about) {
        m_about = new os::AboutWindow(
            {ProgramState::fullVersionText(), m_state.osName, programFolder(), os::computerName()},
            this);
        m_about->setOnOk([this] {
            m_speech.voiceStop();
            m_state.aboutDone = 1;
        });
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void MainWindow::unloadAbout()
{
    if (m_about) {
        m_about->close();
        m_about->deleteLater();
    }
}

void MainWindow::closeOtherWindows()
{
    // The help, about and settings windows close here so that nothing is left open after the
    // main window.
    if (m_help)
        m_help->close();
    if (m_voiceWindows && m_voiceWindows->hasSettingsWindow())
        m_voiceWindows->form2()->close();
    if (m_form3)
        m_form3->close();
    unloadAbout();
    if (m_frmMsg)
        m_frmMsg->hide();
    m_voiceWindows->closeAll();
}

void MainWindow::endProgram()
{
    m_ending = true;
    emit programEnded();
}

void MainWindow::observeDocument()
{
    chartdoc::ChartDocument &doc = *m_document;
    connect(&doc, &chartdoc::ChartDocument::legendChanged, this, [this](const QString &text) {
        QString plain = text;
        plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (plain != m_txtLegend->toPlainText())
            m_txtLegend->setPlainText(plain);
    });
    // The legend box is the document's legend as the user types it.
    connect(m_txtLegend, &QPlainTextEdit::textChanged, this, [this] {
        QString text = m_txtLegend->toPlainText();
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        m_document->setLegendText(text);
    });
    connect(&doc, &chartdoc::ChartDocument::chartReplaced, m_chart1, qOverload<>(&QWidget::update));
    connect(m_chart1, &ChartWidget::modelEditedByUser, &doc,
            [&doc](const chartview::ChartModel &before) {
                doc.recordEdit(QStringLiteral("点の移動"), before);
            });
}

void MainWindow::SSCmdChart_Click()
{
    auto *white1 = m_column->control<QWidget>(QStringLiteral("SSprnWhite_1"));
    auto *white2 = m_column->control<QWidget>(QStringLiteral("SSprnWhite_2"));
    const bool toChart2 = !m_chart1->isHidden();
    m_viewOptions->stopAutoRotation(); // it turns Chart1, which goes out of sight
    m_chart2->setVisible(toChart2);
    m_chart1->setVisible(!toChart2);
    // The second white-print button prints Chart2; it takes the first one's place.
    white2->setVisible(toChart2);
    white1->setVisible(!toChart2);
    if (toChart2)
        m_chart2->raise(); // over the legend box, as it reaches down over it
    chartview::ChartView &shown = toChart2 ? chart2() : chart1();
    if (toChart2) {
        m_loadSave->chartOptionStep(shown, chartdoc::OptionsMode::TitleRule, m_state.currentFile);
    } else {
        m_document->edit(QStringLiteral("Chart"), [&] {
            m_loadSave->chartOptionStep(shown, chartdoc::OptionsMode::TitleRule,
                                        m_state.currentFile);
        });
    }
    m_hovered->clear();
}

void MainWindow::SScmdQEL_Click()
{
    m_voiceWindows->form2()->setCurrentFile(m_state.currentFile);
    m_voiceWindows->showSettings(0);
}

settings::Form2 *MainWindow::settingsWindow() const
{
    return m_voiceWindows->form2();
}

void MainWindow::txtLegend_DblClick()
{
    const LegendFontChoice current{m_txtLegend->font(),
                                   m_txtLegend->palette().color(QPalette::Text)};
    const std::optional<LegendFontChoice> chosen =
        m_legendFont ? m_legendFont(current) : std::nullopt;
    if (!chosen)
        return; // cancelled: nothing changes
    m_txtLegend->setFont(chosen->font);
    if (chosen->color.isValid()) {
        QPalette palette = m_txtLegend->palette();
        palette.setColor(QPalette::Text, chosen->color);
        m_txtLegend->setPalette(palette);
    }
}

void MainWindow::buildEditMenu()
{
    QMenu *edit = new QMenu(QStringLiteral("編集(&E)"), this);
    menuBar()->insertMenu(menuBar()->actions().value(1), edit);
    QUndoStack &stack = m_document->undoStack();
    QAction *undo = stack.createUndoAction(this, QStringLiteral("元に戻す"));
    undo->setObjectName(QStringLiteral("editUndo"));
    undo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    QAction *redo = stack.createRedoAction(this, QStringLiteral("やり直し"));
    redo->setObjectName(QStringLiteral("editRedo"));
    redo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    QAction *copy = edit->addAction(QStringLiteral("図をコピー"), QKeySequence::Copy, this,
                                    &MainWindow::copyChart);
    copy->setObjectName(QStringLiteral("editCopyChart"));
    copy->setStatusTip(QStringLiteral("表示中の図を PNG と SVG でクリップボードに置きます"));
    edit->addAction(QStringLiteral("設定..."), QKeySequence::Preferences, this,
                    &MainWindow::SScmdQEL_Click)
        ->setObjectName(QStringLiteral("editSettings"));
}

void MainWindow::copyChart()
{
    ChartWidget *shown = chart2Visible() ? m_chart2 : m_chart1;
    m_clipboard->setMimeData(chartview::ChartClipboard::mimeData(shown->chart()));
}

Form3 *MainWindow::form3() const
{
    return m_form3;
}

void MainWindow::SSCmdGradient_Click()
{
    chart1().setGradientOn(true);
    if (!m_form3) {
        m_form3State = std::make_unique<Form3State>(*m_document);
        m_form3 = new Form3(*m_form3State, this);
    }
    m_form3->show();
    m_form3->raise();
    m_form3->activateWindow();
}

} // namespace qel::shell
