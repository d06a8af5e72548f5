#include "gui/frame/PaneTreeView.h"

#include "platform/widgets/Modal.h"
#include "platform/Twips.h"

#include <QDrag>
#include <QHelpEvent>
#include <QMimeData>
#include <QToolTip>

QPoint PaneTreeView::twipsFromViewportPoint(const QPoint& point) const {
    return platform::pixelsToTwips(viewport()->mapTo(this, point));
}

Qt::DropAction PaneTreeView::runOwnDrag(QMimeData* mime) {
    mime->setData(QStringLiteral("application/x-quorvantil-item"), QByteArray());
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    return runs_.execDrag(*drag, Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

bool PaneTreeView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (toolTipText_.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), toolTipText_, viewport());
        return true;
    }
    return QTreeView::viewportEvent(event);
}
