#include "record/RecordWindowTest.h"

#include "core/commands/modMTP.h"

#include <QApplication>
#include <QClipboard>

using testing_support::readBytes;

namespace {

class HtmlSaveTest : public RecordWindowTest {
protected:
    void SetUp() override { w.context.preferences.UseLinkRel.setText(u"N"_s); }
    // Loads the page and types into the content box of its first line as the user would.
    void loadAndType(const QString& path, const QString& text) {
        w.enter(path);
        show(1);
        w.find<QLineEdit>(u"editNrmlContent"_s)->setText(text);
    }
};

TEST_F(HtmlSaveTest, EditedRecordGoesBackAndEveryOtherByteStays) {
    w.context.preferences.charEncoding = u"2"_s;
    const QByteArray head = "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<HEAD profile=\"x\">\r\n  <title>T</title>\r\n";
    const QByteArray tail = "</head>\r\n<body>\r\n<p>Body & \"quotes\"</p>\r\n</body>\r\n</html>\r\n";
    // the encoding declaration and an element without a name stay where they stood
    const QByteArray stays = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
                            "<meta charset=\"utf-8\">\r\n";
    const QString path = write(u"page.htm"_s, head + "<meta name=\"DC.Title\" content=\"Old\">\r\n" + stays + tail);
    loadAndType(path, u"New \"Café\" & <more>"_s);
    ASSERT_TRUE(saveTo(path));
    EXPECT_EQ(readBytes(path), head + stays +
                                   "<META NAME=\"DC.Title\" CONTENT=\"New &quot;Caf&eacute;&quot; &amp; "
                                   "&lt;more&gt;\">\r\n" + tail);
    EXPECT_EQ(w.context.document.currentHTMLFile(), path);
    // Reading the saved page gives the record back; saving again changes nothing.
    const MetadataRecord before = w.context.record.lines();
    const QByteArray saved = readBytes(path);
    w.enter(path);
    EXPECT_EQ(w.context.record.lines().size(), 3);
    for (const MetadataLine& line : before) EXPECT_TRUE(w.context.record.lines().contains(line)) << line.name;
    ASSERT_TRUE(saveTo(path));
    EXPECT_EQ(readBytes(path), saved);
}

// A page changed by another program after it was opened: the save asks, and by default puts
// the record into the page as it is now; nothing else of the other program's work is undone.
TEST_F(HtmlSaveTest, APageChangedOnDiskIsNotRevertedBySave) {
    const QByteArray head = "<html><head><title>T</title>\r\n<meta name=\"DC.Title\" content=\"Old\">\r\n</head>\r\n";
    const QString path = write(u"page.htm"_s, head + "<body>first</body></html>\r\n");
    modMTP::runMtpCommand(w.context, u"mtp://open="_s + path);
    ASSERT_EQ(w.context.document.currentHTMLFile(), path);
    show(1);
    w.find<QLineEdit>(u"editNrmlContent"_s)->setText(u"New"_s);
    write(u"page.htm"_s, head + "<body>edited elsewhere</body></html>\r\n");
    const QString question = u"was changed on disk since it was opened."_s;
    boxes.expect(question, platform::kAnswerCancel);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(readBytes(path), head + "<body>edited elsewhere</body></html>\r\n");
    EXPECT_TRUE(recordModified());
    EXPECT_EQ(boxes.shown().last().style & 0xF07, platform::kYesNoCancel);  // Yes, the first, is the default

    const QByteArray block = "<html><head><title>T</title>\r\n<META NAME=\"DC.Title\" CONTENT=\"New\">\r\n</head>\r\n";
    boxes.expect(question, platform::kAnswerYes);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(readBytes(path), block + "<body>edited elsewhere</body></html>\r\n");
    // What was written is the page's state now: saving again asks nothing and keeps it.
    editAndUndo();
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(readBytes(path), block + "<body>edited elsewhere</body></html>\r\n");

    // No writes the page as it was last saved, over the other program's change.
    write(u"page.htm"_s, "<html><head></head><body>replaced</body></html>");
    editAndUndo();
    boxes.expect(question, platform::kAnswerNo);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(readBytes(path), block + "<body>edited elsewhere</body></html>\r\n");
    // A page turned into something else than text is not written into at all.
    write(u"page.htm"_s, QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11));
    editAndUndo();
    boxes.expect(u"This file is not a text page, so nothing was written into it"_s, platform::kAnswerOk);
    w.find<QAction>(u"mnuFileSave"_s)->trigger();
    EXPECT_EQ(readBytes(path).left(4), "\x89PNG");
    EXPECT_TRUE(recordModified());
}

TEST_F(HtmlSaveTest, AWindows1252PageIsWrittenBackInWindows1252) {
    w.context.preferences.charEncoding = u"0"_s;
    const QByteArray head = "<html><head><title>Caf\xe9 \x93news\x94</title>\r\n";
    const QByteArray tail = "</head><body>\xe9t\xe9</body></html>\r\n";
    const QString path = write(u"ansi.htm"_s, head + "<meta name=\"DC.Title\" content=\"x\">\r\n" + tail);
    loadAndType(path, u"Ωmega é"_s);
    ASSERT_TRUE(saveTo(path));
    EXPECT_EQ(readBytes(path), head + "<META NAME=\"DC.Title\" CONTENT=\"&#937;mega \xe9\">\r\n" + tail);
}

// A value the page holds as references to characters its encoding lacks is shown and edited
// as those characters, and written back as references again, never as "&amp;#26085;".
TEST_F(HtmlSaveTest, AValueHeldAsReferencesIsEditedAsItsCharacters) {
    w.context.preferences.charEncoding = u"2"_s;
    const QByteArray head = "<html><head><title>Caf\xe9</title>\r\n";
    const QString path =
        write(u"refs.htm"_s, head + "<meta name=\"DC.Title\" content=\"&#26085;&#26412; &#197;\">\r\n</head></html>\r\n");
    w.enter(path);
    show(1);
    QLineEdit* box = w.find<QLineEdit>(u"editNrmlContent"_s);
    EXPECT_EQ(box->text(), u"日本 Å"_s);
    box->end(false);
    widget_input::type(box, u" x"_s);
    ASSERT_TRUE(saveTo(path));
    EXPECT_EQ(readBytes(path), head + "<META NAME=\"DC.Title\" CONTENT=\"&#26085;&#26412; \xC5 x\">\r\n</head></html>\r\n");
}

// A value whose quote is never closed ends before the next tag and is written back closed:
// however long it runs, no text of the page goes.
TEST_F(HtmlSaveTest, AValueNeverClosedLosesNoTextOfThePage) {
    const QByteArray value(10 * 1024 * 1024, 'x');
    const QByteArray tail = "</head><body>b</body></html>\r\n";
    const QString path = write(u"long.htm"_s, "<html><head><meta name=\"a\" content=\"" + value + tail);
    w.enter(path);
    ASSERT_TRUE(saveTo(path));
    EXPECT_EQ(readBytes(path), "<html><head><META NAME=\"a\" CONTENT=\"" + value + "\">\r\n" + tail);
}

// Control characters never reach a page, whichever way a value comes into the record: read
// from a page, run from a batch or typed as a command, pasted into the content box.
TEST_F(HtmlSaveTest, ControlCharactersNeverReachAPage) {
    w->show();
    QApplication::setActiveWindow(w.form.get());
    const QByteArray tail = "</head><body>b</body></html>\r\n";
    // A page holds no C0 control but escape and form feed; a UTF-8 one holds C1 controls.
    const QString path =
        write(u"page.htm"_s, "<html><head><meta name=\"DC.Title\" content=\"a\x1B" "b\xC2\x85" "c\x7F\xC2\x96" "d\x0C" "e\">\r\n" + tail);
    w.enter(path);
    EXPECT_EQ(content(1), u"ab cd e"_s);
    w.enter(u"mtp://open="_s + write(u"add.kqb"_s, "mtp://field=DC.Subject&content=x\x01y.fld/\r\n") + u"/"_s);
    w.enter(u"mtp://field=DC.Creator&content=p\u0004q\u0098.fld/"_s);
    EXPECT_EQ(content(2) + u'|' + content(3), u"xy|pq"_s);
    show(1);
    QLineEdit* box = w.find<QLineEdit>(u"editNrmlContent"_s);
    box->setFocus();
    box->end(false);
    QApplication::clipboard()->setText(u"\u0003f\u009Fg\u000Bh"_s);
    w.find<QAction>(u"mnuEditPaste"_s)->trigger();
    EXPECT_EQ(content(1), u"ab cd efg h"_s);
    ASSERT_TRUE(saveTo(path));
    EXPECT_EQ(readBytes(path), "<html><head><META NAME=\"DC.Title\" CONTENT=\"ab cd efg h\">\r\n"
                               "<META NAME=\"DC.Subject\" CONTENT=\"xy\">\r\n<META NAME=\"DC.Creator\" CONTENT=\"pq\">\r\n" +
                                   tail);
}

// With the repository's Open Record macro set, a line break in a value is a blank in the
// record; the save still knows the element for the line it gave, and so leaves the
// unfinished tag before it as it was.
TEST_F(HtmlSaveTest, UnderTheOpenRecordMacroALineBreakInAValueKeepsItsElementKnown) {
    w.context.macros.openRecordMacro = u"mtp://cgisend=open.kqb"_s;
    const QByteArray page = "<meta x<meta name=\"a\nb\" content=\"c\">";
    const QString path = write(u"page.htm"_s, page);
    w.enter(path);
    const MetadataRecord read = {{{}, u"<meta x"_s, {}, {}}, {u"a b"_s, u"c"_s, {}, {}}};
    ASSERT_EQ(w.context.record.lines(), read);
    ASSERT_TRUE(saveTo(path));
    EXPECT_EQ(readBytes(path), "<head>\r\n</head>\r\n" + page + "\r\n");
    w.enter(path);
    EXPECT_EQ(w.context.record.lines(), read);
}

TEST_F(HtmlSaveTest, OnlyABlankPageIsOfferedTheMinimalPage) {
    add(u"DC.Title"_s, u"T"_s);
    const QByteArray block = "<META NAME=\"DC.Title\" CONTENT=\"T\">\r\n";
    editAndUndo();
    const QString blank = dir.filePath(u"new.htm"_s);
    boxes.expect(u"does not contain <HEAD></HEAD>"_s, platform::kAnswerNo);
    EXPECT_FALSE(saveTo(blank));
    EXPECT_FALSE(QFile::exists(blank));
    EXPECT_TRUE(recordModified());
    boxes.expect(u"does not contain <HEAD></HEAD>"_s, platform::kAnswerYes);
    EXPECT_TRUE(saveTo(blank));
    EXPECT_EQ(readBytes(blank), "<html>\r\n<head>\r\n<title>Untitled Document</title>\r\n" + block +
                                    "</head>\r\n<body>\r\n</body>\r\n</html>\r\n");
    w.context.page.text = u"<html><body>Hello</body></html>"_s;  // text but no head: a head, without a question
    EXPECT_TRUE(saveTo(blank));
    EXPECT_EQ(readBytes(blank), "<html>\r\n<head>\r\n" + block + "</head><body>Hello</body></html>\r\n");
    // A record never read from a page is put into the page the file already holds.
    w.context.page.text.clear();
    const QString existing = write(u"existing.htm"_s, "<html><head><title>Keep</title></head><body>me</body></html>");
    EXPECT_TRUE(saveTo(existing));
    EXPECT_EQ(readBytes(existing), "<html><head><title>Keep</title>" + block + "</head><body>me</body></html>\r\n");
}

}  // namespace
