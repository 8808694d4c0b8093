#include "shell/ui/PictureViewer.h"

#include "os/FileAccess.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QImage>
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
