#include "support/TestFiles.h"

#include <QFile>

#include <gtest/gtest.h>

namespace qel::test {

QString tableData(const QString &name)
{
    return QStringLiteral(QEL_TABLE_DATA_DIR "/") + name;
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
