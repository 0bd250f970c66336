// The player's ship: slides left and right along the bottom of the field. Its
// tiny hit circle and larger graze circle are what enemy bullets are tested
// against; it has no death state of its own (the director ends the game).
#pragma once

#include "objects/ShootingObject.h"

#include <cstdint>
#include <tuple>

class MyShipManage : public ShootingObject
{
public:
    static constexpr float StartX = 224.0f; // field units: the middle of the field
    static constexpr float LeftLimit = 24.0f;
    static constexpr float RightLimit = 424.0f;
    static constexpr float Step = 4.0f; // field units per frame

    MyShipManage() = default;
    ~MyShipManage() override = default;

    // Puts the ship at its starting place, visible and colliding (a new game).
    void Reset();
    // One frame of movement under the held buttons of pad 0; only left and
    // right count, both together cancel out. `pressed` is not used. Always true.
    bool Move(uint32_t held, uint32_t pressed = 0);

    // No fields of its own (see ShootingObject::Fields).
    static constexpr std::tuple<> Fields() { return {}; }
};
