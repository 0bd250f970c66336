// Long runs of whole games under scripted input: every state stays in range,
// games end and start again, and the same input gives the same game.
#include "tests/support/GameHarness.h"

#include <cstdint>
#include <cstdlib>

namespace
{
// The player's hands: a small generator of our own, so the script does not
// draw on the game's random numbers.
struct Script
{
    uint32_t state;

    uint32_t Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 16;
    }
};

struct Snapshot
{
    int32_t scene, score, stage, grazeCount, bonusShipTimer, alive, bullets, marchStep;
    float shipX, shotY;

    bool operator==(const Snapshot&) const = default;
};

class DirectorReplay : public skyreel_test::GameHarness
{
protected:
    Snapshot Take() const
    {
        return {director->scene,          director->score,          director->stage,
                director->grazeCount,     director->bonusShipTimer, director->convoy->CountAlive(),
                director->bullets->count, director->marchStep,      director->ship->x,
                director->shot->y};
    }

    // Runs `updates` updates under the script; every 8 updates the arrows and
    // the fire key change at random.
    std::vector<Snapshot> Play(uint32_t seed, int updates, int* gamesEnded)
    {
        Script script{seed};
        std::vector<Snapshot> trace;
        bool left = false, right = false, fire = false;
        int ended = 0;
        for (int i = 0; i < updates; ++i)
        {
            if (i % 8 == 0)
            {
                const uint32_t r = script.Next();
                const bool newLeft = (r & 3) == 0;
                const bool newRight = (r & 3) == 1;
                const bool newFire = (r & 4) != 0;
                if (newLeft != left)
                {
                    PushKey(SDLK_LEFT, newLeft);
                }
                if (newRight != right)
                {
                    PushKey(SDLK_RIGHT, newRight);
                }
                if (newFire != fire)
                {
                    PushKey(SDLK_z, newFire);
                }
                left = newLeft;
                right = newRight;
                fire = newFire;
            }
            const int32_t sceneBefore = director->scene;
            Update();
            if (sceneBefore == GameDirector::SceneGameOver &&
                director->scene == GameDirector::SceneTitleSetUp)
            {
                ++ended;
            }
            trace.push_back(Take());
        }
        PushKey(SDLK_LEFT, false);
        PushKey(SDLK_RIGHT, false);
        PushKey(SDLK_z, false);
        Update();
        *gamesEnded = ended;
        return trace;
    }
};

TEST_F(DirectorReplay, ScriptedGamesStayInRangeAndComeBackToTheTitle)
{
    int ended = 0;
    const std::vector<Snapshot> trace = Play(7, 30000, &ended);
    EXPECT_GE(ended, 1);
    int32_t lastScore = 0;
    for (size_t i = 0; i < trace.size(); ++i)
    {
        const Snapshot& s = trace[i];
        ASSERT_GE(s.scene, 0) << i;
        ASSERT_LE(s.scene, 4) << i;
        ASSERT_GE(s.stage, 1) << i;
        ASSERT_LE(s.bullets, MaxBullets) << i;
        ASSERT_GE(s.alive, 0) << i;
        ASSERT_LE(s.alive, 40) << i;
        ASSERT_GE(s.marchStep, 0) << i;
        ASSERT_LT(s.marchStep, MarchSoundCount) << i;
        ASSERT_GE(s.shipX, 24.0f) << i;
        ASSERT_LE(s.shipX, 424.0f) << i;
        ASSERT_GE(s.bonusShipTimer, 0) << i;
        ASSERT_LE(s.bonusShipTimer, 2400) << i;
        if (s.scene == GameDirector::ScenePlay)
        {
            ASSERT_GE(s.score, lastScore) << "the score never falls during a game, update " << i;
        }
        lastScore = s.scene == GameDirector::ScenePlay ? s.score : 0;
    }
}

TEST_F(DirectorReplay, TheSameInputGivesTheSameGame)
{
    int endedA = 0;
    const std::vector<Snapshot> a = Play(99, 8000, &endedA);

    // A second game from the same start: the program seeds with 1.
    Restart();
    int endedB = 0;
    const std::vector<Snapshot> b = Play(99, 8000, &endedB);

    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
    {
        ASSERT_TRUE(a[i] == b[i]) << "the runs part at update " << i;
    }
    EXPECT_EQ(endedA, endedB);
}
} // namespace
