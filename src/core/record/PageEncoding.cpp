#include "core/record/PageEncoding.h"

#include "core/record/MetaReader.h"

#include <optional>

namespace PageEncoding {

QString declaredCharset(const QByteArray& bytes) {
    // Each byte a character of its own: the markup the reader looks for is ASCII in every
    // encoding a page can declare itself in.
    const QString text = QString::fromLatin1(bytes);
    MetaReader::MetaTagScanner scanner(text);
    std::optional<QString> fromHttpEquiv;
    std::optional<QString> fromNamed;
    while (scanner.next()) {
        const MetadataLine line = MetaReader::lineFromTag(scanner.tag());
        const QString declared = platform::metaCharsetAttributes(scanner.tag().toLatin1()).declared();
        if (line.name.isEmpty()) {
            if (!declared.isEmpty()) return declared;
        } else if (line.httpEquiv && line.name.compare(QLatin1StringView("Content-Type"), Qt::CaseInsensitive) == 0) {
            if (!fromHttpEquiv) fromHttpEquiv = declared;
        } else if (!fromNamed && !declared.isEmpty()) {
            fromNamed = declared;
        }
    }
    return fromHttpEquiv ? *fromHttpEquiv : fromNamed.value_or(QString());
}

platform::DecodedText decodePage(const QByteArray& bytes, const QString& contentType) {
    return platform::decodePageBytes(bytes, contentType, [&] { return declaredCharset(bytes); });
}

bool readPageFile(const QString& path, platform::DecodedText& out, QString* errorText) {
    return platform::readPageFile(path, out, errorText, [](const QByteArray& bytes) { return decodePage(bytes); });
}

}  // namespace PageEncoding
