#include "gui/frame/Layout.h"

#include <cmath>

namespace Layout {

Result SizeControls(double& x, double& y, const Input& in) {
    Result r;
    const double SW = in.innerWidth;
    const double SH = in.innerHeight;

    if (x < 1500) x = 2000;
    if (x > in.windowWidth - 2000) x = in.windowWidth - 2000;
    if (y < 1000) y = 1000;
    if (y > SH - 2000) y = SH - 2000;

    const double T = in.toolbarVisible ? in.toolbarHeight + 95 : 0;
    r.toolbarRowHeight = T;
    r.toolbar = {0, 95, SW - 400, in.toolbarHeight};
    r.logo = {SW - 400, 0, 400, T > 0 ? T : in.toolbarHeight + 95};

    const double S = in.statusBarVisible ? std::round(in.statusBarHeight) : 0;

    if (in.layoutAdjust) {
        if (!in.treeVisible) x = 0;
        if (!in.metaVisible) y = SH - T;
    }

    const double E = in.editVisible ? kEditPanelHeight : 0;
    // The edit panel never pushes the metadata lines out of sight: a few lines stay shown.
    if (in.editVisible && in.metaVisible) y = std::max(1000.0, std::min(y, SH - S - 150 - E - kMinListHeight));
    // A hidden browser gives its room to the panels below; the divider keeps its place for
    // when the browser comes back.
    const double yp = in.layoutAdjust && !in.browserVisible && in.metaVisible ? T - 150 : y;
    if (in.editVisible) {
        r.edit = {x + 40, yp + 150, SW - (x + 40), E};
        r.editContentWidth = r.edit.width - 1700;
        r.editCloseTop = 100;
        r.editCloseLeft = r.edit.width - 285;
    }

    r.addressBoxWidth = SW - 4500;

    if (!in.metaVisible) {
        r.hideEditPanel = true;
    } else {
        r.meta.left = x + 40;
        r.meta.width = SW - r.meta.left;
        if (in.editVisible) {
            r.meta.top = yp + 150 + E;
            r.meta.height = SH - S - yp - 150 - E;
        } else {
            r.meta.top = yp + 150;
            r.meta.height = SH - (S + yp + 150);
        }
        const double others = std::round(in.nameWidth + in.langWidth + in.schemeWidth);
        // The tree stands x wide once it is placed below, whatever width it had before.
        r.contentColumnWidth = in.firstWindowInnerWidth - others - (in.treeVisible ? x : 0);
    }

    if (in.treeVisible) r.tree = {0, T, x, SH - (S + T)};

    r.vGrip = {x, T, 40, SH - (S + T)};
    r.hGrip = {x + 40, yp, SW - (x + 40), 150};

    r.browser.top = T;
    r.browser.left = x + 40;
    r.browser.width = SW - r.browser.left;
    r.browser.height = in.metaVisible ? y - T : SH - (S + T);

    r.x = x;
    r.y = y;
    return r;
}

double splitterForLines(const Input& in, int lines, double rowHeight, double headerHeight, double editHeight) {
    // What stands between the splitter and the status bar: the gap, the edit panel, the
    // panel's header and its lines (SizeControls gives the panel this height).
    const double S = in.statusBarVisible ? std::round(in.statusBarHeight) : 0;
    return in.innerHeight - S - 150 - editHeight - headerHeight - rowHeight * lines;
}

double clampDrag(double pointer, double windowExtent) {
    if (pointer < kSplitterDragMargin) return kSplitterDragMargin;
    if (pointer > windowExtent - kSplitterDragMargin) return windowExtent - kSplitterDragMargin;
    return pointer;
}

}  // namespace Layout
