#pragma once

class QWidget;

// The edit panel as the other parts of the window open and close it.
class RecordEditing {
public:
    virtual ~RecordEditing() = default;
    virtual void EditPanelOn() = 0;
    virtual void EditPanelOff() = 0;
    virtual bool editPanelShown() const = 0;
    virtual void setEditPanelVisible(bool on) = 0;
    // The selected line in the panel; one the program has just added, its content a proposal
    // selected so that typing replaces it.
    virtual void editCurrentLine() = 0;
    virtual void editProposedLine() = 0;
    virtual int editPanelHeight() const = 0;  // pixels
    virtual bool editPanelHolds(const QWidget* widget) const = 0;
    // Edit > Edit Current Record: the selected line in the panel.
    virtual void mnuEditCurrentRecord_Click() = 0;
};
