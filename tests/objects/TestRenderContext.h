// A render context for tests: the 1024 commands and an empty texture bank,
// without a screen, so sprites can be drawn with no video device.
#pragma once

#include "platform/Render.h"

#include <memory>

struct TestRenderContext
{
    TestRenderContext()
    {
        context.screen = nullptr;
        context.bank = CreateTextureBank();
        for (SpriteCommand*& command : context.commands)
        {
            command = CreateSpriteCommand();
        }
        context.width = 480;
        context.height = 272;
        context.bpp = 32;
        context.used = 0;
    }
    ~TestRenderContext()
    {
        for (SDL_Surface*& slot : context.bank->slots)
        {
            slot = nullptr; // tests only lend placeholder surfaces
        }
        DestroyTextureBank(context.bank);
        for (SpriteCommand* command : context.commands)
        {
            DestroySpriteCommand(command);
        }
    }
    TestRenderContext(const TestRenderContext&) = delete;
    TestRenderContext& operator=(const TestRenderContext&) = delete;

    RenderContext* get() { return &context; }
    const SpriteCommand& command(int i) const { return *context.commands[i]; }

    RenderContext context{};
};
