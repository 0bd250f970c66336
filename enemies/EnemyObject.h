// One enemy of the convoy: two walking pictures, an explosion picture and a
// score value. The convoy places, steps, tests and removes it; a single strike
// of the player's shot destroys it.
#pragma once

#include "objects/ShootingObject.h"

#include <cstdint>
#include <tuple>

class EnemyObject : public ShootingObject
{
public:
    EnemyObject();
    ~EnemyObject() override = default;

    // Picture row of the sheet's enemy pictures (PictureRow). Follow with SetFrame.
    void SetKind(int k);
    // Animation frame; only its parity picks the walking picture. Sets u and v only.
    void SetFrame(int f);
    // Struck: can no longer be hit, shows the explosion until the convoy removes it.
    void Explode();
    // Shows the explosion picture while exploding; otherwise leaves the picture.
    void UpdateExplosion();
    void SetScore(int n);
    int GetScore() const;

    bool exploding; // hit, showing the explosion picture until removed
    int32_t frame;  // animation frame; even: first picture, odd: second
    int32_t kind;   // picture row
    int32_t score;  // points for destroying this enemy

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{&EnemyObject::exploding, &EnemyObject::frame, &EnemyObject::kind,
                          &EnemyObject::score};
    }
};
