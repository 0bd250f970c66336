#include "enemies/ConvoyManage.h"

#include "bullets/Angle.h"
#include "bullets/BulletMaker.h"
#include "bullets/BulletManage.h"
#include "player/MyShipManage.h"
#include "player/MyShotManage.h"
#include "tests/support/RenderFixture.h"
#include "tests/support/SpriteChecks.h"

#include <cstdlib>
#include <vector>

namespace
{
class ConvoyTest : public skyreel_test::RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        ship.Reset();
        auto* maker = new BulletMaker();
        maker->SetTarget(&ship);
        maker->SetRenderContext(context);
        maker->SetManager(&bullets);
        convoy.SetRenderContext(context);
        convoy.SetBulletMaker(maker);
        convoy.StartStage(1);
    }

    // Runs updates until one ends a sweep; returns the number of calls.
    int RunSweep()
    {
        for (int calls = 1; calls <= 100; ++calls)
        {
            if (convoy.Update())
            {
                return calls;
            }
        }
        return -1;
    }

    // Runs `sweeps` sweeps, each of which must end in march state `state`.
    void SweepsEndIn(int sweeps, int state)
    {
        for (int sweep = 1; sweep <= sweeps; ++sweep)
        {
            RunSweep();
            ASSERT_EQ(convoy.marchState, state) << "sweep " << sweep;
        }
    }

    // A live shot sitting on the enemy.
    void AimShotAt(const EnemyObject& enemy)
    {
        ASSERT_TRUE(shot.Fire(ship));
        shot.x = enemy.x;
        shot.y = enemy.y;
    }

    void Deactivate(int first, int last)
    {
        for (int i = first; i <= last; ++i)
        {
            convoy.enemies[i].active = false;
            convoy.enemies[i].visible = false;
            convoy.enemies[i].hitEnabled = false;
        }
    }

    // Bullets in the list that are emitters.
    std::vector<BulletMaker*> Emitters() const
    {
        std::vector<BulletMaker*> found;
        for (BulletMaker* b = bullets.head; b != nullptr; b = static_cast<BulletMaker*>(b->next))
        {
            if (b->motionType >= MotionColumn && b->motionType <= MotionRing)
            {
                found.push_back(b);
            }
        }
        return found;
    }

    BulletManage bullets;
    MyShipManage ship;
    MyShotManage shot;
    ConvoyManage convoy;
};

TEST_F(ConvoyTest, StageOneLaysOutFourRowsOfTen)
{
    const float rowY[4] = {250.0f, 200.0f, 150.0f, 100.0f};
    for (int i = 0; i < ConvoyManage::EnemyCount; ++i)
    {
        const EnemyObject& enemy = convoy.enemies[i];
        const int row = i / 10;
        const int col = i % 10;
        EXPECT_EQ(enemy.x, 40.0f + 40.0f * col) << i;
        EXPECT_EQ(enemy.y, rowY[row]) << i;
        EXPECT_EQ(enemy.GetScore(), 1000 * (row + 1)) << i;
        EXPECT_TRUE(ShowsPlainly(enemy, sheet::EnemyWalk, true)) << i;
        EXPECT_EQ(enemy.hitRadius, 8.0f);
        EXPECT_EQ(enemy.grazeRadius, 8.0f);
        EXPECT_TRUE(enemy.hitEnabled);
        EXPECT_FALSE(enemy.exploding);
        EXPECT_EQ(enemy.renderContext, context);
    }
    EXPECT_EQ(convoy.bulletMaker->level, 1);
    EXPECT_EQ(convoy.CountAlive(), 40);
}

TEST_F(ConvoyTest, LaterStagesStartLowerUpToALimit)
{
    convoy.StartStage(4);
    EXPECT_EQ(convoy.enemies[0].y, 280.0f);
    EXPECT_EQ(convoy.bulletMaker->level, 4);
    for (int stage : {10, 11, 57})
    {
        convoy.StartStage(stage);
        EXPECT_EQ(convoy.enemies[0].y, 340.0f) << stage;
        EXPECT_EQ(convoy.enemies[10].y, 290.0f) << stage;
        EXPECT_EQ(convoy.enemies[20].y, 240.0f) << stage;
        EXPECT_EQ(convoy.enemies[39].y, 190.0f) << stage;
    }
}

TEST_F(ConvoyTest, OneEnemyStepsPerUpdateAndASweepTakesFortyOne)
{
    EXPECT_FALSE(convoy.Update());
    EXPECT_EQ(convoy.enemies[0].x, 46.0f);
    EXPECT_EQ(convoy.enemies[1].x, 80.0f);
    EXPECT_FALSE(convoy.Update());
    EXPECT_EQ(convoy.enemies[1].x, 86.0f);

    for (int call = 3; call <= 40; ++call)
    {
        ASSERT_FALSE(convoy.Update()) << call;
    }
    EXPECT_EQ(convoy.enemies[39].x, 406.0f);
    EXPECT_TRUE(convoy.Update()) << "the 41st call ends the sweep without stepping";
    EXPECT_EQ(convoy.enemies[0].x, 46.0f);
    EXPECT_EQ(RunSweep(), 41);
    EXPECT_EQ(RunSweep(), 41);
}

TEST_F(ConvoyTest, TheAnimationRipplesThroughTheFormation)
{
    RunSweep();
    EXPECT_EQ(convoy.animFrame, 1);
    convoy.Update();
    EXPECT_EQ(convoy.enemies[0].u, 32);
    EXPECT_EQ(convoy.enemies[1].u, 16);
    convoy.Update();
    EXPECT_EQ(convoy.enemies[1].u, 32);
}

TEST_F(ConvoyTest, MarchesRightStepsDownMarchesLeftStepsDown)
{
    ASSERT_NO_FATAL_FAILURE(SweepsEndIn(4, ConvoyManage::MarchRight));
    ASSERT_NO_FATAL_FAILURE(SweepsEndIn(1, ConvoyManage::StepDownRight));
    EXPECT_EQ(convoy.enemies[9].x, 430.0f);

    ASSERT_NO_FATAL_FAILURE(SweepsEndIn(1, ConvoyManage::MarchLeft));
    EXPECT_EQ(convoy.enemies[0].y, 258.0f);
    EXPECT_EQ(convoy.enemies[9].x, 430.0f);

    ASSERT_NO_FATAL_FAILURE(SweepsEndIn(8, ConvoyManage::MarchLeft));
    ASSERT_NO_FATAL_FAILURE(SweepsEndIn(1, ConvoyManage::StepDownLeft));
    EXPECT_EQ(convoy.enemies[0].x, 16.0f);

    ASSERT_NO_FATAL_FAILURE(SweepsEndIn(1, ConvoyManage::MarchRight));
    EXPECT_EQ(convoy.enemies[0].y, 266.0f);
}

TEST_F(ConvoyTest, InactiveEnemiesAreSkippedAndFewerEnemiesMarchFaster)
{
    Deactivate(1, 5);
    convoy.Update();
    EXPECT_EQ(convoy.enemies[0].x, 46.0f);
    convoy.Update();
    EXPECT_EQ(convoy.enemies[6].x, 286.0f) << "five inactive enemies skipped in one update";
    EXPECT_EQ(convoy.nextIndex, 7);

    convoy.StartStage(1);
    Deactivate(0, 38);
    EXPECT_EQ(RunSweep(), 2);
    EXPECT_EQ(RunSweep(), 2);
}

TEST_F(ConvoyTest, AStruckEnemyScoresByRowAndStopsTheConvoy)
{
    AimShotAt(convoy.enemies[3]);
    EXPECT_EQ(convoy.HitByShot(shot), 1000);
    EXPECT_TRUE(convoy.enemies[3].exploding);
    EXPECT_EQ(convoy.pauseFrames, 15);
    EXPECT_FALSE(shot.visible);
    EXPECT_FALSE(shot.active);
    EXPECT_FALSE(shot.hitEnabled);
    EXPECT_EQ(shot.holdFrames, 15);
    EXPECT_EQ(bullets.count, 20) << "a small debris burst";
    EXPECT_EQ(convoy.HitByShot(shot), 0) << "a spent shot strikes nothing";

    const float x0 = convoy.enemies[0].x;
    for (int frame = 1; frame <= 15; ++frame)
    {
        ClearSpriteCommands(context);
        ASSERT_FALSE(convoy.Update()) << frame;
        ASSERT_EQ(convoy.enemies[0].x, x0) << "no enemy steps during the standstill";
        if (frame < 15)
        {
            ASSERT_TRUE(convoy.enemies[3].visible);
            ASSERT_EQ(convoy.enemies[3].u, 48);
            ASSERT_EQ(convoy.CountAlive(), 40) << "an exploding enemy still counts";
            ASSERT_EQ(Used(), 40);
        }
    }
    EXPECT_FALSE(convoy.enemies[3].active);
    EXPECT_FALSE(convoy.enemies[3].visible);
    EXPECT_FALSE(convoy.enemies[3].exploding);
    EXPECT_EQ(convoy.CountAlive(), 39);
    EXPECT_EQ(Used(), 39);

    convoy.Update();
    EXPECT_EQ(convoy.enemies[0].x, x0 + 6.0f) << "marching again";
}

TEST_F(ConvoyTest, TheTopRowIsWorthFourThousand)
{
    AimShotAt(convoy.enemies[37]);
    EXPECT_EQ(convoy.HitByShot(shot), 4000);
}

TEST_F(ConvoyTest, OneShotStrikesOneEnemy)
{
    convoy.enemies[4].x = convoy.enemies[3].x + 1.0f;
    convoy.enemies[4].y = convoy.enemies[3].y;
    AimShotAt(convoy.enemies[3]);
    EXPECT_EQ(convoy.HitByShot(shot), 1000);
    EXPECT_TRUE(convoy.enemies[3].exploding);
    EXPECT_FALSE(convoy.enemies[4].exploding);
}

TEST_F(ConvoyTest, VolleysFollowTheStagePeriodInMarchingFrames)
{
    struct Case
    {
        int stage;
        int period;
    };
    for (const Case c : {Case{1, 100}, Case{2, 80}, Case{3, 80}, Case{4, 60}, Case{12, 60}})
    {
        bullets.Clear();
        convoy.StartStage(c.stage);
        for (int call = 1; call < c.period; ++call)
        {
            convoy.Update();
        }
        ASSERT_EQ(bullets.count, 0) << c.stage;
        convoy.Update();
        EXPECT_EQ(Emitters().size(), 1u) << c.stage;
    }
}

TEST_F(ConvoyTest, StandstillFramesDoNotCountTowardsAVolley)
{
    for (int call = 1; call <= 50; ++call)
    {
        convoy.Update();
    }
    AimShotAt(convoy.enemies[5]);
    convoy.HitByShot(shot);
    bullets.Clear(); // drop the debris
    for (int call = 1; call <= 15 + 49; ++call)
    {
        convoy.Update();
    }
    EXPECT_EQ(convoy.fireClock, 99);
    EXPECT_TRUE(Emitters().empty());
    convoy.Update();
    EXPECT_EQ(Emitters().size(), 1u);
}

int PatternOf(const BulletMaker& emitter)
{
    switch (emitter.motionType)
    {
    case MotionColumn:
        return PatternColumn;
    case MotionAimed:
        return PatternAimed;
    case MotionFan:
        return PatternFan;
    default:
        return PatternRing;
    }
}

TEST_F(ConvoyTest, AFullConvoyOnlyFiresColumns)
{
    Deactivate(0, 3); // 36 left
    for (unsigned seed = 1; seed <= 20; ++seed)
    {
        bullets.Clear();
        convoy.fireClock = 99;
        srand(seed);
        convoy.Update();
        const std::vector<BulletMaker*> emitters = Emitters();
        ASSERT_EQ(emitters.size(), 1u);
        EXPECT_EQ(PatternOf(*emitters[0]), PatternColumn) << seed;
    }
}

TEST_F(ConvoyTest, TheLowestEnemyOfARandomColumnFiresARandomPattern)
{
    // Fifteen left: the top row, and columns 5..9 of row 2. Columns 0..4 are
    // led by row 3, columns 5..9 by row 2.
    Deactivate(0, 24);
    ASSERT_EQ(convoy.CountAlive(), 15);
    bool seen[4] = {};
    for (unsigned seed = 1; seed <= 60; ++seed)
    {
        bullets.Clear();
        convoy.StartStage(1);
        Deactivate(0, 24);
        convoy.fireClock = 99;

        // The same draws the convoy makes, pattern first.
        srand(seed);
        const int pattern = RandomRange(PatternColumn, PatternRing);
        const int column = RandomRange(0, 9);
        const EnemyObject& shooter = convoy.enemies[column < 5 ? 30 + column : 20 + column];

        srand(seed);
        convoy.Update();
        const std::vector<BulletMaker*> emitters = Emitters();
        ASSERT_FALSE(emitters.empty()) << seed;
        EXPECT_EQ(PatternOf(*emitters[0]), pattern) << seed;
        EXPECT_EQ(emitters[0]->x, shooter.x) << seed;
        EXPECT_EQ(emitters[0]->y, shooter.y) << seed;
        EXPECT_EQ(emitters[0]->owner, &shooter) << seed;
        seen[pattern] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2] && seen[3]);
}

TEST_F(ConvoyTest, ThePatternCeilingGrowsAsTheConvoyThins)
{
    struct Case
    {
        int alive;
        int highest;
    };
    for (const Case c :
         {Case{36, PatternColumn}, Case{35, PatternAimed}, Case{26, PatternAimed},
          Case{25, PatternFan}, Case{16, PatternFan}, Case{15, PatternRing}, Case{1, PatternRing}})
    {
        int highestSeen = -1;
        for (unsigned seed = 1; seed <= 40; ++seed)
        {
            bullets.Clear();
            convoy.StartStage(1);
            Deactivate(0, 39 - c.alive);
            convoy.fireClock = 99;
            srand(seed);
            convoy.Update();
            const std::vector<BulletMaker*> emitters = Emitters();
            ASSERT_FALSE(emitters.empty());
            highestSeen = std::max(highestSeen, PatternOf(*emitters[0]));
        }
        EXPECT_EQ(highestSeen, c.highest) << c.alive << " alive";
    }
}

TEST_F(ConvoyTest, AnEmptyConvoyFiresNothing)
{
    Deactivate(0, 39);
    for (int call = 1; call <= 100; ++call)
    {
        convoy.Update();
    }
    EXPECT_EQ(bullets.count, 0);
}

TEST_F(ConvoyTest, ANewStageBringsEveryEnemyBackIntoFormation)
{
    for (int call = 0; call < 30; ++call)
    {
        convoy.Update();
    }
    Deactivate(10, 12);
    AimShotAt(convoy.enemies[0]);
    convoy.HitByShot(shot);
    convoy.Update(); // mid-standstill

    convoy.StartStage(1);
    EXPECT_EQ(convoy.pauseFrames, 0);
    EXPECT_EQ(convoy.fireClock, 0);
    EXPECT_EQ(convoy.nextIndex, 0);
    EXPECT_EQ(convoy.animFrame, 0);
    EXPECT_EQ(convoy.marchState, ConvoyManage::MarchRight);
    for (const EnemyObject& enemy : convoy.enemies)
    {
        EXPECT_FALSE(enemy.exploding);
        EXPECT_TRUE(enemy.active && enemy.visible && enemy.hitEnabled);
        EXPECT_EQ(enemy.u, 16);
    }
    EXPECT_EQ(convoy.enemies[0].x, 40.0f);
}
} // namespace
