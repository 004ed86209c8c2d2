#pragma once

#include <QFont>
#include <QRgb>

// Colours and fonts of the controls drawn in code, taken from the pictures' palette so that
// drawn parts and pictures match.
namespace skin {

constexpr QRgb TextColour = 0xFF1D2433;
constexpr QRgb MutedColour = 0xFF667285;
constexpr QRgb CardColour = 0xFFFFFFFF;
constexpr QRgb LineColour = 0xFFD3D9E2;
constexpr QRgb EdgeColour = 0xFF9AA4B3;
constexpr QRgb AccentColour = 0xFF2B7DE9;
constexpr QRgb AccentLightColour = 0xFFDCEAFD;
constexpr QRgb DisabledColour = 0xFFB3BBC6;
constexpr QRgb DisabledFillColour = 0xFFF1F3F6;
constexpr QRgb GrooveColour = 0xFFDCE2EA;

// "Tahoma" at 8 points; where no Tahoma (or Wine's compatible one) is installed the font
// matcher falls back to the default sans font.
QFont ControlFont();

// "Arial" bold, the given number of pixels high.
QFont HeadingFont(int pixelHeight);

} // namespace skin
