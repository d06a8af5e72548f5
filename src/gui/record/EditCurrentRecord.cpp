// Edit > Edit Current Record: the selected line in the edit panel.
#include "gui/record/RecordEditPanel.h"

#include "gui/frame/RecordView.h"
#include "gui/frame/ViewMarks.h"
#include "gui/frame/WindowFrame.h"
#include "gui/record/RecordNeighbours.h"
#include "core/program/ProgramContext.h"
#include "core/record/Record.h"
#include "platform/widgets/StatusBar.h"

#include <QAction>
#include <QCursor>
#include <QGroupBox>
#include <QMenu>

void RecordEditPanel::setEditCurrentRecordItem(QAction* item) {
    mnuEditCurrentRecord_ = item;
    connect(item, &QAction::triggered, this, [this] { mnuEditCurrentRecord_Click(); });
}

void RecordEditPanel::mnuEditCurrentRecord_Click() {
    // Once set, the mark stays, whatever the menu item's own toggling does.
    if (mnuEditCurrentRecord_->isCheckable()) mnuEditCurrentRecord_->setChecked(true);
    if (!view.metaPanelShown()) {
        around.viewMenu.mnuViewQuorvantile_Click();
        mnuEditCurrentRecord_->setCheckable(true);
        mnuEditCurrentRecord_->setChecked(true);
    }
    const Record::LineId line = context.record.selectedLine();
    if (!line) {
        contextMenu.popup(QCursor::pos());
        return;
    }
    if (EditPanel->isHidden()) {
        // Room for the edit panel above the lines.
        double x = frame.splitterX();
        double y = frame.splitterY() - Layout::kEditPanelHeight;
        frame.SizeControls(x, y);
        editCurrentLine();
    }
    frame.statusBar().setPanelText(WindowFrame::kActivityPanel, context.record.cell(line, Record::Name));
}
