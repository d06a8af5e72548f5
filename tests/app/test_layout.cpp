#include "app/Layout.h"

#include <gtest/gtest.h>

using Layout::Input;
using Layout::SizeControls;

namespace {

Input window() {
    Input in;
    in.innerWidth = 9990;
    in.innerHeight = 6500;
    in.windowWidth = 10110;
    in.toolbarHeight = 420;
    in.statusBarHeight = 300;
    in.treeVisible = true;
    in.nameWidth = 1400;
    in.langWidth = 400;
    in.schemeWidth = 1400;
    in.firstWindowInnerWidth = 9990;
    return in;
}

TEST(Layout, SplittersAreClampedAndTheCallerSeesTheCorrection) {
    Input in = window();
    double x = 1400, y = 0;
    auto r = SizeControls(x, y, in);
    EXPECT_EQ(x, 2000);  // below 1500 jumps to 2000, not to 1500
    EXPECT_EQ(y, 1000);
    EXPECT_EQ(r.x, 2000);
    x = 99999, y = 99999;
    SizeControls(x, y, in);
    EXPECT_EQ(x, in.windowWidth - 2000);
    EXPECT_EQ(y, in.innerHeight - 2000);
}

TEST(Layout, HiddenPanesGiveTheirRoomAway) {
    Input in = window();
    in.toolbarVisible = false;
    in.treeVisible = false;
    double x = 3000, y = 3000;
    auto r = SizeControls(x, y, in);
    EXPECT_EQ(r.browser.top, 0);  // no toolbar row
    EXPECT_EQ(x, 0);              // no tree: the browser starts at the left edge
    EXPECT_EQ(r.browser.left, 40);
    EXPECT_EQ(r.contentColumnWidth, 9990 - 3200);

    in = window();
    in.metaVisible = false;
    in.editVisible = true;
    x = 3000, y = 3000;
    r = SizeControls(x, y, in);
    EXPECT_TRUE(r.hideEditPanel);
    EXPECT_EQ(y, 6500 - 515);
    EXPECT_EQ(r.browser.height, 6500 - (300 + 515));  // down to the status bar
}

TEST(Layout, TheEditPanelLeavesTheMetadataLinesInSight) {
    Input in = window();
    in.editVisible = true;
    double x = 3000, y = 6500 - 2000;  // as low as the splitter goes
    const auto r = SizeControls(x, y, in);
    EXPECT_EQ(r.meta.top, y + 150 + Layout::kEditPanelHeight);
    EXPECT_EQ(r.meta.height, Layout::kMinListHeight);
    in.innerHeight = 2500;  // a window too low for both: the splitter keeps its minimum
    y = 1500;
    SizeControls(x, y, in);
    EXPECT_EQ(y, 1000);
}

TEST(Layout, DragBarsStayFiveHundredTwipsInside) {
    EXPECT_EQ(Layout::clampDrag(100, 10000), 500);
    EXPECT_EQ(Layout::clampDrag(9800, 10000), 9500);
    EXPECT_EQ(Layout::clampDrag(4000, 10000), 4000);
}

}  // namespace
