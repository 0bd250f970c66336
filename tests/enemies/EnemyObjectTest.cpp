#include "enemies/EnemyObject.h"

#include "objects/SpriteSheet.h"

#include <gtest/gtest.h>

namespace
{
const SheetRect Walk0 = StripFrame(sheet::EnemyWalk, 0);
const SheetRect Walk1 = StripFrame(sheet::EnemyWalk, 1);

EnemyObject InFormation()
{
    EnemyObject enemy;
    enemy.SetKind(0);
    enemy.SetFrame(0);
    enemy.SetHitRadius(8.0f);
    enemy.active = enemy.visible = enemy.hitEnabled = true;
    enemy.x = 100.0f;
    enemy.y = 100.0f;
    return enemy;
}

TEST(EnemyObject, FrameParityPicksTheWalkingPicture)
{
    EnemyObject enemy;
    enemy.SetKind(0);
    enemy.SetFrame(0);
    EXPECT_EQ(enemy.u, Walk0.u);
    EXPECT_EQ(enemy.v, Walk0.v);
    enemy.SetFrame(1);
    EXPECT_EQ(enemy.u, Walk1.u);
    EXPECT_EQ(enemy.v, Walk1.v);
    enemy.SetFrame(4);
    EXPECT_EQ(enemy.u, Walk0.u);
    EXPECT_EQ(enemy.frame, 4);

    enemy.SetKind(2);
    enemy.SetFrame(1);
    EXPECT_EQ(enemy.u, Walk1.u);
    EXPECT_EQ(enemy.v, Walk1.v + 2 * Walk1.height) << "two picture rows down";
}

TEST(EnemyObject, AnExplodingEnemyShowsItsExplosionAndCannotBeHit)
{
    EnemyObject enemy = InFormation();
    ShootingObject shot;
    shot.hitEnabled = true;
    shot.SetHitRadius(4.0f);
    shot.x = enemy.x;
    shot.y = enemy.y;
    ASSERT_TRUE(enemy.HitTest(shot));

    enemy.Explode();
    EXPECT_TRUE(enemy.exploding);
    EXPECT_TRUE(enemy.active);
    EXPECT_TRUE(enemy.visible);
    EXPECT_FALSE(enemy.HitTest(shot));
    EXPECT_EQ(enemy.u, Walk0.u) << "the picture changes only with UpdateExplosion";
    enemy.UpdateExplosion();
    EXPECT_EQ(enemy.u, sheet::EnemyExplosion.u);
    EXPECT_EQ(enemy.v, sheet::EnemyExplosion.v);
}

TEST(EnemyObject, UpdateExplosionLeavesAWalkingEnemyAlone)
{
    EnemyObject enemy = InFormation();
    enemy.SetFrame(1);
    enemy.UpdateExplosion();
    EXPECT_EQ(enemy.u, Walk1.u);
    EXPECT_EQ(enemy.v, Walk1.v);
}

} // namespace
