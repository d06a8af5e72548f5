// The hierarchy pane's making, its layout and what the window asks of it.
#include "gui/catalogues/TreePane.h"

#include "gui/frame/RecordView.h"
#include "gui/frame/WindowFrame.h"
#include "gui/catalogues/ListTreeView.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTimer>

using platform::twipsToPixels;

TreePane::TreePane(ProgramContext& context, WindowFrame& frame, const Neighbours& around)
    : QObject(frame.clientArea()), context(context), frame(frame), around(around) {
    setObjectName(QStringLiteral("treePane"));
    for (size_t i = 0; i < TreeView1.size(); ++i) {
        TreeView1[i] = new ListTreeView(context.listTrees[i], frame.modalRuns(), frame.clientArea());
        TreeView1[i]->setObjectName(QStringLiteral("TreeView1_%1").arg(i));
        TreeView1[i]->hide();
        // The trees stand between the metadata and the edit panel: closing the list with the
        // focus in it hands the focus to the edit panel.
        around.recordView.placeBeforeEditPanel(TreeView1[i]);
    }
    ScrollTimer = new QTimer(this);
    ScrollTimer->setObjectName(QStringLiteral("ScrollTimer"));
    ScrollTimer->setInterval(200);
    connectTreePane();
}

// The trees and menus stay with the window; their connections to the pane go with it, and
// the trees ask the pane nothing more.
TreePane::~TreePane() {
    for (ListTreeView* view : TreeView1) view->setHandlers(nullptr);
}

QWidget* TreePane::window() const {
    return frame.clientArea()->window();
}

void TreePane::reset() {
    dragSessionTag = QString::number(QRandomGenerator::global()->generateDouble(), 'g', 17);
    for (ListTreeView* tree : TreeView1) tree->hide();
    ScrollTimer->stop();
    ScrollTimer->setInterval(200);
}

void TreePane::showListPane(int index, bool shown) {
    TreeView1[size_t(index == 1 ? 1 : 0)]->setVisible(shown);
}

bool TreePane::activeTreeVisible() const {
    return !activeTreeView()->isHidden();
}

void TreePane::setActiveTreeVisible(bool shown) {
    activeTreeView()->setVisible(shown);
}

ListTree* TreePane::treeShownBy(const QObject* object) const {
    for (ListTreeView* view : TreeView1)
        if (object && object == view) return &view->tree();
    return nullptr;
}

bool TreePane::holdsFocus() const {
    QWidget* focus = QApplication::focusWidget();
    for (const ListTreeView* pane : TreeView1)
        if (focus && (focus == pane || pane->isAncestorOf(focus))) return true;
    return false;
}

void TreePane::hold(bool on) {
    for (ListTreeView* tree : TreeView1) tree->setUpdatesEnabled(!on);
}

void TreePane::describe(Layout::Input& in) const {
    in.treeVisible = activeTreeVisible();
}

void TreePane::place(const Layout::Result& r) {
    if (!activeTreeVisible()) return;
    const QRect rect(twipsToPixels(r.tree.left), twipsToPixels(r.tree.top), std::max(0, twipsToPixels(r.tree.width)),
                     std::max(0, twipsToPixels(r.tree.height)));
    for (ListTreeView* tree : TreeView1) tree->setGeometry(rect);
}
