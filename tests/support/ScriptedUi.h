#pragma once
#include "platform/FileDialogs.h"
#include "platform/MsgBox.h"
#include "support/Common.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <functional>

class QDialog;

namespace testing_support {

// Makes every message box fail the test that shows it (answered Cancel), so a box no test
// expected never waits for a user who is not there. The test programs start this way.
void failEveryMsgBox();

// Makes every modal dialog and every drag of the program fail the test that starts it (the
// dialog is rejected, the drag dropped nowhere) unless a test scripts it.
void failEveryModal();

// Watches for windows that hold the user's input and that nobody scripted: a modal dialog,
// message box, file or input dialog, a popup menu, a drag. One still open after a moment
// fails the running test, naming its class, title and text, and is closed, so no test ever
// waits for a user who is not there. The test programs start with this watch on.
void watchForUnscriptedWindows();

// Answers message boxes in the order expected. A box nobody expected fails the test
// (and is answered Cancel); expectations left over at the end fail it too.
class ScriptedMsgBoxes {
public:
    ScriptedMsgBoxes();
    ~ScriptedMsgBoxes();
    ScriptedMsgBoxes(const ScriptedMsgBoxes&) = delete;
    ScriptedMsgBoxes& operator=(const ScriptedMsgBoxes&) = delete;

    // The next box must contain this text; it is answered with the given code, after
    // `whileShown` ran (what happens while the box is up: a timer's tick, another command).
    ScriptedMsgBoxes& expect(const QString& textContains, int answer, std::function<void()> whileShown = {});
    const QList<platform::MsgBoxCall>& shown() const { return shown_; }

private:
    struct Expectation {
        QString text;
        int answer;
        std::function<void()> whileShown;
    };
    QList<Expectation> pending_;
    QList<platform::MsgBoxCall> shown_;
};

// Answers file dialogs in order; every request is kept for inspection.
class ScriptedFileDialogs {
public:
    ScriptedFileDialogs();
    ~ScriptedFileDialogs();
    ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
    ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

    // The user picks this path with this filter selected (1-based; 0 = the starting one).
    ScriptedFileDialogs& choose(const QString& path, int filterIndex = 0);
    ScriptedFileDialogs& cancel();
    const QList<platform::FileDialogRequest>& requests() const { return requests_; }

private:
    QList<platform::FileDialogAnswer> answers_;
    QList<platform::FileDialogRequest> requests_;
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

// A fresh, private settings store and program folder for one test.
class FreshStore {
public:
    FreshStore();
    ~FreshStore();
    QString storeFile() const;

private:
    QTemporaryDir dir_;
    QByteArray oldHome_;
};

}  // namespace testing_support
