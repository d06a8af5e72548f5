#include "AppTestSupport.h"

#include "app/modMetaMain.h"

#include <QMimeData>

namespace {

class HubTest : public WindowTest {
protected:
    CommandRecorder recorder;
    QString page(const QString& name, const QString& body) { return write(name, body.toUtf8()); }
    void navigate(platform::BeforeNavigateEvent& event, const QString& address) {
        event.address = address;
        w->WebBrowser1_BeforeNavigate(event);
    }
};

TEST_F(HubTest, LinksToCommandsAndListsReachTheCommandEntryAndThePageStays) {
    const QString vocab = page(u"vocab.htm"_s,
                               u"<meta name=\"DC.Title\" content=\"Terms\">"
                               "<a href=\"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/\">Heart</a>"
                               "<a href=\"http://lists.example/terms.kqs\">List</a>"
                               "<a href=\"https://lists.example/secure.kqi\">Secure list</a>"_s);
    open(vocab);
    EXPECT_EQ(w->recordLines().size(), 1);
    const QStringList links = {u"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"_s,
                               u"http://lists.example/terms.kqs"_s, u"https://lists.example/secure.kqi"_s};
    for (const QString& link : links) ASSERT_TRUE(browser().clickLink(link));
    browser().settle();
    EXPECT_EQ(recorder.commands, (QStringList{links[0], u"mtp://url=lists.example/terms.kqs"_s,
                                              u"mtp://url=https://lists.example/secure.kqi"_s}));
    for (const auto origin : recorder.origins) EXPECT_EQ(origin, modMTP::CommandOrigin::Page);
    EXPECT_TRUE(browser().LocationURL().endsWith(u"vocab.htm"_s));

    open(u"mtp://gotop.fld/"_s);  // typed into the address box: the user's own
    EXPECT_EQ(recorder.origins.last(), modMTP::CommandOrigin::Program);

    platform::BeforeNavigateEvent upper, broken, frame;
    broken.topFrame = frame.topFrame = false;
    frame.targetFrame = u"left"_s;
    navigate(upper, u"MTP://field=X.fld/"_s);  // only the exact prefix is a command
    navigate(broken, u"http:///"_s);
    navigate(frame, u"mtp://field=DC.Title&content=x.fld/"_s);  // frames are never routed
    EXPECT_EQ(recorder.commands.size(), 4);
    EXPECT_TRUE(broken.cancel);
    EXPECT_FALSE(frame.cancel || upper.cancel);
}

TEST_F(HubTest, ArmedPageLoadsReadMetadataAndNameTheFileOnlyForPages) {
    const QString htm = page(u"a.htm"_s, u"<title>My Page</title><meta name=\"DC.Title\" content=\"A\">"_s);
    open(htm);
    EXPECT_EQ(w->documentState->currentHTMLFile(), htm);
    EXPECT_EQ(w->StatusBar1->panelText(1), u"Current File:a.htm"_s);
    EXPECT_EQ(w->StatusBar1->panelText(3), u"Ready"_s);
    EXPECT_EQ(w->windowTitle(), u"My Page"_s);
    EXPECT_EQ(modMetaMain::currentLocationName, u"My Page"_s);
    open(page(u"b.txt"_s, u"plain"_s));
    EXPECT_EQ(w->documentState->currentHTMLFile(), QString());
    EXPECT_EQ(w->MetaPanel->Count(), 0);  // another local file empties the panel
}

TEST_F(HubTest, ACancelledSaveQuestionKeepsThePageAndRearms) {
    const QString first = page(u"first.htm"_s, u"<meta name=\"DC.Title\" content=\"1\">"_s);
    open(first);
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(u"Save the metadata edits"_s, vbCancel);
    open(page(u"second.htm"_s, u"<meta name=\"DC.Title\" content=\"2\">"_s));
    EXPECT_EQ(w->recordLines().first().content, u"1"_s);
    EXPECT_EQ(w->documentState->currentHTMLFile(), first);
    EXPECT_TRUE(w->navArmed);
    EXPECT_TRUE(browser().LocationURL().endsWith(u"first.htm"_s));

    // Ftp asks too: Cancel keeps the record, No clears it.
    platform::BeforeNavigateEvent ftp, again;
    boxes.expect(u"Save the metadata edits"_s, vbCancel).expect(u"Save the metadata edits"_s, vbNo);
    navigate(ftp, u"ftp://files.example/pub/"_s);
    EXPECT_TRUE(ftp.cancel);
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    navigate(again, ftp.address);
    EXPECT_FALSE(again.cancel);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
    EXPECT_EQ(w->URL->currentText(), ftp.address);
}

TEST_F(HubTest, NewWindowsGoToASecondProgramButCommandsStayHere) {
    StartedProcesses started;
    browser().openNewWindow(u"http://news.example/"_s, true);
    browser().openNewWindow(u"mtp://field=DC.Title&content=x.fld/"_s, true);
    browser().openNewWindow(u"javascript:alert(1)"_s, true);
    browser().settle();
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started.first().mid(1), QStringList{u"http://news.example/"_s});
    EXPECT_EQ(recorder.commands, QStringList{u"mtp://field=DC.Title&content=x.fld/"_s});
    EXPECT_EQ(recorder.origins.first(), modMTP::CommandOrigin::Page);
}

TEST_F(HubTest, AddressBoxEnterAndDrops) {
    const auto enter = [&](const QString& text) {
        w->URL->setEditText(text);
        w->URL_KeyPressEnter();
        browser().settle();
    };
    enter(QString());  // nothing, no sound
    EXPECT_EQ(w->URL->count(), 0);
    const QString htm = page(u"typed.htm"_s, u"<meta name=\"A\" content=\"1\">"_s);
    enter(htm);
    EXPECT_EQ(w->URL->itemText(0), htm);  // a local path is kept as a path
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    enter(u"127.0.0.1:9/none.htm"_s);
    EXPECT_EQ(w->URL->itemText(0), u"http://127.0.0.1:9/none.htm"_s);  // a host gets a scheme

    QMimeData text;
    text.setText(u"just words"_s);
    w->URL->setEditText(htm);
    w->URL_OLEDragDrop(&text);
    EXPECT_EQ(w->URL->currentText(), htm);
    text.setText(u"see HTTP://x.example/a.fld.htm"_s);
    w->URL_OLEDragDrop(&text);
    EXPECT_EQ(w->URL->currentText(), u"HTTP://x.example/a.htm"_s);
}

TEST(FindLinkName, LooksIntoFramesAndFallsBackToAltAndUntitled) {
    platform::PageDocument doc, frame, foreign;
    doc.links = {{u"a.htm"_s, u"First"_s, {}, {}}, {u"b.htm"_s, {}, u"Picture"_s, {}}, {u"c.htm"_s, {}, {}, {}}};
    frame.links = {{u"d.htm"_s, u"In frame"_s, {}, {}}};
    doc.frames = {frame};
    for (const auto& [href, name] : {std::pair{u"a.htm"_s, u"First"_s}, {u"b.htm"_s, u"Picture"_s},
                                     {u"c.htm"_s, u"Untitled"_s}, {u"d.htm"_s, u"In frame"_s}, {u"A.htm"_s, QString()}})
        EXPECT_EQ(Form1::findLinkName(doc, href), name) << href;
    foreign.readable = false;  // a frame that cannot be read may hold the link
    doc.frames.push_back(foreign);
    EXPECT_EQ(Form1::findLinkName(doc, u"zzz"_s), u"Untitled"_s);
}

}  // namespace
