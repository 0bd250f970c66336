// BulletMaker: everything the enemies put into the bullet list. One class
// plays every role, chosen by motionType (BulletMotion below).
// The game fires through one master BulletMaker that is never in the list:
// a pattern places emitters at the owner's position, and each emitter fires
// its own shots over the following frames.
#pragma once

#include "bullets/BulletBase.h"

#include <cstdint>
#include <tuple>

// The roles a BulletMaker plays, kept in its motionType. Each selects the
// step that runs after Move every frame; a number above MotionRing (never
// made) runs the column step, a negative one none.
enum BulletMotion : int32_t
{
    MotionShot = 0,   // a shot or a spark: no step
    MotionColumn = 1, // column emitter: UpdateColumn
    MotionFan = 2,    // fan emitter: UpdateFan
    MotionAimed = 3,  // aimed emitter: UpdateAimed
    MotionRing = 4,   // ring emitter: UpdateRing
};

// The patterns that BulletMaker::Fire takes, weakest first; any other number
// fires the column.
enum BulletPattern : int
{
    PatternColumn = 0,
    PatternAimed = 1,
    PatternFan = 2,
    PatternRing = 3,
};

class BulletManage;
class SpriteItem;
class ShootingObject;

class BulletMaker : public BulletBase
{
public:
    BulletMaker();
    ~BulletMaker() override;

    void SetOwner(SpriteItem* o);
    void SetTarget(ShootingObject* t);
    void SetManager(BulletManage* m);
    void SetLevel(int n);

    // One of the BulletPatterns; any other number the column. Does nothing
    // without an owner and a manager.
    void Fire(int pattern);
    void FireColumn();
    void FireAimed();
    void FireFan();
    void FireRing();

    // A burst of harmless sparks at (x, y), field units: size 1 small,
    // size 2 large, anything else a few. Does nothing without a manager.
    void EmitSparks(int size, float x, float y);

    // Move, then the step of motionType whatever Move said; returns Move's
    // result (false: the list retires this object).
    bool Update();
    void UpdateColumn();
    void UpdateFan();
    void UpdateAimed();
    void UpdateRing();

    // Points bullet at target: direction = AngleTo of the position
    // differences, each truncated to whole field units. May be negative.
    static void AimAt(BulletBase& bullet, const SpriteItem& target);

    // Fill b in as a shot of one kind at this object's position.
    void InitNeedleShot(BulletMaker& b);
    void InitSmallShot(BulletMaker& b);
    void InitLargeShot(BulletMaker& b);

    int32_t level;          // pattern strength: the stage number, 1 upwards
    ShootingObject* target; // aimed at (the player's ship); not owned
    BulletManage* manager;  // receives what this object makes; not owned
    SpriteItem* owner;      // the enemy a pattern starts from; not owned

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{&BulletMaker::level, &BulletMaker::target, &BulletMaker::manager,
                          &BulletMaker::owner};
    }

private:
    // Offers b to the manager; destroys it at once when refused.
    void Offer(BulletMaker* b);
    // A new emitter at the owner's position, configured from this object.
    BulletMaker* MakeEmitter(int32_t motion, int32_t lifeFrames, float heading, float headingOffset,
                             float emitterSpeed, bool canHit);
    void InitShot(BulletMaker& b);
};
