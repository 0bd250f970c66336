// The plain path: one unscaled, unrotated blit with the command's alpha,
// blended by the renderer itself where it can stand in for SDL's blit.
#include "platform/Port.h"
#include "platform/Render.h"
#include "platform/RenderInternal.h"

#include <algorithm>

using namespace render_detail;

namespace
{

// SDL's clipping of a blit (SDL_UpperBlit): the source rectangle cut to the
// picture, the destination moved with it, then cut to the target's clip
// rectangle. Sets the source corner, the target corner and the size left.
// False when nothing is left, or when SDL's 16-bit positions would wrap on
// the way (then SDL itself must blit, to wrap as it does).
bool ClipBlit(const SDL_Surface* from, const SDL_Rect& source, const SDL_Surface* to,
              const SDL_Rect& destination, int* sx, int* sy, int* dx, int* dy, int* w, int* h,
              bool* wraps)
{
    *wraps = false;
    *sx = source.x;
    *sy = source.y;
    *w = source.w;
    *h = source.h;
    *dx = destination.x;
    *dy = destination.y;
    if (*sx < 0)
    {
        *w += *sx;
        *dx -= *sx;
        *sx = 0;
    }
    *w = std::min(*w, from->w - *sx);
    if (*sy < 0)
    {
        *h += *sy;
        *dy -= *sy;
        *sy = 0;
    }
    *h = std::min(*h, from->h - *sy);
    if (*dx > INT16_MAX || *dy > INT16_MAX)
    {
        *wraps = true;
        return false;
    }
    const SDL_Rect& clip = to->clip_rect;
    int cut = clip.x - *dx;
    if (cut > 0)
    {
        *w -= cut;
        *dx += cut;
        *sx += cut;
    }
    cut = *dx + *w - clip.x - clip.w;
    if (cut > 0)
    {
        *w -= cut;
    }
    cut = clip.y - *dy;
    if (cut > 0)
    {
        *h -= cut;
        *dy += cut;
        *sy += cut;
    }
    cut = *dy + *h - clip.y - clip.h;
    if (cut > 0)
    {
        *h -= cut;
    }
    return *w > 0 && *h > 0;
}

// BlendOver along a row of `count` pixels.
void BlendRow(uint32_t* out, const uint32_t* in, int count)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i alphas = _mm_set1_epi32(static_cast<int>(DrawAlphaMask));
    for (; i + 4 <= count; i += 4)
    {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i alpha = _mm_and_si128(s, alphas);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128())) == 0xFFFF)
        {
            continue; // four clear texels
        }
        StoreOver4(out + i, s, _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, alphas)) == 0xFFFF);
    }
#endif
    for (; i < count; ++i)
    {
        out[i] = BlendOver(out[i], in[i]);
    }
}

// The plain blit, blended by the renderer from `pixels` (in the draw layout)
// onto a direct screen. On a picture with an alpha channel SDL ignores the
// per-surface alpha value, so this draws what SDL's blit would. False when it
// cannot stand in for SDL's blit (positions that SDL would wrap).
bool BlitBlended(SDL_Surface* pixels, const SDL_Rect& source, SDL_Surface* screen,
                 const SDL_Rect& destination)
{
    int sx, sy, dx, dy, w, h;
    bool wraps;
    if (!ClipBlit(pixels, source, screen, destination, &sx, &sy, &dx, &dy, &w, &h, &wraps))
    {
        return !wraps;
    }
    if (!LockIfNeeded(screen))
    {
        return true;
    }
    if (LockIfNeeded(pixels))
    {
        const auto* in = static_cast<const uint8_t*>(pixels->pixels);
        auto* out = static_cast<uint8_t*>(screen->pixels);
        for (int row = 0; row < h; ++row)
        {
            BlendRow(reinterpret_cast<uint32_t*>(out + (dy + row) * screen->pitch) + dx,
                     reinterpret_cast<const uint32_t*>(in + (sy + row) * pixels->pitch) + sx, w);
        }
        UnlockIfNeeded(pixels);
    }
    UnlockIfNeeded(screen);
    return true;
}

} // namespace

void DrawSpritePlain(RenderContext* context, SpriteCommand* command)
{
    SDL_Surface* texture = CommandTexture(context, command);
    if (texture == nullptr)
    {
        return;
    }
    SDL_Rect source = MakeRect(command->u, command->v, command->width, command->height);
    SDL_Rect destination = MakeRect(command->x, command->y, command->width, command->height);

    // Over draw-ready pictures the command's alpha changes nothing (Port.h).
    const bool ownAlpha = PortPicturesAreDrawReady();
    const Uint8 previous = ownAlpha ? 255 : PortSurfaceAlpha(texture);
    const bool changeAlpha = !ownAlpha && command->alpha != previous;
    if (changeAlpha)
    {
        // Opaque: blending off for this blit; otherwise on at the command's alpha.
        const bool opaque = command->alpha == 255;
        SDL_SetAlpha(texture, opaque ? 0 : SDL_SRCALPHA, opaque ? 0 : command->alpha);
    }
    // A texture that blends as usual, with a draw copy or already in the
    // draw layout, is blended by the renderer; anything else (blending off,
    // a colour key, run-length encoding, another layout) is SDL's to blit.
    SDL_Surface* screen = context->screen;
    SDL_Surface* pixels = nullptr;
    if ((texture->flags & (SDL_SRCALPHA | SDL_SRCCOLORKEY | SDL_RLEACCEL)) == SDL_SRCALPHA &&
        IsDirectScreen(screen))
    {
        if (const TextureDrawCopy* copy = FindDrawCopy(context->bank, texture))
        {
            pixels = copy->pixels;
        }
        else if (IsInDrawLayout(texture->format, screen->format) && texture->pixels != nullptr)
        {
            pixels = texture;
        }
    }
    if (pixels == nullptr || !BlitBlended(pixels, source, screen, destination))
    {
        SDL_BlitSurface(texture, &source, screen, &destination);
    }
    if (changeAlpha)
    {
        SDL_SetAlpha(texture, SDL_SRCALPHA, previous);
    }
}
