#include "platform/widgets/StatusBar.h"

#include "platform/Twips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace platform {

StatusBar::StatusBar(int panels, QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(2);
    for (int i = 0; i < panels; ++i) {
        auto* label = new QLabel(this);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(40);
        label->setTextFormat(Qt::PlainText);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(label, i == panels - 1 ? 3 : 1);
        panels_.append(Panel{label, QString()});
    }
    setMouseTracking(true);
    setFixedHeight(fontMetrics().height() + 8);
}

QString StatusBar::panelText(int index) const {
    return index >= 1 && index <= panelCount() ? panels_[index - 1].label->text() : QString();
}

void StatusBar::setPanelText(int index, const QString& text) {
    if (index >= 1 && index <= panelCount()) panels_[index - 1].label->setText(text);
}

QString StatusBar::panelTag(int index) const {
    return index >= 1 && index <= panelCount() ? panels_[index - 1].tag : QString();
}

void StatusBar::setPanelTag(int index, const QString& tag) {
    if (index >= 1 && index <= panelCount()) panels_[index - 1].tag = tag;
}

double StatusBar::panelLeft(int index) const {
    return index >= 1 && index <= panelCount() ? pixelsToTwips(panels_[index - 1].label->geometry().left()) : 0;
}

double StatusBar::panelWidth(int index) const {
    return index >= 1 && index <= panelCount() ? pixelsToTwips(panels_[index - 1].label->geometry().width()) : 0;
}

void StatusBar::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT mouseMoved(event->buttons(), event->modifiers(), pixelsToTwips(event->position().x()),
                      pixelsToTwips(event->position().y()));
}

void StatusBar::mousePressEvent(QMouseEvent* event) {
    for (int i = 1; i <= panelCount(); ++i) {
        if (panels_[i - 1].label->geometry().contains(event->position().toPoint())) {
            Q_EMIT panelClicked(i);
            return;
        }
    }
}

}  // namespace platform
