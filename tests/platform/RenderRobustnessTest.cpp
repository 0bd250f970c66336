// The render context against damaged pictures and commands at the limits of
// their fields: nothing crashes, nothing overflows, nothing is read outside
// a texture (the sanitizer builds watch the last two).
#include "platform/Render.h"
#include "tests/platform/PlatformTestSupport.h"

#include <climits>
#include <cstdio>
#include <vector>

using namespace skyreel_test;

namespace
{

// An 8 x 8 BMP of 4 bits per pixel with a 16-colour palette; `bitCount`
// goes into the header as it stands.
std::vector<uint8_t> FourBitBmp(uint16_t bitCount, uint32_t height = 8)
{
    std::vector<uint8_t> file;
    auto put16 = [&file](uint32_t v)
    {
        file.push_back(static_cast<uint8_t>(v));
        file.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](uint32_t v)
    {
        put16(v & 0xFFFFu);
        put16(v >> 16);
    };
    file.push_back('B');
    file.push_back('M');
    put32(150); // file size
    put32(0);
    put32(14 + 40 + 64); // pixels start after the palette
    put32(40);
    put32(8);      // width
    put32(height); // negative (two's complement) means rows top-down
    put16(1);
    put16(bitCount);
    put32(0);  // no compression
    put32(32); // 8 rows of 4 bytes
    put32(2835);
    put32(2835);
    put32(16);
    put32(0);
    for (uint32_t i = 0; i < 16; ++i)
    {
        put32(i * 0x00111111u); // greys
    }
    for (int i = 0; i < 32; ++i)
    {
        file.push_back(static_cast<uint8_t>(0x12 + i));
    }
    return file;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
    {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

class RenderRobustness : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sdl.ok());
        context = CreateRenderContext(480, 272, 32);
        ASSERT_NE(context, nullptr);
        SDL_FillRect(context->screen, nullptr, 0);
    }
    void TearDown() override { DestroyRenderContext(context); }

    SpriteCommand* Sprite(SDL_Surface* texture, int x, int y, int w, int h)
    {
        SpriteCommand* command = NextSpriteCommand(context);
        command->inUse = 1;
        command->texture = texture;
        command->x = x;
        command->y = y;
        command->width = w;
        command->height = h;
        command->u = 0;
        command->v = 0;
        command->scaleX = 1.0f;
        command->scaleY = 1.0f;
        command->angle = 0.0f;
        command->alpha = 255;
        return command;
    }

    int CountLit()
    {
        int lit = 0;
        for (int y = 0; y < context->screen->h; ++y)
        {
            for (int x = 0; x < context->screen->w; ++x)
            {
                lit += (GetPixel32(context->screen, x, y) & 0xFFFFFFu) != 0 ? 1 : 0;
            }
        }
        return lit;
    }

    ScopedSdl sdl{SDL_INIT_VIDEO};
    TempDir dir;
    RenderContext* context = nullptr;
};

TEST_F(RenderRobustness, APictureSdlCannotBlitLeavesItsSlotEmpty)
{
    // The same BMP loads and draws with its true bit count...
    const std::string good = dir.file("good.bmp");
    ASSERT_TRUE(WriteBytes(good, FourBitBmp(4)));
    LoadTextureRaw(context, 0, good.c_str());
    ASSERT_NE(GetTexture(context, 0), nullptr);
    Sprite(GetTexture(context, 0), 10, 10, 8, 8);
    DrawSpriteCommands(context);
    EXPECT_GT(CountLit(), 0);

    // ...but claiming 8196 bits per pixel it loads as a 4-bit surface without
    // a palette, which SDL would read through a null pointer: the slot stays
    // empty, loaded raw or converted, and nothing is drawn.
    const std::string damaged = dir.file("texture1.png"); // read by its content
    ASSERT_TRUE(WriteBytes(damaged, FourBitBmp(8196)));
    for (int convert = 0; convert < 2; ++convert)
    {
        SDL_FillRect(context->screen, nullptr, 0);
        ClearSpriteCommands(context);
        LoadTextureSlot(context->bank, 0, damaged.c_str(), context->screen, convert);
        EXPECT_EQ(GetTexture(context, 0), nullptr) << "convert " << convert;
        Sprite(GetTexture(context, 0), 10, 10, 8, 8);
        DrawSpriteCommands(context);
        EXPECT_EQ(CountLit(), 0);
    }
}

TEST_F(RenderRobustness, APictureWhoseSizeItsPixelsDoNotCoverLeavesItsSlotEmpty)
{
    // A height of -2^31 cannot be negated: the loader hands back a surface of
    // that height over a few rows of pixels, which a blit would read far past.
    const std::string damaged = dir.file("texture1.png");
    ASSERT_TRUE(WriteBytes(damaged, FourBitBmp(4, 0x80000000u)));
    for (int convert = 0; convert < 2; ++convert)
    {
        ClearSpriteCommands(context);
        LoadTextureSlot(context->bank, 0, damaged.c_str(), context->screen, convert);
        EXPECT_EQ(GetTexture(context, 0), nullptr) << "convert " << convert;
        Sprite(GetTexture(context, 0), 10, 10, 8, 8);
        DrawSpriteCommands(context);
        EXPECT_EQ(CountLit(), 0);
    }
}

TEST_F(RenderRobustness, PositionsAndSizesAtTheLimitsOfIntDrawWithoutOverflow)
{
    SDL_Surface* texture = MakeRgbaSurface(16, 16);
    context->bank->slots[0] = texture;
    SDL_FillRect(texture, nullptr, SDL_MapRGBA(texture->format, 200, 100, 50, 255));
    const int values[] = {INT_MAX, INT_MIN, INT_MAX - 7, INT_MIN + 1, 32767, -32768, 65535, 0};
    for (int value : values)
    {
        for (float angle : {0.0f, 0.5f, 45.0f})
        {
            ClearSpriteCommands(context);
            Sprite(texture, value, 0, 16, 16)->angle = angle;
            Sprite(texture, 0, value, 16, 16)->angle = angle;
            SpriteCommand* wide = Sprite(texture, 10, 10, value, 16);
            wide->angle = angle;
            SpriteCommand* far = Sprite(texture, 10, 10, 16, 16);
            far->u = value;
            far->v = value;
            far->angle = angle;
            SpriteCommand* scaled = Sprite(texture, value, value, 16, 16);
            scaled->scaleX = 3.0f;
            scaled->scaleY = 3.0f;
            scaled->angle = angle;
            DrawSpriteCommands(context);
        }
    }
    // The sprite at (INT_MAX, 0) unturned reaches SDL as x = -1 (16 bits),
    // like any other position: its last 15 columns show.
    SDL_FillRect(context->screen, nullptr, 0);
    ClearSpriteCommands(context);
    Sprite(texture, INT_MAX, 0, 16, 16);
    DrawSpriteCommands(context);
    EXPECT_EQ(CountLit(), 15 * 16);
}

} // namespace
