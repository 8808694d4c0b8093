#include "settings/ui/Form2.h"

#include "chartview/ChartView.h"
#include "os/UserDialogs.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace qel::settings {

namespace {

// The boxes keep CR LF; the editors show plain line feeds.
QString toEditor(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString fromEditor(QString text)
{
    return text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

} // namespace

Form2::Form2(Form2State &state, chartview::ChartView &chart, os::UserDialogs &dialogs,
             QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_state(state)
    , m_chart(chart)
    , m_dialogs(dialogs)
    , m_tabs(new QTabWidget(this))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(Form2State::caption(QString()));
    m_tabs->setObjectName(QStringLiteral("SSTab1"));

    auto *page = new QWidget;
    auto *titles = new QGroupBox(QStringLiteral("タイトル"), page);
    auto *titleForm = new QFormLayout(titles);
    const std::array<std::pair<Form2State::Box, QString>, 4> titleBoxes = {{
        {Form2State::TxtTop, QStringLiteral("上")},
        {Form2State::TxtLeft, QStringLiteral("左")},
        {Form2State::TxtBottom, QStringLiteral("下")},
        {Form2State::TxtRight, QStringLiteral("右")},
    }};
    for (const auto &[box, label] : titleBoxes) {
        auto *edit = new QPlainTextEdit(titles);
        edit->setObjectName(Form2State::boxName(box));
        edit->setTabChangesFocus(true);
        edit->setFixedHeight(box == Form2State::TxtBottom ? 64 : 44);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, box, edit] {
            if (!m_updating)
                m_state.setText(box, fromEditor(edit->toPlainText()));
        });
        m_titles[std::size_t(box)] = edit;
        titleForm->addRow(label, edit);
    }

    auto *fields = new QGroupBox(QStringLiteral("データ範囲"), page);
    auto *grid = new QGridLayout(fields);
    const std::array<std::pair<Form2State::Box, QString>, 4> fieldBoxes = {{
        {Form2State::TxtGrp0, QStringLiteral("グループ 始")},
        {Form2State::TxtGrp1, QStringLiteral("終")},
        {Form2State::TxtCpg0, QStringLiteral("ポイント 始")},
        {Form2State::TxtCpg1, QStringLiteral("終")},
    }};
    int i = 0;
    for (const auto &[box, label] : fieldBoxes) {
        auto *edit = new QLineEdit(fields);
        edit->setObjectName(Form2State::boxName(box));
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this,
                [this, box](const QString &text) { m_state.setText(box, text); });
        m_fields[std::size_t(box - Form2State::TxtGrp0)] = edit;
        grid->addWidget(new QLabel(label, fields), i / 2, (i % 2) * 2);
        grid->addWidget(edit, i / 2, (i % 2) * 2 + 1);
        ++i;
    }

    auto *buttons = new QHBoxLayout;
    for (int index = 0; index < 2; ++index) {
        auto *ok = new QPushButton(QStringLiteral("OK"), page);
        ok->setObjectName(QStringLiteral("SScmdOK"));
        ok->setProperty("index", index);
        connect(ok, &QPushButton::clicked, this, [this, index] { SScmdOK_Click(index); });
        m_ok[std::size_t(index)] = ok;
    }
    auto *version = new QPushButton(QStringLiteral("Version"), page);
    version->setObjectName(QStringLiteral("SSCmdVersion"));
    connect(version, &QPushButton::clicked, this, &Form2::versionRequested);
    auto *history = new QPushButton(QStringLiteral("qelProアクセス記録表示"), page);
    history->setObjectName(QStringLiteral("SScmdHistory"));
    connect(history, &QPushButton::clicked, this, &Form2::historyRequested);
    buttons->addWidget(version);
    buttons->addWidget(history);
    buttons->addStretch();
    buttons->addWidget(m_ok[0]);

    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(titles);
    pageLayout->addWidget(fields);
    pageLayout->addLayout(buttons);
    m_tabs->addTab(page, QStringLiteral("タイトルとデータ"));

    // The editor and voice choices come to this tab.
    auto *second = new QWidget;
    auto *secondLayout = new QVBoxLayout(second);
    m_secondLayout = secondLayout;
    secondLayout->addStretch();
    auto *back = new QHBoxLayout;
    back->addStretch();
    back->addWidget(m_ok[1]);
    secondLayout->addLayout(back);
    m_tabs->addTab(second, QStringLiteral("エディターと音声"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);

    for (int b = 0; b < Form2State::BoxCount; ++b)
        showState(Form2State::Box(b), m_state.text(Form2State::Box(b)));
    connect(&m_state, &Form2State::textChanged, this, &Form2::showState);
}

void Form2::addToSecondTab(QWidget *widget)
{
    // Above the stretch that keeps the OK button at the bottom.
    m_secondLayout->insertWidget(m_secondLayout->count() - 2, widget);
}

void Form2::showOnTab(int tab, bool modal)
{
    m_tabs->setCurrentIndex(tab);
    const Qt::WindowModality modality = modal ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != modality) {
        hide(); // modality changes only while the window is hidden
        setWindowModality(modality);
    }
    show();
    raise();
    activateWindow();
}

QPlainTextEdit *Form2::titleBox(Form2State::Box box) const
{
    return box <= Form2State::TxtRight ? m_titles[std::size_t(box)] : nullptr;
}

QLineEdit *Form2::dataFieldBox(Form2State::Box box) const
{
    return box >= Form2State::TxtGrp0 ? m_fields[std::size_t(box - Form2State::TxtGrp0)] : nullptr;
}

void Form2::showState(Form2State::Box box, const QString &text)
{
    m_updating = true;
    if (QPlainTextEdit *edit = titleBox(box)) {
        if (fromEditor(edit->toPlainText()) != text)
            edit->setPlainText(toEditor(text));
    } else if (QLineEdit *edit = dataFieldBox(box)) {
        if (edit->text() != text)
            edit->setText(text);
    }
    m_updating = false;
}

void Form2::setCurrentFile(const QString &path)
{
    m_currentFile = path;
    setWindowTitle(Form2State::caption(path));
}

void Form2::load()
{
    m_state.loadTitleBoxes(m_chart);
}

void Form2::unload()
{
    m_state.applyTitleBoxes(m_chart);
    QWidget::hide();
}

void Form2::showEvent(QShowEvent *event)
{
    setWindowTitle(Form2State::caption(m_currentFile));
    load();
    QWidget::showEvent(event);
}

void Form2::closeEvent(QCloseEvent *event)
{
    m_state.applyTitleBoxes(m_chart);
    QWidget::closeEvent(event);
}

void Form2::SScmdOK_Click(int index)
{
    if (index == 1) {
        m_tabs->setCurrentIndex(0);
        return;
    }
    std::optional<Form2State::Box> focus;
    if (m_applyDataFields && !m_applyDataFields(2, focus)) {
        if (focus) {
            m_dialogs.beep();
            m_tabs->setCurrentIndex(0);
            dataFieldBox(*focus)->setFocus();
        }
        return;
    }
    // A box holding only line breaks holds no text.
    const bool right = !m_state.text(Form2State::TxtRight).trimmed().isEmpty();
    m_chart.setSecondYAxis(0, right ? 1 : -1);
    unload(); // a changed field reaches the colour window as a replaced chart
}

bool Form2::dataFieldLeft(Form2State::Box box)
{
    QLineEdit *edit = dataFieldBox(box);
    if (!edit || Form2State::isValidDataField(edit->text()))
        return true;
    m_dialogs.beep();
    edit->setFocus();
    return false;
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        for (int b = Form2State::TxtGrp0; b <= Form2State::TxtCpg1; ++b) {
            if (watched == dataFieldBox(Form2State::Box(b))) {
                // Back into the box once the focus change has finished.
                const auto box = Form2State::Box(b);
                QTimer::singleShot(0, this, [this, box] { dataFieldLeft(box); });
                break;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qel::settings
