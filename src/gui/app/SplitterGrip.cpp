#include "gui/app/SplitterGrip.h"

#include <QMouseEvent>

SplitterGrip::SplitterGrip(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation) {
    setCursor(orientation == Qt::Vertical ? Qt::SplitHCursor : Qt::SplitVCursor);
}

void SplitterGrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = true;
    Q_EMIT pressed();
}

void SplitterGrip::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) Q_EMIT moved(event->globalPosition().toPoint());
}

void SplitterGrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) return;
    dragging_ = false;
    Q_EMIT released();
}
