#pragma once
#include <Qt>

class QDialog;
class QDrag;
class QDropEvent;
class QObject;
class QWidget;

namespace platform {

// How the program runs its modal dialogs and its drags: every modal window and every drag of
// the program goes through the runs handed to the window that owns it where the program is
// composed. These run them for the user; tests hand in runs that work the dialog or play the
// drag instead.
class ModalRuns {
public:
    virtual ~ModalRuns() = default;

    // Shows a dialog modally, centred over the window it belongs to, and returns its result.
    int execModal(QDialog& dialog);
    // Runs a drag until it is dropped or given up and returns what the drop did: a drag holds
    // the mouse as a modal window holds the keys. The drag is deleted afterwards.
    Qt::DropAction execDrag(QDrag& drag, Qt::DropActions supported, Qt::DropAction defaultAction);

protected:
    // The dialog's modal run: exec().
    virtual int runModal(QDialog& dialog);
    // The drag's run, which deletes the drag when it is over: QDrag::exec().
    virtual Qt::DropAction runDrag(QDrag& drag, Qt::DropActions supported, Qt::DropAction defaultAction);
};

// Puts a dialog about to open over the middle of the window it belongs to, on that window's
// screen; one without an owner, or one already open, stays where it is. The system's own
// placement is off by the height of a title bar under window managers without side borders.
void centreOverOwner(QWidget& dialog);

// Opens a modeless dialog centred over its window, or brings it to the front where it is.
void showOverOwner(QWidget& dialog);

// The control a drop comes from: the drag's source as Qt reports it, or the source of the
// program's drag under way when the drop carries its data (a played drag); nullptr for data
// from another program.
QObject* dropSource(const QDropEvent& event);

}  // namespace platform
