#include "shell/ui/MainWindow.h"

#include "chartdoc/FileTypeRegistration.h"
#include "chartdoc/TableFileReader.h"
#include "chartview/CfxOcx.h"
#include "chartview/ui/ChartWidget.h"
#include "os/AboutInfo.h"
#include "os/AccessLog.h"
#include "os/Resources.h"
#include "os/UserDialogs.h"
#include "os/ui/AboutWindow.h"
#include "shell/NotYetAvailable.h"
#include "shell/ProgramState.h"
#include "shell/QuitConfirmation.h"
#include "shell/StartupSequence.h"
#include "shell/WindowCaption.h"
#include "shell/ui/ChartInspection.h"
#include "shell/ui/HelpBrowser.h"
#include "shell/ui/PictureViewer.h"
#include "shell/ui/VoiceWindows.h"
#include "slides/SpeechOutput.h"
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
#include <QStyle>
#include <QToolButton>
#include <QUndoStack>

#include <tuple>

namespace qel::shell {

using chartview::ChartWidget;

namespace {

// The command column: rows of controls 255 twips apart, 240 high, inside frames 1800 wide.
constexpr int Row = 255;
constexpr int RowHeight = 240;
constexpr int Margin = 45;
constexpr int Inner = 1710;    // usable width inside Frame2 and Frame3
constexpr int SubInner = 1680; // usable width inside the frames nested in them

QRect rowRect(int top, int row, int left = Margin, int width = Inner)
{
    return QRect(left, top + row * Row, width, RowHeight);
}

QString wordPadName()
{
    return QStringLiteral("Wordpad.exe");
}

} // namespace

MainWindow::MainWindow(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_state(services.state)
    , m_dialogs(services.dialogs)
    , m_speech(services.speech)
    , m_settings(services.settings)
    , m_launcher(services.settings, services.dialogs, services.starter)
    , m_calculator(services.starter, m_launcher)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("qelPro"));
    os::initIconResources();
    setWindowIcon(QIcon(QStringLiteral(":/icons/qelPro.svg")));
    m_launcher.describe(wordPadName(), {QStringLiteral("テキストエディター"),
                                        QStandardPaths::findExecutable(QStringLiteral("xdg-open")),
                                        {}});
    buildForm();
    buildMenus();
    m_trap = std::make_unique<chartview::ChartErrorTrap>(
        m_chart1->chart(), m_globals.superGradientOn, m_globals.chartErrorShown);
    m_trap->setBeep(&QApplication::beep);
    m_frmMsg = std::make_unique<slides::FrmMsg>();
    m_document = std::make_unique<chartdoc::ChartDocument>(m_chart1->chart(), m_dialogs, *m_frmMsg);
    m_document->setDepthText(m_depthText->text());
    m_inspection = std::make_unique<ChartInspection>(ChartInspection::Parts{
        *m_chart1, *m_chart2, findChild<QLineEdit *>(QStringLiteral("Text1")),
        findChild<QLineEdit *>(QStringLiteral("Text2")), *m_frmMsg, m_dialogs, m_state, this,
        m_document.get()});
    m_loadSave = std::make_unique<LoadSave>(
        LoadSave::Context{m_state, m_settings, *m_document, m_chart2->chart(), *this});
    observeDocument();
    buildEditMenu();
    m_recent =
        std::make_unique<RecentListCommands>(m_recentFiles, m_state, m_dialogs, *this, *m_loadSave);
    m_voiceWindows = std::make_unique<VoiceWindows>(VoiceWindows::Parts{
        this, m_document->form2(), m_chart1->chart(), m_dialogs, services.settings, m_state,
        services.speechServices, [this] { return programFolder(); }, [this] { endProgram(); }});
    if (m_voiceWindows->hasSpeech())
        m_recent->setSettingsLoader([this] { m_voiceWindows->Save1Load2XclVoiceIni(2); });
    setAcceptDrops(true); // beyond the help button, a file dropped anywhere opens as well
}

MainWindow::~MainWindow() = default;

template <typename T> T *MainWindow::add(QWidget *parent, const QString &name, const QRect &twips)
{
    T *widget = new T(parent);
    widget->setObjectName(name);
    m_placed.push_back({widget, twips});
    return widget;
}

QAbstractButton *MainWindow::button(QWidget *parent, const QString &name, const QString &caption,
                                    const QString &tip, const QRect &twips)
{
    auto *b = add<QPushButton>(parent, name, twips);
    b->setText(caption);
    if (!tip.isEmpty())
        b->setToolTip(tip);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
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
    m_txtLegend->viewport()->installEventFilter(this);
    for (ChartWidget *chart : {m_chart1, m_chart2})
        connect(chart, &ChartWidget::commandTriggered, this,
                [this, chart](int command, bool &handled) {
                    chartCommand(chart == m_chart1 ? 1 : 2, command, handled);
                });

    m_frame2 = new QGroupBox(m_form);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    m_frame3 = new QGroupBox(m_form);
    m_frame3->setObjectName(QStringLiteral("Frame3"));
    QFont small(QStringLiteral("IPAPGothic"));
    small.setPointSizeF(8);
    for (QGroupBox *frame : {m_frame2, m_frame3}) {
        frame->setFont(small);
        frame->setStyleSheet(QStringLiteral("QPushButton, QToolButton { padding: 0px; }"));
    }
    buildFrame2();
    buildFrame3();

    m_chart1->setGeometry(twips().toPixels(g.chart1));
    m_chart2->setGeometry(twips().toPixels(g.chart2));
    m_txtLegend->setGeometry(twips().toPixels(g.legend));
    m_frame2->setGeometry(twips().toPixels(g.frame2));
    m_frame3->setGeometry(twips().toPixels(g.frame3));
    placeInner();
}

void MainWindow::buildFrame2()
{
    QWidget *f = m_frame2;
    m_cmdQelHlp = button(f, QStringLiteral("cmdQelHlp"), QStringLiteral("?"),
                         QStringLiteral("ヘルプ、ここにファイルをドロップできます"),
                         rowRect(Margin, 0, Margin, 360));
    m_cmdQelHlp->setAcceptDrops(true);
    m_cmdQelHlp->installEventFilter(this);
    connect(m_cmdQelHlp, &QAbstractButton::clicked, this, &MainWindow::cmdQelHlp_Click);
    auto *calc = button(f, QStringLiteral("Calculater"), QStringLiteral("電卓"), QString(),
                        rowRect(Margin, 0, 420, 870));
    connect(calc, &QAbstractButton::clicked, this, &MainWindow::Calculater_Click);
    button(f, QStringLiteral("kyCommand"), QString(), QString(), rowRect(Margin, 0, 1305, 450));

    pending(button(f, QStringLiteral("SSCmdChart"), QStringLiteral("Chart"),
                   QStringLiteral("チャート切り替え"), rowRect(Margin, 1, Margin, 600)),
            QStringLiteral("チャート切り替え"));
    pending(button(f, QStringLiteral("SSCmdGradient"), QStringLiteral("配色と設定"),
                   QStringLiteral("配色と設定"), rowRect(Margin, 1, 660, 1095)),
            QStringLiteral("配色と設定"));
    connect(button(f, QStringLiteral("SScmdQEL"), QStringLiteral("オプションと設定"),
                   QStringLiteral("オプションと設定"), rowRect(Margin, 2)),
            &QAbstractButton::clicked, this, [this] { m_voiceWindows->showSettings(0); });
    m_combo1 = add<QComboBox>(f, QStringLiteral("Combo1"), rowRect(Margin, 3));
    m_combo1->setToolTip(QStringLiteral("最近使ったファイル"));
    // Only a choice in the drop-down opens; keys and the wheel are filtered below.
    connect(m_combo1, &QComboBox::activated, this, [this] { m_recent->Combo1_Click(); });
    m_combo1->installEventFilter(this);
    auto *viewList = button(f, QStringLiteral("cmdViewListFile"), QStringLiteral("View List File"),
                            QString(), rowRect(Margin, 4));
    viewList->installEventFilter(this);

    // Printing.
    auto *print = add<QGroupBox>(f, QStringLiteral("SSFrame1"), QRect(30, 1335, 1740, 1590));
    const int top = 30;
    const int left = 30;
    pending(button(print, QStringLiteral("SSPrint"), QStringLiteral("背景付き印刷"),
                   QStringLiteral("背景付き印刷"), rowRect(top, 0, left, SubInner)),
            QStringLiteral("背景付き印刷"));
    for (int index : {1, 2}) {
        auto *white = button(print, QStringLiteral("SSprnWhite_%1").arg(index),
                             QStringLiteral("背景無色印刷"), QStringLiteral("背景無色印刷"),
                             rowRect(top, 1, left, SubInner));
        white->setVisible(index == 1); // index 2 stands in while Chart2 is shown
        pending(white, QStringLiteral("背景無色印刷"));
    }
    button(print, QStringLiteral("SSprnForm"), QStringLiteral("PrnForm"), QString(),
           rowRect(top, 2, left, 825)); // has no effect
    auto *page = button(print, QStringLiteral("SSCmdPage"), QString(), QStringLiteral("page"),
                        rowRect(top, 2, left + 855, 825));
    page->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    pending(page, QStringLiteral("page"));
    pending(button(print, QStringLiteral("CmdPrnChart"), QStringLiteral("Print as Screen"),
                   QString(), rowRect(top, 3, left, SubInner)),
            QStringLiteral("Print as Screen"));
    auto *fill =
        button(print, QStringLiteral("CmdPrnFill"), QStringLiteral("Print Filling the Page"),
               QString(), rowRect(top, 4, left, SubInner));
    QFont narrow = fill->font();
    narrow.setPointSizeF(7);
    fill->setFont(narrow); // the longest caption of the column
    pending(fill, QStringLiteral("Print Filling the Page"));
    pending(button(print, QStringLiteral("CmdPrnForm"), QStringLiteral("Print Form"), QString(),
                   rowRect(top, 5, left, SubInner)),
            QStringLiteral("Print Form"));
}

void MainWindow::buildFrame3()
{
    QWidget *f = m_frame3;
    auto *view = add<QGroupBox>(f, QStringLiteral("SSFrame2"), QRect(30, 30, 1740, 3885));
    const int top = 30;
    const int left = 30;
    auto viewButton = [&](const QString &name, const QString &caption, const QString &tip,
                          const QRect &twips) {
        pending(button(view, name, caption, tip, twips), caption.isEmpty() ? tip : caption);
    };
    viewButton(QStringLiteral("SSCmdVertConst"), QStringLiteral("Vertical Const."), QString(),
               rowRect(top, 0, left, SubInner));
    viewButton(QStringLiteral("SSCmdPointArrow"), QStringLiteral("Pointing Arrow"), QString(),
               rowRect(top, 1, left, SubInner));
    // Index 0 sets the grid lines, index 1 the data lines; index 2 does nothing.
    viewButton(QStringLiteral("SSCmdThick2Dlines_1"), QStringLiteral("Thick 2D-lines"),
               QStringLiteral("left/right mouse"), rowRect(top, 2, left, 1440));
    button(view, QStringLiteral("SSCmdThick2Dlines_2"), QString(), QString(),
           rowRect(top, 2, left + 1470, 210));
    viewButton(QStringLiteral("SSCmdThick2Dlines_0"), QStringLiteral("ThickGridLines"),
               QStringLiteral("grid size"), rowRect(top, 3, left, SubInner));
    viewButton(QStringLiteral("SSCmdThickWall"), QStringLiteral("Thick 3D-wall "),
               QStringLiteral("wall"), rowRect(top, 4, left, SubInner));
    viewButton(QStringLiteral("SSCmdhartOnly"), QStringLiteral("OnlyChart"),
               QStringLiteral("onlyChart"), rowRect(top, 5, left, 930));
    viewButton(QStringLiteral("FontSize"), QStringLiteral("FontSize"),
               QStringLiteral("left/right mouse"), rowRect(top, 5, left + 945, 735));
    viewButton(QStringLiteral("FontSizeReset"), QStringLiteral("fontSizeReset"),
               QStringLiteral("fontSizeReset"), rowRect(top, 6, left, SubInner));
    const struct
    {
        const char16_t *caption;
        const char16_t *tip;
    } rotate[] = {
        {u"←", u"図の左回転"}, {u"→", u"図の右回転"}, {u"«", u"左自動回転"}, {u"»", u"自動回転"}};
    for (int i = 0; i < 4; ++i) {
        const QString tip = QString::fromUtf16(rotate[i].tip);
        pending(button(view, QStringLiteral("SSCommandRotate_%1").arg(i),
                       QString::fromUtf16(rotate[i].caption), tip,
                       rowRect(top, 7, left + i * 420, 405)),
                tip);
    }
    const struct
    {
        const char16_t *name;
        const char16_t *caption;
        const char16_t *tip;
    } checks[] = {
        {u"SSCheck_CL_HIDEXLEG", u"Hide X-leg.", u"x軸値の非＆表示"},
        {u"SSCheck_CL_HIDEYLEG", u"Hide Y-leg.", u"ｙ軸値の非＆表示"},
        {u"SSChkHidden", u"Erase hidden", u"空データの削除"},
    };
    int row = 8;
    for (const auto &c : checks) {
        auto *box =
            add<QCheckBox>(view, QString::fromUtf16(c.name), rowRect(top, row++, left, SubInner));
        box->setText(QString::fromUtf16(c.caption));
        box->setToolTip(QString::fromUtf16(c.tip));
    }
    for (const auto &[name, text] :
         {std::pair{u"SSRibbon2", u"ｚ軸説明"}, std::pair{u"SSRibbon3", u"x軸値の縦横書き"}}) {
        auto *ribbon =
            add<QToolButton>(view, QString::fromUtf16(name), rowRect(top, row++, left, SubInner));
        ribbon->setText(QString::fromUtf16(text));
        ribbon->setToolTip(QString::fromUtf16(text));
        ribbon->setCheckable(true);
        if (QStringView(name) == u"SSRibbon2")
            pending(ribbon, QString::fromUtf16(text));
    }
    const struct
    {
        const char16_t *label;
        const char16_t *box;
        const char16_t *scroll;
        const char16_t *text;
        const char16_t *initial;
        int maximum;
        QLineEdit *MainWindow::*member;
    } numbers[] = {
        {u"Label3", u"xGapText", u"VScroll1", u"x軸値の間隔", u"0", 100, &MainWindow::m_xGapText},
        {u"Label4", u"depthText", u"VScroll2", u"奥行きの深さ", u"50", 999,
         &MainWindow::m_depthText},
    };
    for (const auto &n : numbers) {
        const QString tip = QString::fromUtf16(n.text);
        auto *caption =
            add<QLabel>(view, QString::fromUtf16(n.label), rowRect(top, row, left, 1110));
        caption->setText(tip);
        auto *box =
            add<QLineEdit>(view, QString::fromUtf16(n.box), rowRect(top, row, left + 1125, 345));
        box->setText(QString::fromUtf16(n.initial));
        box->setToolTip(tip);
        box->installEventFilter(this);
        connect(box, &QLineEdit::returnPressed, this, [this, tip] { notYetAvailable(tip); });
        auto *scroll = add<QScrollBar>(view, QString::fromUtf16(n.scroll),
                                       rowRect(top, row, left + 1485, 195));
        scroll->setOrientation(Qt::Vertical);
        scroll->setRange(0, n.maximum);
        scroll->setValue(box->text().toInt());
        scroll->setToolTip(tip);
        // The scroll bar only fills the box; the box applies the value.
        connect(scroll, &QScrollBar::valueChanged, box,
                [box](int value) { box->setText(QString::number(value)); });
        this->*n.member = box;
        ++row;
    }

    // Point inspection.
    auto *inspect = add<QGroupBox>(f, QStringLiteral("Frame1"), QRect(30, 3930, 1740, 570));
    auto *track =
        add<QCheckBox>(inspect, QStringLiteral("Check2"), rowRect(top, 0, left, SubInner));
    track->setText(QStringLiteral("Track Mouse"));
    pending(track, QStringLiteral("Track Mouse"));
    add<QLabel>(inspect, QStringLiteral("Label1"), rowRect(top, 1, left, 570))
        ->setText(QStringLiteral("Series:"));
    add<QLineEdit>(inspect, QStringLiteral("Text1"), rowRect(top, 1, left + 570, 300));
    add<QLabel>(inspect, QStringLiteral("Label2"), rowRect(top, 1, left + 885, 510))
        ->setText(QStringLiteral("Value:"));
    add<QLineEdit>(inspect, QStringLiteral("Text2"), rowRect(top, 1, left + 1395, 285));

    add<QLabel>(f, QStringLiteral("LblTabEditerSet"), QRect(Margin, 4530, 840, RowHeight));
    add<QLabel>(f, QStringLiteral("lblCountValError"), QRect(900, 4530, 855, RowHeight));
    add<QLabel>(f, QStringLiteral("Label5"), QRect(Margin, 4785, 1200, 150));
    // Last in the tab order, so the arrow keys never reach the charts by tabbing.
    add<QLabel>(f, QStringLiteral("Label6"), QRect(1500, 4785, 15, 15))
        ->setFocusPolicy(Qt::TabFocus);
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("開く..."), QKeySequence::Open, this, [this] { openCommand(); });
    file->addAction(QStringLiteral("保存..."), QKeySequence::Save, this, [this] { saveCommand(); });
    file->addAction(QStringLiteral("印刷..."), QKeySequence::Print, this,
                    [this] { m_chart1->runCommand(ChartWidget::CommandPrint); });
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

void MainWindow::pending(QAbstractButton *control, const QString &feature)
{
    connect(control, &QAbstractButton::clicked, this, [this, control, feature] {
        // A switch that does nothing yet must not look switched.
        if (control->isCheckable()) {
            const QSignalBlocker block(control);
            control->setChecked(!control->isChecked());
        }
        notYetAvailable(feature);
    });
}

void MainWindow::notYetAvailable(const QString &feature)
{
    m_dialogs.inform(NotYetAvailable::text(feature), os::MessageIcon::Information);
}

Twips MainWindow::twips() const
{
    return Twips(logicalDpiX(), logicalDpiY());
}

QSize MainWindow::innerTwips() const
{
    return twips().fromPixels(m_form->size());
}

void MainWindow::placeInner()
{
    const Twips t = twips();
    for (const Placed &p : m_placed)
        p.widget->setGeometry(t.toPixels(p.twips));
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
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_txtLegend->viewport())
            notYetAvailable(QStringLiteral("凡例の書体"));
        else if (watched == m_xGapText || watched == m_depthText)
            notYetAvailable(static_cast<QLineEdit *>(watched)->toolTip());
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::Form_Resize()
{
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
    }
    const ResizeLayout::Geometry &g = r.geometry;
    m_chart1->setGeometry(t.toPixels(g.chart1));
    m_chart2->setGeometry(t.toPixels(g.chart2));
    m_txtLegend->setGeometry(t.toPixels(g.legend));
    m_frame2->setGeometry(t.toPixels(g.frame2));
    m_frame3->setGeometry(t.toPixels(g.frame3));
    placeInner();
    m_spacing.follow(chart1(), r.rx, r.ry, r.resetX, r.resetY);
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
    StartupSequence({*this, m_state, m_settings, m_speech, m_globals, m_document->table()},
                    m_options)
        .run();
    // What start-up loaded is where the user begins: nothing to save yet.
    m_document->controlsFollowChart();
    m_document->resetHistory();
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
    switch (command) {
    case ChartWidget::CommandPrint:
        notYetAvailable(QStringLiteral("印刷"));
        break;
    case ChartWidget::CommandColors:
        notYetAvailable(QStringLiteral("配色と設定"));
        break;
    default:
        return; // the chart's own view commands
    }
    handled = true;
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
    // A registration that cannot be written does not stop start-up.
    chartdoc::FileTypeRegistration(dataHome, QCoreApplication::applicationFilePath())
        .registerFileTypes(m_options.runDesktopTools);
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
        connect(m_picture, &PictureViewer::printRequested, this,
                [this] { notYetAvailable(QStringLiteral("ピクチャーの印刷")); });
    }
    return m_picture->jpgShow(path);
}

void MainWindow::multSlideShow(const QString &folder, QString &source, int mode)
{
    Q_UNUSED(folder);
    Q_UNUSED(source);
    notYetAvailable(mode == 0 ? QStringLiteral("スライドショー")
                              : QStringLiteral("マルチスライドショー"));
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
    // The colour and settings windows arrive later; the help and about windows close here
    // so that nothing is left open after the main window.
    if (m_help)
        m_help->close();
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
    connect(&doc, &chartdoc::ChartDocument::controlsChanged, this, &MainWindow::showControls);
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
    connect(m_depthText, &QLineEdit::textEdited, &doc, &chartdoc::ChartDocument::setDepthText);
    connect(&doc, &chartdoc::ChartDocument::chartReplaced, m_chart1, qOverload<>(&QWidget::update));
    connect(m_chart1, &ChartWidget::modelEditedByUser, &doc,
            [&doc](const chartview::ChartModel &before) {
                doc.recordEdit(QStringLiteral("点の移動"), before);
            });

    auto *hideX = findChild<QCheckBox *>(QStringLiteral("SSCheck_CL_HIDEXLEG"));
    auto *hideY = findChild<QCheckBox *>(QStringLiteral("SSCheck_CL_HIDEYLEG"));
    auto *hidden = findChild<QCheckBox *>(QStringLiteral("SSChkHidden"));
    auto *ribbon3 = findChild<QToolButton *>(QStringLiteral("SSRibbon3"));
    connect(hideX, &QCheckBox::clicked, this, [this](bool on) {
        switchControl(QStringLiteral("Hide X-leg."), &chartdoc::ChartDocument::setHideXLegend, on);
    });
    connect(hideY, &QCheckBox::clicked, this, [this](bool on) {
        switchControl(QStringLiteral("Hide Y-leg."), &chartdoc::ChartDocument::setHideYLegend, on);
    });
    connect(ribbon3, &QToolButton::clicked, this, [this](bool on) {
        switchControl(QStringLiteral("x軸値の縦横書き"), &chartdoc::ChartDocument::setRibbon3, on);
    });
    connect(hidden, &QCheckBox::clicked, this, &MainWindow::SSChkHidden_Click);
    showControls();
}

void MainWindow::showControls()
{
    const chartdoc::ViewControls &c = m_document->controls();
    auto set = [this](const QString &name, bool on) {
        auto *b = findChild<QAbstractButton *>(name);
        const QSignalBlocker block(b);
        b->setChecked(on);
    };
    set(QStringLiteral("SSCheck_CL_HIDEXLEG"), c.hideXLegend);
    set(QStringLiteral("SSCheck_CL_HIDEYLEG"), c.hideYLegend);
    set(QStringLiteral("SSChkHidden"), c.hiddenChecked);
    set(QStringLiteral("SSRibbon3"), c.ribbon3);
    findChild<QCheckBox *>(QStringLiteral("SSChkHidden"))->setEnabled(c.hiddenEnabled);
    for (const auto &[box, text, scroll] :
         {std::tuple{m_xGapText, c.gapText, QStringLiteral("VScroll1")},
          std::tuple{m_depthText, c.depthText, QStringLiteral("VScroll2")}}) {
        if (box->text() != text)
            box->setText(text);
        auto *bar = findChild<QScrollBar *>(scroll);
        const QSignalBlocker block(bar);
        bar->setValue(text.toInt());
    }
}

void MainWindow::switchControl(const QString &text, void (chartdoc::ChartDocument::*set)(bool),
                               bool on)
{
    m_document->edit(text, [&] { (m_document.get()->*set)(on); });
    m_chart1->update();
}

void MainWindow::SSChkHidden_Click(bool checked)
{
    m_document->edit(QStringLiteral("Erase hidden"), [&] {
        m_document->setHiddenChecked(checked);
        // The question may answer Cancel, which clears the box and keeps the chart.
        const bool hasHidden = chartdoc::TableFileReader(*m_document).setChartData();
        m_document->setHiddenEnabled(hasHidden);
    });
    m_chart1->update();
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
    edit->addAction(QStringLiteral("設定..."), QKeySequence::Preferences, this,
                    [this] { m_voiceWindows->showSettings(0); })
        ->setObjectName(QStringLiteral("editSettings"));
}

} // namespace qel::shell
