#include "platform/ItemControl.h"

#include "platform/KeyCodes.h"
#include "platform/Modal.h"
#include "platform/Twips.h"

#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolTip>

namespace platform {
namespace {

// Marks drags that start in one of the program's lists or trees, so that even a drag
// whose handler supplied no text carries some data and reaches the drop targets.
const QString kOwnDragFormat = QStringLiteral("application/x-quorvantil-item");

int effectsOf(Qt::DropActions actions) {
    int effect = vbDropEffectNone;
    if (actions.testFlag(Qt::CopyAction)) effect |= vbDropEffectCopy;
    if (actions.testFlag(Qt::MoveAction)) effect |= vbDropEffectMove;
    return effect;
}

// Accepts or refuses a drag event by the effect a handler left.
void applyEffect(QDropEvent* event, int effect) {
    if ((effect & vbDropEffectMove) && event->possibleActions().testFlag(Qt::MoveAction)) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else if ((effect & vbDropEffectCopy) && event->possibleActions().testFlag(Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else if (effect != vbDropEffectNone) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

}  // namespace

ItemControl::ItemControl(QWidget* parent) : QTreeWidget(parent) {
    viewport()->setMouseTracking(true);
    setDragEnabled(false);
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

ItemControl::~ItemControl() = default;

void ItemControl::setOLEDragMode(int mode) {
    oleDragMode_ = mode == vbOLEDragAutomatic ? vbOLEDragAutomatic : vbOLEDragManual;
    setDragEnabled(oleDragMode_ == vbOLEDragAutomatic);
}

void ItemControl::setOLEDropMode(int mode) {
    oleDropMode_ = mode == vbOLEDropManual ? vbOLEDropManual : vbOLEDropNone;
    setAcceptDrops(oleDropMode_ == vbOLEDropManual);
    viewport()->setAcceptDrops(oleDropMode_ == vbOLEDropManual);
}

void ItemControl::Refresh() {
    viewport()->update();
}

QPoint ItemControl::viewportPointFromTwips(int x, int y) const {
    return viewport()->mapFrom(this, QPoint(twipsToPixels(x), twipsToPixels(y)));
}

QPoint ItemControl::twipsFromViewportPoint(const QPoint& viewportPoint) const {
    return pixelsToTwips(viewport()->mapTo(this, viewportPoint));
}

std::unique_ptr<DataObject> ItemControl::collectDragData() {
    auto data = std::make_unique<DataObject>();
    Q_EMIT OLESetData(*data);
    return data;
}

bool ItemControl::isOnItem(QTreeWidgetItem* item, const QPoint& viewportPoint) const {
    const QRect rect = visualItemRect(item);
    return isRightToLeft() ? viewportPoint.x() <= rect.right() : viewportPoint.x() >= rect.left();
}

void ItemControl::keyPressEvent(QKeyEvent* event) {
    QPointer<ItemControl> self(this);
    int code = vbKeyCode(event->key(), event->modifiers());
    if (code != 0) {
        Q_EMIT KeyDown(code, vbShiftState(event->modifiers()));
        if (!self) return;
        if (code == 0) {
            event->accept();
            return;
        }
    }
    const QString text = typedText(event);
    const QList<uint> characters = text.toUcs4();
    for (uint c : characters) {
        if (c == 0x7f) continue;  // Delete types nothing
        int ascii = static_cast<int>(c);
        Q_EMIT KeyPress(ascii);
        if (!self) return;
        if (ascii == 0) {
            event->accept();
            return;
        }
    }
    QTreeWidget::keyPressEvent(event);
}

void ItemControl::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) {
        QPointer<ItemControl> self(this);
        int code = vbKeyCode(event->key(), event->modifiers());
        if (code != 0) {
            Q_EMIT KeyUp(code, vbShiftState(event->modifiers()));
            if (!self) return;
            if (code == 0) {
                event->accept();
                return;
            }
        }
    }
    QTreeWidget::keyReleaseEvent(event);
}

void ItemControl::mousePressEvent(QMouseEvent* event) {
    QPointer<ItemControl> self(this);
    const QPoint point = event->position().toPoint();
    QTreeWidgetItem* item = itemAt(point);
    pressedIndex_ = item && isOnItem(item, point) ? QPersistentModelIndex(indexFromItem(item)) : QPersistentModelIndex();
    suppressNextClick_ = false;
    const QPoint twips = twipsFromViewportPoint(point);
    Q_EMIT MouseDown(vbButton(event->button()), vbShiftState(event->modifiers()), twips.x(), twips.y());
    if (!self) return;
    QTreeWidget::mousePressEvent(event);
}

void ItemControl::mouseMoveEvent(QMouseEvent* event) {
    QPointer<ItemControl> self(this);
    const QPoint twips = twipsFromViewportPoint(event->position().toPoint());
    Q_EMIT MouseMove(vbButtons(event->buttons()), vbShiftState(event->modifiers()), twips.x(), twips.y());
    if (!self) return;
    QTreeWidget::mouseMoveEvent(event);
}

void ItemControl::mouseReleaseEvent(QMouseEvent* event) {
    QPointer<ItemControl> self(this);
    QTreeWidget::mouseReleaseEvent(event);
    if (!self) return;
    const QPoint point = event->position().toPoint();
    const QPoint twips = twipsFromViewportPoint(point);
    Q_EMIT MouseUp(vbButton(event->button()), vbShiftState(event->modifiers()), twips.x(), twips.y());
    if (!self) return;
    const QPersistentModelIndex pressed = pressedIndex_;
    pressedIndex_ = QPersistentModelIndex();
    if (suppressNextClick_ || event->button() != Qt::LeftButton) {
        suppressNextClick_ = false;
        return;
    }
    QTreeWidgetItem* item = itemAt(point);
    if (item && pressed.isValid() && itemFromIndex(pressed) == item && isOnItem(item, point)) {
        itemClicked(item);
        if (!self) return;
    }
    Q_EMIT Click();
}

void ItemControl::mouseDoubleClickEvent(QMouseEvent* event) {
    QPointer<ItemControl> self(this);
    QTreeWidget::mouseDoubleClickEvent(event);
    if (!self) return;
    suppressNextClick_ = true;
    if (event->button() == Qt::LeftButton) Q_EMIT DblClick();
}

void ItemControl::startDrag(Qt::DropActions) {
    if (oleDragMode_ != vbOLEDragAutomatic) return;
    QPointer<ItemControl> self(this);
    std::unique_ptr<DataObject> data = collectDragData();
    if (!self) return;
    QMimeData* mime = data->takeMimeData();
    mime->setData(kOwnDragFormat, QByteArray());
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const Qt::DropAction done = execDrag(*drag, Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    if (!self) return;
    // The button went up inside the drag, so no mouse-up follows it.
    Q_EMIT OLECompleteDrag(effectsOf(done));
}

void ItemControl::dragOver(QDropEvent* event, int state) {
    QPointer<ItemControl> self(this);
    lastDragData_ = event->mimeData();
    lastDragSource_ = event->source();
    DataObject data(event->mimeData(), event->source());
    int effect = effectsOf(event->possibleActions());
    const QPoint twips = twipsFromViewportPoint(event->position().toPoint());
    Q_EMIT OLEDragOver(data, effect, vbButtons(event->buttons()), vbShiftState(event->modifiers()), twips.x(),
                       twips.y(), state);
    if (!self) return;
    applyEffect(event, effect);
}

void ItemControl::dragEnterEvent(QDragEnterEvent* event) {
    if (oleDropMode_ != vbOLEDropManual) {
        event->ignore();
        return;
    }
    QPointer<ItemControl> self(this);
    dragOver(event, vbEnter);
    // Keep receiving the moves even where the drop is refused, so handlers see them all.
    if (self) event->accept();
}

void ItemControl::dragMoveEvent(QDragMoveEvent* event) {
    if (oleDropMode_ != vbOLEDropManual) {
        event->ignore();
        return;
    }
    dragOver(event, vbOver);
}

void ItemControl::dragLeaveEvent(QDragLeaveEvent* event) {
    event->accept();
    if (oleDropMode_ != vbOLEDropManual) return;
    DataObject data(lastDragData_, lastDragSource_);
    int effect = vbDropEffectNone;
    const QPoint twips = twipsFromViewportPoint(viewport()->mapFromGlobal(QCursor::pos()));
    Q_EMIT OLEDragOver(data, effect, 0, 0, twips.x(), twips.y(), vbLeave);
}

void ItemControl::dropEvent(QDropEvent* event) {
    if (oleDropMode_ != vbOLEDropManual) {
        event->ignore();
        return;
    }
    QPointer<ItemControl> self(this);
    DataObject data(event->mimeData(), event->source());
    int effect = effectsOf(event->possibleActions());
    const QPoint twips = twipsFromViewportPoint(event->position().toPoint());
    Q_EMIT OLEDragDrop(data, effect, vbButtons(event->buttons()), vbShiftState(event->modifiers()), twips.x(),
                       twips.y());
    if (!self) return;
    applyEffect(event, effect);
}

bool ItemControl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (toolTipText_.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), toolTipText_, viewport());
        return true;
    }
    return QTreeWidget::viewportEvent(event);
}

}  // namespace platform
