#include "enemies/BonusShipManage.h"

#include "bullets/Angle.h"
#include "player/MyShipManage.h"
#include "player/MyShotManage.h"
#include "tests/support/SpriteChecks.h"
#include "tests/support/Waits.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace
{
// A seed whose first RandomRange(0, 1) draw gives `side`; one of the first
// hundred has it unless the draw is broken.
unsigned SeedForSide(int side)
{
    unsigned seed = 1;
    EXPECT_TRUE(skyreel_test::StepUntil(
        "a seed that launches from side " + std::to_string(side), 100,
        [&]
        {
            srand(seed);
            return RandomRange(0, 1) == side;
        },
        [&] { ++seed; }));
    return seed;
}

class BonusShipTest : public ::testing::Test
{
protected:
    void LaunchFrom(int side)
    {
        srand(SeedForSide(side));
        ASSERT_TRUE(bonus.Launch());
    }

    BonusShipManage bonus;
};

TEST_F(BonusShipTest, LaunchFromTheLeftFliesLevel)
{
    LaunchFrom(1);
    EXPECT_EQ(bonus.x, 1.0f);
    EXPECT_EQ(bonus.y, 40.0f);
    EXPECT_EQ(bonus.direction, 0.0f);
    EXPECT_TRUE(ShowsPlainly(bonus, StripFrame(sheet::BonusShip, 0), true));
    EXPECT_EQ(bonus.hitRadius, 16.0f);
    EXPECT_EQ(bonus.grazeRadius, 16.0f);
    EXPECT_FALSE(bonus.grazeEnabled);
    EXPECT_TRUE(bonus.hitEnabled);
    EXPECT_EQ(bonus.speed, 2.0f);
    EXPECT_EQ(bonus.maxSpeed, 5.0f);
    EXPECT_EQ(bonus.life, 3600);
    EXPECT_TRUE(bonus.IsFlying());

    int moves = 0;
    ASSERT_TRUE(skyreel_test::StepUntil(
        "the end of the crossing", 700, [&] { return !bonus.Move(); },
        [&]
        {
            ++moves;
            EXPECT_EQ(bonus.y, 40.0f);
        }));
    EXPECT_EQ(moves, 229);
    EXPECT_EQ(bonus.x, 461.0f);
}

TEST_F(BonusShipTest, LaunchFromTheRightSinksSlowly)
{
    LaunchFrom(0);
    EXPECT_EQ(bonus.x, 446.0f);
    EXPECT_EQ(bonus.y, 40.0f);
    EXPECT_EQ(bonus.direction, 32767.5f);

    int moves = 0;
    ASSERT_TRUE(skyreel_test::StepUntil(
        "the end of the crossing", 700, [&] { return !bonus.Move(); }, [&] { ++moves; }));
    EXPECT_EQ(moves, 229);
    // 230 steps of 2.0 along 179 degrees, the last one taking it past x = -12.
    EXPECT_NEAR(bonus.x, 446.0f - 230 * 2.0f * 0.999848f, 0.01f);
    EXPECT_NEAR(bonus.y, 40.0f + 230 * 2.0f * 0.017452f, 0.01f);
}

TEST_F(BonusShipTest, TheCrossingEndsOffTheField)
{
    LaunchFrom(1);
    ASSERT_TRUE(skyreel_test::StepUntil(
        "the end of the crossing", 700, [&] { return !bonus.Move(); }, [] {}));
    EXPECT_FALSE(bonus.IsFlying());
    EXPECT_FALSE(bonus.visible);
    EXPECT_FALSE(bonus.active);
    EXPECT_FALSE(bonus.hitEnabled);
}

TEST_F(BonusShipTest, LaunchWhileFlyingDrawsNothingAndChangesNothing)
{
    LaunchFrom(1);
    bonus.Move();
    const float x = bonus.x;

    srand(77);
    const int first = rand();
    srand(77);
    EXPECT_FALSE(bonus.Launch());
    EXPECT_EQ(rand(), first) << "no random number was drawn";
    EXPECT_EQ(bonus.x, x);
    EXPECT_EQ(bonus.flapCount, 1);
}

TEST_F(BonusShipTest, FlapsEveryFourFrames)
{
    LaunchFrom(1);
    for (int frame = 1; frame <= 24; ++frame)
    {
        ASSERT_TRUE(bonus.Move());
        const SheetRect expected = StripFrame(sheet::BonusShip, (frame / 4) % 2);
        ASSERT_EQ(PictureOf(bonus), expected) << "frame " << frame;
    }
}

TEST_F(BonusShipTest, AStrikeRemovesItAndSpendsTheShotWithoutHoldingIt)
{
    MyShipManage ship;
    ship.Reset();
    MyShotManage shot;
    LaunchFrom(1);
    ASSERT_TRUE(shot.Fire(ship));
    shot.x = bonus.x + 20.0f; // at the edge of both circles
    shot.y = bonus.y;
    ASSERT_TRUE(bonus.HitByShot(shot));
    EXPECT_FALSE(bonus.IsFlying());
    EXPECT_FALSE(bonus.visible || bonus.active || bonus.hitEnabled);
    EXPECT_FALSE(shot.visible || shot.active || shot.hitEnabled);
    EXPECT_TRUE(shot.inFlight);
    EXPECT_EQ(shot.holdFrames, 0);
    EXPECT_FALSE(bonus.HitByShot(shot));
}

TEST_F(BonusShipTest, AShotJustOutOfReachMisses)
{
    MyShipManage ship;
    ship.Reset();
    MyShotManage shot;
    LaunchFrom(1);
    shot.Fire(ship);
    shot.x = bonus.x + 20.01f;
    shot.y = bonus.y;
    EXPECT_FALSE(bonus.HitByShot(shot));
    EXPECT_TRUE(bonus.IsFlying());
}

TEST_F(BonusShipTest, ResetTakesItOffTheFieldAtOnce)
{
    LaunchFrom(1);
    bonus.Reset(1);
    EXPECT_FALSE(bonus.IsFlying());
    EXPECT_FALSE(bonus.visible || bonus.active || bonus.hitEnabled);
    EXPECT_EQ(bonus.variant, 1);
    LaunchFrom(0);
    EXPECT_EQ(PictureOf(bonus), PictureRow(sheet::BonusShip, 1));
}

} // namespace
