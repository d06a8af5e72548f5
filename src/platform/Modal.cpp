#include "platform/Modal.h"

#include <QDialog>
#include <QDrag>

namespace platform {
namespace {
ModalRunner& runner() {
    static ModalRunner instance;
    return instance;
}
DragRunner& dragRunner() {
    static DragRunner instance;
    return instance;
}
}  // namespace

int execModal(QDialog& dialog) {
    if (runner()) return runner()(dialog);
    return dialog.exec();
}

void setModalRunner(ModalRunner r) {
    runner() = std::move(r);
}

Qt::DropAction execDrag(QDrag& drag, Qt::DropActions supported, Qt::DropAction defaultAction) {
    if (!dragRunner()) return drag.exec(supported, defaultAction);  // deletes the drag when done
    const Qt::DropAction done = dragRunner()(drag);
    drag.deleteLater();
    return done;
}

void setDragRunner(DragRunner r) {
    dragRunner() = std::move(r);
}

}  // namespace platform
