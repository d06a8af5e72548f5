#pragma once
#include "platform/FileDialogs.h"
#include "platform/MsgBox.h"

#include <QString>

// How the program asks its user: the message box, the open and save file dialogs and the
// wait cursor. Core and gui ask through the context's; the program hands in the real boxes
// and dialogs (platform/widgets), tests hand in scripted ones.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // The message box: a button set, an icon and the default button added up in `style`;
    // answers 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No. A box without a
    // title of its own carries the program's.
    int MsgBox(const QString& text, int style = platform::kOkOnly, const QString& title = platform::kDefaultMsgBoxTitle) {
        return showMsgBox({text, style, title.isEmpty() ? platform::kDefaultMsgBoxTitle : title});
    }
    // The open or the save file dialog.
    virtual platform::FileDialogAnswer runFileDialog(const platform::FileDialogRequest& request) = 0;

protected:
    virtual int showMsgBox(const platform::MsgBoxCall& call) = 0;
    // The wait cursor over every window of the program, from the first begin to the last end.
    virtual void beginWait() = 0;
    virtual void endWait() = 0;
    friend class WaitCursor;
};

// The wait cursor for as long as it lives.
class WaitCursor {
public:
    explicit WaitCursor(UserDialogs& user) : user_(user) { user_.beginWait(); }
    ~WaitCursor() { user_.endWait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    UserDialogs& user_;
};
