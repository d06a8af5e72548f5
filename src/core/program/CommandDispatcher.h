#pragma once
#include "core/program/CommandState.h"

#include <QString>

class ProgramContext;

// What the command entry hands each command to, once a page's command has been cleaned.
// The program gives its context the dispatcher that carries commands out; a test may give
// its own, to keep commands from running and see them.
class CommandDispatcher {
public:
    virtual ~CommandDispatcher() = default;
    virtual void dispatch(ProgramContext& context, const QString& command, CommandOrigin origin) = 0;
};
