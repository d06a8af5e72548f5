#include "gui/catalogues/TreeViews.h"

#include "core/program/ProgramContext.h"
#include "gui/catalogues/ListTreeView.h"

#include <algorithm>

TreeViews::TreeViews(ProgramContext& context, platform::ModalRuns& runs, QWidget* parent) : context_(context) {
    for (size_t i = 0; i < views_.size(); ++i) {
        views_[i] = new ListTreeView(context.listTrees[i], runs, parent);
        views_[i]->setObjectName(QStringLiteral("TreeView1_%1").arg(i));
        views_[i]->hide();
    }
}

ListTreeView& TreeViews::active() const {
    return *views_[size_t(context_.treeIndex)];
}

bool TreeViews::holds(const QObject* object) const {
    return object && std::find(views_.begin(), views_.end(), object) != views_.end();
}

void TreeViews::finishLabelEdit() {
    if (!labelEditing_) return;
    if (active().IsLabelEditing()) active().EndLabelEdit(false);
    labelEditing_ = false;
}
