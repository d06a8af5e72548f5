#include "gui/app/LogoWidget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

LogoWidget::LogoWidget(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
    timer_->setInterval(80);
    connect(timer_, &QTimer::timeout, this, [this] {
        phase_ = (phase_ + 1) % 12;
        update();
    });
    setToolTip(QStringLiteral("Home"));
}

void LogoWidget::Play() {
    if (!timer_->isActive()) timer_->start();
}

void LogoWidget::Stop() {
    // Stopped at rest already: nothing to paint (every command ends by stopping it).
    if (!timer_->isActive() && phase_ == 0) return;
    timer_->stop();
    phase_ = 0;
    update();
}

bool LogoWidget::isPlaying() const {
    return timer_->isActive();
}

void LogoWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 4;
    if (side <= 4) return;
    const QRectF box((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    // A ring of twelve beads with one bright bead that runs round while busy, and a "Q" tail.
    const QPointF centre = box.center();
    const double radius = side * 0.36;
    for (int i = 0; i < 12; ++i) {
        const double angle = (i * 30.0 - 90.0) * M_PI / 180.0;
        const QPointF at(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
        const bool lit = isPlaying() ? i == phase_ : i % 3 == 0;
        p.setPen(Qt::NoPen);
        p.setBrush(lit ? QColor(0xd9, 0x6c, 0x10) : QColor(0x2c, 0x5a, 0x8c));
        const double r = side * (lit ? 0.085 : 0.065);
        p.drawEllipse(at, r, r);
    }
    QPen tail(QColor(0x2c, 0x5a, 0x8c), side * 0.09, Qt::SolidLine, Qt::RoundCap);
    p.setPen(tail);
    p.drawLine(QPointF(centre.x() + radius * 0.35, centre.y() + radius * 0.35),
               QPointF(centre.x() + radius * 1.05, centre.y() + radius * 1.05));
}

LogoOverlay::LogoOverlay(QWidget* parent) : QWidget(parent) {
    setAcceptDrops(true);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Home"));
}

void LogoOverlay::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Q_EMIT clicked();
}

void LogoOverlay::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText()) event->acceptProposedAction();
}

void LogoOverlay::dropEvent(QDropEvent* event) {
    Q_EMIT dropped(event->mimeData());
    event->acceptProposedAction();
}
