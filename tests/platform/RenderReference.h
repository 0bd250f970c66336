// Test pictures, the render context's drawing as stated (the frozen
// reference renderer of tools/reference/, measured through one blitter), and
// the rule by which the fast renderer's picture must match it: pixels left
// clear and opaque texels exactly, partly clear texels within one level per
// channel (SDL's generic blitter rounds those up, its fast ones down).
#pragma once

#include "platform/Render.h"
#include "tests/support/Files.h"
#include "tests/support/Sdl.h"
#include "tools/reference/ReferenceRender.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace skyreel_test
{

// A deterministic scramble of a few numbers, for textures and backgrounds.
inline uint32_t Scramble(uint32_t a, uint32_t b = 0, uint32_t c = 0)
{
    uint32_t h =
        a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

// Alpha values a test texture holds.
enum class AlphaMix
{
    Opaque,  // every texel 255
    Mixed,   // about a third each clear, opaque and partly clear
    Gradient // alpha = column % 256: every level
};

inline Uint8 TexelAlpha(AlphaMix mix, int x, int y, uint32_t seed)
{
    switch (mix)
    {
    case AlphaMix::Opaque:
        return 255;
    case AlphaMix::Gradient:
        return static_cast<Uint8>(x % 256);
    case AlphaMix::Mixed:
        break;
    }
    const uint32_t h = Scramble(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed);
    switch (h % 3)
    {
    case 0:
        return 0;
    case 1:
        return 255;
    default:
        return static_cast<Uint8>(1 + (h >> 8) % 254);
    }
}

// Texel colours are unique enough that a texel taken from the wrong place
// shows, and clear texels carry colour too (only blending hides it).
inline void TexelColour(int x, int y, uint32_t seed, Uint8* r, Uint8* g, Uint8* b)
{
    const uint32_t h = Scramble(static_cast<uint32_t>(x) + 1000u, static_cast<uint32_t>(y), seed);
    *r = static_cast<Uint8>(h);
    *g = static_cast<Uint8>(h >> 8);
    *b = static_cast<Uint8>(h >> 16);
}

// A w x h surface of the given masks filled with the test pattern (alpha
// dropped when the masks have none).
inline SDL_Surface* MakeTexture(int w, int h, uint32_t rm, uint32_t gm, uint32_t bm, uint32_t am,
                                AlphaMix mix, uint32_t seed)
{
    SDL_Surface* texture = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, rm, gm, bm, am);
    if (texture == nullptr)
    {
        return nullptr;
    }
    for (int y = 0; y < h; ++y)
    {
        for (int x = 0; x < w; ++x)
        {
            Uint8 r, g, b;
            TexelColour(x, y, seed, &r, &g, &b);
            SetPixel32(texture, x, y,
                       SDL_MapRGBA(texture->format, r, g, b, TexelAlpha(mix, x, y, seed)));
        }
    }
    return texture;
}

// The test pattern as a PNG file.
inline bool WritePatternPng(const std::string& path, int w, int h, AlphaMix mix, uint32_t seed)
{
    RgbaPicture picture{w, h, {}};
    for (int y = 0; y < h; ++y)
    {
        for (int x = 0; x < w; ++x)
        {
            Uint8 r, g, b;
            TexelColour(x, y, seed, &r, &g, &b);
            picture.pixels.insert(picture.pixels.end(), {r, g, b, TexelAlpha(mix, x, y, seed)});
        }
    }
    return WriteRgbaPng(path, picture);
}

// --- The stated drawing: the frozen reference renderer (tools/reference/),
// with every blit measured against SDL's generic blitter, which is what SDL
// takes for a picture in R, G, B, A order (the order the game's pictures
// load in): a picture with alpha in another order is blitted from an
// R, G, B, A copy of itself, the same picture through that blitter.

// An R, G, B, A copy of a 32-bit picture with alpha, blending on; null for a
// picture that needs none (no alpha channel, or in that order already).
inline SDL_Surface* GenericOrderCopy(SDL_Surface* picture)
{
    const SDL_PixelFormat* f = picture->format;
    if (f->Amask == 0 || (f->Rmask == RgbaR && f->Gmask == RgbaG && f->Bmask == RgbaB))
    {
        return nullptr;
    }
    SDL_Surface* copy = MakeRgbaSurface(picture->w, picture->h);
    for (int y = 0; y < picture->h; ++y)
    {
        for (int x = 0; x < picture->w; ++x)
        {
            Uint8 r, g, b, a;
            SDL_GetRGBA(GetPixel32(picture, x, y), f, &r, &g, &b, &a);
            SetPixel32(copy, x, y, SDL_MapRGBA(copy->format, r, g, b, a));
        }
    }
    return copy;
}

// Whether the reference's last blit blended (SDL_SRCALPHA on the picture).
inline bool gLastBlitBlended = false;

// The reference's blit through SDL's generic blitter.
inline int GenericOrderBlit(SDL_Surface* source, SDL_Rect* from, SDL_Surface* target, SDL_Rect* at)
{
    gLastBlitBlended = (source->flags & SDL_SRCALPHA) != 0;
    const bool generic = (source->flags & (SDL_SRCALPHA | SDL_SRCCOLORKEY)) == SDL_SRCALPHA;
    SDL_Surface* copy = generic ? GenericOrderCopy(source) : nullptr;
    const int result = SDL_BlitSurface(copy != nullptr ? copy : source, from, target, at);
    SDL_FreeSurface(copy);
    return result;
}

// What one screen pixel was covered with: nothing, or a texel with its
// colour and alpha; `blended` false for a blit with blending off.
struct Coverage
{
    bool covered = false;
    bool blended = true;
    Uint8 r = 0, g = 0, b = 0, a = 0;
};
using CoverageMap = std::vector<Coverage>; // one per target pixel, row after row

inline Coverage TexelCoverage(SDL_Surface* surface, uint32_t word)
{
    Coverage c;
    c.covered = true;
    SDL_GetRGBA(word, surface->format, &c.r, &c.g, &c.b, &c.a);
    return c;
}

// Texel k of a textureW x textureH probe holds k + 1, without alpha: drawn
// the same way as a texture, it shows which texel lands where.
inline SDL_Surface* TexelNumberProbe(int textureW, int textureH)
{
    SDL_Surface* probe =
        SDL_CreateRGBSurface(SDL_SWSURFACE, textureW, textureH, 32, 0xFF0000u, 0xFF00u, 0xFFu, 0);
    for (int y = 0; y < textureH; ++y)
    {
        for (int x = 0; x < textureW; ++x)
        {
            SetPixel32(probe, x, y, static_cast<uint32_t>(y * textureW + x + 1));
        }
    }
    return probe;
}

// The texel number a probe's pixel shows, -1 for none.
inline int ProbedTexel(uint32_t word)
{
    return static_cast<int>(word & 0xFFFFFFu) - 1;
}

// Which texel (or none) lands on each pixel of the transformed path's N x N
// square, by the reference's arithmetic. The command must be one the
// renderer accepts.
struct TransformedResult
{
    int n = 0;
    int blitX = 0;
    int blitY = 0;
    std::vector<int> texel; // row * texture width + column, -1 = transparent
};

inline TransformedResult StatedTransform(const SpriteCommand& c, int textureW, int textureH)
{
    TransformedResult out;
    SDL_Surface* probe = TexelNumberProbe(textureW, textureH);
    SpriteCommand probed = c;
    probed.texture = probe;
    SDL_Rect at = {};
    SDL_Surface* square = reference::MakeTransformedSquare(probed, &at);
    if (square != nullptr)
    {
        out.n = square->w;
        out.blitX = at.x;
        out.blitY = at.y;
        out.texel.resize(static_cast<size_t>(out.n) * out.n);
        for (int r = 0; r < out.n; ++r)
        {
            for (int col = 0; col < out.n; ++col)
            {
                out.texel[static_cast<size_t>(r) * out.n + col] =
                    ProbedTexel(GetPixel32(square, col, r));
            }
        }
    }
    SDL_FreeSurface(square);
    SDL_FreeSurface(probe);
    return out;
}

// The transformed path as stated onto `target`; fills `coverage` with the
// square's pixels that SDL's clipping lets through. The command must be one
// the renderer accepts.
inline void StatedTransformed(const SpriteCommand& c, SDL_Surface* target, CoverageMap* coverage)
{
    SDL_Rect at = {};
    SDL_Surface* square = reference::MakeTransformedSquare(c, &at);
    ASSERT_NE(square, nullptr) << "the reference refused the command";
    const int n = square->w;
    const int left = at.x;
    const int top = at.y;
    SDL_Rect whole = {0, 0, static_cast<Uint16>(n), static_cast<Uint16>(n)};
    GenericOrderBlit(square, &whole, target, &at);
    if (coverage != nullptr)
    {
        coverage->assign(static_cast<size_t>(target->w) * target->h, Coverage{});
        const SDL_Rect& clip = target->clip_rect;
        for (int y = std::max<int>(top, clip.y); y < std::min(top + n, clip.y + clip.h); ++y)
        {
            for (int x = std::max<int>(left, clip.x); x < std::min(left + n, clip.x + clip.w); ++x)
            {
                (*coverage)[static_cast<size_t>(y) * target->w + x] =
                    TexelCoverage(square, GetPixel32(square, x - left, y - top));
            }
        }
    }
    SDL_FreeSurface(square);
}

// The plain path as stated onto `target`. The coverage comes from SDL
// itself: a probe of texel numbers blitted the same way.
inline void StatedPlain(const SpriteCommand& c, SDL_Surface* target, CoverageMap* coverage)
{
    reference::DrawPlainOnto(target, c, GenericOrderBlit);
    if (coverage == nullptr)
    {
        return;
    }
    const bool blended = gLastBlitBlended;
    SDL_Surface* texture = c.texture;
    SDL_Surface* probe = TexelNumberProbe(texture->w, texture->h);
    SDL_Surface* landed =
        SDL_CreateRGBSurface(SDL_SWSURFACE, target->w, target->h, 32, 0xFF0000u, 0xFF00u, 0xFFu, 0);
    SDL_FillRect(landed, nullptr, 0);
    SDL_SetClipRect(landed, &target->clip_rect);
    SDL_Rect source = {static_cast<Sint16>(c.u), static_cast<Sint16>(c.v),
                       static_cast<Uint16>(c.width), static_cast<Uint16>(c.height)};
    SDL_Rect destination = {static_cast<Sint16>(c.x), static_cast<Sint16>(c.y),
                            static_cast<Uint16>(c.width), static_cast<Uint16>(c.height)};
    SDL_BlitSurface(probe, &source, landed, &destination);
    coverage->assign(static_cast<size_t>(target->w) * target->h, Coverage{});
    for (int y = 0; y < target->h; ++y)
    {
        for (int x = 0; x < target->w; ++x)
        {
            const int k = ProbedTexel(GetPixel32(landed, x, y));
            if (k < 0)
            {
                continue;
            }
            Coverage& cell = (*coverage)[static_cast<size_t>(y) * target->w + x];
            cell = TexelCoverage(texture, GetPixel32(texture, k % texture->w, k / texture->w));
            cell.blended = blended;
        }
    }
    SDL_FreeSurface(landed);
    SDL_FreeSurface(probe);
}

// --- Comparing pictures.

inline void Rgb(SDL_Surface* s, int x, int y, Uint8* r, Uint8* g, Uint8* b)
{
    SDL_GetRGB(GetPixel32(s, x, y), s->format, r, g, b);
}

struct Differences
{
    int checked = 0;        // covered pixels
    int partlyClear = 0;    // of which partly clear
    int offByOne = 0;       // partly clear pixels one level off the stated picture
    std::string firstFault; // empty when the picture is as it must be
};

// `before`: the target before drawing; `stated`: after the stated drawing;
// `drawn`: after the renderer's. All three in the same 32-bit format.
inline Differences Compare(SDL_Surface* before, SDL_Surface* stated, SDL_Surface* drawn,
                           const CoverageMap& coverage)
{
    Differences out;
    auto fault = [&out](int x, int y, const char* what, Uint8 r, Uint8 g, Uint8 b, Uint8 wr,
                        Uint8 wg, Uint8 wb)
    {
        if (out.firstFault.empty())
        {
            char text[200];
            std::snprintf(text, sizeof text, "pixel (%d, %d), %s: drawn %d,%d,%d, wanted %d,%d,%d",
                          x, y, what, r, g, b, wr, wg, wb);
            out.firstFault = text;
        }
    };
    const uint32_t colours = drawn->format->Rmask | drawn->format->Gmask | drawn->format->Bmask;
    for (int y = 0; y < drawn->h; ++y)
    {
        const auto* drawnRow = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(drawn->pixels) + y * drawn->pitch);
        const auto* beforeRow = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(before->pixels) + y * before->pitch);
        const Coverage* coverageRow = coverage.data() + static_cast<size_t>(y) * drawn->w;
        for (int x = 0; x < drawn->w; ++x)
        {
            const Coverage& c = coverageRow[x];
            if (!c.covered && ((drawnRow[x] ^ beforeRow[x]) & colours) == 0)
            {
                continue; // untouched, as it must be
            }
            Uint8 r, g, b, sr, sg, sb, br, bg, bb;
            Rgb(drawn, x, y, &r, &g, &b);
            Rgb(stated, x, y, &sr, &sg, &sb);
            Rgb(before, x, y, &br, &bg, &bb);
            if (!c.covered || (c.blended && c.a == 0))
            {
                if (r != br || g != bg || b != bb)
                {
                    fault(x, y, "left clear", r, g, b, br, bg, bb);
                }
                continue;
            }
            ++out.checked;
            if (!c.blended)
            {
                if (r != sr || g != sg || b != sb)
                {
                    fault(x, y, "blending off", r, g, b, sr, sg, sb);
                }
            }
            else if (c.a == 255)
            {
                // The texel's own colour; SDL's generic blitter, which a
                // texture without a draw copy still goes through, comes out
                // one level above it where the screen was brighter.
                const bool exact = r == c.r && g == c.g && b == c.b;
                if (!exact && (r != sr || g != sg || b != sb))
                {
                    fault(x, y, "opaque texel", r, g, b, c.r, c.g, c.b);
                }
            }
            else
            {
                ++out.partlyClear;
                const int worst = std::max({std::abs(r - sr), std::abs(g - sg), std::abs(b - sb)});
                out.offByOne += worst == 1 ? 1 : 0;
                if (worst > 1)
                {
                    fault(x, y, "partly clear texel", r, g, b, sr, sg, sb);
                }
            }
        }
    }
    return out;
}

} // namespace skyreel_test
