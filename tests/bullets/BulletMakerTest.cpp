#include "bullets/BulletMaker.h"

#include "bullets/Angle.h"
#include "bullets/BulletManage.h"
#include "tests/bullets/BulletListCheck.h"
#include "tests/bullets/LiveAllocations.h"
#include "tests/support/RenderFixture.h"
#include "tests/support/SpriteChecks.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace
{

// An emitter firing into `list` at `level`, standing at (x, y) field units.
void PlaceEmitter(BulletMaker& emitter, BulletManage& list, int level, float x, float y)
{
    emitter.SetManager(&list);
    emitter.SetLevel(level);
    emitter.x = x;
    emitter.y = y;
}

// A master maker as the game sets it up: an enemy to fire from, the ship to
// aim at, the list and a render context.
class MakerTest : public skyreel_test::RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        enemy.x = 224.0f;
        enemy.y = 300.0f;
        ship.x = 224.0f;
        ship.y = 460.0f;
        master.SetRenderContext(context);
        master.SetManager(&list);
        master.SetTarget(&ship);
        master.SetOwner(&enemy);
    }

    std::vector<BulletMaker*> Emitters()
    {
        std::vector<BulletMaker*> found;
        for (BulletMaker* b : ListedBullets(list))
        {
            if (b->motionType != MotionShot)
            {
                found.push_back(b);
            }
        }
        return found;
    }

    // Runs the list frame by frame and records the frames (1 = the emitters'
    // first Update) on which new shots appeared, and how many.
    struct Firing
    {
        std::vector<int> frames;
        std::vector<int> shots;
        int retiredOn = 0; // frame after which no emitter is left
    };
    Firing Run(int frames)
    {
        Firing firing;
        for (int frame = 1; frame <= frames; ++frame)
        {
            for (BulletMaker* b : ListedBullets(list))
            {
                b->texture = 1; // marks what existed before this frame
            }
            list.Update();
            int fresh = 0;
            for (BulletMaker* b : ListedBullets(list))
            {
                fresh += b->texture == 0 ? 1 : 0;
            }
            if (fresh > 0)
            {
                firing.frames.push_back(frame);
                firing.shots.push_back(fresh);
            }
            if (firing.retiredOn == 0 && Emitters().empty())
            {
                firing.retiredOn = frame;
            }
        }
        return firing;
    }

    BulletManage list;
    SpriteItem enemy;
    ShootingObject ship;
    BulletMaker master;
};

std::vector<int> Repeat(int value, size_t times)
{
    return std::vector<int>(times, value);
}

} // namespace

TEST(BulletMakerConstruction, LevelOneAndNothingAttached)
{
    const BulletMaker m;
    EXPECT_EQ(m.level, 1);
    EXPECT_EQ(m.target, nullptr);
    EXPECT_EQ(m.manager, nullptr);
    EXPECT_EQ(m.owner, nullptr);
    EXPECT_EQ(m.speed, 1.0f);
}

TEST_F(MakerTest, ShotKindsTakeTheirSizePictureCirclesAndPresets)
{
    master.x = 30.0f;
    master.y = 40.0f;
    const struct
    {
        void (BulletMaker::*init)(BulletMaker&);
        SheetRect picture;
        float hit, graze, direction;
        int32_t life;
    } kinds[] = {
        {&BulletMaker::InitNeedleShot, sheet::NeedleShot, 4.0f, 11.0f, AngleDown, 3600},
        {&BulletMaker::InitSmallShot, sheet::SmallShot, 5.0f, 12.0f, AngleDown, 3600},
        {&BulletMaker::InitLargeShot, sheet::LargeShot, 7.0f, 14.0f, AngleUp, 6000},
    };
    for (const auto& k : kinds)
    {
        BulletMaker b;
        b.angle = 5.0f;
        b.spin = 1.0f;
        b.directionOffset = 7.0f;
        b.acceleration = 1.0f;
        (master.*k.init)(b);
        EXPECT_EQ(b.x, 30.0f);
        EXPECT_EQ(b.y, 40.0f);
        EXPECT_TRUE(ShowsPlainly(b, k.picture, true));
        EXPECT_EQ(b.hitRadius, k.hit);
        EXPECT_EQ(b.grazeRadius, k.graze);
        EXPECT_EQ(b.direction, k.direction);
        EXPECT_EQ(b.life, k.life);
        EXPECT_EQ(b.speed, 3.0f);
        EXPECT_EQ(b.maxSpeed, 5.0f);
        EXPECT_TRUE(b.hitEnabled && b.grazeEnabled);
        EXPECT_EQ(b.motionType, MotionShot);
        EXPECT_EQ(b.spin + b.acceleration + b.directionOffset, 0.0f);
        EXPECT_EQ(b.renderContext, context);
    }
}

TEST_F(MakerTest, EmitterCarriesEverythingItNeedsAndStaysWhereTheEnemyWas)
{
    master.SetLevel(7);
    master.FireColumn();
    const std::vector<BulletMaker*> emitters = Emitters();
    ASSERT_EQ(emitters.size(), 1u);
    const BulletMaker& e = *emitters[0];
    EXPECT_EQ(e.x, 224.0f);
    EXPECT_EQ(e.y, 300.0f);
    EXPECT_TRUE(ShowsPlainly(e, sheet::Emitter, true));
    EXPECT_TRUE(e.hitEnabled);
    EXPECT_FALSE(e.grazeEnabled);
    EXPECT_EQ(e.hitRadius, 0.0f);
    EXPECT_EQ(e.maxSpeed, 5.0f);
    EXPECT_EQ(e.motionType, MotionColumn);
    EXPECT_EQ(e.life, 3);
    EXPECT_EQ(e.speed, 0.0f);
    EXPECT_EQ(e.level, 7); // copied unclamped
    EXPECT_EQ(e.owner, &enemy);
    EXPECT_EQ(e.target, &ship);
    EXPECT_EQ(e.manager, &list);
    EXPECT_EQ(e.renderContext, context);

    enemy.x = 10.0f;
    list.Update();
    EXPECT_EQ(e.x, 224.0f);
}

TEST_F(MakerTest, PatternNumbersOutsideZeroToThreeFireTheColumn)
{
    const struct
    {
        int pattern;
        int32_t motionType;
    } cases[] = {
        {PatternColumn, MotionColumn}, {PatternAimed, MotionAimed}, {PatternFan, MotionFan},
        {PatternRing, MotionRing},     {7, MotionColumn},           {-1, MotionColumn}};
    for (const auto& c : cases)
    {
        list.Clear();
        master.Fire(c.pattern);
        ASSERT_EQ(list.count, 1) << c.pattern;
        EXPECT_EQ(list.head->motionType, c.motionType) << c.pattern;
    }
}

// The firing-time table, found by running the emitters of each pattern at
// each level; "shots" is the number of new shots per volley frame.
TEST_F(MakerTest, EveryPatternAtEveryLevelFiresOnItsFrames)
{
    const struct
    {
        int pattern;
        int level;
        size_t emitters;
        std::vector<int> frames;
        int shots;
        float riseSpeed;
    } cases[] = {
        {0, 0, 1, {}, 0, 0.0f},
        {0, 1, 1, {2}, 1, 0.0f},
        {0, 2, 1, {2}, 2, 0.0f},
        {0, 3, 1, {2}, 3, 0.0f},
        {0, 4, 1, {2}, 4, 0.0f},
        {0, 5, 1, {2}, 5, 0.0f},
        {0, 6, 1, {2}, 5, 0.0f},
        {0, 9, 1, {2}, 5, 0.0f},
        {1, 0, 1, {14, 29, 44, 59}, 1, 0.5f},
        {1, 1, 1, {1, 30, 59}, 1, 0.5f},
        {1, 2, 2, {14, 29, 44, 59}, 2, 1.0f},
        {1, 3, 2, {14, 29, 44, 59}, 2, 1.5f},
        {1, 4, 2, {11, 23, 35, 47, 59}, 2, 2.0f},
        {1, 5, 2, {9, 19, 29, 39, 49, 59}, 2, 3.0f},
        {1, 6, 2, {9, 19, 29, 39, 49, 59}, 2, 3.0f},
        {1, 7, 2, {9, 19, 29, 39, 49, 59}, 2, 3.0f},
        {2, 0, 1, {11, 23, 35, 47, 59}, 11, 0.0f},
        {2, 1, 1, {1, 30, 59}, 3, 0.0f},
        {2, 2, 1, {1, 30, 59}, 5, 0.0f},
        {2, 3, 1, {19, 39, 59}, 7, 0.0f},
        {2, 4, 1, {5, 23, 41, 59}, 9, 0.0f},
        {2, 5, 1, {11, 23, 35, 47, 59}, 11, 0.0f},
        {2, 6, 1, {11, 23, 35, 47, 59}, 11, 0.0f},
        {2, 7, 1, {11, 23, 35, 47, 59}, 11, 0.0f},
        {3, 0, 1, {11, 27, 43, 59}, 36, 0.5f},
        {3, 1, 1, {19, 59}, 10, 0.5f},
        {3, 2, 1, {19, 59}, 16, 1.0f},
        {3, 3, 2, {29, 59}, 48, 1.5f},
        {3, 4, 2, {9, 34, 59}, 56, 2.0f},
        {3, 5, 2, {11, 27, 43, 59}, 72, 3.0f},
        {3, 6, 2, {11, 27, 43, 59}, 72, 3.0f},
        {3, 7, 2, {11, 27, 43, 59}, 72, 3.0f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << "pattern " << c.pattern << " level " << c.level);
        list.Clear();
        master.SetLevel(c.level);
        master.Fire(c.pattern);
        const std::vector<BulletMaker*> emitters = Emitters();
        ASSERT_EQ(emitters.size(), c.emitters);
        for (const BulletMaker* e : emitters)
        {
            EXPECT_EQ(e->speed, c.riseSpeed);
            EXPECT_EQ(e->level, c.level);
        }
        const Firing firing = Run(70);
        EXPECT_EQ(firing.frames, c.frames);
        EXPECT_EQ(firing.shots, Repeat(c.shots, c.frames.size()));
        EXPECT_EQ(firing.retiredOn, c.pattern == 0 ? 4 : 61);
    }
}

TEST_F(MakerTest, ColumnFallsStraightDownAtFallingSpeeds)
{
    master.SetLevel(3);
    master.FireColumn();
    list.Update();
    list.Update();
    const std::vector<BulletMaker*> bullets = ListedBullets(list);
    ASSERT_EQ(bullets.size(), 4u);
    const float speeds[] = {3.0f, 2.5f, 2.0f};
    for (int i = 0; i < 3; ++i)
    {
        const BulletMaker& needle = *bullets[i + 1];
        EXPECT_EQ(needle.speed, speeds[i]);
        EXPECT_EQ(needle.direction, AngleDown);
        EXPECT_EQ(needle.width, 4);
        EXPECT_EQ(needle.x, 224.0f);
        EXPECT_EQ(needle.life, 3600); // the column emitter is the tail
    }
}

TEST_F(MakerTest, AimedEmittersRiseTogetherAndFireCoincidentPairs)
{
    master.SetLevel(2);
    master.FireAimed();
    const std::vector<BulletMaker*> emitters = Emitters();
    ASSERT_EQ(emitters.size(), 2u);
    EXPECT_EQ(emitters[0]->direction, AngleUp);
    EXPECT_EQ(emitters[1]->direction + emitters[1]->directionOffset, AngleUp);
    EXPECT_TRUE(emitters[1]->hitEnabled);

    Run(14);
    ASSERT_EQ(emitters[0]->y, emitters[1]->y);
    const std::vector<BulletMaker*> bullets = ListedBullets(list);
    ASSERT_EQ(bullets.size(), 4u);
    const BulletMaker& first = *bullets[2];
    const BulletMaker& second = *bullets[3];
    EXPECT_EQ(first.x, second.x);
    EXPECT_EQ(first.y, second.y);
    EXPECT_EQ(first.direction, second.direction);
    EXPECT_EQ(first.direction, AngleDown); // the ship is straight below
    EXPECT_EQ(first.speed, 2.5f);
    EXPECT_EQ(PictureOf(first), sheet::LargeShot);
}

TEST_F(MakerTest, FanAddsCentreThenAlternatingSides)
{
    BulletMaker emitter;
    PlaceEmitter(emitter, list, 2, 100.0f, 100.0f);
    ship.x = 200.0f;
    ship.y = 100.0f + 15.0f; // AngleTo(15, 100) is 1554 units
    emitter.SetTarget(&ship);
    emitter.life = 1;
    emitter.UpdateFan();
    const std::vector<BulletMaker*> bullets = ListedBullets(list);
    ASSERT_EQ(bullets.size(), 5u);
    const float m = static_cast<float>(AngleTo(15, 100));
    const float expected[] = {m, m + 3276.0f, m - 3276.0f, m + 6552.0f, m - 6552.0f};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(bullets[i]->direction, expected[i]) << i;
        EXPECT_EQ(bullets[i]->speed, 2.0f);
        EXPECT_EQ(bullets[i]->life, 3600);
        EXPECT_EQ(PictureOf(*bullets[i]), sheet::SmallShot);
    }
}

TEST_F(MakerTest, FanSideShotsMayHaveNegativeDirections)
{
    BulletMaker emitter;
    emitter.SetManager(&list);
    emitter.SetLevel(1);
    emitter.SetTarget(&ship);
    emitter.life = 30;
    // A target at a whole-unit offset whose AngleTo is exactly 1000 units.
    int dy = 0;
    int dx = 0;
    for (int y = 1; y < 200 && dx == 0; ++y)
    {
        for (int x = 1; x < 2000; ++x)
        {
            if (AngleTo(y, x) == 1000)
            {
                dy = y;
                dx = x;
                break;
            }
        }
    }
    ASSERT_NE(dx, 0);
    emitter.x = 10.0f;
    emitter.y = 10.0f;
    ship.x = 10.0f + static_cast<float>(dx);
    ship.y = 10.0f + static_cast<float>(dy);
    emitter.UpdateFan();
    const std::vector<BulletMaker*> bullets = ListedBullets(list);
    ASSERT_EQ(bullets.size(), 3u);
    EXPECT_EQ(bullets[0]->direction, 1000.0f);
    EXPECT_EQ(bullets[1]->direction, 4640.0f);
    EXPECT_EQ(bullets[2]->direction, -2640.0f);
}

TEST_F(MakerTest, RingSpreadsEvenlyFromRightAndSpeedsUp)
{
    master.SetLevel(3);
    master.FireRing();
    const std::vector<BulletMaker*> emitters = Emitters();
    ASSERT_EQ(emitters.size(), 2u);
    EXPECT_TRUE(emitters[0]->hitEnabled);
    EXPECT_FALSE(emitters[1]->hitEnabled);

    BulletMaker emitter;
    emitter.SetManager(&list);
    emitter.SetLevel(1);
    emitter.life = 41;
    list.Clear();
    emitter.UpdateRing();
    const std::vector<BulletMaker*> shots = ListedBullets(list);
    ASSERT_EQ(shots.size(), 10u);
    float a = 0.0f;
    for (const BulletMaker* s : shots)
    {
        EXPECT_EQ(s->direction, a);
        EXPECT_EQ(s->speed, 1.0f);
        EXPECT_EQ(s->maxSpeed, 1.5f);
        EXPECT_EQ(s->acceleration, 0.1f);
        EXPECT_EQ(s->life, 6000);
        a = a + 6553.6f;
    }
    EXPECT_EQ(shots[1]->direction, 6553.6f);
}

TEST(BulletMakerAimAt, TruncatesTheDifferencesBeforeAiming)
{
    BulletBase bullet;
    bullet.x = 100.0f;
    bullet.y = 100.0f;
    SpriteItem target;
    target.x = 100.0f;
    target.y = 20.0f;
    BulletMaker::AimAt(bullet, target);
    EXPECT_EQ(bullet.direction, -AngleDown); // up, not AngleUp

    target.x = 100.9f;
    target.y = 99.1f;
    BulletMaker::AimAt(bullet, target);
    EXPECT_EQ(bullet.direction, 0.0f);

    target.x = 90.5f; // dx -9.5 becomes -9
    target.y = 100.0f;
    BulletMaker::AimAt(bullet, target);
    EXPECT_EQ(bullet.direction, static_cast<float>(AngleTo(0, -9)));
}

TEST_F(MakerTest, MissingOwnerManagerOrTargetDoNotCrash)
{
    BulletMaker loose;
    loose.SetManager(&list);
    loose.Fire(1); // no owner
    EXPECT_EQ(list.count, 0);
    loose.SetManager(nullptr);
    loose.SetOwner(&enemy);
    loose.Fire(2); // no manager
    loose.EmitSparks(1, 0.0f, 0.0f);
    loose.UpdateColumn();

    // Without a target the aimed shots keep their preset heading.
    master.SetTarget(nullptr);
    master.FireFan();
    Run(1);
    const std::vector<BulletMaker*> bullets = ListedBullets(list);
    ASSERT_EQ(bullets.size(), 4u);
    EXPECT_EQ(bullets[1]->direction, AngleDown);
}

TEST_F(MakerTest, FullListAddsNothingAndKeepsNothing)
{
    for (int i = 0; i < MaxBullets; ++i)
    {
        list.Add(NewShot(100.0f, 100.0f, 1000));
    }
    const long before = LiveAllocations();
    master.SetLevel(5);
    for (int pattern = PatternColumn; pattern <= PatternRing; ++pattern)
    {
        master.Fire(pattern);
    }
    master.EmitSparks(2, 10.0f, 10.0f);
    EXPECT_EQ(LiveAllocations(), before);
    EXPECT_EQ(list.count, MaxBullets);

    // An emitter already in the list loses its whole volley the same way.
    list.Remove(list.head);
    master.FireRing();
    ASSERT_EQ(list.tail->motionType, MotionRing);
    list.tail->life = 12; // fires on its next Update
    const long withEmitter = LiveAllocations();
    list.Update();
    EXPECT_EQ(LiveAllocations(), withEmitter);
    EXPECT_EQ(list.count, MaxBullets);
}

TEST_F(MakerTest, RisingEmitterLeavingTheTopFiresOnceMoreThenGoes)
{
    enemy.y = 19.0f; // at 3 units a frame the box leaves on the 9th Update
    master.SetLevel(5);
    master.FireAimed();
    for (int frame = 1; frame <= 9; ++frame)
    {
        const long made = AllocationsMade();
        list.Update();
        // The shots of frame 9 start outside the field and retire at once.
        EXPECT_EQ(AllocationsMade() - made, frame == 9 ? 2 : 0) << frame;
    }
    EXPECT_EQ(list.count, 0);
}

TEST(BulletMakerUpdate, MotionTypeSelectsTheStep)
{
    BulletManage list;
    const struct
    {
        int32_t motionType;
        int32_t shots;
    } cases[] = {{-1, 0}, {MotionShot, 0}, {MotionColumn, 2}, {5, 2}, {99, 2}};
    for (const auto& c : cases)
    {
        list.Clear();
        BulletMaker b;
        PlaceEmitter(b, list, 2, 100.0f, 100.0f);
        b.life = 2;
        b.motionType = c.motionType;
        EXPECT_TRUE(b.Update());
        EXPECT_EQ(list.count, c.shots) << c.motionType;
    }
}

TEST_F(MakerTest, SparksReplayTheirRandomDrawsInOrder)
{
    const struct
    {
        int size;
        int sparks;
        int32_t life;
        float base;
    } bursts[] = {{1, 20, 20, 1.0f}, {2, 80, 30, 2.0f}, {0, 10, 30, 2.0f}, {5, 10, 30, 2.0f}};
    for (const auto& burst : bursts)
    {
        SCOPED_TRACE(burst.size);
        list.Clear();
        std::srand(2024);
        struct Draws
        {
            int picture, heading, boost, turn, drag;
        };
        std::vector<Draws> draws(burst.sparks);
        for (Draws& d : draws)
        {
            d.picture = std::rand() % 3;
            d.heading = std::rand() % 4097;
            d.boost = std::rand() % 4097;
            d.turn = std::rand() % 1001;
            d.drag = std::rand() % 4097;
        }
        const int following = std::rand();

        std::srand(2024);
        master.EmitSparks(burst.size, 50.0f, 60.0f);
        EXPECT_EQ(std::rand(), following);
        const std::vector<BulletMaker*> sparks = ListedBullets(list);
        ASSERT_EQ(sparks.size(), draws.size());
        for (size_t i = 0; i < sparks.size(); ++i)
        {
            const BulletMaker& s = *sparks[i];
            const Draws& d = draws[i];
            EXPECT_EQ(PictureOf(s), StripFrame(sheet::Spark, d.picture));
            EXPECT_EQ(s.direction, static_cast<float>(d.heading / 4096.0 * 65535.0));
            EXPECT_EQ(s.speed, burst.base + 2.0f * static_cast<float>(d.boost / 4096.0));
            EXPECT_EQ(s.spin, static_cast<float>(3000 + d.turn));
            EXPECT_FLOAT_EQ(s.acceleration, static_cast<float>(-0.01 * (d.drag / 4096.0) - 0.02));
            EXPECT_EQ(s.life, burst.life);
            EXPECT_EQ(s.x, 50.0f);
            EXPECT_EQ(s.y, 60.0f);
            EXPECT_EQ(s.alpha, 0.5f);
            EXPECT_EQ(s.maxSpeed, 5.0f);
            EXPECT_EQ(s.motionType, MotionShot);
            EXPECT_FALSE(s.hitEnabled || s.grazeEnabled);
            EXPECT_TRUE(s.centered && s.active && s.visible);
            EXPECT_EQ(s.renderContext, context);
        }
    }
}

TEST_F(MakerTest, RefusedSparksStillTakeTheirDraws)
{
    for (int i = 0; i < MaxBullets - 3; ++i)
    {
        list.Add(NewShot(100.0f, 100.0f, 1000));
    }
    std::srand(5);
    for (int i = 0; i < 20 * 5; ++i)
    {
        std::rand();
    }
    const int following = std::rand();
    std::srand(5);
    master.EmitSparks(1, 0.0f, 0.0f);
    EXPECT_EQ(std::rand(), following);
    EXPECT_EQ(list.count, MaxBullets);
}
