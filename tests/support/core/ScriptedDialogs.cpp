#include "support/core/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace testing_support {
namespace {

class ScriptedUser final : public UserDialogs {
public:
    platform::FileDialogAnswer runFileDialog(const platform::FileDialogRequest& request) override {
        if (const auto* answer = FileDialogReplies::current()) return (*answer)(request);
        ADD_FAILURE() << "File dialog shown outside any script: \"" << request.title.toStdString() << "\" in \""
                      << request.initialFolder.toStdString() << "\" proposing \"" << request.proposedName.toStdString()
                      << "\"";
        return platform::FileDialogAnswer{};
    }

protected:
    int showMsgBox(const platform::MsgBoxCall& call) override {
        if (const auto* answer = MsgBoxReplies::current()) return (*answer)(call);
        ADD_FAILURE() << "Message box shown outside any script: \"" << call.text.toStdString() << "\" (title \""
                      << call.title.toStdString() << "\")";
        return int(platform::kAnswerCancel);
    }
    void beginWait() override {}
    void endWait() override {}
};

}  // namespace

UserDialogs& scriptedUser() {
    static ScriptedUser user;
    return user;
}

ScriptedMsgBoxes::ScriptedMsgBoxes() : replies_([this](const platform::MsgBoxCall& call) { return answer(call); }) {}

ScriptedMsgBoxes::~ScriptedMsgBoxes() {
    for (const auto& e : pending_) ADD_FAILURE() << "Expected message box never shown: \"" << e.text.toStdString() << "\"";
}

int ScriptedMsgBoxes::answer(const platform::MsgBoxCall& call) {
    shown_.append(call);
    if (pending_.isEmpty()) {
        ADD_FAILURE() << "Unexpected message box: \"" << call.text.toStdString() << "\" (title \""
                      << call.title.toStdString() << "\")";
        return int(platform::kAnswerCancel);
    }
    const Expectation next = pending_.takeFirst();
    EXPECT_TRUE(call.text.contains(next.text))
        << "Message box \"" << call.text.toStdString() << "\" does not contain \"" << next.text.toStdString() << "\"";
    if (next.whileShown) next.whileShown();
    return next.answer;
}

ScriptedMsgBoxes& ScriptedMsgBoxes::expect(const QString& textContains, int answer, std::function<void()> whileShown) {
    pending_.append({textContains, answer, std::move(whileShown)});
    return *this;
}

ScriptedFileDialogs::ScriptedFileDialogs()
    : replies_([this](const platform::FileDialogRequest& request) { return answer(request); }) {}

ScriptedFileDialogs::~ScriptedFileDialogs() {
    if (!answers_.isEmpty()) ADD_FAILURE() << answers_.size() << " expected file dialog(s) never shown";
}

platform::FileDialogAnswer ScriptedFileDialogs::answer(const platform::FileDialogRequest& request) {
    requests_.append(request);
    if (answers_.isEmpty()) {
        ADD_FAILURE() << "Unexpected file dialog \"" << request.title.toStdString() << "\"";
        return platform::FileDialogAnswer{};
    }
    platform::FileDialogAnswer answer = answers_.takeFirst();
    if (answer.accepted && answer.filterIndex == 0) answer.filterIndex = request.filterIndex == 0 ? 1 : request.filterIndex;
    return answer;
}

ScriptedFileDialogs& ScriptedFileDialogs::choose(const QString& path, int filterIndex) {
    answers_.append(platform::FileDialogAnswer{true, path, filterIndex});
    return *this;
}

ScriptedFileDialogs& ScriptedFileDialogs::cancel() {
    answers_.append(platform::FileDialogAnswer{});
    return *this;
}

}  // namespace testing_support
