// Saving the hierarchy pane's list as a catalogue or scheme-list file.
#include "gui/catalogues/TreeDocument.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/frame/ListPane.h"
#include "gui/catalogues/TreeViews.h"
#include "core/program/ProgramContext.h"

#include "core/catalogues/ListLines.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/widgets/StatusBar.h"
#include "platform/TextCodec.h"
#include "core/catalogues/ListTree.h"
#include "gui/catalogues/ListTreeView.h"

#include <QAction>
#include <QStringEncoder>

bool TreeDocument::SaveAsList(const QString& path) {
    ListTree& tree = pane.activeTree();
    // A rename still open in the tree is finished first, so the file holds what is shown.
    views.finishLabelEdit();
    const QString fileName = platform::fileNamePart(path);
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString baseName = dot >= 0 ? fileName.left(dot) : fileName;
    const bool scheme = path.contains(QLatin1String(".kqs"), Qt::CaseInsensitive);

    // UTF-8 and CR LF as the program's own files are written (withCrLf has nothing to change:
    // no line holds a line break).
    // Each line goes over to UTF-8 straight into the file's bytes.
    QByteArray bytes;
    QStringEncoder utf8(QStringEncoder::Utf8);
    qsizetype used = 0;
    const ListLines::UnwritableNode unwritable = ListLines::forEachListFileLine(
        tree, !context.rootName.isEmpty(), scheme ? ListLines::ListKind::Scheme : ListLines::ListKind::Catalogue,
        [&](const QString& line) {
            const qsizetype most = utf8.requiredSpace(line.size()) + 2;
            if (used + most > bytes.size()) bytes.resize(std::max(2 * bytes.size(), used + most));
            char* end = utf8.appendToBuffer(bytes.data() + used, line);
            *end++ = '\r';
            *end++ = '\n';
            used = end - bytes.constData();
        });
    // A node the file could not give back stops the save before anything is written; the node
    // is shown, so it can be changed.
    if (unwritable) {
        if (tree.contains(unwritable.node)) tree.select(unwritable.node);
        context.user.MsgBox(unwritable.text() + QStringLiteral(" The list was not saved: change the entry and save again."),
                            platform::kOkOnly, QStringLiteral("Error saving list"));
        return false;
    }
    bytes.resize(used);

    // The file is replaced whole or not at all: after a failure the old file is still
    // there and the list stays marked as modified.
    QString error;
    if (!platform::writeFileAtomically(path, bytes, &error)) {
        context.user.MsgBox(error + QStringLiteral(": Check that the file or the file system are not read only or that "
                                                   "the file is not already open"),
                            platform::kOkOnly, QStringLiteral("Error saving list"));
        return false;
    }

    ++filesWritten_;
    // A Harvest Control List or channel written as a list file keeps its own file.
    using Kind = DocumentState::ListKind;
    const Kind kind = context.document.listKind();
    if (kind != Kind::HarvestList && kind != Kind::Channel) context.document.setListFile(path);
    if (context.treeIndex == 0 && tree.count() >= 1) tree.setText(tree.item(1), baseName);
    around.fileMenu.enableSaveList();
    around.fileMenu.mnuFileDraw();
    context.document.markSaved(DocumentState::Document::List, QString());
    if (context.document.TreePath() == QLatin1String("Main Catalog.kqi")) {
        context.document.setSaveCaption(QStringLiteral("Save Quorvantile Repository Catalog"));
        around.fileMenu.setSaveAsCaption(DocumentMenu::kSaveAsCatalogue, QStringLiteral("Quorvantile Repository Catalog..."));
    } else if (context.document.TreePath().contains(QLatin1String(".kqi"), Qt::CaseInsensitive)) {
        context.document.setSaveCaption(QStringLiteral("Save Catalog to ") + path);
        around.fileMenu.setSaveAsCaption(DocumentMenu::kSaveAsCatalogue, QStringLiteral("Local Catalog..."));
    } else if (context.document.TreePath().contains(QLatin1String(".kqs"), Qt::CaseInsensitive)) {
        context.document.setSaveCaption(QStringLiteral("Save Scheme to ") + path);
    }
    return true;
}
