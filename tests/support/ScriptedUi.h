#pragma once
#include "support/Common.h"
#include "support/core/ScriptedDialogs.h"
#include "support/core/TestContext.h"

#include <QList>
#include <QString>

#include <functional>

class QDialog;

namespace testing_support {

// Readies a test program of windows: the contexts tests make get the program's own wait
// dialog and macro editor; every modal dialog and drag nobody scripted fails the test
// (failEveryModal), and so does every window left waiting for a user
// (watchForUnscriptedWindows).
void prepareWindowTests();

// Makes every modal dialog and every drag of the program fail the test that starts it (the
// dialog is rejected, the drag dropped nowhere) unless a test scripts it.
void failEveryModal();

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

// Works modal dialogs in order: each step gets the shown dialog and must close it. When it
// goes, modal dialogs fail tests again.
class ScriptedModals {
public:
    using Step = std::function<void(QDialog&)>;
    ScriptedModals();
    ~ScriptedModals();
    ScriptedModals(const ScriptedModals&) = delete;
    ScriptedModals& operator=(const ScriptedModals&) = delete;

    ScriptedModals& then(Step step);

private:
    void answerModals();
    QList<Step> steps_;
    ScriptedModals* outer_;
};

}  // namespace testing_support
