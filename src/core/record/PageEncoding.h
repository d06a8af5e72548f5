#pragma once
#include "platform/TextCodec.h"

#include <QByteArray>
#include <QString>

// How a page's bytes become the text its record is read from and written back into.
// The page's own charset is what its meta elements declare as the meta reader and the
// writer see them, so the page the writer wrote reads back in the encoding it was read in:
// the writer leaves a meta element without a name as it stands, but writes each named one
// (an http-equiv Content-Type among them) where the record puts it.
namespace PageEncoding {

// The charset the page declares ("" when none): what the first meta element without a name
// that declares one declares (its charset attribute, or the charset of an http-equiv
// Content-Type the reader does not take for a name, one not in double quotes); else what
// the first http-equiv Content-Type element declares; else what the first other named
// element declares. The elements are those the meta reader walks over (none in a comment,
// script, style or textarea; each ending at its first ">"), anywhere in the page. The label
// is returned as written.
QString declaredCharset(const QByteArray& bytes);

// platform::decodePageBytes with the page's own charset as above.
platform::DecodedText decodePage(const QByteArray& bytes, const QString& contentType = QString());

// Reads a page file and decodes it with decodePage, keeping a digest of its bytes. False
// with a message in *errorText (when given) if the file cannot be read.
bool readPageFile(const QString& path, platform::DecodedText& out, QString* errorText = nullptr);

}  // namespace PageEncoding
