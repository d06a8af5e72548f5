#pragma once
#include <QList>
#include <QRect>

// Where the main window goes on the screens. Pure: rectangles in twips in and out, so the
// designed measures stay as written.
namespace WindowPlacement {

// The window's designed size: the least a first start gives it.
inline constexpr int kDesignWidth = 10110;
inline constexpr int kDesignHeight = 7050;

// A first start: the frame takes 85% of the available area's width and height, never less
// than the designed size (nor more than the area), centred on it.
QRect firstStartFrame(const QRect& available);

// A stored frame on the screens as they are now: kept where it fits on the screen it lies
// most on (the first screen when it lies on none); else shrunk to that screen and moved onto it.
QRect keepOnScreen(const QRect& frame, const QList<QRect>& availableAreas);

// The hierarchy pane's width at start: a quarter of the window's.
double treePaneWidth(double windowWidth);

}  // namespace WindowPlacement
