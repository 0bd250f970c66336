// The sprite sheet: every rectangle a game object takes from texture slot 0,
// named once. The game objects show these rectangles, the asset generator
// paints its pictures into them, and the picture tests check them.
#pragma once

#include <cstdint>

// A rectangle of a texture, in pixels.
struct SheetRect
{
    int32_t u; // left column
    int32_t v; // top row
    int32_t width;
    int32_t height;

    constexpr bool operator==(const SheetRect&) const = default;
};

// The picture n places right of first in a strip of equal pictures that
// touch: first.u + n * first.width.
constexpr SheetRect StripFrame(const SheetRect& first, int32_t n)
{
    return {first.u + first.width * n, first.v, first.width, first.height};
}

// The picture n rows below picture: picture.v + n * picture.height.
constexpr SheetRect PictureRow(const SheetRect& picture, int32_t n)
{
    return {picture.u, picture.v + picture.height * n, picture.width, picture.height};
}

namespace sheet
{

constexpr int32_t Slot = 0;   // the texture slot the sheet is loaded into
constexpr int32_t Size = 512; // pixels on each side

// The player and the convoy. An enemy kind or bonus-ship variant k takes its
// pictures k rows further down (PictureRow); the game only uses row 0.
constexpr SheetRect Ship{0, 0, 16, 24};
constexpr SheetRect EnemyWalk{16, 0, 16, 24}; // picture 0; picture 1 is StripFrame 1
constexpr SheetRect EnemyExplosion{48, 0, 16, 24};
constexpr SheetRect BonusShip{64, 0, 24, 24}; // picture 0; picture 1 is StripFrame 1
constexpr SheetRect PlayerShot{112, 0, 8, 16};
constexpr SheetRect Spark{128, 0, 8, 8}; // kind 0; kinds 1 and 2 are StripFrames

// Enemy bullets and the emitter that fires them.
constexpr SheetRect SmallShot{112, 16, 6, 6};
constexpr SheetRect NeedleShot{120, 16, 4, 8};
constexpr SheetRect LargeShot{128, 16, 8, 8};
constexpr SheetRect Emitter{112, 32, 16, 16};

// The status panel. Digit d is StripFrame d of Digit; a digit is drawn 8
// pixels after the one before, so its ninth column must stay clear.
constexpr SheetRect Digit{176, 0, 9, 8};
constexpr SheetRect ScoreCaption{176, 8, 32, 8};
constexpr SheetRect HiScoreCaption{176, 16, 40, 8};
constexpr SheetRect GrazeCaption{176, 24, 32, 8};
constexpr SheetRect StageCaption{176, 32, 32, 8};
constexpr SheetRect GameOverBanner{176, 42, 100, 16};
constexpr SheetRect PanelBackground{416, 0, 96, 240};

// The background layers: the still one drawn at scale 2, the turning one at 3.
constexpr SheetRect StillBackground{0, 64, 128, 128};
constexpr SheetRect TurningBackground{128, 64, 128, 128};

// The title screen.
constexpr SheetRect TitleBackdrop{0, 448, 64, 64};
constexpr SheetRect TitleStrip{0, 256, 160, 32};
constexpr SheetRect TitleLargePicture{80, 288, 176, 208};
constexpr SheetRect TitleCaption{160, 256, 96, 16};
constexpr SheetRect TitlePrompt{0, 288, 80, 16};

} // namespace sheet
