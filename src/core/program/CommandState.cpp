#include "core/program/CommandState.h"

#include "core/program/UserDialogs.h"
#include "platform/Inet.h"

#include <QTimer>

ListLoadGuard::ListLoadGuard(CommandState& commands, UserDialogs& user) : commands_(commands) {
    if (commands_.listLoading) {
        if (++commands_.listLoadRefusals > 1)
            user.MsgBox(QStringLiteral("Already loading another list. Please wait"));
        return;
    }
    commands_.listLoading = acquired_ = true;
}

ListLoadGuard::~ListLoadGuard() {
    if (acquired_) commands_.listLoading = false;
}

void ListLoadGuard::finished() {
    commands_.listLoadRefusals = 0;
}

CommandState::CommandState() = default;
CommandState::~CommandState() {
    delete waitDialog.data();
    delete macroEditor.data();
}
