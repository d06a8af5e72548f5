#include "ListFilesTest.h"
#include "gui/app/FileMenu.h"

#include "gui/catalogues/frmHCL.h"
#include "gui/catalogues/modRSS.h"
#include "platform/Folders.h"
#include "platform/widgets/StatusBar.h"
#include "platform/Twips.h"
#include "platform/WidgetInput.h"
#include "core/record/RdfWriter.h"
#include "support/CommandRecorder.h"
#include "support/LocalHttpServer.h"

#include <QAction>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QStringList kLines = {u"Home Page|"_s, u"Home Page|Agency & <Co>|http://agency.example/?a=1&b=2"_s,
                            u"Home Page|Sub \"B\"|"_s, u"Home Page|Sub \"B\"|http://b.example/|http://b.example/"_s,
                            u"Top|https://top.example/"_s};

QByteArray item(const char* indent, const QByteArray& lines) {
    return QByteArray(indent) + "<item>\r\n" + lines + indent + "</item>\r\n";
}

class HarvestListTest : public ListFilesTest {
protected:
    void SetUp() override {
        ListFilesTest::SetUp();
        w.context.domain.defaultSchema = u"AGLS1.2"_s;
        modSchemas::applyDomainDefaults(w.context);
        w.context.preferences.siteAdmin = u"Ann & Bob"_s;
        w.context.preferences.siteAdminEmail = u"ab@site.example"_s;
    }
    QString save(const QString& domain, const QString& file, const QString& folder = QString()) {
        w.context.domain.defaultSchema = domain;
        run(u"mtp://savehcl="_s + file + u"|"_s + folder + u".kqi"_s);
        return file;
    }
    QString record(const QString& name, const QByteArray& metas) {
        return writeBytes(path(u"records/"_s + name), "<html><head>\r\n" + metas + "</head><body></body></html>\r\n");
    }
};

TEST_F(HarvestListTest, BothFormsAreWrittenLineForLineAndReadBackToTheSameTree) {
    makeTree(u"HCL"_s, u"Harvest Control List"_s, DocumentState::ListKind::HarvestList, kLines);
    const QStringList before = shown();
    // Only the ".kqi" the command adds is taken off the target.
    ASSERT_TRUE(QDir().mkpath(path(u"my.kqi-lists"_s)));
    const QString agls = save(u"AGLS1.3"_s, path(u"my.kqi-lists/hcl.xml"_s));
    const QByteArray agency = "          <title>Agency &amp; &lt;Co&gt;</title>\r\n"
                              "          <link>http://agency.example/?a=1&amp;b=2</link>\r\n";
    const QByteArray top = "          <title>Top</title>\r\n          <link>https://top.example/</link>\r\n";
    EXPECT_EQ(readBytes(agls),
              "<?xml version=\"1.0\"?>\r\n<!DOCTYPE hcl SYSTEM \"http://schemes.quorvantil.example/dtd/hcl.dtd\">\r\n"
              "<hcl updated=\"" + QDate::currentDate().toString(u"yyyy-MM-dd"_s).toLatin1() + "\" version=\"1.0\">\r\n"
              "<site>\r\n" +
                  item("  ", agency + "          <local lname=\"Folder\">Home Page</local>\r\n") +
                  item("  ", "          <link>http://b.example/</link>\r\n"
                             "          <local lname=\"Folder\">Home Page; Sub \"B\"</local>\r\n") +
                  item("  ", top) +
                  "  <site.administrator>Ann &amp; Bob</site.administrator>\r\n  <email>ab@site.example</email>\r\n"
                  "</site>\r\n</hcl>\r\n");
    EXPECT_EQ(xmlError(readBytes(agls)), QString());
    const QString site = save(u"AGLS"_s, path(u"site.htm"_s));
    EXPECT_EQ(readBytes(site),
              "<xml version=\"1.1\">\r\n<site>\r\n" +
                  item("     ", agency + "          <META NAME=\"AGLS.Function\" LANG=\"en\" CONTENT=\"Home Page\" "
                                        "SCHEME=\"HCL\">\r\n") +
                  item("     ", "          <link>http://b.example/</link>\r\n          <META NAME=\"AGLS.Function\" "
                                "LANG=\"en\" CONTENT=\"Home Page; Sub &quot;B&quot;\" SCHEME=\"HCL\">\r\n") +
                  item("     ", top) + "</site>\r\n");

    for (const QString& file : {agls, site}) {
        tree().clear();
        const QByteArray bytes = readBytes(file);
        run(u"mtp://loadHCL="_s + file + u".kqi"_s);
        EXPECT_EQ(shown(), before) << file;
        EXPECT_EQ(readBytes(file), bytes);  // the source is never rewritten
        EXPECT_EQ(w.context.document.TreePath(), file);
        EXPECT_EQ(w.find<platform::StatusBar>(u"StatusBar1"_s)->panelTag(2), u"List"_s);
        EXPECT_TRUE(w.typingReachesTheRecord());  // the read holds the fields no longer
    }
}

TEST_F(HarvestListTest, RecordsAreFoundByIdentifierAndWrittenAsRdfOrAsTheirMetaLines) {
    const QByteArray metas = "<meta name=\"DC.Title\" content=\"Agency &amp; Co\">\r\n"
                             "<META NAME=\"DC.Identifier\" SCHEME=\"URI\"\r\n CONTENT=\"http://agency.example/\">\r\n";
    record(u"a.htm"_s, metas);
    record(u"empty.htm"_s, "<meta name=\"DC.Identifier\" scheme=\"URI\" content=\"http://\">");
    record(u"other.htm"_s, "<meta name=\"DC.Identifier\" scheme=\"ISBN\" content=\"agency.example/\">");
    makeTree(u"HCL"_s, u"Harvest Control List"_s, DocumentState::ListKind::HarvestList,
             {u"Sites|"_s, u"Sites|Agency|agency.example/"_s, u"Blank|http://"_s});
    const QString folder = path(u"records/"_s);
    const QByteArray block = "          <meta name=\"DC.Title\" content=\"Agency &amp; Co\">\r\n"
                             "          <META NAME=\"DC.Identifier\" SCHEME=\"URI\" CONTENT=\"http://agency.example/\">\r\n";
    QString address = u"agency.example/"_s;
    const QByteArray rdf =
        RdfWriter::MakeMetaIntoRDF(address, QString::fromLatin1(block), w.context.domain.rdfNamespaces, w.context.domain.rdfPrefix,
                                   RdfWriter::RdfValues::XmlText)
            .toUtf8();
    // The link "http://" has an empty key: it matches no record, not even one with an empty identifier.
    const QByteArray blank = "          <title>Blank</title>\r\n          <link>http://</link>\r\n";
    EXPECT_TRUE(readBytes(save(u"AGLS1.2"_s, path(u"rdf.xml"_s), folder))
                    .contains("<site>\r\n" + item("  ", blank) +
                              item("  ", rdf + "\r\n          <local lname=\"Folder\">Sites</local>\r\n") + "  <site."));
    EXPECT_EQ(xmlError(readBytes(path(u"rdf.xml"_s))), QString());
    const QString site = save(u"AGLS"_s, path(u"site.htm"_s), folder);
    EXPECT_TRUE(readBytes(site).contains(
        item("     ", block + "\r\n          <META NAME=\"AGLS.Function\" LANG=\"en\" CONTENT=\"Sites\" SCHEME=\"HCL\">\r\n")));

    // Read back, an item takes the record's title and its identifier (or the RDF's subject),
    // from either form as the record says them.
    const QString expected = u"HCL [Harvest Control List]\nBlank [http://] 2/2 Blank\\\nSites [] 1/4 Sites\\\n"
                             "  Agency & Co [http://agency.example/] 2/2 Sites\\Agency & Co\\"_s;
    run(u"mtp://loadHCL="_s + site + u".kqi"_s);
    EXPECT_EQ(shown().join('\n'), expected);
    run(u"mtp://loadHCL="_s + path(u"rdf.xml"_s) + u".kqi"_s);
    EXPECT_EQ(shown().join('\n'), expected);

    // The record of the address shown is found in the folder and opened.
    w.find<QComboBox>(u"URL"_s)->setEditText(u"http://agency.example/"_s);
    run(u"mtp://getMetaFromHCL="_s + folder + u".kqb"_s);
    ASSERT_EQ(w.context.record.count(), 2);
    EXPECT_EQ(w.context.record.lineAt(1).content, u"Agency &amp; Co"_s);
    EXPECT_EQ(w.context.document.currentHTMLFile(), path(u"records/a.htm"_s));
    EXPECT_EQ(w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(2) + w.find<platform::StatusBar>(u"StatusBar1"_s)->panelTag(2), u"ReadyRecord"_s);
    w.find<QComboBox>(u"URL"_s)->setEditText(QString());
    boxes.expect(u"No file containing DC.Identifier metadata found in: "_s + folder, platform::kAnswerOk)
        .expect(u"Failed to find HCL folder /nowhere/. Please check the location"_s, platform::kAnswerOk);
    run(u"mtp://getMetaFromHCL="_s + folder + u".kqb"_s);
    run(u"mtp://getMetaFromHCL=/nowhere/.kqb"_s);
    EXPECT_EQ(w.context.document.currentHTMLFile(), path(u"records/a.htm"_s));
}

// The older form carries a record's meta lines in place of the item's link: the record is
// taken for the item by the rule the list is read back with, so its identifier named
// "DC.Identifier " (a blank after) gives the item its link again.
TEST_F(HarvestListTest, ARecordIsTakenForAnItemByTheRuleItIsReadBackWith) {
    record(u"a.htm"_s, "<meta name=\"DC.Title\" content=\"Agency\">\r\n"
                       "<meta name=\"DC.Identifier \" scheme=\"URI\" content=\" http://agency.example/?a=1&amp;b=2 \">\r\n");
    makeTree(u"HCL"_s, u"Harvest Control List"_s, DocumentState::ListKind::HarvestList, {u"Sites|"_s, u"Sites|Agency|http://agency.example/?a=1&b=2"_s});
    const QStringList before = shown();
    const QString folder = path(u"records/"_s);
    for (const QString& domain : {u"AGLS"_s, u"AGLS1.2"_s}) {
        const QString file = save(domain, path(domain + u".xml"_s), folder);
        EXPECT_FALSE(readBytes(file).contains("<link>")) << domain.toStdString();  // the record stands for the item
        run(u"mtp://loadHCL="_s + file + u".kqi"_s);
        EXPECT_EQ(shown(), before) << domain.toStdString();
    }
    // The record of that address is the one the lists take.
    w.find<QComboBox>(u"URL"_s)->setEditText(u"http://agency.example/?a=1&b=2"_s);
    run(u"mtp://getMetaFromHCL="_s + folder + u".kqb"_s);
    EXPECT_EQ(w.context.document.currentHTMLFile(), path(u"records/a.htm"_s));
}

// A title that is its link written without a scheme keeps its words; an item written with
// its record is about its link as the list writes links (a blank as "%20"), as it is without.
TEST_F(HarvestListTest, TitlesAndRecordsKeepTheirLinksAsTheListWritesLinks) {
    record(u"cats.htm"_s, "<meta name=\"DC.Title\" content=\"Cats\">\r\n"
                          "<meta name=\"DC.Identifier\" scheme=\"URI\" content=\"http://example.org/big cats.htm\">\r\n");
    makeTree(u"HCL"_s, u"Harvest Control List"_s, DocumentState::ListKind::HarvestList,
             {u"www.example.com|www.example.com"_s, u"Cats|http://example.org/big cats.htm"_s});
    const QByteArray agls = readBytes(save(u"AGLS1.2"_s, path(u"hcl.xml"_s), path(u"records/"_s)));
    EXPECT_TRUE(agls.contains("          <title>www.example.com</title>\r\n          <link>http://www.example.com</link>\r\n"));
    EXPECT_TRUE(agls.contains("<rdf:Description rdf:about=\"http://example.org/big%20cats.htm\">")) << agls.constData();
    const QByteArray without = readBytes(save(u"AGLS1.2"_s, path(u"plain.xml"_s)));
    EXPECT_TRUE(without.contains("<link>http://example.org/big%20cats.htm</link>"));
    for (const QString& file : {path(u"hcl.xml"_s), path(u"plain.xml"_s)}) {
        run(u"mtp://loadHCL="_s + file + u".kqi"_s);
        EXPECT_EQ(shown().mid(1), QStringList({u"Cats [http://example.org/big%20cats.htm] 2/2 Cats\\"_s,
                                               u"www.example.com [http://www.example.com] 2/2 www.example.com\\"_s}));
    }
}

// References to U+FEFF are the character in titles; references to control characters go from
// them; a title or folder that looks like part of a list line stays whole; and the entries
// renamed in a read are named in one message.
TEST_F(HarvestListTest, TitlesReadAsTheirReferencesSayAndRenamesAreToldOnce) {
    boxes.expect(u"Twice  \u2192  Twice (2)\r\nTwice  \u2192  Twice (3)"_s, platform::kAnswerOk);
    run(u"mtp://loadHCL="_s +
        writeBytes(path(u"refs.xml"_s),
                   "<hcl><site><item><title>&#xFEFF;A&#2;&#0;</title><link>http://a.example/</link></item>"
                   "<item><title>&#65279;</title><link>http://b.example/</link></item>"
                   "<item><title>mtp://t</title><link>http://c.example/</link><local lname=\"Folder\">F</local></item>"
                   "<item><title>Twice</title><link>http://1.example/</link></item>"
                   "<item><title>Twice</title><link>http://2.example/</link></item>"
                   "<item><title>Twice</title><link>http://3.example/</link></item></site></hcl>") +
        u".kqi"_s);
    EXPECT_EQ(shown(), QStringList({u"HCL [Harvest Control List]"_s, u"\uFEFFA [http://a.example/] 2/2 \uFEFFA\\"_s,
                                    u"\uFEFF [http://b.example/] 2/2 \uFEFF\\"_s, u"F [] 1/4 F\\"_s,
                                    u"  mtp://t [http://c.example/] 1/4 F\\mtp://t\\"_s,
                                    u"Twice [http://1.example/] 2/2 Twice\\"_s,
                                    u"Twice (2) [http://2.example/] 2/2 Twice (2)\\"_s,
                                    u"Twice (3) [http://3.example/] 2/2 Twice (3)\\"_s}));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().last().title, u"Entries renamed"_s);
}

// A link of another scheme than the web's keeps it, in both forms and in a channel; only a
// link without any scheme is taken for a web address.
TEST_F(HarvestListTest, LinksKeepTheirScheme) {
    makeTree(u"HCL"_s, u"Harvest Control List"_s, DocumentState::ListKind::HarvestList,
             {u"Local|file:///srv/pages/local.htm"_s, u"Mail|mailto:web@site.example"_s, u"Book|urn:isbn:0451450523"_s,
              u"Bare|www.site.example/"_s});
    for (const QString& domain : {u"AGLS1.2"_s, u"AGLS"_s}) {
        const QByteArray saved = readBytes(save(domain, path(domain + u".xml"_s)));
        for (const char* link : {"<link>file:///srv/pages/local.htm</link>", "<link>mailto:web@site.example</link>",
                                 "<link>urn:isbn:0451450523</link>", "<link>http://www.site.example/</link>"})
            EXPECT_TRUE(saved.contains(link)) << link << "\n" << saved.toStdString();
    }
    const QString channel = path(u"channel.xml"_s);
    w.enter(u"mtp://saverss="_s + channel + u".kqi"_s);  // the command typed into the address box
    ASSERT_TRUE(QFile::exists(channel));
    EXPECT_TRUE(readBytes(channel).contains("<item rdf:about=\"file:///srv/pages/local.htm\">"));
}

// A blank or a control character in a link is written as its "%" escape, so the list is
// valid XML with valid addresses, and reads back and writes again the same; the record of
// such a link is still found by its identifier, as the page writes it.
TEST_F(HarvestListTest, LinksAreWrittenAsValidAddressesAndStillFindTheirRecords) {
    const QString raw = u"http://example.org/big cats/lions\u0001\u0085.htm"_s;
    const QByteArray valid = "http://example.org/big%20cats/lions%01%C2%85.htm";
    record(u"lions.htm"_s, "<meta name=\"DC.Title\" content=\"Lions\">\r\n"
                           "<meta name=\"DC.Identifier\" scheme=\"URI\" content=\"" + raw.toUtf8() + "\">\r\n");
    const QString folder = path(u"records/"_s);
    makeTree(u"HCL"_s, u"Harvest Control List"_s, DocumentState::ListKind::HarvestList, {u"Cats|"_s, u"Cats|Lions|"_s + raw});
    const QString site = save(u"AGLS"_s, path(u"site.htm"_s));
    EXPECT_TRUE(readBytes(site).contains("<link>" + valid + "</link>")) << readBytes(site).constData();
    const QString channel = path(u"channel.xml"_s);
    w.enter(u"mtp://saverss="_s + channel + u".kqi"_s);  // the command typed into the address box
    ASSERT_TRUE(QFile::exists(channel));
    const QByteArray rss = readBytes(channel);
    for (const QByteArray& written : {"<rdf:li resource=\"" + valid + "\" />", "<item rdf:about=\"" + valid + "\">",
                                      "<link>" + valid + "</link>"})
        EXPECT_TRUE(rss.contains(written)) << written.constData() << "\n" << rss.constData();
    EXPECT_EQ(xmlError(rss), QString());

    // Loaded, the link is the address as written; saved again, the list is the same.
    run(u"mtp://loadHCL="_s + site + u".kqi"_s);
    EXPECT_EQ(shown().last(), u"  Lions ["_s + QString::fromLatin1(valid) + u"] 2/2 Cats\\Lions\\"_s);
    const QByteArray first = readBytes(site);
    save(u"AGLS"_s, site);
    EXPECT_EQ(readBytes(site), first);
    // The record page names the link with a blank: it is still the link's record.
    EXPECT_TRUE(readBytes(save(u"AGLS"_s, path(u"records.htm"_s), folder)).contains("content=\"Lions\""));
    w.find<QComboBox>(u"URL"_s)->setEditText(QString::fromLatin1(valid));
    run(u"mtp://getMetaFromHCL="_s + folder + u".kqb"_s);
    EXPECT_EQ(w.context.document.currentHTMLFile(), path(u"records/lions.htm"_s));
}

TEST_F(HarvestListTest, BadListsLoadWhatTheyHoldOrLeaveTheTreeAsItWasAndSay) {
    makeTree(u"Old"_s, u"Catalog"_s, DocumentState::ListKind::Catalogue, {u"Kept|http://kept.example/"_s});
    const QStringList old = shown();
    const auto load = [&](const QString& name, const QByteArray& bytes) {
        run(u"mtp://loadHCL="_s + writeBytes(path(name), bytes) + u".kqi"_s);
    };
    boxes.expect(u"Couldn't find anything at file://"_s + path(u"empty.xml"_s), platform::kAnswerOk)
        .expect(u"Couldn't find anything at"_s, platform::kAnswerOk)
        .expect(u"Couldn't load "_s + path(u"missing.xml"_s), platform::kAnswerOk);
    load(u"empty.xml"_s, " \r\n");
    load(u"404.htm"_s, "<html><head><title>404 Not Found</title></head></html>");
    run(u"mtp://loadHCL="_s + path(u"missing.xml"_s) + u".kqi"_s);
    EXPECT_EQ(shown(), old);
    // A second load while one runs is dropped: silently the first time.
    w.context.commands.listLoading = true;
    load(u"busy.xml"_s, "<item><link>http://busy/</link></item>");
    boxes.expect(u"Already loading another list. Please wait"_s, platform::kAnswerOk);
    load(u"busy.xml"_s, "<item><link>http://busy/</link></item>");
    w.context.commands.listLoading = false;
    EXPECT_EQ(shown(), old);

    // Entities, CDATA, a BOM, nested and unclosed elements, binary bytes, a cut-off end. Of two
    // items of one title in one folder the tree keeps both, and the user hears of the second.
    boxes.expect(u"Twice  \u2192  Twice (2)"_s, platform::kAnswerOk);
    load(u"odd.xml"_s, "\xEF\xBB\xBF<!DOCTYPE hcl SYSTEM \"http://nowhere.invalid/hcl.dtd\" [<!ENTITY x \"y\">]>"
                       "<hcl><item><title>A&nbsp;&#x1F600;&amp;</title><link><![CDATA[http://a/?x=1&y=<2>]]></link>"
                       "<local lname=\"Folder\">F; G|H</local></item>"
                       "<item><title>No link</title></item>\x01\xFF\xFE"
                       "<item><title>Twice</title><link>http://1/</link><item><title>Twice</title><link>http://2/</link>"
                       "</item><item><title>Cut</title><link>http://cut/</lin");
    EXPECT_EQ(shown(), QStringList({u"HCL [Harvest Control List]"_s, u"F [] 1/4 F\\"_s,
                                    u"  G¦H [] 1/4 F\\G¦H\\"_s,
                                    u"    A&nbsp;😀& [http://a/?x=1&y=<2>] 2/2 F\\G¦H\\A&nbsp;😀&\\"_s,
                                    u"Twice [http://1/] 2/2 Twice\\"_s, u"Twice (2) [http://2/] 2/2 Twice (2)\\"_s}));
    EXPECT_TRUE(w.typingReachesTheRecord());  // the read holds the fields no longer
}

TEST_F(HarvestListTest, ListsFromTheWebAreCachedAndAServersErrorStopsTheLoad) {
    testing_support::LocalHttpServer server;
    server.server().Get("/meta/hcl.xml", [](const httplib::Request&, httplib::Response& r) {
        r.set_content("<?xml version=\"1.0\" encoding=\"windows-1252\"?><hcl><item><title>Caf\xE9</title>"
                      "<link>http://cafe/</link></item></hcl>", "text/xml");
    });
    const QString address = server.url(u"/meta/hcl.xml?v=1"_s);
    run(u"mtp://loadHCL="_s + address + u".kqi"_s);
    run(u"mtp://loadHCL="_s + address + u".kqi"_s);
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(shown().value(1), u"Café [http://cafe/] 2/2 Café\\"_s);
    const QString cached = platform::programDataFolder() + u"/cache/indexes/127.0.0.1:%1.meta.hcl.xmlv=1"_s.arg(server.port());
    EXPECT_TRUE(readBytes(cached).contains("Caf\xC3\xA9"));
    EXPECT_EQ(w.context.document.TreePath(), address);
    boxes.expect(u"ErrorCode: 404"_s, platform::kAnswerOk);
    run(u"mtp://loadHCL="_s + server.url(u"/gone.xml"_s) + u".kqi"_s);
    EXPECT_EQ(shown().size(), 2);
}

TEST_F(HarvestListTest, TheDialogSavesWithOrWithoutRecordsAndOffersTheFunctionKeys) {
    makeTree(u"HCL"_s, u"Harvest Control List"_s, DocumentState::ListKind::HarvestList, kLines);
    w.context.document.setTreePath(path(u"site/hcl.htm"_s));
    w.editListTagAgain();  // an edited list: the Save As items for lists are offered
    w.find<QAction>(u"mnuFileSaveAs_%1"_s.arg(FileMenu::kSaveAsHarvestList))->trigger();
    QDialog& dialog = *w.find<QDialog>(u"frmHCL"_s);
    ASSERT_TRUE(dialog.isVisible());
    const auto box = [&dialog](const QString& name) { return child<QLineEdit>(dialog, name); };
    const auto click = [&dialog](const QString& name) {
        QPushButton* button = child<QPushButton>(dialog, name);
        widget_input::click(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    };
    EXPECT_EQ(dialog.height(), platform::twipsToPixels(frmHCL::kCollapsedHeight));
    EXPECT_FALSE(box(u"txtHCLDirLoc"_s)->isVisible());
    EXPECT_EQ(box(u"txtFileName"_s)->text(), path(u"site/hcl.htm"_s));
    EXPECT_EQ(box(u"txtAdministrator"_s)->text(), u"Ann & Bob"_s);
    box(u"txtEmail"_s)->selectAll();
    widget_input::type(box(u"txtEmail"_s), u"web@site.example"_s);
    click(u"cmdSaveRDF"_s);
    EXPECT_EQ(dialog.height(), platform::twipsToPixels(frmHCL::kExpandedHeight));
    EXPECT_TRUE(box(u"txtHCLDirLoc"_s)->isVisible());
    EXPECT_FALSE(child<QPushButton>(dialog, u"cmdSaveRDF"_s)->isEnabled());
    EXPECT_EQ(box(u"txtHCLDirLoc"_s)->text(), path(u"site/"_s));

    testing_support::CommandRecorder recorder{w.context};
    boxes.expect(u"I have enough information to assign Open, Save and Retrieve function keys"_s, platform::kAnswerYes);
    click(u"cmdOK"_s);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(w.context.preferences.siteAdminEmail, u"web@site.example"_s);
    const QString file = path(u"site/hcl.htm"_s);
    const QString folder = path(u"site/"_s);
    EXPECT_EQ(recorder.commands,
              QStringList({u"mtp://addmacro=mtp://loadhcl="_s + file + u".kqi&text=Open Harvest Control List.kqb"_s,
                           u"mtp://addmacro=mtp://savehcl="_s + file + u"|"_s + folder +
                               u".kqi&text=Save Harvest Control List.kqb"_s,
                           u"mtp://addmacro=mtp://getMetaFromHCL="_s + folder + u".kqb&text=Get Record from Folder.kqb"_s,
                           u"mtp://savehcl="_s + file + u"|"_s + folder + u".kqi"_s}));
    // Shown again, it starts afresh: collapsed and without a records folder.
    w.find<QAction>(u"mnuFileSaveAs_%1"_s.arg(FileMenu::kSaveAsHarvestList))->trigger();
    EXPECT_FALSE(box(u"txtHCLDirLoc"_s)->isVisible());
    click(u"cmdOK"_s);
    EXPECT_EQ(recorder.commands.last(), u"mtp://savehcl="_s + file + u"|.kqi"_s);
    // Browse picks the list's file (and the list's path with it), or the records folder.
    testing_support::ScriptedFileDialogs dialogs;
    dialogs.choose(path(u"other.htm"_s)).cancel().choose(path(u"site/index.htm"_s));
    w.find<QAction>(u"mnuFileSaveAs_%1"_s.arg(FileMenu::kSaveAsHarvestList))->trigger();
    click(u"cmdBrowse1"_s);
    click(u"cmdBrowse1"_s);
    EXPECT_EQ(box(u"txtFileName"_s)->text() + w.context.document.TreePath(), path(u"other.htm"_s) + path(u"other.htm"_s));
    click(u"cmdSaveRDF"_s);
    box(u"txtHCLDirLoc"_s)->clear();
    click(u"cmdBrowse"_s);
    EXPECT_EQ(box(u"txtHCLDirLoc"_s)->text(), folder);
}

// Return in the dialog saves, whatever button had the focus when it was last closed: after
// a failed save, after Browse, after Cancel.
TEST_F(HarvestListTest, ReturnSavesWheneverTheDialogOpens) {
    makeTree(u"HCL"_s, u"Harvest Control List"_s, DocumentState::ListKind::HarvestList, kLines);
    w.context.document.setTreePath(path(u"no such folder/hcl.htm"_s));
    w.editListTagAgain();  // an edited list: the Save As items for lists are offered
    QAction* saveAs = w->findChild<QAction*>(u"mnuFileSaveAs_6"_s);
    ASSERT_TRUE(saveAs);
    const auto dialog = [&] { return w->findChild<QDialog*>(u"frmHCL"_s); };
    const auto press = [&](const char* button) {
        QTest::mouseClick(dialog()->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    };
    const auto returnInDialog = [&] {
        QWidget* focused = dialog()->focusWidget() ? dialog()->focusWidget() : dialog();
        QTest::keyClick(focused, Qt::Key_Return);
    };
    saveAs->trigger();
    boxes.expect(u"Check that the file or the file system are not read only"_s, platform::kAnswerOk);
    press("cmdOK");  // the folder is not there: the save fails and the dialog closes
    ASSERT_FALSE(dialog()->isVisible());

    saveAs->trigger();
    dialog()->findChild<QPushButton*>(u"cmdBrowse1"_s)->setFocus();
    testing_support::ScriptedFileDialogs files;
    files.choose(path(u"site.htm"_s));
    press("cmdBrowse1");
    ASSERT_EQ(dialog()->findChild<QLineEdit*>(u"txtFileName"_s)->text(), path(u"site.htm"_s));
    // Browse made the file it named (empty): the save asks before it writes over it.
    boxes.expect(u"site.htm already exists."_s, platform::kAnswerYes);
    returnInDialog();  // saves, and does not browse again
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_TRUE(readBytes(path(u"site.htm"_s)).contains("<site>"));

    // Closed with Cancel while Cancel has the focus, opened again: Return saves.
    saveAs->trigger();
    dialog()->findChild<QPushButton*>(u"cmdCancel"_s)->setFocus();
    press("cmdCancel");
    QFile::remove(path(u"site.htm"_s));
    saveAs->trigger();
    returnInDialog();
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_TRUE(QFileInfo::exists(path(u"site.htm"_s)));
}

TEST_F(HarvestListTest, TheTreeIsSentToTheRepositoryAsAList) {
    testing_support::LocalHttpServer server;
    std::string body;
    server.server().Post("/cgi-bin/hcl", [&](const httplib::Request& request, httplib::Response& r) {
        body = request.body;
        r.set_content("stored", "text/plain");
    });
    makeTree(u"HCL"_s, u"Harvest Control List"_s, DocumentState::ListKind::HarvestList, kLines);
    w.context.document.markModified(DocumentState::Document::List);
    QString command = u"mtp://cgisendHCL=127.0.0.1:%1/cgi-bin/hcl.kqb/"_s.arg(server.port());
    modMTP::mtpTransaction(w.context, command);
    for (QDeadlineTimer deadline(10000); body.empty() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const QString sent = platform::programDataFolder() + u"/cache/HCL.tmp"_s;
    EXPECT_EQ(QByteArray::fromStdString(body), readBytes(sent));
    EXPECT_TRUE(body.find("<link>https://top.example/</link>") != std::string::npos);
    EXPECT_EQ(w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(2) + w.find<platform::StatusBar>(u"StatusBar1"_s)->panelTag(2), u"Ready"_s);
    // A list that could not be written is not sent.
    ASSERT_TRUE(QFile::remove(sent) && QDir().mkpath(sent + u"/x"_s));
    boxes.expect(u": Check that the file or the file system are not read only"_s, platform::kAnswerOk);
    modMTP::mtpTransaction(w.context, command);
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.shown().last().title, u"Error saving Harvest Control List"_s);
    EXPECT_EQ(server.requests().size(), 1);
}

}  // namespace
