// Render context: screen, texture slots and the per-frame sprite list, with
// the two drawing paths: a plain blit, and a fixed-point scale/rotate whose
// picture is that of filling a temporary RGBA square and blitting it, made
// directly on the screen where the square reaches it.
#include "platform/Render.h"

#include <SDL/SDL_image.h>
#include <algorithm>
#include <bit>
#include <cstdlib>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// 1024 x sin/cos(k degrees) with pi taken as 3.14159265, computed in double
// precision and truncated toward zero. The 3.14159265 matters: sine 30 is 511
// and sine 150 is 512, and the drawing relies on exactly these values.
// Twelve entries (12 degrees) to a line.
// clang-format off
const int32_t FixedSineTable[361] = {
    0, 17, 35, 53, 71, 89, 107, 124, 142, 160, 177, 195,
    212, 230, 247, 265, 282, 299, 316, 333, 350, 366, 383, 400,
    416, 432, 448, 464, 480, 496, 511, 527, 542, 557, 572, 587,
    601, 616, 630, 644, 658, 671, 685, 698, 711, 724, 736, 748,
    760, 772, 784, 795, 806, 817, 828, 838, 848, 858, 868, 877,
    886, 895, 904, 912, 920, 928, 935, 942, 949, 955, 962, 968,
    973, 979, 984, 989, 993, 997, 1001, 1005, 1008, 1011, 1014, 1016,
    1018, 1020, 1021, 1022, 1023, 1023, 1024, 1023, 1023, 1022, 1021, 1020,
    1018, 1016, 1014, 1011, 1008, 1005, 1001, 997, 993, 989, 984, 979,
    973, 968, 962, 955, 949, 942, 935, 928, 920, 912, 904, 895,
    886, 877, 868, 858, 848, 838, 828, 817, 806, 795, 784, 772,
    760, 748, 736, 724, 711, 698, 685, 671, 658, 644, 630, 616,
    601, 587, 572, 557, 542, 527, 512, 496, 480, 464, 448, 432,
    416, 400, 383, 366, 350, 333, 316, 299, 282, 265, 247, 230,
    212, 195, 177, 160, 142, 124, 107, 89, 71, 53, 35, 17,
    0, -17, -35, -53, -71, -89, -107, -124, -142, -160, -177, -195,
    -212, -230, -247, -265, -282, -299, -316, -333, -350, -366, -383, -400,
    -416, -432, -448, -464, -480, -496, -511, -527, -542, -557, -572, -587,
    -601, -616, -630, -644, -658, -671, -685, -698, -711, -724, -736, -748,
    -760, -772, -784, -795, -806, -817, -828, -838, -848, -858, -868, -877,
    -886, -895, -904, -912, -920, -928, -935, -942, -949, -955, -962, -968,
    -973, -979, -984, -989, -993, -997, -1001, -1005, -1008, -1011, -1014, -1016,
    -1018, -1020, -1021, -1022, -1023, -1023, -1024, -1023, -1023, -1022, -1021, -1020,
    -1018, -1016, -1014, -1011, -1008, -1005, -1001, -997, -993, -989, -984, -979,
    -973, -968, -962, -955, -949, -942, -935, -928, -920, -912, -904, -895,
    -886, -877, -868, -858, -848, -838, -828, -817, -806, -795, -784, -772,
    -760, -748, -736, -724, -711, -698, -685, -671, -658, -644, -630, -616,
    -601, -587, -572, -557, -542, -527, -512, -496, -480, -464, -448, -432,
    -416, -400, -383, -366, -350, -333, -316, -299, -282, -265, -247, -230,
    -212, -195, -177, -160, -142, -124, -107, -89, -71, -53, -35, -17,
    0,
};

const int32_t FixedCosineTable[361] = {
    1024, 1023, 1023, 1022, 1021, 1020, 1018, 1016, 1014, 1011, 1008, 1005,
    1001, 997, 993, 989, 984, 979, 973, 968, 962, 955, 949, 942,
    935, 928, 920, 912, 904, 895, 886, 877, 868, 858, 848, 838,
    828, 817, 806, 795, 784, 772, 760, 748, 736, 724, 711, 698,
    685, 671, 658, 644, 630, 616, 601, 587, 572, 557, 542, 527,
    512, 496, 480, 464, 448, 432, 416, 400, 383, 366, 350, 333,
    316, 299, 282, 265, 247, 230, 212, 195, 177, 160, 142, 124,
    107, 89, 71, 53, 35, 17, 0, -17, -35, -53, -71, -89,
    -107, -124, -142, -160, -177, -195, -212, -230, -247, -265, -282, -299,
    -316, -333, -350, -366, -383, -400, -416, -432, -448, -464, -480, -496,
    -511, -527, -542, -557, -572, -587, -601, -616, -630, -644, -658, -671,
    -685, -698, -711, -724, -736, -748, -760, -772, -784, -795, -806, -817,
    -828, -838, -848, -858, -868, -877, -886, -895, -904, -912, -920, -928,
    -935, -942, -949, -955, -962, -968, -973, -979, -984, -989, -993, -997,
    -1001, -1005, -1008, -1011, -1014, -1016, -1018, -1020, -1021, -1022, -1023, -1023,
    -1024, -1023, -1023, -1022, -1021, -1020, -1018, -1016, -1014, -1011, -1008, -1005,
    -1001, -997, -993, -989, -984, -979, -973, -968, -962, -955, -949, -942,
    -935, -928, -920, -912, -904, -895, -886, -877, -868, -858, -848, -838,
    -828, -817, -806, -795, -784, -772, -760, -748, -736, -724, -711, -698,
    -685, -671, -658, -644, -630, -616, -601, -587, -572, -557, -542, -527,
    -512, -496, -480, -464, -448, -432, -416, -400, -383, -366, -350, -333,
    -316, -299, -282, -265, -247, -230, -212, -195, -177, -160, -142, -124,
    -107, -89, -71, -53, -35, -17, 0, 17, 35, 53, 71, 89,
    107, 124, 142, 160, 177, 195, 212, 230, 247, 265, 282, 299,
    316, 333, 350, 366, 383, 400, 416, 432, 448, 464, 480, 496,
    511, 527, 542, 557, 572, 587, 601, 616, 630, 644, 658, 671,
    685, 698, 711, 724, 736, 748, 760, 772, 784, 795, 806, 817,
    828, 838, 848, 858, 868, 877, 886, 895, 904, 912, 920, 928,
    935, 942, 949, 955, 962, 968, 973, 979, 984, 989, 993, 997,
    1001, 1005, 1008, 1011, 1014, 1016, 1018, 1020, 1021, 1022, 1023, 1023,
    1024,
};
// clang-format on

namespace
{

constexpr uint32_t ScreenClearPixel = 0xFF000040u;

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

// The layout the direct drawing works in ("draw layout"): 32-bit words whose
// three colour bytes sit where the screen has them, in the low 24 bits, with
// a picture's alpha in the top byte.
constexpr uint32_t DrawAlphaMask = 0xFF000000u;
constexpr uint32_t DrawColourMask = 0x00FFFFFFu;

bool LockIfNeeded(SDL_Surface* surface)
{
    return !SDL_MUSTLOCK(surface) || SDL_LockSurface(surface) == 0;
}

void UnlockIfNeeded(SDL_Surface* surface)
{
    if (SDL_MUSTLOCK(surface))
    {
        SDL_UnlockSurface(surface);
    }
}

SDL_Rect MakeRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    // SDL_Rect keeps signed 16-bit positions and unsigned 16-bit sizes.
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(x);
    rect.y = static_cast<Sint16>(y);
    rect.w = static_cast<Uint16>(w);
    rect.h = static_cast<Uint16>(h);
    return rect;
}

// Bit position of a channel mask that is exactly one whole byte, else -1.
int ByteShift(uint32_t mask)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        if (mask == (0xFFu << shift))
        {
            return shift;
        }
    }
    return -1;
}

// A screen the direct drawing can write: 32-bit, no alpha channel, one whole
// byte per colour in the low 24 bits (X, R, G, B or X, B, G, R).
bool IsDirectScreen(const SDL_Surface* screen)
{
    const SDL_PixelFormat* f = screen->format;
    return f->BytesPerPixel == 4 && f->Amask == 0 && ByteShift(f->Rmask) >= 0 &&
           ByteShift(f->Gmask) >= 0 && ByteShift(f->Bmask) >= 0 &&
           (f->Rmask | f->Gmask | f->Bmask) == DrawColourMask;
}

// Texel words of a picture turned into the draw layout.
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

// False for a picture whose channels are not distinct whole bytes of 32-bit
// words.
bool MakeTexelConverter(const SDL_PixelFormat* picture, const SDL_PixelFormat* screen,
                        TexelConverter* converter)
{
    if (picture->BytesPerPixel != 4)
    {
        return false;
    }
    converter->red = ByteShift(picture->Rmask);
    converter->green = ByteShift(picture->Gmask);
    converter->blue = ByteShift(picture->Bmask);
    converter->alpha = picture->Amask == 0 ? -1 : ByteShift(picture->Amask);
    converter->screenRed = ByteShift(screen->Rmask);
    converter->screenGreen = ByteShift(screen->Gmask);
    converter->screenBlue = ByteShift(screen->Bmask);
    // Whole-byte masks that do not overlap cover 8 bits each.
    const uint32_t used = picture->Rmask | picture->Gmask | picture->Bmask | picture->Amask;
    const int channels = picture->Amask == 0 ? 3 : 4;
    return converter->red >= 0 && converter->green >= 0 && converter->blue >= 0 &&
           (picture->Amask == 0 || converter->alpha >= 0) && std::popcount(used) == 8 * channels;
}

// True when a picture's words are already in the draw layout of this screen.
bool IsInDrawLayout(const SDL_PixelFormat* picture, const SDL_PixelFormat* screen)
{
    return picture->BytesPerPixel == 4 && picture->Amask == DrawAlphaMask &&
           picture->Rmask == screen->Rmask && picture->Gmask == screen->Gmask &&
           picture->Bmask == screen->Bmask;
}

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

// Whether SDL can blit from a surface: a format its blitters know, and a size
// its pixels actually cover. A damaged picture file can load as neither (a BMP
// claiming thousands of bits per pixel comes back as a 4-bit surface without a
// palette; one claiming a height of -2^31 comes back with that height over a
// few rows of pixels), and SDL would read outside the pixels at the first blit.
bool IsDrawable(const SDL_Surface* surface)
{
    const SDL_PixelFormat* f = surface->format;
    if (f == nullptr || surface->w < 0 || surface->h < 0)
    {
        return false;
    }
    if (surface->w > 0 && surface->h > 0)
    {
        const int64_t rowBits = static_cast<int64_t>(surface->w) * f->BitsPerPixel;
        if (surface->pixels == nullptr || static_cast<int64_t>(surface->pitch) * 8 < rowBits)
        {
            return false;
        }
    }
    switch (f->BitsPerPixel)
    {
    case 1:
    case 4:
    case 8:
        return f->BytesPerPixel == 1 && f->palette != nullptr && f->palette->colors != nullptr &&
               f->palette->ncolors > 0;
    case 15:
    case 16:
        return f->BytesPerPixel == 2;
    case 24:
        return f->BytesPerPixel == 3;
    case 32:
        return f->BytesPerPixel == 4;
    default:
        return false;
    }
}

// The draw copy of a slot's surface, or null for a surface that has none
// (not loaded through a slot, or loaded in a layout that needs none).
const TextureDrawCopy* FindDrawCopy(const TextureBank* bank, const SDL_Surface* texture)
{
    if (bank == nullptr)
    {
        return nullptr;
    }
    for (int slot = 0; slot < TextureSlotCount; ++slot)
    {
        const TextureDrawCopy& copy = bank->copies[slot];
        if (bank->slots[slot] == texture && copy.source == texture && copy.pixels != nullptr &&
            copy.pixels->w == texture->w && copy.pixels->h == texture->h)
        {
            return &copy;
        }
    }
    return nullptr;
}

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

void FreeDrawCopy(TextureDrawCopy& copy)
{
    SDL_FreeSurface(copy.pixels); // SDL ignores null
    copy = TextureDrawCopy{};
}

// A copy of `image` in the screen's draw layout, for a picture with an alpha
// channel in another layout; an empty copy when none is needed or possible.
TextureDrawCopy MakeDrawCopy(SDL_Surface* image, const SDL_Surface* screen)
{
    TextureDrawCopy copy{};
    TexelConverter convert{};
    if (screen == nullptr || !IsDirectScreen(screen) || image->format->Amask == 0 ||
        IsInDrawLayout(image->format, screen->format) ||
        !MakeTexelConverter(image->format, screen->format, &convert))
    {
        return copy;
    }
    const SDL_PixelFormat* s = screen->format;
    copy.pixels = SDL_CreateRGBSurface(SDL_SWSURFACE, image->w, image->h, 32, s->Rmask, s->Gmask,
                                       s->Bmask, DrawAlphaMask);
    if (copy.pixels == nullptr || !LockIfNeeded(image))
    {
        FreeDrawCopy(copy);
        return copy;
    }
    for (int y = 0; y < image->h; ++y)
    {
        const auto* in = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(image->pixels) + y * image->pitch);
        auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(copy.pixels->pixels) +
                                                y * copy.pixels->pitch);
        for (int x = 0; x < image->w; ++x)
        {
            out[x] = convert(in[x]);
        }
    }
    UnlockIfNeeded(image);
    copy.source = image;
    return copy;
}

} // namespace

RenderContext* CreateRenderContext(int width, int height, int bpp)
{
    auto* context = static_cast<RenderContext*>(std::malloc(sizeof(RenderContext)));
    if (context == nullptr)
    {
        return nullptr;
    }
    // A failed video mode leaves screen null: drawing and presenting then do
    // nothing, and the game runs on without a picture.
    context->screen = SDL_SetVideoMode(width, height, bpp, 0);
    context->bank = CreateTextureBank();
    context->width = width;
    context->height = height;
    context->bpp = bpp;
    context->scratch = nullptr;
    bool complete = context->bank != nullptr;
    for (int i = 0; i < SpriteCommandCount; ++i)
    {
        context->commands[i] = CreateSpriteCommand();
        complete = complete && context->commands[i] != nullptr;
    }
    context->used = 0;
    if (!complete)
    {
        // A context with holes in its list would hand out null commands.
        DestroyRenderContext(context);
        return nullptr;
    }
    return context;
}

void DestroyRenderContext(RenderContext* context)
{
    if (context == nullptr)
    {
        return;
    }
    DestroyTextureBank(context->bank);
    SDL_FreeSurface(context->scratch);
    SDL_FreeSurface(context->screen); // SDL ignores this for the video surface
    for (int i = 0; i < SpriteCommandCount; ++i)
    {
        DestroySpriteCommand(context->commands[i]);
    }
    std::free(context);
}

void SetWindowCaption(RenderContext* /*context*/, const char* title)
{
    SDL_WM_SetCaption(title, title);
}

void LoadTexture(RenderContext* context, int slot, const char* path)
{
    if (context != nullptr)
    {
        LoadTextureSlot(context->bank, slot, path, context->screen, 1);
    }
}

void LoadTextureRaw(RenderContext* context, int slot, const char* path)
{
    if (context != nullptr)
    {
        LoadTextureSlot(context->bank, slot, path, context->screen, 0);
    }
}

SDL_Surface* GetTexture(RenderContext* context, int slot)
{
    return context == nullptr ? nullptr : TextureBankGet(context->bank, slot);
}

SpriteCommand* NextSpriteCommand(RenderContext* context)
{
    if (context == nullptr)
    {
        return nullptr;
    }
    if (context->used < SpriteCommandCount)
    {
        return context->commands[context->used++];
    }
    return context->commands[SpriteCommandCount - 1];
}

void ClearSpriteCommands(RenderContext* context)
{
    if (context == nullptr)
    {
        return;
    }
    for (SpriteCommand* command : context->commands)
    {
        command->inUse = 0;
    }
    context->used = 0;
}

void DrawSpriteCommands(RenderContext* context)
{
    if (context == nullptr)
    {
        return;
    }
    for (SpriteCommand* command : context->commands)
    {
        if (command->inUse != 1 || command->texture == nullptr)
        {
            continue;
        }
        if (command->scaleX == 1.0f && command->scaleY == 1.0f && command->angle == 0.0f)
        {
            DrawSpritePlain(context, command);
        }
        else
        {
            DrawSpriteTransformed(context, command);
        }
    }
}

void DrawSpritePlain(RenderContext* context, SpriteCommand* command)
{
    if (context == nullptr || context->screen == nullptr || command == nullptr)
    {
        return;
    }
    if (command->inUse == 0 || command->texture == nullptr)
    {
        return;
    }
    SDL_Surface* texture = command->texture;
    SDL_Rect source = MakeRect(command->u, command->v, command->width, command->height);
    SDL_Rect destination = MakeRect(command->x, command->y, command->width, command->height);

    const Uint8 previous = texture->format->alpha;
    const bool changeAlpha = command->alpha != previous;
    if (changeAlpha)
    {
        if (command->alpha == 255)
        {
            SDL_SetAlpha(texture, 0, 0);
        }
        else
        {
            SDL_SetAlpha(texture, SDL_SRCALPHA, command->alpha);
        }
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

void DrawSpriteTransformed(RenderContext* context, SpriteCommand* command)
{
    if (context == nullptr || context->screen == nullptr || command == nullptr)
    {
        return;
    }
    if (command->inUse == 0 || command->texture == nullptr)
    {
        return;
    }
    SDL_Surface* texture = command->texture;
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

void PresentFrame(RenderContext* context)
{
    if (context == nullptr)
    {
        return;
    }
    DrawSpriteCommands(context);
    if (context->screen == nullptr)
    {
        return;
    }
    SDL_UpdateRect(context->screen, 0, 0, context->width, context->height);
    SDL_FillRect(context->screen, nullptr, ScreenClearPixel);
}

TextureBank* CreateTextureBank()
{
    auto* bank = static_cast<TextureBank*>(std::malloc(sizeof(TextureBank)));
    if (bank == nullptr)
    {
        return nullptr;
    }
    for (int slot = 0; slot < TextureSlotCount; ++slot)
    {
        bank->slots[slot] = nullptr;
        bank->copies[slot] = TextureDrawCopy{};
    }
    return bank;
}

void DestroyTextureBank(TextureBank* bank)
{
    if (bank == nullptr)
    {
        return;
    }
    for (int slot = 0; slot < TextureSlotCount; ++slot)
    {
        FreeDrawCopy(bank->copies[slot]);
        if (bank->slots[slot] != nullptr)
        {
            SDL_FreeSurface(bank->slots[slot]);
            bank->slots[slot] = nullptr;
        }
    }
    std::free(bank);
}

void LoadTextureSlot(TextureBank* bank, int slot, const char* path, SDL_Surface* screen,
                     int convert)
{
    if (bank == nullptr || slot < 0 || slot >= TextureSlotCount)
    {
        return;
    }
    FreeDrawCopy(bank->copies[slot]);
    if (bank->slots[slot] != nullptr)
    {
        SDL_FreeSurface(bank->slots[slot]);
        bank->slots[slot] = nullptr;
    }
    SDL_Surface* image = path == nullptr ? nullptr : IMG_Load(path);
    if (image != nullptr && !IsDrawable(image))
    {
        // As for a file that does not load: the slot stays empty.
        SDL_FreeSurface(image);
        image = nullptr;
    }
    // Without a screen there is no format to convert to: the image is kept
    // as it was loaded.
    if (image != nullptr && convert == 1 && screen != nullptr)
    {
        SDL_Surface* converted = SDL_ConvertSurface(image, screen->format, SDL_SRCALPHA);
        bank->slots[slot] = converted;
        if (converted != image)
        {
            SDL_FreeSurface(image);
        }
    }
    else
    {
        bank->slots[slot] = image;
    }
    if (bank->slots[slot] != nullptr)
    {
        bank->copies[slot] = MakeDrawCopy(bank->slots[slot], screen);
    }
}

SDL_Surface* TextureBankGet(TextureBank* bank, int slot)
{
    if (bank == nullptr || slot < 0 || slot >= TextureSlotCount)
    {
        return nullptr;
    }
    return bank->slots[slot];
}

SpriteCommand* CreateSpriteCommand()
{
    auto* command = static_cast<SpriteCommand*>(std::malloc(sizeof(SpriteCommand)));
    if (command == nullptr)
    {
        return nullptr;
    }
    // Fields the creation leaves "not set" get zeros rather than garbage.
    *command = SpriteCommand{};
    command->textureSlot = -1;
    command->inUse = 0;
    command->scaleX = 1.0f;
    command->scaleY = 1.0f;
    command->angle = 0.0f;
    command->texture = nullptr;
    return command;
}

void DestroySpriteCommand(SpriteCommand* command)
{
    std::free(command); // free(nullptr) does nothing
}
