#include "shell/HeadlessDialogs.h"

namespace qel::shell {

os::MessageAnswer HeadlessDialogs::message(const os::MessageRequest &request)
{
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texts.append(text);
    if (m_answerYes) {
        switch (request.buttons) {
        case os::MessageButtons::Ok:
        case os::MessageButtons::OkCancel:
            return os::MessageAnswer::Ok;
        case os::MessageButtons::YesNo:
        case os::MessageButtons::YesNoCancel:
            return os::MessageAnswer::Yes;
        }
    }
    return request.defaultAnswer;
}

QString HeadlessDialogs::takeTexts()
{
    QString all = texts.join(QLatin1Char('\n'));
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texts.clear();
    return all;
}

} // namespace qel::shell
