#include "core/catalogues/HarvestListText.h"

#include "core/catalogues/ListMarkup.h"
#include "platform/PathText.h"
#include "core/record/MetaReader.h"
#include "core/record/RdfWriter.h"

#include <algorithm>
#include <optional>

namespace HarvestListText {
namespace {

const QLatin1StringView kCrLf("\r\n");
const QLatin1StringView kTen("          ");

// The element a record names its address with.
bool namesRecordIdentifier(const MetaReader::MetaTagValues& meta) {
    return meta.name.contains(QLatin1StringView("DC.Identifier"), Qt::CaseInsensitive) &&
           meta.scheme.contains(QLatin1StringView("URI"), Qt::CaseInsensitive);
}

// An identifier's content as a list reads it back: its line breaks go (the older form writes
// each element on one line), references are decoded and the blanks at its ends go.
QString identifierValue(QStringView content) {
    QString value = content.toString();
    value.remove(QLatin1Char('\r'));
    value.remove(QLatin1Char('\n'));
    return ListMarkup::textOf(value).trimmed();
}

QString sortKey(const ListEntries::ListEntry& entry) {
    QStringList parts = entry.folders;
    parts << entry.title << entry.link;
    return parts.join(QLatin1Char('|'));
}

// The item's own lines when no record stands for it.
// A title that is its link, written as it stands, is left out: the reader takes the link
// for it.
QString titleAndLinkLines(const ListEntries::ListEntry& entry) {
    QString lines;
    const QString link = writtenLink(entry.link);
    if (entry.title != entry.link || link != entry.link)
        lines += kTen + QLatin1StringView("<title>") + ListMarkup::escaped(entry.title) + QLatin1StringView("</title>") + kCrLf;
    lines += kTen + QLatin1StringView("<link>") + ListMarkup::escapedLink(link) + QLatin1StringView("</link>") + kCrLf;
    return lines;
}

// The items of either form, each between its start and end lines.
QString itemLines(const QList<ListEntries::ListEntry>& entries, const RecordText& record, QLatin1StringView indent,
                  const std::function<QString(const QStringList&)>& folderLine) {
    QString text;
    for (const ListEntries::ListEntry& entry : entries) {
        text += indent + QLatin1StringView("<item>") + kCrLf;
        const QString recordText = record ? record(entry) : QString();
        text += recordText.isEmpty() ? titleAndLinkLines(entry) : recordText + kCrLf;
        if (!entry.folders.isEmpty()) text += folderLine(entry.folders) + kCrLf;
        text += indent + QLatin1StringView("</item>") + kCrLf;
    }
    return text;
}

}  // namespace

QString writtenLink(const QString& link) {
    return ListMarkup::validAddress(platform::withLinkScheme(link));
}

QString recordRdf(const ListEntries::ListEntry& entry, const QString& metaLines, const QString& rdfNamespaces,
                  const QString& rdfPrefix) {
    return RdfWriter::MakeMetaIntoRDF(writtenLink(entry.link), metaLines, rdfNamespaces, rdfPrefix,
                                      RdfWriter::RdfValues::XmlText);
}

void sortEntries(QList<ListEntries::ListEntry>& entries) {
    QList<std::pair<QString, qsizetype>> keys;
    keys.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) keys.append({sortKey(entries.at(i)), i});
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<ListEntries::ListEntry> sorted;
    sorted.reserve(entries.size());
    for (const auto& key : keys) sorted.append(std::move(entries[key.second]));
    entries = std::move(sorted);
}

QString agls12Form(const QList<ListEntries::ListEntry>& entries, const RecordText& rdf, const QString& administrator,
                   const QString& email, const QDate& updated) {
    QString text;
    text += QLatin1StringView("<?xml version=\"1.0\"?>") + kCrLf;
    text += QLatin1StringView("<!DOCTYPE hcl SYSTEM \"") + QLatin1StringView(kSystemIdentifier) + QLatin1StringView("\">") +
            kCrLf;
    text += QLatin1StringView("<hcl updated=\"") + updated.toString(QStringLiteral("yyyy-MM-dd")) +
            QLatin1StringView("\" version=\"1.0\">") + kCrLf;
    text += QLatin1StringView("<site>") + kCrLf;
    text += itemLines(entries, rdf, QLatin1StringView("  "), [](const QStringList& folders) {
        return kTen + QLatin1StringView("<local lname=\"Folder\">") + ListMarkup::folderPath(folders) +
               QLatin1StringView("</local>");
    });
    text += QLatin1StringView("  <site.administrator>") + ListMarkup::escaped(administrator) +
            QLatin1StringView("</site.administrator>") + kCrLf;
    text += QLatin1StringView("  <email>") + ListMarkup::escaped(email) + QLatin1StringView("</email>") + kCrLf;
    text += QLatin1StringView("</site>") + kCrLf;
    text += QLatin1StringView("</hcl>") + kCrLf;
    return text;
}

QString siteForm(const QList<ListEntries::ListEntry>& entries, const RecordText& metaLines) {
    QString text;
    text += QLatin1StringView("<xml version=\"1.1\">") + kCrLf;
    text += QLatin1StringView("<site>") + kCrLf;
    text += itemLines(entries, metaLines, QLatin1StringView("     "), [](const QStringList& folders) {
        return kTen + QLatin1StringView("<META NAME=\"AGLS.Function\" LANG=\"en\" CONTENT=\"") +
               ListMarkup::folderPath(folders, true) + QLatin1StringView("\" SCHEME=\"HCL\">");
    });
    text += QLatin1StringView("</site>") + kCrLf;
    return text;
}

QList<ListEntries::ListEntry> readItems(QStringView text) {
    using ListMarkup::TokenKind;
    QList<ListEntries::ListEntry> items;
    struct Item {
        QString title, link, about, identifier, metaIdentifier;
        std::optional<QStringList> folders;
    } item;
    bool inItem = false;
    ListMarkup::ElementText element;
    QString* target = nullptr;  // where the element's text goes; none: the folders
    const auto endItem = [&] {
        element.reset();
        inItem = false;
        QString link = item.link;
        for (const QString* other : {&item.about, &item.metaIdentifier, &item.identifier})
            if (link.isEmpty()) link = *other;
        const ListEntries::ListEntry entry =
            ListEntries::treeItem(item.folders.value_or(QStringList()), item.title, link, true);
        if (!entry.link.isEmpty()) items.append(entry);
    };
    // A title takes references to control characters in, to go as they go from names.
    const auto capture = [&](const ListMarkup::Token& token, QString* field) {
        element.start(token.name, field == &item.title ? ListMarkup::ControlReferences::Decoded
                                                       : ListMarkup::ControlReferences::Kept);
        target = field;
    };

    ListMarkup::TagScanner scan(text);
    while (scan.next()) {
        const ListMarkup::Token& token = scan.token();
        if (token.is(TokenKind::StartTag, QLatin1StringView("item")) || token.is(TokenKind::EndTag, QLatin1StringView("item"))) {
            if (inItem) endItem();
            inItem = token.kind == TokenKind::StartTag && !token.selfClosing;
            item = Item();
            continue;
        }
        if (!inItem) continue;
        if (element.active()) {
            // The first text found for a field stays.
            if (element.feed(token)) {
                if (!target && !item.folders) item.folders = ListMarkup::folderLevels(element.raw());
                if (target && target->isEmpty()) *target = element.value();
                element.reset();
            }
            continue;
        }
        if (token.kind != TokenKind::StartTag) continue;
        const auto named = [&](const char* name) { return token.name.compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0; };
        if (named("meta")) {
            const MetaReader::MetaTagValues meta = MetaReader::readMetaTag(token.raw);
            QString* field = nullptr;
            if (meta.scheme.startsWith(QLatin1StringView("HCL"), Qt::CaseInsensitive)) {
                if (!item.folders) item.folders = ListMarkup::folderLevels(meta.content);
            } else if (namesRecordIdentifier(meta)) {
                if (item.metaIdentifier.isEmpty()) item.metaIdentifier = identifierValue(meta.content);
            } else if (meta.name.compare(QLatin1StringView("DC.Identifier"), Qt::CaseInsensitive) == 0) {
                field = &item.identifier;
            } else if (meta.name.compare(QLatin1StringView("DC.Title"), Qt::CaseInsensitive) == 0) {
                field = &item.title;
            }
            if (field && field->isEmpty())
                *field = (field == &item.title ? ListMarkup::decodeReferences(meta.content, ListMarkup::ControlReferences::Decoded)
                                               : ListMarkup::textOf(meta.content))
                             .trimmed();
        } else if (named("rdf:Description")) {
            if (item.about.isEmpty()) item.about = ListMarkup::attribute(token.raw, QLatin1StringView("rdf:about"));
            if (item.about.isEmpty()) item.about = ListMarkup::attribute(token.raw, QLatin1StringView("about"));
        } else if (token.selfClosing) {
            continue;
        } else if (named("title") || named("dc:title")) {
            capture(token, &item.title);
        } else if (named("link")) {
            capture(token, &item.link);
        } else if (named("dc:identifier")) {
            capture(token, &item.identifier);
        } else if (named("folder") ||
                   (named("local") && ListMarkup::attribute(token.raw, QLatin1StringView("lname")) == QLatin1StringView("Folder"))) {
            capture(token, nullptr);
        }
    }
    if (inItem) endItem();
    return items;
}

QString metadataFrom(QStringView pageText, const QString& nameFilter, const QString& otherFilter,
                     const QString& schemeFilter) {
    const bool whole = nameFilter.isEmpty() && otherFilter.isEmpty() && schemeFilter.isEmpty();
    QString result;
    MetaReader::MetaTagScanner scan(pageText);
    while (scan.next()) {
        const QStringView tag = scan.tag();
        const MetaReader::MetaTagValues meta = MetaReader::readMetaTag(tag);
        if (meta.name.isEmpty()) continue;
        if (whole) {
            QString element = tag.toString();
            element.remove(QLatin1Char('\r'));
            element.remove(QLatin1Char('\n'));
            result += kTen + element + kCrLf;
        } else if (meta.name.contains(nameFilter, Qt::CaseInsensitive) &&
                   meta.scheme.contains(schemeFilter, Qt::CaseInsensitive)) {
            result += meta.content + kCrLf;
        }
    }
    return result;
}

QString recordIdentifier(QStringView pageText) {
    MetaReader::MetaTagScanner scan(pageText);
    while (scan.next()) {
        const MetaReader::MetaTagValues meta = MetaReader::readMetaTag(scan.tag());
        if (!namesRecordIdentifier(meta)) continue;
        if (QString value = identifierValue(meta.content); !value.isEmpty()) return value;
    }
    return QString();
}

QString identifierKey(QString text) {
    text.remove(QLatin1StringView("http://"), Qt::CaseInsensitive);
    text.remove(QLatin1StringView("https://"), Qt::CaseInsensitive);
    text.remove(kCrLf);
    return ListMarkup::validAddress(text);
}

bool sameIdentifier(QString identifier, const QString& address) {
    identifier.remove(kCrLf);
    return ListMarkup::validAddress(identifier) == ListMarkup::validAddress(address);
}

}  // namespace HarvestListText
