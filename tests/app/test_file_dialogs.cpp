#include "AppTestSupport.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

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
