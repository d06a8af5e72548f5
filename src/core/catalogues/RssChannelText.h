#pragma once
#include "core/catalogues/ListEntries.h"

#include <QString>
#include <QStringView>

// RSS channels as text: the RSS 1.0 channel the tree is written as, and RSS 1.0 and 2.0
// channels read back. Pure text work.
namespace RssChannelText {

// The RSS 1.0 namespace (the page loader knows a channel by it).
inline constexpr char kRss10Namespace[] = "http://purl.org/rss/1.0/";
inline constexpr char kDublinCoreNamespace[] = "http://purl.org/dc/elements/1.1/";
// The program's own namespace, of the element that keeps an item's folders.
inline constexpr char kFolderNamespace[] = "http://schemes.quorvantil.example/rss/kq#";

// The channel's own part: title, site address (also its rdf:about) and description.
struct Header {
    QString title;
    QString siteURL;
    QString description;
};

// A header text as it enters the program (read from a channel, typed into the channel's
// dialog) and as it is written: control characters go as they go from names (vertical tab,
// form feed and U+0085 become blanks), but tabs and line ends stay.
QString safeHeaderText(const QString& text);

// The channel in the tree's order, UTF-8 as it declares; every line ends in CR LF.
QString channel(const QList<ListEntries::ListEntry>& entries, const Header& header);

struct Reading {
    Header header;
    bool hasTitle = false;
    bool hasLink = false;
    bool hasDescription = false;
    bool hasItems = false;
    // The items with both a title and a link, in the order they stand.
    QList<ListEntries::ListEntry> items;
    // The lines telling what the channel lacks, each ending in CR LF; "" when nothing.
    QString report() const;
};
// An RSS 1.0 or 2.0 channel. The header is the first title, link and description before
// the first item (anywhere in a channel without items); its title and description are made
// safe, control characters written as references too.
Reading read(QStringView text);

}  // namespace RssChannelText
