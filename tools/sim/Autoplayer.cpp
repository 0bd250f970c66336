#include "Autoplayer.h"

#include "bullets/Angle.h"
#include "bullets/BulletMaker.h"
#include "bullets/BulletManage.h"
#include "enemies/BonusShipManage.h"
#include "enemies/ConvoyManage.h"
#include "game/GameDirector.h"
#include "player/MyShipManage.h"
#include "player/MyShotManage.h"
#include "presentation/TitleManage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sim
{
namespace
{

// Field units unless stated otherwise.
constexpr float ShipY = 460.0f;
constexpr float ShipHitRadius = 1.0f;
constexpr float ShipGrazeRadius = 4.0f;
constexpr float ShotLaunchY = ShipY - 4.0f;
constexpr float ShotReach = 4.0f + 8.0f;   // shot radius + enemy radius
constexpr float BonusReach = 4.0f + 16.0f; // shot radius + bonus ship radius
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

// The game's motion rule for one object, with its heading fixed (nothing the
// game fires turns after it was made).
struct Mover
{
    float x, y, speed, acceleration, maxSpeed, stepCos, stepSin, halfWidth, halfHeight;
    int32_t life;

    explicit Mover(const BulletBase& b)
        : x(b.x), y(b.y), speed(b.speed), acceleration(b.acceleration), maxSpeed(b.maxSpeed),
          halfWidth(static_cast<float>(b.width) * 0.5f),
          halfHeight(static_cast<float>(b.height) * 0.5f), life(b.life)
    {
        const float sum = b.direction + b.directionOffset;
        int heading = 0;
        if (std::isfinite(sum))
        {
            heading = static_cast<int>(std::fmod(sum, static_cast<float>(AngleUnitsPerTurn)));
        }
        if (heading < 0)
        {
            heading += AngleUnitsPerTurn;
        }
        stepCos = CosAngle(heading);
        stepSin = SinAngle(heading);
    }

    // One Move; false once the object has left play.
    bool Step()
    {
        if (speed < maxSpeed)
        {
            speed = speed + acceleration;
            if (speed < 0.0f)
            {
                speed = 0.0f;
            }
        }
        const float stepX = stepCos * speed;
        const float stepY = stepSin * speed;
        x = x + stepX;
        y = y + stepY;
        const bool inside =
            x + halfWidth > 0.0f && x - halfWidth < static_cast<float>(FieldWidth) &&
            y + halfHeight > 0.0f && y - halfHeight < static_cast<float>(FieldHeight);
        if (life > 0)
        {
            life = life - 1;
            return inside;
        }
        life = 0;
        return false;
    }
};

// The game's circle test, with both objects able to hit.
bool CirclesMeet(float ax, float ay, float bx, float by, float r)
{
    const float dx = std::fabs(ax - bx);
    const float dy = std::fabs(ay - by);
    if (dx > r || dy > r)
    {
        return false;
    }
    return dx * dx + dy * dy <= r * r;
}

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

// One frame of the convoy's march as ConvoyManage::Update moves it.
struct ConvoyModel
{
    float x[EnemyCount], y[EnemyCount];
    bool active[EnemyCount], hittable[EnemyCount], exploding[EnemyCount];
    int32_t marchState, nextIndex, pauseFrames;

    explicit ConvoyModel(const ConvoyManage& c)
        : marchState(c.marchState), nextIndex(c.nextIndex), pauseFrames(c.pauseFrames)
    {
        for (int i = 0; i < EnemyCount; ++i)
        {
            const EnemyObject& e = c.enemies[i];
            x[i] = e.x;
            y[i] = e.y;
            active[i] = e.active;
            hittable[i] = e.active && e.hitEnabled;
            exploding[i] = e.exploding;
        }
    }

    void Step()
    {
        if (pauseFrames > 0)
        {
            pauseFrames -= 1;
            if (pauseFrames == 0)
            {
                for (int i = 0; i < EnemyCount; ++i)
                {
                    if (exploding[i])
                    {
                        exploding[i] = active[i] = hittable[i] = false;
                    }
                }
            }
            return;
        }
        int i = nextIndex;
        while (i < EnemyCount && !active[i])
        {
            ++i;
        }
        if (i < EnemyCount)
        {
            switch (marchState)
            {
            case ConvoyManage::MarchRight:
                x[i] += 6.0f;
                break;
            case ConvoyManage::StepDownRight:
            case ConvoyManage::StepDownLeft:
                y[i] += 8.0f;
                break;
            case ConvoyManage::MarchLeft:
                x[i] -= 6.0f;
                break;
            default:
                break;
            }
            nextIndex = i + 1;
            return;
        }
        nextIndex = 0;
        float smallest = 224.0f;
        float largest = 224.0f;
        for (int k = 0; k < EnemyCount; ++k)
        {
            if (active[k])
            {
                smallest = std::min(smallest, x[k]);
                largest = std::max(largest, x[k]);
            }
        }
        if (marchState == ConvoyManage::MarchRight && largest > 428.0f)
        {
            marchState = ConvoyManage::StepDownRight;
        }
        else if (marchState == ConvoyManage::StepDownRight)
        {
            marchState = ConvoyManage::MarchLeft;
        }
        else if (marchState == ConvoyManage::MarchLeft && smallest < 20.0f)
        {
            marchState = ConvoyManage::StepDownLeft;
        }
        else if (marchState == ConvoyManage::StepDownLeft)
        {
            marchState = ConvoyManage::MarchRight;
        }
    }
};

} // namespace

Autoplayer::Autoplayer(uint32_t seed, int32_t confirmAt, bool mortal)
    : rng(seed * 2654435761u + 0x9E3779B9u), firstConfirmAt(confirmAt), mortal(mortal), forecast(1),
      grazeStamp(MaxBullets + 1, 0)
{
    if (rng == 0)
    {
        rng = 1;
    }
    if (firstConfirmAt <= 0)
    {
        firstConfirmAt = FirstConfirmMin + static_cast<int32_t>(NextRandom() % FirstConfirmSpread);
    }
    // y of a shot fired from the ship after k moves: speed 1.0, +0.2 a frame.
    BulletBase shot;
    shot.x = 224.0f;
    shot.y = ShotLaunchY;
    shot.width = 8;
    shot.height = 16;
    shot.direction = static_cast<float>(AngleUp);
    shot.speed = 1.0f;
    shot.acceleration = 0.2f;
    shot.maxSpeed = 20.0f;
    shot.life = 600;
    Mover m(shot);
    shotY[0] = ShotLaunchY;
    for (int k = 1; k <= MaxShotFrames; ++k)
    {
        // A shot that has left the field is parked far away.
        shotY[k] = m.Step() ? m.y : -1.0e9f;
    }
    for (int row = 0; row <= FieldHeight; ++row)
    {
        int k = 1;
        while (k <= MaxShotFrames && shotY[k] > static_cast<float>(row))
        {
            ++k;
        }
        shotFramesTo[row] = k;
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
    ForecastConvoy(director);
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
    if (forecast[0].shotReady != 1 || holding)
    {
        return;
    }
    const float firingX = ClampToRail(shipX + ShipStep * static_cast<float>(move));
    if (ShotStrikes(firingX) > 0)
    {
        Press(Key::Z, true, &fire, update, changes);
    }
}

void Autoplayer::ForecastConvoy(const GameDirector& director)
{
    Forecast& f = forecast[0];
    ConvoyModel convoy(*director.convoy);
    auto Record = [&f](const ConvoyModel& c, int t)
    {
        std::memcpy(f.x[t], c.x, sizeof c.x);
        std::memcpy(f.y[t], c.y, sizeof c.y);
        std::memcpy(f.hittable[t], c.hittable, sizeof c.hittable);
    };

    const MyShotManage& shotNow = *director.shot;
    Mover shot(shotNow);
    bool inFlight = shotNow.inFlight;
    bool shotHits = shotNow.hitEnabled;
    int32_t hold = shotNow.holdFrames;

    const BonusShipManage& bonusNow = *director.bonusShip;
    Mover bonus(bonusNow);
    bool bonusFlying = bonusNow.flying;
    bool bonusHittable = bonusNow.hitEnabled;

    Record(convoy, 0);
    f.bonusX[0] = bonus.x;
    f.bonusY[0] = bonus.y;
    f.bonusHittable[0] = bonusHittable;
    f.shotReady = inFlight ? 0 : 1;

    for (int t = 1; t <= ConvoyFrames; ++t)
    {
        // The play frame's order: shot, convoy, shot against enemies, bonus ship.
        if (inFlight)
        {
            if (hold == 0)
            {
                inFlight = shot.Step();
                shotHits = shotHits && inFlight;
            }
            else if (--hold <= 0)
            {
                inFlight = false;
                shotHits = false;
            }
        }
        convoy.Step();
        if (shotHits)
        {
            for (int i = 0; i < EnemyCount; ++i)
            {
                if (convoy.active[i] && convoy.hittable[i] &&
                    CirclesMeet(convoy.x[i], convoy.y[i], shot.x, shot.y, ShotReach))
                {
                    convoy.hittable[i] = false;
                    convoy.exploding[i] = true;
                    convoy.pauseFrames = ConvoyManage::HitPauseFrames;
                    shotHits = false;
                    hold = ConvoyManage::HitPauseFrames;
                }
            }
        }
        if (bonusFlying)
        {
            bonusFlying = bonus.Step();
            bonusHittable = bonusHittable && bonusFlying;
            if (shotHits && bonusHittable &&
                CirclesMeet(bonus.x, bonus.y, shot.x, shot.y, BonusReach))
            {
                bonusHittable = false;
                bonusFlying = false;
                shotHits = false;
            }
        }
        if (f.shotReady == 0 && !inFlight)
        {
            f.shotReady = t + 1;
        }
        Record(convoy, t);
        f.bonusX[t] = bonus.x;
        f.bonusY[t] = bonus.y;
        f.bonusHittable[t] = bonusHittable;
    }
    if (f.shotReady == 0)
    {
        f.shotReady = ConvoyFrames + 1;
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
        Mover m(*b);
        const float distance = std::fabs(m.y - ShipY) - ThreatBand;
        const float fastest = std::max(m.speed, m.maxSpeed) + 0.5f;
        if (distance > fastest * static_cast<float>(Horizon))
        {
            continue;
        }
        if (m.y < ShipY - ThreatBand && m.stepSin <= 0.0f)
        {
            continue; // above the ship and not coming down
        }
        const Threat base = {0.0f, 0.0f, b->hitRadius + ShipHitRadius,
                             b->grazeEnabled ? b->grazeRadius + ShipGrazeRadius : 0.0f, id};
        for (int t = 1; t <= Horizon; ++t)
        {
            if (!m.Step())
            {
                break;
            }
            if (std::fabs(m.y - ShipY) <= ThreatBand)
            {
                Threat threat = base;
                threat.x = m.x;
                threat.y = m.y;
                threats[t].push_back(threat);
            }
        }
    }
}

int Autoplayer::ShotFramesTo(float y) const
{
    const int row = static_cast<int>(std::clamp(y, 0.0f, static_cast<float>(FieldHeight)));
    return shotFramesTo[row];
}

float Autoplayer::ChooseGoal(float shipX) const
{
    const Forecast& f = forecast[0];
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
            const int k = ShotFramesTo(ty);
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
        if (i < 0 || f.y[first - 1][i] > ShotLaunchY + ShotReach)
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
            ShotReach * 0.5f, &where);
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
            BonusReach * 0.5f, &where);
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
                    const float dy = std::fabs(ShipY - threat.y);
                    const float outer = std::max(threat.reach + SafetyMargin, threat.grazeReach);
                    if (dx > outer || dy > outer)
                    {
                        continue;
                    }
                    const float d2 = dx * dx + dy * dy;
                    if (CirclesMeet(x, ShipY, threat.x, threat.y, threat.reach))
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
                             grazeStamp[threat.id] != stamp)
                    {
                        grazeStamp[threat.id] = stamp;
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
    const Forecast& f = forecast[0];
    for (int k = 1; k <= MaxShotFrames && k <= ConvoyFrames; ++k)
    {
        if (shotY[k] < -1.0e8f)
        {
            return 0; // left the field
        }
        for (int i = 0; i < EnemyCount; ++i)
        {
            if (f.hittable[k][i] && CirclesMeet(f.x[k][i], f.y[k][i], x, shotY[k], ShotReach))
            {
                return k;
            }
        }
        if (f.bonusHittable[k] && CirclesMeet(f.bonusX[k], f.bonusY[k], x, shotY[k], BonusReach))
        {
            return k;
        }
    }
    return 0;
}

} // namespace sim
