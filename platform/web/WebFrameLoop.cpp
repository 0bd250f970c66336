// The program in a browser page. The page must return to the browser after
// every picture, so the loop is a callback on each display refresh: it runs
// the game updates owed since the last call (one every 16 ms of the page's
// clock, whatever the refresh rate) and presents one picture when any ran.
// A quit request shuts the program down as on the desktop and tells the page.
#include "platform/FrameLoop.h"
#include "platform/Input.h"
#include "platform/Port.h"
#include "platform/web/WebHooks.h"

#include <cstdlib>
#include <emscripten.h>

namespace
{

// A page in a background tab gets no callbacks; when it comes back it does
// not race through the time it was away, only through this much (ms).
constexpr double MaxOwedMs = 250.0;

struct WebLoop
{
    RenderContext* context;
    void* session;
    const GameSessionHooks* game;
    double last; // page clock at the previous callback, ms
    double owed; // clock time not yet run as updates, ms
};

WebLoop gLoop = {};

void ShutDown(WebLoop& loop)
{
    emscripten_cancel_main_loop();
    loop.game->destroy(loop.session);
    StopPlatform(loop.context);
    EM_ASM({
        if (Module.onQuit)
        {
            Module.onQuit();
        }
    });
}

void Step(void* user)
{
    WebLoop& loop = *static_cast<WebLoop*>(user);
    const double now = emscripten_get_now();
    loop.owed += now - loop.last;
    loop.last = now;
    if (loop.owed > MaxOwedMs)
    {
        loop.owed = MaxOwedMs;
    }
    bool ran = false;
    bool quit = false;
    while (loop.owed >= FramePeriodMs)
    {
        loop.owed -= FramePeriodMs;
        UpdateInput();
        const bool goOn = loop.game->runFrame(loop.session);
        NoteWebUpdate();
        ran = true;
        if (IsQuitRequested() != 0)
        {
            quit = true;
            break;
        }
        if (!goOn)
        {
            break;
        }
    }
    if (ran)
    {
        PresentFrame(loop.context);
    }
    if (quit)
    {
        ShutDown(loop);
    }
}

} // namespace

int RunProgram(const GameSessionHooks& game)
{
    RenderContext* context = StartPlatformOrReport();
    if (context == nullptr)
    {
        return -1;
    }
    gLoop = {context, game.create(context), &game, emscripten_get_now(), 0.0};
    // 0 frames a second: called on every display refresh. The call does not
    // return; main's stack is given up and the page lives on in callbacks.
    emscripten_set_main_loop_arg(Step, &gLoop, 0, 1);
    return 0;
}

void PortChooseDummyDrivers()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}
