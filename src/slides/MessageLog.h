#pragma once

#include "os/MessageWindow.h"

#include <QStringList>

namespace qel::slides {

// frmMsg without a window: keeps what it was asked to show. The command line and the tests
// use it; nothing is printed, as a progress notice is no message to the user.
class MessageLog : public os::MessageWindow
{
public:
    void frmMsgShow(const QString &title, const QString &message) override;
    void hide() override { m_visible = false; }
    void sendToBack() override { m_back = true; }

    bool isVisible() const { return m_visible; }
    QString title() const { return m_title; }
    QString message() const { return m_message; }
    // Distinct titles shown, in order ("Loading data", "Setting data", ...).
    QStringList titles() const { return m_titles; }
    int shows() const { return m_shows; }

private:
    bool m_visible = false;
    bool m_back = false;
    QString m_title;
    QString m_message;
    QStringList m_titles;
    int m_shows = 0;
};

} // namespace qel::slides
