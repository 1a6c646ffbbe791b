// units.h - colour and length conversions at the boundary between the interfaces and Qt.
#pragma once

#include <QColor>
#include <cstdint>

namespace forms {

// Colours cross every interface as 0x00BBGGRR (0xFF is red, 0xFF0000 is blue).
QColor fromOleColor(uint32_t bgr);
uint32_t toOleColor(const QColor &color);

// Form layouts are given in twips: 15 twips per pixel.
constexpr int kTwipsPerPixel = 15;
constexpr int twipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}
constexpr int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

}  // namespace forms
