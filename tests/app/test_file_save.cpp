// File > Save, Save As, Save Subject Index, Print, Check for Harvest Control List and Exit.
#include "AppTestSupport.h"

#include "commands/modMTP.h"

#include <QFileInfo>

namespace {

class FileSaveTest : public FileMenuTest {
protected:
    void SetUp() override { modMTP::loggingOn = false; }
    QString folderAt(const QString& name) const {
        EXPECT_TRUE(QDir().mkpath(path(name)));
        return path(name);
    }
};

TEST_F(FileSaveTest, SaveAsksWhenNothingChangedAndASecondSaveOnlyClearsTheFlag) {
    const QString page = openPage(u"my page.htm"_s);
    boxes.expect(u"Nothing has changed in the Record. Continue Anyway?"_s, vbNo).expect(u"Continue Anyway?"_s, vbYes);
    w->mnuFileSave_Click();
    EXPECT_EQ(read(page), kPage);
    w->mnuFileSave_Click();
    EXPECT_EQ(read(page), pageTitled("Old title"));
    write(u"my page.htm"_s, kPage);
    mark(DocumentState::Document::Record);
    w->fileMenuBusy = true;
    w->mnuFileSave_Click();
    EXPECT_FALSE(w->fileMenuBusy);
    EXPECT_EQ(read(page), kPage);
}

TEST_F(FileSaveTest, ARecordWithoutAFileGoesToTheRepositoryOrToAChosenFile) {
    CommandRecorder recorder;
    const QString page = openPage(u"from web.htm"_s, u"Web title"_s);
    w->documentState->setCurrentHTMLFile(QString());
    boxes.expect(u"No Quorvantile Repository has been linked to this Karvold."_s, vbOK);
    EXPECT_FALSE(w->mnuFileSaveAs_Click(2));
    modMacros::saveRecordMacro = u"mtp://cgisend=http://repo.example/save.kqb"_s;
    w->mnuFileSave_Click();
    w->mnuFileSaveAs(2)->trigger();
    EXPECT_EQ(recorder.commands, QStringList({modMacros::saveRecordMacro, modMacros::saveRecordMacro}));
    EXPECT_EQ(panel2(), u"Modified"_s);  // the repository's reply settles the mark

    modMacros::saveRecordMacro.clear();
    w->FilePath = page;
    const QString chosen = path(u"Größe \"quoted\" ü"_s);  // the filter's extension is added
    dialogs.cancel().choose(chosen);
    w->mnuFileSave_Click();
    EXPECT_EQ(dialogs.requests().last().proposedName, u"from web.htm"_s);
    EXPECT_EQ(panel2(), u"Modified"_s);  // cancelled: nothing written, nothing lost
    w->mnuFileSave_Click();
    EXPECT_EQ(read(chosen + u".htm"_s), pageTitled("Web title"));
    EXPECT_EQ(w->documentState->currentHTMLFile(), chosen + u".htm"_s);
    EXPECT_EQ(panel2() + tag2(), u"ReadyRecord"_s);
    EXPECT_EQ(read(page), kPage);
}

TEST_F(FileSaveTest, AVanishedFileOrAFailedWriteLeavesTheRecordModified) {
    const QString page = openPage(u"gone.htm"_s, u"Edits"_s);
    ASSERT_TRUE(QFile::remove(page));
    const QString folder = folderAt(u"taken.htm"_s);
    dialogs.choose(folder).choose(path(u"no such folder/x.htm"_s));
    for (int i = 0; i < 3; ++i) boxes.expect(u"Error saving file: "_s, vbOK);
    w->mnuFileSave_Click();  // a folder chosen as the file
    w->mnuFileSave_Click();  // a folder that is not there
    w->documentState->setCurrentHTMLFile(folder);
    w->mnuFileSave_Click();  // a folder where the record's file was
    EXPECT_EQ(panel2() + tag2(), u"ModifiedRecord"_s);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFile::exists(page));
}

TEST_F(FileSaveTest, ListsAreSavedByTheirKind) {
    CommandRecorder recorder;
    modMacros::saveCatalogMacro = u"mtp://cgisendList=http://repo.example/cat.kqb"_s;
    makeList(u"RSS"_s);
    w->documentState->setTreePath(u"Main Catalog.kqi"_s);
    mark(DocumentState::Document::List);
    w->mnuFileSave_Click();
    EXPECT_EQ(recorder.commands, QStringList({modMacros::saveCatalogMacro}));
    w->documentState->setTreePath(path(u"site.kqi"_s));
    boxes.expect(u"Harvest Control Lists cannot be saved"_s, vbOK).expect(u"RSS channels cannot be saved"_s, vbOK);
    makeList(u"RSS Harvest Control List"_s);
    w->mnuFileSave_Click();
    makeList(u"rss"_s);
    w->mnuFileSave_Click();
    EXPECT_EQ(panel2(), u"Modified"_s);
    tree().Clear();
    boxes.expect(u"There is no list in the tree to save."_s, vbOK);
    w->mnuFileSave_Click();
    makeList(u"Catalog"_s);
    w->mnuFileSave_Click();
    EXPECT_EQ(read(path(u"site.kqi"_s)), kCatsList);
    EXPECT_EQ(panel2() + tag2(), u"ReadyList"_s);

    // A list read from the web has a kind but only an extension: Save asks for a name,
    // and a cancel keeps what the next Save needs.
    w->documentState->setTreePath(u".kqs"_s);
    mark(DocumentState::Document::List);
    dialogs.cancel().choose(path(u"Schlagwörter"_s));
    w->mnuFileSave_Click();
    EXPECT_EQ(w->documentState->TreePath() + panel2(), u".kqsModified"_s);
    w->mnuFileSave_Click();
    EXPECT_EQ(read(path(u"Schlagwörter.kqs"_s)), kCatsList);
    EXPECT_EQ(w->documentState->TreePath(), path(u"Schlagwörter.kqs"_s));
    EXPECT_EQ(recorder.commands.size(), 1);
}

TEST_F(FileSaveTest, SaveSubjectIndexWritesOnlyListFiles) {
    makeList(u"Scheme"_s);
    w->documentState->setTreePath(path(u"notes.txt"_s));
    mark(DocumentState::Document::List);
    w->documentState->setSaveListCaption(u"Save RSS Channel"_s);
    boxes.expect(u"RSS channels cannot be saved"_s, vbOK);
    w->mnuFileSaveList_Click();
    EXPECT_FALSE(QFile::exists(path(u"notes.txt"_s)));
    w->documentState->setTreePath(path(u"birds.kqs"_s));
    w->mnuFileSaveList_Click();
    EXPECT_EQ(read(path(u"birds.kqs"_s)), kCatsList);
    EXPECT_EQ(panel2() + tag2(), u"ReadyList"_s);
}

TEST_F(FileSaveTest, SaveAsPageWritesACopyUnderTheBrowsersPageName) {
    open(write(u"news/today.htm"_s, kPage));
    const QString index = openPage(u"index.htm"_s, u"Edited"_s);
    w->FilePath = index;
    const QString copy = path(u"Kopie \"neu\" é.htm"_s);
    dialogs.cancel().choose(copy).choose(folderAt(u"folder.htm"_s));
    EXPECT_FALSE(w->mnuFileSaveAs_Click(1));
    EXPECT_EQ(w->FilePath, path(u"today.htm"_s));
    EXPECT_TRUE(w->mnuFileSaveAs_Click(1));
    EXPECT_EQ(read(copy), pageTitled("Edited"));
    EXPECT_EQ(read(index), kPage);
    EXPECT_EQ(w->documentState->currentHTMLFile(), copy);
    mark(DocumentState::Document::Record);
    boxes.expect(u"Error saving file: "_s, vbOK);
    EXPECT_FALSE(w->mnuFileSaveAs_Click(1));  // a folder chosen as the file
    EXPECT_EQ(panel2(), u"Modified"_s);

    // The save question relies on the outcome: a cancelled Save As stops its caller.
    w->documentState->setCurrentHTMLFile(QString());
    boxes.expect(kSave, vbYes).expect(kSave, vbYes);
    dialogs.cancel().choose(path(u"kept.htm"_s));
    EXPECT_EQ(w->saveHtmlCheck(), vbCancel);
    EXPECT_EQ(w->saveHtmlCheck(), vbYes);
    EXPECT_EQ(read(path(u"kept.htm"_s)), pageTitled("Edited"));
}

TEST_F(FileSaveTest, SaveAsTemplateSchemeAndCatalogue) {
    w->addRecordLine({u"DC.Title"_s, u"Template & more"_s, u"en"_s, {}});
    w->BatchPath = u"bare.kqb"_s;
    const QString file = path(u"my template.kqb"_s);
    dialogs.choose(path(u"my template"_s)).choose(file);
    boxes.expect(u"Do you want to add this template to the next available FKey?"_s, vbNo)
        .expect(u"FKey?"_s, vbYes)
        .expect(u"mtp://addmacro=mtp://"_s + file + u"&text=Load Macro from Disk.kqb"_s, vbOK);
    EXPECT_TRUE(w->mnuFileSaveAs_Click(3));
    EXPECT_TRUE(read(file).startsWith("mtp://field=DC.Title&content=Template & more&lang=en.fld/\r\n"));
    EXPECT_TRUE(w->mnuFileSaveAs_Click(3));

    makeList(u"Scheme"_s);
    w->documentState->setTreePath(u"Untitled"_s);
    mark(DocumentState::Document::List);  // enables the list items
    const QString scheme = path(u"Vögel & Fische.kqs"_s);
    const QString catalogue = write(u"sites.kqi"_s, "Old|http://old.example/\r\n");
    dialogs.choose(scheme).cancel().choose(catalogue);
    w->mnuFileSaveAs(4)->trigger();
    EXPECT_EQ(read(scheme), kCatsList);
    EXPECT_FALSE(w->mnuFileSaveAs_Click(5));
    EXPECT_EQ(w->documentState->TreePath(), scheme);
    EXPECT_TRUE(w->mnuFileSaveAs_Click(5));
    EXPECT_EQ(read(catalogue), kCatsList);
    EXPECT_EQ(w->mnuFileSave->text(), u"Save Catalog to "_s + catalogue);  // Save goes to the file written last
}

TEST_F(FileSaveTest, PrintAndCheckForHarvestList) {
    boxes.expect(u"The Print command is currently disabled."_s, vbOK).expect(u"Print command Error: Out of paper"_s, vbOK);
    w->mnuFilePrint->trigger();
    open(write(u"print.htm"_s, kPage));
    w->mnuFilePrint->trigger();  // the user is asked for the printer
    browser().failNextPrint(u"Out of paper"_s);
    w->Toolbar1_ButtonClick(8);
    EXPECT_EQ(browser().printRequests(), QList<int>({platform::OLECMDEXECOPT_PROMPTUSER}));

    CommandRecorder recorder;
    for (const char* address : {"HTTP://www.site.example/a/b.htm", "https://secure.example/x", "www.host.example"}) {
        w->URL->setEditText(QLatin1String(address));
        w->mnuFileCheckHarvest->trigger();
    }
    EXPECT_EQ(recorder.commands,
              QStringList({"mtp://loadHCL=www.site.example/meta/.kqi", "mtp://loadHCL=https://secure.example/meta/.kqi",
                           "mtp://loadHCL=meta/.kqi"}));
}

// A whole session: a page opened from the File menu, edited, saved, then a further edit
// saved or thrown away on Exit.
TEST_F(FileSaveTest, OpenEditSaveAndExit) {
    for (const int answer : {vbYes, vbNo}) {
        Preferences::UseLinkRel = u"N"_s;
        w->show();
        const QString page = write(u"Seite mit Leerzeichen.htm"_s, kPage);
        dialogs.choose(page);
        w->mnuFileOpenIdx(1)->trigger();
        browser().settle();
        ASSERT_EQ(w->MetaPanel->Count(), 1);
        editLine(1);
        EXPECT_EQ(w->editNrmlContent->text(), u"Old title"_s);
        w->editNrmlContent->setText(u"New “title” é"_s);
        EXPECT_EQ(panel2(), u"Modified"_s);
        w->mnuFileSave->trigger();
        EXPECT_EQ(read(page), pageTitled("New \xE2\x80\x9Ctitle\xE2\x80\x9D &eacute;"));
        EXPECT_EQ(panel2(), u"Ready"_s);
        w->editNrmlContent->setText(u"Second thoughts"_s);
        boxes.expect(kSave, vbCancel).expect(kSave, answer);
        w->mnuFileExit->trigger();
        EXPECT_TRUE(w->isVisible());
        w->mnuFileExit->trigger();
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(read(page).contains("Second thoughts"), answer == vbYes);
    }
}

}  // namespace
