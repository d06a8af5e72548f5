#pragma once
#include <QDialog>
#include <QString>

class ProgramContext;

namespace platform {
class ModalRuns;
}  // namespace platform

class QCheckBox;
class QLabel;
class QPushButton;

// A Yes/No/Cancel question with a "Don't show this message again" box. The tick is kept
// as "OFF" under the box's name in "Preferences\MsgBoxes"; CheckLoad then answers false
// and the caller skips the question.
class frmMsgBox : public QDialog {
    Q_OBJECT
public:
    explicit frmMsgBox(ProgramContext& context, QWidget* parent = nullptr);

    static const QString kSection;

    // The question shown.
    void setMessage(const QString& text);

    bool CheckLoad();
    // 6 Yes, 7 No, 2 Cancel; 0 while no button was chosen (also after the close box).
    int SelectionMade() const { return selectionMade_; }

    void done(int result) override;

private:
    void choose(int answer);

    QString boxName;
    QLabel* Message;
    QPushButton* cmdYes;
    QPushButton* cmdNo;
    QPushButton* cmdCancel;
    QCheckBox* dontShow;
    ProgramContext& context_;
    int selectionMade_ = 0;
};

// Shows frmMsgBox with a text; true when one of its buttons was chosen.
class CMsgBox {
public:
    CMsgBox(ProgramContext& context, platform::ModalRuns& runs) : context_(context), runs_(runs) {}
    bool frmMsgBox(const QString& text);

private:
    ProgramContext& context_;
    platform::ModalRuns& runs_;
};
