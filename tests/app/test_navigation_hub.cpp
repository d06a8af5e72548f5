#include "AppTestSupport.h"

#include <QMimeData>

namespace {

class HubTest : public WindowTest {
protected:
    CommandRecorder recorder;
    QString titled(const QString& name, const QString& title) {
        return write(name, "<meta name=\"DC.Title\" content=\"" + title.toUtf8() + "\">");
    }
    void navigate(platform::BeforeNavigateEvent& event, const QString& address) {
        event.address = address;
        w->WebBrowser1_BeforeNavigate(event);
    }
};

TEST_F(HubTest, LinksToCommandsAndListsReachTheCommandEntryAndThePageStays) {
    const QStringList links = {u"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"_s,
                               u"http://lists.example/terms.kqs"_s, u"https://lists.example/secure.kqi"_s};
    open(write(u"vocab.htm"_s, "<a href=\"" + links.join(u"\">x</a><a href=\""_s).toUtf8() + "\">x</a>"));
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

TEST_F(HubTest, ACancelledSaveQuestionKeepsThePageAndTheRecord) {
    const QString first = titled(u"first.htm"_s, u"1"_s);
    open(first);
    w->markHTMLmodifiedCheckList(QString());
    boxes.expect(kSave, vbCancel).expect(kSave, vbCancel).expect(kSave, vbNo);
    open(titled(u"second.htm"_s, u"2"_s));
    EXPECT_EQ(w->recordLines().first().content, u"1"_s);
    EXPECT_EQ(w->documentState->currentHTMLFile(), first);
    EXPECT_TRUE(w->navArmed);
    EXPECT_TRUE(browser().LocationURL().endsWith(u"first.htm"_s));

    platform::BeforeNavigateEvent ftp, again;  // Ftp asks too: Cancel keeps the record, No clears it
    navigate(ftp, u"ftp://files.example/pub/"_s);
    EXPECT_TRUE(ftp.cancel);
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    navigate(again, ftp.address);
    EXPECT_FALSE(again.cancel);
    EXPECT_EQ(w->MetaPanel->Count(), 0);
}

TEST_F(HubTest, NewWindowsGoToASecondProgramButCommandsStayHere) {
    StartedProcesses started;
    for (const QString& address :
         {u"http://news.example/"_s, u"mtp://field=DC.Title&content=x.fld/"_s, u"javascript:alert(1)"_s})
        browser().openNewWindow(address, true);
    browser().settle();
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started.first().mid(1), QStringList{u"http://news.example/"_s});
    EXPECT_EQ(recorder.commands, QStringList{u"mtp://field=DC.Title&content=x.fld/"_s});
}

TEST_F(HubTest, AddressBoxEnterAndDrops) {
    const auto enter = [&](const QString& text) {
        w->URL->setEditText(text);
        w->URL_KeyPressEnter();
        browser().settle();
    };
    enter(QString());  // nothing, no sound
    EXPECT_EQ(w->URL->count(), 0);
    const QString htm = titled(u"typed.htm"_s, u"T"_s);
    enter(htm);
    EXPECT_EQ(w->URL->itemText(0), htm);  // a local path is kept as a path
    EXPECT_EQ(w->MetaPanel->Count(), 1);
    enter(u"127.0.0.1:9/none.htm"_s);
    EXPECT_EQ(w->URL->itemText(0), u"http://127.0.0.1:9/none.htm"_s);  // a host gets a scheme

    QMimeData text;
    text.setText(u"just words"_s);
    w->URL_OLEDragDrop(&text);
    EXPECT_EQ(w->URL->currentText(), u"127.0.0.1:9/none.htm"_s);
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
