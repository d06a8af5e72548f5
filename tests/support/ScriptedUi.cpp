#include "support/ScriptedUi.h"

#include "platform/Folders.h"
#include "platform/Modal.h"
#include "platform/RegistryStore.h"

#include <QDialog>
#include <gtest/gtest.h>

namespace testing_support {

ScriptedMsgBoxes::ScriptedMsgBoxes() {
    platform::setMsgBoxResponder([this](const platform::MsgBoxCall& call) {
        shown_.append(call);
        if (pending_.isEmpty()) {
            ADD_FAILURE() << "Unexpected message box: \"" << call.text.toStdString() << "\" (title \""
                          << call.title.toStdString() << "\")";
            return int(platform::vbCancel);
        }
        const Expectation next = pending_.takeFirst();
        EXPECT_TRUE(call.text.contains(next.text))
            << "Message box \"" << call.text.toStdString() << "\" does not contain \"" << next.text.toStdString()
            << "\"";
        if (next.whileShown) next.whileShown();
        return next.answer;
    });
}

void failEveryMsgBox() {
    platform::setMsgBoxResponder([](const platform::MsgBoxCall& call) {
        ADD_FAILURE() << "Message box shown outside any script: \"" << call.text.toStdString() << "\"";
        return int(platform::vbCancel);
    });
}

ScriptedMsgBoxes::~ScriptedMsgBoxes() {
    failEveryMsgBox();
    for (const auto& e : pending_) ADD_FAILURE() << "Expected message box never shown: \"" << e.text.toStdString() << "\"";
}

ScriptedMsgBoxes& ScriptedMsgBoxes::expect(const QString& textContains, int answer, std::function<void()> whileShown) {
    pending_.append({textContains, answer, std::move(whileShown)});
    return *this;
}

ScriptedFileDialogs::ScriptedFileDialogs() {
    platform::setFileDialogResponder([this](const platform::FileDialogRequest& request) {
        requests_.append(request);
        if (answers_.isEmpty()) {
            ADD_FAILURE() << "Unexpected file dialog \"" << request.title.toStdString() << "\"";
            return platform::FileDialogAnswer{};
        }
        platform::FileDialogAnswer answer = answers_.takeFirst();
        if (answer.accepted && answer.filterIndex == 0)
            answer.filterIndex = request.filterIndex == 0 ? 1 : request.filterIndex;
        return answer;
    });
}

ScriptedFileDialogs::~ScriptedFileDialogs() {
    platform::setFileDialogResponder({});
    if (!answers_.isEmpty()) ADD_FAILURE() << answers_.size() << " expected file dialog(s) never shown";
}

ScriptedFileDialogs& ScriptedFileDialogs::choose(const QString& path, int filterIndex) {
    answers_.append(platform::FileDialogAnswer{true, path, filterIndex});
    return *this;
}

ScriptedFileDialogs& ScriptedFileDialogs::cancel() {
    answers_.append(platform::FileDialogAnswer{});
    return *this;
}

ScriptedModals::ScriptedModals() {
    platform::setModalRunner([this](QDialog& dialog) {
        if (steps_.isEmpty()) {
            ADD_FAILURE() << "Unexpected modal dialog \"" << dialog.windowTitle().toStdString() << "\"";
            dialog.reject();
            return int(QDialog::Rejected);
        }
        const Step step = steps_.takeFirst();
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        step(dialog);
        if (dialog.isVisible()) {
            ADD_FAILURE() << "Modal dialog \"" << dialog.windowTitle().toStdString() << "\" was left open";
            dialog.reject();
        }
        return dialog.result();
    });
}

ScriptedModals::~ScriptedModals() {
    platform::setModalRunner({});
    if (!steps_.isEmpty()) ADD_FAILURE() << steps_.size() << " expected modal dialog(s) never shown";
}

ScriptedModals& ScriptedModals::then(Step step) {
    steps_.append(std::move(step));
    return *this;
}

FreshStore::FreshStore() : oldHome_(qgetenv("QUORVANTIL_HOME")) {
    platform::setRegistryFile(storeFile());
    qputenv("QUORVANTIL_HOME", (dir_.path() + QStringLiteral("/home")).toUtf8());
}

FreshStore::~FreshStore() {
    platform::setRegistryFile(platform::configFolder() + QStringLiteral("/registry.reg"));
    qputenv("QUORVANTIL_HOME", oldHome_);
}

QString FreshStore::storeFile() const {
    return dir_.path() + QStringLiteral("/config/registry.reg");
}

}  // namespace testing_support
