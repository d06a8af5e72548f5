#include "gui/app/WindowPlacement.h"

#include <algorithm>

namespace WindowPlacement {

QRect firstStartFrame(const QRect& available) {
    const int width = std::min(std::max(available.width() * 85 / 100, kDesignWidth), available.width());
    const int height = std::min(std::max(available.height() * 85 / 100, kDesignHeight), available.height());
    QRect frame(0, 0, width, height);
    frame.moveCenter(available.center());
    return frame;
}

QRect keepOnScreen(const QRect& frame, const QList<QRect>& availableAreas) {
    if (availableAreas.isEmpty()) return frame;
    QRect area = availableAreas.first();
    qint64 most = 0;
    for (const QRect& each : availableAreas) {
        const QRect common = each.intersected(frame);
        const qint64 shared = qint64(common.width()) * common.height();
        if (shared > most) {
            most = shared;
            area = each;
        }
    }
    if (area.contains(frame)) return frame;
    QRect fitted(frame.topLeft(), frame.size().boundedTo(area.size()));
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.right() + 1 - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.bottom() + 1 - fitted.height()));
    return fitted;
}

double treePaneWidth(double windowWidth) {
    return windowWidth / 4;
}

}  // namespace WindowPlacement
