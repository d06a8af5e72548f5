#include "FileMenuTestSupport.h"

#include "support/CommandRecorder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>

using platform::vbCancel;
using platform::vbNo;
using platform::vbOK;
using platform::vbYes;
using testing_support::CommandRecorder;

namespace {

using FileSaveTest = FileMenuTest;

// ---- the record ----------------------------------------------------------------------

TEST_F(FileSaveTest, TheEditedRecordGoesIntoItsPage) {
    const QString page = openPage(QStringLiteral("my page.htm"), QStringLiteral("New “title” é"));
    w->mnuFileSave->trigger();
    const QByteArray saved = read(page);
    EXPECT_TRUE(saved.startsWith(kHeadStart));
    EXPECT_TRUE(saved.endsWith(kTail));
    EXPECT_TRUE(saved.contains("<META NAME=\"DC.Title\" CONTENT=\"New \xE2\x80\x9Ctitle\xE2\x80\x9D &eacute;\">"));
    EXPECT_FALSE(saved.contains("Old title"));
    EXPECT_EQ(panel2(), QStringLiteral("Ready"));
    EXPECT_EQ(tag2(), QStringLiteral("Record"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record to ") + page);
    EXPECT_FALSE(w->fileMenuBusy);
    EXPECT_TRUE(dialogs.requests().isEmpty());

    // Unchanged now: the question comes first, and only Yes writes.
    QFile::remove(page);
    write(QStringLiteral("my page.htm"), kPage);
    boxes.expect(QStringLiteral("Nothing has changed in the Record. Continue Anyway?"), vbNo);
    w->mnuFileSave_Click();
    EXPECT_EQ(boxes.shown().last().style, platform::vbYesNo);
    EXPECT_EQ(read(page), kPage);
    EXPECT_FALSE(w->fileMenuBusy);
    boxes.expect(QStringLiteral("Nothing has changed in the Record. Continue Anyway?"), vbYes);
    w->mnuFileSave_Click();
    EXPECT_TRUE(read(page).contains("title"));
    EXPECT_FALSE(read(page).contains("Old title"));
}

TEST_F(FileSaveTest, ARecordWithoutAFileGoesToTheRepositoryOrToAChosenFile) {
    CommandRecorder recorder;
    const QString page = openPage(QStringLiteral("from web.htm"), QStringLiteral("Web title"));
    w->currentHTMLFile.clear();
    modMacros::saveRecordMacro = QStringLiteral("mtp://cgisend=http://repo.example/save.kqb");
    w->mnuFileSave_Click();
    EXPECT_EQ(recorder.commands, QStringList({modMacros::saveRecordMacro}));
    EXPECT_TRUE(dialogs.requests().isEmpty());
    // The repository's reply settles the mark, not the request.
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));

    modMacros::saveRecordMacro.clear();
    w->FilePath = page;
    dialogs.cancel();
    w->mnuFileSave_Click();
    EXPECT_EQ(dialogs.requests().last().filterIndex, 1);
    EXPECT_EQ(dialogs.requests().last().proposedName, QStringLiteral("from web.htm"));
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));  // nothing written, nothing lost
    EXPECT_TRUE(w->currentHTMLFile.isEmpty());
    EXPECT_EQ(read(page), kPage);

    const QString chosen = path(QStringLiteral("Größe \"quoted\" ü"));  // no extension: the filter's is added
    dialogs.choose(chosen);
    w->mnuFileSave_Click();
    const QString written = chosen + QStringLiteral(".htm");
    EXPECT_TRUE(read(written).contains("Web title"));
    EXPECT_TRUE(read(written).endsWith(kTail));
    EXPECT_EQ(w->currentHTMLFile, written);
    EXPECT_EQ(w->FilePath, written);
    EXPECT_EQ(panel2(), QStringLiteral("Ready"));
    EXPECT_EQ(tag2(), QStringLiteral("Record"));
    EXPECT_EQ(read(page), kPage);
}

TEST_F(FileSaveTest, AVanishedFileOrAFailedWriteLeavesTheRecordModified) {
    const QString page = openPage(QStringLiteral("gone.htm"), QStringLiteral("Edits"));
    ASSERT_TRUE(QFile::remove(page));
    const QString folder = path(QStringLiteral("taken.htm"));
    ASSERT_TRUE(QDir().mkpath(folder));
    dialogs.choose(folder).choose(path(QStringLiteral("no such folder/x.htm")));
    boxes.expect(QStringLiteral("Error saving file: "), vbOK).expect(QStringLiteral("Error saving file: "), vbOK);
    w->mnuFileSave_Click();  // a folder chosen as the file
    w->mnuFileSave_Click();  // a folder that is not there
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    EXPECT_EQ(tag2(), QStringLiteral("Record"));
    EXPECT_EQ(w->currentHTMLFile, page);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(QFile::exists(page));

    // The same with the folder standing where the record's own file was.
    w->currentHTMLFile = folder;
    boxes.expect(QStringLiteral("Error saving file: "), vbOK);
    w->mnuFileSave_Click();
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
}

TEST_F(FileSaveTest, ASaveArrivingDuringAnotherOnlyClearsTheFlag) {
    const QString page = openPage(QStringLiteral("busy.htm"), QStringLiteral("Edits"));
    w->fileMenuBusy = true;
    w->mnuFileSave_Click();
    EXPECT_FALSE(w->fileMenuBusy);
    EXPECT_EQ(read(page), kPage);
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
}

// ---- lists ---------------------------------------------------------------------------

TEST_F(FileSaveTest, ListsAreSavedByTheirKind) {
    CommandRecorder recorder;
    modMacros::saveCatalogMacro = QStringLiteral("mtp://cgisendList=http://repo.example/cat.kqb");
    makeList(QStringLiteral("RSS"));
    w->TreePath = QStringLiteral("Main Catalog.kqi");
    markList();
    w->mnuFileSave_Click();
    EXPECT_EQ(recorder.commands, QStringList({modMacros::saveCatalogMacro}));
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));

    w->TreePath = path(QStringLiteral("site.kqi"));
    makeList(QStringLiteral("RSS Harvest Control List"));
    boxes.expect(QStringLiteral("Harvest Control Lists cannot be saved"), vbOK);
    w->mnuFileSave_Click();
    makeList(QStringLiteral("rss"));
    const QString caption = w->mnuFileSave->text();
    boxes.expect(QStringLiteral("RSS channels cannot be saved"), vbOK);
    w->mnuFileSave_Click();
    EXPECT_EQ(w->mnuFileSave->text(), caption);  // nothing written, caption unchanged
    EXPECT_FALSE(QFile::exists(w->TreePath));
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    EXPECT_EQ(recorder.commands.size(), 1);

    makeList(QStringLiteral("Catalog"));
    w->mnuFileSave_Click();
    EXPECT_EQ(read(w->TreePath), kCatsList);
    EXPECT_EQ(panel2(), QStringLiteral("Ready"));
    EXPECT_EQ(tag2(), QStringLiteral("List"));
    EXPECT_TRUE(dialogs.requests().isEmpty());

    // Neither a catalogue nor a scheme list: nothing to do.
    w->TreePath = QStringLiteral("Untitled");
    markList();
    w->mnuFileSave_Click();
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));

    tree().Clear();
    w->TreePath = path(QStringLiteral("site.kqi"));
    boxes.expect(QStringLiteral("There is no list in the tree to save."), vbOK);
    w->mnuFileSave_Click();
    EXPECT_EQ(read(w->TreePath), kCatsList);
    EXPECT_FALSE(w->fileMenuBusy);
}

TEST_F(FileSaveTest, AListWithoutAFullPathIsSavedUnderAChosenName) {
    makeList(QString());
    w->TreePath = QStringLiteral("Subjects.kqi");
    markList();
    dialogs.cancel();
    w->mnuFileSave_Click();
    EXPECT_EQ(dialogs.requests().last().filterIndex, 3);
    EXPECT_EQ(dialogs.requests().last().proposedName, QStringLiteral("Untitled.kqi"));
    EXPECT_EQ(w->TreePath, QStringLiteral("Subjects.kqi"));  // the next Save still knows the list
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));

    // A read list with a kind but only an extension as its path is asked for too.
    makeList(QStringLiteral("Scheme"));
    w->TreePath = QStringLiteral(".kqs");
    const QString chosen = path(QStringLiteral("Schlagwörter"));
    dialogs.choose(chosen);
    w->mnuFileSave_Click();
    EXPECT_EQ(dialogs.requests().last().filterIndex, 2);
    EXPECT_EQ(w->TreePath, chosen + QStringLiteral(".kqs"));
    EXPECT_EQ(read(w->TreePath), kCatsList);
    EXPECT_EQ(panel2(), QStringLiteral("Ready"));
    EXPECT_EQ(tag2(), QStringLiteral("List"));
}

TEST_F(FileSaveTest, AFailedListWriteKeepsTheOldFileAndTheMark) {
    makeList(QStringLiteral("Catalog"));
    const QString target = path(QStringLiteral("taken.kqi"));
    ASSERT_TRUE(QDir().mkpath(target));
    w->TreePath = target;
    markList();
    boxes.expect(QStringLiteral("Check that the file or the file system are not read only"), vbOK);
    w->mnuFileSave_Click();
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    EXPECT_TRUE(QFileInfo(target).isDir());
}

TEST_F(FileSaveTest, SaveSubjectIndexWritesOnlyListFiles) {
    makeList(QStringLiteral("Scheme"));
    w->TreePath = path(QStringLiteral("notes.txt"));
    markList();
    w->mnuFileSaveList_Click();  // neither kind, and not an RSS caption
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    w->mnuFileSaveList->setText(QStringLiteral("Save RSS Channel"));
    boxes.expect(QStringLiteral("RSS channels cannot be saved"), vbOK);
    w->mnuFileSaveList_Click();

    w->TreePath = path(QStringLiteral("birds.kqs"));
    w->mnuFileSaveList_Click();
    EXPECT_EQ(read(w->TreePath), kCatsList);
    EXPECT_EQ(panel2(), QStringLiteral("Ready"));
    EXPECT_EQ(tag2(), QStringLiteral("List"));

    makeList(QString());
    w->TreePath = QStringLiteral("x.kqs.kqi");
    dialogs.cancel();
    w->mnuFileSaveList_Click();
    EXPECT_EQ(dialogs.requests().last().filterIndex, 2);  // the scheme kind is looked for first here
    EXPECT_EQ(w->TreePath, QStringLiteral("x.kqs.kqi"));

    tree().Clear();  // an empty tree leaves the file alone
    w->TreePath = path(QStringLiteral("birds.kqs"));
    w->mnuFileSaveList_Click();
    EXPECT_EQ(read(w->TreePath), kCatsList);
}

// ---- Print, Check for Harvest Control List, Exit ----------------------------------------

TEST_F(FileSaveTest, PrintGoesThroughTheBrowsersPrintDialog) {
    boxes.expect(QStringLiteral("The Print command is currently disabled."), vbOK);
    w->mnuFilePrint->trigger();
    EXPECT_TRUE(browser().printRequests().isEmpty());

    const QString page = write(QStringLiteral("print.htm"), kPage);
    w->URL->setEditText(page);
    w->LoadURLFromLocation();
    browser().settle();
    w->mnuFilePrint->trigger();
    EXPECT_EQ(browser().printRequests(), QList<int>({platform::OLECMDEXECOPT_PROMPTUSER}));

    browser().failNextPrint(QStringLiteral("Out of paper"));
    boxes.expect(QStringLiteral("Print command Error: Out of paper"), vbOK);
    w->Toolbar1_ButtonClick(8);
    EXPECT_EQ(browser().printRequests().size(), 1);
}

TEST_F(FileSaveTest, CheckForHarvestListLooksInTheSitesMetaFolder) {
    CommandRecorder recorder;
    w->mnuFileSaveAs(7)->setEnabled(false);
    for (const char* address : {"HTTP://www.site.example/a/b.htm", "https://secure.example/x", "www.host.example",
                                "/home/ann/page.htm"}) {
        w->URL->setEditText(QLatin1String(address));
        w->mnuFileCheckHarvest->trigger();
    }
    EXPECT_EQ(recorder.commands, QStringList({
                                     QStringLiteral("mtp://loadHCL=www.site.example/meta/.kqi"),
                                     QStringLiteral("mtp://loadHCL=https://secure.example/meta/.kqi"),
                                     QStringLiteral("mtp://loadHCL=meta/.kqi"),
                                     QStringLiteral("mtp://loadHCL=/meta/.kqi"),
                                 }));
    EXPECT_TRUE(w->mnuFileSaveAs(7)->isEnabled());
}

TEST_F(FileSaveTest, ExitOffersToSaveTheRecord) {
    w->show();
    const QString page = openPage(QStringLiteral("exit.htm"), QStringLiteral("Last words"));
    boxes.expect(QStringLiteral("Save the metadata edits in the metapanel first?"), vbCancel);
    w->mnuFileExit->trigger();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(read(page), kPage);

    boxes.expect(QStringLiteral("Save the metadata edits in the metapanel first?"), vbYes);
    w->mnuFileExit->trigger();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(read(page).contains("Last words"));
}

TEST_F(FileSaveTest, ExitWithNoLeavesThePageAsItWas) {
    w->show();
    const QString page = openPage(QStringLiteral("exit.htm"), QStringLiteral("Thrown away"));
    boxes.expect(QStringLiteral("Save the metadata edits in the metapanel first?"), vbNo);
    w->mnuFileExit_Click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(read(page), kPage);
}

}  // namespace
