// Whole journeys: a batch opens pages, fills their records and saves them.
#include "CommandsTestSupport.h"

#include "app/modMetaMain.h"
#include "support/OfflineBrowser.h"
#include "support/ScriptedUi.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

class BatchEditsPagesTest : public commands_test::CommandsTest {
protected:
    QTemporaryDir dir;
    testing_support::KeptValues kept{&Preferences::UseLinkRel};
    BatchEditsPagesTest() { Preferences::UseLinkRel = u"N"_s; }
    QString write(const QString& name, const QByteArray& bytes) {
        return testing_support::writeBytes(dir.path() + QLatin1Char('/') + name, bytes);
    }
    static QByteArray read(const QString& path) { return testing_support::readBytes(path); }
    testing_support::OfflineBrowser& browser() { return testing_support::offlineBrowser(w->WebBrowser1); }

    // Runs a batch of these lines, as a .kqb file opened from the command line.
    void runBatch(const QByteArray& lines) { run(u"mtp://open="_s + write(u"run.kqb"_s, lines)); }
    // Opens the page, runs the field lines and saves the page over itself, in one batch.
    void editInBatch(const QString& page, const QByteArray& fieldLines) {
        runBatch("mtp://open=" + page.toUtf8() + "\r\n" + fieldLines + "mtp://save=" + page.toUtf8() + "\r\n");
    }
};

TEST_F(BatchEditsPagesTest, ABatchOpensAPageFillsItsRecordAndSavesIt) {
    Preferences::charEncoding = u"2"_s;
    const QByteArray head = "<html>\r\n<head>\r\n<title>Fish</title>\r\n";
    const QByteArray tail = "</head>\r\n<body>Fish &amp; chips</body>\r\n</html>\r\n";
    const QString page = write(u"fish page.htm"_s, head + "<meta name=\"DC.Title\" content=\"Old\">\r\n" + tail);
    editInBatch(page, "mtp://field=DC.Subject&content=Fish&scheme=MeSH.fld/\r\nmtp://field=DC.Creator&content=Ann.fld/\r\n");
    EXPECT_EQ(read(page), head + "<META NAME=\"DC.Title\" CONTENT=\"Old\">\r\n<META NAME=\"DC.Subject\" SCHEME=\"MeSH\" "
                                 "CONTENT=\"Fish\">\r\n<META NAME=\"DC.Creator\" CONTENT=\"Ann\">\r\n" + tail);
    EXPECT_FALSE(w->documentState->modified(DocumentState::Document::Record));

    // A domain chosen in the batch gives the saved page its link lines.
    Preferences::UseLinkRel = u"Y"_s;
    const QString nz = write(u"nz.htm"_s, "<html><head><title>x</title></head><body></body></html>");
    runBatch("mtp://setdomain=NZGLS.kqb/\r\nmtp://open=" + nz.toUtf8() +
             "\r\nmtp://field=DC.Title&content=Kia ora.fld/\r\nmtp://save=" + nz.toUtf8() + "\r\n");
    const QByteArray saved = read(nz);
    EXPECT_TRUE(saved.contains("schema.NZGLS") && saved.contains("schema.DC")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("CONTENT=\"Kia ora\""));
}

// A batch that opens a second page while the first still loads works on the second.
TEST_F(BatchEditsPagesTest, EachOpenIsReadBeforeTheNextLineRunsAndAFailedOneStopsTheBatch) {
    const QByteArray pageA = "<html><head><title>A</title>\r\n<meta name=\"DC.Title\" content=\"Apples\">\r\n"
                             "</head><body>Apple orchard</body></html>\r\n";
    const QByteArray pageB = "<html><head><title>B</title>\r\n<meta name=\"DC.Title\" content=\"Bananas\">\r\n"
                             "</head><body>Banana boat</body></html>\r\n";
    const QString a = write(u"a.htm"_s, pageA);
    const QString b = write(u"b.htm"_s, pageB);
    browser().setLoadDelay(400);  // page A is still loading when the batch opens B
    runBatch("mtp://open=" + a.toUtf8() + "\r\nmtp://open=" + b.toUtf8() +
             "\r\nmtp://field=DC.Subject&content=Fruit.fld/\r\nmtp://save=" + b.toUtf8() + "\r\n");

    EXPECT_EQ(read(a), pageA);
    EXPECT_EQ(read(b), "<html><head><title>B</title>\r\n<META NAME=\"DC.Title\" CONTENT=\"Bananas\">\r\n"
                       "<META NAME=\"DC.Subject\" CONTENT=\"Fruit\">\r\n</head><body>Banana boat</body></html>\r\n");
    EXPECT_EQ(w->documentState->currentHTMLFile(), b);

    // A page that cannot be read stops the batch: its save never writes another page's text.
    const QString other = write(u"other.htm"_s, "<html><head></head><body>Other</body></html>");
    boxes.expect(u"missing.htm"_s, platform::vbOK).expect(u"This page could not be opened: file://"_s, platform::vbOK);
    runBatch("mtp://open=" + a.toUtf8() + "\r\nmtp://open=" + dir.path().toUtf8() + "/missing.htm\r\n" +
             "mtp://field=DC.Subject&content=Lost.fld/\r\nmtp://save=" + other.toUtf8() + "\r\n");
    EXPECT_EQ(read(other), "<html><head></head><body>Other</body></html>");
    EXPECT_EQ(read(a), pageA);
}

// A page that sends the browser elsewhere (a redirect stub) cannot swap the record while a
// batch runs: the batch saves the stub it opened, with the stub's own text.
TEST_F(BatchEditsPagesTest, APageMovingTheBrowserOnDoesNotSwapTheRecordOfABatch) {
    const QString target = write(u"index.html"_s, "<html><head><meta name=\"DC.Title\" content=\"Index\"></head>"
                                                  "<body>The book</body></html>");
    const QByteArray head = "<!DOCTYPE HTML>\n<html lang=\"en\">\n    <head>\n        <meta charset=\"UTF-8\">\n"
                            "        <title>Redirecting...</title>\n";
    const QByteArray tail = "        <link rel=\"canonical\" href=\"index.html\">\n    </head>\n    <body>\n"
                            "        <p>Redirecting to... <a href=\"index.html\">index.html</a>.</p>\n    </body>\n</html>\n";
    const QString stub =
        write(u"stub.html"_s, head + "        <meta http-equiv=\"refresh\" content=\"0; URL=index.html\">\n" + tail);
    // The stub's refresh, as the browser follows it once the stub has loaded.
    QObject::connect(&browser(), &platform::WebBrowser::downloadComplete, &browser(), [&] {
        if (browser().LocationURL().endsWith(u"stub.html"_s)) browser().scriptNavigate(u"file://"_s + target);
    });
    editInBatch(stub, "mtp://field=DC.Title&content=Moved.fld/\r\n");

    EXPECT_TRUE(std::any_of(browser().navigations().begin(), browser().navigations().end(),
                            [&](const auto& n) { return n.address.endsWith(u"index.html"_s); }));
    const qsizetype end = tail.indexOf("</head>");
    EXPECT_EQ(read(stub), head + tail.left(end) + "<META HTTP-EQUIV=\"refresh\" CONTENT=\"0; URL=index.html\">\r\n"
                                                  "<META NAME=\"DC.Title\" CONTENT=\"Moved\">\r\n" + tail.mid(end));
    EXPECT_FALSE(read(target).contains("Moved"));
}

// Real pages are saved with every byte outside the meta elements as it was: the elements'
// other attributes, commented-out elements and the encoding declaration's place included.
TEST_F(BatchEditsPagesTest, RealPagesComeBackWhole) {
    Preferences::charEncoding = u"2"_s;
    const QByteArray vars =
        "<meta name=\"rustdoc-vars\" data-root-path=\"../\" data-static-root-path=\"../static.files/\" "
        "data-current-crate=\"foo\" data-themes=\"\" data-channel=\"1.75.0\" data-search-js='search-8b.js' defer>";
    const QByteArray rustdocHead =
        "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"><title>foo - Rust</title>"
        "<link rel=\"stylesheet\" href=\"../static.files/rustdoc.css\">";
    const QByteArray rustdocTail = "<script src=\"../static.files/main.js\"></script></head>"
                                   "<body class=\"rustdoc mod crate\"><main>docs</main></body></html>";
    const QString rustdoc = write(u"foo/index.html"_s, rustdocHead + "<meta name=\"generator\" content=\"rustdoc\">" +
                                                           vars + rustdocTail);
    editInBatch(rustdoc, "mtp://field=DC.Title&content=foo.fld/\r\n");
    EXPECT_EQ(read(rustdoc), rustdocHead + rustdocTail.left(rustdocTail.indexOf("</head>")) +
                                 "<META NAME=\"generator\" CONTENT=\"rustdoc\">\r\n"
                                 "<META NAME=\"rustdoc-vars\" CONTENT=\"\" " +
                                 vars.mid(vars.indexOf("data-root-path")).chopped(1) +
                                 ">\r\n<META NAME=\"DC.Title\" CONTENT=\"foo\">\r\n" +
                                 rustdocTail.mid(rustdocTail.indexOf("</head>")) + "\r\n");
    // Saving the saved page again changes nothing: the attributes read back as written.
    const QByteArray once = read(rustdoc);
    editInBatch(rustdoc, "");
    EXPECT_EQ(read(rustdoc), once);

    // Meta elements in comments, scripts and styles are text: neither read nor removed.
    const QByteArray quiet = "<html><head>\r\n<!-- <meta name=\"robots\" content=\"noindex\"> -->\r\n"
                             "<script>var t = '<meta name=\"x\" content=\"y\">';</script>\r\n"
                             "<style>/* <meta name=\"s\"> */</style>\r\n";
    const QString commented = write(u"quiet.htm"_s, quiet + "</head><body><textarea><meta name=\"t\" content=\"u\">"
                                                            "</textarea></body></html>\r\n");
    editInBatch(commented, "mtp://field=DC.Title&content=Quiet.fld/\r\n");
    EXPECT_EQ(record().size(), 1);
    EXPECT_EQ(read(commented), quiet + "<META NAME=\"DC.Title\" CONTENT=\"Quiet\">\r\n</head><body><textarea>"
                                       "<meta name=\"t\" content=\"u\"></textarea></body></html>\r\n");

    // The encoding declaration stays in the first 1024 bytes of a 3 KB head; a Windows-1252
    // page keeps the UTF-8 quote bytes of its body, while the record gets the quote repaired.
    const QByteArray top = "<html><head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
                           "charset=windows-1252\">\r\n";
    const QByteArray style = "<style>\r\n" + QByteArray(3000, 'p') + "\r\n</style>\r\n";
    const QByteArray body = "</head><body>It\xE2\x80\x99s caf\xE9</body></html>\r\n";
    const QString late = write(u"late.htm"_s, top + "<meta name=\"DC.Title\" content=\"It\xE2\x80\x99s\">\r\n" +
                                                  style + body);
    editInBatch(late, "mtp://field=DC.Subject&content=Caf\xC3\xA9.fld/\r\n");
    EXPECT_EQ(record().value(1).content, u"It's"_s);
    EXPECT_EQ(read(late), top + style + "<META NAME=\"DC.Title\" CONTENT=\"It's\">\r\n"
                                        "<META NAME=\"DC.Subject\" CONTENT=\"Caf\xE9\">\r\n" + body);
}

}  // namespace
