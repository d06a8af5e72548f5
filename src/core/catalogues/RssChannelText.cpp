#include "core/catalogues/RssChannelText.h"

#include "core/catalogues/ListMarkup.h"
#include "core/record/RdfWriter.h"
#include "platform/PathText.h"

#include <QStringBuilder>

#include <optional>

namespace RssChannelText {
namespace {

const QLatin1StringView kCrLf("\r\n");

QString line(QLatin1StringView indent, QLatin1StringView tag, const QString& text) {
    return indent % QLatin1Char('<') % tag % QLatin1Char('>') % ListMarkup::escapedWhole(text) % QLatin1StringView("</") %
           tag % QLatin1Char('>') % kCrLf;
}

}  // namespace

QString safeHeaderText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\r' || u == u'\n' || c.category() != QChar::Other_Control)
            out += c;
        else if (u == 0x0B || u == 0x0C || u == 0x85)
            out += QLatin1Char(' ');
    }
    return out;
}

QString channel(const QList<ListEntries::ListEntry>& entries, const Header& header) {
    const QLatin1StringView five("     ");
    const QLatin1StringView ten("          ");
    QString text;
    text += QLatin1StringView("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") + kCrLf;
    text += QLatin1StringView("<rdf:RDF") + kCrLf;
    text += QLatin1StringView("xmlns:rdf=\"") + QLatin1StringView(RdfWriter::kRdfSyntaxNamespace) + QLatin1Char('"') + kCrLf;
    text += QLatin1StringView("xmlns:dc=\"") + QLatin1StringView(kDublinCoreNamespace) + QLatin1Char('"') + kCrLf;
    text += QLatin1StringView("xmlns:kq=\"") + QLatin1StringView(kFolderNamespace) + QLatin1Char('"') + kCrLf;
    text += QLatin1StringView("xmlns=\"") + QLatin1StringView(kRss10Namespace) + QLatin1StringView("\">") + kCrLf;
    text += QLatin1StringView("<channel rdf:about=\"") + ListMarkup::escapedLink(header.siteURL, true) +
            QLatin1StringView("\">") + kCrLf;
    text += line(five, QLatin1StringView("title"), safeHeaderText(header.title));
    text += five + QLatin1StringView("<link>") + ListMarkup::escapedLink(header.siteURL) + QLatin1StringView("</link>") +
            kCrLf;
    text += line(five, QLatin1StringView("description"), safeHeaderText(header.description));
    text += QLatin1StringView("<items>") + kCrLf + QLatin1StringView("<rdf:Seq>") + kCrLf;

    // Each link once, as the sequence and its item show it.
    QStringList links;
    QList<bool> prefixed;
    links.reserve(entries.size());
    for (const ListEntries::ListEntry& entry : entries) {
        links.append(platform::withLinkScheme(entry.link));
        prefixed.append(links.last().size() != entry.link.size());
        text += ten % QLatin1StringView("<rdf:li resource=\"") % ListMarkup::escapedLink(links.last(), true) %
                QLatin1StringView("\" />") % kCrLf;
    }
    text += QLatin1StringView("</rdf:Seq>") + kCrLf + QLatin1StringView("</items>") + kCrLf;
    text += QLatin1StringView("</channel>") + kCrLf;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const ListEntries::ListEntry& entry = entries.at(i);
        text += five % QLatin1StringView("<item rdf:about=\"") % ListMarkup::escapedLink(links.at(i), true) %
                (prefixed.at(i) ? QLatin1StringView("\" > ") : QLatin1StringView("\">")) % kCrLf;
        text += line(ten, QLatin1StringView("title"), entry.title);
        text += ten % QLatin1StringView("<link>") % ListMarkup::escapedLink(links.at(i)) % QLatin1StringView("</link>") %
                kCrLf;
        if (!entry.folders.isEmpty())
            text += ten % QLatin1StringView("<kq:folder>") % ListMarkup::folderPath(entry.folders) %
                    QLatin1StringView("</kq:folder>") % kCrLf;
        text += five % QLatin1StringView("</item>") % kCrLf;
    }
    text += QLatin1StringView("</rdf:RDF>") + kCrLf;
    return text;
}

QString Reading::report() const {
    QString lines;
    if (!hasItems) lines += QLatin1StringView("RSS Channel does not appear to have any items") + kCrLf;
    if (!hasTitle) lines += QLatin1StringView("No Title found for RSS Channel") + kCrLf;
    if (!hasLink) lines += QLatin1StringView("No Link URL found for RSS Channel") + kCrLf;
    if (!hasDescription) lines += QLatin1StringView("No Description found for RSS Channel") + kCrLf;
    return lines;
}

Reading read(QStringView text) {
    using ListMarkup::TokenKind;
    Reading reading;
    bool inItem = false;
    bool headerDone = false;
    QString title, link;
    std::optional<QStringList> folders;
    ListMarkup::ElementText element;
    QString* target = nullptr;  // where the element's text goes; none: the folders
    bool* found = nullptr;
    const auto endItem = [&] {
        element.reset();
        inItem = false;
        const ListEntries::ListEntry entry = ListEntries::treeItem(folders.value_or(QStringList()), title, link, false);
        if (!entry.link.isEmpty()) reading.items.append(entry);
    };

    ListMarkup::TagScanner scan(text);
    while (scan.next()) {
        const ListMarkup::Token& token = scan.token();
        const bool itemTag = token.name.compare(QLatin1StringView("item"), Qt::CaseInsensitive) == 0;
        if (token.kind == TokenKind::StartTag &&
            (itemTag || token.name.compare(QLatin1StringView("items"), Qt::CaseInsensitive) == 0)) {
            // Whatever the header had not closed by the first item is not the header's.
            if (!headerDone) element.reset();
            reading.hasItems = headerDone = true;
            if (!itemTag) continue;
            if (inItem) endItem();
            inItem = !token.selfClosing;
            title.clear(), link.clear(), folders.reset();
            continue;
        }
        if (token.kind == TokenKind::EndTag && itemTag) {
            if (inItem) endItem();
            continue;
        }
        if (element.active()) {
            // The first element of each kind counts (in an item, the first with a text).
            if (element.feed(token)) {
                if (!target && !folders) folders = ListMarkup::folderLevels(element.raw());
                if (target && ((found && !*found) || (!found && target->isEmpty()))) *target = element.value();
                if (found) *found = true;
                element.reset();
            }
            continue;
        }
        if (token.kind != TokenKind::StartTag || token.selfClosing) continue;
        const auto take = [&](const char* name, QString* field, bool* flag,
                              ListMarkup::ControlReferences controls = ListMarkup::ControlReferences::Kept) {
            if (token.name.compare(QLatin1StringView(name), Qt::CaseInsensitive) != 0) return false;
            element.start(token.name, controls);
            target = field;
            found = flag;
            return true;
        };
        // Titles and the header's texts take references to control characters in, to go as
        // they go from names.
        const auto decoded = ListMarkup::ControlReferences::Decoded;
        if (inItem) {
            take("title", &title, nullptr, decoded) || take("link", &link, nullptr) || take("kq:folder", nullptr, nullptr);
        } else if (!headerDone) {
            Header& h = reading.header;
            take("title", &h.title, &reading.hasTitle, decoded) || take("link", &h.siteURL, &reading.hasLink) ||
                take("description", &h.description, &reading.hasDescription, decoded);
        }
    }
    if (inItem) endItem();
    reading.header.title = safeHeaderText(reading.header.title);
    reading.header.description = safeHeaderText(reading.header.description);
    return reading;
}

}  // namespace RssChannelText
