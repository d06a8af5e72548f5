#include "domains/modSchemas.h"
#include "domains/modScorm.h"
#include "support/Common.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kUntouched = u"Kept|As|Passed|"_s;
const QString kAglsSubject = u"None|TAGS|APAIS|LCSH|AAT|MeSH|"_s;

QString ask(const QString& domain, const QString& element, QString list = kUntouched) {
    modSchemas::defaultSchema = domain;
    const QString answer = modSchemas::getSchemeList(element, list);
    EXPECT_EQ(answer, list) << "the answer is also written back";
    return answer;
}

class SchemeTables : public ::testing::Test {
protected:
    void TearDown() override { modSchemas::defaultSchema.clear(); }
};

TEST_F(SchemeTables, EachDomainAnswersFromItsOwnTableInAnyCaseAndKeepsTheListOtherwise) {
    const std::tuple<QString, QString, QString> rows[] = {
        {u"AGLS1.2"_s, u"DC.Coverage.region"_s, u"None|LawZone.region"_s},  // lists are kept as written
        {u"AGLS1.3"_s, u"DC.Publisher"_s, u"None|AglsAgent|X500|"_s},
        {u"AGLS1.3 (ACT)"_s, u"DC.Creator"_s, u"None|ActVers|"_s},
        {u"CDC"_s, u"DC.Subject"_s, u"CDC.subject|MeSH|"_s},
        {u"NZGLS"_s, u"NZGLS.Mandate"_s, u"None|URI|"_s},
        {u"SA.DETE"_s, u"DC.Format"_s, u"DETE.IMT|None|"_s},
        {u"EdNA"_s, u"DC.Language"_s, u"RFC1766|ISO639-2|ABS1267|"_s},
        {u"Dublin Core"_s, u"DC.Language"_s, u"RFC1766|ISO639-2"_s},
        {u"Aust Business Entry Point"_s, u"DC.Subject"_s, u"bep.topic|None|"_s},
        {u"GILS-UTAH"_s, u"robots"_s, u"Robots|"_s},
        {u"NOHSC"_s, u"DC.Subject"_s, u"AOHST|"_s},
        {u"DC-UTAH"_s, u"DC.Type"_s, u"ResourceType|"_s},
        {u"JSMS"_s, u"DC.Subject"_s, u"JSMS-liac|"_s},
        {u"SCORM"_s, u"DC.Title"_s, u"None|"_s},
    };
    for (const auto& [domain, element, list] : rows) {
        SCOPED_TRACE(domain + u" / "_s + element);
        EXPECT_EQ(ask(domain, element), list);
        EXPECT_EQ(ask(domain, u"X."_s + element.toUpper() + u".y"_s), list);
        for (const QString& other : {u"Foo.Bar"_s, QString(), u"None"_s}) EXPECT_EQ(ask(domain, other), kUntouched);
        EXPECT_EQ(ask(domain, u"Foo"_s, QString()), QString());
    }
}

TEST_F(SchemeTables, SpecificNamesWinOverTheGeneralOnesTheyContain) {
    const QString bep = u"Aust Business Entry Point"_s;
    const std::tuple<QString, QString, QString> cases[] = {
        {u"AGLS1.3"_s, u"dc.COVERAGE.Region"_s, u"LawZone.region|None|"_s},
        {u"AGLS1.3"_s, u"DC.Coverage.postcode"_s, u"None|ISO8601|TGN|LCSH|"_s},
        {u"AGLS1.3"_s, u"DC.Creator.jurisdiction"_s, u"None|AglsAgent|X500|"_s},  // the first row found in it
        {bep, u"BEP.transactionInfo.DC.Type"_s, u"bep.type|None|"_s},
        {u"SA.DETE"_s, u"DC.Title"_s, u"None|"_s},  // "TITLE" decides only what DC.Title does not
        {u"SA.DETE"_s, u"EDNA.Audience.sector.extra"_s, u"edna.sector|"_s},
        {bep, u"AGLS.Mandate"_s, kUntouched},  // the sister families answer their plain element
        {bep, u"AGLS.Mandate.jurisdiction"_s, u"bep.jurisdiction|None|"_s},
    };
    for (const auto& [domain, element, expected] : cases) EXPECT_EQ(ask(domain, element), expected) << element;
}

TEST_F(SchemeTables, AglsAndDomainsWithoutATableCompareExactlyUpToTheSecondDottedPart) {
    for (const QString& d : {u"AGLS"_s, u"GILS-OREGON"_s, u"AGLS1.1"_s, u"Health Insite"_s, QString(), u"dublin core"_s,
                             u"Dublin Core "_s, QString(100000, u'Z')}) {
        SCOPED_TRACE(d.left(30));
        EXPECT_EQ(ask(d, u"DC.Subject"_s), kAglsSubject);
        EXPECT_EQ(ask(d, u"DC.Subject.Keyword.More"_s), kAglsSubject);
        EXPECT_EQ(ask(d, u"DC.Title."_s), u"None|"_s);
        for (const QString& element : {u"dc.subject"_s, u"DC"_s, u"DC."_s, u".DC.Title"_s, u"X.DC.Title"_s})
            EXPECT_EQ(ask(d, element), kUntouched) << element;
    }
    // Arizona and Montana offer whatever the line had, even for DC.Title.
    EXPECT_EQ(ask(u"GILS-ARIZONA"_s, u"DC.Title"_s), kUntouched);
    EXPECT_EQ(ask(u"GILS-MONTANA"_s, u"DC.Subject"_s), kUntouched);
}

TEST_F(SchemeTables, VeryLongElementNamesAreAnswered) {
    const QString filler(2000000, QLatin1Char('x'));
    EXPECT_EQ(ask(u"NZGLS"_s, filler), kUntouched);
    EXPECT_EQ(ask(u"NZGLS"_s, filler + u"nzgls.mandate"_s), u"None|URI|"_s);
    EXPECT_EQ(ask(u"AGLS"_s, u"DC.Title."_s + filler), u"None|"_s);
    EXPECT_EQ(ask(u"AGLS"_s, filler + u".DC.Title"_s), kUntouched);
}

TEST(ScormHelp, KnownElementsInAnyLetterCaseAndNothingElse) {
    EXPECT_EQ(modScorm::getScormHelp(u"GENERAL.ENTRY"_s),
              u"An existing value of the catalog named in the scheme column"_s);
    for (const QString& name : {QString(), u"DC.Title"_s, u"general.title "_s, QString(100000, u'g')})
        EXPECT_EQ(modScorm::getScormHelp(name), u"No SCORM help available"_s);
}

}  // namespace
