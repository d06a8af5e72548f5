// File > Save, Save As, Save Subject Index, Print, Check for Harvest Control List and Exit,
// through the real command dispatcher.
#include "FileMenuTestSupport.h"

#include "commands/modMTP.h"
#include "support/CommandRecorder.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>

using platform::vbCancel;
using platform::vbNo;
using platform::vbOK;
using platform::vbYes;
using testing_support::CommandRecorder;

namespace {

class FileSaveTest : public FileMenuTest {
protected:
    void SetUp() override { modMTP::loggingOn = false; }
    QString folderAt(const QString& name) const {
        EXPECT_TRUE(QDir().mkpath(path(name)));
        return path(name);
    }
};

const QString kSaveFirst = QStringLiteral("Save the metadata edits in the metapanel first?");
const QString kListWriteFailed = QStringLiteral("Check that the file or the file system are not read only");

TEST_F(FileSaveTest, SaveWritesTheRecordIntoItsPageAndAsksWhenNothingChanged) {
    const QString page = openPage(QStringLiteral("my page.htm"), QStringLiteral("New “title” é"));
    w->mnuFileSave->trigger();
    EXPECT_EQ(read(page), kHeadStart + "<META NAME=\"DC.Title\" CONTENT=\"New \xE2\x80\x9Ctitle\xE2\x80\x9D &eacute;\">\r\n" + kTail);
    EXPECT_EQ(panel2() + tag2(), QStringLiteral("ReadyRecord"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record to ") + page);
    EXPECT_TRUE(dialogs.requests().isEmpty());

    write(QStringLiteral("my page.htm"), kPage);
    boxes.expect(QStringLiteral("Nothing has changed in the Record. Continue Anyway?"), vbNo);
    boxes.expect(QStringLiteral("Nothing has changed in the Record. Continue Anyway?"), vbYes);
    w->mnuFileSave_Click();
    EXPECT_EQ(boxes.shown().last().style, platform::vbYesNo);
    EXPECT_EQ(read(page), kPage);
    w->mnuFileSave_Click();
    EXPECT_FALSE(read(page).contains("Old title"));

    // A Save arriving while another runs only clears the flag.
    mark("Record");
    write(QStringLiteral("my page.htm"), kPage);
    w->fileMenuBusy = true;
    w->mnuFileSave_Click();
    EXPECT_FALSE(w->fileMenuBusy);
    EXPECT_EQ(read(page), kPage);
}

TEST_F(FileSaveTest, ARecordWithoutAFileGoesToTheRepositoryOrToAChosenFile) {
    CommandRecorder recorder;
    const QString page = openPage(QStringLiteral("from web.htm"), QStringLiteral("Web title"));
    w->currentHTMLFile.clear();
    modMacros::saveRecordMacro = QStringLiteral("mtp://cgisend=http://repo.example/save.kqb");
    w->mnuFileSave_Click();
    EXPECT_EQ(recorder.commands, QStringList({modMacros::saveRecordMacro}));
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));  // the repository's reply settles the mark

    modMacros::saveRecordMacro.clear();
    w->FilePath = page;
    const QString chosen = path(QStringLiteral("Größe \"quoted\" ü"));  // the filter's extension is added
    dialogs.cancel().choose(chosen);
    w->mnuFileSave_Click();
    EXPECT_EQ(dialogs.requests().last().filterIndex, 1);
    EXPECT_EQ(dialogs.requests().last().proposedName, QStringLiteral("from web.htm"));
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));  // cancelled: nothing written, nothing lost
    w->mnuFileSave_Click();
    const QString written = chosen + QStringLiteral(".htm");
    EXPECT_TRUE(read(written).contains("CONTENT=\"Web title\"") && read(written).endsWith(kTail));
    EXPECT_EQ(w->currentHTMLFile + w->FilePath, written + written);
    EXPECT_EQ(panel2() + tag2(), QStringLiteral("ReadyRecord"));
    EXPECT_EQ(read(page), kPage);
}

TEST_F(FileSaveTest, AVanishedFileOrAFailedWriteLeavesTheRecordModified) {
    const QString page = openPage(QStringLiteral("gone.htm"), QStringLiteral("Edits"));
    ASSERT_TRUE(QFile::remove(page));
    const QString folder = folderAt(QStringLiteral("taken.htm"));
    dialogs.choose(folder).choose(path(QStringLiteral("no such folder/x.htm")));
    for (int i = 0; i < 3; ++i) boxes.expect(QStringLiteral("Error saving file: "), vbOK);
    w->mnuFileSave_Click();  // a folder chosen as the file
    w->mnuFileSave_Click();  // a folder that is not there
    w->currentHTMLFile = folder;
    w->mnuFileSave_Click();  // a folder where the record's file was
    EXPECT_EQ(panel2() + tag2(), QStringLiteral("ModifiedRecord"));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFile::exists(page));
}

TEST_F(FileSaveTest, ListsAreSavedByTheirKind) {
    CommandRecorder recorder;
    modMacros::saveCatalogMacro = QStringLiteral("mtp://cgisendList=http://repo.example/cat.kqb");
    makeList(QStringLiteral("RSS"));
    w->TreePath = QStringLiteral("Main Catalog.kqi");
    mark("List");
    w->mnuFileSave_Click();
    EXPECT_EQ(recorder.commands, QStringList({modMacros::saveCatalogMacro}));

    w->TreePath = path(QStringLiteral("site.kqi"));
    makeList(QStringLiteral("RSS Harvest Control List"));
    boxes.expect(QStringLiteral("Harvest Control Lists cannot be saved"), vbOK);
    w->mnuFileSave_Click();
    makeList(QStringLiteral("rss"));
    const QString caption = w->mnuFileSave->text();
    boxes.expect(QStringLiteral("RSS channels cannot be saved"), vbOK);
    w->mnuFileSave_Click();
    EXPECT_EQ(w->mnuFileSave->text(), caption);
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));

    makeList(QStringLiteral("Catalog"));
    w->mnuFileSave_Click();
    EXPECT_EQ(read(w->TreePath), kCatsList);
    EXPECT_EQ(panel2() + tag2(), QStringLiteral("ReadyList"));

    w->TreePath = QStringLiteral("Untitled");  // neither kind: nothing to do
    mark("List");
    w->mnuFileSave_Click();
    tree().Clear();
    w->TreePath = path(QStringLiteral("site.kqi"));
    boxes.expect(QStringLiteral("There is no list in the tree to save."), vbOK);
    w->mnuFileSave_Click();
    EXPECT_EQ(read(w->TreePath), kCatsList);
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    EXPECT_TRUE(dialogs.requests().isEmpty());
    EXPECT_EQ(recorder.commands.size(), 1);
}

TEST_F(FileSaveTest, AListWithoutAFullPathIsSavedUnderAChosenName) {
    makeList(QString());
    w->TreePath = QStringLiteral("Subjects.kqi");
    mark("List");
    const QString chosen = path(QStringLiteral("Schlagwörter"));
    dialogs.cancel().choose(chosen);
    w->mnuFileSave_Click();
    EXPECT_EQ(dialogs.requests().last().proposedName, QStringLiteral("Untitled.kqi"));
    EXPECT_EQ(w->TreePath, QStringLiteral("Subjects.kqi"));  // the next Save still knows the list
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));

    makeList(QStringLiteral("Scheme"));  // a list read from the web: a kind, but only an extension
    w->TreePath = QStringLiteral(".kqs");
    w->mnuFileSave_Click();
    EXPECT_EQ(dialogs.requests().last().filterIndex, 2);
    EXPECT_EQ(w->TreePath, chosen + QStringLiteral(".kqs"));
    EXPECT_EQ(read(w->TreePath), kCatsList);
    EXPECT_EQ(panel2() + tag2(), QStringLiteral("ReadyList"));

    w->TreePath = folderAt(QStringLiteral("taken.kqi"));
    mark("List");
    boxes.expect(kListWriteFailed, vbOK);
    w->mnuFileSave_Click();
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
}

TEST_F(FileSaveTest, SaveSubjectIndexWritesOnlyListFiles) {
    makeList(QStringLiteral("Scheme"));
    w->TreePath = path(QStringLiteral("notes.txt"));
    mark("List");
    w->mnuFileSaveList_Click();  // neither kind, and no RSS caption
    w->mnuFileSaveList->setText(QStringLiteral("Save RSS Channel"));
    boxes.expect(QStringLiteral("RSS channels cannot be saved"), vbOK);
    w->mnuFileSaveList_Click();
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));

    w->TreePath = path(QStringLiteral("birds.kqs"));
    w->mnuFileSaveList_Click();
    EXPECT_EQ(read(w->TreePath), kCatsList);
    EXPECT_EQ(panel2() + tag2(), QStringLiteral("ReadyList"));
    tree().Clear();  // an empty tree leaves the file alone
    w->mnuFileSaveList_Click();
    EXPECT_EQ(read(w->TreePath), kCatsList);

    makeList(QString());
    w->TreePath = QStringLiteral("x.kqs.kqi");
    dialogs.cancel();
    w->mnuFileSaveList_Click();
    EXPECT_EQ(dialogs.requests().last().filterIndex, 2);  // the scheme kind is looked for first here
    EXPECT_EQ(w->TreePath, QStringLiteral("x.kqs.kqi"));
}

TEST_F(FileSaveTest, SaveAsPageProposesTheBrowsersPageName) {
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("news"))));
    w->URL->setEditText(write(QStringLiteral("news/today.htm"), kPage));
    w->LoadURLFromLocation();
    browser().settle();
    const QString index = openPage(QStringLiteral("index.htm"), QStringLiteral("Edited"));
    w->FilePath = index;
    const QString copy = path(QStringLiteral("Kopie \"neu\" é.htm"));
    dialogs.cancel().choose(copy).choose(folderAt(QStringLiteral("folder.htm")));
    EXPECT_FALSE(w->mnuFileSaveAs_Click(1));
    EXPECT_EQ(w->FilePath, path(QStringLiteral("today.htm")));
    EXPECT_TRUE(w->mnuFileSaveAs_Click(1));
    EXPECT_EQ(read(copy), kHeadStart + "<META NAME=\"DC.Title\" CONTENT=\"Edited\">\r\n" + kTail);
    EXPECT_EQ(read(index), kPage);
    EXPECT_EQ(w->currentHTMLFile + w->FilePath, copy + copy);
    EXPECT_EQ(panel2(), QStringLiteral("Ready"));

    mark("Record");
    boxes.expect(QStringLiteral("Error saving file: "), vbOK);
    EXPECT_FALSE(w->mnuFileSaveAs_Click(1));  // a folder chosen as the file
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));

    // The save question relies on the outcome: a cancelled Save As stops its caller.
    w->currentHTMLFile.clear();
    boxes.expect(kSaveFirst, vbYes).expect(kSaveFirst, vbYes);
    dialogs.cancel().choose(path(QStringLiteral("kept.htm")));
    EXPECT_EQ(w->saveHtmlCheck(), vbCancel);
    EXPECT_EQ(w->saveHtmlCheck(), vbYes);
    EXPECT_TRUE(read(path(QStringLiteral("kept.htm"))).contains("CONTENT=\"Edited\""));
}

TEST_F(FileSaveTest, SaveAsTemplateSchemeAndCatalogue) {
    w->addRecordLine({QStringLiteral("DC.Title"), QStringLiteral("Template & more"), QStringLiteral("en"), {}});
    w->BatchPath = QStringLiteral("bare.kqb");
    const QString file = path(QStringLiteral("my template.kqb"));
    dialogs.choose(path(QStringLiteral("my template"))).choose(file).choose(folderAt(QStringLiteral("taken.kqb")));
    boxes.expect(QStringLiteral("Do you want to add this template to the next available FKey?"), vbNo)
        .expect(QStringLiteral("FKey?"), vbYes)
        .expect(QStringLiteral("mtp://addmacro=mtp://") + file + QStringLiteral("&text=Load Macro from Disk.kqb"), vbOK)
        .expect(kListWriteFailed, vbOK);
    const QString caption = w->mnuFileSave->text();
    EXPECT_TRUE(w->mnuFileSaveAs_Click(3));
    EXPECT_EQ(dialogs.requests().last().proposedName, QStringLiteral("Untitled.kqb"));
    EXPECT_EQ(boxes.shown().last().title, QStringLiteral("Assign to an FKEY?"));
    EXPECT_TRUE(read(file).startsWith("mtp://field=DC.Title&content=Template & more&lang=en.fld/\r\n"));
    EXPECT_EQ(w->mnuFileSave->text(), caption);
    EXPECT_TRUE(w->mnuFileSaveAs_Click(3));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Template to ") + file);
    EXPECT_FALSE(w->mnuFileSaveAs_Click(3));  // not written: no key offered

    makeList(QStringLiteral("Scheme"));
    w->TreePath = QStringLiteral("Untitled");
    mark("List");
    const QString scheme = path(QStringLiteral("Vögel & Fische.kqs"));
    const QString catalogue = write(QStringLiteral("sites.kqi"), "Old|http://old.example/\r\n");
    dialogs.choose(scheme).cancel().choose(catalogue).choose(folderAt(QStringLiteral("taken.kqi")));
    w->mnuFileSaveAs(4)->trigger();
    EXPECT_EQ(dialogs.requests().last().proposedName, QStringLiteral("Untitled.kqs"));
    EXPECT_EQ(read(scheme), kCatsList);
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Scheme to ") + scheme);
    EXPECT_FALSE(w->mnuFileSaveAs_Click(5));
    EXPECT_EQ(w->TreePath, scheme);
    EXPECT_TRUE(w->mnuFileSaveAs_Click(5));
    EXPECT_EQ(read(catalogue), kCatsList);
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Catalog to ") + catalogue);
    mark("List");
    boxes.expect(kListWriteFailed, vbOK);
    EXPECT_FALSE(w->mnuFileSaveAs_Click(5));
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Catalog to ") + catalogue);
}

TEST_F(FileSaveTest, SaveAsRepositoryHarvestListAndChannel) {
    CommandRecorder recorder;
    boxes.expect(QStringLiteral("No Quorvantile Repository has been linked to this Karvold."), vbOK);
    EXPECT_FALSE(w->mnuFileSaveAs_Click(2));
    modMacros::saveRecordMacro = QStringLiteral("mtp://cgisend=http://repo.example/save.kqb");
    w->mnuFileSaveAs(2)->trigger();
    EXPECT_EQ(recorder.commands, QStringList({modMacros::saveRecordMacro}));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record to Quorvantile Repository"));

    boxes.expect(QStringLiteral("Harvest Control Lists cannot be saved"), vbOK);
    w->mnuFileSaveAs_Click(6);
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Harvest Control List to "));
    w->TreePath = path(QStringLiteral("list.kqi"));
    boxes.expect(QStringLiteral("RSS channels cannot be saved"), vbOK);
    EXPECT_FALSE(w->mnuFileSaveAs_Click(7));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Harvest Control List to "));
    EXPECT_EQ(w->TreePath, path(QStringLiteral("list.kqi")));
}

TEST_F(FileSaveTest, PrintAndCheckForHarvestList) {
    boxes.expect(QStringLiteral("The Print command is currently disabled."), vbOK);
    w->mnuFilePrint->trigger();
    w->URL->setEditText(write(QStringLiteral("print.htm"), kPage));
    w->LoadURLFromLocation();
    browser().settle();
    w->mnuFilePrint->trigger();
    browser().failNextPrint(QStringLiteral("Out of paper"));
    boxes.expect(QStringLiteral("Print command Error: Out of paper"), vbOK);
    w->Toolbar1_ButtonClick(8);
    EXPECT_EQ(browser().printRequests(), QList<int>({platform::OLECMDEXECOPT_PROMPTUSER}));

    CommandRecorder recorder;
    w->mnuFileSaveAs(7)->setEnabled(false);
    for (const char* address : {"HTTP://www.site.example/a/b.htm", "https://secure.example/x", "www.host.example"}) {
        w->URL->setEditText(QLatin1String(address));
        w->mnuFileCheckHarvest->trigger();
    }
    EXPECT_EQ(recorder.commands, QStringList({QStringLiteral("mtp://loadHCL=www.site.example/meta/.kqi"),
                                              QStringLiteral("mtp://loadHCL=https://secure.example/meta/.kqi"),
                                              QStringLiteral("mtp://loadHCL=meta/.kqi")}));
    EXPECT_TRUE(w->mnuFileSaveAs(7)->isEnabled());
}

// A whole session: a page opened from the File menu, edited in the edit panel, saved, and
// left with a further edit unsaved.
TEST_F(FileSaveTest, OpenEditSaveAndExit) {
    Preferences::UseLinkRel = QStringLiteral("N");
    w->show();
    const QString page = write(QStringLiteral("Seite mit Leerzeichen.htm"), kPage);
    dialogs.choose(page);
    w->mnuFileOpenIdx(1)->trigger();
    browser().settle();
    ASSERT_EQ(w->MetaPanel->Count(), 1);
    EXPECT_EQ(w->currentHTMLFile, page);
    w->MetaPanel->setSelectedItem(w->MetaPanel->Item(1));
    w->editCurrentLine();
    EXPECT_EQ(w->editNrmlContent->text(), QStringLiteral("Old title"));
    w->editNrmlContent->setText(QStringLiteral("Fresh title"));
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    w->mnuFileSave->trigger();
    EXPECT_EQ(read(page), kHeadStart + "<META NAME=\"DC.Title\" CONTENT=\"Fresh title\">\r\n" + kTail);
    EXPECT_EQ(panel2(), QStringLiteral("Ready"));

    w->editNrmlContent->setText(QStringLiteral("Second thoughts"));
    boxes.expect(kSaveFirst, vbCancel).expect(kSaveFirst, vbYes);
    w->mnuFileExit->trigger();
    EXPECT_TRUE(w->isVisible());
    w->mnuFileExit->trigger();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(read(page).contains("CONTENT=\"Second thoughts\""));
}

TEST_F(FileSaveTest, ExitWithNoLeavesThePageAsItWas) {
    w->show();
    const QString page = openPage(QStringLiteral("exit.htm"), QStringLiteral("Thrown away"));
    boxes.expect(kSaveFirst, vbNo);
    w->mnuFileExit_Click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(read(page), kPage);
}

}  // namespace
