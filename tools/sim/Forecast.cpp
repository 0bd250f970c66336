#include "Forecast.h"

#include "game/GameDirector.h"
#include "player/MyShipManage.h"

#include <algorithm>

namespace sim
{

ShotPath::ShotPath()
{
    MyShipManage ship;
    ship.Reset();
    MyShotManage shot;
    shot.Fire(ship);
    shipY = ship.y;
    shipHitRadius = ship.hitRadius;
    shipGrazeRadius = ship.grazeRadius;
    shotRadius = shot.hitRadius;

    y[0] = shot.y;
    for (int k = 1; k <= MaxFrames; ++k)
    {
        y[k] = shot.Move() ? shot.y : Gone;
    }
    for (int row = 0; row <= FieldHeight; ++row)
    {
        int k = 1;
        while (k <= MaxFrames && y[k] > static_cast<float>(row))
        {
            ++k;
        }
        framesTo[row] = k;
    }
}

int ShotPath::FramesTo(float row) const
{
    return framesTo[static_cast<int>(std::clamp(row, 0.0f, static_cast<float>(FieldHeight)))];
}

void PlayForecast::Make(const GameDirector& director, float newShotRadius)
{
    const ConvoyManage& live = *director.convoy;
    for (int i = 0; i < Enemies; ++i)
    {
        convoy.enemies[i] = live.enemies[i];
        convoy.enemies[i].SetRenderContext(nullptr);
        reach[i] = live.enemies[i].hitRadius + newShotRadius;
    }
    convoy.marchState = live.marchState;
    convoy.nextIndex = live.nextIndex;
    convoy.animFrame = live.animFrame;
    convoy.pauseFrames = live.pauseFrames;

    shot = *director.shot;
    shot.SetRenderContext(nullptr);
    bonus = *director.bonusShip;
    bonus.SetRenderContext(nullptr);
    bonusReach = bonus.hitRadius + newShotRadius;

    Record(0);
    shotReady = shot.inFlight ? 0 : 1;
    for (int t = 1; t <= Frames; ++t)
    {
        // The play update's order: the shot, the convoy, the shot against
        // the enemies, the bonus ship (which moves only while it flies).
        shot.Move();
        convoy.March();
        if (shot.hitEnabled) // a shot that cannot hit strikes nothing (HitTest)
        {
            convoy.HitByShot(shot);
        }
        if (bonus.IsFlying())
        {
            bonus.Move();
            bonus.HitByShot(shot);
        }
        if (shotReady == 0 && !shot.inFlight)
        {
            shotReady = t + 1;
        }
        Record(t);
    }
    if (shotReady == 0)
    {
        shotReady = Frames + 1;
    }
}

void PlayForecast::Record(int frame)
{
    for (int i = 0; i < Enemies; ++i)
    {
        const EnemyObject& enemy = convoy.enemies[i];
        x[frame][i] = enemy.x;
        y[frame][i] = enemy.y;
        hittable[frame][i] = enemy.active && enemy.hitEnabled;
    }
    bonusX[frame] = bonus.x;
    bonusY[frame] = bonus.y;
    bonusHittable[frame] = bonus.hitEnabled;
    shotInFlight[frame] = shot.inFlight;
}

} // namespace sim
