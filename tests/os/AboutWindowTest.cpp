#include "os/ui/AboutWindow.h"
#include "support/Pictures.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using qel::os::AboutWindow;

namespace {

QString labelText(const QWidget &w, const char *name)
{
    const auto *label = w.findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

} // namespace

TEST(AboutWindow, ShowsProgramSystemMachineAndLog)
{
    QTemporaryDir dir;
    AboutWindow about({QStringLiteral("3.0.0"), QStringLiteral("Debian GNU/Linux 12"), dir.path(),
                       QStringLiteral("pc1")});
    EXPECT_EQ(about.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("qelProのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(labelText(about, "lblVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 3.0.0"));
    EXPECT_EQ(labelText(about, "lblTitle"), QStringLiteral("qelPro (Debian GNU/Linux 12)"));
    EXPECT_TRUE(labelText(about, "lblDescription")
                    .startsWith(QStringLiteral(
                        "qelPro is simple tool to create high grade presentation graph.")));
    EXPECT_EQ(labelText(about, "LblServer"), QStringLiteral("ｺﾝﾋﾟｭｰﾀ名"));
    EXPECT_EQ(labelText(about, "LblComputer"), QStringLiteral("pc1"));
    EXPECT_EQ(about.accessLogName(), dir.filePath(QStringLiteral("qelAccspc1.log")));
    EXPECT_TRUE(QFile::exists(about.accessLogName()));
    qel::test::savePicture(about.grab().toImage(), QStringLiteral("about"));
}

TEST(AboutWindow, OkRunsTheHostsStopAndCloses)
{
    QTemporaryDir dir;
    AboutWindow about({QStringLiteral("3.0.0"), QString(), dir.path(), QStringLiteral("pc1")});
    int stops = 0;
    about.setOnOk([&] { ++stops; });
    about.show();
    about.findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
    EXPECT_EQ(stops, 1);
    EXPECT_FALSE(about.isVisible());
}
