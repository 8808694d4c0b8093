#pragma once

#include "settings/VoiceSettings.h"

#include <QGroupBox>

#include <array>

class QGridLayout;
class QLabel;
class QPushButton;

namespace qel::settings {

// The voice half of the settings window: the choices of the text reader, the
// document talker and the speech engine, the voice test and the three labels. What cannot
// speak on this machine is named with what to install.
class VoicePanel : public QGroupBox
{
    Q_OBJECT

public:
    VoicePanel(VoiceSettings &settings, const QStringList &missing, QWidget *parent = nullptr);

    // cmdSetEditVoice(1..3).
    QPushButton *choiceButton(int index) const { return m_choices[std::size_t(index - 1)]; }
    QPushButton *kakuninButton() const { return m_kakunin; }
    QLabel *qelVoicePgm() const { return m_pgm; }
    QLabel *qelVoiceCaption() const { return m_caption; }
    QLabel *qelVoicePgmFile() const { return m_file; }
    QLabel *missingLabel() const { return m_missing; }

    void showLabels(const VoiceSettings::Labels &labels);

private:
    VoiceSettings &m_settings;
    QGridLayout *m_grid;
    std::array<QPushButton *, 3> m_choices{};
    QPushButton *m_kakunin;
    QLabel *m_pgm;
    QLabel *m_caption;
    QLabel *m_file;
    QLabel *m_missing;
};

} // namespace qel::settings
