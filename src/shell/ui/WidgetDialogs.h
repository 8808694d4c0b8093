#pragma once

#include "os/UserDialogs.h"

#include <QPointer>
#include <QWidget>

namespace qel::shell {

// The real dialogues: QMessageBox and QFileDialog over the main window.
class WidgetDialogs : public os::UserDialogs
{
public:
    explicit WidgetDialogs(QWidget *parent = nullptr);

    void setParent(QWidget *parent) { m_parent = parent; }

    os::MessageAnswer message(const os::MessageRequest &request) override;
    QStringList chooseFiles(const os::FileDialogRequest &request) override;
    void beep() override;
    std::optional<quint32> chooseColor(quint32 initial) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace qel::shell
