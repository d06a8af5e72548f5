#include "FileMenuTestSupport.h"

#include "app/modMetaMain.h"
#include "platform/Process.h"
#include "support/CommandRecorder.h"
#include "support/ListTrees.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QMimeData>
#include <QUrl>

using platform::vbCancel;
using platform::vbNo;
using platform::vbOK;
using platform::vbYes;

namespace {

class FileNewOpenTest : public FileMenuTest {
protected:
    testing_support::CommandRecorder recorder;
    QList<QStringList> started;
    void SetUp() override {
        platform::setProcessStarter([this](const QString& program, const QStringList& args) {
            started << (QStringList{program} + args);
            return true;
        });
    }
    void TearDown() override {
        platform::setProcessStarter({});
        FileMenuTest::TearDown();
    }
    // The root as "text [tag] image/selected key".
    QString root() const {
        const platform::Node* n = tree().Item(1);
        return n ? QStringLiteral("%1 [%2] %3/%4 %5").arg(n->Text(), n->Tag()).arg(n->Image()).arg(n->SelectedImage()).arg(n->Key())
                 : QStringLiteral("<none>");
    }
};

TEST_F(FileNewOpenTest, NewRecordsAskToSaveTheEditedRecordFirst) {
    Preferences::FileNewURL = QStringLiteral("mtp://open=template.kqb/");
    const QString page = openPage(QStringLiteral("page.htm"), QStringLiteral("Edited title"));
    boxes.expect(QStringLiteral("Save the metadata edits in the metapanel first?"), vbCancel);
    w->mnuFileNew(1)->trigger();
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(read(page), kPage);

    boxes.expect(QStringLiteral("Save the metadata edits in the metapanel first?"), vbYes);
    w->mnuFileNew(1)->trigger();
    const QByteArray saved = read(page);
    EXPECT_TRUE(saved.contains("CONTENT=\"Edited title\"") && saved.startsWith(kHeadStart) && saved.endsWith(kTail));
    EXPECT_EQ(recorder.commands, QStringList({QStringLiteral("mtp://delete=all.fld"), Preferences::FileNewURL}));

    // Without a repository nothing is replaced, so nothing is asked.
    recorder.commands.clear();
    mark("Record");
    boxes.expect(QStringLiteral("No Quorvantile Repository has been linked to the Karvold. To try this feature contact http://") +
                     modMetaMain::schemeServer, vbOK);
    w->mnuFileNew(2)->trigger();
    modMacros::openRecordMacro = QStringLiteral("mtp://cgisend=http://repo.example/get.kqb");
    boxes.expect(QStringLiteral("Save the metadata edits"), vbNo);
    w->mnuFileNew_Click(2);
    EXPECT_EQ(recorder.commands, QStringList({modMacros::openRecordMacro}));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record to Quorvantile Repository"));
    EXPECT_EQ(panel2(), QString());
}

TEST_F(FileNewOpenTest, NewListsBuildTheirRootsInTheTree) {
    makeList(QStringLiteral("Catalog"));
    w->TreePath = path(QStringLiteral("old.kqi"));
    w->mnuFileNew(3)->trigger();
    EXPECT_EQ(root(), QStringLiteral("RSS Channel [RSS] 5/0 RSS Channel\\"));
    EXPECT_EQ(tree().Count(), 1);
    EXPECT_TRUE(w->TreePath.isEmpty());
    EXPECT_FALSE(tree().isHidden());
    EXPECT_EQ(tag2() + panel2(), QStringLiteral("List"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save RSS Channel"));
    EXPECT_TRUE(w->mnuFileSaveAs(7)->isEnabled());

    // A catalogue under a scheme-list name gets a scheme root; a scheme under another
    // name keeps its kind on a folder root; a name without a dot is the root's whole name.
    dialogs.choose(path(QStringLiteral("terms.kqs")), 2).choose(path(QStringLiteral("my list.v2.kqi")), 3);
    dialogs.choose(path(QStringLiteral("Kataloggrößen")), 6).cancel();
    w->mnuFileNew(5)->trigger();
    EXPECT_EQ(root(), QStringLiteral("terms [Scheme] 5/6 terms\\"));
    EXPECT_EQ(w->mnuFileSaveList->text(), QStringLiteral("Save Scheme"));
    w->mnuFileNew(6)->trigger();
    EXPECT_EQ(root(), QStringLiteral("my list.v2 [Scheme] 1/4 my list.v2\\"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Scheme"));
    w->mnuFileNew_Click(5);
    EXPECT_EQ(root(), QStringLiteral("Kataloggrößen [Catalog] 1/4 Kataloggrößen\\"));
    w->mnuFileNew_Click(6);  // cancelled: the tree stays
    EXPECT_EQ(root(), QStringLiteral("Kataloggrößen [Catalog] 1/4 Kataloggrößen\\"));
    const QList<int> filters = {dialogs.requests()[0].filterIndex, dialogs.requests()[1].filterIndex};
    EXPECT_EQ(filters, QList<int>({3, 2}));
    EXPECT_EQ(dialogs.requests()[0].proposedName, QStringLiteral("Untitled.kqi"));
}

TEST_F(FileNewOpenTest, NewHarvestListGetsItsTenFolders) {
    const QString file = path(QStringLiteral("HCL.htm"));
    w->TreePath = path(QStringLiteral("keep.kqi"));
    dialogs.cancel().choose(file);
    w->mnuFileNew(4)->trigger();  // cancelled: the path stays
    EXPECT_EQ(w->TreePath, path(QStringLiteral("keep.kqi")));
    boxes.expect(QStringLiteral("A number of folders have been placed your new HCL to help you categorise your "
                                "resources. Any unused folders will be deleted when you next save this list"), vbOK);
    w->mnuFileNew(4)->trigger();
    EXPECT_EQ(boxes.shown().last().title, QStringLiteral("Harvest Control List Categories"));
    EXPECT_EQ(root(), QStringLiteral("HCL [Harvest Control List] 1/4 HCL\\"));
    QStringList expected;
    for (const char* name : {"Home Page", "High Profile Topics", "Online Services and Services in Demand",
                             "Government Assistance Programs", "Pages meeting Service Obligations",
                             "Important Formal Publications", "Media Releases", "Links to closely related Entry Points",
                             "Statements of Agency Powers", "About this Agency"})
        expected << QStringLiteral("%1 [] 1/0 HCL\\%1\\").arg(QLatin1String(name));
    EXPECT_EQ(testing_support::treeShape(tree()), expected);
    EXPECT_EQ(w->URL->itemText(0), QStringLiteral("http://loadhcl=") + file + QStringLiteral(".kqi"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Harvest Control List"));
    EXPECT_FALSE(QFile::exists(file));  // only in the tree until it is saved
}

TEST_F(FileNewOpenTest, NewListAsksAboutTheModifiedListAndNewWindowStartsAProcess) {
    makeList(QStringLiteral("Scheme"));
    const QString listFile = path(QStringLiteral("subjects.kqs"));
    w->TreePath = listFile;
    mark("List");
    boxes.expect(QStringLiteral("Save the list changes in the Tree View first?"), vbCancel);
    w->mnuFileNew_Click(6);  // stopped before any dialog
    EXPECT_EQ(root(), QStringLiteral("Subjects [Scheme] 1/4 Subjects\\"));
    boxes.expect(QStringLiteral("Save the list changes in the Tree View first?"), vbYes);
    w->mnuFileNew_Click(3);
    EXPECT_EQ(read(listFile), kCatsList);

    w->URL->setEditText(QStringLiteral("http://example.org/a b.htm"));
    w->mnuFileNew(7)->trigger();
    w->URL->setEditText(QString());
    w->mnuFileNew_Click(7);
    w->mnuFileNew_Click(8);
    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_EQ(started, QList<QStringList>({{program, QStringLiteral("http://example.org/a b.htm")}, {program, QString()}}));
}

TEST_F(FileNewOpenTest, OpenPageAsksFirstAndACancelledDialogChangesNothing) {
    const QString page = openPage(QStringLiteral("first.htm"), QStringLiteral("Unsaved"));
    w->FilePath = page;
    boxes.expect(QStringLiteral("Save the metadata edits"), vbCancel).expect(QStringLiteral("Save the metadata edits"), vbNo);
    const QString other = write(QStringLiteral("zweite Seite é.htm"), kPage);
    dialogs.cancel().choose(other);
    w->mnuFileOpenIdx(1)->trigger();  // Cancel: no dialog
    w->mnuFileOpenIdx(1)->trigger();  // No, then the dialog is cancelled
    EXPECT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(w->currentHTMLFile + w->FilePath, page + page);
    EXPECT_TRUE(recorder.commands.isEmpty());

    w->mnuFileOpenIdx_Click(1);
    EXPECT_EQ(w->currentHTMLFile + w->FilePath, other + other);
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record to ") + other);
    EXPECT_EQ(panel2() + tag2(), QStringLiteral("ReadyRecord"));
    EXPECT_EQ(recorder.commands, QStringList({QStringLiteral("mtp://delete=all.fld"), QStringLiteral("mtp://open=") + other}));
    EXPECT_EQ(read(page), kPage);
}

TEST_F(FileNewOpenTest, OpenTemplatesMacroSetsRepositoryRecordsAndUnknownItems) {
    const QString batch = write(QStringLiteral("template.kqb"), "mtp://field=DC.Title.fld/\r\n");
    dialogs.choose(batch).choose(batch).cancel();
    w->mnuFileOpenIdx(2)->trigger();
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Template to ") + batch);
    w->mnuFileOpenIdx(3)->trigger();
    w->mnuFileOpenIdx(3)->trigger();  // cancelled
    EXPECT_EQ(w->BatchPath, batch);
    EXPECT_EQ(recorder.commands, QStringList({QStringLiteral("mtp://") + batch, QStringLiteral("mtp://") + batch}));

    boxes.expect(QStringLiteral("No Quorvantile Repository has been linked to the Karvold. Contact http://") +
                     modMetaMain::schemeServer + QLatin1Char('.'), vbOK);
    w->mnuFileOpenIdx(4)->trigger();
    modMacros::openRecordMacro = QStringLiteral("mtp://cgisend=http://repo.example/get.kqb");
    w->fileMenuBusy = true;  // a save is under way
    w->mnuFileOpenIdx_Click(4);
    w->fileMenuBusy = false;
    w->mnuFileOpenIdx_Click(4);
    EXPECT_EQ(recorder.commands.mid(2), QStringList({modMacros::openRecordMacro}));
    EXPECT_FALSE(w->fileMenuBusy);
    for (int index : {5, 0, 11}) {
        boxes.expect(QStringLiteral("File Open doesnt know this type"), vbOK);
        w->mnuFileOpenIdx_Click(index);
    }
    EXPECT_EQ(recorder.commands.size(), 3);
}

TEST_F(FileNewOpenTest, OpenListsBecomeTheDocumentUnlessTheRecordIsModified) {
    const QString catalogue = write(QStringLiteral("Sites & Links.kqi"), "A|http://a.example/\r\n");
    w->TreePath = catalogue;
    dialogs.choose(catalogue);
    w->mnuFileOpenIdx(6)->trigger();
    EXPECT_EQ(dialogs.requests().last().proposedName, QStringLiteral("Sites & Links.kqi"));
    EXPECT_EQ(w->listType + w->rootName + tag2(), QStringLiteral("indexesSites & LinksList"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Catalog to ") + catalogue);

    mark("Record");
    w->mnuFileSave->setText(QStringLiteral("Save Record to x"));
    const QString scheme = write(QStringLiteral("subjects.kqs"), "");
    const QString hcl = write(QStringLiteral("HCL.htm"), "<html></html>");
    const QString news = write(QStringLiteral("news.xml"), "<rss/>");
    dialogs.choose(scheme).choose(hcl).choose(news);
    w->mnuFileOpenIdx(7)->trigger();
    EXPECT_EQ(w->listType + w->rootName + tag2(), QStringLiteral("schemasubjectsRecord"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record to x"));
    w->FilePath = QStringLiteral("/x/a.KQI/b.kqs.htm");
    w->mnuFileOpenIdx(8)->trigger();
    EXPECT_EQ(w->FilePath, QStringLiteral("/x/a/b.htm"));
    w->StatusBar1->setPanelText(2, QString());
    w->mnuFileOpenIdx(9)->trigger();
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save RSS Channel to ") + news);
    EXPECT_EQ(tag2(), QStringLiteral("List"));
    EXPECT_EQ(recorder.commands, QStringList({
                                     QStringLiteral("mtp://open=") + catalogue,
                                     QStringLiteral("mtp://open=") + scheme,
                                     QStringLiteral("mtp://loadhcl=") + hcl + QStringLiteral(".kqi"),
                                     QStringLiteral("mtp://loadrss=") + news + QStringLiteral(".kqi"),
                                 }));

    // The repository's catalogue comes from the repository.
    modMacros::openCatalogMacro = QStringLiteral("mtp://cgisendList=http://repo.example/cat.kqb");
    w->TreePath = QStringLiteral("Main Catalog.kqi");
    w->mnuFileOpenIdx_Click(6);
    EXPECT_EQ(recorder.commands.last(), modMacros::openCatalogMacro);
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Catalog to "));
}

TEST_F(FileNewOpenTest, FoldersAndOtherFilesAreShownInTheBrowser) {
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("site"))));
    dialogs.choose(write(QStringLiteral("site/page.htm"), kPage));
    w->mnuFileOpenIdx(10)->trigger();
    const QString folder = QStringLiteral("file://") + path(QStringLiteral("site/"));
    EXPECT_EQ(w->URL->currentText(), folder);
    EXPECT_EQ(browser().navigations().last().address, folder);
    EXPECT_EQ(w->BrowserPanel->toolTip(), QStringLiteral("Drag files onto the Metapanel to edit"));

    // Only the exact extensions open as documents; a page is read as the browser shows it.
    for (const char* name : {"Page.HTM", "page.html", "README", "data.json"}) {
        w->MetaPanel->Clear();
        const QString file = write(QLatin1String(name), kPage);
        w->LoadFromOpen(file);
        EXPECT_EQ(browser().navigations().last().address, QStringLiteral("file://") + file);
        EXPECT_EQ(w->MetaPanel->Count(), QByteArray(name).toLower().contains(".htm") ? 1 : 0) << name;
    }
    EXPECT_TRUE(recorder.commands.isEmpty());
}

TEST_F(FileNewOpenTest, OpeningOrDroppingAPageAsksBeforeThePanelIsEmptied) {
    const QString page = openPage(QStringLiteral("edited.htm"), QStringLiteral("Keep me"));
    const QString next = write(QStringLiteral("next.asp"), kPage);
    boxes.expect(QStringLiteral("Save the metadata edits"), vbCancel).expect(QStringLiteral("Save the metadata edits"), vbYes);
    w->LoadFromOpen(next);
    EXPECT_TRUE(recorder.commands.isEmpty());
    QMimeData drop;
    drop.setUrls({QUrl::fromLocalFile(next)});
    w->GifOverlay_OLEDragDrop(&drop);
    EXPECT_TRUE(read(page).contains("Keep me"));  // the edits, not an empty block
    EXPECT_EQ(w->FilePath, next);
    EXPECT_EQ(recorder.commands, QStringList({QStringLiteral("mtp://delete=all.fld"), QStringLiteral("mtp://open=") + next}));
}

TEST_F(FileNewOpenTest, DroppedTextAndFiles) {
    const QString list = write(QStringLiteral("list.kqs"), "");
    const QString notes = write(QStringLiteral("notes.markdown"), "# notes");
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("Ordner ü"))));
    w->LoadDragDrop(QStringLiteral("MTP://field=DC.Subject&content=Cats.fld/"));
    w->LoadDragDrop(QStringLiteral("file://") + list);
    w->LoadDragDrop(QStringLiteral("see https://example.org/x.htm"));
    EXPECT_EQ(w->URL->currentText(), QStringLiteral("see https://example.org/x.htm"));
    EXPECT_EQ(w->TreePath + w->listType + w->rootName, list + QStringLiteral("schemalist"));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(notes), QUrl::fromLocalFile(list)});
    w->GifOverlay_OLEDragDrop(&files);  // the first opens by its long extension, the second goes to history
    EXPECT_EQ(browser().navigations().last().address, QStringLiteral("file://") + notes);
    EXPECT_EQ(w->backList.first().tag, list);
    files.setUrls({QUrl::fromLocalFile(path(QStringLiteral("Ordner ü")))});
    w->GifOverlay_OLEDragDrop(&files);
    EXPECT_EQ(browser().navigations().last().address, QStringLiteral("file://") + path(QStringLiteral("Ordner ü/")));
    EXPECT_EQ(recorder.commands, QStringList({QStringLiteral("MTP://field=DC.Subject&content=Cats.fld/"),
                                              QStringLiteral("mtp://open=") + list}));

    // Plain text goes into the current line at the caret, on one line, quotes made plain.
    w->MetaPanel->Clear();
    w->LoadDragDrop(QStringLiteral("no line selected"));
    w->addRecordLine({QStringLiteral("DC.Description"), QStringLiteral("Start end"), {}, {}});
    w->addRecordLine({QStringLiteral("DC.Title"), QStringLiteral("T"), {}, {}});
    w->SelectLine(1);
    w->editCurrentLine();
    w->editNrmlContent->setSelection(6, 3);
    w->LoadDragDrop(QStringLiteral("two\r\nlines \u201Dquoted\u201D"));
    EXPECT_EQ(w->MetaPanel->Item(1)->SubItems(1), QStringLiteral("Start twolines &quot;quoted&quot;"));
    EXPECT_EQ(w->MetaPanel->Item(2)->SubItems(1), QStringLiteral("T"));
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    w->editNrmlContent->setCursorPosition(0);
    w->LoadDragDrop(QStringLiteral("A "));
    EXPECT_TRUE(w->MetaPanel->Item(1)->SubItems(1).startsWith(QLatin1String("A Start")));
    EXPECT_EQ(recorder.commands.size(), 2);
}

}  // namespace
