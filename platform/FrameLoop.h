// Program start-up and shut-down, and the paced frame loop: batches of game
// updates, one picture per batch, a sleep to the end of each 16 ms period,
// and extra updates in the next batch when a period ran long.
#pragma once

#include "platform/Render.h"

#include <cstdint>

constexpr uint32_t FramePeriodMs = 16;

// Everything the loop calls, so it can run on a fake clock. `user` is passed
// back to every hook.
struct FrameLoopHooks
{
    void* user;
    uint32_t (*getTicks)(void* user);       // milliseconds, wrapping at 2^32
    void (*delay)(void* user, uint32_t ms); // sleep
    void (*updateInput)(void* user);        // drain input events
    bool (*runFrame)(void* user);           // one game update; false ends the batch
    int (*isQuitRequested)(void* user);     // non-zero: quit
    void (*present)(void* user);            // draw and show one picture
};

// Runs until a quit request is seen after a present step. `base` is the clock
// reading that starts the first period.
void RunFrameLoop(const FrameLoopHooks& hooks, uint32_t base);

// The game session as the entry sees it. The platform layer does not know the
// game, so the program's main hands these in.
struct GameSessionHooks
{
    void* (*create)(RenderContext* context);
    bool (*runFrame)(void* session); // false when there is no session to run
    void (*destroy)(void* session);
};

// How the platform is brought up; the program takes the defaults.
struct PlatformOptions
{
    // SDL's dummy video and audio drivers (SDL_VIDEODRIVER, SDL_AUDIODRIVER):
    // no window, no sound device, whatever the environment says. For tools.
    bool dummyDrivers = false;
    // The mixer and the sounds of data/sounddat.lst (InitSound); without,
    // sound stays off for the run.
    bool sound = true;
};

// The one start-up of everything that runs the game or its renderer: the
// program on every port, the simulator, the benchmarks, the scene program
// and the fuzz targets. In order: SDL, input, sound, the 480 x 272 screen
// with its caption, and srand(1), the seed the game runs on until its first
// game starts. Null when SDL or the render context cannot start, with SDL's
// reason left in SDL_GetError() and nothing left running. A context whose
// screen is null (no video mode) is still returned: the game then runs on
// without a picture.
RenderContext* StartPlatform(const PlatformOptions& options = {});
// Shut-down in the reverse order: the screen, sound, input, SDL.
void StopPlatform(RenderContext* context);
// What the program says when StartPlatform fails: "SDL initialize error." on
// standard output and SDL's reason on standard error.
void ReportStartFailure();
// StartPlatform, saying so with ReportStartFailure when it returns null.
RenderContext* StartPlatformOrReport(const PlatformOptions& options = {});

// The whole program: start-up, the frame loop, shut-down. Each port defines
// it (platform/Port.h). Returns the exit status: 0 after a quit request, -1 when SDL cannot start
// (after printing "SDL initialize error." on standard output and SDL's
// reason on standard error).
int RunProgram(const GameSessionHooks& game);
