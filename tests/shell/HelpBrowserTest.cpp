#include "shell/ui/HelpBrowser.h"

#include <QScreen>

#include <gtest/gtest.h>

using qel::shell::HelpBrowser;

TEST(HelpBrowserPlacement, BesideTheOwnerWhenThereIsRoomElseCentredAndOnTheScreen)
{
    const QRect screen(0, 0, 1920, 1040);
    const QSize help(640, 560);
    const struct
    {
        const char *name;
        QRect owner;
        QRect expected;
    } rows[] = {
        {"room on the right", QRect(100, 80, 1000, 700), QRect(1108, 80, 640, 560)},
        {"room on the left only", QRect(800, 100, 1000, 700), QRect(152, 100, 640, 560)},
        {"a maximised owner", QRect(0, 0, 1920, 1040), QRect(640, 240, 640, 560)},
        {"an owner low on the screen", QRect(100, 700, 900, 300), QRect(1008, 480, 640, 560)},
        {"an owner partly off the screen", QRect(-300, -200, 2600, 900), QRect(680, 0, 640, 560)},
    };
    for (const auto &row : rows) {
        const QRect r = HelpBrowser::placeBeside(row.owner, help, screen);
        EXPECT_EQ(r, row.expected) << row.name;
        EXPECT_TRUE(screen.contains(r)) << row.name;
    }
    // A screen smaller than the window: the window shrinks to it.
    EXPECT_EQ(HelpBrowser::placeBeside(QRect(0, 0, 300, 200), help, QRect(0, 0, 500, 400)),
              QRect(0, 0, 500, 400));
}

TEST(HelpBrowserPlacement, TheWindowOpensBesideItsOwnerNotInTheCorner)
{
    QWidget owner;
    owner.setGeometry(60, 50, 300, 260);
    owner.show();
    HelpBrowser help(&owner);
    help.resize(320, 240);
    help.show();
    const QRect available = owner.screen()->availableGeometry();
    ASSERT_GE(available.width(), 700) << "the test screen is too small to place beside";
    EXPECT_GT(help.geometry().left(), owner.frameGeometry().right());
    EXPECT_EQ(help.geometry().top(), owner.frameGeometry().top());
    EXPECT_TRUE(available.contains(help.geometry()));

    // Shown again, it stays where the user moved it.
    help.hide();
    help.move(400, 300);
    help.show();
    EXPECT_EQ(help.pos(), QPoint(400, 300));
}
