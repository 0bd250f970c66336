// The three pictures the game loads: the sprite sheet, the screen frame laid
// over every picture, and the debug console's font.
#pragma once

#include "Image.h"

namespace assets
{

// 512 x 512: every sprite of the game at the place its object takes it from.
Image BuildSpriteSheet();
// Screen-sized: transparent over the play field and the status panel.
Image BuildScreenFrame();
// 128 x 128: 8 x 8 cells, the glyph of code k at (8 (k mod 16), 8 (k div 16)),
// light on black (black is the console's transparent colour).
Image BuildConsoleFont();

} // namespace assets
