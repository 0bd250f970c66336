// Test helpers over a BulletManage list.
#pragma once

#include "bullets/BulletMaker.h"
#include "bullets/BulletManage.h"

#include <gtest/gtest.h>
#include <vector>

// The bullets from head to tail; fails the test unless every link agrees with
// its neighbour both ways, the ends are null and count matches.
inline std::vector<BulletMaker*> ListedBullets(const BulletManage& list)
{
    std::vector<BulletMaker*> bullets;
    const BulletBase* previous = nullptr;
    for (BulletBase* b = list.head; b != nullptr && bullets.size() <= MaxBullets; b = b->next)
    {
        EXPECT_EQ(b->prev, previous);
        bullets.push_back(static_cast<BulletMaker*>(b));
        previous = b;
    }
    EXPECT_EQ(static_cast<const BulletBase*>(list.tail), previous);
    EXPECT_EQ(list.count, static_cast<int32_t>(bullets.size()));
    return bullets;
}

// A plain shot on the field (MotionShot), hit- and graze-enabled.
inline BulletMaker* NewShot(float x, float y, int32_t life = 100)
{
    auto* b = new BulletMaker();
    b->x = x;
    b->y = y;
    b->width = 6;
    b->height = 6;
    b->speed = 0.0f;
    b->maxSpeed = 5.0f;
    b->life = life;
    b->visible = true;
    b->hitEnabled = true;
    b->grazeEnabled = true;
    b->SetHitRadius(5.0f);
    b->SetGrazeRadius(12.0f);
    b->motionType = MotionShot;
    return b;
}
