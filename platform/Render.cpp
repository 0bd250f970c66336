// Render context: the screen, the texture bank and the per-frame sprite
// list, drawn in the order the commands were taken. The two drawing paths
// are in RenderPlain.cpp and RenderTransformed.cpp, the bank in
// RenderTextures.cpp.
#include "platform/Render.h"

#include "platform/Port.h"

#include <cstdlib>

namespace
{

constexpr uint32_t ScreenClearPixel = 0xFF000040u; // X, R, G, B

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
    context->screen = PortOpenScreen(width, height, bpp);
    if (context->screen != nullptr)
    {
        PortHoldScreen(context->screen);
    }
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
    PortShowScreen(context->screen);
    PortClearScreen(context->screen, ScreenClearPixel);
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
