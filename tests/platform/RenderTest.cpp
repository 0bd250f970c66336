// Render context: the sprite list, the trigonometry tables, the plain blit
// and the fixed-point scale/rotate path, checked on the screen's pixels.
#include "platform/Render.h"

#include "platform/Screen.h"
#include "tests/platform/RenderReference.h"
#include "tests/support/RenderFixture.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace skyreel_test;

namespace
{

// Texel (c, r) of a test texture: a colour no other texel has, opaque.
Uint8 TexelRed(int c)
{
    return static_cast<Uint8>(4 * c + 1);
}
Uint8 TexelGreen(int r)
{
    return static_cast<Uint8>(4 * r + 2);
}
constexpr Uint8 TexelBlue = 0x55;

SDL_Surface* MakePatternTexture(int w, int h)
{
    SDL_Surface* texture = MakeRgbaSurface(w, h);
    for (int r = 0; r < h; ++r)
    {
        for (int c = 0; c < w; ++c)
        {
            SetPixel32(texture, c, r,
                       SDL_MapRGBA(texture->format, TexelRed(c), TexelGreen(r), TexelBlue, 255));
        }
    }
    return texture;
}

class RenderTest : public RenderFixture
{
protected:
    uint32_t TexelOnScreen(int c, int r)
    {
        return SDL_MapRGB(context->screen->format, TexelRed(c), TexelGreen(r), TexelBlue);
    }

    // Each screen pixel of columns [left, right) and rows [top, bottom)
    // against expected(x, y); stops at the first wrong one, naming it.
    template <typename Expected>
    void ExpectScreenBox(int left, int top, int right, int bottom, Expected expected)
    {
        for (int y = top; y < bottom; ++y)
        {
            for (int x = left; x < right; ++x)
            {
                ASSERT_EQ(Screen(x, y), expected(x, y)) << x << "," << y;
            }
        }
    }

    // The w x h texels from (u, v) unscaled at screen (x, y), and nothing
    // else within borderX columns and borderY rows around them.
    void ExpectPlainCopy(int x, int y, int w, int h, int u, int v, int borderX, int borderY)
    {
        ExpectScreenBox(x - borderX, y - borderY, x + w + borderX, y + h + borderY,
                        [&](int sx, int sy)
                        {
                            const bool inside = sx >= x && sx < x + w && sy >= y && sy < y + h;
                            return inside ? TexelOnScreen(u + sx - x, v + sy - y) : 0u;
                        });
    }
};

} // namespace

TEST(FixedTrigTables, HoldTruncatedValuesOfTheGivenPi)
{
    for (int k = 0; k <= 360; ++k)
    {
        const double radians = k * 3.14159265 / 180;
        EXPECT_EQ(FixedSineTable[k], static_cast<int32_t>(1024.0 * std::sin(radians))) << k;
        EXPECT_EQ(FixedCosineTable[k], static_cast<int32_t>(1024.0 * std::cos(radians))) << k;
    }
    const std::pair<int, int> sines[] = {{30, 511},   {90, 1024}, {150, 512}, {210, -511},
                                         {330, -512}, {1, 17},    {360, 0}};
    for (const auto& [k, value] : sines)
    {
        EXPECT_EQ(FixedSineTable[k], value) << k;
    }
    const std::pair<int, int> cosines[] = {{60, 512},  {120, -511}, {240, -512},
                                           {300, 511}, {1, 1023},   {360, 1024}};
    for (const auto& [k, value] : cosines)
    {
        EXPECT_EQ(FixedCosineTable[k], value) << k;
    }
}

TEST_F(RenderTest, CreationSetsUpAnEmptyListOfFreshCommands)
{
    EXPECT_EQ(context->width, ScreenWidth);
    EXPECT_EQ(context->height, ScreenHeight);
    EXPECT_EQ(context->bpp, 32);
    EXPECT_EQ(context->used, 0);
    EXPECT_EQ(context->screen->w, ScreenWidth);
    EXPECT_EQ(context->screen->format->BitsPerPixel, 32);
    for (SDL_Surface* slot : context->bank->slots)
    {
        EXPECT_EQ(slot, nullptr);
    }
    for (const SpriteCommand* command : context->commands)
    {
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(command->textureSlot, -1);
        EXPECT_EQ(command->inUse, 0);
        EXPECT_EQ(command->scaleX, 1.0f);
        EXPECT_EQ(command->scaleY, 1.0f);
        EXPECT_EQ(command->angle, 0.0f);
        EXPECT_EQ(command->texture, nullptr);
    }
}

TEST_F(RenderTest, CommandsAreHandedOutInOrderAndTheLastOneRepeatsWhenFull)
{
    for (int i = 0; i < SpriteCommandCount; ++i)
    {
        ASSERT_EQ(NextSpriteCommand(context), context->commands[i]);
    }
    EXPECT_EQ(context->used, 1024);
    SpriteCommand* last = context->commands[1023];
    last->inUse = 1;
    last->x = 77;
    // The 1025th and later requests get the 1024th command again, as left.
    EXPECT_EQ(NextSpriteCommand(context), last);
    EXPECT_EQ(NextSpriteCommand(context), last);
    EXPECT_EQ(context->used, 1024);
    EXPECT_EQ(last->x, 77);

    ClearSpriteCommands(context);
    EXPECT_EQ(context->used, 0);
    for (const SpriteCommand* command : context->commands)
    {
        EXPECT_EQ(command->inUse, 0);
    }
    EXPECT_EQ(NextSpriteCommand(context), context->commands[0]);
}

TEST_F(RenderTest, PlainBlitCopiesTheSourceRectangle)
{
    SDL_Surface* texture = Own(0, MakePatternTexture(32, 32));
    Sprite(texture, 10, 20, 6, 4, 3, 5);
    DrawSpriteCommands(context);
    ExpectPlainCopy(10, 20, 6, 4, 3, 5, 2, 2);
}

TEST_F(RenderTest, OnlyCommandsInUseWithATextureAreDrawnAndLaterOnesCoverEarlierOnes)
{
    SDL_Surface* texture = Own(0, MakePatternTexture(8, 8));
    SpriteCommand* first = Sprite(texture, 0, 0, 4, 4, 0, 0);
    Sprite(texture, 2, 0, 4, 4, 4, 4); // taken later: drawn over the first
    SpriteCommand* notOne = Sprite(texture, 100, 100, 4, 4);
    notOne->inUse = 2;
    SpriteCommand* noTexture = Sprite(nullptr, 200, 100, 4, 4);
    (void)first;
    (void)noTexture;
    DrawSpriteCommands(context);
    EXPECT_EQ(Screen(1, 0), TexelOnScreen(1, 0));
    EXPECT_EQ(Screen(2, 0), TexelOnScreen(4, 4));
    EXPECT_EQ(Screen(5, 3), TexelOnScreen(7, 7));
    EXPECT_EQ(CountLit(), 16 + 8);
}

TEST_F(RenderTest, PlainAlphaLeavesAnOpaqueTextureUntouchedAndRestoresAnyOther)
{
    SDL_Surface* texture = Own(
        0, SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 32, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0));
    SDL_FillRect(texture, nullptr, SDL_MapRGB(texture->format, 200, 100, 40));
    ASSERT_EQ(texture->flags & SDL_SRCALPHA, 0u);
    ASSERT_EQ(texture->format->alpha, 255);

    // Alpha equal to the texture's own: no SDL_SetAlpha at all, so blending
    // stays off.
    Sprite(texture, 0, 0, 4, 4);
    DrawSpriteCommands(context);
    EXPECT_EQ(texture->flags & SDL_SRCALPHA, 0u);
    EXPECT_EQ(Screen(0, 0), SDL_MapRGB(context->screen->format, 200, 100, 40));

    // Alpha 128: blended for this blit, then back to 255 with blending on.
    ClearSpriteCommands(context);
    Sprite(texture, 10, 0, 4, 4)->alpha = 128;
    DrawSpriteCommands(context);
    Uint8 r, g, b;
    SDL_GetRGB(GetPixel32(context->screen, 10, 0), context->screen->format, &r, &g, &b);
    EXPECT_NEAR(r, 100, 2);
    EXPECT_NEAR(g, 50, 2);
    EXPECT_NEAR(b, 20, 2);
    EXPECT_NE(texture->flags & SDL_SRCALPHA, 0u);
    EXPECT_EQ(texture->format->alpha, 255);

    // A texture at alpha 64: an alpha-255 command blits opaque, then 64 returns.
    SDL_SetAlpha(texture, SDL_SRCALPHA, 64);
    ClearSpriteCommands(context);
    Sprite(texture, 20, 0, 4, 4);
    DrawSpriteCommands(context);
    EXPECT_EQ(Screen(20, 0), SDL_MapRGB(context->screen->format, 200, 100, 40));
    EXPECT_NE(texture->flags & SDL_SRCALPHA, 0u);
    EXPECT_EQ(texture->format->alpha, 64);
}

TEST_F(RenderTest, PresentClearsTheScreenButKeepsTheList)
{
    PresentFrame(context); // empty list
    EXPECT_EQ(GetPixel32(context->screen, 0, 0), 0xFF000040u);
    EXPECT_EQ(GetPixel32(context->screen, 479, 271), 0xFF000040u);

    SDL_Surface* texture = Own(0, MakePatternTexture(4, 4));
    SpriteCommand* command = Sprite(texture, 0, 0, 4, 4);
    PresentFrame(context);
    EXPECT_EQ(GetPixel32(context->screen, 0, 0), 0xFF000040u);
    EXPECT_EQ(command->inUse, 1);
    EXPECT_EQ(context->used, 1);
}

TEST_F(RenderTest, AngleBelowOneDegreeDrawsUnrotatedInASquareSurface)
{
    // 16 x 8 at (40, 30), angle 0.5: index 0, N = 16, blitted at (40, 26);
    // rows 4 to 11 of the surface hold the sprite, the rest is transparent.
    SDL_Surface* texture = Own(0, MakePatternTexture(32, 32));
    Sprite(texture, 40, 30, 16, 8, 2, 3)->angle = 0.5f;
    DrawSpriteCommands(context);
    ExpectPlainCopy(40, 30, 16, 8, 2, 3, 2, 6);
}

TEST_F(RenderTest, DoubleScaleDoublesEveryTexelAroundTheSameCentre)
{
    // 16 x 16 at (100, 50), scale 2: a 32 x 32 surface blitted at (92, 42).
    SDL_Surface* texture = Own(0, MakePatternTexture(16, 16));
    SpriteCommand* command = Sprite(texture, 100, 50, 16, 16);
    command->scaleX = 2.0f;
    command->scaleY = 2.0f;
    DrawSpriteCommands(context);
    ExpectScreenBox(90, 40, 126, 76,
                    [&](int x, int y)
                    {
                        const bool inside = x >= 92 && x < 124 && y >= 42 && y < 74;
                        return inside ? TexelOnScreen((x - 92) / 2, (y - 42) / 2) : 0u;
                    });
}

TEST_F(RenderTest, QuarterTurnTurnsTheTopEdgeToTheLeft)
{
    // 16 x 16 at (100, 50), angle 90: sine 1024, cosine 0, N = 22, blitted
    // at (97, 47). Texel (c, r) lands on screen pixel (100 + r, 66 - c).
    SDL_Surface* texture = Own(0, MakePatternTexture(16, 16));
    Sprite(texture, 100, 50, 16, 16)->angle = 90.0f;
    DrawSpriteCommands(context);
    ExpectScreenBox(95, 45, 121, 71,
                    [&](int x, int y)
                    {
                        const int c = 66 - y;
                        const int r = x - 100;
                        const bool inside = c >= 0 && c < 16 && r >= 0 && r < 16;
                        return inside ? TexelOnScreen(c, r) : 0u;
                    });
}

TEST_F(RenderTest, EighthTurnFitsInA22PixelSquareWithTransparentCorners)
{
    SDL_Surface* texture = Own(0, MakePatternTexture(16, 16));
    Sprite(texture, 100, 50, 16, 16)->angle = 45.0f;
    DrawSpriteCommands(context);
    // N = floor(16 x 1448 / 1024) = 22, blitted at (97, 47).
    EXPECT_EQ(Screen(97, 47), 0u);
    EXPECT_EQ(Screen(118, 47), 0u);
    EXPECT_EQ(Screen(97, 68), 0u);
    EXPECT_EQ(Screen(118, 68), 0u);
    EXPECT_NE(Screen(108, 58), 0u);
    for (int i = 0; i < 30; ++i)
    {
        // nothing outside the surface
        EXPECT_EQ(Screen(96, 45 + i), 0u);
        EXPECT_EQ(Screen(119, 45 + i), 0u);
        EXPECT_EQ(Screen(94 + i, 46), 0u);
        EXPECT_EQ(Screen(94 + i, 69), 0u);
    }
}

TEST_F(RenderTest, TransformedPathFollowsTheFixedPointArithmeticPixelByPixel)
{
    struct Case
    {
        int w, h, u, v;
        float scaleX, scaleY, angle;
    };
    const Case cases[] = {
        {16, 16, 0, 0, 1.0f, 1.0f, 30.0f},   {16, 8, 4, 2, 1.0f, 1.0f, 137.9f},
        {7, 5, 1, 1, 1.5f, 0.75f, 0.0f},     {7, 5, 1, 1, 1.5f, 0.75f, 200.0f},
        {12, 20, 3, 0, 0.5f, 0.5f, 270.0f},  {16, 16, 0, 0, 1.0f, 1.0f, 359.0f},
        {10, 10, 8, 8, 2.5f, 1.25f, 181.0f}, {9, 13, 0, 0, 1.0f, 3.0f, 60.0f},
        {16, 16, 24, 24, 1.0f, 1.0f, 10.0f}, // source rectangle partly outside the texture
    };
    SDL_Surface* texture = Own(0, MakePatternTexture(32, 32));
    for (const Case& test : cases)
    {
        SDL_FillRect(context->screen, nullptr, 0);
        ClearSpriteCommands(context);
        SpriteCommand* command = Sprite(texture, 200, 120, test.w, test.h, test.u, test.v);
        command->scaleX = test.scaleX;
        command->scaleY = test.scaleY;
        command->angle = test.angle;
        const TransformedResult expected = StatedTransform(*command, 32, 32);
        DrawSpriteCommands(context);

        int drawn = 0;
        for (int r = -1; r <= expected.n; ++r)
        {
            for (int c = -1; c <= expected.n; ++c)
            {
                const bool inside = r >= 0 && r < expected.n && c >= 0 && c < expected.n;
                const int texel =
                    inside ? expected.texel[static_cast<size_t>(r) * expected.n + c] : -1;
                const uint32_t want = texel < 0 ? 0u : TexelOnScreen(texel % 32, texel / 32);
                drawn += texel >= 0 ? 1 : 0;
                ASSERT_EQ(Screen(expected.blitX + c, expected.blitY + r), want)
                    << "angle " << test.angle << " scale " << test.scaleX << "x" << test.scaleY
                    << " at surface pixel " << c << "," << r;
            }
        }
        EXPECT_GT(drawn, 0) << test.angle;
        EXPECT_EQ(CountLit(), drawn) << test.angle;
    }
}

TEST_F(RenderTest, AnglesTakeTheirIndexModulo360)
{
    SDL_Surface* texture = Own(0, MakePatternTexture(16, 16));
    auto drawAt = [&](float angle)
    {
        SDL_FillRect(context->screen, nullptr, 0);
        ClearSpriteCommands(context);
        Sprite(texture, 100, 50, 16, 16)->angle = angle;
        DrawSpriteCommands(context);
        std::vector<uint32_t> pixels;
        for (int y = 30; y < 90; ++y)
        {
            for (int x = 80; x < 140; ++x)
            {
                pixels.push_back(Screen(x, y));
            }
        }
        return pixels;
    };
    EXPECT_EQ(drawAt(400.0f), drawAt(40.0f));
    EXPECT_EQ(drawAt(360.0f), drawAt(0.5f));
    EXPECT_NE(drawAt(40.0f), drawAt(0.5f));
}

TEST_F(RenderTest, TransformedPathTreatsTexelsOutsideTheTextureAsTransparent)
{
    // A 4 x 4 texture drawn as a 16 x 16 sprite: only its 16 texels appear.
    SDL_Surface* texture = Own(0, MakePatternTexture(4, 4));
    Sprite(texture, 100, 50, 16, 16)->angle = 0.5f;
    DrawSpriteCommands(context);
    EXPECT_EQ(CountLit(), 16);
    EXPECT_EQ(Screen(103, 53), TexelOnScreen(3, 3));

    // A source rectangle starting left of and above the texture.
    SDL_FillRect(context->screen, nullptr, 0);
    ClearSpriteCommands(context);
    Sprite(texture, 100, 50, 8, 8, -6, -6)->angle = 0.5f;
    DrawSpriteCommands(context);
    EXPECT_EQ(CountLit(), 4);
    EXPECT_EQ(Screen(106, 56), TexelOnScreen(0, 0));
    EXPECT_EQ(Screen(107, 57), TexelOnScreen(1, 1));
}

TEST_F(RenderTest, TransformedSurfaceKeepsTheTexturesChannelLayout)
{
    // Same colours held in two layouts give the same picture.
    SDL_Surface* rgba = Own(0, MakeRgbaSurface(2, 1));
    SDL_Surface* argb = Own(1, SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 32, 0x00FF0000u,
                                                    0x0000FF00u, 0x000000FFu, 0xFF000000u));
    for (SDL_Surface* texture : {rgba, argb})
    {
        SetPixel32(texture, 0, 0, SDL_MapRGBA(texture->format, 10, 120, 230, 255));
        SetPixel32(texture, 1, 0, SDL_MapRGBA(texture->format, 240, 30, 60, 0));
    }
    Sprite(rgba, 10, 10, 2, 1)->angle = 0.5f;
    Sprite(argb, 20, 10, 2, 1)->angle = 0.5f;
    // A texture without alpha channel is drawn opaque.
    SDL_Surface* rgb = Own(
        2, SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 32, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0));
    SetPixel32(rgb, 0, 0, SDL_MapRGB(rgb->format, 10, 120, 230));
    SetPixel32(rgb, 1, 0, SDL_MapRGB(rgb->format, 240, 30, 60));
    Sprite(rgb, 30, 10, 2, 1)->angle = 0.5f;
    DrawSpriteCommands(context);

    const uint32_t blue = SDL_MapRGB(context->screen->format, 10, 120, 230);
    EXPECT_EQ(Screen(10, 10), blue);
    EXPECT_EQ(Screen(11, 10), 0u); // alpha 0 stays invisible
    EXPECT_EQ(Screen(20, 10), blue);
    EXPECT_EQ(Screen(21, 10), 0u);
    EXPECT_EQ(Screen(30, 10), blue);
    EXPECT_EQ(Screen(31, 10), SDL_MapRGB(context->screen->format, 240, 30, 60));
}

TEST_F(RenderTest, TransformedPathRefusesWhatItCannotDraw)
{
    SDL_Surface* texture = Own(0, MakePatternTexture(16, 16));
    SDL_Surface* paletted = Own(1, SDL_CreateRGBSurface(SDL_SWSURFACE, 16, 16, 8, 0, 0, 0, 0));
    SDL_Surface* hicolor =
        Own(2, SDL_CreateRGBSurface(SDL_SWSURFACE, 16, 16, 16, 0xF800, 0x07E0, 0x001F, 0));
    SDL_FillRect(paletted, nullptr, 1);
    SDL_FillRect(hicolor, nullptr, 0xFFFF);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    Sprite(paletted, 10, 10, 16, 16)->angle = 30.0f;
    Sprite(hicolor, 10, 10, 16, 16)->scaleX = 2.0f;
    Sprite(texture, 10, 10, 16, 16)->angle = -10.0f;
    Sprite(texture, 10, 10, 16, 16)->angle = nan;
    Sprite(texture, 10, 10, 16, 16)->angle = 1e20f;
    Sprite(texture, 10, 10, 16, 16)->scaleX = 0.0f;
    Sprite(texture, 10, 10, 16, 16)->scaleY = -1.0f;
    Sprite(texture, 10, 10, 16, 16)->scaleX = 0.0005f; // below 1/1024
    Sprite(texture, 10, 10, 16, 16)->scaleY = nan;
    Sprite(texture, 10, 10, 16, 16)->scaleX = inf;
    Sprite(texture, 10, 10, 16, 16)->scaleX = 100000.0f;   // far too big a surface
    Sprite(texture, 10, 10, 0, 0)->angle = 30.0f;          // N = 0
    Sprite(texture, 10, 10, -16, -16)->angle = 30.0f;      // N < 0
    Sprite(texture, 10, 10, 40000, 40000)->angle = 30.0f;  // N far too big
    SpriteCommand* tiny = Sprite(texture, 10, 10, 16, 16); // N = 0 after scaling
    tiny->scaleX = 0.01f;
    tiny->scaleY = 0.01f;
    DrawSpriteCommands(context);
    EXPECT_EQ(CountLit(), 0);

    // Angles just above -1 truncate to index 0 and are drawn.
    Sprite(texture, 10, 10, 16, 16)->angle = -0.5f;
    DrawSpriteCommands(context);
    EXPECT_EQ(CountLit(), 256);
}

TEST_F(RenderTest, TexturesLoadIntoSlotsAndReplaceTheirPredecessors)
{
    TempDir dir;
    const std::string picture = dir.file("picture.png");
    ASSERT_TRUE(WriteSolidPicture(picture, 8, 4, 10, 20, 30));

    LoadTextureRaw(context, 3, picture.c_str());
    SDL_Surface* raw = GetTexture(context, 3);
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(raw->w, 8);
    LoadTexture(context, 3, picture.c_str()); // replaces and frees the first
    SDL_Surface* converted = GetTexture(context, 3);
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(converted->format->Rmask, context->screen->format->Rmask);
    EXPECT_EQ(converted->format->BitsPerPixel, 32);

    LoadTextureRaw(context, 3, dir.file("missing.png").c_str());
    EXPECT_EQ(GetTexture(context, 3), nullptr);
    LoadTextureRaw(context, 16, picture.c_str());
    LoadTextureRaw(context, -1, picture.c_str());
    EXPECT_EQ(GetTexture(context, 16), nullptr);
    EXPECT_EQ(GetTexture(context, -1), nullptr);
    EXPECT_EQ(TextureBankGet(nullptr, 0), nullptr);
    LoadTextureSlot(nullptr, 0, picture.c_str(), nullptr, 0);
}

TEST(RenderWithoutScreen, AFailedVideoModeLeavesAContextThatDrawsNothing)
{
    RenderContext* context = nullptr;
    {
        ScopedEnv driver("SDL_VIDEODRIVER", "no-such-driver");
        context = CreateRenderContext(ScreenWidth, ScreenHeight, ScreenDepth);
    }
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->screen, nullptr);

    TempDir dir;
    const std::string picture = dir.file("picture.png");
    ASSERT_TRUE(WriteSolidPicture(picture, 8, 8, 1, 2, 3));
    LoadTexture(context, 0, picture.c_str()); // nothing to convert to: kept as loaded
    ASSERT_NE(GetTexture(context, 0), nullptr);
    for (float angle : {0.0f, 45.0f})
    {
        SpriteCommand* command = NextSpriteCommand(context);
        command->inUse = 1;
        command->texture = GetTexture(context, 0);
        command->x = command->y = command->u = command->v = 0;
        command->width = command->height = 8;
        command->angle = angle;
        command->alpha = 255;
    }
    SetWindowCaption(context, "Skyreel");
    PresentFrame(context);
    DestroyRenderContext(context);
    SDL_Quit();

    DestroyRenderContext(nullptr);
    PresentFrame(nullptr);
    ClearSpriteCommands(nullptr);
    EXPECT_EQ(NextSpriteCommand(nullptr), nullptr);
}
