#include "settings/ui/ReaderChooser.h"

#include "os/SettingsStore.h"
#include "slides/ReaderCatalog.h"
#include "slides/VoiceSystem.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qel::settings {

ReaderChooser::ReaderChooser(slides::ReaderCatalog &readers, os::SettingsStore &store,
                             QWidget *parent)
    : QDialog(parent)
    , m_store(store)
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("qelVoice"));
    setWindowTitle(QStringLiteral("qelVoice  テキストリーダーの選択"));
    m_list->setObjectName(QStringLiteral("readerList"));
    for (const slides::ReaderCatalog::Program &p : readers.programs()) {
        auto *item = new QListWidgetItem(
            p.available
                ? p.label + (p.readsKanji ? QStringLiteral("  (漢字を読みます)") : QString())
                : QStringLiteral("%1  — ありません: %2").arg(p.label, p.missingText),
            m_list);
        item->setData(Qt::UserRole, p.id);
        item->setToolTip(p.available ? p.label : p.missingText);
        if (!p.available)
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        else if (!m_list->currentItem())
            m_list->setCurrentItem(item);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setEnabled(m_list->currentItem() != nullptr);
    connect(m_list, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem *item) { m_ok->setEnabled(item != nullptr); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("テキストを読み上げるプログラムを選んでください。"), this));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(640, 240);
}

void ReaderChooser::done(int result)
{
    const QListWidgetItem *item = m_list->currentItem();
    const QString answer =
        result == Accepted && item
            ? slides::VoiceSystems::textReaderValueFor(item->data(Qt::UserRole).toString())
            : QStringLiteral("cancel");
    m_store.setValue(QStringLiteral("qelPro"), QStringLiteral("Startup"),
                     QStringLiteral("Set Voice pgm"), answer);
    QDialog::done(result);
}

} // namespace qel::settings
