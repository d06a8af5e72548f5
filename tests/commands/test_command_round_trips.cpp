// Template batches and macro sets written and run again: every value comes back as it was.
#include "CommandsTestSupport.h"

#include "core/commands/CommandRoute.h"
#include "platform/TextCodec.h"
#include "core/record/MetaWriter.h"
#include "support/HardText.h"

using namespace Qt::StringLiterals;
using testing_support::HardText;

namespace {

constexpr int kInputs = 10000;

class TemplateRoundTrip : public commands_test::CommandsTest {};

// A record saved as a template batch and replayed into an empty record comes back line for
// line: the values hold thesaurus bars, escapes, key names, line breaks and the rest.
TEST_F(TemplateRoundTrip, ARecordSavedAsABatchComesBackWhenReplayed) {
    HardText hard(1004, {u"%20"_s, u"%26"_s, u"%7C"_s, u"%7c"_s, u"%25"_s, u"%0D"_s, u"&content="_s, u"&lang"_s,
                         u"&scheme"_s, u"&field"_s, u"uses|here"_s, u"."_s, u"mtp://"_s},
                  20000);  // the boxes of the edit panel take their time over long values
    int failures = 0;
    for (int round = 0; round < kInputs; ++round) {
        // Names differ (the field command joins values of one name); none is one the field
        // command fills itself when its value is empty. Values are as a record keeps them.
        MetadataRecord lines;
        for (int n = hard.below(3); n >= 0; --n)
            lines << recordLine({u"N%1."_s.arg(n) + hard.value(2), hard.value(), hard.value(1), hard.value(1)});
        // The batch's lines run as the batch runner runs them, into an empty record.
        const QString batch = MetaWriter::batchFileText(lines);
        w.context.record.clear();
        for (const QString& line : platform::splitLines(batch))
            if (line.startsWith(u"mtp"_s)) dispatch(line);
        if (record() != lines && ++failures <= 3) ADD_FAILURE() << "batch: " << batch;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(hard.usedEverySpecial());
}

// A published macro set run again stores every macro as it was: the command may hold the
// markers of key and caption itself.
TEST(MacroSetRoundTrip, EveryLineStoresItsMacroAgain) {
    HardText hard(1005, {u"&fkey="_s, u"&text="_s, u"&fkey=F2"_s, u"."_s, u"/"_s, u"mtp://"_s, u"\u2028"_s,
                         u"\u2029"_s, u"\uFDD0"_s, u"\uFDD1"_s});
    int failures = 0;
    for (int round = 0; round < kInputs; ++round) {
        struct Macro {
            QString key, name, command;
        };
        QList<Macro> macros;
        QString set;
        for (int n = hard.below(4); n >= 0; --n) {
            Macro macro{modMacros::kFunctionKeys.at(hard.below(11)), hard.value(3), hard.value()};
            // A caption holds no "|", and ends before the key's and caption's markers.
            macro.name.remove(u'|').remove(u"&fkey="_s).remove(u"&text="_s);
            macro.name = u"n"_s + platform::breaksToBlanks(macro.name) + u"n"_s;
            macro.command = u"mtp://"_s + platform::breaksToBlanks(macro.command);
            macros << macro;
            set += modMTP::macroSetLine(macro.key, macro.name, macro.command) + u"\r\n"_s;
        }
        const QStringList lines = platform::splitLines(set);
        bool same = lines.size() == macros.size();
        for (qsizetype i = 0; same && i < lines.size(); ++i) {
            const QString line = lines.at(i) + u'/';
            const modMTP::AddMacroParts parts = modMTP::readAddMacro(line);
            same = modMTP::routeCommand(line).row == modMTP::CommandRow::BatchAddMacro && parts.key == macros.at(i).key &&
                   parts.caption == macros.at(i).name && parts.macro == macros.at(i).command;
        }
        if (!same && ++failures <= 3) ADD_FAILURE() << "set: " << set;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(hard.usedEverySpecial());
}

}  // namespace
