// The autoplayer plays through the keyboard: it confirms the title, taps
// fire, dodges what it sees coming and strikes enemies.
#include "Autoplayer.h"

#include "Forecast.h"
#include "bullets/Angle.h"
#include "tests/sim/SimSession.h"
#include "tests/support/Waits.h"

#include <deque>
#include <map>
#include <memory>
#include <unordered_set>

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

    // Bot updates from a fresh game until play begins: the title waits from
    // update 93, the bot confirms from its chosen update (100 here) and the
    // blink takes 91 more; three times that is plenty.
    ::testing::AssertionResult BotToPlay(sim::Autoplayer& bot)
    {
        return skyreel_test::StepUntil(
            "the play scene under the autoplayer", 600,
            [&] { return director->scene == GameDirector::ScenePlay; }, [&] { BotUpdate(bot); });
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
    ASSERT_TRUE(BotToPlay(bot));
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
        ASSERT_NE(AddBullet(shipX, 400.0f, 3.0f, AngleDown), nullptr);
        ASSERT_NE(AddBullet(shipX - 12.0f, 380.0f, 3.0f, AngleDown), nullptr);
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
    ASSERT_TRUE(BotToPlay(bot));
    BotUpdate(bot);
    director->bullets->Clear();
    const float shipX = director->ship->x;
    ASSERT_NE(AddBullet(shipX, 400.0f, 3.0f, AngleDown), nullptr);
    ASSERT_NE(AddBullet(shipX - 12.0f, 380.0f, 3.0f, AngleDown), nullptr);
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
    ASSERT_TRUE(BotToPlay(bot));
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
    ASSERT_NE(AddBullet(shipX + 20.0f, 350.0f, 3.0f, AngleDown), nullptr);
    for (int i = 0; i < 50; ++i)
    {
        BotUpdate(bot);
        ASSERT_EQ(director->scene, GameDirector::ScenePlay);
    }
    EXPECT_EQ(director->grazeCount, 1);
    EXPECT_GT(director->ship->x, shipX);
    EXPECT_LT(director->ship->x, shipX + 20.0f - 8.0f) << "not closer than its safety margin";
}

// The forecast the autoplayer plans on is what the game then does: the
// convoy, the shot and the bonus ship up to PlayForecast::Frames updates
// ahead, for as long as no shot is fired, no bonus ship launched and no stage
// started, and every bullet of the list up to the bot's look-ahead. Checked
// along a game the autoplayer plays, so that strikes, standstills, turns and
// bonus ships come by.
TEST_F(AutoplayerTest, ForecastsWhatTheGameThenDoes)
{
    struct Tracked
    {
        const BulletBase* bullet;
        sim::BulletPath path;
    };
    struct Pending
    {
        int32_t from = 0;
        int32_t until = 0; // last update the forecast still stands for
        std::unique_ptr<sim::PlayForecast> play = std::make_unique<sim::PlayForecast>();
        std::vector<Tracked> bullets;
    };
    constexpr int32_t Every = 5; // updates between forecasts
    constexpr int Frames = sim::PlayForecast::Frames;

    sim::Autoplayer bot(1, 100);
    ASSERT_TRUE(BotToPlay(bot));
    const sim::ShotPath shotPath;
    std::deque<Pending> pending;
    int64_t strikes = 0, downSteps = 0, bonusFrames = 0, bulletFrames = 0;
    int failures = 0;
    auto disagree = [&](const Pending& p, const char* what, int i)
    {
        ADD_FAILURE() << what << " " << i << " forecast at update " << p.from << " for update "
                      << update;
        return ++failures < 10;
    };

    for (int n = 0; n < 4000 && director->scene == GameDirector::ScenePlay; ++n)
    {
        if (update % Every == 0)
        {
            Pending p;
            p.from = update;
            p.until = update + Frames;
            p.play->Make(*director, shotPath.shotRadius);
            for (const BulletBase* b = director->bullets->head; b != nullptr; b = b->next)
            {
                p.bullets.push_back({b, sim::BulletPath(*b)});
            }
            pending.push_back(std::move(p));
        }
        const bool shotOut = director->shot->inFlight;
        const bool bonusOut = director->bonusShip->IsFlying();
        const int32_t stage = director->stage;
        BotUpdate(bot);
        if (director->scene != GameDirector::ScenePlay)
        {
            break; // the field freezes: nothing more to compare
        }
        const bool fired = !shotOut && director->shot->inFlight;
        const bool launched = !bonusOut && director->bonusShip->IsFlying();
        const bool newStage = director->stage != stage;

        std::unordered_set<const BulletBase*> listed;
        for (const BulletBase* b = director->bullets->head; b != nullptr; b = b->next)
        {
            listed.insert(b);
        }
        for (Pending& p : pending)
        {
            if (fired || launched || newStage)
            {
                p.until = std::min(p.until, update - 1);
            }
            if (newStage)
            {
                p.bullets.clear(); // cancelled and cleared
            }
            const int t = update - p.from;
            for (Tracked& tracked : p.bullets)
            {
                if (tracked.bullet == nullptr || t > sim::Autoplayer::Horizon ||
                    !tracked.path.Step())
                {
                    tracked.bullet = nullptr; // retired: its place may be taken by another
                    continue;
                }
                const BulletBase& now = tracked.path.Now();
                ++bulletFrames;
                if (listed.count(tracked.bullet) == 0 || tracked.bullet->x != now.x ||
                    tracked.bullet->y != now.y || tracked.bullet->life != now.life)
                {
                    ASSERT_TRUE(disagree(p, "bullet", static_cast<int>(&tracked - &p.bullets[0])));
                    tracked.bullet = nullptr;
                }
            }
            if (update > p.until)
            {
                continue;
            }
            const sim::PlayForecast& f = *p.play;
            for (int i = 0; i < sim::PlayForecast::Enemies; ++i)
            {
                const EnemyObject& enemy = director->convoy->enemies[i];
                strikes += f.hittable[t - 1][i] && !f.hittable[t][i];
                downSteps += f.y[t][i] > f.y[t - 1][i];
                if (enemy.x != f.x[t][i] || enemy.y != f.y[t][i] ||
                    (enemy.active && enemy.hitEnabled) != f.hittable[t][i])
                {
                    ASSERT_TRUE(disagree(p, "enemy", i));
                }
            }
            const BonusShipManage& bonus = *director->bonusShip;
            bonusFrames += f.bonusHittable[t];
            if (bonus.x != f.bonusX[t] || bonus.y != f.bonusY[t] ||
                bonus.hitEnabled != f.bonusHittable[t])
            {
                ASSERT_TRUE(disagree(p, "bonus ship", 0));
            }
            if (director->shot->inFlight != f.shotInFlight[t])
            {
                ASSERT_TRUE(disagree(p, "shot", 0));
            }
        }
        while (!pending.empty() && update - pending.front().from >= Frames)
        {
            pending.pop_front();
        }
    }
    // The comparisons covered strikes, turns, a bonus ship and many bullets.
    EXPECT_GT(strikes, 0);
    EXPECT_GT(downSteps, 0);
    EXPECT_GT(bonusFrames, 0);
    EXPECT_GT(bulletFrames, 10000);
}
