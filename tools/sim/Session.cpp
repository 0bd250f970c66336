#include "Session.h"

#include "Screenshot.h"
#include "game/GameSession.h"
#include "platform/FrameLoop.h"
#include "platform/Input.h"
#include "platform/Render.h"

#include <SDL/SDL.h>

namespace sim
{

Session::~Session()
{
    Close();
}

bool Session::Open(std::string* error)
{
    PlatformOptions options;
    options.dummyDrivers = true;
    context = StartPlatform(options);
    if (context == nullptr)
    {
        *error = std::string("the platform did not start: ") + SDL_GetError();
        return false;
    }
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
        StopPlatform(context);
        context = nullptr;
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
