// Render context: screen, texture slots and the per-frame sprite list, with
// the two drawing paths (a plain blit, and a fixed-point scale/rotate into a
// temporary RGBA surface).
#include "platform/Render.h"

#include <SDL/SDL_image.h>
#include <algorithm>
#include <cstdlib>

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
    SDL_BlitSurface(texture, &source, context->screen, &destination);
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
    const SDL_PixelFormat* format = texture->format;
    if (format->BytesPerPixel != 4 || texture->pixels == nullptr)
    {
        return; // texels are copied as 32-bit words
    }

    // Scales in 1/1024 units. Zero, negative, NaN and absurdly large factors
    // are refused before they reach an integer conversion.
    const float scaledX = command->scaleX * static_cast<float>(FixedOne);
    const float scaledY = command->scaleY * static_cast<float>(FixedOne);
    if (!(scaledX >= 1.0f && scaledX < MaxFixedScale && scaledY >= 1.0f && scaledY < MaxFixedScale))
    {
        return;
    }
    const int32_t sx = static_cast<int32_t>(scaledX);
    const int32_t sy = static_cast<int32_t>(scaledY);

    // Whole degrees 0..359; an angle whose truncation is negative has no
    // table entry and is refused.
    if (!(command->angle > -1.0f && command->angle < 2147483648.0f))
    {
        return;
    }
    const int32_t a = static_cast<int32_t>(command->angle) % 360;
    const int64_t sinA = FixedSineTable[a];
    const int64_t cosA = FixedCosineTable[a];

    // Inverse scales: source 1/1024 pixels per destination pixel.
    const int64_t ix = (int64_t{FixedOne} * FixedOne) / sx;
    const int64_t iy = (int64_t{FixedOne} * FixedOne) / sy;

    // Source steps per destination column and per destination row. The set-up
    // is done in 64 bits: wherever the 32-bit arithmetic does not overflow the
    // results are the same, and where it would, nothing is undefined.
    const int64_t duCol = (ix * cosA) / FixedOne;
    const int64_t dvCol = (ix * sinA) / FixedOne;
    const int64_t duRow = -(iy * sinA) / FixedOne;
    const int64_t dvRow = (iy * cosA) / FixedOne;

    // The temporary surface is square; a rotated sprite gets room for its
    // diagonal.
    int64_t fullW;
    int64_t fullH;
    if (a == 0)
    {
        fullW = int64_t{command->width} * sx;
        fullH = int64_t{command->height} * sy;
    }
    else
    {
        fullW = int64_t{command->width} *
                static_cast<int32_t>(command->scaleX * static_cast<float>(SqrtTwoFixed));
        fullH = int64_t{command->height} *
                static_cast<int32_t>(command->scaleY * static_cast<float>(SqrtTwoFixed));
    }
    const int64_t side = std::max(fullW, fullH) >> FixedShift;
    if (side <= 0 || side > MaxTransformedSide)
    {
        return;
    }
    const int32_t n = static_cast<int32_t>(side);

    // The temporary surface takes the texture's own channel layout, so copied
    // words keep their meaning whatever the host's byte order. A texture
    // without an alpha channel gets one in its unused byte, set opaque on
    // every copied texel.
    uint32_t alphaMask = format->Amask;
    uint32_t opaqueBits = 0;
    if (alphaMask == 0)
    {
        alphaMask = ~(format->Rmask | format->Gmask | format->Bmask);
        opaqueBits = alphaMask;
    }
    SDL_Surface* temporary =
        SDL_CreateRGBSurface(0, n, n, 32, format->Rmask, format->Gmask, format->Bmask, alphaMask);
    if (temporary == nullptr)
    {
        return;
    }
    SDL_FillRect(temporary, nullptr, 0);

    const int64_t hx = (ix * -n) / 2;
    const int64_t hy = (iy * -n) / 2;
    int64_t rowU = (hx * cosA - hy * sinA) / FixedOne + int64_t{command->width / 2} * FixedOne;
    int64_t rowV = (hx * sinA + hy * cosA) / FixedOne + int64_t{command->height / 2} * FixedOne;
    const int64_t limitU = int64_t{command->width} * FixedOne;
    const int64_t limitV = int64_t{command->height} * FixedOne;

    if (LockIfNeeded(texture))
    {
        if (LockIfNeeded(temporary))
        {
            const auto* source = static_cast<const uint8_t*>(texture->pixels);
            auto* target = static_cast<uint8_t*>(temporary->pixels);
            const int64_t textureW = texture->w;
            const int64_t textureH = texture->h;
            for (int32_t r = 0; r < n; ++r)
            {
                auto* out = reinterpret_cast<uint32_t*>(target + int64_t{r} * temporary->pitch);
                int64_t pu = rowU;
                int64_t pv = rowV;
                for (int32_t c = 0; c < n; ++c)
                {
                    uint32_t word = 0;
                    if (pu >= 0 && pu < limitU && pv >= 0 && pv < limitV)
                    {
                        // Texels outside the texture itself (a source
                        // rectangle reaching past its edge) are transparent.
                        const int64_t column = command->u + (pu >> FixedShift);
                        const int64_t row = command->v + (pv >> FixedShift);
                        if (column >= 0 && column < textureW && row >= 0 && row < textureH)
                        {
                            const auto* texels =
                                reinterpret_cast<const uint32_t*>(source + row * texture->pitch);
                            word = texels[column] | opaqueBits;
                        }
                    }
                    out[c] = word;
                    pu += duCol;
                    pv += dvCol;
                }
                rowU += duRow;
                rowV += dvRow;
            }
            UnlockIfNeeded(temporary);
        }
        UnlockIfNeeded(texture);
    }

    // Centred on the centre of the unscaled sprite; the blit uses the
    // temporary surface's per-pixel alpha, never the command's alpha.
    SDL_Rect whole = MakeRect(0, 0, n, n);
    SDL_Rect destination = MakeRect(command->x + command->width / 2 - n / 2,
                                    command->y + command->height / 2 - n / 2, 0, 0);
    SDL_BlitSurface(temporary, &whole, context->screen, &destination);
    SDL_FreeSurface(temporary);
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
    for (SDL_Surface*& slot : bank->slots)
    {
        slot = nullptr;
    }
    return bank;
}

void DestroyTextureBank(TextureBank* bank)
{
    if (bank == nullptr)
    {
        return;
    }
    for (SDL_Surface*& slot : bank->slots)
    {
        if (slot != nullptr)
        {
            SDL_FreeSurface(slot);
            slot = nullptr;
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
    if (bank->slots[slot] != nullptr)
    {
        SDL_FreeSurface(bank->slots[slot]);
        bank->slots[slot] = nullptr;
    }
    SDL_Surface* image = path == nullptr ? nullptr : IMG_Load(path);
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
