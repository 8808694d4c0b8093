#include "shell/ui/WidgetDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace qel::shell {

namespace {

QMessageBox::Icon iconOf(os::MessageIcon icon)
{
    switch (icon) {
    case os::MessageIcon::Critical:
        return QMessageBox::Critical;
    case os::MessageIcon::Question:
        return QMessageBox::Question;
    case os::MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case os::MessageIcon::Information:
        return QMessageBox::Information;
    case os::MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(os::MessageButtons buttons)
{
    switch (buttons) {
    case os::MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case os::MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case os::MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case os::MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton buttonOf(os::MessageAnswer answer)
{
    switch (answer) {
    case os::MessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case os::MessageAnswer::Yes:
        return QMessageBox::Yes;
    case os::MessageAnswer::No:
        return QMessageBox::No;
    case os::MessageAnswer::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// Closing the box without a button counts as its way out: Cancel, else No, else OK.
os::MessageAnswer answerOf(int button, os::MessageButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return os::MessageAnswer::Ok;
    case QMessageBox::Cancel:
        return os::MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return os::MessageAnswer::Yes;
    case QMessageBox::No:
        return os::MessageAnswer::No;
    default:
        break;
    }
    switch (buttons) {
    case os::MessageButtons::OkCancel:
    case os::MessageButtons::YesNoCancel:
        return os::MessageAnswer::Cancel;
    case os::MessageButtons::YesNo:
        return os::MessageAnswer::No;
    case os::MessageButtons::Ok:
        break;
    }
    return os::MessageAnswer::Ok;
}

} // namespace

WidgetDialogs::WidgetDialogs(QWidget *parent)
    : m_parent(parent)
{}

os::MessageAnswer WidgetDialogs::message(const os::MessageRequest &request)
{
    QMessageBox box(iconOf(request.icon), request.title, request.text, buttonsOf(request.buttons),
                    m_parent);
    box.setObjectName(QStringLiteral("qelMessageBox"));
    box.setDefaultButton(buttonOf(request.defaultAnswer));
    static constexpr QMessageBox::StandardButton Order[] = {QMessageBox::Ok, QMessageBox::Yes,
                                                            QMessageBox::No, QMessageBox::Cancel};
    qsizetype next = 0;
    for (QMessageBox::StandardButton standard : Order) {
        if (QAbstractButton *b = box.button(standard); b && next < request.buttonTexts.size())
            b->setText(request.buttonTexts[next++]);
    }
    box.exec();
    return answerOf(box.standardButton(box.clickedButton()), request.buttons);
}

QStringList WidgetDialogs::chooseFiles(const os::FileDialogRequest &request)
{
    QFileDialog dialog(m_parent, request.title);
    dialog.setObjectName(QStringLiteral("qelFileDialog"));
    dialog.setNameFilters(request.filters);
    using Mode = os::FileDialogRequest::Mode;
    dialog.setAcceptMode(request.mode == Mode::Save ? QFileDialog::AcceptSave
                                                    : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mode == Mode::OpenMany ? QFileDialog::ExistingFiles
                       : request.mode == Mode::Save   ? QFileDialog::AnyFile
                                                      : QFileDialog::ExistingFile);
    if (!request.proposedPath.isEmpty()) {
        // A proposed "*.CHF" names a folder and a pattern, not a file.
        const QFileInfo proposed(request.proposedPath);
        if (proposed.fileName().contains(QLatin1Char('*')) ||
            proposed.fileName().contains(QLatin1Char('?'))) {
            if (!proposed.path().isEmpty())
                dialog.setDirectory(proposed.path());
        } else {
            dialog.selectFile(request.proposedPath);
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

std::optional<quint32> WidgetDialogs::chooseColor(quint32 initial)
{
    const QColor start(int(initial & 255), int((initial >> 8) & 255), int((initial >> 16) & 255));
    const QColor chosen = QColorDialog::getColor(start, m_parent, QStringLiteral("色の設定"));
    if (!chosen.isValid())
        return std::nullopt;
    return quint32(chosen.red()) | (quint32(chosen.green()) << 8) | (quint32(chosen.blue()) << 16);
}

void WidgetDialogs::beep()
{
    QApplication::beep();
}

} // namespace qel::shell
