#include "slides/ui/FrmMsg.h"

#include "slides/MessageLog.h"
#include "support/Pictures.h"

#include <QLabel>

#include <cmath>

#include <gtest/gtest.h>

using qel::slides::FrmMsg;

TEST(FrmMsg, ShowsBothTextsAtItsSize)
{
    FrmMsg window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("qel Message"));
    EXPECT_EQ(window.titleLabel()->objectName(), QStringLiteral("title"));
    EXPECT_EQ(window.messageLabel()->objectName(), QStringLiteral("msg"));
    window.frmMsgShow(QStringLiteral("Loading data"), QStringLiteral("100"));
    EXPECT_TRUE(window.isVisible());
    const QSize full(int(std::lround(2025 * window.logicalDpiX() / 1440.0)),
                     int(std::lround(1170 * window.logicalDpiY() / 1440.0)));
    EXPECT_EQ(window.size(), full);
    qel::test::savePicture(window.grab().toImage(), QStringLiteral("frmmsg"));

    // Shrunk for the key sending of a slide show, then shown again: texts and size return.
    window.shrink();
    EXPECT_LT(window.width(), full.width());
    window.frmMsgShow(QStringLiteral("  スライドショー終了"), QString());
    EXPECT_EQ(window.titleLabel()->text(), QStringLiteral("  スライドショー終了"));
    EXPECT_TRUE(window.messageLabel()->text().isEmpty());
    EXPECT_EQ(window.size(), full);
    window.hide();
    EXPECT_FALSE(window.isVisible());
}

TEST(MessageLog, KeepsWhatWasShown)
{
    qel::slides::MessageLog log;
    log.frmMsgShow(QStringLiteral("Loading data"), QStringLiteral("100"));
    log.frmMsgShow(QStringLiteral("Loading data"), QStringLiteral("200"));
    log.frmMsgShow(QStringLiteral("Setting data"), QString());
    log.hide();
    EXPECT_FALSE(log.isVisible());
    EXPECT_EQ(log.shows(), 3);
    EXPECT_EQ(log.titles(),
              QStringList({QStringLiteral("Loading data"), QStringLiteral("Setting data")}));
}
