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
// The program's drag under way, whose data a played drag's drop carries.
QPointer<QDrag> dragUnderWay;
}  // namespace

int ModalRuns::execModal(QDialog& dialog) {
    centreOverOwner(dialog);
    return runModal(dialog);
}

int ModalRuns::runModal(QDialog& dialog) {
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

Qt::DropAction ModalRuns::execDrag(QDrag& drag, Qt::DropActions supported, Qt::DropAction defaultAction) {
    const QPointer<QDrag> outer = std::exchange(dragUnderWay, &drag);
    const Qt::DropAction done = runDrag(drag, supported, defaultAction);
    dragUnderWay = outer;
    return done;
}

Qt::DropAction ModalRuns::runDrag(QDrag& drag, Qt::DropActions supported, Qt::DropAction defaultAction) {
    return drag.exec(supported, defaultAction);
}

QObject* dropSource(const QDropEvent& event) {
    if (QObject* source = event.source()) return source;
    if (dragUnderWay && event.mimeData() && dragUnderWay->mimeData() == event.mimeData()) return dragUnderWay->source();
    return nullptr;
}

}  // namespace platform
