#include "settings/ui/VoicePanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace qel::settings {

VoicePanel::VoicePanel(VoiceSettings &settings, const QStringList &missing, QWidget *parent)
    : QGroupBox(QStringLiteral("音声"), parent)
    , m_settings(settings)
    , m_grid(new QGridLayout(this))
{
    setObjectName(QStringLiteral("frameSetEditVoice"));
    const char *tips[] = {
        "外の読み上げプログラム (Open JTalk、espeak-ng、spd-say) で読みます",
        "読み上げプログラムを文ごとに起動しなおして読みます",
        "このプログラムの音声合成エンジン (Open JTalk / eSpeak NG) で読みます",
    };
    for (int index = 1; index <= 3; ++index) {
        auto *b = new QPushButton(VoiceSettings::caption(index), this);
        b->setObjectName(QStringLiteral("cmdSetEditVoice_%1").arg(index));
        b->setToolTip(QString::fromUtf8(tips[index - 1]));
        connect(b, &QPushButton::clicked, this,
                [this, index] { m_settings.cmdSetEditVoice_Click(index); });
        m_choices[std::size_t(index - 1)] = b;
        m_grid->addWidget(b, index, 0);
    }
    m_kakunin = new QPushButton(QStringLiteral("Check/確認"), this);
    m_kakunin->setObjectName(QStringLiteral("cmdKakunin"));
    connect(m_kakunin, &QPushButton::clicked, this, [this] { m_settings.cmdKakunin_Click(); });
    m_grid->addWidget(m_kakunin, 4, 0);

    m_pgm = new QLabel(this);
    m_pgm->setObjectName(QStringLiteral("qelVoicePgm"));
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("qelVoiceCaption"));
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("qelVoicePgmFile"));
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const std::pair<const char16_t *, QLabel *> rows[] = {
        {u"ボイスシステム", m_pgm}, {u"タグ", m_caption}, {u"Voice pgm", m_file}};
    int row = 1;
    for (const auto &[caption, label] : rows) {
        m_grid->addWidget(new QLabel(QString::fromUtf16(caption), this), row, 1);
        m_grid->addWidget(label, row++, 2);
    }
    m_missing = new QLabel(missing.join(QLatin1Char('\n')), this);
    m_missing->setObjectName(QStringLiteral("voiceMissing"));
    m_missing->setWordWrap(true);
    m_missing->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_missing->setVisible(!missing.isEmpty());
    m_grid->addWidget(m_missing, 5, 0, 1, 3);
    m_grid->setColumnStretch(2, 1);

    connect(&m_settings, &VoiceSettings::labelsChanged, this, &VoicePanel::showLabels);
    showLabels(m_settings.labels());
}

void VoicePanel::showLabels(const VoiceSettings::Labels &labels)
{
    m_pgm->setText(labels.qelVoicePgm);
    m_caption->setText(labels.qelVoiceCaption);
    m_file->setText(labels.qelVoicePgmFile);
}

} // namespace qel::settings
