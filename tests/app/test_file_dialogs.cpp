#include "app/ModOpenSave.h"
#include "app/modFileExists.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using testing_support::ScriptedFileDialogs;
using testing_support::ScriptedMsgBoxes;

namespace {

class FileDialogsTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString dir = tmp.path() + u"/My Site.v1/Ünï"_s;
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(dir)); }
    QString at(const QString& name) const { return dir + QLatin1Char('/') + name; }
    void touch(const QString& path) { testing_support::writeBytes(path, {}); }
};

TEST_F(FileDialogsTest, SaveAddsTheFiltersExtensionOnlyWhenTheNameLacksIt) {
    struct Case {
        int filter;
        const char* typed;
        const char* saved;
    } cases[] = {
        {1, "report", "report.htm"},   {1, "report.ASP", "report.ASP"},
        {1, "page.html", "page.html"}, {2, "terms.kqs.bak", "terms.kqs.bak"},
        {3, "cat", "cat.kqi"},         {4, "run", "run.kqb"},
        {6, "notes", "notes"},         {5, "hcl", "hcl"},
    };
    for (const Case& c : cases) {
        ScriptedFileDialogs dialogs;
        dialogs.choose(at(QLatin1String(c.typed)), c.filter);
        QString path;
        EXPECT_EQ(ModOpenSave::showSaveDialog(1, path), at(QLatin1String(c.saved))) << c.typed;
        EXPECT_EQ(path, at(QLatin1String(c.saved)));
        EXPECT_EQ(dialogs.requests().first().title, u"Save Quorvantile Data"_s);
    }
}

TEST_F(FileDialogsTest, SaveProposesTheExistingFileOrAnUntitledNameInThePreviousFolder) {
    touch(at(u"index.htm"_s));
    ScriptedFileDialogs dialogs;
    dialogs.choose(at(u"index.htm"_s), 1).choose(at(u"x.kqs"_s), 2);
    QString existing = at(u"index.htm"_s);
    ModOpenSave::showSaveDialog(1, existing);
    EXPECT_EQ(dialogs.requests().at(0).proposedName, u"index.htm"_s);
    EXPECT_EQ(dialogs.requests().at(0).initialFolder, dir + QLatin1Char('/'));

    QString folder = tmp.path();  // an existing folder is not a file to propose
    ModOpenSave::showSaveDialog(2, folder);
    EXPECT_EQ(dialogs.requests().at(1).proposedName, u"Untitled.kqs"_s);
    EXPECT_EQ(dialogs.requests().at(1).defaultExtension, u"*.kqs"_s);
    EXPECT_EQ(dialogs.requests().at(1).initialFolder, dir + QLatin1Char('/'));
    EXPECT_EQ(dialogs.requests().at(1).filterIndex, 2);
}

TEST_F(FileDialogsTest, SaveAsksBeforeReplacingAFileItsAddedExtensionNames) {
    touch(at(u"report.htm"_s));
    {
        ScriptedFileDialogs dialogs;
        ScriptedMsgBoxes boxes;
        dialogs.choose(at(u"report"_s), 1).choose(at(u"other"_s), 1);
        boxes.expect(u"report.htm already exists"_s, platform::vbNo);
        QString path = u"keep"_s;
        EXPECT_EQ(ModOpenSave::showSaveDialog(1, path), at(u"other.htm"_s));
        // Saying No brings the dialog back with the full name.
        EXPECT_EQ(dialogs.requests().at(1).proposedName, u"report.htm"_s);
    }
    {
        ScriptedFileDialogs dialogs;
        ScriptedMsgBoxes boxes;
        dialogs.choose(at(u"report"_s), 1);
        boxes.expect(u"Do you want to replace it?"_s, platform::vbYes);
        QString path;
        EXPECT_EQ(ModOpenSave::showSaveDialog(1, path), at(u"report.htm"_s));
    }
}

TEST_F(FileDialogsTest, CancelReturnsEmptyAndLeavesThePath) {
    ScriptedFileDialogs dialogs;
    dialogs.cancel().cancel();
    QString path = u"/kept/as/is.htm"_s;
    EXPECT_EQ(ModOpenSave::showSaveDialog(1, path), QString());
    EXPECT_EQ(path, u"/kept/as/is.htm"_s);
    EXPECT_EQ(ModOpenSave::showOpenDialog(u"htm"_s, path), QString());
}

TEST_F(FileDialogsTest, OpenProposesByKind) {
    ScriptedFileDialogs dialogs;
    for (int i = 0; i < 4; ++i) dialogs.cancel();
    ModOpenSave::showOpenDialog(u"dir"_s, QString());
    ModOpenSave::showOpenDialog(u"hcl"_s, QString());
    ModOpenSave::showOpenDialog(u"kqi"_s, at(u"main.kqi"_s));
    ModOpenSave::showOpenDialog(u"htm"_s, at(u"a.htm"_s));
    const auto& r = dialogs.requests();
    EXPECT_EQ(r[0].title, u"Open a file to select the Directory"_s);
    EXPECT_EQ(r[0].proposedName, u"Open a file to select the Directory"_s);
    EXPECT_EQ(r[0].filterIndex, 5);
    EXPECT_EQ(r[1].proposedName, u"index.htm"_s);
    EXPECT_EQ(r[1].title, u"Load Quorvantile Data"_s);
    EXPECT_EQ(r[2].proposedName, u"main.kqi"_s);
    EXPECT_EQ(r[2].initialFolder, dir + QLatin1Char('/'));
    EXPECT_EQ(r[2].filterIndex, 3);
    EXPECT_EQ(r[3].filterIndex, 0);
    EXPECT_EQ(r[3].defaultExtension, u"*.kqi"_s);  // kept from the call before
    EXPECT_TRUE(r[3].createPrompt);
}

TEST_F(FileDialogsTest, OpeningANameThatDoesNotExistCreatesItEmpty) {
    ScriptedFileDialogs dialogs;
    const QString fresh = at(u"Open a file to select the Directory"_s);
    dialogs.choose(fresh);
    EXPECT_EQ(ModOpenSave::showOpenDialog(u"dir"_s, QString()), fresh);
    ASSERT_TRUE(QFileInfo::exists(fresh));
    EXPECT_EQ(QFileInfo(fresh).size(), 0);
}

TEST_F(FileDialogsTest, FileExistsAndMakeSurePathExists) {
    touch(at(u"a.kqs"_s));
    for (const QString& yes : {at(u"a.kqs"_s), dir, at(u"*.kqs"_s)}) EXPECT_TRUE(modFileExists::fileExists(yes)) << yes;
    for (const QString& no : {dir + u"/"_s, at(u"*.kqi"_s), at(u"missing.htm"_s), QString()})
        EXPECT_FALSE(modFileExists::fileExists(no)) << no;

    QString deep = dir + u"/cache/indexes"_s;
    EXPECT_TRUE(modFileExists::makeSurePathExists(deep));
    EXPECT_EQ(deep, dir + u"/cache/indexes/"_s);
    EXPECT_TRUE(QFileInfo(deep).isDir());
    QString underFile = at(u"a.kqs"_s) + u"/x"_s;
    EXPECT_FALSE(modFileExists::makeSurePathExists(underFile));
}

}  // namespace
