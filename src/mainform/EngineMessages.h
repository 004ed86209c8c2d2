#pragma once

#include <cstdint>

// Message numbers the engine posts to the window it was handed (as platform::WindowMessageEvent).
constexpr std::uint32_t WM_FRAMESOURCE_READY = 2312;
constexpr std::uint32_t WM_FRAME_AVAILABLE = 2412;
constexpr std::uint32_t WM_FRAMESOURCE_CLOSED = 2512;
// Accepted by the main window and dropped.
constexpr std::uint32_t WM_IGNORED_1156 = 1156;
