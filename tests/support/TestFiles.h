#pragma once

#include <QByteArray>
#include <QString>

namespace qel::test {

// The folder of fixture files beside the running test's sources.
QString dataPath(const QString &name);
QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace qel::test
