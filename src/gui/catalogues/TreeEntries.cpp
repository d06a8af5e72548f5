#include "gui/catalogues/TreeEntries.h"

#include "core/catalogues/ListLines.h"
#include "core/program/ProgramContext.h"
#include "platform/MsgBox.h"

namespace TreeEntries {

bool refuseUnwritable(ProgramContext& context, ListTree::NodeId parent, ListTree::NodeId node, const QString& name,
                      const QString& tag, const QString& outcome) {
    const bool scheme = context.document.TreePath().contains(QLatin1String(".kqs"), Qt::CaseInsensitive);
    const ListLines::UnwritableNode unwritable =
        ListLines::unwritableEntry(context.listTrees[size_t(context.treeIndex)], parent, node, name, tag,
                                  scheme ? ListLines::ListKind::Scheme : ListLines::ListKind::Catalogue,
                                  !context.rootName.isEmpty());
    if (!unwritable) return false;
    context.user.MsgBox(unwritable.text() + QLatin1Char(' ') + outcome, platform::kOkOnly,
                        QStringLiteral("Quorvantile Alert"));
    return true;
}

}  // namespace TreeEntries
