#pragma once

#include <QColor>
#include <cstdint>

// The laboratory's colours as 24-bit numbers with blue in the high byte and red in the low
// byte (0x00BBGGRR), the reverse of QRgb; colorFromBgr turns one into a QColor.
QColor colorFromBgr(std::uint32_t bbggrr);

namespace LabColors {
inline constexpr std::uint32_t Black = 0x000000;
inline constexpr std::uint32_t Red = 0x0000FF;
inline constexpr std::uint32_t Grey = 0x808080;
inline constexpr std::uint32_t LightGrey = 0x999999;
inline constexpr std::uint32_t GoldenYellow = 0x00E0FF;
inline constexpr std::uint32_t White = 0xFFFFFF;
inline constexpr std::uint32_t Navy = 0x800000;
}  // namespace LabColors
