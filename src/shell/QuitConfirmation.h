#pragma once

#include "os/UserDialogs.h"

namespace qel::shell {

class MainForm;
struct ProgramState;

// Form_QueryUnload: the user confirms quitting; then the other windows close, the recent
// list is saved and the program ends.
class QuitConfirmation
{
public:
    QuitConfirmation(MainForm &form, os::UserDialogs &dialogs, ProgramState &state);

    static os::MessageRequest request();

    // Returns cancel: true when the user chose to keep working.
    bool queryUnload();

private:
    MainForm &m_form;
    os::UserDialogs &m_dialogs;
    ProgramState &m_state;
};

} // namespace qel::shell
