#include "platform/FrameLoop.h"

#include "platform/Input.h"
#include "platform/Port.h"
#include "platform/Screen.h"
#include "platform/Sound.h"

#include <SDL/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <string>

void RunFrameLoop(const FrameLoopHooks& hooks, uint32_t base)
{
    // Extra updates for the next batch; negative only after the clock stepped
    // back, and then pictures are presented without updates.
    int32_t skip = 0;
    for (;;)
    {
        if (skip >= 0)
        {
            int32_t done = 0;
            for (;;)
            {
                hooks.updateInput(hooks.user);
                if (!hooks.runFrame(hooks.user) || hooks.isQuitRequested(hooks.user) != 0)
                {
                    // A batch cut short starts a fresh period now.
                    base = hooks.getTicks(hooks.user);
                    break;
                }
                ++done;
                if (done > skip)
                {
                    break;
                }
            }
        }

        // Differences are taken modulo 2^32, so the counter's wrap is harmless.
        const auto before = static_cast<int32_t>(hooks.getTicks(hooks.user) - base);
        hooks.present(hooks.user);
        const auto after = static_cast<int32_t>(hooks.getTicks(hooks.user) - base);
        if (before >= 0 && before < static_cast<int32_t>(FramePeriodMs))
        {
            // The presenting time is deliberately not taken off the sleep.
            hooks.delay(hooks.user, FramePeriodMs - static_cast<uint32_t>(before));
        }
        const bool quit = hooks.isQuitRequested(hooks.user) != 0;
        base = hooks.getTicks(hooks.user);
        skip = after / static_cast<int32_t>(FramePeriodMs);
        if (quit)
        {
            return;
        }
    }
}

namespace
{

constexpr const char* WindowTitle = "Skyreel";
constexpr unsigned StartSeed = 1;

} // namespace

RenderContext* StartPlatform(const PlatformOptions& options)
{
    if (options.dummyDrivers)
    {
        PortChooseDummyDrivers();
    }
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0)
    {
        return nullptr;
    }
    InitInput();
    if (options.sound)
    {
        InitSound();
    }
    RenderContext* context = CreateRenderContext(ScreenWidth, ScreenHeight, ScreenDepth);
    if (context == nullptr)
    {
        SDL_SetError("no memory for the render context");
        const std::string reason = SDL_GetError();
        StopPlatform(nullptr);
        SDL_SetError("%s", reason.c_str());
        return nullptr;
    }
    SetWindowCaption(context, WindowTitle);
    std::srand(StartSeed);
    return context;
}

void StopPlatform(RenderContext* context)
{
    DestroyRenderContext(context);
    ShutdownSound();
    CloseInput();
    SDL_Quit();
}

void ReportStartFailure()
{
    std::puts("SDL initialize error.");
    // SDL's own reason ("Couldn't open X11 display" ...) tells the player
    // what to fix; standard output keeps the one fixed line.
    std::fprintf(stderr, "skyreel: %s\n", SDL_GetError());
}

RenderContext* StartPlatformOrReport(const PlatformOptions& options)
{
    RenderContext* context = StartPlatform(options);
    if (context == nullptr)
    {
        ReportStartFailure();
    }
    return context;
}
