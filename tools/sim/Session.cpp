#include "Session.h"

#include "Screenshot.h"
#include "game/GameSession.h"
#include "platform/Input.h"
#include "platform/Render.h"
#include "platform/Screen.h"
#include "platform/Sound.h"

#include <SDL/SDL.h>
#include <cstdlib>

namespace sim
{
namespace
{
constexpr unsigned StartSeed = 1; // the entry's seed for the time before the first game
} // namespace

Session::~Session()
{
    Close();
}

bool Session::Open(std::string* error)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0)
    {
        *error = std::string("SDL_Init failed: ") + SDL_GetError();
        return false;
    }
    sdlUp = true;
    InitInput();
    InitSound();
    context = CreateRenderContext(ScreenWidth, ScreenHeight, ScreenDepth);
    if (context == nullptr)
    {
        *error = "the render context could not be created";
        Close();
        return false;
    }
    SetWindowCaption(context, "Skyreel");
    std::srand(StartSeed);
    session = CreateGameSession(context);
    if (session == nullptr || session->director == nullptr)
    {
        *error = "the game session could not be created";
        Close();
        return false;
    }
    return true;
}

void Session::Close()
{
    if (session != nullptr)
    {
        DestroyGameSession(session);
        session = nullptr;
    }
    if (context != nullptr)
    {
        DestroyRenderContext(context);
        context = nullptr;
    }
    if (sdlUp)
    {
        ShutdownSound();
        CloseInput();
        SDL_Quit();
        sdlUp = false;
    }
}

bool Session::Push(const std::vector<KeyChange>& changes)
{
    for (const KeyChange& change : changes)
    {
        if (PushKeyEvent(KeySym(change.key), change.down) != 0)
        {
            return false;
        }
    }
    return true;
}

bool Session::Update()
{
    UpdateInput();
    RunGameSessionFrame(session);
    return IsQuitRequested() != 0;
}

void Session::Present()
{
    PresentFrame(context);
}

bool Session::PresentWithScreenshot(const std::string& path, std::string* error)
{
    DrawSpriteCommands(context);
    const bool saved = SavePng(context->screen, path, error);
    PresentFrame(context);
    return saved;
}

GameDirector* Session::Director() const
{
    return session != nullptr ? session->director : nullptr;
}

} // namespace sim
