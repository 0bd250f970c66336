// The state digest and the invariant checks, on a live game.
#include "Invariants.h"
#include "StateHash.h"
#include "bullets/Angle.h"
#include "tests/sim/SimSession.h"

#include <cmath>
#include <string>
#include <utility>

namespace
{

uint64_t HashOf(const char* text)
{
    sim::Fnv1a h;
    for (const char* c = text; *c != '\0'; ++c)
    {
        h.Byte(static_cast<uint8_t>(*c));
    }
    return h.value;
}

} // namespace

TEST(Fnv1a, MatchesTheReferenceValues)
{
    EXPECT_EQ(HashOf(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(HashOf("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(HashOf("foobar"), 0x85944171f73967e8ull);
}

TEST(Fnv1a, FeedsValuesByTheirBytes)
{
    sim::Fnv1a a, b;
    a.I32(0x01020304);
    b.Byte(4);
    b.Byte(3);
    b.Byte(2);
    b.Byte(1);
    EXPECT_EQ(a.value, b.value) << "little-endian, whatever the machine";

    sim::Fnv1a zero, negativeZero;
    zero.F32(0.0f);
    negativeZero.F32(-0.0f);
    EXPECT_NE(zero.value, negativeZero.value) << "floats by their bit pattern";
}

class StateHashTest : public SimSession
{
};

TEST_F(StateHashTest, SeesEveryBulletAndItsOrderButNoPointer)
{
    PlayFromTitle();
    director->bullets->Clear();
    BulletMaker* first = AddBullet(100.0f, 100.0f, 1.0f, AngleDown);
    BulletMaker* second = AddBullet(200.0f, 100.0f, 1.0f, AngleDown);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const uint64_t base = sim::HashGameState(*director);
    EXPECT_EQ(sim::HashGameState(*director), base);

    second->speed = std::nextafter(1.0f, 2.0f);
    EXPECT_NE(sim::HashGameState(*director), base) << "one ulp of one bullet's speed";
    second->speed = 1.0f;

    second->grazeEnabled = false;
    EXPECT_NE(sim::HashGameState(*director), base);
    second->grazeEnabled = true;

    std::swap(first->x, second->x);
    EXPECT_NE(sim::HashGameState(*director), base) << "the same bullets in another order";
    std::swap(first->x, second->x);

    second->renderContext = nullptr;
    second->owner = director->ship;
    EXPECT_EQ(sim::HashGameState(*director), base) << "pointers are not state";
}

TEST_F(StateHashTest, SeesTheDirectorShipShotConvoyAndBonusShip)
{
    PlayFromTitle();
    const uint64_t base = sim::HashGameState(*director);
    auto changes = [&](auto&& poke)
    {
        poke(+1);
        const uint64_t changed = sim::HashGameState(*director);
        poke(-1);
        EXPECT_EQ(sim::HashGameState(*director), base);
        return changed != base;
    };
    EXPECT_TRUE(changes([&](int s) { director->score += s; }));
    EXPECT_TRUE(changes([&](int s) { director->grazeCount += s; }));
    EXPECT_TRUE(changes([&](int s) { director->bonusShipTimer += s; }));
    EXPECT_TRUE(changes([&](int s) { director->ship->x += 4.0f * static_cast<float>(s); }));
    EXPECT_TRUE(changes([&](int s) { director->shot->holdFrames += s; }));
    EXPECT_TRUE(changes([&](int s) { director->convoy->enemies[37].y += static_cast<float>(s); }));
    EXPECT_TRUE(changes([&](int s) { director->convoy->pauseFrames += s; }));
    EXPECT_TRUE(changes([&](int s) { director->bonusShip->flapCount += s; }));
}

class InvariantTest : public SimSession
{
protected:
    // A fresh checker that has seen the current state pass, then the state
    // poked, checked again and put back. Returns the message of the failure.
    template <typename Poke, typename Unpoke> std::string Broken(Poke poke, Unpoke unpoke)
    {
        sim::InvariantChecker checker;
        std::string error;
        EXPECT_TRUE(checker.Check(*director, update, &error)) << error;
        poke();
        const bool ok = checker.Check(*director, update, &error);
        unpoke();
        EXPECT_FALSE(ok);
        return error;
    }
};

TEST_F(InvariantTest, HoldThroughTitleAndPlay)
{
    sim::InvariantChecker checker;
    std::string error;
    // Z on update 150 confirms the waiting title; the game runs from 243.
    for (int i = 1; i <= 600; ++i)
    {
        const bool press = i == 150;
        Update({{i, sim::Key::Z, press}});
        ASSERT_TRUE(checker.Check(*director, update, &error)) << "update " << i << ": " << error;
    }
    EXPECT_EQ(director->scene, GameDirector::ScenePlay);
    EXPECT_EQ(checker.checks, 600);
}

TEST_F(InvariantTest, CatchTheShipOffItsRail)
{
    PlayFromTitle();
    Update();
    EXPECT_NE(Broken([&] { director->ship->x = 226.0f; }, [&] { director->ship->x = 224.0f; })
                  .find("rail"),
              std::string::npos);
    EXPECT_FALSE(
        Broken([&] { director->ship->x = 428.0f; }, [&] { director->ship->x = 224.0f; }).empty());
}

TEST_F(InvariantTest, CatchABrokenBulletList)
{
    PlayFromTitle();
    Update();
    director->bullets->Clear();
    BulletMaker* a = AddBullet(100.0f, 100.0f, 0.0f, 0.0f);
    BulletMaker* b = AddBullet(110.0f, 100.0f, 0.0f, 0.0f);
    AddBullet(120.0f, 100.0f, 0.0f, 0.0f);
    EXPECT_NE(Broken([&] { director->bullets->count += 1; }, [&] { director->bullets->count -= 1; })
                  .find("count"),
              std::string::npos);
    EXPECT_NE(Broken([&] { b->prev = nullptr; }, [&] { b->prev = a; }).find("point back"),
              std::string::npos);
    EXPECT_NE(Broken([&] { director->bullets->tail = b; },
                     [&] { director->bullets->tail = static_cast<BulletMaker*>(b->next); })
                  .find("tail"),
              std::string::npos);
    EXPECT_FALSE(Broken([&] { b->next = a; }, [&] { b->next = director->bullets->tail; }).empty())
        << "a loop back is caught, not walked for ever";
}

TEST_F(InvariantTest, CatchSceneJumpsAndFallingScores)
{
    PlayFromTitle();
    Update();
    EXPECT_NE(Broken([&] { director->scene = GameDirector::SceneTitle; },
                     [&] { director->scene = GameDirector::ScenePlay; })
                  .find("scene went from 3 to 1"),
              std::string::npos);
    director->score = 5000;
    EXPECT_NE(Broken([&] { director->score = 4900; }, [&] { director->score = 5000; }).find("fell"),
              std::string::npos);
    EXPECT_FALSE(Broken([&] { director->stage = 0; }, [&] { director->stage = 1; }).empty());
    EXPECT_FALSE(Broken([&] { director->convoy->pauseFrames = 16; },
                        [&] { director->convoy->pauseFrames = 0; })
                     .empty());
    sim::InvariantChecker checker;
    std::string error;
    EXPECT_FALSE(checker.Check(*director, update + 1, &error)) << "the clock counts updates";
}
