#pragma once
#include "core/record/Record.h"
#include "gui/frame/PaneTreeView.h"

#include <array>
#include <memory>

class QMimeData;
class RecordModel;

namespace platform {
class DataObject;
}

// The metadata panel: the record as a list of lines with the columns Name, Content, Lang and
// Scheme. The view edits nothing itself: keys, clicks, drags and drops go to its handlers,
// which change the record; the view shows the record and keeps its own selection and the
// record's in step both ways (a line's row is its position in the record).
class MetaPanelView : public PaneTreeView {
    Q_OBJECT
public:
    // What the window does with the user's input on the panel. Only the user's own input
    // calls them, never a change of the selection. Key codes, shift states and buttons are
    // numbered as in platform/KeyCodes.h; positions are twips from the panel's corner.
    class Handlers {
    public:
        virtual ~Handlers() = default;
        // True when the key is taken: the view does nothing more with it.
        virtual bool keyDown(int keyCode, int shift) = 0;
        // A typed character (8 Backspace, 13 Enter); true when taken.
        virtual bool keyPress(int character) = 0;
        virtual void keyUp(int keyCode, int shift) = 0;
        virtual void mouseMove(int buttons, int shift, int x, int y) = 0;
        virtual void mouseUp(int button, int shift, int x, int y) = 0;
        virtual void doubleClick() = 0;
        // A click on a column's header (0 Name .. 3 Scheme).
        virtual void columnClick(int column) = 0;
        // The text a drag of the panel carries; asked as the drag starts.
        virtual QString dragText() = 0;
        virtual void dragOver(const platform::DataObject& data, int x, int y) = 0;
        virtual void drop(const platform::DataObject& data, int x, int y) = 0;
    };

    MetaPanelView(Record& record, platform::ModalRuns& runs, QWidget* parent = nullptr);
    ~MetaPanelView() override;

    void setHandlers(std::unique_ptr<Handlers> handlers) { handlers_ = std::move(handlers); }
    Record& record() const { return record_; }
    RecordModel& recordModel() const { return *model_; }

    // Column widths in twips, as the layout works with them (0 Name .. 3 Scheme).
    int columnWidthTwips(int column) const;
    void setColumnWidthTwips(int column, int twips);
    // Twips a column needs for its header's whole text, and for this text in a bold line.
    int headerWidthTwips(int column) const;
    int boldTextWidthTwips(const QString& text) const;
    // The height of a line, and of the header with the panel's frame, in twips.
    int rowHeightTwips() const;
    int headerHeightTwips() const;

    // The line (1-based position, 0: none) and column (-1: none) under a point.
    struct Cell {
        int position = 0;
        int column = -1;
    };
    Cell cellAt(int x, int y) const;

    // Scrolls the line into view (when a hold lets go, while held).
    void showLine(Record::LineId id);
    // While held the panel keeps what it shows; letting go shows the record as it is now.
    void hold(bool hold);
    // Marks the lines for painting (when a hold lets go, while held).
    void refresh();
    void setDropHighlight(Record::LineId id);
    Record::LineId dropHighlight() const;

    // The data a drag of the panel starts with now (the caller owns it).
    QMimeData* dragData();

Q_SIGNALS:
    // The room for the lines got wider or narrower (a scroll bar came or went).
    void viewportWidthChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
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
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showRecordSelection();
    void pushSelection();
    void takeViewSelection();
    void updateLook();
    void scrollToLine(Record::LineId id);
    void catchUp();

    Record& record_;
    RecordModel* model_;
    std::unique_ptr<Handlers> handlers_;
    std::array<int, Record::kColumns> widthTwips_{};
    mutable std::array<int, Record::kColumns> headerWidths_{-1, -1, -1, -1};
    bool settingWidth_ = false;
    // The selection is being copied one way: the other way stays quiet.
    bool syncing_ = false;
    // The record's selection changed while held.
    bool selectionHeld_ = false;
    Record::LineId pendingLine_ = 0;
    bool repaintHeld_ = false;
};
