// The window the game draws into. The platform opens it at this size, the
// game lays its full-screen overlay over it, and the tools and tests that
// stand in for the platform make their render contexts with it.
#pragma once

#include <cstdint>

constexpr int32_t ScreenWidth = 480; // pixels
constexpr int32_t ScreenHeight = 272;
constexpr int32_t ScreenDepth = 32; // bits per pixel
