#pragma once

#include "os/UserDialogs.h"

#include <QStringList>

namespace qel::shell {

// The message boxes of a run without a window: every text is kept, questions take their
// default answer.
class HeadlessDialogs : public os::UserDialogs
{
public:
    // With answerYes, a question gets the answer that lets the job go on.
    explicit HeadlessDialogs(bool answerYes)
        : m_answerYes(answerYes)
    {}

    os::MessageAnswer message(const os::MessageRequest &request) override;
    // The texts told so far, one after the other; they are then forgotten.
    QString takeTexts();
    QStringList chooseFiles(const os::FileDialogRequest &) override { return {}; }
    void beep() override {}
    std::optional<quint32> chooseColor(quint32) override { return std::nullopt; }

    QStringList texts;

private:
    bool m_answerYes = false;
};

} // namespace qel::shell
