#include "platform/Modal.h"

#include <QDialog>

namespace platform {
namespace {
ModalRunner& runner() {
    static ModalRunner instance;
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

}  // namespace platform
