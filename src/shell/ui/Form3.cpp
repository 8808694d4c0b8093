#include "shell/ui/Form3.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace qel::shell {

using namespace chartview;

namespace {

constexpr int Kinds[4] = {GradientNone, GradientVertical, GradientTwoWay, GradientBox};

// A colour box: a flat button that shows its colour and opens the colour dialogue.
QPushButton *colorBox(const QString &name, const QString &tip)
{
    auto *box = new QPushButton;
    box->setObjectName(name);
    box->setToolTip(tip);
    box->setAccessibleName(tip);
    box->setMinimumSize(44, 24);
    box->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return box;
}

void showColor(QPushButton *box, Rgb color)
{
    const QColor c = toQColor(color);
    box->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid "
                                      "palette(mid); border-radius: 3px; }"
                                      "QPushButton:focus { border: 2px solid palette(highlight); }")
                           .arg(c.name()));
}

QLineEdit *box(const QString &name, int width)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setMinimumWidth(width);
    return edit;
}

void setText(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text) {
        const QSignalBlocker block(edit);
        edit->setText(text);
    }
}

} // namespace

Form3::Form3(Form3State &state, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_state(state)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(Form3State::title());
    auto *columns = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    left->addWidget(buildBackground());
    left->addWidget(buildSeriesColors());
    left->addWidget(buildConstants());
    left->addStretch(1);
    columns->addLayout(left);
    columns->addWidget(buildPointStyles(), 1);
    connect(&m_state, &Form3State::changed, this, &Form3::refresh);
    refresh();
}

QToolButton *Form3::backgroundButton(int kind) const
{
    for (int i = 0; i < 4; ++i) {
        if (Kinds[i] == kind)
            return m_ribbon[std::size_t(i)];
    }
    return nullptr;
}

QWidget *Form3::buildBackground()
{
    auto *group = new QGroupBox(QStringLiteral("背景"));
    auto *grid = new QGridLayout(group);
    const struct
    {
        const char16_t *name;
        const char16_t *caption;
    } ribbons[4] = {{u"SSRibbon0", u"背景単色"},
                    {u"SSRibbon1p1", u"背景グラディエーション"},
                    {u"SSRibbon1p2", u"背景2方向グラディエーション"},
                    {u"SSRibbon1p4", u"背景透過グラディエーション"}};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QToolButton;
        b->setObjectName(QString::fromUtf16(ribbons[i].name));
        b->setText(QString::fromUtf16(ribbons[i].caption));
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const int kind = Kinds[i];
        // A ribbon stays down: a click on the one that is down applies it again.
        connect(b, &QToolButton::clicked, this, [this, kind] { m_state.SSRibbon_Click(kind); });
        m_ribbon[std::size_t(i)] = b;
        grid->addWidget(b, i / 2, i % 2);
    }
    auto *colors = new QHBoxLayout;
    colors->addWidget(new QLabel(QStringLiteral("グラディエーションの色")));
    for (int which : {1, 2}) {
        QPushButton *p = colorBox(QStringLiteral("Picture%1").arg(which),
                                  which == 1 ? QStringLiteral("外側の色（色1）")
                                             : QStringLiteral("内側の色（色2）"));
        connect(p, &QPushButton::clicked, this, [this, which] { m_state.Picture_Click(which); });
        m_picture[std::size_t(which - 1)] = p;
        colors->addWidget(p);
    }
    grid->addLayout(colors, 2, 0, 1, 2);
    return group;
}

QWidget *Form3::buildSeriesColors()
{
    auto *group = new QGroupBox(QStringLiteral("グループの色"));
    auto *grid = new QGridLayout(group);
    const QString tips[3] = {QStringLiteral("最初のグループの色"),
                             QStringLiteral("最後のグループの色"), QStringLiteral("中間色")};
    for (int i = 0; i < 3; ++i) {
        QPushButton *b = colorBox(QStringLiteral("PictureSerColor_%1").arg(i), tips[i]);
        connect(b, &QPushButton::clicked, this, [this, i] { m_state.PictureSerColor_Click(i); });
        m_serColor[std::size_t(i)] = b;
    }
    // First colour, via colour, last colour: the order the ramp runs in.
    grid->addWidget(m_serColor[0], 0, 0);
    grid->addWidget(m_serColor[2], 0, 1);
    grid->addWidget(m_serColor[1], 0, 2);

    auto *range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("グループ")));
    for (int i = 0; i < 2; ++i) {
        QLineEdit *e = box(QStringLiteral("colGrp%1").arg(i), 48);
        e->setToolTip(i == 0 ? QStringLiteral("最初のグループ（ダブルクリックで色1を付けます）")
                             : QStringLiteral("最後のグループ"));
        e->installEventFilter(this);
        connect(e, &QLineEdit::textEdited, this,
                [this, i](const QString &text) { m_state.setGroupText(i, text); });
        connect(e, &QLineEdit::returnPressed, &m_state, &Form3State::colGrp_LostFocus);
        m_group[std::size_t(i)] = e;
        range->addWidget(e);
        if (i == 0)
            range->addWidget(new QLabel(QStringLiteral("〜")));
    }
    range->addStretch(1);
    grid->addLayout(range, 1, 0, 1, 3);

    auto *ramp = new QPushButton(QStringLiteral("グループ配色"));
    ramp->setObjectName(QStringLiteral("CmdSerColor"));
    ramp->setToolTip(QStringLiteral("最初の色から最後の色へ、グループに順に色を付けます"));
    connect(ramp, &QPushButton::clicked, &m_state, &Form3State::CmdSerColor_Click);
    m_via = new QToolButton;
    m_via->setObjectName(QStringLiteral("cmdViaColor"));
    m_via->setText(QStringLiteral("中間色"));
    m_via->setToolTip(QStringLiteral("中間色を経由する配色の入り切り"));
    m_via->setCheckable(true);
    m_via->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_via, &QToolButton::clicked, &m_state, &Form3State::cmdViaColor_Click);
    auto *rnd = new QPushButton(QStringLiteral("ランダム配色"));
    rnd->setObjectName(QStringLiteral("cmdRnd"));
    rnd->setToolTip(QStringLiteral("すべてのグループに無作為の色を付けます"));
    connect(rnd, &QPushButton::clicked, &m_state, &Form3State::cmdRnd_Click);
    grid->addWidget(ramp, 2, 0);
    grid->addWidget(m_via, 2, 1);
    grid->addWidget(rnd, 2, 2);
    for (int c = 0; c < 3; ++c)
        grid->setColumnStretch(c, 1);
    return group;
}

QWidget *Form3::buildConstants()
{
    auto *group = new QGroupBox(QStringLiteral("定数と帯"));
    auto *grid = new QGridLayout(group);
    const QString headings[] = {QStringLiteral("定数"), QStringLiteral("説明"),
                                QStringLiteral("帯 from"), QStringLiteral("till"),
                                QStringLiteral("色")};
    for (int c = 0; c < 5; ++c)
        grid->addWidget(new QLabel(headings[c]), 0, c);
    for (int i = 0; i < Form3State::Rows; ++i) {
        const int row = i + 1;
        m_constVal[std::size_t(i)] = box(QStringLiteral("constVal_%1").arg(row), 56);
        m_constStr[std::size_t(i)] = box(QStringLiteral("constStr_%1").arg(row), 80);
        m_from[std::size_t(i)] = box(QStringLiteral("from_%1").arg(row), 56);
        m_till[std::size_t(i)] = box(QStringLiteral("till_%1").arg(row), 56);
        m_constCol[std::size_t(i)] =
            colorBox(QStringLiteral("constCol_%1").arg(row), QStringLiteral("帯 %1 の色").arg(row));
        for (QLineEdit *e : {m_constVal[std::size_t(i)], m_constStr[std::size_t(i)],
                             m_from[std::size_t(i)], m_till[std::size_t(i)]})
            connect(e, &QLineEdit::textEdited, this, &Form3::takeRows);
        connect(m_constCol[std::size_t(i)], &QPushButton::clicked, this,
                [this, i] { m_state.constCol_Click(i); });
        grid->addWidget(m_constVal[std::size_t(i)], row, 0);
        grid->addWidget(m_constStr[std::size_t(i)], row, 1);
        grid->addWidget(m_from[std::size_t(i)], row, 2);
        grid->addWidget(m_till[std::size_t(i)], row, 3);
        grid->addWidget(m_constCol[std::size_t(i)], row, 4);
    }
    m_command1 = new QPushButton(QStringLiteral("Draw/Cancel"));
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setToolTip(QStringLiteral("定数描画非＆表示"));
    connect(m_command1, &QPushButton::clicked, &m_state, &Form3State::Command1_Click);
    grid->addWidget(m_command1, Form3State::Rows + 1, 0, 1, 5);
    return group;
}

QWidget *Form3::buildPointStyles()
{
    auto *group = new QGroupBox(QStringLiteral("点の形と第2Y軸"));
    auto *layout = new QVBoxLayout(group);
    m_grid = new QTableWidget(0, Form3State::GridColumns);
    m_grid->setObjectName(QStringLiteral("fgPointStyle"));
    m_grid->setHorizontalHeaderLabels(Form3State::gridHeadings());
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < Form3State::GridColumns; ++c)
        m_grid->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    m_grid->setToolTip(QStringLiteral("□○△◎: 点の形、)(: 点なし、2ndY: 第2Y軸の入り切り"));
    m_grid->setMinimumWidth(320);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableWidget::cellClicked, this,
            [this](int row, int column) { m_state.fgPointStyle_Click(row + 1, column); });
    layout->addWidget(m_grid);
    return group;
}

void Form3::takeRows()
{
    for (int i = 0; i < Form3State::Rows; ++i) {
        m_state.setConstantRow(
            i, {m_constVal[std::size_t(i)]->text(), m_constStr[std::size_t(i)]->text()});
        m_state.setBandRow(i, {m_from[std::size_t(i)]->text(), m_till[std::size_t(i)]->text(),
                               m_state.bandRow(i).color});
    }
}

void Form3::refresh()
{
    const BackgroundGradient g = m_state.gradient();
    const int shown = g.painted() ? int(g.kind) : int(GradientNone);
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker block(m_ribbon[std::size_t(i)]);
        m_ribbon[std::size_t(i)]->setChecked(Kinds[i] == shown);
    }
    showColor(m_picture[0], g.color1);
    showColor(m_picture[1], g.color2);
    for (int i = 0; i < 3; ++i)
        showColor(m_serColor[std::size_t(i)], m_state.seriesColorBox(i));
    m_serColor[2]->setVisible(m_state.viaColorOn());
    {
        const QSignalBlocker block(m_via);
        m_via->setChecked(m_state.viaColorOn());
    }
    for (int i = 0; i < 2; ++i)
        setText(m_group[std::size_t(i)], m_state.groupText(i));
    for (int i = 0; i < Form3State::Rows; ++i) {
        const Form3State::ConstantRow c = m_state.constantRow(i);
        const Form3State::BandRow b = m_state.bandRow(i);
        setText(m_constVal[std::size_t(i)], c.value);
        setText(m_constStr[std::size_t(i)], c.caption);
        setText(m_from[std::size_t(i)], b.from);
        setText(m_till[std::size_t(i)], b.till);
        showColor(m_constCol[std::size_t(i)], b.color);
    }
    refreshGrid();
}

void Form3::refreshGrid()
{
    const std::vector<Form3State::PointStyleRow> rows = m_state.pointStyleRows();
    m_grid->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const Form3State::PointStyleRow &row = rows[std::size_t(r)];
        for (int c = 0; c < Form3State::GridColumns; ++c) {
            QString text;
            if (c == 0)
                text = row.text;
            else if (c <= 5)
                text = c == row.styleColumn ? QStringLiteral("*") : QString();
            else
                text = row.secondY ? QStringLiteral("2ndY") : QStringLiteral("-");
            QTableWidgetItem *item = m_grid->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(c == 0 ? Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter)
                                              : Qt::Alignment(Qt::AlignCenter));
                m_grid->setItem(r, c, item);
            }
            item->setText(text);
        }
    }
}

bool Form3::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_group[0] && event->type() == QEvent::MouseButtonDblClick) {
        m_state.colGrp0_DblClick();
        return true;
    }
    if ((watched == m_group[0] || watched == m_group[1]) && event->type() == QEvent::FocusOut)
        m_state.colGrp_LostFocus();
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        // The keyboard's click on the current cell.
        const auto key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
            m_grid->currentRow() >= 0) {
            m_state.fgPointStyle_Click(m_grid->currentRow() + 1, m_grid->currentColumn());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form3::showEvent(QShowEvent *event)
{
    refresh();
    QWidget::showEvent(event);
}

} // namespace qel::shell
