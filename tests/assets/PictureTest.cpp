// The pictures as the game loads them (SDL_image for the PNGs, SDL_LoadBMP for
// the console font): sizes, the rectangles every object takes from the sprite
// sheet, and the transparency the drawing relies on.
#include "AssetTestSupport.h"
#include "objects/SpriteSheet.h"
#include "platform/Screen.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{

struct Rect
{
    std::string name;
    SheetRect place;
};

// Every rectangle an object of the game takes from the sheet, each picture
// of a strip on its own.
std::vector<Rect> SheetRects()
{
    std::vector<Rect> rects = {
        {"ship", sheet::Ship},
        {"enemy explosion", sheet::EnemyExplosion},
        {"player shot", sheet::PlayerShot},
        {"small shot", sheet::SmallShot},
        {"needle shot", sheet::NeedleShot},
        {"large shot", sheet::LargeShot},
        {"emitter", sheet::Emitter},
        {"score caption", sheet::ScoreCaption},
        {"high-score caption", sheet::HiScoreCaption},
        {"graze caption", sheet::GrazeCaption},
        {"stage caption", sheet::StageCaption},
        {"game-over banner", sheet::GameOverBanner},
        {"panel background", sheet::PanelBackground},
        {"still background", sheet::StillBackground},
        {"turning background", sheet::TurningBackground},
        {"title backdrop", sheet::TitleBackdrop},
        {"title strip", sheet::TitleStrip},
        {"title large picture", sheet::TitleLargePicture},
        {"title caption", sheet::TitleCaption},
        {"title prompt", sheet::TitlePrompt},
    };
    const struct
    {
        const char* name;
        SheetRect first;
        int count;
    } strips[] = {{"enemy walk", sheet::EnemyWalk, 2},
                  {"bonus ship", sheet::BonusShip, 2},
                  {"spark", sheet::Spark, 3},
                  {"digit", sheet::Digit, 10}};
    for (const auto& strip : strips)
    {
        for (int n = 0; n < strip.count; ++n)
        {
            rects.push_back(
                {strip.name + std::string(" ") + std::to_string(n), StripFrame(strip.first, n)});
        }
    }
    return rects;
}

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

SurfacePtr LoadPicture(const std::string& relative)
{
    return SurfacePtr(IMG_Load(RepoPath(relative).c_str()), &SDL_FreeSurface);
}

// Pixel (x, y) of a 32-bit surface as r, g, b, a.
SDL_Color PixelAt(SDL_Surface* s, int x, int y, Uint8* alpha)
{
    const Uint32 raw = static_cast<const Uint32*>(s->pixels)[y * (s->pitch / 4) + x];
    SDL_Color c{};
    SDL_GetRGBA(raw, s->format, &c.r, &c.g, &c.b, alpha);
    return c;
}

Uint8 AlphaAt(SDL_Surface* s, int x, int y)
{
    Uint8 a = 0;
    PixelAt(s, x, y, &a);
    return a;
}

bool Overlaps(const SheetRect& a, const SheetRect& b)
{
    return a.u < b.u + b.width && b.u < a.u + a.width && a.v < b.v + b.height &&
           b.v < a.v + a.height;
}

bool SamePicture(SDL_Surface* s, const SheetRect& a, const SheetRect& b)
{
    for (int y = 0; y < a.height; ++y)
    {
        for (int x = 0; x < a.width; ++x)
        {
            const Uint32* px = static_cast<const Uint32*>(s->pixels);
            if (px[(a.v + y) * (s->pitch / 4) + a.u + x] !=
                px[(b.v + y) * (s->pitch / 4) + b.u + x])
            {
                return false;
            }
        }
    }
    return true;
}

} // namespace

TEST(SpriteSheet, IsA512SquareRgbaPicture)
{
    SurfacePtr sheet = LoadPicture("data/texture1.png");
    ASSERT_NE(sheet, nullptr) << IMG_GetError();
    EXPECT_EQ(sheet->w, sheet::Size);
    EXPECT_EQ(sheet->h, sheet::Size);
    // The renderer's transformed path copies 32-bit words and needs alpha.
    EXPECT_EQ(sheet->format->BitsPerPixel, 32);
    EXPECT_NE(sheet->format->Amask, 0u);
}

TEST(SpriteSheet, EveryNamedRectangleLiesInsideAndHoldsAPicture)
{
    SurfacePtr sheet = LoadPicture("data/texture1.png");
    ASSERT_NE(sheet, nullptr);
    for (const auto& [name, r] : SheetRects())
    {
        EXPECT_TRUE(r.u >= 0 && r.v >= 0 && r.u + r.width <= sheet->w && r.v + r.height <= sheet->h)
            << name;
        int opaque = 0;
        for (int y = r.v; y < r.v + r.height; ++y)
        {
            for (int x = r.u; x < r.u + r.width; ++x)
            {
                opaque += AlphaAt(sheet.get(), x, y) == 255 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 0) << name << " is empty";
    }
}

TEST(SpriteSheet, NoTwoPicturesOverlapAndTheRestIsTransparent)
{
    const std::vector<Rect> rects = SheetRects();
    for (size_t i = 0; i < rects.size(); ++i)
    {
        for (size_t j = i + 1; j < rects.size(); ++j)
        {
            EXPECT_FALSE(Overlaps(rects[i].place, rects[j].place))
                << rects[i].name << " / " << rects[j].name;
        }
    }
    SurfacePtr sheet = LoadPicture("data/texture1.png");
    ASSERT_NE(sheet, nullptr);
    int stray = 0;
    for (int y = 0; y < sheet->h; ++y)
    {
        for (int x = 0; x < sheet->w; ++x)
        {
            bool named = false;
            for (const Rect& rect : rects)
            {
                const SheetRect& r = rect.place;
                named = named || (x >= r.u && x < r.u + r.width && y >= r.v && y < r.v + r.height);
            }
            stray += (!named && AlphaAt(sheet.get(), x, y) != 0) ? 1 : 0;
        }
    }
    EXPECT_EQ(stray, 0) << "pixels outside every named rectangle";
}

TEST(SpriteSheet, AnimationPicturesDiffer)
{
    SurfacePtr sheet = LoadPicture("data/texture1.png");
    ASSERT_NE(sheet, nullptr);
    const SheetRect walk0 = StripFrame(sheet::EnemyWalk, 0);
    EXPECT_FALSE(SamePicture(sheet.get(), walk0, StripFrame(sheet::EnemyWalk, 1)));
    EXPECT_FALSE(
        SamePicture(sheet.get(), StripFrame(sheet::BonusShip, 0), StripFrame(sheet::BonusShip, 1)));
    EXPECT_FALSE(SamePicture(sheet.get(), walk0, sheet::EnemyExplosion));
    for (int d = 0; d < 9; ++d)
    {
        EXPECT_FALSE(
            SamePicture(sheet.get(), StripFrame(sheet::Digit, d), StripFrame(sheet::Digit, d + 1)))
            << "digits " << d;
    }
}

TEST(SpriteSheet, DigitsLeaveTheirOverlappingColumnClear)
{
    // Digits are drawn 8 pixels apart but are 9 wide: a digit's last column
    // lies under its right-hand neighbour's first and must stay empty.
    SurfacePtr sheet = LoadPicture("data/texture1.png");
    ASSERT_NE(sheet, nullptr);
    for (int d = 0; d < 10; ++d)
    {
        for (int y = 0; y < 8; ++y)
        {
            const SheetRect digit = StripFrame(sheet::Digit, d);
            EXPECT_EQ(AlphaAt(sheet.get(), digit.u + 8, digit.v + y), 0)
                << "digit " << d << " row " << y;
        }
    }
}

TEST(SpriteSheet, TurningBackgroundFadesOutBeforeItsCorners)
{
    // The layer turns while drawn three times enlarged: anything beyond the
    // inscribed circle would show the square's corners sweeping round.
    SurfacePtr sheet = LoadPicture("data/texture1.png");
    ASSERT_NE(sheet, nullptr);
    const SheetRect& r = sheet::TurningBackground;
    int outside = 0;
    for (int y = 0; y < r.height; ++y)
    {
        for (int x = 0; x < r.width; ++x)
        {
            const double dx = x + 0.5 - r.width / 2.0;
            const double dy = y + 0.5 - r.height / 2.0;
            if (std::sqrt(dx * dx + dy * dy) > r.width / 2.0 &&
                AlphaAt(sheet.get(), r.u + x, r.v + y) != 0)
            {
                ++outside;
            }
        }
    }
    EXPECT_EQ(outside, 0);
}

TEST(SpriteSheet, TitleBackdropAndPanelAreSolid)
{
    SurfacePtr sheet = LoadPicture("data/texture1.png");
    ASSERT_NE(sheet, nullptr);
    for (const SheetRect& r : {sheet::TitleBackdrop, sheet::PanelBackground})
    {
        int holes = 0;
        for (int y = r.v; y < r.v + r.height; ++y)
        {
            for (int x = r.u; x < r.u + r.width; ++x)
            {
                holes += AlphaAt(sheet.get(), x, y) != 255 ? 1 : 0;
            }
        }
        EXPECT_EQ(holes, 0) << "at " << r.u << ", " << r.v;
    }
}

TEST(ScreenFrame, IsTransparentOverFieldAndPanelAndSolidAround)
{
    SurfacePtr frame = LoadPicture("data/clip1.png");
    ASSERT_NE(frame, nullptr) << IMG_GetError();
    ASSERT_GE(frame->w, ScreenWidth);
    ASSERT_GE(frame->h, ScreenHeight);
    ASSERT_EQ(frame->format->BitsPerPixel, 32);
    ASSERT_NE(frame->format->Amask, 0u);
    int seeThroughFrame = 0;
    int coveredWindow = 0;
    for (int y = 0; y < ScreenHeight; ++y)
    {
        for (int x = 0; x < ScreenWidth; ++x)
        {
            const bool window = x >= 80 && x <= 399 && y >= 16 && y <= 255;
            const Uint8 a = AlphaAt(frame.get(), x, y);
            coveredWindow += (window && a != 0) ? 1 : 0;
            seeThroughFrame += (!window && a != 255) ? 1 : 0;
        }
    }
    EXPECT_EQ(coveredWindow, 0);
    EXPECT_EQ(seeThroughFrame, 0);
}

TEST(ConsoleFont, LoadsAsA128SquareBitmapWithEveryPrintableGlyph)
{
    SurfacePtr font(SDL_LoadBMP(RepoPath("data/ascii.bmp").c_str()), &SDL_FreeSurface);
    ASSERT_NE(font, nullptr) << SDL_GetError();
    ASSERT_EQ(font->w, 128);
    ASSERT_EQ(font->h, 128);
    ASSERT_TRUE(font->format->BitsPerPixel == 24 || font->format->BitsPerPixel == 32);
    SurfacePtr rgba(
        SDL_CreateRGBSurface(0, 128, 128, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000),
        &SDL_FreeSurface);
    ASSERT_NE(rgba, nullptr);
    ASSERT_EQ(SDL_BlitSurface(font.get(), nullptr, rgba.get(), nullptr), 0);
    ASSERT_EQ(SDL_LockSurface(rgba.get()), 0);
    std::set<std::vector<bool>> shapes;
    for (int code = 0; code < 256; ++code)
    {
        std::vector<bool> cell;
        int ink = 0;
        for (int y = 0; y < 8; ++y)
        {
            for (int x = 0; x < 8; ++x)
            {
                Uint8 a = 0;
                const SDL_Color c =
                    PixelAt(rgba.get(), 8 * (code % 16) + x, 8 * (code / 16) + y, &a);
                const bool lit = c.r != 0 || c.g != 0 || c.b != 0;
                cell.push_back(lit);
                ink += lit ? 1 : 0;
            }
        }
        const bool printable = code > 32 && code < 127;
        if (printable)
        {
            EXPECT_GT(ink, 0) << "glyph " << code << " is blank";
            EXPECT_TRUE(shapes.insert(cell).second) << "glyph " << code << " repeats another";
        }
        else
        {
            // Black is the console's transparent colour: blank cells stay black.
            EXPECT_EQ(ink, 0) << "code " << code;
        }
    }
    SDL_UnlockSurface(rgba.get());
}
