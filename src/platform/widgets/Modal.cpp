#include "platform/widgets/Modal.h"

#include <QApplication>
#include <QDialog>
#include <QDrag>
#include <QDropEvent>
#include <QPointer>
#include <QScreen>

#include <algorithm>

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
QPointer<QDrag> dragUnderWay;
}  // namespace

int execModal(QDialog& dialog) {
    centreOverOwner(dialog);
    if (runner()) return runner()(dialog);
    return dialog.exec();
}

void centreOverOwner(QWidget& dialog) {
    QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    if (!owner || !owner->isVisible() || dialog.isVisible()) return;
    // The size it is about to open with: as designed, else what its layout asks.
    if (!dialog.testAttribute(Qt::WA_Resized)) dialog.adjustSize();
    QRect place(QPoint(), dialog.size());
    place.moveCenter(owner->geometry().center());
    if (const QScreen* screen = owner->screen()) {
        const QRect area = screen->availableGeometry();
        place.moveLeft(std::max(area.left(), std::min(place.left(), area.right() - place.width())));
        place.moveTop(std::max(area.top(), std::min(place.top(), area.bottom() - place.height())));
    }
    dialog.setGeometry(place);
}

void showOverOwner(QWidget& dialog) {
    centreOverOwner(dialog);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void setModalRunner(ModalRunner r) {
    runner() = std::move(r);
}

Qt::DropAction execDrag(QDrag& drag, Qt::DropActions supported, Qt::DropAction defaultAction) {
    const QPointer<QDrag> outer = std::exchange(dragUnderWay, &drag);
    if (!dragRunner()) {
        const Qt::DropAction done = drag.exec(supported, defaultAction);  // deletes the drag when done
        dragUnderWay = outer;
        return done;
    }
    const Qt::DropAction done = dragRunner()(drag);
    dragUnderWay = outer;
    drag.deleteLater();
    return done;
}

DragRunner setDragRunner(DragRunner r) {
    return std::exchange(dragRunner(), std::move(r));
}

QObject* dropSource(const QDropEvent& event) {
    if (QObject* source = event.source()) return source;
    if (dragUnderWay && event.mimeData() && dragUnderWay->mimeData() == event.mimeData()) return dragUnderWay->source();
    return nullptr;
}

}  // namespace platform
