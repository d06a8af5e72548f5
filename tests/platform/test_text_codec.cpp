#include "platform/TextCodec.h"
#include "support/Common.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using platform::decodePageBytes;
using platform::encodePageText;
using platform::TextEncoding;

namespace {

using testing_support::readBytes;
using testing_support::writeBytes;

// Decodes, checks the encoding found, and checks that saving the unchanged text gives
// back every byte.
void expectRoundTrip(const QByteArray& bytes, const QString& codec, bool bom, const QString& text = QString()) {
    const auto decoded = decodePageBytes(bytes);
    EXPECT_EQ(decoded.encoding.codec, codec);
    EXPECT_EQ(decoded.encoding.bom, bom);
    if (!text.isNull()) {
        EXPECT_EQ(decoded.text, text);
    }
    EXPECT_EQ(encodePageText(decoded.text, decoded.encoding), bytes) << qPrintable(codec);
}

TEST(PageText, Utf8WithAndWithoutBom) {
    const QByteArray plain("<p>caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D \xF0\x9F\x98\x80</p>");
    const QString text = u"<p>café \u201cq\u201d "_s + QString::fromUcs4(U"\U0001F600") + u"</p>"_s;
    expectRoundTrip(plain, u"UTF-8"_s, false, text);
    // The mark is remembered, not shown.
    expectRoundTrip(QByteArray("\xEF\xBB\xBF") + plain, u"UTF-8"_s, true, text);
}

TEST(PageText, Windows1252BytesWithoutDeclaration) {
    const QByteArray bytes("<p>\x93quoted\x94 caf\xE9 \x80 \x81\x8D\x8F\x90\x9D</p>");
    const auto decoded = decodePageBytes(bytes);
    EXPECT_EQ(decoded.encoding.codec, u"windows-1252"_s);
    EXPECT_TRUE(decoded.text.startsWith(u"<p>\u201cquoted\u201d caf\u00e9 \u20ac "_s));
    // Even the five bytes Windows-1252 leaves undefined come back.
    EXPECT_EQ(encodePageText(decoded.text, decoded.encoding), bytes);

    QByteArray every;
    for (int i = 0; i < 256; ++i) every.append(char(i));
    expectRoundTrip(every, u"windows-1252"_s, false);
}

TEST(PageText, DeclaredLatinCharsetsAreReadAsBrowsersReadThem) {
    // Pages declaring iso-8859-1 are full of Windows-1252 quotes.
    const QByteArray httpEquiv(
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
        "</head><body>\x93hi\x94</body></html>");
    expectRoundTrip(httpEquiv, u"windows-1252"_s, false);
    EXPECT_TRUE(decodePageBytes(httpEquiv).text.contains(u"\u201chi\u201d"_s));

    // Plain ASCII keeps the declared encoding, so later edits are saved in it.
    const QByteArray ascii("<META CHARSET = 'Windows-1252' ><p>plain</p>");
    expectRoundTrip(ascii, u"windows-1252"_s, false);

    const QByteArray latin9("<meta charset=\"ISO-8859-15\"><p>\xA4</p>");
    expectRoundTrip(latin9, u"ISO-8859-15"_s, false, u"<meta charset=\"ISO-8859-15\"><p>\u20ac</p>"_s);
}

TEST(PageText, WhereTheCharsetComesFrom) {
    const QByteArray page("<meta charset=windows-1252><p>\xA4</p>");
    // The HTTP header outranks the page's own declaration.
    EXPECT_EQ(decodePageBytes(page, u"text/html; charset=\"ISO-8859-15\""_s).encoding.codec, u"ISO-8859-15"_s);
    EXPECT_EQ(decodePageBytes(page).encoding.codec, u"windows-1252"_s);
    // Real UTF-8 outranks a declaration that does not fit the bytes.
    EXPECT_EQ(decodePageBytes(QByteArray("<meta charset=iso-8859-1>caf\xC3\xA9")).text,
              u"<meta charset=iso-8859-1>café"_s);
    // A page claiming UTF-8 with bytes that are not keeps them all.
    expectRoundTrip(QByteArray("<meta charset=utf-8>caf\xE9"), u"windows-1252"_s, false);
    // A declaration inside a comment, or in a tag that only looks like meta, is no declaration.
    EXPECT_TRUE(platform::declaredCharset(QByteArray("<!-- <meta charset=koi8-r> --><metadata charset=x>")).isEmpty());
    EXPECT_EQ(platform::declaredCharset(
                  QByteArray("<meta name=x><meta http-equiv='content-type' content='text/html;charset=windows-1251'>")),
              u"windows-1251"_s);
    // A labelled encoding nobody knows falls back to the rules for undeclared pages.
    expectRoundTrip(QByteArray("<meta charset=no-such-thing>\x93"), u"windows-1252"_s, false);
}

TEST(PageText, LegacyMultibyteEncodingsRoundTripOrFallBack) {
    const QByteArray sjis("<meta charset=shift_jis><p>\x93\xFA\x96\x7B</p>");  // "日本"
    expectRoundTrip(sjis, u"Shift_JIS"_s, false, u"<meta charset=shift_jis><p>\u65e5\u672c</p>"_s);
    // Bytes the declared encoding cannot read are kept byte for byte all the same.
    expectRoundTrip(QByteArray("<meta charset=shift_jis><p>\x93\xFA\xFF</p>"), u"windows-1252"_s, false);
}

TEST(PageText, Utf16WithBom) {
    const QString text = u"<p>\u20ac \u65e5</p>"_s;
    QByteArray le("\xFF\xFE");
    for (const QChar c : text) le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    expectRoundTrip(le, u"UTF-16LE"_s, true, text);
}

TEST(PageText, EditedTextKeepsEveryOtherByteAndReferencesWhatTheEncodingLacks) {
    const QByteArray before("<html>\x93\x81 head\x94<meta name=\"DC.Title\" content=\"");
    const QByteArray after("\">\r\n<body>caf\xE9\x8D\xA0</body>\n</html>");
    const auto decoded = decodePageBytes(before + "old" + after);
    ASSERT_EQ(decoded.encoding.codec, u"windows-1252"_s);
    QString edited = decoded.text;
    const qsizetype at = edited.indexOf(u"old"_s);
    edited.replace(at, 3, u"\u00e9t\u00e9 \u20ac \u4e2d "_s + QString::fromUcs4(U"\U0001F600"));
    EXPECT_EQ(encodePageText(edited, decoded.encoding), before + "\xE9t\xE9 \x80 &#20013; &#128512;" + after);

    // The same in a legacy encoding that has no fast path for the missing character.
    const TextEncoding latin9{u"ISO-8859-15"_s, false};
    EXPECT_EQ(encodePageText(u"\u20ac\u201c\u00e9"_s, latin9), QByteArray("\xA4&#8220;\xE9"));
    // UTF-8 holds everything.
    EXPECT_EQ(encodePageText(u"\u4e2d"_s, TextEncoding{}), QByteArray("\xE4\xB8\xAD"));
}

TEST(PageText, ValidUtf8IsStrict) {
    EXPECT_TRUE(platform::isValidUtf8(QByteArray("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80")));
    EXPECT_TRUE(platform::isValidUtf8(QByteArray()));
    // overlong twice, a surrogate, above U+10FFFF, cut short, Windows-1252
    for (const QByteArray bad :
         {"\xC0\x80", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ok\xE2\x82", "\xE9t\xE9"})
        EXPECT_FALSE(platform::isValidUtf8(bad)) << bad.toHex().toStdString();
}

TEST(PageText, ReadPageFileReportsAMissingFile) {
    QTemporaryDir dir;
    platform::DecodedText out;
    QString error;
    EXPECT_FALSE(platform::readPageFile(dir.filePath(u"none.htm"_s), out, &error));
    EXPECT_TRUE(error.contains(u"none.htm"_s));
    writeBytes(dir.filePath(u"p.htm"_s), QByteArray("\x93x\x94"));
    ASSERT_TRUE(platform::readPageFile(dir.filePath(u"p.htm"_s), out, &error));
    EXPECT_EQ(out.text, u"\u201cx\u201d"_s);
}

// ---- the program's own files ---------------------------------------------

TEST(ProgramFiles, Utf8WhenValidElseWindows1252) {
    EXPECT_EQ(platform::decodeProgramText(QByteArray("\xEF\xBB\xBFmtp://field=caf\xC3\xA9")), u"mtp://field=café"_s);
    EXPECT_EQ(platform::decodeProgramText(QByteArray("mtp://field=caf\xE9 \x93q\x94")),
              u"mtp://field=café \u201cq\u201d"_s);
}

TEST(ProgramFiles, LinesEndWithCrLfLfOrCr) {
    using L = QStringList;
    EXPECT_EQ(platform::splitLines(u"a\r\nb\nc\rd"), (L{"a", "b", "c", "d"}));
    EXPECT_EQ(platform::splitLines(u"last line has no end"), (L{"last line has no end"}));
    EXPECT_EQ(platform::splitLines(u"a\r\n"), (L{"a"}));
    EXPECT_EQ(platform::splitLines(u"a\n\nb\r\r\nc\r\n\r\n"), (L{"a", "", "b", "", "c", ""}));
    EXPECT_EQ(platform::splitLines(u""), L{});
    EXPECT_EQ(platform::splitLines(u"\r\n"), (L{""}));
}

TEST(ProgramFiles, WritingIsUtf8WithoutBomAndCrLf) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"list.kqs"_s);
    writeBytes(path, QByteArray("an old, longer content that must go entirely"));
    QString error;
    ASSERT_TRUE(platform::writeTextFileAtomically(path, u"one\ntwo\r\nthree\rcaf\u00e9\r\n"_s, &error))
        << qPrintable(error);
    EXPECT_EQ(readBytes(path), QByteArray("one\r\ntwo\r\nthree\r\ncaf\xC3\xA9\r\n"));
    QString text;
    ASSERT_TRUE(platform::readProgramFile(path, text));
    EXPECT_EQ(platform::splitLines(text), (QStringList{"one", "two", "three", u"café"_s}));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"list.kqs"_s});
}

TEST(ProgramFiles, FailedWritesKeepTheOldFileWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"batch.kqb"_s);
    writeBytes(path, QByteArray("old\r\n"));

    QString error;
    EXPECT_FALSE(platform::writeTextFileAtomically(dir.filePath(u"no/such/folder/x.kqb"_s), u"x"_s, &error));
    EXPECT_TRUE(error.contains(u"x.kqb"_s)) << qPrintable(error);

    // A read-only folder. Root writes there anyway, so as root the write runs in a child
    // that has given up root.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    if (::geteuid() != 0) {
        EXPECT_FALSE(platform::writeTextFileAtomically(path, u"new"_s, &error));
        EXPECT_FALSE(error.isEmpty());
    } else {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
            QString childError;
            const bool ok = platform::writeTextFileAtomically(path, u"new"_s, &childError);
            ::_exit(ok ? 1 : (childError.isEmpty() ? 2 : 0));
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    }
    EXPECT_EQ(readBytes(path), QByteArray("old\r\n"));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);

    // A write that fails half-way (the file size limit here) leaves the old file and no
    // temporary file behind.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool ok = platform::writeTextFileAtomically(path, QString(5000, QLatin1Char('n')));
        ::_exit(ok ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    EXPECT_EQ(readBytes(path), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"batch.kqb"_s});
}

}  // namespace
