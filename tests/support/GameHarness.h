// The real game for one test, headless, brought up as the program brings it
// up (the platform's start-up with its seed, the game's own data; SDL on its
// dummy drivers, as every test runs) and driven one update at a time: keys go
// in as SDL events, and each update reports the sound effects it started.
#pragma once

#include "bullets/BulletMaker.h"
#include "bullets/BulletManage.h"
#include "enemies/BonusShipManage.h"
#include "enemies/ConvoyManage.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "platform/DebugConsole.h"
#include "platform/Input.h"
#include "platform/Render.h"
#include "platform/Sound.h"
#include "player/MyShipManage.h"
#include "player/MyShotManage.h"
#include "presentation/BackGroundManage.h"
#include "presentation/PanelManage.h"
#include "presentation/TitleManage.h"
#include "tests/support/Waits.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace skyreel_test
{

class GameHarness : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh game from the program's start, as at the beginning of the test.
    void Restart();

    // One game update as the frame loop runs it; returns the numbers of the
    // sound effects started in it, in order.
    std::vector<int> Update();
    // n updates; returns every effect started in them.
    std::vector<int> Run(int n);

    // Updates until `reached` holds, at most `updates` of them (a small
    // multiple of what the state needs); fails naming `what` otherwise.
    template <typename Reached>
    ::testing::AssertionResult UpdateUntil(const std::string& what, int updates, Reached reached)
    {
        return StepUntil(what, updates, reached, [this] { Update(); });
    }

    static void PushKey(SDLKey key, bool down);
    // Key down before the next update, key up before the one after it.
    std::vector<int> Tap(SDLKey key);

    // From a fresh game: through the title with one press of Z, up to and
    // including the game-start update. The play scene runs from the next update.
    void PlayThroughTitle();
    // Keeps the convoy's bullets from ending a long test by chance.
    void MakeShipUntouchable();
    // A hit-enabled needle of the enemy's kind at (x, y) in the bullet list,
    // still unless given a speed and a direction (AngleUnit); null, and the
    // test failed, when the list is full.
    BulletMaker* AddBullet(float x, float y, float speed = 0.0f, float direction = 0.0f);

    static bool MusicPlaying();
    // Debug lines handed over in the last update.
    static std::vector<std::string> DebugLines();

    int CommandsUsed() const { return context->used; }
    const SpriteCommand& Command(int i) const { return *context->commands[i]; }

    RenderContext* context = nullptr;
    GameSession* game = nullptr;
    GameDirector* director = nullptr;
};

} // namespace skyreel_test
