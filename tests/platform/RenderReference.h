// The render context's drawing as stated, done the plain way with SDL (a
// temporary RGBA square filled and blitted; the texture blitted as loaded),
// and the rule by which the fast renderer's picture must match it: pixels
// left clear and opaque texels exactly, partly clear texels within one level
// per channel (SDL's generic blitter rounds those up, its fast ones down).
#pragma once

#include "platform/Render.h"
#include "tests/support/Files.h"
#include "tests/support/Sdl.h"

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

// --- The stated drawing, with SDL doing every blit.
//
// Blending is measured against SDL's generic blitter, which is what SDL
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

// The transformed path's arithmetic as stated, in plain 32-bit integers:
// which texel (or none) lands on each pixel of the N x N temporary surface.
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
    const int sx = static_cast<int>(c.scaleX * 1024.0f);
    const int sy = static_cast<int>(c.scaleY * 1024.0f);
    const int ix = 1048576 / sx;
    const int iy = 1048576 / sy;
    const int a = static_cast<int>(c.angle) % 360;
    const int sinA = FixedSineTable[a];
    const int cosA = FixedCosineTable[a];
    const int duCol = (ix * cosA) / 1024;
    const int dvCol = (ix * sinA) / 1024;
    const int duRow = -(iy * sinA) / 1024;
    const int dvRow = (iy * cosA) / 1024;
    const int w = a == 0 ? c.width * sx : c.width * static_cast<int>(c.scaleX * 1448.0f);
    const int h = a == 0 ? c.height * sy : c.height * static_cast<int>(c.scaleY * 1448.0f);
    const int n = std::max(w, h) >> 10;
    const int hx = (ix * -n) / 2;
    const int hy = (iy * -n) / 2;
    int rowU = (hx * cosA - hy * sinA) / 1024 + (c.width / 2) * 1024;
    int rowV = (hx * sinA + hy * cosA) / 1024 + (c.height / 2) * 1024;
    out.n = n;
    out.blitX = c.x + c.width / 2 - n / 2;
    out.blitY = c.y + c.height / 2 - n / 2;
    out.texel.assign(static_cast<size_t>(n) * n, -1);
    for (int r = 0; r < n; ++r)
    {
        int pu = rowU;
        int pv = rowV;
        for (int col = 0; col < n; ++col)
        {
            if (pu >= 0 && pu < c.width * 1024 && pv >= 0 && pv < c.height * 1024)
            {
                const int tc = c.u + (pu >> 10);
                const int tr = c.v + (pv >> 10);
                if (tc >= 0 && tc < textureW && tr >= 0 && tr < textureH)
                {
                    out.texel[static_cast<size_t>(r) * n + col] = tr * textureW + tc;
                }
            }
            pu += duCol;
            pv += dvCol;
        }
        rowU += duRow;
        rowV += dvRow;
    }
    return out;
}

// The transformed path as stated, in plain 32-bit integers, onto `target`;
// fills `coverage` with the square's pixels that SDL's clipping lets through.
// The command must be one the renderer accepts.
inline void StatedTransformed(const SpriteCommand& c, SDL_Surface* target, CoverageMap* coverage)
{
    SDL_Surface* texture = c.texture;
    const SDL_PixelFormat* f = texture->format;
    const TransformedResult map = StatedTransform(c, texture->w, texture->h);
    const int n = map.n;
    uint32_t alphaMask = f->Amask;
    uint32_t opaqueBits = 0;
    if (alphaMask == 0)
    {
        alphaMask = ~(f->Rmask | f->Gmask | f->Bmask);
        opaqueBits = alphaMask;
    }
    SDL_Surface* square =
        SDL_CreateRGBSurface(0, n, n, 32, f->Rmask, f->Gmask, f->Bmask, alphaMask);
    SDL_FillRect(square, nullptr, 0);
    for (int r = 0; r < n; ++r)
    {
        for (int col = 0; col < n; ++col)
        {
            const int texel = map.texel[static_cast<size_t>(r) * n + col];
            if (texel >= 0)
            {
                SetPixel32(square, col, r,
                           GetPixel32(texture, texel % texture->w, texel / texture->w) |
                               opaqueBits);
            }
        }
    }
    SDL_Rect whole = {0, 0, static_cast<Uint16>(n), static_cast<Uint16>(n)};
    SDL_Rect at = {static_cast<Sint16>(map.blitX), static_cast<Sint16>(map.blitY), 0, 0};
    const int left = at.x;
    const int top = at.y;
    SDL_Surface* generic = GenericOrderCopy(square);
    SDL_BlitSurface(generic != nullptr ? generic : square, &whole, target, &at);
    SDL_FreeSurface(generic);
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

// The plain path as stated (alpha set on the texture for the blit, then
// restored), blitting the texture as loaded onto `target`. The coverage
// comes from SDL itself: a probe picture of texel numbers blitted the same way.
inline void StatedPlain(const SpriteCommand& c, SDL_Surface* target, CoverageMap* coverage)
{
    SDL_Surface* texture = c.texture;
    SDL_Rect source = {static_cast<Sint16>(c.u), static_cast<Sint16>(c.v),
                       static_cast<Uint16>(c.width), static_cast<Uint16>(c.height)};
    SDL_Rect destination = {static_cast<Sint16>(c.x), static_cast<Sint16>(c.y),
                            static_cast<Uint16>(c.width), static_cast<Uint16>(c.height)};
    const SDL_Rect probeSource = source;
    const SDL_Rect probeDestination = destination;
    const Uint8 previous = texture->format->alpha;
    const bool change = c.alpha != previous;
    if (change)
    {
        if (c.alpha == 255)
        {
            SDL_SetAlpha(texture, 0, 0);
        }
        else
        {
            SDL_SetAlpha(texture, SDL_SRCALPHA, c.alpha);
        }
    }
    const bool blended = (texture->flags & SDL_SRCALPHA) != 0;
    SDL_Surface* generic =
        blended && (texture->flags & SDL_SRCCOLORKEY) == 0 ? GenericOrderCopy(texture) : nullptr;
    SDL_BlitSurface(generic != nullptr ? generic : texture, &source, target, &destination);
    SDL_FreeSurface(generic);
    if (change)
    {
        SDL_SetAlpha(texture, SDL_SRCALPHA, previous);
    }
    if (coverage == nullptr)
    {
        return;
    }
    // Texel k is numbered k + 1 in a picture without alpha, copied as it is.
    SDL_Surface* probe = SDL_CreateRGBSurface(SDL_SWSURFACE, texture->w, texture->h, 32, 0xFF0000u,
                                              0xFF00u, 0xFFu, 0);
    SDL_Surface* landed =
        SDL_CreateRGBSurface(SDL_SWSURFACE, target->w, target->h, 32, 0xFF0000u, 0xFF00u, 0xFFu, 0);
    for (int y = 0; y < texture->h; ++y)
    {
        for (int x = 0; x < texture->w; ++x)
        {
            SetPixel32(probe, x, y, static_cast<uint32_t>(y * texture->w + x + 1));
        }
    }
    SDL_FillRect(landed, nullptr, 0);
    SDL_SetClipRect(landed, &target->clip_rect);
    SDL_Rect ps = probeSource;
    SDL_Rect pd = probeDestination;
    SDL_BlitSurface(probe, &ps, landed, &pd);
    coverage->assign(static_cast<size_t>(target->w) * target->h, Coverage{});
    for (int y = 0; y < target->h; ++y)
    {
        for (int x = 0; x < target->w; ++x)
        {
            const uint32_t id = GetPixel32(landed, x, y) & 0xFFFFFFu;
            if (id == 0)
            {
                continue;
            }
            const int k = static_cast<int>(id) - 1;
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
