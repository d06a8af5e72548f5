// The document state: which of the two documents (the record or the list) carries unsaved
// changes, the save questions, and the Save menu entries that follow them.
#include "app/Form1.h"

#include "app/modFileExists.h"
#include "commands/modMTP.h"
#include "commands/modMacros.h"
#include "platform/ListView.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/StatusBar.h"
#include "platform/TreeView.h"

#include <QAction>

using platform::MsgBox;

namespace {
const QString kModified = QStringLiteral("Modified");

// A list path that names a real file place: not empty, not only an extension, not a bare name.
bool isUsableListPath(const QString& path) {
    const QString name = platform::fileNamePart(path);
    return !platform::folderPart(path).isEmpty() && !name.isEmpty() && !name.startsWith(QLatin1Char('.'));
}
}  // namespace

MetadataRecord Form1::recordLines() const {
    MetadataRecord lines;
    lines.reserve(MetaPanel->Count());
    for (int i = 1; i <= MetaPanel->Count(); ++i) {
        const platform::ListItem* item = MetaPanel->Item(i);
        MetadataLine line{item->Text(), item->SubItems(1), item->SubItems(2), item->SubItems(3),
                          RecordLineTag::httpEquiv(item->Tag()), RecordLineTag::otherAttributes(item->Tag())};
        lines.append(line);
    }
    return lines;
}

platform::ListItem* Form1::addRecordLine(const MetadataLine& line) {
    platform::ListItem* item = MetaPanel->Add(0, line.name);
    item->setSubItems(1, line.content);
    item->setSubItems(2, line.lang);
    item->setSubItems(3, line.scheme);
    // The tag remembers a line read from http-equiv until the line is renamed, and the
    // element's other attributes.
    item->setTag(RecordLineTag::of(line.httpEquiv, line.otherAttributes));
    return item;
}

bool Form1::documentModified(const QString& tag) const {
    return StatusBar1->panelText(2) == kModified && StatusBar1->panelTag(2) == tag;
}

void Form1::SelectLine(int position) {
    if (MetaPanel->Count() == 0) return;
    for (int i = 1; i <= MetaPanel->Count(); ++i) {
        platform::ListItem* item = MetaPanel->Item(i);
        const bool chosen = i == position;
        item->setBold(chosen);
        if (chosen) {
            MetaPanel->setSelectedItem(item);
            item->EnsureVisible();
        } else {
            item->setSelected(false);
        }
    }
}

int Form1::markHTMLmodifiedCheckList(const QString& reason) {
    const int answer = saveListCheck(reason);
    if (answer != platform::vbCancel) {
        StatusBar1->setPanelText(2, kModified);
        StatusBar1->setPanelTag(2, QStringLiteral("Record"));
        mnuMaintMeta(9)->setEnabled(true);
    }
    mnuFileSave->setText(QStringLiteral("Save Record to ") + currentHTMLFile);
    setMnuFileSaveAs();
    return answer;
}

int Form1::markListmodifiedCheckHTML() {
    const int answer = saveHtmlCheck();
    if (answer != platform::vbCancel) {
        StatusBar1->setPanelText(2, kModified);
        StatusBar1->setPanelTag(2, QStringLiteral("List"));
    }
    if (mnuFileSave->text() != QLatin1String("Save Harvest Control List") && activeTree()->Count() >= 1)
        mnuFileSave->setText(QStringLiteral("Save ") + activeTree()->Item(1)->Text());
    setMnuFileSaveAs();
    return answer;
}

bool Form1::saveRecordWhereItBelongs(const std::function<bool()>& elsewhere) {
    if (!currentHTMLFile.isEmpty() && modFileExists::fileExists(currentHTMLFile)) return SaveAsHTML(currentHTMLFile);
    if (!modMacros::saveRecordMacro.isEmpty()) {
        // The repository finishes the save on its own time: nothing is known saved yet.
        modMTP::runCommand(modMacros::saveRecordMacro);
        return false;
    }
    return elsewhere();
}

int Form1::saveHtmlCheck() {
    if (!documentModified(QStringLiteral("Record"))) return 0;
    const int answer = MsgBox(QStringLiteral("Save the metadata edits in the metapanel first?"), platform::vbYesNoCancel,
                              QStringLiteral("Current document is being edited"));
    if (answer == platform::vbYes) {
        const bool saved = saveRecordWhereItBelongs([this] { return mnuFileSaveAs_Click(1); });
        EditPanelOff();
        // Unless the record is now safely written, the caller must not go on and lose it.
        if (!saved) return platform::vbCancel;
    } else if (answer == platform::vbNo) {
        StatusBar1->setPanelText(2, QString());
    }
    return answer;
}

int Form1::saveListCheck(const QString& reason) {
    if (!documentModified(QStringLiteral("List"))) return 0;
    const platform::Node* root = activeTree()->Count() > 0 ? activeTree()->Item(1) : nullptr;
    const QString rootTag = root ? root->Tag() : QString();
    const auto tagHas = [&](const char* word) { return rootTag.contains(QLatin1String(word), Qt::CaseInsensitive); };
    const QString catalogTitle = QStringLiteral("Catalog has changed");
    const QString saveFirst = QStringLiteral("Save first ") + reason + QLatin1Char('?');

    int answer = 0;
    bool saved = false;
    if (tagHas("Harvest Control List")) {
        answer = MsgBox(QStringLiteral("Before editing a metadata record you should save the Harvest Control List. ") +
                            saveFirst,
                        platform::vbYesNoCancel, catalogTitle);
        if (answer == platform::vbYes) showHarvestListDialog();  // the dialog saves on its own time
    } else if (tagHas("RSS")) {
        answer = MsgBox(QStringLiteral("The RSS Channel has been modified. ") + saveFirst, platform::vbYesNoCancel,
                        catalogTitle);
        if (answer == platform::vbYes) saved = saveRssChannelWithDialog();
    } else if (TreePath == QLatin1String("Main Catalog.kqi")) {
        answer = MsgBox(QStringLiteral("The catalog has been modified. ") + saveFirst, platform::vbYesNoCancel,
                        catalogTitle);
        if (answer == platform::vbYes) {
            modMTP::runCommand(modMacros::saveCatalogMacro);  // the repository stores it on its own time
        }
    } else if (tagHas("Catalog")) {
        answer = MsgBox(QStringLiteral("The catalog has been modified. ") + saveFirst, platform::vbYesNoCancel,
                        catalogTitle);
        if (answer == platform::vbYes) {
            long count = 0;
            if (isUsableListPath(TreePath) && modFileExists::fileExists(TreePath)) saved = SaveAsList(TreePath, count);
            else saved = mnuFileSaveAs_Click(5);
            EditPanelOff();
        }
    } else {
        answer = MsgBox(QStringLiteral("Save the list changes in the Tree View first?"), platform::vbYesNoCancel,
                        QStringLiteral("Current List is modified"));
        if (answer == platform::vbYes) {
            long count = 0;
            if (isUsableListPath(TreePath)) saved = SaveAsList(TreePath, count);
            else saved = mnuFileSaveAs_Click(4);
            EditPanelOff();
        }
    }
    if (answer == platform::vbNo) StatusBar1->setPanelText(2, QString());
    if (answer == platform::vbYes && !saved) return platform::vbCancel;
    return answer;
}

void Form1::setMnuFileSaveAs() {
    Form1* main = firstMainWindow() ? firstMainWindow() : this;
    bool recordItems = true;
    bool listItems = true;
    if (main->documentModified(QStringLiteral("List"))) {
        recordItems = false;
    } else if (main->documentModified(QStringLiteral("Record")) || main->activeTree()->Count() == 0) {
        listItems = false;
    }
    for (int i = 1; i <= 7; ++i) main->mnuFileSaveAs(i)->setEnabled(i <= 3 ? recordItems : listItems);
}

void Form1::mnuFileDraw() {
    if (TreePath.contains(QLatin1String(".kqs"), Qt::CaseInsensitive))
        mnuFileSaveList->setText(QStringLiteral("Save Scheme"));
    else if (TreePath.contains(QLatin1String(".kqi"), Qt::CaseInsensitive))
        mnuFileSaveList->setText(QStringLiteral("Save Catalog"));
}

void Form1::showCurrentFile() {
    StatusBar1->setPanelText(1, QStringLiteral("Current File:") + (currentHTMLFile.isEmpty()
                                                                      ? QStringLiteral("<No File>")
                                                                      : platform::fileNamePart(currentHTMLFile)));
}
