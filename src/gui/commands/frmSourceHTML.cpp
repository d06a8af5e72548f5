#include "gui/commands/frmSourceHTML.h"

#include "core/program/CRegSettings.h"
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "gui/commands/MacroEditorLists.h"
#include "core/program/ProgramContext.h"
#include "platform/widgets/DesignedSize.h"
#include "platform/widgets/Modal.h"
#include "platform/MsgBox.h"
#include "platform/OwnedDialog.h"
#include "platform/TextCodec.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

using modMacros::kFunctionKeys;
using modMacros::kMacroSection;

namespace {

constexpr int kStandardHeight = 4080;
constexpr int kAdvancedHeight = 6780;
constexpr int kWidth = 6360;
// The window's height in twips counts its title bar; the client area is this much lower.
constexpr int kTitleBar = 360;
const QString kAdvanced = QStringLiteral("Advanced >>");
// What an empty command is stored as.
const QString kNoCommand = QStringLiteral("<none>");

QLabel* label(QWidget* parent, const char* text, QWidget* buddy) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setBuddy(buddy);
    return l;
}

QPushButton* pictureButton(QWidget* parent, const char* name, QStyle::StandardPixmap picture) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(parent->style()->standardIcon(picture));
    button->setToolTip(QString::fromLatin1(name).mid(3));
    return button;
}

}  // namespace

frmSourceHTML::frmSourceHTML() {
    setObjectName(QStringLiteral("frmSourceHTML"));
    setWindowTitle(QStringLiteral("Macro Control Panel"));
    setModal(false);

    Label1 = new QLabel(this);
    Label1->setWordWrap(true);
    Label1->setText(QStringLiteral(
        "Double click any of the macros below to assign to an F-Key. To automate a repeated action go back to "
        "Quorvantile, perform the action then come back. The macro will be at the top of the log."));
    cboFuncKey = new QComboBox(this);
    cmdNew = pictureButton(this, "cmdNew", QStyle::SP_FileIcon);
    cmdSave = pictureButton(this, "cmdSave", QStyle::SP_DialogSaveButton);
    cmdDelete = pictureButton(this, "cmdDelete", QStyle::SP_TrashIcon);
    txtShortName = new QLineEdit(this);
    txtCommand = new QPlainTextEdit(this);
    txtCommand->setTabChangesFocus(true);
    // An empty command shows as "<none>", which the user's typing replaces.
    txtCommand->setPlaceholderText(kNoCommand);
    txtCommand->setFixedHeight(txtCommand->fontMetrics().lineSpacing() * 3 + 2 * txtCommand->frameWidth());
    lstMacros = new QListWidget(this);
    lstMacros->setToolTip(QStringLiteral("Hit the delete key to delete a macro"));
    cmdCancel = new QPushButton(QStringLiteral("Done"), this);
    cmdShowLog = new QPushButton(kAdvanced, this);
    lstLog = new QListWidget(this);

    auto* fields = new QGridLayout;
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(cboFuncKey);
    keyRow->addSpacing(8);
    for (QPushButton* button : {cmdNew, cmdSave, cmdDelete}) keyRow->addWidget(button);
    keyRow->addStretch();
    fields->addWidget(label(this, "&Function Key :", cboFuncKey), 0, 0);
    fields->addLayout(keyRow, 0, 1);
    fields->addWidget(label(this, "Short &Name :", txtShortName), 1, 0);
    fields->addWidget(txtShortName, 1, 1);
    fields->addWidget(label(this, "&Command :", txtCommand), 2, 0, Qt::AlignTop);
    fields->addWidget(txtCommand, 2, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdShowLog);
    buttons->addStretch();
    auto* macros = new QHBoxLayout;
    macros->addWidget(lstMacros, 1);
    macros->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(fields);
    layout->addWidget(label(this, "&Defined Macros :", lstMacros));
    layout->addLayout(macros, 1);
    layout->addWidget(lstLog, 2);
    for (QListWidget** hidden : {&lstFKey, &lstName, &lstCommand}) {
        *hidden = new QListWidget(this);
        (*hidden)->hide();
    }
    const std::pair<QWidget*, const char*> names[] = {
        {lstMacros, "lstMacros"}, {lstFKey, "lstFKey"},       {lstName, "lstName"},     {lstCommand, "lstCommand"},
        {cboFuncKey, "cboFuncKey"}, {txtShortName, "txtShortName"}, {txtCommand, "txtCommand"}, {cmdCancel, "cmdCancel"},
        {cmdShowLog, "cmdShowLog"}, {lstLog, "lstLog"},       {Label1, "Label1"}};
    for (const auto& [widget, name] : names) widget->setObjectName(QString::fromLatin1(name));

    connect(lstMacros, &QListWidget::currentRowChanged, this, [this] { lstMacros_Click(); });
    connect(lstMacros, &QListWidget::itemClicked, this, [this] { lstMacros_Click(); });
    connect(lstMacros, &QListWidget::itemDoubleClicked, this, [this] { lstMacros_DblClick(); });
    connect(lstLog, &QListWidget::itemDoubleClicked, this, [this] { lstLog_DblClick(); });
    connect(cboFuncKey, &QComboBox::currentIndexChanged, this, [this] { cboFuncKey_Click(); });
    connect(txtShortName, &QLineEdit::textChanged, this, [this] { typedWithoutKey(txtShortName); });
    connect(txtCommand, &QPlainTextEdit::textChanged, this, [this] { typedWithoutKey(txtCommand); });
    connect(cmdNew, &QPushButton::clicked, this, &frmSourceHTML::cmdNew_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmSourceHTML::cmdSave_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmSourceHTML::cmdDelete_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSourceHTML::cmdCancel_Click);
    connect(cmdShowLog, &QPushButton::clicked, this, &frmSourceHTML::cmdShowLog_Click);
    txtShortName->installEventFilter(this);
    txtCommand->installEventFilter(this);
    lstMacros->installEventFilter(this);
    setHeightTwips(kAdvancedHeight);
}

frmSourceHTML& frmSourceHTML::Load(ProgramContext& context) {
    frmSourceHTML& editor =
        platform::keptDialog<frmSourceHTML>(context.commands.macroEditor, [] { return new frmSourceHTML(); });
    editor.context_ = &context;
    if (!editor.loaded_) {
        editor.loaded_ = true;
        editor.Form_Load();
    }
    return editor;
}

frmSourceHTML* frmSourceHTML::loadedInstance(const ProgramContext& context) {
    auto* editor = qobject_cast<frmSourceHTML*>(context.commands.macroEditor.data());
    return editor && editor->loaded_ ? editor : nullptr;
}

void frmSourceHTML::showEditor(ProgramContext& context, QWidget* owner) {
    frmSourceHTML& editor = Load(context);
    if (owner && editor.parentWidget() != owner->window()) editor.setParent(owner->window(), editor.windowFlags());
    platform::showOverOwner(editor);
}

void frmSourceHTML::Unload() {
    loaded_ = false;
    hide();
}

void frmSourceHTML::closeEvent(QCloseEvent* event) {
    event->ignore();
    Unload();
}

// Each load starts from the window's design and fills it from the store.
void frmSourceHTML::Form_Load() {
    setHeightTwips(kAdvancedHeight);
    cmdShowLog->setText(kAdvanced);
    lstLog->clear();
    showFields(QString(), QString());
    fillFunctionKeyCombo();
    modMacros::loadMacros(*context_, kMacroSection);
    modMacros::setListHorizontalExtent(*lstLog);
}

// The designed size, or what the texts need at the font in use when that is more. The
// standard view ends above the command log.
void frmSourceHTML::setHeightTwips(int twips) {
    heightTwips_ = twips;
    lstLog->setVisible(twips > kStandardHeight);
    setFixedSize(platform::designedOrNeeded(*this, platform::twipsToPixels(QSize(kWidth, twips - kTitleBar))));
}

int frmSourceHTML::getListIndex(const QString& key) {
    return int(kFunctionKeys.indexOf(key));
}

void frmSourceHTML::fillFunctionKeyCombo() {
    const bool filling = std::exchange(settingFields_, true);
    cboFuncKey->clear();
    cboFuncKey->addItems(kFunctionKeys);
    cboFuncKey->setCurrentIndex(-1);
    settingFields_ = filling;
}

QString frmSourceHTML::keyShown() const {
    return cboFuncKey->currentIndex() >= 0 ? cboFuncKey->currentText() : QString();
}

bool frmSourceHTML::commandTyped() const {
    return txtCommand->toPlainText() != shownText_;
}

QString frmSourceHTML::commandText() const {
    return commandTyped() ? txtCommand->toPlainText() : shownCommand_;
}

void frmSourceHTML::showFields(const QString& shortName, const QString& command) {
    const bool filling = std::exchange(settingFields_, true);
    txtShortName->setText(shortName);
    // The box shows some characters otherwise (a no-break space as a blank, a line or
    // paragraph separator as a line break): the command itself is kept beside it. The empty
    // command's "<none>" is the box's placeholder, not text that typing would go beside.
    const QString boxText = command == kNoCommand ? QString() : command;
    if (txtCommand->toPlainText() != boxText) txtCommand->setPlainText(boxText);
    shownCommand_ = command;
    shownText_ = txtCommand->toPlainText();
    settingFields_ = filling;
}

void frmSourceHTML::chooseKey(const QString& key) {
    const int index = getListIndex(key);
    if (index >= 0 && cboFuncKey->currentIndex() != index) cboFuncKey->setCurrentIndex(index);
}

void frmSourceHTML::clearMacroLists() {
    for (QListWidget* list : {lstMacros, lstName, lstCommand, lstFKey}) list->clear();
}

void frmSourceHTML::fillMacroLists(const Lists& lists) {
    lstMacros->addItems(lists.rows);
    lstFKey->addItems(lists.keys);
    lstName->addItems(lists.names);
    lstCommand->addItems(lists.commands);
    for (QListWidget* list : {lstFKey, lstName, lstCommand}) list->setCurrentRow(list->count() - 1);
    modMacros::removeDuplicateItems(*lstMacros);
}

QString frmSourceHTML::nextFreeKey() const {
    QSet<QString> taken;
    for (int row = 0; row < lstFKey->count(); ++row) taken.insert(lstFKey->item(row)->text());
    for (const QString& key : kFunctionKeys)
        if (!taken.contains(key)) return key;
    return QString();
}

bool frmSourceHTML::selectNextMacro() {
    const QString key = nextFreeKey();
    if (key.isEmpty()) {
        context_->user.MsgBox(QStringLiteral("All function keys are assigned. Please select a Function key to assign a Macro to"),
                              platform::kOkOnly, QStringLiteral("No more Macros available"));
        return false;
    }
    chooseKey(key);
    showFields(key + QStringLiteral(" - Macro"), QString());
    return true;
}

void frmSourceHTML::lstMacros_Click() {
    const int row = lstMacros->currentRow();
    if (row < 0 || row >= lstFKey->count()) return;
    for (QListWidget* list : {lstFKey, lstName, lstCommand}) list->setCurrentRow(row);
    const QString key = lstFKey->item(row)->text();
    if (getListIndex(key) >= 0) {
        chooseKey(key);
    } else {
        // A stored value that no key can hold: nothing is stored over it by mistake.
        const bool filling = std::exchange(settingFields_, true);
        cboFuncKey->setCurrentIndex(-1);
        settingFields_ = filling;
    }
    showFields(lstName->item(row)->text(), lstCommand->item(row)->text());
}

void frmSourceHTML::lstMacros_DblClick() {
    lstMacros_Click();
    QString command = commandText();
    if (command.isEmpty()) return;
    modMTP::runMtpCommand(*context_, command);
    Unload();
}

void frmSourceHTML::cboFuncKey_Click() {
    if (settingFields_ || cboFuncKey->currentIndex() < 0) return;
    if (!modMacros::selectListItem(*lstFKey, cboFuncKey->currentText())) {
        showFields(QString(), QString());
        return;
    }
    const int row = lstFKey->currentRow();
    lstName->setCurrentRow(row);
    lstCommand->setCurrentRow(row);
    if (row < lstMacros->count()) lstMacros->setCurrentRow(row);
    showFields(lstName->item(row)->text(), lstCommand->item(row)->text());
}

void frmSourceHTML::typedWithoutKey(QWidget* box) {
    if (settingFields_ || cboFuncKey->currentIndex() >= 0) return;
    const bool shortName = box == txtShortName;
    const QString typed = shortName ? txtShortName->text() : commandText();
    if (typed.isEmpty()) return;
    const bool chosen = selectNextMacro();
    // With every key taken the typing goes: nothing could store it.
    const bool filling = std::exchange(settingFields_, true);
    const QString kept = chosen ? typed : QString();
    if (shortName) {
        txtShortName->setText(kept);
        txtShortName->setCursorPosition(std::min<int>(1, int(kept.size())));
    } else {
        txtCommand->setPlainText(kept);
        QTextCursor caret = txtCommand->textCursor();
        caret.setPosition(std::min<int>(1, int(kept.size())));
        txtCommand->setTextCursor(caret);
    }
    settingFields_ = filling;
}

void frmSourceHTML::cmdNew_Click() {
    const QString key = nextFreeKey();
    if (key.isEmpty()) return;
    chooseKey(key);
    showFields(key + QStringLiteral(" - Macro"), QString());
}

void frmSourceHTML::cmdSave_Click() {
    QString command = commandText();
    // A command typed into the box ends at its first line break.
    if (commandTyped()) {
        const qsizetype lineEnd = command.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
        if (lineEnd >= 0) command.truncate(lineEnd);
    }
    saveMacro(keyShown(), txtShortName->text(), command);
}

void frmSourceHTML::saveMacro(const QString& key, QString shortName, QString command) {
    // A "|" would end the name early when the macro is read back.
    shortName.remove(QLatin1Char('|'));
    if (shortName.isEmpty() || key.isEmpty()) return;
    if (command.isEmpty()) command = kNoCommand;
    showFields(shortName, command);
    if (!CRegSettings(context_->settings).SaveSetting(kMacroSection, key, shortName + QLatin1Char('|') + command)) {
        context_->user.MsgBox(QStringLiteral("The macro could not be stored under ") + key +
                                  QStringLiteral(": the settings file cannot be written. The macros stored before are unchanged."),
                              platform::kOkOnly | platform::kExclamationIcon, QStringLiteral("Macro not stored"));
        return;
    }
    modMacros::setMacroMenu(*context_, key, shortName, command);
    modMacros::loadMacros(*context_, kMacroSection);
}

void frmSourceHTML::cmdDelete_Click() {
    QString key = keyShown();
    // A row whose key none of the eleven is shows no key: it is the one meant.
    if (key.isEmpty() && lstMacros->currentRow() >= 0 && lstMacros->currentRow() < lstFKey->count())
        key = lstFKey->item(lstMacros->currentRow())->text();
    if (key.isEmpty()) return;
    CRegSettings(context_->settings).DeleteSetting(kMacroSection, key);
    fillFunctionKeyCombo();
    modMacros::loadMacros(*context_, kMacroSection);
    modMacros::setListHorizontalExtent(*lstLog);
    showFields(QString(), QString());
}

void frmSourceHTML::cmdCancel_Click() {
    cmdSave_Click();
    Unload();
}

void frmSourceHTML::cmdShowLog_Click() {
    if (cmdShowLog->text() == kAdvanced) {
        setHeightTwips(kAdvancedHeight);
        cmdShowLog->setText(QStringLiteral("<< Standard"));
        lstLog->setFocus();
    } else {
        setHeightTwips(kStandardHeight);
        cmdShowLog->setText(kAdvanced);
        lstMacros->setFocus();
    }
    modMacros::centerForm(*this);
}

void frmSourceHTML::lstLog_DblClick() {
    const QListWidgetItem* row = lstLog->currentItem();
    const QString line = row ? row->text() : QString();
    if (line.isEmpty() || line.contains(QLatin1Char('#'))) {
        context_->user.MsgBox(QStringLiteral("Double click a macro (macros start with mtp://)"), platform::kOkOnly,
                              QStringLiteral("Macro required"));
        return;
    }
    const QString key = keyShown();
    if (key.isEmpty()) {
        if (!selectNextMacro()) return;
    } else if (!commandText().isEmpty()) {
        const int answer = context_->user.MsgBox(QStringLiteral("Do you want to replace the ") + key + QStringLiteral(" macro ?"),
                                                 platform::kYesNoCancel, QStringLiteral("Overwrite this Macro?"));
        if (answer == platform::kAnswerCancel) return;
        if (answer == platform::kAnswerNo && !selectNextMacro()) return;
    }
    showFields(modMacros::logLineShortName(line, txtShortName->text()), line);
    cmdSave_Click();
}

void frmSourceHTML::fillLog() {
    lstLog->clear();
    const QString path = modMTP::commandLogPath();
    const std::optional<QString> text = QFile::exists(path) ? platform::readProgramFile(path) : std::nullopt;
    if (!text) return;
    QStringList rows = text->split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts);
    std::reverse(rows.begin(), rows.end());
    lstLog->addItems(rows);
}

bool frmSourceHTML::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && (watched == txtShortName || watched == txtCommand)) {
        // Leaving a box for another control of the window stores the macro; switching to
        // another window does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible()) cmdSave_Click();
    } else if (event->type() == QEvent::KeyPress && watched == lstMacros &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && lstMacros->currentRow() >= 0) {
        cmdDelete_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
