// ShootingObject: a sprite that takes part in collisions, with a hit circle
// and a larger near-miss (graze) circle around its position.
#pragma once

#include "objects/SpriteItem.h"

#include <cstdint>
#include <tuple>

class ShootingObject : public SpriteItem
{
public:
    ShootingObject();
    ~ShootingObject() override;

    void SetHitRadius(float r);
    void SetGrazeRadius(float r);
    // Takes the object out of play: clears active, visible and hitEnabled.
    // Its owner's set-up brings it back.
    void LeavePlay();

    // True when both objects are hit-enabled and their hit circles touch or
    // overlap. Symmetric: a.HitTest(b) == b.HitTest(a).
    bool HitTest(const ShootingObject& other) const;
    // The same test with grazeEnabled and grazeRadius.
    bool GrazeTest(const ShootingObject& other) const;
    // The rule of both tests: circles of combined radius r around (ax, ay)
    // and (bx, by), field units, touch or overlap.
    static bool CirclesMeet(float ax, float ay, float bx, float by, float r);

    int32_t motionType; // bullets only: which per-frame step runs after Move
    bool grazeEnabled;
    bool hitEnabled;
    float hitRadius;   // field units
    float grazeRadius; // field units

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{&ShootingObject::motionType, &ShootingObject::grazeEnabled,
                          &ShootingObject::hitEnabled, &ShootingObject::hitRadius,
                          &ShootingObject::grazeRadius};
    }
};
