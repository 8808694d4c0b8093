#pragma once

#include "os/MessageWindow.h"

#include <QStringList>

namespace qel::test {

// Records what the notice window was asked to show ("title|message").
class FakeMessageWindow : public os::MessageWindow
{
public:
    void frmMsgShow(const QString &title, const QString &message) override
    {
        shown.append(title + u'|' + message);
        visible = true;
    }
    void hide() override
    {
        visible = false;
        ++hides;
    }
    void sendToBack() override { ++sentBack; }

    QStringList shown;
    bool visible = false;
    int hides = 0;
    int sentBack = 0;
};

} // namespace qel::test
