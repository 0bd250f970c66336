#include "bullets/BulletBase.h"

#include "bullets/Angle.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace
{

BulletBase Bullet(float x, float y, float direction, float speed)
{
    BulletBase b;
    b.x = x;
    b.y = y;
    b.width = 8;
    b.height = 8;
    b.direction = direction;
    b.speed = speed;
    b.maxSpeed = 5.0f;
    b.life = 100;
    return b;
}

} // namespace

TEST(BulletBaseConstruction, UnitSpeedNoLifeNoLinks)
{
    const BulletBase b;
    EXPECT_EQ(b.speed, 1.0f);
    EXPECT_EQ(b.maxSpeed, 0.0f);
    EXPECT_EQ(b.life, 0);
    EXPECT_EQ(b.prev, nullptr);
    EXPECT_EQ(b.next, nullptr);
}

TEST(BulletBaseSpeed, AccelerationAppliesOnlyBelowTheTopSpeed)
{
    BulletBase b = Bullet(100.0f, 100.0f, AngleDown, 3.0f);
    ASSERT_TRUE(b.Move());
    EXPECT_EQ(b.x, 100.0f);
    EXPECT_EQ(b.y, 103.0f);

    // Not below the top speed: no deceleration either.
    b = Bullet(100.0f, 100.0f, 0.0f, 2.0f);
    b.maxSpeed = 1.0f;
    b.acceleration = -0.5f;
    b.Move();
    EXPECT_EQ(b.speed, 2.0f);
    // Nor at exactly the top speed: it moves on at that speed.
    b = Bullet(100.0f, 100.0f, 0.0f, 2.0f);
    b.maxSpeed = 2.0f;
    b.acceleration = 0.5f;
    b.Move();
    EXPECT_EQ(b.speed, 2.0f);
    EXPECT_EQ(b.x, 102.0f);

    // Driven below zero: stops and stays.
    b = Bullet(100.0f, 100.0f, 0.0f, 0.1f);
    b.acceleration = -0.3f;
    b.Move();
    EXPECT_EQ(b.speed, 0.0f);
    EXPECT_EQ(b.x, 100.0f);

    // Ends on the first value at or above the top speed, unclamped.
    b = Bullet(100.0f, 100.0f, 0.0f, 1.0f);
    b.maxSpeed = 2.0f;
    b.acceleration = 0.375f;
    for (int i = 0; i < 5; ++i)
    {
        b.Move();
    }
    EXPECT_EQ(b.speed, 2.125f);
}

TEST(BulletBaseHeading, WrapsIntoOneTurnAndTruncates)
{
    BulletBase up = Bullet(100.0f, 100.0f, AngleUp, 2.0f);
    BulletBase negative = Bullet(100.0f, 100.0f, -AngleDown, 2.0f);
    BulletBase offset = Bullet(100.0f, 100.0f, AngleLeft, 2.0f);
    offset.directionOffset = AngleDown;
    BulletBase turns = Bullet(100.0f, 100.0f, AngleUnitsPerTurn * 3 + AngleUp, 2.0f);
    for (BulletBase* b : {&up, &negative, &offset, &turns})
    {
        b->Move();
        EXPECT_EQ(b->x, 100.0f);
        EXPECT_EQ(b->y, 98.0f);
    }

    // -2640 travels exactly as 62896; 1000.9 as 1000.
    BulletBase wrapped = Bullet(100.0f, 100.0f, -2640.0f, 2.0f);
    BulletBase plain = Bullet(100.0f, 100.0f, 62896.0f, 2.0f);
    wrapped.Move();
    plain.Move();
    EXPECT_EQ(wrapped.x, plain.x);
    EXPECT_EQ(wrapped.y, plain.y);
    BulletBase fraction = Bullet(0.0f, 0.0f, 1000.9f, 1.0f);
    fraction.Move();
    EXPECT_EQ(fraction.x, CosAngle(1000));
    EXPECT_EQ(fraction.y, SinAngle(1000));

    // Exactly zero and exactly whole turns, either way round, are heading 0.
    BulletBase whole = Bullet(0.0f, 0.0f, AngleUp, 1.0f);
    whole.directionOffset = AngleDown;
    EXPECT_EQ(whole.Heading(), 0);
    for (float direction : {0.0f, -0.0f, 65536.0f, -65536.0f, 65536.0f * 5.0f})
    {
        EXPECT_EQ(Bullet(0.0f, 0.0f, direction, 1.0f).Heading(), 0) << direction;
    }
}

TEST(BulletBaseHeading, NonFiniteOrHugeHeadingsStayDefined)
{
    BulletBase b = Bullet(100.0f, 100.0f, std::numeric_limits<float>::quiet_NaN(), 1.0f);
    b.Move();
    EXPECT_EQ(b.x, 101.0f); // heading 0
    b.direction = 1e30f;
    b.spin = std::numeric_limits<float>::infinity();
    b.Move();
    EXPECT_TRUE(std::isfinite(b.x));
    EXPECT_EQ(b.angle, 0.0f);
}

TEST(BulletBaseFlight, SetsOutAlongTheHeadingWhateverOffsetAndSpinCameBefore)
{
    // Turned and spun by a pattern, then sent off straight along heading 0.
    BulletBase b = Bullet(100.0f, 100.0f, 8192.0f, 1.0f);
    b.directionOffset = 16384.0f;
    b.spin = 500.0f;
    b.angle = 300.0f;
    b.SetFlight(0.0f, 2.0f, 0.5f, 4.0f, 3);
    EXPECT_EQ(b.Heading(), 0);
    ASSERT_TRUE(b.Move());
    EXPECT_EQ(b.x, 102.5f);
    EXPECT_EQ(b.y, 100.0f);
    EXPECT_EQ(b.angle, 300.0f);
    EXPECT_EQ(b.life, 2);
}

TEST(BulletBaseSpin, AngleKeepsTheRemainderOfOneTurnWithItsSign)
{
    BulletBase b = Bullet(100.0f, 100.0f, 0.0f, 0.0f);
    b.angle = 64000.0f;
    b.spin = 3500.0f;
    b.Move();
    EXPECT_EQ(b.angle, 1964.0f);

    b.angle = 100.0f;
    b.spin = -300.5f;
    b.Move();
    EXPECT_EQ(b.angle, -200.0f);
    b.spin = -65400.0f;
    b.Move();
    EXPECT_EQ(b.angle, -65600.0f + 65536.0f);
}

TEST(BulletBaseBounds, BoxMustOverlapTheFieldStrictly)
{
    const struct
    {
        float x, y;
        float direction;
        bool inside;
    } cases[] = {
        {451.9f, 100.0f, 0.0f, true}, {452.0f, 100.0f, 0.0f, false}, {-3.9f, 100.0f, 0.0f, true},
        {-4.0f, 100.0f, 0.0f, false}, {100.0f, -3.9f, 0.0f, true},   {100.0f, -4.0f, 0.0f, false},
        {100.0f, 483.9f, 0.0f, true}, {100.0f, 484.0f, 0.0f, false},
    };
    for (const auto& c : cases)
    {
        BulletBase b = Bullet(c.x, c.y, c.direction, 0.0f);
        EXPECT_EQ(b.Move(), c.inside) << c.x << ", " << c.y;
        EXPECT_EQ(b.life, 99); // life counts down either way
    }

    // An odd width has an exact half of 2.5.
    BulletBase odd = Bullet(-2.4f, 100.0f, 0.0f, 0.0f);
    odd.width = 5;
    EXPECT_TRUE(odd.Move());
    odd.x = -2.5f;
    EXPECT_FALSE(odd.Move());

    // The bullet moves before the test: 447 + 2 crosses the edge.
    BulletBase leaving = Bullet(451.0f, 100.0f, 0.0f, 1.0f);
    EXPECT_FALSE(leaving.Move());
    EXPECT_EQ(leaving.x, 452.0f);
}

TEST(BulletBaseLife, BulletWithLifeLIsAliveOnAtMostLCalls)
{
    for (int lifeFrames : {0, 1, 2, 7})
    {
        BulletBase b = Bullet(100.0f, 100.0f, AngleDown, 1.0f);
        b.life = lifeFrames;
        int alive = 0;
        while (b.Move())
        {
            ++alive;
            ASSERT_LE(alive, lifeFrames);
        }
        EXPECT_EQ(alive, lifeFrames);
        EXPECT_EQ(b.life, 0);
        // It moved on every call, the retiring one included.
        EXPECT_EQ(b.y, 100.0f + static_cast<float>(lifeFrames + 1));
        EXPECT_FALSE(b.Move());
        EXPECT_EQ(b.life, 0);
    }

    BulletBase negative = Bullet(100.0f, 100.0f, 0.0f, 0.0f);
    negative.life = -5;
    EXPECT_FALSE(negative.Move());
    EXPECT_EQ(negative.life, 0);
}
