#pragma once
#include <QObject>
#include <QString>

class ProgramContext;
class QAction;

// The Macros menu's handlers: the macro editor with the command log, the function-key
// macros and publishing the macro set. Each key's item carries its command as its data.
class MacrosMenu : public QObject {
    Q_OBJECT
public:
    explicit MacrosMenu(ProgramContext& context);

    // Connects the handlers to the menu's items, found by their object names under `menus`
    // ("mnuBatchShowLog", "mnuBatchPublish", "mnuBatchF1" .. "mnuBatchF12").
    void connectItems(QObject& menus);
    // The item of function key F<number> (1..12 but 10), or nullptr.
    QAction* keyItem(int number) const;

    // Macros > Edit Macros...: the macro editor, with the command log newest first.
    void mnuBatchShowLog_Click();
    // The function-key item F<number> runs its macro.
    void mnuBatchF_Click(int number);
    // Macros > Publish Current Macro Set: writes the function-key macros as a batch file.
    void mnuBatchPublish_Click();

private:
    ProgramContext& context_;
    QObject* menus_ = nullptr;
};
