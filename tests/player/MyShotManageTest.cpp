#include "player/MyShotManage.h"

#include "bullets/Angle.h"
#include "platform/Buttons.h"
#include "player/MyShipManage.h"
#include "tests/support/SpriteChecks.h"

#include <gtest/gtest.h>

namespace
{
class ShotTest : public ::testing::Test
{
protected:
    void SetUp() override { ship.Reset(); }

    // A play frame's share of the shot: fire on a press, then move.
    bool Frame(bool press)
    {
        bool fired = false;
        if (press)
        {
            fired = shot.Fire(ship);
        }
        shot.Move();
        return fired;
    }

    MyShipManage ship;
    MyShotManage shot;
};

TEST_F(ShotTest, StartsIdle)
{
    EXPECT_FALSE(shot.inFlight);
    EXPECT_EQ(shot.holdFrames, 0);
    EXPECT_FALSE(shot.Move());
    EXPECT_FALSE(shot.visible);
}

TEST_F(ShotTest, FireLaunchesFromFourUnitsAboveTheShip)
{
    ship.Move(BUTTON_LEFT);
    ASSERT_TRUE(shot.Fire(ship));
    EXPECT_EQ(shot.x, 220.0f);
    EXPECT_EQ(shot.y, 456.0f);
    EXPECT_TRUE(ShowsPlainly(shot, sheet::PlayerShot, true));
    EXPECT_TRUE(shot.hitEnabled);
    EXPECT_FALSE(shot.grazeEnabled);
    EXPECT_EQ(shot.hitRadius, 4.0f);
    EXPECT_EQ(shot.direction, AngleUp);
    EXPECT_EQ(shot.speed, 1.0f);
    EXPECT_EQ(shot.acceleration, 0.2f);
    EXPECT_EQ(shot.maxSpeed, 20.0f);
    EXPECT_EQ(shot.life, 600);
    EXPECT_EQ(shot.prev, nullptr);
    EXPECT_EQ(shot.next, nullptr);
    EXPECT_TRUE(shot.inFlight);
}

TEST_F(ShotTest, RisesFasterEachFrameStraightUp)
{
    shot.Fire(ship);
    ASSERT_TRUE(shot.Move());
    EXPECT_FLOAT_EQ(shot.y, 456.0f - 1.2f);
    ASSERT_TRUE(shot.Move());
    EXPECT_FLOAT_EQ(shot.y, 456.0f - 1.2f - 1.4f);
    EXPECT_EQ(shot.x, 224.0f);
}

TEST_F(ShotTest, OneShotAtATime)
{
    ASSERT_TRUE(shot.Fire(ship));
    shot.Move();
    const float y = shot.y;
    EXPECT_FALSE(shot.Fire(ship));
    EXPECT_EQ(shot.y, y) << "a refused fire changes nothing";
}

TEST_F(ShotTest, AMissLeavesTheFieldOnTheSixtyThirdMove)
{
    ASSERT_TRUE(Frame(true));
    int moves = 1;
    while (shot.inFlight && moves < 100)
    {
        ASSERT_FALSE(shot.Fire(ship));
        shot.Move();
        ++moves;
    }
    EXPECT_EQ(moves, 63);
    EXPECT_FALSE(shot.visible);
    EXPECT_FALSE(shot.hitEnabled);
    EXPECT_FALSE(shot.active);
    // The very next frame can fire again.
    EXPECT_TRUE(Frame(true));
}

TEST_F(ShotTest, AConvoyHitHoldsTheShotForFifteenFrames)
{
    Frame(true);
    // Frame N: the convoy strikes it after its move.
    shot.active = shot.visible = shot.hitEnabled = false;
    shot.OnHit(15);
    const float y = shot.y;
    for (int frame = 1; frame <= 15; ++frame)
    {
        EXPECT_FALSE(Frame(true)) << "frame N+" << frame;
        EXPECT_EQ(shot.y, y) << "a held shot does not move";
    }
    EXPECT_FALSE(shot.inFlight);
    EXPECT_EQ(shot.holdFrames, 0);
    EXPECT_TRUE(Frame(true)) << "frame N+16";
}

TEST_F(ShotTest, OnHitMovesAreReportedUntilTheHoldEnds)
{
    shot.Fire(ship);
    shot.OnHit(3);
    EXPECT_FALSE(shot.visible);
    EXPECT_TRUE(shot.Move());
    EXPECT_TRUE(shot.Move());
    EXPECT_TRUE(shot.inFlight);
    EXPECT_FALSE(shot.Move());
    EXPECT_FALSE(shot.inFlight);
}

TEST_F(ShotTest, ANegativeHoldEndsAtOnceAndLeavesTheShotUsable)
{
    shot.Fire(ship);
    shot.OnHit(-4);
    EXPECT_FALSE(shot.Move());
    EXPECT_FALSE(shot.inFlight);
    EXPECT_EQ(shot.holdFrames, 0);
    // The next shot flies normally instead of being held for ever.
    ASSERT_TRUE(shot.Fire(ship));
    EXPECT_TRUE(shot.Move());
    EXPECT_LT(shot.y, 456.0f);
}

TEST_F(ShotTest, ASpentShotFliesOnInvisibleUntilItLeaves)
{
    Frame(true);
    // What a strike on the bonus ship does to the shot: no hold.
    shot.active = shot.visible = shot.hitEnabled = false;
    int frames = 1;
    while (shot.inFlight && frames < 100)
    {
        const float y = shot.y;
        ASSERT_FALSE(Frame(true));
        if (shot.inFlight)
        {
            ASSERT_LT(shot.y, y);
            ASSERT_FALSE(shot.visible);
        }
        ++frames;
    }
    EXPECT_EQ(frames, 63);
    EXPECT_TRUE(Frame(true));
}
} // namespace
