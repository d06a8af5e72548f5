// The record without any window: its lines, their ids and positions, the selection and what
// it tells its views.
#include "core/record/Record.h"

#include <gtest/gtest.h>

#include "support/Common.h"

#include <random>

using namespace Qt::StringLiterals;
using LineId = Record::LineId;

namespace {

MetadataLine named(const QString& name, const QString& content = {}) {
    return {name, content, {}, {}};
}

QStringList names(const Record& record) {
    QStringList out;
    for (const MetadataLine& line : record.lines()) out << line.name;
    return out;
}

// Every notification, in order, as text a test can compare.
class Notes : public QObject {
public:
    explicit Notes(Record& record) {
        const auto note = [this](const char* what) {
            return [this, what](int a, int b) { said << u"%1 %2 %3"_s.arg(QLatin1String(what)).arg(a).arg(b); };
        };
        connect(&record, &Record::aboutToInsert, this, note("aboutToInsert"));
        connect(&record, &Record::inserted, this, note("inserted"));
        connect(&record, &Record::aboutToRemove, this, note("aboutToRemove"));
        connect(&record, &Record::removed, this, note("removed"));
        connect(&record, &Record::aboutToMove, this, note("aboutToMove"));
        connect(&record, &Record::moved, this, note("moved"));
        connect(&record, &Record::changed, this, note("changed"));
        connect(&record, &Record::aboutToReset, this, [this] { said << u"aboutToReset"_s; });
        connect(&record, &Record::wasReset, this, [this] { said << u"wasReset"_s; });
        connect(&record, &Record::selectionChanged, this, [this] { said << u"selection"_s; });
    }
    QStringList take() { return std::exchange(said, {}); }
    QStringList said;
};

TEST(Record, LinesKeepTheirIdsWhileTheirPositionsFollowInsertionsRemovalsAndMoves) {
    Record record;
    const LineId c = record.append(named(u"c"_s));
    const LineId a = record.append(named(u"a"_s));
    const LineId x = record.insert(1, named(u"x"_s));
    const LineId tail = record.insert(99, named(u"tail"_s));  // no such line: at the end
    EXPECT_EQ(names(record), QStringList({"x", "c", "a", "tail"}));
    EXPECT_EQ(record.positionOf(c), 2);  // the line the insertion pushed down
    EXPECT_EQ(record.positionOf(a), 3);
    EXPECT_EQ(record.idAt(1), x);
    EXPECT_TRUE(record.remove(c));
    EXPECT_FALSE(record.remove(c));
    EXPECT_EQ(record.positionOf(c), 0);
    EXPECT_EQ(record.line(c), MetadataLine());  // a gone line reads empty
    EXPECT_EQ(record.positionOf(tail), 3);
    EXPECT_EQ(record.idAt(0), 0u);
    EXPECT_EQ(record.idAt(4), 0u);
    record.set(a, Record::Content, u"Cats"_s);
    EXPECT_EQ(record.cell(a, Record::Content), u"Cats"_s);
    record.set(c, Record::Content, u"lost"_s);  // nothing to write to
    EXPECT_EQ(record.count(), 3);
    record.clear();
    EXPECT_TRUE(record.isEmpty());
    EXPECT_FALSE(record.contains(a));
    EXPECT_NE(record.append(named(u"new"_s)), a);  // ids are never handed out twice
}

TEST(Record, LinesOfAnElementAreFoundInOrderWhateverTheirCaseAndRenames) {
    Record record;
    const LineId first = record.append(named(u"DC.Subject"_s));
    record.append(named(u"DC.Title"_s));
    const LineId second = record.append(named(u"dc.subject"_s));
    const LineId early = record.insert(1, named(u"DC.SUBJECT"_s));
    EXPECT_EQ(record.idsNamed(u"Dc.Subject"_s), QList<LineId>({early, first, second}));
    record.set(first, Record::Name, u"DC.Subjects"_s);
    EXPECT_EQ(record.idsNamed(u"DC.Subject"_s), QList<LineId>({early, second}));
    EXPECT_EQ(record.idsNamed(u"DC.Subjects"_s), QList<LineId>({first}));
    record.move(second, 1);
    EXPECT_EQ(record.idsNamed(u"DC.Subject"_s), QList<LineId>({second, early}));
    record.remove(early);
    EXPECT_EQ(record.idsNamed(u"DC.Subject"_s), QList<LineId>({second}));
    EXPECT_TRUE(record.idsNamed(u"DC.Creator"_s).isEmpty());
}

TEST(Record, AMovedLineLandsAboveTheLineItIsPutOnOrLast) {
    // From, onto (0: below the last line), the order of the six lines afterwards.
    const std::tuple<int, int, QStringList> moves[] = {{2, 5, {"1", "3", "4", "2", "5", "6"}},
                                                       {5, 2, {"1", "5", "2", "3", "4", "6"}},
                                                       {2, 0, {"1", "3", "4", "5", "6", "2"}},
                                                       {3, 3, {"1", "2", "3", "4", "5", "6"}},
                                                       {3, 4, {"1", "2", "3", "4", "5", "6"}},
                                                       {6, 1, {"6", "1", "2", "3", "4", "5"}}};
    for (const auto& [from, onto, expected] : moves) {
        Record record;
        for (int i = 1; i <= 6; ++i) record.append(named(QString::number(i)));
        const LineId moved = record.idAt(from);
        record.move(moved, onto);
        EXPECT_EQ(names(record), expected) << from << " onto " << onto;
        EXPECT_EQ(record.idAt(int(expected.indexOf(QString::number(from))) + 1), moved);
    }
}

TEST(Record, SortingOrdersTheLinesThemselvesOnceIgnoringCaseAndKeepsEqualLinesInOrder) {
    Record record;
    for (const auto& [name, scheme] : {std::pair{"b", "URI"}, {"A", "uri"}, {"c", ""}, {"a", "ISO"}}) {
        MetadataLine line = named(QLatin1String(name));
        line.scheme = QLatin1String(scheme);
        record.append(line);
    }
    const LineId c = record.idAt(3);
    record.sortBy(Record::Name);
    EXPECT_EQ(names(record), QStringList({"A", "a", "b", "c"}));
    record.sortBy(Record::Scheme);
    EXPECT_EQ(names(record), QStringList({"c", "a", "A", "b"}));
    EXPECT_EQ(record.positionOf(c), 1);
    record.append(named(u"0"_s));  // later lines go where they are put
    EXPECT_EQ(record.lineAt(5).name, u"0"_s);
}

TEST(Record, TheSelectionAndTheCurrentLineFollowTheLines) {
    Record record;
    for (int i = 1; i <= 5; ++i) record.append(named(QString::number(i)));
    const auto id = [&](int position) { return record.idAt(position); };
    EXPECT_EQ(record.selectedLine(), 0u);
    record.selectOnly(id(3));
    EXPECT_EQ(record.selectedLine(), id(3));
    EXPECT_EQ(record.currentLine(), id(3));
    record.setSelection({id(5), id(3), id(2)}, id(3));
    EXPECT_EQ(record.selection(), QList<LineId>({id(2), id(3), id(5)}));
    EXPECT_EQ(record.selectedLine(), id(3));  // the current line while it is selected
    record.setSelection({id(2), id(5)}, id(3));
    EXPECT_EQ(record.selectedLine(), id(2));  // else the first selected one
    const LineId two = id(2);
    record.remove(two);
    EXPECT_EQ(record.selection(), QList<LineId>({id(4)}));
    record.setSelection({two, id(1)}, two);  // a gone line is neither selected nor current
    EXPECT_EQ(record.selection(), QList<LineId>({id(1)}));
    EXPECT_EQ(record.currentLine(), 0u);
    record.selectOnly(0);
    EXPECT_TRUE(record.selection().isEmpty());
    record.setBold(id(1), true);
    record.setBold(id(2), true);
    record.remove(id(1));
    EXPECT_EQ(record.boldLines(), QList<LineId>({id(1)}));
}

TEST(Record, ViewsAreToldOfEveryChangeBeforeAndAfterItWithItsPositions) {
    Record record;
    Notes notes(record);
    const LineId a = record.append(named(u"a"_s));
    record.appendLines({named(u"b"_s), named(u"c"_s)});
    EXPECT_EQ(notes.take(), QStringList({"aboutToInsert 1 1", "inserted 1 1", "aboutToInsert 2 2", "inserted 2 2"}));
    record.insert(2, named(u"x"_s));
    record.set(a, Record::Lang, u"en"_s);
    record.set(a, Record::Lang, u"en"_s);  // no change, no word
    record.setBold(a, true);
    EXPECT_EQ(notes.take(), QStringList({"aboutToInsert 2 1", "inserted 2 1", "changed 1 2", "changed 1 -1"}));
    record.move(a, 0);
    EXPECT_EQ(notes.take(), QStringList({"aboutToMove 1 5", "moved 1 5"}));
    record.selectOnly(a);
    record.selectOnly(a);
    EXPECT_EQ(notes.take(), QStringList({"selection"}));
    record.remove(a);
    EXPECT_EQ(notes.take(), QStringList({"aboutToRemove 4 1", "removed 4 1", "selection"}));
    record.sortBy(Record::Name);
    record.clear();
    record.clear();
    EXPECT_EQ(notes.take(), QStringList({"aboutToReset", "wasReset", "aboutToReset", "wasReset", "aboutToReset", "wasReset"}));
}

// 100,000 lines read at once, a thousand more put near the top as the field command puts a
// line after the current one, and a value of 10 MB: every line keeps its place and its value.
TEST(Record, AHundredThousandLinesAndAValueOfTenMegabytes) {
    Record record;
    MetadataRecord page;
    for (int i = 0; i < 100000; ++i) page.append(named(u"DC.Description%1"_s.arg(i % 200)));
    record.appendLines(page);
    const LineId last = record.idAt(100000);
    QList<LineId> added;
    for (int i = 0; i < 1000; ++i) added.append(record.insert(2, named(u"DC.Subject"_s)));
    ASSERT_EQ(record.count(), 101000);
    EXPECT_EQ(record.positionOf(last), 101000);
    EXPECT_EQ(record.positionOf(added.last()), 2);
    EXPECT_EQ(record.positionOf(added.first()), 1001);
    EXPECT_EQ(record.idsNamed(u"DC.Description7"_s).size(), 500);
    EXPECT_EQ(record.idsNamed(u"dc.subject"_s).first(), added.last());
    // Lines put in one after another at one place, as a batch adding after the selected line
    // does: each is found where it is, and lines of one element come in their order.
    QList<LineId> pushed;
    for (int i = 0; i < 2000; ++i) pushed.append(record.insert(3, named(u"DC.Type"_s)));
    EXPECT_EQ(record.positionOf(pushed.first()), 2002);
    EXPECT_EQ(record.idsNamed(u"DC.Type"_s).first(), pushed.last());
    EXPECT_EQ(record.idsNamed(u"DC.Type"_s).last(), pushed.first());
    const QString huge(10 * 1024 * 1024, u'x');
    record.set(last, Record::Content, huge);
    EXPECT_EQ(record.lines().last().content.size(), huge.size());
}

// The lines of a name, those of a name holding a content, and the first of a name whose
// scheme passes a test come from an index kept beside the lines. After every kind of change
// (lines put in anywhere and hundreds at one place, renamed, refilled, added to, given another
// scheme, moved, sorted, removed) each answers as a walk of the lines does.
TEST(Record, LinesFoundByNameContentAndSchemeFollowEveryChange) {
    const QStringList names{"DC.Subject", "dc.SUBJECT", "DC.Date", "DC.Title"};
    const QStringList contents{"", "A", "B", "A; B"};
    const QStringList schemes{"", "ISO8601", "ISO-8601", "apais"};
    std::mt19937 random(43);
    const auto any = [&random](const QStringList& from) { return from.at(qsizetype(random() % from.size())); };
    Record record;
    const auto anyLine = [&] { return record.idAt(int(random() % (record.count() + 1))); };
    const auto dated = [](const QString& scheme) { return scheme.contains(u"8601"_s); };
    const auto check = [&](int step) {
        for (const QString& name : names) {
            QList<LineId> named;
            for (const LineId id : record.ids())
                if (record.cell(id, Record::Name).compare(name, Qt::CaseInsensitive) == 0) named << id;
            ASSERT_EQ(record.idsNamed(name), named) << name << " at step " << step;
            for (const QString& content : contents) {
                QList<LineId> holding;
                for (const LineId id : named)
                    if (record.cell(id, Record::Content) == content) holding << id;
                ASSERT_EQ(record.idsNamed(name, content), holding) << name << " holding " << content << " at step " << step;
            }
            LineId first = 0;
            for (const LineId id : named)
                if (!first && dated(record.cell(id, Record::Scheme))) first = id;
            ASSERT_EQ(record.firstNamed(name, dated), first) << name << " at step " << step;
        }
    };
    for (int step = 0; step < 1500; ++step) {
        switch (random() % 10) {
        case 0:
        case 1:
            record.insert(int(random() % (record.count() + 2)), {any(names), any(contents), {}, any(schemes)});
            break;
        case 2:  // a batch adding after the selected line: one place, over and over
            for (int i = 0; i < 80; ++i) record.insert(3, {any(names), any(contents), {}, any(schemes)});
            break;
        case 3:
            record.set(anyLine(), Record::Name, any(names));
            break;
        case 4:
            record.set(anyLine(), Record::Content, any(contents));
            break;
        case 5:
            record.extend(anyLine(), Record::Content, u"; B"_s);
            break;
        case 6:
            record.set(anyLine(), Record::Scheme, any(schemes));
            break;
        case 7:
            record.move(anyLine(), int(random() % (record.count() + 2)));
            break;
        case 8:
            record.remove(anyLine());
            break;
        default:
            if (random() % 20 == 0) record.sortBy(int(random() % Record::kColumns));
            break;
        }
        if (step % 25 == 0) check(step);
    }
    check(-1);
    EXPECT_GT(record.count(), 1000);  // and orders spread afresh many times
}

}  // namespace
