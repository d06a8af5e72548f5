#pragma once
#include <cmath>

// Geometry is kept in twips in the program's logic (1440 to the inch), as the window
// measures have always been given; the view converts at 96 dpi.
namespace platform {

constexpr double kTwipsPerPixel = 15.0;

constexpr double pixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }
inline int twipsToPixels(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }

}  // namespace platform
