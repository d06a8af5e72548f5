#pragma once
#include "core/commands/modMTP.h"
#include "core/program/ProgramContext.h"
#include "support/core/ScriptedDialogs.h"

#include <QList>
#include <QNetworkProxy>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace testing_support {

// The dispatcher tests give the program: it carries commands out as the program's does,
// unless `take` takes them first (answering true keeps a command from running).
class TestDispatcher final : public CommandDispatcher {
public:
    void dispatch(ProgramContext& context, const QString& command, CommandOrigin origin) override {
        if (take && take(command, origin)) return;
        program_.dispatch(context, command, origin);
    }
    std::function<bool(const QString& command, CommandOrigin origin)> take;

private:
    modMTP::ProgramDispatcher program_;
};

// The command language's windows of the contexts tests make: the program's own where the
// test program's main hands them in (the programs that test windows), else stand-ins that
// fail the test that uses them.
CommandDialogs& testCommandDialogs();
void useCommandDialogs(CommandDialogs& dialogs);

// Where a test program keeps its settings, program folder and data: in `folder`, never the
// user's; it reaches no keyring (but the keyring test's own) and no scheme server but a closed
// local port, unless a test starts one.
void useSandbox(const QString& folder);

// A fresh, private settings store and program folder while it lives: the contexts made
// meanwhile keep their settings in it.
class FreshStore {
public:
    FreshStore();
    ~FreshStore();
    FreshStore(const FreshStore&) = delete;
    FreshStore& operator=(const FreshStore&) = delete;
    QString storeFile() const;

private:
    QTemporaryDir dir_;
    QByteArray oldHome_;
};

// The settings store's file of the contexts tests make: the last FreshStore's alive, else the
// test program's own (in its sandbox).
QString testStoreFile();

// The programs the contexts tests make start, kept instead of run while it lives (each the
// program and its arguments). Without one they are started.
class StartedProcesses : public QList<QStringList> {
public:
    StartedProcesses();
    ~StartedProcesses();
    StartedProcesses(const StartedProcesses&) = delete;
    StartedProcesses& operator=(const StartedProcesses&) = delete;

private:
    StartedProcesses* outer_;
};

// What a test may compose its context with beyond the scripts.
struct TestServices {
    // Every transfer's proxy; none: the system's settings, as the program's.
    std::optional<QNetworkProxy> proxy;
    // The settings store's file; none: testStoreFile().
    std::optional<QString> settingsFile;
};

namespace detail {
struct DispatcherHolder {
    TestDispatcher dispatcher;
};
ProgramServices testServices(const TestServices& services);
}  // namespace detail

// A fresh program state on a test dispatcher of its own, asking the user through the test
// program's scripts (scriptedUser()), its programs started as StartedProcesses says.
class TestContext : private detail::DispatcherHolder, public ProgramContext {
public:
    explicit TestContext(const TestServices& services = {})
        : ProgramContext(DispatcherHolder::dispatcher, testCommandDialogs(), detail::testServices(services)) {}
};

// The test dispatcher of a state a test made.
inline TestDispatcher& testDispatcher(ProgramContext& context) {
    return static_cast<TestDispatcher&>(context.dispatcher);
}

}  // namespace testing_support
