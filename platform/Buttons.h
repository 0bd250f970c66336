// The button bits of a pad's button word (see platform/Input.h), on their
// own so that game code can test a word without the input module's SDL state.
#pragma once

#include <cstdint>

constexpr uint32_t BUTTON_UP = 0x1;
constexpr uint32_t BUTTON_DOWN = 0x2;
constexpr uint32_t BUTTON_LEFT = 0x4;
constexpr uint32_t BUTTON_RIGHT = 0x8;
constexpr uint32_t BUTTON_A = 0x10; // confirm and fire
constexpr uint32_t BUTTON_B = 0x20;
constexpr uint32_t BUTTON_C = 0x40;
constexpr uint32_t BUTTON_D = 0x80;
