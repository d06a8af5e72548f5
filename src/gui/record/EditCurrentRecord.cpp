// Edit > Edit Current Record: the selected line in the edit panel.
#include "gui/record/RecordPane.h"
#include "gui/frame/ViewMarks.h"
#include "gui/frame/WindowFrame.h"

#include "core/record/Record.h"
#include "gui/record/MetaPanelView.h"
#include "platform/widgets/StatusBar.h"

#include <QAction>
#include <QCursor>
#include <QGroupBox>
#include <QMenu>

void RecordPane::mnuEditCurrentRecord_Click() {
    // Once set, the mark stays, whatever the menu item's own toggling does.
    if (mnuEditCurrentRecord_->isCheckable()) mnuEditCurrentRecord_->setChecked(true);
    if (MetaPanel->isHidden()) {
        around.viewMenu.mnuViewQuorvantile_Click();
        mnuEditCurrentRecord_->setCheckable(true);
        mnuEditCurrentRecord_->setChecked(true);
    }
    const Record::LineId line = record->selectedLine();
    if (!line) {
        mnuMaintMeta1->popup(QCursor::pos());
        return;
    }
    if (EditPanel->isHidden()) {
        // Room for the edit panel above the lines.
        double x = frame.splitterX();
        double y = frame.splitterY() - Layout::kEditPanelHeight;
        frame.SizeControls(x, y);
        editCurrentLine();
    }
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, record->cell(line, Record::Name));
}
