#include "shell/ui/PictureViewer.h"

#include "support/TestFiles.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using qel::shell::PictureViewer;

// A picture is shown; a file that is no picture is refused with its name. What is no regular
// file at all is refused unread (see UnreadableFiles).
TEST(PictureViewer, ShowsPicturesAndRefusesOtherFiles)
{
    QImage red(8, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "JPG");
    for (const QByteArray &bytes : {jpeg, QByteArray("plain text")}) {
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QStringLiteral("a.jpg"));
        test::writeFile(path, bytes);
        const bool picture = bytes == jpeg;
        QImage image;
        const os::Result r = PictureViewer::readPicture(path, image);
        EXPECT_EQ(r.ok(), picture) << r.message.toStdString();
        EXPECT_EQ(image.size(), picture ? QSize(8, 6) : QSize(0, 0));
        if (!picture) {
            EXPECT_TRUE(r.message.startsWith(path + QStringLiteral(": ")));
        }
        PictureViewer viewer;
        EXPECT_EQ(viewer.jpgShow(path), picture);
        EXPECT_EQ(viewer.fileName(), picture ? path : QString());
    }
}
