// BulletBase: a projectile that travels along a heading, speeds up or slows
// down, spins its sprite and counts down a life in frames. Also carries the
// links by which BulletManage chains its bullets.
#pragma once

#include "objects/ShootingObject.h"

#include <cstdint>
#include <tuple>

class BulletBase : public ShootingObject
{
public:
    BulletBase();
    ~BulletBase() override;

    // One frame of motion: speed, spin, heading, step, bounds, life. True
    // while the bullet is alive; false once its life is spent or its box has
    // left the field (the bullet still moved on that call). Removes nothing.
    bool Move();
    // Move without the spin, along `heading` (0..65535, as from Heading):
    // the rest of Move, for a caller that knows the heading and has no use
    // for the sprite's angle.
    bool MoveAlong(int heading);
    // The heading Move travels: direction + directionOffset in whole
    // AngleUnit, wrapped into 0..65535.
    int Heading() const;
    // Sets out along `heading` (AngleUnit) with no offset and no spin: speeds
    // in field units per frame, `accel` per frame, `lifeFrames` as `life`.
    void SetFlight(float heading, float startSpeed, float accel, float topSpeed,
                   int32_t lifeFrames);

    float direction;       // AngleUnit; direction of travel
    float directionOffset; // AngleUnit; added to direction for the heading travelled
    float speed;           // field units per frame
    float acceleration;    // field units per frame per frame; applied while speed < maxSpeed
    float spin;            // AngleUnit per frame, added to angle
    float maxSpeed;        // field units per frame
    int32_t life;          // frames left; a bullet with life L is alive on at most L calls
    BulletBase* prev;      // BulletManage list links, set only by BulletManage
    BulletBase* next;

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{&BulletBase::direction, &BulletBase::directionOffset,
                          &BulletBase::speed,     &BulletBase::acceleration,
                          &BulletBase::spin,      &BulletBase::maxSpeed,
                          &BulletBase::life,      &BulletBase::prev,
                          &BulletBase::next};
    }
};
