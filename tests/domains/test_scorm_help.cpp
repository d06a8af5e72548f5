#include "domains/modScorm.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ScormHelp, KnownElementsInAnyLetterCase) {
    EXPECT_EQ(modScorm::getScormHelp(u"general.description"_s),
              u"A textual description of the content of this resource being described"_s);
    EXPECT_EQ(modScorm::getScormHelp(u"General.Title"_s),
              QStringLiteral("Name given to this resource.  The title can be an already existing one or it may be "
                             "created by the indexer ad hoc"));
    EXPECT_EQ(modScorm::getScormHelp(u"GENERAL.ENTRY"_s),
              u"An existing value of the catalog named in the scheme column"_s);
}

TEST(ScormHelp, AnythingElseHasNoHelp) {
    for (const QString& name :
         {QString(), u"DC.Title"_s, u"general.title "_s, u"general.title.x"_s, QString(100000, QLatin1Char('g'))}) {
        EXPECT_EQ(modScorm::getScormHelp(name), u"No SCORM help available"_s);
    }
}

}  // namespace
