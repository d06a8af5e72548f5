#include "support/core/TestContext.h"

#include <gtest/gtest.h>

namespace testing_support {
namespace {

// The wait dialog and the macro editor where no window may open: any use fails the test.
class NoCommandDialogs final : public CommandDialogs, WaitDialog, MacroEditor {
public:
    WaitDialog& loadWaitDialog(ProgramContext&) override { return unexpected("the wait dialog"), *this; }
    WaitDialog* loadedWaitDialog(ProgramContext&) override { return nullptr; }
    void showWaitModal(ProgramContext&) override { unexpected("the wait dialog"); }
    MacroEditor& loadMacroEditor(ProgramContext&) override { return unexpected("the macro editor"), *this; }
    void showMacroEditor(ProgramContext&) override { unexpected("the macro editor"); }

    void showText(const QString&, const QString&) override {}
    void storeCommand(const QString&, CommandOrigin) override {}
    void clearMacroLists() override {}
    void fillMacroLists(const Lists&) override {}
    QString nextFreeKey() const override { return QString(); }
    void chooseKey(const QString&) override {}
    void saveMacro(const QString&, QString, QString) override {}

private:
    static void unexpected(const char* window) { ADD_FAILURE() << "A command opened " << window << " in a test without windows"; }
};

CommandDialogs*& chosen() {
    static CommandDialogs* dialogs = nullptr;
    return dialogs;
}

}  // namespace

CommandDialogs& testCommandDialogs() {
    static NoCommandDialogs none;
    return chosen() ? *chosen() : none;
}

void useCommandDialogs(CommandDialogs& dialogs) {
    chosen() = &dialogs;
}

}  // namespace testing_support
