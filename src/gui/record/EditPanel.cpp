// The edit panel: every change in a field goes straight into the selected line of the
// metadata panel and marks the record modified.
#include "gui/record/RecordPane.h"
#include "gui/frame/WindowFrame.h"

#include "core/commands/modMTP.h"
#include "core/record/Record.h"
#include "core/domains/SchemeHosts.h"
#include "core/domains/SchemeRules.h"
#include "core/domains/modSchemas.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/Modal.h"
#include "core/catalogues/ListTree.h"
#include "platform/Twips.h"
#include "gui/record/frmdlogInput.h"
#include "gui/record/frmLongText.h"
#include "core/record/modCharEncoding.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

#include <limits>

namespace {

// A pick from a combo box's list is its click, not a change: the text the pick puts into
// the box must not run the change handler before the click handler sees it. A pick moves
// the box's current entry before its text changes; typing and programs setting the text
// leave the entry where it was.
class ListPicks : public QObject {
public:
    explicit ListPicks(QComboBox* box) : QObject(box), box_(box), index_(box->currentIndex()) {
        connect(box, &QComboBox::currentIndexChanged, this, [this](int index) { index_ = index; });
    }
    bool picking() const { return box_->currentIndex() != index_; }

private:
    QComboBox* box_;
    int index_;
};

const QString kReason = QStringLiteral("before editing a record");

QComboBox* combo(QWidget* parent, const QString& name, bool editable = true) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(editable);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

// Routes clicks, keys and focus loss of the panel's fields to the window's handlers.
class RecordPane::EditPanelEvents : public QObject {
public:
    explicit EditPanelEvents(RecordPane* pane) : QObject(pane), form_(pane) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A command selected another line while the panel showed one: the user's hand on the
        // panel meets the selected line's values, never the other line's.
        if ((event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress ||
             event->type() == QEvent::KeyPress) &&
            form_->panelIsBehind())
            form_->showCurrentLineQuietly();
        if (watched == form_->editNrmlName && event->type() == QEvent::MouseButtonRelease) {
            if (form_->editNrmlName->isEnabled()) form_->editNrmlName_Click();
            return true;
        }
        // Dropped data goes to the content box's drop handling, never pasted in as text: a
        // term link runs, an address opens.
        if ((watched == form_->editNrmlContent || watched == form_->EditPanel) &&
            (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)) {
            static_cast<QDropEvent*>(event)->acceptProposedAction();
            return true;
        }
        if ((watched == form_->editNrmlContent || watched == form_->EditPanel) && event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            drop->acceptProposedAction();
            const QString text = drop->mimeData() ? drop->mimeData()->text() : QString();
            if (watched == form_->editNrmlContent) {
                if (!text.isEmpty()) form_->frame.LoadDragDrop(text);
            } else if (const ListTree::NodeId node = form_->context.listTrees[size_t(form_->context.treeIndex)].selected();
                       node && form_->context.listTrees[size_t(form_->context.treeIndex)].text(node) == text) {
                // The frame takes only the hierarchy pane's selected node.
                form_->frame.LoadDragDrop(text);
            }
            return true;
        }
        if (watched == form_->editNrmlContent) {
            if (event->type() == QEvent::MouseButtonRelease) form_->editNrmlContent_Click();
            if (event->type() == QEvent::KeyPress) {
                auto* key = static_cast<QKeyEvent*>(event);
                if (form_->editNrmlContent_KeyDown(platform::keyCodeOf(key->key(), key->modifiers()))) return true;
            }
            if (event->type() == QEvent::KeyRelease) {
                const int code = platform::keyCodeOf(static_cast<QKeyEvent*>(event)->key());
                if (code == platform::kKeyUp || code == platform::kKeyDown) {
                    form_->showCurrentLineQuietly();
                }
            }
        }
        if (event->type() == QEvent::FocusOut && form_->editNrmlScheme->isAncestorOf(qobject_cast<QWidget*>(watched)))
            form_->editNrmlScheme_Validate();
        // The combo box has the focus and hands keys to its line edit: Enter counts at either.
        if ((watched == form_->editDateyear || watched == form_->editDateyear->lineEdit()) &&
            event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return) {
            form_->editNrmlContent_KeyDown(platform::kKeyReturn);
            return true;
        }
        return false;
    }

private:
    RecordPane* form_;
};


void RecordPane::buildEditPanel() {
    EditPanel = new QGroupBox(QStringLiteral("Edit is Active"), frame.clientArea());
    EditPanel->setObjectName(QStringLiteral("EditPanel"));
    EditPanel->hide();

    editLabel1 = label(EditPanel, QStringLiteral("editLabel1"), QStringLiteral("Name:"));
    editNrmlName = new QLineEdit(EditPanel);
    editNrmlName->setObjectName(QStringLiteral("editNrmlName"));
    editNrmlName->setReadOnly(true);
    editNrmlName->setToolTip(QStringLiteral("Click to rename the element"));
    editLabel3 = label(EditPanel, QStringLiteral("editLabel3"), QStringLiteral("Scheme:"));
    editNrmlScheme = combo(EditPanel, QStringLiteral("editNrmlScheme"));
    EditLabel4 = label(EditPanel, QStringLiteral("EditLabel4"), QStringLiteral("Lang:"));
    editNrmlLang = combo(EditPanel, QStringLiteral("editNrmlLang"));
    editNrmlLang->setMinimumContentsLength(4);
    editLabel2 = label(EditPanel, QStringLiteral("editLabel2"), QStringLiteral("Content:"));
    editNrmlContent = new QLineEdit(EditPanel);
    editNrmlContent->setObjectName(QStringLiteral("editNrmlContent"));
    // A line's values go into these boxes and back: none may cut them at its default 32,767
    // characters.
    for (QLineEdit* box : {editNrmlName, editNrmlContent, editNrmlScheme->lineEdit(), editNrmlLang->lineEdit()})
        if (box) box->setMaxLength(std::numeric_limits<int>::max());
    EditList = combo(EditPanel, QStringLiteral("EditList"));
    EditList->hide();
    EditdateDLabel = label(EditPanel, QStringLiteral("EditdateDLabel"), QStringLiteral("Day:"));
    editDateday = combo(EditPanel, QStringLiteral("editDateday"));
    editdateMLabel = label(EditPanel, QStringLiteral("editdateMLabel"), QStringLiteral("Month:"));
    editDateMonth = combo(EditPanel, QStringLiteral("editDateMonth"));
    EditDateYLabel = label(EditPanel, QStringLiteral("EditDateYLabel"), QStringLiteral("Year:"));
    editDateyear = combo(EditPanel, QStringLiteral("editDateyear"));
    for (int d = 1; d <= 31; ++d) editDateday->addItem(QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0')));
    for (int m = 1; m <= 12; ++m) editDateMonth->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));
    for (int y = 1990; y <= 2011; ++y) editDateyear->addItem(QString::number(y));
    // Any year may be typed; the list only offers the common ones.
    for (QComboBox* box : {editDateday, editDateMonth, editDateyear}) box->setCurrentIndex(-1);

    editAddURL = button(EditPanel, QStringLiteral("editAddURL"), QStringLiteral("Add current URI"));
    editAddTitle = button(EditPanel, QStringLiteral("editAddTitle"), QStringLiteral("Use <title>"));
    editOpenURI = button(EditPanel, QStringLiteral("editOpenURI"), QStringLiteral("Open URI"));
    EditLoadScheme = button(EditPanel, QStringLiteral("EditLoadScheme"), QStringLiteral("Load Scheme"));
    EditClose = button(EditPanel, QStringLiteral("EditClose"), QString());
    EditClose->setIcon(EditClose->style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    EditClose->setFlat(true);
    EditClose->setToolTip(QStringLiteral("Close the edit panel"));
    EditClose->setFixedSize(18, 18);

    // Content box, value list and date boxes share one place.
    auto* dates = new QWidget(EditPanel);
    dates->setObjectName(QStringLiteral("editDates"));
    editDateBoxes = dates;
    auto* dateRow = new QHBoxLayout(dates);
    dateRow->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{EditDateYLabel, editDateyear, editdateMLabel, editDateMonth,
                                                      EditdateDLabel, editDateday})
        dateRow->addWidget(w);
    dateRow->addStretch();
    auto* contentPlace = new QHBoxLayout;
    contentPlace->addWidget(editNrmlContent, 1);
    contentPlace->addWidget(EditList, 1);
    contentPlace->addWidget(dates, 1);

    auto* grid = new QGridLayout(EditPanel);
    grid->setContentsMargins(6, 4, 24, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->addWidget(editLabel1, 0, 0);
    grid->addWidget(editNrmlName, 0, 1);
    grid->addWidget(editLabel3, 0, 2);
    grid->addWidget(editNrmlScheme, 0, 3);
    grid->addWidget(EditLabel4, 0, 4);
    grid->addWidget(editNrmlLang, 0, 5);
    grid->addWidget(EditLoadScheme, 0, 6);
    grid->addWidget(editLabel2, 1, 0);
    grid->addLayout(contentPlace, 1, 1, 1, 5);
    grid->addWidget(editAddURL, 1, 6);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(editAddTitle);
    buttons->addWidget(editOpenURI);
    grid->addLayout(buttons, 2, 1, 1, 5);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    grid->setRowStretch(3, 1);
    dates->hide();
    EditLoadScheme->hide();

    connect(editNrmlContent, &QLineEdit::textChanged, this, [this] { editNrmlContent_Change(); });
    QHash<QComboBox*, ListPicks*> picks;
    for (QComboBox* box : {EditList, editNrmlLang, editNrmlScheme, editDateday, editDateMonth, editDateyear})
        picks.insert(box, new ListPicks(box));
    const auto picking = [picks](QComboBox* box) { return picks.value(box)->picking(); };
    connect(EditList, &QComboBox::editTextChanged, this, [this] { EditList_Change(); });
    connect(EditList, &QComboBox::activated, this, [this] {
        if (EditList->isVisible()) EditList_Change();
    });
    connect(editNrmlLang, &QComboBox::editTextChanged, this, [this, picking] {
        if (!picking(editNrmlLang)) editNrmlLang_Change();
    });
    connect(editNrmlLang, &QComboBox::activated, this, [this] { editNrmlLang_Click(); });
    connect(editNrmlName, &QLineEdit::textChanged, this, [this] {
        if (!fillingEditPanel && !fillingRecord_) {
            markHTMLmodifiedCheckList(kReason);
            mnuMaintMeta(kCancelEditing)->setEnabled(true);
        }
    });
    connect(editNrmlScheme, &QComboBox::editTextChanged, this, [this, picking] {
        if (!picking(editNrmlScheme)) editNrmlScheme_Change();
    });
    connect(editNrmlScheme, &QComboBox::activated, this, [this] { editNrmlScheme_Click(); });
    for (QComboBox* box : {editDateday, editDateMonth, editDateyear}) {
        connect(box, &QComboBox::editTextChanged, this, [this, box, picking] {
            if (!fillingEditPanel && !picking(box)) EditDateChange();
        });
        connect(box, &QComboBox::activated, this, [this] { EditDateChange(); });
    }
    connect(editAddURL, &QPushButton::clicked, this, [this] { editAddURL_Click(); });
    connect(editAddTitle, &QPushButton::clicked, this, [this] { editAddTitle_Click(); });
    connect(editOpenURI, &QPushButton::clicked, this, [this] { editOpenURI_Click(); });
    connect(EditLoadScheme, &QPushButton::clicked, this, [this] { EditLoadScheme_Click(); });
    connect(EditClose, &QPushButton::clicked, this, [this] { EditPanelOff(); });

    auto* events = new EditPanelEvents(this);
    editPanelEvents_ = events;
    for (QWidget* field : EditPanel->findChildren<QWidget*>()) field->installEventFilter(events);
    editNrmlName->installEventFilter(events);
    editNrmlContent->installEventFilter(events);
    EditPanel->installEventFilter(events);
    EditPanel->setAcceptDrops(true);
    editNrmlScheme->lineEdit()->installEventFilter(events);
    editDateyear->lineEdit()->installEventFilter(events);
    editDateyear->installEventFilter(events);
    EditPanel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(EditPanel, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mnuMaintMeta1->popup(EditPanel->mapToGlobal(at)); });
    ActivateEditPanel(false);
}

void RecordPane::EditPanelOn() {
    frame.enableSave();
    documentState->setSaveCaption(QStringLiteral("&Save Record"));
    EditPanel->show();
    frame.setEditViewChecked(true);
    frame.relayout();
}

void RecordPane::EditPanelOff() {
    const bool wasVisible = !EditPanel->isHidden();
    EditPanel->hide();
    frame.setEditViewChecked(false);
    double x = frame.splitterX();
    double y = frame.splitterY() + (wasVisible ? Layout::kEditPanelHeight : 0);
    frame.SizeControls(x, y);
}

Record::LineId RecordPane::panelLine() const {
    const Record::LineId line = record->selectedLine();
    return line == shownLine_ ? line : 0;
}

bool RecordPane::panelIsBehind() const {
    return !fillingEditPanel && !fillingRecord_ && !EditPanel->isHidden() && record->selectedLine() &&
           record->selectedLine() != shownLine_;
}

void RecordPane::ActivateEditPanel(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{editDateday, editDateMonth, editDateyear, editNrmlContent,
                                                      editNrmlName, editNrmlScheme, EditList})
        w->setEnabled(on);
}

// ---- field handlers ----------------------------------------------------------------

void RecordPane::editNrmlContent_Change() {
    const Record::LineId line = panelLine();
    if (fillingEditPanel || !line) return;
    const QString typed = editNrmlContent->text();
    if (fillingRecord_) return;
    // A named line keeps its content encoded; a link row takes the text as typed.
    const QString stored = record->cell(line, Record::Name).isEmpty()
                               ? typed
                               : modCharEncoding::encodeContent(typed, context.preferences.charEncoding);
    if (stored == record->cell(line, Record::Content)) return;
    record->set(line, Record::Content, stored);
    markHTMLmodifiedCheckList(kReason);
}

void RecordPane::EditList_Change() {
    const Record::LineId line = panelLine();
    if (fillingEditPanel || !line) return;
    const QString text = EditList->currentText();
    if (text == record->cell(line, Record::Content)) return;
    record->set(line, Record::Content, text == QLatin1String("None") ? QString() : text);
    if (!fillingRecord_) markHTMLmodifiedCheckList(kReason);
    mnuMaintMeta(kCancelEditing)->setEnabled(true);
}

// The language is written only when the user changes it, so selecting another line never
// wipes a line's language.
void RecordPane::editNrmlLang_Change() {
    const Record::LineId line = panelLine();
    if (fillingEditPanel || fillingRecord_ || !line) return;
    record->set(line, Record::Lang, editNrmlLang->currentText());
    markHTMLmodifiedCheckList(kReason);
    mnuMaintMeta(kCancelEditing)->setEnabled(true);
}

void RecordPane::editNrmlLang_Click() {
    const Record::LineId line = panelLine();
    if (fillingEditPanel || fillingRecord_ || !line) return;
    record->set(line, Record::Lang, editNrmlLang->currentText());
}

void RecordPane::editNrmlName_Click() {
    const Record::LineId line = panelLine();
    if (!line) return;
    frmdlogInput& dialog = frmdlogInput::instance(window());
    dialog.proposeFieldName(QStringLiteral("Edit"), editNrmlName->text());
    frame.modalRuns().execModal(dialog);
    const QString inputText = dialog.inputText();
    if (inputText.isEmpty()) return;
    editNrmlName->setText(inputText);
    if (record->cell(line, Record::Name) != inputText) {
        record->set(line, Record::Name, inputText);
        // A renamed line is written as a name, no longer as http-equiv; its element keeps
        // its other attributes.
        record->setHttpEquiv(line, false);
    }
}

void RecordPane::editNrmlScheme_Change() {
    const Record::LineId line = panelLine();
    if (fillingEditPanel || !line) return;
    const QString text = editNrmlScheme->currentText();
    record->set(line, Record::Scheme, text == QLatin1String("None") ? QString() : text);
    langToggle(QString());
    // Showing a line is not a change: only the user's own pick touches the cancel item.
    if (fillingRecord_) return;
    markHTMLmodifiedCheckList(kReason);
    mnuMaintMeta(kCancelEditing)->setEnabled(false);
}

void RecordPane::editNrmlScheme_Click() {
    const Record::LineId line = panelLine();
    if (fillingEditPanel || !line) return;
    langToggle(QString());
    const QString text = editNrmlScheme->currentText();
    const QString scheme = text.contains(QLatin1String("None"), Qt::CaseInsensitive) ? QString() : text;
    if (scheme != record->cell(line, Record::Scheme)) {
        record->set(line, Record::Scheme, scheme);
        markHTMLmodifiedCheckList(kReason);
    }
    // A pick has usually been written by the change handler already; the field follows it all the same.
    fillContentFromScheme(record->cell(line, Record::Scheme),
                          modCharEncoding::decodeContent(record->cell(line, Record::Content), context.preferences.charEncoding));
}

void RecordPane::editNrmlScheme_Validate() {
    const Record::LineId line = panelLine();
    if (!line || fillingRecord_) return;
    const QString text = editNrmlScheme->currentText();
    record->set(line, Record::Scheme, text == QLatin1String("None") ? QString() : text);
}

void RecordPane::EditDateChange() {
    const Record::LineId line = panelLine();
    // Filling the boxes never rewrites a line's content by itself.
    if (!line || fillingRecord_) return;
    const QString value =
        SchemeRules::joinDate(editDateyear->currentText(), editDateMonth->currentText(), editDateday->currentText());
    if (value == record->cell(line, Record::Content)) return;
    record->set(line, Record::Content, value);
    markHTMLmodifiedCheckList(kReason);
    mnuMaintMeta(kCancelEditing)->setEnabled(true);
}

// ---- buttons -------------------------------------------------------------------------

void RecordPane::editAddURL_Click() {
    editNrmlContent->setText(frame.browserLocationURL());
    editNrmlScheme->setEditText(QStringLiteral("URI"));
}

void RecordPane::editAddTitle_Click() {
    editNrmlContent->setText(frame.browserLocationName());
}

void RecordPane::editOpenURI_Click() {
    frame.openAddress(editNrmlContent->text());
}

void RecordPane::EditLoadScheme_Click() {
    const QString& tag = EditLoadSchemeTag;
    const QString& domain = context.domain.defaultSchema;
    const QString server = context.schemeServer;
    struct GilsRow {
        const char* domain;
        QString host;
        const char* folder;
    };
    const GilsRow rows[] = {
        {"GILS-UTAH", SchemeHosts::stateHostB, "/schemes/ut/"},
        {"GILS-OREGON", server, "/schemes/GILS-OREGON/"},
        {"GILS-ARIZONA", server, "/schemes/GILS-ARIZONA/"},
    };
    for (const GilsRow& row : rows) {
        if (domain != QLatin1String(row.domain)) continue;
        if (tag.isEmpty()) return;
        documentState->setListType(QStringLiteral("schema"));
        modMTP::runMtpCommand(context, QStringLiteral("mtp://url=") + row.host + QLatin1String(row.folder) + tag);
        return;
    }
    if (domain == QLatin1String("GILS-MONTANA")) {
        if (tag.isEmpty()) return;
        documentState->setListType(QStringLiteral("schema"));
        if (tag == QLatin1String("subjects.kqs"))
            modMTP::runMtpCommand(context, QStringLiteral("mtp://url=") + SchemeHosts::stateLibraryHost + QStringLiteral("/montana/topics.kqs"));
        else
            modMTP::runMtpCommand(context, QStringLiteral("mtp://url=") + server + QStringLiteral("/schemes/GILS-MONTANA/") + tag);
        return;
    }
    if (domain == QLatin1String("NZGLS") && !tag.isEmpty()) {
        modMTP::runMtpCommand(context, QStringLiteral("mtp://url=") + server + QStringLiteral("/schemes/NZGLS/") + tag);
        return;
    }
    QString scheme = editNrmlScheme->currentText();
    loadScheme(scheme);
}

// ---- content box ---------------------------------------------------------------------

bool RecordPane::editNrmlContent_KeyDown(int keyCode) {
    const Record::LineId line = record->selectedLine();
    if (!line) return false;
    const QString scheme = editNrmlScheme->currentText().toLower();
    const int position = record->positionOf(line);
    if (keyCode == platform::kKeyUp) {
        if (position <= 1) {
            QApplication::beep();
            return false;
        }
        record->setBold(line, false);
        const Record::LineId previous = record->idAt(position - 1);
        record->selectOnly(previous);
        record->setBold(previous, true);
    } else if (keyCode == platform::kKeyReturn || keyCode == platform::kKeyDown) {
        const int next = position < record->count() ? position + 1 : 1;
        record->setBold(line, false);
        const Record::LineId item = record->idAt(next);
        record->selectOnly(item);
        record->setBold(item, true);
    } else {
        if (scheme == QLatin1String("aglsagent") || scheme == QLatin1String("actvers")) {
            editNrmlContent_Click();
            return true;
        }
        return false;
    }
    showCurrentLineQuietly();
    return keyCode == platform::kKeyReturn;
}

void RecordPane::editNrmlContent_Click() {
    if (!record->selectedLine() || !editNrmlContent->isEnabled()) return;
    const QString scheme = editNrmlScheme->currentText().toLower();
    if (scheme == QLatin1String("aglsagent")) {
        showAglsAgent();
        return;
    }
    if (scheme == QLatin1String("actvers")) {
        showACTVers();
        return;
    }
    if (editNrmlContent->text().size() <= 150) return;
    // The editor writes the line and the box itself on OK.
    frmLongText& editor = frmLongText::instance(context, *this);
    editor.setText(editNrmlContent->text());
    frame.modalRuns().execModal(editor);
}
