// The transformed path: scale and rotation in 22.10 fixed point, whose
// picture is that of filling a temporary RGBA square and blitting it, made
// directly on the screen where the square reaches it.
#include "platform/Render.h"
#include "platform/RenderInternal.h"

#include <algorithm>

using namespace render_detail;

namespace
{

// Transformed path: coordinates are 22.10 fixed point (1024 per pixel).
constexpr int32_t FixedShift = 10;
constexpr int32_t FixedOne = 1 << FixedShift;
constexpr int32_t SqrtTwoFixed = 1448; // 1024 x sqrt(2), rounded down

// Largest temporary surface side the transformed path accepts. SDL 1.2 keeps
// a surface pitch in 16 bits, so a side of 16384 32-bit pixels or more would
// overflow it; sprites of this game stay far below this.
constexpr int64_t MaxTransformedSide = 8192;

// Scale factors are accepted while scale x 1448 still fits an int32.
constexpr float MaxFixedScale = 1073741824.0f; // 2^30, in 1/1024 units

int64_t FloorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

int64_t CeilDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) == (b < 0))) ? q + 1 : q;
}

// Narrows [first, last] to the steps c with lo <= p + c x d < hi.
void NarrowSteps(int64_t p, int64_t d, int64_t lo, int64_t hi, int64_t& first, int64_t& last)
{
    if (d == 0)
    {
        if (p < lo || p >= hi)
        {
            last = first - 1;
        }
        return;
    }
    if (d > 0)
    {
        first = std::max(first, CeilDiv(lo - p, d));
        last = std::min(last, FloorDiv(hi - 1 - p, d));
    }
    else
    {
        first = std::max(first, CeilDiv(hi - 1 - p, d));
        last = std::min(last, FloorDiv(lo - p, d));
    }
}

// The transformed path's geometry, 22.10 fixed point: the N x N square, where
// it lands on the screen, and where each of its pixels samples the source.
// Pixel (c, r) of the square samples (startU + c x duCol + r x duRow,
// startV + c x dvCol + r x dvRow), which is what stepping along rows and down
// columns adds up to.
struct Transform
{
    int32_t n;
    int32_t left; // screen position of the square, cut to 16 bits as SDL_Rect keeps it
    int32_t top;
    int64_t startU, startV;
    int64_t duCol, dvCol, duRow, dvRow;
    // Samples with loU <= pu < hiU and loV <= pv < hiV fall on a texel of the
    // source rectangle that lies inside the texture; every other one is
    // transparent.
    int64_t loU, hiU, loV, hiV;
    int32_t u, v; // source rectangle's corner inside the texture
};

// False for what the transformed path refuses (see Render.h).
bool SetUpTransform(const SpriteCommand& command, const SDL_Surface& texture, Transform* t)
{
    // Scales in 1/1024 units. Zero, negative, NaN and absurdly large factors
    // are refused before they reach an integer conversion.
    const float scaledX = command.scaleX * static_cast<float>(FixedOne);
    const float scaledY = command.scaleY * static_cast<float>(FixedOne);
    if (!(scaledX >= 1.0f && scaledX < MaxFixedScale && scaledY >= 1.0f && scaledY < MaxFixedScale))
    {
        return false;
    }
    const int32_t sx = static_cast<int32_t>(scaledX);
    const int32_t sy = static_cast<int32_t>(scaledY);

    // Whole degrees 0..359; an angle whose truncation is negative has no
    // table entry and is refused.
    if (!(command.angle > -1.0f && command.angle < 2147483648.0f))
    {
        return false;
    }
    const int32_t a = static_cast<int32_t>(command.angle) % 360;
    const int64_t sinA = FixedSineTable[a];
    const int64_t cosA = FixedCosineTable[a];

    // Inverse scales: source 1/1024 pixels per destination pixel. The set-up
    // is done in 64 bits: wherever the 32-bit arithmetic does not overflow the
    // results are the same, and where it would, nothing is undefined.
    const int64_t ix = (int64_t{FixedOne} * FixedOne) / sx;
    const int64_t iy = (int64_t{FixedOne} * FixedOne) / sy;
    t->duCol = (ix * cosA) / FixedOne;
    t->dvCol = (ix * sinA) / FixedOne;
    t->duRow = -(iy * sinA) / FixedOne;
    t->dvRow = (iy * cosA) / FixedOne;

    // The square gets room for the sprite's diagonal when it turns.
    int64_t fullW;
    int64_t fullH;
    if (a == 0)
    {
        fullW = int64_t{command.width} * sx;
        fullH = int64_t{command.height} * sy;
    }
    else
    {
        fullW = int64_t{command.width} *
                static_cast<int32_t>(command.scaleX * static_cast<float>(SqrtTwoFixed));
        fullH = int64_t{command.height} *
                static_cast<int32_t>(command.scaleY * static_cast<float>(SqrtTwoFixed));
    }
    const int64_t side = std::max(fullW, fullH) >> FixedShift;
    if (side <= 0 || side > MaxTransformedSide)
    {
        return false;
    }
    const int32_t n = static_cast<int32_t>(side);
    t->n = n;

    const int64_t hx = (ix * -n) / 2;
    const int64_t hy = (iy * -n) / 2;
    t->startU = (hx * cosA - hy * sinA) / FixedOne + int64_t{command.width / 2} * FixedOne;
    t->startV = (hx * sinA + hy * cosA) / FixedOne + int64_t{command.height / 2} * FixedOne;

    // Centred on the centre of the unscaled sprite.
    t->left = static_cast<Sint16>(int64_t{command.x} + command.width / 2 - n / 2);
    t->top = static_cast<Sint16>(int64_t{command.y} + command.height / 2 - n / 2);

    t->u = command.u;
    t->v = command.v;
    t->loU = std::max<int64_t>(0, -int64_t{command.u}) * FixedOne;
    t->hiU = std::min<int64_t>(command.width, int64_t{texture.w} - command.u) * FixedOne;
    t->loV = std::max<int64_t>(0, -int64_t{command.v}) * FixedOne;
    t->hiV = std::min<int64_t>(command.height, int64_t{texture.h} - command.v) * FixedOne;
    return true;
}

// Part of the square that reaches the screen: square columns [c0, c1) and
// rows [r0, r1). False when none does.
bool VisiblePart(const Transform& t, const SDL_Surface* screen, int64_t* c0, int64_t* c1,
                 int64_t* r0, int64_t* r1)
{
    const SDL_Rect& clip = screen->clip_rect;
    *c0 = std::max<int64_t>(clip.x, t.left) - t.left;
    *c1 = std::min<int64_t>(int64_t{clip.x} + clip.w, int64_t{t.left} + t.n) - t.left;
    *r0 = std::max<int64_t>(clip.y, t.top) - t.top;
    *r1 = std::min<int64_t>(int64_t{clip.y} + clip.h, int64_t{t.top} + t.n) - t.top;
    return *c0 < *c1 && *r0 < *r1;
}

// Square columns [first, last] of row r whose samples hit a texel; empty
// (first > last) when none does. *pu and *pv are then the sample of column
// `first`, offset to texel coordinates of the whole texture (whole part =
// texel column and row).
void RowSamples(const Transform& t, int64_t r, int64_t* first, int64_t* last, int32_t* pu,
                int32_t* pv)
{
    const int64_t rowU = t.startU + r * t.duRow;
    const int64_t rowV = t.startV + r * t.dvRow;
    NarrowSteps(rowU, t.duCol, t.loU, t.hiU, *first, *last);
    NarrowSteps(rowV, t.dvCol, t.loV, t.hiV, *first, *last);
    if (*first <= *last)
    {
        // Inside the texture, so both fit easily in 32 bits.
        *pu = static_cast<int32_t>(rowU + *first * t.duCol + int64_t{t.u} * FixedOne);
        *pv = static_cast<int32_t>(rowV + *first * t.dvCol + int64_t{t.v} * FixedOne);
    }
}

// Blends `count` samples onto `out`, starting at texel coordinates (pu, pv)
// (22.10) and stepping by (du, dv). `sameRow`: dv is 0, every sample lies on
// the texel row of pv.
template <bool sameRow, class Read>
void BlendSamples(uint32_t* out, int64_t count, const uint8_t* texels, int32_t pitch, int32_t pu,
                  int32_t pv, int32_t du, int32_t dv, Read read)
{
    const uint8_t* row = texels + (pv >> FixedShift) * pitch;
    auto sample = [&]() -> uint32_t
    {
        if constexpr (!sameRow)
        {
            row = texels + (pv >> FixedShift) * pitch;
            pv += dv;
        }
        const uint32_t texel = reinterpret_cast<const uint32_t*>(row)[pu >> FixedShift];
        pu += du;
        return read(texel);
    };
    int64_t i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= count; i += 4)
    {
        const uint32_t s0 = sample();
        const uint32_t s1 = sample();
        const uint32_t s2 = sample();
        const uint32_t s3 = sample();
        if (((s0 | s1 | s2 | s3) & DrawAlphaMask) == 0)
        {
            continue; // four clear texels (common: the pictures have wide clear areas)
        }
        const __m128i s = _mm_set_epi32(static_cast<int>(s3), static_cast<int>(s2),
                                        static_cast<int>(s1), static_cast<int>(s0));
        StoreOver4(out + i, s, (s0 & s1 & s2 & s3) >= DrawAlphaMask);
    }
#endif
    for (; i < count; ++i)
    {
        out[i] = BlendOver(out[i], sample());
    }
}

// Resamples the visible part of the square straight onto the screen and
// blends it there: the same picture as filling the square and blitting it,
// without the square. `read` turns the texels of `from` into the draw layout.
template <class Read>
void ResampleOntoScreen(const Transform& t, const SDL_Surface* from, Read read, SDL_Surface* screen)
{
    int64_t c0, c1, r0, r1;
    if (!VisiblePart(t, screen, &c0, &c1, &r0, &r1))
    {
        return;
    }
    const auto* texels = static_cast<const uint8_t*>(from->pixels);
    const int32_t pitch = from->pitch;
    const auto du = static_cast<int32_t>(t.duCol);
    const auto dv = static_cast<int32_t>(t.dvCol);
    auto* screenRows = static_cast<uint8_t*>(screen->pixels);
    for (int64_t r = r0; r < r1; ++r)
    {
        int64_t first = c0;
        int64_t last = c1 - 1;
        int32_t pu = 0;
        int32_t pv = 0;
        RowSamples(t, r, &first, &last, &pu, &pv);
        if (first > last)
        {
            continue;
        }
        auto* out = reinterpret_cast<uint32_t*>(screenRows + (t.top + r) * screen->pitch) +
                    (t.left + first);
        const int64_t count = last - first + 1;
        if (dv == 0)
        {
            // The row stays on one texel row (no turn, or a half turn).
            BlendSamples<true>(out, count, texels, pitch, pu, pv, du, dv, read);
        }
        else
        {
            BlendSamples<false>(out, count, texels, pitch, pu, pv, du, dv, read);
        }
    }
}

// The transformed path for any screen and any 32-bit texture: the visible
// part of the square filled as stated (texel words copied as they are, the
// rest 0) in a temporary surface of the texture's layout, then blitted with
// SDL. The surface is kept in the context from one sprite to the next.
void ResampleThroughSurface(RenderContext* context, const Transform& t, SDL_Surface* texture)
{
    int64_t c0, c1, r0, r1;
    if (!VisiblePart(t, context->screen, &c0, &c1, &r0, &r1))
    {
        return;
    }
    const int32_t w = static_cast<int32_t>(c1 - c0);
    const int32_t h = static_cast<int32_t>(r1 - r0);

    // The temporary surface takes the texture's own channel layout, so copied
    // words keep their meaning whatever the host's byte order. A texture
    // without an alpha channel gets one in its unused byte, set opaque on
    // every copied texel.
    const SDL_PixelFormat* format = texture->format;
    uint32_t alphaMask = format->Amask;
    uint32_t opaqueBits = 0;
    if (alphaMask == 0)
    {
        alphaMask = ~(format->Rmask | format->Gmask | format->Bmask);
        opaqueBits = alphaMask;
    }
    SDL_Surface*& scratch = context->scratch;
    if (scratch != nullptr &&
        (scratch->w < w || scratch->h < h || scratch->format->Rmask != format->Rmask ||
         scratch->format->Gmask != format->Gmask || scratch->format->Bmask != format->Bmask ||
         scratch->format->Amask != alphaMask))
    {
        SDL_FreeSurface(scratch);
        scratch = nullptr;
    }
    if (scratch == nullptr)
    {
        scratch = SDL_CreateRGBSurface(0, std::max(w, context->screen->w),
                                       std::max(h, context->screen->h), 32, format->Rmask,
                                       format->Gmask, format->Bmask, alphaMask);
        if (scratch == nullptr)
        {
            return;
        }
    }
    if (!LockIfNeeded(scratch))
    {
        return;
    }
    const auto* texels = static_cast<const uint8_t*>(texture->pixels);
    for (int64_t r = r0; r < r1; ++r)
    {
        auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(scratch->pixels) +
                                                (r - r0) * scratch->pitch);
        int64_t first = c0;
        int64_t last = c1 - 1;
        int32_t pu = 0;
        int32_t pv = 0;
        RowSamples(t, r, &first, &last, &pu, &pv);
        for (int64_t c = c0; c < c1; ++c)
        {
            uint32_t word = 0;
            if (c >= first && c <= last)
            {
                word = reinterpret_cast<const uint32_t*>(
                           texels + (pv >> FixedShift) * texture->pitch)[pu >> FixedShift] |
                       opaqueBits;
                pu += static_cast<int32_t>(t.duCol);
                pv += static_cast<int32_t>(t.dvCol);
            }
            out[c - c0] = word;
        }
    }
    UnlockIfNeeded(scratch);

    // The blit uses the surface's per-pixel alpha, never the command's alpha.
    SDL_Rect part = MakeRect(0, 0, w, h);
    SDL_Rect destination =
        MakeRect(static_cast<int32_t>(t.left + c0), static_cast<int32_t>(t.top + r0), 0, 0);
    SDL_BlitSurface(scratch, &part, context->screen, &destination);
}

} // namespace

void DrawSpriteTransformed(RenderContext* context, SpriteCommand* command)
{
    SDL_Surface* texture = CommandTexture(context, command);
    if (texture == nullptr)
    {
        return;
    }
    if (texture->format->BytesPerPixel != 4 || texture->pixels == nullptr)
    {
        return; // texels are copied as 32-bit words
    }
    Transform t;
    if (!SetUpTransform(*command, *texture, &t))
    {
        return;
    }
    SDL_Surface* screen = context->screen;
    TexelConverter convert{};
    const TextureDrawCopy* copy = FindDrawCopy(context->bank, texture);
    const bool direct = IsDirectScreen(screen) &&
                        (copy != nullptr || IsInDrawLayout(texture->format, screen->format) ||
                         MakeTexelConverter(texture->format, screen->format, &convert));
    if (!direct)
    {
        if (LockIfNeeded(texture))
        {
            ResampleThroughSurface(context, t, texture);
            UnlockIfNeeded(texture);
        }
        return;
    }
    if (!LockIfNeeded(screen))
    {
        return;
    }
    if (copy != nullptr)
    {
        ResampleOntoScreen(t, copy->pixels, TexelAsIs{}, screen);
    }
    else if (LockIfNeeded(texture))
    {
        if (IsInDrawLayout(texture->format, screen->format))
        {
            ResampleOntoScreen(t, texture, TexelAsIs{}, screen);
        }
        else
        {
            ResampleOntoScreen(t, texture, convert, screen);
        }
        UnlockIfNeeded(texture);
    }
    UnlockIfNeeded(screen);
}
