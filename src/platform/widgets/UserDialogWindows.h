#pragma once
#include "core/program/UserDialogs.h"

namespace platform {

// The real message box: a dialog of its own over the active window, its text plain and never
// outgrowing the screen.
int showMessageBox(const MsgBoxCall& call);
// The real open or save dialog over the active window; an open that offers to create a missing
// file asks before it answers.
FileDialogAnswer showFileDialog(const FileDialogRequest& request);

// The boxes, the dialogs and the wait cursor the program asks its user with.
class UserDialogWindows final : public UserDialogs {
public:
    FileDialogAnswer runFileDialog(const FileDialogRequest& request) override { return showFileDialog(request); }

protected:
    int showMsgBox(const MsgBoxCall& call) override { return showMessageBox(call); }
    void beginWait() override;
    void endWait() override;
};

}  // namespace platform
