#include "shell/ui/PictureViewer.h"

#include "os/FileAccess.h"
#include "os/UserDialogs.h"
#include "support/FakeDialogs.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using qel::os::FileAccess;
using qel::shell::PictureViewer;

namespace {

QByteArray jpeg()
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

} // namespace

// A picture from the recent list or a slide may be anything by now; only a regular file is
// read, and a refusal says why.
TEST(PictureViewer, ShowsOnlyPicturesFromRegularFiles)
{
    struct Row
    {
        const char *name;
        QString (*make)(const QDir &dir);
        qint32 code;
    };
    const Row rows[] = {
        {"picture",
         [](const QDir &d) {
             test::writeFile(d.filePath(QStringLiteral("a.jpg")), jpeg());
             return d.filePath(QStringLiteral("a.jpg"));
         },
         0},
        {"fifo", [](const QDir &d) { return test::makeFifo(d, QStringLiteral("a.jpg")); },
         FileAccess::NotRegularFile},
        {"link to /dev/zero",
         [](const QDir &d) {
             return test::makeLink(d, QStringLiteral("a.jpg"), QStringLiteral("/dev/zero"));
         },
         FileAccess::NotRegularFile},
        {"missing", [](const QDir &d) { return d.filePath(QStringLiteral("gone.jpg")); },
         FileAccess::NotFound},
        {"not a picture",
         [](const QDir &d) {
             test::writeFile(d.filePath(QStringLiteral("a.jpg")), "plain text");
             return d.filePath(QStringLiteral("a.jpg"));
         },
         1},
    };
    for (const Row &row : rows) {
        QTemporaryDir tmp;
        const QString path = row.make(QDir(tmp.path()));
        QImage image;
        const os::Result r = PictureViewer::readPicture(path, image);
        EXPECT_EQ(r.code, row.code) << row.name << " " << r.message.toStdString();
        EXPECT_EQ(image.isNull(), row.code != 0) << row.name;
        if (row.code != 0) {
            EXPECT_TRUE(r.message.startsWith(path + QStringLiteral(": "))) << row.name;
        }
        PictureViewer viewer;
        EXPECT_EQ(viewer.jpgShow(path), row.code == 0) << row.name;
        EXPECT_EQ(viewer.fileName(), row.code == 0 ? path : QString()) << row.name;
    }
}

namespace {

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

struct Printed
{
    int count = 0;
    QImage image;
    QString name;
};

} // namespace

TEST(PictureViewer, ReadsEveryPictureKindAndRefusesHugeOnes)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    for (const char *format : {"PNG", "BMP", "JPG"}) {
        const QString path =
            dir.filePath(QStringLiteral("p.") + QString::fromLatin1(format).toLower());
        test::writeFile(path, encoded(image, format));
        PictureViewer viewer;
        EXPECT_TRUE(viewer.jpgShow(path)) << format;
        EXPECT_EQ(viewer.picture().size(), QSize(40, 30)) << format;
        // The window holds the picture at its natural size and nothing else.
        EXPECT_EQ(viewer.findChild<QWidget *>(QStringLiteral("Picture1"))->size(), QSize(40, 30));
        EXPECT_EQ(viewer.windowTitle(), PictureViewer::caption());
    }
    const QString huge = dir.filePath(QStringLiteral("huge.png"));
    test::writeFile(huge, test::pngHeaderOnly(20000, 20000));
    QImage read;
    const os::Result r = PictureViewer::readPicture(huge, read);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.message.contains(QStringLiteral("20000"))) << qPrintable(r.message);
    EXPECT_TRUE(r.message.startsWith(huge));
    PictureViewer viewer;
    EXPECT_FALSE(viewer.jpgShow(huge));
    EXPECT_TRUE(viewer.fileName().isEmpty());
    EXPECT_FALSE(viewer.isVisible());
}

// A picture larger than the screen is shown smaller, and the caption says so; the print
// still takes the whole picture.
TEST(PictureViewer, LargerThanTheScreenIsShownSmaller)
{
    QTemporaryDir tmp;
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("big.png"));
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    QImage image(screen * 2, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    test::writeFile(path, encoded(image, "PNG"));
    PictureViewer viewer;
    Printed printed;
    viewer.setPrintFunction([&](const QImage &picture, const QString &) {
        ++printed.count;
        printed.image = picture;
    });
    ASSERT_TRUE(viewer.jpgShow(path));
    EXPECT_LT(viewer.shownScale(), 0.5);
    EXPECT_TRUE(viewer.windowTitle().startsWith(PictureViewer::caption()));
    EXPECT_TRUE(viewer.windowTitle().contains(QStringLiteral("縮小表示")));
    const QSize shown = viewer.findChild<QWidget *>(QStringLiteral("Picture1"))->size();
    EXPECT_LE(shown.width(), screen.width());
    EXPECT_LE(shown.height(), screen.height());
    viewer.objLprn();
    EXPECT_EQ(printed.image.size(), image.size());
}

// The click asks first; Cancel prints nothing, OK prints the picture with its file name.
TEST(PictureViewer, ClickAsksBeforePrinting)
{
    QTemporaryDir tmp;
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("a.jpg"));
    test::writeFile(path, jpeg());
    test::FakeDialogs dialogs;
    Printed printed;
    PictureViewer viewer;
    viewer.setDialogs(&dialogs);
    viewer.setPrintFunction([&](const QImage &image, const QString &name) {
        ++printed.count;
        printed.image = image;
        printed.name = name;
    });
    ASSERT_TRUE(viewer.jpgShow(path));

    dialogs.answers = {os::MessageAnswer::Cancel};
    viewer.Picture1_Click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("ピクチャーを印刷します．"));
    EXPECT_EQ(dialogs.messages[0].buttons, os::MessageButtons::OkCancel);
    EXPECT_EQ(dialogs.messages[0].icon, os::MessageIcon::Information);
    EXPECT_EQ(printed.count, 0);

    dialogs.answers = {os::MessageAnswer::Ok};
    viewer.Picture1_Click();
    EXPECT_EQ(printed.count, 1);
    EXPECT_EQ(printed.name, path);
    EXPECT_EQ(printed.image.size(), QSize(8, 6));
}

// A double click closes the viewer without asking to print on its first click.
TEST(PictureViewer, DoubleClickClosesWithoutAsking)
{
    QTemporaryDir tmp;
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("a.jpg"));
    test::writeFile(path, jpeg());
    test::FakeDialogs dialogs;
    PictureViewer viewer;
    viewer.setDialogs(&dialogs);
    ASSERT_TRUE(viewer.jpgShow(path));
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, at, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&viewer, &press);
    QCoreApplication::sendEvent(&viewer, &release);
    QCoreApplication::sendEvent(&viewer, &twice);
    QCoreApplication::sendEvent(&viewer, &release);
    EXPECT_FALSE(viewer.isVisible());
    // Past the double-click time nothing is asked either.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < QApplication::doubleClickInterval() + 100)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}
