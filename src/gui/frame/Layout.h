#pragma once

// The main window's geometry, worked out in twips (1440 to the inch) from the two splitter
// positions and the panes that are shown. Pure: the window converts the result to pixels.
namespace Layout {

struct Rect {
    double left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct Input {
    double innerWidth = 0;    // SW: the client area's inner width
    double innerHeight = 0;   // SH: its inner height
    double windowWidth = 0;   // the whole window's width
    bool toolbarVisible = true;
    double toolbarHeight = 0;
    bool statusBarVisible = true;
    double statusBarHeight = 0;
    bool layoutAdjust = true;  // hidden tree or metadata panel give their room away
    bool treeVisible = false;  // the active tree element
    bool metaVisible = true;
    bool editVisible = false;
    bool browserVisible = true;
    // Metadata panel columns other than Content, and the inner width of the first main window.
    double nameWidth = 0, langWidth = 0, schemeWidth = 0;
    double firstWindowInnerWidth = 0;
};

struct Result {
    double x = 0, y = 0;  // the splitter positions after clamping
    double toolbarRowHeight = 0;
    Rect toolbar, logo, tree, meta, edit, browser, vGrip, hGrip;
    double addressBoxWidth = 0;
    double editContentWidth = 0;
    double editCloseLeft = 0, editCloseTop = 0;
    double contentColumnWidth = 0;
    bool hideEditPanel = false;  // the metadata panel is hidden, so the edit panel goes too
};

constexpr double kEditPanelHeight = 1700;
constexpr double kMinWindowSize = 5040;
constexpr double kSplitterDragMargin = 500;
constexpr double kMinListHeight = 1000;  // what the metadata panel keeps below the edit panel

// Corrects x and y in place, as callers rely on, and places every pane.
Result SizeControls(double& x, double& y, const Input& in);

// Where the horizontal splitter goes so that the metadata panel below it (below the edit
// panel too, when `editHeight` is not 0) shows `lines` whole lines of `rowHeight` under its
// header (`headerHeight`, the panel's frame included).
double splitterForLines(const Input& in, int lines, double rowHeight, double headerHeight, double editHeight);

// Where a splitter's drag bar may go: the pointer position kept 500 twips inside the window.
double clampDrag(double pointer, double windowExtent);

}  // namespace Layout
