#pragma once
#include <QMainWindow>
#include "core/catalogues/ListLines.h"
#include "core/commands/ListLoading.h"
#include "gui/commands/frmWaitProcess.h"
#include "core/commands/modMTP.h"
#include "core/domains/modSchemas.h"
#include "core/catalogues/ListTree.h"
#include "support/ListTrees.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;
using testing_support::child;
using testing_support::press;
using testing_support::readBytes;
using testing_support::typeOver;
using testing_support::treeShape;
using testing_support::writeBytes;

// A main window whose list tree the harvest list and channel code writes and reads.
class ListFilesTest : public ::testing::Test {
protected:
    testing_support::TestWindow w;
    testing_support::ScriptedMsgBoxes boxes;
    QTemporaryDir dir;

    void SetUp() override {
        w.context.commands.listLoading = false;
        w.context.commands.listLoadRefusals = 0;
    }
    void TearDown() override {
        if (frmWaitProcess* wait = frmWaitProcess::loadedInstance(w.context)) wait->Unload();
    }
    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    ListTree& tree() const { return w.activeTree(); }
    // A list as a loader builds it: a root, then the lines; a list of that kind from then on.
    void makeTree(const QString& rootName, const QString& tag, DocumentState::ListKind kind, const QStringList& lines) {
        tree().clear();
        w.context.document.setListKind(kind);
        w.context.rootName = rootName;
        tree().setTag(tree().add(0, ListTree::Place::Last, rootName + u"\\"_s, rootName, 1, 4), tag);
        for (const QString& line : lines) ASSERT_EQ(ListLines::addLineToIndex(rootName, line, 0, tree()), u"0"_s);
    }
    void run(const QString& command) { modMTP::runMtpCommand(w.context, command); }
    // The root's text and tag, then every node below it.
    QStringList shown() const {
        const ListTree::NodeId root = tree().item(1);
        return QStringList{root ? tree().text(root) + u" ["_s + tree().tag(root) + u"]"_s : u"<none>"_s} +
               treeShape(tree());
    }
    // Empty when the text is well-formed XML, else what the parser says.
    static QString xmlError(const QByteArray& bytes) {
        QXmlStreamReader xml(bytes);
        xml.setNamespaceProcessing(false);
        while (!xml.atEnd()) xml.readNext();
        return xml.hasError() ? xml.errorString() : QString();
    }
};
