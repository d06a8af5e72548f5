// The metadata panel on screen: its keys, clicks, drags and drops, and its context menu.
#include "gui/record/MetaPanelEvents.h"

#include "gui/frame/ListPane.h"
#include "gui/frame/NavigationView.h"
#include "gui/frame/ViewMarks.h"
#include "gui/frame/WindowFrame.h"
#include "gui/record/EditPanelContent.h"
#include "gui/record/EditGuards.h"
#include "gui/record/RecordEditPanel.h"
#include "gui/record/RecordNeighbours.h"
#include "gui/record/RecordSaving.h"
#include "gui/record/SchemeValues.h"
#include "core/program/ProgramContext.h"

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
#include <QApplication>
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
void deleteSelectedLines(RecordDocument& document, RecordEditPanel& editPanel, Record& record) {
    QList<LineId> selected = record.selection();
    if (selected.isEmpty()) return;
    if (document.markHTMLmodifiedCheckList(QStringLiteral(" deleting line")) == platform::kAnswerCancel) return;
    std::reverse(selected.begin(), selected.end());
    for (const LineId id : std::as_const(selected)) record.remove(id);
    // The edit panel no longer has a line to write to.
    if (editPanel.editPanelShown() && !record.selectedLine()) editPanel.ActivateEditPanel(false);
}

// The panel's input, handed to the window's handlers.
class MetaPanelHandlers final : public MetaPanelView::Handlers {
public:
    explicit MetaPanelHandlers(MetaPanelEvents& events) : f(events) {}
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
    MetaPanelEvents& f;
};

}  // namespace

MetaPanelEvents::MetaPanelEvents(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around,
                                 EditGuards& guards, RecordSaving& saving, RecordEditPanel& editPanel,
                                 EditPanelContent& content, SchemeValues& schemes)
    : context(context), frame(frame), around(around), guards(guards), saving(saving), editPanel(editPanel),
      content(content), schemes(schemes) {
    MetaPanel = new MetaPanelView(context.record, frame.modalRuns(), frame.clientArea());
    MetaPanel->setObjectName(QStringLiteral("MetaPanel"));
    mnuMaintMeta1 = new QMenu(frame.clientArea()->window());
    mnuMaintMeta1->setObjectName(QStringLiteral("mnuMaintMeta1"));
    const char* metaItems[] = {"Add Custom Line", "Add AGLS Line", "Edit Line", "-", "Delete Line",
                               "Delete all Lines", "-", "Close Metadata View", "Cancel Editing this page"};
    for (int i = 1; i <= 9; ++i)
        menuItems::element(mnuMaintMeta1, mnuMaintMeta, QStringLiteral("mnuMaintMeta"), i,
                           QLatin1String(metaItems[i - 1]));
    mnuMaintMeta(kCancelEditing)->setEnabled(false);
    MetaPanel->setHandlers(std::make_unique<MetaPanelHandlers>(*this));
    menuItems::connectElements(mnuMaintMeta, this, [this](int i) { mnuMaintMeta_Click(i); });
}

// The panel hands its input straight to these handlers, so it goes with them; the menu stays
// with the window, its connections going with the handlers.
MetaPanelEvents::~MetaPanelEvents() {
    delete MetaPanel;
}

// ---- the panel as the window's other parts ask it -----------------------------------

void MetaPanelEvents::SelectLine(int position) {
    Record& record = context.record;
    if (record.isEmpty()) return;
    // Only the lines that change are touched, so a long record costs no more than a short one.
    const Record::LineId chosen = record.idAt(position);
    for (const Record::LineId bold : record.boldLines())
        if (bold != chosen) record.setBold(bold, false);
    record.selectOnly(chosen);
    if (!chosen) return;
    record.setBold(chosen, true);
    MetaPanel->showLine(chosen);
}

void MetaPanelEvents::showLine(Record::LineId id) {
    MetaPanel->showLine(id);
}

void MetaPanelEvents::refreshMetaPanel() {
    MetaPanel->refresh();
}

void MetaPanelEvents::showMetaPanel(bool on) {
    MetaPanel->setVisible(on);
}

bool MetaPanelEvents::metaPanelShown() const {
    return !MetaPanel->isHidden();
}

bool MetaPanelEvents::isMetaPanel(const QObject* object) const {
    return object == MetaPanel;
}

void MetaPanelEvents::placeBeforeEditPanel(QWidget* widget) {
    QWidget::setTabOrder(lastBeforeEditPanel_ ? lastBeforeEditPanel_ : MetaPanel, widget);
    lastBeforeEditPanel_ = widget;
}

void MetaPanelEvents::hold(bool on) {
    MetaPanel->hold(on);
    editPanel.hold(on);
}

int MetaPanelEvents::rowHeightTwips() const {
    return MetaPanel->rowHeightTwips();
}

int MetaPanelEvents::headerHeightTwips() const {
    return MetaPanel->headerHeightTwips();
}

void MetaPanelEvents::moveCurrentLine(int step) {
    Record& record = context.record;
    const Record::LineId current = record.selectedLine();
    if (!current) {
        QApplication::beep();
        return;
    }
    const int index = record.positionOf(current);
    if ((step < 0 && index < 2) || (step > 0 && index >= record.count())) {
        QApplication::beep();
        return;
    }
    record.setBold(current, false);
    const Record::LineId next = record.idAt(index + step);
    record.selectOnly(next);
    record.setBold(next, true);
    MetaPanel->showLine(next);
    editPanel.showCurrentLineQuietly();
}

// ---- keys ----------------------------------------------------------------------------

void MetaPanelEvents::MetaPanel_KeyDown(int keyCode, int) {
    switch (keyCode) {
    case platform::kKeyDelete:
        deleteSelectedLines(saving, editPanel, context.record);
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

void MetaPanelEvents::selectNextLine() {
    const LineId current = context.record.selectedLine();
    if (!current) return;
    context.record.setBold(current, false);
    const int position = context.record.positionOf(current);
    const int next = position < context.record.count() ? position + 1 : 1;
    const LineId line = context.record.idAt(next);
    context.record.selectOnly(line);
    context.record.setBold(line, true);
    guards.fillingEditPanel = true;
    if (editPanel.editPanelShown())
        editPanel.editCurrentLine();
    else
        SelectLine(next);
    guards.fillingEditPanel = false;
}

bool MetaPanelEvents::MetaPanel_KeyPress(int keyAscii) {
    const LineId line = context.record.selectedLine();
    if (!line) return false;
    if (keyAscii == platform::kKeyBack) {
        QString content = context.record.cell(line, Record::Content);
        if (content.isEmpty()) return true;
        if (saving.markHTMLmodifiedCheckList(kEditReason) == platform::kAnswerCancel) return true;
        // The last character, whole even when it is a surrogate pair.
        const qsizetype cut = content.size() >= 2 && content.back().isLowSurrogate() &&
                                      content.at(content.size() - 2).isHighSurrogate()
                                  ? 2
                                  : 1;
        content.chop(cut);
        context.record.set(line, Record::Content, content);
        return true;
    }
    if (!typeable(keyAscii)) return false;
    const QString typed = characterText(keyAscii);
    // Taken for the line, so the list's own type-ahead never moves the line being typed into.
    if (saving.markHTMLmodifiedCheckList(kEditReason) == platform::kAnswerCancel) return true;
    context.record.set(line, Record::Content, context.record.cell(line, Record::Content) + typed);
    if (editPanel.editPanelShown()) {
        editPanel.editCurrentLine();
        content.moveCaretToEnd();
    }
    return true;
}

void MetaPanelEvents::MetaPanel_KeyUp(int keyCode, int) {
    if (!editPanel.editPanelShown()) return;
    if (keyCode != platform::kKeyUp && keyCode != platform::kKeyDown) return;
    guards.fillingEditPanel = true;
    editPanel.editCurrentLine();
    guards.fillingEditPanel = false;
    MetaPanel->setFocus();
}

// ---- mouse ---------------------------------------------------------------------------

void MetaPanelEvents::MetaPanel_MouseMove(int, int, int x, int y) {
    const MetaPanelView::Cell hit = MetaPanel->cellAt(x, y);
    const LineId line = context.record.idAt(hit.position);
    if (!line || hit.column < 0) {
        MetaPanel->setToolTipText(QString());
        return;
    }
    switch (hit.column) {
    case Record::Name:
    case Record::Content:
        MetaPanel->setToolTipText(modScorm::getScormHelp(context.record.cell(line, Record::Name)));
        break;
    case Record::Lang:
        MetaPanel->setToolTipText(QStringLiteral("Double click to Edit"));
        break;
    case Record::Scheme:
        MetaPanel->setToolTipText(context.record.cell(line, Record::Scheme).isEmpty() ? QStringLiteral("Double click to Edit")
                                                                               : QStringLiteral("Click to Load Scheme"));
        break;
    default:
        break;
    }
}

void MetaPanelEvents::MetaPanel_MouseUp(int button, int shift, int x, int y) {
    const MetaPanelView::Cell hit = MetaPanel->cellAt(x, y);
    const LineId hitLine = hit.column >= 0 ? context.record.idAt(hit.position) : 0;
    try {
        if (hitLine) {
            const QString name = context.record.cell(hitLine, Record::Name);
            const QString cell = context.record.cell(hitLine, hit.column);
            frame.statusBar().setPanelText(WindowFrame::kActivityPanel, cell);
            if (!cell.isEmpty() && hit.column == Record::Lang) {
                schemes.loadScheme(QStringLiteral("LANG-RFC3066"));
            } else if (!cell.isEmpty() && hit.column == Record::Scheme) {
                if (cell == QLatin1String("LOMv1.0")) {
                    schemes.loadScheme(name);
                } else {
                    if (!schemes.loadScheme(cell) && !cell.contains(QLatin1String("URI"), Qt::CaseInsensitive) &&
                        cell != QLatin1String("ISO8601")) {
                        context.user.MsgBox(QStringLiteral("There is no scheme to load in under the ") +
                                                context.domain.defaultSchema + QStringLiteral(" domain."),
                                            platform::kOkOnly, QStringLiteral("Quorvantile doesnt have that scheme"));
                    }
                }
            }
            if (shift == platform::kShiftMask) {
                if (editPanel.editPanelShown()) editPanel.ActivateEditPanel(false);
            } else {
                const LineId selected = context.record.selectedLine();
                SelectLine(context.record.positionOf(selected));
                if (editPanel.editPanelShown()) {
                    if (selected) {
                        editPanel.editCurrentLine();
                        MetaPanel->setFocus();
                    } else {
                        editPanel.ActivateEditPanel(false);
                    }
                }
            }
        }
    } catch (const std::exception& e) {
        context.user.MsgBox(QStringLiteral("Error in Metapanel: ") + QString::fromLocal8Bit(e.what()));
        return;
    }
    if (button == platform::kRightButton) {
        context.record.selectOnly(hitLine);
        mnuMaintMeta1->popup(MetaPanel->mapToGlobal(platform::twipsToPixels(QPoint(x, y))));
    }
}

void MetaPanelEvents::MetaPanel_ColumnClick(int column) {
    if (const LineId selected = context.record.selectedLine()) SelectLine(context.record.positionOf(selected));
    // Sorted once: lines added later go where they are put, as before.
    context.record.sortBy(column);
}

void MetaPanelEvents::MetaPanel_DblClick() {
    editPanel.mnuEditCurrentRecord_Click();
}

// ---- dragging another control of the window (a tree's node) --------------------------

namespace {
// A node of one of the window's trees that carries its command only as its tag: the
// window's own drag of a control rather than data for the system's drop.
bool isControlDrag(const ListPane& trees, const platform::DataObject& data) {
    if (!trees.treeShownBy(data.Source())) return false;
    return !data.HasText() && !data.HasFiles();
}
}  // namespace

void MetaPanelEvents::MetaPanel_DragOver(QObject*, int x, int y) {
    const LineId line = context.record.idAt(MetaPanel->cellAt(x, y).position);
    MetaPanel->setDropHighlight(line);
    if (line) SelectLine(context.record.positionOf(line));
}

void MetaPanelEvents::MetaPanel_DragDrop(QObject* source, int, int) {
    if (const ListTree* tree = around.listPane.treeShownBy(source)) {
        const QString tag = tree->tag(tree->selected());
        if (tag.startsWith(QLatin1String("mtp://"), Qt::CaseInsensitive)) modMTP::runMtpCommand(context, tag);
    }
    if (const LineId selected = context.record.selectedLine()) SelectLine(context.record.positionOf(selected));
    MetaPanel->setDropHighlight(0);
}

// ---- the system's drag and drop ------------------------------------------------------

QString MetaPanelEvents::MetaPanel_OLESetData() {
    const LineId current = context.record.selectedLine();
    return current ? kMovePrefix + QString::number(context.record.positionOf(current)) : QString();
}

void MetaPanelEvents::MetaPanel_OLEDragOver(const platform::DataObject& data, int x, int y) {
    if (isControlDrag(around.listPane, data)) {
        MetaPanel_DragOver(data.Source(), x, y);
        return;
    }
    // While a line of the panel itself is dragged, the other lines stay as they are.
    if (data.GetText().contains(kMovePrefix, Qt::CaseInsensitive)) return;
    MetaPanel->setFocus();
    MetaPanel_DragOver(data.Source(), x, y);
}

void MetaPanelEvents::MetaPanel_OLEDragDrop(const platform::DataObject& data, int x, int y) {
    if (isControlDrag(around.listPane, data)) {
        MetaPanel_DragDrop(data.Source(), x, y);
        return;
    }
    const int target = MetaPanel->cellAt(x, y).position;
    const LineId targetLine = context.record.idAt(target);
    const QString text = data.GetText();

    if (text.isEmpty()) {
        // Files: the first is opened by its kind, the others go to the history.
        if (data.mimeData()) around.navigationView.dropOnWindow(data.mimeData());
    } else if (targetLine && context.record.cell(targetLine, Record::Name) == QLatin1String("RelatesTo")) {
        const qsizetype first = text.indexOf(QLatin1Char('|'));
        const qsizetype second = first < 0 ? -1 : text.indexOf(QLatin1Char('|'), first + 1);
        if (second >= 0 && saving.markHTMLmodifiedCheckList(kEditReason) != platform::kAnswerCancel) {
            const QString value = text.mid(first + 1, second - first - 1);
            context.record.set(targetLine, Record::Content, context.record.cell(targetLine, Record::Content) + value + QStringLiteral("\r\n"));
        }
    } else if (text.contains(kMovePrefix, Qt::CaseInsensitive)) {
        // Only a line dragged from this very panel is moved, and only to a place in it.
        const int source = leadingNumber(QStringView(text).mid(kMovePrefix.size()));
        const LineId from = context.record.idAt(source);
        if (data.Source() == MetaPanel && from && source != target &&
            saving.markHTMLmodifiedCheckList(kEditReason) != platform::kAnswerCancel) {
            // The line lands just above the one it was dropped on, or last; it keeps its values
            // and is selected, but not bold.
            context.record.move(from, context.record.positionOf(targetLine));
            context.record.setBold(from, false);
            context.record.selectOnly(from);
            MetaPanel->refresh();
        }
    } else {
        // Any other text takes the content's place, or runs or opens as what it is.
        content.selectAll();
        around.navigationView.LoadDragDrop(text);
    }
    MetaPanel->setDropHighlight(0);
}

// ---- context menu --------------------------------------------------------------------

void MetaPanelEvents::mnuMaintMeta_Click(int index) {
    switch (index) {
    case kAddCustomLine: {
        if (saving.markHTMLmodifiedCheckList(QStringLiteral(" before adding field")) == platform::kAnswerCancel) return;
        frmdlogInput& dialog = frmdlogInput::instance(frame.clientArea()->window());
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
        if (editPanel.editPanelShown() || !context.record.selectedLine()) return;
        {
            // Room for the edit panel above the lines.
            double x = frame.splitterX();
            double y = frame.splitterY() - Layout::kEditPanelHeight;
            frame.SizeControls(x, y);
        }
        editPanel.editCurrentLine();
        return;
    case kDeleteLine:
        deleteSelectedLines(saving, editPanel, context.record);
        return;
    case kDeleteAllLines:
        if (saving.markHTMLmodifiedCheckList(QStringLiteral(" deleting lines")) == platform::kAnswerCancel) return;
        if (context.user.MsgBox(QStringLiteral("Delete all Metadata lines?"), platform::kYesNo,
                                QStringLiteral("Confirm Delete")) == platform::kAnswerYes)
            modMTP::runMtpCommand(context, QStringLiteral("mtp://delete=all.fld"));
        return;
    case kCloseMetadataView:
        around.viewMenu.mnuViewQuorvantile_Click();
        return;
    case kCancelEditing:
        context.document.markSaved(DocumentState::Document::None);
        editPanel.EditPanelOff();
        mnuMaintMeta(kCancelEditing)->setEnabled(false);
        return;
    default:
        return;
    }
}
