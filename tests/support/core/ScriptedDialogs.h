#pragma once
#include "core/program/UserDialogs.h"
#include "support/Common.h"

#include <QList>
#include <QString>

#include <functional>

namespace testing_support {

// How the test programs ask their user, the user dialogs of every context a test makes: each
// message box and file dialog goes to the script made last that is still alive. One nobody
// scripted fails the test at once, naming its title and text, and is answered Cancel. The
// wait cursor shows nowhere.
UserDialogs& scriptedUser();

// Answers every call (a message box, a file dialog; in the tests of windows a modal dialog, a
// drag) with `answer` while it lives; of those alive, the one made last answers.
template <class Call, class Reply>
class Replies {
public:
    using Answer = std::function<Reply(Call)>;
    explicit Replies(Answer answer) : answer_(std::move(answer)) { alive().append(&answer_); }
    ~Replies() { alive().removeOne(&answer_); }
    Replies(const Replies&) = delete;
    Replies& operator=(const Replies&) = delete;

    // The answer of the one made last, or nullptr when none lives.
    static const Answer* current() { return alive().isEmpty() ? nullptr : alive().constLast(); }

private:
    static QList<const Answer*>& alive() {
        static QList<const Answer*> answers;
        return answers;
    }
    Answer answer_;
};
using MsgBoxReplies = Replies<const platform::MsgBoxCall&, int>;
using FileDialogReplies = Replies<const platform::FileDialogRequest&, platform::FileDialogAnswer>;

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
    int answer(const platform::MsgBoxCall& call);
    struct Expectation {
        QString text;
        int answer;
        std::function<void()> whileShown;
    };
    QList<Expectation> pending_;
    QList<platform::MsgBoxCall> shown_;
    MsgBoxReplies replies_;
};

// Answers file dialogs in order; every request is kept for inspection. A dialog nobody
// expected fails the test (and is cancelled); answers left over at the end fail it too.
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
    platform::FileDialogAnswer answer(const platform::FileDialogRequest& request);
    QList<platform::FileDialogAnswer> answers_;
    QList<platform::FileDialogRequest> requests_;
    FileDialogReplies replies_;
};

}  // namespace testing_support
