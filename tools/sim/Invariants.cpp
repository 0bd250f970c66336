#include "Invariants.h"

#include "bullets/BulletMaker.h"
#include "bullets/BulletManage.h"
#include "enemies/BonusShipManage.h"
#include "enemies/ConvoyManage.h"
#include "game/GameDirector.h"
#include "player/MyShipManage.h"
#include "player/MyShotManage.h"

#include <cmath>

namespace sim
{
namespace
{

constexpr int32_t SceneCount = 5;
constexpr int32_t MaxBonusShipWait = 2400; // 1200 + 1200 at a stage start

bool Fail(std::string* error, const std::string& what)
{
    *error = what;
    return false;
}

bool Finite(const SpriteItem& s)
{
    return std::isfinite(s.x) && std::isfinite(s.y);
}

bool CheckBulletList(const BulletManage& list, std::string* error)
{
    if (list.count < 0 || list.count > MaxBullets)
    {
        return Fail(error, "bullet count " + std::to_string(list.count) + " outside 0..800");
    }
    if ((list.head == nullptr) != (list.tail == nullptr))
    {
        return Fail(error, "bullet list: only one of head and tail is null");
    }
    if (list.head != nullptr && list.head->prev != nullptr)
    {
        return Fail(error, "bullet list: head has a previous bullet");
    }
    int32_t length = 0;
    const BulletBase* last = nullptr;
    for (const BulletBase* b = list.head; b != nullptr; b = b->next)
    {
        if (++length > MaxBullets)
        {
            return Fail(error, "bullet list longer than 800 (or cyclic)");
        }
        if (b->prev != last)
        {
            return Fail(error, "bullet list: bullet " + std::to_string(length - 1) +
                                   " does not point back at its predecessor");
        }
        if (!Finite(*b) || !std::isfinite(b->speed) || b->life < 0)
        {
            return Fail(error, "bullet " + std::to_string(length - 1) +
                                   ": position or speed not finite, or negative life");
        }
        last = b;
    }
    if (last != list.tail)
    {
        return Fail(error, "bullet list: the walk from head does not end at tail");
    }
    if (length != list.count)
    {
        return Fail(error, "bullet list holds " + std::to_string(length) +
                               " bullets but count is " + std::to_string(list.count));
    }
    return true;
}

bool CheckShip(const MyShipManage& ship, std::string* error)
{
    const float x = ship.x;
    const bool onGrid =
        x >= MyShipManage::LeftLimit && x <= MyShipManage::RightLimit && std::floor(x) == x &&
        (static_cast<int32_t>(x) - static_cast<int32_t>(MyShipManage::LeftLimit)) % 4 == 0;
    if (!onGrid)
    {
        return Fail(error, "ship x " + std::to_string(x) + " off the rail 24, 28 .. 424");
    }
    if (ship.y != 460.0f)
    {
        return Fail(error, "ship y " + std::to_string(ship.y) + " is not 460");
    }
    return true;
}

bool CheckConvoy(const ConvoyManage& c, bool inPlay, std::string* error)
{
    if (c.marchState < 0 || c.marchState > 3 || c.nextIndex < 0 ||
        c.nextIndex > ConvoyManage::EnemyCount || (c.animFrame != 0 && c.animFrame != 1) ||
        c.pauseFrames < 0 || c.pauseFrames > ConvoyManage::HitPauseFrames)
    {
        return Fail(error, "convoy state out of range (march " + std::to_string(c.marchState) +
                               ", next " + std::to_string(c.nextIndex) + ", pause " +
                               std::to_string(c.pauseFrames) + ")");
    }
    const int alive = c.CountAlive();
    if (inPlay && alive < 1)
    {
        return Fail(error, "no enemy alive in play: the next stage did not start");
    }
    for (const EnemyObject& e : c.enemies)
    {
        if (e.active && !Finite(e))
        {
            return Fail(error, "an enemy's position is not finite");
        }
        if (e.exploding && (!e.active || e.hitEnabled))
        {
            return Fail(error, "an exploding enemy is inactive or can still be hit");
        }
    }
    return true;
}

} // namespace

bool InvariantChecker::Check(const GameDirector& d, int32_t update, std::string* error)
{
    ++checks;
    if (d.clock != update)
    {
        return Fail(error,
                    "director clock " + std::to_string(d.clock) + " is not the update number");
    }
    if (d.scene < 0 || d.scene >= SceneCount)
    {
        return Fail(error, "scene " + std::to_string(d.scene) + " outside 0..4");
    }
    if (started && d.scene != scene && d.scene != (scene + 1) % SceneCount)
    {
        return Fail(error,
                    "scene went from " + std::to_string(scene) + " to " + std::to_string(d.scene));
    }
    const bool inGame =
        d.scene == GameDirector::ScenePlay || d.scene == GameDirector::SceneGameOver;
    if (started && scene == GameDirector::SceneGameStart && d.scene == GameDirector::ScenePlay)
    {
        // The game-start update has just run: a new game.
        if (d.score != 0 || d.stage != 1 || d.grazeCount != 0)
        {
            return Fail(error, "a new game starts with score, stage or grazes not reset");
        }
    }
    else if (started && inGame)
    {
        if (d.score < score)
        {
            return Fail(error, "score fell from " + std::to_string(score) + " to " +
                                   std::to_string(d.score) + " within a game");
        }
        if (d.grazeCount < grazeCount || d.stage < stage)
        {
            return Fail(error, "graze count or stage fell within a game");
        }
    }
    if (d.stage < 1 || d.grazeCount < 0 || d.score < 0 || d.hiScore < 0)
    {
        return Fail(error, "stage below 1, or a negative score or graze count");
    }
    if (d.marchStep < 0 || d.marchStep >= MarchSoundCount || d.bonusShipTimer < 0 ||
        d.bonusShipTimer > MaxBonusShipWait || d.gameOverTimer < 0 ||
        d.gameOverTimer > GameDirector::GameOverFrames)
    {
        return Fail(error, "march step, bonus-ship timer or game-over timer out of range");
    }
    scene = d.scene;
    score = d.score;
    grazeCount = d.grazeCount;
    stage = d.stage;
    started = true;

    if (!CheckBulletList(*d.bullets, error) || !CheckShip(*d.ship, error) ||
        !CheckConvoy(*d.convoy, d.scene == GameDirector::ScenePlay, error))
    {
        return false;
    }
    const MyShotManage& shot = *d.shot;
    if (shot.holdFrames < 0 || shot.holdFrames > ConvoyManage::HitPauseFrames || !Finite(shot))
    {
        return Fail(error, "shot hold frames out of 0..15, or its position not finite");
    }
    if (shot.hitEnabled && !shot.inFlight)
    {
        return Fail(error, "an idle shot can hit");
    }
    const BonusShipManage& bonus = *d.bonusShip;
    if (bonus.flying != bonus.active || (bonus.hitEnabled && !bonus.flying) || !Finite(bonus))
    {
        return Fail(error, "bonus ship flags disagree (flying, active, hitEnabled)");
    }
    return true;
}

} // namespace sim
