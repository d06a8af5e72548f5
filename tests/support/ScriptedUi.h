#pragma once
#include "support/Common.h"
#include "support/core/ScriptedDialogs.h"
#include "support/core/TestContext.h"

#include <QList>
#include <QString>

#include <functional>

class QDialog;
class QDrag;

namespace platform {
class ModalRuns;
}  // namespace platform

namespace testing_support {

// Readies a test program of windows: the contexts tests make get the program's own wait
// dialog and macro editor, run through modalRuns(); every window left waiting for a user
// fails the test (watchForUnscriptedWindows).
void prepareWindowTests();

// Works a modal dialog instead of a user (its result), or plays a drag (what the drop did),
// while it lives; of those alive, the one made last answers.
using ModalReplies = Replies<QDialog&, int>;
using DragReplies = Replies<QDrag&, Qt::DropAction>;

// The runs of the windows tests make: each modal dialog goes to the ModalReplies made last
// (ScriptedModals makes one), each drag to the DragReplies made last. One nobody scripted
// fails the test that starts it at once, naming the dialog (or the drag), and is rejected
// (dropped nowhere).
platform::ModalRuns& modalRuns();

// Watches for windows that hold the user's input and that nobody scripted: a modal dialog,
// message box, file or input dialog, a popup menu, a drag. One still open after a moment
// fails the running test, naming its class, title and text, and is closed, so no test ever
// waits for a user who is not there. The test programs start with this watch on.
void watchForUnscriptedWindows();

// The real message boxes, as the program shows them, while it lives.
class RealMsgBoxes : private MsgBoxReplies {
public:
    RealMsgBoxes();
};

// The real file dialogs, as the program shows them, while it lives.
class RealFileDialogs : private FileDialogReplies {
public:
    RealFileDialogs();
};

// Works modal dialogs in order: each step gets the shown dialog and must close it. A dialog
// no step is left for fails the test (and is rejected); steps left over at the end fail it too.
class ScriptedModals {
public:
    using Step = std::function<void(QDialog&)>;
    ScriptedModals();
    ~ScriptedModals();
    ScriptedModals(const ScriptedModals&) = delete;
    ScriptedModals& operator=(const ScriptedModals&) = delete;

    ScriptedModals& then(Step step);

private:
    int work(QDialog& dialog);
    QList<Step> steps_;
    ModalReplies replies_;
};

}  // namespace testing_support
