#include "Sheet.h"

#include "Font.h"
#include "Pictures.h"
#include "SpriteArt.h"

namespace assets
{

Image BuildSpriteSheet()
{
    Image sheet(512, 512);
    // Top row: the ship, the enemy's walk and explosion, the bonus ship's two
    // pictures, the player's shot and the three sparks.
    Paste(sheet, ShipSprite(), 0, 0);
    Paste(sheet, EnemySprite(0), 16, 0);
    Paste(sheet, EnemySprite(1), 32, 0);
    Paste(sheet, EnemyExplosionSprite(), 48, 0);
    Paste(sheet, BonusShipSprite(0), 64, 0);
    Paste(sheet, BonusShipSprite(1), 88, 0);
    Paste(sheet, ShotSprite(), 112, 0);
    for (int kind = 0; kind < 3; ++kind)
    {
        Paste(sheet, SparkSprite(kind), 128 + 8 * kind, 0);
    }
    // Enemy bullets and the emitter.
    Paste(sheet, SmallShotSprite(), 112, 16);
    Paste(sheet, NeedleShotSprite(), 120, 16);
    Paste(sheet, LargeShotSprite(), 128, 16);
    Paste(sheet, EmitterSprite(), 112, 32);
    // Status panel: digits, captions, the banner and the panel itself.
    for (int digit = 0; digit < 10; ++digit)
    {
        Paste(sheet, DigitGlyph(digit), 176 + 9 * digit, 0);
    }
    Paste(sheet, PanelCaption("SCORE", 32), 176, 8);
    Paste(sheet, PanelCaption("HI-SCORE", 40), 176, 16);
    Paste(sheet, PanelCaption("GRAZE", 32), 176, 24);
    Paste(sheet, PanelCaption("STAGE", 32), 176, 32);
    Paste(sheet, GameOverBanner(), 176, 42);
    Paste(sheet, PanelBackground(), 416, 0);
    // Background layers.
    Paste(sheet, StarfieldPicture(), 0, 64);
    Paste(sheet, SwirlPicture(), 128, 64);
    // Title screen.
    Paste(sheet, TitleStrip(), 0, 256);
    Paste(sheet, TitleCaption(), 160, 256);
    Paste(sheet, TitlePrompt(), 0, 288);
    Paste(sheet, TitleLargePicture(), 80, 288);
    Paste(sheet, TitleBackdrop(), 0, 448);
    return sheet;
}

Image BuildScreenFrame()
{
    return ScreenFrame();
}

Image BuildConsoleFont()
{
    Image font(128, 128);
    for (int y = 0; y < 128; ++y)
    {
        for (int x = 0; x < 128; ++x)
        {
            font.Set(x, y, {0, 0, 0, 255});
        }
    }
    const Rgba ink = PaletteColor('l');
    for (int code = 33; code < 127; ++code)
    {
        const auto bits = GlyphBits(Face::Regular, static_cast<char>(code));
        const int cellX = 8 * (code % 16);
        const int cellY = 8 * (code / 16);
        for (int row = 0; row < GlyphRows; ++row)
        {
            for (int col = 0; col < GlyphWidth; ++col)
            {
                if ((bits[static_cast<size_t>(row)] & (1u << (GlyphWidth - 1 - col))) != 0)
                {
                    font.Set(cellX + 1 + col, cellY + row, ink);
                }
            }
        }
    }
    return font;
}

} // namespace assets
