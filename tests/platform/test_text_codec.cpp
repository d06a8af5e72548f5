#include "platform/TextCodec.h"
#include "support/Common.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace platform;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

// Decodes, checks the encoding found, and that saving the unchanged text gives back every byte.
void expectRoundTrip(const QByteArray& bytes, const QString& codec, bool bom, const QString& text = QString()) {
    const auto decoded = decodePageBytes(bytes);
    EXPECT_EQ(decoded.encoding.codec, codec) << bytes.left(40).toStdString();
    EXPECT_EQ(decoded.encoding.bom, bom);
    EXPECT_TRUE(text.isNull() || decoded.text == text) << decoded.text;
    EXPECT_EQ(encodePageText(decoded.text, decoded.encoding), bytes) << qPrintable(codec);
}

// Runs `work` in a child process and expects it to exit with 0.
void expectChildSucceeds(const std::function<int()>& work) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(work());
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
}

TEST(PageText, EveryByteComesBackWhateverTheEncoding) {
    const QByteArray utf8("<p>caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D \xF0\x9F\x98\x80</p>");
    const QString text = u"<p>café \u201cq\u201d "_s + QString::fromUcs4(U"\U0001F600") + u"</p>"_s;
    expectRoundTrip(utf8, u"UTF-8"_s, false, text);
    expectRoundTrip("\xEF\xBB\xBF" + utf8, u"UTF-8"_s, true, text);  // the mark is remembered, not shown
    expectRoundTrip(QByteArray("\xFF\xFE<\0p\0>\0\xAC\x20", 10), u"UTF-16LE"_s, true, u"<p>\u20ac"_s);
    // Undeclared bytes that are no UTF-8 are Windows-1252, even the five it leaves undefined.
    expectRoundTrip("<p>\x93quoted\x94 caf\xE9 \x80 \x81\x8D\x8F\x90\x9D</p>", u"windows-1252"_s, false);
    QByteArray every;
    for (int i = 0; i < 256; ++i) every.append(char(i));
    expectRoundTrip(every, u"windows-1252"_s, false);
    // What an encoding lacks is written as a reference (the window's save tests prove the rest of an edit).
    EXPECT_EQ(encodePageText(QString::fromUcs4(U"\U0001F600"), {u"windows-1252"_s, false}), "&#128512;");
    EXPECT_EQ(encodePageText(u"\u20ac\u201c\u00e9"_s, {u"ISO-8859-15"_s, false}), QByteArray("\xA4&#8220;\xE9"));
}

TEST(PageText, DeclaredCharsetsAreReadAsBrowsersReadThem) {
    // Pages declaring iso-8859-1 are full of Windows-1252 quotes.
    expectRoundTrip("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\x93hi\x94",
                    u"windows-1252"_s, false,
                    u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\u201chi\u201d"_s);
    // Plain ASCII keeps the declared encoding, so later edits are saved in it.
    expectRoundTrip("<META CHARSET = 'ISO-8859-15' ><p>plain</p>", u"ISO-8859-15"_s, false);
    expectRoundTrip("<meta charset=shift_jis><p>\x93\xFA\x96\x7B</p>", u"Shift_JIS"_s, false,
                    u"<meta charset=shift_jis><p>\u65e5\u672c</p>"_s);
    // Bytes the declared encoding cannot read, or a label nobody knows: undeclared rules, every byte kept.
    expectRoundTrip("<meta charset=shift_jis><p>\x93\xFA\xFF</p>", u"windows-1252"_s, false);
    expectRoundTrip("<meta charset=utf-8>caf\xE9", u"windows-1252"_s, false);
    expectRoundTrip("<meta charset=no-such-thing>\x93", u"windows-1252"_s, false);
    // The HTTP header outranks the page; real UTF-8 outranks a declaration that does not fit.
    const QByteArray page("<meta charset=windows-1252><p>\xA4</p>");
    EXPECT_EQ(decodePageBytes(page, u"text/html; charset=\"ISO-8859-15\""_s).encoding.codec, u"ISO-8859-15"_s);
    EXPECT_EQ(decodePageBytes("<meta charset=iso-8859-1>caf\xC3\xA9").text, u"<meta charset=iso-8859-1>café"_s);
    // A declaration inside a comment, or in a tag that only looks like meta, is none.
    expectRoundTrip("<!-- <meta charset=koi8-r> --><metadata charset=koi8-r>\xE9", u"windows-1252"_s, false);
}

TEST(ProgramFiles, ReadAsUtf8WhenValidElseWindows1252AndWrittenAsUtf8WithCrLf) {
    QTemporaryDir dir;
    DecodedText page;
    QString error;
    EXPECT_FALSE(readPageFile(dir.filePath(u"none.htm"_s), page, &error));
    EXPECT_TRUE(error.contains(u"none.htm"_s));
    EXPECT_EQ(decodeProgramText("\xEF\xBB\xBFmtp://field=caf\xC3\xA9"), u"mtp://field=café"_s);
    EXPECT_EQ(decodeProgramText("mtp://field=caf\xE9 \x93q\x94"), u"mtp://field=café \u201cq\u201d"_s);
    EXPECT_EQ(splitLines(u"a\r\nb\nc\rd\r\n\r\ne"), (QStringList{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(splitLines(u""), QStringList{});

    const QString path = dir.filePath(u"list.kqs"_s);
    writeBytes(path, "an old, longer content that must go entirely");
    ASSERT_TRUE(writeTextFileAtomically(path, u"one\ntwo\r\nthree\rcaf\u00e9\r\n"_s, &error)) << qPrintable(error);
    EXPECT_EQ(readBytes(path), QByteArray("one\r\ntwo\r\nthree\r\ncaf\xC3\xA9\r\n"));
    QString text;
    ASSERT_TRUE(readProgramFile(path, text));
    EXPECT_EQ(splitLines(text), (QStringList{"one", "two", "three", u"café"_s}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"list.kqs"_s}) << "no temporary file left";
}

TEST(ProgramFiles, FailedWritesKeepTheOldFileWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"batch.kqb"_s);
    writeBytes(path, "old\r\n");
    QString error;
    EXPECT_FALSE(writeTextFileAtomically(dir.filePath(u"no/such/folder/x.kqb"_s), u"x"_s, &error));
    EXPECT_TRUE(error.contains(u"x.kqb"_s)) << qPrintable(error);

    // A read-only folder; root writes there anyway, so the write runs in a child that is not root.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    expectChildSucceeds([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
        QString childError;
        return writeTextFileAtomically(path, u"new"_s, &childError) ? 1 : childError.isEmpty() ? 2 : 0;
    });
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    // A write that fails half-way, at the file size limit here.
    expectChildSucceeds([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return writeTextFileAtomically(path, QString(5000, u'n')) ? 1 : 0;
    });
    EXPECT_EQ(readBytes(path), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"batch.kqb"_s});
}

}  // namespace
