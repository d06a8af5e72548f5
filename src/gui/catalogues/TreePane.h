#pragma once
#include "gui/catalogues/TreeDocument.h"
#include "gui/catalogues/TreeMenu.h"
#include "gui/catalogues/TreeNeighbours.h"
#include "gui/catalogues/TreePaneEvents.h"
#include "gui/catalogues/TreeViews.h"
#include "gui/frame/Layout.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/PaneLayout.h"

#include <QObject>

class ProgramContext;
class WindowFrame;

// The hierarchy pane: the two list trees, made and laid out here; the list as a document,
// the trees' events and the context menu are parts of their own, which the window hands to
// the other panes and the menus.
class TreePane : public QObject, public ListPane, public PaneLayout {
    Q_OBJECT
public:
    using Neighbours = TreeNeighbours;
    // The context menu's items, by the pane's name too.
    using enum TreeMenu::Item;

    TreePane(ProgramContext& context, WindowFrame& frame, const TreeNeighbours& around);
    ~TreePane() override;

    // The pane's parts, as the window hands them to the others.
    ListDocument& listDocument() { return document_; }
    ListFiles& listFiles() { return document_; }

    ListTree& activeTree() const override;
    void showListPane(int index, bool shown) override;
    bool activeTreeVisible() const override;
    void setActiveTreeVisible(bool shown) override;
    ListTree* treeShownBy(const QObject* object) const override;
    bool holdsFocus() const override;
    void hold(bool on) override;
    void describe(Layout::Input& in) const override;
    // Puts the shown tree where the layout says.
    void place(const Layout::Result& r) override;
    // A window (re)starting: no drag under way, no label being edited.
    void reset();
    void forgetLabelEdit() { views_.forgetLabelEdit(); }

private:
    ProgramContext& context;
    const TreeNeighbours around_;
    TreeViews views_;
    TreeDocument document_;
    TreeMenu menu_;
    TreePaneEvents events_;
};
