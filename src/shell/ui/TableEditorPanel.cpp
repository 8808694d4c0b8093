#include "shell/ui/TableEditorPanel.h"

#include "settings/VoiceSettings.h"
#include "shell/ProgramState.h"
#include "shell/StartupSettings.h"
#include "shell/ui/TableEditing.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace qel::shell {

namespace {

QPushButton *button(QWidget *parent, const QString &name, const QString &caption,
                    const QString &tip)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    return b;
}

} // namespace

TableEditorPanel::TableEditorPanel(TableEditing &editing, StartupSettings &settings,
                                   QWidget *parent)
    : QGroupBox(QStringLiteral("表編集"), parent)
    , m_editing(editing)
    , m_choose(button(this, QStringLiteral("cmdSetEditVoice_0"),
                      settings::VoiceSettings::caption(0),
                      QStringLiteral("表を編集する表計算プログラム (LibreOffice Calc、Gnumeric "
                                     "など) を選びます")))
    , m_editor(new QLabel(this))
    , m_tempo(new QLabel(this))
    , m_open(button(this, QStringLiteral("SSCmdXcelOpen"), QStringLiteral("エクセル編集"),
                    QStringLiteral("図の表 (.Tbx) を書き出して表計算プログラムで開きます")))
    , m_openRed(button(this, QStringLiteral("SSCmdXcelOpenRed"), QStringLiteral("エクセル編集"),
                       m_open->toolTip()))
    , m_new(button(this, QStringLiteral("SSCmdNewXcl"),
                   QStringLiteral("新規エクセル表作成(マクロ付き）"),
                   QStringLiteral("表のひな形 (formQel.Tbx) を表計算プログラムで開きます")))
    , m_follow(new QCheckBox(QStringLiteral("表計算で保存した表を図に反映する"), this))
    , m_memo(button(this, QStringLiteral("cmdQelMemo"), QStringLiteral("ユーザーメモ"),
                    QStringLiteral("プログラムフォルダーの ") + TableEditing::memoName() +
                        QStringLiteral(" をテキストエディターで開きます")))
{
    setObjectName(QStringLiteral("frameTableEditor"));
    m_editor->setObjectName(QStringLiteral("tableEditorPath"));
    m_editor->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_tempo->setObjectName(QStringLiteral("LblTempo"));
    m_follow->setObjectName(QStringLiteral("followTable"));
    QPalette red = m_openRed->palette();
    red.setColor(QPalette::ButtonText, Qt::red);
    m_openRed->setPalette(red);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_choose, 0, 0);
    grid->addWidget(m_editor, 0, 1);
    grid->addWidget(m_tempo, 0, 2);
    grid->addWidget(m_open, 1, 0);
    grid->addWidget(m_openRed, 1, 0);
    grid->addWidget(m_new, 1, 1, 1, 2);
    grid->addWidget(m_follow, 2, 0, 1, 3);
    grid->addWidget(m_memo, 3, 0);
    grid->setColumnStretch(1, 1);

    TableEditorHandOver &handOver = editing.handOver();
    connect(m_choose, &QPushButton::clicked, this, [this] { m_editing.chooseEditor(); });
    connect(m_open, &QPushButton::clicked, &handOver, &TableEditorHandOver::openTable);
    connect(m_openRed, &QPushButton::clicked, &handOver, &TableEditorHandOver::openTable);
    connect(m_new, &QPushButton::clicked, &handOver, &TableEditorHandOver::newTable);
    connect(m_memo, &QPushButton::clicked, this, [this] { m_editing.openMemo(); });
    m_follow->setChecked(editing.follower().isEnabled());
    connect(m_follow, &QCheckBox::toggled, this, [this, &settings](bool on) {
        settings.setFollowTable(on);
        m_editing.follower().setEnabled(on);
    });
    connect(&handOver, &TableEditorHandOver::buttonsChanged, this, &TableEditorPanel::showButtons);
    connect(&handOver, &TableEditorHandOver::tempoChanged, this, [this](const QString &text) {
        m_tempo->setText(text);
        showButtons(); // a choice was made or cancelled: the editor shown may have changed
    });
    m_tempo->setText(handOver.tempo());
    showButtons();
}

void TableEditorPanel::showButtons()
{
    const TableEditorButtons shown = m_editing.handOver().buttons();
    m_open->setVisible(shown.xcelOpen);
    m_openRed->setVisible(shown.xcelOpenRed);
    m_new->setVisible(shown.newXcl);
    const QString editor = m_editing.handOver().editorPath();
    m_editor->setText(editor.isEmpty() ? TableEditorHandOver::notSet() : editor);
}

} // namespace qel::shell
