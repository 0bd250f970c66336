// What play will do over the coming updates if nothing new happens: no new
// shot, no new bonus ship, no new bullet. The autoplayer plans on it.
//
// Nothing here restates a rule of the game. The convoy, the player's shot and
// the bonus ship are copies of the game's own objects, run by their own
// March, Move and HitByShot in the order of the play update; an enemy bullet
// is a copy moved by BulletBase::Move (no step of BulletMaker changes the
// motion of the object it runs on). A change to the game's rules changes the
// forecast with it, and the simulator's tests check that the two agree.
#pragma once

#include "bullets/BulletBase.h"
#include "enemies/BonusShipManage.h"
#include "enemies/ConvoyManage.h"
#include "player/MyShotManage.h"

#include <cstdint>

class GameDirector;

namespace sim
{

// A shot fired from the ship at its starting place, move by move, and the
// ship it leaves from: measured once on a ship and a shot of the game's own,
// reset and fired.
class ShotPath
{
public:
    // Moves a new shot needs at most to leave the field.
    static constexpr int MaxFrames = 64;
    // The y of a shot that has left the field: far above it.
    static constexpr float Gone = -1.0e9f;

    ShotPath();

    // y of a new shot after k moves, 0..MaxFrames (0: as fired); Gone once
    // it has left the field.
    float Y(int k) const { return y[k]; }
    // Moves a new shot needs to come level with row `row` (MaxFrames + 1:
    // never).
    int FramesTo(float row) const;

    // Field units.
    float shipY;
    float shipHitRadius;
    float shipGrazeRadius;
    float shotRadius;

private:
    float y[MaxFrames + 1];
    int32_t framesTo[FieldHeight + 1]; // by whole field unit of the row
};

// The convoy, the shot in flight and the bonus ship over the next Frames
// updates (frame 0: as they stand), as the play update runs them while no
// shot is fired and no bonus ship is launched.
class PlayForecast
{
public:
    // The autoplayer's longest wait before a shot, then the shot's flight.
    static constexpr int Frames = 100 + ShotPath::MaxFrames;
    static constexpr int Enemies = ConvoyManage::EnemyCount;

    // From the game as it stands; `newShotRadius`: the hit radius of a shot
    // fired later (the reaches below are for such a shot).
    void Make(const GameDirector& director, float newShotRadius);

    float x[Frames + 1][Enemies];
    float y[Frames + 1][Enemies];
    bool hittable[Frames + 1][Enemies]; // active and hit-enabled
    float reach[Enemies];               // the enemy's hit radius plus the new shot's
    float bonusX[Frames + 1];
    float bonusY[Frames + 1];
    bool bonusHittable[Frames + 1];
    float bonusReach;
    bool shotInFlight[Frames + 1];
    // First frame (1 = the coming update) in which a new shot can leave;
    // Frames + 1 when not within the forecast.
    int32_t shotReady;

private:
    void Record(int frame);

    // The copies it runs: no render context, no bullet maker (the volleys
    // are not forecast).
    ConvoyManage convoy;
    MyShotManage shot;
    BonusShipManage bonus;
};

// An enemy bullet carried forward as the game's bullet list will move it:
// by BulletBase::Move, taken along the heading the bullet has now (nothing
// turns a bullet once it is made) and without the sprite's spin.
class BulletPath
{
public:
    explicit BulletPath(const BulletBase& b) : bullet(b), heading(b.Heading()) {}

    // One update; false once the game retires the bullet.
    bool Step() { return bullet.MoveAlong(heading); }
    // Where it is, how fast it goes, the life it has left.
    const BulletBase& Now() const { return bullet; }

private:
    BulletBase bullet;
    int heading;
};

} // namespace sim
