// The metadata panel on screen: its keys, clicks, drags and drops, and its context menu.
#include "app/Form1.h"

#include "commands/modMTP.h"
#include "domains/modSchemas.h"
#include "domains/modScorm.h"
#include "platform/DataObject.h"
#include "platform/KeyCodes.h"
#include "platform/ListView.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/StatusBar.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"
#include "record/frmdlogInput.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>

#include <algorithm>
#include <exception>

using platform::ListItem;

namespace {

const QString kEditReason = QStringLiteral("before editing a record");
// The drag text of a line moved inside the panel: this prefix, then the line's position.
const QString kMovePrefix = QStringLiteral("mtp://moveMetaCell|");

// The number a text starts with (blanks first allowed), as a whole number; 0 when it
// starts with none.
int leadingNumber(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace()) ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) ++i;
    while (i < text.size() && text.at(i).isDigit()) ++i;
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && text.at(i).isDigit()) ++i;
    }
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    if (!ok || value > 1e9 || value < -1e9) return 0;
    return qRound(value);
}

// A character the panel appends when typed: anything printable, no control characters.
bool typeable(int code) {
    if (code < 0x20 || code > 0x10FFFF) return false;
    if (code >= 0x7F && code <= 0x9F) return false;
    if (code >= 0xD800 && code <= 0xDFFF) return false;
    return true;
}

QString characterText(int code) {
    const char32_t c = char32_t(code);
    return QString::fromUcs4(&c, 1);
}

// Removes every selected line, the last first, once the save question lets it.
void deleteSelectedLines(Form1& form) {
    platform::ListView* panel = form.MetaPanel;
    QList<int> selected;
    for (int i = panel->Count(); i >= 1; --i) {
        if (panel->Item(i)->Selected()) selected << i;
    }
    if (selected.isEmpty()) return;
    if (form.markHTMLmodifiedCheckList(QStringLiteral(" deleting line")) == platform::vbCancel) return;
    for (int index : std::as_const(selected)) panel->Remove(index);
    // The edit panel no longer has a line to write to.
    if (!form.EditPanel->isHidden() && !panel->SelectedItem()) form.ActivateEditPanel(false);
}

}  // namespace

void Form1::connectMetaPanel() {
    MetaPanel->setOLEDragMode(platform::vbOLEDragAutomatic);
    MetaPanel->setOLEDropMode(platform::vbOLEDropManual);
    // Direct connections: the handlers write back through the references.
    connect(MetaPanel, &platform::ListView::ColumnClick, this, &Form1::MetaPanel_ColumnClick, Qt::DirectConnection);
    connect(MetaPanel, &platform::ListView::DblClick, this, &Form1::MetaPanel_DblClick, Qt::DirectConnection);
    connect(MetaPanel, &platform::ListView::KeyDown, this, &Form1::MetaPanel_KeyDown, Qt::DirectConnection);
    connect(MetaPanel, &platform::ListView::KeyPress, this, &Form1::MetaPanel_KeyPress, Qt::DirectConnection);
    connect(MetaPanel, &platform::ListView::KeyUp, this, &Form1::MetaPanel_KeyUp, Qt::DirectConnection);
    connect(MetaPanel, &platform::ListView::MouseMove, this, &Form1::MetaPanel_MouseMove, Qt::DirectConnection);
    connect(MetaPanel, &platform::ListView::MouseUp, this, &Form1::MetaPanel_MouseUp, Qt::DirectConnection);
    connect(MetaPanel, &platform::ListView::OLESetData, this, &Form1::MetaPanel_OLESetData, Qt::DirectConnection);
    connect(MetaPanel, &platform::ListView::OLEDragOver, this, &Form1::MetaPanel_OLEDragOver, Qt::DirectConnection);
    connect(MetaPanel, &platform::ListView::OLEDragDrop, this, &Form1::MetaPanel_OLEDragDrop, Qt::DirectConnection);
    for (int i = 1; i <= 9; ++i) {
        if (QAction* item = mnuMaintMeta(i)) connect(item, &QAction::triggered, this, [this, i] { mnuMaintMeta_Click(i); });
    }
    connect(mnuEditCurrentRecord, &QAction::triggered, this, [this] { mnuEditCurrentRecord_Click(); });
}

// ---- keys ----------------------------------------------------------------------------

void Form1::MetaPanel_KeyDown(int& keyCode, int) {
    switch (keyCode) {
    case platform::vbKeyDelete:
        deleteSelectedLines(*this);
        return;
    case platform::vbKeyReturn:
        selectNextLine();
        return;
    case platform::vbKeyHome:
    case platform::vbKeyInsert:
        modSchemas::loadDomainScheme();
        return;
    default:
        return;
    }
}

void Form1::selectNextLine() {
    ListItem* current = MetaPanel->SelectedItem();
    if (!current) return;
    current->setBold(false);
    const int next = current->Index() < MetaPanel->Count() ? current->Index() + 1 : 1;
    ListItem* line = MetaPanel->Item(next);
    MetaPanel->setSelectedItem(line);
    line->setBold(true);
    fillingEditPanel = true;
    if (!EditPanel->isHidden())
        editCurrentLine();
    else
        SelectLine(next);
    fillingEditPanel = false;
}

void Form1::MetaPanel_KeyPress(int& keyAscii) {
    ListItem* line = MetaPanel->SelectedItem();
    if (!line) return;
    if (keyAscii == platform::vbKeyBack) {
        keyAscii = 0;
        QString content = line->SubItems(1);
        if (content.isEmpty()) return;
        if (markHTMLmodifiedCheckList(kEditReason) == platform::vbCancel) return;
        // The last character, whole even when it is a surrogate pair.
        const qsizetype cut = content.size() >= 2 && content.back().isLowSurrogate() &&
                                      content.at(content.size() - 2).isHighSurrogate()
                                  ? 2
                                  : 1;
        content.chop(cut);
        line->setSubItems(1, content);
        return;
    }
    if (!typeable(keyAscii)) return;
    const QString typed = characterText(keyAscii);
    // Taken for the line, so the list's own type-ahead never moves the line being typed into.
    keyAscii = 0;
    if (markHTMLmodifiedCheckList(kEditReason) == platform::vbCancel) return;
    line->setSubItems(1, line->SubItems(1) + typed);
    if (!EditPanel->isHidden()) {
        editCurrentLine();
        editNrmlContent->setCursorPosition(int(editNrmlContent->text().size()));
    }
}

void Form1::MetaPanel_KeyUp(int& keyCode, int) {
    if (EditPanel->isHidden()) return;
    if (keyCode != platform::vbKeyUp && keyCode != platform::vbKeyDown) return;
    fillingEditPanel = true;
    editCurrentLine();
    fillingEditPanel = false;
    MetaPanel->setFocus();
}

// ---- mouse ---------------------------------------------------------------------------

void Form1::MetaPanel_MouseMove(int, int, int x, int y) {
    const platform::ListView::SubItemHit hit = MetaPanel->SubItemHitTest(x, y);
    if (!hit.item) {
        MetaPanel->setToolTipText(QString());
        return;
    }
    switch (hit.column) {
    case 0:
    case 1:
        MetaPanel->setToolTipText(modScorm::getScormHelp(hit.item->Text()));
        break;
    case 2:
        MetaPanel->setToolTipText(QStringLiteral("Double click to Edit"));
        break;
    case 3:
        MetaPanel->setToolTipText(hit.item->SubItems(3).isEmpty() ? QStringLiteral("Double click to Edit")
                                                                  : QStringLiteral("Click to Load Scheme"));
        break;
    default:
        break;
    }
}

void Form1::MetaPanel_MouseUp(int button, int shift, int x, int y) {
    const platform::ListView::SubItemHit hit = MetaPanel->SubItemHitTest(x, y);
    try {
        if (hit.item) {
            const QString name = hit.item->Text();
            const QString cell = hit.item->SubItems(hit.column);
            StatusBar1->setPanelText(kActivityPanel, cell);
            if (!cell.isEmpty() && hit.column == 2) {
                QString scheme = QStringLiteral("LANG-RFC3066");
                loadScheme(scheme);
            } else if (!cell.isEmpty() && hit.column == 3) {
                if (cell == QLatin1String("LOMv1.0")) {
                    QString scheme = name;
                    loadScheme(scheme);
                } else {
                    QString scheme = cell;
                    if (!loadScheme(scheme) && !cell.contains(QLatin1String("URI"), Qt::CaseInsensitive) &&
                        cell != QLatin1String("ISO8601")) {
                        platform::MsgBox(QStringLiteral("There is no scheme to load in under the ") +
                                             modSchemas::defaultSchema + QStringLiteral(" domain."),
                                         platform::vbOKOnly, QStringLiteral("Quorvantile doesnt have that scheme"));
                    }
                }
            }
            if (shift == platform::vbShiftMask) {
                if (!EditPanel->isHidden()) ActivateEditPanel(false);
            } else {
                ListItem* selected = MetaPanel->SelectedItem();
                SelectLine(selected ? selected->Index() : 0);
                if (!EditPanel->isHidden()) {
                    if (selected) {
                        editCurrentLine();
                        MetaPanel->setFocus();
                    } else {
                        ActivateEditPanel(false);
                    }
                }
            }
        }
    } catch (const std::exception& e) {
        platform::MsgBox(QStringLiteral("Error in Metapanel: ") + QString::fromLocal8Bit(e.what()));
        return;
    }
    if (button == platform::vbRightButton) {
        MetaPanel->setSelectedItem(hit.item);
        mnuMaintMeta1->popup(MetaPanel->mapToGlobal(platform::twipsToPixels(QPoint(x, y))));
    }
}

void Form1::MetaPanel_ColumnClick(platform::ColumnHeader* column) {
    if (ListItem* selected = MetaPanel->SelectedItem()) SelectLine(selected->Index());
    if (!column) return;
    // Sorted once: lines added later go to the end again.
    MetaPanel->setSortKey(column->Index() - 1);
    MetaPanel->setSorted(true);
    MetaPanel->setSorted(false);
}

void Form1::MetaPanel_DblClick() {
    mnuEditCurrentRecord_Click();
}

// ---- dragging another control of the window (a tree's node) --------------------------

namespace {
// A node of one of the window's trees that carries its command only as its tag: the
// window's own drag of a control rather than data for the system's drop.
bool isControlDrag(const Form1& form, const platform::DataObject& data) {
    auto* tree = qobject_cast<platform::TreeView*>(data.Source());
    if (!tree || std::find(form.TreeView1.begin(), form.TreeView1.end(), tree) == form.TreeView1.end()) return false;
    return !data.HasText() && !data.HasFiles();
}
}  // namespace

void Form1::MetaPanel_DragOver(QObject*, int x, int y) {
    ListItem* line = MetaPanel->HitTest(x, y);
    MetaPanel->setDropHighlight(line);
    if (line) SelectLine(line->Index());
}

void Form1::MetaPanel_DragDrop(QObject* source, int, int) {
    if (auto* tree = qobject_cast<platform::TreeView*>(source)) {
        const platform::Node* node = tree->SelectedItem();
        if (node && node->Tag().startsWith(QLatin1String("mtp://"), Qt::CaseInsensitive)) modMTP::runCommand(node->Tag());
    }
    if (ListItem* selected = MetaPanel->SelectedItem()) SelectLine(selected->Index());
    MetaPanel->setDropHighlight(nullptr);
}

// ---- the system's drag and drop ------------------------------------------------------

void Form1::MetaPanel_OLESetData(platform::DataObject& data) {
    if (ListItem* current = MetaPanel->SelectedItem()) data.SetText(kMovePrefix + QString::number(current->Index()));
}

void Form1::MetaPanel_OLEDragOver(platform::DataObject& data, int&, int, int, int x, int y, int) {
    if (isControlDrag(*this, data)) {
        MetaPanel_DragOver(data.Source(), x, y);
        return;
    }
    // While a line of the panel itself is dragged, the other lines stay as they are.
    if (data.GetText().contains(kMovePrefix, Qt::CaseInsensitive)) return;
    MetaPanel->setFocus();
    ListItem* line = MetaPanel->HitTest(x, y);
    MetaPanel->setDropHighlight(line);
    if (line) SelectLine(line->Index());
}

void Form1::MetaPanel_OLEDragDrop(platform::DataObject& data, int&, int, int, int x, int y) {
    if (isControlDrag(*this, data)) {
        MetaPanel_DragDrop(data.Source(), x, y);
        return;
    }
    ListItem* targetLine = MetaPanel->HitTest(x, y);
    const int target = targetLine ? targetLine->Index() : 0;
    const QString text = data.GetText();

    if (text.isEmpty()) {
        // Files: the first is opened by its kind, the others go to the history.
        if (data.mimeData()) dropOnWindow(data.mimeData());
    } else if (targetLine && targetLine->Text() == QLatin1String("RelatesTo")) {
        const qsizetype first = text.indexOf(QLatin1Char('|'));
        const qsizetype second = first < 0 ? -1 : text.indexOf(QLatin1Char('|'), first + 1);
        if (second >= 0 && markHTMLmodifiedCheckList(kEditReason) != platform::vbCancel) {
            const QString value = text.mid(first + 1, second - first - 1);
            targetLine->setSubItems(1, targetLine->SubItems(1) + value + QStringLiteral("\r\n"));
        }
    } else if (text.contains(kMovePrefix, Qt::CaseInsensitive)) {
        // Only a line dragged from this very panel is moved, and only to a place in it.
        const int source = leadingNumber(QStringView(text).mid(kMovePrefix.size()));
        ListItem* from = MetaPanel->Item(source);
        if (data.Source() == MetaPanel && from && source != target &&
            markHTMLmodifiedCheckList(kEditReason) != platform::vbCancel) {
            const QString values[4] = {from->Text(), from->SubItems(1), from->SubItems(2), from->SubItems(3)};
            const QString tag = from->Tag();
            ListItem* moved = MetaPanel->Add(target, values[0]);
            for (int c = 1; c <= 3; ++c) moved->setSubItems(c, values[c]);
            moved->setTag(tag);
            MetaPanel->setSelectedItem(moved);
            MetaPanel->Remove(target > 0 && source > target ? source + 1 : source);
            MetaPanel->Refresh();
        }
    } else {
        // Any other text takes the content's place, or runs or opens as what it is.
        editNrmlContent->selectAll();
        LoadDragDrop(text);
    }
    MetaPanel->setDropHighlight(nullptr);
}

// ---- context menu --------------------------------------------------------------------

void Form1::mnuMaintMeta_Click(int index) {
    switch (index) {
    case kAddCustomLine: {
        if (markHTMLmodifiedCheckList(QStringLiteral(" before adding field")) == platform::vbCancel) return;
        frmdlogInput& dialog = frmdlogInput::instance(this);
        dialog.setWindowTitle(QStringLiteral("Please Enter a Metadata Field Name"));
        dialog.txtFieldName->clear();
        platform::execModal(dialog);
        inputText = dialog.inputText();
        if (inputText.isEmpty()) return;
        modMTP::runCommand(QStringLiteral("mtp://field=") + inputText + QStringLiteral(".fld / "));
        return;
    }
    case kAddAglsLine:
        modSchemas::loadDomainScheme();
        return;
    case kEditLine:
        if (!EditPanel->isHidden() || !MetaPanel->SelectedItem()) return;
        {
            // Room for the edit panel above the lines.
            double x = splitterX();
            double y = splitterY() - Layout::kEditPanelHeight;
            SizeControls(x, y);
        }
        editCurrentLine();
        return;
    case kDeleteLine:
        deleteSelectedLines(*this);
        return;
    case kDeleteAllLines:
        if (markHTMLmodifiedCheckList(QStringLiteral(" deleting lines")) == platform::vbCancel) return;
        if (platform::MsgBox(QStringLiteral("Delete all Metadata lines?"), platform::vbYesNo,
                             QStringLiteral("Confirm Delete")) == platform::vbYes)
            modMTP::runCommand(QStringLiteral("mtp://delete=all.fld"));
        return;
    case kCloseMetadataView:
        mnuViewQuorvantile_Click();
        return;
    case kCancelEditing:
        documentState->markSaved(DocumentState::Document::None);
        EditPanelOff();
        mnuMaintMeta(kCancelEditing)->setEnabled(false);
        return;
    default:
        return;
    }
}
