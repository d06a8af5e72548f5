#pragma once
#include "commands/modMTP.h"

#include <QStringList>

namespace testing_support {

// Takes every command that reaches the command entry and keeps it from running.
class CommandRecorder {
public:
    CommandRecorder() {
        modMTP::setCommandInterceptor([this](const QString& command, modMTP::CommandOrigin origin) {
            commands << command;
            origins << origin;
            return true;
        });
    }
    ~CommandRecorder() { modMTP::setCommandInterceptor({}); }
    CommandRecorder(const CommandRecorder&) = delete;
    CommandRecorder& operator=(const CommandRecorder&) = delete;

    QStringList commands;
    QList<modMTP::CommandOrigin> origins;
};

}  // namespace testing_support
