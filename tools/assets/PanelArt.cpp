// The status panel: digits, captions, the game-over banner and the background.
#include "DetMath.h"
#include "DrawingKit.h"
#include "Font.h"
#include "Pictures.h"
#include "SpriteArt.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace assets
{

Image DigitGlyph(int digit)
{
    // Digits keep the full 5-column cell so narrow ones (1) stay centred.
    const auto bits = GlyphBits(Face::Regular, static_cast<char>('0' + digit));
    Image mask(GlyphWidth, GlyphRows);
    for (int row = 0; row < GlyphRows; ++row)
    {
        for (int col = 0; col < GlyphWidth; ++col)
        {
            if ((bits[static_cast<size_t>(row)] & (1u << (GlyphWidth - 1 - col))) != 0)
            {
                mask.Set(col, row, {255, 255, 255, 255});
            }
        }
    }
    const Image colored = ColorizeRows(mask, 1, "YYyyyoo", nullptr, nullptr);
    Image glyph(9, 8);
    Compose(glyph, colored, 1, 0);
    return glyph;
}

Image PanelCaption(const char* text, int width)
{
    const Image mask = TextMask(Face::Narrow, text, 1, 1);
    const Image colored = ColorizeRows(mask, 1, "CCcccBB", nullptr, nullptr);
    const Image shadowed = WithShadow(colored, PaletteColor('b'), 1, 1);
    if (shadowed.width + 1 > width)
    {
        throw std::runtime_error(std::string("caption ") + text + " is too wide");
    }
    Image caption(width, 8);
    Compose(caption, shadowed, 1, 0);
    return caption;
}

Image GameOverBanner()
{
    const Image mask = TextMask(Face::Regular, "GAME OVER", 2, 1);
    const Image colored = Pad(ColorizeRows(mask, 2, "wYyoRRr", nullptr, nullptr), 1);
    const Image outlined = Trim(Outline(colored, PaletteColor('k'), true));
    return Centered(outlined, 100, 16, 0, 0);
}

Image PanelBackground()
{
    Image panel(96, 240);
    for (int y = 0; y < 240; ++y)
    {
        for (int x = 0; x < 96; ++x)
        {
            panel.Set(x, y, Ramp("bnnk", y / 239.0, x, y, 1.0));
        }
    }
    // The edge against the field: a lit rim over a dark groove.
    for (int y = 0; y < 240; ++y)
    {
        panel.Set(0, y, PaletteColor('k'));
        panel.Set(1, y, PaletteColor('g'));
        panel.Set(2, y, PaletteColor('G'));
        panel.Set(95, y, PaletteColor('k'));
    }
    // Header lights.
    for (int i = 0; i < 6; ++i)
    {
        const int x = 14 + i * 13;
        panel.Fill(x, 12, 6, 3, PaletteColor(i % 2 == 0 ? 'T' : 't'));
        panel.Fill(x, 12, 6, 1, PaletteColor(i % 2 == 0 ? 'C' : 'T'));
    }
    // Sunken boxes behind each caption and its number.
    for (int group = 0; group < 4; ++group)
    {
        const int top = 27 + group * 30;
        const int left = 9;
        const int right = 86;
        const int bottom = top + 22;
        panel.Fill(left, top, right - left + 1, bottom - top + 1, PaletteColor('v'));
        for (int x = left; x <= right; ++x)
        {
            panel.Set(x, top, PaletteColor('k'));
            panel.Set(x, bottom, PaletteColor('G'));
        }
        for (int y = top; y <= bottom; ++y)
        {
            panel.Set(left, y, PaletteColor('k'));
            panel.Set(right, y, PaletteColor('G'));
        }
    }
    // An emblem at the foot: the ship on a patch of stars inside a ring.
    const int cx = 48;
    const int cy = 192;
    for (int y = 156; y <= 228; ++y)
    {
        for (int x = 12; x <= 83; ++x)
        {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d < 31.0)
            {
                panel.Set(x, y, PaletteColor('v'));
            }
            else if (d < 33.0)
            {
                panel.Set(x, y, PaletteColor(dy < 0 ? 'B' : 'b'));
            }
            else if (d < 34.0)
            {
                panel.Set(x, y, PaletteColor('k'));
            }
        }
    }
    Noise noise(515);
    for (int i = 0; i < 30; ++i)
    {
        const int x = cx + noise.Range(-24, 24);
        const int y = cy + noise.Range(-24, 24);
        const double dx = x - cx;
        const double dy = y - cy;
        if (dx * dx + dy * dy < 26.0 * 26.0)
        {
            panel.Set(x, y, PaletteColor(i % 4 == 0 ? 'g' : 'G'));
        }
    }
    const Image ship = Outline(ScaleNearest(ShipSprite(), 2), PaletteColor('k'), false);
    Compose(panel, ship, cx - ship.width / 2, cy - ship.height / 2);
    return panel;
}

} // namespace assets
