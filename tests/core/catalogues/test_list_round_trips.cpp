// Lists, Harvest Control Lists and channels written from generated trees and read back:
// every name and link comes back as the tree held it.
#include "core/catalogues/HarvestListText.h"
#include "core/catalogues/ListLines.h"
#include "core/catalogues/RssChannelText.h"
#include "core/catalogues/ListTree.h"
#include "core/record/RdfWriter.h"
#include "support/Common.h"
#include "support/HardText.h"
#include "core/catalogues/ListMarkup.h"

#include <QRegularExpression>
#include "platform/PathText.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using ListEntries::ListEntry;
using testing_support::HardText;

namespace {

constexpr int kInputs = 10000;
const QString kRoot = u"Root"_s;

// A value with none of the characters that end a list line's name or the line itself.
QString lineSafe(QString text) {
    return text.remove(u'|').remove(u'\r').remove(u'\n');
}

// Links of every kind of scheme, their text as hard as an address gets; with `controls`, also
// holding control characters (as a list line may give them).
// `bare`: now and then a web address without its scheme.
QString link(HardText& hard, bool controls = false, bool bare = false) {
    static const QStringList schemes = {u"http://h.example/"_s, u"https://h.example/?a=1&b="_s, u"file:///srv/pages/"_s,
                                        u"ftp://h.example/"_s,  u"mailto:a@h.example?subject="_s, u"urn:isbn:"_s,
                                        u"news:comp."_s,        u"tel:+61"_s, u"data:text/plain,"_s};
    const QString start = bare && hard.below(5) == 0 ? u"www.h.example/"_s : schemes.at(hard.below(int(schemes.size())));
    QString text = start + lineSafe(hard.value(4));
    if (!controls)
        for (QChar& c : text)
            if (c.category() == QChar::Other_Control) c = u'_';
    return text.trimmed();
}

// Every node below the root: its path, tag and images, in any order.
QStringList nodesOf(const ListTree& tree) {
    QStringList nodes;
    for (int i = 2; i <= tree.count(); ++i) {
        const ListTree::NodeId node = tree.item(i);
        QString path = tree.text(node);
        for (ListTree::NodeId up = tree.parent(node); up && tree.parent(up); up = tree.parent(up))
            path.prepend(tree.text(up) + u'\u0001');
        nodes << path + u'\u0002' + tree.tag(node) + QString::number(tree.image(node) * 10 + tree.selectedImage(node));
    }
    nodes.sort();
    return nodes;
}

// Reads list lines into the tree below a fresh root.
QStringList readInto(ListTree& tree, const QStringList& lines, ListLines::ListKind kind) {
    tree.clear();
    tree.add(0, ListTree::Place::Last, kRoot + u'\\', kRoot, 1, 4);
    ListLines::ListReading reading(tree, kRoot, kind);
    for (const QString& line : lines) EXPECT_EQ(reading.add(line), u"0"_s) << line;
    return reading.renamed();
}

// A tag as a list file holds it: line ends as blanks; a scheme's term with "mtp://" in front;
// an address (no "mtp://" in it) with its "|" escaped and, without a scheme, "http://".
QString asWritten(QString tag, ListLines::ListKind kind) {
    if (tag.isEmpty()) return tag;
    tag.replace(u'\r', u' ').replace(u'\n', u' ');
    if (tag.contains(u"mtp://"_s, Qt::CaseInsensitive)) return tag;
    if (kind == ListLines::ListKind::Scheme) return u"mtp://"_s + tag;
    tag.replace(u'|', u"%7C"_s);
    return tag.contains(u"://"_s) ? tag : platform::withLinkScheme(tag);
}

// The names on the path from below the root down to the node.
QStringList pathOf(const ListTree& tree, ListTree::NodeId node) {
    QStringList path;
    for (; node && tree.parent(node); node = tree.parent(node)) path.prepend(tree.text(node));
    return path;
}

// Whether the line of a node with this path and tag, read below the folders of its path,
// gives that node back.
bool lineGivesNodeBack(const QStringList& path, const QString& tag, ListLines::ListKind kind) {
    ListTree tree;
    ListTree::NodeId node = tree.add(0, ListTree::Place::Last, kRoot + u'\\', kRoot, 1, 4);
    ListLines::ListReading reading(tree, kRoot, kind);
    for (qsizetype i = 1; i < path.size(); ++i) reading.add(path.first(i).join(u'|') + u'|');
    reading.add(path.join(u'|') + u'|' + asWritten(tag, kind));
    for (const QString& name : path) {
        ListTree::NodeId child = 0;
        for (int row = 0; row < tree.childCount(node) && !child; ++row)
            if (tree.text(tree.child(node, row)) == name) child = tree.child(node, row);
        if (!(node = child)) return false;
    }
    return tree.tag(node) == asWritten(tag, kind);
}

// A save the writer refused names a node whose line would not give it back; false (and a
// failure noted) otherwise.
bool refusedRightly(const ListTree& tree, const ListLines::UnwritableNode& unwritable, ListLines::ListKind kind) {
    const bool right = tree.contains(unwritable.node) && unwritable.path == pathOf(tree, unwritable.node) &&
                       unwritable.text().contains(unwritable.path.join(u" > "_s)) &&
                       !lineGivesNodeBack(unwritable.path, tree.tag(unwritable.node), kind);
    EXPECT_TRUE(right) << unwritable.text() << " [" << tree.tag(unwritable.node) << "]";
    return right;
}

TEST(ListRoundTrip, ListLinesComeBackAsTheTreeHeldThem) {
    HardText hard(1001, {u"\\"_s, u"mtp://"_s, u"MTP://x"_s});
    ListTree first, second;
    int failures = 0;
    int refused = 0;
    for (int round = 0; round <= kInputs; ++round) {
        const auto kind = round % 3 ? ListLines::ListKind::Catalogue : ListLines::ListKind::Scheme;
        // Folders first, then entries, any of them under names already taken.
        QStringList folders{QString()};
        QStringList lines;
        for (int n = hard.below(6); n >= 0; --n) {
            const QString in = folders.at(hard.below(int(folders.size())));
            QString name = lineSafe(hard.value(3));
            if (ListLines::safeNodeText(name).isEmpty()) name += u"n"_s;  // a line naming nothing is refused
            if (hard.below(3) == 0) {
                folders << in + name + u'|';
                lines << folders.last();
            } else {
                const bool command = kind == ListLines::ListKind::Scheme || hard.below(3) == 0;
                lines << in + name + u'|' +
                             (command ? u"mtp://field=DC.Subject&content="_s +
                                            hard.value(3).remove(u'\r').remove(u'\n').remove(u"|mtp://"_s, Qt::CaseInsensitive) +
                                            u".fld/"_s
                                      : link(hard));
            }
        }
        if (round == kInputs) {  // and a list whose 100,000 names are all one
            lines.clear();
            for (int n = 0; n < 100000; ++n) lines << u"Same|http://h.example/"_s + QString::number(n);
        }
        const QStringList renamed = readInto(first, lines, kind);
        if (round == kInputs) {
            EXPECT_EQ(renamed.size(), 99999);
        }
        // A name read with blanks around an "mtp://" (taken off as it enters) may not be
        // written back below its folder: the save says so and writes nothing.
        ListLines::UnwritableNode unwritable;
        const QStringList written = ListLines::listFileLines(first, true, kind, &unwritable);
        if (unwritable) {
            ++refused;
            if (!refusedRightly(first, unwritable, kind) && ++failures <= 3) ADD_FAILURE() << "lines: " << lines.join(u'\n');
            continue;
        }
        readInto(second, written, kind);
        if ((nodesOf(first) != nodesOf(second) || ListLines::listFileLines(second, true, kind) != written) && ++failures <= 3)
            ADD_FAILURE() << "lines: " << lines.join(u'\n') << "\nwritten: " << written.join(u'\n');
    }
    EXPECT_EQ(failures, 0);
    EXPECT_LT(refused, kInputs / 20);
    EXPECT_TRUE(hard.usedEverySpecial());
}

// Trees as the pane's entries make them: names made safe as every entry makes them, tags as
// typed, both holding "|", "mtp://", "\\", line ends and control characters. The list file
// gives every node back with its name and tag (as the file writes a tag); or the save
// refuses the tree before a line is made, naming a node its line would not give back.
TEST(ListRoundTrip, AnEditedTreeComesBackWholeOrItsSaveNamesTheNodeThatWouldNot) {
    HardText hard(1004, {u"\\"_s, u"mtp://"_s, u"MTP://"_s, u"|mtp://"_s, u"|"_s, u"://"_s, u"field=a|"_s});
    const QStringList starts = {QString(), u"mtp://field=DC.Subject&content="_s, u"http://h.example/"_s, u"see mtp://"_s,
                                u"www."_s, u"file:///srv/"_s, u"mtp://"_s};
    int failures = 0;
    int refused = 0;
    for (int round = 0; round < kInputs; ++round) {
        const auto kind = round % 3 ? ListLines::ListKind::Catalogue : ListLines::ListKind::Scheme;
        ListTree tree, back;
        QList<ListTree::NodeId> nodes{tree.add(0, ListTree::Place::Last, kRoot + u'\\', kRoot, 1, 4)};
        for (int n = hard.below(7); n >= 0; --n) {
            const ListTree::NodeId parent = nodes.at(hard.below(int(nodes.size())));
            QString name = ListLines::safeNodeText((hard.below(4) == 0 ? u"mtp://"_s : QString()) + hard.value(3));
            if (name.isEmpty()) name = u"n"_s;
            bool taken = false;
            for (int row = 0; row < tree.childCount(parent); ++row) taken |= tree.text(tree.child(parent, row)) == name;
            if (taken) continue;
            const ListTree::NodeId node = tree.addChild(parent, name, 1, 4);
            if (hard.below(3)) tree.setTag(node, starts.at(hard.below(int(starts.size()))) + hard.value(4));
            nodes << node;
        }
        const auto shape = [](const ListTree& t, ListLines::ListKind k) {
            QStringList out;
            for (int i = 2; i <= t.count(); ++i)
                out << pathOf(t, t.item(i)).join(u'\u0001') + u'\u0002' + asWritten(t.tag(t.item(i)), k);
            out.sort();
            return out;
        };
        const QStringList before = shape(tree, kind);
        ListLines::UnwritableNode unwritable;
        const QStringList written = ListLines::listFileLines(tree, true, kind, &unwritable);
        if (unwritable) {
            ++refused;
            // Nothing was made, and the tree is as it was.
            if ((!written.isEmpty() || shape(tree, kind) != before || !refusedRightly(tree, unwritable, kind)) && ++failures <= 3)
                ADD_FAILURE() << "refused: " << before.join(u'\n');
            continue;
        }
        readInto(back, written, kind);
        if ((shape(back, kind) != before || ListLines::listFileLines(back, true, kind) != written) && ++failures <= 3)
            ADD_FAILURE() << "tree: " << before.join(u'\n') << "\nwritten: " << written.join(u'\n');
    }
    EXPECT_EQ(failures, 0);
    // Both happen often.
    EXPECT_GT(refused, kInputs / 10);
    EXPECT_LT(refused, kInputs / 2);
    EXPECT_TRUE(hard.usedEverySpecial());
}

// A name may hold "\\": the folder "a\\b" and the folder "b" in "a" are two places, each
// keeping what the file puts in it, however the lines come.
TEST(ListRoundTrip, NamesHoldingABackslashKeepTheirOwnPlace) {
    const QStringList lines = {u"a\\b|"_s, u"a\\b|d|http://2.example/"_s, u"a|"_s, u"a|b|"_s, u"a|b|c|http://1.example/"_s};
    // Every node: its path, tag and images.
    QStringList expected = {u"a\u0002" "14"_s, u"a\u0001b\u0002" "14"_s, u"a\u0001b\u0001c\u0002http://1.example/22"_s,
                            u"a\\b\u0002" "14"_s, u"a\\b\u0001d\u0002http://2.example/22"_s};
    expected.sort();
    const QStringList foldersFirst = {lines[2], lines[3], lines[0], lines[4], lines[1]};
    for (const QStringList& order : {lines, foldersFirst}) {
        ListTree tree;
        readInto(tree, order, ListLines::ListKind::Catalogue);
        EXPECT_EQ(nodesOf(tree), expected) << order.join(u' ');
        EXPECT_EQ(ListLines::listFileLines(tree, true, ListLines::ListKind::Catalogue), lines);
    }
}

// The faults of the line format seen in use, and their neighbours that a list file does keep.
TEST(ListRoundTrip, TagsAndNamesThatWouldCutTheirLineElsewhereAreNamed) {
    using ListLines::ListKind;
    ListTree tree;
    const ListTree::NodeId root = tree.add(0, ListTree::Place::Last, kRoot + u'\\', kRoot, 1, 4);
    const ListTree::NodeId folder = tree.addChild(root, u"F"_s, 1, 4);
    const ListTree::NodeId mtpFolder = tree.addChild(folder, u"mtp://x"_s, 1, 4);
    const struct {
        ListTree::NodeId parent;
        QString name, tag;
        ListKind kind;
        QString reason;  // "": the file keeps it
    } cases[] = {
        {folder, u"L"_s, u"see mtp://x|y"_s, ListKind::Catalogue, u"its tag holds \"|\" and holds \"mtp://\" without beginning with it"_s},
        {folder, u"T"_s, u"field=a|"_s, ListKind::Scheme, u"its tag ends in \"|\""_s},
        {folder, u"C"_s, u"mtp://a|mtp://b.kqb"_s, ListKind::Catalogue, u"its tag holds \"|mtp://\""_s},
        {mtpFolder, u"c"_s, u"http://a.example/"_s, ListKind::Catalogue,
         u"the name \"mtp://x\" above it begins with \"mtp://\" and its tag does not"_s},
        {folder, u"mtp://c"_s, u"http://a.example/"_s, ListKind::Catalogue,
         u"its name begins with \"mtp://\" and its tag does not"_s},
        {folder, u"L"_s, u"mtp://field=DC.Subject&content=Old|Masters.fld"_s, ListKind::Catalogue, QString()},
        {mtpFolder, u"c"_s, u"mtp://field=DC.Subject&content=c.fld"_s, ListKind::Catalogue, QString()},
        {root, u"mtp://c"_s, u"http://a.example/"_s, ListKind::Catalogue, QString()},
        {folder, u"L"_s, u"http://a.example/?a|b"_s, ListKind::Catalogue, QString()},  // written "%7C"
        {folder, u"a\\b"_s, u"http://a.example/\\c"_s, ListKind::Catalogue, QString()},
    };
    for (const auto& c : cases) {
        const ListLines::UnwritableNode unwritable = ListLines::unwritableEntry(tree, c.parent, 0, c.name, c.tag, c.kind, true);
        EXPECT_EQ(unwritable.reason, c.reason) << c.tag;
        QStringList path = pathOf(tree, c.parent) << c.name;
        EXPECT_EQ(lineGivesNodeBack(path, c.tag, c.kind), c.reason.isEmpty()) << c.tag;
        if (unwritable) {
            EXPECT_EQ(unwritable.text(),
                      u"A list file can't keep the entry \""_s + path.join(u" > "_s) + u"\": "_s + c.reason + u'.');
        }
    }
    // Renamed or moved, a node takes what lies below it along.
    const ListTree::NodeId g = tree.addChild(root, u"G"_s, 1, 4);
    const ListTree::NodeId link = tree.addChild(g, u"Link"_s, 2, 2);
    tree.setTag(link, u"http://a.example/"_s);
    EXPECT_FALSE(ListLines::unwritableEntry(tree, root, g, u"mtp://G"_s, QString(), ListKind::Catalogue, true));
    const ListLines::UnwritableNode moved = ListLines::unwritableEntry(tree, mtpFolder, g, u"G"_s, QString(), ListKind::Catalogue, true);
    EXPECT_EQ(moved.node, link);
    EXPECT_EQ(moved.path, QStringList({u"F"_s, u"mtp://x"_s, u"G"_s, u"Link"_s}));
    EXPECT_EQ(ListLines::unwritableEntry(tree, folder, g, u"mtp://G"_s, QString(), ListKind::Catalogue, true).reason,
              u"the name \"mtp://G\" above it begins with \"mtp://\" and its tag does not"_s);
}

// Items as the tree gives them to the harvest list and channel writers.
QList<ListEntry> generatedEntries(HardText& hard, bool controls = false) {
    QList<ListEntry> entries;
    for (int n = hard.below(5); n >= 0; --n) {
        ListEntry entry;
        for (int level = hard.below(3); level > 0; --level)
            if (const QString name = ListLines::safeNodeText(hard.value(3)); !name.isEmpty()) entry.folders << name;
        entry.title = ListLines::safeNodeText(hard.value(4) + u"t"_s);
        entry.link = link(hard, controls, true);
        if (hard.below(8) == 0) entry.title = ListLines::safeNodeText(entry.link);
        entries << entry;
    }
    return entries;
}

// The tree a Harvest Control List or channel reader builds from the items it read.
void fillTree(ListTree& tree, const QList<ListEntry>& items) {
    tree.clear();
    tree.add(0, ListTree::Place::Last, kRoot + u'\\', kRoot, 1, 4);
    ListLines::ListReading reading(tree, kRoot, ListLines::ListKind::Catalogue);
    for (const ListEntry& item : items)
        reading.addItem(item, [&](const QString& result) {
            EXPECT_EQ(result, u"0"_s);
            return true;
        });
}

// The text with every title (and description) written as character references, one for each
// character, and references to control characters put in between, which go from a title as
// they go from a name. It reads as the text does.
QString titlesAsReferences(const QString& text, HardText& hard) {
    static const QRegularExpression element(u"<(title|description)>([^<]*)</\\1>"_s);
    static const QStringList controls = {u"&#0;"_s, u"&#x0;"_s, u"&#2;"_s, u"&#x1F;"_s, u"&#127;"_s, u"&#x9f;"_s};
    QString out;
    qsizetype from = 0;
    for (auto it = element.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += QStringView(text).mid(from, match.capturedStart(2) - from);
        for (const char32_t c : ListMarkup::textOf(match.captured(2)).toUcs4()) {
            if (hard.below(4) == 0) out += controls.at(hard.below(int(controls.size())));
            out += hard.below(2) ? u"&#%1;"_s.arg(uint(c)) : u"&#x%1;"_s.arg(uint(c), 0, 16);
        }
        if (hard.below(4) == 0) out += controls.at(hard.below(int(controls.size())));
        from = match.capturedEnd(2);
    }
    out += QStringView(text).mid(from);
    return out;
}

// A link as the list writers write it: blanks and control characters as their "%" escapes
// (UTF-8 bytes), everything else as it is.
QString validAddress(const QString& link) {
    QString out;
    for (const QChar c : link) {
        if (c == u' ' || c.category() == QChar::Other_Control) {
            for (const char byte : QString(c).toUtf8())
                out += u'%' + QString::number(static_cast<unsigned char>(byte), 16).toUpper().rightJustified(2, u'0');
        } else {
            out += c;
        }
    }
    return out;
}

// A value as a record page's meta element holds it.
QString asMetaContent(QString text) {
    return text.replace(u'&', u"&amp;"_s).replace(u'<', u"&lt;"_s).replace(u'>', u"&gt;"_s).replace(u'"', u"&quot;"_s);
}

TEST(ListRoundTrip, HarvestControlListsInBothFormsGiveTheirItemsBack) {
    HardText hard(1002, {u"; "_s, u";"_s, u"mtp://"_s, u"\\"_s, u"\uFEFF"_s});
    ListTree first, second;
    int failures = 0;
    for (int round = 0; round < kInputs; ++round) {
        const QList<ListEntry> entries = generatedEntries(hard);
        // Some items carry their record: its title and identifier are what is read back.
        const HarvestListText::RecordText rdf = [&](const ListEntry& entry) {
            if (qHash(entry.link) % 3) return QString();
            const QString block = u"<META NAME=\"DC.Title\" CONTENT=\""_s + asMetaContent(entry.title) +
                                  u"\">\r\n<META NAME=\"DC.Identifier\" SCHEME=\"URI\" CONTENT=\""_s +
                                  asMetaContent(entry.link) + u"\">\r\n"_s;
            return HarvestListText::recordRdf(entry, block, {}, {});
        };
        const QString agls = HarvestListText::agls12Form(entries, rdf, hard.value(), hard.value(), QDate(2024, 1, 2));
        const QString site = HarvestListText::siteForm(entries, {});
        // Every link comes back as the list writes it (with a scheme, as a valid address), with
        // a record or without; a title that is its link, as the tree held it.
        QList<ListEntry> items = entries;
        for (ListEntry& item : items) item.link = validAddress(platform::withLinkScheme(item.link));
        for (const QString& text : {agls, site}) {
            const QList<ListEntry> read = HarvestListText::readItems(text);
            if (read != items && ++failures <= 3) ADD_FAILURE() << "written: " << text;
            // Titles written as references read the same.
            if (HarvestListText::readItems(titlesAsReferences(text, hard)) != read && ++failures <= 3)
                ADD_FAILURE() << "titles as references: " << titlesAsReferences(text, hard);
            // The tree read is written again as it was read, and then stays so.
            fillTree(first, read);
            const auto again = [](const ListTree& tree, bool agls12) {
                QList<ListEntry> entries = ListEntries::listEntries(tree);
                HarvestListText::sortEntries(entries);
                return agls12 ? HarvestListText::agls12Form(entries, {}, u"A"_s, u"E"_s, QDate(2024, 1, 2))
                              : HarvestListText::siteForm(entries, {});
            };
            const QString written = again(first, text == agls);
            fillTree(second, HarvestListText::readItems(written));
            if ((nodesOf(second) != nodesOf(first) || again(second, text == agls) != written) && ++failures <= 3)
                ADD_FAILURE() << "written again differs: " << text;
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(hard.usedEverySpecial());
}

TEST(ListRoundTrip, ChannelsGiveTheirHeaderAndItemsBack) {
    HardText hard(1003, {u"; "_s, u";"_s, u"\u0085"_s, u"mtp://"_s, u"\\"_s, u"\uFEFF"_s});
    ListTree first, second;
    int failures = 0;
    for (int round = 0; round < kInputs; ++round) {
        const QList<ListEntry> entries = generatedEntries(hard, true);
        const RssChannelText::Header header{hard.value(), link(hard, true), hard.value()};
        // Control characters leave the header as they leave names; tabs and line ends stay.
        const auto cleaned = [](QString text) {
            for (QChar& c : text)
                if (c.unicode() == 0x0B || c.unicode() == 0x0C || c.unicode() == 0x85) c = u' ';
            text.removeIf([](QChar c) { return c.category() == QChar::Other_Control && c != u'\t' && c != u'\r' && c != u'\n'; });
            return text;
        };
        const QString text = RssChannelText::channel(entries, header);
        const RssChannelText::Reading reading = RssChannelText::read(text);
        QList<ListEntry> items = entries;
        for (ListEntry& item : items) item.link = validAddress(platform::withLinkScheme(item.link));
        const bool same = reading.items == items && reading.header.title == cleaned(header.title) &&
                          reading.header.siteURL == validAddress(header.siteURL) &&
                          reading.header.description == cleaned(header.description) &&
                          RssChannelText::channel(entries, reading.header) == text;
        if (!same && ++failures <= 3) ADD_FAILURE() << "written: " << text;
        // Titles and the header written as references read the same.
        const RssChannelText::Reading asReferences = RssChannelText::read(titlesAsReferences(text, hard));
        if ((asReferences.items != reading.items || asReferences.header.title != reading.header.title ||
             asReferences.header.description != reading.header.description) &&
            ++failures <= 3)
            ADD_FAILURE() << "as references: " << titlesAsReferences(text, hard);
        // The tree read is written again as it was read, and then stays so.
        fillTree(first, reading.items);
        const QString written = RssChannelText::channel(ListEntries::listEntries(first), reading.header);
        const RssChannelText::Reading again = RssChannelText::read(written);
        fillTree(second, again.items);
        if ((nodesOf(second) != nodesOf(first) ||
             RssChannelText::channel(ListEntries::listEntries(second), again.header) != written) &&
            ++failures <= 3)
            ADD_FAILURE() << "written again differs: " << text;
    }
    EXPECT_EQ(failures, 0);
}

// Odd links are written once as valid addresses and then stay as they are: "%" signs not
// followed by two hex digits are kept, blanks become "%20" however many there are.
TEST(ListRoundTrip, OddLinksAreNormalisedOnceAndThenStay) {
    const QList<ListEntry> entries = {{{}, u"Percent"_s, u"news:%"_s},
                                      {{}, u"Bad escape"_s, u"http://h.example/%zz%4"_s},
                                      {{}, u"Blanks"_s, u"http://h.example/a"_s + QString(10000, u' ') + u"b"_s}};
    const QString channel = RssChannelText::channel(entries, {u"T"_s, u"http://h.example/ x"_s, u"D"_s});
    EXPECT_TRUE(channel.contains(u"<link>http://h.example/%20x</link>"_s));
    EXPECT_TRUE(channel.contains(u"resource=\"news:%\""_s));
    EXPECT_TRUE(channel.contains(u"<link>http://h.example/%zz%4</link>"_s));
    EXPECT_TRUE(channel.contains(u"a"_s + u"%20"_s.repeated(10000) + u"b</link>"_s));
    const RssChannelText::Reading reading = RssChannelText::read(channel);
    EXPECT_TRUE(RssChannelText::channel(reading.items, reading.header) == channel);
    const QString site = HarvestListText::siteForm(entries, {});
    EXPECT_TRUE(HarvestListText::siteForm(HarvestListText::readItems(site), {}) == site);
}

}  // namespace

// A list file holds its lines in the order of their text, character code by character code
// (UTF-16 units, so a character outside the BMP sorts below U+E000), whatever the names and
// however long the start they share; folders come before what is in them.
TEST(ListRoundTrip, LinesAreWrittenInTheOrderOfTheirText) {
    HardText hard(77, {u"\U0001F600"_s, u"\uE000"_s, u"\uFFFD"_s, u"|"_s, u" "_s, u"~"_s, u"A"_s, u"a"_s}, 1000000);
    ListTree tree;
    const ListTree::NodeId root = tree.add(0, ListTree::Place::Last, kRoot + u'\\', kRoot, 1, 4);
    const QString shared = QString(300, u'p');  // a long start many names share
    QStringList folders;
    for (int i = 0; i < 3000; ++i) {
        QString name = ListLines::safeNodeText((i % 3 ? shared : QString()) + hard.value(5));
        if (name.isEmpty() || tree.itemByChildKey(root, name)) continue;
        const ListTree::NodeId node = tree.addChild(root, name, 1, 4);
        if (i % 4 == 0) tree.setTag(node, u"http://h.example/"_s + QString::number(i));
        else folders << name;
    }
    for (const QString& folder : folders.mid(0, 50))
        tree.addChild(tree.itemByChildKey(root, folder), u"inside"_s, 1, 4);
    const QStringList lines = ListLines::listFileLines(tree, true, ListLines::ListKind::Catalogue);
    ASSERT_EQ(lines.size(), tree.count() - 1);
    // Links sort as if a blank followed their name: before a folder of the same name.
    QStringList keys = lines;
    for (QString& key : keys)
        if (!key.endsWith(u'|')) key.insert(key.lastIndexOf(u"|http://h.example/"_s) + 1, u' ');
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    for (const QString& folder : folders.mid(0, 50))
        EXPECT_EQ(lines.indexOf(folder + u"|inside|"_s), lines.indexOf(folder + u'|') + 1) << folder.toStdString();
}
