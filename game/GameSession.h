// Game session: the seam between the frame loop and the game. It owns the
// BasicSystem and the GameDirector, and runs one game update per call.
#pragma once

#include "platform/Render.h"

class BasicSystem;
class GameDirector;

// Plain record, allocated with malloc and released with free.
struct GameSession
{
    RenderContext* renderContext; // not owned
    BasicSystem* system;          // owned; made before and destroyed after the director
    GameDirector* director;       // owned
};

// Null when the record cannot be allocated (then nothing else is made).
GameSession* CreateGameSession(RenderContext* context);
void DestroyGameSession(GameSession* session);

// One game update: empties the sprite list, runs the director's frame and
// lays the full-screen overlay (texture slot 1) over everything drawn.
// False for a null session, else the director's result.
bool RunGameSessionFrame(GameSession* session);
