#include "platform/TextCodec.h"

#include <cstdint>
#include <cstring>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace platform {

namespace {

const QString kUtf8 = QStringLiteral("UTF-8");
const QString kWindows1252 = QStringLiteral("windows-1252");

// A page declares its charset near the start; nothing after this is looked at.
constexpr qsizetype kMetaScanLimit = 64 * 1024;

struct Utf8Scan {
    bool valid = true;
    bool ascii = true;
};

// A large text's fresh memory is mapped in one go rather than page by page as the decoder
// first writes it: for a page of megabytes that is most of the decoding time.
void prefault(void* data, std::size_t size) {
#if defined(MADV_POPULATE_WRITE)
    constexpr std::size_t kPage = 4096;
    if (size < 64 * kPage) return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kPage - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

// Checks that the bytes are UTF-8 and, given `out`, decodes them in the same pass. Runs of
// plain ASCII, most of any page, go sixteen bytes at a time.
Utf8Scan scanUtf8(QByteArrayView bytes, QString* out = nullptr) {
    Utf8Scan scan;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    char16_t* dst = nullptr;
    if (out) {
        out->resize(n);
        dst = reinterpret_cast<char16_t*>(out->data());
        prefault(dst, std::size_t(n) * sizeof(char16_t));
    }
    char16_t* const dstStart = dst;
    const auto fail = [&] {
        scan.valid = false;
        if (out) out->clear();
        return scan;
    };
    qsizetype i = 0;
    while (i < n) {
#if defined(__SSE2__)
        if (i + 16 <= n) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            if (_mm_movemask_epi8(chunk) == 0) {
                if (dst) {
                    const __m128i zero = _mm_setzero_si128();
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi8(chunk, zero));
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_unpackhi_epi8(chunk, zero));
                    dst += 16;
                }
                i += 16;
                continue;
            }
        }
#endif
        const unsigned char c = p[i];
        if (c < 0x80) {
            if (dst) *dst++ = c;
            ++i;
            continue;
        }
        scan.ascii = false;
        int follow = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        char32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            follow = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2;
            code = c & 0x0F;
            if (c == 0xE0) lo = 0xA0;  // overlong
            if (c == 0xED) hi = 0x9F;  // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3;
            code = c & 0x07;
            if (c == 0xF0) lo = 0x90;  // overlong
            if (c == 0xF4) hi = 0x8F;  // above U+10FFFF
        } else {
            return fail();
        }
        if (i + follow >= n) return fail();  // cut short at the end
        if (p[i + 1] < lo || p[i + 1] > hi) return fail();
        for (int k = 1; k <= follow; ++k) {
            if (p[i + k] < 0x80 || p[i + k] > 0xBF) return fail();
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (dst) {
            if (code >= 0x10000) {
                *dst++ = QChar::highSurrogate(code);
                *dst++ = QChar::lowSurrogate(code);
            } else {
                *dst++ = char16_t(code);
            }
        }
        i += follow + 1;
    }
    if (out) out->resize(dst - dstStart);
    return scan;
}

bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool matchesAt(const QByteArray& bytes, qsizetype pos, const char* lowerWord) {
    for (qsizetype k = 0; lowerWord[k]; ++k) {
        if (pos + k >= bytes.size() || asciiLower(bytes[pos + k]) != lowerWord[k]) return false;
    }
    return true;
}

// The value after "charset=" in a Content-Type value or a meta content attribute.
QByteArray charsetParameter(const QByteArray& text) {
    const QByteArray lower = text.toLower();
    qsizetype at = 0;
    while ((at = lower.indexOf("charset", at)) >= 0) {
        qsizetype i = at + 7;
        while (i < text.size() && isAsciiSpace(text[i])) ++i;
        if (i >= text.size() || text[i] != '=') {
            at += 7;
            continue;
        }
        ++i;
        while (i < text.size() && isAsciiSpace(text[i])) ++i;
        char quote = 0;
        if (i < text.size() && (text[i] == '"' || text[i] == '\'')) quote = text[i++];
        const qsizetype start = i;
        while (i < text.size() && text[i] != ';' && (quote ? text[i] != quote : !isAsciiSpace(text[i])))
            ++i;
        return text.mid(start, i - start).trimmed();
    }
    return {};
}

// The name browsers and ICU agree on for a declared label; "" when the label is of no use
// for reading bytes (unknown, or a UTF-16/32 label on bytes without a BOM).
QString codecForLabel(const QString& label) {
    const QString l = label.trimmed().toLower();
    if (l.isEmpty()) return {};
    static const QStringList latin = {
        QStringLiteral("windows-1252"), QStringLiteral("cp1252"),      QStringLiteral("x-cp1252"),
        QStringLiteral("iso-8859-1"),   QStringLiteral("iso8859-1"),   QStringLiteral("iso88591"),
        QStringLiteral("iso_8859-1"),   QStringLiteral("iso_8859-1:1987"), QStringLiteral("latin1"),
        QStringLiteral("l1"),           QStringLiteral("iso-ir-100"),  QStringLiteral("ibm819"),
        QStringLiteral("cp819"),        QStringLiteral("csisolatin1"), QStringLiteral("us-ascii"),
        QStringLiteral("ascii"),        QStringLiteral("ansi_x3.4-1968"), QStringLiteral("iso-8859-1:1987"),
    };
    if (latin.contains(l)) return kWindows1252;
    static const QStringList utf8 = {QStringLiteral("utf-8"), QStringLiteral("utf8"),
                                     QStringLiteral("unicode-1-1-utf-8"), QStringLiteral("unicode11utf8"),
                                     QStringLiteral("unicode20utf8"), QStringLiteral("x-unicode20utf8")};
    if (utf8.contains(l)) return kUtf8;
    // A page cannot declare itself UTF-16 or UTF-32 in ASCII bytes; browsers read UTF-8.
    if (l.startsWith(QLatin1String("utf-16")) || l.startsWith(QLatin1String("utf-32")) ||
        l.startsWith(QLatin1String("ucs-")) || l == QLatin1String("unicode"))
        return kUtf8;
    if (l == QLatin1String("x-user-defined") || l == QLatin1String("replacement")) return {};
    const QByteArray name = l.toLatin1();
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid()) return {};
    return QString::fromLatin1(decoder.name());
}

// Encodes with one encoder, as one piece. An encoder is never handed nothing: some
// (ISO-2022-KR) crash on it.
QByteArray encodeWhole(QStringView text, const QByteArray& codecName, bool* failed) {
    *failed = false;
    if (text.isEmpty()) return {};
    if (codecName.compare("UTF-8", Qt::CaseInsensitive) == 0) {
        *failed = !text.isValidUtf16();
        return text.toUtf8();
    }
    QStringEncoder encoder(codecName.constData());
    if (!encoder.isValid()) {
        *failed = true;
        return {};
    }
    QByteArray out = encoder.encode(text);
    *failed = encoder.hasError();
    return out;
}

QString decodeWhole(QByteArrayView bytes, const QByteArray& codecName, bool* failed) {
    *failed = false;
    if (bytes.isEmpty()) return {};
    // A mark at the start is text like any other character: it is what the bytes hold.
    QStringDecoder decoder(codecName.constData(), QStringConverter::Flag::ConvertInitialBom);
    if (!decoder.isValid()) {
        *failed = true;
        return {};
    }
    QString text = decoder.decode(bytes);
    *failed = decoder.hasError();
    return text;
}

// Decodes with the codec only when the bytes are read without error and encode back to
// exactly the same bytes.
std::optional<QString> decodeExactly(QByteArrayView bytes, const QString& codec) {
    const QByteArray name = codec.toLatin1();
    bool failed = false;
    QString text = decodeWhole(bytes, name, &failed);
    if (failed) return std::nullopt;
    const QByteArray back = encodeWhole(text, name, &failed);
    if (failed || back != bytes) return std::nullopt;
    return text;
}

// The encoded text decodes back to it (an encoder may drop what it cannot hold without a
// word, or leave its last character unfinished).
bool readsBack(const QByteArray& bytes, QStringView text, const QByteArray& codecName) {
    bool failed = false;
    const QString back = decodeWhole(bytes, codecName, &failed);
    return !failed && back == text;
}

void appendReference(QString& out, char32_t codePoint) {
    out += QLatin1String("&#");
    out += QString::number(quint32(codePoint));
    out += QLatin1Char(';');
}

// In an ASCII-compatible encoding printable ASCII needs no test of its own.
bool asciiCompatible(const QByteArray& codecName) {
    static const QString printable = [] {
        QString ascii;
        for (char16_t c = 0x20; c < 0x7F; ++c) ascii += QChar(c);
        return ascii;
    }();
    bool failed = false;
    const QByteArray encoded = encodeWhole(printable, codecName, &failed);
    return !failed && encoded == printable.toLatin1();
}

// Which characters an encoding holds where they stand, found out once per character: the
// character between two letters encodes without error and decodes back as it was.
class CharacterTest {
public:
    explicit CharacterTest(const QByteArray& codecName)
        : codecName_(codecName), asciiPasses_(asciiCompatible(codecName)) {}
    bool holds(char32_t c) {
        if (asciiPasses_ && c >= 0x20 && c < 0x7F) return true;
        if (c < 0x10000) {
            if (bmp_.isEmpty()) bmp_.resize(0x10000, 0);
            char& known = bmp_[qsizetype(c)];
            if (!known) known = test(c) ? 1 : 2;
            return known == 1;
        }
        const auto it = astral_.constFind(c);
        if (it != astral_.cend()) return *it;
        return *astral_.insert(c, test(c));
    }

private:
    bool test(char32_t c) const {
        QString sample = QStringLiteral("a");
        if (QChar::requiresSurrogates(c)) {
            sample += QChar(QChar::highSurrogate(c));
            sample += QChar(QChar::lowSurrogate(c));
        } else {
            sample += QChar(char16_t(c));
        }
        sample += QLatin1Char('a');
        bool failed = false;
        const QByteArray bytes = encodeWhole(sample, codecName_, &failed);
        return !failed && readsBack(bytes, sample, codecName_);
    }
    QByteArray codecName_;
    bool asciiPasses_;
    QByteArray bmp_;  // 0 not tested yet, 1 held, 2 not held
    QHash<char32_t, bool> astral_;
};

// The text with every character the encoding does not hold written as a reference, each
// surrogate pair as one character and a lone surrogate as itself.
// With `asciiOnly`, everything but printable ASCII, tab and line ends is a reference.
QString withReferences(QStringView text, const QByteArray& codecName, bool asciiOnly = false) {
    CharacterTest test(codecName);
    QString out;
    out.reserve(text.size() + 16);
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        char32_t cp = c.unicode();
        qsizetype len = 1;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(c, text.at(i + 1));
            len = 2;
        }
        const bool held = asciiOnly ? (cp >= 0x20 && cp < 0x7F) || cp == '\t' || cp == '\r' || cp == '\n'
                                    : test.holds(cp);
        if (!held) {
            out += text.mid(copied, i - copied);
            appendReference(out, cp);
            copied = i + len;
        }
        i += len;
    }
    out += text.mid(copied);
    return out;
}

// The text in the encoding: as one piece when the encoder holds all of it, else with
// references (see encodePageText).
QByteArray encodeText(const QString& text, const QByteArray& codecName) {
    bool failed = false;
    QByteArray out = encodeWhole(text, codecName, &failed);
    if (!failed && (codecName.compare("UTF-8", Qt::CaseInsensitive) == 0 || readsBack(out, text, codecName)))
        return out;
    QString referenced = withReferences(text, codecName);
    out = encodeWhole(referenced, codecName, &failed);
    if (!failed && readsBack(out, referenced, codecName)) return out;
    // An encoder that trips over a mix of what it holds (none of those in use does): ASCII
    // alone reads back in any of them.
    return encodeWhole(withReferences(text, codecName, true), codecName, &failed);
}

struct BomInfo {
    const char* bytes;
    int size;
    const char* codec;
};

// Longest first: the UTF-32LE mark starts with the UTF-16LE one.
constexpr BomInfo kBoms[] = {
    {"\x00\x00\xFE\xFF", 4, "UTF-32BE"},
    {"\xFF\xFE\x00\x00", 4, "UTF-32LE"},
    {"\xEF\xBB\xBF", 3, "UTF-8"},
    {"\xFE\xFF", 2, "UTF-16BE"},
    {"\xFF\xFE", 2, "UTF-16LE"},
};

// Tab, line ends and form feed; escape, shift out and shift in switch the character sets of
// the ISO-2022 encodings.
bool isTextControl(char32_t c) {
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == 0x1B || c == 0x0E || c == 0x0F;
}

// UTF-16 or UTF-32 text from `from` on: it is empty, or it holds a NUL byte and reads as
// whole characters; the bytes of a last character cut short are its tail. Without a mark
// (`bom` false) the text must also hold no NUL and no control character but those of text.
std::optional<DecodedText> decodeWide(const QByteArray& bytes, qsizetype from, const char* codec, int unit,
                                      bool bom) {
    const QByteArrayView rest = QByteArrayView(bytes).sliced(from);
    if (rest.isEmpty()) return DecodedText{QString(), {QString::fromLatin1(codec), bom}};
    const qsizetype whole = rest.size() - rest.size() % unit;
    const QByteArrayView body = rest.first(whole);
    if (!body.contains('\0')) return std::nullopt;
    std::optional<QString> text = decodeExactly(body, QString::fromLatin1(codec));
    if (!text) return std::nullopt;
    if (!bom) {
        for (const QChar c : std::as_const(*text))
            if (c.unicode() < 0x20 && !isTextControl(c.unicode())) return std::nullopt;
    }
    return DecodedText{*text, {QString::fromLatin1(codec), bom, rest.sliced(whole).toByteArray()}};
}

// The bytes read as UTF-16 or UTF-32 by their mark, or as UTF-16 without one.
std::optional<DecodedText> decodeWideText(const QByteArray& bytes) {
    for (const BomInfo& bom : kBoms) {
        if (bom.size == 3 || !bytes.startsWith(QByteArrayView(bom.bytes, bom.size))) continue;
        // A UTF-32LE mark starts like a UTF-16LE one: the longer is tried first, then the other.
        if (auto decoded = decodeWide(bytes, bom.size, bom.codec, bom.size, true)) return decoded;
    }
    if (!bytes.contains('\0')) return std::nullopt;
    // ASCII in UTF-16LE puts its NUL bytes at odd places, in UTF-16BE at even ones.
    qsizetype odd = 0, even = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes.at(i) == 0) ++(i % 2 ? odd : even);
    return decodeWide(bytes, 0, odd >= even ? "UTF-16LE" : "UTF-16BE", 2, false);
}

}  // namespace

bool looksLikeText(const QByteArray& bytes) {
    if (decodeWideText(bytes)) return true;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && !isTextControl(u)) return false;
    }
    return true;
}

bool TextEncoding::isUtf8() const {
    return codec.isEmpty() || codec.compare(kUtf8, Qt::CaseInsensitive) == 0;
}

bool isValidUtf8(const QByteArray& bytes) {
    return scanUtf8(bytes).valid;
}

QString decodeWindows1252(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1252");
    if (decoder.isValid()) return decoder.decode(bytes);
    return QString::fromLatin1(bytes);  // Qt built without ICU
}

QString charsetFromContentType(const QString& contentType) {
    return QString::fromLatin1(charsetParameter(contentType.toLatin1()));
}

MetaCharsetAttributes metaCharsetAttributes(QByteArrayView tag) {
    MetaCharsetAttributes found;
    const qsizetype limit = tag.size();
    qsizetype p = std::min<qsizetype>(5, limit);  // after "<meta"
    while (p < limit) {
        while (p < limit && (isAsciiSpace(tag[p]) || tag[p] == '/')) ++p;
        if (p >= limit || tag[p] == '>') break;
        const qsizetype nameStart = p;
        while (p < limit && !isAsciiSpace(tag[p]) && tag[p] != '=' && tag[p] != '>' && tag[p] != '/') ++p;
        const QByteArray name = tag.sliced(nameStart, p - nameStart).toByteArray().toLower();
        while (p < limit && isAsciiSpace(tag[p])) ++p;
        QByteArray value;
        if (p < limit && tag[p] == '=') {
            ++p;
            while (p < limit && isAsciiSpace(tag[p])) ++p;
            if (p < limit && (tag[p] == '"' || tag[p] == '\'')) {
                const char quote = tag[p++];
                const qsizetype start = p;
                while (p < limit && tag[p] != quote) ++p;
                value = tag.sliced(start, p - start).toByteArray();
                if (p < limit) ++p;
            } else {
                const qsizetype start = p;
                while (p < limit && !isAsciiSpace(tag[p]) && tag[p] != '>') ++p;
                value = tag.sliced(start, p - start).toByteArray();
            }
        }
        if (name == "charset" && found.charset.isEmpty()) found.charset = value.trimmed();
        else if (name == "http-equiv" && found.httpEquiv.isEmpty()) found.httpEquiv = value.trimmed().toLower();
        else if (name == "content" && !found.hasContent) {
            found.content = value;
            found.hasContent = true;
        }
    }
    found.end = p;
    return found;
}

QString MetaCharsetAttributes::declared() const {
    if (!charset.isEmpty()) return QString::fromLatin1(charset);
    if (httpEquiv == "content-type" && hasContent) return QString::fromLatin1(charsetParameter(content));
    return {};
}

QString declaredCharset(const QByteArray& bytes) {
    const qsizetype limit = std::min(bytes.size(), kMetaScanLimit);
    const QByteArray head = QByteArray::fromRawData(bytes.constData(), limit);
    qsizetype i = 0;
    while (i < limit) {
        const qsizetype lt = head.indexOf('<', i);
        if (lt < 0) break;
        if (matchesAt(head, lt, "<!--")) {
            const qsizetype close = head.indexOf("-->", lt + 4);
            if (close < 0) break;
            i = close + 3;
            continue;
        }
        if (!matchesAt(head, lt, "<meta") || lt + 5 >= limit ||
            !(isAsciiSpace(head[lt + 5]) || head[lt + 5] == '/')) {
            i = lt + 1;
            continue;
        }
        const MetaCharsetAttributes tag = metaCharsetAttributes(QByteArrayView(head).sliced(lt));
        const QString declared = tag.declared();
        if (!declared.isEmpty()) return declared;
        i = lt + tag.end + 1;
    }
    return {};
}

DecodedText decodePageBytes(const QByteArray& bytes, const QString& contentType,
                            const std::function<QString()>& declaredLabel) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QString text;
        if (scanUtf8(QByteArrayView(bytes).sliced(3), &text).valid) return {text, {kUtf8, true}};
    }
    if (auto wide = decodeWideText(bytes)) return std::move(*wide);

    QString utf8;
    const Utf8Scan scan = scanUtf8(bytes, &utf8);
    if (scan.valid && !scan.ascii) return {utf8, {kUtf8, false}};

    const auto labelAt = [&](int i) {
        if (i == 0) return charsetFromContentType(contentType);
        return declaredLabel ? declaredLabel() : declaredCharset(bytes);
    };
    for (int i = 0; i < 2; ++i) {
        const QString codec = codecForLabel(labelAt(i));
        if (codec.isEmpty()) continue;
        if (codec == kUtf8) {
            if (scan.valid) return {utf8, {kUtf8, false}};
            continue;
        }
        if (codec == kWindows1252) return {decodeWindows1252(bytes), {kWindows1252, false}};
        if (auto text = decodeExactly(bytes, codec)) return {*text, {codec, false}};
    }
    if (scan.valid) return {utf8, {kUtf8, false}};
    return {decodeWindows1252(bytes), {kWindows1252, false}};
}

QByteArray encodePageText(const QString& text, const TextEncoding& encoding) {
    QByteArray out;
    if (encoding.bom) {
        for (const BomInfo& bom : kBoms) {
            if (encoding.codec.compare(QLatin1String(bom.codec), Qt::CaseInsensitive) == 0)
                out = QByteArray(bom.bytes, bom.size);
        }
    }
    out += encodeText(text, encoding.isUtf8() ? QByteArray("UTF-8") : encoding.codec.toLatin1());
    out += encoding.tail;
    return out;
}

bool readPageFile(const QString& path, DecodedText& out, QString* errorText,
                  const std::function<DecodedText(const QByteArray&)>& decode) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    out = decode ? decode(bytes) : decodePageBytes(bytes);
    out.digest = bytesDigest(bytes);
    return true;
}

QByteArray bytesDigest(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

std::optional<QByteArray> fileDigest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return bytesDigest(file.readAll());
}

QString decodeProgramText(const QByteArray& bytes) {
    QString text;
    if (!scanUtf8(bytes, &text).valid) return decodeWindows1252(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

void forEachLine(QStringView text, const std::function<bool(QStringView)>& take) {
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        if (!take(text.mid(start, i - start))) return;
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < n) take(text.mid(start));
}

QStringList splitLines(QStringView text) {
    QStringList lines;
    forEachLine(text, [&](QStringView line) {
        lines << line.toString();
        return true;
    });
    return lines;
}

QString withCrLf(QStringView text) {
    QString out;
    out.reserve(text.size() + text.size() / 32 + 2);
    const qsizetype n = text.size();
    qsizetype start = 0;  // the text since the last line end goes in whole
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        out += text.sliced(start, i - start);
        out += QLatin1String("\r\n");
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    out += text.sliced(start);
    return out;
}

QString codePointText(char32_t codePoint) {
    return QStringView(QChar::fromUcs4(codePoint)).toString();
}

QString breaksToBlanks(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

std::optional<QString> readProgramFile(const QString& path, QString* errorText) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return std::nullopt;
    }
    return decodeProgramText(file.readAll());
}

namespace {

// The first CR or LF at or after `i`, or `n`; sixteen bytes at a time where it can.
qsizetype nextLineEnd(const char* data, qsizetype i, qsizetype n) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= n; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf)));
        if (hits) return i + __builtin_ctz(unsigned(hits));
    }
#endif
    for (; i < n; ++i)
        if (data[i] == '\r' || data[i] == '\n') return i;
    return n;
}

}  // namespace

bool ProgramFileLines::open(const QString& path, QString* errorText) {
    file_.close();
    file_.setFileName(path);
    if (file_.open(QIODevice::ReadOnly)) return true;
    if (errorText)
        *errorText = QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(path), file_.errorString());
    return false;
}

bool ProgramFileLines::forEachByteLine(const std::function<bool(QByteArrayView)>& take, QString* errorText) {
    constexpr qint64 kBlock = 1 << 20;
    if (!file_.isOpen() || !file_.seek(0)) {
        if (errorText) *errorText = QStringLiteral("Cannot read %1").arg(QDir::toNativeSeparators(file_.fileName()));
        return false;
    }
    // What is left of a block after its last line end waits for the next one; a CR ending a
    // block may have its LF at the start of the next.
    QByteArray pending;
    bool afterCr = false;
    for (;;) {
        const qsizetype kept = pending.size();
        pending.resize(kept + kBlock);
        const qint64 got = file_.read(pending.data() + kept, kBlock);
        if (got < 0) {
            if (errorText)
                *errorText = QStringLiteral("Cannot read %1: %2")
                                 .arg(QDir::toNativeSeparators(file_.fileName()), file_.errorString());
            return false;
        }
        pending.resize(kept + got);
        const char* data = pending.constData();
        const qsizetype n = pending.size();
        qsizetype start = 0;
        qsizetype i = afterCr ? 0 : kept;  // the kept bytes hold no line end
        if (afterCr && n > 0 && data[0] == '\n') start = i = 1;
        afterCr = false;
        for (; i < n; ++i) {
            i = nextLineEnd(data, i, n);
            if (i == n) break;
            const char c = data[i];
            if (!take(QByteArrayView(data + start, i - start))) return true;
            if (c == '\r') {
                if (i + 1 == n) afterCr = true;
                else if (data[i + 1] == '\n') ++i;
            }
            start = i + 1;
        }
        if (got == 0) {
            if (start < n) take(QByteArrayView(data + start, n - start));
            return true;
        }
        pending.remove(0, start);
        if (afterBlock_ && !afterBlock_()) {
            stopped_ = true;
            return true;
        }
    }
}

bool ProgramFileLines::forEach(const std::function<bool(QStringView)>& take, QString* errorText) {
    bool utf8 = true;
    stopped_ = false;
    if (!forEachByteLine([&](QByteArrayView line) { return utf8 = scanUtf8(line).valid; }, errorText)) return false;
    if (stopped_) return true;
    bool first = true;
    QString text;
    QStringDecoder windows1252("windows-1252");  // one byte a character: line by line is the same
    const auto decode1252 = [&](QByteArrayView line) {
        text = windows1252.isValid() ? windows1252.decode(line) : QString::fromLatin1(line);
    };
    return forEachByteLine(
        [&](QByteArrayView line) {
            if (!utf8) decode1252(line);
            else if (!scanUtf8(line, &text).valid) decode1252(line);  // changed since it was checked
            else if (first && text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
            first = false;
            return take(text);
        },
        errorText);
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* errorText,
                         std::optional<QFileDevice::Permissions> permissions) {
    QSaveFile file(path);
    auto fail = [&](const QString& reason) {
        file.cancelWriting();
        if (errorText) *errorText = QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason);
        return false;
    };
    if (path.isEmpty()) return fail(QStringLiteral("no file name"));
    // The file written over: its owner made it read-only, so it is not written, whoever runs
    // the program (the refusal reads as the one a user who may not write it gets).
    struct stat old {};
    const bool replacing = ::stat(QFile::encodeName(path).constData(), &old) == 0 && S_ISREG(old.st_mode);
    if (replacing && !(old.st_mode & S_IWUSR)) return fail(QSaveFile::tr("Existing file %1 is not writable").arg(path));
    // Unbuffered, with every write checked: a buffered QSaveFile can commit a file cut
    // short by a full disk or a size limit and still report success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fail(file.errorString());
    if (permissions) {
        if (!file.setPermissions(*permissions)) return fail(file.errorString());
    } else if (replacing) {
        // The new file takes the old one's place as the old one was: its owner and group
        // where this process may give them, and its permission bits (not the set-id bits).
        const int fd = file.handle();
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)!::fchown(fd, uid_t(-1), old.st_gid);
        if (::fchmod(fd, old.st_mode & 0777) != 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) return fail(file.errorString());
        written += n;
    }
    if (file.size() != bytes.size()) return fail(QStringLiteral("the file was cut short"));
    if (!file.commit()) return fail(file.errorString());
    return true;
}

bool writeTextFileAtomically(const QString& path, const QString& text, QString* errorText) {
    return writeFileAtomically(path, withCrLf(text).toUtf8(), errorText);
}

}  // namespace platform
