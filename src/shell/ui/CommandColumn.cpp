#include "shell/ui/CommandColumn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace qel::shell {

namespace {

QString text(const char16_t *utf16)
{
    return utf16 ? QString::fromUtf16(utf16) : QString();
}

template <typename T> T *named(QWidget *parent, const char16_t *name)
{
    T *widget = new T(parent);
    widget->setObjectName(text(name));
    return widget;
}

// A command of the column: a bevelled button that takes the width its cell gives it.
QToolButton *command(QWidget *parent, const char16_t *name, const char16_t *caption,
                     const char16_t *tip = nullptr)
{
    auto *b = named<QToolButton>(parent, name);
    b->setText(text(caption));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setFocusPolicy(Qt::TabFocus);
    if (tip) {
        b->setToolTip(text(tip));
        b->setStatusTip(text(tip));
    } else if (caption && *caption) {
        b->setStatusTip(text(caption));
    }
    return b;
}

QGroupBox *group(QWidget *parent, const char16_t *name, const char16_t *title)
{
    auto *box = named<QGroupBox>(parent, name);
    box->setTitle(text(title));
    return box;
}

QGridLayout *grid(QWidget *box)
{
    auto *g = new QGridLayout(box);
    g->setContentsMargins(6, 4, 6, 6);
    g->setHorizontalSpacing(4);
    g->setVerticalSpacing(3);
    return g;
}

// A frame that only holds groups: no border of its own, its groups show the separation.
QGroupBox *holder(QWidget *parent, const char16_t *name)
{
    auto *frame = named<QGroupBox>(parent, name);
    frame->setFlat(true);
    frame->setStyleSheet(QStringLiteral("QGroupBox#%1 { border: 0px; margin: 0px; padding: 0px; }")
                             .arg(frame->objectName()));
    auto *v = new QVBoxLayout(frame);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(4);
    return frame;
}

// A box for a short number: room for a few digits, no more.
void narrow(QLineEdit *edit, int digits)
{
    const int w = edit->fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('0'))) + 14;
    edit->setFixedWidth(w);
}

} // namespace

CommandColumn::CommandColumn(QWidget *form)
    : m_form(form)
    , m_frame2(holder(form, u"Frame2"))
    , m_frame3(holder(form, u"Frame3"))
{
    buildFrame2();
    buildFrame3();
}

void CommandColumn::buildFrame2()
{
    auto *files = group(m_frame2, u"fileGroup", u"ファイルと設定");
    QGridLayout *g = grid(files);
    auto *help = command(files, u"cmdQelHlp", u"?", u"ヘルプ、ここにファイルをドロップできます");
    help->setAcceptDrops(true);
    g->addWidget(help, 0, 0);
    g->addWidget(command(files, u"Calculater", u"電卓"), 0, 1);
    g->addWidget(command(files, u"kyCommand", u""), 0, 2);
    g->addWidget(command(files, u"SSCmdChart", u"Chart", u"チャート切り替え"), 1, 0);
    g->addWidget(command(files, u"SSCmdGradient", u"配色と設定", u"配色と設定"), 1, 1, 1, 2);
    g->addWidget(command(files, u"SScmdQEL", u"オプションと設定", u"オプションと設定"), 2, 0, 1, 3);
    auto *combo = named<QComboBox>(files, u"Combo1");
    combo->setToolTip(QStringLiteral("最近使ったファイル"));
    combo->setStatusTip(combo->toolTip());
    // A long path must not widen the column; the drop-down shows it whole.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(8);
    g->addWidget(combo, 3, 0, 1, 3);
    g->addWidget(command(files, u"cmdViewListFile", u"View List File"), 4, 0, 1, 3);
    m_frame2->layout()->addWidget(files);

    auto *print = group(m_frame2, u"SSFrame1", u"印刷");
    g = grid(print);
    g->addWidget(command(print, u"SSPrint", u"背景付き印刷", u"背景付き印刷"), 0, 0);
    for (const char16_t *white : {u"SSprnWhite_1", u"SSprnWhite_2"}) {
        // Index 2 stands in for index 1 while Chart2 is shown.
        auto *b = command(print, white, u"背景無色印刷", u"背景無色印刷");
        b->setVisible(QStringView(white) == u"SSprnWhite_1");
        g->addWidget(b, 0, 1);
    }
    g->addWidget(command(print, u"SSprnForm", u"PrnForm"), 1, 0);
    auto *page = command(print, u"SSCmdPage", u"", u"page");
    page->setIcon(print->style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    page->setToolButtonStyle(Qt::ToolButtonIconOnly);
    g->addWidget(page, 1, 1);
    g->addWidget(command(print, u"CmdPrnChart", u"Print as Screen"), 2, 0);
    g->addWidget(command(print, u"CmdPrnForm", u"Print Form"), 2, 1);
    g->addWidget(command(print, u"CmdPrnFill", u"Print Filling the Page"), 3, 0, 1, 2);
    m_frame2->layout()->addWidget(print);
}

void CommandColumn::buildFrame3()
{
    auto *view = group(m_frame3, u"SSFrame2", u"表示");
    QGridLayout *g = grid(view);
    g->addWidget(command(view, u"SSCmdVertConst", u"Vertical Const."), 0, 0);
    g->addWidget(command(view, u"SSCmdPointArrow", u"Pointing Arrow"), 0, 1);
    // Index 1 sets the data lines, index 0 the grid lines; index 2 does nothing.
    auto *lines = new QHBoxLayout;
    lines->setSpacing(2);
    auto *dataLines = command(view, u"SSCmdThick2Dlines_1", u"Thick 2D-lines", u"left/right mouse");
    dataLines->setStatusTip(QStringLiteral("線を太く（右クリックか Shift+Space で細く）"));
    lines->addWidget(dataLines);
    auto *spare = command(view, u"SSCmdThick2Dlines_2", u"");
    spare->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    lines->addWidget(spare);
    g->addLayout(lines, 1, 0);
    auto *gridLines = command(view, u"SSCmdThick2Dlines_0", u"ThickGridLines", u"grid size");
    gridLines->setStatusTip(QStringLiteral("目盛線を太く（右クリックか Shift+Space で細く）"));
    g->addWidget(gridLines, 1, 1);
    g->addWidget(command(view, u"SSCmdThickWall", u"Thick 3D-wall ", u"wall"), 2, 0);
    g->addWidget(command(view, u"SSCmdhartOnly", u"OnlyChart", u"onlyChart"), 2, 1);
    auto *size = command(view, u"FontSize", u"FontSize", u"left/right mouse");
    size->setStatusTip(QStringLiteral("文字を大きく（右クリックか Shift+Space で小さく）"));
    g->addWidget(size, 3, 0);
    g->addWidget(command(view, u"FontSizeReset", u"fontSizeReset", u"fontSizeReset"), 3, 1);

    const struct
    {
        const char16_t *name;
        const char16_t *caption;
        const char16_t *tip;
    } rotate[] = {
        {u"SSCommandRotate_0", u"←", u"図の左回転"},
        {u"SSCommandRotate_1", u"→", u"図の右回転"},
        {u"SSCommandRotate_2", u"«", u"左自動回転"},
        {u"SSCommandRotate_3", u"»", u"自動回転"},
    };
    auto *turns = new QHBoxLayout;
    turns->setSpacing(2);
    for (const auto &r : rotate) {
        auto *b = command(view, r.name, r.caption, r.tip);
        // The automatic ones stay down while their rotation runs.
        b->setCheckable(QStringView(r.name).endsWith(u'2') || QStringView(r.name).endsWith(u'3'));
        turns->addWidget(b);
    }
    g->addLayout(turns, 4, 0, 1, 2);

    const struct
    {
        const char16_t *name;
        const char16_t *caption;
        const char16_t *tip;
        int row;
        int column;
    } checks[] = {
        {u"SSCheck_CL_HIDEXLEG", u"Hide X-leg.", u"x軸値の非＆表示", 5, 0},
        {u"SSCheck_CL_HIDEYLEG", u"Hide Y-leg.", u"ｙ軸値の非＆表示", 5, 1},
        {u"SSChkHidden", u"Erase hidden", u"空データの削除", 6, 0},
    };
    for (const auto &c : checks) {
        auto *box = named<QCheckBox>(view, c.name);
        box->setText(text(c.caption));
        box->setToolTip(text(c.tip));
        box->setStatusTip(text(c.tip));
        g->addWidget(box, c.row, c.column);
    }
    const struct
    {
        const char16_t *name;
        const char16_t *caption;
        int row;
        int column;
    } ribbons[] = {{u"SSRibbon2", u"ｚ軸説明", 6, 1}, {u"SSRibbon3", u"x軸値の縦横書き", 7, 0}};
    for (const auto &r : ribbons) {
        auto *ribbon = command(view, r.name, r.caption, r.caption);
        ribbon->setCheckable(true);
        g->addWidget(ribbon, r.row, r.column, 1, r.column == 0 ? 2 : 1);
    }

    const struct
    {
        const char16_t *label;
        const char16_t *box;
        const char16_t *scroll;
        const char16_t *caption;
        const char16_t *initial;
        int maximum;
    } numbers[] = {
        {u"Label3", u"xGapText", u"VScroll1", u"x軸値の間隔", u"0", 100},
        {u"Label4", u"depthText", u"VScroll2", u"奥行きの深さ", u"50", 999},
    };
    auto *amounts = new QGridLayout;
    amounts->setHorizontalSpacing(4);
    amounts->setVerticalSpacing(3);
    int row = 0;
    for (const auto &n : numbers) {
        const QString tip = text(n.caption);
        auto *caption = named<QLabel>(view, n.label);
        caption->setText(tip);
        auto *box = named<QLineEdit>(view, n.box);
        box->setText(text(n.initial));
        box->setToolTip(tip);
        box->setStatusTip(tip + QStringLiteral("（Enter で適用）"));
        narrow(box, 4);
        caption->setBuddy(box);
        auto *scroll = named<QScrollBar>(view, n.scroll);
        scroll->setOrientation(Qt::Horizontal);
        scroll->setRange(0, n.maximum);
        scroll->setPageStep(n.maximum / 10);
        scroll->setValue(box->text().toInt());
        scroll->setToolTip(tip);
        scroll->setStatusTip(tip);
        scroll->setMinimumWidth(60);
        amounts->addWidget(caption, row, 0);
        amounts->addWidget(box, row, 1);
        amounts->addWidget(scroll, row, 2);
        ++row;
    }
    amounts->setColumnStretch(2, 1);
    g->addLayout(amounts, 8, 0, 1, 2);
    g->setColumnStretch(0, 1);
    g->setColumnStretch(1, 1);
    m_frame3->layout()->addWidget(view);

    // Point inspection.
    auto *inspect = group(m_frame3, u"Frame1", u"データ点");
    g = grid(inspect);
    auto *track = named<QCheckBox>(inspect, u"Check2");
    track->setText(QStringLiteral("Track Mouse"));
    track->setStatusTip(QStringLiteral("マウスの下のデータ点を追う"));
    g->addWidget(track, 0, 0, 1, 4);
    const struct
    {
        const char16_t *label;
        const char16_t *caption;
        const char16_t *box;
        const char16_t *hint;
    } points[] = {{u"Label1", u"Series:", u"Text1", u"系列の番号"},
                  {u"Label2", u"Value:", u"Text2", u"点の番号"}};
    int column = 0;
    for (const auto &p : points) {
        auto *label = named<QLabel>(inspect, p.label);
        label->setText(text(p.caption));
        auto *box = named<QLineEdit>(inspect, p.box);
        box->setStatusTip(text(p.hint));
        narrow(box, 4);
        label->setBuddy(box);
        g->addWidget(label, 1, column++);
        g->addWidget(box, 1, column++);
    }
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    m_frame3->layout()->addWidget(inspect);

    auto *states = new QHBoxLayout;
    states->setContentsMargins(6, 0, 6, 0);
    for (const char16_t *name : {u"LblTabEditerSet", u"lblCountValError", u"Label5"}) {
        auto *label = named<QLabel>(m_frame3, name);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        states->addWidget(label, 1);
    }
    // Last in the tab order, so the arrow keys never reach the charts by tabbing.
    auto *last = named<QLabel>(m_frame3, u"Label6");
    last->setFocusPolicy(Qt::TabFocus);
    last->setFixedSize(1, 1);
    states->addWidget(last);
    static_cast<QVBoxLayout *>(m_frame3->layout())->addLayout(states);
}

QList<QWidget *> CommandColumn::controls() const
{
    QList<QWidget *> named;
    for (QGroupBox *frame : {m_frame2, m_frame3}) {
        for (QWidget *w : frame->findChildren<QWidget *>()) {
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
                named.append(w);
        }
    }
    return named;
}

} // namespace qel::shell
