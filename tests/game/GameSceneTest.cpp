// Scene-level runs of the real director through a real session: the title,
// a whole game that ends by a hit, a stage clear, and the high score.
#include "objects/SpriteSheet.h"
#include "platform/Screen.h"
#include "tests/support/GameHarness.h"

#include <algorithm>
#include <cstdlib>

namespace
{
bool Contains(const std::vector<int>& played, int effect)
{
    return std::find(played.begin(), played.end(), effect) != played.end();
}

using DirectorSession = skyreel_test::GameHarness;

TEST_F(DirectorSession, TheProgramOpensOnTheTitleAndCountsItsUpdates)
{
    EXPECT_EQ(director->scene, GameDirector::SceneTitleSetUp);
    EXPECT_EQ(director->clock, 0);
    EXPECT_EQ(director->stage, 1) << "a first game is prepared at start-up";

    Update();
    EXPECT_EQ(director->clock, 1);
    ASSERT_FALSE(DebugLines().empty());
    EXPECT_EQ(DebugLines()[0], "Clock: 1");
    EXPECT_EQ(director->scene, GameDirector::SceneTitle);
    EXPECT_EQ(CommandsUsed(), 1) << "the set-up update shows only the overlay";
    EXPECT_EQ(Command(0).width, ScreenWidth);
    EXPECT_EQ(Command(0).height, ScreenHeight);

    Update();
    EXPECT_EQ(DebugLines()[0], "Clock: 2");
    // Backdrop, title strip and large picture, then the overlay.
    EXPECT_EQ(CommandsUsed(), 4);
    EXPECT_EQ(Command(0).v, sheet::TitleBackdrop.v);
    EXPECT_EQ(Command(3).width, ScreenWidth);
}

TEST_F(DirectorSession, ATitleRunEndsNinetyOneUpdatesAfterTheConfirmAndStartsAGame)
{
    Run(1 + 1 + 90 + 1);
    ASSERT_EQ(director->title->state, TitleManage::StateWait);
    EXPECT_TRUE(Run(200).empty()) << "waiting makes no sound";
    EXPECT_EQ(director->scene, GameDirector::SceneTitle);

    const std::vector<int> played = Tap(SDLK_z);
    EXPECT_EQ(played, std::vector<int>{GameDirector::SeConfirm});
    EXPECT_TRUE(director->title->IsConfirmPressed());

    for (int i = 1; i < 91; ++i)
    {
        ASSERT_TRUE(Update().empty());
        ASSERT_EQ(director->scene, GameDirector::SceneTitle) << i;
    }
    Update();
    EXPECT_EQ(director->scene, GameDirector::SceneGameStart);

    // Game start: everything set up, nothing drawn but the overlay, and the
    // random numbers seeded with the clock.
    director->score = 777;
    director->stage = 5;
    Update();
    EXPECT_EQ(director->scene, GameDirector::ScenePlay);
    EXPECT_EQ(CommandsUsed(), 1);
    EXPECT_EQ(director->score, 0);
    EXPECT_EQ(director->stage, 1);
    EXPECT_EQ(director->grazeCount, 0);
    EXPECT_GE(director->bonusShipTimer, 1200);
    EXPECT_LE(director->bonusShipTimer, 2400);
    const int next = rand();
    srand(static_cast<unsigned>(director->clock));
    EXPECT_EQ(rand(), next);

    Update();
    EXPECT_EQ(director->scene, GameDirector::ScenePlay);
    EXPECT_GT(CommandsUsed(), 40) << "the field, the convoy and the panel are drawn";
}

TEST_F(DirectorSession, HoldingTheButtonDoesNotConfirmTheTitle)
{
    Run(10);
    PushKey(SDLK_z, true); // cuts the slide-in short, then stays held
    Run(300);
    EXPECT_EQ(director->scene, GameDirector::SceneTitle);
    EXPECT_EQ(director->title->state, TitleManage::StateWait);
    EXPECT_FALSE(Contains(Run(1), GameDirector::SeConfirm));
    PushKey(SDLK_z, false);
    Update();
    EXPECT_TRUE(Contains(Tap(SDLK_z), GameDirector::SeConfirm));
}

TEST_F(DirectorSession, AGameEndsByAHitAndReturnsToTheTitleAfterNinetyUpdates)
{
    PlayThroughTitle();
    Run(5);
    const float shipX = director->ship->x;
    AddBullet(director->ship->x, director->ship->y - 3.0f);

    const std::vector<int> played = Update();
    EXPECT_TRUE(Contains(played, GameDirector::SeShipHit));
    EXPECT_EQ(director->scene, GameDirector::SceneGameOver);
    EXPECT_EQ(director->gameOverTimer, 90);
    EXPECT_GT(CommandsUsed(), 40) << "the update of the hit is still drawn in full";

    // The frozen field: no enemies, the banner shown, the buttons not read.
    PushKey(SDLK_LEFT, true);
    for (int i = 1; i < 90; ++i)
    {
        ASSERT_TRUE(Update().empty());
        ASSERT_EQ(director->scene, GameDirector::SceneGameOver) << i;
        ASSERT_EQ(director->gameOverTimer, 90 - i);
        ASSERT_EQ(director->ship->x, shipX);
        for (int c = 0; c < CommandsUsed(); ++c)
        {
            const SpriteCommand& command = Command(c);
            ASSERT_FALSE(command.width == 16 && command.height == 24 && command.u >= 16)
                << "no enemy is drawn";
        }
    }
    EXPECT_TRUE(director->panel->gameOver);
    EXPECT_TRUE(director->panel->sprites[PanelManage::BannerItem].visible);
    PushKey(SDLK_LEFT, false);

    Update();
    EXPECT_EQ(director->scene, GameDirector::SceneTitleSetUp);
    Update();
    EXPECT_EQ(director->scene, GameDirector::SceneTitle);
    EXPECT_EQ(director->title->state, TitleManage::StateStart);

    // And round again: a second game starts from the title.
    Run(1 + 90 + 1);
    Tap(SDLK_z);
    Run(92);
    EXPECT_EQ(director->scene, GameDirector::ScenePlay);
    EXPECT_FALSE(director->panel->gameOver);
    EXPECT_EQ(director->ship->x, 224.0f);
}

TEST_F(DirectorSession, TheGameOverSceneDrawsTheFieldWithoutMovingIt)
{
    PlayThroughTitle();
    MakeShipUntouchable();
    Tap(SDLK_z);
    Run(3);
    AddBullet(100.0f, 300.0f);
    director->ship->hitEnabled = true;
    AddBullet(director->ship->x, director->ship->y);
    Update();
    ASSERT_EQ(director->scene, GameDirector::SceneGameOver);
    const float shotY = director->shot->y;
    const float angle = director->background->layers[1]->angle;
    const int bullets = director->bullets->count;

    Update();
    EXPECT_EQ(director->shot->y, shotY);
    EXPECT_EQ(director->background->layers[1]->angle, angle);
    EXPECT_EQ(director->bullets->count, bullets);
    // Background 2, shot, ship, the bullets, the panel (23 + banner), overlay.
    EXPECT_EQ(CommandsUsed(), 2 + 1 + 1 + bullets + 24 + 1);
    EXPECT_EQ(Command(2).u, 112) << "the shot right after the background";
    EXPECT_EQ(Command(3).u, 0) << "then the ship";
}

TEST_F(DirectorSession, ANewHighScoreShowsOnlyFromTheNextGame)
{
    PlayThroughTitle();
    director->score = 12340;
    AddBullet(director->ship->x, director->ship->y);
    Update();
    ASSERT_EQ(director->scene, GameDirector::SceneGameOver);
    EXPECT_EQ(director->hiScore, 0);

    Run(89);
    EXPECT_EQ(director->hiScore, 0) << "set only when the game-over scene ends";
    Update();
    EXPECT_EQ(director->hiScore, 12340);
    EXPECT_EQ(director->panel->hiScore, 0) << "the panel still shows the old best";

    PlayThroughTitle();
    EXPECT_EQ(director->panel->hiScore, 12340);
    Update();
    EXPECT_EQ(director->panel->sprites[PanelManage::HiScoreDigitsItem].u,
              StripFrame(sheet::Digit, 0).u)
        << "last digit 0";
    EXPECT_EQ(director->panel->sprites[PanelManage::HiScoreDigitsItem + 1].u,
              StripFrame(sheet::Digit, 4).u);

    // A game that only equals the best leaves it alone; a lower one too.
    director->score = 12340;
    AddBullet(director->ship->x, director->ship->y);
    Run(91);
    EXPECT_EQ(director->hiScore, 12340);
    PlayThroughTitle();
    director->score = 50;
    AddBullet(director->ship->x, director->ship->y);
    Run(91);
    EXPECT_EQ(director->hiScore, 12340);
}

TEST_F(DirectorSession, ClearingTheConvoyStartsTheNextStageWhenTheLastExplosionEnds)
{
    PlayThroughTitle();
    MakeShipUntouchable();
    ConvoyManage& convoy = *director->convoy;
    for (int i = 1; i < ConvoyManage::EnemyCount; ++i)
    {
        convoy.enemies[i].active = false;
        convoy.enemies[i].visible = false;
        convoy.enemies[i].hitEnabled = false;
    }
    // A live shot right under the last enemy.
    ASSERT_TRUE(director->shot->Fire(*director->ship));
    director->shot->x = convoy.enemies[0].x;
    director->shot->y = convoy.enemies[0].y + 4.0f;

    std::vector<int> played = Update();
    EXPECT_TRUE(Contains(played, GameDirector::SeEnemyDestroyed));
    EXPECT_EQ(director->score, 1000);
    EXPECT_EQ(convoy.CountAlive(), 1) << "the exploding enemy still counts";

    for (int i = 1; i < 15; ++i)
    {
        Update();
        ASSERT_EQ(director->stage, 1) << i;
    }
    // Two bullets that could still hit and the debris, which cannot.
    AddBullet(60.0f, 300.0f);
    AddBullet(380.0f, 300.0f);
    director->bonusShipTimer = 5000;
    const int debris = director->bullets->count - 2;
    ASSERT_GT(debris, 0);
    Update();
    EXPECT_EQ(director->stage, 2);
    EXPECT_EQ(director->score, 1000 + 2000);
    EXPECT_EQ(convoy.CountAlive(), 40);
    EXPECT_EQ(convoy.stage, 2);
    EXPECT_EQ(convoy.enemies[0].y, 260.0f);
    EXPECT_EQ(director->bullets->count, 0);
    EXPECT_EQ(director->panel->stage, 2);
    EXPECT_GE(director->bonusShipTimer, 1200);
    EXPECT_LE(director->bonusShipTimer, 2400);
    ASSERT_EQ(DebugLines().size(), 3u);
    EXPECT_EQ(DebugLines()[1], "Bullet Num: 0") << "no bullet or debris drawn in that picture";

    Update();
    EXPECT_EQ(director->scene, GameDirector::ScenePlay);
    EXPECT_EQ(director->panel->sprites[PanelManage::StageDigitsItem].u,
              StripFrame(sheet::Digit, 2).u);
}
} // namespace
