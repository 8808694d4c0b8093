#include "support/TestFiles.h"

#include <QFile>

#include <gtest/gtest.h>

namespace qel::test {

QString dataPath(const QString &name)
{
    return qEnvironmentVariable("QEL_TEST_DATA") + QLatin1Char('/') + name;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(path);
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(path);
    f.write(bytes);
}

} // namespace qel::test
