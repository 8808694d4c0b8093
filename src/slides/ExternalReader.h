#pragma once

#include "slides/ReaderProcess.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

class QTemporaryDir;

namespace qel::slides {

// An outside program that reads a text aloud, the way the text reader and the document
// talker were driven: start with the text, is-speaking = its process runs, stop = terminate,
// close = end the process. A reading may take two programs one after the other (Open JTalk
// writes a WAV file, a player plays it).
class ExternalReader : public QObject
{
    Q_OBJECT

public:
    struct Step
    {
        QString program;
        QStringList arguments;
        QByteArray input; // standard input; empty for none
    };
    // Builds the programs of one reading; tempFolder holds its scratch files.
    using Planner = std::function<QList<Step>(const QString &text, const QString &tempFolder)>;

    ExternalReader(QString id, QString label, Planner planner, ReaderProcessFactory factory,
                   QObject *parent = nullptr);
    ~ExternalReader() override;

    QString id() const { return m_id; }
    QString label() const { return m_label; }

    // Starts reading text; false (with the reason) when the first program did not start.
    bool start(const QString &text, QString *errorText);
    bool isSpeaking() const;
    // The last reading ended with a program that failed (a reader with no sound device, say).
    bool failed() const { return m_failed; }
    void stop();
    void close();
    // The programs of the last reading, for tests and messages.
    QList<Step> lastSteps() const { return m_steps; }

    // What "<label> の起動に失敗しました." says when a reading could not start.
    QString startFailedText() const;

private:
    void next();

    QString m_id;
    QString m_label;
    Planner m_planner;
    ReaderProcessFactory m_factory;
    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<ReaderProcess> m_process;
    QList<Step> m_steps;
    int m_step = -1;
    bool m_failed = false;
    bool m_stopped = false;
};

} // namespace qel::slides
