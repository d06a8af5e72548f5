#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

// Window geometry is kept in twips in the program's logic, so its constants stay as the
// layout was designed (1440 twips to the inch). The views convert at the edge: one
// device-independent pixel is 15 twips, as on a 96 dpi screen.
namespace platform {

inline constexpr int kTwipsPerPixel = 15;

// Twips to whole pixels, rounded to the nearest pixel (halves away from zero).
constexpr int twipsToPixels(double twips) {
    const double px = twips / kTwipsPerPixel;
    return px >= 0 ? static_cast<int>(px + 0.5) : -static_cast<int>(-px + 0.5);
}

constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }
constexpr double pixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }

inline QPoint twipsToPixels(const QPoint& twips) {
    return {twipsToPixels(twips.x()), twipsToPixels(twips.y())};
}
inline QPoint pixelsToTwips(const QPoint& pixels) {
    return {pixelsToTwips(pixels.x()), pixelsToTwips(pixels.y())};
}
inline QSize twipsToPixels(const QSize& twips) {
    return {twipsToPixels(twips.width()), twipsToPixels(twips.height())};
}
inline QSize pixelsToTwips(const QSize& pixels) {
    return {pixelsToTwips(pixels.width()), pixelsToTwips(pixels.height())};
}
inline QRect twipsToPixels(const QRect& twips) {
    return {twipsToPixels(twips.topLeft()), twipsToPixels(twips.size())};
}
inline QRect pixelsToTwips(const QRect& pixels) {
    return {pixelsToTwips(pixels.topLeft()), pixelsToTwips(pixels.size())};
}

}  // namespace platform
