// The play update of the real director: its order of drawing, its scores,
// its sounds and the bonus ship's timing.
#include "bullets/Angle.h"
#include "objects/SpriteSheet.h"
#include "platform/Screen.h"
#include "tests/support/GameHarness.h"

#include <algorithm>
#include <cstdlib>

namespace
{
int Count(const std::vector<int>& played, int effect)
{
    return static_cast<int>(std::count(played.begin(), played.end(), effect));
}

class DirectorPlay : public skyreel_test::GameHarness
{
protected:
    void SetUp() override
    {
        GameHarness::SetUp();
        PlayThroughTitle();
    }

    // The kind of picture a command shows, by its size and texture place.
    static char Kind(const SpriteCommand& c)
    {
        const auto sized = [&c](const SheetRect& r)
        { return c.width == r.width && c.height == r.height; };
        if (c.width == ScreenWidth && c.height == ScreenHeight)
        {
            return 'O'; // overlay
        }
        if (sized(sheet::StillBackground))
        {
            return 'B'; // background
        }
        if (sized(sheet::Ship))
        {
            return c.u == sheet::Ship.u ? 'S' : 'E'; // ship, enemy (same size)
        }
        if (sized(sheet::PlayerShot) && c.u == sheet::PlayerShot.u)
        {
            return 's'; // shot
        }
        if (sized(sheet::BonusShip))
        {
            return 'X'; // bonus ship
        }
        if (sized(sheet::NeedleShot))
        {
            return 'b'; // bullet
        }
        return 'P'; // panel
    }

    // The bonus ship launched in one update, the player's ship beyond harm.
    void LaunchBonusShipOverASafeShip()
    {
        MakeShipUntouchable();
        director->bonusShipTimer = 0;
        Update();
        ASSERT_TRUE(director->bonusShip->IsFlying());
    }

    std::string Picture() const
    {
        std::string kinds;
        for (int i = 0; i < CommandsUsed(); ++i)
        {
            const char kind = Kind(Command(i));
            if (kinds.empty() || kinds.back() != kind)
            {
                kinds += kind;
            }
        }
        return kinds;
    }
};

TEST_F(DirectorPlay, APlayPictureIsPaintedInTheFixedOrder)
{
    MakeShipUntouchable();
    director->bonusShipTimer = 0;
    Tap(SDLK_z);
    AddBullet(100.0f, 300.0f);
    Update();
    ASSERT_TRUE(director->bonusShip->IsFlying());
    EXPECT_EQ(Picture(), "BEsSXbPO");
    EXPECT_EQ(CommandsUsed(), 2 + 40 + 1 + 1 + 1 + 1 + 23 + 1);

    const std::vector<std::string> lines = DebugLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Clock: " + std::to_string(director->clock));
    EXPECT_EQ(lines[1], "Bullet Num: 1");
    EXPECT_EQ(lines[2], "Bonus Ship Timer: 0");
}

TEST_F(DirectorPlay, FiringNeedsANewPressAndNoShotInFlight)
{
    MakeShipUntouchable();
    std::vector<int> played = Tap(SDLK_z);
    EXPECT_EQ(Count(played, GameDirector::SeShot), 1);
    EXPECT_TRUE(director->shot->inFlight);
    EXPECT_EQ(director->shot->x, director->ship->x);

    played = Tap(SDLK_z);
    EXPECT_EQ(Count(played, GameDirector::SeShot), 0) << "the shot is still out";

    // Held: fires once, then no more after the shot has gone.
    // Up the field from the ship in about 60 updates.
    ASSERT_TRUE(
        UpdateUntil("the shot to leave the field", 180, [&] { return !director->shot->inFlight; }));
    PushKey(SDLK_z, true);
    played = Run(100);
    EXPECT_EQ(Count(played, GameDirector::SeShot), 1);
    PushKey(SDLK_z, false);
    Update();
}

TEST_F(DirectorPlay, TheShipMovesWithTheHeldArrows)
{
    PushKey(SDLK_LEFT, true);
    Run(10);
    EXPECT_EQ(director->ship->x, 184.0f);
    PushKey(SDLK_RIGHT, true);
    Run(5);
    EXPECT_EQ(director->ship->x, 184.0f) << "both arrows cancel out";
    PushKey(SDLK_LEFT, false);
    PushKey(SDLK_RIGHT, false);
    Update();
}

TEST_F(DirectorPlay, AStruckEnemyScoresByItsRow)
{
    MakeShipUntouchable();
    ConvoyManage& convoy = *director->convoy;
    Tap(SDLK_z);
    director->shot->x = convoy.enemies[32].x;
    director->shot->y = convoy.enemies[32].y + 4.0f;
    const std::vector<int> played = Update();
    EXPECT_EQ(Count(played, GameDirector::SeEnemyDestroyed), 1);
    EXPECT_EQ(director->score, 4000);
    EXPECT_TRUE(convoy.enemies[32].exploding);
}

TEST_F(DirectorPlay, MarchBeatsFollowTheTuneAndRunOnAcrossGames)
{
    MakeShipUntouchable();
    // The convoy's first sweep ends on its 41st update.
    std::vector<int> played = Run(40);
    EXPECT_EQ(Count(played, 1), 0);
    played = Update();
    EXPECT_EQ(played, std::vector<int>{MARCH_SOUNDS[0]});
    EXPECT_EQ(director->marchStep, 1);

    director->marchStep = 21;
    played = Run(41);
    EXPECT_EQ(played, std::vector<int>{7});
    EXPECT_EQ(director->marchStep, 0);

    // A new game does not restart the tune.
    director->marchStep = 5;
    director->ship->hitEnabled = true;
    AddBullet(director->ship->x, director->ship->y);
    Run(91);
    PlayThroughTitle();
    EXPECT_EQ(director->marchStep, 5);
    MakeShipUntouchable();
    played = Run(41);
    EXPECT_EQ(played, std::vector<int>{MARCH_SOUNDS[5]});
}

TEST_F(DirectorPlay, GrazesScoreAHundredEachWithOneSound)
{
    const float x = director->ship->x;
    const float y = director->ship->y;
    AddBullet(x + 14.0f, y);
    AddBullet(x - 14.0f, y);
    AddBullet(x, y - 14.0f);
    AddBullet(x + 30.0f, y);
    const std::vector<int> played = Update();
    EXPECT_EQ(Count(played, GameDirector::SeGraze), 1);
    EXPECT_EQ(director->grazeCount, 3);
    EXPECT_EQ(director->score, 300);
    EXPECT_EQ(director->scene, GameDirector::ScenePlay);

    // The panel shows the new values from the next layout.
    EXPECT_EQ(director->panel->graze, 0);
    Update();
    EXPECT_EQ(director->panel->graze, 3);
    EXPECT_EQ(director->panel->score, 300);
    EXPECT_EQ(director->score, 300) << "a bullet grazes once";
}

TEST_F(DirectorPlay, TheUpdateOfAHitStillScoresItsGrazes)
{
    AddBullet(director->ship->x, director->ship->y);
    AddBullet(director->ship->x + 14.0f, director->ship->y);
    const std::vector<int> played = Update();
    EXPECT_EQ(Count(played, GameDirector::SeShipHit), 1);
    EXPECT_EQ(Count(played, GameDirector::SeGraze), 1);
    EXPECT_EQ(director->score, 100);
    EXPECT_EQ(director->grazeCount, 1);
    EXPECT_EQ(director->scene, GameDirector::SceneGameOver);
}

TEST_F(DirectorPlay, TheBackgroundFadesInAsTheConvoyIsDestroyed)
{
    MakeShipUntouchable();
    Update();
    EXPECT_EQ(director->background->targetAlpha, 0.0001f);
    director->convoy->enemies[39].active = false;
    Update();
    EXPECT_EQ(director->background->targetAlpha, 0.025f);
    for (int i = 0; i < 38; ++i)
    {
        director->convoy->enemies[i].active = false;
    }
    Update();
    EXPECT_EQ(director->background->targetAlpha, 0.975f);
}

TEST_F(DirectorPlay, TheBonusShipLaunchesOneUpdateAfterItsTimerRunsOut)
{
    MakeShipUntouchable();
    director->convoy->fireClock = -100000; // no volley draws in this test
    director->bonusShipTimer = 3;
    Run(3);
    EXPECT_EQ(director->bonusShipTimer, 0);
    EXPECT_FALSE(director->bonusShip->IsFlying());
    EXPECT_FALSE(MusicPlaying());

    // Its value is drawn before its side.
    const unsigned seed = 4242;
    srand(seed);
    const int multiple = RandomRange(1, 6);
    const int side = RandomRange(0, 1);
    srand(seed);
    Update();
    ASSERT_TRUE(director->bonusShip->IsFlying());
    EXPECT_EQ(director->bonusShip->GetScore(), 5000 * multiple);
    EXPECT_EQ(director->bonusShip->x, side == 1 ? 1.0f : 446.0f);
    EXPECT_TRUE(MusicPlaying());
    EXPECT_EQ(director->bonusShipTimer, 0);

    // 229 moves in the field, out on the 230th.
    for (int i = 1; i <= 229; ++i)
    {
        Update();
        ASSERT_TRUE(director->bonusShip->IsFlying()) << i;
        ASSERT_EQ(director->bonusShipTimer, 0);
        ASSERT_TRUE(MusicPlaying()) << i;
    }
    Update();
    EXPECT_FALSE(director->bonusShip->IsFlying());
    EXPECT_FALSE(MusicPlaying());
    EXPECT_GE(director->bonusShipTimer, 600);
    EXPECT_LE(director->bonusShipTimer, 1200);
}

TEST_F(DirectorPlay, StrikingTheBonusShipScoresItsValueAndScattersDebris)
{
    ASSERT_NO_FATAL_FAILURE(LaunchBonusShipOverASafeShip());
    const int value = director->bonusShip->GetScore();
    Run(20);

    Tap(SDLK_z);
    director->shot->x = director->bonusShip->x;
    director->shot->y = director->bonusShip->y + 8.0f;
    const int before = director->bullets->count;
    const std::vector<int> played = Update();
    EXPECT_EQ(Count(played, GameDirector::SeBonusShipDestroyed), 1);
    EXPECT_EQ(director->score, value);
    EXPECT_FALSE(director->bonusShip->IsFlying());
    EXPECT_FALSE(director->bonusShip->visible);
    EXPECT_FALSE(MusicPlaying());
    EXPECT_GE(director->bonusShipTimer, 600);
    EXPECT_LE(director->bonusShipTimer, 1200);
    EXPECT_EQ(director->bullets->count, before + 80);

    // The spent shot flies on unseen: no new shot until it has left.
    EXPECT_TRUE(director->shot->inFlight);
    EXPECT_EQ(Count(Tap(SDLK_z), GameDirector::SeShot), 0);
}

TEST_F(DirectorPlay, TheMusicStopsWhenTheShipIsHitAndIsNotStartedByALaunchInThatUpdate)
{
    director->bonusShipTimer = 0;
    Update();
    ASSERT_TRUE(MusicPlaying());
    AddBullet(director->ship->x, director->ship->y);
    Update();
    EXPECT_FALSE(MusicPlaying());
    EXPECT_EQ(director->scene, GameDirector::SceneGameOver);

    // Back to a fresh game, with the launch due in the very update of the hit.
    Run(90);
    PlayThroughTitle();
    director->bonusShipTimer = 0;
    AddBullet(director->ship->x, director->ship->y);
    Update();
    ASSERT_EQ(director->scene, GameDirector::SceneGameOver);
    EXPECT_TRUE(director->bonusShip->IsFlying());
    EXPECT_FALSE(MusicPlaying()) << "the tune would play on through the title";
    Run(90 + 200);
    EXPECT_FALSE(MusicPlaying());
}

TEST_F(DirectorPlay, AnEnemyPassingTheFieldsBottomEndsTheGameAsAHitDoes)
{
    MakeShipUntouchable();
    ConvoyManage& convoy = *director->convoy;
    for (EnemyObject& enemy : convoy.enemies)
    {
        enemy.active = false;
    }
    convoy.enemies[39].y = 600.0f; // gone from play: does not count
    // Two enemies stepping down: the first onto the bottom edge, the second
    // past it in the next update.
    convoy.enemies[0].active = true;
    convoy.enemies[0].y = 472.0f;
    convoy.enemies[1].active = true;
    convoy.enemies[1].y = 480.0f;
    convoy.marchState = ConvoyManage::StepDownRight;
    convoy.nextIndex = 0;
    convoy.fireClock = -100000;
    director->bonusShipTimer = 0;
    director->score = 12340;

    std::vector<int> played = Update();
    ASSERT_EQ(convoy.enemies[0].y, 480.0f);
    EXPECT_EQ(director->scene, GameDirector::ScenePlay) << "on the edge is still in the field";
    EXPECT_EQ(Count(played, GameDirector::SeShipHit), 0);
    EXPECT_TRUE(MusicPlaying());

    played = Update();
    ASSERT_EQ(convoy.enemies[1].y, 488.0f);
    EXPECT_EQ(director->scene, GameDirector::SceneGameOver);
    EXPECT_EQ(Count(played, GameDirector::SeShipHit), 1);
    EXPECT_FALSE(MusicPlaying());
    EXPECT_EQ(DebugLines().back(), "Bonus Ship Timer: 0") << "the update runs to its end";

    Run(90);
    EXPECT_EQ(director->scene, GameDirector::SceneTitleSetUp);
    EXPECT_EQ(director->hiScore, 12340);
}

TEST_F(DirectorPlay, ABonusShipFliesOnIntoTheNextStage)
{
    ASSERT_NO_FATAL_FAILURE(LaunchBonusShipOverASafeShip());
    for (EnemyObject& enemy : director->convoy->enemies)
    {
        enemy.active = false;
    }
    Update();
    ASSERT_EQ(director->stage, 2);
    EXPECT_TRUE(director->bonusShip->IsFlying());
    EXPECT_GE(director->bonusShipTimer, 1200);
    // The crossing takes 230 updates.
    ASSERT_TRUE(UpdateUntil("the bonus ship's crossing to end", 700,
                            [&] { return !director->bonusShip->IsFlying(); }));
    EXPECT_GE(director->bonusShipTimer, 600);
    EXPECT_LE(director->bonusShipTimer, 1200);
}
} // namespace
