#include "platform/RegistryStore.h"
#include "platform/TextCodec.h"
#include "support/Common.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
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

// Runs `work` in `count` child processes at once and expects each to exit with 0.
void expectChildrenSucceed(int count, const std::function<int(int)>& work) {
    QList<pid_t> children;
    for (int c = 0; c < count; ++c) {
        children << ::fork();
        ASSERT_GE(children.last(), 0);
        if (children.last() == 0) ::_exit(work(c));
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    }
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

// Empty and cut-short input in every kind of encoding a page or a reply can name, the
// stateful ones among them (an empty reply declared ISO-2022-KR crashed the encoder).
TEST(PageText, NoInputMakesADecoderOrEncoderFail) {
    const char* const labels[] = {"iso-2022-kr", "iso-2022-jp", "iso-2022-cn", "hz-gb-2312", "utf-7", "scsu",
                                  "bocu-1", "x11-compound-text", "imap-mailbox-name", "utf-16", "utf-32",
                                  "ibm037", "shift_jis", "gb18030", "x-user-defined", "no-such-thing"};
    for (const char* label : labels) {
        SCOPED_TRACE(label);
        const QString header = u"text/html; charset="_s + QLatin1String(label);
        const DecodedText empty = decodePageBytes(QByteArray(), header);
        EXPECT_EQ(empty.text, QString());
        EXPECT_EQ(encodePageText(QString(), empty.encoding), QByteArray());
        EXPECT_EQ(encodePageText(QString(), {QString::fromLatin1(label), false}), QByteArray());
        for (const QByteArray& bytes : {QByteArray("\x1b"), QByteArray("\x0e"), QByteArray("+"), QByteArray("\xFE\xFF\xD8"),
                                        QByteArray("~{"), QByteArray("a\x1b$B"), QByteArray(1, '\0')}) {
            const DecodedText decoded = decodePageBytes(bytes, header);
            EXPECT_EQ(encodePageText(decoded.text, decoded.encoding), bytes) << bytes.toHex().toStdString();
        }
    }
}

// "日€a" in ISO-2022-JP: the encoder switches back to ASCII before the euro sign's reference,
// so what follows reads as written.
TEST(PageText, ACharacterAStatefulEncodingLacksIsAReferenceInASCII) {
    const TextEncoding jis{u"ISO-2022-JP"_s, false};
    EXPECT_EQ(encodePageText(u"日€a"_s, jis).toHex(' '), "1b 24 42 46 7c 1b 28 42 26 23 38 33 36 34 3b 61");
    const QString page = u"<p>日€a</p><title>日本</title>"_s;
    EXPECT_EQ(decodePageBytes(encodePageText(page, jis), u"text/html; charset=iso-2022-jp"_s).text,
              u"<p>日&#8364;a</p><title>日本</title>"_s);
    // What the encoding uses to switch (escape, shift out) cannot stand in a value either.
    EXPECT_EQ(decodePageBytes(encodePageText(u"a\u001b$Bb日本"_s, jis), u"text/html; charset=iso-2022-jp"_s).text,
              u"a&#27;$Bb日本"_s);
    const TextEncoding korean{u"ISO-2022-KR"_s, false};
    EXPECT_EQ(decodePageBytes(encodePageText(u"가€a\u000e가"_s, korean), u"text/html; charset=iso-2022-kr"_s).text,
              u"가&#8364;a&#14;가"_s);
}

// A mark of UTF-16 or UTF-32 counts only on bytes that are in it: those hold NUL bytes, which
// text in any other encoding never does. UTF-16 reads without a mark too, and a last
// character cut short is kept as it was.
TEST(PageText, UtfSixteenIsToldByItsNulBytesWithOrWithoutAMark) {
    // A Windows-1252 page beginning "þÿ", of odd length and of even length.
    expectRoundTrip("\xFE\xFF<p>caf\xe9</p>\r\n", u"windows-1252"_s, false, u"þÿ<p>café</p>\r\n"_s);
    expectRoundTrip("\xFE\xFF<p>caf\xe9s</p>\r\n", u"windows-1252"_s, false, u"þÿ<p>cafés</p>\r\n"_s);
    expectRoundTrip("\xFF\xFE<p>\x80</p>", u"windows-1252"_s, false, u"ÿþ<p>€</p>"_s);
    expectRoundTrip(QByteArray("\xFE\xFF\0<\0p\0>\x20\xAC", 10), u"UTF-16BE"_s, true, u"<p>€"_s);
    expectRoundTrip(QByteArray("<\0p\0>\0\xAC\x20\r\0\n\0", 12), u"UTF-16LE"_s, false, u"<p>€\r\n"_s);
    expectRoundTrip(QByteArray("\0<\0p\0>\x20\xAC\0\r\0\n", 12), u"UTF-16BE"_s, false, u"<p>€\r\n"_s);
    expectRoundTrip(QByteArray("\xFF\xFE<\0p\0>\0!", 9), u"UTF-16LE"_s, true, u"<p>"_s);  // cut short
    expectRoundTrip(QByteArray("\xFF\xFE\0\0<\0\0\0", 8), u"UTF-32LE"_s, true, u"<"_s);
    expectRoundTrip(QByteArray("\xFF\xFE\xFF\xFE<\0", 6), u"UTF-16LE"_s, true, u"\uFEFF<"_s);  // a second mark is text
    // Bytes with NULs that read as no text are no page.
    const QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20);
    EXPECT_FALSE(looksLikeText(png));
    EXPECT_TRUE(looksLikeText(QByteArray("<\0p\0>\0", 6)));
    EXPECT_TRUE(looksLikeText("\x1b$)C<p>\x0e\x30\x21\x0f</p>"));  // ISO-2022-KR
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
    const std::optional<QString> text = readProgramFile(path);
    ASSERT_TRUE(text);
    EXPECT_EQ(splitLines(*text), (QStringList{"one", "two", "three", u"café"_s}));
    QString why;
    EXPECT_FALSE(readProgramFile(dir.filePath(u"missing.kqs"_s), &why));
    EXPECT_TRUE(why.contains(u"missing.kqs"_s)) << qPrintable(why);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"list.kqs"_s}) << "no temporary file left";
}

// Read block by block, a file gives the lines its whole text gives, wherever a line end, a
// character or a line longer than a block falls.
TEST(ProgramFiles, AFileReadLineByLineGivesTheLinesOfItsWholeText) {
    QTemporaryDir dir;
    constexpr int kBlock = 1 << 20;
    const auto at = [](int offset, const QByteArray& filler) { return filler.repeated(offset / filler.size()); };
    const QByteArray x = "x";
    const QList<QByteArray> files = {
        QByteArray(),
        "\xEF\xBB\xBFone\r\ntwo\rthree\n\r\ncaf\xC3\xA9",
        at(kBlock - 1, x) + "\r\nafter the break\r",                        // CR LF across two blocks
        at(kBlock - 1, x) + "\xC3\xA9 split character\n",                   // é across two blocks
        QByteArray(3 * kBlock + 17, 'l') + "\nshort\n" + QByteArray(5, 'm'),  // a line of three blocks
        "caf\xC3\xA9\n" + at(2 * kBlock, x) + "\nlate \x93Windows\x94 quote\r\n",  // not UTF-8, found late
    };
    for (const QByteArray& bytes : files) {
        const QString path = writeBytes(dir.filePath(u"list.kqi"_s), bytes);
        ProgramFileLines file;
        ASSERT_TRUE(file.open(path));
        QStringList lines;
        ASSERT_TRUE(file.forEach([&](QStringView line) {
            lines << line.toString();
            return true;
        }));
        EXPECT_EQ(lines, splitLines(decodeProgramText(bytes))) << bytes.left(40).toStdString();
        // A second run and one stopped early.
        int taken = 0;
        ASSERT_TRUE(file.forEach([&](QStringView) { return ++taken < 2; }));
        EXPECT_EQ(taken, std::min<int>(2, lines.size()));
    }
    ProgramFileLines missing;
    QString error;
    EXPECT_FALSE(missing.open(dir.filePath(u"gone.kqi"_s), &error));
    EXPECT_TRUE(error.contains(u"gone.kqi"_s)) << qPrintable(error);
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
    expectChildrenSucceed(1, [&](int) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
        QString childError;
        return writeTextFileAtomically(path, u"new"_s, &childError) ? 1 : childError.isEmpty() ? 2 : 0;
    });
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    // A write that fails half-way, at the file size limit here.
    expectChildrenSucceed(1, [&](int) {
        ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return writeTextFileAtomically(path, QString(5000, u'n')) ? 1 : 0;
    });
    EXPECT_EQ(readBytes(path), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"batch.kqb"_s});
}

struct Mode {
    unsigned mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
    bool operator==(const Mode&) const = default;
};
Mode modeOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << qPrintable(path);
    return {unsigned(st.st_mode & 07777), st.st_uid, st.st_gid};
}
void setMode(const QString& path, unsigned mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

// A file written over keeps its permission bits and its owner and group (where the process
// may set them); one whose owner made it read-only is refused as it is for any other user.
TEST(ProgramFiles, AFileWrittenOverKeepsItsModeAndOwnerAndAReadOnlyOneIsRefused) {
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const QString path = dir.filePath(u"page.htm"_s);
    writeBytes(path, "old\r\n");
    setMode(path, 0640);
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(modeOf(path).mode, 0640u);
    EXPECT_EQ(readBytes(path), "new");

    setMode(path, 0444);
    QString error;
    EXPECT_FALSE(writeFileAtomically(path, "newer", &error));
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_EQ(modeOf(path).mode, 0444u);
    // Word for word what a user who may not write the file is told.
    QString othersError;
    expectChildrenSucceed(1, [&](int) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
        QSaveFile file(path);
        return file.open(QIODevice::WriteOnly) ? 1 : file.errorString() == error.section(u": "_s, 1) ? 0 : 2;
    });
    EXPECT_TRUE(error.endsWith(u"Existing file "_s + path + u" is not writable"_s)) << qPrintable(error);

    if (::geteuid() == 0) {
        // Another user's file stays theirs; set-id bits are not carried over.
        setMode(path, 0604);
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        ASSERT_TRUE(writeFileAtomically(path, "theirs"));
        EXPECT_EQ(modeOf(path), (Mode{0604, 65534, 65534}));
        setMode(path, 06755);
        ASSERT_TRUE(writeFileAtomically(path, "program"));
        EXPECT_EQ(modeOf(path).mode, 0755u);
    } else {
        const Mode before = modeOf(path);
        setMode(path, 0600);
        ASSERT_TRUE(writeFileAtomically(path, "mine"));
        EXPECT_EQ(modeOf(path), (Mode{0600, before.owner, before.group}));
    }
}

// ---- the settings store

const RegistryRoot HKCU = RegistryRoot::CurrentUser;
const QString kKey = u"Software\\Orvane Consulting\\Quorvantil\\Preferences"_s;

QStringList names(const std::optional<QList<platform::RegistryValue>>& values) {
    QStringList out;
    for (const auto& v : values.value_or(QList<platform::RegistryValue>())) out << v.name;
    return out;
}

class RegistryStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    // Blanks, dots and non-ASCII in the folder names, as users' folders have them.
    QString file = dir.path() + u"/My Settings.v2/Ünïcode/registry.reg"_s;
    QStringList notices;
    void SetUp() override {
        platform::setStoreNoticeHandler([this](const QString& m) { notices << m; });
    }
    void TearDown() override {
        platform::setStoreNoticeHandler([](const QString&) {});
    }
};

TEST_F(RegistryStoreTest, TwoStoresOnOneFileSeeEachOthersWritesAndNamesKeepTheirFirstCase) {
    RegistryStore a(file), b(file);
    ASSERT_TRUE(a.createKey(HKCU, kKey));
    ASSERT_TRUE(a.setValue(HKCU, kKey, u"CompleteMTP"_s, u"Y"_s));
    ASSERT_TRUE(b.setValue(HKCU, kKey, u"Home"_s, u"http://example.org/"_s));  // b read the file before a's next write
    ASSERT_TRUE(a.setValue(HKCU, kKey, u"fixMeta"_s, u"N"_s));
    ASSERT_TRUE(a.setValue(HKCU, kKey, u"completemtp"_s, QString()));  // overwritten in place
    EXPECT_EQ(names(b.values(HKCU, kKey)), (QStringList{"CompleteMTP", "Home", "fixMeta"}));
    EXPECT_EQ(a.queryValue(HKCU, kKey, u"HOME"_s)->data, u"http://example.org/"_s);
    const auto empty = b.queryValue(HKCU, kKey, u"CompleteMtp"_s);  // empty is not missing
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->data.isEmpty());
    EXPECT_FALSE(b.queryValue(HKCU, kKey, u"C"_s).has_value());
    EXPECT_FALSE(b.setValue(HKCU, kKey + u"\\Nope"_s, u"A"_s, u"x"_s));
    EXPECT_TRUE(notices.isEmpty());
    // A section goes with its values; the file-type keys live under a root of their own.
    ASSERT_TRUE(a.createKey(RegistryRoot::ClassesRoot, kKey));
    EXPECT_TRUE(b.deleteKey(HKCU, kKey));
    EXPECT_FALSE(a.values(HKCU, kKey).has_value());
    EXPECT_TRUE(b.values(RegistryRoot::ClassesRoot, kKey).has_value());
}

TEST_F(RegistryStoreTest, TextSurvivesTheFileWhateverItHoldsAndOtherTypesAreKept) {
    const QString tricky = u"say \"hi\" C:\\path\\ [x] = @ ; é€ \r\nnext line"_s;
    const QString macros = u"Software\\X\\Mäcros"_s;
    writeBytes(file, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"Count\"=dword:00000002\r\n");
    {
        RegistryStore s(file);
        ASSERT_TRUE(s.createKey(HKCU, macros));
        ASSERT_TRUE(s.setValue(HKCU, macros, u"F1 \"x\""_s, tricky));
        ASSERT_TRUE(s.setValue(HKCU, macros, QString(), u"default"_s));
    }
    RegistryStore fresh(file);
    EXPECT_EQ(fresh.queryValue(HKCU, u"Software\\X\\MÄCROS"_s, u"f1 \"X\""_s)->data, tricky);
    EXPECT_FALSE(fresh.values(HKCU, u"Software\\X"_s)->at(0).isText);
    const QByteArray bytes = readBytes(file);
    EXPECT_TRUE(bytes.startsWith("REGEDIT4\n"));
    EXPECT_TRUE(bytes.contains("\"Count\"=dword:00000002\n"));
    EXPECT_TRUE(bytes.contains("@=\"default\""));
    EXPECT_EQ(QFileInfo(file).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
}

TEST_F(RegistryStoreTest, DamagedFileIsKeptAsideWithOneNoticeAndFreshSettingsStart) {
    for (const QByteArray& damaged : {QByteArray("this is not a settings file\n\"x\"=\"y\"\n"),
                                      QByteArray("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\X]\n\"Name\"=\"Ann\n")}) {
        QDir(QFileInfo(file).path()).removeRecursively();
        notices.clear();
        writeBytes(file, damaged);
        RegistryStore s(file);
        EXPECT_FALSE(s.keyExists(HKCU, u"Software\\X"_s));
        ASSERT_EQ(notices.size(), 1);
        EXPECT_TRUE(notices.first().contains(u"could not be read"_s));
        const QStringList aside = QFileInfo(file).dir().entryList({u"registry.reg.damaged-*"_s});
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(readBytes(QFileInfo(file).dir().filePath(aside.first())), damaged);
        ASSERT_TRUE(s.createKey(HKCU, kKey) && s.setValue(HKCU, kKey, u"Home"_s, u"h"_s));
        EXPECT_EQ(RegistryStore(file).queryValue(HKCU, kKey, u"Home"_s)->data, u"h"_s);
    }
    // A folder that cannot be made: every call fails, with one notice saying why.
    notices.clear();
    RegistryStore blocked(file + u"/sub/registry.reg"_s);
    EXPECT_FALSE(blocked.createKey(HKCU, kKey));
    EXPECT_FALSE(blocked.setValue(HKCU, kKey, u"a"_s, u"b"_s));
    EXPECT_TRUE(blocked.lastError().endsWith(u": Not a directory"_s)) << blocked.lastError();
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().contains(blocked.lastError())) << notices.first();
}

// A write the system refuses half-way (the file size limit here; a full disk alike) keeps the
// file as it was and says why, once, until a write goes through again.
TEST_F(RegistryStoreTest, AFailedWriteSaysWhyOnceUntilAWriteSucceeds) {
    ASSERT_TRUE(RegistryStore(file).createKey(HKCU, kKey));
    const QByteArray before = readBytes(file);
    expectChildrenSucceed(1, [&](int) {
        ::signal(SIGXFSZ, SIG_IGN);
        RegistryStore store(file);
        const struct rlimit limit = {before.size() + 100, before.size() + 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const QString big(1000, u'x');
        if (store.setValue(HKCU, kKey, u"a"_s, big) || store.setValue(HKCU, kKey, u"b"_s, big)) return 1;
        if (notices.size() != 1 || !notices.first().contains(u"File too large"_s)) return 2;
        if (readBytes(file) != before) return 5;
        if (!store.setValue(HKCU, kKey, u"c"_s, u"small"_s) || store.setValue(HKCU, kKey, u"d"_s, big)) return 3;
        return notices.size() == 2 && notices.last().contains(u"File too large"_s) ? 0 : 4;
    });
}

// Two running copies of the program writing at the same time must not lose values.
TEST_F(RegistryStoreTest, ConcurrentProcessesNeverLoseEachOthersValues) {
    ASSERT_TRUE(RegistryStore(file).createKey(HKCU, kKey));
    expectChildrenSucceed(2, [&](int c) {
        RegistryStore s(file);
        bool ok = true;
        for (int i = 0; i < 60; ++i) ok = s.setValue(HKCU, kKey, u"p%1-%2"_s.arg(c).arg(i), u"v"_s) && ok;
        return ok ? 0 : 1;
    });
    EXPECT_EQ(names(RegistryStore(file).values(HKCU, kKey)).size(), 120);
}

}  // namespace
