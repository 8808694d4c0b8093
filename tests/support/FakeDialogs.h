#pragma once

#include "os/UserDialogs.h"

#include <QList>

namespace qel::test {

// Answers dialogues from a script and records what the program showed.
class FakeDialogs : public os::UserDialogs
{
public:
    os::MessageAnswer message(const os::MessageRequest &request) override;
    QStringList chooseFiles(const os::FileDialogRequest &request) override;
    void beep() override { ++beeps; }
    std::optional<quint32> chooseColor(quint32 initial) override;

    QList<os::MessageAnswer> answers;   // taken in order; the default answer when empty
    QList<QStringList> fileChoices;     // taken in order; cancel when empty
    QList<os::MessageRequest> messages; // every message shown
    QList<os::FileDialogRequest> fileDialogs;
    QList<std::optional<quint32>> colorChoices; // taken in order; cancel when empty
    QList<quint32> colorDialogs;                // the colour each colour dialogue started at
    int beeps = 0;

    QStringList messageTexts() const;
};

} // namespace qel::test
