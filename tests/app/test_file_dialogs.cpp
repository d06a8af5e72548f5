#include "app/ModOpenSave.h"
#include "app/modFileExists.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::ScriptedFileDialogs;
using testing_support::ScriptedMsgBoxes;

namespace {

class FileDialogsTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString dir = tmp.path() + QStringLiteral("/My Site.v1/Ünï");
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(dir)); }
    QString at(const QString& name) const { return dir + QLatin1Char('/') + name; }
    void touch(const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
};

TEST_F(FileDialogsTest, SaveAddsTheFiltersExtensionOnlyWhenTheNameLacksIt) {
    struct Case {
        int filter;
        const char* typed;
        const char* saved;
    } cases[] = {
        {1, "report", "report.htm"},       {1, "report.ASP", "report.ASP"}, {1, "page.html", "page.html"},
        {2, "terms.kqs.bak", "terms.kqs.bak"}, {3, "cat", "cat.kqi"},       {4, "run", "run.kqb"},
        {6, "notes", "notes"},             {5, "hcl", "hcl"},
    };
    for (const Case& c : cases) {
        ScriptedFileDialogs dialogs;
        dialogs.choose(at(QLatin1String(c.typed)), c.filter);
        QString path;
        EXPECT_EQ(ModOpenSave::showSaveDialog(1, path), at(QLatin1String(c.saved))) << c.typed;
        EXPECT_EQ(path, at(QLatin1String(c.saved)));
        const auto& request = dialogs.requests().first();
        EXPECT_TRUE(request.save);
        EXPECT_TRUE(request.overwritePrompt);
        EXPECT_EQ(request.title, QStringLiteral("Save Quorvantile Data"));
        EXPECT_EQ(request.filters.size(), 6);
        EXPECT_EQ(request.filters.at(4).name, QStringLiteral("Harvest Control File"));
    }
}

TEST_F(FileDialogsTest, SaveProposesTheExistingFileOrAnUntitledNameInThePreviousFolder) {
    touch(at(QStringLiteral("index.htm")));
    ScriptedFileDialogs dialogs;
    dialogs.choose(at(QStringLiteral("index.htm")), 1).choose(at(QStringLiteral("x.kqs")), 2);
    QString existing = at(QStringLiteral("index.htm"));
    ModOpenSave::showSaveDialog(1, existing);
    EXPECT_EQ(dialogs.requests().at(0).proposedName, QStringLiteral("index.htm"));
    EXPECT_EQ(dialogs.requests().at(0).initialFolder, dir + QLatin1Char('/'));

    QString folder = tmp.path();  // an existing folder is not a file to propose
    ModOpenSave::showSaveDialog(2, folder);
    EXPECT_EQ(dialogs.requests().at(1).proposedName, QStringLiteral("Untitled.kqs"));
    EXPECT_EQ(dialogs.requests().at(1).defaultExtension, QStringLiteral("*.kqs"));
    EXPECT_EQ(dialogs.requests().at(1).initialFolder, dir + QLatin1Char('/'));
    EXPECT_EQ(dialogs.requests().at(1).filterIndex, 2);
}

TEST_F(FileDialogsTest, SaveAsksBeforeReplacingAFileItsAddedExtensionNames) {
    touch(at(QStringLiteral("report.htm")));
    {
        ScriptedFileDialogs dialogs;
        ScriptedMsgBoxes boxes;
        dialogs.choose(at(QStringLiteral("report")), 1).choose(at(QStringLiteral("other")), 1);
        boxes.expect(QStringLiteral("report.htm already exists"), platform::vbNo);
        QString path = QStringLiteral("keep");
        EXPECT_EQ(ModOpenSave::showSaveDialog(1, path), at(QStringLiteral("other.htm")));
        // Saying No brings the dialog back with the full name.
        EXPECT_EQ(dialogs.requests().at(1).proposedName, QStringLiteral("report.htm"));
    }
    {
        ScriptedFileDialogs dialogs;
        ScriptedMsgBoxes boxes;
        dialogs.choose(at(QStringLiteral("report")), 1);
        boxes.expect(QStringLiteral("Do you want to replace it?"), platform::vbYes);
        QString path;
        EXPECT_EQ(ModOpenSave::showSaveDialog(1, path), at(QStringLiteral("report.htm")));
    }
}

TEST_F(FileDialogsTest, CancelReturnsEmptyAndLeavesThePath) {
    ScriptedFileDialogs dialogs;
    dialogs.cancel().cancel();
    QString path = QStringLiteral("/kept/as/is.htm");
    EXPECT_EQ(ModOpenSave::showSaveDialog(1, path), QString());
    EXPECT_EQ(path, QStringLiteral("/kept/as/is.htm"));
    EXPECT_EQ(ModOpenSave::showOpenDialog(QStringLiteral("htm"), path), QString());
}

TEST_F(FileDialogsTest, OpenProposesByKind) {
    ScriptedFileDialogs dialogs;
    for (int i = 0; i < 4; ++i) dialogs.cancel();
    ModOpenSave::showOpenDialog(QStringLiteral("dir"), QString());
    ModOpenSave::showOpenDialog(QStringLiteral("hcl"), QString());
    ModOpenSave::showOpenDialog(QStringLiteral("kqi"), at(QStringLiteral("main.kqi")));
    ModOpenSave::showOpenDialog(QStringLiteral("htm"), at(QStringLiteral("a.htm")));
    const auto& r = dialogs.requests();
    EXPECT_EQ(r[0].title, QStringLiteral("Open a file to select the Directory"));
    EXPECT_EQ(r[0].proposedName, QStringLiteral("Open a file to select the Directory"));
    EXPECT_EQ(r[0].filterIndex, 5);
    EXPECT_EQ(r[0].filters.size(), 5);
    EXPECT_EQ(r[0].filters.at(4).name, QStringLiteral("All Files"));
    EXPECT_EQ(r[1].proposedName, QStringLiteral("index.htm"));
    EXPECT_EQ(r[1].title, QStringLiteral("Load Quorvantile Data"));
    EXPECT_EQ(r[2].proposedName, QStringLiteral("main.kqi"));
    EXPECT_EQ(r[2].initialFolder, dir + QLatin1Char('/'));
    EXPECT_EQ(r[2].filterIndex, 3);
    EXPECT_EQ(r[3].filterIndex, 0);
    EXPECT_EQ(r[3].defaultExtension, QStringLiteral("*.kqi"));  // kept from the call before
    EXPECT_TRUE(r[3].createPrompt);
}

TEST_F(FileDialogsTest, OpeningANameThatDoesNotExistCreatesItEmpty) {
    ScriptedFileDialogs dialogs;
    const QString fresh = at(QStringLiteral("Open a file to select the Directory"));
    dialogs.choose(fresh);
    EXPECT_EQ(ModOpenSave::showOpenDialog(QStringLiteral("dir"), QString()), fresh);
    ASSERT_TRUE(QFileInfo::exists(fresh));
    EXPECT_EQ(QFileInfo(fresh).size(), 0);
}

TEST_F(FileDialogsTest, FileExistsAndMakeSurePathExists) {
    touch(at(QStringLiteral("a.kqs")));
    EXPECT_TRUE(modFileExists::fileExists(at(QStringLiteral("a.kqs"))));
    EXPECT_TRUE(modFileExists::fileExists(dir));
    EXPECT_FALSE(modFileExists::fileExists(dir + QLatin1Char('/')));
    EXPECT_TRUE(modFileExists::fileExists(at(QStringLiteral("*.kqs"))));
    EXPECT_FALSE(modFileExists::fileExists(at(QStringLiteral("*.kqi"))));
    EXPECT_FALSE(modFileExists::fileExists(at(QStringLiteral("missing.htm"))));
    EXPECT_FALSE(modFileExists::fileExists(QString()));

    QString deep = dir + QStringLiteral("/cache/indexes");
    EXPECT_TRUE(modFileExists::makeSurePathExists(deep));
    EXPECT_EQ(deep, dir + QStringLiteral("/cache/indexes/"));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    QString underFile = at(QStringLiteral("a.kqs")) + QStringLiteral("/x");
    EXPECT_FALSE(modFileExists::makeSurePathExists(underFile));
}

}  // namespace
