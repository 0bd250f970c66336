// The real game, headless: the program's own platform start-up on SDL's
// dummy video and audio drivers and one game session, driven one update at a
// time with no pacing.
#pragma once

#include "Replay.h"

#include <string>
#include <vector>

struct GameSession;
struct RenderContext;
class GameDirector;

namespace sim
{

class Session
{
public:
    Session() = default;
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // StartPlatform on the dummy drivers, then CreateGameSession, as the
    // program's entry does. False with a message on failure.
    bool Open(std::string* error);
    // DestroyGameSession and StopPlatform, as the entry; safe to call twice.
    void Close();

    // Pushes the key changes as SDL key events; false when SDL's queue is full.
    bool Push(const std::vector<KeyChange>& changes);
    // One update as the frame loop runs it: UpdateInput, then
    // RunGameSessionFrame. True when the update saw a quit request.
    bool Update();
    // The present step: draw the sprite list, show it, clear the screen.
    void Present();
    // Draws the sprite list and saves the screen as a PNG, then presents as
    // usual (which draws the list again and clears the screen).
    bool PresentWithScreenshot(const std::string& path, std::string* error);

    GameDirector* Director() const;
    RenderContext* Context() const { return context; }

private:
    RenderContext* context = nullptr;
    GameSession* session = nullptr;
};

} // namespace sim
