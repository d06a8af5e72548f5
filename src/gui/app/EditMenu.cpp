// Edit menu: the clipboard on the focused box or tree node, the record as HTML or RDF on
// the clipboard, and the two special characters.
#include "app/Form1.h"

#include "domains/modSchemas.h"
#include "platform/MsgBox.h"
#include "core/catalogues/ListTree.h"
#include "gui/catalogues/ListTreeView.h"
#include "platform/WebBrowser.h"
#include "record/RdfWriter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

namespace {

// The focused text: a line edit of its own or inside a combo box.
QLineEdit* focusedTextBox() {
    QWidget* focus = QApplication::focusWidget();
    if (auto* box = qobject_cast<QLineEdit*>(focus)) return box;
    if (auto* combo = qobject_cast<QComboBox*>(focus)) return combo->lineEdit();
    return nullptr;
}

bool treeHasFocus(const Form1& form) {
    QWidget* focus = QApplication::focusWidget();
    for (const ListTreeView* tree : form.TreeView1) {
        if (focus && (focus == tree || tree->isAncestorOf(focus))) return true;
    }
    return false;
}

}  // namespace

void Form1::mnuEditCopy_Click() {
    if (QLineEdit* box = focusedTextBox()) {
        if (box->selectedText().isEmpty()) return;
        QApplication::clipboard()->setText(box->selectedText());
    } else if (treeHasFocus(*this)) {
        if (const ListTree::NodeId node = activeTree()->selected())
            QApplication::clipboard()->setText(activeTree()->text(node));
    }
}

void Form1::mnuEditCut_Click() {
    if (QLineEdit* box = focusedTextBox()) {
        if (box->selectedText().isEmpty()) return;
        QApplication::clipboard()->setText(box->selectedText());
        box->del();
    } else if (treeHasFocus(*this)) {
        const ListTree::NodeId node = activeTree()->selected();
        if (!node) return;
        // The list changes: its unsaved state comes first.
        if (markListmodifiedCheckHTML() == platform::vbCancel) return;
        QApplication::clipboard()->setText(activeTree()->text(node));
        activeTree()->setText(node, QString());
    }
}

void Form1::mnuEditPaste_Click() {
    const QString text = QApplication::clipboard()->text();
    if (QLineEdit* box = focusedTextBox()) {
        box->insert(text);
    } else if (treeHasFocus(*this)) {
        const ListTree::NodeId node = activeTree()->selected();
        if (!node) return;
        if (markListmodifiedCheckHTML() == platform::vbCancel) return;
        activeTree()->setText(node, text);
    }
}

QString Form1::metadataAsHtml() const {
    QString text = MakeMetaIntoSource();
    if (context.preferences.UseLinkRel.isY() && !context.domain.linkRelLines.isEmpty())
        text = context.domain.linkRelLines + QStringLiteral("\r\n") + text;
    return text;
}

// The declaration and the RDF, and nothing after it, so the clipboard holds well-formed XML.
QString Form1::metadataAsRdf() const {
    QString address = browserLocationURL();
    return QStringLiteral("<?xml version=\"1.0\"?>\r\n") +
           RdfWriter::MakeMetaIntoRDF(address, MakeMetaIntoSource(), context.domain.rdfNamespaces, context.domain.rdfPrefix) +
           QStringLiteral("\r\n");
}

void Form1::mnuEditCopyMeta_Click() {
    QApplication::clipboard()->setText(metadataAsHtml());
}

void Form1::mnuEditCopyMetaRDF_Click() {
    QApplication::clipboard()->setText(metadataAsRdf());
}

void Form1::mnuEditInsertIndex_Click(int index) {
    if (EditPanel->isHidden() || editNrmlContent->isHidden()) return;
    const QChar sign = index == kRegisteredSymbol ? QChar(0x00AE) : QChar(0x00A9);
    const int start = editNrmlContent->hasSelectedText() ? editNrmlContent->selectionStart()
                                                         : editNrmlContent->cursorPosition();
    const int length = int(editNrmlContent->selectedText().size());
    const QString text = editNrmlContent->text();
    editNrmlContent->setText(text.left(start) + sign + text.mid(start + length));
    editNrmlContent->setCursorPosition(start + 1);
}

void Form1::connectEditMenu() {
    connect(mnuEditCut, &QAction::triggered, this, &Form1::mnuEditCut_Click);
    connect(mnuEditCopy, &QAction::triggered, this, &Form1::mnuEditCopy_Click);
    connect(mnuEditPaste, &QAction::triggered, this, &Form1::mnuEditPaste_Click);
    connect(mnuEditCopyMeta, &QAction::triggered, this, &Form1::mnuEditCopyMeta_Click);
    connect(mnuEditCopyMetaRDF, &QAction::triggered, this, &Form1::mnuEditCopyMetaRDF_Click);
    connect(mnuEditInsertIndex(1), &QAction::triggered, this, [this] { mnuEditInsertIndex_Click(1); });
    connect(mnuEditInsertIndex(2), &QAction::triggered, this, [this] { mnuEditInsertIndex_Click(2); });
    connect(mnuEditPrefs, &QAction::triggered, this, &Form1::mnuEditPrefs_Click);
    connect(MnuEditIE, &QAction::triggered, this, &Form1::MnuEditIE_Click);
    connect(MnuEditFirewall, &QAction::triggered, this, &Form1::MnuEditFirewall_Click);
}
