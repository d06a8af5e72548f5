// The edit panel's content field: the content box, or a value list or the date boxes in its
// place, and what they write into the line.
#include "gui/record/EditPanelContent.h"

#include "gui/frame/NavigationView.h"
#include "gui/frame/WindowFrame.h"
#include "gui/record/EditGuards.h"
#include "gui/record/EditPanelControls.h"
#include "gui/record/RecordEditPanel.h"
#include "gui/record/RecordNeighbours.h"
#include "gui/record/RecordSaving.h"
#include "gui/record/SchemeValues.h"
#include "core/program/ProgramContext.h"
#include "core/record/Record.h"
#include "core/record/modCharEncoding.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/Modal.h"
#include "gui/record/frmLongText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>

#include <limits>

namespace {

const QString kReason = QStringLiteral("before editing a record");

// The text shown whole, caret after it, nothing selected, the field focused.
void showText(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->deselect();
    field->setCursorPosition(int(text.size()));
    field->setFocus();
}

}  // namespace

EditPanelContent::EditPanelContent(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around,
                                   EditGuards& guards, RecordSaving& saving, RecordEditPanel& editPanel,
                                   SchemeValues& schemes, QAction& cancelEditing)
    : context(context), frame(frame), around(around), guards(guards), saving(saving), editPanel(editPanel),
      schemes(schemes), cancelEditing(cancelEditing) {}

void EditPanelContent::build(QWidget* panel, QComboBox* scheme, QGridLayout* grid) {
    schemeBox = scheme;
    grid->addWidget(editPanelLabel(panel, QStringLiteral("editLabel2"), QStringLiteral("Content:")), 1, 0);
    editNrmlContent = new QLineEdit(panel);
    editNrmlContent->setObjectName(QStringLiteral("editNrmlContent"));
    // A line's content goes into the box and back: it may not cut it at its default 32,767
    // characters.
    editNrmlContent->setMaxLength(std::numeric_limits<int>::max());
    EditList = editPanelBox(panel, QStringLiteral("EditList"));
    EditList->hide();
    QLabel* day = editPanelLabel(panel, QStringLiteral("EditdateDLabel"), QStringLiteral("Day:"));
    editDateday = editPanelBox(panel, QStringLiteral("editDateday"));
    QLabel* month = editPanelLabel(panel, QStringLiteral("editdateMLabel"), QStringLiteral("Month:"));
    editDateMonth = editPanelBox(panel, QStringLiteral("editDateMonth"));
    QLabel* year = editPanelLabel(panel, QStringLiteral("EditDateYLabel"), QStringLiteral("Year:"));
    editDateyear = editPanelBox(panel, QStringLiteral("editDateyear"));
    for (int d = 1; d <= 31; ++d) editDateday->addItem(QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0')));
    for (int m = 1; m <= 12; ++m) editDateMonth->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));
    for (int y = 1990; y <= 2011; ++y) editDateyear->addItem(QString::number(y));
    // Any year may be typed; the list only offers the common ones.
    for (QComboBox* box : {editDateday, editDateMonth, editDateyear}) box->setCurrentIndex(-1);

    // Content box, value list and date boxes share one place.
    auto* dates = new QWidget(panel);
    dates->setObjectName(QStringLiteral("editDates"));
    editDateBoxes = dates;
    auto* dateRow = new QHBoxLayout(dates);
    dateRow->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{year, editDateyear, month, editDateMonth, day, editDateday})
        dateRow->addWidget(w);
    dateRow->addStretch();
    auto* place = new QHBoxLayout;
    place->addWidget(editNrmlContent, 1);
    place->addWidget(EditList, 1);
    place->addWidget(dates, 1);
    dates->hide();
    grid->addLayout(place, 1, 1, 1, 5);

    connect(editNrmlContent, &QLineEdit::textChanged, this, [this] { contentChanged(); });
    // The value list's picks write as its changes do.
    new ListPicks(EditList);
    connect(EditList, &QComboBox::editTextChanged, this, [this] { valueListChanged(); });
    connect(EditList, &QComboBox::activated, this, [this] {
        if (EditList->isVisible()) valueListChanged();
    });
    for (QComboBox* box : {editDateday, editDateMonth, editDateyear}) {
        auto* picks = new ListPicks(box);
        connect(box, &QComboBox::editTextChanged, this, [this, picks] {
            if (!guards.fillingEditPanel && !picks->picking()) EditDateChange();
        });
        connect(box, &QComboBox::activated, this, [this] { EditDateChange(); });
    }
}

void EditPanelContent::installFilter(QObject* filter) {
    editNrmlContent->installEventFilter(filter);
    editDateyear->lineEdit()->installEventFilter(filter);
    editDateyear->installEventFilter(filter);
}

bool EditPanelContent::routeEvent(QObject* watched, QEvent* event) {
    // Dropped data goes to the content box's drop handling, never pasted in as text: a term
    // link runs, an address opens.
    if (watched == editNrmlContent && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)) {
        static_cast<QDropEvent*>(event)->acceptProposedAction();
        return true;
    }
    if (watched == editNrmlContent && event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        drop->acceptProposedAction();
        const QString text = drop->mimeData() ? drop->mimeData()->text() : QString();
        if (!text.isEmpty()) around.navigationView.LoadDragDrop(text);
        return true;
    }
    if (watched == editNrmlContent) {
        if (event->type() == QEvent::MouseButtonRelease) editNrmlContent_Click();
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (contentKeyDown(platform::keyCodeOf(key->key(), key->modifiers()))) return true;
        }
        if (event->type() == QEvent::KeyRelease) {
            const int code = platform::keyCodeOf(static_cast<QKeyEvent*>(event)->key());
            if (code == platform::kKeyUp || code == platform::kKeyDown) editPanel.showCurrentLineQuietly();
        }
    }
    // The combo box has the focus and hands keys to its line edit: Enter counts at either.
    if ((watched == editDateyear || watched == editDateyear->lineEdit()) && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return) {
        contentKeyDown(platform::kKeyReturn);
        return true;
    }
    return false;
}

// ---- text from elsewhere -------------------------------------------------------------

void EditPanelContent::showInContentBox(const QString& text) {
    const bool filling = guards.fillingEditPanel;
    guards.fillingEditPanel = true;
    editNrmlContent->setText(text);
    guards.fillingEditPanel = filling;
}

void EditPanelContent::typeIntoContentBox(const QString& text) {
    const QString content = editNrmlContent->text();
    const int start =
        editNrmlContent->hasSelectedText() ? editNrmlContent->selectionStart() : editNrmlContent->cursorPosition();
    const int length = int(editNrmlContent->selectedText().size());
    editNrmlContent->setText(content.left(start) + text + content.mid(start + length));
}

QLineEdit* EditPanelContent::shownContentBox() const {
    // The box is the edit panel's, hidden with it.
    return editNrmlContent->parentWidget()->isHidden() || editNrmlContent->isHidden() ? nullptr : editNrmlContent;
}

void EditPanelContent::setBoxesEnabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{editDateday, editDateMonth, editDateyear, editNrmlContent})
        w->setEnabled(on);
}

void EditPanelContent::setValueListEnabled(bool on) {
    EditList->setEnabled(on);
}

void EditPanelContent::selectAll() {
    editNrmlContent->selectAll();
}

void EditPanelContent::moveCaretToEnd() {
    editNrmlContent->setCursorPosition(int(editNrmlContent->text().size()));
}

void EditPanelContent::selectProposal() {
    if (editNrmlContent->isHidden()) return;
    const QString proposal = editNrmlContent->text();
    if (proposal.endsWith(QLatin1Char('/'))) return;
    guards.fillingRecord = true;
    editNrmlContent->selectAll();
    guards.fillingRecord = false;
}

QString EditPanelContent::text() const {
    return editNrmlContent->text();
}

void EditPanelContent::setText(const QString& content) {
    editNrmlContent->setText(content);
}

// ---- what shows in the field's place ---------------------------------------------------

// The content box is hidden only where something else takes its place: hiding it while it
// has the focus sends the focus round the panel, for every line a batch adds.
void EditPanelContent::hideAlternatives() {
    EditList->hide();
    editDateBoxes->hide();
}

void EditPanelContent::showBuiltInList(const QStringList& items, const QString& shown) {
    editNrmlContent->hide();
    EditList->show();
    EditList->clear();
    EditList->setEditText(shown);
    for (const QString& item : items) EditList->addItem(item);
    EditList->setEditText(shown);
    EditList->lineEdit()->selectAll();
}

void EditPanelContent::showContentBox() {
    editDateBoxes->hide();
    editNrmlContent->show();
}

void EditPanelContent::showValueList(const QStringList& items, const QString& content) {
    EditList->show();
    editNrmlContent->hide();
    EditList->clear();
    EditList->addItems(items);
    // Adding the first entry would replace the text; the line's own value is what shows.
    EditList->setEditText(content);
    showText(EditList->lineEdit(), content);
}

void EditPanelContent::showDateEditor(const SchemeRules::DateParts& date) {
    editNrmlContent->hide();
    editDateBoxes->show();
    editDateyear->setEditText(date.year);
    editDateMonth->setEditText(date.month);
    editDateday->setEditText(date.day);
    showText(editDateyear->lineEdit(), date.year);
}

void EditPanelContent::showPlainText(const QString& content) {
    const ShowingOnly showing(guards);
    editNrmlContent->show();
    showText(editNrmlContent, content);
}

// ---- field handlers ----------------------------------------------------------------

void EditPanelContent::contentChanged() {
    Record& record = context.record;
    const Record::LineId line = guards.panelLine(record);
    if (guards.fillingEditPanel || !line) return;
    const QString typed = editNrmlContent->text();
    if (guards.fillingRecord) return;
    // A named line keeps its content encoded; a link row takes the text as typed.
    const QString stored = record.cell(line, Record::Name).isEmpty()
                               ? typed
                               : modCharEncoding::encodeContent(typed, context.preferences.charEncoding);
    if (stored == record.cell(line, Record::Content)) return;
    record.set(line, Record::Content, stored);
    saving.markHTMLmodifiedCheckList(kReason);
}

void EditPanelContent::valueListChanged() {
    Record& record = context.record;
    const Record::LineId line = guards.panelLine(record);
    if (guards.fillingEditPanel || !line) return;
    const QString text = EditList->currentText();
    if (text == record.cell(line, Record::Content)) return;
    record.set(line, Record::Content, text == QLatin1String("None") ? QString() : text);
    if (!guards.fillingRecord) saving.markHTMLmodifiedCheckList(kReason);
    cancelEditing.setEnabled(true);
}

void EditPanelContent::EditDateChange() {
    Record& record = context.record;
    const Record::LineId line = guards.panelLine(record);
    // Filling the boxes never rewrites a line's content by itself.
    if (!line || guards.fillingRecord) return;
    const QString value =
        SchemeRules::joinDate(editDateyear->currentText(), editDateMonth->currentText(), editDateday->currentText());
    if (value == record.cell(line, Record::Content)) return;
    record.set(line, Record::Content, value);
    saving.markHTMLmodifiedCheckList(kReason);
    cancelEditing.setEnabled(true);
}

bool EditPanelContent::contentKeyDown(int keyCode) {
    Record& record = context.record;
    const Record::LineId line = record.selectedLine();
    if (!line) return false;
    const QString scheme = schemeBox->currentText().toLower();
    const int position = record.positionOf(line);
    if (keyCode == platform::kKeyUp) {
        if (position <= 1) {
            QApplication::beep();
            return false;
        }
        record.setBold(line, false);
        const Record::LineId previous = record.idAt(position - 1);
        record.selectOnly(previous);
        record.setBold(previous, true);
    } else if (keyCode == platform::kKeyReturn || keyCode == platform::kKeyDown) {
        const int next = position < record.count() ? position + 1 : 1;
        record.setBold(line, false);
        const Record::LineId item = record.idAt(next);
        record.selectOnly(item);
        record.setBold(item, true);
    } else {
        if (scheme == QLatin1String("aglsagent") || scheme == QLatin1String("actvers")) {
            editNrmlContent_Click();
            return true;
        }
        return false;
    }
    editPanel.showCurrentLineQuietly();
    return keyCode == platform::kKeyReturn;
}

void EditPanelContent::editNrmlContent_Click() {
    if (!context.record.selectedLine() || !editNrmlContent->isEnabled()) return;
    const QString scheme = schemeBox->currentText().toLower();
    if (scheme == QLatin1String("aglsagent")) {
        schemes.showAglsAgent();
        return;
    }
    if (scheme == QLatin1String("actvers")) {
        schemes.showACTVers();
        return;
    }
    if (editNrmlContent->text().size() <= 150) return;
    // The editor writes the line and the box itself on OK.
    frmLongText& editor = frmLongText::instance(context, saving, *this, frame.clientArea()->window());
    editor.setText(editNrmlContent->text());
    frame.modalRuns().execModal(editor);
}
