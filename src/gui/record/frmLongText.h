#pragma once
#include "core/record/Record.h"

#include <QDialog>

class RecordPane;
class ProgramContext;
class QPlainTextEdit;
class QPushButton;

// A large box for a long content value. The caller gives it the starting text before
// showing it; OK writes the text into the selected line, encoded as the edit panel's
// content box would store it.
class frmLongText : public QDialog {
    Q_OBJECT
public:
    frmLongText(ProgramContext& context, RecordPane& pane, QWidget* parent);
    // The one editor of the window, created on first use.
    static frmLongText& instance(ProgramContext& context, RecordPane& pane);

    // The text the box starts with.
    void setText(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OKButton_Click();

    QPlainTextEdit* Text1;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    ProgramContext& context_;
    RecordPane& pane_;
    Record::LineId line_ = 0;
};
