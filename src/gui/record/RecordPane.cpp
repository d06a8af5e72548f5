// The record pane's making, its layout and what the window asks of it.
#include "gui/record/RecordPane.h"

#include "core/record/Record.h"
#include "platform/widgets/MenuItems.h"
#include "gui/frame/ViewMarks.h"
#include "gui/frame/WindowFrame.h"
#include "gui/record/MetaPanelView.h"
#include "platform/Twips.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

using platform::twipsToPixels;

namespace {

// The usual longest element name, which the Name column shows whole.
const QString kLongName = QStringLiteral("DC.Date.Modified");

}  // namespace

RecordPane::RecordPane(ProgramContext& context, WindowFrame& frame, const Neighbours& around)
    : QObject(frame.clientArea()), context(context), frame(frame), around(around), record(&context.record),
      documentState(&context.document) {
    setObjectName(QStringLiteral("recordPane"));
    buildMetaPanel();
    buildContextMenu();
    buildEditPanel();
    connectMetaPanel();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &RecordPane::Timer1_Timer);
}

void RecordPane::startRetries() {
    Timer1->start();
}

// The fields' event routing and the metadata panel (which hands its input straight to the
// pane) go with the pane; the other widgets stay with the window, their connections to the
// pane going with it.
RecordPane::~RecordPane() {
    delete editPanelEvents_;
    delete MetaPanel;
}

QWidget* RecordPane::window() const {
    return frame.clientArea()->window();
}

void RecordPane::buildMetaPanel() {
    MetaPanel = new MetaPanelView(*record, frame.modalRuns(), frame.clientArea());
    MetaPanel->setObjectName(QStringLiteral("MetaPanel"));
    connect(MetaPanel, &MetaPanelView::viewportWidthChanged, this, [this] {
        if (contentColumnTwips_ > 0) fitContentColumn();
    });
}

void RecordPane::buildContextMenu() {
    mnuMaintMeta1 = new QMenu(window());
    mnuMaintMeta1->setObjectName(QStringLiteral("mnuMaintMeta1"));
    const char* metaItems[] = {"Add Custom Line", "Add AGLS Line", "Edit Line", "-", "Delete Line",
                               "Delete all Lines", "-", "Close Metadata View", "Cancel Editing this page"};
    for (int i = 1; i <= 9; ++i)
        menuItems::element(mnuMaintMeta1, mnuMaintMeta, QStringLiteral("mnuMaintMeta"), i,
                           QLatin1String(metaItems[i - 1]));
    mnuMaintMeta(kCancelEditing)->setEnabled(false);
}

// Edit > Edit Current Record: the Edit menu's item, which the pane answers and marks.
void RecordPane::setEditCurrentRecordItem(QAction* item) {
    mnuEditCurrentRecord_ = item;
    connect(item, &QAction::triggered, this, [this] { mnuEditCurrentRecord_Click(); });
}

bool RecordPane::editPanelShown() const {
    return !EditPanel->isHidden();
}

QLineEdit* RecordPane::shownContentBox() const {
    return EditPanel->isHidden() || editNrmlContent->isHidden() ? nullptr : editNrmlContent;
}

void RecordPane::setEditPanelVisible(bool on) {
    EditPanel->setVisible(on);
}

void RecordPane::showInContentBox(const QString& text) {
    const bool filling = fillingEditPanel;
    fillingEditPanel = true;
    editNrmlContent->setText(text);
    fillingEditPanel = filling;
}

void RecordPane::typeIntoContentBox(const QString& text) {
    const QString content = editNrmlContent->text();
    const int start =
        editNrmlContent->hasSelectedText() ? editNrmlContent->selectionStart() : editNrmlContent->cursorPosition();
    const int length = int(editNrmlContent->selectedText().size());
    editNrmlContent->setText(content.left(start) + text + content.mid(start + length));
}

void RecordPane::showCurrentLineQuietly() {
    fillingEditPanel = true;
    editCurrentLine();
    fillingEditPanel = false;
}

void RecordPane::showLine(Record::LineId id) {
    MetaPanel->showLine(id);
}

void RecordPane::hold(bool on) {
    MetaPanel->hold(on);
    EditPanel->setUpdatesEnabled(!on);
}

int RecordPane::editPanelHeight() const {
    return EditPanel->height();
}

bool RecordPane::editPanelHolds(const QWidget* widget) const {
    return EditPanel->isAncestorOf(widget);
}

void RecordPane::showMetaPanel(bool on) {
    MetaPanel->setVisible(on);
}

bool RecordPane::isMetaPanel(const QObject* object) const {
    return object == MetaPanel;
}

void RecordPane::placeBeforeEditPanel(QWidget* widget) {
    QWidget::setTabOrder(lastBeforeEditPanel_ ? lastBeforeEditPanel_ : MetaPanel, widget);
    lastBeforeEditPanel_ = widget;
}

bool RecordPane::metaPanelShown() const {
    return !MetaPanel->isHidden();
}

void RecordPane::refreshMetaPanel() {
    MetaPanel->refresh();
}

void RecordPane::setupMetaPanelColumns() {
    MetaPanel->setColumnWidthTwips(Record::Name, std::max({1400, MetaPanel->boldTextWidthTwips(kLongName),
                                                           MetaPanel->headerWidthTwips(Record::Name)}));
    MetaPanel->setColumnWidthTwips(Record::Lang, std::max(400, MetaPanel->headerWidthTwips(Record::Lang)));
    MetaPanel->setColumnWidthTwips(Record::Scheme, std::max(1400, MetaPanel->headerWidthTwips(Record::Scheme)));
    documentState->setSaveCaption(QStringLiteral("Save Record..."));
    MetaPanel->setColumnWidthTwips(Record::Content,
                                   std::max(300, platform::pixelsToTwips(frame.clientArea()->width()) - 3200));
}

void RecordPane::describe(Layout::Input& in) const {
    in.metaVisible = metaPanelShown();
    in.editVisible = editPanelShown();
    in.nameWidth = MetaPanel->columnWidthTwips(Record::Name);
    in.langWidth = MetaPanel->columnWidthTwips(Record::Lang);
    in.schemeWidth = MetaPanel->columnWidthTwips(Record::Scheme);
}

int RecordPane::rowHeightTwips() const {
    return MetaPanel->rowHeightTwips();
}

int RecordPane::headerHeightTwips() const {
    return MetaPanel->headerHeightTwips();
}

void RecordPane::place(const Layout::Result& r) {
    if (!EditPanel->isHidden()) {
        EditPanel->setGeometry(twipsToPixels(r.edit.left), twipsToPixels(r.edit.top),
                               std::max(0, twipsToPixels(r.edit.width)), std::max(0, twipsToPixels(r.edit.height)));
        EditClose->move(twipsToPixels(r.editCloseLeft), twipsToPixels(r.editCloseTop));
        EditClose->raise();
    }
    if (r.hideEditPanel) {
        EditPanel->hide();
        around.viewMenu.setEditViewChecked(false);
        return;
    }
    MetaPanel->setGeometry(twipsToPixels(r.meta.left), twipsToPixels(r.meta.top),
                           std::max(0, twipsToPixels(r.meta.width)), std::max(0, twipsToPixels(r.meta.height)));
    contentColumnTwips_ = r.contentColumnWidth;
    fitContentColumn();
}

// The Content column takes what the other columns leave (never more than the panel shows,
// so no needless scroll bar, also once lines added show the vertical one), but never vanishes.
void RecordPane::fitContentColumn() {
    const int frameWidth = 2 * MetaPanel->frameWidth();
    const int scrollBar = MetaPanel->verticalScrollBar()->isVisible() ? MetaPanel->verticalScrollBar()->width() : 0;
    const double room = platform::pixelsToTwips(MetaPanel->width() - frameWidth - scrollBar) -
                        (MetaPanel->columnWidthTwips(Record::Name) + MetaPanel->columnWidthTwips(Record::Lang) +
                         MetaPanel->columnWidthTwips(Record::Scheme));
    const double least = std::max(600, MetaPanel->headerWidthTwips(Record::Content));
    MetaPanel->setColumnWidthTwips(Record::Content, int(std::max(least, std::min(contentColumnTwips_, room))));
}

void RecordPane::moveCurrentLine(int step) {
    const Record::LineId current = record->selectedLine();
    if (!current) {
        QApplication::beep();
        return;
    }
    const int index = record->positionOf(current);
    if ((step < 0 && index < 2) || (step > 0 && index >= record->count())) {
        QApplication::beep();
        return;
    }
    record->setBold(current, false);
    const Record::LineId next = record->idAt(index + step);
    record->selectOnly(next);
    record->setBold(next, true);
    MetaPanel->showLine(next);
    showCurrentLineQuietly();
}
