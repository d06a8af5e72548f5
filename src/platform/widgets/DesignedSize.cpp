#include "platform/widgets/DesignedSize.h"

#include <QLayout>
#include <QWidget>

#include <algorithm>

namespace platform {

QSize designedOrNeeded(QWidget& window, const QSize& designed) {
    QLayout* layout = window.layout();
    if (!layout) return designed;
    layout->invalidate();  // children shown or hidden just now count
    QSize size = designed.expandedTo(layout->totalMinimumSize());
    if (layout->hasHeightForWidth())
        size.setHeight(std::max(size.height(), layout->totalMinimumHeightForWidth(size.width())));
    return size;
}

}  // namespace platform
