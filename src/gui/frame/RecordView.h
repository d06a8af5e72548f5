#pragma once
#include "core/record/Record.h"

class QObject;
class QWidget;

// The metadata panel as the other parts of the window show and select its lines.
class RecordView {
public:
    virtual ~RecordView() = default;
    // The line at this position (from 1) selected, bold and scrolled into view.
    virtual void SelectLine(int position) = 0;
    virtual void showLine(Record::LineId id) = 0;
    // Marks the lines for painting after the record changed under them.
    virtual void refreshMetaPanel() = 0;
    virtual void showMetaPanel(bool on) = 0;
    virtual bool metaPanelShown() const = 0;
    // True for the metadata panel (a drag source the trees take as the window's own).
    virtual bool isMetaPanel(const QObject* object) const = 0;
    // Puts another pane's widget into the focus chain after the metadata panel and before the
    // edit panel (after the one put there before), so Tab and a pane closed with the focus
    // pass it on in that order.
    virtual void placeBeforeEditPanel(QWidget* widget) = 0;
    // Painting of the metadata and edit panels held while a batch runs.
    virtual void hold(bool on) = 0;
    // The height of a line of the panel, and of its header with the panel's frame (twips).
    virtual int rowHeightTwips() const = 0;
    virtual int headerHeightTwips() const = 0;
};
