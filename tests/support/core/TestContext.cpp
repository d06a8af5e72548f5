#include "support/core/TestContext.h"

#include <gtest/gtest.h>

#include <utility>

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

QList<const FreshStore*>& freshStores() {
    static QList<const FreshStore*> stores;
    return stores;
}

StartedProcesses*& recorder() {
    static StartedProcesses* kept = nullptr;
    return kept;
}

// Starts programs as the system does, unless a StartedProcesses keeps them.
class TestProcesses final : public platform::ProcessStarter {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override {
        if (!recorder()) return ProcessStarter::startDetached(program, arguments);
        recorder()->append(QStringList{program} + arguments);
        return true;
    }
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

void useSandbox(const QString& folder) {
    qputenv("QUORVANTIL_CONFIG", (folder + QStringLiteral("/config")).toUtf8());
    qputenv("QUORVANTIL_HOME", (folder + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_DATA_HOME", (folder + QStringLiteral("/xdg-data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (folder + QStringLiteral("/xdg-config")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QUORVANTIL_TEST_KEYRING"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quorvantil-tests");
    qputenv("QUORVANTIL_SCHEME_SERVER", "127.0.0.1:9");
}

FreshStore::FreshStore() : oldHome_(qgetenv("QUORVANTIL_HOME")) {
    freshStores().append(this);
    qputenv("QUORVANTIL_HOME", (dir_.path() + QStringLiteral("/home")).toUtf8());
}

FreshStore::~FreshStore() {
    freshStores().removeOne(this);
    qputenv("QUORVANTIL_HOME", oldHome_);
}

QString FreshStore::storeFile() const {
    return dir_.path() + QStringLiteral("/config/registry.reg");
}

QString testStoreFile() {
    return freshStores().isEmpty() ? platform::userRegistryFile() : freshStores().constLast()->storeFile();
}

StartedProcesses::StartedProcesses() : outer_(std::exchange(recorder(), this)) {}

StartedProcesses::~StartedProcesses() {
    recorder() = outer_;
}

namespace detail {
ProgramServices testServices(const TestServices& services) {
    static TestProcesses processes;
    return {scriptedUser(), processes, services.settingsFile.value_or(testStoreFile()), services.proxy};
}
}  // namespace detail

}  // namespace testing_support
