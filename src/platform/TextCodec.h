#pragma once
#include <QByteArray>
#include <QFileDevice>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// Turning bytes into text and back. Two rules:
// - Web pages and transfer replies keep the encoding they came in, so a page written
//   back differs from the original only where its text was edited.
// - The program's own files (lists, batches, the command log, the address history) are
//   written as UTF-8 without BOM with CR LF line ends, and read as UTF-8 when the bytes
//   are valid UTF-8, else as Windows-1252.
namespace platform {

// How a page's bytes were turned into text: the codec (a name QStringDecoder and
// QStringEncoder accept, e.g. "UTF-8", "windows-1252", "Shift_JIS", "UTF-16LE") and whether
// the bytes started with a byte-order mark.
struct TextEncoding {
    QString codec = QStringLiteral("UTF-8");
    bool bom = false;
    // The bytes of a last character cut short (a UTF-16 or UTF-32 file of odd length): not
    // text, but written back after it as they were.
    QByteArray tail = {};

    bool isUtf8() const;
    friend bool operator==(const TextEncoding&, const TextEncoding&) = default;
};

struct DecodedText {
    QString text;
    TextEncoding encoding;
    // A digest of the bytes, when they were read from a file: a later look at the file
    // tells whether anything changed it meanwhile.
    QByteArray digest = {};
};

// The digest of a file's bytes as DecodedText keeps it; nullopt when the file cannot be read.
std::optional<QByteArray> fileDigest(const QString& path);
QByteArray bytesDigest(QByteArrayView bytes);

// ---- page text ----------------------------------------------------------

// Decodes a page or a reply body. In order of precedence: a byte-order mark (UTF-8;
// UTF-16 and UTF-32 only when what follows holds a NUL byte, as their text does and text in
// any other encoding never does); UTF-16 without a mark (bytes holding NULs that read as
// UTF-16 text without a NUL or control character); bytes that are valid UTF-8 and hold
// anything beyond ASCII; the charset of the Content-Type header (when given), then the
// page's own declaration (`declaredLabel`, or declaredCharset when none is given); plain
// ASCII as UTF-8; else Windows-1252. A declared charset is used only when it decodes the
// bytes without error and encodes them back to the same bytes, so nothing is lost when the
// page is saved again. Labels browsers treat as Windows-1252 (iso-8859-1, us-ascii,
// latin1, ...) mean Windows-1252 here too. The BOM is not part of the text. No input makes
// it fail: any bytes read as something.
DecodedText decodePageBytes(const QByteArray& bytes, const QString& contentType = QString(),
                            const std::function<QString()>& declaredLabel = {});

// Encodes text in the encoding it was read in, BOM and tail included. A character the
// encoding cannot hold (or cannot hold where it stands, such as an escape in ISO-2022-JP) is
// written as a decimal character reference ("&#8364;"; a character outside the Basic
// Multilingual Plane is one reference), taken as ASCII text by the encoder, so a stateful
// encoding switches back to ASCII before it and on again after it. The bytes read back in
// the encoding give the text with those references.
QByteArray encodePageText(const QString& text, const TextEncoding& encoding);

// Reads a page file from disk and decodes it (with `decode` when given, else
// decodePageBytes). False with a message in *errorText (when given) if the file cannot be read.
bool readPageFile(const QString& path, DecodedText& out, QString* errorText = nullptr,
                  const std::function<DecodedText(const QByteArray&)>& decode = {});

// The bytes can be a text page: what decodePageBytes reads as UTF-16 or UTF-32, or bytes
// without a NUL or any other control character a text does not hold (tab, line ends, form
// feed, and the escape, shift out and shift in of the ISO-2022 encodings are text).
bool looksLikeText(const QByteArray& bytes);

// The charset a page declares in a <meta> element near its start ("" when none). The
// label is returned as written, without quotes or blanks.
QString declaredCharset(const QByteArray& bytes);
// What one meta tag (its text from "<meta" on, to its ">" or the end) says about the
// encoding: its charset attribute, and its http-equiv and content attributes, each as
// written (the http-equiv in lower case), attribute values quoted either way or not at all.
struct MetaCharsetAttributes {
    QByteArray charset;
    QByteArray httpEquiv;
    QByteArray content;
    bool hasContent = false;
    qsizetype end = 0;  // where the tag's ">" stands, or its end
    // The charset the tag declares: its charset attribute, else the charset in the content
    // of an http-equiv Content-Type; "" when none.
    QString declared() const;
};
MetaCharsetAttributes metaCharsetAttributes(QByteArrayView tag);
// The charset parameter of a Content-Type value ("text/html; charset=UTF-8"), or "".
QString charsetFromContentType(const QString& contentType);

// ---- bytes helpers ------------------------------------------------------

// One code point as text: one character, or a surrogate pair above U+FFFF. Nothing is
// dropped (QString::fromUcs4 takes a leading U+FEFF for a byte-order mark and drops it).
QString codePointText(char32_t codePoint);

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool isValidUtf8(const QByteArray& bytes);
QString decodeWindows1252(const QByteArray& bytes);

// ---- the program's own files ---------------------------------------------

// UTF-8 (a leading BOM dropped) when the bytes are valid UTF-8, else Windows-1252.
QString decodeProgramText(const QByteArray& bytes);

// Splits text at CR LF, LF or CR. A last line without a line end is kept; a text that
// ends with a line end has no empty line after it; "" gives no lines.
QStringList splitLines(QStringView text);
// The same lines handed over one by one; false from `take` stops.
void forEachLine(QStringView text, const std::function<bool(QStringView)>& take);

// Every CR LF, lone LF and lone CR becomes CR LF.
QString withCrLf(QStringView text);

// Every CR and every LF becomes a blank (a CR LF pair two blanks), so a value can never
// become a line of its own, say a command line when a batch or log is replayed.
[[nodiscard]] QString breaksToBlanks(QString text);

// A program file's text (decodeProgramText); nothing, with a message in *errorText (when
// given), when the file cannot be read.
std::optional<QString> readProgramFile(const QString& path, QString* errorText = nullptr);

// A program file read line by line, as readProgramFile and forEachLine would give its lines,
// without holding the whole file or its text: the file is read in blocks, once to learn
// whether it is UTF-8 and once to hand over its lines.
class ProgramFileLines {
public:
    // False with a message in *errorText (when given) when the file cannot be opened.
    bool open(const QString& path, QString* errorText = nullptr);
    // Every line in turn (false from `take` stops). False with a message in *errorText when
    // reading fails part way.
    bool forEach(const std::function<bool(QStringView)>& take, QString* errorText = nullptr);
    // Called after each block read, in both readings; false from it stops.
    void setAfterBlock(std::function<bool()> afterBlock) { afterBlock_ = std::move(afterBlock); }

private:
    // Hands over the lines of the file as bytes, without their line ends.
    bool forEachByteLine(const std::function<bool(QByteArrayView)>& take, QString* errorText);
    QFile file_;
    std::function<bool()> afterBlock_;
    bool stopped_ = false;
};

// Writes bytes to a temporary file beside the path and renames it over the old file, so
// the old file stays whole when anything fails. The folder must exist. With permissions,
// the new file gets exactly those (set before any byte is written). False with a message
// naming the file and the reason in *errorText (when given).
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* errorText = nullptr,
                         std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// The one way the program writes its own text files: line ends made CR LF (withCrLf),
// UTF-8 without BOM, written through writeFileAtomically. The text is written as given
// otherwise: a caller that wants a final line end puts it there.
bool writeTextFileAtomically(const QString& path, const QString& text, QString* errorText = nullptr);

}  // namespace platform
