#include "ListFilesTest.h"
#include "gui/app/FileMenu.h"

#include "gui/catalogues/frmRSS.h"
#include "platform/widgets/StatusBar.h"
#include "platform/WidgetInput.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

namespace {

// A button of the dialog clicked with the mouse.
void click(const QDialog& dialog, const QString& name) {
    QPushButton* button = child<QPushButton>(dialog, name);
    widget_input::click(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

class RssChannelTest : public ListFilesTest {
protected:
    testing_support::ScriptedModals modals;
    QString load(const QString& file) {
        run(u"mtp://loadRSS="_s + file + u".kqi"_s);
        return file;
    }
};

TEST_F(RssChannelTest, TheTreeIsWrittenThroughTheDialogInItsOwnOrderAndReadBack) {
    makeTree(u"RSS Channel"_s, u"RSS"_s, DocumentState::ListKind::Channel,
             {u"Zoo|"_s, u"Zoo|Lions & <Tigers>|http://zoo.example/?a=1&amp;b=2 c"_s, u"Zoo|Caf\u00E9|https://caf\u00E9.example/"_s,
              u"Bare|www.bare.example/"_s});
    const QString file = path(u"rss.xml"_s);
    w.context.document.setTreePath(file);
    w.context.document.markModified(DocumentState::Document::List);
    modals.then([file](QDialog& dialog) {
        EXPECT_EQ(child<QLineEdit>(dialog, u"txtFilePath"_s)->text(), file);
        QPushButton* ok = child<QPushButton>(dialog, u"OKButton"_s);
        EXPECT_FALSE(ok->isEnabled());
        widget_input::type(child<QLineEdit>(dialog, u"txtTitle"_s), u"Zoo News"_s);
        EXPECT_FALSE(ok->isEnabled());
        widget_input::type(child<QLineEdit>(dialog, u"txtSiteURL"_s), u"http://zoo.example/"_s);
        widget_input::type(child<QLineEdit>(dialog, u"txtDescription"_s), u"A & B"_s);
        ASSERT_TRUE(ok->isEnabled());
        click(dialog, u"OKButton"_s);
    });
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    const QByteArray written = readBytes(file);
    EXPECT_EQ(written,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<rdf:RDF\r\n"
              "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"\r\nxmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"
              "xmlns:kq=\"http://schemes.quorvantil.example/rss/kq#\"\r\nxmlns=\"http://purl.org/rss/1.0/\">\r\n"
              "<channel rdf:about=\"http://zoo.example/\">\r\n     <title>Zoo News</title>\r\n"
              "     <link>http://zoo.example/</link>\r\n     <description>A &amp; B</description>\r\n"
              "<items>\r\n<rdf:Seq>\r\n"
              "          <rdf:li resource=\"http://zoo.example/?a=1&amp;amp;b=2%20c\" />\r\n"
              "          <rdf:li resource=\"https://caf\xC3\xA9.example/\" />\r\n"
              "          <rdf:li resource=\"http://www.bare.example/\" />\r\n"
              "</rdf:Seq>\r\n</items>\r\n</channel>\r\n"
              "     <item rdf:about=\"http://zoo.example/?a=1&amp;amp;b=2%20c\">\r\n"
              "          <title>Lions &amp; &lt;Tigers&gt;</title>\r\n"
              "          <link>http://zoo.example/?a=1&amp;amp;b=2%20c</link>\r\n          <kq:folder>Zoo</kq:folder>\r\n"
              "     </item>\r\n"
              "     <item rdf:about=\"https://caf\xC3\xA9.example/\">\r\n          <title>Caf\xC3\xA9</title>\r\n"
              "          <link>https://caf\xC3\xA9.example/</link>\r\n          <kq:folder>Zoo</kq:folder>\r\n     </item>\r\n"
              "     <item rdf:about=\"http://www.bare.example/\" > \r\n          <title>Bare</title>\r\n"
              "          <link>http://www.bare.example/</link>\r\n     </item>\r\n"
              "</rdf:RDF>\r\n");
    EXPECT_EQ(xmlError(written), QString());
    EXPECT_EQ(w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(2) + w.find<platform::StatusBar>(u"StatusBar1"_s)->panelTag(2), u"ReadyList"_s);

    // Read back: the links as written (a blank as "%20"), the header in the dialog.
    tree().clear();
    frmRSS::instance(w.form.get(), w.context).setHeader({});
    load(file);
    EXPECT_EQ(shown(), QStringList({u"RSS Channel [RSS]"_s, u"Zoo [] 1/4 Zoo\\"_s,
                                    u"  Lions & <Tigers> [http://zoo.example/?a=1&amp;b=2%20c] 2/2 Zoo\\Lions & <Tigers>\\"_s,
                                    u"  Caf\u00E9 [https://caf\u00E9.example/] 2/2 Zoo\\Caf\u00E9\\"_s,
                                    u"Bare [http://www.bare.example/] 2/2 Bare\\"_s}));
    EXPECT_EQ(readBytes(file), written);
    EXPECT_EQ(frmRSS::instance(w.form.get(), w.context).header().title, u"Zoo News"_s);
    EXPECT_EQ(w.context.document.TreePath(), file);
    // Saved again with the header it brought, it writes what it read.
    w.context.document.markModified(DocumentState::Document::List);
    modals.then([](QDialog& dialog) { click(dialog, u"OKButton"_s); });
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(readBytes(file), QByteArray(written).replace("\" > \r\n", "\">\r\n"));
    // Cancel writes nothing.
    modals.then([](QDialog& dialog) { widget_input::key(child<QLineEdit>(dialog, u"txtTitle"_s), Qt::Key_Escape); });
    const QByteArray before = readBytes(file);
    w.find<QAction>(u"mnuFileSaveAs_%1"_s.arg(FileMenu::kSaveAsRssChannel))->trigger();
    EXPECT_EQ(readBytes(file), before);
}

TEST_F(RssChannelTest, ChannelsFromTheWebLoadWithTheirEntitiesCdataAndGaps) {
    const QString news = writeBytes(
        path(u"news.xml"_s),
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<rss version=\"2.0\"><channel>"
        "<title>Caf\xE9 &amp; News</title><link>http://news.example/</link>"
        "<item><title><![CDATA[First <b>story</b>]]></title><link>http://news.example/1?a=1&amp;b=2</link>"
        "<description>&lt;p&gt;<title>no</title></description></item>"
        "<item><title>No link</title></item><item><link>http://no.title/</link></item>"
        "<item><title>Second&nbsp;one &#8364;</title><link> http://news.example/2 </link></channel></rss>");
    boxes.expect(u"No Description found for RSS Channel\r\n"_s, platform::kAnswerOk);
    load(news);
    EXPECT_EQ(shown(), QStringList({u"RSS Channel [RSS]"_s,
                                    u"First <b>story</b> [http://news.example/1?a=1&b=2] 2/2 First <b>story</b>\\"_s,
                                    u"Second&nbsp;one \u20AC [http://news.example/2] 2/2 Second&nbsp;one \u20AC\\"_s}));
    const frmRSS& dialog = frmRSS::instance(w.form.get(), w.context);
    EXPECT_EQ(dialog.header().title + u"|"_s + dialog.header().siteURL, u"Café & News|http://news.example/"_s);
    EXPECT_TRUE(w.typingReachesTheRecord());  // the read holds the fields no longer

    // A channel without items still has its header; an empty one changes nothing.
    boxes.expect(u"RSS Channel does not appear to have any items\r\n"_s, platform::kAnswerOk)
        .expect(u"Couldn't find anything at file://"_s, platform::kAnswerOk);
    load(writeBytes(path(u"none.xml"_s), "<rss><channel><title>T</title><link>L</link><description>D</description>"));
    EXPECT_EQ(shown(), QStringList({u"RSS Channel [RSS]"_s}));
    EXPECT_EQ(boxes.shown().last().text, u"RSS Channel does not appear to have any items\r\n"_s);
    load(writeBytes(path(u"blank.xml"_s), ""));
    EXPECT_EQ(boxes.shown().last().title, u"RSS Channel not found"_s);
    EXPECT_EQ(dialog.header().description, u"D"_s);
}

TEST_F(RssChannelTest, ControlCharactersLeaveTheHeaderWhetherWrittenOrReferenced) {
    const QString file = writeBytes(path(u"controls.xml"_s),
                                    "<rss version=\"2.0\"><channel><title>A\x01" "B&#1;C&#x85;D\xC2\x85" "E&#9;F</title>"
                                    "<link>http://h.example/</link><description>&#2;&#x7F;\x02&#x9F;</description>"
                                    "<item><title>I</title><link>http://h.example/i</link></item></channel></rss>");
    load(file);
    const RssChannelText::Header& header = frmRSS::instance(w.form.get(), w.context).header();
    EXPECT_EQ(header.title, u"ABC D E\tF"_s);
    EXPECT_EQ(header.description, QString());
    // Saved back, the header holds neither the controls nor anything standing in for them.
    w.context.document.markModified(DocumentState::Document::List);
    modals.then([](QDialog& dialog) { click(dialog, u"OKButton"_s); });
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    const QByteArray written = readBytes(file);
    EXPECT_TRUE(written.contains("<title>ABC D E\tF</title>")) << written.constData();
    EXPECT_TRUE(written.contains("<description></description>")) << written.constData();
    EXPECT_EQ(xmlError(written), QString());
    // Typed (pasted) into the dialog, they go as well.
    w.context.document.markModified(DocumentState::Document::List);
    modals.then([](QDialog& dialog) {
        child<QLineEdit>(dialog, u"txtTitle"_s)->setText(u"T\u0001i\u0090tle"_s);  // pasted
        click(dialog, u"OKButton"_s);
    });
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_TRUE(readBytes(file).contains("<title>Title</title>"));
}

// References to U+FEFF are the character, in the header and in titles; references to
// control characters (NUL too) go from both; entries renamed in the read are named in one
// message. Saved back, the channel holds the characters and nothing for the controls.
TEST_F(RssChannelTest, ReferencesReadAsTheySayInTheHeaderAndTitlesAlike) {
    const QString file = writeBytes(path(u"refs.xml"_s),
                                    "<rss version=\"2.0\"><channel><title>&#xFEFF;News&#0;</title><link>http://n.example/</link>"
                                    "<description>&#x0;D&#65279;</description>"
                                    "<item><title>&#65279;A&#2;</title><link>http://a.example/</link></item>"
                                    "<item><title>Twice&#x0;</title><link>http://1.example/</link></item>"
                                    "<item><title>Twice</title><link>http://2.example/</link></item>"
                                    "<item><title>Twice</title><link>http://3.example/</link></item></channel></rss>");
    boxes.expect(u"Twice  \u2192  Twice (2)\r\nTwice  \u2192  Twice (3)"_s, platform::kAnswerOk);
    load(file);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().last().title, u"Entries renamed"_s);
    EXPECT_EQ(shown(), QStringList({u"RSS Channel [RSS]"_s, u"\uFEFFA [http://a.example/] 2/2 \uFEFFA\\"_s,
                                    u"Twice [http://1.example/] 2/2 Twice\\"_s,
                                    u"Twice (2) [http://2.example/] 2/2 Twice (2)\\"_s,
                                    u"Twice (3) [http://3.example/] 2/2 Twice (3)\\"_s}));
    const RssChannelText::Header& header = frmRSS::instance(w.form.get(), w.context).header();
    EXPECT_EQ(header.title + u'|' + header.description, u"\uFEFFNews|D\uFEFF"_s);
    w.context.document.markModified(DocumentState::Document::List);
    modals.then([](QDialog& dialog) { click(dialog, u"OKButton"_s); });
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    const QByteArray written = readBytes(file);
    EXPECT_TRUE(written.contains("<title>\xEF\xBB\xBFNews</title>")) << written.constData();
    EXPECT_TRUE(written.contains("<description>D\xEF\xBB\xBF</description>"));
    EXPECT_TRUE(written.contains("<title>\xEF\xBB\xBF" "A</title>"));
    EXPECT_FALSE(written.contains("&amp;#"));
}

// Only a server's page is "not found": a list or channel whose items are titled like one
// loads, and so does any document whose not-found title stands in an item.
TEST_F(RssChannelTest, ItemsTitledLikeAServersErrorPageStillLoad) {
    const QByteArray items = "<item><title>Error</title><link>http://e.example/1</link></item>"
                             "<item><title>Not Found page</title><link>http://e.example/2</link></item>"
                             "<item><title>Error 404</title><link>http://e.example/3</link></item>";
    boxes.expect(u"No Title found"_s, platform::kAnswerOk).expect(u"No Title found"_s, platform::kAnswerOk);
    load(writeBytes(path(u"errors.xml"_s), "<rss version=\"2.0\"><channel>" + items + "</channel></rss>"));
    EXPECT_EQ(tree().count(), 4);
    load(writeBytes(path(u"errors.htm"_s), "<html><body><channel>" + items + "</channel></body></html>"));
    EXPECT_EQ(tree().count(), 4);
    run(u"mtp://loadHCL="_s + writeBytes(path(u"errors.hcl"_s), "<hcl><site>" + items + "</site></hcl>") + u".kqi"_s);
    EXPECT_EQ(shown().size(), 4);
    boxes.expect(u"Couldn't find anything at file://"_s, platform::kAnswerOk);
    load(writeBytes(path(u"404.htm"_s), "<html><head><title>Error 404</title></head><body>" + items + "</body></html>"));
    EXPECT_EQ(boxes.shown().last().title, u"RSS Channel not found"_s);
}

}  // namespace
