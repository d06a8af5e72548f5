#pragma once
#include "platform/ControlArray.h"
#include "gui/frame/RecordView.h"

#include <QObject>
#include <QString>

class EditPanelContent;
class RecordEditPanel;
class MetaPanelView;
class ProgramContext;
class QAction;
class QMenu;
class RecordSaving;
class SchemeValues;
class WindowFrame;
struct EditGuards;
struct RecordNeighbours;

namespace platform {
class DataObject;
}  // namespace platform

// The metadata panel's events: the panel it makes (the record's lines), its keys, clicks,
// drags and drops and its context menu; and the panel as the window's other parts show and
// select its lines.
class MetaPanelEvents final : public QObject, public RecordView {
    Q_OBJECT
public:
    // The context menu's items.
    enum MetaMenuItem : int {
        kAddCustomLine = 1,
        kAddAglsLine = 2,
        kEditLine = 3,
        kDeleteLine = 5,
        kDeleteAllLines = 6,
        kCloseMetadataView = 8,
        kCancelEditing = 9,
    };

    // Makes the panel in the frame's client area and its context menu.
    MetaPanelEvents(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around, EditGuards& guards,
                    RecordSaving& saving, RecordEditPanel& editPanel, EditPanelContent& content,
                    SchemeValues& schemes);
    ~MetaPanelEvents() override;
    MetaPanelView& view() const { return *MetaPanel; }
    QMenu& contextMenu() const { return *mnuMaintMeta1; }
    QAction& cancelEditingItem() const { return *mnuMaintMeta(kCancelEditing); }

    void SelectLine(int position) override;
    void showLine(Record::LineId id) override;
    void refreshMetaPanel() override;
    void showMetaPanel(bool on) override;
    bool metaPanelShown() const override;
    bool isMetaPanel(const QObject* object) const override;
    void placeBeforeEditPanel(QWidget* widget) override;
    void hold(bool on) override;
    int rowHeightTwips() const override;
    int headerHeightTwips() const override;

    // A click on the header of column 0 (Name) .. 3 (Scheme).
    void MetaPanel_ColumnClick(int column);
    void MetaPanel_DblClick();
    void MetaPanel_KeyDown(int keyCode, int shift);
    // True when the character was taken for the current line.
    bool MetaPanel_KeyPress(int keyAscii);
    void MetaPanel_KeyUp(int keyCode, int shift);
    // Positions in twips from the panel's corner.
    void MetaPanel_MouseMove(int button, int shift, int x, int y);
    void MetaPanel_MouseUp(int button, int shift, int x, int y);
    // Another control of this window (a tree) dragged over or onto the panel.
    void MetaPanel_DragOver(QObject* source, int x, int y);
    void MetaPanel_DragDrop(QObject* source, int x, int y);
    // The text a drag of the current line carries.
    QString MetaPanel_OLESetData();
    void MetaPanel_OLEDragOver(const platform::DataObject& data, int x, int y);
    void MetaPanel_OLEDragDrop(const platform::DataObject& data, int x, int y);
    // Context menu item 1..9.
    void mnuMaintMeta_Click(int index);
    // Enter in the panel: the next line (wrapping to the first) becomes current.
    void selectNextLine();
    // Up or Down in one of the edit panel's lists moves the current line of the record.
    void moveCurrentLine(int step);

private:
    ProgramContext& context;
    WindowFrame& frame;
    const RecordNeighbours& around;
    EditGuards& guards;
    RecordSaving& saving;
    RecordEditPanel& editPanel;
    EditPanelContent& content;
    SchemeValues& schemes;
    MetaPanelView* MetaPanel = nullptr;
    QMenu* mnuMaintMeta1 = nullptr;
    ControlArray<QAction> mnuMaintMeta;
    QWidget* lastBeforeEditPanel_ = nullptr;  // in the focus chain
};
