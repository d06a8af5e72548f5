// The hierarchy pane's making, its layout and what the window asks of it.
#include "gui/catalogues/TreePane.h"

#include "core/program/ProgramContext.h"
#include "gui/catalogues/ListTreeView.h"
#include "gui/frame/RecordView.h"
#include "gui/frame/WindowFrame.h"
#include "platform/Twips.h"

#include <QApplication>

using platform::twipsToPixels;

TreePane::TreePane(ProgramContext& context, WindowFrame& frame, const TreeNeighbours& around)
    : QObject(frame.clientArea()),
      context(context),
      around_(around),
      views_(context, frame.modalRuns(), frame.clientArea()),
      document_(context, frame, around_, views_, *this, this),
      menu_(context, frame, around_, views_, document_, this),
      events_(context, frame, around_, views_, document_, menu_, this) {
    setObjectName(QStringLiteral("treePane"));
    // The trees stand between the metadata and the edit panel: closing the list with the
    // focus in it hands the focus to the edit panel.
    for (ListTreeView* view : views_.all()) around_.recordView.placeBeforeEditPanel(view);
}

TreePane::~TreePane() = default;

void TreePane::reset() {
    for (ListTreeView* tree : views_.all()) tree->hide();
    events_.reset();
}

ListTree& TreePane::activeTree() const {
    return context.listTrees[size_t(context.treeIndex)];
}

void TreePane::showListPane(int index, bool shown) {
    views_.view(index).setVisible(shown);
}

bool TreePane::activeTreeVisible() const {
    return !views_.active().isHidden();
}

void TreePane::setActiveTreeVisible(bool shown) {
    views_.active().setVisible(shown);
}

ListTree* TreePane::treeShownBy(const QObject* object) const {
    for (ListTreeView* view : views_.all())
        if (object && object == view) return &view->tree();
    return nullptr;
}

bool TreePane::holdsFocus() const {
    QWidget* focus = QApplication::focusWidget();
    for (const ListTreeView* pane : views_.all())
        if (focus && (focus == pane || pane->isAncestorOf(focus))) return true;
    return false;
}

void TreePane::hold(bool on) {
    for (ListTreeView* tree : views_.all()) tree->setUpdatesEnabled(!on);
}

void TreePane::describe(Layout::Input& in) const {
    in.treeVisible = activeTreeVisible();
}

void TreePane::place(const Layout::Result& r) {
    if (!activeTreeVisible()) return;
    const QRect rect(twipsToPixels(r.tree.left), twipsToPixels(r.tree.top), std::max(0, twipsToPixels(r.tree.width)),
                     std::max(0, twipsToPixels(r.tree.height)));
    for (ListTreeView* tree : views_.all()) tree->setGeometry(rect);
}
