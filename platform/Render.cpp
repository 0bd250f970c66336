// Render context: the screen, the texture bank and the per-frame sprite
// list, drawn in the order the commands were taken. The two drawing paths
// are in RenderPlain.cpp and RenderTransformed.cpp, the bank in
// RenderTextures.cpp.
#include "platform/Render.h"

#include <cstdlib>

#ifdef __EMSCRIPTEN__
#include "platform/web/WebSurfaces.h"

#include <algorithm>
#include <bit>
#endif

namespace
{

constexpr uint32_t ScreenClearPixel = 0xFF000040u;

#ifdef __EMSCRIPTEN__
// The clear pixel's colour (X, R, G, B = 0xFF, 0, 0, 0x40 on the desktop's
// screen) in the screen's own channel order: the browser's screen is R, G, B,
// A in byte order.
uint32_t ClearPixelIn(const SDL_PixelFormat* format)
{
    const uint32_t red = (ScreenClearPixel >> 16) & 0xFF;
    const uint32_t green = (ScreenClearPixel >> 8) & 0xFF;
    const uint32_t blue = ScreenClearPixel & 0xFF;
    const uint32_t spare = ~(format->Rmask | format->Gmask | format->Bmask);
    return (ScreenClearPixel & 0xFF000000u & spare) | red << std::countr_zero(format->Rmask) |
           green << std::countr_zero(format->Gmask) | blue << std::countr_zero(format->Bmask);
}

// SDL's fill in the browser paints the canvas, not the memory the renderer
// draws in; the screen's memory is cleared here instead.
void ClearScreenMemory(SDL_Surface* screen)
{
    const uint32_t pixel = ClearPixelIn(screen->format);
    for (int y = 0; y < screen->h; ++y)
    {
        auto* row =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(screen->pixels) + y * screen->pitch);
        std::fill(row, row + screen->w, pixel);
    }
}
#endif

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
#ifdef __EMSCRIPTEN__
    if (context->screen != nullptr)
    {
        HoldWebScreen(context->screen);
    }
#endif
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

SpriteCommand* QueueSprite(RenderContext* context, SDL_Surface* texture, int x, int y, int w, int h,
                           int u, int v)
{
    SpriteCommand* command = NextSpriteCommand(context);
    if (command == nullptr)
    {
        return nullptr;
    }
    command->inUse = 1;
    command->texture = texture;
    command->x = x;
    command->y = y;
    command->width = w;
    command->height = h;
    command->u = u;
    command->v = v;
    command->scaleX = 1.0f;
    command->scaleY = 1.0f;
    command->angle = 0.0f;
    command->alpha = 255;
    return command;
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
        // Only an exactly untouched scale and angle take the plain path.
        const bool drawn = command->inUse == 1 && command->texture != nullptr;
        const bool plain =
            command->scaleX == 1.0f && command->scaleY == 1.0f && command->angle == 0.0f;
        if (drawn && plain)
        {
            DrawSpritePlain(context, command);
        }
        else if (drawn)
        {
            DrawSpriteTransformed(context, command);
        }
    }
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
    SDL_UpdateRect(context->screen, 0, 0, static_cast<Uint32>(context->width),
                   static_cast<Uint32>(context->height));
#ifdef __EMSCRIPTEN__
    ShowWebScreen(context->screen);
    ClearScreenMemory(context->screen);
#else
    SDL_FillRect(context->screen, nullptr, ScreenClearPixel);
#endif
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
