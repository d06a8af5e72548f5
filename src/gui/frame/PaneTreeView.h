#pragma once
#include <QString>
#include <QTreeView>

class QMimeData;

namespace platform {
class ModalRuns;
}  // namespace platform

// What the metadata panel and the hierarchy pane share as views: positions in twips from the
// view's corner, one tool tip shown anywhere over the rows, and drags marked as the program's
// own that offer a copy and a move.
class PaneTreeView : public QTreeView {
    Q_OBJECT
public:
    // Its drags run through `runs`.
    explicit PaneTreeView(platform::ModalRuns& runs, QWidget* parent = nullptr) : QTreeView(parent), runs_(runs) {}

    // The tool tip shown anywhere over the rows; none when empty.
    QString toolTipText() const { return toolTipText_; }
    void setToolTipText(const QString& text) { toolTipText_ = text; }

protected:
    // A point of the viewport in twips from the view's corner.
    QPoint twipsFromViewportPoint(const QPoint& point) const;
    // Runs a drag of the data (the drag owns it), marked so it carries data even without a
    // text; returns what the target did.
    Qt::DropAction runOwnDrag(QMimeData* mime);
    bool viewportEvent(QEvent* event) override;

private:
    platform::ModalRuns& runs_;
    QString toolTipText_;
};
