// The bonus ship: now and then crosses the top of the field from one side to
// the other, flapping between two pictures. It never fires; striking it with
// the player's shot is worth the score the director gave it at launch.
#pragma once

#include "bullets/BulletBase.h"

#include <cstdint>
#include <tuple>

class MyShotManage;

class BonusShipManage : public BulletBase
{
public:
    BonusShipManage();
    ~BonusShipManage() override = default;

    // Takes the ship off the field at once and picks its picture row.
    void Reset(int pictureRow);
    // Starts a crossing from a random side (one RandomRange draw); false, with
    // no draw and nothing changed, while a crossing is under way.
    bool Launch();
    bool IsFlying() const;
    void SetScore(int n);
    int GetScore() const;
    // One frame of flight; false when the crossing has ended.
    bool Move();
    // True when the shot struck the bonus ship in this call. The shot is
    // spent but not held: it flies on, invisible, until it leaves the field.
    bool HitByShot(MyShotManage& shot);

    bool flying;       // crossing the field
    int32_t flapCount; // frames flown since the launch; drives the flapping
    int32_t variant;   // picture row: the row's top is at v = variant * 24
    int32_t score;     // points for striking it, set before each launch

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{&BonusShipManage::flying, &BonusShipManage::flapCount,
                          &BonusShipManage::variant, &BonusShipManage::score};
    }
};
