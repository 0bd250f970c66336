#include "Sheet.h"

#include "Font.h"
#include "Pictures.h"
#include "SpriteArt.h"
#include "objects/SpriteSheet.h"

#include <stdexcept>
#include <string>

namespace assets
{

namespace
{

// Copies picture into its rectangle of the sheet; a picture of another size
// than its rectangle is a fault of the art, not something to crop.
void PasteInto(Image& atlas, const Image& picture, const SheetRect& place, const char* name)
{
    if (picture.width != place.width || picture.height != place.height)
    {
        throw std::runtime_error(
            std::string("sprite sheet: ") + name + " is " + std::to_string(picture.width) + " x " +
            std::to_string(picture.height) + ", its rectangle " + std::to_string(place.width) +
            " x " + std::to_string(place.height));
    }
    Paste(atlas, picture, place.u, place.v);
}

} // namespace

Image BuildSpriteSheet()
{
    Image atlas(sheet::Size, sheet::Size);
    PasteInto(atlas, ShipSprite(), sheet::Ship, "ship");
    for (int frame = 0; frame < 2; ++frame)
    {
        PasteInto(atlas, EnemySprite(frame), StripFrame(sheet::EnemyWalk, frame), "enemy");
    }
    PasteInto(atlas, EnemyExplosionSprite(), sheet::EnemyExplosion, "enemy explosion");
    for (int frame = 0; frame < 2; ++frame)
    {
        PasteInto(atlas, BonusShipSprite(frame), StripFrame(sheet::BonusShip, frame), "bonus ship");
    }
    PasteInto(atlas, ShotSprite(), sheet::PlayerShot, "player shot");
    for (int kind = 0; kind < 3; ++kind)
    {
        PasteInto(atlas, SparkSprite(kind), StripFrame(sheet::Spark, kind), "spark");
    }
    PasteInto(atlas, SmallShotSprite(), sheet::SmallShot, "small shot");
    PasteInto(atlas, NeedleShotSprite(), sheet::NeedleShot, "needle shot");
    PasteInto(atlas, LargeShotSprite(), sheet::LargeShot, "large shot");
    PasteInto(atlas, EmitterSprite(), sheet::Emitter, "emitter");
    for (int digit = 0; digit < 10; ++digit)
    {
        PasteInto(atlas, DigitGlyph(digit), StripFrame(sheet::Digit, digit), "digit");
    }
    const struct
    {
        const char* text;
        SheetRect place;
    } captions[] = {{"SCORE", sheet::ScoreCaption},
                    {"HI-SCORE", sheet::HiScoreCaption},
                    {"GRAZE", sheet::GrazeCaption},
                    {"STAGE", sheet::StageCaption}};
    for (const auto& caption : captions)
    {
        PasteInto(atlas, PanelCaption(caption.text, caption.place.width), caption.place,
                  caption.text);
    }
    PasteInto(atlas, GameOverBanner(), sheet::GameOverBanner, "game-over banner");
    PasteInto(atlas, PanelBackground(), sheet::PanelBackground, "panel background");
    PasteInto(atlas, StarfieldPicture(), sheet::StillBackground, "still background");
    PasteInto(atlas, SwirlPicture(), sheet::TurningBackground, "turning background");
    PasteInto(atlas, TitleStrip(), sheet::TitleStrip, "title strip");
    PasteInto(atlas, TitleCaption(), sheet::TitleCaption, "title caption");
    PasteInto(atlas, TitlePrompt(), sheet::TitlePrompt, "title prompt");
    PasteInto(atlas, TitleLargePicture(), sheet::TitleLargePicture, "title large picture");
    PasteInto(atlas, TitleBackdrop(), sheet::TitleBackdrop, "title backdrop");
    return atlas;
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
