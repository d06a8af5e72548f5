#pragma once
#include "core/record/Record.h"

#include <QDialog>

class ContentBox;
class ProgramContext;
class RecordDocument;
class QPlainTextEdit;
class QPushButton;

// A large box for a long content value. The caller gives it the starting text before
// showing it; OK writes the text into the selected line, encoded as the edit panel's
// content box would store it.
class frmLongText : public QDialog {
    Q_OBJECT
public:
    // Writes the line through the record's mark and the content box.
    frmLongText(ProgramContext& context, RecordDocument& document, ContentBox& content, QWidget* parent);
    // The one editor of the window, created on first use.
    static frmLongText& instance(ProgramContext& context, RecordDocument& document, ContentBox& content,
                                 QWidget* window);

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
    RecordDocument& document_;
    ContentBox& content_;
    Record::LineId line_ = 0;
};
