// Hand-drawn sprites of the game as palette grids (see GamePalette in
// Image.h for the colour letters). Rows of half the width are mirrored.
#pragma once

#include "Image.h"

namespace assets
{

Image ShipSprite();               // 16 x 24, the player's ship, nose up
Image ShotSprite();               // 8 x 16, the player's shot
Image EnemySprite(int frame);     // 16 x 24, walking pictures 0 and 1
Image EnemyExplosionSprite();     // 16 x 24
Image BonusShipSprite(int frame); // 24 x 24, flapping pictures 0 and 1
Image NeedleShotSprite();         // 4 x 8
Image SmallShotSprite();          // 6 x 6
Image LargeShotSprite();          // 8 x 8
Image EmitterSprite();            // 16 x 16
Image SparkSprite(int kind);      // 8 x 8, kinds 0, 1, 2

} // namespace assets
