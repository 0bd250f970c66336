// The player's one shot: leaves the ship straight up, faster every frame. Only
// one can be out at a time, and after striking a convoy enemy it is held back
// for a while before the next one may leave.
#pragma once

#include "bullets/BulletBase.h"

#include <cstdint>
#include <tuple>

class MyShipManage;

class MyShotManage : public BulletBase
{
public:
    MyShotManage();
    ~MyShotManage() override = default;

    // Launches a shot from the ship unless one is in flight (or held);
    // true when a shot left.
    bool Fire(const MyShipManage& ship);
    // One frame, called every play frame whether a shot is out or not; false
    // when the shot is (or has just become) available again.
    bool Move();
    // The shot struck a convoy enemy: hide it and hold it for `frames` frames.
    void OnHit(int32_t frames);

    bool inFlight;      // a shot is on its way or held; no new shot while true
    int32_t holdFrames; // frames left to wait after a hit; 0 = not holding

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{&MyShotManage::inFlight, &MyShotManage::holdFrames};
    }
};
