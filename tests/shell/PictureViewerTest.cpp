#include "shell/ui/PictureViewer.h"

#include "os/UserDialogs.h"
#include "support/FakeDialogs.h"
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
using qel::shell::PictureViewer;

namespace {

QByteArray encoded(const QSize &size, Qt::GlobalColor colour, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
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

// A viewer showing a small picture, with its questions and prints recorded.
struct ShownPicture
{
    QTemporaryDir tmp;
    QString path = tmp.filePath(QStringLiteral("a.jpg"));
    test::FakeDialogs dialogs;
    Printed printed;
    PictureViewer viewer;

    ShownPicture()
    {
        test::writeFile(path, encoded(QSize(8, 6), Qt::red, "JPG"));
        viewer.setDialogs(&dialogs);
        viewer.setPrintFunction([this](const QImage &image, const QString &name) {
            ++printed.count;
            printed.image = image;
            printed.name = name;
        });
        EXPECT_TRUE(viewer.jpgShow(path));
    }
};

} // namespace

// Pictures of every kind are shown at their natural size; a file that is no picture, or one too
// large to decode, is refused with its name and the reason. What is no regular file at all is
// refused unread (see UnreadableFiles).
TEST(PictureViewer, ShowsPicturesAndRefusesOtherFiles)
{
    const QSize size(40, 30);
    struct Row
    {
        const char *file;
        QByteArray bytes;
        QString reason; // empty: shown
    };
    const Row rows[] = {
        {"p.png", encoded(size, Qt::darkGreen, "PNG"), {}},
        {"p.bmp", encoded(size, Qt::darkGreen, "BMP"), {}},
        {"p.jpg", encoded(size, Qt::darkGreen, "JPG"), {}},
        {"text.jpg", "plain text", QStringLiteral("画像として読めません")},
        // Only the header: the size alone must turn it away before anything is decoded.
        {"huge.png", test::pngHeaderOnly(20000, 20000), QStringLiteral("20000 × 20000")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.file);
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QString::fromLatin1(row.file));
        test::writeFile(path, row.bytes);
        const bool picture = row.reason.isEmpty();
        QImage image;
        const os::Result r = PictureViewer::readPicture(path, image);
        EXPECT_EQ(r.ok(), picture) << r.message.toStdString();
        EXPECT_EQ(image.size(), picture ? size : QSize(0, 0));
        if (!picture) {
            EXPECT_TRUE(r.message.startsWith(path + QStringLiteral(": ")));
            EXPECT_TRUE(r.message.contains(row.reason)) << r.message.toStdString();
        }
        PictureViewer viewer;
        EXPECT_EQ(viewer.jpgShow(path), picture);
        EXPECT_EQ(viewer.isVisible(), picture);
        EXPECT_EQ(viewer.fileName(), picture ? path : QString());
        if (picture) {
            // The window holds the picture at its natural size and nothing else.
            EXPECT_EQ(viewer.picture().size(), size);
            EXPECT_EQ(viewer.findChild<QWidget *>(QStringLiteral("Picture1"))->size(), size);
            EXPECT_EQ(viewer.windowTitle(), PictureViewer::caption());
        }
    }
}

// A picture larger than the screen is shown smaller, and the caption says so; the print
// still takes the whole picture.
TEST(PictureViewer, LargerThanTheScreenIsShownSmaller)
{
    QTemporaryDir tmp;
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("big.png"));
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    test::writeFile(path, encoded(screen * 2, Qt::yellow, "PNG"));
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
    EXPECT_EQ(printed.image.size(), screen * 2);
}

// The click asks first; Cancel prints nothing, OK prints the picture with its file name.
TEST(PictureViewer, ClickAsksBeforePrinting)
{
    ShownPicture shown;
    for (const os::MessageAnswer answer : {os::MessageAnswer::Cancel, os::MessageAnswer::Ok}) {
        const bool ok = answer == os::MessageAnswer::Ok;
        shown.dialogs.messages.clear();
        shown.dialogs.answers = {answer};
        shown.viewer.Picture1_Click();
        ASSERT_EQ(shown.dialogs.messages.size(), 1);
        EXPECT_EQ(shown.dialogs.messages[0].text, QStringLiteral("ピクチャーを印刷します．"));
        EXPECT_EQ(shown.dialogs.messages[0].buttons, os::MessageButtons::OkCancel);
        EXPECT_EQ(shown.dialogs.messages[0].icon, os::MessageIcon::Information);
        EXPECT_EQ(shown.printed.count, ok ? 1 : 0);
    }
    EXPECT_EQ(shown.printed.name, shown.path);
    EXPECT_EQ(shown.printed.image.size(), QSize(8, 6));
}

// A double click closes the viewer without asking to print on its first click.
TEST(PictureViewer, DoubleClickClosesWithoutAsking)
{
    ShownPicture shown;
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, at, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    for (QMouseEvent *event : {&press, &release, &twice, &release})
        QCoreApplication::sendEvent(&shown.viewer, event);
    EXPECT_FALSE(shown.viewer.isVisible());
    // Past the double-click time nothing is asked either.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < QApplication::doubleClickInterval() + 100)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(shown.dialogs.messages.isEmpty());
    EXPECT_EQ(shown.printed.count, 0);
}
