#pragma once
#include "core/commands/modMTP.h"
#include "core/program/ProgramContext.h"
#include "support/core/ScriptedDialogs.h"

#include <QString>

#include <functional>

namespace testing_support {

// The dispatcher tests give the program: it carries commands out as the program's does,
// unless `take` takes them first (answering true keeps a command from running).
class TestDispatcher final : public CommandDispatcher {
public:
    void dispatch(ProgramContext& context, QString& command, CommandOrigin origin) override {
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

namespace detail {
struct DispatcherHolder {
    TestDispatcher dispatcher;
};
}  // namespace detail

// A fresh program state on a test dispatcher of its own, asking the user through the test
// program's scripts (scriptedUser()).
class TestContext : private detail::DispatcherHolder, public ProgramContext {
public:
    TestContext() : ProgramContext(DispatcherHolder::dispatcher, testCommandDialogs(), scriptedUser()) {}
};

// The test dispatcher of a state a test made.
inline TestDispatcher& testDispatcher(ProgramContext& context) {
    return static_cast<TestDispatcher&>(context.dispatcher);
}

}  // namespace testing_support
