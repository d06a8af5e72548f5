#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for a metadata element name, or another short text.
class frmdlogInput : public QDialog {
    Q_OBJECT
public:
    explicit frmdlogInput(QWidget* parent = nullptr);
    // The one dialog of the program, created on first use.
    static frmdlogInput& instance(QWidget* parent);

    // Sets the next question up: a field name, under this caption, with `name` proposed in
    // the box (which holds 32,767 characters, as designed).
    void proposeFieldName(const QString& caption, const QString& name);
    // Sets the next question up for another text: its caption, the prompt beside the box and
    // the text proposed, which comes back whole however long it is.
    void proposeText(const QString& caption, const QString& prompt, const QString& text);

    // The answer: the text on OK, "" on Cancel or when closed.
    QString inputText() const { return answer_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* Label1;
    QLineEdit* txtFieldName;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QString answer_;
};
