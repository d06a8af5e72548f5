#pragma once
#include <Qt>

#include <functional>

class QDialog;
class QDrag;
class QDropEvent;
class QObject;

namespace platform {

// Shows a dialog modally and returns its result. Every modal window of the program goes
// through here, so tests can work the dialog instead of a user.
int execModal(QDialog& dialog);

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

// The wait cursor over every window of the program for as long as it lives.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace platform
