#include "FileMenuTestSupport.h"

#include "app/modMetaMain.h"
#include "platform/Folders.h"
#include "platform/Process.h"
#include "platform/TreeImages.h"
#include "support/CommandRecorder.h"
#include "support/ListTrees.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

using platform::vbCancel;
using platform::vbNo;
using platform::vbOK;
using platform::vbYes;
using testing_support::CommandRecorder;

namespace {

class FileNewOpenTest : public FileMenuTest {
protected:
    CommandRecorder recorder;
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
    QStringList shape() const { return testing_support::treeShape(tree()); }
};

// ---- File > New ----------------------------------------------------------------------

TEST_F(FileNewOpenTest, NewTemplateOffersToSaveTheEditedRecordFirst) {
    Preferences::FileNewURL = QStringLiteral("mtp://open=template.kqb/");
    const QString page = openPage(QStringLiteral("page.htm"), QStringLiteral("Edited title"));
    ASSERT_EQ(panel2(), QStringLiteral("Modified"));

    boxes.expect(QStringLiteral("Save the metadata edits in the metapanel first?"), vbCancel);
    w->mnuFileNew(1)->trigger();
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(read(page), kPage);
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));

    boxes.expect(QStringLiteral("Save the metadata edits in the metapanel first?"), vbYes);
    w->mnuFileNew(1)->trigger();
    const QByteArray saved = read(page);
    EXPECT_TRUE(saved.contains("Edited title"));
    EXPECT_FALSE(saved.contains("Old title"));
    EXPECT_TRUE(saved.startsWith(kHeadStart));
    EXPECT_TRUE(saved.endsWith(kTail));
    EXPECT_EQ(recorder.commands,
              QStringList({QStringLiteral("mtp://delete=all.fld"), QStringLiteral("mtp://open=template.kqb/")}));

    // Nothing unsaved: no question; an empty template command still goes to the entry,
    // which reports it.
    recorder.commands.clear();
    Preferences::FileNewURL.clear();
    w->mnuFileNew_Click(1);
    EXPECT_EQ(recorder.commands, QStringList({QStringLiteral("mtp://delete=all.fld"), QString()}));
}

TEST_F(FileNewOpenTest, NewServerRecordNeedsARepository) {
    markRecord();
    boxes.expect(QStringLiteral("No Quorvantile Repository has been linked to the Karvold. To try this feature contact http://") +
                     modMetaMain::schemeServer,
                 vbOK);
    w->mnuFileNew(2)->trigger();
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));  // nothing was replaced, nothing asked

    modMacros::openRecordMacro = QStringLiteral("mtp://cgisend=http://repo.example/get.kqb");
    boxes.expect(QStringLiteral("Save the metadata edits"), vbNo);
    w->mnuFileNew_Click(2);
    EXPECT_EQ(recorder.commands, QStringList({modMacros::openRecordMacro}));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record to Quorvantile Repository"));
    EXPECT_EQ(panel2(), QString());
}

TEST_F(FileNewOpenTest, NewRssChannelReplacesTheTree) {
    makeList(QStringLiteral("Catalog"));
    w->TreePath = path(QStringLiteral("old.kqi"));
    w->mnuFileNew(3)->trigger();
    ASSERT_EQ(tree().Count(), 1);
    const platform::Node* root = tree().Item(1);
    EXPECT_EQ(root->Text(), QStringLiteral("RSS Channel"));
    EXPECT_EQ(root->Key(), QStringLiteral("RSS Channel\\"));
    EXPECT_EQ(root->Tag(), QStringLiteral("RSS"));
    EXPECT_EQ(root->Image(), platform::kImageSchemeFolder);
    EXPECT_EQ(root->SelectedImage(), 0);
    EXPECT_EQ(w->rootName, QStringLiteral("RSS Channel"));
    EXPECT_TRUE(w->TreePath.isEmpty());
    EXPECT_FALSE(tree().isHidden());
    EXPECT_EQ(tag2(), QStringLiteral("List"));
    EXPECT_EQ(panel2(), QString());
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save RSS Channel"));
    for (int i = 1; i <= 7; ++i) EXPECT_TRUE(w->mnuFileSaveAs(i)->isEnabled()) << i;
}

TEST_F(FileNewOpenTest, NewHarvestListGetsItsTenFolders) {
    const QString file = path(QStringLiteral("HCL.htm"));
    dialogs.cancel().choose(file);
    w->TreePath = path(QStringLiteral("keep.kqi"));
    makeList(QStringLiteral("Catalog"));
    w->mnuFileNew(4)->trigger();  // cancelled: the tree and its path stay
    EXPECT_EQ(w->TreePath, path(QStringLiteral("keep.kqi")));
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("Subjects"));
    EXPECT_EQ(tag2(), QStringLiteral("List"));
    EXPECT_EQ(dialogs.requests().first().filterIndex, 1);

    boxes.expect(QStringLiteral("A number of folders have been placed your new HCL to help you categorise your "
                                "resources. Any unused folders will be deleted when you next save this list"),
                 vbOK);
    w->mnuFileNew(4)->trigger();
    EXPECT_EQ(boxes.shown().last().title, QStringLiteral("Harvest Control List Categories"));
    EXPECT_EQ(w->TreePath, file);
    EXPECT_EQ(w->rootName, QStringLiteral("HCL"));
    const platform::Node* root = tree().Item(1);
    EXPECT_EQ(root->Key(), QStringLiteral("HCL\\"));
    EXPECT_EQ(root->Tag(), QStringLiteral("Harvest Control List"));
    EXPECT_EQ(root->Image(), 1);
    EXPECT_EQ(root->SelectedImage(), 4);
    EXPECT_EQ(shape(), QStringList({
                           QStringLiteral("Home Page [] 1/0 HCL\\Home Page\\"),
                           QStringLiteral("High Profile Topics [] 1/0 HCL\\High Profile Topics\\"),
                           QStringLiteral("Online Services and Services in Demand [] 1/0 "
                                          "HCL\\Online Services and Services in Demand\\"),
                           QStringLiteral("Government Assistance Programs [] 1/0 HCL\\Government Assistance Programs\\"),
                           QStringLiteral("Pages meeting Service Obligations [] 1/0 "
                                          "HCL\\Pages meeting Service Obligations\\"),
                           QStringLiteral("Important Formal Publications [] 1/0 HCL\\Important Formal Publications\\"),
                           QStringLiteral("Media Releases [] 1/0 HCL\\Media Releases\\"),
                           QStringLiteral("Links to closely related Entry Points [] 1/0 "
                                          "HCL\\Links to closely related Entry Points\\"),
                           QStringLiteral("Statements of Agency Powers [] 1/0 HCL\\Statements of Agency Powers\\"),
                           QStringLiteral("About this Agency [] 1/0 HCL\\About this Agency\\"),
                       }));
    EXPECT_EQ(w->URL->itemText(0), QStringLiteral("http://loadhcl=") + file + QStringLiteral(".kqi"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Harvest Control List"));
    EXPECT_FALSE(QFile::exists(file));  // the list lives only in the tree until it is saved
}

TEST_F(FileNewOpenTest, NewCatalogAndSchemeRootsFollowTheChosenName) {
    // A catalogue whose chosen name is a scheme list gets a scheme root.
    w->TreePath.clear();
    dialogs.choose(path(QStringLiteral("terms.kqs")), 2);
    w->mnuFileNew(5)->trigger();
    EXPECT_EQ(dialogs.requests().last().filterIndex, 3);
    EXPECT_EQ(dialogs.requests().last().proposedName, QStringLiteral("Untitled.kqi"));
    const platform::Node* root = tree().Item(1);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->Text(), QStringLiteral("terms"));
    EXPECT_EQ(root->Tag(), QStringLiteral("Scheme"));
    EXPECT_EQ(root->Image(), 5);
    EXPECT_EQ(root->SelectedImage(), 6);
    EXPECT_EQ(w->mnuFileSaveList->text(), QStringLiteral("Save Scheme"));

    // A scheme saved under a catalogue name keeps its kind on a folder root.
    dialogs.choose(path(QStringLiteral("my list.v2.kqi")), 3);
    w->mnuFileNew(6)->trigger();
    EXPECT_EQ(dialogs.requests().last().filterIndex, 2);
    root = tree().Item(1);
    EXPECT_EQ(tree().Count(), 1);
    EXPECT_EQ(root->Text(), QStringLiteral("my list.v2"));
    EXPECT_EQ(root->Tag(), QStringLiteral("Scheme"));
    EXPECT_EQ(root->Image(), 1);
    EXPECT_EQ(root->SelectedImage(), 4);
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Scheme"));
    EXPECT_EQ(tag2(), QStringLiteral("List"));

    // A name without an extension (another filter chosen) is the root's whole name.
    dialogs.choose(path(QStringLiteral("Kataloggrößen")), 6);
    w->mnuFileNew_Click(5);
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("Kataloggrößen"));
    EXPECT_EQ(tree().Item(1)->Tag(), QStringLiteral("Catalog"));

    // Cancelled: the old tree stays.
    dialogs.cancel();
    w->mnuFileNew_Click(6);
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("Kataloggrößen"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Scheme"));
}

TEST_F(FileNewOpenTest, NewListOffersToSaveTheModifiedListFirst) {
    makeList(QStringLiteral("Scheme"));
    const QString listFile = path(QStringLiteral("subjects.kqs"));
    w->TreePath = listFile;
    markList();
    boxes.expect(QStringLiteral("Save the list changes in the Tree View first?"), vbCancel);
    w->mnuFileNew_Click(6);  // no dialog: the question stopped it
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("Subjects"));

    boxes.expect(QStringLiteral("Save the list changes in the Tree View first?"), vbYes);
    w->mnuFileNew_Click(3);
    EXPECT_EQ(read(listFile), kCatsList);
    EXPECT_EQ(tree().Item(1)->Text(), QStringLiteral("RSS Channel"));
}

TEST_F(FileNewOpenTest, NewWindowIsASecondProcessWithTheAddress) {
    w->URL->setEditText(QStringLiteral("http://example.org/a b.htm"));
    w->mnuFileNew(7)->trigger();
    w->URL->setEditText(QString());
    w->mnuFileNew_Click(7);
    ASSERT_EQ(started.size(), 2);
    EXPECT_EQ(started[0], QStringList({QCoreApplication::applicationFilePath(), QStringLiteral("http://example.org/a b.htm")}));
    EXPECT_EQ(started[1], QStringList({QCoreApplication::applicationFilePath(), QString()}));
    w->mnuFileNew_Click(8);  // no such item
    EXPECT_EQ(started.size(), 2);
}

// ---- File > Open ---------------------------------------------------------------------

TEST_F(FileNewOpenTest, OpenPageAsksFirstAndACancelledDialogChangesNothing) {
    const QString page = openPage(QStringLiteral("first.htm"), QStringLiteral("Unsaved"));
    w->FilePath = page;
    boxes.expect(QStringLiteral("Save the metadata edits"), vbCancel);
    w->mnuFileOpenIdx(1)->trigger();  // no dialog
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));

    boxes.expect(QStringLiteral("Save the metadata edits"), vbNo);
    dialogs.cancel();
    w->mnuFileOpenIdx(1)->trigger();
    EXPECT_EQ(dialogs.requests().last().proposedName, QStringLiteral("first.htm"));
    EXPECT_EQ(w->currentHTMLFile, page);
    EXPECT_EQ(w->FilePath, page);
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(read(page), kPage);

    const QString other = write(QStringLiteral("zweite Seite é.htm"), kPage);
    dialogs.choose(other);
    w->mnuFileOpenIdx_Click(1);
    EXPECT_EQ(w->currentHTMLFile, other);
    EXPECT_EQ(w->FilePath, other);
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record to ") + other);
    EXPECT_EQ(panel2(), QStringLiteral("Ready"));
    EXPECT_EQ(tag2(), QStringLiteral("Record"));
    EXPECT_EQ(recorder.commands,
              QStringList({QStringLiteral("mtp://delete=all.fld"), QStringLiteral("mtp://open=") + other}));
}

TEST_F(FileNewOpenTest, OpenTemplatesMacroSetsAndRepositoryRecords) {
    const QString batch = write(QStringLiteral("template.kqb"), "mtp://field=DC.Title.fld/\r\n");
    w->BatchPath = path(QStringLiteral("nothing here.kqb"));
    dialogs.choose(batch).choose(batch).cancel();
    w->mnuFileOpenIdx(2)->trigger();
    EXPECT_EQ(w->BatchPath, batch);
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Template to ") + batch);
    w->mnuFileSave->setText(QStringLiteral("Save Record"));
    w->mnuFileOpenIdx(3)->trigger();
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record"));
    w->mnuFileOpenIdx(3)->trigger();  // cancelled
    EXPECT_EQ(recorder.commands, QStringList({QStringLiteral("mtp://") + batch, QStringLiteral("mtp://") + batch}));

    recorder.commands.clear();
    boxes.expect(QStringLiteral("No Quorvantile Repository has been linked to the Karvold. Contact http://") +
                     modMetaMain::schemeServer + QLatin1Char('.'),
                 vbOK);
    w->mnuFileOpenIdx(4)->trigger();
    modMacros::openRecordMacro = QStringLiteral("mtp://cgisend=http://repo.example/get.kqb");
    w->fileMenuBusy = true;  // a save is under way: the request waits
    w->mnuFileOpenIdx_Click(4);
    EXPECT_TRUE(recorder.commands.isEmpty());
    w->fileMenuBusy = false;
    w->mnuFileOpenIdx_Click(4);
    EXPECT_EQ(recorder.commands, QStringList({modMacros::openRecordMacro}));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record to Quorvantile Repository"));
    EXPECT_FALSE(w->fileMenuBusy);

    for (int index : {5, 0, 11}) {
        boxes.expect(QStringLiteral("File Open doesnt know this type"), vbOK);
        w->mnuFileOpenIdx_Click(index);
    }
    EXPECT_EQ(recorder.commands.size(), 1);
}

TEST_F(FileNewOpenTest, OpenCataloguesAndSchemesBecomeTheListUnlessTheRecordIsModified) {
    const QString catalogue = write(QStringLiteral("Sites & Links.kqi"), "A|http://a.example/\r\n");
    w->TreePath = catalogue;
    dialogs.choose(catalogue);
    w->mnuFileOpenIdx(6)->trigger();
    EXPECT_EQ(dialogs.requests().last().proposedName, QStringLiteral("Sites & Links.kqi"));
    EXPECT_EQ(w->listType, QStringLiteral("indexes"));
    EXPECT_EQ(w->rootName, QStringLiteral("Sites & Links"));
    EXPECT_EQ(tag2(), QStringLiteral("List"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Catalog to ") + catalogue);
    EXPECT_EQ(recorder.commands.last(), QStringLiteral("mtp://open=") + catalogue);

    // The record keeps the mark and the Save item while it is modified.
    markRecord();
    w->mnuFileSave->setText(QStringLiteral("Save Record to x"));
    const QString scheme = write(QStringLiteral("subjects.kqs"), "");
    dialogs.choose(scheme);
    w->mnuFileOpenIdx(7)->trigger();
    EXPECT_EQ(w->listType, QStringLiteral("schema"));
    EXPECT_EQ(tag2(), QStringLiteral("Record"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Record to x"));
    EXPECT_EQ(w->TreePath, scheme);  // the opening sets it all the same
    EXPECT_EQ(w->rootName, QStringLiteral("subjects"));
    EXPECT_EQ(recorder.commands.last(), QStringLiteral("mtp://open=") + scheme);

    // The repository's catalogue comes from the repository.
    modMacros::openCatalogMacro = QStringLiteral("mtp://cgisendList=http://repo.example/cat.kqb");
    w->TreePath = QStringLiteral("Main Catalog.kqi");
    w->StatusBar1->setPanelText(2, QString());
    w->mnuFileOpenIdx_Click(6);
    EXPECT_EQ(recorder.commands.last(), modMacros::openCatalogMacro);
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save Catalog to "));
    EXPECT_EQ(tag2(), QStringLiteral("List"));
}

TEST_F(FileNewOpenTest, OpenHarvestListsChannelsAndFolders) {
    const QString hcl = write(QStringLiteral("HCL.htm"), "<html></html>");
    w->FilePath = QStringLiteral("/x/a.KQI/b.kqs.htm");
    dialogs.choose(hcl);
    w->mnuFileOpenIdx(8)->trigger();
    EXPECT_EQ(w->FilePath, QStringLiteral("/x/a/b.htm"));
    EXPECT_EQ(w->TreePath, hcl);
    EXPECT_EQ(recorder.commands.last(), QStringLiteral("mtp://loadhcl=") + hcl + QStringLiteral(".kqi"));

    const QString news = write(QStringLiteral("news.xml"), "<rss/>");
    w->StatusBar1->setPanelText(2, QString());
    dialogs.choose(news).cancel();
    w->mnuFileOpenIdx(9)->trigger();
    EXPECT_EQ(recorder.commands.last(), QStringLiteral("mtp://loadrss=") + news + QStringLiteral(".kqi"));
    EXPECT_EQ(w->mnuFileSave->text(), QStringLiteral("Save RSS Channel to ") + news);
    EXPECT_EQ(tag2(), QStringLiteral("List"));
    w->mnuFileOpenIdx(9)->trigger();  // cancelled: nothing loads
    EXPECT_EQ(recorder.commands.last(), QStringLiteral("mtp://loadrss=") + news + QStringLiteral(".kqi"));

    // A folder is shown in the browser.
    const QString sub = path(QStringLiteral("site"));
    ASSERT_TRUE(QDir().mkpath(sub));
    const QString inside = write(QStringLiteral("site/page.htm"), kPage);
    const qsizetype before = recorder.commands.size();
    dialogs.choose(inside);
    w->mnuFileOpenIdx(10)->trigger();
    EXPECT_EQ(w->URL->currentText(), QStringLiteral("file://") + sub + QLatin1Char('/'));
    EXPECT_EQ(w->BrowserPanel->toolTip(), QStringLiteral("Drag files onto the Metapanel to edit"));
    ASSERT_FALSE(browser().navigations().isEmpty());
    EXPECT_EQ(browser().navigations().last().address, QStringLiteral("file://") + sub + QLatin1Char('/'));
    EXPECT_EQ(recorder.commands.size(), before);
}

// ---- opening by extension and dropping -----------------------------------------------

TEST_F(FileNewOpenTest, LoadFromOpenGoesByTheExactExtension) {
    w->LoadFromOpen(QStringLiteral("/pages/a.asp"));
    w->LoadFromOpen(QStringLiteral("/pages/b.cfm"));
    EXPECT_EQ(w->FilePath, QStringLiteral("/pages/b.cfm"));
    w->LoadFromOpen(QStringLiteral("/lists/x.y/Birds.kqs"));
    EXPECT_EQ(w->TreePath, QStringLiteral("/lists/x.y/Birds.kqs"));
    EXPECT_EQ(w->rootName, QStringLiteral("Birds"));
    EXPECT_EQ(w->listType, QStringLiteral("schema"));
    w->LoadFromOpen(QStringLiteral("loadrss=http://news.example/feed.xml.kqi"));
    w->LoadFromOpen(QStringLiteral("/m/set.kqb"));
    EXPECT_EQ(w->BatchPath, QStringLiteral("/m/set.kqb"));
    w->LoadFromOpen(QString());
    EXPECT_EQ(recorder.commands, QStringList({
                                     QStringLiteral("mtp://delete=all.fld"),
                                     QStringLiteral("mtp://open=/pages/a.asp"),
                                     QStringLiteral("mtp://delete=all.fld"),
                                     QStringLiteral("mtp://open=/pages/b.cfm"),
                                     QStringLiteral("mtp://open=/lists/x.y/Birds.kqs"),
                                     QStringLiteral("mtp://loadrss=http://news.example/feed.xml.kqi"),
                                     QStringLiteral("mtp:///m/set.kqb"),
                                 }));

    // Other extensions, capitals and names without one are shown in the browser, which
    // reads a page's metadata as it shows it.
    recorder.commands.clear();
    for (const char* name : {"Page.HTM", "page.html", "README", "data.json"}) {
        w->MetaPanel->Clear();
        const QString file = write(QLatin1String(name), kPage);
        w->LoadFromOpen(file);
        EXPECT_EQ(browser().navigations().last().address, QStringLiteral("file://") + file);
        const bool page = QByteArray(name).contains(".htm") || QByteArray(name).contains(".HTM");
        EXPECT_EQ(w->MetaPanel->Count(), page ? 1 : 0) << name;
    }
    EXPECT_TRUE(recorder.commands.isEmpty());
}

TEST_F(FileNewOpenTest, OpeningAPageOverEditsAsksBeforeThePanelIsEmptied) {
    const QString page = openPage(QStringLiteral("edited.htm"), QStringLiteral("Keep me"));
    const QString next = write(QStringLiteral("next.htm"), kPage);
    boxes.expect(QStringLiteral("Save the metadata edits"), vbCancel);
    w->LoadFromOpen(next);
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(w->MetaPanel->Count(), 1);

    boxes.expect(QStringLiteral("Save the metadata edits"), vbYes);
    w->LoadDragDrop(next);
    EXPECT_TRUE(read(page).contains("Keep me"));  // the edits, not an empty block
    EXPECT_EQ(recorder.commands,
              QStringList({QStringLiteral("mtp://delete=all.fld"), QStringLiteral("mtp://open=") + next}));
}

TEST_F(FileNewOpenTest, DroppedTextCommandsAddressesAndPaths) {
    w->LoadDragDrop(QStringLiteral("MTP://field=DC.Subject&content=Cats.fld/"));
    EXPECT_EQ(recorder.commands.last(), QStringLiteral("MTP://field=DC.Subject&content=Cats.fld/"));
    w->LoadDragDrop(QStringLiteral("see https://example.org/x.htm"));
    EXPECT_EQ(w->URL->currentText(), QStringLiteral("see https://example.org/x.htm"));
    w->LoadDragDrop(QStringLiteral("file:///lists/Birds.kqs"));
    EXPECT_EQ(recorder.commands.last(), QStringLiteral("mtp://open=/lists/Birds.kqs"));
    EXPECT_EQ(recorder.commands.size(), 2);
}

TEST_F(FileNewOpenTest, DroppedFilesOpenByExtensionAndFoldersGetASlash) {
    const QString notes = write(QStringLiteral("notes.markdown"), "# notes");
    const QString folder = path(QStringLiteral("Ordner ü"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString list = write(QStringLiteral("list.kqi"), "");

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(notes), QUrl::fromLocalFile(list)});
    w->GifOverlay_OLEDragDrop(&files);
    EXPECT_EQ(browser().navigations().last().address, QStringLiteral("file://") + notes);
    ASSERT_EQ(w->backList.size(), 1);
    EXPECT_EQ(w->backList.first().tag, list);

    QMimeData one;
    one.setUrls({QUrl::fromLocalFile(folder)});
    w->GifOverlay_OLEDragDrop(&one);
    EXPECT_EQ(browser().navigations().last().address, QStringLiteral("file://") + folder + QLatin1Char('/'));

    QMimeData catalogue;
    catalogue.setUrls({QUrl::fromLocalFile(list)});
    w->GifOverlay_OLEDragDrop(&catalogue);
    EXPECT_EQ(recorder.commands, QStringList({QStringLiteral("mtp://open=") + list}));
}

TEST_F(FileNewOpenTest, DroppedPlainTextGoesIntoTheCurrentLineAtTheCaret) {
    w->LoadDragDrop(QStringLiteral("no line selected"));  // ignored
    EXPECT_EQ(w->MetaPanel->Count(), 0);

    w->addRecordLine({QStringLiteral("DC.Description"), QStringLiteral("Start end"), {}, {}});
    w->addRecordLine({QStringLiteral("DC.Title"), QStringLiteral("T"), {}, {}});
    w->SelectLine(1);
    w->editCurrentLine();
    w->editNrmlContent->setSelection(6, 3);  // "end"
    w->LoadDragDrop(QStringLiteral("two\r\nlines \u201Dquoted\u201D"));
    EXPECT_EQ(w->MetaPanel->Item(1)->SubItems(1), QStringLiteral("Start twolines &quot;quoted&quot;"));
    EXPECT_EQ(w->MetaPanel->Item(2)->SubItems(1), QStringLiteral("T"));
    EXPECT_EQ(panel2(), QStringLiteral("Modified"));
    EXPECT_TRUE(w->MetaPanel->Item(1)->Bold());

    w->editNrmlContent->setCursorPosition(0);
    w->editNrmlContent->deselect();
    w->LoadDragDrop(QStringLiteral("A "));
    EXPECT_TRUE(w->MetaPanel->Item(1)->SubItems(1).startsWith(QLatin1String("A Start")));
    EXPECT_TRUE(recorder.commands.isEmpty());
}

}  // namespace
