// Edit > Edit Current Record: the selected line in the edit panel.
#include "app/Form1.h"

#include "core/record/Record.h"
#include "gui/record/MetaPanelView.h"
#include "platform/StatusBar.h"

#include <QAction>
#include <QCursor>
#include <QGroupBox>
#include <QMenu>

void Form1::mnuEditCurrentRecord_Click() {
    // Once set, the mark stays, whatever the menu item's own toggling does.
    if (mnuEditCurrentRecord->isCheckable()) mnuEditCurrentRecord->setChecked(true);
    if (MetaPanel->isHidden()) {
        mnuViewQuorvantile_Click();
        mnuEditCurrentRecord->setCheckable(true);
        mnuEditCurrentRecord->setChecked(true);
    }
    const Record::LineId line = record->selectedLine();
    if (!line) {
        mnuMaintMeta1->popup(QCursor::pos());
        return;
    }
    if (EditPanel->isHidden()) {
        // Room for the edit panel above the lines.
        double x = splitterX();
        double y = splitterY() - Layout::kEditPanelHeight;
        SizeControls(x, y);
        editCurrentLine();
    }
    StatusBar1->setPanelText(kActivityPanel, record->cell(line, Record::Name));
}
