// The main window fits the screen it opens on, and its columns and panes show their texts.
#include "AppTestSupport.h"
#include "gui/app/WindowPlacement.h"
#include "platform/Twips.h"
#include "platform/WidgetInput.h"

#include <QScreen>
#include <QScrollBar>
#include <QTest>

namespace {

using platform::pixelsToTwips;
using platform::twipsToPixels;
using WindowPlacement::firstStartFrame;
using WindowPlacement::keepOnScreen;

QRect screenTwips(int width, int height, int top = 0) {
    return pixelsToTwips(QRect(0, top, width, height));
}

TEST(WindowPlacementTest, AFirstStartTakesMostOfTheScreenCentredButNeverLessThanTheDesign) {
    EXPECT_EQ(twipsToPixels(firstStartFrame(screenTwips(1600, 1000))), QRect(120, 75, 1360, 850));
    EXPECT_EQ(firstStartFrame(screenTwips(1024, 768)), QRect(1152, 864, 13056, 9792));  // 870.4 by 652.8 pixels
    EXPECT_EQ(twipsToPixels(firstStartFrame(screenTwips(800, 600))), QRect(60, 45, 680, 510));
    // A panel along the top edge: centred in what is left.
    EXPECT_EQ(twipsToPixels(firstStartFrame(screenTwips(800, 576, 24))), QRect(60, 67, 680, 490));
    // A screen smaller than the design gets the design's size, as far as the screen goes.
    const QRect small = firstStartFrame(screenTwips(640, 480));
    EXPECT_EQ(small.size(), QSize(9600, WindowPlacement::kDesignHeight));
    EXPECT_TRUE(screenTwips(640, 480).contains(small));
}

TEST(WindowPlacementTest, AStoredFrameIsKeptWhereItFitsAndBroughtOntoASmallerScreen) {
    const QRect large = pixelsToTwips(QRect(120, 75, 1360, 850));
    const QRect laptop = screenTwips(1024, 768);
    EXPECT_EQ(keepOnScreen(large, {screenTwips(1600, 1000)}), large);
    EXPECT_EQ(keepOnScreen(large, {laptop}), laptop);
    const QRect small = pixelsToTwips(QRect(500, 400, 700, 500));
    EXPECT_EQ(twipsToPixels(keepOnScreen(small, {laptop})), QRect(324, 268, 700, 500));
    // On the second of two screens it stays; off both it comes to the first.
    const QRect right = pixelsToTwips(QRect(1100, 100, 600, 400));
    const QList<QRect> two{laptop, pixelsToTwips(QRect(1024, 0, 1280, 1024))};
    EXPECT_EQ(keepOnScreen(right, two), right);
    EXPECT_EQ(twipsToPixels(keepOnScreen(pixelsToTwips(QRect(5000, 3000, 600, 400)), two)), QRect(424, 368, 600, 400));
}

class WindowFitTest : public WindowTest {
protected:
    static QRect available() { return QGuiApplication::primaryScreen()->availableGeometry(); }
    void showFramed(QMainWindow& form) {
        widget_input::showAndWait(&form);
        QApplication::setActiveWindow(&form);
        QApplication::processEvents();
    }
    // The header and a bold line of the longest usual name fit their columns.
    static void expectWholeColumns(testing_support::TestWindow& window) {
        MetaPanelView& panel = *window.find<MetaPanelView>(u"MetaPanel"_s);
        Record& record = window.context.record;
        record.clear();
        const Record::LineId line = record.append({u"DC.Date.Modified"_s, {}, {}, {}});
        record.setBold(line, true);
        record.selectOnly(line);
        for (int column = 0; column < 4; ++column) {
            const int given = panel.columnWidth(column);
            panel.resizeColumnToContents(column);  // what the header and the lines need
            EXPECT_LE(panel.columnWidth(column), given) << panel.model()->headerData(column, Qt::Horizontal).toString();
            panel.setColumnWidth(column, given);
        }
    }
};

TEST_F(WindowFitTest, AFirstStartFitsTheScreenAndEveryColumnShowsItsText) {
    showFramed(*w);
    EXPECT_EQ(w->frameGeometry(), twipsToPixels(firstStartFrame(pixelsToTwips(available()))));
    expectWholeColumns(w);
    w.find<QAction>(u"mnuViewTreeView"_s)->trigger();
    EXPECT_NEAR(w.activeTreeView()->width(), w->width() / 4, 2);

    // A desktop with larger letters widens the columns.
    const LargerFont larger;
    testing_support::TestWindow big;
    showFramed(*big);
    expectWholeColumns(big);
}

// The lines of the metadata panel shown whole, from its top.
int wholeLinesShown(const QTreeView& panel) {
    const QRect area = panel.viewport()->rect();
    int shown = 0;
    for (int row = 0; row < panel.model()->rowCount(); ++row)
        if (area.contains(panel.visualRect(panel.model()->index(row, 0)))) ++shown;
    return shown;
}

// Opened in a first window, a page shows all its lines whole, or as many as the panel holds
// (the divider goes no higher than it may), with the edit panel too; an added line comes
// into sight whole.
class LinesInSightTest : public WindowFitTest, public ::testing::WithParamInterface<int> {};

TEST_P(LinesInSightTest, APageShowsItsLinesWholeAndAnAddedLineComesIntoSight) {
    const int count = GetParam();
    const LargerFont larger;  // lines taller than the old list's
    QByteArray page = "<html><head><title>t</title>\r\n";
    for (int i = 1; i <= count; ++i) page += "<meta name=\"DC.Subject\" content=\"" + QByteArray::number(i) + "\">\r\n";
    const QString file = write(u"lines.htm"_s, page + "</head><body>b</body></html>\r\n");
    showFramed(*w);
    auto* address = w->findChild<QComboBox*>(u"URL"_s);
    auto* panel = w->findChild<QTreeView*>(u"MetaPanel"_s);
    ASSERT_TRUE(address && panel);
    const auto enter = [&](const QString& text) {
        address->lineEdit()->selectAll();
        QTest::keyClicks(address->lineEdit(), text);
        QTest::keyClick(address->lineEdit(), Qt::Key_Return);
        browser().settle();
        QApplication::processEvents();
    };
    const auto expectWhole = [&](const char* when) {
        const int rowHeight = panel->visualRect(panel->model()->index(0, 0)).height();
        const int holds = panel->viewport()->height() / rowHeight;
        EXPECT_EQ(wholeLinesShown(*panel), count < 30 ? count : holds) << when;
        if (count == 30) {
            EXPECT_LT(holds, count) << when;
        }
    };
    enter(file);
    ASSERT_EQ(panel->model()->rowCount(), count);
    expectWhole("opened");

    w->findChild<QAction*>(u"mnuViewEdit"_s)->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(w->findChild<QWidget*>(u"EditPanel"_s)->isVisible());
    expectWhole("with the edit panel");

    enter(u"mtp://field=DC.Rights&content=Added.fld/"_s);
    // The panel shows the command's line once the command lets go of it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->model()->rowCount() == count + 1; }, 2000));
    EXPECT_EQ(panel->model()->index(panel->currentIndex().row(), 1).data().toString(), u"Added"_s);
    const QRect added = panel->visualRect(panel->currentIndex());
    EXPECT_TRUE(panel->viewport()->rect().contains(added));
    EXPECT_FALSE(panel->horizontalScrollBar()->isVisible());  // the columns still fit beside the vertical one
    // The first and last lines selected with the keys come into sight whole too.
    panel->setFocus();
    QTest::keyClick(panel, Qt::Key_Home);
    QApplication::processEvents();
    EXPECT_EQ(panel->currentIndex().row(), 0);
    EXPECT_TRUE(panel->viewport()->rect().contains(panel->visualRect(panel->currentIndex())));
    QTest::keyClick(panel, Qt::Key_End);
    QApplication::processEvents();
    EXPECT_EQ(panel->currentIndex().row(), count);
    EXPECT_TRUE(panel->viewport()->rect().contains(panel->visualRect(panel->currentIndex())));
}

INSTANTIATE_TEST_SUITE_P(Lines, LinesInSightTest, ::testing::Values(3, 8, 30));

TEST_F(WindowFitTest, AWindowLeftOnALargerScreenOpensOnThisOne) {
    // Where the window was left last time, as the settings store holds it.
    CRegSettings stored(w.context.settings);
    stored.SaveSetting(u"Position Data"_s, u"Left"_s, u"1500"_s);
    stored.SaveSetting(u"Position Data"_s, u"Top"_s, u"900"_s);
    stored.SaveSetting(u"Position Data"_s, u"Width"_s, QString::number(pixelsToTwips(available().width() + 400)));
    stored.SaveSetting(u"Position Data"_s, u"Height"_s, u"12000"_s);
    testing_support::TestContext second;
    const std::unique_ptr<QMainWindow> again(modMetaMain::openMainWindow(second, testing_support::modalRuns()));
    showFramed(*again);
    EXPECT_TRUE(available().contains(again->frameGeometry())) << again->frameGeometry().width();
    EXPECT_EQ(again->frameGeometry().width(), available().width());
}

}  // namespace
