// The render context against damaged pictures and commands at the limits of
// their fields: nothing crashes, nothing overflows, nothing is read outside
// a texture (the sanitizer builds watch the last two).
#include "platform/Render.h"
#include "tests/support/Files.h"
#include "tests/support/RenderFixture.h"

#include <climits>

using namespace skyreel_test;

namespace
{

class RenderRobustness : public RenderFixture
{
protected:
    // Loads the damaged picture file raw and converted: the slot stays empty
    // and a command drawing from it shows nothing.
    void ExpectLoadLeavesSlotEmpty(const std::string& bytes)
    {
        const std::string damaged = dir.file("texture1.png"); // read by its content
        ASSERT_TRUE(WriteText(damaged, bytes));
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

    TempDir dir;
};

TEST_F(RenderRobustness, APictureSdlCannotBlitLeavesItsSlotEmpty)
{
    // The same BMP loads and draws with its true bit count...
    const std::string good = dir.file("good.bmp");
    ASSERT_TRUE(WriteText(good, FourBitBmp(4)));
    LoadTextureRaw(context, 0, good.c_str());
    ASSERT_NE(GetTexture(context, 0), nullptr);
    Sprite(GetTexture(context, 0), 10, 10, 8, 8);
    DrawSpriteCommands(context);
    EXPECT_GT(CountLit(), 0);

    // ...but claiming 8196 bits per pixel it loads as a 4-bit surface without
    // a palette, which SDL would read through a null pointer: the slot stays
    // empty, loaded raw or converted, and nothing is drawn.
    ExpectLoadLeavesSlotEmpty(FourBitBmp(8196));
}

TEST_F(RenderRobustness, APictureWhoseSizeItsPixelsDoNotCoverLeavesItsSlotEmpty)
{
    // A height of -2^31 cannot be negated: the loader hands back a surface of
    // that height over a few rows of pixels, which a blit would read far past.
    ExpectLoadLeavesSlotEmpty(FourBitBmp(4, 0x80000000u));
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
