#include "shell/QuitConfirmation.h"

#include "shell/MainForm.h"
#include "shell/ProgramState.h"

namespace qel::shell {

QuitConfirmation::QuitConfirmation(MainForm &form, os::UserDialogs &dialogs, ProgramState &state)
    : m_form(form)
    , m_dialogs(dialogs)
    , m_state(state)
{}

os::MessageRequest QuitConfirmation::request()
{
    return {QStringLiteral("終了"), QStringLiteral("qelPro End"), os::MessageButtons::OkCancel,
            os::MessageIcon::None, os::MessageAnswer::Ok};
}

bool QuitConfirmation::queryUnload()
{
    if (m_dialogs.message(request()) != os::MessageAnswer::Ok)
        return true;
    m_form.closeOtherWindows();
    m_form.setComboAccessFile(1, m_state.currentFile);
    m_form.endProgram();
    return false;
}

} // namespace qel::shell
