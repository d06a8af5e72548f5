#include "core/program/CommandState.h"

#include "platform/Inet.h"

#include <QTimer>

CommandState::CommandState() = default;
CommandState::~CommandState() {
    delete waitDialog.data();
    delete macroEditor.data();
}
