// What differs between the machines the game runs on. The shared platform
// files call these functions and never ask which machine they are built for;
// each port defines them in its own folder, platform/<port>/, and the build
// compiles one port (CMake's SKYREEL_PORT: desktop, web).
//
// A new port must provide, across the folders its build lists:
// - every function declared here, each defined once;
// - RunProgram (platform/FrameLoop.h): the program's entry and frame loop
//   driver, which brings the platform up and down with StartPlatform and
//   StopPlatform and paces the game's updates and pictures.
// A port that differs from another in one concern only lists the other
// port's folder beside its own and leaves out the other's file of that
// concern (SKYREEL_PORT_FOLDERS_<port> and SKYREEL_PORT_SKIP_<port> in the
// root CMakeLists.txt); the port files are cut by concern for that: the
// program, pictures and screen, sound, input.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <cstdint>

// Pictures.

// A picture file decoded into a new surface the caller frees; null when the
// file is missing or cannot be decoded.
SDL_Surface* PortLoadPicture(const char* path);
// True when PortLoadPicture's surfaces are already in the screen's layout
// with an alpha channel of their own: they are then never converted to the
// screen's format, and a sprite's alpha changes nothing over them (SDL 1.2
// ignores a per-surface alpha over an alpha channel).
bool PortPicturesAreDrawReady();
// A surface's own alpha (SDL_SetAlpha's per-surface value); 255 where the
// port's SDL keeps none.
Uint8 PortSurfaceAlpha(const SDL_Surface* surface);

// The screen.

// Sets the video mode for a width x height picture and returns the surface
// the game draws that picture into: the video surface itself, or a surface
// of that size the port shows in a window of another size; null when no mode
// can be set.
SDL_Surface* PortOpenScreen(int width, int height, int bpp);
// Once, right after the video mode is set, before anything draws on it.
void PortHoldScreen(SDL_Surface* screen);
// After the drawn picture was handed to SDL (SDL_UpdateRect): whatever else
// it takes for the picture to reach the player.
void PortShowScreen(SDL_Surface* screen);
// Clears the screen's pixels for the next picture to `pixel`, given as
// X, R, G, B (8 bits each) and stored in the screen's own channel order.
void PortClearScreen(SDL_Surface* screen, uint32_t pixel);

// Sound.

// False where the machine can play no sound at all; sound then stays off as
// when there is no sound device.
bool PortHasSound();
// Gives back a sound file handle (SDL_RWFromFile's) the mixer is done with.
void PortCloseSoundFile(SDL_RWops* source);
// The whole effect read from `source`, which is closed afterwards; null when
// the mixer cannot read it.
Mix_Chunk* PortLoadEffect(SDL_RWops* source);
// Starts effect number n on `channel`, cutting off what played there.
void PortPlayEffect(int channel, Mix_Chunk* effect, int n);
// Music number n has just started.
void PortMusicStarted(int n);

// Input.

// True when pads can appear after start-up without SDL telling the program,
// so pads without a joystick are looked for again now and then.
bool PortPadsAppearLate();

// The program.

// Makes SDL_Init pick the dummy video and audio drivers, for runs with no
// window and no sound device (tools and tests).
void PortChooseDummyDrivers();
