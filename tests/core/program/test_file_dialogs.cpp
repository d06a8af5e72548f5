// The open and save dialogs as the program asks them, and the file tests beside them.
#include "core/program/ModOpenSave.h"
#include "core/program/modFileExists.h"
#include "support/Common.h"
#include "support/core/TestContext.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

class FileDialogsTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString dir = tmp.path() + u"/My Site.v1/Ünï"_s;
    testing_support::ScriptedFileDialogs dialogs;
    testing_support::ScriptedMsgBoxes boxes;
    testing_support::TestContext context;  // its file dialog kept from one use to the next
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(dir)); }
    QString at(const QString& name) const { return dir + QLatin1Char('/') + name; }
    QString touch(const QString& name) { return testing_support::writeBytes(at(name), {}); }
};

TEST_F(FileDialogsTest, SaveAddsTheFiltersExtensionOnlyWhenTheNameLacksItAndAsksBeforeReplacing) {
    const std::tuple<int, QString, QString> cases[] = {{1, u"report.ASP"_s, u"report.ASP"_s},
                                                       {3, u"cat"_s, u"cat.kqi"_s},
                                                       {6, u"notes"_s, u"notes"_s}};
    for (const auto& [filter, typed, saved] : cases) {
        dialogs.choose(at(typed), filter);
        QString path;
        EXPECT_EQ(ModOpenSave::showSaveDialog(context, 1, path), at(saved)) << typed;
        EXPECT_EQ(path, at(saved));
    }
    touch(u"report.htm"_s);
    dialogs.choose(at(u"report"_s), 1).choose(at(u"other"_s), 1).choose(at(u"report"_s), 1);
    boxes.expect(u"report.htm already exists"_s, platform::kAnswerNo).expect(u"replace it?"_s, platform::kAnswerYes);
    QString path;
    EXPECT_EQ(ModOpenSave::showSaveDialog(context, 1, path), at(u"other.htm"_s));
    EXPECT_EQ(dialogs.requests().last().proposedName, u"report.htm"_s);  // No brings the dialog back
    EXPECT_EQ(ModOpenSave::showSaveDialog(context, 1, path), at(u"report.htm"_s));
}

TEST_F(FileDialogsTest, OpenCreatesANewNameEmptyAndFileExistsTakesWildcards) {
    const QString fresh = at(u"Open a file to select the Directory"_s);
    dialogs.cancel().choose(fresh);
    ModOpenSave::showOpenDialog(context, u"kqi"_s, at(u"main.kqi"_s));
    EXPECT_EQ(dialogs.requests()[0].initialFolder + dialogs.requests()[0].proposedName, dir + u"/main.kqi"_s);
    EXPECT_EQ(ModOpenSave::showOpenDialog(context, u"dir"_s, QString()), fresh);
    EXPECT_EQ(testing_support::readBytes(fresh), QByteArray());
    touch(u"a.kqs"_s);
    for (const QString& yes : {at(u"a.kqs"_s), dir, at(u"*.kqs"_s)}) EXPECT_TRUE(modFileExists::fileExists(yes)) << yes;
    for (const QString& no : {dir + u"/"_s, at(u"*.kqi"_s), at(u"missing.htm"_s), QString()})
        EXPECT_FALSE(modFileExists::fileExists(no)) << no;
    const QString deep = dir + u"/cache/indexes"_s;
    EXPECT_TRUE(modFileExists::makeSurePathExists(deep));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_FALSE(modFileExists::makeSurePathExists(at(u"a.kqs/x"_s)));
}

}  // namespace
