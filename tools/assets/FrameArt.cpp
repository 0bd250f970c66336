// The frame laid over the whole screen, and the application icon.
#include "DetMath.h"
#include "DrawingKit.h"
#include "Font.h"
#include "Pictures.h"
#include "SpriteArt.h"
#include "objects/SpriteItem.h"
#include "platform/Screen.h"

#include <stdexcept>
#include <string>

namespace assets
{

Image ScreenFrame()
{
    // The window it leaves clear: the play field and the panel beside it.
    constexpr int W = ScreenWidth;
    constexpr int H = ScreenHeight;
    constexpr int Left = FieldScreenX;
    constexpr int Top = FieldScreenY;
    constexpr int Right = FieldScreenX + FieldWidth / 2 + sheet::PanelBackground.width;
    constexpr int Bottom = FieldScreenY + FieldHeight / 2; // first row past the window
    Image frame(W, H);
    for (int y = 0; y < H; ++y)
    {
        for (int x = 0; x < W; ++x)
        {
            if (x >= Left && x < Right && y >= Top && y < Bottom)
            {
                continue;
            }
            // Brushed dark metal: a gentle gradient with a fine diagonal weave.
            double s = 0.55 - y / static_cast<double>(H) * 0.45;
            if ((x + y) % 6 == 0)
            {
                s += 0.18;
            }
            frame.Set(x, y, Ramp("vknb", s, x, y, 0.8));
        }
    }
    // Bevel around the window: dark lip, bright rim, then a soft fall-off.
    const char* bevel = "kglG";
    for (int ring = 0; ring < 4; ++ring)
    {
        const int l = Left - 1 - ring;
        const int t = Top - 1 - ring;
        const int r = Right + ring;
        const int b = Bottom + ring;
        const char lit = bevel[ring];
        const char dim = ring == 1 ? 'G' : (ring == 2 ? 'g' : bevel[ring]);
        for (int x = l; x <= r; ++x)
        {
            frame.Set(x, t, PaletteColor(dim));
            frame.Set(x, b, PaletteColor(lit));
        }
        for (int y = t; y <= b; ++y)
        {
            frame.Set(l, y, PaletteColor(dim));
            frame.Set(r, y, PaletteColor(lit));
        }
    }
    // Screws in the corners.
    const int screws[][2] = {{6, 6}, {W - 8, 6}, {6, H - 8}, {W - 8, H - 8}};
    for (const auto& s : screws)
    {
        frame.Fill(s[0], s[1], 3, 3, PaletteColor('g'));
        frame.Set(s[0], s[1], PaletteColor('l'));
        frame.Set(s[0] + 2, s[1] + 2, PaletteColor('G'));
        frame.Set(s[0] + 1, s[1] + 1, PaletteColor('G'));
    }
    // Left side: the name, one letter under the other.
    const char* name = "SKYREEL";
    for (int i = 0; i < 7; ++i)
    {
        const Image mask = TextMask(Face::Regular, std::string(1, name[i]), 2, 0);
        const Image colored = ColorizeRows(mask, 2, "Yyyoorr", "wYYyyoo", nullptr);
        const Image letter =
            WithShadow(Outline(Pad(colored, 2), PaletteColor('k'), true), PaletteColor('v'), 1, 1);
        Compose(frame, letter, 40 - letter.width / 2, 52 + i * 24);
    }
    // Right side: the cast of the game.
    const Image enemy = Outline(ScaleNearest(EnemySprite(0), 2), PaletteColor('k'), false);
    const Image bonus = Outline(ScaleNearest(BonusShipSprite(0), 2), PaletteColor('k'), false);
    const Image ship = Outline(ScaleNearest(ShipSprite(), 2), PaletteColor('k'), false);
    Compose(frame, bonus, 440 - bonus.width / 2, 30);
    Compose(frame, enemy, 440 - enemy.width / 2, 92);
    Compose(frame, ship, 440 - ship.width / 2, 168);
    return frame;
}

Image ApplicationIcon(int size)
{
    if (size % 32 != 0)
    {
        throw std::runtime_error("icon size must be a multiple of 32");
    }
    // Drawn at 32 x 32 and enlarged, like the game's own pixels.
    Image icon(32, 32);
    for (int y = 0; y < 32; ++y)
    {
        for (int x = 0; x < 32; ++x)
        {
            // Rounded square: corners cut by a quarter circle of radius 5.
            const double cxr = x < 5 ? 5.0 - x - 0.5 : (x > 26 ? x - 26.0 + 0.5 : 0.0);
            const double cyr = y < 5 ? 5.0 - y - 0.5 : (y > 26 ? y - 26.0 + 0.5 : 0.0);
            if (cxr * cxr + cyr * cyr > 25.0)
            {
                continue;
            }
            icon.Set(x, y, Ramp("knbp", y / 31.0, x, y, 0.4));
        }
    }
    Stars(icon, 2, 2, 28, 28, 14, 77);
    const Image ship = Outline(ShipSprite(), PaletteColor('k'), false);
    Compose(icon, ship, (32 - ship.width) / 2, (32 - ship.height) / 2);
    return ScaleNearest(icon, size / 32);
}

} // namespace assets
