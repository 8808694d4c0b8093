#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace qel::os {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageRequest
{
    QString text;
    QString title = QStringLiteral("qelPro");
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
    // Captions that replace the buttons' standard ones, in the order of `buttons`.
    QStringList buttonTexts = {};
};

struct FileDialogRequest
{
    enum class Mode { Open, OpenMany, Save };
    Mode mode = Mode::Open;
    QString title;
    QStringList filters; // Qt syntax: "qel File (*.CHF *.chf)"
    QString proposedPath;
};

// Message boxes, file choice and the beep. The program shows real dialogues;
// tests answer them from a script.
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;

    virtual MessageAnswer message(const MessageRequest &request) = 0;
    // The chosen files; empty when the user cancelled.
    virtual QStringList chooseFiles(const FileDialogRequest &request) = 0;
    virtual void beep() = 0;
    // The colour dialogue, starting at `initial` (RGB with red in the low byte); no value when
    // the user cancelled.
    virtual std::optional<quint32> chooseColor(quint32 initial) = 0;

    void inform(const QString &text, MessageIcon icon = MessageIcon::None)
    {
        message({text, QStringLiteral("qelPro"), MessageButtons::Ok, icon, MessageAnswer::Ok});
    }
};

} // namespace qel::os
