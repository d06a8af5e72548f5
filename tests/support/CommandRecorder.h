#pragma once
#include "core/commands/modMTP.h"
#include "core/program/ProgramContext.h"
#include "support/core/TestContext.h"

#include <QStringList>

namespace testing_support {

// Takes every command that reaches the command entry of a program state (one a test made,
// on its test dispatcher) and keeps it from running.
class CommandRecorder {
public:
    CommandRecorder() = default;
    explicit CommandRecorder(ProgramContext& context) { attach(context); }
    ~CommandRecorder() { detach(); }
    CommandRecorder(const CommandRecorder&) = delete;
    CommandRecorder& operator=(const CommandRecorder&) = delete;

    // Records the commands of this state from now on (and no longer those of another).
    void attach(ProgramContext& context) {
        detach();
        context_ = &context;
        testDispatcher(context).take = [this](const QString& command, CommandOrigin origin) {
            commands << command;
            origins << origin;
            return true;
        };
    }
    // Lets the state's commands run again; call it before the state goes.
    void detach() {
        if (context_) testDispatcher(*context_).take = {};
        context_ = nullptr;
    }

    QStringList commands;
    QList<CommandOrigin> origins;

private:
    ProgramContext* context_ = nullptr;
};

}  // namespace testing_support
