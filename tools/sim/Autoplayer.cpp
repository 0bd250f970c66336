#include "Autoplayer.h"

#include "bullets/Angle.h"
#include "bullets/BulletMaker.h"
#include "bullets/BulletManage.h"
#include "game/GameDirector.h"
#include "player/MyShipManage.h"
#include "presentation/TitleManage.h"

#include <algorithm>
#include <cmath>

namespace sim
{
namespace
{

// Field units unless stated otherwise.
constexpr float ShipStep = MyShipManage::Step;
constexpr int EnemyCount = ConvoyManage::EnemyCount;

// Band around the ship's row in which a bullet can hit or graze it.
constexpr float ThreatBand = 24.0f;
// Extra room kept around a bullet's hit circle: bullets not yet fired are
// not in the forecast, and a little slack costs nothing.
constexpr float SafetyMargin = 3.0f;

constexpr float HitCost = 1.0e6f;
constexpr float NearCost = 60.0f;    // per field unit inside the safety margin
constexpr float GrazeReward = 50.0f; // per bullet grazed on the way
constexpr float GoalCost = 1.0f;     // per field unit between the plan's end and the goal
constexpr float PathGoalCost = 0.5f; // per field unit on average along the plan
constexpr float WallRoom = 32.0f;    // a ship this close to a side has fewer ways out
constexpr float WallCost = 0.5f;

constexpr float RowPreference = 0.2f; // frames of waiting worth one field unit lower
constexpr float BonusPreference = 60.0f;
constexpr int32_t TitleWaitMin = 100;
constexpr int32_t TitleWaitSpread = 200;
constexpr int32_t FirstConfirmMin = 100;
constexpr int32_t FirstConfirmSpread = 400;
constexpr int32_t LifespanMin = 2000;
constexpr int32_t LifespanSpread = 30000;
constexpr int HoldFireChoices[] = {0, 0, 12, 20};
constexpr int32_t HoldFireSpan = 3000;

// Plans: hold one direction for this many updates, then stand still.
constexpr int PlanLengths[] = {1, 2, 3, 4, 5, 6, 8, 10, 12, 15, 18, 22, 26, 30, 35, 40};

float ClampToRail(float x)
{
    return std::clamp(x, MyShipManage::LeftLimit, MyShipManage::RightLimit);
}

// The rail position (24, 28 .. 424) nearest to x.
float NearestRail(float x)
{
    const float steps = std::round((x - MyShipManage::LeftLimit) / ShipStep);
    return ClampToRail(MyShipManage::LeftLimit + steps * ShipStep);
}

} // namespace

Autoplayer::Autoplayer(uint32_t seed, int32_t confirmFirstAt, bool mortalBot)
    : rng(seed * 2654435761u + 0x9E3779B9u), firstConfirmAt(confirmFirstAt), mortal(mortalBot),
      forecast(std::make_unique<PlayForecast>()), grazeStamp(MaxBullets + 1, 0)
{
    if (rng == 0)
    {
        rng = 1;
    }
    if (firstConfirmAt <= 0)
    {
        firstConfirmAt = FirstConfirmMin + static_cast<int32_t>(NextRandom() % FirstConfirmSpread);
    }
}

uint32_t Autoplayer::NextRandom()
{
    // xorshift32: the bot's own numbers, apart from the game's rand().
    rng ^= rng << 13;
    rng ^= rng >> 17;
    rng ^= rng << 5;
    return rng;
}

void Autoplayer::Press(Key key, bool down, bool* held, int32_t update,
                       std::vector<KeyChange>* changes)
{
    if (*held != down)
    {
        changes->push_back({update, key, down});
        *held = down;
    }
}

void Autoplayer::ReleaseAll(int32_t update, std::vector<KeyChange>* changes)
{
    Press(Key::Left, false, &left, update, changes);
    Press(Key::Right, false, &right, update, changes);
    Press(Key::Z, false, &fire, update, changes);
}

void Autoplayer::Decide(const GameDirector& director, int32_t update,
                        std::vector<KeyChange>* changes)
{
    const int32_t scene = director.scene;
    if (scene == GameDirector::ScenePlay && lastScene != GameDirector::ScenePlay)
    {
        // A game has just started.
        playUpdates = 0;
        holdFireFrom = 0;
        if (mortal)
        {
            lifespan = LifespanMin + static_cast<int32_t>(NextRandom() % LifespanSpread);
            holdFireBelow = HoldFireChoices[NextRandom() % std::size(HoldFireChoices)];
        }
    }
    if (scene == GameDirector::SceneTitleSetUp || scene == GameDirector::SceneTitle)
    {
        Title(director, update, changes);
    }
    else if (scene == GameDirector::ScenePlay)
    {
        Play(director, update, changes);
    }
    else
    {
        ReleaseAll(update, changes);
    }
    lastScene = scene;
}

void Autoplayer::Title(const GameDirector& director, int32_t update,
                       std::vector<KeyChange>* changes)
{
    if (lastScene != GameDirector::SceneTitleSetUp && lastScene != GameDirector::SceneTitle)
    {
        // A title has just begun.
        if (firstTitle)
        {
            confirmAt = firstConfirmAt;
            firstTitle = false;
        }
        else
        {
            confirmAt =
                update + TitleWaitMin + static_cast<int32_t>(NextRandom() % TitleWaitSpread);
        }
        confirmed = false;
    }
    Press(Key::Left, false, &left, update, changes);
    Press(Key::Right, false, &right, update, changes);
    if (fire)
    {
        Press(Key::Z, false, &fire, update, changes);
        return;
    }
    if (!confirmed && director.scene == GameDirector::SceneTitle && director.title != nullptr &&
        director.title->state == TitleManage::StateWait && update >= confirmAt)
    {
        Press(Key::Z, true, &fire, update, changes);
        confirmed = true;
    }
}

void Autoplayer::Play(const GameDirector& director, int32_t update, std::vector<KeyChange>* changes)
{
    ++playUpdates;
    const bool seek = mortal && playUpdates > lifespan;
    const float shipX = director.ship->x;
    forecast->Make(director, shotPath.shotRadius);
    CollectThreats(director);
    const float goalX = ChooseGoal(shipX);
    const int move = ChooseMove(shipX, goalX, seek);
    Press(Key::Left, move < 0, &left, update, changes);
    Press(Key::Right, move > 0, &right, update, changes);

    if (fire)
    {
        // Only a new press fires: let go first.
        Press(Key::Z, false, &fire, update, changes);
        return;
    }
    if (mortal && holdFireFrom == 0 && director.convoy->CountAlive() <= holdFireBelow)
    {
        holdFireFrom = playUpdates;
    }
    // Not for ever: a convoy left alone marches down past the ship, out of
    // reach of the shot and of the bullets, and the game could then not end.
    const bool holding = holdFireFrom > 0 && playUpdates - holdFireFrom < HoldFireSpan;
    if (forecast->shotReady != 1 || holding)
    {
        return;
    }
    const float firingX = ClampToRail(shipX + ShipStep * static_cast<float>(move));
    if (ShotStrikes(firingX) > 0)
    {
        Press(Key::Z, true, &fire, update, changes);
    }
}

void Autoplayer::CollectThreats(const GameDirector& director)
{
    for (std::vector<Threat>& frame : threats)
    {
        frame.clear();
    }
    int32_t id = 0;
    for (const BulletBase* b = director.bullets->head; b != nullptr && id < MaxBullets;
         b = b->next, ++id)
    {
        if (!b->hitEnabled)
        {
            continue;
        }
        const float shipY = shotPath.shipY;
        const float distance = std::fabs(b->y - shipY) - ThreatBand;
        const float fastest = std::max(b->speed, b->maxSpeed) + 0.5f;
        if (distance > fastest * static_cast<float>(Horizon))
        {
            continue;
        }
        if (b->y < shipY - ThreatBand && SinAngle(b->Heading()) <= 0.0f)
        {
            continue; // above the ship and not coming down
        }
        const Threat base = {0.0f, 0.0f, b->hitRadius + shotPath.shipHitRadius,
                             b->grazeEnabled ? b->grazeRadius + shotPath.shipGrazeRadius : 0.0f,
                             id};
        BulletPath path(*b);
        for (int t = 1; t <= Horizon; ++t)
        {
            if (!path.Step())
            {
                break;
            }
            const BulletBase& now = path.Now();
            if (std::fabs(now.y - shipY) <= ThreatBand)
            {
                Threat threat = base;
                threat.x = now.x;
                threat.y = now.y;
                threats[t].push_back(threat);
            }
        }
    }
}

float Autoplayer::ChooseGoal(float shipX) const
{
    const PlayForecast& f = *forecast;
    const int first = std::max(1, f.shotReady);
    if (first > MaxFireDelay)
    {
        return shipX;
    }

    // The target of each column is its lowest enemy that can be struck.
    int lowest[ConvoyManage::Columns];
    float lowestY = -1.0e9f;
    for (int c = 0; c < ConvoyManage::Columns; ++c)
    {
        lowest[c] = -1;
        for (int row = 0; row < ConvoyManage::Rows; ++row)
        {
            const int i = row * ConvoyManage::Columns + c;
            if (f.hittable[first - 1][i] &&
                (lowest[c] < 0 || f.y[first - 1][i] > f.y[first - 1][lowest[c]]))
            {
                lowest[c] = i;
            }
        }
        if (lowest[c] >= 0)
        {
            lowestY = std::max(lowestY, f.y[first - 1][lowest[c]]);
        }
    }

    float bestCost = 1.0e9f;
    float goal = shipX;
    // The first moment (and place) a shot can leave to meet an object whose
    // position at frame t is (xs[t], ys[t]).
    auto intercept = [&](auto position, float reach, float* where)
    {
        for (int delay = first; delay <= MaxFireDelay; ++delay)
        {
            float tx = 0.0f, ty = 0.0f;
            if (!position(delay, &tx, &ty))
            {
                return -1;
            }
            const int k = shotPath.FramesTo(ty);
            const int t = delay + k - 1;
            if (k > MaxShotFrames || t > ConvoyFrames || !position(t, &tx, &ty))
            {
                return -1;
            }
            const float spot = NearestRail(tx);
            if (std::fabs(spot - tx) > reach)
            {
                continue;
            }
            if (std::fabs(spot - shipX) <= ShipStep * static_cast<float>(delay))
            {
                *where = spot;
                return delay;
            }
        }
        return -1;
    };

    for (int c = 0; c < ConvoyManage::Columns; ++c)
    {
        const int i = lowest[c];
        if (i < 0 || f.y[first - 1][i] > shotPath.Y(0) + f.reach[i])
        {
            continue;
        }
        float where = 0.0f;
        const int delay = intercept(
            [&](int t, float* px, float* py)
            {
                *px = f.x[t][i];
                *py = f.y[t][i];
                return f.hittable[t][i];
            },
            f.reach[i] * 0.5f, &where);
        if (delay < 0)
        {
            continue;
        }
        const float cost =
            static_cast<float>(delay) + RowPreference * (lowestY - f.y[first - 1][i]);
        if (cost < bestCost)
        {
            bestCost = cost;
            goal = where;
        }
    }
    if (f.bonusHittable[first - 1])
    {
        float where = 0.0f;
        const int delay = intercept(
            [&](int t, float* px, float* py)
            {
                *px = f.bonusX[t];
                *py = f.bonusY[t];
                return f.bonusHittable[t];
            },
            f.bonusReach * 0.5f, &where);
        if (delay >= 0 && static_cast<float>(delay) - BonusPreference < bestCost)
        {
            bestCost = static_cast<float>(delay) - BonusPreference;
            goal = where;
        }
    }
    return goal;
}

int Autoplayer::ChooseMove(float shipX, float goalX, bool seek)
{
    float bestCost = 0.0f;
    int bestMove = 0;
    bool haveBest = false;
    for (int direction = -1; direction <= 1; ++direction)
    {
        for (int length : PlanLengths)
        {
            if (direction == 0 && length > 1)
            {
                break; // standing still is one plan
            }
            ++stamp;
            float cost = 0.0f;
            float pathGoal = 0.0f;
            float x = shipX;
            for (int t = 1; t <= Horizon; ++t)
            {
                if (t <= length)
                {
                    x = ClampToRail(x + ShipStep * static_cast<float>(direction));
                }
                pathGoal += std::fabs(x - goalX);
                bool hit = false;
                for (const Threat& threat : threats[t])
                {
                    const float dx = std::fabs(x - threat.x);
                    const float dy = std::fabs(shotPath.shipY - threat.y);
                    const float outer = std::max(threat.reach + SafetyMargin, threat.grazeReach);
                    if (dx > outer || dy > outer)
                    {
                        continue;
                    }
                    const float d2 = dx * dx + dy * dy;
                    if (ShootingObject::CirclesMeet(x, shotPath.shipY, threat.x, threat.y,
                                                    threat.reach))
                    {
                        const float soon = HitCost * static_cast<float>(Horizon + 1 - t);
                        cost += seek ? -soon : soon;
                        hit = true;
                        break;
                    }
                    const float safe = threat.reach + SafetyMargin;
                    if (d2 < safe * safe)
                    {
                        cost += NearCost * (safe - std::sqrt(d2));
                    }
                    else if (threat.grazeReach > 0.0f &&
                             d2 <= threat.grazeReach * threat.grazeReach &&
                             grazeStamp[static_cast<size_t>(threat.id)] != stamp)
                    {
                        grazeStamp[static_cast<size_t>(threat.id)] = stamp;
                        cost -= GrazeReward;
                    }
                }
                if (hit)
                {
                    break;
                }
            }
            cost += GoalCost * std::fabs(x - goalX) +
                    PathGoalCost * pathGoal / static_cast<float>(Horizon);
            const float wall = std::min(x - MyShipManage::LeftLimit, MyShipManage::RightLimit - x);
            if (wall < WallRoom)
            {
                cost += WallCost * (WallRoom - wall);
            }
            if (!haveBest || cost < bestCost)
            {
                haveBest = true;
                bestCost = cost;
                bestMove = direction;
            }
        }
    }
    return bestMove;
}

int Autoplayer::ShotStrikes(float x) const
{
    const PlayForecast& f = *forecast;
    for (int k = 1; k <= MaxShotFrames && k <= ConvoyFrames; ++k)
    {
        const float shotY = shotPath.Y(k);
        if (shotY == ShotPath::Gone)
        {
            return 0; // left the field
        }
        for (int i = 0; i < EnemyCount; ++i)
        {
            if (f.hittable[k][i] &&
                ShootingObject::CirclesMeet(f.x[k][i], f.y[k][i], x, shotY, f.reach[i]))
            {
                return k;
            }
        }
        if (f.bonusHittable[k] &&
            ShootingObject::CirclesMeet(f.bonusX[k], f.bonusY[k], x, shotY, f.bonusReach))
        {
            return k;
        }
    }
    return 0;
}

} // namespace sim
