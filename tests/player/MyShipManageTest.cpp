#include "player/MyShipManage.h"

#include "platform/Buttons.h"
#include "tests/support/SpriteChecks.h"

#include <gtest/gtest.h>

namespace
{

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
    EXPECT_TRUE(ShowsPlainly(ship, sheet::Ship, true));
    EXPECT_EQ(ship.hitRadius, 1.0f);
    EXPECT_EQ(ship.grazeRadius, 4.0f);
    EXPECT_TRUE(ship.hitEnabled);
    EXPECT_TRUE(ship.grazeEnabled);
}

TEST_F(ShipTest, LeftStopsExactlyAtTheLimit)
{
    for (int i = 0; i < 50; ++i)
    {
        EXPECT_TRUE(ship.Move(BUTTON_LEFT));
    }
    EXPECT_EQ(ship.x, 24.0f);
    ship.Move(BUTTON_LEFT);
    EXPECT_EQ(ship.x, 24.0f);
}

TEST_F(ShipTest, RightStopsExactlyAtTheLimit)
{
    for (int i = 0; i < 50; ++i)
    {
        ship.Move(BUTTON_RIGHT);
    }
    EXPECT_EQ(ship.x, 424.0f);
    ship.Move(BUTTON_RIGHT, BUTTON_RIGHT);
    EXPECT_EQ(ship.x, 424.0f);
}

TEST_F(ShipTest, OnlyLeftAndRightMoveTheShip)
{
    ship.Move(BUTTON_LEFT | BUTTON_RIGHT);
    EXPECT_EQ(ship.x, 224.0f);
    ship.Move(BUTTON_UP | BUTTON_DOWN | BUTTON_A);
    EXPECT_EQ(ship.x, 224.0f);
    EXPECT_EQ(ship.y, 460.0f);
    ship.Move(BUTTON_LEFT | BUTTON_UP);
    EXPECT_EQ(ship.x, 220.0f);
    EXPECT_EQ(ship.y, 460.0f);
    // The newly pressed word is not looked at.
    ship.Move(0, BUTTON_RIGHT);
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
