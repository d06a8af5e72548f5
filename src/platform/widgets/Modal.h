#pragma once
#include <Qt>

#include <functional>

class QDialog;
class QDrag;
class QDropEvent;
class QObject;
class QWidget;

namespace platform {

// Shows a dialog modally and returns its result, centred over the window it belongs to.
// Every modal window of the program goes through here, so tests can work the dialog instead
// of a user.
int execModal(QDialog& dialog);

// Puts a dialog about to open over the middle of the window it belongs to, on that window's
// screen; one without an owner, or one already open, stays where it is. The system's own
// placement is off by the height of a title bar under window managers without side borders.
void centreOverOwner(QWidget& dialog);

// Opens a modeless dialog centred over its window, or brings it to the front where it is.
void showOverOwner(QWidget& dialog);

// Works a shown dialog and closes it (tests). An empty runner restores exec().
using ModalRunner = std::function<int(QDialog&)>;
void setModalRunner(ModalRunner runner);

// Runs a drag until it is dropped or given up and returns what the drop did. Every drag of
// the program goes through here: a drag holds the mouse as a modal window holds the keys.
Qt::DropAction execDrag(QDrag& drag, Qt::DropActions supported, Qt::DropAction defaultAction);

// Plays a drag instead of a user (tests). An empty runner restores QDrag::exec(). Returns
// the runner it replaces.
using DragRunner = std::function<Qt::DropAction(QDrag&)>;
DragRunner setDragRunner(DragRunner runner);

// The control a drop comes from: the drag's source as Qt reports it, or the source of the
// program's drag under way when the drop carries its data (a played drag); nullptr for data
// from another program.
QObject* dropSource(const QDropEvent& event);

}  // namespace platform
