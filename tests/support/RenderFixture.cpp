#include "tests/support/RenderFixture.h"

#include "platform/DebugConsole.h"
#include "platform/Screen.h"
#include "tests/support/Files.h"

#include <filesystem>

namespace skyreel_test
{

void RenderFixture::SetUp()
{
    ASSERT_TRUE(sdl.ok()) << SDL_GetError();
    context = CreateRenderContext(ScreenWidth, ScreenHeight, ScreenDepth);
    ASSERT_NE(context, nullptr);
    ASSERT_NE(context->screen, nullptr);
    SDL_FillRect(context->screen, nullptr, 0);
}

void RenderFixture::TearDown()
{
    DestroyRenderContext(context);
}

SDL_Surface* RenderFixture::Own(int slot, SDL_Surface* surface)
{
    context->bank->slots[slot] = surface;
    return surface;
}

SpriteCommand* RenderFixture::Sprite(SDL_Surface* texture, int x, int y, int w, int h, int u, int v)
{
    return QueueSprite(context, texture, x, y, w, h, u, v);
}

uint32_t RenderFixture::Screen(int x, int y) const
{
    return GetPixel32(context->screen, x, y) & 0x00FFFFFFu;
}

int RenderFixture::CountLit() const
{
    int lit = 0;
    for (int y = 0; y < context->screen->h; ++y)
    {
        for (int x = 0; x < context->screen->w; ++x)
        {
            lit += Screen(x, y) != 0 ? 1 : 0;
        }
    }
    return lit;
}

void DebugConsoleFixture::SetUp()
{
    RenderFixture::SetUp();
    gDebugConsole = {};
    ASSERT_TRUE(std::filesystem::create_directory(dir.file("data")));
}

void DebugConsoleFixture::TearDown()
{
    FreeDebugConsole();
    RenderFixture::TearDown();
}

void DebugConsoleFixture::InitConsole(int depth)
{
    ScopedChdir here(dir.path());
    InitDebugConsole(context, ScreenWidth, ScreenHeight, depth);
}

void DebugConsoleFixture::InitWithFont(const std::string& bytes, int depth)
{
    ASSERT_TRUE(WriteText(FontPath(), bytes));
    InitConsole(depth);
}

} // namespace skyreel_test
