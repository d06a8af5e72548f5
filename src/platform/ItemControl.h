#pragma once
#include "platform/DataObject.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeWidget>

namespace platform {

// OLE drag and drop modes of a list or tree.
enum VbOLEDragMode : int { vbOLEDragManual = 0, vbOLEDragAutomatic = 1 };
enum VbOLEDropMode : int { vbOLEDropNone = 0, vbOLEDropManual = 1 };

// What the list view and the tree view have in common: their keyboard, mouse and drag
// events, raised the way the program's handlers expect them (key codes, shift states
// and buttons numbered as in KeyCodes.h; positions in twips from the control's top
// left corner). Signals carrying references must be connected directly; a handler may
// write to them (a KeyCode or KeyAscii of 0 swallows the key, Effect decides the drop).
class ItemControl : public QTreeWidget {
    Q_OBJECT
public:
    explicit ItemControl(QWidget* parent = nullptr);
    ~ItemControl() override;

    // vbOLEDragAutomatic: dragging an item starts a drag whose data OLESetData fills.
    int OLEDragMode() const { return oleDragMode_; }
    void setOLEDragMode(int mode);
    // vbOLEDropManual: drags over the control raise OLEDragOver and OLEDragDrop.
    int OLEDropMode() const { return oleDropMode_; }
    void setOLEDropMode(int mode);

    // The tool tip shown anywhere over the items.
    QString ToolTipText() const { return toolTipText_; }
    void setToolTipText(const QString& text) { toolTipText_ = text; }

    // Redraws the control.
    virtual void Refresh();

    // Positions: twips from the control's top left corner <-> viewport pixels.
    QPoint viewportPointFromTwips(int x, int y) const;
    QPoint twipsFromViewportPoint(const QPoint& viewportPoint) const;

    // Builds the data of a drag starting now (raises OLESetData). The drag start
    // calls it; tests call it to see what a drag would carry.
    std::unique_ptr<DataObject> collectDragData();

Q_SIGNALS:
    void Click();
    void DblClick();
    void KeyDown(int& KeyCode, int Shift);
    // One typed character (a Unicode code point; 8 Backspace, 13 Enter, 27 Escape).
    void KeyPress(int& KeyAscii);
    void KeyUp(int& KeyCode, int Shift);
    // Button: the button that went down or up; for MouseMove, the buttons held.
    void MouseDown(int Button, int Shift, int x, int y);
    void MouseMove(int Button, int Shift, int x, int y);
    void MouseUp(int Button, int Shift, int x, int y);
    // A drag is starting from this control: put its text into Data.
    void OLESetData(platform::DataObject& Data);
    // State: vbEnter, vbLeave or vbOver. Effect comes in as what the drag allows
    // (vbDropEffectCopy and/or vbDropEffectMove); vbDropEffectNone refuses the drop here.
    void OLEDragOver(platform::DataObject& Data, int& Effect, int Button, int Shift, int x, int y,
                     int State);
    void OLEDragDrop(platform::DataObject& Data, int& Effect, int Button, int Shift, int x, int y);
    // A drag that started here has ended (dropped anywhere, or abandoned); Effect is what
    // the target did with it.
    void OLECompleteDrag(int Effect);

protected:
    // A click (press and release on the same item, outside its expand box).
    virtual void itemClicked(QTreeWidgetItem* item) = 0;
    // True when the point (viewport pixels) lies on the item itself rather than on its
    // expand box or indentation.
    virtual bool isOnItem(QTreeWidgetItem* item, const QPoint& viewportPoint) const;

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void dragOver(QDropEvent* event, int state);

    int oleDragMode_ = vbOLEDragManual;
    int oleDropMode_ = vbOLEDropNone;
    QString toolTipText_;
    QPersistentModelIndex pressedIndex_;
    bool suppressNextClick_ = false;
    QPointer<const QMimeData> lastDragData_;
    QPointer<QObject> lastDragSource_;
};

}  // namespace platform
