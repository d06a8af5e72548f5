#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for a metadata element name.
class frmdlogInput : public QDialog {
    Q_OBJECT
public:
    explicit frmdlogInput(QWidget* parent = nullptr);
    // The one dialog of the program, created on first use.
    static frmdlogInput& instance(QWidget* parent);

    // The answer: the text on OK, "" on Cancel or when closed.
    QString inputText() const { return answer_; }

    QLabel* Label1;
    QLineEdit* txtFieldName;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString answer_;
};
