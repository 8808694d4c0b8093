#pragma once

#include <QByteArray>
#include <QFileInfo>
#include <QString>

namespace qel::test {

// A fixture beside the running test's sources; QEL_TEST_DATA overrides the folder.
#ifdef QEL_TEST_DATA_DIR
inline QString dataPath(const QString &name)
{
    const QString dir = qEnvironmentVariable("QEL_TEST_DATA", QStringLiteral(QEL_TEST_DATA_DIR));
    return dir + QLatin1Char('/') + name;
}
#endif
// A table or legacy fixture of the table reader's tests, which other tests open too.
QString tableData(const QString &name);
#ifdef QEL_TEST_DATA_DIR
// The test's own fixture, or the table reader's of that name.
inline QString fixturePath(const QString &name)
{
    const QString own = dataPath(name);
    return QFileInfo::exists(own) ? own : tableData(name);
}
#endif
QByteArray readFile(const QString &path);
// A PNG file's signature and header chunk for a picture of width x height, with nothing to
// decode: enough for a reader that checks the size first.
QByteArray pngHeaderOnly(quint32 width, quint32 height);
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace qel::test
