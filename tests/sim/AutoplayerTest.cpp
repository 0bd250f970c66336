// The autoplayer plays through the keyboard: it confirms the title, taps
// fire, dodges what it sees coming and strikes enemies.
#include "Autoplayer.h"

#include "tests/sim/SimSession.h"

#include <map>

namespace
{

class AutoplayerTest : public SimSession
{
protected:
    // One update with the bot's changes; keeps them all.
    void BotUpdate(sim::Autoplayer& bot)
    {
        std::vector<sim::KeyChange> changes;
        bot.Decide(*director, update + 1, &changes);
        for (const sim::KeyChange& change : changes)
        {
            EXPECT_EQ(change.update, update + 1);
        }
        played.insert(played.end(), changes.begin(), changes.end());
        Update(changes);
    }

    std::vector<sim::KeyChange> played;
};

} // namespace

TEST_F(AutoplayerTest, ConfirmsTheTitleOnceItWaitsFromTheChosenUpdate)
{
    sim::Autoplayer bot(1, 130);
    EXPECT_EQ(bot.FirstConfirmAt(), 130);
    int32_t pressedAt = 0;
    while (director->scene != GameDirector::ScenePlay && update < 1000)
    {
        const bool waiting = director->title->state == TitleManage::StateWait;
        const size_t before = played.size();
        BotUpdate(bot);
        for (size_t i = before; i < played.size(); ++i)
        {
            if (played[i].key == sim::Key::Z && played[i].down)
            {
                EXPECT_EQ(pressedAt, 0) << "confirmed twice";
                EXPECT_TRUE(waiting) << "pressed before the title waited";
                pressedAt = played[i].update;
            }
        }
    }
    EXPECT_EQ(pressedAt, 130);
    ASSERT_EQ(director->scene, GameDirector::ScenePlay);
    // The fast blink runs 91 updates, then the game starts and is seeded.
    EXPECT_EQ(update, 130 + 91 + 1);
}

TEST_F(AutoplayerTest, AnUnsetStartIsDrawnFromTheSeed)
{
    sim::Autoplayer a(5, 0), b(5, 0), c(6, 0);
    EXPECT_EQ(a.FirstConfirmAt(), b.FirstConfirmAt());
    EXPECT_NE(a.FirstConfirmAt(), c.FirstConfirmAt());
    EXPECT_GE(a.FirstConfirmAt(), 100);
}

TEST_F(AutoplayerTest, TapsFireAndStrikesEnemies)
{
    sim::Autoplayer bot(1, 100);
    while (director->scene != GameDirector::ScenePlay)
    {
        BotUpdate(bot);
    }
    played.clear();
    for (int i = 0; i < 1500 && director->scene == GameDirector::ScenePlay; ++i)
    {
        BotUpdate(bot);
    }
    EXPECT_EQ(director->scene, GameDirector::ScenePlay) << "hit within 1,500 updates of stage 1";
    EXPECT_LE(director->convoy->CountAlive(), 30) << "ten enemies in 24 seconds at least";

    // Fire is held for exactly one update each time: only a new press fires.
    std::map<int32_t, int> downs, ups;
    for (const sim::KeyChange& change : played)
    {
        if (change.key == sim::Key::Z)
        {
            (change.down ? downs : ups)[change.update] += 1;
        }
        EXPECT_NE(change.key, sim::Key::Space);
    }
    ASSERT_GT(downs.size(), 10u);
    for (const auto& [at, count] : downs)
    {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(ups.count(at + 1), 1u) << "fire pressed at " << at << " not released next";
    }
}

TEST_F(AutoplayerTest, StandingStillUnderTheTestBulletsIsFatal)
{
    PlayFromTitle();
    Update();
    // Make sure the scene is real: without the bot the bullet hits.
    const auto fallOnShip = [&]
    {
        director->bullets->Clear();
        const float shipX = director->ship->x;
        ASSERT_NE(AddNeedle(shipX, 400.0f, 3.0f, 16384.0f), nullptr);
        ASSERT_NE(AddNeedle(shipX - 12.0f, 380.0f, 3.0f, 16384.0f), nullptr);
    };
    fallOnShip();
    for (int i = 0; i < 30 && director->scene == GameDirector::ScenePlay; ++i)
    {
        Update();
    }
    ASSERT_EQ(director->scene, GameDirector::SceneGameOver) << "standing still is fatal";
}

TEST_F(AutoplayerTest, DodgesWhatStandingStillWouldNot)
{
    sim::Autoplayer bot(1, 100);
    while (director->scene != GameDirector::ScenePlay)
    {
        BotUpdate(bot);
    }
    BotUpdate(bot);
    director->bullets->Clear();
    const float shipX = director->ship->x;
    ASSERT_NE(AddNeedle(shipX, 400.0f, 3.0f, 16384.0f), nullptr);
    ASSERT_NE(AddNeedle(shipX - 12.0f, 380.0f, 3.0f, 16384.0f), nullptr);
    for (int i = 0; i < 30; ++i)
    {
        BotUpdate(bot);
        ASSERT_EQ(director->scene, GameDirector::ScenePlay) << "hit after " << i + 1 << " updates";
    }
    EXPECT_NE(director->ship->x, shipX);
}

TEST_F(AutoplayerTest, StepsAsideToGrazeWhenNothingElseCalls)
{
    sim::Autoplayer bot(1, 100);
    while (director->scene != GameDirector::ScenePlay)
    {
        BotUpdate(bot);
    }
    BotUpdate(bot);
    // Nothing to shoot at (the convoy cannot be struck) and no volley for a
    // while: the only thing worth moving for is a needle passing 20 units to
    // the right, out of graze range (15) unless the ship steps towards it.
    for (EnemyObject& enemy : director->convoy->enemies)
    {
        enemy.hitEnabled = false;
    }
    director->convoy->fireClock = 0;
    director->bullets->Clear();
    const float shipX = director->ship->x;
    ASSERT_NE(AddNeedle(shipX + 20.0f, 350.0f, 3.0f, 16384.0f), nullptr);
    for (int i = 0; i < 50; ++i)
    {
        BotUpdate(bot);
        ASSERT_EQ(director->scene, GameDirector::ScenePlay);
    }
    EXPECT_EQ(director->grazeCount, 1);
    EXPECT_GT(director->ship->x, shipX);
    EXPECT_LT(director->ship->x, shipX + 20.0f - 8.0f) << "not closer than its safety margin";
}
