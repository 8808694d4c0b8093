#include "shell/ui/WidgetDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace qel;

namespace {

// Acts on the message box once it is up, as the user would.
void whenShown(std::function<void(QMessageBox *)> act)
{
    QTimer::singleShot(0, [act] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
                return act(box);
        }
        ADD_FAILURE() << "no message box is shown";
    });
}

} // namespace

TEST(WidgetDialogs, TheQuitBoxHasItsTextsButtonsAndNoIcon)
{
    shell::WidgetDialogs dialogs;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons;
    whenShown([&](QMessageBox *box) {
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::Cancel)->click();
    });
    const auto answer = dialogs.message({QStringLiteral("終了"), QStringLiteral("qelPro End"),
                                         os::MessageButtons::OkCancel, os::MessageIcon::None,
                                         os::MessageAnswer::Ok});
    EXPECT_EQ(answer, os::MessageAnswer::Cancel);
    EXPECT_EQ(text, QStringLiteral("終了"));
    EXPECT_EQ(title, QStringLiteral("qelPro End"));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, QMessageBox::Ok | QMessageBox::Cancel);
}

TEST(WidgetDialogs, EachButtonAnswersForItselfAndTheDefaultIsPreselected)
{
    const struct
    {
        os::MessageButtons buttons;
        os::MessageAnswer preselected;
        QMessageBox::StandardButton pressed;
        os::MessageAnswer answer;
    } cases[] = {
        {os::MessageButtons::Ok, os::MessageAnswer::Ok, QMessageBox::Ok, os::MessageAnswer::Ok},
        {os::MessageButtons::YesNo, os::MessageAnswer::No, QMessageBox::Yes,
         os::MessageAnswer::Yes},
        {os::MessageButtons::YesNoCancel, os::MessageAnswer::No, QMessageBox::No,
         os::MessageAnswer::No},
        {os::MessageButtons::OkCancel, os::MessageAnswer::Ok, QMessageBox::Ok,
         os::MessageAnswer::Ok},
    };
    for (const auto &c : cases) {
        shell::WidgetDialogs dialogs;
        QPushButton *preselected = nullptr;
        QAbstractButton *expected = nullptr;
        whenShown([&](QMessageBox *box) {
            preselected = box->defaultButton();
            expected = box->button(c.preselected == os::MessageAnswer::No ? QMessageBox::No
                                                                          : QMessageBox::Ok);
            box->button(c.pressed)->click();
        });
        os::MessageRequest request;
        request.text = QStringLiteral("?");
        request.buttons = c.buttons;
        request.defaultAnswer = c.preselected;
        request.icon = os::MessageIcon::Question;
        EXPECT_EQ(dialogs.message(request), c.answer);
        EXPECT_EQ(preselected, expected);
    }
}

TEST(WidgetDialogs, ClosingTheBoxWithoutAButtonIsItsWayOut)
{
    shell::WidgetDialogs dialogs;
    whenShown([](QMessageBox *box) { box->reject(); });
    os::MessageRequest request;
    request.buttons = os::MessageButtons::YesNo;
    EXPECT_EQ(dialogs.message(request), os::MessageAnswer::No);
}
