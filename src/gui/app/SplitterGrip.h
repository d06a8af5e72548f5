#pragma once
#include <QWidget>

// A thin grip between panes; the window moves a drag bar while it is dragged and lays
// the panes out when it is let go.
class SplitterGrip : public QWidget {
    Q_OBJECT
public:
    SplitterGrip(Qt::Orientation orientation, QWidget* parent = nullptr);
    Qt::Orientation orientation() const { return orientation_; }

Q_SIGNALS:
    void pressed();
    void moved(const QPoint& globalPos);
    void released();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Qt::Orientation orientation_;
    bool dragging_ = false;
};
