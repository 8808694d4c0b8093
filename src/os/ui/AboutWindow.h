#pragma once

#include <QDialog>

#include <functional>

class QLabel;

namespace qel::os {

// The version window (frmAbout): program, version, system, the machine that started the
// program and the name of its access log. Shown as a splash at start-up and on request.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    struct Info
    {
        QString version;    // "3.0.0"
        QString osName;     // the system name recorded at start-up
        QString programDir; // the per-user program folder
        QString computerName;
    };

    explicit AboutWindow(const Info &info, QWidget *parent = nullptr);

    // The access log named by this window (created when missing).
    QString accessLogName() const;
    // The machine label: the computer, or the server of a network share.
    QString machineLabel() const;

    // Run when OK is pressed, before the window closes: silence speech, mark it done.
    void setOnOk(std::function<void()> onOk) { m_onOk = std::move(onOk); }

private:
    QLabel *addLabel(const QString &objectName, const QString &text);

    QLabel *m_computer = nullptr;
    QLabel *m_accessLog = nullptr;
    std::function<void()> m_onOk;
};

} // namespace qel::os
