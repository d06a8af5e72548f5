// The File menu, and files and text dropped on the window.
#include "AppTestSupport.h"
#include "gui/app/LogoWidget.h"
#include "gui/commands/frmSourceHTML.h"
#include "platform/WidgetInput.h"

#include <QDialog>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

class FileNewOpenTest : public FileMenuTest {
protected:
    CommandRecorder recorder{w.context};
    QString root() const {
        const ListTree::NodeId n = tree().item(1);
        return u"%1 [%2] %3/%4 %5"_s.arg(tree().text(n), tree().tag(n)).arg(tree().image(n)).arg(tree().selectedImage(n)).arg(tree().key(n));
    }
    void drop(const QStringList& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files) urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        widget_input::drop(w.find<LogoOverlay>(u"GifOverlay"_s), QPoint(5, 5), data);
    }
    // Text dropped on the logo.
    void dropText(const QString& text) { widget_input::dropText(w.find<LogoOverlay>(u"GifOverlay"_s), QPoint(5, 5), text); }
};

TEST_F(FileNewOpenTest, NewRecordsAskToSaveTheEditedRecordFirst) {
    w.context.preferences.FileNewURL = u"mtp://open=template.kqb/"_s;
    const QString page = openPage(u"page.htm"_s, u"Edited title"_s);
    boxes.expect(kSave, kAnswerCancel).expect(kSave, kAnswerYes);
    w.find<QAction>(u"mnuFileNew_1"_s)->trigger();
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(read(page), kPage);
    w.find<QAction>(u"mnuFileNew_1"_s)->trigger();
    EXPECT_EQ(read(page), pageTitled("Edited title"));
    EXPECT_EQ(recorder.commands, QStringList({u"mtp://delete=all.fld"_s, w.context.preferences.FileNewURL}));
    // Without a repository nothing is replaced, so nothing is asked.
    mark(DocumentState::Document::Record);
    boxes.expect(u"No Quorvantile Repository has been linked to the Karvold. To try this feature contact"_s, kAnswerOk);
    w.find<QAction>(u"mnuFileNew_2"_s)->trigger();
    w.context.macros.openRecordMacro = u"mtp://cgisend=http://repo.example/get.kqb"_s;
    boxes.expect(kSave, kAnswerNo);
    w.find<QAction>(u"mnuFileNew_2"_s)->trigger();
    EXPECT_EQ(recorder.commands.mid(2), QStringList({w.context.macros.openRecordMacro}));
}

TEST_F(FileNewOpenTest, NewListsBuildTheirRootsInTheTree) {
    makeList(u"Catalog"_s);
    w.context.document.setTreePath(path(u"old.kqi"_s));
    w.find<QAction>(u"mnuFileNew_3"_s)->trigger();
    EXPECT_EQ(root(), u"RSS Channel [RSS] 5/0 RSS Channel\\"_s);
    EXPECT_TRUE(w.context.document.TreePath().isEmpty());
    // A scheme-list name makes a scheme root; a cancelled dialog leaves the tree.
    dialogs.choose(path(u"terms.kqs"_s), 2).choose(path(u"Kataloggrößen"_s), 6).cancel().cancel();
    w.find<QAction>(u"mnuFileNew_5"_s)->trigger();
    EXPECT_EQ(root(), u"terms [Scheme] 5/6 terms\\"_s);
    w.find<QAction>(u"mnuFileNew_5"_s)->trigger();
    w.find<QAction>(u"mnuFileNew_6"_s)->trigger();
    w.find<QAction>(u"mnuFileNew_4"_s)->trigger();
    EXPECT_EQ(root(), u"Kataloggrößen [Catalog] 1/4 Kataloggrößen\\"_s);
    // A harvest list gets its folders, only in the tree until it is saved.
    const QString hcl = path(u"HCL.htm"_s);
    dialogs.choose(hcl);
    boxes.expect(u"Any unused folders will be deleted when you next save this list"_s, kAnswerOk);
    w.find<QAction>(u"mnuFileNew_4"_s)->trigger();
    EXPECT_EQ(root(), u"HCL [Harvest Control List] 1/4 HCL\\"_s);
    EXPECT_EQ(tree().count(), 11);
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->itemText(0), u"http://loadhcl="_s + hcl + u".kqi"_s);
    EXPECT_FALSE(QFile::exists(hcl));
}

TEST_F(FileNewOpenTest, NewListAsksAboutTheModifiedListAndNewWindowStartsAProcess) {
    StartedProcesses started;
    makeList(u"Scheme"_s, DocumentState::ListKind::SchemeList);
    w.context.document.setTreePath(path(u"subjects.kqs"_s));
    mark(DocumentState::Document::List);
    boxes.expect(u"Save the list changes in the Tree View first?"_s, kAnswerYes);
    w.find<QAction>(u"mnuFileNew_3"_s)->trigger();
    EXPECT_EQ(read(path(u"subjects.kqs"_s)), kCatsList);
    for (const QString& address : {u"http://example.org/a b.htm"_s, QString()}) {
        w.find<QComboBox>(u"URL"_s)->setEditText(address);
        w.find<QAction>(u"mnuFileNew_7"_s)->trigger();
        EXPECT_EQ(started.last(), QStringList({QCoreApplication::applicationFilePath(), address}));
    }
}

TEST_F(FileNewOpenTest, OpeningOrDroppingAPageAsksFirstAndACancelChangesNothing) {
    const QString page = openPage(u"first.htm"_s, u"Keep me"_s);
    const QString next = write(u"zweite Seite é.asp"_s, kPage);
    boxes.expect(kSave, kAnswerCancel).expect(kSave, kAnswerCancel).expect(kSave, kAnswerYes);
    dialogs.cancel();
    w.find<QAction>(u"mnuFileOpenIdx_1"_s)->trigger();  // Cancel: no dialog
    drop({next});
    w.find<QAction>(u"mnuFileOpenIdx_1"_s)->trigger();  // Yes, then the dialog is cancelled
    EXPECT_EQ(read(page), pageTitled("Keep me"));
    EXPECT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(w.context.document.currentHTMLFile(), page);
    EXPECT_TRUE(recorder.commands.isEmpty());
    drop({next});
    EXPECT_EQ(w.context.FilePath, next);
    EXPECT_EQ(recorder.commands, QStringList({u"mtp://delete=all.fld"_s, u"mtp://open="_s + next}));
}

TEST_F(FileNewOpenTest, OpenTemplatesMacrosRepositoryRecordsAndLists) {
    const QString batch = write(u"template.kqb"_s, "mtp://field=DC.Title.fld/\r\n");
    const QString catalogue = write(u"Sites & Links.kqi"_s, "A|http://a.example/\r\n");
    const QString hcl = write(u"HCL.htm"_s, "<html></html>");
    dialogs.choose(batch).choose(batch).choose(catalogue).choose(hcl);
    w.find<QAction>(u"mnuFileOpenIdx_2"_s)->trigger();
    w.find<QAction>(u"mnuFileOpenIdx_3"_s)->trigger();
    EXPECT_EQ(w.context.BatchPath, batch);
    boxes.expect(u"No Quorvantile Repository has been linked to the Karvold."_s, kAnswerOk);
    w.find<QAction>(u"mnuFileOpenIdx_4"_s)->trigger();
    w.context.macros.openRecordMacro = u"mtp://cgisend=http://repo.example/get.kqb"_s;
    w.find<QAction>(u"mnuFileOpenIdx_4"_s)->trigger();
    w.find<QAction>(u"mnuFileOpenIdx_6"_s)->trigger();
    EXPECT_EQ(w.context.document.listType() + w.context.rootName + tag2(), u"indexesSites & LinksList"_s);
    mark(DocumentState::Document::Record);  // a modified record stays the document
    w.find<QAction>(u"mnuFileOpenIdx_8"_s)->trigger();
    EXPECT_EQ(tag2(), u"Record"_s);
    w.context.macros.openCatalogMacro = u"mtp://cgisendList=http://repo.example/cat.kqb"_s;
    w.context.document.setTreePath(u"Main Catalog.kqi"_s);
    w.find<QAction>(u"mnuFileOpenIdx_6"_s)->trigger();
    EXPECT_EQ(recorder.commands, QStringList({u"mtp://"_s + batch, u"mtp://"_s + batch, w.context.macros.openRecordMacro,
                                              u"mtp://open="_s + catalogue, u"mtp://loadhcl="_s + hcl + u".kqi"_s,
                                              w.context.macros.openCatalogMacro}));
}

TEST_F(FileNewOpenTest, FilesAndFoldersOpenByTheirExtensionOrShowInTheBrowser) {
    dialogs.choose(write(u"site/page.htm"_s, kPage));
    w.find<QAction>(u"mnuFileOpenIdx_10"_s)->trigger();
    EXPECT_EQ(browser().navigations().last().address, u"file://"_s + path(u"site/"_s));
    // Only the exact extensions open as documents; a page is read as the browser shows it.
    for (const char* name : {"Page.HTM", "page.html", "README", "data.json"}) {
        w.context.record.clear();
        const QString file = write(QLatin1String(name), kPage);
        drop({file});
        EXPECT_EQ(browser().navigations().last().address, u"file://"_s + file);
        EXPECT_EQ(w.context.record.count(), QByteArray(name).toLower().contains(".htm") ? 1 : 0) << name;
    }
    EXPECT_TRUE(recorder.commands.isEmpty());
}

TEST_F(FileNewOpenTest, DroppedTextAndFiles) {
    const QString list = write(u"list.kqs"_s, "");
    const QString notes = write(u"notes.markdown"_s, "# notes");
    ASSERT_TRUE(QDir().mkpath(path(u"Ordner ü"_s)));
    dropText(u"MTP://field=DC.Subject&content=Cats.fld/"_s);
    dropText(u"file://"_s + list);
    dropText(u"see https://example.org/x.htm"_s);
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->currentText(), u"see https://example.org/x.htm"_s);
    EXPECT_EQ(w.context.document.TreePath() + w.context.document.listType() + w.context.rootName, list + u"schemalist"_s);
    drop({notes, list});  // the first opens by its long extension, the second goes to history
    EXPECT_EQ(browser().navigations().last().address, u"file://"_s + notes);
    // The Previous button's history menu offers it first.
    QAction* previous = w.find<QAction>(u"Toolbar1_%1"_s.arg(NavigationPane::kPreviousButton));
    auto* tool = qobject_cast<QToolButton*>(w.find<QToolBar>(u"Toolbar1"_s)->widgetForAction(previous));
    ASSERT_TRUE(tool && tool->menu() && !tool->menu()->actions().isEmpty());
    EXPECT_EQ(tool->menu()->actions().first()->text(), list);
    drop({path(u"Ordner ü"_s)});
    EXPECT_EQ(browser().navigations().last().address, u"file://"_s + path(u"Ordner ü/"_s));
    EXPECT_EQ(recorder.commands, QStringList({u"MTP://field=DC.Subject&content=Cats.fld/"_s, u"mtp://open="_s + list}));
    // Plain text goes into the current line at the caret, on one line, quotes made plain.
    w.context.record.clear();
    w.context.record.append({u"DC.Description"_s, u"Start end"_s, {}, {}});
    editLine(1);
    w.find<QLineEdit>(u"editNrmlContent"_s)->setSelection(6, 3);
    dropText(u"two\r\nlines \u201Dquoted\u201D"_s);
    EXPECT_EQ(w.context.record.lineAt(1).content, u"Start twolines &quot;quoted&quot;"_s);
    EXPECT_EQ(panel2(), u"Modified"_s);
    EXPECT_EQ(recorder.commands.size(), 2);
}

TEST_F(FileMenuTest, SaveAsksWhenNothingChanged) {
    const QString page = openPage(u"my page.htm"_s);
    boxes.expect(u"Nothing has changed in the Record. Continue Anyway?"_s, kAnswerNo).expect(u"Continue Anyway?"_s, kAnswerYes);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(read(page), kPage);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(read(page), pageTitled("Old title"));
}

TEST_F(FileMenuTest, ARecordWithoutAFileGoesToTheRepositoryOrToAChosenFile) {
    CommandRecorder recorder{w.context};
    const QString page = openPage(u"from web.htm"_s, u"Web title"_s);
    w.context.document.setCurrentHTMLFile(QString());
    boxes.expect(u"No Quorvantile Repository has been linked to this Karvold."_s, kAnswerOk);
    w.find<QAction>(u"mnuFileSaveAs_2"_s)->trigger();
    EXPECT_TRUE(recorder.commands.isEmpty());
    w.context.macros.saveRecordMacro = u"mtp://cgisend=http://repo.example/save.kqb"_s;
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    w.find<QAction>(u"mnuFileSaveAs_2"_s)->trigger();
    EXPECT_EQ(recorder.commands, QStringList({w.context.macros.saveRecordMacro, w.context.macros.saveRecordMacro}));
    EXPECT_EQ(panel2(), u"Modified"_s);  // the repository's reply settles the mark
    w.context.macros.saveRecordMacro.clear();
    w.context.FilePath = page;
    const QString chosen = path(u"Größe \"quoted\" ü"_s);  // the filter's extension is added
    dialogs.cancel().choose(chosen);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(panel2(), u"Modified"_s);  // cancelled: nothing written, nothing lost
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(read(chosen + u".htm"_s), pageTitled("Web title"));
    EXPECT_EQ(w.context.document.currentHTMLFile(), chosen + u".htm"_s);
    EXPECT_EQ(panel2() + tag2(), u"ReadyRecord"_s);
    EXPECT_EQ(read(page), kPage);
}

TEST_F(FileMenuTest, AVanishedFileOrAFailedWriteLeavesTheRecordModified) {
    const QString page = openPage(u"gone.htm"_s, u"Edits"_s);
    ASSERT_TRUE(QFile::remove(page));
    const QString folder = folderAt(u"taken.htm"_s);
    dialogs.choose(folder);
    const QString gone = u"is no longer where it was opened"_s;
    boxes.expect(gone, kAnswerNo).expect(u"Error saving file: "_s, kAnswerOk);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();  // saved elsewhere: a folder chosen as the file
    EXPECT_EQ(dialogs.requests().last().initialFolder, dir.path() + u"/"_s);
    EXPECT_EQ(dialogs.requests().last().proposedName, u"gone.htm"_s);
    w.context.document.setCurrentHTMLFile(folder);
    boxes.expect(gone, kAnswerYes).expect(u"Error saving file: "_s, kAnswerOk);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();  // written there again: a folder where the record's file was
    boxes.expect(gone, kAnswerCancel);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(panel2() + tag2(), u"ModifiedRecord"_s);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFile::exists(page));
}

// A page deleted since it was opened is said to be gone; Yes writes it again where it was,
// the record in the page as it was read.
TEST_F(FileMenuTest, APageGoneFromDiskIsWrittenAgainOnlyAfterAYes) {
    const QString page = openPage(u"gone.htm"_s, u"New"_s);
    ASSERT_TRUE(QFile::remove(page));
    boxes.expect(u"The page "_s + page + u" is no longer where it was opened."_s, kAnswerCancel);
    w->findChild<QAction*>(u"mnuFileSave"_s)->trigger();
    EXPECT_FALSE(QFile::exists(page));
    EXPECT_EQ(boxes.shown().last().title, u"Page no longer on disk"_s);
    boxes.expect(u"is no longer where it was opened"_s, kAnswerYes);
    w->findChild<QAction*>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(read(page), pageTitled("New"));
    EXPECT_EQ(panel2(), u"Ready"_s);
}

// A page, list or template whose owner made it read-only is not written, whoever runs the
// program; one that may be written keeps its mode. Each failure names its file and the reason.
TEST_F(FileMenuTest, ReadOnlyFilesAreRefusedAndTheOthersKeepTheirMode) {
    const auto chmod = [](const QString& file, QFileDevice::Permissions permissions) {
        ASSERT_TRUE(QFile::setPermissions(file, permissions));
    };
    const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QString page = openPage(u"page.htm"_s, u"New"_s);
    chmod(page, readOnly);
    boxes.expect(u"Error saving file: Cannot write "_s + page + u": Existing file "_s + page + u" is not writable"_s, kAnswerOk);
    w->findChild<QAction*>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(read(page), kPage);
    EXPECT_EQ(panel2() + tag2(), u"ModifiedRecord"_s);
    chmod(page, ownerOnly);
    w->findChild<QAction*>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(read(page), pageTitled("New"));
    EXPECT_EQ(QFile::permissions(page) & 0x7077, ownerOnly);

    // A template over a read-only batch file.
    const QString batch = write(u"template.kqb"_s, "old\r\n");
    chmod(batch, readOnly);
    dialogs.choose(batch);
    boxes.expect(u"Existing file "_s + batch + u" is not writable"_s, kAnswerOk);
    w->findChild<QAction*>(u"mnuFileSaveAs_3"_s)->trigger();
    EXPECT_EQ(boxes.shown().last().title, u"Error saving template"_s);
    EXPECT_EQ(read(batch), "old\r\n");

    // A list over a read-only catalogue; written once it may be, with the mode it had.
    makeList(QString());
    mark(DocumentState::Document::List);
    const QString list = write(u"list.kqi"_s, kCatsList);
    chmod(list, readOnly);
    dialogs.choose(list);
    boxes.expect(u"Existing file "_s + list + u" is not writable"_s, kAnswerOk);
    w->findChild<QAction*>(u"mnuFileSaveAs_5"_s)->trigger();
    EXPECT_EQ(boxes.shown().last().title, u"Error saving list"_s);
    EXPECT_EQ(QFile::permissions(list) & 0x7077, readOnly);
    chmod(list, ownerOnly | QFileDevice::ReadGroup);
    dialogs.choose(list);
    w->findChild<QAction*>(u"mnuFileSaveAs_5"_s)->trigger();
    EXPECT_EQ(read(list), kCatsList);
    EXPECT_EQ(QFile::permissions(list) & 0x7077, ownerOnly | QFileDevice::ReadGroup);
}

TEST_F(FileMenuTest, ListsAreSavedByTheirKind) {
    CommandRecorder recorder{w.context};
    w.context.macros.saveCatalogMacro = u"mtp://cgisendList=http://repo.example/cat.kqb"_s;
    makeList(u"RSS"_s, DocumentState::ListKind::Channel);
    w.context.document.setTreePath(u"Main Catalog.kqi"_s);
    w.context.document.markModified(DocumentState::Document::List);  // File > Save is always there
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(recorder.commands, QStringList({w.context.macros.saveCatalogMacro}));
    // The list dialogs save those kinds: cancelled here, they write nothing.
    w.context.document.setTreePath(path(u"site.kqi"_s));
    testing_support::ScriptedModals modals;
    const auto cancelChannel = [](QDialog& dialog) {
        QPushButton* cancel = dialog.findChild<QPushButton*>(u"CancelButton"_s);
        widget_input::click(cancel, Qt::LeftButton, Qt::NoModifier, cancel->rect().center());
    };
    modals.then(cancelChannel).then(cancelChannel);
    makeList(u"RSS Harvest Control List"_s, DocumentState::ListKind::HarvestList);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    QDialog* harvest = w->findChild<QDialog*>(u"frmHCL"_s);
    ASSERT_TRUE(harvest && harvest->isVisible());
    harvest->hide();
    makeList(u"rss"_s, DocumentState::ListKind::Channel);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(panel2(), u"Modified"_s);
    w.context.document.setTreePath(path(u"site.kqi"_s));
    tree().clear();
    boxes.expect(u"There is no list in the tree to save."_s, kAnswerOk);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    makeList(u"Catalog"_s);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(read(path(u"site.kqi"_s)), kCatsList);
    EXPECT_EQ(panel2() + tag2(), u"ReadyList"_s);
    // A list read from the web has only an extension: Save asks for a name.
    w.context.document.setTreePath(u".kqs"_s);
    mark(DocumentState::Document::List);
    dialogs.cancel().choose(path(u"Schlagwörter"_s));
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(w.context.document.TreePath() + panel2(), u".kqsModified"_s);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(read(path(u"Schlagwörter.kqs"_s)), kCatsList);
    EXPECT_EQ(recorder.commands.size(), 1);
    // Save Subject Index writes list files only.
    w.context.document.setTreePath(path(u"notes.txt"_s));
    mark(DocumentState::Document::List);
    w.context.document.setSaveListCaption(u"Save RSS Channel"_s);
    w.find<QAction>(u"mnuFileSaveList"_s)->trigger();
    EXPECT_FALSE(QFile::exists(path(u"notes.txt"_s)));
    w.context.document.setTreePath(path(u"birds.kqs"_s));
    w.find<QAction>(u"mnuFileSaveList"_s)->trigger();
    EXPECT_EQ(read(path(u"birds.kqs"_s)) + panel2().toUtf8(), kCatsList + "Ready");
}

TEST_F(FileMenuTest, SaveAsPageWritesACopyUnderTheBrowsersPageName) {
    // The record of the page the browser shows, edited; the last file the user opened is another.
    const QString index = write(u"index.htm"_s, kPage);
    w.context.preferences.UseLinkRel.setText(u"N"_s);
    open(write(u"news/today.htm"_s, kPage));
    editLine(1);
    w.find<QLineEdit>(u"editNrmlContent"_s)->setText(u"Edited"_s);
    w.context.FilePath = index;
    const QString copy = path(u"Kopie \"neu\" é.htm"_s);
    dialogs.cancel().choose(copy).choose(folderAt(u"folder.htm"_s));
    w.find<QAction>(u"mnuFileSaveAs_1"_s)->trigger();
    EXPECT_EQ(w.context.FilePath, path(u"today.htm"_s));
    EXPECT_FALSE(QFile::exists(copy));
    w.find<QAction>(u"mnuFileSaveAs_1"_s)->trigger();
    EXPECT_EQ(read(copy), pageTitled("Edited"));
    EXPECT_EQ(read(index), kPage);
    mark(DocumentState::Document::Record);
    boxes.expect(u"Error saving file: "_s, kAnswerOk);
    w.find<QAction>(u"mnuFileSaveAs_1"_s)->trigger();  // a folder chosen as the file
    EXPECT_EQ(panel2(), u"Modified"_s);
    // The save question relies on the outcome: a cancelled Save As stops its caller.
    w.context.document.setCurrentHTMLFile(QString());
    boxes.expect(kSave, kAnswerYes).expect(kSave, kAnswerYes);
    dialogs.cancel().choose(path(u"kept.htm"_s));
    EXPECT_FALSE(w->close());  // Yes, then the Save As dialog cancelled: the window stays
    EXPECT_TRUE(w->close());   // Yes, and the page written: it may go
    EXPECT_EQ(read(path(u"kept.htm"_s)), pageTitled("Edited"));
}

TEST_F(FileMenuTest, SaveAsTemplateSchemeAndCatalogue) {
    w.context.record.append({u"DC.Title"_s, u"Template & more"_s, u"en"_s, {}});
    w.context.BatchPath = u"bare.kqb"_s;
    const QString file = path(u"my template.kqb"_s);
    dialogs.choose(path(u"my template"_s)).choose(file);
    boxes.expect(u"Do you want to add this template to the next available FKey?"_s, kAnswerNo)
        .expect(u"FKey?"_s, kAnswerYes);
    w.find<QAction>(u"mnuFileSaveAs_3"_s)->trigger();
    EXPECT_TRUE(read(file).startsWith("mtp://field=DC.Title&content=Template & more&lang=en.fld/\r\n"));
    QFile::remove(file);
    w.find<QAction>(u"mnuFileSaveAs_3"_s)->trigger();
    EXPECT_TRUE(read(file).startsWith("mtp://field=DC.Title&content=Template & more&lang=en.fld/\r\n"));
    EXPECT_EQ(CRegSettings(w.context.settings).GetSetting(u"Preferences\\Macros"_s, u"F1"_s, {}), u"Load Macro from Disk|mtp://"_s + file);
    ASSERT_TRUE(frmSourceHTML::loadedInstance(w.context) && frmSourceHTML::loadedInstance(w.context)->isVisible());
    frmSourceHTML::loadedInstance(w.context)->Unload();
    makeList(u"Scheme"_s, DocumentState::ListKind::SchemeList);
    w.context.document.setTreePath(u"Untitled"_s);
    mark(DocumentState::Document::List);  // enables the list items
    const QString scheme = path(u"Vögel & Fische.kqs"_s);
    const QString catalogue = write(u"sites.kqi"_s, "Old|http://old.example/\r\n");
    dialogs.choose(scheme).cancel().choose(catalogue);
    w.find<QAction>(u"mnuFileSaveAs_4"_s)->trigger();
    EXPECT_EQ(read(scheme), kCatsList);
    w.find<QAction>(u"mnuFileSaveAs_5"_s)->trigger();  // cancelled
    EXPECT_EQ(read(catalogue), "Old|http://old.example/\r\n");
    w.find<QAction>(u"mnuFileSaveAs_5"_s)->trigger();
    EXPECT_EQ(read(catalogue), kCatsList);
    EXPECT_EQ(w.find<QAction>(u"mnuFileSave"_s)->text(), u"Save Catalog to "_s + catalogue);  // Save goes to the file written last
}

TEST_F(FileMenuTest, PrintAndCheckForHarvestList) {
    boxes.expect(u"The Print command is currently disabled."_s, kAnswerOk).expect(u"Error: Out of paper"_s, kAnswerOk);
    w.find<QAction>(u"mnuFilePrint"_s)->trigger();
    open(write(u"print.htm"_s, kPage));
    w.find<QAction>(u"mnuFilePrint"_s)->trigger();  // the user is asked for the printer
    browser().failNextPrint(u"Out of paper"_s);
    w.find<QAction>(u"Toolbar1_8"_s)->trigger();
    EXPECT_EQ(browser().printRequests(), QList<int>({platform::kExecPromptUser}));
    CommandRecorder recorder{w.context};
    for (const char* address : {"HTTP://www.site.example/a/b.htm", "https://secure.example/x", "www.host.example"}) {
        w.find<QComboBox>(u"URL"_s)->setEditText(QLatin1String(address));
        w.find<QAction>(u"mnuFileCheckHarvest"_s)->trigger();
    }
    EXPECT_EQ(recorder.commands,
              QStringList({"mtp://loadHCL=www.site.example/meta/.kqi", "mtp://loadHCL=https://secure.example/meta/.kqi",
                           "mtp://loadHCL=meta/.kqi"}));
}

// A whole session: open, edit, save, edit again, and Exit saving or not.
TEST_F(FileMenuTest, OpenEditSaveAndExit) {
    for (const int answer : {kAnswerYes, kAnswerNo}) {
        w.context.preferences.UseLinkRel.setText(u"N"_s);
        w->show();
        const QString page = write(u"Seite mit Leerzeichen.htm"_s, kPage);
        dialogs.choose(page);
        w.find<QAction>(u"mnuFileOpenIdx_1"_s)->trigger();
        browser().settle();
        ASSERT_EQ(w.context.record.count(), 1);
        editLine(1);
        w.find<QLineEdit>(u"editNrmlContent"_s)->setText(u"New “title” é"_s);
        w.find<QAction>(u"mnuFileSave"_s)->trigger();
        EXPECT_EQ(read(page), pageTitled("New \xE2\x80\x9Ctitle\xE2\x80\x9D &eacute;"));
        EXPECT_EQ(panel2(), u"Ready"_s);
        w.find<QLineEdit>(u"editNrmlContent"_s)->setText(u"Second thoughts"_s);
        boxes.expect(kSave, kAnswerCancel).expect(kSave, answer);
        w.find<QAction>(u"mnuFileExit"_s)->trigger();
        EXPECT_TRUE(w->isVisible());
        w.find<QAction>(u"mnuFileExit"_s)->trigger();
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(read(page).contains("Second thoughts"), answer == kAnswerYes);
    }
}

}  // namespace
