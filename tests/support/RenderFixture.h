// The render context for one test: SDL's video up on the dummy driver, so the
// context has the game's screen, cleared to black, whose pixels the
// test reads back; the 1024 commands and an empty texture bank. And the same
// with the debug console, set up from a font the test makes.
#pragma once

#include "platform/Render.h"
#include "tests/support/Sdl.h"

#include <gtest/gtest.h>
#include <string>

namespace skyreel_test
{

class RenderFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Puts a surface into a slot; the context frees it.
    SDL_Surface* Own(int slot, SDL_Surface* surface);
    // A command in use that draws the texture's rectangle (u, v, w, h) at
    // (x, y), unscaled, unturned and opaque.
    SpriteCommand* Sprite(SDL_Surface* texture, int x, int y, int w, int h, int u = 0, int v = 0);

    // Commands taken since the last clear, and one of them.
    int Used() const { return context->used; }
    const SpriteCommand& Command(int index) const { return *context->commands[index]; }

    // Colour of a screen pixel, its spare top byte left out.
    uint32_t Screen(int x, int y) const;
    // Screen pixels that are not black.
    int CountLit() const;

    ScopedSdl sdl{SDL_INIT_VIDEO};
    RenderContext* context = nullptr;
};

// The console starts off, and is freed after the test; `dir` stands for the
// game's folder, its data/ made empty.
class DebugConsoleFixture : public RenderFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Where the console reads its font from, inside `dir`.
    std::string FontPath() const { return dir.file("data/ascii.bmp"); }
    // Sets the console up from `dir` with an overlay of `depth` bits.
    void InitConsole(int depth = 32);
    // Writes `bytes` as the font, then sets the console up.
    void InitWithFont(const std::string& bytes, int depth = 32);

    TempDir dir;
};

} // namespace skyreel_test
