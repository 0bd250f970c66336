// What the render context's files share, and the debug console with them:
// not for the game, which knows platform/Render.h only.
#pragma once

#include "platform/Render.h"

#include <SDL/SDL.h>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace render_detail
{

// The layout the direct drawing works in ("draw layout"): 32-bit words whose
// three colour bytes sit where the screen has them, in the low 24 bits, with
// a picture's alpha in the top byte.
constexpr uint32_t DrawAlphaMask = 0xFF000000u;
constexpr uint32_t DrawColourMask = 0x00FFFFFFu;

// Whether SDL can blit from a surface: a format its blitters know, and a size
// its pixels actually cover. A damaged picture file can load as neither (a BMP
// claiming thousands of bits per pixel comes back as a 4-bit surface without a
// palette; one claiming a height of -2^31 comes back with that height over a
// few rows of pixels), and SDL would read outside the pixels at the first
// blit or conversion. Textures and the debug font are used only when it holds.
bool IsBlittable(const SDL_Surface* surface);

inline bool LockIfNeeded(SDL_Surface* surface)
{
    return !SDL_MUSTLOCK(surface) || SDL_LockSurface(surface) == 0;
}

inline void UnlockIfNeeded(SDL_Surface* surface)
{
    if (SDL_MUSTLOCK(surface))
    {
        SDL_UnlockSurface(surface);
    }
}

// SDL_Rect keeps signed 16-bit positions and unsigned 16-bit sizes.
inline SDL_Rect MakeRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    return SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                    static_cast<Uint16>(h)};
}

// The texture a command draws from, or null when the command is not to be
// drawn (no screen, not in use, no texture).
inline SDL_Surface* CommandTexture(const RenderContext* context, const SpriteCommand* command)
{
    if (context == nullptr || context->screen == nullptr || command == nullptr ||
        command->inUse == 0)
    {
        return nullptr;
    }
    return command->texture;
}

// Texel words of a picture turned into the draw layout; the layout checks
// below are defined in RenderTextures.cpp.
struct TexelAsIs
{
    uint32_t operator()(uint32_t texel) const { return texel; }
};

struct TexelConverter
{
    int red, green, blue; // byte positions in the picture's words
    int alpha;            // -1: no alpha channel, every texel opaque
    int screenRed, screenGreen, screenBlue;

    uint32_t operator()(uint32_t texel) const
    {
        const uint32_t a = alpha < 0 ? 0xFFu : (texel >> alpha) & 0xFFu;
        return (a << 24) | (((texel >> red) & 0xFFu) << screenRed) |
               (((texel >> green) & 0xFFu) << screenGreen) |
               (((texel >> blue) & 0xFFu) << screenBlue);
    }
};

// A screen the direct drawing can write: 32-bit, no alpha channel, one whole
// byte per colour in the low 24 bits (X, R, G, B or X, B, G, R).
bool IsDirectScreen(const SDL_Surface* screen);
// False for a picture whose channels are not distinct whole bytes of 32-bit
// words.
bool MakeTexelConverter(const SDL_PixelFormat* picture, const SDL_PixelFormat* screen,
                        TexelConverter* converter);
// True when a picture's words are already in the draw layout of this screen.
bool IsInDrawLayout(const SDL_PixelFormat* picture, const SDL_PixelFormat* screen);
// The draw copy of a slot's surface, or null for a surface that has none
// (not loaded through a slot, or loaded in a layout that needs none).
const TextureDrawCopy* FindDrawCopy(const TextureBank* bank, const SDL_Surface* texture);

// One picture pixel s (draw layout) over one screen pixel d: nothing for
// alpha 0, the colour itself for alpha 255, else d + (s - d) x alpha / 256 per
// channel, which is how SDL blends such pixels on its fast paths. The screen's
// spare top byte is left as it was. Without branches: the pictures mix clear,
// opaque and partly clear texels too irregularly for a branch to be guessed,
// and taking alpha 255 as 256 makes the same sum give s exactly.
inline uint32_t BlendOver(uint32_t d, uint32_t s)
{
    uint32_t alpha = s >> 24;
    alpha += alpha == 0xFFu ? 1u : 0u;
    const uint32_t outer = d & 0x00FF00FFu; // two channels at once, 8 bits apart
    const uint32_t middle = d & 0x0000FF00u;
    const uint32_t blendedOuter =
        (outer + (((s & 0x00FF00FFu) - outer) * alpha >> 8)) & 0x00FF00FFu;
    const uint32_t blendedMiddle =
        (middle + (((s & 0x0000FF00u) - middle) * alpha >> 8)) & 0x0000FF00u;
    return blendedOuter | blendedMiddle | (d & DrawAlphaMask);
}

#if defined(__SSE2__)
// BlendOver on four pixels at once, in 16-bit lanes: d + (s - d) x a / 256
// rounded down is (d x (256 - a) + s x a) / 256 rounded down, whose terms
// never leave 0..65280.
inline __m128i BlendOver4(__m128i d, __m128i s)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i alpha = _mm_srli_epi32(s, 24);
    alpha = _mm_sub_epi32(alpha, _mm_cmpeq_epi32(alpha, _mm_set1_epi32(0xFF))); // 255 -> 256
    alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
    const __m128i alphaLow = _mm_unpacklo_epi32(alpha, alpha); // pixels 0, 1: one alpha per channel
    const __m128i alphaHigh = _mm_unpackhi_epi32(alpha, alpha);
    const __m128i whole = _mm_set1_epi16(256);
    const __m128i low = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), alphaLow),
                      _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), _mm_sub_epi16(whole, alphaLow))),
        8);
    const __m128i high = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), alphaHigh),
                      _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), _mm_sub_epi16(whole, alphaHigh))),
        8);
    const __m128i colour = _mm_set1_epi32(static_cast<int>(DrawColourMask));
    return _mm_or_si128(_mm_and_si128(_mm_packus_epi16(low, high), colour),
                        _mm_andnot_si128(colour, d));
}

// Four picture pixels over the four screen pixels at `out`; `opaque`: all
// four have alpha 255, and their colours are simply put in place.
inline void StoreOver4(uint32_t* out, __m128i s, bool opaque)
{
    auto* at = reinterpret_cast<__m128i*>(out);
    const __m128i d = _mm_loadu_si128(at);
    if (opaque)
    {
        const __m128i colour = _mm_set1_epi32(static_cast<int>(DrawColourMask));
        _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(s, colour), _mm_andnot_si128(colour, d)));
    }
    else
    {
        _mm_storeu_si128(at, BlendOver4(d, s));
    }
}
#endif

} // namespace render_detail
