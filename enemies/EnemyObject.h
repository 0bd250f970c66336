// One enemy of the convoy: two walking pictures, an explosion picture and a
// score value. The convoy places, steps, tests and removes it; a single strike
// of the player's shot destroys it.
#pragma once

#include "objects/ShootingObject.h"

#include <cstdint>

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
};
