#pragma once
#include "core/record/Record.h"

// What the record pane's parts tell each other about the edit panel: lines are being read
// into the record (its fields write nothing meanwhile), the panel is being filled from a line
// (its changes are no edits), and the line it was last filled from, the only one its fields
// write into.
struct EditGuards {
    bool fillingRecord = false;
    bool fillingEditPanel = false;
    Record::LineId shownLine = 0;

    // The line the panel's fields write into: the selected one, when the panel shows it.
    Record::LineId panelLine(const Record& record) const {
        const Record::LineId line = record.selectedLine();
        return line == shownLine ? line : 0;
    }
};

// Setting up the fields shows the line; it never writes into it.
class ShowingOnly {
public:
    explicit ShowingOnly(EditGuards& guards) : guards_(guards), was_(guards.fillingEditPanel) {
        guards.fillingEditPanel = true;
    }
    ~ShowingOnly() { guards_.fillingEditPanel = was_; }
    ShowingOnly(const ShowingOnly&) = delete;
    ShowingOnly& operator=(const ShowingOnly&) = delete;

private:
    EditGuards& guards_;
    bool was_;
};
