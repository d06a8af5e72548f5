#pragma once
#include "gui/frame/Layout.h"
#include "gui/frame/RecordEditing.h"

#include <QObject>
#include <QString>

class EditPanelContent;
class ProgramContext;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class RecordSaving;
class RecordView;
class SchemeValues;
class WindowFrame;
struct EditGuards;
struct RecordNeighbours;

// The edit panel for the selected line: its name, scheme and language fields (the content
// field and its buttons are parts of their own inside it), opened, filled from the line and
// closed; every change in a field goes straight into the line and marks the record modified.
class RecordEditPanel final : public QObject, public RecordEditing {
    Q_OBJECT
public:
    // Makes the panel in the frame's client area, with the content field's and the scheme
    // values' controls in it; the panel's context menu is the metadata panel's.
    RecordEditPanel(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around, EditGuards& guards,
                    RecordSaving& saving, EditPanelContent& content, SchemeValues& schemes, RecordView& view,
                    QMenu& contextMenu, QAction& cancelEditing);

    void EditPanelOn() override;
    void EditPanelOff() override;
    bool editPanelShown() const override;
    void setEditPanelVisible(bool on) override;
    void editCurrentLine() override;
    void editProposedLine() override;
    int editPanelHeight() const override;
    bool editPanelHolds(const QWidget* widget) const override;
    // Edit > Edit Current Record (its menu item given); also the metadata panel's double click.
    void mnuEditCurrentRecord_Click() override;
    void setEditCurrentRecordItem(QAction* item);

    void ActivateEditPanel(bool on);
    // The selected line shown again without counting as an edit.
    void showCurrentLineQuietly();
    void langToggle(const QString& language);
    // Puts the panel where the layout says; false when the layout hides it.
    bool place(const Layout::Result& r);
    // Painting held while a batch runs.
    void hold(bool on);

    // The handlers of the name, scheme and language fields.
    void editNrmlName_Click();
    void schemeChanged();
    void editNrmlScheme_Click();
    // The scheme typed stays in the line when the box loses the focus.
    void keepTypedScheme();
    void langChanged();
    void editNrmlLang_Click();

private:
    class Events;

    ProgramContext& context;
    WindowFrame& frame;
    const RecordNeighbours& around;
    EditGuards& guards;
    RecordSaving& saving;
    EditPanelContent& content;
    SchemeValues& schemes;
    RecordView& view;
    QMenu& contextMenu;
    QAction& cancelEditing;
    QAction* mnuEditCurrentRecord_ = nullptr;
    QGroupBox* EditPanel = nullptr;
    QLineEdit* editNrmlName = nullptr;
    QComboBox* editNrmlScheme = nullptr;
    QComboBox* editNrmlLang = nullptr;
    QLabel* EditLabel4 = nullptr;
    QPushButton* EditClose = nullptr;
};
