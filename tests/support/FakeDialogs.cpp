#include "support/FakeDialogs.h"

namespace qel::test {

os::MessageAnswer FakeDialogs::message(const os::MessageRequest &request)
{
    messages.append(request);
    return answers.isEmpty() ? request.defaultAnswer : answers.takeFirst();
}

QStringList FakeDialogs::chooseFiles(const os::FileDialogRequest &request)
{
    fileDialogs.append(request);
    return fileChoices.isEmpty() ? QStringList() : fileChoices.takeFirst();
}

std::optional<quint32> FakeDialogs::chooseColor(quint32 initial)
{
    colorDialogs.append(initial);
    return colorChoices.isEmpty() ? std::nullopt : colorChoices.takeFirst();
}

QStringList FakeDialogs::messageTexts() const
{
    QStringList texts;
    for (const auto &m : messages)
        texts.append(m.text);
    return texts;
}

} // namespace qel::test
