// The renderer's fast drawing against the drawing as stated (RenderReference.h):
// the transformed path over every whole degree, many scales, odd sizes and
// the screen's edges, on every texture layout and on screens the direct
// resampler does not take; the plain path from a loaded texture's draw copy;
// and the game's own workloads on the real sprite sheet.
#include "platform/Render.h"
#include "platform/Screen.h"
#include "tests/platform/RenderReference.h"
#include "tests/support/RenderFixture.h"

#include <cstring>

using namespace skyreel_test;

namespace
{

// Masks of the screen's channel order with alpha (X, R, G, B -> A, R, G, B),
// and of a picture with blue first.
constexpr uint32_t ArgbR = 0x00FF0000u, ArgbG = 0x0000FF00u, ArgbB = 0x000000FFu,
                   ArgbA = 0xFF000000u;
constexpr uint32_t BgraR = 0x0000FF00u, BgraG = 0x00FF0000u, BgraB = 0xFF000000u,
                   BgraA = 0x000000FFu;

class RenderEquivalence : public RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        realScreen = context->screen;
    }

    void TearDown() override
    {
        UseScreen(realScreen);
        RenderFixture::TearDown();
        for (SDL_Surface* made : backgrounds)
        {
            SDL_FreeSurface(made);
        }
    }

    // Draws on `screen` from now on (the context's screen is given back at
    // the end; the test frees the surfaces it lends).
    void UseScreen(SDL_Surface* screen) { context->screen = screen; }

    SDL_Surface* SameFormat(SDL_Surface* like)
    {
        const SDL_PixelFormat* f = like->format;
        return SDL_CreateRGBSurface(SDL_SWSURFACE, like->w, like->h, f->BitsPerPixel, f->Rmask,
                                    f->Gmask, f->Bmask, f->Amask);
    }

    // A busy background, the same on the screen and on the stated picture:
    // one of a few, made once per screen format.
    void Background(SDL_Surface* screen, SDL_Surface* stated, uint32_t seed)
    {
        constexpr uint32_t Kinds = 4;
        if (backgroundFormat != screen->format->Rmask + screen->format->BitsPerPixel)
        {
            for (SDL_Surface*& made : backgrounds)
            {
                SDL_FreeSurface(made);
                made = nullptr;
            }
            backgroundFormat = screen->format->Rmask + screen->format->BitsPerPixel;
        }
        SDL_Surface*& background = backgrounds[seed % Kinds];
        if (background == nullptr)
        {
            background = SameFormat(screen);
            for (int y = 0; y < screen->h; ++y)
            {
                for (int x = 0; x < screen->w; ++x)
                {
                    const uint32_t h = Scramble(static_cast<uint32_t>(x), static_cast<uint32_t>(y),
                                                seed % Kinds + 77u);
                    WritePixel(background, x, y,
                               SDL_MapRGB(screen->format, static_cast<Uint8>(h),
                                          static_cast<Uint8>(h >> 8), static_cast<Uint8>(h >> 16)));
                }
            }
        }
        const size_t bytes = static_cast<size_t>(screen->pitch) * screen->h;
        std::memcpy(screen->pixels, background->pixels, bytes);
        std::memcpy(stated->pixels, background->pixels, bytes);
    }

    static void WritePixel(SDL_Surface* s, int x, int y, Uint32 pixel)
    {
        auto* row = static_cast<uint8_t*>(s->pixels) + y * s->pitch;
        std::memcpy(row + x * s->format->BytesPerPixel, &pixel, s->format->BytesPerPixel);
    }

    // Draws the command both ways from the same background and compares.
    Differences Check(SpriteCommand command, uint32_t seed)
    {
        SDL_Surface* screen = context->screen;
        SDL_Surface* before = SameFormat(screen);
        SDL_Surface* stated = SameFormat(screen);
        Background(screen, stated, seed);
        SDL_BlitSurface(screen, nullptr, before, nullptr);
        CoverageMap coverage;
        const bool plain =
            command.scaleX == 1.0f && command.scaleY == 1.0f && command.angle == 0.0f;
        if (plain)
        {
            StatedPlain(command, stated, &coverage);
            DrawSpritePlain(context, &command);
        }
        else
        {
            StatedTransformed(command, stated, &coverage);
            DrawSpriteTransformed(context, &command);
        }
        const Differences differences = Compare(before, stated, screen, coverage);
        SDL_FreeSurface(stated);
        SDL_FreeSurface(before);
        return differences;
    }

    static SpriteCommand Command(SDL_Surface* texture, int x, int y, int w, int h, int u, int v,
                                 float scaleX, float scaleY, float angle)
    {
        SpriteCommand command{};
        command.inUse = 1;
        command.texture = texture;
        command.x = x;
        command.y = y;
        command.width = w;
        command.height = h;
        command.u = u;
        command.v = v;
        command.scaleX = scaleX;
        command.scaleY = scaleY;
        command.angle = angle;
        command.alpha = 255;
        return command;
    }

    // Loads the pattern as the game loads its pictures (raw, from a PNG).
    SDL_Surface* LoadPattern(int slot, int w, int h, AlphaMix mix, uint32_t seed)
    {
        const std::string path = dir.file("pattern" + std::to_string(slot) + ".png");
        if (!WritePatternPng(path, w, h, mix, seed))
        {
            return nullptr;
        }
        LoadTextureRaw(context, slot, path.c_str());
        return GetTexture(context, slot);
    }

    SDL_Surface* Own(int slot, SDL_Surface* surface)
    {
        context->bank->slots[slot] = surface;
        return surface;
    }

    TempDir dir;
    SDL_Surface* realScreen = nullptr;
    SDL_Surface* backgrounds[4] = {};
    uint32_t backgroundFormat = 0;
};

#define EXPECT_SAME_PICTURE(differences, what)                                                     \
    do                                                                                             \
    {                                                                                              \
        const Differences& d_ = (differences);                                                     \
        EXPECT_TRUE(d_.firstFault.empty()) << what << ": " << d_.firstFault;                       \
    } while (0)

struct Placement
{
    int w, h, u, v;
    float scaleX, scaleY;
    int x, y;
};

// Sizes odd and even, scales up and down and unequal, and places on the
// screen, across it and off every edge.
const Placement Placements[] = {
    {13, 9, 3, 5, 1.7f, 1.7f, 200, 120},   {16, 16, 0, 0, 1.0f, 1.0f, 40, 40},
    {7, 5, 1, 2, 3.0f, 3.0f, 300, 60},     {9, 13, 0, 0, 1.0f, 3.0f, 100, 200},
    {8, 8, 20, 20, 1.5f, 0.75f, 420, 230}, {1, 1, 5, 5, 4.0f, 4.0f, 10, 10},
    {2, 3, 0, 0, 2.5f, 1.25f, 470, 260},   {31, 17, 2, 1, 0.5f, 0.5f, 240, 136},
    {24, 24, 8, 8, 5.5f, 5.5f, 240, 136},  {12, 20, 30, 30, 2.0f, 2.0f, -20, -30},
    {16, 16, -6, -3, 1.0f, 1.0f, 470, -8}, {20, 14, 28, 20, 3.0f, 3.0f, 460, 250},
    {17, 17, 0, 0, 0.3f, 0.3f, -5, 265},   {40, 40, 0, 0, 3.0f, 3.0f, 192, 136},
};

TEST_F(RenderEquivalence, TransformedPathMatchesTheStatedDrawingAtEveryWholeDegree)
{
    // A loaded picture: drawn from its copy in the screen's channel order.
    SDL_Surface* texture = LoadPattern(0, 37, 29, AlphaMix::Mixed, 1);
    ASSERT_NE(texture, nullptr);
    int partlyClear = 0;
    int oddSquares = 0;
    for (int degree = 0; degree < 360; ++degree)
    {
        const Placement& p = Placements[degree % std::size(Placements)];
        const SpriteCommand command = Command(texture, p.x, p.y, p.w, p.h, p.u, p.v, p.scaleX,
                                              p.scaleY, static_cast<float>(degree));
        const Differences d = Check(command, static_cast<uint32_t>(degree));
        EXPECT_SAME_PICTURE(d, "degree " << degree << ", placement "
                                         << degree % std::size(Placements));
        partlyClear += d.partlyClear;
        const int n =
            std::max(p.w * static_cast<int>(p.scaleX * (degree == 0 ? 1024.0f : 1448.0f)),
                     p.h * static_cast<int>(p.scaleY * (degree == 0 ? 1024.0f : 1448.0f))) >>
            10;
        oddSquares += n % 2;
    }
    EXPECT_GT(partlyClear, 10000);
    EXPECT_GT(oddSquares, 50); // the half-pixel shift of odd squares is covered
}

TEST_F(RenderEquivalence, TransformedPathMatchesAtFractionalAndWrappedAngles)
{
    SDL_Surface* texture = LoadPattern(0, 37, 29, AlphaMix::Mixed, 2);
    ASSERT_NE(texture, nullptr);
    const float angles[] = {0.25f,  0.999f, 44.5f,  90.0f,  180.0f,
                            270.0f, 359.9f, 360.0f, 725.0f, -0.5f};
    uint32_t seed = 0;
    for (const Placement& p : Placements)
    {
        for (float angle : angles)
        {
            const SpriteCommand command =
                Command(texture, p.x, p.y, p.w, p.h, p.u, p.v, p.scaleX, p.scaleY, angle);
            EXPECT_SAME_PICTURE(Check(command, ++seed), "angle " << angle << " size " << p.w << "x"
                                                                 << p.h << " scale " << p.scaleX
                                                                 << "x" << p.scaleY);
        }
    }
}

TEST_F(RenderEquivalence, TransformedPathMatchesOnEveryTextureLayout)
{
    struct Layout
    {
        const char* name;
        uint32_t r, g, b, a;
    };
    const Layout layouts[] = {
        {"R,G,B,A as loaded, put in a slot directly", RgbaR, RgbaG, RgbaB, RgbaA},
        {"the screen's order with alpha", ArgbR, ArgbG, ArgbB, ArgbA},
        {"B,G,R,A", BgraR, BgraG, BgraB, BgraA},
        {"no alpha channel", ArgbR, ArgbG, ArgbB, 0},
        {"R,G,B without alpha", RgbaR, RgbaG, RgbaB, 0},
        {"ten-bit channels, drawn through a surface", 0x3FF00000u, 0x000FFC00u, 0x000003FFu, 0},
    };
    int slot = 0;
    for (const Layout& layout : layouts)
    {
        SDL_Surface* texture = Own(slot++, MakeTexture(33, 21, layout.r, layout.g, layout.b,
                                                       layout.a, AlphaMix::Mixed, 3));
        ASSERT_NE(texture, nullptr);
        for (int i = 0; i < 12; ++i)
        {
            const Placement& p = Placements[i];
            const float angle = static_cast<float>(i * 31 % 360);
            const SpriteCommand command =
                Command(texture, p.x, p.y, p.w, p.h, p.u, p.v, p.scaleX, p.scaleY, angle);
            EXPECT_SAME_PICTURE(Check(command, static_cast<uint32_t>(i)),
                                layout.name << ", angle " << angle);
        }
    }
}

TEST_F(RenderEquivalence, OtherScreensDrawExactlyTheStatedPicture)
{
    // Screens the direct resampler does not write go through a temporary
    // surface and SDL's blit, like the stated drawing: the same pixels.
    struct ScreenFormat
    {
        const char* name;
        int bpp;
        uint32_t r, g, b, a;
    };
    const ScreenFormat formats[] = {
        {"R,G,B,X", 32, 0xFF000000u, 0x00FF0000u, 0x0000FF00u, 0},
        {"16-bit", 16, 0xF800u, 0x07E0u, 0x001Fu, 0},
        {"with an alpha channel", 32, ArgbR, ArgbG, ArgbB, ArgbA},
    };
    SDL_Surface* loaded = LoadPattern(0, 37, 29, AlphaMix::Mixed, 4);
    SDL_Surface* direct =
        Own(1, MakeTexture(37, 29, RgbaR, RgbaG, RgbaB, RgbaA, AlphaMix::Mixed, 5));
    ASSERT_NE(loaded, nullptr);
    for (const ScreenFormat& format : formats)
    {
        SDL_Surface* screen =
            SDL_CreateRGBSurface(SDL_SWSURFACE, ScreenWidth, ScreenHeight, format.bpp, format.r,
                                 format.g, format.b, format.a);
        ASSERT_NE(screen, nullptr);
        UseScreen(screen);
        for (SDL_Surface* texture : {loaded, direct})
        {
            for (int i = 0; i < 14; ++i)
            {
                const Placement& p = Placements[i];
                SpriteCommand command = Command(texture, p.x, p.y, p.w, p.h, p.u, p.v, p.scaleX,
                                                p.scaleY, static_cast<float>(i * 47 % 360));
                SDL_Surface* stated = SameFormat(screen);
                Background(screen, stated, static_cast<uint32_t>(i));
                StatedTransformed(command, stated, nullptr);
                DrawSpriteTransformed(context, &command);
                EXPECT_EQ(std::memcmp(screen->pixels, stated->pixels,
                                      static_cast<size_t>(screen->pitch) * screen->h),
                          0)
                    << format.name << ", placement " << i;
                SDL_FreeSurface(stated);
            }
        }
        UseScreen(realScreen);
        SDL_FreeSurface(screen);
    }
}

TEST_F(RenderEquivalence, DirectBlendIsTheRoundedDownMixAtEveryLevel)
{
    // Every alpha level over every screen level: texel column x has alpha x
    // and colour levels from its row, and the screen below takes every level
    // down each column. Partly clear texels give d + (s - d) x alpha / 256
    // rounded down per channel, in groups of four pixels and in the rest.
    SDL_Surface* texture =
        Own(0, SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 256, 32, RgbaR, RgbaG, RgbaB, RgbaA));
    for (int y = 0; y < 256; ++y)
    {
        for (int x = 0; x < 256; ++x)
        {
            SetPixel32(texture, x, y,
                       SDL_MapRGBA(texture->format, static_cast<Uint8>(y),
                                   static_cast<Uint8>(255 - y), static_cast<Uint8>(y * 7),
                                   static_cast<Uint8>(x)));
        }
    }
    SDL_Surface* screen = context->screen;
    for (int part = 0; part < 2; ++part)
    {
        // Columns 0..255 in groups of four; then 3..255, whose last (alpha
        // 255) is a rest after the groups.
        const int u = part * 3;
        const int w = 256 - u;
        for (int y = 0; y < 256; ++y)
        {
            for (int x = 0; x < w; ++x)
            {
                const auto level = static_cast<Uint8>((x * 3 + y * 5 + part * 128) & 0xFF);
                SetPixel32(screen, x, y,
                           SDL_MapRGB(screen->format, level, static_cast<Uint8>(level ^ 0x5A),
                                      static_cast<Uint8>(255 - level)));
            }
        }
        std::vector<uint32_t> before(static_cast<size_t>(256) * 256);
        for (int y = 0; y < 256; ++y)
        {
            for (int x = 0; x < w; ++x)
            {
                before[static_cast<size_t>(y) * 256 + x] = GetPixel32(screen, x, y);
            }
        }
        // Angle 0.5: the transformed path unturned, texel (u + x, y) on (x, y).
        SpriteCommand command = Command(texture, 0, 0, w, 256, u, 0, 1.0f, 1.0f, 0.5f);
        DrawSpriteTransformed(context, &command);
        for (int y = 0; y < 256; ++y)
        {
            for (int x = 0; x < w; ++x)
            {
                const int alpha = x + u;
                Uint8 sr, sg, sb, sa, dr, dg, db, r, g, b;
                SDL_GetRGBA(GetPixel32(texture, alpha, y), texture->format, &sr, &sg, &sb, &sa);
                SDL_GetRGB(before[static_cast<size_t>(y) * 256 + x], screen->format, &dr, &dg, &db);
                SDL_GetRGB(GetPixel32(screen, x, y), screen->format, &r, &g, &b);
                auto mix = [alpha](int s, int d)
                {
                    if (alpha == 0)
                    {
                        return d;
                    }
                    if (alpha == 255)
                    {
                        return s;
                    }
                    return d + (((s - d) * alpha) >> 8);
                };
                ASSERT_EQ(r, mix(sr, dr)) << x << "," << y << " alpha " << alpha;
                ASSERT_EQ(g, mix(sg, dg)) << x << "," << y << " alpha " << alpha;
                ASSERT_EQ(b, mix(sb, db)) << x << "," << y << " alpha " << alpha;
            }
        }
    }
}

TEST_F(RenderEquivalence, PlainPathFromTheDrawCopyMatchesTheLoadedTexture)
{
    SDL_Surface* texture = LoadPattern(0, 64, 48, AlphaMix::Mixed, 6);
    ASSERT_NE(texture, nullptr);
    struct Rect
    {
        int x, y, w, h, u, v;
    };
    const Rect rects[] = {
        {100, 100, 16, 16, 8, 8},      {0, 0, 64, 48, 0, 0},      // a part; the whole picture
        {-20, -10, 64, 48, 0, 0},      {450, 250, 64, 48, 0, 0},  // the whole, off two edges each
        {200, 50, 80, 60, -8, -6},     {10, 200, 30, 30, 50, 40}, // rectangles past the texture
        {470, 100, 20, 20, 3, 3},      {-5, 265, 12, 12, 0, 0},
        {240, 136, 6, 6, 30, 30},      {100, -100, 64, 48, 0, 0}, // wholly off the screen
        {32700, 20, 400, 48, -100, 0}, // SDL's 16-bit position wraps: SDL blits this one
    };
    int partlyClear = 0;
    uint32_t seed = 0;
    for (const Rect& r : rects)
    {
        for (Uint8 alpha : {Uint8{255}, Uint8{128}, Uint8{0}})
        {
            SpriteCommand command =
                Command(texture, r.x, r.y, r.w, r.h, r.u, r.v, 1.0f, 1.0f, 0.0f);
            command.alpha = alpha;
            const Differences d = Check(command, ++seed);
            EXPECT_SAME_PICTURE(d, "rectangle at " << r.x << "," << r.y << " alpha " << int{alpha});
            partlyClear += d.partlyClear;
            // The texture comes back as it was: blending on, alpha 255.
            EXPECT_NE(texture->flags & SDL_SRCALPHA, 0u);
            EXPECT_EQ(texture->format->alpha, 255);
        }
    }
    EXPECT_GT(partlyClear, 1000);
}

TEST_F(RenderEquivalence, PlainPathClipsTallAndWidePicturesAtEveryEdge)
{
    // Rectangles reaching past each edge of a picture taller than wide and
    // of one wider than tall, and whole pictures past each edge of the screen.
    struct Rect
    {
        int x, y, w, h, u, v;
    };
    uint32_t seed = 0;
    for (int slot = 0; slot < 2; ++slot)
    {
        const int w = slot == 0 ? 20 : 52;
        const int h = slot == 0 ? 52 : 20;
        SDL_Surface* texture = LoadPattern(slot, w, h, AlphaMix::Mixed, 12 + slot);
        ASSERT_NE(texture, nullptr);
        const Rect rects[] = {
            {100, 100, w, h + 12, 0, 0},           // past the picture's bottom
            {100, 100, w, h, 3, h - 7},            // from near its bottom, past it
            {100, 100, w, h, 0, -9},               // past its top
            {100, 100, w + 12, h, 0, 0},           // past its right
            {100, 100, w, h, w - 7, 3},            // from near its right, past it
            {100, 100, w, h, -9, 0},               // past its left
            {-11, 100, w, h, 0, 0},                // off the screen's left
            {ScreenWidth - 9, 100, w, h, 0, 0},    // off its right
            {100, -11, w, h, 0, 0},                // off its top
            {100, ScreenHeight - 9, w, h, 0, 0},   // off its bottom
            {ScreenWidth - 9, -5, w, h + 8, 0, 0}, // off two edges, past the picture's bottom
        };
        for (const Rect& r : rects)
        {
            for (Uint8 alpha : {Uint8{255}, Uint8{128}})
            {
                SpriteCommand command =
                    Command(texture, r.x, r.y, r.w, r.h, r.u, r.v, 1.0f, 1.0f, 0.0f);
                command.alpha = alpha;
                EXPECT_SAME_PICTURE(Check(command, ++seed),
                                    w << " x " << h << " picture, rectangle " << r.w << " x " << r.h
                                      << " from " << r.u << "," << r.v << " at " << r.x << ","
                                      << r.y << ", alpha " << int{alpha});
            }
        }
    }
}

TEST_F(RenderEquivalence, PlainPathFollowsTheTexturesBlendingStateAndColourKey)
{
    SDL_Surface* texture = LoadPattern(0, 40, 30, AlphaMix::Mixed, 7);
    ASSERT_NE(texture, nullptr);
    const SpriteCommand part = Command(texture, 50, 60, 20, 20, 4, 4, 1.0f, 1.0f, 0.0f);
    const SpriteCommand whole = Command(texture, 150, 60, 40, 30, 0, 0, 1.0f, 1.0f, 0.0f);

    // Blending switched off by a caller: clear texels show their colour.
    SDL_SetAlpha(texture, 0, 0);
    EXPECT_SAME_PICTURE(Check(part, 1), "blending off, a part");
    EXPECT_SAME_PICTURE(Check(whole, 2), "blending off, the whole");
    EXPECT_EQ(texture->flags & SDL_SRCALPHA, 0u);

    // A texture at alpha 64: an alpha-255 command blits with blending off,
    // then 64 comes back (on SDL 1.2; the compatibility runtime keeps a
    // picture with an alpha channel at 255, and so blends as usual).
    SDL_SetAlpha(texture, SDL_SRCALPHA, 64);
    const Uint8 kept = texture->format->alpha;
    EXPECT_SAME_PICTURE(Check(part, 3), "texture at 64, a part");
    EXPECT_SAME_PICTURE(Check(whole, 4), "texture at 64, the whole");
    EXPECT_NE(texture->flags & SDL_SRCALPHA, 0u);
    EXPECT_EQ(texture->format->alpha, kept);

    // Back to normal, and then a colour key: the texture is blitted itself.
    SDL_SetAlpha(texture, SDL_SRCALPHA, 255);
    EXPECT_SAME_PICTURE(Check(whole, 5), "blending back on");
    SDL_SetColorKey(texture, SDL_SRCCOLORKEY, GetPixel32(texture, 0, 0));
    SDL_SetAlpha(texture, 0, 0);
    EXPECT_SAME_PICTURE(Check(part, 6), "colour key");
}

TEST_F(RenderEquivalence, LoadedTextureStaysAsLoadedAndAReplacedSlotDrawsItsNewSurface)
{
    const std::string path = dir.file("picture.png");
    ASSERT_TRUE(WritePatternPng(path, 10, 6, AlphaMix::Mixed, 8));
    LoadTextureRaw(context, 2, path.c_str());
    SDL_Surface* texture = GetTexture(context, 2);
    ASSERT_NE(texture, nullptr);
    // What GetTexture gives is the picture as loaded: R, G, B, A in memory.
    EXPECT_EQ(texture->format->Rmask, RgbaR);
    EXPECT_EQ(texture->format->Amask, RgbaA);
    for (int y = 0; y < 6; ++y)
    {
        for (int x = 0; x < 10; ++x)
        {
            Uint8 r, g, b, a, wr, wg, wb;
            SDL_GetRGBA(GetPixel32(texture, x, y), texture->format, &r, &g, &b, &a);
            TexelColour(x, y, 8, &wr, &wg, &wb);
            ASSERT_EQ(a, TexelAlpha(AlphaMix::Mixed, x, y, 8));
            ASSERT_EQ(r, wr);
            ASSERT_EQ(g, wg);
            ASSERT_EQ(b, wb);
        }
    }

    // Loading again replaces picture and copy; loading a missing file empties both.
    LoadTextureRaw(context, 2, path.c_str());
    texture = GetTexture(context, 2);
    EXPECT_SAME_PICTURE(Check(Command(texture, 5, 5, 10, 6, 0, 0, 1.0f, 1.0f, 0.0f), 1),
                        "reloaded");
    EXPECT_SAME_PICTURE(Check(Command(texture, 5, 5, 10, 6, 0, 0, 2.0f, 2.0f, 30.0f), 2),
                        "reloaded, turned");

    // A surface put into the slot by hand is drawn from itself, not from
    // the copy of the picture it replaced.
    SDL_Surface* replacement = MakeTexture(10, 6, RgbaR, RgbaG, RgbaB, RgbaA, AlphaMix::Opaque, 9);
    SDL_Surface* loaded = context->bank->slots[2];
    context->bank->slots[2] = replacement;
    EXPECT_SAME_PICTURE(Check(Command(replacement, 5, 5, 10, 6, 0, 0, 1.0f, 1.0f, 0.0f), 3),
                        "replaced, plain");
    EXPECT_SAME_PICTURE(Check(Command(replacement, 5, 5, 10, 6, 0, 0, 1.0f, 1.0f, 10.0f), 4),
                        "replaced, turned");
    context->bank->slots[2] = loaded;
    SDL_FreeSurface(replacement);

    LoadTextureRaw(context, 2, dir.file("missing.png").c_str());
    EXPECT_EQ(GetTexture(context, 2), nullptr);
}

TEST_F(RenderEquivalence, TheGamesWorkloadsOnTheRealSheetMatch)
{
    // The sheet and the overlay the game loads, drawn as the game draws them:
    // the background layers (scale 2; scale 3 turning), the title backdrop
    // (scale 5.5), sparks (8 x 8 turning), bullets and the full-screen overlay.
    const std::string root = SKYREEL_SOURCE_DIR;
    LoadTextureRaw(context, 0, (root + "/data/texture1.png").c_str());
    LoadTextureRaw(context, 1, (root + "/data/clip1.png").c_str());
    SDL_Surface* sheet = GetTexture(context, 0);
    SDL_Surface* overlay = GetTexture(context, 1);
    if (sheet == nullptr || overlay == nullptr)
    {
        GTEST_SKIP() << "data/texture1.png or data/clip1.png is missing";
    }
    uint32_t seed = 0;
    for (int degree = 0; degree < 360; degree += 11)
    {
        EXPECT_SAME_PICTURE(Check(Command(sheet, 128, 72, 128, 128, 128, 64, 3.0f, 3.0f,
                                          static_cast<float>(degree)),
                                  ++seed),
                            "turning layer at " << degree);
        EXPECT_SAME_PICTURE(Check(Command(sheet, 196, 96, 8, 8, 128 + 8 * (degree % 3), 0, 1.0f,
                                          1.0f, static_cast<float>(degree) + 0.5f),
                                  ++seed),
                            "spark at " << degree);
    }
    EXPECT_SAME_PICTURE(Check(Command(sheet, 128, 72, 128, 128, 0, 64, 2.0f, 2.0f, 0.0f), ++seed),
                        "still layer");
    EXPECT_SAME_PICTURE(Check(Command(sheet, 208, 104, 64, 64, 0, 448, 5.5f, 5.5f, 0.0f), ++seed),
                        "title backdrop");
    EXPECT_SAME_PICTURE(Check(Command(sheet, 150, 100, 6, 6, 112, 16, 1.0f, 1.0f, 0.0f), ++seed),
                        "small bullet");
    EXPECT_SAME_PICTURE(
        Check(Command(overlay, 0, 0, ScreenWidth, ScreenHeight, 0, 0, 1.0f, 1.0f, 0.0f), ++seed),
        "overlay");
}

} // namespace
