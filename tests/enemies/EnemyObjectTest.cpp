#include "enemies/EnemyObject.h"

#include <gtest/gtest.h>

namespace
{
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
    EXPECT_EQ(enemy.u, 16);
    EXPECT_EQ(enemy.v, 0);
    enemy.SetFrame(1);
    EXPECT_EQ(enemy.u, 32);
    EXPECT_EQ(enemy.v, 0);
    enemy.SetFrame(4);
    EXPECT_EQ(enemy.u, 16);
    EXPECT_EQ(enemy.frame, 4);

    enemy.SetKind(2);
    enemy.SetFrame(1);
    EXPECT_EQ(enemy.u, 32);
    EXPECT_EQ(enemy.v, 48);
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
    EXPECT_EQ(enemy.u, 16) << "the picture changes only with UpdateExplosion";
    enemy.UpdateExplosion();
    EXPECT_EQ(enemy.u, 48);
    EXPECT_EQ(enemy.v, 0);
}

TEST(EnemyObject, UpdateExplosionLeavesAWalkingEnemyAlone)
{
    EnemyObject enemy = InFormation();
    enemy.SetFrame(1);
    enemy.UpdateExplosion();
    EXPECT_EQ(enemy.u, 32);
    EXPECT_EQ(enemy.v, 0);
}

} // namespace
