#pragma once
#include "gui/frame/Layout.h"
#include "platform/Twips.h"

#include <QRect>

#include <algorithm>

// What the window's layout asks of each pane: which of its parts are shown and how much room
// its fixed parts take (added to the layout's input), and to put its parts where the layout
// says.
class PaneLayout {
public:
    virtual ~PaneLayout() = default;
    virtual void describe(Layout::Input& in) const = 0;
    virtual void place(const Layout::Result& r) = 0;
};

// A rectangle of the layout in pixels; one the layout made too small is empty.
inline QRect pixelRect(const Layout::Rect& r) {
    return QRect(platform::twipsToPixels(r.left), platform::twipsToPixels(r.top),
                 std::max(0, platform::twipsToPixels(r.width)), std::max(0, platform::twipsToPixels(r.height)));
}
