#pragma once

#include <QString>

namespace qel::os {

// The program's small notice window (frmMsg, caption "qel Message"): a title and a message,
// shown without blocking. The main window implements it over the real window; tests record.
class MessageWindow
{
public:
    virtual ~MessageWindow() = default;

    // Shows both texts and brings the window to the front.
    virtual void frmMsgShow(const QString &title, const QString &message) = 0;
    virtual void hide() = 0;
    // Places the window behind the others without hiding it.
    virtual void sendToBack() = 0;
};

} // namespace qel::os
