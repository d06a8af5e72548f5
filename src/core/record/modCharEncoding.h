#pragma once
#include <QString>

// Content encodings of the record: HTML character references and "%" escapes.
// Each function is a single scan over the text, so a long content value or a whole
// page costs time in proportion to its length.
namespace modCharEncoding {

// Repairs the three punctuation marks that a UTF-8 page shows when its bytes were read as
// Windows-1252 (right and left single quotation marks, en dash). Returns a repaired copy.
QString fixUtf8Quotes(const QString& text);

// The named references of ">", "<", "'", the double quote, the Latin-1 signs U+00A1..U+00BF
// (not U+00AC), the letters U+00C0..U+00C4, U+00C6..U+00CF, U+00D1..U+00D6 and their small
// letters, and finally "&", become their characters; so does the decimal or hexadecimal
// reference (without leading zeros) of any character but a control, as the page writer
// writes a character a page's encoding lacks. Named references of letters match in their
// own case ("&eacute;" is U+00E9, "&Eacute;" U+00C9); the other names and the "&#x"
// hexadecimal form ignore case. Returns the decoded text.
QString decodeHtmlEntities(const QString& text);

// "&", the Latin-1 signs U+00A1..U+00BF (not U+00AC, U+00B6), the letters U+00C0..U+00C4,
// U+00C7..U+00CD and their small letters, "<", ">" and the double quote become named
// references. Returns the encoded text.
QString encodeHtmlEntities(const QString& text);

// "%22", "%26", "%3C", "%3E" and the escapes of the Windows-1252 codes 123..255 (nine codes
// excepted) become their characters; hexadecimal digits in either case. Returns the decoded text.
QString decodePercentEscapes(const QString& text);

// Line breaks become blanks; the double quote, "&", "<", ">" and the Windows-1252 characters
// of codes 123..255 (nine codes excepted) become "%" escapes with upper-case hexadecimal
// digits. "%" itself is never escaped. Returns the encoded text.
QString encodePercentEscapes(const QString& text);

// The content encoding the preference `charEncoding` chooses: "1" the "%" escapes, "2" the
// HTML references, "0" or any other value none. Content is encoded as the user types it and
// decoded when a line is shown for editing.
QString encodeContent(const QString& typed, const QString& charEncoding);
QString decodeContent(const QString& stored, const QString& charEncoding);

}  // namespace modCharEncoding
