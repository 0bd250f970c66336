#include "objects/ShootingObject.h"

#include <gtest/gtest.h>
#include <initializer_list>

namespace
{

ShootingObject At(float x, float y, float hitRadius, float grazeRadius)
{
    ShootingObject o;
    o.x = x;
    o.y = y;
    o.SetHitRadius(hitRadius);
    o.SetGrazeRadius(grazeRadius);
    o.hitEnabled = true;
    o.grazeEnabled = true;
    return o;
}

} // namespace

TEST(ShootingObjectConstruction, CirclesStartEmptyAndDisabled)
{
    const ShootingObject o;
    EXPECT_EQ(o.hitRadius, 0.0f);
    EXPECT_EQ(o.grazeRadius, 0.0f);
    EXPECT_FALSE(o.hitEnabled);
    EXPECT_FALSE(o.grazeEnabled);
    EXPECT_FALSE(o.HitTest(o));
}

TEST(ShootingObjectHitTest, TouchingCirclesHitAndTheTestIsSymmetric)
{
    const ShootingObject ship = At(100.0f, 100.0f, 1.0f, 4.0f);
    const ShootingObject touching = At(105.0f, 100.0f, 4.0f, 0.0f);
    const ShootingObject apart = At(105.001f, 100.0f, 4.0f, 0.0f);
    EXPECT_TRUE(ship.HitTest(touching));
    EXPECT_TRUE(touching.HitTest(ship));
    EXPECT_FALSE(ship.HitTest(apart));
    EXPECT_FALSE(apart.HitTest(ship));

    // 3-4-5: exactly touching on a diagonal.
    EXPECT_TRUE(ship.HitTest(At(97.0f, 104.0f, 4.0f, 0.0f)));
    // Inside the square of side 2R but outside the circle.
    EXPECT_FALSE(ship.HitTest(At(103.6f, 103.6f, 4.0f, 0.0f)));
}

TEST(ShootingObjectHitTest, EitherDisabledFlagPreventsAHit)
{
    for (const bool firstDisabled : {true, false})
    {
        ShootingObject a = At(10.0f, 10.0f, 8.0f, 8.0f);
        ShootingObject b = At(10.0f, 10.0f, 8.0f, 8.0f);
        (firstDisabled ? a : b).hitEnabled = false;
        EXPECT_FALSE(a.HitTest(b)) << "first disabled: " << firstDisabled;
        EXPECT_FALSE(b.HitTest(a)) << "first disabled: " << firstDisabled;
    }
}

TEST(ShootingObjectGrazeTest, UsesItsOwnFlagAndRadius)
{
    ShootingObject ship = At(0.0f, 0.0f, 1.0f, 4.0f);
    ShootingObject bullet = At(0.0f, 15.0f, 4.0f, 11.0f);
    EXPECT_FALSE(ship.HitTest(bullet));
    EXPECT_TRUE(ship.GrazeTest(bullet));
    bullet.y = 15.01f;
    EXPECT_FALSE(bullet.GrazeTest(ship));

    // A bullet that cannot hit can still graze, and the reverse.
    bullet.y = 3.0f;
    bullet.hitEnabled = false;
    EXPECT_FALSE(bullet.HitTest(ship));
    EXPECT_TRUE(bullet.GrazeTest(ship));
    bullet.hitEnabled = true;
    bullet.grazeEnabled = false;
    EXPECT_TRUE(bullet.HitTest(ship));
    EXPECT_FALSE(bullet.GrazeTest(ship));
}
