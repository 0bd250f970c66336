// What the benchmarks stand on: SDL on its dummy drivers with the real data
// files, and the real game driven update by update with no pacing.
#pragma once

#include "platform/Render.h"

#include <SDL/SDL.h>
#include <string>

struct GameSession;
class GameDirector;

namespace bench
{

// The folder that holds data/; the benchmarks work from there. Set from the
// command line (--root=DIR), else the source tree the benchmark was built in.
void SetDataRoot(const std::string& root);
const std::string& DataRoot();

// The program's start-up on the dummy drivers without sound, and the real
// sprite sheet loaded into slot 0 the way the game loads it (raw).
class Canvas
{
public:
    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool ok() const { return context != nullptr && sheet != nullptr; }
    // A copy of the sheet's rectangle (u, v, w, h) in the screen's channel
    // order with alpha, the layout SDL blits fastest. The caller frees it.
    SDL_Surface* CutScreenOrder(int u, int v, int w, int h) const;

    RenderContext* context = nullptr;
    SDL_Surface* sheet = nullptr; // slot 0, borrowed from the bank
};

// The real game as the program's entry brings it up (dummy video and audio),
// stepped by hand: no clock, no sleeping.
class Game
{
public:
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    bool ok() const { return session != nullptr; }
    // UpdateInput, then RunGameSessionFrame.
    void Update();
    // Queues a key press or release for the next Update.
    void Key(SDLKey key, bool down);
    // Runs updates, pressing the confirm key now and then, until the play
    // scene is on. False when it does not come within a few thousand updates.
    bool ReachPlay();
    // Fills the bullet list to its 800 with shots of the three kinds made by
    // a BulletMaker, standing still across the upper two thirds of the field
    // with lives far longer than any run, so the list stays full.
    void FillBullets();

    GameDirector* Director() const;
    RenderContext* context = nullptr;
    GameSession* session = nullptr;
};

// The n-th of a sequence of angles in AngleUnit (65536 per turn) that spreads
// evenly over the whole turn however early it is cut off.
float SpreadAngleUnits(int64_t n);

} // namespace bench
