#pragma once
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// A large box for a long content value.
class frmLongText : public QDialog {
    Q_OBJECT
public:
    explicit frmLongText(QWidget* parent = nullptr);
    static frmLongText& instance(QWidget* parent);

    QPlainTextEdit* Text1;
    QPushButton* OKButton;
    QPushButton* CancelButton;
};
