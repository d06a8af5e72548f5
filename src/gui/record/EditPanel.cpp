// The edit panel: every change in a field goes straight into the selected line of the
// metadata panel and marks the record modified.
#include "gui/record/RecordEditPanel.h"

#include "gui/frame/DocumentMenu.h"
#include "gui/frame/NavigationView.h"
#include "gui/frame/PaneLayout.h"
#include "gui/frame/RecordView.h"
#include "gui/frame/ViewMarks.h"
#include "gui/frame/WindowFrame.h"
#include "gui/record/EditPanelContent.h"
#include "gui/record/EditGuards.h"
#include "gui/record/EditPanelControls.h"
#include "gui/record/RecordNeighbours.h"
#include "gui/record/RecordSaving.h"
#include "gui/record/SchemeValues.h"
#include "core/catalogues/ListTree.h"
#include "core/program/ProgramContext.h"
#include "core/record/Record.h"
#include "core/record/modCharEncoding.h"
#include "platform/widgets/Modal.h"
#include "platform/Twips.h"
#include "gui/record/frmdlogInput.h"

#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>

#include <limits>

namespace {

const QString kReason = QStringLiteral("before editing a record");

}  // namespace

// Routes clicks, keys, focus loss and drops of the panel's fields to their handlers.
class RecordEditPanel::Events : public QObject {
public:
    explicit Events(RecordEditPanel* panel) : QObject(panel), panel_(panel) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        RecordEditPanel& p = *panel_;
        // A command selected another line while the panel showed one: the user's hand on the
        // panel meets the selected line's values, never the other line's.
        if ((event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress ||
             event->type() == QEvent::KeyPress) &&
            panelIsBehind())
            p.showCurrentLineQuietly();
        if (watched == p.editNrmlName && event->type() == QEvent::MouseButtonRelease) {
            if (p.editNrmlName->isEnabled()) p.editNrmlName_Click();
            return true;
        }
        // Dropped data is never pasted in as text: the hierarchy pane's selected node runs.
        if (watched == p.EditPanel && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)) {
            static_cast<QDropEvent*>(event)->acceptProposedAction();
            return true;
        }
        if (watched == p.EditPanel && event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            drop->acceptProposedAction();
            const QString text = drop->mimeData() ? drop->mimeData()->text() : QString();
            const ListTree& tree = p.context.listTrees[size_t(p.context.treeIndex)];
            // The frame takes only the hierarchy pane's selected node.
            if (const ListTree::NodeId node = tree.selected(); node && tree.text(node) == text)
                p.around.navigationView.LoadDragDrop(text);
            return true;
        }
        if (event->type() == QEvent::FocusOut && p.editNrmlScheme->isAncestorOf(qobject_cast<QWidget*>(watched)))
            p.keepTypedScheme();
        return p.content.routeEvent(watched, event);
    }

private:
    bool panelIsBehind() const {
        const EditGuards& guards = panel_->guards;
        const Record::LineId selected = panel_->context.record.selectedLine();
        return !guards.fillingEditPanel && !guards.fillingRecord && panel_->editPanelShown() && selected &&
               selected != guards.shownLine;
    }

    RecordEditPanel* panel_;
};

RecordEditPanel::RecordEditPanel(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around,
                                 EditGuards& guards, RecordSaving& saving, EditPanelContent& content,
                                 SchemeValues& schemes, RecordView& view, QMenu& contextMenu, QAction& cancelEditing)
    : context(context), frame(frame), around(around), guards(guards), saving(saving), content(content),
      schemes(schemes), view(view), contextMenu(contextMenu), cancelEditing(cancelEditing) {
    EditPanel = new QGroupBox(QStringLiteral("Edit is Active"), frame.clientArea());
    EditPanel->setObjectName(QStringLiteral("EditPanel"));
    EditPanel->hide();

    QLabel* editLabel1 = editPanelLabel(EditPanel, QStringLiteral("editLabel1"), QStringLiteral("Name:"));
    editNrmlName = new QLineEdit(EditPanel);
    editNrmlName->setObjectName(QStringLiteral("editNrmlName"));
    editNrmlName->setReadOnly(true);
    editNrmlName->setToolTip(QStringLiteral("Click to rename the element"));
    QLabel* editLabel3 = editPanelLabel(EditPanel, QStringLiteral("editLabel3"), QStringLiteral("Scheme:"));
    editNrmlScheme = editPanelBox(EditPanel, QStringLiteral("editNrmlScheme"));
    EditLabel4 = editPanelLabel(EditPanel, QStringLiteral("EditLabel4"), QStringLiteral("Lang:"));
    editNrmlLang = editPanelBox(EditPanel, QStringLiteral("editNrmlLang"));
    editNrmlLang->setMinimumContentsLength(4);
    auto* grid = new QGridLayout(EditPanel);
    content.build(EditPanel, editNrmlScheme, grid);
    schemes.build(EditPanel, editNrmlScheme);
    EditClose = editPanelButton(EditPanel, QStringLiteral("EditClose"), QString());
    EditClose->setIcon(EditClose->style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    EditClose->setFlat(true);
    EditClose->setToolTip(QStringLiteral("Close the edit panel"));
    EditClose->setFixedSize(18, 18);
    // A line's values go into these boxes and back: none may cut them at its default 32,767
    // characters.
    for (QLineEdit* box : {editNrmlName, editNrmlScheme->lineEdit(), editNrmlLang->lineEdit()})
        if (box) box->setMaxLength(std::numeric_limits<int>::max());

    grid->setContentsMargins(6, 4, 24, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->addWidget(editLabel1, 0, 0);
    grid->addWidget(editNrmlName, 0, 1);
    grid->addWidget(editLabel3, 0, 2);
    grid->addWidget(editNrmlScheme, 0, 3);
    grid->addWidget(EditLabel4, 0, 4);
    grid->addWidget(editNrmlLang, 0, 5);
    schemes.placeIn(grid);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    grid->setRowStretch(3, 1);

    auto* langPicks = new ListPicks(editNrmlLang);
    auto* schemePicks = new ListPicks(editNrmlScheme);
    connect(editNrmlLang, &QComboBox::editTextChanged, this, [this, langPicks] {
        if (!langPicks->picking()) langChanged();
    });
    connect(editNrmlLang, &QComboBox::activated, this, [this] { editNrmlLang_Click(); });
    connect(editNrmlName, &QLineEdit::textChanged, this, [this] {
        if (!this->guards.fillingEditPanel && !this->guards.fillingRecord) {
            this->saving.markHTMLmodifiedCheckList(kReason);
            this->cancelEditing.setEnabled(true);
        }
    });
    connect(editNrmlScheme, &QComboBox::editTextChanged, this, [this, schemePicks] {
        if (!schemePicks->picking()) schemeChanged();
    });
    connect(editNrmlScheme, &QComboBox::activated, this, [this] { editNrmlScheme_Click(); });
    connect(EditClose, &QPushButton::clicked, this, [this] { EditPanelOff(); });

    auto* events = new Events(this);
    for (QWidget* field : EditPanel->findChildren<QWidget*>()) field->installEventFilter(events);
    editNrmlName->installEventFilter(events);
    EditPanel->installEventFilter(events);
    EditPanel->setAcceptDrops(true);
    editNrmlScheme->lineEdit()->installEventFilter(events);
    content.installFilter(events);
    EditPanel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(EditPanel, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { this->contextMenu.popup(EditPanel->mapToGlobal(at)); });
    ActivateEditPanel(false);
}

void RecordEditPanel::EditPanelOn() {
    around.fileMenu.enableSave();
    context.document.setSaveCaption(QStringLiteral("&Save Record"));
    EditPanel->show();
    around.viewMenu.setEditViewChecked(true);
    frame.relayout();
}

void RecordEditPanel::EditPanelOff() {
    const bool wasVisible = !EditPanel->isHidden();
    EditPanel->hide();
    around.viewMenu.setEditViewChecked(false);
    double x = frame.splitterX();
    double y = frame.splitterY() + (wasVisible ? Layout::kEditPanelHeight : 0);
    frame.SizeControls(x, y);
}

bool RecordEditPanel::editPanelShown() const {
    return !EditPanel->isHidden();
}

void RecordEditPanel::setEditPanelVisible(bool on) {
    EditPanel->setVisible(on);
}

int RecordEditPanel::editPanelHeight() const {
    return EditPanel->height();
}

bool RecordEditPanel::editPanelHolds(const QWidget* widget) const {
    return EditPanel->isAncestorOf(widget);
}

void RecordEditPanel::hold(bool on) {
    EditPanel->setUpdatesEnabled(!on);
}

bool RecordEditPanel::place(const Layout::Result& r) {
    if (!EditPanel->isHidden()) {
        EditPanel->setGeometry(pixelRect(r.edit));
        EditClose->move(platform::twipsToPixels(r.editCloseLeft), platform::twipsToPixels(r.editCloseTop));
        EditClose->raise();
    }
    if (!r.hideEditPanel) return true;
    EditPanel->hide();
    around.viewMenu.setEditViewChecked(false);
    return false;
}

void RecordEditPanel::ActivateEditPanel(bool on) {
    content.setBoxesEnabled(on);
    editNrmlName->setEnabled(on);
    editNrmlScheme->setEnabled(on);
    content.setValueListEnabled(on);
}

void RecordEditPanel::showCurrentLineQuietly() {
    guards.fillingEditPanel = true;
    editCurrentLine();
    guards.fillingEditPanel = false;
}

// ---- field handlers ----------------------------------------------------------------

// The language is written only when the user changes it, so selecting another line never
// wipes a line's language.
void RecordEditPanel::langChanged() {
    const Record::LineId line = guards.panelLine(context.record);
    if (guards.fillingEditPanel || guards.fillingRecord || !line) return;
    context.record.set(line, Record::Lang, editNrmlLang->currentText());
    saving.markHTMLmodifiedCheckList(kReason);
    cancelEditing.setEnabled(true);
}

void RecordEditPanel::editNrmlLang_Click() {
    const Record::LineId line = guards.panelLine(context.record);
    if (guards.fillingEditPanel || guards.fillingRecord || !line) return;
    context.record.set(line, Record::Lang, editNrmlLang->currentText());
}

void RecordEditPanel::editNrmlName_Click() {
    Record& record = context.record;
    const Record::LineId line = guards.panelLine(record);
    if (!line) return;
    frmdlogInput& dialog = frmdlogInput::instance(frame.clientArea()->window());
    dialog.proposeFieldName(QStringLiteral("Edit"), editNrmlName->text());
    frame.modalRuns().execModal(dialog);
    const QString inputText = dialog.inputText();
    if (inputText.isEmpty()) return;
    editNrmlName->setText(inputText);
    if (record.cell(line, Record::Name) != inputText) {
        record.set(line, Record::Name, inputText);
        // A renamed line is written as a name, no longer as http-equiv; its element keeps
        // its other attributes.
        record.setHttpEquiv(line, false);
    }
}

void RecordEditPanel::schemeChanged() {
    const Record::LineId line = guards.panelLine(context.record);
    if (guards.fillingEditPanel || !line) return;
    const QString text = editNrmlScheme->currentText();
    context.record.set(line, Record::Scheme, text == QLatin1String("None") ? QString() : text);
    langToggle(QString());
    // Showing a line is not a change: only the user's own pick touches the cancel item.
    if (guards.fillingRecord) return;
    saving.markHTMLmodifiedCheckList(kReason);
    cancelEditing.setEnabled(false);
}

void RecordEditPanel::editNrmlScheme_Click() {
    Record& record = context.record;
    const Record::LineId line = guards.panelLine(record);
    if (guards.fillingEditPanel || !line) return;
    langToggle(QString());
    const QString text = editNrmlScheme->currentText();
    const QString scheme = text.contains(QLatin1String("None"), Qt::CaseInsensitive) ? QString() : text;
    if (scheme != record.cell(line, Record::Scheme)) {
        record.set(line, Record::Scheme, scheme);
        saving.markHTMLmodifiedCheckList(kReason);
    }
    // A pick has usually been written by the change handler already; the field follows it all the same.
    schemes.fillContentFromScheme(record.cell(line, Record::Scheme),
                                  modCharEncoding::decodeContent(record.cell(line, Record::Content),
                                                                 context.preferences.charEncoding));
}

void RecordEditPanel::keepTypedScheme() {
    const Record::LineId line = guards.panelLine(context.record);
    if (!line || guards.fillingRecord) return;
    const QString text = editNrmlScheme->currentText();
    context.record.set(line, Record::Scheme, text == QLatin1String("None") ? QString() : text);
}
