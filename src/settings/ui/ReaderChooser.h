#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace qel::os {
class SettingsStore;
}
namespace qel::slides {
class ReaderCatalog;
}

namespace qel::settings {

// Stands in for the companion program qelVoice.exe: the user picks the outside reader that
// the text reader is to be, and the answer is written to "Set Voice pgm" ("TTS.EXE <reader>"
// or "cancel"). Readers not on this machine are listed with what to install.
class ReaderChooser : public QDialog
{
    Q_OBJECT

public:
    ReaderChooser(slides::ReaderCatalog &readers, os::SettingsStore &store,
                  QWidget *parent = nullptr);

    QListWidget *list() const { return m_list; }
    QPushButton *okButton() const { return m_ok; }

    void done(int result) override;

private:
    os::SettingsStore &m_store;
    QListWidget *m_list;
    QPushButton *m_ok;
};

} // namespace qel::settings
