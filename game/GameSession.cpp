#include "game/GameSession.h"

#include "game/BasicSystem.h"
#include "game/GameDirector.h"
#include "platform/Screen.h"

#include <cstdlib>
#include <new>

namespace
{

constexpr int OverlaySlot = 1;

} // namespace

GameSession* CreateGameSession(RenderContext* context)
{
    auto* session = static_cast<GameSession*>(std::malloc(sizeof(GameSession)));
    if (session == nullptr)
    {
        return nullptr;
    }
    session->renderContext = context;
    session->system = new (std::nothrow) BasicSystem();
    session->director = nullptr;
    if (session->system == nullptr)
    {
        return session; // runs as an empty session: every frame returns false
    }
    session->system->renderContext = context;
    session->system->Initialize();

    session->director = new (std::nothrow) GameDirector();
    if (session->director != nullptr)
    {
        session->director->SetSystem(session->system);
        session->director->Initialize();
    }
    return session;
}

void DestroyGameSession(GameSession* session)
{
    if (session == nullptr)
    {
        return;
    }
    delete session->director;
    delete session->system;
    std::free(session);
}

bool RunGameSessionFrame(GameSession* session)
{
    if (session == nullptr || session->system == nullptr || session->director == nullptr)
    {
        return false;
    }
    session->system->BeginFrame();
    const bool goOn = session->director->Frame();

    // Taken last, so it is drawn over every sprite of the frame.
    QueueSprite(session->renderContext, GetTexture(session->renderContext, OverlaySlot), 0, 0,
                ScreenWidth, ScreenHeight, 0, 0);
    return goOn;
}
