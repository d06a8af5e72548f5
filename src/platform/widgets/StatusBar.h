#pragma once
#include <QList>
#include <QString>
#include <QWidget>

class QLabel;

namespace platform {

// A status bar of numbered panels (1-based), each with a text and a tag the program
// keeps beside it (the document state lives in panel 2's text and tag).
class StatusBar : public QWidget {
    Q_OBJECT
public:
    explicit StatusBar(int panels, QWidget* parent = nullptr);

    int panelCount() const { return int(panels_.size()); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);
    QString panelTag(int index) const;
    void setPanelTag(int index, const QString& tag);
    // Panel edges in twips from the bar's left edge.
    double panelLeft(int index) const;
    double panelWidth(int index) const;

Q_SIGNALS:
    // Pointer position in twips.
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x, double y);
    void panelClicked(int index);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Panel {
        QLabel* label;
        QString tag;
    };
    QList<Panel> panels_;
};

}  // namespace platform
