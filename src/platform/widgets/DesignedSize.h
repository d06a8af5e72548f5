#pragma once
#include <QSize>

class QWidget;

namespace platform {

// A window's size: the one it was designed with (pixels), or what its layout needs to show
// every text whole at the font in use, wrapped labels included, where that is more.
QSize designedOrNeeded(QWidget& window, const QSize& designed);

}  // namespace platform
