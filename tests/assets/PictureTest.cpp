// The pictures as the game loads them (SDL_image for the PNGs, SDL_LoadBMP for
// the console font): sizes, the rectangles every object takes from the sprite
// sheet, and the transparency the drawing relies on.
#include "AssetTestSupport.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

struct Rect
{
    const char* name;
    int u;
    int v;
    int width;
    int height;
};

// Every rectangle an object of the game takes from texture slot 0.
const Rect SheetRects[] = {
    {"ship", 0, 0, 16, 24},
    {"enemy walk 0", 16, 0, 16, 24},
    {"enemy walk 1", 32, 0, 16, 24},
    {"enemy explosion", 48, 0, 16, 24},
    {"bonus ship 0", 64, 0, 24, 24},
    {"bonus ship 1", 88, 0, 24, 24},
    {"player shot", 112, 0, 8, 16},
    {"spark 0", 128, 0, 8, 8},
    {"spark 1", 136, 0, 8, 8},
    {"spark 2", 144, 0, 8, 8},
    {"small shot", 112, 16, 6, 6},
    {"needle shot", 120, 16, 4, 8},
    {"large shot", 128, 16, 8, 8},
    {"emitter", 112, 32, 16, 16},
    {"digit 0", 176, 0, 9, 8},
    {"digit 1", 185, 0, 9, 8},
    {"digit 2", 194, 0, 9, 8},
    {"digit 3", 203, 0, 9, 8},
    {"digit 4", 212, 0, 9, 8},
    {"digit 5", 221, 0, 9, 8},
    {"digit 6", 230, 0, 9, 8},
    {"digit 7", 239, 0, 9, 8},
    {"digit 8", 248, 0, 9, 8},
    {"digit 9", 257, 0, 9, 8},
    {"score caption", 176, 8, 32, 8},
    {"high-score caption", 176, 16, 40, 8},
    {"graze caption", 176, 24, 32, 8},
    {"stage caption", 176, 32, 32, 8},
    {"game-over banner", 176, 42, 100, 16},
    {"panel background", 416, 0, 96, 240},
    {"still background", 0, 64, 128, 128},
    {"turning background", 128, 64, 128, 128},
    {"title backdrop", 0, 448, 64, 64},
    {"title strip", 0, 256, 160, 32},
    {"title large picture", 80, 288, 176, 208},
    {"title caption", 160, 256, 96, 16},
    {"title prompt", 0, 288, 80, 16},
};

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

bool Overlaps(const Rect& a, const Rect& b)
{
    return a.u < b.u + b.width && b.u < a.u + a.width && a.v < b.v + b.height &&
           b.v < a.v + a.height;
}

bool SamePicture(SDL_Surface* s, const Rect& a, const Rect& b)
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

const Rect& Named(const char* name)
{
    for (const Rect& r : SheetRects)
    {
        if (std::string(r.name) == name)
        {
            return r;
        }
    }
    throw std::runtime_error(name);
}

} // namespace

TEST(SpriteSheet, IsA512SquareRgbaPicture)
{
    SurfacePtr sheet = LoadPicture("data/texture1.png");
    ASSERT_NE(sheet, nullptr) << IMG_GetError();
    EXPECT_EQ(sheet->w, 512);
    EXPECT_EQ(sheet->h, 512);
    // The renderer's transformed path copies 32-bit words and needs alpha.
    EXPECT_EQ(sheet->format->BitsPerPixel, 32);
    EXPECT_NE(sheet->format->Amask, 0u);
}

TEST(SpriteSheet, EveryNamedRectangleLiesInsideAndHoldsAPicture)
{
    SurfacePtr sheet = LoadPicture("data/texture1.png");
    ASSERT_NE(sheet, nullptr);
    for (const Rect& r : SheetRects)
    {
        EXPECT_TRUE(r.u >= 0 && r.v >= 0 && r.u + r.width <= sheet->w && r.v + r.height <= sheet->h)
            << r.name;
        int opaque = 0;
        for (int y = r.v; y < r.v + r.height; ++y)
        {
            for (int x = r.u; x < r.u + r.width; ++x)
            {
                opaque += AlphaAt(sheet.get(), x, y) == 255 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 0) << r.name << " is empty";
    }
}

TEST(SpriteSheet, NoTwoPicturesOverlapAndTheRestIsTransparent)
{
    for (size_t i = 0; i < std::size(SheetRects); ++i)
    {
        for (size_t j = i + 1; j < std::size(SheetRects); ++j)
        {
            EXPECT_FALSE(Overlaps(SheetRects[i], SheetRects[j]))
                << SheetRects[i].name << " / " << SheetRects[j].name;
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
            for (const Rect& r : SheetRects)
            {
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
    EXPECT_FALSE(SamePicture(sheet.get(), Named("enemy walk 0"), Named("enemy walk 1")));
    EXPECT_FALSE(SamePicture(sheet.get(), Named("bonus ship 0"), Named("bonus ship 1")));
    EXPECT_FALSE(SamePicture(sheet.get(), Named("enemy walk 0"), Named("enemy explosion")));
    for (int d = 0; d < 9; ++d)
    {
        EXPECT_FALSE(SamePicture(sheet.get(), SheetRects[14 + d], SheetRects[15 + d]))
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
            EXPECT_EQ(AlphaAt(sheet.get(), 176 + 9 * d + 8, y), 0) << "digit " << d << " row " << y;
        }
    }
}

TEST(SpriteSheet, TurningBackgroundFadesOutBeforeItsCorners)
{
    // The layer turns while drawn three times enlarged: anything beyond the
    // inscribed circle would show the square's corners sweeping round.
    SurfacePtr sheet = LoadPicture("data/texture1.png");
    ASSERT_NE(sheet, nullptr);
    const Rect& r = Named("turning background");
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
    for (const char* name : {"title backdrop", "panel background"})
    {
        const Rect& r = Named(name);
        int holes = 0;
        for (int y = r.v; y < r.v + r.height; ++y)
        {
            for (int x = r.u; x < r.u + r.width; ++x)
            {
                holes += AlphaAt(sheet.get(), x, y) != 255 ? 1 : 0;
            }
        }
        EXPECT_EQ(holes, 0) << name;
    }
}

TEST(ScreenFrame, IsTransparentOverFieldAndPanelAndSolidAround)
{
    SurfacePtr frame = LoadPicture("data/clip1.png");
    ASSERT_NE(frame, nullptr) << IMG_GetError();
    ASSERT_GE(frame->w, 480);
    ASSERT_GE(frame->h, 272);
    ASSERT_EQ(frame->format->BitsPerPixel, 32);
    ASSERT_NE(frame->format->Amask, 0u);
    int seeThroughFrame = 0;
    int coveredWindow = 0;
    for (int y = 0; y < 272; ++y)
    {
        for (int x = 0; x < 480; ++x)
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
