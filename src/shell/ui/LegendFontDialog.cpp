#include "shell/ui/LegendFontDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace qel::shell {

LegendFontDialog::LegendFontDialog(const LegendFontChoice &current, QWidget *parent)
    : QDialog(parent)
    , m_fonts(new QFontDialog(current.font, this))
    , m_colorButton(new QPushButton(QStringLiteral("色(&C)..."), this))
    , m_color(current.color)
{
    setObjectName(QStringLiteral("legendFontDialog"));
    setWindowTitle(QStringLiteral("凡例の書体"));
    // The font chooser is embedded; this dialogue's own buttons answer for it.
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_colorButton->setObjectName(QStringLiteral("legendColor"));
    connect(m_colorButton, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(m_color, this, QStringLiteral("文字の色"));
        if (chosen.isValid()) {
            m_color = chosen;
            showColor();
        }
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(QStringLiteral("文字の色:"), this));
    colorRow->addWidget(m_colorButton);
    colorRow->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
    showColor();
}

void LegendFontDialog::showColor()
{
    QPixmap swatch(16, 16);
    swatch.fill(m_color.isValid() ? m_color : QColor(Qt::black));
    m_colorButton->setIcon(QIcon(swatch));
}

LegendFontChoice LegendFontDialog::choice() const
{
    return {m_fonts->currentFont(), m_color};
}

std::optional<LegendFontChoice> LegendFontDialog::ask(const LegendFontChoice &current,
                                                      QWidget *parent)
{
    LegendFontDialog dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

} // namespace qel::shell
