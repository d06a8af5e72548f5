#include "platform/widgets/UserDialogWindows.h"

#include <QApplication>

namespace platform {

void UserDialogWindows::beginWait() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void UserDialogWindows::endWait() {
    QApplication::restoreOverrideCursor();
}

}  // namespace platform
