#include "app/Preferences.h"
#include "domains/modSchemas.h"
#include "platform/ListView.h"
#include "platform/StatusBar.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::ScriptedMsgBoxes;
using testing_support::TestWindow;

namespace {

class HtmlSaveTest : public ::testing::Test {
protected:
    TestWindow w;
    ScriptedMsgBoxes boxes;
    QTemporaryDir dir;
    testing_support::KeptValues kept{&modSchemas::linkRelLines, &Preferences::UseLinkRel, &Preferences::charEncoding};

    QString write(const QString& name, const QByteArray& bytes) {
        return testing_support::writeBytes(dir.path() + QLatin1Char('/') + name, bytes);
    }
    static QByteArray read(const QString& path) { return testing_support::readBytes(path); }
    // Types into the content box of line i as the user would.
    void type(int line, const QString& text) {
        w->MetaPanel->setSelectedItem(w->MetaPanel->Item(line));
        w->editCurrentLine();
        w->editNrmlContent->setText(text);
    }
};

const QByteArray kHead = "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<HEAD profile=\"x\">\r\n  <title>T</title>\r\n";
const QByteArray kTail = "</head>\r\n<body>\r\n<p>Body & \"quotes\"</p>\r\n</body>\r\n</html>\r\n";

TEST_F(HtmlSaveTest, EditedRecordGoesBackAndEveryOtherByteStays) {
    Preferences::UseLinkRel = u"N"_s;
    Preferences::charEncoding = u"2"_s;
    const QByteArray metas =
        "<meta name=\"DC.Title\" content=\"Old &amp; tired\">\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
        "<meta charset=\"utf-8\">\r\n";
    const QString path = write(u"page.htm"_s, kHead + metas + kTail);
    ASSERT_EQ(w->LoadMetadataFromURL(path, true), 0);
    type(1, u"New \"Café\" & <more>"_s);
    ASSERT_TRUE(w->SaveAsHTML(path));

    const QByteArray saved = read(path);
    EXPECT_TRUE(saved.startsWith(kHead));
    EXPECT_TRUE(saved.endsWith(kTail));
    EXPECT_TRUE(saved.contains("<meta charset=\"utf-8\">"));  // an element without a name stays
    // The encoding declaration stays where it stood, as written.
    EXPECT_TRUE(saved.startsWith(kHead + "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
                                         "<meta charset=\"utf-8\">\r\n<META NAME=\"DC.Title\""));
    EXPECT_FALSE(saved.contains("Old"));
    EXPECT_EQ(w->StatusBar1->panelText(2), u"Ready"_s);
    EXPECT_EQ(w->documentState->currentHTMLFile(), path);

    // Reading the saved page gives the record back as the panel shows it.
    const MetadataRecord before = w->recordLines();
    ASSERT_EQ(w->LoadMetadataFromURL(path, true), 0);
    const MetadataRecord after = w->recordLines();
    ASSERT_EQ(after.size(), 3);
    for (const MetadataLine& line : before) EXPECT_TRUE(after.contains(line)) << line.name;

    // Saving again changes nothing.
    ASSERT_TRUE(w->SaveAsHTML(path));
    const QByteArray again = read(path);
    ASSERT_TRUE(w->SaveAsHTML(path));
    EXPECT_EQ(read(path), again);
}

TEST_F(HtmlSaveTest, AWindows1252PageIsWrittenBackInWindows1252) {
    Preferences::UseLinkRel = u"N"_s;
    Preferences::charEncoding = u"0"_s;
    const QByteArray head = "<html><head><title>Caf\xe9 \x93news\x94</title>\r\n";
    const QByteArray tail = "</head><body>\xe9t\xe9</body></html>\r\n";
    const QString path = write(u"ansi.htm"_s, head + "<meta name=\"DC.Title\" content=\"x\">\r\n" + tail);
    w->LoadMetadataFromURL(path, true);
    type(1, u"Ωmega é"_s);
    ASSERT_TRUE(w->SaveAsHTML(path));
    const QByteArray saved = read(path);
    EXPECT_TRUE(saved.startsWith(head));
    EXPECT_TRUE(saved.endsWith(tail));
    EXPECT_TRUE(saved.contains("CONTENT=\"&#937;mega \xe9\""));
}

TEST_F(HtmlSaveTest, OnlyABlankPageIsOfferedTheMinimalPage) {
    w->addRecordLine({u"DC.Title"_s, u"T"_s, {}, {}});
    w->markHTMLmodifiedCheckList(QString());
    const QString blank = dir.path() + u"/new.htm"_s;
    boxes.expect(u"does not contain <HEAD></HEAD>"_s, platform::vbNo);
    EXPECT_FALSE(w->SaveAsHTML(blank));
    EXPECT_FALSE(QFile::exists(blank));
    EXPECT_TRUE(w->documentState->modified(DocumentState::Document::Record));

    boxes.expect(u"does not contain <HEAD></HEAD>"_s, platform::vbYes);
    EXPECT_TRUE(w->SaveAsHTML(blank));
    EXPECT_TRUE(
        read(blank).startsWith("<html>\r\n<head>\r\n<title>Untitled Document</title>\r\n<META NAME=\"DC.Title\""));

    // A page with text but no head gets a head, without a question.
    const QString headless = write(u"headless.htm"_s, "<html><body>Hello</body></html>");
    w->pageSource = u"<html><body>Hello</body></html>"_s;
    EXPECT_TRUE(w->SaveAsHTML(headless));
    const QByteArray saved = read(headless);
    EXPECT_TRUE(saved.contains("<body>Hello</body></html>"));
    EXPECT_TRUE(saved.contains("DC.Title"));

    // A record never read from a page is put into the page the file already holds.
    w->pageSource.clear();
    const QString existing = write(u"existing.htm"_s, "<html><head><title>Keep</title></head><body>me</body></html>");
    EXPECT_TRUE(w->SaveAsHTML(existing));
    EXPECT_TRUE(read(existing).contains("<body>me</body>"));
}

TEST_F(HtmlSaveTest, TheDomainsLinkLineIsWrittenOnce) {
    Preferences::UseLinkRel = u"Y"_s;
    modSchemas::linkRelLines = u"<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"_s;
    const QString path = write(u"l.htm"_s, "<html><head><title>x</title></head><body></body></html>");
    w->LoadMetadataFromURL(path, true);
    w->addRecordLine({u"DC.Title"_s, u"x"_s, {}, {}});
    ASSERT_TRUE(w->SaveAsHTML(path));
    w->LoadMetadataFromURL(path, true);
    ASSERT_TRUE(w->SaveAsHTML(path));
    EXPECT_EQ(read(path).count("schema.DC"), 1);
}

}  // namespace
