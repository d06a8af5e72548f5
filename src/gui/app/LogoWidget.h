#pragma once
#include <QWidget>

class QMimeData;
class QTimer;

// The program's logo at the right end of the toolbar row; it turns while a page loads
// or a command runs.
class LogoWidget : public QWidget {
    Q_OBJECT
public:
    explicit LogoWidget(QWidget* parent = nullptr);
    void Play();
    void Stop();
    bool isPlaying() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer* timer_;
    int phase_ = 0;
};

// Laid over the logo: takes the clicks and drops meant for it.
class LogoOverlay : public QWidget {
    Q_OBJECT
public:
    explicit LogoOverlay(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();
    void dropped(const QMimeData* data);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
