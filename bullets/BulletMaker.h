// BulletMaker: everything the enemies put into the bullet list. One class
// plays every role, chosen by motionType:
//   0 shot or spark (no step), 1 column emitter, 2 fan emitter,
//   3 aimed emitter, 4 ring emitter; 5 or more runs the column step,
//   below 0 no step.
// The game fires through one master BulletMaker that is never in the list:
// a pattern places emitters at the owner's position, and each emitter fires
// its own shots over the following frames.
#pragma once

#include "bullets/BulletBase.h"

#include <cstdint>

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

    // 0 column, 1 aimed, 2 fan, 3 ring; any other number the column.
    // Does nothing without an owner and a manager.
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

private:
    // Offers b to the manager; destroys it at once when refused.
    void Offer(BulletMaker* b);
    // A new emitter at the owner's position, configured from this object.
    BulletMaker* MakeEmitter(int32_t motion, int32_t lifeFrames, float heading, float headingOffset,
                             float emitterSpeed, bool canHit);
    void InitShot(BulletMaker& b);
};
