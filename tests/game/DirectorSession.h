// Drives a real game session the way the frame loop does (UpdateInput, then
// RunGameSessionFrame) on SDL's dummy drivers, with keys fed in as SDL events.
// Sound runs on a generated sound list of silent files, so a test can tell
// which effects an update started and whether music plays.
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

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class DirectorSession : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // One game update as the frame loop runs it; returns the sound effect
    // numbers started in it, in order.
    std::vector<int> Update();
    // n updates; returns every effect started in them.
    std::vector<int> Run(int n);

    static void PushKey(SDLKey key, bool down);
    // Key down before the next update, key up before the one after it.
    std::vector<int> Tap(SDLKey key);

    // From a fresh session: through the title with one press of Z, up to and
    // including the game-start update. The play scene runs from the next update.
    void PlayThroughTitle();
    // Keeps the convoy's bullets from ending a long test by chance.
    void MakeShipUntouchable();
    // A still, hit-enabled needle at (x, y) in the bullet list.
    BulletMaker* AddBullet(float x, float y);

    static bool MusicPlaying();
    // Debug lines handed over in the last update.
    static std::vector<std::string> DebugLines();
    static void ClearDebugLines();

    int CommandsUsed() const { return context->used; }
    const SpriteCommand& Command(int i) const { return *context->commands[i]; }

    RenderContext* context = nullptr;
    GameSession* session = nullptr;
    GameDirector* director = nullptr;
};
