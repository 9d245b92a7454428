#pragma once

#include <QColor>
#include <cstdint>

// Colours are kept as the laboratory defines them: $00BBGGRR, blue in the high byte.
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
