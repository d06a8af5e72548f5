#include "domains/modScorm.h"

#include <gtest/gtest.h>

namespace {

TEST(ScormHelp, KnownElementsInAnyLetterCase) {
    EXPECT_EQ(modScorm::getScormHelp(QStringLiteral("general.description")),
              QStringLiteral("A textual description of the content of this resource being described"));
    EXPECT_EQ(modScorm::getScormHelp(QStringLiteral("General.Title")),
              QStringLiteral("Name given to this resource.  The title can be an already existing one or it may be "
                             "created by the indexer ad hoc"));
    EXPECT_EQ(modScorm::getScormHelp(QStringLiteral("GENERAL.ENTRY")),
              QStringLiteral("An existing value of the catalog named in the scheme column"));
}

TEST(ScormHelp, AnythingElseHasNoHelp) {
    for (const QString& name : {QString(), QStringLiteral("DC.Title"), QStringLiteral("general.title "),
                                QStringLiteral("general.title.x"), QString(100000, QLatin1Char('g'))}) {
        EXPECT_EQ(modScorm::getScormHelp(name), QStringLiteral("No SCORM help available"));
    }
}

}  // namespace
