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

QByteArray pngHeaderOnly(quint32 width, quint32 height)
{
    auto crc32 = [](const QByteArray &bytes) {
        quint32 crc = 0xffffffffu;
        for (const char c : bytes) {
            crc ^= quint8(c);
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
        return crc ^ 0xffffffffu;
    };
    auto big = [](quint32 v) {
        const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(bytes, 4);
    };
    auto chunk = [&](const QByteArray &type, const QByteArray &data) {
        return big(quint32(data.size())) + type + data + big(crc32(type + data));
    };
    // 8-bit RGB, no interlace.
    const QByteArray header = big(width) + big(height) + QByteArray("\x08\x02\x00\x00\x00", 5);
    // A few bytes of image data, far too few: readers learn the size before they find out.
    const QByteArray data("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", data) +
           chunk("IEND", {});
}

} // namespace qel::test
