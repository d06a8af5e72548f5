// The metadata panel on screen: its keys, clicks, drags and drops, and its context menu.
#include "gui/record/RecordPane.h"
#include "gui/frame/WindowFrame.h"

#include "core/commands/modMTP.h"
#include "core/record/Record.h"
#include "core/domains/modSchemas.h"
#include "core/domains/modScorm.h"
#include "gui/record/MetaPanelView.h"
#include "platform/widgets/MenuItems.h"
#include "platform/DataObject.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/Modal.h"
#include "platform/MsgBox.h"
#include "platform/widgets/StatusBar.h"
#include "platform/TextCodec.h"
#include "core/catalogues/ListTree.h"
#include "platform/Twips.h"
#include "gui/record/frmdlogInput.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>

#include <algorithm>
#include <exception>

using LineId = Record::LineId;

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
    return platform::codePointText(char32_t(code));
}

// Removes every selected line, the last first, once the save question lets it.
void deleteSelectedLines(RecordPane& form, Record& record) {
    QList<LineId> selected = record.selection();
    if (selected.isEmpty()) return;
    if (form.markHTMLmodifiedCheckList(QStringLiteral(" deleting line")) == platform::kAnswerCancel) return;
    std::reverse(selected.begin(), selected.end());
    for (const LineId id : std::as_const(selected)) record.remove(id);
    // The edit panel no longer has a line to write to.
    if (form.editPanelShown() && !record.selectedLine()) form.ActivateEditPanel(false);
}

// The panel's input, handed to the window's handlers.
class MetaPanelHandlers final : public MetaPanelView::Handlers {
public:
    explicit MetaPanelHandlers(RecordPane& pane) : f(pane) {}
    bool keyDown(int keyCode, int shift) override {
        f.MetaPanel_KeyDown(keyCode, shift);
        return false;  // the panel still moves on Home, as lists do
    }
    bool keyPress(int character) override { return f.MetaPanel_KeyPress(character); }
    void keyUp(int keyCode, int shift) override { f.MetaPanel_KeyUp(keyCode, shift); }
    void mouseMove(int buttons, int shift, int x, int y) override { f.MetaPanel_MouseMove(buttons, shift, x, y); }
    void mouseUp(int button, int shift, int x, int y) override { f.MetaPanel_MouseUp(button, shift, x, y); }
    void doubleClick() override { f.MetaPanel_DblClick(); }
    void columnClick(int column) override { f.MetaPanel_ColumnClick(column); }
    QString dragText() override { return f.MetaPanel_OLESetData(); }
    void dragOver(const platform::DataObject& data, int x, int y) override { f.MetaPanel_OLEDragOver(data, x, y); }
    void drop(const platform::DataObject& data, int x, int y) override { f.MetaPanel_OLEDragDrop(data, x, y); }

private:
    RecordPane& f;
};

}  // namespace

void RecordPane::connectMetaPanel() {
    MetaPanel->setHandlers(std::make_unique<MetaPanelHandlers>(*this));
    menuItems::connectElements(mnuMaintMeta, this, [this](int i) { mnuMaintMeta_Click(i); });
}

// ---- keys ----------------------------------------------------------------------------

void RecordPane::MetaPanel_KeyDown(int keyCode, int) {
    switch (keyCode) {
    case platform::kKeyDelete:
        deleteSelectedLines(*this, *record);
        return;
    case platform::kKeyReturn:
        selectNextLine();
        return;
    case platform::kKeyHome:
    case platform::kKeyInsert:
        modSchemas::loadDomainScheme(context);
        return;
    default:
        return;
    }
}

void RecordPane::selectNextLine() {
    const LineId current = record->selectedLine();
    if (!current) return;
    record->setBold(current, false);
    const int position = record->positionOf(current);
    const int next = position < record->count() ? position + 1 : 1;
    const LineId line = record->idAt(next);
    record->selectOnly(line);
    record->setBold(line, true);
    fillingEditPanel = true;
    if (!EditPanel->isHidden())
        editCurrentLine();
    else
        SelectLine(next);
    fillingEditPanel = false;
}

bool RecordPane::MetaPanel_KeyPress(int keyAscii) {
    const LineId line = record->selectedLine();
    if (!line) return false;
    if (keyAscii == platform::kKeyBack) {
        QString content = record->cell(line, Record::Content);
        if (content.isEmpty()) return true;
        if (markHTMLmodifiedCheckList(kEditReason) == platform::kAnswerCancel) return true;
        // The last character, whole even when it is a surrogate pair.
        const qsizetype cut = content.size() >= 2 && content.back().isLowSurrogate() &&
                                      content.at(content.size() - 2).isHighSurrogate()
                                  ? 2
                                  : 1;
        content.chop(cut);
        record->set(line, Record::Content, content);
        return true;
    }
    if (!typeable(keyAscii)) return false;
    const QString typed = characterText(keyAscii);
    // Taken for the line, so the list's own type-ahead never moves the line being typed into.
    if (markHTMLmodifiedCheckList(kEditReason) == platform::kAnswerCancel) return true;
    record->set(line, Record::Content, record->cell(line, Record::Content) + typed);
    if (!EditPanel->isHidden()) {
        editCurrentLine();
        editNrmlContent->setCursorPosition(int(editNrmlContent->text().size()));
    }
    return true;
}

void RecordPane::MetaPanel_KeyUp(int keyCode, int) {
    if (EditPanel->isHidden()) return;
    if (keyCode != platform::kKeyUp && keyCode != platform::kKeyDown) return;
    fillingEditPanel = true;
    editCurrentLine();
    fillingEditPanel = false;
    MetaPanel->setFocus();
}

// ---- mouse ---------------------------------------------------------------------------

void RecordPane::MetaPanel_MouseMove(int, int, int x, int y) {
    const MetaPanelView::Cell hit = MetaPanel->cellAt(x, y);
    const LineId line = record->idAt(hit.position);
    if (!line || hit.column < 0) {
        MetaPanel->setToolTipText(QString());
        return;
    }
    switch (hit.column) {
    case Record::Name:
    case Record::Content:
        MetaPanel->setToolTipText(modScorm::getScormHelp(record->cell(line, Record::Name)));
        break;
    case Record::Lang:
        MetaPanel->setToolTipText(QStringLiteral("Double click to Edit"));
        break;
    case Record::Scheme:
        MetaPanel->setToolTipText(record->cell(line, Record::Scheme).isEmpty() ? QStringLiteral("Double click to Edit")
                                                                               : QStringLiteral("Click to Load Scheme"));
        break;
    default:
        break;
    }
}

void RecordPane::MetaPanel_MouseUp(int button, int shift, int x, int y) {
    const MetaPanelView::Cell hit = MetaPanel->cellAt(x, y);
    const LineId hitLine = hit.column >= 0 ? record->idAt(hit.position) : 0;
    try {
        if (hitLine) {
            const QString name = record->cell(hitLine, Record::Name);
            const QString cell = record->cell(hitLine, hit.column);
            frame.statusBar().setPanelText(WindowFrame::kActivityPanel, cell);
            if (!cell.isEmpty() && hit.column == Record::Lang) {
                QString scheme = QStringLiteral("LANG-RFC3066");
                loadScheme(scheme);
            } else if (!cell.isEmpty() && hit.column == Record::Scheme) {
                if (cell == QLatin1String("LOMv1.0")) {
                    QString scheme = name;
                    loadScheme(scheme);
                } else {
                    QString scheme = cell;
                    if (!loadScheme(scheme) && !cell.contains(QLatin1String("URI"), Qt::CaseInsensitive) &&
                        cell != QLatin1String("ISO8601")) {
                        context.user.MsgBox(QStringLiteral("There is no scheme to load in under the ") +
                                                context.domain.defaultSchema + QStringLiteral(" domain."),
                                            platform::kOkOnly, QStringLiteral("Quorvantile doesnt have that scheme"));
                    }
                }
            }
            if (shift == platform::kShiftMask) {
                if (!EditPanel->isHidden()) ActivateEditPanel(false);
            } else {
                const LineId selected = record->selectedLine();
                SelectLine(record->positionOf(selected));
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
        context.user.MsgBox(QStringLiteral("Error in Metapanel: ") + QString::fromLocal8Bit(e.what()));
        return;
    }
    if (button == platform::kRightButton) {
        record->selectOnly(hitLine);
        mnuMaintMeta1->popup(MetaPanel->mapToGlobal(platform::twipsToPixels(QPoint(x, y))));
    }
}

void RecordPane::MetaPanel_ColumnClick(int column) {
    if (const LineId selected = record->selectedLine()) SelectLine(record->positionOf(selected));
    // Sorted once: lines added later go where they are put, as before.
    record->sortBy(column);
}

void RecordPane::MetaPanel_DblClick() {
    mnuEditCurrentRecord_Click();
}

// ---- dragging another control of the window (a tree's node) --------------------------

namespace {
// A node of one of the window's trees that carries its command only as its tag: the
// window's own drag of a control rather than data for the system's drop.
bool isControlDrag(WindowFrame& frame, const platform::DataObject& data) {
    if (!frame.treeShownBy(data.Source())) return false;
    return !data.HasText() && !data.HasFiles();
}
}  // namespace

void RecordPane::MetaPanel_DragOver(QObject*, int x, int y) {
    const LineId line = record->idAt(MetaPanel->cellAt(x, y).position);
    MetaPanel->setDropHighlight(line);
    if (line) SelectLine(record->positionOf(line));
}

void RecordPane::MetaPanel_DragDrop(QObject* source, int, int) {
    if (const ListTree* tree = frame.treeShownBy(source)) {
        const QString tag = tree->tag(tree->selected());
        if (tag.startsWith(QLatin1String("mtp://"), Qt::CaseInsensitive)) modMTP::runMtpCommand(context, tag);
    }
    if (const LineId selected = record->selectedLine()) SelectLine(record->positionOf(selected));
    MetaPanel->setDropHighlight(0);
}

// ---- the system's drag and drop ------------------------------------------------------

QString RecordPane::MetaPanel_OLESetData() {
    const LineId current = record->selectedLine();
    return current ? kMovePrefix + QString::number(record->positionOf(current)) : QString();
}

void RecordPane::MetaPanel_OLEDragOver(const platform::DataObject& data, int x, int y) {
    if (isControlDrag(frame, data)) {
        MetaPanel_DragOver(data.Source(), x, y);
        return;
    }
    // While a line of the panel itself is dragged, the other lines stay as they are.
    if (data.GetText().contains(kMovePrefix, Qt::CaseInsensitive)) return;
    MetaPanel->setFocus();
    MetaPanel_DragOver(data.Source(), x, y);
}

void RecordPane::MetaPanel_OLEDragDrop(const platform::DataObject& data, int x, int y) {
    if (isControlDrag(frame, data)) {
        MetaPanel_DragDrop(data.Source(), x, y);
        return;
    }
    const int target = MetaPanel->cellAt(x, y).position;
    const LineId targetLine = record->idAt(target);
    const QString text = data.GetText();

    if (text.isEmpty()) {
        // Files: the first is opened by its kind, the others go to the history.
        if (data.mimeData()) frame.dropOnWindow(data.mimeData());
    } else if (targetLine && record->cell(targetLine, Record::Name) == QLatin1String("RelatesTo")) {
        const qsizetype first = text.indexOf(QLatin1Char('|'));
        const qsizetype second = first < 0 ? -1 : text.indexOf(QLatin1Char('|'), first + 1);
        if (second >= 0 && markHTMLmodifiedCheckList(kEditReason) != platform::kAnswerCancel) {
            const QString value = text.mid(first + 1, second - first - 1);
            record->set(targetLine, Record::Content, record->cell(targetLine, Record::Content) + value + QStringLiteral("\r\n"));
        }
    } else if (text.contains(kMovePrefix, Qt::CaseInsensitive)) {
        // Only a line dragged from this very panel is moved, and only to a place in it.
        const int source = leadingNumber(QStringView(text).mid(kMovePrefix.size()));
        const LineId from = record->idAt(source);
        if (data.Source() == MetaPanel && from && source != target &&
            markHTMLmodifiedCheckList(kEditReason) != platform::kAnswerCancel) {
            // The line lands just above the one it was dropped on, or last; it keeps its values
            // and is selected, but not bold.
            record->move(from, record->positionOf(targetLine));
            record->setBold(from, false);
            record->selectOnly(from);
            MetaPanel->refresh();
        }
    } else {
        // Any other text takes the content's place, or runs or opens as what it is.
        editNrmlContent->selectAll();
        frame.LoadDragDrop(text);
    }
    MetaPanel->setDropHighlight(0);
}

// ---- context menu --------------------------------------------------------------------

void RecordPane::mnuMaintMeta_Click(int index) {
    switch (index) {
    case kAddCustomLine: {
        if (markHTMLmodifiedCheckList(QStringLiteral(" before adding field")) == platform::kAnswerCancel) return;
        frmdlogInput& dialog = frmdlogInput::instance(window());
        dialog.proposeFieldName(QStringLiteral("Please Enter a Metadata Field Name"), QString());
        frame.modalRuns().execModal(dialog);
        const QString inputText = dialog.inputText();
        if (inputText.isEmpty()) return;
        modMTP::runMtpCommand(context, QStringLiteral("mtp://field=") + inputText + QStringLiteral(".fld / "));
        return;
    }
    case kAddAglsLine:
        modSchemas::loadDomainScheme(context);
        return;
    case kEditLine:
        if (!EditPanel->isHidden() || !record->selectedLine()) return;
        {
            // Room for the edit panel above the lines.
            double x = frame.splitterX();
            double y = frame.splitterY() - Layout::kEditPanelHeight;
            frame.SizeControls(x, y);
        }
        editCurrentLine();
        return;
    case kDeleteLine:
        deleteSelectedLines(*this, *record);
        return;
    case kDeleteAllLines:
        if (markHTMLmodifiedCheckList(QStringLiteral(" deleting lines")) == platform::kAnswerCancel) return;
        if (context.user.MsgBox(QStringLiteral("Delete all Metadata lines?"), platform::kYesNo,
                                QStringLiteral("Confirm Delete")) == platform::kAnswerYes)
            modMTP::runMtpCommand(context, QStringLiteral("mtp://delete=all.fld"));
        return;
    case kCloseMetadataView:
        frame.showMetadataView();
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
