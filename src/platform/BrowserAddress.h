#pragma once
#include <QString>
#include <QUrl>

// Address text of the browser. Commands ("mtp:") stay text; only other addresses are
// turned into QUrl, and engine URLs are turned back into the text a user would write.
namespace platform {

// An href without the blanks around it (as every browser reads it).
QString trimmedHref(const QString& href);
// A command of the program: "mtp:" at the start, in any case, blanks around ignored.
bool isCommandAddress(const QString& address);
// Text that starts with a scheme name and ":" ("http:", "mtp:", "javascript:", ...).
bool hasScheme(const QString& address);

// Where a link leads: a command or any other address with a scheme exactly as written
// (blanks around removed); a relative address resolved against the document's address.
QString linkAddress(const QString& href, const QString& baseAddress);

// The URL the engine loads for an address typed or passed by the program: absolute paths
// become file URLs, "www.example.org" becomes http. Never call it with a command.
QUrl urlForAddress(const QString& address);

// The text of a URL the engine reports. QUrl cannot hold most commands; for those the
// text is recovered from what QUrl kept of it. Non-ASCII escapes are decoded.
QString addressOfUrl(const QUrl& url);

// Decodes runs of %XX escapes that spell non-ASCII UTF-8 text; ASCII escapes such as %20
// and %25 are kept as written, so a command's own escapes survive.
QString decodeNonAsciiEscapes(const QString& text);

}  // namespace platform
