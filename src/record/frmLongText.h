#pragma once
#include "core/record/Record.h"

#include <QDialog>

class Form1;
class QPlainTextEdit;
class QPushButton;

// A large box for a long content value. The caller puts the starting text into Text1
// before showing it; OK writes the text into the selected line, encoded as the edit
// panel's content box would store it.
class frmLongText : public QDialog {
    Q_OBJECT
public:
    explicit frmLongText(Form1* form);
    // The one editor of the program, created on first use.
    static frmLongText& instance(Form1* form);

    QPlainTextEdit* Text1;
    QPushButton* OKButton;
    QPushButton* CancelButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OKButton_Click();

    Form1* form_;
    Record::LineId line_ = 0;
};
