#pragma once
#include <QDialog>

class TreePane;
class QLabel;
class QLineEdit;
class QPushButton;

// "Manually Insert an Entry": a label and an address or command typed in, added to the
// active tree next to its selected node.
class frmManualInsert : public QDialog {
    Q_OBJECT
public:
    explicit frmManualInsert(TreePane& form);
    // The one dialog of the window, created on first use.
    static frmManualInsert& instance(TreePane& form);

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

    TreePane& form_;
    bool inFolder_ = false;
};
