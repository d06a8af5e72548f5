// Edit menu: the clipboard on the focused box or tree node, the record as HTML or RDF on
// the clipboard, and the two special characters.
#include "gui/app/EditMenu.h"

#include "gui/app/frmPreferences.h"
#include "gui/frame/ContentBox.h"
#include "gui/frame/ListDocument.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/PageBrowser.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/WindowFrame.h"
#include "platform/MsgBox.h"
#include "core/catalogues/ListTree.h"
#include "core/program/ProgramContext.h"
#include "platform/widgets/Modal.h"
#include "core/record/RdfWriter.h"

#include "platform/widgets/MenuItems.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>

namespace {

// The focused text: a line edit of its own or inside a combo box.
QLineEdit* focusedTextBox() {
    QWidget* focus = QApplication::focusWidget();
    if (auto* box = qobject_cast<QLineEdit*>(focus)) return box;
    if (auto* combo = qobject_cast<QComboBox*>(focus)) return combo->lineEdit();
    return nullptr;
}

}  // namespace

EditMenu::EditMenu(ProgramContext& context, WindowFrame& frame, const Neighbours& around,
                   std::function<void()> savePreferences)
    : context_(context), frame_(frame), around_(around), savePreferences_(std::move(savePreferences)) {}

ListTree* EditMenu::focusedTree() const {
    return around_.listPane.holdsFocus() ? &around_.listPane.activeTree() : nullptr;
}

bool EditMenu::mayChangeList() const {
    return around_.list.markListmodifiedCheckHTML() != platform::kAnswerCancel;
}

QWidget* EditMenu::owner() const {
    return frame_.clientArea()->window();
}

void EditMenu::mnuEditCopy_Click() {
    if (QLineEdit* box = focusedTextBox()) {
        if (box->selectedText().isEmpty()) return;
        QApplication::clipboard()->setText(box->selectedText());
    } else if (ListTree* tree = focusedTree()) {
        if (const ListTree::NodeId node = tree->selected()) QApplication::clipboard()->setText(tree->text(node));
    }
}

void EditMenu::mnuEditCut_Click() {
    if (QLineEdit* box = focusedTextBox()) {
        if (box->selectedText().isEmpty()) return;
        QApplication::clipboard()->setText(box->selectedText());
        box->del();
    } else if (ListTree* tree = focusedTree()) {
        const ListTree::NodeId node = tree->selected();
        if (!node) return;
        // The list changes: its unsaved state comes first.
        if (!mayChangeList()) return;
        QApplication::clipboard()->setText(tree->text(node));
        tree->setText(node, QString());
    }
}

void EditMenu::mnuEditPaste_Click() {
    const QString text = QApplication::clipboard()->text();
    if (QLineEdit* box = focusedTextBox()) {
        box->insert(text);
    } else if (ListTree* tree = focusedTree()) {
        const ListTree::NodeId node = tree->selected();
        if (!node) return;
        if (!mayChangeList()) return;
        tree->setText(node, text);
    }
}

// The declaration and the RDF, and nothing after it, so the clipboard holds well-formed XML.
QString EditMenu::metadataAsRdf() const {
    QString address = around_.browser.browserLocationURL();
    return QStringLiteral("<?xml version=\"1.0\"?>\r\n") +
           RdfWriter::MakeMetaIntoRDF(address, around_.record.MakeMetaIntoSource(), context_.domain.rdfNamespaces,
                                      context_.domain.rdfPrefix) +
           QStringLiteral("\r\n");
}

void EditMenu::mnuEditCopyMeta_Click() {
    QApplication::clipboard()->setText(around_.record.metadataAsHtml());
}

void EditMenu::mnuEditCopyMetaRDF_Click() {
    QApplication::clipboard()->setText(metadataAsRdf());
}

void EditMenu::mnuEditInsertIndex_Click(int index) {
    QLineEdit* box = around_.contentBox.shownContentBox();
    if (!box) return;
    const QChar sign = index == 1 ? QChar(0x00AE) : QChar(0x00A9);
    const int start = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
    const int length = int(box->selectedText().size());
    const QString text = box->text();
    box->setText(text.left(start) + sign + text.mid(start + length));
    box->setCursorPosition(start + 1);
}

void EditMenu::mnuEditPrefs_Click() {
    if (!preferencesDialog_) preferencesDialog_ = new frmPreferences(context_, savePreferences_, owner());
    platform::showOverOwner(*preferencesDialog_);
}

// The system's internet settings have no counterpart here: the program's own firewall
// settings are what its transfers use.
void EditMenu::MnuEditIE_Click() {
    MnuEditFirewall_Click();
}

void EditMenu::MnuEditFirewall_Click() {
    if (!firewallDialog_) firewallDialog_ = new frmFirewall(context_.preferences, owner());
    frame_.modalRuns().execModal(*firewallDialog_);
}

void EditMenu::connectItems(QObject& menus) {
    const auto on = [this, &menus](const QString& name, auto handler) { menuItems::connectItem(menus, name, this, handler); };
    on(QStringLiteral("mnuEditCut"), [this] { mnuEditCut_Click(); });
    on(QStringLiteral("mnuEditCopy"), [this] { mnuEditCopy_Click(); });
    on(QStringLiteral("mnuEditPaste"), [this] { mnuEditPaste_Click(); });
    on(QStringLiteral("mnuEditCopyMeta"), [this] { mnuEditCopyMeta_Click(); });
    on(QStringLiteral("mnuEditCopyMetaRDF"), [this] { mnuEditCopyMetaRDF_Click(); });
    on(QStringLiteral("mnuEditInsertIndex_1"), [this] { mnuEditInsertIndex_Click(1); });
    on(QStringLiteral("mnuEditInsertIndex_2"), [this] { mnuEditInsertIndex_Click(2); });
    on(QStringLiteral("mnuEditPrefs"), [this] { mnuEditPrefs_Click(); });
    on(QStringLiteral("MnuEditIE"), [this] { MnuEditIE_Click(); });
    on(QStringLiteral("MnuEditFirewall"), [this] { MnuEditFirewall_Click(); });
}
