// The real game, headless: SDL on its dummy video and audio drivers, the
// platform services and one game session, brought up in the order the
// program's entry uses and driven one update at a time with no pacing.
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

    // SDL_Init, InitInput, InitSound, CreateRenderContext at the screen size,
    // the window caption, srand(1), CreateGameSession. Sets SDL_VIDEODRIVER
    // and SDL_AUDIODRIVER to "dummy" first. False with a message on failure.
    bool Open(std::string* error);
    // Shut-down in the entry's order; safe to call twice.
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
    bool sdlUp = false;
    RenderContext* context = nullptr;
    GameSession* session = nullptr;
};

} // namespace sim
