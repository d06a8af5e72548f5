#include "AppTestSupport.h"

#include "core/program/ModOpenSave.h"
#include "core/program/modFileExists.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

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
    QString deep = dir + u"/cache/indexes"_s;
    EXPECT_TRUE(modFileExists::makeSurePathExists(deep));
    EXPECT_EQ(deep, dir + u"/cache/indexes/"_s);
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_FALSE(modFileExists::makeSurePathExists(deep = at(u"a.kqs/x"_s)));
}

}  // namespace

namespace {

// File > Open as the user first sees it, in a folder holding a page with a long name: every
// column of the dialog's file list shows its text whole, and the list needs no scrolling sideways.
TEST(FileDialogSizeTest, TheListShowsAFortyCharacterNameItsSizeTypeAndFullDateWhole) {
    testing_support::TestWindow w;
    const testing_support::RealFileDialogs real;
    QTemporaryDir dir;
    const QString name = u"Annual report of the regional office.htm"_s;
    ASSERT_EQ(name.size(), 40);
    QFile page(dir.filePath(name));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write(QByteArray(23456, 'x'));
    page.setFileTime(QDateTime(QDate(2023, 12, 28), QTime(23, 58, 58)), QFileDevice::FileModificationTime);
    page.close();
    w.context.FilePath = dir.filePath(name);

    QStringList cut;
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* view = dialog->findChild<QTreeView*>(u"treeView"_s);
        ASSERT_NE(view, nullptr);
        QHeaderView* header = view->header();
        const auto needed = [view](int column) { return static_cast<QAbstractItemView*>(view)->sizeHintForColumn(column); };
        const auto row = [view, &name] {
            const QModelIndexList found =
                view->model()->match(view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole, name, 1, Qt::MatchExactly);
            return found.isEmpty() ? -1 : found.first().row();
        };
        const auto whole = [&] {  // each column at least as wide as what it shows
            if (row() < 0) return false;
            for (int column = 0; column < 4; ++column)
                if (header->sectionSize(column) < needed(column)) return false;
            return view->horizontalScrollBar()->maximum() == 0;
        };
        QTest::qWaitFor(whole, 1000);
        for (int column = 0; column < 4; ++column) {
            const QString text = view->model()->index(row(), column, view->rootIndex()).data().toString();
            shown += text + u'|';
            if (header->sectionSize(column) < needed(column))
                cut << u"%1 (%2 < %3)"_s.arg(text).arg(header->sectionSize(column)).arg(needed(column));
        }
        if (view->horizontalScrollBar()->maximum() > 0) cut << u"the list scrolls sideways"_s;
        dialog->reject();
    });
    w.find<QAction>(u"mnuFileOpenIdx_%1"_s.arg(FileMenu::kOpenPage))->trigger();
    EXPECT_TRUE(shown.startsWith(name + u"|22.91 KiB|"_s)) << shown.toStdString();
    EXPECT_EQ(cut, QStringList());
}

}  // namespace
