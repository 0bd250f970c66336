#include "player/MyShipManage.h"

#include <gtest/gtest.h>

namespace
{
constexpr uint32_t Up = 0x01, Down = 0x02, Left = 0x04, Right = 0x08, Fire = 0x10;

class ShipTest : public ::testing::Test
{
protected:
    void SetUp() override { ship.Reset(); }
    MyShipManage ship;
};

TEST(ShipConstruction, InvisibleAndHarmlessUntilReset)
{
    MyShipManage ship;
    EXPECT_FALSE(ship.visible);
    EXPECT_FALSE(ship.hitEnabled);
    EXPECT_FALSE(ship.grazeEnabled);
}

TEST_F(ShipTest, ResetPutsTheShipAtTheBottomCentre)
{
    EXPECT_EQ(ship.x, 224.0f);
    EXPECT_EQ(ship.y, 460.0f);
    EXPECT_EQ(ship.width, 16);
    EXPECT_EQ(ship.height, 24);
    EXPECT_EQ(ship.u, 0);
    EXPECT_EQ(ship.v, 0);
    EXPECT_EQ(ship.alpha, 1.0f);
    EXPECT_EQ(ship.scale, 1.0f);
    EXPECT_TRUE(ship.centered);
    EXPECT_TRUE(ship.active);
    EXPECT_TRUE(ship.visible);
    EXPECT_EQ(ship.hitRadius, 1.0f);
    EXPECT_EQ(ship.grazeRadius, 4.0f);
    EXPECT_TRUE(ship.hitEnabled);
    EXPECT_TRUE(ship.grazeEnabled);
}

TEST_F(ShipTest, LeftStopsExactlyAtTheLimit)
{
    for (int i = 0; i < 50; ++i)
    {
        EXPECT_TRUE(ship.Move(Left));
    }
    EXPECT_EQ(ship.x, 24.0f);
    ship.Move(Left);
    EXPECT_EQ(ship.x, 24.0f);
}

TEST_F(ShipTest, RightStopsExactlyAtTheLimit)
{
    for (int i = 0; i < 50; ++i)
    {
        ship.Move(Right);
    }
    EXPECT_EQ(ship.x, 424.0f);
    ship.Move(Right, Right);
    EXPECT_EQ(ship.x, 424.0f);
}

TEST_F(ShipTest, OnlyLeftAndRightMoveTheShip)
{
    ship.Move(Left | Right);
    EXPECT_EQ(ship.x, 224.0f);
    ship.Move(Up | Down | Fire);
    EXPECT_EQ(ship.x, 224.0f);
    EXPECT_EQ(ship.y, 460.0f);
    ship.Move(Left | Up);
    EXPECT_EQ(ship.x, 220.0f);
    EXPECT_EQ(ship.y, 460.0f);
    // The newly pressed word is not looked at.
    ship.Move(0, Right);
    EXPECT_EQ(ship.x, 220.0f);
}

TEST_F(ShipTest, BulletsHitWithinOneUnitPlusTheirRadius)
{
    ShootingObject bullet;
    bullet.SetHitRadius(4.0f);
    bullet.SetGrazeRadius(11.0f);
    bullet.hitEnabled = true;
    bullet.grazeEnabled = true;
    bullet.y = ship.y;
    bullet.x = ship.x + 5.0f;
    EXPECT_TRUE(ship.HitTest(bullet));
    bullet.x = ship.x + 5.5f;
    EXPECT_FALSE(ship.HitTest(bullet));
    bullet.x = ship.x + 15.0f;
    EXPECT_TRUE(ship.GrazeTest(bullet));
    bullet.x = ship.x + 15.5f;
    EXPECT_FALSE(ship.GrazeTest(bullet));
}
} // namespace
