// The program on the desktop: the paced frame loop (RunFrameLoop) on SDL's
// clock, sleeping out each period.
#include "platform/Input.h"
#include "platform/Port.h"
#include "platform/desktop/DesktopLoop.h"

#include <SDL/SDL.h>

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

int RunPacedProgram(const GameSessionHooks& game)
{
    RenderContext* context = StartPlatformOrReport();
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

void PortChooseDummyDrivers()
{
    // SDL's own putenv, there on every desktop machine; it keeps the strings.
    static char videoDriver[] = "SDL_VIDEODRIVER=dummy";
    static char audioDriver[] = "SDL_AUDIODRIVER=dummy";
    SDL_putenv(videoDriver);
    SDL_putenv(audioDriver);
}
