#include "platform/FrameLoop.h"

#include "platform/Input.h"
#include "platform/Screen.h"
#include "platform/Sound.h"

#include <SDL/SDL.h>
#include <cstdio>
#include <cstdlib>

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

RenderContext* StartPlatform()
{
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0)
    {
        std::puts("SDL initialize error.");
        // SDL's own reason ("Couldn't open X11 display" ...) tells the player
        // what to fix; standard output keeps the one fixed line.
        std::fprintf(stderr, "skyreel: %s\n", SDL_GetError());
        return nullptr;
    }
    InitInput();
    InitSound();
    RenderContext* context = CreateRenderContext(ScreenWidth, ScreenHeight, ScreenDepth);
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

#ifndef __EMSCRIPTEN__ // the browser's entry is platform/web/WebFrameLoop.cpp

namespace
{

// What the real loop works on.
struct ProgramLoop
{
    RenderContext* context;
    void* session;
    const GameSessionHooks* game;
};

uint32_t SdlTicks(void* /*user*/)
{
    return SDL_GetTicks();
}

void SdlDelay(void* /*user*/, uint32_t ms)
{
    SDL_Delay(ms);
}

void PollInput(void* /*user*/)
{
    UpdateInput();
}

bool RunSession(void* user)
{
    auto* loop = static_cast<ProgramLoop*>(user);
    return loop->game->runFrame(loop->session);
}

int QuitRequested(void* /*user*/)
{
    return IsQuitRequested();
}

void Present(void* user)
{
    PresentFrame(static_cast<ProgramLoop*>(user)->context);
}

} // namespace

int RunProgram(const GameSessionHooks& game)
{
    RenderContext* context = StartPlatform();
    if (context == nullptr)
    {
        return -1;
    }
    // Read before the session is made, so the time its loading takes counts
    // against the first period and the second batch catches up.
    const uint32_t base = SDL_GetTicks();
    ProgramLoop loop = {context, game.create(context), &game};

    const FrameLoopHooks hooks = {&loop,      SdlTicks,      SdlDelay, PollInput,
                                  RunSession, QuitRequested, Present};
    RunFrameLoop(hooks, base);

    game.destroy(loop.session);
    StopPlatform(context);
    return 0;
}

#endif
