#pragma once
#include <QDialog>

class ProgramContext;
class QLabel;
class QLineEdit;
class QPushButton;

// "Manually Insert an Entry": a label and an address or command typed in, added to the
// active tree next to its selected node.
class frmManualInsert : public QDialog {
    Q_OBJECT
public:
    frmManualInsert(QWidget* owner, ProgramContext& context);
    // The one dialog of `owner`'s window, created on first use.
    static frmManualInsert& instance(QWidget* owner, ProgramContext& context);

    // Where OK puts the entry: inside the selected node, or last on the selected node's level.
    void setInFolder(bool inFolder) { inFolder_ = inFolder; }

    void txtLabel_Change();
    void cmdOK_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* labelCaption;
    QLineEdit* txtLabel;
    QLabel* urlCaption;
    QLineEdit* txtURL;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    ProgramContext& context_;
    bool inFolder_ = false;
};
