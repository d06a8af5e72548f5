#include "platform/widgets/Modal.h"
#include "gui/catalogues/ListTreeView.h"
#include "WidgetInput.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <gtest/gtest-spi.h>

using namespace Qt::StringLiterals;

// A window that waits for a user fails the test that opened it, soon, and says which it was.
namespace {

class UnscriptedWindows : public ::testing::Test {
protected:
    QElapsedTimer clock;
    void SetUp() override { clock.start(); }
    // Every kind is let go well before a test runner would give up on the test.
    void TearDown() override { EXPECT_LT(clock.elapsed(), 5000); }
};

TEST_F(UnscriptedWindows, ADialogRunModally) {
    QDialog dialog;
    dialog.setWindowTitle(u"Odd settings"_s);
    new QLabel(u"Pick one"_s, &dialog);
    EXPECT_NONFATAL_FAILURE(dialog.exec(), "QDialog \"Odd settings\" saying \"Pick one\"");
    // The program's own dialogs fail at once.
    EXPECT_NONFATAL_FAILURE(testing_support::modalRuns().execModal(dialog), "QDialog \"Odd settings\"");
}

TEST_F(UnscriptedWindows, AMessageBox) {
    QMessageBox box(QMessageBox::Question, u"Careful"_s, u"Really go on?"_s, QMessageBox::Yes | QMessageBox::No);
    EXPECT_NONFATAL_FAILURE(box.exec(), "QMessageBox \"Careful\" saying \"Really go on?\"");
}

TEST_F(UnscriptedWindows, AFileDialog) {
    QString chosen = u"untouched"_s;
    EXPECT_NONFATAL_FAILURE(chosen = QFileDialog::getOpenFileName(nullptr, u"Open a list"_s, u"/tmp"_s, {}, nullptr,
                                                                  QFileDialog::DontUseNativeDialog),
                            "QFileDialog \"Open a list\" saying \"/tmp\"");
    EXPECT_EQ(chosen, QString());
}

TEST_F(UnscriptedWindows, AnInputDialog) {
    EXPECT_NONFATAL_FAILURE(QInputDialog::getText(nullptr, u"Name"_s, u"Your name:"_s),
                            "QInputDialog \"Name\" saying \"Your name:\"");
}

TEST_F(UnscriptedWindows, APopupMenu) {
    QMenu menu(u"Things"_s);
    menu.addAction(u"One"_s);
    menu.addAction(u"Two"_s);
    QAction* picked = &*menu.actions().first();
    EXPECT_NONFATAL_FAILURE(picked = menu.exec(QPoint(20, 20)), "QMenu \"Things\" saying \"One|Two|\"");
    EXPECT_EQ(picked, nullptr);
}

// A node dragged out of a tree with the mouse: the drag holds the mouse until a drop.
TEST_F(UnscriptedWindows, ADrag) {
    ListTree list;
    ListTreeView tree(list, testing_support::modalRuns());
    tree.resize(300, 200);
    tree.show();
    list.setTag(list.add(0, ListTree::Place::Last, u"Zoo\\"_s, u"Zoo"_s, 1, 4), u"http://zoo.example/"_s);
    QApplication::processEvents();  // the tree lays its rows out
    const QPoint from = tree.visualRect(tree.model()->index(0, 0)).center();
    const QPoint away = from + QPoint(0, 3 * QApplication::startDragDistance());
    EXPECT_NONFATAL_FAILURE(
        {
            widget_input::mouse(tree.viewport(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {}, from);
            // The first move arms the drag, the next one starts it.
            widget_input::mouse(tree.viewport(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {}, away);
            widget_input::mouse(tree.viewport(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {}, away);
        },
        "Drag started outside any script: QDrag from ListTreeView");
}

}  // namespace
