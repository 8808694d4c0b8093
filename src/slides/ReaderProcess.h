#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

namespace qel::slides {

// One run of an outside reading program: started with an argument list (never a shell), the
// text on its standard input when given. Tests put a fake in its place.
class ReaderProcess : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool start(const QString &program, const QStringList &arguments,
                       const QByteArray &input, QString *errorText) = 0;
    virtual bool isRunning() const = 0;
    // Exit code 0 after a normal end.
    virtual bool succeeded() const = 0;
    virtual void terminate() = 0; // asks it to end (SIGTERM)
    virtual void kill() = 0;      // ends it at once

signals:
    void finished();
};

using ReaderProcessFactory = std::function<std::unique_ptr<ReaderProcess>()>;

// The real one, through QProcess.
std::unique_ptr<ReaderProcess> makeQtReaderProcess();

} // namespace qel::slides
