// Program entry: the platform runs the program; this file only hands it the
// game session.
#include "game/GameSession.h"
#include "platform/FrameLoop.h"

namespace
{

void* CreateSession(RenderContext* context)
{
    return CreateGameSession(context);
}

bool RunSessionFrame(void* session)
{
    return RunGameSessionFrame(static_cast<GameSession*>(session));
}

void DestroySession(void* session)
{
    DestroyGameSession(static_cast<GameSession*>(session));
}

} // namespace

int main(int /*argc*/, char** /*argv*/)
{
    const GameSessionHooks game = {CreateSession, RunSessionFrame, DestroySession};
    return RunProgram(game);
}
