// Nodes below a link are written after it, whatever their names start with.
#include <QMainWindow>
#include "core/commands/ListLoading.h"
#include "core/commands/modMTP.h"
#include "support/ListTrees.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

TEST(ListOrder, NodesBelowALinkWithNamesStartingWithBlanksOrControlsSurviveASaveAndLoad) {
    testing_support::TestWindow window;
    testing_support::ScriptedMsgBoxes boxes;
    QTemporaryDir files;
    ListTree& tree = window.activeTree();
    window.context.rootName = u"Sites"_s;
    const QString file = files.filePath(u"Sites.kqi"_s);
    window.context.document.setTreePath(file);
    tree.clear();
    const ListTree::NodeId root = tree.add(0, ListTree::Place::Last, u"Sites\\"_s, u"Sites"_s, 1, 4);
    tree.setTag(root, u"Catalog"_s);
    const ListTree::NodeId link = tree.add(root, ListTree::Place::Child, u"Sites\\Home\\"_s, u"Home"_s, 2, 2);
    tree.setTag(link, u"http://home.example/"_s);
    for (const QString& name : {u" Blank"_s, u"\u0001Control"_s, u"\tTab"_s}) {
        const ListTree::NodeId child =
            tree.add(link, ListTree::Place::Child, u"Sites\\Home\\"_s + name + u"\\"_s, name, 2, 2);
        tree.setTag(child, u"http://home.example/"_s + name.trimmed());
    }
    // A saved list comes back sorted, with the names as a list read lets them in.
    QStringList before = testing_support::treeShape(tree, false);
    for (QString& line : before) line.replace(u"  \u0001"_s, u"  "_s).replace(u"  \t"_s, u"  "_s).replace(u"   "_s, u"  "_s);
    before.sort();
    window.enter(u"mtp://save="_s + file);  // the command typed into the address box
    const QByteArray saved = testing_support::readBytes(file);
    EXPECT_TRUE(saved.startsWith("Home|http://home.example/\r\n")) << saved.toStdString();
    QString location = file;
    modMTP::loadList(window.context, location);
    QStringList after = testing_support::treeShape(window.activeTree(), false);
    after.sort();
    EXPECT_EQ(after, before);
}

}  // namespace
