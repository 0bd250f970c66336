#include "bullets/BulletManage.h"

#include "bullets/BulletMaker.h"
#include "tests/bullets/BulletListCheck.h"
#include "tests/bullets/LiveAllocations.h"
#include "tests/support/RenderFixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace
{

ShootingObject Ship(float x, float y)
{
    ShootingObject ship;
    ship.x = x;
    ship.y = y;
    ship.SetHitRadius(1.0f);
    ship.SetGrazeRadius(4.0f);
    ship.hitEnabled = true;
    ship.grazeEnabled = true;
    return ship;
}

// A column emitter that fires on its next Update: level needles.
BulletMaker* NewColumnEmitter(BulletManage& list, int level)
{
    BulletMaker* e = NewShot(200.0f, 200.0f, 2);
    e->motionType = MotionColumn;
    e->SetManager(&list);
    e->SetLevel(level);
    return e;
}

} // namespace

TEST(BulletManageAdd, AppendsOldestFirstWithConsistentLinks)
{
    BulletManage list;
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);

    BulletMaker* first = NewShot(1.0f, 1.0f);
    ASSERT_TRUE(list.Add(first));
    EXPECT_EQ(list.head, first);
    EXPECT_EQ(list.tail, first);
    EXPECT_EQ(first->prev, nullptr);
    EXPECT_EQ(first->next, nullptr);
    EXPECT_EQ(list.count, 1);

    BulletMaker* second = NewShot(2.0f, 2.0f);
    BulletMaker* third = NewShot(3.0f, 3.0f);
    list.Add(second);
    list.Add(third);
    EXPECT_EQ(ListedBullets(list), (std::vector<BulletMaker*>{first, second, third}));
}

TEST(BulletManageAdd, FullListRefusesWithoutTakingTheBullet)
{
    BulletManage list;
    for (int i = 0; i < MaxBullets; ++i)
    {
        ASSERT_TRUE(list.Add(NewShot(10.0f, 10.0f)));
    }
    BulletMaker* last = list.tail;
    BulletMaker* refused = NewShot(20.0f, 20.0f);
    EXPECT_FALSE(list.Add(refused));
    EXPECT_EQ(list.count, MaxBullets);
    EXPECT_EQ(list.tail, last);
    EXPECT_EQ(last->next, nullptr);
    EXPECT_EQ(refused->prev, nullptr);
    EXPECT_EQ(ListedBullets(list).size(), 800u);
    delete refused;

    EXPECT_FALSE(list.Add(nullptr));
}

TEST(BulletManageRemove, UnlinksFromAnyPlace)
{
    BulletManage list;
    BulletMaker* only = NewShot(0.0f, 0.0f);
    list.Add(only);
    list.Remove(only);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.count, 0);

    BulletMaker* b[5];
    for (BulletMaker*& bullet : b)
    {
        bullet = NewShot(0.0f, 0.0f);
        list.Add(bullet);
    }
    list.Remove(b[0]);
    EXPECT_EQ(list.head, b[1]);
    EXPECT_EQ(b[1]->prev, nullptr);
    list.Remove(b[4]);
    EXPECT_EQ(list.tail, b[3]);
    list.Remove(b[2]);
    EXPECT_EQ(ListedBullets(list), (std::vector<BulletMaker*>{b[1], b[3]}));
}

TEST(BulletManageClear, FreesEverythingAndTheDestructorToo)
{
    const long before = LiveAllocations();
    {
        BulletManage list;
        for (int i = 0; i < 50; ++i)
        {
            list.Add(NewShot(0.0f, 0.0f));
        }
        list.Clear();
        EXPECT_EQ(LiveAllocations(), before);
        EXPECT_TRUE(ListedBullets(list).empty());
        for (int i = 0; i < 50; ++i)
        {
            list.Add(NewShot(0.0f, 0.0f));
        }
    }
    EXPECT_EQ(LiveAllocations(), before);
}

TEST(BulletManageUpdate, EmptyListReportsFalse)
{
    BulletManage list;
    EXPECT_FALSE(list.Update());
}

TEST(BulletManageUpdate, RetiresTheDeadAndKeepsTheOrderOfTheRest)
{
    BulletManage list;
    BulletMaker* dying = NewShot(100.0f, 100.0f, 0);
    BulletMaker* staying = NewShot(100.0f, 100.0f, 5);
    BulletMaker* leaving = NewShot(-10.0f, 100.0f, 5);
    BulletMaker* lasting = NewShot(100.0f, 100.0f, 5);
    for (BulletMaker* b : {dying, staying, leaving, lasting})
    {
        list.Add(b);
    }
    EXPECT_TRUE(list.Update());
    EXPECT_EQ(ListedBullets(list), (std::vector<BulletMaker*>{staying, lasting}));

    for (int frame = 0; frame < 5; ++frame)
    {
        EXPECT_TRUE(list.Update());
    }
    EXPECT_TRUE(ListedBullets(list).empty());
    EXPECT_EQ(list.head, nullptr);
}

TEST(BulletManageUpdate, BulletsAddedDuringTheWalkRunInTheSameFrameUnlessAddedByTheLast)
{
    BulletManage list;
    BulletMaker* emitter = NewColumnEmitter(list, 2);
    BulletMaker* spark = NewShot(50.0f, 50.0f);
    list.Add(emitter);
    list.Add(spark);
    list.Update();
    std::vector<BulletMaker*> bullets = ListedBullets(list);
    ASSERT_EQ(bullets.size(), 4u);
    EXPECT_EQ(bullets[2]->life, 3599); // reached by the same walk
    EXPECT_EQ(bullets[3]->life, 3599);

    BulletManage other;
    other.Add(NewShot(50.0f, 50.0f));
    other.Add(NewColumnEmitter(other, 2));
    other.Update();
    bullets = ListedBullets(other);
    ASSERT_EQ(bullets.size(), 4u);
    EXPECT_EQ(bullets[2]->life, 3600); // the tail's next was already read as null
    EXPECT_EQ(bullets[3]->life, 3600);
}

TEST(BulletManageUpdate, ShotsOfTheLastEmitterRunWhenAnEarlierOneAddedFirst)
{
    // The second emitter's next is the first emitter's shot by the time it
    // runs, so its own shot is reached as well.
    BulletManage list;
    list.Add(NewColumnEmitter(list, 1));
    list.Add(NewColumnEmitter(list, 1));
    list.Update();
    const std::vector<BulletMaker*> bullets = ListedBullets(list);
    ASSERT_EQ(bullets.size(), 4u);
    EXPECT_EQ(bullets[2]->life, 3599);
    EXPECT_EQ(bullets[3]->life, 3599);
}

TEST(BulletManageCollide, HitsAreNotGrazesAndEachBulletGrazesOnce)
{
    BulletManage list;
    const ShootingObject ship = Ship(100.0f, 100.0f);
    BulletMaker* hitting = NewShot(100.0f, 105.0f); // 5 + 1 = 6 reaches
    BulletMaker* grazing = NewShot(110.0f, 100.0f); // within 12 + 4
    BulletMaker* grazing2 = NewShot(100.0f, 84.0f);
    BulletMaker* harmless = NewShot(100.0f, 100.0f);
    harmless->hitEnabled = false; // takes part in neither test
    BulletMaker* far = NewShot(200.0f, 200.0f);
    for (BulletMaker* b : {hitting, grazing, grazing2, harmless, far})
    {
        list.Add(b);
    }
    EXPECT_TRUE(list.Collide(ship));
    EXPECT_EQ(list.GetGrazeCount(), 2);
    EXPECT_TRUE(hitting->grazeEnabled);
    EXPECT_FALSE(grazing->grazeEnabled);
    EXPECT_TRUE(harmless->grazeEnabled);
    EXPECT_EQ(list.count, 5); // nothing removed by a hit

    // No graze twice; a bullet that grazed can still hit.
    list.Remove(hitting);
    EXPECT_FALSE(list.Collide(ship));
    EXPECT_EQ(list.GetGrazeCount(), 0);
    grazing->x = 100.0f;
    EXPECT_TRUE(list.Collide(ship));
    EXPECT_EQ(list.GetGrazeCount(), 0);
}

TEST(BulletManageCancelAll, FadesTheDangerousAndLeavesSparksAlone)
{
    BulletManage list;
    std::vector<BulletMaker*> sparks;
    for (int i = 0; i < 13; ++i)
    {
        BulletMaker* b = NewShot(100.0f, 100.0f, 30);
        b->alpha = 0.5f;
        if (i % 5 != 0) // bullets 0, 5 and 10 can hit
        {
            b->hitEnabled = false;
            sparks.push_back(b);
        }
        list.Add(b);
    }
    EXPECT_EQ(list.CancelAll(), 300);
    for (BulletMaker* b : ListedBullets(list))
    {
        const bool spark = std::find(sparks.begin(), sparks.end(), b) != sparks.end();
        EXPECT_FALSE(b->hitEnabled);
        EXPECT_EQ(b->alpha, spark ? 0.5f : 0.3f);
        EXPECT_EQ(b->life, spark ? 30 : 15);
    }
    EXPECT_EQ(list.CancelAll(), 0);
}

TEST(BulletManageCancelAll, CancelledEmitterStillFiresDangerousShots)
{
    BulletManage list;
    BulletMaker* emitter = NewColumnEmitter(list, 2);
    list.Add(emitter);
    list.Update(); // fires its column
    list.Update();
    ASSERT_EQ(list.count, 3);
    EXPECT_EQ(list.CancelAll(), 300);
    for (int frame = 0; frame < 14; ++frame)
    {
        list.Update();
    }
    // Its new life has come down to 1: a second column.
    const std::vector<BulletMaker*> bullets = ListedBullets(list);
    ASSERT_EQ(bullets.size(), 5u);
    EXPECT_EQ(bullets[0], emitter);
    EXPECT_TRUE(bullets[3]->hitEnabled);
    EXPECT_TRUE(bullets[4]->hitEnabled);
    list.Update(); // life 0 now: true once more, fires nothing
    EXPECT_EQ(list.count, 5);
    list.Update();
    EXPECT_EQ(list.count, 2); // the emitter and the first column retire
}

using BulletManageDraw = skyreel_test::RenderFixture;

TEST_F(BulletManageDraw, DrawsInListOrderAndCountsEveryCall)
{
    BulletManage list;
    for (int i = 0; i < 3; ++i)
    {
        BulletMaker* b = NewShot(100.0f, 100.0f);
        b->u = 10 * i;
        b->visible = i != 1;
        b->SetRenderContext(context);
        list.Add(b);
    }
    EXPECT_EQ(list.Draw(), 3);
    EXPECT_EQ(Used(), 2);
    EXPECT_EQ(Command(0).u, 0);
    EXPECT_EQ(Command(1).u, 20);

    BulletManage empty;
    EXPECT_EQ(empty.Draw(), 0);
}
