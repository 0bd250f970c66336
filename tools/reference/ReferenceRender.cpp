// The straightforward renderer (see ReferenceRender.h). Copied from the
// render context before it was optimised; keep it as it is, it is the
// yardstick of both the tests and the benchmarks.
#include "tools/reference/ReferenceRender.h"

#include <algorithm>
#include <cstdint>

namespace reference
{
namespace
{

constexpr uint32_t ScreenClearPixel = 0xFF000040u;

// Transformed path: coordinates are 22.10 fixed point (1024 per pixel).
constexpr int32_t FixedShift = 10;
constexpr int32_t FixedOne = 1 << FixedShift;
constexpr int32_t SqrtTwoFixed = 1448; // 1024 x sqrt(2), rounded down

constexpr int64_t MaxTransformedSide = 8192;
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
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(x);
    rect.y = static_cast<Sint16>(y);
    rect.w = static_cast<Uint16>(w);
    rect.h = static_cast<Uint16>(h);
    return rect;
}

} // namespace

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
            reference::DrawSpritePlain(context, command);
        }
        else
        {
            reference::DrawSpriteTransformed(context, command);
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
    DrawPlainOnto(context->screen, *command, SDL_UpperBlit);
}

void DrawPlainOnto(SDL_Surface* target, const SpriteCommand& command, Blit blit)
{
    SDL_Surface* texture = command.texture;
    SDL_Rect source = MakeRect(command.u, command.v, command.width, command.height);
    SDL_Rect destination = MakeRect(command.x, command.y, command.width, command.height);

    const Uint8 previous = texture->format->alpha;
    const bool changeAlpha = command.alpha != previous;
    if (changeAlpha)
    {
        if (command.alpha == 255)
        {
            SDL_SetAlpha(texture, 0, 0);
        }
        else
        {
            SDL_SetAlpha(texture, SDL_SRCALPHA, command.alpha);
        }
    }
    blit(texture, &source, target, &destination);
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
    DrawTransformedOnto(context->screen, *command, SDL_UpperBlit);
}

void DrawTransformedOnto(SDL_Surface* target, const SpriteCommand& c, Blit blit)
{
    SDL_Rect destination;
    SDL_Surface* temporary = MakeTransformedSquare(c, &destination);
    if (temporary == nullptr)
    {
        return;
    }
    SDL_Rect whole = MakeRect(0, 0, temporary->w, temporary->h);
    blit(temporary, &whole, target, &destination);
    SDL_FreeSurface(temporary);
}

SDL_Surface* MakeTransformedSquare(const SpriteCommand& command, SDL_Rect* at)
{
    SDL_Surface* texture = command.texture;
    const SDL_PixelFormat* format = texture->format;
    if (format->BytesPerPixel != 4 || texture->pixels == nullptr)
    {
        return nullptr;
    }

    const float scaledX = command.scaleX * static_cast<float>(FixedOne);
    const float scaledY = command.scaleY * static_cast<float>(FixedOne);
    if (!(scaledX >= 1.0f && scaledX < MaxFixedScale && scaledY >= 1.0f && scaledY < MaxFixedScale))
    {
        return nullptr;
    }
    const int32_t sx = static_cast<int32_t>(scaledX);
    const int32_t sy = static_cast<int32_t>(scaledY);

    if (!(command.angle > -1.0f && command.angle < 2147483648.0f))
    {
        return nullptr;
    }
    const int32_t a = static_cast<int32_t>(command.angle) % 360;
    const int64_t sinA = FixedSineTable[a];
    const int64_t cosA = FixedCosineTable[a];

    const int64_t ix = (int64_t{FixedOne} * FixedOne) / sx;
    const int64_t iy = (int64_t{FixedOne} * FixedOne) / sy;

    const int64_t duCol = (ix * cosA) / FixedOne;
    const int64_t dvCol = (ix * sinA) / FixedOne;
    const int64_t duRow = -(iy * sinA) / FixedOne;
    const int64_t dvRow = (iy * cosA) / FixedOne;

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
        return nullptr;
    }
    const int32_t n = static_cast<int32_t>(side);

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
        return nullptr;
    }
    SDL_FillRect(temporary, nullptr, 0);

    const int64_t hx = (ix * -n) / 2;
    const int64_t hy = (iy * -n) / 2;
    int64_t rowU = (hx * cosA - hy * sinA) / FixedOne + int64_t{command.width / 2} * FixedOne;
    int64_t rowV = (hx * sinA + hy * cosA) / FixedOne + int64_t{command.height / 2} * FixedOne;
    const int64_t limitU = int64_t{command.width} * FixedOne;
    const int64_t limitV = int64_t{command.height} * FixedOne;

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
                        const int64_t column = command.u + (pu >> FixedShift);
                        const int64_t row = command.v + (pv >> FixedShift);
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

    *at = MakeRect(command.x + command.width / 2 - n / 2, command.y + command.height / 2 - n / 2, 0,
                   0);
    return temporary;
}

void PresentFrame(RenderContext* context)
{
    if (context == nullptr)
    {
        return;
    }
    reference::DrawSpriteCommands(context);
    if (context->screen == nullptr)
    {
        return;
    }
    SDL_UpdateRect(context->screen, 0, 0, static_cast<Uint32>(context->width),
                   static_cast<Uint32>(context->height));
    SDL_FillRect(context->screen, nullptr, ScreenClearPixel);
}

} // namespace reference
