#pragma once

#include <QDir>
#include <QImage>
#include <QString>

namespace qel::test {

// Keeps a picture of what a test drew, for a look by eye, in the folder QEL_TEST_PICTURES
// names; without it nothing is written.
inline void savePicture(const QImage &image, const QString &name)
{
    const QString dir = qEnvironmentVariable("QEL_TEST_PICTURES");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace qel::test
