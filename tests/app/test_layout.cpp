#include "app/Layout.h"

#include <gtest/gtest.h>

namespace {

// Splitters and drag bars stay inside the window, and the caller sees the correction.
TEST(Layout, SplittersAndDragBarsAreClamped) {
    Layout::Input in;
    in.innerWidth = in.firstWindowInnerWidth = 9990;
    in.innerHeight = 6500;
    in.windowWidth = 10110;
    in.toolbarHeight = 420;
    in.statusBarHeight = 300;
    in.treeVisible = true;
    double x = 1400, y = 0;
    EXPECT_EQ(Layout::SizeControls(x, y, in).x, 2000);  // below 1500 jumps to 2000, not to 1500
    EXPECT_EQ(x, 2000);
    EXPECT_EQ(y, 1000);
    x = y = 99999;
    Layout::SizeControls(x, y, in);
    EXPECT_EQ(x, in.windowWidth - 2000);
    EXPECT_EQ(y, in.innerHeight - 2000);
    in.treeVisible = false;
    Layout::SizeControls(x, y, in);
    EXPECT_EQ(x, 0);  // no tree: the browser starts at the left edge

    EXPECT_EQ(Layout::clampDrag(100, 10000), 500);
    EXPECT_EQ(Layout::clampDrag(9800, 10000), 9500);
    EXPECT_EQ(Layout::clampDrag(4000, 10000), 4000);
}

}  // namespace
