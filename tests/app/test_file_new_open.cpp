#include "AppTestSupport.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QUrl>

namespace {

class FileNewOpenTest : public FileMenuTest {
protected:
    CommandRecorder recorder;
    // The root as "text [tag] image/selected key".
    QString root() const {
        const platform::Node* n = tree().Item(1);
        return n ? u"%1 [%2] %3/%4 %5"_s.arg(n->Text(), n->Tag()).arg(n->Image()).arg(n->SelectedImage()).arg(n->Key())
                 : u"<none>"_s;
    }
    void drop(const QStringList& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files) urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        w->GifOverlay_OLEDragDrop(&data);
    }
};

TEST_F(FileNewOpenTest, NewRecordsAskToSaveTheEditedRecordFirst) {
    Preferences::FileNewURL = u"mtp://open=template.kqb/"_s;
    const QString page = openPage(u"page.htm"_s, u"Edited title"_s);
    boxes.expect(kSave, vbCancel).expect(kSave, vbYes);
    w->mnuFileNew(1)->trigger();
    EXPECT_TRUE(recorder.commands.isEmpty());
    EXPECT_EQ(read(page), kPage);
    w->mnuFileNew(1)->trigger();
    EXPECT_EQ(read(page), pageTitled("Edited title"));
    EXPECT_EQ(recorder.commands, QStringList({u"mtp://delete=all.fld"_s, Preferences::FileNewURL}));

    // Without a repository nothing is replaced, so nothing is asked.
    mark(DocumentState::Document::Record);
    boxes.expect(u"No Quorvantile Repository has been linked to the Karvold. To try this feature contact"_s, vbOK);
    w->mnuFileNew(2)->trigger();
    modMacros::openRecordMacro = u"mtp://cgisend=http://repo.example/get.kqb"_s;
    boxes.expect(kSave, vbNo);
    w->mnuFileNew_Click(2);
    EXPECT_EQ(recorder.commands.mid(2), QStringList({modMacros::openRecordMacro}));
}

TEST_F(FileNewOpenTest, NewListsBuildTheirRootsInTheTree) {
    makeList(u"Catalog"_s);
    w->documentState->setTreePath(path(u"old.kqi"_s));
    w->mnuFileNew(3)->trigger();
    EXPECT_EQ(root(), u"RSS Channel [RSS] 5/0 RSS Channel\\"_s);
    EXPECT_EQ(tree().Count(), 1);
    EXPECT_TRUE(w->documentState->TreePath().isEmpty());

    // A catalogue under a scheme-list name gets a scheme root; a name without a dot is the
    // root's whole name; a cancelled dialog leaves the tree.
    dialogs.choose(path(u"terms.kqs"_s), 2).choose(path(u"Kataloggrößen"_s), 6).cancel();
    w->mnuFileNew(5)->trigger();
    EXPECT_EQ(root(), u"terms [Scheme] 5/6 terms\\"_s);
    w->mnuFileNew_Click(5);
    EXPECT_EQ(root(), u"Kataloggrößen [Catalog] 1/4 Kataloggrößen\\"_s);
    w->mnuFileNew_Click(6);
    EXPECT_EQ(root(), u"Kataloggrößen [Catalog] 1/4 Kataloggrößen\\"_s);
}

TEST_F(FileNewOpenTest, NewHarvestListGetsItsFoldersOnlyInTheTree) {
    const QString file = path(u"HCL.htm"_s);
    w->documentState->setTreePath(path(u"keep.kqi"_s));
    dialogs.cancel().choose(file);
    w->mnuFileNew(4)->trigger();
    EXPECT_EQ(w->documentState->TreePath(), path(u"keep.kqi"_s));
    boxes.expect(u"Any unused folders will be deleted when you next save this list"_s, vbOK);
    w->mnuFileNew(4)->trigger();
    EXPECT_EQ(root(), u"HCL [Harvest Control List] 1/4 HCL\\"_s);
    EXPECT_EQ(tree().Count(), 11);
    EXPECT_EQ(w->URL->itemText(0), u"http://loadhcl="_s + file + u".kqi"_s);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(FileNewOpenTest, NewListAsksAboutTheModifiedListAndNewWindowStartsAProcess) {
    StartedProcesses started;
    makeList(u"Scheme"_s);
    w->documentState->setTreePath(path(u"subjects.kqs"_s));
    mark(DocumentState::Document::List);
    boxes.expect(u"Save the list changes in the Tree View first?"_s, vbCancel).expect(u"list changes"_s, vbYes);
    w->mnuFileNew_Click(6);  // stopped before any dialog
    EXPECT_EQ(root(), u"Subjects [Scheme] 1/4 Subjects\\"_s);
    w->mnuFileNew_Click(3);
    EXPECT_EQ(read(path(u"subjects.kqs"_s)), kCatsList);

    for (const QString& address : {u"http://example.org/a b.htm"_s, QString()}) {
        w->URL->setEditText(address);
        w->mnuFileNew(7)->trigger();
        EXPECT_EQ(started.last(), QStringList({QCoreApplication::applicationFilePath(), address}));
    }
}

TEST_F(FileNewOpenTest, OpeningOrDroppingAPageAsksFirstAndACancelChangesNothing) {
    const QString page = openPage(u"first.htm"_s, u"Keep me"_s);
    const QString next = write(u"zweite Seite é.asp"_s, kPage);
    boxes.expect(kSave, vbCancel).expect(kSave, vbCancel).expect(kSave, vbYes);
    dialogs.cancel();
    w->mnuFileOpenIdx(1)->trigger();  // Cancel: no dialog
    w->LoadFromOpen(next);
    w->mnuFileOpenIdx(1)->trigger();  // Yes, then the dialog is cancelled
    EXPECT_EQ(read(page), pageTitled("Keep me"));
    EXPECT_EQ(dialogs.requests().size(), 1);
    EXPECT_EQ(w->documentState->currentHTMLFile(), page);
    EXPECT_TRUE(recorder.commands.isEmpty());
    drop({next});
    EXPECT_EQ(w->FilePath, next);
    EXPECT_EQ(recorder.commands, QStringList({u"mtp://delete=all.fld"_s, u"mtp://open="_s + next}));
}

TEST_F(FileNewOpenTest, OpenTemplatesMacrosRepositoryRecordsAndLists) {
    const QString batch = write(u"template.kqb"_s, "mtp://field=DC.Title.fld/\r\n");
    const QString catalogue = write(u"Sites & Links.kqi"_s, "A|http://a.example/\r\n");
    const QString hcl = write(u"HCL.htm"_s, "<html></html>");
    dialogs.choose(batch).choose(batch).cancel().choose(catalogue).choose(hcl);
    w->mnuFileOpenIdx(2)->trigger();
    w->mnuFileOpenIdx(3)->trigger();
    w->mnuFileOpenIdx(3)->trigger();  // cancelled
    EXPECT_EQ(w->BatchPath, batch);
    boxes.expect(u"No Quorvantile Repository has been linked to the Karvold."_s, vbOK)
        .expect(u"File Open doesnt know this type"_s, vbOK);
    w->mnuFileOpenIdx(4)->trigger();
    modMacros::openRecordMacro = u"mtp://cgisend=http://repo.example/get.kqb"_s;
    w->mnuFileOpenIdx_Click(4);
    w->mnuFileOpenIdx_Click(11);

    w->mnuFileOpenIdx(6)->trigger();
    EXPECT_EQ(w->documentState->listType() + w->rootName + tag2(), u"indexesSites & LinksList"_s);
    mark(DocumentState::Document::Record);  // a modified record stays the document
    w->mnuFileOpenIdx(8)->trigger();
    EXPECT_EQ(tag2(), u"Record"_s);
    modMacros::openCatalogMacro = u"mtp://cgisendList=http://repo.example/cat.kqb"_s;
    w->documentState->setTreePath(u"Main Catalog.kqi"_s);
    w->mnuFileOpenIdx_Click(6);
    EXPECT_EQ(recorder.commands, QStringList({u"mtp://"_s + batch, u"mtp://"_s + batch, modMacros::openRecordMacro,
                                              u"mtp://open="_s + catalogue, u"mtp://loadhcl="_s + hcl + u".kqi"_s,
                                              modMacros::openCatalogMacro}));
}

TEST_F(FileNewOpenTest, FoldersAndOtherFilesAreShownInTheBrowser) {
    dialogs.choose(write(u"site/page.htm"_s, kPage));
    w->mnuFileOpenIdx(10)->trigger();
    EXPECT_EQ(browser().navigations().last().address, u"file://"_s + path(u"site/"_s));
    // Only the exact extensions open as documents; a page is read as the browser shows it.
    for (const char* name : {"Page.HTM", "page.html", "README", "data.json"}) {
        w->MetaPanel->Clear();
        const QString file = write(QLatin1String(name), kPage);
        w->LoadFromOpen(file);
        EXPECT_EQ(browser().navigations().last().address, u"file://"_s + file);
        EXPECT_EQ(w->MetaPanel->Count(), QByteArray(name).toLower().contains(".htm") ? 1 : 0) << name;
    }
    EXPECT_TRUE(recorder.commands.isEmpty());
}

TEST_F(FileNewOpenTest, DroppedTextAndFiles) {
    const QString list = write(u"list.kqs"_s, "");
    const QString notes = write(u"notes.markdown"_s, "# notes");
    ASSERT_TRUE(QDir().mkpath(path(u"Ordner ü"_s)));
    w->LoadDragDrop(u"MTP://field=DC.Subject&content=Cats.fld/"_s);
    w->LoadDragDrop(u"file://"_s + list);
    w->LoadDragDrop(u"see https://example.org/x.htm"_s);
    EXPECT_EQ(w->URL->currentText(), u"see https://example.org/x.htm"_s);
    EXPECT_EQ(w->documentState->TreePath() + w->documentState->listType() + w->rootName, list + u"schemalist"_s);
    drop({notes, list});  // the first opens by its long extension, the second goes to history
    EXPECT_EQ(browser().navigations().last().address, u"file://"_s + notes);
    EXPECT_EQ(w->backList.first().tag, list);
    drop({path(u"Ordner ü"_s)});
    EXPECT_EQ(browser().navigations().last().address, u"file://"_s + path(u"Ordner ü/"_s));
    EXPECT_EQ(recorder.commands, QStringList({u"MTP://field=DC.Subject&content=Cats.fld/"_s, u"mtp://open="_s + list}));

    // Plain text goes into the current line at the caret, on one line, quotes made plain.
    w->MetaPanel->Clear();
    w->LoadDragDrop(u"no line selected"_s);
    w->addRecordLine({u"DC.Description"_s, u"Start end"_s, {}, {}});
    w->SelectLine(1);
    w->editCurrentLine();
    w->editNrmlContent->setSelection(6, 3);
    w->LoadDragDrop(u"two\r\nlines \u201Dquoted\u201D"_s);
    EXPECT_EQ(w->MetaPanel->Item(1)->SubItems(1), u"Start twolines &quot;quoted&quot;"_s);
    EXPECT_EQ(panel2(), u"Modified"_s);
    EXPECT_EQ(recorder.commands.size(), 2);
}

}  // namespace
