// Input: SDL keyboard and joystick events turned into button words for two
// pads, plus the quit request. The keyboard and joystick 0 drive pad 0,
// joystick 1 drives pad 1.
#pragma once

#include "platform/Buttons.h"

#include <SDL/SDL.h>
#include <cstdint>

constexpr int PadCount = 2;

// Joystick axis values from -JoyAxisDeadZone to JoyAxisDeadZone inclusive
// hold no direction.
constexpr int JoyAxisDeadZone = 20000;

// Module-level state, indexed by pad. Each pad has two words: `buttons`
// (keys on pad 0, joystick buttons) and `axisButtons` (the first two axes);
// a bit is held when set in either.
struct InputState
{
    uint32_t buttons[PadCount];
    SDL_Joystick* joysticks[PadCount];  // opened handle, null when none
    uint32_t prevButtons[PadCount];     // `buttons` at the start of the last update
    uint32_t prevAxisButtons[PadCount]; // `axisButtons` at the start of the last update
    uint32_t axisButtons[PadCount];
    int quitRequested; // 1 when the last update saw Q, Escape or a window close
};

extern InputState gInputState;

// Clears the pads and opens up to two joysticks. Call after SDL_Init.
void InitInput();
void CloseInput();

// Once per game update: drains SDL's event queue into the pads.
void UpdateInput();
int IsQuitRequested();
// Queues a key press (or release) for the next UpdateInput, as the keyboard
// would; SDL_PushEvent's result, 0 when queued.
int PushKeyEvent(SDLKey key, bool down);

// Held and newly pressed buttons of a pad; 0 for a pad number above 1.
uint32_t GetPadHeld(int pad);
uint32_t GetPadPressed(int pad);

// Event handlers of UpdateInput.
void OnKeyDown(const SDL_Event& event);
void OnKeyUp(const SDL_Event& event);
void OnJoyAxis(const SDL_Event& event);
void OnJoyButtonDown(const SDL_Event& event);
void OnJoyButtonUp(const SDL_Event& event);
