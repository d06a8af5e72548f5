#pragma once
#include <QString>

// Text helpers for file paths and web addresses. Paths use "/", but text that came
// from the program's data (tree keys, list files) may carry "\".
namespace platform {

// Position of the last "/" or "\" in the text, or -1.
qsizetype lastPathSeparator(const QString& path);
// The part after the last separator (the whole text when there is none).
QString fileNamePart(const QString& path);
// The part up to and including the last separator ("" when there is none).
QString folderPart(const QString& path);
// True when the text ends in "/" or "\".
bool endsWithSeparator(const QString& path);

// "file://" addresses become plain paths; anything else is returned unchanged.
QString localPathFromAddress(const QString& address);
// A local path: an absolute path, or a file:// address that names one.
bool isLocalPath(const QString& address);
// A page's path or address: it holds ".htm", ".asp" or ".cfm" anywhere, any case (".html"
// and "page.cfm?x=1" included).
bool isPageAddress(const QString& address);

// "http://" or "https://" at the start, any case.
bool isWebAddress(const QString& address);
// The web scheme the address starts with ("http://" or "https://" as written), or "".
QString webSchemeOf(const QString& address);
// The address without its leading "http://" or "https://".
QString withoutWebScheme(const QString& address);

// A link as the list files and records carry it. One that starts with a scheme name and
// "://" ("file:///srv/x.htm", "ftp://..."), or with "mailto:", "urn:", "news:", "tel:" or
// "data:", or that holds "http://" or "https://" anywhere (all any case), stays as it is;
// any other is taken for a web address and gets "http://" in front.
QString withLinkScheme(const QString& link);

}  // namespace platform
