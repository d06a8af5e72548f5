#pragma once
#include "gui/frame/PaneLayout.h"
#include "gui/record/EditGuards.h"
#include "gui/record/EditPanelContent.h"
#include "gui/record/MetaPanelEvents.h"
#include "gui/record/PageLoading.h"
#include "gui/record/RecordEditPanel.h"
#include "gui/record/RecordNeighbours.h"
#include "gui/record/RecordSaving.h"
#include "gui/record/SchemeValues.h"

#include <QObject>

class ProgramContext;
class WindowFrame;

// The record pane: the metadata panel showing the record's lines and the edit panel for the
// selected line, made and laid out here; their events, the content field, the scheme values,
// reading the page and writing the record are parts of their own, which the window hands to
// the other panes and the menus.
class RecordPane : public QObject, public PaneLayout {
    Q_OBJECT
public:
    RecordPane(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around);
    ~RecordPane() override;

    // The pane's parts, as the window hands them to the others.
    MetaPanelEvents& recordView() { return events_; }
    RecordEditPanel& recordEditing() { return editPanel_; }
    EditPanelContent& contentBox() { return content_; }
    PageLoading& recordLoading() { return loading_; }
    RecordSaving& recordDocument() { return saving_; }

    // The designed column widths, widened where the font needs more.
    void setupMetaPanelColumns();
    void describe(Layout::Input& in) const override;
    // Puts the panels where the layout says; the edit panel hides when it says so.
    void place(const Layout::Result& r) override;

private:
    void fitContentColumn();

    ProgramContext& context;
    WindowFrame& frame;
    const RecordNeighbours around_;
    EditGuards guards_;
    MetaPanelEvents events_;
    RecordSaving saving_;
    SchemeValues schemes_;
    EditPanelContent content_;
    RecordEditPanel editPanel_;
    PageLoading loading_;
    double contentColumnTwips_ = 0;  // the Content column's width as the layout gave it
};
