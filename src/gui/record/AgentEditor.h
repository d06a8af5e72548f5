#pragma once
#include "core/record/Record.h"

#include <QDialog>
#include <QList>
#include <QString>

class ContentBox;
class ProgramContext;
class RecordDocument;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// What the agent editors share: fields named by their keys, read from and written to the
// selected line's content in the agent syntax: "key=value" fields joined by "; ", an empty
// field left out, key included.
class AgentEditor : public QDialog {
    Q_OBJECT
public:
    // The value of `key` (which ends in "=") in an agent text: from the first match of the
    // key (any case) to the next ";" or the end, untrimmed; "" when the key is absent.
    static QString getElement(const QString& text, const QString& key);
    struct KeyValue {
        QString key;
        QString value;
    };
    // The fields as one value, in the order given.
    static QString composeValue(const QList<KeyValue>& fields);

    // The agent value the fields hold now.
    QString value() const;

protected:
    // Hangs from `window`; writes the line through the record's mark and the content box.
    AgentEditor(ProgramContext& context, RecordDocument& document, ContentBox& content, QWidget* window,
                const QString& name, const QString& caption);
    // Adds a row, its control named `name`; the fields are written in the order they were added.
    void addTextField(const QString& key, const QString& name, const QString& label, const QString& help);
    void addListField(const QString& key, const QString& name, const QString& label, const QString& help,
                      const QStringList& proposals);
    // Puts the fields' rows and the buttons into the window, below `note` when there is one.
    void finishLayout(QLabel* note = nullptr);
    // Fills the fields from the selected line each time the window is shown.
    void showEvent(QShowEvent* event) override;

private:
    struct Field {
        QString key;
        QLineEdit* box = nullptr;  // what the user types into (a drop-down list's own box)
    };
    void addRow(const QString& key, const QString& label, QWidget* control, QLineEdit* box);
    void OK_Click();

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    ProgramContext& context_;
    RecordDocument& document_;
    ContentBox& content_;
    Record::LineId line_ = 0;
    QList<Field> fields_;
    QGridLayout* grid_ = nullptr;
};

